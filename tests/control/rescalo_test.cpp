#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include <rescalo/host/error_object.h>
#include <rescalo/runtime/raster/raster.h>
#include "rescalo_support.h"

using namespace rescalo;

using control::Rescalo;
using host::Variant;
using namespace testing_support;

namespace {

// A form with a button and a Rescalo holding the given properties.
std::string withRescalo(const std::string& props, const std::string& header = {}) {
  return formText(block("VB.CommandButton cmdOK", place(120, 240, 1215, 375)) +
                      rescaloBlock("_ExtentX = 847\n_ExtentY = 847\n" + props),
                  header);
}

TEST_F(RescaloTest, FlagsSurviveSavingAndLoadingUnderNumberedKeysInTheirOrder) {
  std::string text = withRescalo("      ControlFlagCount = 3\n");
  auto form = build(text, false);
  Rescalo& r = rescaloOf(*form);
  EXPECT_EQ(r.ControlFlagCount(), 3);
  r.set("ControlFlagControlKey", "cmdOK", {Variant(1)});
  r.set("ControlFlagControlKey", "lblGone", {Variant(2)});
  r.set("ControlFlagControlKey", "Text1(12)", {Variant(3)});
  r.set("ControlFlagDontScaleFont", true, {Variant(1)});
  r.set("ControlFlagDontScaleBottom", true, {Variant(3)});
  r.set("ControlFlagDontScaleLeft", true, {Variant(3)});
  auto doc = frm::read(text, "test.frm");
  runtime::storeForm(*form, doc);
  // The bag leaves out values equal to their defaults; write them all to see the order: eleven
  // numbered keys per control between the count and the settings, design sizes last.
  struct All : host::PropertyBag {
    Variant ReadProperty(std::string_view, const Variant& d) override { return d; }
    void WriteProperty(std::string_view n, const Variant&, const Variant&) override {
      keys.emplace_back(n);
    }
    std::vector<std::string> keys;
  } all;
  r.WriteProperties(all);
  auto at = [&](const char* k) { return indexOf(all.keys, k); };
  EXPECT_EQ(at("1ControlFlagControlKey"), at("ControlFlagCount") + 1);
  EXPECT_EQ(at("1ControlFlagDontScaleControl"), at("ControlFlagCount") + 2);
  EXPECT_EQ(at("2ControlFlagControlKey"), at("ControlFlagCount") + 12);
  EXPECT_EQ(at("3ControlFlagDontScaleBottom"), at("ControlFlagCount") + 33);
  EXPECT_EQ(std::count_if(all.keys.begin(), all.keys.end(),
                          [](const std::string& k) {
                            return std::isdigit(static_cast<unsigned char>(k[0]));
                          }),
            33);
  EXPECT_LT(at("3ControlFlagDontScaleBottom"), at("ScaleGraphics"));
  EXPECT_LT(at("MdiChildHeight"), at("MdiChildWidth"));
  EXPECT_EQ(all.keys.back(), "DesignFormScaleHeight");  // design time only, last

  // Reading the saved form back gives the same arrays and one flag record per key.
  auto again = build(frm::write(doc), true);
  Rescalo& back = rescaloOf(*again);
  EXPECT_EQ(flagRecords(back), (FlagRecords{{"cmdOK", {"DontScaleFont"}},
                                            {"lblGone", {}},
                                            {"Text1(12)", {"DontScaleBottom", "DontScaleLeft"}}}));
  auto records = back.get("colControlFlags").toObject();
  auto record = [&](const char* key) { return records->get("Item", {Variant(key)}).toObject(); };
  EXPECT_EQ(records->get("Count").toLong(), 3);
  EXPECT_TRUE(record("text1(12)")->get("DontScaleBottom").toBool());
  EXPECT_FALSE(record("cmdOK")->get("DontScaleBottom").toBool());
  EXPECT_TRUE(record("cmdOK")->get("DontScaleFont").toBool());
}

TEST_F(RescaloTest, StoredValuesLoadAsTheyAreAndOnlyLetsClampThem) {
  auto form = build(withRescalo(
      "      ScaleX = 150\n      MinWidth = -40\n      FormOpenTime = 12\n"
      "      CenterX = \"maybe\"\n      ScaleY = \"wide\"\n      WindowName = \"Main\"\n"));
  Rescalo& r = rescaloOf(*form);
  EXPECT_EQ(numbers(r, {"ScaleX", "MinWidth", "FormOpenTime"}),
            (std::vector<double>{150, -40, 12}));
  // A value that does not convert leaves the field as it was: zero, not the default.
  EXPECT_FALSE(r.settings().CenterX);
  EXPECT_EQ(r.settings().ScaleY, 0);
  // Absent keys take their defaults.
  EXPECT_TRUE(r.settings().ScaleFonts);
  EXPECT_EQ(r.settings().FormCloseTime, 1.0f);
  // Loading assigns fields directly; only the array sizing goes through its property.
  EXPECT_EQ(extenderOf(*form).changedProperties, std::vector<std::string>{"ControlFlagCount"});
  extenderOf(*form).changedProperties.clear();

  // Setting a value clamps it to its range; MdiChildWidth has none.
  const char* names[] = {"ScaleX",       "ScaleY",        "MinWidth",     "MaxHeight",
                         "FormOpenTime", "FormCloseTime", "MdiChildWidth"};
  const double values[] = {150, -5, -3, 9000, 12, -1, -20}, kept[] = {100, 0, 0, 9000, 10, 0, -20};
  for (int i = 0; i < 7; ++i) {
    r.set(names[i], values[i]);
    EXPECT_EQ(r.get(names[i]).toDouble(), kept[i]) << names[i];
  }
  EXPECT_EQ(errorOf([&] { r.set("ScaleX", 40000); }), 6);
  EXPECT_EQ(errorOf([&] { r.set("CenterY", "sideways"); }), 13);
  EXPECT_EQ(extenderOf(*form).changedProperties,
            std::vector<std::string>(std::begin(names), std::end(names)));
}

TEST_F(RescaloTest, TheFlagArraysResizeTogetherAndRefuseIndexesOutsideThem) {
  auto form = build(withRescalo(""), false);
  Rescalo& r = rescaloOf(*form);
  EXPECT_EQ(errorOf([&] { r.get("ControlFlagControlKey", {Variant(1)}); }), 9);
  r.set("ControlFlagCount", 5);
  for (int n = 1; n <= 5; ++n) {
    r.set("ControlFlagControlKey", "c" + std::to_string(n), {Variant(n)});
    r.set("ControlFlagDontScaleWidth", true, {Variant(n)});
  }
  r.set("ControlFlagCount", 3);
  EXPECT_EQ(r.get("ControlFlagControlKey", {Variant(3)}).toString(), "c3");
  EXPECT_EQ(errorOf([&] { r.get("ControlFlagDontScaleWidth", {Variant(4)}); }), 9);
  r.set("ControlFlagCount", 5);
  EXPECT_EQ(r.get("ControlFlagControlKey", {Variant(4)}).toString(), "");
  EXPECT_FALSE(r.get("ControlFlagDontScaleWidth", {Variant(5)}).toBool());
  EXPECT_TRUE(r.get("ControlFlagDontScaleWidth", {Variant(2)}).toBool());
  EXPECT_EQ(errorOf([&] { r.set("ControlFlagDontScaleTop", true, {Variant(-1)}); }), 9);
  r.set("ControlFlagCount", 0);
  EXPECT_EQ(r.get("ControlFlagControlKey", {Variant(0)}).toString(), "");
  EXPECT_EQ(errorOf([&] { r.get("ControlFlagControlKey", {Variant(1)}); }), 9);
}

TEST_F(RescaloTest, AFormsLifeRunsTheSetUpOnceInItsOrderAfterLoad) {
  rt.settings().SaveSetting("Rescalo", "Main", "WindowLeft", "1");
  auto form = build(withRescalo("      WindowName = \"Main\"\n"));
  trace(*form);
  form->set("Width", 6000);  // before Load: ignored
  EXPECT_TRUE(traced.empty());
  form->call("Show");
  EXPECT_EQ(traced, (std::vector<std::string>{
                        "HandleFormLoad", "LockFormUpdates(True)", "SetTopMost", "HandleFormResize",
                        "LockFormUpdates(True)", "ReplaceFonts", "ResizeControls",
                        "ApplyScreenScale", "CenterFormX", "CenterFormY", "ResizeControls",
                        "LockFormUpdates(False)", "LockFormUpdates(False)", "PlayOpenEffect",
                        "SetAllowUpdates", "RegularResizeHandling", "LockFormUpdates(False)"}));
  EXPECT_TRUE(rescaloOf(*form).isSetUp());
  EXPECT_EQ(rt.windowTable().lockedWindow(), 0);
  // The stored window settings were deleted, since SaveWindowState is off.
  EXPECT_EQ(rt.settings().GetSetting("Rescalo", "Main", "WindowLeft", "gone"), "gone");
  traced.clear();
  form->set("Width", 7000);
  EXPECT_EQ(traced, (std::vector<std::string>{"HandleFormResize", "RegularResizeHandling",
                                              "LockFormUpdates(False)"}));
  // The window-size timer records the normal bounds, and keeps them while maximized.
  form->set("WindowState", 2);
  rt.advance(300);
  traced.clear();
  form->unload();
  EXPECT_EQ(traced, (std::vector<std::string>{"HandleFormUnload", "PlayCloseEffect", "UnfixWindow",
                                              "LockFormUpdates(False)", "Terminate", "UnfixWindow",
                                              "LockFormUpdates(False)"}));
}

// A Rescalo put on a form by hand or by a program carries no design size: the form as first
// shown is its design, so it rescales from there and comes back to it exactly.
TEST_F(RescaloTest, ARescaloNeverSavedWithItsFormTakesTheShownFormAsItsDesign) {
  auto form = build(withRescalo("      ResizeOnMouseUp = 0   'False\n"));
  form->call("Show");
  auto* ok = form->find("cmdOK");
  const double designW = form->clientWidthTwips(), designH = form->clientHeightTwips();
  const double width = form->width(), height = form->height();
  form->set("Width", width * 2);
  form->set("Height", height * 2);
  const double xs = form->clientWidthTwips() / designW, ys = form->clientHeightTwips() / designH;
  EXPECT_NEAR(ok->get("Left").toDouble(), 120 * xs, 1);
  EXPECT_NEAR(ok->get("Height").toDouble(), 375 * ys, 1);
  form->set("Width", width);
  form->set("Height", height);
  EXPECT_EQ(numbers(*ok, {"Left", "Top", "Width", "Height"}),
            (std::vector<double>{120, 240, 1215, 375}));

  // Reset, called by name through the extender, captures the form again in a pass of its own.
  trace(*form);
  EXPECT_TRUE(extenderOf(*form).call("Reset").isEmpty());
  EXPECT_EQ(traced, (std::vector<std::string>{"HandleFormResize", "RegularResizeHandling",
                                              "ResizeControls", "LockFormUpdates(False)"}));
}

TEST_F(RescaloTest, SetUpSizesAnMdiChildAndNestedResizesWaitForIt) {
  build(formText("", "", "VB.MDIForm", "MDIForm1"));
  auto child =
      build(withRescalo("      MdiChildWidth = 6000\n      MdiChildHeight = 4000\n"
                        "      SaveWindowState = -1  'True\n      GradientFill = -1  'True\n",
                        "   MDIChild = -1  'True\n"));
  trace(*child);
  child->call("Show");
  EXPECT_EQ(numbers(*child, {"Width", "Height"}), (std::vector<double>{6000, 4000}));
  // The two nested Resize events of the sizing returned at once; settings were loaded
  // instead of placing the form, and the gradient was painted after the second pass.
  EXPECT_EQ(std::count(traced.begin(), traced.end(), "HandleFormResize"), 1);
  EXPECT_LT(indexOf(traced, "LoadWindowSettings"), indexOf(traced, "PaintGradient"));
  EXPECT_EQ(indexOf(traced, "ApplyScreenScale"), static_cast<long>(traced.size()));
}

TEST_F(RescaloTest, AnErrorDuringSetUpIsShownInAMessageBox) {
  build(formText("", "", "VB.MDIForm", "MDIForm1"));
  auto child = build(withRescalo("      MdiChildWidth = 6000\n", "   MDIChild = -1  'True\n"));
  // The application's own Resize handler fails while the set-up sizes the form.
  bool failed = false;
  child->subscribe([&](std::string_view e, host::Args) {
    if (e == "Resize" && child->get("Width").toDouble() == 6000 && !failed) {
      failed = true;
      host::raise(11);
    }
  });
  child->call("Show");
  ASSERT_EQ(rt.messages.size(), 1u);
  EXPECT_EQ(rt.messages[0].prompt, "Rescalo Trapped Error = Division by zero");
  EXPECT_EQ(rt.messages[0].buttons, host::vbOKOnly);
  EXPECT_FALSE(rescaloOf(*child).isSetUp());
}

TEST_F(RescaloTest, ADisabledOrDesignTimeControlNeverBindsItsForm) {
  auto off = build(withRescalo("      Enabled = 0  'False\n      FormOpen = 2\n"));
  Rescalo& r = rescaloOf(*off);
  extenderOf(*off).set("Enabled", Variant(true));  // enabling later does not bind it
  off->call("Show");
  EXPECT_EQ(r.host(), nullptr);
  EXPECT_FALSE(r.isSetUp());
  auto design = build(withRescalo("      FormOpen = 2\n"), false);
  EXPECT_EQ(rescaloOf(*design).host(), nullptr);
  EXPECT_FALSE(rt.windowTable().region(design->hwnd).has_value());
  // At run time an opening effect hides the form behind a one-pixel region until it plays.
  auto run = build(withRescalo("      FormOpen = 2\n"));
  EXPECT_EQ(rescaloOf(*run).TheForm(), run);
  ASSERT_TRUE(rt.windowTable().region(run->hwnd).has_value());
  EXPECT_EQ(rt.windowTable().region(run->hwnd)->left, 1);
}

TEST_F(RescaloTest, EventsReachTheApplicationInCppAndByNameThroughTheExtender) {
  auto form = build(withRescalo(""));
  Rescalo& r = rescaloOf(*form);
  std::vector<std::string> seen;
  r.subscribe([&](std::string_view e, host::Args) { seen.push_back("c++:" + std::string(e)); });
  extenderOf(*form).subscribe([&](std::string_view e, host::Args a) {
    std::string line = "app:" + std::string(e);
    if (e == "Error")
      line += ":" + a[0].toString() + ":" + std::to_string(a[1].toObject()->get("Number").toLong());
    seen.push_back(line);
  });
  form->call("Show");
  rt.advance(600);
  seen.clear();
  // A print size in a scale mode the form does not know fails as an Error event.
  Variant print[] = {Variant(true), Variant(0), Variant(0), Variant(std::int16_t(99))};
  extenderOf(*form).call("PrintSize", print);
  form->set("Width", 7000);
  rt.advance(600);
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(seen.begin(), seen.begin() + 2),
            (std::vector<std::string>{"c++:Error", "app:Error:Error in ScaleMode:380"}));
  EXPECT_EQ(std::vector<std::string>(seen.end() - 2, seen.end()),
            (std::vector<std::string>{"c++:ResizeDone", "app:ResizeDone"}));
}

