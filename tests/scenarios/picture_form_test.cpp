// A user living with forms that show pictures: the demo form dragged a hundred times, a form
// whose image list cannot be rebuilt, and an application that makes its layout the new one.

#include <cmath>
#include <map>

#include "host/failure.h"
#include "runtime/picture.h"
#include "runtime/raster/raster.h"
#include "scaling/records.h"
#include "scenario_support.h"

using namespace scenario;
using host::Variant;
namespace fs = std::filesystem;

namespace {

// Every picture the demo form shows, by where it is shown.
std::map<std::string, raster::Bitmap> picturesOf(runtime::Form& form) {
  std::map<std::string, raster::Bitmap> out;
  auto keepPicture = [&](const std::string& where, const Variant& v) {
    if (const raster::Bitmap* bm = runtime::bitmapOf(v)) out[where] = *bm;
  };
  for (const auto& c : form.controls) {
    for (const char* name : {"Picture", "DownPicture", "DisabledPicture"})
      if (auto v = host::tryGet(*c, name)) keepPicture(c->key() + "." + name, *v);
    if (c->typeName() == "SSTab")
      keepPicture(c->key() + ".TabPicture(0)", c->get("TabPicture", {Variant(0)}));
    if (c->typeName() == "ImageList") {
      auto images = c->get("ListImages").toObject();
      for (int n = 1; n <= images->get("Count").toLong(); ++n)
        keepPicture(c->key() + ".ListImages(" + std::to_string(n) + ")",
                    images->get("Item", {Variant(n)}).toObject()->get("Picture"));
    }
  }
  return out;
}

class PictureFormTest : public ScenarioTest {
 protected:
  std::shared_ptr<runtime::Form> demo() {
    return keep.emplace_back(
        runtime::loadForm(rt, fs::path(RESCALO_SOURCE_DIR) / "examples" / "demo.frm").form);
  }
  void pause() { rt.advance(150); }
};

// The toolbar's height loop grows the buttons a pixel at a time until the toolbar is as tall
// as its scaled height, and sets the reference button height from what it grew to. Drags never
// make it fail, never leave it shorter than designed, and settle: after a burst of drags a
// second burst changes nothing.
TEST_F(PictureFormTest, AToolbarSurvivesAHundredDragsAndSettles) {
  auto form = demo();
  form->call("Show");
  const double w = form->clientWidthTwips(), h = form->clientHeightTwips();
  auto toolbar = form->find("tbrMain");
  const double designed = toolbar->get("Height").toDouble();
  auto burst = [&] {
    for (int i = 0; i < 100; ++i) {
      dragToInner(*form, w * (0.5 + (i * 37 % 100) / 60.0), h * (0.5 + (i * 53 % 100) / 70.0));
      pause();
    }
    dragToInner(*form, w, h);
    pause();
    return toolbar->get("Height").toDouble();
  };
  double first = burst();
  EXPECT_GE(first, designed);
  EXPECT_LE(first, designed + 2 * 15);
  EXPECT_EQ(burst(), first);
  EXPECT_TRUE(rt.messages.empty());  // no pass failed
}

TEST_F(PictureFormTest, PicturesRescaledAHundredTimesAreThoseRescaledOnce) {
  auto often = demo(), once = demo();
  auto designed = picturesOf(*often);
  ASSERT_GE(designed.size(), 6u);  // logo, help button, tab page, three list images
  often->call("Show");
  once->call("Show");
  const double w = often->clientWidthTwips(), h = often->clientHeightTwips();
  for (int i = 0; i < 100; ++i) {
    dragToInner(*often, w * (0.5 + (i * 37 % 100) / 60.0), h * (0.5 + (i * 53 % 100) / 70.0));
    pause();
  }
  dragToInner(*often, w * 1.3, h * 1.2);
  dragToInner(*once, w * 1.3, h * 1.2);
  pause();
  auto afterMany = picturesOf(*often), afterOne = picturesOf(*once);
  EXPECT_EQ(afterMany.size(), designed.size());
  for (const auto& [where, bm] : afterOne) {
    EXPECT_NE(bm, designed.at(where)) << where;  // they were rescaled
    EXPECT_EQ(afterMany.at(where), bm) << where;
  }
  // Back at the designed size the form shows the pictures it was loaded with.
  dragToInner(*often, w, h);
  pause();
  EXPECT_EQ(picturesOf(*often), designed);
}

TEST_F(PictureFormTest, AnImageListBoundThroughAnotherPropertyIsReportedToTheApplication) {
  auto form = load(corpus("028-VB6-frmMain.frm"));
  auto& site = *dynamic_cast<runtime::UserControlHost*>(form->find("Rescalo1"));
  std::vector<std::string> heard;
  site.subscribe([&](std::string_view event, host::Args args) {
    std::string line(event);
    if (event == "Error")
      line += ": " + args[0].toString() + " (" +
              std::to_string(args[1].toObject()->get("Number").toLong()) + ")";
    heard.push_back(line);
  });
  // Saved maximized: an MDI form takes the size it is shown at as its reference, so there is
  // nothing to place yet.
  form->call("Show");
  pause();
  EXPECT_EQ(heard, (std::vector<std::string>{"ResizeStarted", "ResizeDone"}));
  // Restored, its image lists must be rebuilt, but the toolbar still holds the disabled-image
  // list; every later size fails the same way, and the window is never left locked.
  const std::string error =
      "Error: imgListDisabled has a one or more controls bound to it that is not supported by "
      "Rescalo\r\n See Rescalo Help File for more information\r\n (35617)";
  const double toolbarWidth = form->find("tbrObjects")->get("Width").toDouble();
  for (int i = 0; i < 2; ++i) {
    heard.clear();
    if (i == 0)
      form->set("WindowState", 0);
    else
      dragToInner(*form, 9000, 6000);
    pause();
    EXPECT_EQ(heard, (std::vector<std::string>{"ResizeStarted", error, "ResizeDone"}));
    EXPECT_EQ(rt.windowTable().lockedWindow(), 0);
  }
  // The run ends at the list: the toolbar after it was never placed.
  EXPECT_EQ(form->find("tbrObjects")->get("Width").toDouble(), toolbarWidth);
}

TEST_F(PictureFormTest, AfterResetShrinkingScalesFromTheLayoutTheApplicationMadeCurrent) {
  auto form = demo();
  auto& site = *dynamic_cast<runtime::UserControlHost*>(form->find("Rescalo1"));
  form->call("Show");
  const double w = form->clientWidthTwips(), h = form->clientHeightTwips();
  auto help = form->find("cmdHelp");
  const double helpLeft = help->get("Left").toDouble(), helpWidth = help->get("Width").toDouble();
  dragToInner(*form, w * 2, h * 2);
  pause();
  EXPECT_NEAR(help->get("Width").toDouble(), helpWidth * 2, 1e-3);
  auto enlarged = *runtime::bitmapOf(help->get("Picture"));

  // The application moves the button and makes the enlarged layout the reference.
  help->set("Left", helpLeft * 2 + 600);
  EXPECT_TRUE(site.call("Reset").isEmpty());
  pause();
  dragToInner(*form, w, h);
  pause();
  EXPECT_NEAR(help->get("Left").toDouble(), helpLeft + 300, 1e-3);
  EXPECT_NEAR(help->get("Width").toDouble(), helpWidth, 1e-3);
  const raster::Bitmap* shrunk = runtime::bitmapOf(help->get("Picture"));
  ASSERT_NE(shrunk, nullptr);
  EXPECT_EQ(shrunk->width(), (enlarged.width() + 1) / 2);
}

}  // namespace
