// What the builder makes of a classic form in widgets: text in the form's code page, the
// classic colours and label looks, wrapped button captions, its menu bar, its aligned controls
// stacked on their edges, and the controls a toolbar holds.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include "built_form.h"
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using testing_support::block;
using testing_support::BuiltForm;
using testing_support::formText;
using testing_support::place;

namespace {

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
      // A form some tool has converted to UTF-8 reads as the runtime's own output shows it.
      {-1, 0, "版本 Sélection", "版本 Sélection"},
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
    BuiltForm b(text, r.codePage);
    SCOPED_TRACE(r.utf8);
    const QString want = QString::fromStdString(r.utf8);
    EXPECT_EQ(b.qt.window->windowTitle(), want);
    EXPECT_EQ(b.widget<QLabel>("lbl")->text(), want);
    EXPECT_EQ(b.widget<QTabWidget>("tab")->tabText(0), want);
    EXPECT_EQ(b.widget<QGroupBox>("fra")->title(), want);
  }
}

// Colours that a picture without text cannot show: a disabled caption is grey whatever its
// own colour, and an MDI form's colour is its workspace's, where its children open.
TEST(QtFidelity, DisabledCaptionsAreGreyAndAnMdiFormsColourIsItsWorkspaces) {
  BuiltForm b(formText(block("VB.CommandButton off", "Enabled = 0\nForeColor = &H000000FF&\n")));
  const QPalette off = b.widget("off")->palette();
  EXPECT_EQ(off.color(QPalette::Active, QPalette::ButtonText), QColor(255, 0, 0));
  EXPECT_EQ(off.color(QPalette::Disabled, QPalette::ButtonText), QColor(128, 128, 128));
  for (const auto& [header, want] :
       {std::pair{std::string("BackColor = &H00552619&\n"), QColor(0x19, 0x26, 0x55)},
        std::pair{std::string(), QColor(0xAB, 0xAB, 0xAB)}}) {
    BuiltForm mdi(formText("", header, "VB.MDIForm"));
    auto* area = mdi.qt.window->findChild<QMdiArea*>();
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
  BuiltForm b(text);
  b.qt.window->show();
  auto* lbl = b.widget<QLabel>("lbl");
  auto* cmd = b.widget<QPushButton>("cmd");
  EXPECT_EQ(lbl->text(), "Name & address") << "access keys are not shown";
  EXPECT_TRUE(lbl->wordWrap());
  EXPECT_EQ(lbl->alignment(), Qt::AlignRight | Qt::AlignTop);
  EXPECT_EQ(lbl->textFormat(), Qt::PlainText);
  EXPECT_FALSE(b.widget<QLabel>("oneLine")->wordWrap())
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

TEST(QtFormStructure, MenusBecomeAMenuBarThatTakesItsHeightFromTheWindow) {
  auto menu = [](const std::string& name, const std::string& caption, const std::string& more) {
    return block("VB.Menu " + name, "Caption = \"" + caption + "\"\n" + more);
  };
  BuiltForm b(
      "VERSION 5.00\n" +
      block("VB.Form frmMenus",
            "Caption = \"Menus\"\nClientHeight = 3000\nClientWidth = 4500\n" +
                block("VB.CommandButton cmd", "Caption = \"Go\"\n" + place(300, 450, 1200, 450)) +
                menu("mnuFile", "&File",
                     menu("mnuOpen", "&Open...", "Shortcut = ^O\n") + menu("mnuSep", "-", "") +
                         menu("mnuAuto", "Auto &save", "Checked = -1\nShortcut = +{F1}\n") +
                         menu("mnuQuit", "&Quit", "Enabled = 0\nShortcut = {DEL}\n")) +
                menu("mnuHelp", "&Help",
                     "Visible = 0\n" + menu("mnuAbout", "&About", "Shortcut = ^{F2}\n"))));
  auto* main = qobject_cast<QMainWindow*>(b.qt.window.get());
  ASSERT_TRUE(main && main->menuWidget());
  QMenuBar* bar = main->menuBar();
  ASSERT_EQ(bar->actions().size(), 2);
  EXPECT_EQ(bar->actions()[0]->text(), "&File");
  EXPECT_FALSE(bar->actions()[1]->isVisible());

  const QList<QAction*> items = bar->actions()[0]->menu()->actions();
  ASSERT_EQ(items.size(), 4);
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_TRUE(items[2]->isCheckable() && items[2]->isChecked());
  EXPECT_FALSE(items[3]->isEnabled());
  const QList<QAction*> help = bar->actions()[1]->menu()->actions();
  ASSERT_EQ(help.size(), 1);
  const std::pair<QAction*, const char*> shortcuts[] = {
      {items[0], "Ctrl+O"}, {items[2], "Shift+F1"}, {items[3], "Del"}, {help[0], "Ctrl+F2"}};
  for (const auto& [action, keys] : shortcuts)
    EXPECT_EQ(action->shortcut(), QKeySequence(keys, QKeySequence::PortableText)) << keys;

  // The bar sits above the client area, which keeps the designed size and holds the controls.
  EXPECT_EQ(main->size(), QSize(300, 200 + host::kMenuBarPixels));
  auto form = qt::adoptForm(main);
  EXPECT_EQ(form->get("ScaleHeight").toDouble(), 3000);
  auto* cmd = b.widget<QPushButton>("cmd");
  ASSERT_TRUE(cmd);
  EXPECT_EQ(cmd->parentWidget(), main->centralWidget());
  EXPECT_EQ(qt::adoptControl(cmd)->get("Top").toDouble(), 450);
}

TEST(QtFormStructure, AlignedControlsStackAsOnTheRuntimeAndToolbarsHoldTheirControls) {
  BuiltForm b(
      "VERSION 5.00\n" +
      block("VB.MDIForm frmMain",
            "Caption = \"Main\"\nClientHeight = 3000\nClientWidth = 4500\n" +
                block("VB.PictureBox picLeft", "Align = 3\n" + place(0, 0, 600, 3000)) +
                block("VB.PictureBox picTop",
                      "Align = 1\n" + place(600, 0, 3900, 450) +
                          block("MSComctlLib.Toolbar tlb",
                                place(0, 0, 3000, 390) +
                                    block("VB.ComboBox cbo", place(1500, 60, 1200, 315)))) +
                block("VB.PictureBox picBottom", "Align = 2\n" + place(600, 2700, 3900, 300)) +
                block("VB.Menu mnuFile", "Caption = \"&File\"\n")));
  QWidget& window = *b.qt.window;
  QWidget* left = b.widget("picLeft");
  QWidget* top = b.widget("picTop");
  QWidget* tlb = b.widget("tlb");
  QWidget* bottom = b.widget("picBottom");
  auto* combo = b.widget<QComboBox>("cbo");
  ASSERT_TRUE(left && top && tlb && bottom && combo);
  for (const QSize size : {QSize(300, 200), QSize(450, 320)}) {
    window.resize(size + QSize(0, host::kMenuBarPixels));
    qt::layoutAligned(window);
    const int bar = host::kMenuBarPixels;
    // The top and bottom boxes span the form below the menu bar, as on the runtime, whatever
    // their order; the left box has the height they leave.
    EXPECT_EQ(top->geometry().topLeft(), QPoint(0, bar));
    EXPECT_EQ(top->width(), size.width());
    EXPECT_EQ(bottom->geometry(), QRect(0, bar + size.height() - 20, size.width(), 20));
    EXPECT_EQ(left->geometry(),
              QRect(0, bar + top->height(), 40, size.height() - top->height() - 20));
    // Measured from the client area below the bar, as on the classic form.
    EXPECT_EQ(qt::adoptControl(top)->get("Top").toDouble(), 0);
  }
  // The combo box on the toolbar is one of the form's controls, in the toolbar; neither the menu
  // bar nor anything Qt made for the toolbar itself is.
  auto controls = qt::adoptForm(&window)->get("Controls").toObject();
  EXPECT_EQ(controls->get("Count").toLong(), 5);
  auto cbo = controls->call("Item", {Variant("cbo")}).toObject();
  EXPECT_EQ(cbo->get("Container").toObject(), qt::adoptControl(tlb));
  EXPECT_EQ(cbo->get("Left").toDouble(), 1500);
}

}  // namespace
