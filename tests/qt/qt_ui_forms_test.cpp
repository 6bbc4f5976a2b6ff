// Forms made in Qt Designer, opened as `rescalo show FORM.ui` opens them: what is placed by
// position follows the window from its designed rectangle, what a layout places is the
// layout's, a main window's bars are Qt's, and a widget's own size limits hold.

#include <rescalo/bridge/shown_form.h>
#include <rescalo/bridge/ui_forms.h>
#include <rescalo/bridge/ui_writer.h>
#include <rescalo/qt/qt_control.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#ifdef RESCALO_DESIGNER_PLUGIN_DIR
#include <QUiLoader>
#endif
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "built_form.h"
#include "corpus.h"

using namespace rescalo;

namespace {

const std::string kOrders = RESCALO_SOURCE_DIR "/examples/ui/orders.ui";

template <class W>
W* child(const bridge::ShownForm& shown, const char* name) {
  return shown.window().findChild<W*>(name);
}

TEST(UiForms, AMainWindowsWidgetsFollowItsCentralAreaAndComeBackExactly) {
  bridge::ShownForm shown(kOrders, {.compare = true, .quietMessageBoxes = true});
  auto& main = static_cast<QMainWindow&>(shown.window());
  QWidget* central = main.centralWidget();
  auto* customer = child<QLabel>(shown, "lblCustomer");
  auto* net = child<QLabel>(shown, "lblNet");
  auto* cancel = child<QPushButton>(shown, "cmdCancel");
  ASSERT_TRUE(customer && net && cancel);
  const QRect customerAt = customer->geometry(), netAt = net->geometry();
  const QSize centralAt = central->size();
  // The Rescalo the form carries brought its settings.
  EXPECT_EQ(shown.rescalo().minimumWindowSize(), QSize(240, 180));

  shown.drag(shown.designWidth() * 1.5, shown.designHeight() * 1.5);
  EXPECT_EQ(shown.mismatches().size(), 0u);
  // Against the central widget, which the menu and status bars make less than 1.5 times
  // taller than it was.
  const double ry = double(central->height()) / centralAt.height();
  EXPECT_NE(ry, 1.5);
  EXPECT_NEAR(customer->y(), customerAt.y() * ry, 1);
  EXPECT_EQ(main.menuBar()->width(), main.width());
  // Locked to the corner, at its size.
  EXPECT_EQ(central->width() - cancel->geometry().right() - 1, 480 - 460);
  EXPECT_EQ(cancel->size(), QSize(84, 28));
  // The labels in the frame's layout are where the layout puts them, not scaled from their
  // own rectangles: the frame grew, the layout spread them.
  EXPECT_GT(net->width(), netAt.width());

  shown.drag(shown.designWidth() * 0.7, shown.designHeight() * 0.7);
  EXPECT_EQ(shown.mismatches().size(), 0u);
  shown.drag(shown.designWidth(), shown.designHeight());
  EXPECT_EQ(customer->geometry(), customerAt);
  EXPECT_EQ(net->geometry(), netAt);
  EXPECT_EQ(central->size(), centralAt);
}

// What Qt places (a tab's or tool box's page, what a scroll area scrolls, a layout's or a
// splitter's widget) holds widgets by position that follow the form too, and come back.
TEST(UiForms, WidgetsPlacedByPositionInsideWhatQtPlacesFollowTheFormAndComeBack) {
  const QString holders = RESCALO_SOURCE_DIR "/tests/qt/ui/holders.ui";
  // Tabs beside their pages as well as above them.
  QTemporaryDir dir;
  QFile in(holders);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  const QString west = dir.filePath("west.ui");
  std::ofstream(west.toStdString()) << in.readAll()
                                           .replace("name=\"tabs\">",
                                                    "name=\"tabs\"><property name=\"tabPosition\">"
                                                    "<enum>QTabWidget::West</enum></property>")
                                           .toStdString();
  for (const QString& file : {holders, west}) {
    bridge::ShownForm shown(file.toStdString(), {.compare = true, .quietMessageBoxes = true});
    std::map<std::string, QRect> designed;
    for (const char* name : {"frame", "chkOnPage", "editInToolBox", "radioInScrollArea",
                             "btnInLaidOutGroup", "lblInSplitter"})
      designed[name] = child<QWidget>(shown, name)->geometry();
    for (const double scale : {1.25, 0.6}) {
      shown.drag(shown.designWidth() * scale, shown.designHeight() * scale);
      EXPECT_EQ(shown.mismatches().size(), 0u) << file.toStdString() << " at " << scale;
      for (const auto& [name, at] : designed) {
        const QRect now = child<QWidget>(shown, name.c_str())->geometry();
        EXPECT_NEAR(now.x(), at.x() * scale, 1.0) << name << " at " << scale;
        EXPECT_NEAR(now.width(), at.width() * scale, 1.0) << name << " at " << scale;
      }
    }
    shown.drag(shown.designWidth(), shown.designHeight());
    for (const auto& [name, at] : designed)
      EXPECT_EQ(child<QWidget>(shown, name.c_str())->geometry(), at) << file.toStdString() << name;
  }
}

TEST(UiForms, AWidgetsOwnSmallestAndLargestSizesHoldWhileTheRestScales) {
  QTemporaryDir dir;
  const QString path = dir.filePath("limits.ui");
  auto widget = [](const char* cls, const char* name, const char* rect, const char* extra = "") {
    return std::string("  <widget class=\"") + cls + "\" name=\"" + name +
           "\"><property name=\"geometry\"><rect>" + rect + "</rect></property>" + extra +
           "</widget>\n";
  };
  const std::string ui =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\"><class>Limits</class>\n"
      "<widget class=\"QDialog\" name=\"Limits\"><property name=\"geometry\"><rect><x>0</x>"
      "<y>0</y><width>300</width><height>200</height></rect></property>\n" +
      widget("QPushButton", "cmdFree", "<x>10</x><y>10</y><width>100</width><height>30</height>") +
      widget("QPushButton", "cmdCapped", "<x>10</x><y>100</y><width>100</width><height>30</height>",
             "<property name=\"maximumSize\"><size><width>120</width><height>30</height></size>"
             "</property>") +
      // Its height is its font's, as on a classic form.
      widget("QComboBox", "cboKept", "<x>150</x><y>10</y><width>100</width><height>22</height>") +
      "</widget></ui>\n";
  std::ofstream(path.toStdString()) << ui;
  bridge::ShownForm shown(path.toStdString(), {.compare = true, .quietMessageBoxes = true});
  shown.drag(shown.designWidth() * 2, shown.designHeight() * 2);
  EXPECT_EQ(child<QPushButton>(shown, "cmdFree")->geometry(), QRect(20, 20, 200, 60));
  EXPECT_EQ(child<QPushButton>(shown, "cmdCapped")->geometry(), QRect(20, 200, 120, 30));
  EXPECT_EQ(shown.mismatches().size(), 0u);
  shown.drag(shown.designWidth(), shown.designHeight());
  EXPECT_EQ(child<QPushButton>(shown, "cmdCapped")->geometry(), QRect(10, 100, 100, 30));
}

TEST(UiForms, AFileThatIsNoFormIsRefusedByName) {
  QTemporaryDir dir;
  const QString path = dir.filePath("broken.ui");
  std::ofstream(path.toStdString())
      << "<ui version=\"4.0\"><widget class=\"QWidget\" name=\"x\">\n<oops></ui>\n";
  try {
    bridge::ShownForm shown(path.toStdString());
    FAIL() << "a broken form opened";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("broken.ui"), std::string::npos) << e.what();
  }
}

