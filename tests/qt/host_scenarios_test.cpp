// The same stories of a form with a Rescalo control, told on both hosts: the embedded runtime
// and real widgets on the Qt host (offscreen). Each story loads one form, shows it, drags its
// corner, lets the pause pass and reads the controls by name, so that only the host differs.
//
// Where the hosts differ by design, it is said here and nowhere else:
// - Frames: the runtime's window frame is the classic one for the form's border style, Qt's is
//   whatever the platform draws. Drags are therefore given as the inner size wanted, and each
//   host adds its own frame.
// - Time: the runtime's clock is virtual; on Qt the pause is real time spent in the event loop.
// - Fonts: both realise a size at a whole number of pixels, but only Qt measures real glyphs;
//   no story here depends on text extents.
// - What is shown: the runtime keeps the form's pixels itself; on Qt they are read back from
//   the window as it paints (QWidget::grab).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/bridge/shown_form.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_user_control.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/raster/bitmap.h>
#include <rescalo/window/print_size.h>
#include "built_form.h"
#include "host_support.h"
#include "test_support.h"

using namespace rescalo;

using host::ObjectPtr;
using host::Variant;
using testing_support::numbers;
using testing_support::optionsIn;

namespace {

// A form as the form designer leaves it: its Rescalo has saved the size it was designed at.
frm::Document designed(runtime::Runtime& rt, const std::string& text,
                       const std::filesystem::path& file) {
  frm::Document doc = frm::read(text, file.string());
  auto form = runtime::buildForm(rt, doc, file, {.userMode = false});
  runtime::storeForm(*form, doc);
  form->unload();
  return doc;
}

class Host {
 public:
  virtual ~Host() = default;
  virtual void load(const std::string& frmText) = 0;  // loaded, shown and settled
  // The user drags the corner until the inner area has this size (twips).
  virtual void dragInner(double width, double height) = 0;
  // Lets time pass: by default longer than the deferred pass waits after the last Resize.
  virtual void pause(int ms = 150) = 0;
  virtual int beeps() = 0;
  virtual ObjectPtr form() = 0;
  virtual ObjectPtr control(std::string_view key) = 0;
  virtual ObjectPtr rescalo() = 0;
  // The user clicks a button of any form of this host.
  virtual void click(host::Object& button) = 0;
  // A pixel of the form's inner area as it is shown, as a classic colour.
  virtual std::uint32_t shownPixel(int x, int y) = 0;
  // Whether a form of this host is kept above all other windows.
  virtual bool onTop(host::Object& form) = 0;
  // Where the form file lives: its .frx companion goes beside it.
  std::filesystem::path formFile() const { return dir_.filePath("scenario.frm").toStdString(); }

 protected:
  QTemporaryDir dir_;
};

class RuntimeHost : public Host {
 public:
  RuntimeHost() : rt_(optionsIn(dir_)), design_(optionsIn(dir_)) {
    control::registerRescalo(rt_.userControls());
    control::registerRescalo(design_.userControls());
  }
  void load(const std::string& text) override {
    form_ = runtime::buildForm(rt_, designed(design_, text, formFile()), formFile(),
                               {.userMode = true});
    form_->show();
    pause(600);
  }
  void dragInner(double w, double h) override {
    form_->userDrag(form_->width() - form_->clientWidthTwips() + w,
                    form_->height() - form_->clientHeightTwips() + h);
  }
  void pause(int ms) override { rt_.advance(ms); }
  int beeps() override { return rt_.beeps; }
  ObjectPtr form() override { return form_; }
  ObjectPtr control(std::string_view key) override {
    runtime::Control* c = form_->find(key);
    return c ? c->shared_from_this() : nullptr;
  }
  ObjectPtr rescalo() override { return control("Rescalo1"); }
  void click(host::Object& button) override { button.raiseEvent("Click"); }
  std::uint32_t shownPixel(int x, int y) override { return form_->screen().pixel(x, y); }
  bool onTop(host::Object& form) override {
    return rt_.windowTable().isTopmost(form.get("hWnd").toLong());
  }

