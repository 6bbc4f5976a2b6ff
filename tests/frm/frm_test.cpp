// Form text: reading and writing with byte fidelity, the messages for broken files, the value
// and code-page helpers, and the real forms of the corpus, which all read and write back byte
// for byte and keep the facts a form builder depends on.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <rescalo/runtime/frm/frm_document.h>
#include "corpus.h"

using namespace rescalo;

namespace {

namespace fs = std::filesystem;

TEST(FrmRead, ToleratesLooseWhitespaceAndKeepsQuotesAndComments) {
  const std::string text =
      "\xEF\xBB\xBFVERSION 5.00\nBegin VB.Form Form1\n"
      "\tCaption = \"It's \"\"quoted\"\" 'here'\"   'a comment\n   Picture=$\"Form1.frx\":0A1F\n"
      "   Tab(0).ControlEnabled=   -1  'True\n   begin VB.Frame  Frame1\n      BeginProperty Font\n"
      "         Size =8.25\n      EndProperty\n   end\nEnd\nAttribute VB_Name = \"Form1\"\n"
      "Private Sub Form_Load() ' code is kept verbatim\n";
  frm::Document doc = frm::read(text, "loose.frm");
  EXPECT_TRUE(doc.utf8Bom);
  EXPECT_EQ(doc.eol, "\n");

  const frm::Property* caption = doc.form.property("caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->value, "\"It's \"\"quoted\"\" 'here'\"");
  EXPECT_EQ(caption->comment, "'a comment");
  EXPECT_EQ(frm::unquote(caption->value), "It's \"quoted\" 'here'");
  EXPECT_EQ(doc.form.property("Tab(0).ControlEnabled")->value, "-1");
  EXPECT_EQ(doc.form.property("Picture")->line, 4);

  const frm::Block* frame = doc.form.find("Frame1");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->className, "VB.Frame");
  EXPECT_EQ(frame->propertyBlock("font")->property("Size")->value, "8.25");
  ASSERT_EQ(doc.trailer.size(), 2u);
  EXPECT_EQ(doc.trailer[1], "Private Sub Form_Load() ' code is kept verbatim");

  // Written in the classic layout, which reads back as the same document.
  std::string written = frm::write(doc);
  EXPECT_EQ(frm::read(written, "written.frm"), doc);
  EXPECT_NE(written.find("\n   Tab(0).ControlEnabled=   -1  'True\n"), std::string::npos);
  EXPECT_NE(written.find("\n   Begin VB.Frame Frame1 \n      BeginProperty Font \n"
                         "         Size            =   8.25\n      EndProperty\n   End\n"),
            std::string::npos);
  EXPECT_TRUE(written.starts_with("\xEF\xBB\xBFVERSION 5.00\nBegin VB.Form Form1 \n"));
}

TEST(FrmWrite, BuiltDocumentUsesClassicLayout) {
  frm::Document doc;
  doc.eol = "\n";
  doc.finalEol = false;
  doc.form = {"VB.Form", "Form1", {}, 0};
  frm::Block button{"VB.CommandButton", "Command1", {}, 0};
  button.set("Caption", frm::quote("O\"K"));
  doc.form.entries.emplace_back(button);
  doc.form.set("ClientWidth", frm::formatNumber(4680.0));
  doc.form.set("BackColor", frm::formatColor(0x8000000F));
  doc.form.set("MaxButton", frm::formatBool(false), frm::boolComment(false));
  doc.form.set("clientwidth", "4800");  // replaces, keeping the original spelling
  doc.form.set("Object.ToolTipText", frm::quote("tip"));

  EXPECT_EQ(frm::write(doc),
            "VERSION 5.00\nBegin VB.Form Form1 \n   ClientWidth     =   4800\n"
            "   BackColor       =   &H8000000F&\n   MaxButton       =   0   'False\n"
            "   Object.ToolTipText     =   \"tip\"\n   Begin VB.CommandButton Command1 \n"
            "      Caption         =   \"O\"\"K\"\n   End\nEnd");
}