TEST_F(RescaloTest, TheGradientIsPaintedAtSetUpAndAfterEveryResizeAndClearedWhenSwitchedOff) {
  auto form =
      build(withRescalo("      GradientFill = -1  'True\n      GradientColour = 0\n"
                        "      GradientColour2 = 16777215\n      GradientMidColour = 16777215\n"));
  Rescalo& r = rescaloOf(*form);
  int paintings = 0;
  r.trace = [&](std::string_view p) { paintings += p == "PaintGradient"; };
  auto grey = [](int v) { return raster::rgb(v, v, v); };
  auto pixels = [&](std::initializer_list<std::pair<int, int>> at) {
    std::vector<raster::Color> out;
    for (auto [x, y] : at) out.push_back(form->screen().pixel(x, y));
    return out;
  };
  form->call("Show");
  // 200 pixels high: the last visible band is step 63, drawn behind the form's own drawing.
  EXPECT_EQ(pixels({{0, 0}, {100, 199}}), (std::vector<raster::Color>{grey(0), grey(251)}));
  EXPECT_FALSE(form->get("AutoRedraw").toBool());
  // A taller form is painted again at once for its new height, before its controls move.
  form->set("Height", form->height() + 1500);
  EXPECT_EQ(pixels({{0, 0}, {100, 299}, {100, 200}}),
            (std::vector<raster::Color>{grey(0), grey(251), grey(167)}));
  paintings = 0;
  form->set("WindowState", 1);
  EXPECT_EQ(paintings, 0);  // minimized: nothing to paint
  form->set("WindowState", 0);
  EXPECT_EQ(paintings, 1);

  // Switched off: the drawing is cleared; the colours wait until it is on again.
  const raster::Color face = runtime::resolveColor(0x8000000F);
  r.set("GradientFill", false);
  EXPECT_EQ(pixels({{0, 0}, {100, 299}}), (std::vector<raster::Color>{face, face}));
  r.set("GradientSource", 1);
  EXPECT_EQ(form->screen().pixel(0, 0), face);
  r.set("GradientFill", true);
  EXPECT_EQ(pixels({{0, 0}, {100, 299}}), (std::vector<raster::Color>{grey(255), grey(4)}));
  EXPECT_FALSE(form->get("AutoRedraw").toBool());
  // While on, a new colour repaints at once.
  r.set("GradientColour2", 0xFF);
  EXPECT_EQ(form->screen().pixel(0, 0), raster::rgb(255, 0, 0));
}