 private:
  runtime::Runtime rt_, design_;
  std::shared_ptr<runtime::Form> form_;
};

class QtHost : public Host {
 public:
  QtHost() : design_(optionsIn(dir_)), services_(dir_.filePath("settings.ini")) {
    control::registerRescalo(design_.userControls());
    services_.quietMessageBoxes = true;
  }
  ~QtHost() override {
    rescalo_.reset();
    built_.window.reset();
  }
  void load(const std::string& text) override {
    auto form = runtime::buildForm(design_, designed(design_, text, formFile()), formFile(),
                                   {.userMode = false});
    built_ = bridge::buildQtForm(*form);
    form->unload();
    qt::AttachOptions opt;
    opt.properties = &built_.rescaloSettings;
    rescalo_ = qt::attach(built_.window.get(), control::makeRescalo(), services_, opt);
    built_.window->show();
    pause(600);
  }
  void dragInner(double w, double h) override {
    // As the window system resizes a window the user drags: from outside, within its limits.
    built_.window->resize(qRound(w / tpp()), qRound(h / tpp()));
  }
  void pause(int ms) override { bridge::settle(ms + 30); }
  int beeps() override { return services_.beeps; }
  ObjectPtr form() override { return qt::adoptForm(built_.window.get()); }
  ObjectPtr control(std::string_view key) override {
    QWidget* w = built_.widget(key);
    return w ? qt::adoptControl(w) : nullptr;
  }
  ObjectPtr rescalo() override { return rescalo_; }
  void click(host::Object& button) override {
    auto* b = qobject_cast<QAbstractButton*>(&dynamic_cast<qt::QtWidgetObject&>(button).widget());
    ASSERT_NE(b, nullptr);
    b->click();
  }
  std::uint32_t shownPixel(int x, int y) override {
    const QRgb c = built_.window->grab(QRect(x, y, 1, 1)).toImage().pixel(0, 0);
    return raster::rgb(qRed(c), qGreen(c), qBlue(c));
  }
  bool onTop(host::Object& form) override {
    const QWidget& w = dynamic_cast<qt::QtWidgetObject&>(form).widget();
    return w.window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint) && w.window()->isVisible();
  }

 private:
  double tpp() const { return 1440.0 / built_.window->logicalDpiX(); }
  runtime::Runtime design_;
  qt::QtServices services_;
  bridge::QtFormWindow built_;
  std::shared_ptr<qt::QtUserControlHost> rescalo_;
};

using Box = std::vector<double>;

Box box(const ObjectPtr& c) { return numbers(*c, {"Left", "Top", "Width", "Height"}); }

// Within one pixel (15 twips at 96 dpi) on every side, or what else is said.
::testing::AssertionResult near(const Box& got, const Box& want, double by = 15) {
  for (std::size_t i = 0; i < want.size(); ++i)
    if (std::fabs(got[i] - want[i]) > by)
      return ::testing::AssertionFailure() << "got " << ::testing::PrintToString(got) << ", want "
                                           << ::testing::PrintToString(want);
  return ::testing::AssertionSuccess();
}

using testing_support::block;
using testing_support::place;

std::string formText(const std::string& rescaloSettings, const std::string& extra = {},
                     const std::string& formProperties = {}) {
  const std::string line = "Height = 360\nLeft = 3120\nWidth = 1440\n";
  return "VERSION 5.00\nBegin VB.Form frmOrders\nCaption = \"Orders\"\nClientHeight = 3600\n"
         "ClientLeft = 60\nClientTop = 345\nClientWidth = 4800\n" +
         formProperties +
         block("VB.CommandButton cmdOK", "Caption = \"OK\"\n" + place(480, 360, 1200, 480)) +
         block("VB.Frame fraOptions",
               "Caption = \"Options\"\n" + place(480, 1200, 2400, 1800) +
                   block("VB.Label lblName",
                         "Caption = \"Name\"\n" + place(120, 300, 1200, 300) +
                             "BeginProperty Font\nName = \"Arial\"\nSize = 9.75\nEndProperty\n")) +
         block("VB.TextBox txtLine", line + "Index = 0\nTop = 360\n") +
         block("VB.TextBox txtLine", line + "Index = 1\nTop = 960\n") + extra +
         block("RescaloControl.Rescalo Rescalo1", "Left = 0\nTop = 0\n" + rescaloSettings) +
         "End\nAttribute VB_Name = \"frmOrders\"\n";
}

