#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "runtime/raster/draw.h"

namespace {

using namespace raster;

constexpr double kPi = std::numbers::pi;

int countColor(const Bitmap& bm, Color c) {
  int n = 0;
  for (int y = 0; y < bm.height(); ++y)
    for (int x = 0; x < bm.width(); ++x) n += bm.pixel(x, y) == c;
  return n;
}

// A background where every pixel differs, so raster operations cannot pass by luck.
Bitmap gradient(int w, int h) {
  Bitmap bm(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bm.setPixel(x, y, rgb(x * 7, y * 11, (x + y) * 3));
  return bm;
}

TEST(Lines, EndPointIsNotDrawn) {
  Bitmap bm(20, 20);
  drawLine(bm, 2, 5, 8, 5, Pen{kBlack});
  for (int x = 2; x < 8; ++x) EXPECT_EQ(bm.pixel(x, 5), kBlack) << x;
  EXPECT_EQ(bm.pixel(8, 5), kWhite);
  EXPECT_EQ(bm.pixel(1, 5), kWhite);
  EXPECT_EQ(countColor(bm, kBlack), 6);

  Bitmap diag(20, 20);
  drawLine(diag, 10, 10, 4, 4, Pen{kBlack});  // drawn backwards: (4,4) is the end
  for (int i = 5; i <= 10; ++i) EXPECT_EQ(diag.pixel(i, i), kBlack) << i;
  EXPECT_EQ(diag.pixel(4, 4), kWhite);
  EXPECT_EQ(countColor(diag, kBlack), 6);
}

TEST(Lines, ClippedAtTheBorders) {
  Bitmap bm(20, 10);
  drawLine(bm, -100, 3, 100, 3, Pen{kBlack});
  for (int x = 0; x < 20; ++x) EXPECT_EQ(bm.pixel(x, 3), kBlack) << x;
  EXPECT_EQ(countColor(bm, kBlack), 20);
  // Far-away coordinates stay cheap and draw only what is visible.
  drawLine(bm, -1e12, 7, 1e12, 7, Pen{kBlack});
  EXPECT_EQ(countColor(bm, kBlack), 40);
  drawCircle(bm, 5, 5, 1e9, Pen{kBlack});
  EXPECT_EQ(countColor(bm, kBlack), 40);
}

TEST(DrawModes, XorTwiceRestoresAndInvertIgnoresThePen) {
  const Bitmap original = gradient(40, 40);
  Bitmap bm = original;
  Pen pen{rgb(200, 100, 50), 1, vbXorPen};
  drawLine(bm, 0, 0, 39, 25, pen);
  drawBox(bm, 5, 5, 30, 20, pen);
  drawCircle(bm, 20, 20, 12, pen, -0.5, -2.5);
  EXPECT_EQ(bm.pixel(5, 5), original.pixel(5, 5) ^ pen.color);  // a box corner, hit once
  EXPECT_NE(bm, original);
  drawLine(bm, 0, 0, 39, 25, pen);
  drawBox(bm, 5, 5, 30, 20, pen);
  drawCircle(bm, 20, 20, 12, pen, -0.5, -2.5);
  EXPECT_EQ(bm, original);

  // Where a pie's radius lines meet each other and the arc, one call still xors once.
  bm = original;
  drawCircle(bm, 20, 20, 12, pen, -0.5, -2.5);
  EXPECT_EQ(bm.pixel(20, 20), original.pixel(20, 20) ^ pen.color);

  bm = original;
  drawLine(bm, 0, 10, 30, 10, Pen{rgb(1, 2, 3), 1, vbInvert});
  EXPECT_EQ(bm.pixel(12, 10), ~original.pixel(12, 10) & 0xFFFFFF);
}

TEST(DrawModes, EachModeCombinesPenAndDestination) {
  const Color dst = 0x00F0CC;
  const Color pen = 0x3355FF;
  struct Case {
    int mode;
    Color expected;
  } cases[] = {{vbBlackness, 0},
               {vbNotCopyPen, ~pen & 0xFFFFFF},
               {vbMaskPen, dst & pen},
               {vbMergePen, dst | pen},
               {vbNop, dst},
               {vbCopyPen, pen},
               {vbWhiteness, 0xFFFFFF},
               {vbMaskPenNot, pen & ~dst & 0xFFFFFF},
               {vbNotXorPen, ~(dst ^ pen) & 0xFFFFFF}};
  for (const Case& c : cases) {
    Bitmap bm(3, 1, dst);
    drawLine(bm, 0, 0, 3, 0, Pen{pen, 1, c.mode});
    EXPECT_EQ(bm.pixel(1, 0), c.expected) << "mode " << c.mode;
  }
}

TEST(DrawStyles, DashesSkipPixelsOnlyForThinPens) {
  Bitmap dashed(60, 5);
  drawLine(dashed, 0, 2, 60, 2, Pen{kBlack, 1, vbCopyPen, vbDash});
  EXPECT_EQ(dashed.pixel(0, 2), kBlack);
  EXPECT_EQ(dashed.pixel(17, 2), kBlack);
  EXPECT_EQ(dashed.pixel(18, 2), kWhite);  // the first gap
  EXPECT_EQ(dashed.pixel(24, 2), kBlack);  // the second dash
  EXPECT_LT(countColor(dashed, kBlack), 50);

  Bitmap dotted(12, 1);
  drawLine(dotted, 0, 0, 12, 0, Pen{kBlack, 1, vbCopyPen, vbDot});
  EXPECT_EQ(countColor(dotted, kBlack), 6);
  EXPECT_EQ(dotted.pixel(3, 0), kWhite);

  Bitmap wide(60, 9);
  drawLine(wide, 5, 4, 55, 4, Pen{kBlack, 2, vbCopyPen, vbDash});
  for (int x = 5; x <= 55; ++x) {
    bool covered = false;
    for (int y = 0; y < 9; ++y) covered |= wide.pixel(x, y) == kBlack;
    EXPECT_TRUE(covered) << x;
  }

  Bitmap none(10, 10);
  drawLine(none, 0, 0, 9, 9, Pen{kBlack, 3, vbCopyPen, vbInvisible});
  drawBox(none, 1, 1, 8, 8, Pen{kBlack, 1, vbCopyPen, vbInvisible});
  EXPECT_EQ(countColor(none, kWhite), 100);
}

TEST(Lines, ThickLineHasThePenWidth) {
  for (int width : {2, 3, 4}) {
    Bitmap bm(30, 30);
    drawLine(bm, 5, 15, 25, 15, Pen{kBlack, width});
    int rows = 0;
    for (int y = 0; y < 30; ++y) rows += bm.pixel(15, y) == kBlack;
    EXPECT_EQ(rows, width);
  }
}

TEST(Boxes, FilledBoxCoversExactlyItsPixels) {
  Bitmap bm(20, 20);
  fillBox(bm, 12, 9, 3, 4, kBlack);  // corners given in any order, both included
  EXPECT_EQ(countColor(bm, kBlack), 10 * 6);
  EXPECT_EQ(bm.pixel(3, 4), kBlack);
  EXPECT_EQ(bm.pixel(12, 9), kBlack);
  EXPECT_EQ(bm.pixel(2, 4), kWhite);
  EXPECT_EQ(bm.pixel(13, 9), kWhite);
  EXPECT_EQ(bm.pixel(3, 10), kWhite);
  fillBox(bm, -5, -5, 2, 1, kBlack);  // clipped
  EXPECT_EQ(countColor(bm, kBlack), 60 + 3 * 2);
}

TEST(Boxes, OutlineAndWidePens) {
  Bitmap bm(20, 20);
  drawBox(bm, 2, 3, 10, 8, Pen{kBlack});
  EXPECT_EQ(countColor(bm, kBlack), 2 * 9 + 2 * 4);
  EXPECT_EQ(bm.pixel(10, 8), kBlack);
  EXPECT_EQ(bm.pixel(5, 5), kWhite);

  Bitmap inside(20, 20);
  drawBox(inside, 4, 4, 15, 15, Pen{kBlack, 3, vbCopyPen, vbInsideSolid});
  EXPECT_EQ(inside.pixel(3, 4), kWhite);
  EXPECT_EQ(inside.pixel(4, 4), kBlack);
  EXPECT_EQ(inside.pixel(6, 10), kBlack);
  EXPECT_EQ(inside.pixel(7, 10), kWhite);

  Bitmap centred(20, 20);
  drawBox(centred, 4, 4, 15, 15, Pen{kBlack, 3});
  EXPECT_EQ(centred.pixel(3, 10), kBlack);
  EXPECT_EQ(centred.pixel(5, 10), kBlack);
  EXPECT_EQ(centred.pixel(2, 10), kWhite);
  EXPECT_EQ(centred.pixel(6, 10), kWhite);
}

TEST(Circles, PixelsLieOnTheRadius) {
  const double cx = 30, cy = 30, r = 20;
  Bitmap bm(61, 61);
  drawCircle(bm, cx, cy, r, Pen{kBlack});
  for (int y = 0; y < 61; ++y) {
    for (int x = 0; x < 61; ++x) {
      if (bm.pixel(x, y) == kBlack) {
        EXPECT_NEAR(std::hypot(x - cx, y - cy), r, 0.75) << x << "," << y;
      }
    }
  }
  for (int deg = 0; deg < 360; deg += 15) {
    const double a = deg * kPi / 180;
    const int x = static_cast<int>(std::lround(cx + r * std::cos(a)));
    const int y = static_cast<int>(std::lround(cy - r * std::sin(a)));
    bool near = false;  // the nearest pixel, or one next to it along the curve
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        near |= bm.pixel(x + dx, y + dy) == kBlack && std::abs(dx) + std::abs(dy) <= 1;
    EXPECT_TRUE(near) << deg;
  }
  // One pixel wide: about 2*pi*r/1.1 pixels, well under a doubled outline.
  const int n = countColor(bm, kBlack);
  EXPECT_GT(n, 100);
  EXPECT_LT(n, 130);
}

TEST(Circles, ArcsAndPies) {
  Bitmap arc(61, 61);
  drawCircle(arc, 30, 30, 20, Pen{kBlack}, 0.0, kPi / 2);  // upper-right quarter
  EXPECT_EQ(arc.pixel(50, 30), kBlack);
  EXPECT_EQ(arc.pixel(30, 10), kBlack);
  EXPECT_EQ(arc.pixel(10, 30), kWhite);
  EXPECT_EQ(arc.pixel(30, 50), kWhite);
  EXPECT_EQ(arc.pixel(40, 30), kWhite);  // no radius lines for positive angles

  Bitmap pie(61, 61);
  drawCircle(pie, 30, 30, 20, Pen{kBlack}, -kPi / 2, -kPi);  // upper-left quarter, closed
  for (int k = 1; k < 20; ++k) {
    EXPECT_EQ(pie.pixel(30, 30 - k), kBlack) << k;  // radius line up
    EXPECT_EQ(pie.pixel(30 - k, 30), kBlack) << k;  // radius line left
  }
  EXPECT_EQ(pie.pixel(40, 30), kWhite);
  EXPECT_EQ(pie.pixel(50, 30), kWhite);
  const int d = static_cast<int>(std::lround(20 / std::sqrt(2.0)));
  EXPECT_EQ(pie.pixel(30 - d, 30 - d), kBlack);  // the arc at 135 degrees

  Bitmap filled(61, 61);
  drawCircle(filled, 30, 30, 20, Pen{kBlack}, -kPi / 2, -kPi, 1.0, rgb(0, 0, 255));
  EXPECT_EQ(filled.pixel(25, 25), rgb(0, 0, 255));
  EXPECT_EQ(filled.pixel(35, 35), kWhite);
}

TEST(Circles, AspectSquashesTheShorterAxis) {
  Bitmap flat(61, 61);
  drawCircle(flat, 30, 30, 20, Pen{kBlack}, {}, {}, 0.5);
  EXPECT_EQ(flat.pixel(50, 30), kBlack);
  EXPECT_EQ(flat.pixel(30, 20), kBlack);
  EXPECT_EQ(flat.pixel(30, 10), kWhite);

  Bitmap tall(61, 61);
  drawCircle(tall, 30, 30, 20, Pen{kBlack}, {}, {}, 2.0);
  EXPECT_EQ(tall.pixel(30, 10), kBlack);
  EXPECT_EQ(tall.pixel(40, 30), kBlack);
  EXPECT_EQ(tall.pixel(50, 30), kWhite);
}

TEST(Circles, WidePenAndFill) {
  Bitmap bm(61, 61);
  drawCircle(bm, 30, 30, 20, Pen{kBlack, 5}, {}, {}, 1.0, rgb(255, 0, 0));
  for (int x = 48; x <= 52; ++x) EXPECT_EQ(bm.pixel(x, 30), kBlack) << x;
  EXPECT_EQ(bm.pixel(46, 30), rgb(255, 0, 0));
  EXPECT_EQ(bm.pixel(30, 30), rgb(255, 0, 0));
  EXPECT_EQ(bm.pixel(54, 30), kWhite);
  EXPECT_EQ(bm.pixel(2, 2), kWhite);
}

}  // namespace
