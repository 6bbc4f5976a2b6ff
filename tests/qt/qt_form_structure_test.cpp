// What a classic form is made of beyond its controls' rectangles, built into widgets: its menu
// bar, its aligned controls stacked on their edges, and the controls a toolbar holds.

#include <rescalo/bridge/qt_forms.h>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/runtime/loader.h>
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using testing_support::block;
using testing_support::place;

namespace {

struct Built {
  QTemporaryDir dir;
  std::unique_ptr<runtime::Runtime> rt;
  std::shared_ptr<runtime::Form> form;
  bridge::QtFormWindow qt;
};

std::unique_ptr<Built> build(const std::string& text) {
  auto b = std::make_unique<Built>();
  runtime::RuntimeOptions o;
  o.settingsFile = b->dir.filePath("settings").toStdString();
  b->rt = std::make_unique<runtime::Runtime>(o);
  b->form =
      runtime::buildForm(*b->rt, frm::read(text, "test.frm"), "test.frm", {.userMode = false});
  b->qt = bridge::buildQtForm(*b->form);
  return b;
}

TEST(QtFormStructure, MenusBecomeAMenuBarThatTakesItsHeightFromTheWindow) {
  auto menu = [](const std::string& name, const std::string& caption, const std::string& more) {
    return block("VB.Menu " + name, "Caption = \"" + caption + "\"\n" + more);
  };
  auto b = build(
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
  auto* main = qobject_cast<QMainWindow*>(b->qt.window.get());
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
  auto* cmd = qobject_cast<QPushButton*>(b->qt.widget("cmd"));
  ASSERT_TRUE(cmd);
  EXPECT_EQ(cmd->parentWidget(), main->centralWidget());
  EXPECT_EQ(qt::adoptControl(cmd)->get("Top").toDouble(), 450);
}

TEST(QtFormStructure, AlignedControlsStackAsOnTheRuntimeAndToolbarsHoldTheirControls) {
  auto b = build(
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
  QWidget& window = *b->qt.window;
  QWidget* left = b->qt.widget("picLeft");
  QWidget* top = b->qt.widget("picTop");
  QWidget* tlb = b->qt.widget("tlb");
  QWidget* bottom = b->qt.widget("picBottom");
  auto* combo = qobject_cast<QComboBox*>(b->qt.widget("cbo"));
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

TEST(QtFormStructure, AnActiveMdiChildShowsItsMenusOnItsParentsBar) {
  auto form = [](const std::string& what, const std::string& caption, const std::string& body) {
    return "VERSION 5.00\n" + block(what, "Caption = \"" + caption + "\"\n" + body);
  };
  auto menu = [](const char* name, const char* caption) {
    return block(std::string("VB.Menu ") + name, std::string("Caption = \"") + caption + "\"\n");
  };
  const std::string childForm = "ClientHeight = 1500\nClientWidth = 3000\nMDIChild = -1\n";
  auto parent = build(form("VB.MDIForm frmMain", "Main",
                           "ClientHeight = 3000\nClientWidth = 4500\n" + menu("mnuFile", "&File")));
  auto child = build(form("VB.Form frmDoc", "Document",
                          childForm + menu("mnuEdit", "&Edit") + menu("mnuView", "&View")));
  auto plain = build(form("VB.Form frmPlain", "Plain", childForm));
  // The child's menus go to its parent: it has no bar of its own.
  EXPECT_FALSE(qobject_cast<QMainWindow*>(child->qt.window.get()));
  auto& main = static_cast<QMainWindow&>(*parent->qt.window);
  QMdiSubWindow* doc = bridge::addMdiChild(main, child->qt, *child->form);
  QMdiSubWindow* other = bridge::addMdiChild(main, plain->qt, *plain->form);
  ASSERT_TRUE(doc && other);
  auto captions = [&] {
    QStringList out;
    for (QAction* a : main.menuBar()->actions()) out << a->text();
    return out;
  };
  QMdiArea* area = qt::mdiAreaOf(main);
  main.show();
  area->setActiveSubWindow(doc);
  EXPECT_EQ(captions(), (QStringList{"&Edit", "&View"}));
  area->setActiveSubWindow(other);
  EXPECT_EQ(captions(), QStringList{"&File"});
  main.hide();
}