// Every widget of a shown form by its key, in pixels.
std::map<std::string, QRect> layoutOf(const bridge::ShownForm& shown) {
  std::map<std::string, QRect> out;
  for (const auto& [key, w] : shown.built().widgets) {
    // A classic key in its form's code page is the widget's name in UTF-8 in a .ui.
    const bool ascii = std::all_of(key.begin(), key.end(), [](char c) { return c > 0; });
    // An image list is the classic form's own helper, a line the host's drawing: neither goes
    // into a .ui.
    if (qt::kindOf(*w) != qt::ControlKind::ImageList && qt::kindOf(*w) != qt::ControlKind::Line)
      out[ascii ? key : w->objectName().toStdString()] = w->geometry();
  }
  return out;
}

// What a .ui does not carry of a classic form: toolbars' buttons, boxes aligned to the form's
// edges (and so MDI forms), and containers drawing in their own scale units.
bool carriedWhole(const bridge::ShownForm& classic) {
  for (const auto& [key, w] : classic.built().widgets) {
    if (qt::kindOf(*w) == qt::ControlKind::Toolbar || w->property("Align").toInt() != 0)
      return false;
    if (qt::kindOf(*w) == qt::ControlKind::PictureBox &&
        qt::adoptControl(w)->get("ScaleMode").toInteger() != 1)
      return false;
  }
  return true;
}

