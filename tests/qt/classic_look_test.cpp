// A classic form on Qt looks as the runtime draws it: each control's widget, grabbed alone,
// is the runtime's picture of that control pixel for pixel, and the look follows widgets the
// form gains later.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QWidget>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_picture.h>
#include <rescalo/runtime/render.h>
#include "built_form.h"
#include "test_support.h"

using namespace rescalo;

using testing_support::block;
using testing_support::BuiltForm;
using testing_support::formText;
using testing_support::place;

namespace {

const std::string kNoCaption = "Caption = \"\"\n";

// Pixels of the widget that differ from the runtime's picture of the form at the widget's place.
int differingPixels(QWidget& w, const raster::Bitmap& runtimePicture, runtime::PixelPoint client) {
  const QImage qt = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QPoint at = w.mapTo(w.window(), QPoint(0, 0));
  int differing = 0;
  for (int y = 0; y < qt.height(); ++y)
    for (int x = 0; x < qt.width(); ++x) {
      const raster::Color c = runtimePicture.pixel(client.x + at.x() + x, client.y + at.y() + y);
      differing += qt.pixel(x, y) != qRgb(raster::red(c), raster::green(c), raster::blue(c));
    }
  return differing;
}

TEST(ClassicLookOnQt, ControlsArePaintedPixelForPixelAsTheRuntimePaintsThem) {
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
      block("TabDlg.SSTab tabs",
            place(3720, 120, 2700, 2400) +
                "Tabs = 3\nTabsPerRow = 3\nTab = 1\nTabHeight = 420\n"
                "TabCaption(0) = \"\"\nTabCaption(1) = \"\"\nTabCaption(2) = \"\"\n");
  BuiltForm f(formText(body));
  f.form->call("Show");
  f.form->setClientSize(6600, 3000);
  const raster::Bitmap picture = runtime::renderWindow(*f.form);
  const runtime::PixelPoint client = runtime::clientOrigin(*f.form);
  // A drop-down list is chosen from, never typed into.
  EXPECT_FALSE(f.widget<QComboBox>("chooser")->isEditable());
  EXPECT_TRUE(f.widget<QComboBox>("combo")->isEditable());
  // Resized and back, as a drag does: the tab dialog sizes its tabs again.
  QWidget* tabs = f.widget("tabs");
  ASSERT_NE(tabs, nullptr);
  tabs->resize(tabs->size() / 2);
  tabs->resize(tabs->size() * 2);
  for (const char* key :
       {"plain", "chosen", "edit", "list", "combo", "chooser", "simple", "ticked", "greyed",
        "chosenOption", "pushedIn", "standingOut", "across", "down", "sunk", "tabs"}) {
    SCOPED_TRACE(key);
    QWidget* w = f.widget(key);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(differingPixels(*w, picture, client), 0);
  }
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
