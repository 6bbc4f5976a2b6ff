#include <gtest/gtest.h>

#include <algorithm>

#include <rescalo/window/print_size.h>
#include <rescalo/window/size_limits.h>
#include "rescalo_support.h"

using namespace rescalo;

using control::Rescalo;
using host::Variant;
using namespace testing_support;

namespace {

// What the designer saved: a 4000 x 3000 client area in a sizable frame.
const std::string kDesign =
    "DesignFormWidth = 4120\nDesignFormHeight = 3405\nDesignFormScaleWidth = 4000\n"
    "DesignFormScaleHeight = 3000\n";

class WindowManagementTest : public RescaloTest {
 protected:
  // A form of 4000 x 3000 client twips with one button and a Rescalo holding props.
  std::shared_ptr<runtime::Form> form(const std::string& props, const std::string& header = {},
                                      const std::string& name = "Form1") {
    return build(formText(
        block("VB.CommandButton cmdOK", place(400, 300, 1200, 600)) + rescaloBlock(kDesign + props),
        header, "VB.Form", name));
  }
  // The button stands in proportion to the form's client area, as designed on 4000 x 3000.
  void expectButtonInProportion(runtime::Form& f) {
    const double x = f.clientWidthTwips() / 4000, y = f.clientHeightTwips() / 3000;
    const double want[] = {400 * x, 300 * y, 1200 * x, 600 * y};
    const auto got = numbers(*obj(f, "cmdOK"), {"Left", "Top", "Width", "Height"});
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1) << i;
  }
  int passes() {
    return static_cast<int>(std::count(traced.begin(), traced.end(), "ResizeControls"));
  }
  // What the store remembers of a window: its left, top, width, height and state.
  std::vector<std::string> remembered(const std::string& section) {
    std::vector<std::string> out;
    for (const char* key :
         {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight", "WindowState"})
      out.push_back(rt.settings().GetSetting("Rescalo", section, key, "-"));
    return out;
  }
};

TEST_F(WindowManagementTest, DragsBeyondTheLimitsEndAtThemBeepingAndDisablingForHalfASecond) {
  auto f = form("MinWidth = 3000\nMinHeight = 2000\nMaxWidth = 9000\nMaxHeight = 7000\n");
  f->show();
  ASSERT_TRUE(f->enabled);
  f->userDrag(2505, 3990);
  EXPECT_EQ(numbers(*f, {"Width", "Height"}), (std::vector<double>{3000, 3990}));
  EXPECT_EQ(rt.beeps, 1);
  EXPECT_FALSE(f->enabled);
  f->userDrag(8000, 8000);  // a disabled window takes no drag
  EXPECT_EQ(f->width(), 3000);
  rt.advance(499);
  EXPECT_FALSE(f->enabled);
  rt.advance(1);
  EXPECT_TRUE(f->enabled);
  // Both axes beyond their maximum: two hits, two beeps; the button follows the limited size.
  f->userDrag(12000, 9000);
  EXPECT_EQ(numbers(*f, {"Width", "Height"}), (std::vector<double>{9000, 7000}));
  EXPECT_EQ(rt.beeps, 3);
  rt.advance(600);
  expectButtonInProportion(*f);

  // Without the beep the limits still hold; a maximized form is never limited.
  rescaloOf(*f).set("BeepOnMinMax", false);
  f->userDrag(1000, 1000);
  EXPECT_EQ(numbers(*f, {"Width", "Height"}), (std::vector<double>{3000, 2000}));
  EXPECT_EQ(rt.beeps, 3);
  rt.advance(600);
  f->setWindowState(2);
  EXPECT_GT(f->width(), 9000);
  EXPECT_TRUE(f->enabled);
}

TEST_F(WindowManagementTest, ContradictoryLimitsAreIgnoredOnTheirAxisAndLetsApplyAtOnce) {
  auto f = form("MinWidth = 5000\nMaxWidth = 3000\nMaxHeight = 4500\n");
  f->show();
  f->userDrag(1995, 6000);
  EXPECT_EQ(numbers(*f, {"Width", "Height"}), (std::vector<double>{1995, 4500}));
  rt.advance(600);
  // Raising the minimum above the current width widens the form at once.
  rescaloOf(*f).set("MaxWidth", 0);
  EXPECT_EQ(f->width(), 5000);
  EXPECT_FALSE(f->enabled);
  EXPECT_EQ(rt.beeps, 2);
}

TEST_F(WindowManagementTest, ABurstOfResizesIsRescaledOnce100msAfterItsLastEvent) {
  auto f = form("");
  f->show();
  trace(*f);
  for (int i = 0; i < 10; ++i) {
    f->userDrag(5000 + 100 * i, 4000);
    rt.advance(30);
  }
  EXPECT_EQ(passes(), 0);
  rt.advance(69);
  EXPECT_EQ(passes(), 0);
  rt.advance(1);
  EXPECT_EQ(passes(), 1);
  rt.advance(500);
  EXPECT_EQ(passes(), 1);

  rescaloOf(*f).set("ResizeOnMouseUp", false);
  for (int i = 0; i < 10; ++i) f->userDrag(7000 + 100 * i, 4000);
  EXPECT_EQ(passes(), 11);
  // Without ScaleControls there is no pass at all, but the limits still hold.
  rescaloOf(*f).set("ScaleControls", false);
  rescaloOf(*f).set("MinWidth", 6000);
  f->userDrag(4000, 4000);
  EXPECT_EQ(f->width(), 6000);
  EXPECT_EQ(passes(), 11);
}

TEST_F(WindowManagementTest, SetUpPutsTheFormAtHalfTheScreenCentredAndKeepsItTopmost) {
  auto f = form(
      "ScaleX = 50\nScaleY = 50\nCenterX = -1\nCenterY = -1\nStayOnTop = -1\n"
      "FormOpen = 3\nFormOpenTime = 0.1\n");
  f->show();
  host::RECT r = f->windowRect();
  EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
            (std::vector<int>{320, 256, 960, 768}));
  EXPECT_TRUE(rt.windowTable().isTopmost(f->hwnd));
  EXPECT_FALSE(rt.windowTable().region(f->hwnd).has_value());  // the opening has played
  // The controls were placed for the new size by the second pass.
  expectButtonInProportion(*f);

  // With remembered windows on, set-up neither scales nor centres, even with nothing stored.
  auto g = form("ScaleX = 50\nCenterX = -1\nSaveWindowState = -1\n", {}, "Form2");
  double w = g->width(), l = g->left();
  g->show();
  EXPECT_EQ(g->width(), w);
  EXPECT_EQ(g->left(), l);
}

TEST_F(WindowManagementTest, AnMdiChildGetsItsInitialSizeAndShareOfTheParentsClientArea) {
  auto mdi = build(formText("", "", "VB.MDIForm", "MDIForm1"));
  mdi->show();
  auto child = form("MdiChildHeight = 2500\n", "   MDIChild = -1  'True\n", "Child1");
  double w = child->width();
  child->show();
  EXPECT_EQ(numbers(*child, {"Width", "Height"}), (std::vector<double>{w, 2500}));
  auto wide = form("ScaleX = 100\n", "   MDIChild = -1  'True\n", "Child2");
  wide->show();
  host::RECT area;
  rt.windowTable().GetWindowRect(mdi->clientHwnd, area);
  EXPECT_EQ(wide->width(), 15.0 * (area.right - area.left));
}

TEST_F(WindowManagementTest, AFormComesBackWhereItWasLeftAndTheStoreIsConsumed) {
  const std::string props = "SaveWindowState = -1\n";
  auto f = form(props);
  f->caption = "Orders";
  f->show();
  f->move(1000, 800, 6000, 4500);
  rt.advance(100);
  f->setWindowState(2);
  rt.advance(300);
  f->unload();
  EXPECT_EQ(rescaloOf(*f).settings().WindowName, "Orders");
  EXPECT_EQ(remembered("Orders"), (std::vector<std::string>{"1000", "800", "6000", "4500", "2"}));

  auto again = form(props + "WindowName = \"Orders\"\n", {}, "Form1b");
  again->show();
  EXPECT_EQ(again->windowState(), 2);
  EXPECT_EQ(remembered("Orders"), std::vector<std::string>(5, "-"));
  again->setWindowState(0);
  rt.advance(100);
  EXPECT_EQ(numbers(*again, {"Left", "Top", "Width", "Height"}),
            (std::vector<double>{1000, 800, 6000, 4500}));
  expectButtonInProportion(*again);

  // Closed minimized, it starts minimized.
  again->setWindowState(1);
  again->unload();
  auto third = form(props + "WindowName = \"Orders\"\n", {}, "Form1c");
  third->show();
  EXPECT_EQ(third->windowState(), 1);
}

TEST_F(WindowManagementTest, APartialEntryAppliesNothingAndDeletesNothing) {
  for (const char* k : {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"})
    rt.settings().SaveSetting("Rescalo", "Part", k, "2000");
  auto f = form("SaveWindowState = -1\nWindowName = \"Part\"\n");
  double w = f->width();
  f->show();
  EXPECT_EQ(f->width(), w);
  EXPECT_EQ(remembered("Part"), (std::vector<std::string>{"2000", "2000", "2000", "2000", "-"}));
  EXPECT_TRUE(rt.messages.empty());
}

TEST_F(WindowManagementTest, HostileCaptionsStaySectionNamesInsideTheOneStoreFile) {
  auto& store = rt.settings();
  store.SaveSetting("Rescalo", "Other", "WindowLeft", "5");
  for (std::string caption : {"../../etc", "a\nb=c\n[Other]\nWindowLeft=9", "/tmp/x", "/etc/passwd",
                              "..", "a\\b\\c", "C:\\Windows"}) {
    auto f = form("SaveWindowState = -1\n", {}, "F" + std::to_string(caption.size()));
    f->caption = caption;
    f->show();
    f->unload();
    EXPECT_EQ(store.GetSetting("Rescalo", caption, "WindowState"), "0") << caption;
  }
  EXPECT_EQ(store.GetSetting("Rescalo", "Other", "WindowLeft"), "5");
  // Read back from the file by a store of its own: nothing else was written anywhere.
  runtime::FileSettingsStore fresh(dir / "settings");
  EXPECT_EQ(fresh.GetSetting("Rescalo", "Other", "WindowLeft"), "5");
  for (const char* caption : {"a\nb=c\n[Other]\nWindowLeft=9", "../../etc"})
    EXPECT_EQ(fresh.GetSetting("Rescalo", caption, "WindowState"), "0") << caption;
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
    files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"settings", "settings.lock"}));
  EXPECT_FALSE(std::filesystem::exists(dir / ".." / ".." / "etc" / "WindowLeft"));
}