// What a window's menu bar shows: each item shown, with its state, a menu's items under it.
std::string shownMenus(const QWidget& window) {
  std::string out;
  std::function<void(const QWidget&, int)> walk = [&](const QWidget& menu, int depth) {
    for (const QAction* a : menu.actions()) {
      if (!a->isVisible()) continue;
      out += std::string(depth, ' ') + (a->isSeparator() ? "-" : a->text().toStdString()) +
             (a->isEnabled() ? "" : " disabled") + (a->isChecked() ? " checked" : "") + " " +
             a->shortcut().toString().toStdString() + "\n";
      if (a->menu()) walk(*a->menu(), depth + 1);
    }
  };
  const auto* main = qobject_cast<const QMainWindow*>(&window);
  if (main && main->menuWidget() && !main->menuWidget()->isHidden()) walk(*main->menuWidget(), 0);
  return out;
}

// What the loaders say reading a form: ours, and Qt's own where the build has them: its uic,
// and its QUiLoader with the Rescalo's plugin.
std::string heardReading(const QString& ui) {
  static std::string said;
  said.clear();
  const QtMessageHandler before = qInstallMessageHandler(
      [](QtMsgType, const QMessageLogContext&, const QString& m) { said += m.toStdString(); });
  bridge::loadUiForm(ui.toStdString());
#ifdef RESCALO_DESIGNER_PLUGIN_DIR
  QUiLoader loader;
  loader.addPluginPath(RESCALO_DESIGNER_PLUGIN_DIR);
  QFile file(ui);
  if (!file.open(QIODevice::ReadOnly) || !std::unique_ptr<QWidget>(loader.load(&file)))
    said += "QUiLoader failed";
#endif
  qInstallMessageHandler(before);
#ifdef RESCALO_UIC
  QProcess uic;
  uic.start(RESCALO_UIC, {ui, "-o", ui + ".h"});
  if (!uic.waitForFinished() || uic.exitCode() != 0) said += "uic failed; ";
  said += uic.readAllStandardError().toStdString();
#endif
  return said;
}

// A classic form converted to a Designer form opens as the classic one does, menus and all,
// and follows the same drags the same way: every widget both have within a pixel. Our loader
// and Qt's own tools read it without a word.
TEST(UiForms, AClassicFormConvertedToADesignerFormShowsAndRescalesAsTheClassicOne) {
  QTemporaryDir dir;
  const bridge::ShowOptions quick{.quietMessageBoxes = true, .settleMs = 200};
  int compared = 0;
  for (const auto& frm : testing_support::formsToCheck()) {
    const std::filesystem::path ui = dir.filePath("converted.ui").toStdString();
    bridge::convertToUi(frm, ui);
    EXPECT_EQ(heardReading(QString::fromStdString(ui.string())), "") << frm.filename();
    bridge::ShownForm classic(frm, quick);
    EXPECT_EQ(shownMenus(*bridge::loadUiForm(ui).window), shownMenus(classic.window()))
        << frm.filename();
    if (!carriedWhole(classic)) continue;
    bridge::ShownForm designer(ui, quick);
    ASSERT_TRUE(designer.built().hasRescalo) << frm.filename();
    for (const double scale : {1.0, 1.5, 0.7, 1.0}) {
      if (scale != 1.0 || compared) {
        classic.drag(classic.designWidth() * scale, classic.designHeight() * scale);
        designer.drag(classic.designWidth() * scale, classic.designHeight() * scale);
      }
      const auto want = layoutOf(classic), got = layoutOf(designer);
      for (const auto& [key, rect] : want) {
        const auto it = got.find(key);
        ASSERT_NE(it, got.end()) << frm.filename() << ": " << key << " was not converted";
        EXPECT_TRUE(testing_support::withinAPixel(it->second, rect))
            << frm.filename() << " at " << scale << ": " << key;
      }
      ++compared;
    }
  }
  EXPECT_GT(compared, 0);
}

}  // namespace
