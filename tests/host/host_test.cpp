// The host contract: Variant and the classic conversions, objects by name, events and
// collections with their classic error numbers.

#include <gtest/gtest.h>

#include <utility>

#include <rescalo/host/collection.h>
#include <rescalo/host/failure.h>
#include <rescalo/host/object.h>
#include <rescalo/host/variant.h>
#include "host_support.h"

using namespace rescalo;

using host::Args;
using host::Object;
using host::Variant;
using testing_support::errorOf;

namespace {

TEST(Variant, IntegersRoundHalfToEvenAndOverflowOutside16BitsAndBooleansAreMinusOne) {
  std::vector<int> rounded;
  for (double in : {0.5, 1.5, 2.5, -2.5, -3.5, 32767.4, -32768.0})
    rounded.push_back(Variant(in).toInteger());
  EXPECT_EQ(rounded, (std::vector<int>{0, 2, 2, -2, -4, 32767, -32768}));
  EXPECT_EQ(errorOf([] { Variant(32767.5).toInteger(); }), 6);
  EXPECT_EQ(errorOf([] { Variant(-32769).toInteger(); }), 6);
  EXPECT_EQ(Variant(40000.5).toLong(), 40000);
  EXPECT_EQ(errorOf([] { Variant(3e9).toLong(); }), 6);

  EXPECT_EQ(Variant(true).toInteger(), -1);
  EXPECT_EQ(Variant(false).toLong(), 0);
  EXPECT_TRUE(Variant(2).toBool() && Variant("True").toBool());
  EXPECT_FALSE(Variant("0").toBool());
  EXPECT_EQ(Variant(true).toString(), "True");
}

TEST(Variant, TextAndNumbersConvertAsTheClassicRuntimeWritesAndReadsThem) {
  // Single precision keeps 7 digits.
  std::vector<std::string> text;
  for (const Variant& v :
       {Variant(0.5), Variant(1.0), Variant(1.0 / 3), Variant(1.5e20), Variant(0.00001),
        Variant(8.25f), Variant(0.1f), Variant(std::int16_t{-7}), Variant()})
    text.push_back(v.toString());
  EXPECT_EQ(text, (std::vector<std::string>{"0.5", "1", "0.333333333333333", "1.5E+20", "1E-05",
                                            "8.25", "0.1", "-7", ""}));
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

TEST(Variant, IntRoundsDownFixTowardsZeroAndNumbersCompareByValueAcrossTypes) {
  EXPECT_EQ((std::vector<double>{host::Int(-8.4), host::Fix(-8.4), host::Int(8.9)}),
            (std::vector<double>{-9, -8, 8}));
  EXPECT_EQ(Variant(std::int16_t{3}), Variant(3.0));
  EXPECT_EQ(Variant(true), Variant(-1));
  EXPECT_FALSE(Variant("3") == Variant(3));
}

class Gauge : public Object {
 public:
  std::string_view typeName() const override { return "Gauge"; }
  double level = 0;
  std::vector<std::string> marks{"a", "b", "c"};

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable base{{"Tag", [](Object&, Args) { return Variant("gauge"); }}};
    static const host::MemberTable table{
        {{"Level", [](Object& o, Args) { return Variant(host::self<Gauge>(o).level); },
          [](Object& o, Args, const Variant& v) { host::self<Gauge>(o).level = v.toDouble(); }},
         {"Mark",
          [](Object& o, Args i) {
            host::expectArgs(i, 1);
            auto& m = host::self<Gauge>(o).marks;
            int n = i[0].toInteger();
            if (n < 0 || n >= static_cast<int>(m.size())) host::raise(host::kSubscriptOutOfRange);
            return Variant(m[static_cast<std::size_t>(n)]);
          }},
         {"ReadOnly", [](Object&, Args) { return Variant(1); }}},
        &base};
    return &table;
  }
};

TEST(Object, MembersAreFoundByNameWithoutRegardToCaseAndThroughBaseTables) {
  Gauge g;
  g.set("LEVEL", 2.5);
  EXPECT_EQ(g.get("level").toDouble(), 2.5);
  EXPECT_EQ(g.get("TAG").toString(), "gauge");
  EXPECT_EQ(g.get("Mark", {Variant(2)}).toString(), "c");
  EXPECT_EQ(g.call("mark", {Variant(1)}).toString(), "b");  // a property called like a method
  EXPECT_EQ(errorOf([&] { g.get("Mark", {Variant(3)}); }), 9);
  EXPECT_EQ(errorOf([&] { g.get("Colour"); }), 438);
  EXPECT_EQ(errorOf([&] { g.call("Explode"); }), 438);
  EXPECT_EQ(errorOf([&] { g.set("ReadOnly", 2); }), 383);
  EXPECT_EQ(errorOf([&] { g.set("Level", "high"); }), 13);
}

TEST(Object, FailureStylesSkipTrapOrRaise) {
  Gauge g;
  EXPECT_FALSE(host::tryGet(g, "Colour").has_value());
  EXPECT_FALSE(host::tryGet(g, "Mark", std::vector<Variant>{Variant(7)}).has_value());
  EXPECT_EQ(host::tryGet(g, "Tag")->toString(), "gauge");
  EXPECT_FALSE(host::ignoreErrors([&] { g.set("Level", "x"); }));
  EXPECT_TRUE(host::ignoreErrors([&] { g.set("Level", 1); }));
  std::string shown;
  EXPECT_FALSE(host::trapAndShow([&] { g.get("Nope"); }, [&](const std::string& d) { shown = d; }));
  EXPECT_EQ(shown, "Object doesn't support this property or method");
  int raised = 0;
  host::trapAndRaise([&] { host::raise(6); },
                     [&](const host::HostError& e) { raised = e.number(); });
  EXPECT_EQ(raised, 6);
}

TEST(Object, EventsReachSubscribersInOrderAndStopAfterUnsubscribe) {
  auto g = std::make_shared<Gauge>();
  std::string log;
  int a = g->subscribe([&](std::string_view e, Args) { log += "a:" + std::string(e) + " "; });
  g->subscribe([&](std::string_view e, Args args) {
    log += "b:" + std::string(e) + std::to_string(args.size()) + " ";
  });
  Variant arg(1);
  g->raiseEvent("Resize", Args(&arg, 1));
  g->unsubscribe(a);
  g->raiseEvent("Load");
  EXPECT_EQ(log, "a:Resize b:Resize1 b:Load0 ");
}

TEST(Collection, ClassicFlavourKeysIgnoreCaseAndFailWithClassicNumbers) {
  host::Collection c;
  c.add(Variant("one"), "First");
  c.add(Variant("two"), "second");
  c.add(Variant("zero"), "", Variant(1));  // before the first
  c.add(Variant("one and a half"), "", Variant(), Variant("FIRST"));
  EXPECT_EQ(c.count(), 4);
  EXPECT_EQ((std::vector<std::string>{c.item(Variant(1)).toString(), c.item(Variant(3)).toString(),
                                      c.item(Variant("SECOND")).toString()}),
            (std::vector<std::string>{"zero", "one and a half", "two"}));
  EXPECT_EQ(errorOf([&] { c.add(Variant(3), "first"); }), 457);
  EXPECT_EQ(errorOf([&] { c.item(Variant("third")); }), 5);
  EXPECT_EQ(errorOf([&] { c.item(Variant(0)); }), 9);
  EXPECT_EQ(errorOf([&] { c.item(Variant(5)); }), 9);
  c.remove(Variant("first"));
  EXPECT_FALSE(c.containsKey("first"));
  EXPECT_EQ(c.get("Count").toLong(), 3);
  EXPECT_EQ(c.call("Item", {Variant(3)}).toString(), "two");
}

}  // namespace
