// Classic forms on Qt as their designer made them: text in the form's code page, the classic
// colours and label looks, wrapped button captions, and what `rescalo show --json` reports.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/loader.h>
#include "cli_support.h"
#include "test_support.h"

using namespace rescalo;
using testing_support::block;
using testing_support::formText;
using testing_support::place;

namespace {

struct Built {
  QTemporaryDir dir;
  runtime::Runtime rt;
  bridge::QtFormWindow built;
  explicit Built(const std::string& text, int codePage = 0)
      : rt([&] {
          runtime::RuntimeOptions o;
          o.settingsFile = dir.filePath("settings").toStdString();
          return o;
        }()) {
    auto form = runtime::buildForm(rt, frm::read(text, "test.frm"), "test.frm",
                                   {.userMode = false, .codePage = codePage});
    built = bridge::buildQtForm(*form);
    built.window->show();
  }
  static QColor pixel(QWidget& w, QPoint at) { return w.grab().toImage().pixelColor(at); }
};

std::string fontBlock(int charset) {
  return "BeginProperty Font\nName = \"Arial\"\nSize = 9\nCharset = " + std::to_string(charset) +
         "\nEndProperty\n";
}

TEST(QtFidelity, TextIsReadInTheCodePageOfItsFontsCharsetOrTheOneTheUserNames) {
  struct Row {
    int charset;  // -1: the font names none
    int codePage;
    std::string bytes, utf8;
  };
  const Row rows[] = {
      {0, 0, "S\xE9lection des clients", "Sélection des clients"},
      {-1, 0, "A\xF1o", "Año"},
      {128, 0, "\x83\x8D\x83\x4F\x95\x5C\x8E\xA6", "ログ表示"},
      {134, 0, "\xD6\xD0\xCE\xC4", "中文"},
      {136, 0, "\xB9\xCF\xA7\xCE", "圖形"},
      {161, 0, "\xC5\xEB\xEB\xE7\xED\xE9\xEA\xDC", "Ελληνικά"},
      {222, 0, "\xC0\xD2\xC9\xD2\xE4\xB7\xC2", "ภาษาไทย"},
      {-1, 932, "\x83\x8D\x83\x4F", "ログ"},
      // A charset the form names wins over the code page the user names.
      {204, 932, "\xCC\xE5\xED\xFE", "Меню"},
  };
  for (const Row& r : rows) {
    const std::string font = r.charset < 0 ? "" : fontBlock(r.charset);
    const std::string text = formText(
        block("VB.Label lbl", "Caption = \"" + r.bytes + "\"\n" + place(0, 0, 3000, 300) + font) +
            block("TabDlg.SSTab tab", "Tabs = 1\nTabCaption(0) = \"" + r.bytes + "\"\n" +
                                          place(0, 600, 3000, 1500) + font) +
            block("VB.Frame fra",
                  "Caption = \"" + r.bytes + "\"\n" + place(0, 2200, 3000, 600) + font),
        "Caption = \"" + r.bytes + "\"\n" + font);
    Built b(text, r.codePage);
    SCOPED_TRACE(r.utf8);
    const QString want = QString::fromStdString(r.utf8);
    EXPECT_EQ(b.built.window->windowTitle(), want);
    EXPECT_EQ(qobject_cast<QLabel*>(b.built.widget("lbl"))->text(), want);
    EXPECT_EQ(qobject_cast<QTabWidget*>(b.built.widget("tab"))->tabText(0), want);
    EXPECT_EQ(qobject_cast<QGroupBox*>(b.built.widget("fra"))->title(), want);
  }
}

// A blue form: controls with default colours show the system's button face, not the form's
// blue; a transparent label shows what is behind it; a label's own colours are its own.
TEST(QtFidelity, ControlsShowTheirOwnOrTheSystemsColoursNeverTheirContainers) {
  const QColor face(212, 208, 200), blue(0, 0, 255), red(255, 0, 0);
  const std::string text = formText(
      block("VB.Label opaque", "Caption = \"\"\n" + place(0, 0, 1500, 600)) +
          block("VB.Label clear", "BackStyle = 0\nCaption = \"\"\n" + place(1500, 0, 1500, 600)) +
          block("VB.Label own",
                "BackColor = &H000000FF&\nCaption = \"\"\n" + place(0, 600, 1500, 600)) +
          block("VB.Frame fra", "Caption = \"\"\n" + place(1500, 600, 1500, 1500)) +
          block("VB.CommandButton cmd", "Caption = \"\"\n" + place(0, 1500, 1500, 600)) +
          block("VB.CommandButton off", "Enabled = 0\nForeColor = &H000000FF&\nCaption = \"x\"\n" +
                                            place(0, 2100, 600, 300)) +
          // A shape after a text box is still drawn under it, on the form.
          block("VB.TextBox txt", place(900, 2400, 600, 300)) +
          block("VB.Shape shp",
                "BackStyle = 1\nBackColor = &H0000FF00&\n" + place(900, 2400, 1500, 450)),
      "BackColor = &H00FF0000&\n");
  Built b(text);
  QWidget& w = *b.built.window;
  EXPECT_EQ(b.pixel(w, {40, 20}), face);
  EXPECT_EQ(b.pixel(w, {140, 20}), blue);
  EXPECT_EQ(b.pixel(w, {40, 60}), red);
  EXPECT_EQ(b.pixel(w, {150, 90}), face) << "inside the frame";
  QWidget* cmd = b.built.widget("cmd");
  EXPECT_EQ(cmd->palette().color(QPalette::Button), face);
  EXPECT_EQ(b.pixel(w, {250, 190}), blue) << "the form keeps its own colour";
  const QPalette off = b.built.widget("off")->palette();
  EXPECT_EQ(off.color(QPalette::Active, QPalette::ButtonText), red);
  EXPECT_EQ(off.color(QPalette::Disabled, QPalette::ButtonText), QColor(128, 128, 128));
  EXPECT_EQ(b.pixel(w, {80, 170}), QColor(Qt::white)) << "the text box over the shape";
  EXPECT_EQ(b.pixel(w, {130, 170}), QColor(0, 255, 0)) << "the shape's own back colour";

  // An MDI form's colour is its workspace's, where its children open.
  for (const auto& [header, want] :
       {std::pair{std::string("BackColor = &H00552619&\n"), QColor(0x19, 0x26, 0x55)},
        std::pair{std::string(), QColor(0xAB, 0xAB, 0xAB)}}) {
    Built mdi(formText("", header, "VB.MDIForm"));
    auto* area = mdi.built.window->findChild<QMdiArea*>();
    ASSERT_TRUE(area);
    EXPECT_EQ(area->background().color(), want);
  }
}

TEST(QtFidelity, LabelsWrapAtTheirWidthAndButtonCaptionsBreakAsTheButtonIsResized) {
  const std::string text = formText(
      block("VB.Label lbl", "Alignment = 1 'Right Justify\nCaption = \"&Name && address\"\n" +
                                place(0, 0, 900, 600)) +
      block("VB.CommandButton cmd",
            "Caption = \"Save all the changes\"\n" + place(0, 900, 900, 600)) +
      block("VB.Label oneLine",
            "Caption = \"A caption much wider than its label\"\n" + place(0, 1800, 600, 195)));
  Built b(text);
  auto* lbl = qobject_cast<QLabel*>(b.built.widget("lbl"));
  auto* cmd = qobject_cast<QPushButton*>(b.built.widget("cmd"));
  EXPECT_EQ(lbl->text(), "Name & address") << "access keys are not shown";
  EXPECT_TRUE(lbl->wordWrap());
  EXPECT_EQ(lbl->alignment(), Qt::AlignRight | Qt::AlignTop);
  EXPECT_EQ(lbl->textFormat(), Qt::PlainText);
  EXPECT_FALSE(qobject_cast<QLabel*>(b.built.widget("oneLine"))->wordWrap())
      << "a label one line high keeps its caption on that line";

  const QStringList narrow = cmd->text().split('\n');
  EXPECT_GE(narrow.size(), 2) << cmd->text().toStdString();
  for (const QString& line : narrow) EXPECT_LE(cmd->fontMetrics().horizontalAdvance(line), 52);
  EXPECT_EQ(narrow.join(' '), "Save all the changes");
  cmd->resize(400, 40);
  EXPECT_EQ(cmd->text(), "Save all the changes");
  // A caption set afterwards is broken the same way.
  cmd->setText("Print every page now");
  cmd->resize(60, 40);
  EXPECT_EQ(cmd->text().split('\n').join(' '), "Print every page now");
  EXPECT_GE(cmd->text().count('\n'), 1);
}

// `show --json`: every widget Qt shows, a parent before its children, in its parent's
// coordinates, with names decoded from the form's code page; a size the screen cannot hold is
// said so.
TEST(QtFidelity, ShowJsonListsEveryWidgetAsQtShowsItAtEachStep) {
  QTemporaryDir dir;
  const std::filesystem::path frm = dir.filePath("f.frm").toStdString();
  std::ofstream(frm, std::ios::binary)
      << formText(block("VB.Frame fra", "Caption = \"Gro\xDF\"\n" + place(150, 150, 3000, 1500) +
                                            block("VB.CommandButton cmd",
                                                  "Caption = \"\xC7"
                                                  "a\"\nIndex = 3\n" +
                                                      place(300, 450, 1200, 450))) +
                  block("TabDlg.SSTab tab", "Tabs = 2\n" + place(150, 1800, 3000, 1000)));
  const std::filesystem::path out = dir.filePath("out.json").toStdString();
  const std::filesystem::path err = dir.filePath("err.txt").toStdString();
  const int status =
      std::system(("QT_QPA_PLATFORM=offscreen " RESCALO_CLI " show " + frm.string() +
                   " --json --screenshot " + dir.path().toStdString() +
                   " --scale 1.5 --size 400000x300000 > " + out.string() + " 2> " + err.string())
                      .c_str());
  const std::string said = testing_support::readAll(err);
  ASSERT_EQ(status, 0) << said;
  EXPECT_TRUE(testing_support::has(said, "cannot hold it")) << said;
  const std::string bytes = testing_support::readAll(out);
  ASSERT_TRUE(frm::isValidUtf8(bytes));
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << bytes;
  const QJsonArray steps = doc.object()["steps"].toArray();
  ASSERT_EQ(steps.size(), 3);
  EXPECT_EQ(steps[1].toObject()["step"].toString(), "--scale 1.5");
  const QJsonObject inner = steps[1].toObject()["inner"].toObject();
  const int shownWidth = steps[0].toObject()["inner"].toObject()["width_px"].toInt();
  EXPECT_NEAR(inner["width_px"].toInt(), shownWidth * 1.5, 1);
  EXPECT_EQ(inner["width_twips"].toInt(), inner["width_px"].toInt() * 15);
  EXPECT_FALSE(steps[1].toObject().contains("short"));
  EXPECT_TRUE(steps[2].toObject().contains("short"));

  const QJsonArray widgets = steps[1].toObject()["widgets"].toArray();
  QStringList seen;
  for (const auto& v : widgets) {
    const QJsonObject w = v.toObject();
    const QString parent = w["parent"].toString();
    EXPECT_TRUE(parent == "Form1" || seen.contains(parent)) << "a parent comes first";
    seen << w["name"].toString();
    if (w["name"] == "cmd(3)") {
      EXPECT_EQ(w["class"].toString(), "QPushButton");
      EXPECT_EQ(parent, "fra");
      EXPECT_EQ(w["text"].toString(), "Ça");
      EXPECT_EQ(QRect(w["x"].toInt(), w["y"].toInt(), w["width"].toInt(), w["height"].toInt()),
                QRect(30, 45, 120, 45));
      EXPECT_NEAR(w["font_points"].toDouble(), 8.25 * 1.5, 0.75) << "the scaled font, in points";
    }
    if (w["name"] == "fra") {
      EXPECT_EQ(w["text"].toString(), "Groß");
    }
  }
  EXPECT_TRUE(seen.contains("cmd(3)") && seen.contains("tab"));
  // Qt's own inner widgets are there too: the tab widget's stack and its pages.
  EXPECT_TRUE(seen.contains("qt_tabwidget_stackedwidget")) << seen.join(' ').toStdString();
}

}  // namespace