TEST_F(RescaloTest, TheOpeningRevealsTheFormAfterSetUpAndTheClosingHidesItAtUnload) {
  auto form =
      build(withRescalo("      FormOpen = 2\n      FormOpenTime = 0.5\n      FormClose = 4\n"
                        "      FormCloseTime = 0\n"));
  trace(*form);
  std::vector<std::string> regions;
  rt.windowTable().onRegionChanged = [&](host::HWND, const std::optional<host::RECT>& rc) {
    regions.push_back(rc ? std::to_string(rc->left) + " " + std::to_string(rc->top) + " " +
                               std::to_string(rc->right) + " " + std::to_string(rc->bottom)
                         : "whole");
  };
  form->call("Show");
  host::RECT w;
  rt.windowTable().GetWindowRect(form->hwnd, w);
  const int width = w.right - w.left, height = w.bottom - w.top;
  // Nine steps from the left edge, the last one the whole width; then no region at all.
  ASSERT_EQ(regions.size(), 10u);
  EXPECT_EQ(regions[0], "0 0 " + std::to_string(static_cast<int>(std::nearbyint(width / 9.0))) +
                            " " + std::to_string(height));
  EXPECT_EQ(regions[8], "0 0 " + std::to_string(width) + " " + std::to_string(height));
  EXPECT_EQ(regions[9], "whole");
  // The effect plays once the window is unlocked, and the form's stay-on-top is put back.
  const long played = indexOf(traced, "PlayOpenEffect");
  EXPECT_LT(indexOf(traced, "LockFormUpdates(False)"), played);
  EXPECT_EQ(traced.at(static_cast<std::size_t>(played) + 1), "SetTopMost");

  regions.clear();
  form->unload();
  // Closing down in 100 steps; the last leaves nothing of the window.
  ASSERT_EQ(regions.size(), 100u);
  EXPECT_EQ(regions.back(), "0 " + std::to_string(height) + " " + std::to_string(width) + " " +
                                std::to_string(height));
}