class BothHosts : public ::testing::TestWithParam<std::string> {
 protected:
  std::unique_ptr<Host> host =
      GetParam() == "Runtime" ? std::unique_ptr<Host>(new RuntimeHost) : std::make_unique<QtHost>();
};

// A line's end points and its width, which scales as fonts do, as a shape's does.
Box ends(const ObjectPtr& c) {
  return {c->get("X1").toDouble(), c->get("Y1").toDouble(), c->get("X2").toDouble(),
          c->get("Y2").toDouble(), c->get("BorderWidth").toDouble() * 15};
}

TEST_P(BothHosts, ControlsKeepTheirProportionsAndComeBackExactlyAfterManyDrags) {
  host->load(formText("", block("VB.Line linRule",
                                "BorderWidth = 2\nX1 = 480\nX2 = 4320\n"
                                "Y1 = 3240\nY2 = 3240\n") +
                              block("VB.Shape shpMark",
                                    "BorderWidth = 2\nLeft = 3600\nTop = 360\n"
                                    "Width = 480\nHeight = 480\nShape = 3\n")));
  auto places = [&] {
    return std::vector<Box>{box(host->control("cmdOK")),
                            box(host->control("lblName")),
                            box(host->control("txtLine(1)")),
                            ends(host->control("linRule")),
                            {host->control("shpMark")->get("BorderWidth").toDouble()}};
  };
  const std::vector<Box> designed = places();
  EXPECT_TRUE(near(designed[0], {480, 360, 1200, 480}));

  host->dragInner(4800 * 1.5, 3600 * 1.5);
  host->pause();
  EXPECT_TRUE(near(box(host->control("cmdOK")), {720, 540, 1800, 720}));
  EXPECT_TRUE(near(ends(host->control("linRule")), {720, 4860, 6480, 4860, 3 * 15}));
  EXPECT_EQ(host->control("shpMark")->get("BorderWidth").toInteger(), 3);
  // Inside the frame, proportions follow the frame's own new size.
  EXPECT_TRUE(near(box(host->control("lblName")), {180, 450, 1800, 450}));
  EXPECT_TRUE(near(box(host->control("txtLine(1)")), {4680, 1440, 2160, 540}));

  // Many sizes, then the designed one again: every control is where it started, to the pixel.
  for (double f : {0.7, 1.3, 0.55, 1.9, 0.8}) {
    host->dragInner(4800 * f, 3600 * f);
    host->pause();
  }
  host->dragInner(4800, 3600);
  host->pause();
  EXPECT_EQ(places(), designed);
  EXPECT_EQ(designed[4], Box{2});
}

TEST_P(BothHosts, LockedEdgesAndSizesHoldWhileTheRestScales) {
  host->load(formText(
      "ControlFlagCount = 2\n1ControlFlagControlKey = \"cmdOK\"\n1ControlFlagDontScaleWidth = -1\n"
      "1ControlFlagDontScaleHeight = -1\n2ControlFlagControlKey = \"txtLine(0)\"\n"
      "2ControlFlagDontScaleLeft = -1\n2ControlFlagDontScaleRight = -1\n"));
  host->dragInner(4800 * 2, 3600 * 2);
  host->pause();
  // The button moves but keeps its size; the text box keeps its left edge and its distance
  // from the right edge, so it stretches by the whole growth.
  EXPECT_TRUE(near(box(host->control("cmdOK")), {960, 720, 1200, 480}));
  EXPECT_TRUE(near(box(host->control("txtLine(0)")), {3120, 720, 1440 + 4800, 720}));
  EXPECT_TRUE(near(box(host->control("txtLine(1)")), {6240, 1920, 2880, 720}));
}

TEST_P(BothHosts, FontsFollowTheTighterAxisAndReturnToTheirDesignedSize) {
  host->load(formText(""));
  auto size = [&] {
    return host->control("lblName")->get("Font").toObject()->get("Size").toSingle();
  };
  EXPECT_FLOAT_EQ(size(), 9.75f);
  // Twice as wide, one and a half times as high: the font grows by one and a half, to the
  // nearest whole pixel (0.75 pt at 96 dpi); back at the design, it is as designed.
  for (auto [rx, ry, want] :
       {std::tuple{2.0, 1.5, 9.75 * 1.5}, {0.6, 0.6, 9.75 * 0.6}, {1.0, 1.0, 9.75}}) {
    host->dragInner(4800 * rx, 3600 * ry);
    host->pause();
    EXPECT_NEAR(size(), want, rx == 1.0 ? 0 : 0.375) << rx;
  }
}

