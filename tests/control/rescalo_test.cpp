#include "control/rescalo.h"

#include <gtest/gtest.h>

#include "host/error_object.h"
#include "runtime/user_control_host.h"
#include "test_support.h"

using control::Rescalo;
using host::Variant;
using namespace testing_support;

namespace {

class RescaloTest : public RuntimeTest {
 protected:
  RescaloTest() { control::registerRescalo(rt.userControls()); }

  // A form with a Rescalo block holding the given properties.
  std::string withRescalo(const std::string& props, const std::string& header = {}) {
    return formText(
        "   Begin VB.CommandButton cmdOK\n      Height = 375\n      Left = 120\n      Top = 240\n"
        "      Width = 1215\n   End\n"
        "   Begin RescaloControl.Rescalo Rescalo1\n      Left = 0\n      Top = 0\n"
        "      _ExtentX = 847\n      _ExtentY = 847\n" +
            props + "   End\n",
        header);
  }
  static Rescalo& rescaloOf(runtime::Form& form) {
    auto* uc = dynamic_cast<runtime::UserControlHost*>(form.find("Rescalo1"));
    return static_cast<Rescalo&>(uc->control());
  }
  static runtime::UserControlHost& extenderOf(runtime::Form& form) {
    return *dynamic_cast<runtime::UserControlHost*>(form.find("Rescalo1"));
  }
  // The Rescalo block's properties after saving, in order.
  static std::vector<const frm::Property*> saved(runtime::Form& form, frm::Document& doc) {
    runtime::storeForm(form, doc);
    std::vector<const frm::Property*> out;
    for (const auto& e : doc.form.find("Rescalo1")->entries)
      if (auto* p = std::get_if<frm::Property>(&e)) out.push_back(p);
    return out;
  }
};

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
  auto props = saved(*form, doc);
  std::vector<std::string> perControl;
  for (auto* p : props)
    if (std::isdigit(static_cast<unsigned char>(p->name[0]))) perControl.push_back(p->name);
  // The bag leaves out values equal to their defaults; write them all to see the order.
  struct All : host::PropertyBag {
    Variant ReadProperty(std::string_view, const Variant& d) override { return d; }
    void WriteProperty(std::string_view n, const Variant&, const Variant&) override {
      keys.emplace_back(n);
    }
    std::vector<std::string> keys;
  } all;
  r.WriteProperties(all);
  std::vector<std::string> numbered;
  for (auto& k : all.keys)
    if (std::isdigit(static_cast<unsigned char>(k[0]))) numbered.push_back(k);
  ASSERT_EQ(numbered.size(), 33u);
  EXPECT_EQ(numbered.front(), "1ControlFlagControlKey");
  EXPECT_EQ(numbered[1], "1ControlFlagDontScaleControl");
  EXPECT_EQ(numbered[11], "2ControlFlagControlKey");
  EXPECT_EQ(numbered.back(), "3ControlFlagDontScaleBottom");
  auto at = [&](const std::string& k) {
    return std::find(all.keys.begin(), all.keys.end(), k) - all.keys.begin();
  };
  EXPECT_LT(at("ControlFlagCount"), at("1ControlFlagControlKey"));
  EXPECT_LT(at("3ControlFlagDontScaleBottom"), at("ScaleGraphics"));
  EXPECT_LT(at("MdiChildHeight"), at("MdiChildWidth"));
  EXPECT_EQ(all.keys.back(), "DesignFormScaleHeight");  // design time only, last

  // Reading the saved form back gives the same arrays and one flag record per key.
  auto again = build(frm::write(doc), true);
  Rescalo& back = rescaloOf(*again);
  ASSERT_EQ(back.ControlFlagCount(), 3);
  EXPECT_EQ(back.ControlFlagControlKey(3), "Text1(12)");
  EXPECT_TRUE(back.ControlFlag(control::kDontScaleFont, 1));
  EXPECT_FALSE(back.ControlFlag(control::kDontScaleFont, 3));
  EXPECT_TRUE(back.ControlFlag(control::kDontScaleLeft, 3));
  auto& records = back.colControlFlags();
  EXPECT_EQ(records.count(), 3);
  EXPECT_TRUE(records.item(Variant("lblgone")).toObject()->get("DontScaleControl").isNumeric());
  EXPECT_TRUE(records.item(Variant("text1(12)")).toObject()->get("DontScaleBottom").toBool());
  EXPECT_FALSE(records.item(Variant("cmdOK")).toObject()->get("DontScaleBottom").toBool());
  EXPECT_TRUE(records.item(Variant("cmdOK")).toObject()->get("DontScaleFont").toBool());
}