TEST_F(RescaloTest, AFormStartedMinimizedStaysHiddenUntilItIsFirstRestored) {
  auto form = build(withRescalo("      FormOpen = 7\n", "   WindowState = 1  'Minimized\n"));
  form->call("Show");
  ASSERT_TRUE(rescaloOf(*form).isSetUp());
  ASSERT_TRUE(rt.windowTable().region(form->hwnd).has_value());
  EXPECT_EQ(rt.windowTable().region(form->hwnd)->right, 1);
  int changes = 0;
  rt.windowTable().onRegionChanged = [&](host::HWND, const std::optional<host::RECT>&) {
    ++changes;
  };
  form->set("WindowState", 0);
  EXPECT_GT(changes, 10);  // the fold played
  EXPECT_FALSE(rt.windowTable().region(form->hwnd).has_value());
  changes = 0;
  form->set("WindowState", 1);
  form->set("WindowState", 0);
  EXPECT_EQ(changes, 0);  // and only once
}

TEST_F(RescaloTest, AnMdiParentFormIsRevealedByItsOpeningLikeAnyForm) {
  auto mdi = build(
      formText(rescaloBlock("FormOpen = 1\nFormOpenTime = 0\n"), "", "VB.MDIForm", "MDIForm1"));
  ASSERT_TRUE(rt.windowTable().region(mdi->hwnd).has_value());
  mdi->call("Show");
  EXPECT_TRUE(rescaloOf(*mdi).isSetUp());
  EXPECT_FALSE(rt.windowTable().region(mdi->hwnd).has_value());
  EXPECT_TRUE(rt.messages.empty());
}

TEST_F(RescaloTest, TheAboutBoxIsAFormOfItsOwnWithNameVersionAndDescriptionClosedByOK) {
  auto form = build(formText(rescaloBlock()), false);
  obj(*form, "Rescalo1")->call("AboutBox");
  ASSERT_TRUE(rt.aboutForm);
  runtime::Form& about = *rt.aboutForm;
  EXPECT_TRUE(about.visible());
  EXPECT_EQ(about.caption, "About Rescalo");
  auto caption = [&](const char* key) { return obj(about, key)->get("Caption").toString(); };
  EXPECT_EQ(caption("lblName"), "Rescalo");
  EXPECT_TRUE(std::regex_match(caption("lblVersion"), std::regex(R"(Version \d+\.\d+\.\d+)")))
      << caption("lblVersion");
  EXPECT_EQ(caption("lblDescription"), control::aboutInfo().description);
  EXPECT_TRUE(obj(about, "lblName")->get("FontBold").toBool());
  EXPECT_TRUE(rt.messages.empty());  // a form, not a message box

  obj(about, "cmdOK")->raiseEvent("Click");
  EXPECT_FALSE(about.visible());
  EXPECT_FALSE(about.loaded());
}

}  // namespace
