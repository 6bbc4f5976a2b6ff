// A classic form on Qt looks as the runtime draws it: each control's widget, grabbed alone,
// is the runtime's picture of that control pixel for pixel, and the look follows widgets the
// form gains later.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QWidget>
#include <string>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_picture.h>
#include "built_form.h"
#include "test_support.h"

using namespace rescalo;

using testing_support::block;
using testing_support::BuiltForm;
using testing_support::differingWidgets;
using testing_support::formText;
using testing_support::place;

namespace {

const std::string kNoCaption = "Caption = \"\"\n";

// A blue form of every kind of control, drawn without text (a frame's line is placed by its
// font's height, which each host measures its own way): the Qt window is the runtime's picture
// of it pixel for pixel. Controls show their own colours or the system's, never their
// container's; a transparent label shows the form; a shape after a text box is under it.
TEST(ClassicLookOnQt, AFormWithoutTextIsPaintedPixelForPixelAsTheRuntimePaintsIt) {
  const std::string body =
      block("VB.CommandButton plain", place(120, 120, 1200, 450) + kNoCaption) +
      block("VB.CommandButton chosen",
            place(1440, 120, 1200, 450) + kNoCaption + "Default = -1\n") +
      block("VB.TextBox edit", place(120, 720, 1500, 315)) +
      block("VB.ListBox list", place(1800, 720, 1200, 420)) +
      block("VB.ComboBox combo", place(120, 1200, 1500, 315)) +
      block("VB.ComboBox chooser", place(5640, 2580, 900, 315) + "Style = 2\n") +
      block("VB.ComboBox simple", place(1800, 1200, 1200, 315) + "Style = 1\n") +
      block("VB.CheckBox ticked", place(120, 1680, 1200, 300) + kNoCaption + "Value = 1\n") +
      block("VB.CheckBox greyed", place(120, 2040, 1200, 300) + kNoCaption + "Value = 2\n") +
      block("VB.OptionButton chosenOption",
            place(1800, 2130, 1200, 300) + kNoCaption + "Value = -1\n") +
      block("VB.CheckBox pushedIn",
            place(3600, 2580, 900, 300) + kNoCaption + "Style = 1\nValue = 1\n") +
      block("VB.OptionButton standingOut",
            place(4620, 2580, 900, 300) + kNoCaption + "Style = 1\n") +
      block("VB.HScrollBar across", place(120, 2460, 2400, 255) + "Max = 10\nValue = 7\n") +
      block("VB.VScrollBar down", place(3240, 120, 255, 2400) + "Max = 10\nValue = 3\n") +
      block("VB.Label sunk", place(1800, 1800, 900, 300) + kNoCaption + "BorderStyle = 1\n") +
      block("VB.Label clear", place(6600, 120, 900, 300) + kNoCaption + "BackStyle = 0\n") +
      block("VB.Label own", place(6600, 600, 900, 300) + kNoCaption + "BackColor = &H000000FF&\n") +
      block("VB.Frame box", place(6600, 1080, 900, 900) + kNoCaption + "BorderStyle = 0\n") +
      block("VB.TextBox over", place(6600, 2160, 600, 300)) +
      block("VB.Shape under",
            place(6600, 2160, 900, 450) + "BackStyle = 1\nBackColor = &H0000FF00&\n") +
      block("TabDlg.SSTab tabs",
            place(3720, 120, 2700, 2400) +
                "Tabs = 3\nTabsPerRow = 3\nTab = 1\nTabHeight = 420\n"
                "TabCaption(0) = \"\"\nTabCaption(1) = \"\"\nTabCaption(2) = \"\"\n");
  BuiltForm f(formText(body, "BackColor = &H00FF0000&\n"));
  f.form->call("Show");
  f.form->setClientSize(7680, 3000);
  QWidget& window = *f.qt.window;
  window.resize(512, 200);
  // A drop-down list is chosen from, never typed into.
  EXPECT_FALSE(f.widget<QComboBox>("chooser")->isEditable());
  EXPECT_TRUE(f.widget<QComboBox>("combo")->isEditable());
  // Resized and back, as a drag does: the tab dialog sizes its tabs again.
  QWidget* tabs = f.widget("tabs");
  ASSERT_NE(tabs, nullptr);
  tabs->resize(tabs->size() / 2);
  tabs->resize(tabs->size() * 2);
  EXPECT_EQ(differingWidgets(window, *f.form), std::set<std::string>{});
}

TEST(ClassicLookOnQt, ListsShowTheirItemsAndADropDownListShowsTheOneChosen) {
  BuiltForm f(formText(block("VB.ListBox lst", place(0, 0, 1500, 900)) +
                       block("VB.ComboBox cbo", place(0, 1000, 1500, 315) + "Style = 2\n")));
  for (const char* key : {"lst", "cbo"})
    for (const char* item : {"Alpha", "Beta"})
      f.form->find(key)->call("AddItem", {host::Variant(item)});
  f.form->find("lst")->set("ListIndex", 1);
  f.qt = bridge::buildQtForm(*f.form);
  auto* list = f.widget<QListWidget>("lst");
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(1)->text() + list->currentItem()->text(), "BetaBeta");
  auto* combo = f.widget<QComboBox>("cbo");
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentIndex(), -1);  // nothing chosen yet, as on the runtime
}

TEST(ClassicLookOnQt, WidgetsAddedToAClassicFormWearItToo) {
  BuiltForm f(formText(block("VB.PictureBox holder", place(120, 120, 2400, 1200))));
  QWidget* holder = f.widget("holder");
  ASSERT_NE(holder, nullptr);
  auto* later = new QScrollBar(Qt::Horizontal, holder);
  later->ensurePolished();
  EXPECT_EQ(later->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, later), 16);
  // A form made in Qt keeps the application's own style.
  QWidget own;
  EXPECT_EQ(own.style(), QApplication::style());
}

TEST(ClassicLookOnQt, OnlyAGraphicalButtonShowsThePictureItKeeps) {
  BuiltForm f(
      formText(block("VB.CommandButton standard", place(120, 120, 1200, 450)) +
               block("VB.CommandButton graphical", place(120, 720, 1200, 450) + "Style = 1\n")));
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::red);
  for (const char* key : {"standard", "graphical"}) {
    auto button = qt::adoptControl(f.widget(key));
    button->set("Picture", host::Variant(host::ObjectPtr(qt::makePicture(image))));
    EXPECT_FALSE(button->get("Picture").isNothing()) << key;  // still there to be scaled
  }
  EXPECT_TRUE(f.widget<QPushButton>("standard")->icon().isNull());
  EXPECT_FALSE(f.widget<QPushButton>("graphical")->icon().isNull());
}

}  // namespace
