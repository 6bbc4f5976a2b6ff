#include "host/variant.h"

#include <gtest/gtest.h>

#include "host/error.h"

using host::HostError;
using host::Variant;

namespace {

int errorOf(auto&& f) {
  try {
    f();
  } catch (const HostError& e) {
    return e.number();
  }
  return 0;
}

TEST(Variant, IntegerConversionRoundsHalfToEvenAndOverflowsOutside16Bits) {
  EXPECT_EQ(Variant(0.5).toInteger(), 0);
  EXPECT_EQ(Variant(1.5).toInteger(), 2);
  EXPECT_EQ(Variant(2.5).toInteger(), 2);
  EXPECT_EQ(Variant(-2.5).toInteger(), -2);
  EXPECT_EQ(Variant(-3.5).toInteger(), -4);
  EXPECT_EQ(Variant(32767.4).toInteger(), 32767);
  EXPECT_EQ(Variant(-32768.0).toInteger(), -32768);
  EXPECT_EQ(errorOf([] { Variant(32767.5).toInteger(); }), 6);
  EXPECT_EQ(errorOf([] { Variant(-32769).toInteger(); }), 6);
  EXPECT_EQ(Variant(40000.5).toLong(), 40000);
  EXPECT_EQ(errorOf([] { Variant(3e9).toLong(); }), 6);
}

TEST(Variant, BooleansAreMinusOneAndNonZeroIsTrue) {
  EXPECT_EQ(Variant(true).toInteger(), -1);
  EXPECT_EQ(Variant(false).toLong(), 0);
  EXPECT_TRUE(Variant(2).toBool());
  EXPECT_TRUE(Variant("True").toBool());
  EXPECT_FALSE(Variant("0").toBool());
  EXPECT_EQ(Variant(true).toString(), "True");
}

TEST(Variant, TextAndNumbersConvertAsTheClassicRuntimeWritesAndReadsThem) {
  EXPECT_EQ(Variant(0.5).toString(), "0.5");
  EXPECT_EQ(Variant(1.0).toString(), "1");
  EXPECT_EQ(Variant(1.0 / 3).toString(), "0.333333333333333");
  EXPECT_EQ(Variant(1.5e20).toString(), "1.5E+20");
  EXPECT_EQ(Variant(0.00001).toString(), "1E-05");
  EXPECT_EQ(Variant(8.25f).toString(), "8.25");
  EXPECT_EQ(Variant(0.1f).toString(), "0.1");  // single precision keeps 7 digits
  EXPECT_EQ(Variant(std::int16_t{-7}).toString(), "-7");
  EXPECT_EQ(Variant().toString(), "");
  EXPECT_DOUBLE_EQ(Variant(" 12.5 ").toDouble(), 12.5);
  EXPECT_DOUBLE_EQ(Variant("1E3").toDouble(), 1000);
  EXPECT_EQ(Variant("&HFFFF").toInteger(), -1);
  EXPECT_EQ(Variant("&H8000000F").toLong(), static_cast<std::int32_t>(0x8000000F));
  EXPECT_EQ(Variant("2.5").toInteger(), 2);
  for (const char* bad : {"", "abc", "12abc", "1.2.3", "--1", "."})
    EXPECT_EQ(errorOf([&] { Variant(bad).toDouble(); }), 13) << bad;
  EXPECT_EQ(errorOf([] { Variant::null().toString(); }), 94);
  EXPECT_EQ(errorOf([] { Variant(nullptr).toDouble(); }), 13);
  EXPECT_EQ(errorOf([] { Variant(3).toObject(); }), 424);
}

TEST(Variant, IntRoundsDownAndFixTowardsZero) {
  EXPECT_EQ(host::Int(-8.4), -9);
  EXPECT_EQ(host::Fix(-8.4), -8);
  EXPECT_EQ(host::Int(8.9), 8);
}

TEST(Variant, NumbersCompareByValueAcrossTypes) {
  EXPECT_EQ(Variant(std::int16_t{3}), Variant(3.0));
  EXPECT_EQ(Variant(true), Variant(-1));
  EXPECT_FALSE(Variant("3") == Variant(3));
  EXPECT_TRUE(Variant(nullptr).isNothing());
}

}  // namespace
