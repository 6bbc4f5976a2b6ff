#include <gtest/gtest.h>

#include <rescalo/window/placement.h>
#include <rescalo/window/size_limits.h>
#include "test_support.h"

using namespace rescalo;

using namespace testing_support;

namespace {

host::LRESULT earlierProc(host::HWND, std::uint32_t msg, host::WPARAM, host::LPARAM) {
  return msg == 0x1234 ? 77 : 0;
}

class FixWindowTest : public RuntimeTest {
 protected:
  void TearDown() override {
    while (!window::FixedWindows().empty())
      window::UnfixWindow(rt.windowTable(), window::FixedWindows().back().hWnd);
  }
  host::MINMAXINFO limitsOf(host::HWND hwnd) {
    host::MINMAXINFO defaults;
    defaults.ptMaxSize = {1280, 1024};
    defaults.ptMinTrackSize = {112, 27};
    defaults.ptMaxTrackSize = {1292, 1036};
    return rt.windowTable().trackingLimits(hwnd, defaults);
  }
};

TEST_F(FixWindowTest, AnswersTheTrackingSizeInPixelsUntilUnfixedAndPassesOtherMessagesOn) {
  auto form = build(formText(""));
  host::HWND hwnd = form->hwnd;
  rt.windowTable().SetWindowLongA(hwnd, host::GWL_WNDPROC, host::toHandle(&earlierProc));
  window::FixWindow(rt, hwnd, 3000, 1500, 45000, 30000);
  ASSERT_EQ(window::FixedWindows().size(), 1u);
  host::MINMAXINFO lim = limitsOf(hwnd);
  // In pixels; the maximized size is left as it came.
  EXPECT_EQ((std::vector<int>{lim.ptMinTrackSize.x, lim.ptMinTrackSize.y, lim.ptMaxTrackSize.x,
                              lim.ptMaxTrackSize.y, lim.ptMaxSize.x}),
            (std::vector<int>{200, 100, 3000, 2000, 1280}));
  EXPECT_EQ(rt.windowTable().send(hwnd, 0x1234, 0, 0), 77);

  // A user drag now stops at the limits, beyond the screen's own.
  form->show();
  form->userDrag(60000, 600);
  EXPECT_EQ(numbers(*form, {"Width", "Height"}), (std::vector<double>{45000, 1500}));

  window::UnfixWindow(rt.windowTable(), hwnd);
  EXPECT_TRUE(window::FixedWindows().empty());
  EXPECT_EQ(limitsOf(hwnd).ptMaxTrackSize.x, 1292);
  EXPECT_EQ(rt.windowTable().send(hwnd, 0x1234, 0, 0), 77);
  // Unknown windows and an empty table are no error.
  window::UnfixWindow(rt.windowTable(), hwnd);
  EXPECT_EQ(window::FixWindowProc(0x999, host::WM_GETMINMAXINFO, 0, 0), 0);
}

TEST_F(FixWindowTest, ASecondRegistrationWinsAndUnfixingItRestoresTheFirst) {
  auto a = build(formText(""));
  auto b = build(formText("", "", "VB.Form", "Form2"));
  window::FixWindow(rt, a->hwnd, 1500, 1500, 15000, 15000);
  window::FixWindow(rt, b->hwnd, 0, 0, 30000, 30000);
  window::FixWindow(rt, a->hwnd, 4500, 4500, 9000, 9000);
  EXPECT_EQ(limitsOf(a->hwnd).ptMinTrackSize.x, 300);
  window::UnfixWindow(rt.windowTable(), a->hwnd);
  // The later record went; the window answers from the first one, whose procedure it now has.
  ASSERT_EQ(window::FixedWindows().size(), 2u);
  EXPECT_EQ(window::FixedWindows()[0].hWnd, a->hwnd);
  EXPECT_EQ(window::FixedWindows()[1].hWnd, b->hwnd);
  EXPECT_EQ(limitsOf(a->hwnd).ptMinTrackSize.x, 100);
  EXPECT_EQ(limitsOf(b->hwnd).ptMaxTrackSize.y, 2000);
  window::UnfixWindow(rt.windowTable(), a->hwnd);
  EXPECT_EQ(limitsOf(a->hwnd).ptMinTrackSize.x, 112);
}

// Twips to pixels round half to even: at 12 twips a pixel, 6 and 30 twips are 0.5 and 2.5.
TEST(FixWindowRounding, HalvesGoToEven) {
  runtime::RuntimeOptions o;
  o.twipsPerPixel = 12;
  o.settingsFile = freshDir("fix") / "settings";
  runtime::Runtime rt(o);
  auto form = runtime::buildForm(rt, frm::read(formText(""), "t.frm"), "t.frm");
  window::FixWindow(rt, form->hwnd, 6, 30, 18, 42);
  const window::FixedWindowEntry& e = window::FixedWindows().back();
  EXPECT_EQ(std::vector<int>({e.MinWidth, e.MinHeight, e.MaxWidth, e.MaxHeight}),
            std::vector<int>({0, 2, 2, 4}));
  window::UnfixWindow(rt.windowTable(), form->hwnd);
}

class PlacementTest : public RuntimeTest {};

TEST_F(PlacementTest, ScreenShareAndCentringOfATopLevelFormAndOfAnMdiChild) {
  auto form = build(formText(""));
  form->show();
  window::ApplyScreenScale(rt, *form, 50, 0);
  EXPECT_EQ(form->width(), 9600);  // half of 1280 pixels of 15 twips
  double height = form->height();
  window::CenterFormX(rt, *form);
  window::CenterFormY(rt, *form);
  EXPECT_EQ(form->left(), 4800);
  EXPECT_EQ(form->top(), 15360 / 2 - height / 2);

  auto mdi = build(formText("", "", "VB.MDIForm", "MDIForm1"));
  mdi->show();
  auto child = build(formText("", "   MDIChild = -1  'True\n", "VB.Form", "Child"));
  child->show();
  host::RECT area;
  rt.windowTable().GetWindowRect(mdi->clientHwnd, area);
  window::ApplyScreenScale(rt, *child, 100, 50);
  EXPECT_EQ(numbers(*child, {"Width", "Height"}),
            (std::vector<double>{15.0 * (area.right - area.left), 7.5 * (area.bottom - area.top)}));
  window::SizeMdiChild(*child, 0, 3000);
  EXPECT_EQ(numbers(*child, {"Width", "Height"}),
            (std::vector<double>{15.0 * (area.right - area.left), 3000}));
  window::CenterFormX(rt, *child);
  EXPECT_EQ(child->left(), (area.right - area.left) / 2.0 * 15 - child->width() / 2);

  // Minimized or maximized forms keep their size and place; a top-level form has no MDI size.
  window::SizeMdiChild(*form, 1000, 1000);
  form->setWindowState(2);
  window::ApplyScreenScale(rt, *form, 10, 10);
  form->setWindowState(0);
  EXPECT_EQ(numbers(*form, {"Width", "Height"}), (std::vector<double>{9600, height}));
}

TEST_F(PlacementTest, TopmostIsOnlyEverSwitchedOn) {
  auto form = build(formText(""));
  window::SetTopMost(rt, *form, false);
  EXPECT_FALSE(rt.windowTable().isTopmost(form->hwnd));
  double w = form->width();
  window::SetTopMost(rt, *form, true);
  EXPECT_TRUE(rt.windowTable().isTopmost(form->hwnd));
  window::SetTopMost(rt, *form, false);
  EXPECT_TRUE(rt.windowTable().isTopmost(form->hwnd));
  EXPECT_EQ(form->width(), w);  // neither moved nor sized
}

}  // namespace
