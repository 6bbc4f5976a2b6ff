#include <gtest/gtest.h>

#include "runtime/raster/paint.h"

namespace {

using namespace raster;

Bitmap numbered(int w, int h) {
  Bitmap bm(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bm.setPixel(x, y, rgb(10 + x * 20, 10 + y * 20, 99));
  return bm;
}

TEST(Stretch, ShrinkingAveragesTheCoveredPixels) {
  Bitmap checker(2, 2, kBlack);
  checker.setPixel(1, 0, kWhite);
  checker.setPixel(0, 1, kWhite);
  const Bitmap one = resample(checker, 1, 1);
  EXPECT_NEAR(red(one.pixel(0, 0)), 127.5, 1);  // nearest-pixel would give 0 or 255
  EXPECT_NEAR(blue(one.pixel(0, 0)), 127.5, 1);
  EXPECT_EQ(one.alpha(0, 0), 255);

  // Every covered pixel counts, not just the two nearest the centre.
  Bitmap stripes(3, 1, kWhite);
  stripes.setPixel(1, 0, kBlack);
  EXPECT_NEAR(red(resample(stripes, 1, 1).pixel(0, 0)), 170, 1);

  Bitmap dst(3, 3, rgb(0, 255, 0));
  paintPicture(dst, checker, 1, 1, 1, 1, 0, 0, 2, 2);
  EXPECT_NEAR(green(dst.pixel(1, 1)), 127.5, 1);
  EXPECT_EQ(dst.pixel(0, 0), rgb(0, 255, 0));
  EXPECT_EQ(dst.pixel(2, 2), rgb(0, 255, 0));
}

TEST(Stretch, EnlargingKeepsEdgesSmooth) {
  Bitmap edge(2, 1, kBlack);
  edge.setPixel(1, 0, kWhite);
  const Bitmap big = resample(edge, 8, 1);
  EXPECT_EQ(big.pixel(0, 0), kBlack);
  EXPECT_EQ(big.pixel(7, 0), kWhite);
  int between = 0;
  for (int x = 1; x < 8; ++x) {
    EXPECT_GE(red(big.pixel(x, 0)), red(big.pixel(x - 1, 0)));
    between += red(big.pixel(x, 0)) > 0 && red(big.pixel(x, 0)) < 255;
  }
  EXPECT_GE(between, 2);
}

TEST(Stretch, TransparentPixelsDoNotBleedTheirColour) {
  Bitmap src(2, 1);
  src.setPixel(0, 0, rgb(255, 0, 0));
  src.setPixel(1, 0, rgb(0, 0, 255), 0);
  const Bitmap half = resample(src, 1, 1);
  EXPECT_EQ(half.pixel(0, 0), rgb(255, 0, 0));
  EXPECT_NEAR(half.alpha(0, 0), 128, 1);
}

TEST(PaintPicture, SameSizeCopiesExactlyAndClips) {
  const Bitmap src = numbered(4, 4);
  Bitmap dst(6, 6, kWhite);
  paintPicture(dst, src, 1, 2, 4, 4, 0, 0, 4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.pixel(x + 1, y + 2), src.pixel(x, y));
  EXPECT_EQ(dst.pixel(0, 0), kWhite);
  EXPECT_EQ(dst.pixel(5, 1), kWhite);

  Bitmap corner(4, 4, kWhite);
  paintPicture(corner, src, -2, -1, 4, 4, 0, 0, 4, 4);
  EXPECT_EQ(corner.pixel(0, 0), src.pixel(2, 1));
  EXPECT_EQ(corner.pixel(1, 2), src.pixel(3, 3));
  EXPECT_EQ(corner.pixel(2, 0), kWhite);
  EXPECT_EQ(corner.pixel(0, 3), kWhite);

  Bitmap part(4, 4, kWhite);  // a source rectangle inside the picture
  paintPicture(part, src, 0, 0, 2, 2, 1, 2, 2, 2);
  EXPECT_EQ(part.pixel(0, 0), src.pixel(1, 2));
  EXPECT_EQ(part.pixel(1, 1), src.pixel(2, 3));
}

TEST(PaintPicture, NegativeSizesFlip) {
  const Bitmap src = numbered(4, 3);
  Bitmap mirrored(4, 3);
  paintPicture(mirrored, src, 4, 0, -4, 3, 0, 0, 4, 3);
  Bitmap upsideDown(4, 3);
  paintPicture(upsideDown, src, 0, 0, 4, 3, 0, 3, 4, -3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(mirrored.pixel(x, y), src.pixel(3 - x, y));
      EXPECT_EQ(upsideDown.pixel(x, y), src.pixel(x, 2 - y));
    }
  }
}

TEST(PaintPicture, AlphaIsCompositedForSourceCopy) {
  Bitmap src(2, 1, rgb(255, 0, 0), 128);
  src.setPixel(1, 0, rgb(0, 0, 255), 0);
  Bitmap dst(2, 1, kWhite);
  paintPicture(dst, src, 0, 0, 2, 1, 0, 0, 2, 1);
  EXPECT_EQ(red(dst.pixel(0, 0)), 255);
  EXPECT_NEAR(green(dst.pixel(0, 0)), 127, 1);
  EXPECT_EQ(dst.alpha(0, 0), 255);
  EXPECT_EQ(dst.pixel(1, 0), kWhite);  // fully transparent leaves the destination
}

TEST(PaintPicture, RasterOperations) {
  const Bitmap src(1, 1, 0x0F0F33);
  const Color under = 0x3C5A0F;
  const struct {
    std::uint32_t op;
    Color expected;
  } cases[] = {{SRCAND, under & 0x0F0F33},     {SRCPAINT, under | 0x0F0F33},
               {SRCINVERT, under ^ 0x0F0F33},  {NOTSRCCOPY, ~0x0F0F33u & 0xFFFFFF},
               {DSTINVERT, ~under & 0xFFFFFF}, {SRCERASE, 0x0F0F33 & ~under}};
  for (const auto& c : cases) {
    Bitmap dst(1, 1, under);
    paintPicture(dst, src, 0, 0, 1, 1, 0, 0, 1, 1, c.op);
    EXPECT_EQ(dst.pixel(0, 0), c.expected) << std::hex << c.op;
  }
}

}  // namespace