class PrintSizeTest : public WindowManagementTest {
 protected:
  void SetUp() override {
    f = form("");
    f->caption = "Invoice";
    f->show();
    f->move(600, 900, 5000, 4000);
    rt.advance(200);
    r = &rescaloOf(*f);
    r->subscribe([this](std::string_view e, host::Args a) {
      if (!e.starts_with("Resize"))
        events.push_back(std::string(e) + (a.empty() ? "" : ": " + a[0].toString()));
    });
  }
  void TearDown() override {
    if (window::PrintDialog()) r->call("PrintSize", {Variant(false)});
  }
  runtime::Form* dialog() {
    for (runtime::Form* d : rt.forms)
      if (d->name == "frmDialog" && d->loaded()) return d;
    return nullptr;
  }
  std::shared_ptr<runtime::Form> f;
  Rescalo* r = nullptr;
  std::vector<std::string> events;
};

TEST_F(PrintSizeTest, LaysTheFormOutAtAPageBeyondTheScreenAndPutsEverythingBack) {
  f->setWindowState(2);
  rt.advance(100);
  std::vector<double> button = numbers(*obj(*f, "cmdOK"), {"Left", "Top", "Width", "Height"});
  r->call("PrintSize", {Variant(true), Variant(30000.0f), Variant(40000.0f)});
  EXPECT_EQ(f->windowState(), 0);
  EXPECT_EQ(numbers(*f, {"Left", "Top", "Width", "Height"}),
            (std::vector<double>{600, 900, 30000, 40000}));
  expectButtonInProportion(*f);
  EXPECT_TRUE(window::FixedWindows().empty());
  EXPECT_EQ(dialog(), nullptr);

  r->call("PrintSize", {Variant(false)});
  rt.advance(100);  // laid out again by the resize handling
  EXPECT_EQ(f->windowState(), 2);
  f->setWindowState(0);
  EXPECT_EQ(numbers(*f, {"Left", "Top", "Width", "Height"}),
            (std::vector<double>{600, 900, 5000, 4000}));
  f->setWindowState(2);
  rt.advance(100);
  EXPECT_EQ(numbers(*obj(*f, "cmdOK"), {"Left", "Top", "Width", "Height"}), button);
  EXPECT_EQ(std::count(events.begin(), events.end(), "PrintCancelled"), 0);
}