TEST(FrmRead, MalformedInputNamesFileLineAndWhatWasExpected) {
  const std::string form = "VERSION 5.00\nBegin VB.Form F\n";
  const std::string needForm = "expected 'Begin VB.Form <Name>' or 'Begin VB.MDIForm <Name>'";
  const struct {
    std::string text, message;  // the message after "x.frm:"
  } cases[] = {
      {"", "1: expected 'VERSION 5.00'"},
      {"VERSION 5.00\n", "1: " + needForm},
      {"VERSION 5.00\nBegin VB.UserControl U\nEnd\n", "2: " + needForm},
      {form + "   Caption = \"x\"\n", "3: expected 'End' before end of file"},
      {form + "   Begin Label1\n   End\nEnd\n", "3: expected 'Begin <Library>.<Class> <Name>'"},
      {form + "   Caption \"x\"\nEnd\n", "3: expected '=' after property name"},
      {form + "   Caption = \"it's\nEnd\n", "3: expected '\"' to end the string"},
      {form + "   Caption =   'no value\nEnd\n", "3: expected a value after '='"},
      {form + "   EndProperty\nEnd\n", "3: expected 'BeginProperty' before 'EndProperty'"},
      {form + "   BeginProperty Font\n   End\nEnd\n", "4: expected 'EndProperty' before 'End'"},
      {form + "   BeginProperty Font 0BE35203\n   EndProperty\nEnd\n",
       "3: expected 'BeginProperty <Name> [{GUID}]'"},
      {"VERSION 5.00\r\nBegin VB.Form F\r\n   BeginProperty Font\r\n      Size = 8\r\n",
       "4: expected 'EndProperty' before end of file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      frm::read(c.text, "x.frm");
      ADD_FAILURE() << "no error";
    } catch (const frm::ParseError& e) {
      EXPECT_EQ(e.what(), "x.frm:" + c.message);
      EXPECT_EQ(e.file() + ":" + std::to_string(e.line()) + ": expected " + e.expected(),
                "x.frm:" + c.message);
    }
  }

  EXPECT_THROW(frm::readFile("/nonexistent/form.frm"), std::runtime_error);
}

TEST(FrmValue, QuotedStringsAndFrxReferences) {
  EXPECT_EQ(frm::unquote("\"a \"\"b\"\"\""), "a \"b\"");
  EXPECT_EQ(frm::unquote("\"it's\""), "it's");
  // A lone quote ends the string early.
  for (const char* bad : {"\"a\"b\"", "\"", "375", "\"Form1.frx\":0000"})
    EXPECT_EQ(frm::unquote(bad), std::nullopt) << bad;
  for (std::string s : {"", "\"", "a \"b\" c", "\"\"\"", "'x'"})
    EXPECT_EQ(frm::unquote(frm::quote(s)), s) << s;

  EXPECT_EQ(frm::parseFrxRef("$\"fPreferences.frx\":0A1f"),
            (frm::FrxRef{"fPreferences.frx", 0xA1F, true}));
  EXPECT_EQ(frm::parseFrxRef("\"C:\\x.frx\":FFFFFFFF")->offset, 0xFFFFFFFFu);
  for (const char* bad : {"\"Form1.frx\"", "\"Form1.frx\":", "\"Form1.frx\":00G0", "0",
                          "\"a.frx\":123456789", "$Form1.frx:0000", "\"\":0000"})
    EXPECT_EQ(frm::parseFrxRef(bad), std::nullopt) << bad;
}

