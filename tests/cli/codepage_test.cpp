// Forms in the ANSI code pages they were written in: read by their font's charset or the code
// page the user names, kept byte for byte, and text typed at design time stored in the form's
// code page.

#include <gtest/gtest.h>

#include <string>

#include <rescalo/runtime/raster/bitmap.h>
#include "cli_support.h"
#include "rescalo_support.h"

using namespace rescalo;
using namespace rescalo::testing_support;

namespace {

TEST(CodePages, DecodingAndEncodingFollowTheCodePageAndMarkWhatDoesNotConvert) {
  EXPECT_EQ(frm::codePageOf(128), 932);
  EXPECT_EQ(frm::codePageOf(136), 950);
  EXPECT_EQ(frm::codePageOf(77), 1252);
  EXPECT_EQ(frm::charsetOf(874), 222);
  EXPECT_EQ(frm::charsetOf(65001), -1);
  // Bytes that happen to be valid UTF-8 are still the code page's.
  EXPECT_EQ(frm::decode("\xC3\xA9", 1252), "Ã©");
  EXPECT_EQ(frm::decode("a\x83", 932), "a\xEF\xBF\xBD");  // a lead byte at the end
  EXPECT_EQ(frm::encode("ログ表示", 932), "\x83\x8D\x83\x4F\x95\x5C\x8E\xA6");
  EXPECT_EQ(frm::encode("Fenêtre ログ", 1252), "Fen\xEAtre ??");
  for (int cp : {874, 932, 936, 949, 950, 1250, 1251, 1253, 1254, 1255, 1256, 1257}) {
    const std::string bytes = "A\xE0\xE1\xC4\xC1";
    const std::string text = frm::decode(bytes, cp);
    EXPECT_TRUE(frm::isValidUtf8(text)) << cp;
    EXPECT_EQ(frm::encode(text, cp), bytes) << cp;
  }
}

using CodePageForms = RescaloTest;

// A form without a charset written on a Japanese system, a .frx named in its code page and
// saved under its UTF-8 name, and a Rescalo whose settings hold text in the code page.
TEST_F(CodePageForms, TheNamedCodePageReadsTextAndPictureNamesAndARoundTripKeepsEveryByte) {
  std::vector<char> frx;
  appendFrxPicture(frx, raster::Bitmap(4, 3, raster::rgb(1, 2, 3)));
  writeFile(dir / "ログ.frx", frx);
  const std::string form = writeText(
      dir / "f.frm",
      formText(rescaloBlock("WindowName = \"\x83\x8D\x83\x4F\"\n"),
               "   Caption = \"\x95\x5C\x8E\xA6\"\n   Picture = \"\x83\x8D\x83\x4F.frx\":0000\n"));
  const Result plain = runOk("inspect --json " + form);
  EXPECT_TRUE(frm::isValidUtf8(plain.out)) << "read as 1252, the text is still UTF-8 out";
  expectHas(runOk("inspect " + form + " --codepage 932").out, {"表示"}, {"not found"});
  expectRefused("inspect " + form + " --codepage 65001", 2, "--codepage 65001");

  // Loaded and stored with nothing changed, the form is what it was.
  runtime::LoadedForm lf = runtime::loadForm(rt, form, {.userMode = false, .codePage = 932});
  EXPECT_FALSE(lf.form->picture.isNothing()) << "the picture's .frx was found";
  runtime::storeForm(*lf.form, lf.document);
  expectHas(frm::write(lf.document), {"\"\x83\x8D\x83\x4F\""});

  // Text typed at design time is UTF-8, and is stored in the code page.
  auto* rescalo = lf.form->find("Rescalo1");
  ASSERT_TRUE(rescalo);
  rescalo->set("WindowName", host::Variant(std::string("表示 Fenêtre")));
  runtime::storeForm(*lf.form, lf.document);
  expectHas(frm::write(lf.document), {"\"\x95\x5C\x8E\xA6 Fen?tre\""});
  lf.form->unload();
}

}  // namespace
