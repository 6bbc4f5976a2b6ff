// Pictures of a running form: what is drawn behind the controls shows through only where no
// opaque control covers it, captions land inside their control in its font, and a window
// region cuts the picture.

#include <rescalo/runtime/render.h>

#include <gtest/gtest.h>

#include <rescalo/runtime/text.h>
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using namespace testing_support;

namespace {

constexpr raster::Color kRed = raster::rgb(255, 0, 0), kBlue = raster::rgb(0, 0, 255);
constexpr raster::Color kFace = raster::rgb(212, 208, 200);

bool dark(raster::Color c) { return raster::red(c) + raster::green(c) + raster::blue(c) < 200; }

// Dark pixels of the picture inside [x0, x1) x [y0, y1).
int inkIn(const raster::Bitmap& bm, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += dark(bm.pixel(x, y)) ? 1 : 0;
  return n;
}

class Render : public RuntimeTest {
 protected:
  // A pixel-scaled form of 300 x 200 client pixels, its left half red, its right half blue,
  // drawn into the persistent image.
  std::shared_ptr<runtime::Form> painted(const std::string& controls) {
    auto f = build(formText(controls, "   ScaleMode = 3\n   AutoRedraw = -1\n"));
    f->setClientSize(300 * 15, 200 * 15);
    f->call("Show");
    auto fill = [&](double x1, double x2, raster::Color c) {
      f->call("Line", {Variant(x1), Variant(0.0), Variant(x2), Variant(199.0),
                       Variant(static_cast<std::int32_t>(c)), Variant("BF")});
    };
    fill(0, 149, kRed);
    fill(150, 299, kBlue);
    return f;
  }
};

TEST_F(Render, WhatTheFormDrewShowsBehindItsControlsButNotThroughOpaqueOnes) {
  // Twips: a button over the red half, a transparent label across the middle, an opaque
  // label over the blue half.
  auto f = painted(
      block("VB.CommandButton cmd", place(300, 300, 1200, 600) + "Caption = \"\"\n") +
      block("VB.Label clear", place(1800, 2400, 1200, 300) + "BackStyle = 0\nCaption = \"\"\n") +
      block("VB.Label solid",
            place(3000, 300, 900, 600) + "BackColor = &H0000FF00&\nCaption = \"\"\n"));
  raster::Bitmap bm = runtime::renderWindow(*f);
  runtime::PixelPoint o = runtime::clientOrigin(*f);
  auto at = [&](int x, int y) { return bm.pixel(o.x + x, o.y + y); };
  EXPECT_EQ((std::vector<double>{bm.width() * 15.0, bm.height() * 15.0}),
            (std::vector<double>{f->width(), f->height()}));
  EXPECT_EQ(at(5, 190), kRed);
  EXPECT_EQ(at(290, 190), kBlue);
  EXPECT_EQ(at(60, 40), kFace) << "the button's face covers the red";
  EXPECT_EQ(at(130, 170), kRed) << "a transparent label lets the drawing through";
  EXPECT_EQ(at(160, 170), kBlue);
  EXPECT_EQ(at(230, 40), raster::rgb(0, 255, 0)) << "an opaque label has its own back colour";
  // The drawing does not spill outside the client area.
  EXPECT_NE(bm.pixel(o.x + 5, o.y - 1), kRed);
}

TEST_F(Render, CaptionsAreDrawnInsideTheirControlInTheControlsFont) {
  if (!runtime::haveFonts()) GTEST_SKIP() << "fontconfig finds no font face on this machine";
  const std::string words = "BackColor = &H00FFFFFF&\nCaption = \"Wide words\"\n";
  auto f = build(
      formText(block("VB.Label small", place(300, 300, 2400, 600) + words) +
               block("VB.Label large", place(300, 1200, 2400, 600) + words +
                                           "BeginProperty Font\nName = \"DejaVu Sans\"\nSize = 18\n"
                                           "Weight = 700\nEndProperty\n")));
  f->call("Show");
  raster::Bitmap bm = runtime::renderWindow(*f);
  runtime::PixelPoint o = runtime::clientOrigin(*f);
  auto ink = [&](int l, int t, int w, int h) {
    return inkIn(bm, o.x + l, o.y + t, o.x + l + w, o.y + t + h);
  };
  // Each label is 160 x 40 pixels at (20, 20) and (20, 80); the rest of the client area is
  // the form's grey, and no ink leaves a label.
  int small = ink(20, 20, 160, 40), large = ink(20, 80, 160, 40);
  EXPECT_GT(small, 20);
  EXPECT_GT(large, 2 * small) << "18-point bold has more ink than the default font";
  EXPECT_EQ(ink(0, 0, 266, 200) - small - large, 0);
  // The text is measured in the same font it is drawn in.
  runtime::Font bold("DejaVu Sans", 18), plain("DejaVu Sans", 18);
  bold.setBold(true);
  EXPECT_GT(runtime::measureText(bold, "Wide words").width,
            runtime::measureText(plain, "Wide words").width);
  EXPECT_EQ(runtime::withoutAccessKeys("&Save && E&xit"), "Save & Exit");
}

TEST_F(Render, OutsideTheWindowRegionThePictureIsTransparent) {
  auto f = painted("");
  auto& windows = rt.windowTable();
  windows.SetWindowRgn(f->hwnd, windows.CreateRectRgn(10, 20, 110, 70), false);
  raster::Bitmap bm = runtime::renderWindow(*f);
  int inside = 0, outside = 0;
  for (int y = 0; y < bm.height(); ++y)
    for (int x = 0; x < bm.width(); ++x) {
      bool in = x >= 10 && x < 110 && y >= 20 && y < 70;
      (in ? inside : outside) += bm.alpha(x, y) == 255 ? 1 : 0;
    }
  EXPECT_EQ(inside, 100 * 50);
  EXPECT_EQ(outside, 0);
  // The whole window again: nothing cut.
  windows.SetWindowRgn(f->hwnd, 0, false);
  raster::Bitmap whole = runtime::renderWindow(*f);
  EXPECT_EQ(whole.alpha(0, 0) + whole.alpha(whole.width() - 1, whole.height() - 1), 2 * 255);
}

// The project's own forms and the corpus: every form draws at its window's size, shows more
// than one colour unless there is nothing to show, and every caption's control is inside the
// picture.
TEST_F(Render, EveryFormDrawsAtItsWindowsSize) {
  for (const auto& file : formsToCheck()) {
    SCOPED_TRACE(file.string());
    auto lf = load(file);
    lf.form->call("Show");
    raster::Bitmap bm = runtime::renderWindow(*lf.form);
    EXPECT_NEAR(bm.width(), lf.form->width() / 15, 1);
    EXPECT_NEAR(bm.height(), lf.form->height() / 15, 1);
    int differing = 0;
    for (int y = 0; y < bm.height(); y += 3)
      for (int x = 0; x < bm.width(); x += 3) differing += bm.pixel(x, y) != bm.pixel(0, 0);
    // A borderless form with nothing on it is rightly one colour.
    if (!lf.form->controls().empty() || lf.form->get("BorderStyle").toLong() != 0) {
      EXPECT_GT(differing, 0);
    }
    lf.form->unload();
  }
  if (!haveCorpus()) GTEST_SKIP() << "only the examples were drawn: " << corpusMissing();
}

}  // namespace
