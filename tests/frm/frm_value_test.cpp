// Value helpers and code-page text.

#include <gtest/gtest.h>

#include "runtime/frm/frm_document.h"

namespace {

TEST(FrmValue, QuotedStrings) {
  EXPECT_EQ(frm::unquote("\"a \"\"b\"\"\""), "a \"b\"");
  EXPECT_EQ(frm::unquote("\"it's\""), "it's");
  EXPECT_EQ(frm::unquote("\"a\"b\""), std::nullopt);  // a lone quote ends the string early
  EXPECT_EQ(frm::unquote("\""), std::nullopt);
  EXPECT_EQ(frm::unquote("375"), std::nullopt);
  EXPECT_EQ(frm::unquote("\"Form1.frx\":0000"), std::nullopt);
  for (std::string s : {"", "\"", "a \"b\" c", "\"\"\"", "'x'"})
    EXPECT_EQ(frm::unquote(frm::quote(s)), s) << s;
}

TEST(FrmValue, FrxReferences) {
  EXPECT_EQ(frm::parseFrxRef("\"Form1.frx\":0000"), (frm::FrxRef{"Form1.frx", 0, false}));
  EXPECT_EQ(frm::parseFrxRef("$\"fPreferences.frx\":0A1f"),
            (frm::FrxRef{"fPreferences.frx", 0xA1F, true}));
  EXPECT_EQ(frm::parseFrxRef("\"C:\\x.frx\":FFFFFFFF")->offset, 0xFFFFFFFFu);
  for (const char* bad : {"\"Form1.frx\"", "\"Form1.frx\":", "\"Form1.frx\":00G0", "0",
                          "\"a.frx\":123456789", "$Form1.frx:0000", "\"\":0000"})
    EXPECT_EQ(frm::parseFrxRef(bad), std::nullopt) << bad;
}

TEST(FrmValue, NumbersAndColours) {
  EXPECT_EQ(frm::parseNumber("375"), 375.0);
  EXPECT_EQ(frm::parseNumber("8.25"), 8.25);
  EXPECT_EQ(frm::parseNumber("&H8000000F&"), -2147483633.0);
  EXPECT_EQ(frm::parseNumber("&H00FFFFFF&"), 16777215.0);
  EXPECT_EQ(frm::parseNumber("&hff&"), 255.0);
  EXPECT_EQ(frm::parseNumber("&HFFFF"), -1.0);  // four digits without `&` are an Integer
  EXPECT_EQ(frm::parseNumber("&HFFFF&"), 65535.0);
  for (const char* bad :
       {"", "abc", "inf", "nan", "1.2.3", "12px", "&H", "&H&", "&H123456789&", "\"375\"", " 375"})
    EXPECT_EQ(frm::parseNumber(bad), std::nullopt) << bad;

  EXPECT_EQ(frm::formatColor(0x00FFFFFF), "&H00FFFFFF&");
  EXPECT_EQ(frm::formatColor(0x8000000F), "&H8000000F&");
  EXPECT_EQ(frm::formatNumber(5380.766f), "5380.766");
  EXPECT_EQ(frm::formatNumber(8.25), "8.25");

  EXPECT_EQ(frm::parseBool("-1"), true);
  EXPECT_EQ(frm::parseBool("0"), false);
  EXPECT_EQ(frm::parseBool("yes"), std::nullopt);
}

TEST(FrmText, Utf8Validation) {
  EXPECT_TRUE(frm::isValidUtf8("£ € 中文 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(frm::isValidUtf8("\xA3"));              // CP1252 pound
  EXPECT_FALSE(frm::isValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(frm::isValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(frm::isValidUtf8("\xE4\xB8"));          // cut short
  EXPECT_FALSE(frm::isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
}

TEST(FrmText, CodePagesFollowTheFontCharset) {
  EXPECT_EQ(frm::toUtf8("\xA3 5", 0), "£ 5");
  EXPECT_EQ(frm::toUtf8("\xD6\xE5\xED\xF2\xF0\xEE\xE2\xEA\xE0", 204), "Центровка");
  EXPECT_EQ(frm::toUtf8("\xC3\xD6\xB4\xEB\xC8\xAD", 129), "최대화");
  // Already UTF-8: unchanged whatever the charset says.
  EXPECT_EQ(frm::toUtf8("Центровка", 0), "Центровка");
  // Bytes with no character become U+FFFD, and decoding goes on after them.
  EXPECT_EQ(frm::toUtf8("a\x81"
                        "b",
                        0),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(frm::toUtf8("\xD6\xD0\xCE", 134), "中\xEF\xBF\xBD");
}

}  // namespace
