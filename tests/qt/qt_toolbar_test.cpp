// A QToolBar seen as a toolbar: its button size in twips, the images that fit inside the
// buttons, and the height that follows them a DoEvents later.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QToolBar>
#include <memory>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include "host_support.h"

using namespace rescalo;

using host::Variant;
using testing_support::errorOf;

namespace {

class QtToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window->setObjectName("frmMain");
    window->resize(400, 300);
    bar = new QToolBar(window.get());
    bar->setObjectName("tbMain");
    for (const char* caption : {"New", "Open", "Save"}) bar->addAction(caption);
    bar->setGeometry(0, 0, 400, 26);
    other = new QPushButton("OK", window.get());
    other->setObjectName("cmdOK");
    other->setGeometry(10, 100, 80, 25);
    tpp = 1440.0 / window->logicalDpiX();
    toolbar = qt::adoptControl(bar);
  }

  QSize buttonSize(int i) const { return bar->widgetForAction(bar->actions().at(i))->size(); }

  std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
  QToolBar* bar = nullptr;
  QPushButton* other = nullptr;
  double tpp = 15;
  host::ObjectPtr toolbar;
};

TEST_F(QtToolbarTest, ButtonSizeSetsEveryButtonAndTheImagesAndTheHeightFollowsAtDoEvents) {
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
