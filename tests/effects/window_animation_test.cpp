#include <rescalo/effects/window_animation.h>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "test_support.h"

using namespace rescalo;

using namespace testing_support;

namespace {

// One change of the window's region and when it happened; nothing: the whole window.
struct Change {
  std::optional<host::RECT> region;
  double ms;
};

std::string text(const std::optional<host::RECT>& r) {
  if (!r) return "whole";
  return "(" + std::to_string(r->left) + ", " + std::to_string(r->top) + ", " +
         std::to_string(r->right) + ", " + std::to_string(r->bottom) + ")";
}

// What step i of N shows on a W x H window, written from the effects' formulas; nothing: the
// step changes nothing.
std::optional<host::RECT> step(bool opening, int effect, int i, int N, double W, double H) {
  const double dx = W / N, dy = H / N, half = N / 2.0, FL = W / 2 - W / 20, FR = W / 2 + W / 20;
  const int k = N - i;
  auto rect = [](double l, double t, double r, double b) -> std::optional<host::RECT> {
    auto n = [](double v) { return static_cast<std::int32_t>(std::nearbyint(v)); };
    return host::RECT{n(l), n(t), n(r), n(b)};
  };
  switch (opening ? effect : -effect) {
    case 1:
      return rect(k * dx, 0, W, H);
    case 2:
      return rect(0, 0, i * dx, H);
    case 3:
      return rect(0, k * dy, W, H);
    case 4:
      return rect(0, 0, W, i * dy);
    case 5:
      return rect(W / 2 - i * dx / 2, 0, W / 2 + i * dx / 2, H);
    case 6:
      return rect(0, H / 2 - i * dy / 2, W, H / 2 + i * dy / 2);
    case 7:
      if (i < half) return rect(FL, half * dy - i * dy, FR, half * dy + i * dy);
      return k * dx < FL ? rect(k * dx, 0, i * dx, H) : std::nullopt;
    case -1:
      return rect(0, 0, k * dx, H);
    case -2:
      return rect(i * dx, 0, W, H);
    case -3:
      return rect(0, 0, W, k * dy);
    case -4:
      return rect(0, i * dy, W, H);
    case -5:
      return rect(i * dx / 2, 0, i * dx / 2 + k * dx, H);
    case -6:
      return rect(0, i * dy / 2, W, i * dy / 2 + k * dy);
    default:
      if (i >= half) return rect(FL, (i - half) * dy, FR, (N - (i - half)) * dy);
      return i * dx < FL ? rect(i * dx, 0, k * dx, H) : std::nullopt;
  }
}

class WindowAnimation : public RuntimeTest {
 protected:
  WindowAnimation() {
    rt.windowTable().onRegionChanged = [this](host::HWND hwnd, const std::optional<host::RECT>& r) {
      if (form && hwnd == form->hwnd) changes.push_back({r, rt.clock().now()});
    };
  }
  // A shown form whose window is width x height pixels, at (100, 80) on the screen.
  void show(int width, int height) {
    form = build(formText(""));
    form->call("Show");
    form->move(1500, 1200, width * 15, height * 15);
    host::RECT r;
    ASSERT_TRUE(rt.windowTable().GetWindowRect(form->hwnd, r));
    ASSERT_EQ((std::vector<int>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
              (std::vector<int>{100, 80, width, height}));
    changes.clear();
  }
  // The regions the window was given, in order.
  std::vector<std::string> regions() const {
    std::vector<std::string> out;
    for (const Change& c : changes) out.push_back(text(c.region));
    return out;
  }
  // Every change an effect makes in N steps on a W x H window; the opening ends with the whole
  // window again.
  static std::vector<std::string> expected(bool opening, int effect, int N, double W, double H) {
    std::vector<std::string> out;
    for (int i = 1; i <= N; ++i)
      if (auto r = step(opening, effect, i, N, W, H)) out.push_back(text(r));
    if (opening) out.push_back(text(std::nullopt));
    return out;
  }
  std::shared_ptr<runtime::Form> form;
  std::vector<Change> changes;
};

// A second is 18 steps; half a second, 9: an odd count, so the fold turns over halfway
// through its fifth step.
TEST_F(WindowAnimation, EveryEffectShowsTheRegionsOfItsFormulaStepByStep) {
  for (auto [width, height, seconds, steps] :
       {std::tuple{400, 300, 1.0f, 18}, std::tuple{300, 200, 0.5f, 9}}) {
    show(width, height);
    for (std::int16_t effect = 1; effect <= 7; ++effect) {
      SCOPED_TRACE("effect " + std::to_string(effect) + " in " + std::to_string(steps));
      changes.clear();
      EXPECT_TRUE(effects::PlayOpenEffect(rt, *form, effect, seconds));
      EXPECT_EQ(regions(), expected(true, effect, steps, width, height));
      EXPECT_FALSE(rt.windowTable().region(form->hwnd).has_value());

      changes.clear();
      EXPECT_TRUE(effects::PlayCloseEffect(rt, *form, effect, seconds));
      EXPECT_EQ(regions(), expected(false, effect, steps, width, height));
    }
  }
}

TEST_F(WindowAnimation, HalfPixelsRoundToEven) {
  // 27 pixels in 18 steps: 1.5 a step.
  show(27, 40);
  ASSERT_TRUE(effects::PlayOpenEffect(rt, *form, effects::kWipeRight, 1));
  const std::vector<std::string> r = regions();
  ASSERT_GE(r.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(r.begin(), r.begin() + 5),
            (std::vector<std::string>{"(0, 0, 2, 40)", "(0, 0, 3, 40)", "(0, 0, 4, 40)",
                                      "(0, 0, 6, 40)", "(0, 0, 8, 40)"}));
}

TEST_F(WindowAnimation, StepsArePacedByTheClockWhileEventsGoOn) {
  show(400, 300);
  int ticks = 0;
  auto timer = rt.createTimer([&] { ++ticks; });
  timer->setInterval(100);
  timer->setEnabled(true);
  double start = rt.clock().now();
  ASSERT_TRUE(effects::PlayOpenEffect(rt, *form, effects::kWipeDown, 1));
  ASSERT_EQ(changes.size(), 19u);
  // The first step shows at once; each later one about 1/18 s after the one before (the
  // clock reads as a Single, good to 2 ms at this time of day).
  EXPECT_LT(changes[0].ms - start, 2);
  for (std::size_t k = 1; k < 18; ++k) {
    double gap = changes[k].ms - changes[k - 1].ms;
    EXPECT_GT(gap, 1000.0 / 18 - 2.5) << k;
    EXPECT_LT(gap, 1000.0 / 18 + 2.5) << k;
  }
  EXPECT_NEAR(changes[18].ms - start, 1000.0 * 17 / 18, 17 * 2);
  // The timer kept ticking while the window unfolded.
  EXPECT_EQ(ticks, static_cast<int>((changes[18].ms - start) / 100));

  // No duration: 100 steps, none waiting for the clock.
  changes.clear();
  start = rt.clock().now();
  ASSERT_TRUE(effects::PlayCloseEffect(rt, *form, effects::kWipeUp, 0));
  ASSERT_EQ(changes.size(), 100u);
  EXPECT_EQ(text(changes[0].region), "(0, 0, 400, 297)");
  EXPECT_EQ(text(changes[99].region), "(0, 0, 400, 0)");
  EXPECT_LT(changes[99].ms - start, 1000.0 * 100 / 18 / 10);
}

TEST_F(WindowAnimation, AMinimizedFormOrNoEffectPlaysNothingAndTooShortATimeFails) {
  show(400, 300);
  double start = rt.clock().now();
  EXPECT_FALSE(effects::PlayOpenEffect(rt, *form, effects::kNoEffect, 1));
  EXPECT_FALSE(effects::PlayCloseEffect(rt, *form, effects::kNoEffect, 1));
  EXPECT_EQ(rt.clock().now(), start);  // nothing waited for
  // A minimized form keeps the region it has.
  rt.windowTable().SetWindowRgn(form->hwnd, rt.windowTable().CreateRectRgn(1, 1, 1, 1), true);
  form->set("WindowState", 1);
  changes.clear();
  EXPECT_FALSE(effects::PlayOpenEffect(rt, *form, effects::kWipeLeft, 1));
  EXPECT_TRUE(changes.empty());
  ASSERT_TRUE(rt.windowTable().region(form->hwnd).has_value());
  form->set("WindowState", 0);
  // An unknown effect takes its time but changes nothing until the whole window shows.
  EXPECT_TRUE(effects::PlayOpenEffect(rt, *form, 9, 1));
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_FALSE(changes[0].region.has_value());
  // 0.02 s rounds to no step at all.
  EXPECT_EQ(errorOf([&] { effects::PlayOpenEffect(rt, *form, effects::kWipeLeft, 0.02f); }),
            host::kDivisionByZero);
}

}  // namespace