TEST_P(BothHosts, MinimumSizeHoldsTheFormAndBeepsAndTheLayoutFollowsTheHeldSize) {
  host->load(formText("MinWidth = 3600\nMinHeight = 2700\n"));
  host->dragInner(1500, 1200);
  host->pause(600);             // past the pause the limit imposes on further resizing
  EXPECT_EQ(host->beeps(), 2);  // once for each axis held
  ObjectPtr form = host->form();
  // The limits are outer sizes: the form is held at them, whatever the frame takes.
  EXPECT_TRUE(near(numbers(*form, {"Width", "Height"}), {3600, 2700}));
  const double sx = form->get("ScaleWidth").toDouble() / 4800,
               sy = form->get("ScaleHeight").toDouble() / 3600;
  EXPECT_TRUE(near(box(host->control("cmdOK")), {480 * sx, 360 * sy, 1200 * sx, 480 * sy}));
}

TEST_P(BothHosts, ResizeDoneIsRaisedToTheApplicationOncePerDeferredPass) {
  host->load(formText(""));
  int started = 0, done = 0;
  host->rescalo()->subscribe([&](std::string_view event, host::Args) {
    started += event == "ResizeStarted";
    done += event == "ResizeDone";
  });
  // A drag is a burst of resizes; the pass waits for the pause after the last one.
  for (int step = 1; step <= 5; ++step) host->dragInner(4800 + step * 150, 3600 + step * 90);
  host->pause();
  EXPECT_EQ(started, 1);
  EXPECT_EQ(done, 1);
  EXPECT_TRUE(near(box(host->control("cmdOK")), {480 * 5550.0 / 4800, 360 * 4050.0 / 3600,
                                                 1200 * 5550.0 / 4800, 480 * 4050.0 / 3600}));
}

TEST_P(BothHosts, PrintingShowsItsDialogWhoseCancelPutsTheFormBack) {
  host->load(formText(""));
  ObjectPtr form = host->form();
  const Box before = box(form);
  std::vector<std::string> events;
  host->rescalo()->subscribe(
      [&](std::string_view event, host::Args) { events.emplace_back(event); });
  host->rescalo()->call("PrintSize", {Variant(true), Variant(9600.0f), Variant(7200.0f), Variant(),
                                      Variant(false), Variant(true), Variant(true)});
  host->pause();
  EXPECT_TRUE(near(numbers(*form, {"Width", "Height"}), {9600, 7200}));

  ObjectPtr dialog = window::PrintDialog();
  ASSERT_NE(dialog, nullptr);
  ObjectPtr controls = dialog->get("Controls").toObject();
  EXPECT_EQ(controls->get("Item", {Variant("lblMessage")}).toObject()->get("Caption").toString(),
            "Printing...");
  ObjectPtr cancel = controls->get("Item", {Variant("cmdCancel")}).toObject();
  EXPECT_EQ(cancel->get("Caption").toString(), "&Cancel");
  EXPECT_TRUE(cancel->get("Visible").toBool());
  // Above every other window, the form it prints included, which is not.
  EXPECT_TRUE(host->onTop(*dialog));
  EXPECT_FALSE(host->onTop(*form));

  host->click(*cancel);
  host->pause();
  EXPECT_EQ(window::PrintDialog(), nullptr);
  EXPECT_EQ(std::count(events.begin(), events.end(), "PrintCancelled"), 1);
  EXPECT_TRUE(near(box(form), before));
}

// A bitmap of two colours: the top `split` rows one, the rest the other.
raster::Bitmap twoBands(int width, int height, int split, raster::Color top, raster::Color rest) {
  raster::Bitmap bm(width, height, rest);
  for (int y = 0; y < split; ++y)
    for (int x = 0; x < width; ++x) bm.setPixel(x, y, top);
  return bm;
}

