#include <rescalo/effects/gradient.h>

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>

#include <rescalo/runtime/raster/raster.h>
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using namespace testing_support;

namespace {

constexpr int kW = 300, kH = 200;  // the client area the pictures are checked on, pixels
constexpr raster::Color kBack = raster::rgb(255, 0, 255);

// The colour of step k as the gradient's arithmetic gives it: 64 steps from start to end, or
// 32 to the mid colour and 32 on, each channel rounded half to even.
raster::Color stepColour(int k, raster::Color start, raster::Color end, raster::Color mid) {
  auto channel = [&](int (*part)(raster::Color)) {
    double v = mid != end ? (k < 32 ? part(start) + (part(mid) - part(start)) * k / 32.0
                                    : part(mid) + (part(end) - part(mid)) * (k - 32) / 32.0)
                          : part(start) + (part(end) - part(start)) * k / 64.0;
    return static_cast<int>(std::nearbyint(v));
  };
  return raster::rgb(channel(raster::red), channel(raster::green), channel(raster::blue));
}

// The picture the bands or rings make on a kW x kH client area, painted by the test itself:
// a filled box covers both corners, each rounded to the nearest pixel (halves up); a ring
// DrawWidth wide covers the pixels within half that width of its circle.
struct Expected {
  void box(double x1, double y1, double x2, double y2, int k) {
    auto px = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
    int l = std::max(std::min(px(x1), px(x2)), 0), r = std::min(std::max(px(x1), px(x2)), kW - 1);
    int t = std::max(std::min(px(y1), px(y2)), 0), b = std::min(std::max(px(y1), px(y2)), kH - 1);
    for (int y = t; y <= b; ++y)
      for (int x = l; x <= r; ++x) bm.setPixel(x, y, colour(k));
  }

  void ring(double cx, double cy, double radius, int width, int k) {
    double outer = radius + width / 2.0, inner = radius - width / 2.0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d2 <= outer * outer && !(inner > 0 && d2 <= inner * inner))
          bm.setPixel(x, y, colour(k));
      }
  }

  raster::Color colour(int k) const { return stepColour(k, start, end, mid); }

  raster::Color start, end, mid;
  raster::Bitmap bm{kW, kH, kBack};
};

// Step i of one source's bands: its box or boxes, in the colour of the step they take.
void band(int source, int i, Expected& e) {
  const double SW = kW, SH = kH;
  const bool centred = source >= 8;
  const double h = centred ? SH / 128 : SH / 64, w = centred ? SW / 128 : SW / 64;
  switch (source) {
    case 0:  // top
      return e.box(0, h * i, SW, h * i + h, i);
    case 1:  // bottom
      return e.box(0, h * i, SW, h * i + h, 64 - i);
    case 2:  // right
      return e.box(w * i, 0, w * i + w, SH, 64 - i);
    case 3:  // left
      return e.box(w * i, 0, w * i + w, SH, i);
    case 4:  // top left
      e.box(0, h * i, w * i + w, h * i + h + 1, i);
      return e.box(w * i, 0, w * i + w, h * i, i);
    case 5:  // top right
      e.box(SW - w * i, 0, SW - w * i + w, h * i, i);
      return e.box(SW, h * i, SW - w * i, h * i + h + 1, i);
    case 6:  // bottom left
      e.box(0, SH - h * i, w * i + w, SH - h * i - h, i);
      return e.box(w * i, SH, w * i + w, SH - h * i, i);
    case 7:  // bottom right
      e.box(SW, SH - h * i, SW - w * i, SH - h * i - h, i);
      return e.box(SW - w * i, SH, SW - w * i + w, SH - h * i, i);
    default:  // middle, outside
      return e.box(SW / 2 - w * i, SH / 2 - h * i, SW / 2 + w * i, SH / 2 + h * i,
                   source == 8 ? i : 64 - i);
  }
}

// The bands of one source, step by step; sources whose loop runs down start with i = 64.
void linearBands(int source, Expected& e) {
  const bool down = source == 1 || source == 2 || source == 8 || source == 9;
  for (int n = 0; n <= 64; ++n) band(source, down ? 64 - n : n, e);
}

void radialRings(int source, Expected& e) {
  const double SW = kW, SH = kH;
  const bool centred = source >= 8;
  const double D = centred ? std::hypot(SW / 2, SH / 2) : std::hypot(SW, SH);
  const double r = static_cast<float>(D / 64);
  const int width = static_cast<int>(std::nearbyint(2 * r));
  const double centres[10][2] = {{SW / 2, 0},      {SW / 2, SH},    {SW, SH / 2}, {0, SH / 2},
                                 {0, 0},           {SW, 0},         {0, SH},      {SW, SH},
                                 {SW / 2, SH / 2}, {SW / 2, SH / 2}};
  for (int i = 0; i <= 64; ++i)
    e.ring(centres[source][0], centres[source][1], r * (source == 9 ? 64 - i : i), width, i);
}

class Gradient : public RuntimeTest {
 protected:
  std::shared_ptr<runtime::Form> form() {
    auto f = build(formText(""));
    f->setClientSize(kW * 15, kH * 15);
    f->set("BackColor", static_cast<std::int32_t>(kBack));
    return f;
  }
  static std::string firstDifference(const raster::Bitmap& got, const raster::Bitmap& want) {
    int count = 0;
    std::string first;
    for (int y = 0; y < want.height(); ++y)
      for (int x = 0; x < want.width(); ++x)
        if (got.pixel(x, y) != want.pixel(x, y) && count++ == 0)
          first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return count ? std::to_string(count) + " pixels differ, first at " + first : "";
  }
};