TEST_F(PrintSizeTest, APageLargerThanTheLargestWindowIsHeldToIt) {
  // 600,000 twips is 40,000 pixels: the window system gives no window more than 32,767.
  r->call("PrintSize", {Variant(true), Variant(600000.0f), Variant(20000.0f)});
  EXPECT_EQ(numbers(*f, {"Width", "Height"}), (std::vector<double>{32767 * 15, 20000}));
  r->call("PrintSize", {Variant(false)});
  EXPECT_EQ(numbers(*f, {"Width", "Height"}), (std::vector<double>{5000, 4000}));
  // So is a window sized from code.
  f->set("Height", 700000);
  f->call("Move", {Variant(0), Variant(0), Variant(1e6)});
  EXPECT_EQ(numbers(*f, {"Width", "Height"}), (std::vector<double>{32767 * 15, 32767 * 15}));
}

TEST_F(PrintSizeTest, SizesInOtherUnitsTheDesignSizeAndAnUnknownScaleMode) {
  r->call("PrintSize", {Variant(true), Variant(21.0f), Variant(29.7f), Variant(std::int16_t{7})});
  EXPECT_NEAR(f->width(), 21 * 1440 / 2.54, 0.5);
  EXPECT_NEAR(f->height(), 29.7 * 1440 / 2.54, 0.5);
  r->call("PrintSize", {Variant(false)});
  r->call("PrintSize", {Variant(true)});
  EXPECT_EQ(numbers(*f, {"Width", "Height"}),
            (std::vector<double>{r->designFormWidth(), r->designFormHeight()}));
  r->call("PrintSize", {Variant(false)});
  EXPECT_EQ(f->width(), 5000);

  r->call("PrintSize",
          {Variant(true), Variant(9000.0f), Variant(9000.0f), Variant(std::int16_t{42})});
  EXPECT_EQ(f->width(), 5000);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], "Error: Error in ScaleMode");
}

