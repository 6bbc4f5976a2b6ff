// Reading and writing form text: tolerance, byte fidelity, and the messages for broken files.

#include <gtest/gtest.h>

#include "runtime/frm/frm_document.h"

namespace {

TEST(FrmRead, ToleratesLooseWhitespaceAndKeepsQuotesAndComments) {
  const std::string text =
      "\xEF\xBB\xBFVERSION 5.00\n"
      "Begin VB.Form Form1\n"
      "\tCaption = \"It's \"\"quoted\"\" 'here'\"   'a comment\n"
      "   Tab(0).ControlEnabled=   -1  'True\n"
      "   Picture=$\"Form1.frx\":0A1F\n"
      "   begin VB.Frame  Frame1\n"
      "      BeginProperty Font\n"
      "         Size =8.25\n"
      "      EndProperty\n"
      "   end\n"
      "End\n"
      "Attribute VB_Name = \"Form1\"\n"
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
  EXPECT_EQ(doc.form.property("Picture")->line, 5);

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

TEST(FrmRead, CodePageBytesSurviveReadAndWrite) {
  const std::string cyrillic = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in CP1251
  const std::string chinese = "\xD6\xD0\xCE\xC4";           // "中文" in CP936
  const std::string text =
      "VERSION 5.00\r\n"
      "Begin VB.Form Form1 \r\n"
      "   Caption         =   \"" +
      cyrillic +
      "\"\r\n"
      "   Begin VB.Label Label1 \r\n"
      "      Caption         =   \"" +
      chinese +
      "\"\r\n"
      "      Alignment       =   2  '\xD6\xD0\r\n"
      "   End\r\n"
      "End\r\n";
  frm::Document doc = frm::read(text, "bytes.frm");
  EXPECT_EQ(doc.eol, "\r\n");
  EXPECT_EQ(frm::write(doc), text);
  EXPECT_EQ(frm::unquote(doc.form.property("Caption")->value), cyrillic);
  EXPECT_EQ(frm::toUtf8(cyrillic, 204), "Привет");
  EXPECT_EQ(frm::toUtf8(*frm::unquote(doc.form.find("Label1")->property("Caption")->value), 134),
            "中文");
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
            "VERSION 5.00\n"
            "Begin VB.Form Form1 \n"
            "   ClientWidth     =   4800\n"
            "   BackColor       =   &H8000000F&\n"
            "   MaxButton       =   0   'False\n"
            "   Object.ToolTipText     =   \"tip\"\n"
            "   Begin VB.CommandButton Command1 \n"
            "      Caption         =   \"O\"\"K\"\n"
            "   End\n"
            "End");
}

struct Malformed {
  const char* text;
  const char* message;
};

TEST(FrmRead, MalformedInputNamesFileLineAndWhatWasExpected) {
  const Malformed cases[] = {
      {"", "x.frm:1: expected 'VERSION 5.00'"},
      {"Begin VB.Form F\nEnd\n", "x.frm:1: expected 'VERSION 5.00'"},
      {"VERSION 5.00\n", "x.frm:1: expected 'Begin VB.Form <Name>' or 'Begin VB.MDIForm <Name>'"},
      {"VERSION 5.00\nBegin VB.UserControl U\nEnd\n",
       "x.frm:2: expected 'Begin VB.Form <Name>' or 'Begin VB.MDIForm <Name>'"},
      {"VERSION 5.00\nBegin VB.Form F\n   Caption = \"x\"\n",
       "x.frm:3: expected 'End' before end of file"},
      {"VERSION 5.00\nBegin VB.Form F\n   Begin Label1\n   End\nEnd\n",
       "x.frm:3: expected 'Begin <Library>.<Class> <Name>'"},
      {"VERSION 5.00\nBegin VB.Form F\n   Caption \"x\"\nEnd\n",
       "x.frm:3: expected '=' after property name"},
      {"VERSION 5.00\nBegin VB.Form F\n   Caption = \"it's\nEnd\n",
       "x.frm:3: expected '\"' to end the string"},
      {"VERSION 5.00\nBegin VB.Form F\n   Caption =   'no value\nEnd\n",
       "x.frm:3: expected a value after '='"},
      {"VERSION 5.00\nBegin VB.Form F\n   EndProperty\nEnd\n",
       "x.frm:3: expected 'BeginProperty' before 'EndProperty'"},
      {"VERSION 5.00\nBegin VB.Form F\n   BeginProperty Font\n   End\nEnd\n",
       "x.frm:4: expected 'EndProperty' before 'End'"},
      {"VERSION 5.00\nBegin VB.Form F\n   BeginProperty Font 0BE35203\n   EndProperty\nEnd\n",
       "x.frm:3: expected 'BeginProperty <Name> [{GUID}]'"},
      {"VERSION 5.00\r\nBegin VB.Form F\r\n   BeginProperty Font\r\n      Size = 8\r\n",
       "x.frm:4: expected 'EndProperty' before end of file"},
  };
  for (const Malformed& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      frm::read(c.text, "x.frm");
      ADD_FAILURE() << "no error";
    } catch (const frm::ParseError& e) {
      EXPECT_STREQ(e.what(), c.message);
      EXPECT_EQ(e.file() + ":" + std::to_string(e.line()) + ": expected " + e.expected(),
                c.message);
    }
  }

  EXPECT_THROW(frm::readFile("/nonexistent/form.frm"), std::runtime_error);
}

}  // namespace