TEST_P(BothHosts, PicturesFollowTheDragAndComeBackToTheirDesignedSize) {
  constexpr raster::Color kRed = 0x0000FF, kGreen = 0x00FF00;
  // The form's picture, fitted to the form: red above, green below, as big as the form.
  std::vector<char> frx;
  testing_support::appendFrxPicture(frx, twoBands(320, 240, 120, kRed, kGreen));
  const std::size_t logoAt = frx.size();
  testing_support::appendFrxPicture(frx, twoBands(64, 48, 24, kGreen, kRed));
  testing_support::writeFile(std::filesystem::path(host->formFile()).replace_extension(".frx"),
                             frx);
  host->load(formText(
      "FormPicture = 1\n",
      block("VB.PictureBox picLogo",
            "AutoSize = -1\nBorderStyle = 0\n" + place(3120, 1800, 960, 720) +
                "Picture = \"scenario.frx\":" + QString::asprintf("%04zX\n", logoAt).toStdString()),
      "Picture = \"scenario.frx\":0000\n"));
  ObjectPtr logo = host->control("picLogo");
  auto pictureSize = [](const ObjectPtr& owner) {
    return numbers(*owner->get("Picture").toObject(), {"Width", "Height"});
  };
  const Box logoDesigned = pictureSize(logo);
  EXPECT_EQ(logoDesigned, (Box{1693, 1270}));  // 64 x 48 pixels in HIMETRIC
  // ScaleX takes a picture's HIMETRIC to the form's own unit unless told otherwise.
  const Variant pixels(std::int16_t{3}), himetric(std::int16_t{8}), logoWidth(logoDesigned[0]);
  EXPECT_NEAR(host->form()->call("ScaleX", {logoWidth}).toDouble(), 960, 0.5);
  EXPECT_NEAR(host->form()->call("ScaleX", {logoWidth, himetric, pixels}).toDouble(), 64, 0.05);

  host->dragInner(4800 * 1.5, 3600 * 1.5);
  host->pause();
  // The box's picture is redrawn at the box's new size (one pixel is 26.5 HIMETRIC).
  EXPECT_TRUE(near(box(logo), {4680, 2700, 1440, 1080}));
  EXPECT_TRUE(near(pictureSize(logo), {1440 * 2540.0 / 1440, 1080 * 2540.0 / 1440}, 27));
  // The form's picture is stretched over the whole form: its lower half, green, now reaches
  // where the picture at its own size would have ended long before.
  EXPECT_TRUE(near(pictureSize(host->form()), {7200 * 2540.0 / 1440, 5400 * 2540.0 / 1440}, 27));
  EXPECT_EQ(host->shownPixel(10, 10), kRed);
  EXPECT_EQ(host->shownPixel(10, 340), kGreen);

  host->dragInner(4800 * 0.7, 3600 * 0.7);
  host->pause();
  host->dragInner(4800, 3600);
  host->pause();
  EXPECT_EQ(pictureSize(logo), logoDesigned);
  EXPECT_EQ(pictureSize(host->form()), (Box{8467, 6350}));
}

TEST_P(BothHosts, TheGradientIsPaintedOverTheWholeFormAfterADrag) {
  // From red at the top to blue at the bottom, in 64 bands.
  host->load(
      formText("GradientFill = -1\nGradientColour = 255\nGradientColour2 = 16711680\n"
               "GradientMidColour = 16711680\n"));
  host->dragInner(4800 * 1.5, 3600 * 1.5);
  host->pause();
  const int bottom = static_cast<int>(host->form()->get("ScaleHeight").toDouble() / 15) - 1;
  EXPECT_EQ(bottom, 359);
  EXPECT_EQ(host->shownPixel(5, 0), 0x0000FFu);
  // The last band shown is the 63rd step of 64: 255 - 63 * 255 / 64 of red, the rest blue.
  EXPECT_EQ(host->shownPixel(5, bottom), raster::rgb(4, 0, 251));
  // Half way down, half way there.
  EXPECT_EQ(host->shownPixel(5, 180), raster::rgb(128, 0, 128));
}

INSTANTIATE_TEST_SUITE_P(Hosts, BothHosts, ::testing::Values("Runtime", "Qt"),
                         [](const auto& p) { return p.param; });

}  // namespace