TEST_F(Gradient, StepColoursRunThroughTheMidColourOnlyWhenItDiffersFromTheEnd) {
  auto colours = [](std::int32_t start, std::int32_t end, std::int32_t mid,
                    std::initializer_list<int> steps) {
    effects::PrepareGradient(start, end, mid);
    std::vector<std::int32_t> out;
    for (int i : steps) {
      effects::GradientStepColour(static_cast<std::int16_t>(i));
      out.push_back(effects::CurrentGradientColour());
    }
    return out;
  };
  // Black to white: 255/64 per step.
  EXPECT_EQ(colours(0, 0xFFFFFF, 0xFFFFFF, {0, 1, 63, 64}),
            (std::vector<std::int32_t>{0, 0x040404, 0xFBFBFB, 0xFFFFFF}));
  // Half a unit per step: halves go to the even neighbour (0.5, 1.5, 2.5 -> 0, 2, 2).
  EXPECT_EQ(colours(0, 32, 32, {1, 3, 5}), (std::vector<std::int32_t>{0, 2, 2}));
  // Red through green to blue: green exactly at step 32, the second half mixes toward blue.
  EXPECT_EQ(colours(0x0000FF, 0xFF0000, 0x00FF00, {0, 16, 32, 48, 64}),
            (std::vector<std::int32_t>{0x0000FF, 0x008080, 0x00FF00, 0x808000, 0xFF0000}));
  // The mid colour counts when any of its 32 bits differ: its colour then comes at step 32.
  EXPECT_EQ(colours(0, 0x0000FF, 0x010000FF, {16, 32, 64}),
            (std::vector<std::int32_t>{0x000080, 0x0000FF, 0x0000FF}));
  EXPECT_EQ(colours(0, 0x0000FF, 0x0000FF, {16, 32}), (std::vector<std::int32_t>{0x40, 0x80}));
}

TEST_F(Gradient, EverySourceAndTypePaintsTheBandsAndRingsOfItsArithmetic) {
  // Through a mid colour, and straight from black to white; any type but 0 is radial.
  for (auto [start, mid, end] :
       {std::tuple{raster::rgb(255, 0, 0), raster::rgb(0, 255, 0), raster::rgb(20, 40, 250)},
        {raster::rgb(0, 0, 0), raster::rgb(255, 255, 255), raster::rgb(255, 255, 255)}})
    for (int type : {0, 1, 5}) {
      for (int source = 0; source <= 9; ++source) {
        SCOPED_TRACE("type " + std::to_string(type) + " source " + std::to_string(source) +
                     " mid " + std::to_string(mid));
        auto f = form();
        // A drawing state the painting must not use, and must give back.
        f->set("AutoRedraw", false);
        f->set("DrawWidth", std::int16_t{3});
        f->set("DrawMode", std::int16_t{7});
        f->set("DrawStyle", std::int16_t{2});
        f->set("ScaleMode", std::int16_t{1});
        effects::PaintGradient(f, source, type, static_cast<std::int32_t>(start),
                               static_cast<std::int32_t>(end), static_cast<std::int32_t>(mid));
        EXPECT_EQ(numbers(*f, {"AutoRedraw", "DrawWidth", "DrawMode", "DrawStyle", "ScaleMode"}),
                  (std::vector<double>{0, 3, 7, 2, 1}));
        // The bands are in the persistent image: a Cls without AutoRedraw keeps them.
        f->call("Cls");
        Expected e{start, end, mid};
        if (type == 0)
          linearBands(source, e);
        else
          radialRings(source, e);
        EXPECT_EQ(firstDifference(f->screen(), e.bm), "");
      }
    }
}

TEST_F(Gradient, AnUnknownSourceOrAnMdiParentFormGetsNothingDrawn) {
  auto f = form();
  f->set("DrawMode", std::int16_t{6});
  raster::Bitmap before = f->screen();
  effects::PaintGradient(f, 12, effects::kGtLinear, 0, 0xFFFFFF, 0xFFFFFF);
  effects::PaintGradient(f, -1, effects::kGtRadial, 0, 0xFFFFFF, 0xFFFFFF);
  EXPECT_EQ(f->screen(), before);
  EXPECT_EQ(numbers(*f, {"DrawMode", "DrawWidth", "ScaleMode"}), (std::vector<double>{6, 1, 1}));

  auto mdi = build(formText("", "", "VB.MDIForm", "MDIForm1"));
  mdi->set("ScaleMode", std::int16_t{1});
  raster::Bitmap mdiBefore = mdi->screen();
  effects::PaintGradient(mdi, effects::kGsTop, effects::kGtLinear, 0, 0xFFFFFF, 0xFFFFFF);
  EXPECT_EQ(mdi->screen(), mdiBefore);
  EXPECT_FALSE(mdi->get("AutoRedraw").toBool());
  // Nothing bound: nothing to paint.
  effects::PaintGradient(nullptr, effects::kGsTop, effects::kGtLinear, 0, 0xFFFFFF, 0xFFFFFF);
}

}  // namespace