TEST_F(RescaloTest, StoredValuesLoadAsTheyAreAndOnlyLetsClampThem) {
  auto form = build(withRescalo(
      "      ScaleX = 150\n      MinWidth = -40\n      FormOpenTime = 12\n"
      "      CenterX = \"maybe\"\n      ScaleY = \"wide\"\n      WindowName = \"Main\"\n"));
  Rescalo& r = rescaloOf(*form);
  EXPECT_EQ(r.s.ScaleX, 150);
  EXPECT_EQ(r.s.MinWidth, -40);
  EXPECT_EQ(r.s.FormOpenTime, 12.0f);
  // A value that does not convert leaves the field as it was: zero, not the default.
  EXPECT_FALSE(r.s.CenterX);
  EXPECT_EQ(r.s.ScaleY, 0);
  // Absent keys take their defaults.
  EXPECT_TRUE(r.s.ScaleFonts);
  EXPECT_EQ(r.s.GradientColour, 0xFF0000);
  EXPECT_EQ(r.s.ReplaceFontsWith, "<none>");
  EXPECT_EQ(r.s.FormCloseTime, 1.0f);
  // Loading assigns fields directly; only the array sizing goes through its property.
  EXPECT_EQ(extenderOf(*form).changedProperties, std::vector<std::string>{"ControlFlagCount"});
  extenderOf(*form).changedProperties.clear();

  r.set("ScaleX", 150);
  EXPECT_EQ(r.get("ScaleX").toInteger(), 100);
  r.set("ScaleY", -5);
  EXPECT_EQ(r.get("ScaleY").toInteger(), 0);
  r.set("MinWidth", -3);
  EXPECT_EQ(r.get("MinWidth").toLong(), 0);
  r.set("MaxHeight", 9000);
  EXPECT_EQ(r.get("MaxHeight").toLong(), 9000);
  r.set("FormOpenTime", 12);
  EXPECT_EQ(r.get("FormOpenTime").toSingle(), 10.0f);
  r.set("FormCloseTime", -1);
  EXPECT_EQ(r.get("FormCloseTime").toSingle(), 0.0f);
  r.set("MdiChildWidth", -20);  // no clamping
  EXPECT_EQ(r.get("MdiChildWidth").toLong(), -20);
  EXPECT_EQ(errorOf([&] { r.set("ScaleX", 40000); }), 6);
  EXPECT_EQ(errorOf([&] { r.set("CenterY", "sideways"); }), 13);
  EXPECT_EQ(extenderOf(*form).changedProperties,
            (std::vector<std::string>{"ScaleX", "ScaleY", "MinWidth", "MaxHeight", "FormOpenTime",
                                      "FormCloseTime", "MdiChildWidth"}));
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
  Rescalo& r = rescaloOf(*form);
  std::vector<std::string> trace;
  r.trace = [&](std::string_view p) { trace.emplace_back(p); };
  form->set("Width", 6000);  // before Load: ignored
  EXPECT_TRUE(trace.empty());
  form->call("Show");
  std::vector<std::string> expected{
      "HandleFormLoad",        "LockFormUpdates(True)", "SetTopMost",
      "HandleFormResize",      "LockFormUpdates(True)", "ReplaceFonts",
      "ResizeControls",        "ApplyScreenScale",      "CenterFormX",
      "CenterFormY",           "ResizeControls",        "LockFormUpdates(False)",
      "PlayOpenEffect",        "SetAllowUpdates",       "RegularResizeHandling",
      "LockFormUpdates(False)"};
  EXPECT_EQ(trace, expected);
  EXPECT_TRUE(r.SetupDone);
  EXPECT_FALSE(r.SetupBusy);
  EXPECT_EQ(rt.windowTable().lockedWindow(), 0);
  // The stored window settings were deleted, since SaveWindowState is off.
  EXPECT_EQ(rt.settings().GetSetting("Rescalo", "Main", "WindowLeft", "gone"), "gone");
  trace.clear();
  form->set("Width", 7000);
  EXPECT_EQ(trace, (std::vector<std::string>{"HandleFormResize", "RegularResizeHandling",
                                             "LockFormUpdates(False)"}));
  // The window-size timer records the normal bounds, and keeps them while maximized.
  rt.advance(100);
  EXPECT_EQ(r.LastNormalBounds.Width, 7000);
  form->set("WindowState", 2);
  rt.advance(300);
  EXPECT_EQ(r.LastNormalBounds.Width, 7000);
  trace.clear();
  form->unload();
  EXPECT_EQ(trace, (std::vector<std::string>{"HandleFormUnload", "PlayCloseEffect", "UnfixWindow",
                                             "LockFormUpdates(False)", "Terminate", "UnfixWindow",
                                             "LockFormUpdates(False)"}));
}

