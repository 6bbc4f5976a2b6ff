// A QToolBar seen as a toolbar: its button size in twips, the images that fit inside the
// buttons, and the height that follows them a DoEvents later; a classic form's toolbar, with
// its buttons in the rows the runtime wraps them into.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QToolBar>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/runtime/common_controls.h>
#include "built_form.h"
#include "host_support.h"
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using testing_support::errorOf;

namespace {

TEST(QtToolbar, ButtonSizeSetsEveryButtonAndTheImagesAndTheHeightFollowsAtDoEvents) {
  QWidget window;
  window.setObjectName("frmMain");
  window.resize(400, 300);
  auto* bar = testing_support::make<QToolBar>(&window, "tbMain", {0, 0, 400, 26});
  for (const char* caption : {"New", "Open", "Save"}) bar->addAction(caption);
  auto* other = testing_support::make<QPushButton>(&window, "cmdOK", {10, 100, 80, 25});
  const double tpp = 1440.0 / window.logicalDpiX();
  host::ObjectPtr toolbar = qt::adoptControl(bar);
  auto buttonSize = [&](int i) { return bar->widgetForAction(bar->actions().at(i))->size(); };

  EXPECT_EQ(toolbar->typeName(), "Toolbar");
  EXPECT_EQ(toolbar->get("Buttons").toObject()->get("Count").toInteger(), 3);
  // Only a toolbar has buttons.
  EXPECT_EQ(errorOf([&] { qt::adoptControl(other)->get("ButtonWidth"); }), 438);
  EXPECT_EQ(errorOf([&] { qt::adoptControl(other)->get("Buttons"); }), 438);

  toolbar->set("ButtonWidth", Variant(40 * tpp));
  toolbar->set("ButtonHeight", Variant(30 * tpp));
  EXPECT_DOUBLE_EQ(toolbar->get("ButtonWidth").toDouble(), 40 * tpp);
  EXPECT_DOUBLE_EQ(toolbar->get("ButtonHeight").toDouble(), 30 * tpp);
  EXPECT_EQ(bar->iconSize(), QSize(33, 24));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(buttonSize(i), QSize(40, 30));
  EXPECT_EQ(bar->height(), 26);  // not before the events are processed
  QApplication::processEvents();
  EXPECT_EQ(bar->height(), 34);

  // Its height is its buttons', whatever it is given; sizes are whole pixels, never negative.
  toolbar->set("Height", Variant(100 * tpp));
  EXPECT_EQ(bar->height(), 34);
  toolbar->set("ButtonWidth", Variant(20.4 * tpp));
  EXPECT_EQ(buttonSize(0).width(), 20);
  EXPECT_EQ(errorOf([&] { toolbar->set("ButtonHeight", Variant(-1.0)); }), 380);
  EXPECT_EQ(errorOf([&] { toolbar->set("ButtonWidth", Variant(40000 * tpp)); }), 380);
  EXPECT_EQ(buttonSize(0), QSize(20, 30));
}

}  // namespace

TEST(ClassicToolbarOnQt, ButtonsStandInTheRowsTheRuntimeWrapsThemInto) {
  using testing_support::block;
  std::string buttons = "BeginProperty Buttons\nNumButtons = 8\n";
  for (int i = 1; i <= 8; ++i)
    buttons += "BeginProperty Button" + std::to_string(i) + "\n" + (i == 4 ? "Style = 3\n" : "") +
               "EndProperty\n";
  // 40 x 52 pixel buttons, a separator fourth: 288 pixels on one row.
  testing_support::BuiltForm b(
      "VERSION 5.00\n" +
      block("VB.Form frmBar",
            "ClientHeight = 3000\nClientWidth = 4000\n" +
                block("MSComctlLib.Toolbar tlb",
                      "Align = 1\n" + testing_support::place(0, 0, 4000, 100) +
                          "ButtonWidth = 1058\nButtonHeight = 1376\nAppearance = 1\n" + buttons +
                          "EndProperty\n")));
  auto* bar = b.widget<QToolBar>("tlb");
  auto* runtimeBar = dynamic_cast<runtime::Toolbar*>(b.form->find("tlb"));
  ASSERT_TRUE(bar && runtimeBar);
  QWidget& window = *b.qt.window;
  window.show();
  b.form->call("Show");
  for (const int inner : {266, 400}) {
    SCOPED_TRACE(inner);
    b.form->setClientSize(inner * 15.0, 3000);
    window.resize(inner, 200);
    qt::layoutAligned(window);
    QApplication::processEvents();
    const auto places = runtimeBar->buttonPlaces();
    const auto actions = bar->actions();
    ASSERT_EQ(places.size(), static_cast<std::size_t>(actions.size()));
    EXPECT_EQ(bar->height() * 15.0, runtimeBar->height);
    for (int i = 0; i < actions.size(); ++i) {
      SCOPED_TRACE(i);
      QWidget* button = bar->widgetForAction(actions[i]);
      ASSERT_GE(places[i].row, 0);
      // In from the corner by the 3-D edge and the standard style's margin.
      EXPECT_EQ(button->pos(), QPoint(3 + places[i].x, 3 + places[i].row * 52));
      EXPECT_EQ(button->size(), QSize(i == 3 ? 8 : 40, 52));
      EXPECT_TRUE(button->isVisible());
    }
    EXPECT_EQ(places.back().row, inner == 266 ? 1 : 0);
    // Its 3-D edge, raised buttons and separator, as the runtime draws them.
    EXPECT_EQ(testing_support::differingWidgets(window, *b.form), std::set<std::string>{});
  }
}