TEST_F(PrintSizeTest, AHiddenFormStaysOffScreenAndTheDialogsCancelEndsPrinting) {
  r->call("PrintSize", {Variant(true), Variant(12000.0f), Variant(16000.0f), Variant(),
                        Variant(true), Variant(true), Variant(true)});
  EXPECT_EQ(numbers(*f, {"Left", "Top"}), (std::vector<double>{32000, 900}));
  f->move(100);
  rt.advance(10);
  EXPECT_EQ(f->left(), 32000);
  runtime::Form* d = dialog();
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->visible());
  EXPECT_TRUE(rt.windowTable().isTopmost(d->hwnd));
  EXPECT_EQ(d->left(), 19200 / 2 - d->width() / 2);  // its captions: in the two-host story

  obj(*d, "cmdCancel")->raiseEvent("Click");
  EXPECT_EQ(dialog(), nullptr);
  EXPECT_EQ(numbers(*f, {"Left", "Top", "Width", "Height"}),
            (std::vector<double>{600, 900, 5000, 4000}));
  EXPECT_EQ(events, (std::vector<std::string>{"PrintCancelled"}));
  rt.advance(50);
  EXPECT_EQ(f->left(), 600);  // the hiding timer stopped
  r->call("PrintSize", {Variant(false)});
  EXPECT_EQ(events.size(), 1u);

  // Without AllowCancel the dialog has no Cancel button.
  r->call("PrintSize", {Variant(true), Variant(), Variant(), Variant(), Variant(false),
                        Variant(true), Variant(false)});
  ASSERT_NE(dialog(), nullptr);
  EXPECT_FALSE(obj(*dialog(), "cmdCancel")->get("Visible").toBool());
}

// One face for every font, sizes and styles kept, is checked on every form; here the marker and
// a disabled control leave the fonts alone, and controls without a font are passed over.
TEST_F(WindowManagementTest, TheMarkerOrADisabledControlReplacesNoFont) {
  auto faceAfter = [&](const std::string& face, const std::string& extra, const std::string& name) {
    auto f = build(formText(
        block("VB.Label lblName", place(100, 500, 1500, 300) +
                                      "BeginProperty Font\nName = \"Courier\"\nEndProperty\n") +
            block("VB.Timer tmrTick", "Interval = 100\nLeft = 0\nTop = 0\n") +
            block("VB.Line linRule", "X1 = 0\nX2 = 1000\nY1 = 900\nY2 = 900\n") +
            rescaloBlock(kDesign + "ReplaceFontsWith = \"" + face + "\"\n" + extra),
        "", "VB.Form", name));
    f->show();
    return obj(*f, "lblName")->get("Font").toObject()->get("Name").toString();
  };
  EXPECT_EQ(faceAfter("Arial", "", "Form1"), "Arial");
  EXPECT_EQ(faceAfter("<none>", "", "Form2"), "Courier");
  EXPECT_EQ(faceAfter("<NONE>", "", "Form3"), "<NONE>");
  EXPECT_EQ(faceAfter("Arial", "Enabled = 0\n", "Form4"), "Courier");
  EXPECT_TRUE(rt.messages.empty());
}

}  // namespace