TEST_F(RescaloTest, SetUpSizesAnMdiChildAndNestedResizesWaitForIt) {
  build(formText("", "", "VB.MDIForm", "MDIForm1"));
  auto child =
      build(withRescalo("      MdiChildWidth = 6000\n      MdiChildHeight = 4000\n"
                        "      SaveWindowState = -1  'True\n      GradientFill = -1  'True\n",
                        "   MDIChild = -1  'True\n"));
  Rescalo& r = rescaloOf(*child);
  std::vector<std::string> trace;
  r.trace = [&](std::string_view p) { trace.emplace_back(p); };
  child->call("Show");
  EXPECT_EQ(child->get("Width").toDouble(), 6000);
  EXPECT_EQ(child->get("Height").toDouble(), 4000);
  // The two nested Resize events of the sizing returned at once; settings were loaded
  // instead of placing the form, and the gradient was painted after the second pass.
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "HandleFormResize"), 1);
  auto pos = [&](const char* p) {
    return std::find(trace.begin(), trace.end(), p) - trace.begin();
  };
  EXPECT_LT(pos("LoadWindowSettings"), pos("PaintGradient"));
  EXPECT_EQ(pos("ApplyScreenScale"), static_cast<long>(trace.size()));
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
  EXPECT_FALSE(rescaloOf(*child).SetupDone);
}

TEST_F(RescaloTest, ADisabledOrDesignTimeControlNeverBindsItsForm) {
  auto off = build(withRescalo("      Enabled = 0  'False\n      FormOpen = 2\n"));
  Rescalo& r = rescaloOf(*off);
  EXPECT_FALSE(r.Enabled());
  EXPECT_EQ(r.host(), nullptr);
  r.setEnabled(true);  // enabling later does not bind it
  off->call("Show");
  EXPECT_EQ(r.host(), nullptr);
  EXPECT_FALSE(r.FormLoaded);
  auto design = build(withRescalo("      FormOpen = 2\n"), false);
  EXPECT_EQ(rescaloOf(*design).host(), nullptr);
  EXPECT_FALSE(rt.windowTable().region(design->hwnd).has_value());
  // At run time an opening effect hides the form behind a one-pixel region until it plays.
  auto run = build(withRescalo("      FormOpen = 2\n"));
  Rescalo& bound = rescaloOf(*run);
  EXPECT_EQ(bound.TheForm(), run);
  EXPECT_EQ(bound.TheMdiForm(), nullptr);
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
  r.raise("ResizeDone");
  Variant args[] = {
      Variant("Error in ScaleMode"),
      Variant(host::ObjectPtr(std::make_shared<host::ErrorObject>(host::HostError(5))))};
  r.raise("Error", args);
  EXPECT_EQ(seen, (std::vector<std::string>{"c++:ResizeDone", "app:ResizeDone", "c++:Error",
                                            "app:Error:Error in ScaleMode:5"}));
}

TEST_F(RescaloTest, TheControlKeepsItsIconSizeAndItsConstituents) {
  auto form = build(withRescalo(""));
  Rescalo& r = rescaloOf(*form);
  auto& ext = extenderOf(*form);
  ext.set("Width", 3000);
  EXPECT_EQ(ext.get("Width").toDouble(), r.Image1.Width);
  EXPECT_EQ(r.tmrDelayResize->interval(), 100);
  EXPECT_EQ(r.tmrDisableResize->interval(), 500);
  EXPECT_EQ(r.tmrPrintHide->interval(), 10);
  EXPECT_EQ(r.tmrWindowSize->interval(), 100);
  EXPECT_FALSE(r.tmrDelayResize->enabled());
  ASSERT_TRUE(r.FormPic && r.picSizer[0] && r.picSizer[1]);
  EXPECT_EQ(r.picSizer[1]->typeName(), "PictureBox");
  // By name, the control's members are reached through its extender.
  EXPECT_EQ(ext.get("ReplaceFontsWith").toString(), "<none>");
  EXPECT_EQ(errorOf([&] { ext.get("NoSuchSetting"); }), 438);
}

}  // namespace