TEST(FrmValue, NumbersAndColours) {
  // Four hex digits without `&` are an Integer.
  std::vector<std::optional<double>> read;
  for (const char* text :
       {"375", "8.25", "&H8000000F&", "&H00FFFFFF&", "&hff&", "&HFFFF", "&HFFFF&"})
    read.push_back(frm::parseNumber(text));
  EXPECT_EQ(read, (std::vector<std::optional<double>>{375, 8.25, -2147483633.0, 16777215, 255, -1,
                                                      65535}));
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

TEST(FrmText, Utf8IsValidatedAndCodePagesFollowTheFontCharset) {
  EXPECT_TRUE(frm::isValidUtf8("£ € 中文 \xF0\x9F\x98\x80"));
  // A CP1252 pound, an overlong '/', a surrogate, cut short, past U+10FFFF.
  for (const char* bad : {"\xA3", "\xC0\xAF", "\xED\xA0\x80", "\xE4\xB8", "\xF4\x90\x80\x80"})
    EXPECT_FALSE(frm::isValidUtf8(bad)) << bad;

  EXPECT_EQ(frm::toUtf8("\xA3 5", 0), "£ 5");
  EXPECT_EQ(frm::toUtf8("\xD6\xE5\xED\xF2\xF0\xEE\xE2\xEA\xE0", 204), "Центровка");
  EXPECT_EQ(frm::toUtf8("\xC3\xD6\xB4\xEB\xC8\xAD", 129), "최대화");
  // Already UTF-8: unchanged whatever the charset says.
  EXPECT_EQ(frm::toUtf8("Центровка", 0), "Центровка");
  // Bytes with no character become U+FFFD, and decoding goes on after them.
  EXPECT_EQ(frm::toUtf8(std::string("a\x81") + "b", 0), std::string("a\xEF\xBF\xBD") + "b");
  EXPECT_EQ(frm::toUtf8("\xD6\xD0\xCE", 134), "中\xEF\xBF\xBD");
}

TEST(FrmCorpus, EveryFormReadsAndWritesBackByteForByte) {
  auto files = testing_support::formsToCheck();
  ASSERT_GE(files.size(), 5u);
  if (testing_support::haveCorpus()) {
    EXPECT_EQ(files.size(), 95u + testing_support::formsIn(testing_support::examplesDir()).size());
  }
  for (auto& f : files) {
    SCOPED_TRACE(f.filename().string());
    std::ifstream in(f, std::ios::binary);
    const std::string original{std::istreambuf_iterator<char>(in), {}};
    frm::Document doc = frm::readFile(f);
    std::string written = frm::write(doc);
    EXPECT_EQ(frm::read(written, "written.frm"), doc);
    EXPECT_EQ(written, original);
  }
}

// What the runtime reads from real files: the page lists of tab dialogs, the first block of a
// control array, comments in other code pages, property blocks inside property blocks and
// captions kept in the .frx.
TEST(FrmCorpus, RealFormsGiveWhatTheRuntimeReads) {
  RESCALO_NEED_CORPUS();
  frm::Document doc = frm::readFile(testing_support::corpusFile("024-"));
  EXPECT_EQ(doc.objectLines.size(), 4u);
  const frm::Block* tab = doc.form.find("SSTab1");
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->property("tab(1).controlcount")->value, "7");
  EXPECT_EQ(tab->property("Tab(1).Control(3)")->value, "\"lblStatus\"");
  EXPECT_NE(tab->find("cmdRefresh"), nullptr);  // three levels down
  const frm::PropertyBlock* font = doc.form.find("cmdClose")->propertyBlock("Font");
  EXPECT_EQ(frm::parseNumber(font->property("Size")->value), 9.75);
  // Control arrays repeat the name; the first block in the file is Index 3.
  EXPECT_EQ(doc.form.find("cmdBrowse")->property("Index")->value, "3");
  auto top = doc.form.children();
  EXPECT_EQ(std::count_if(top.begin(), top.end(),
                          [](const frm::Block* b) { return b->name == "cmdBrowse"; }),
            4);

  frm::Document alarm = frm::readFile(testing_support::corpusFile("009-"));
  const frm::Property* align = alarm.form.find("Label_minute")->property("Alignment");
  EXPECT_EQ(align->comment, "'Центровка");
  EXPECT_EQ(align->line, 60);

  frm::Document pos = frm::readFile(testing_support::corpusFile("044-"));
  const frm::PropertyBlock* split = pos.form.find("DataGrid1")->propertyBlock("Split0");
  ASSERT_NE(split, nullptr);
  EXPECT_EQ(split->property("MarqueeStyle")->value, "4");
  ASSERT_NE(split->propertyBlock("Column01"), nullptr);

  frm::Document empresa = frm::readFile(testing_support::corpusFile("013-"));
  int captions = 0;
  for (const frm::Block* b : empresa.form.children())
    if (auto* caption = b->property("Caption"); caption && caption->value.starts_with('$')) {
      EXPECT_EQ(frm::parseFrxRef(caption->value), (frm::FrxRef{"frmEmpresa.frx", 0x2E04, true}));
      ++captions;
    }
  EXPECT_EQ(captions, 1);
  EXPECT_EQ(empresa.trailer.back(), "Attribute VB_Name = \"frmEmpresa\"");
}

}  // namespace
