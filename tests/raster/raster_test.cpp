// The raster library: drawing in pixels (lines, boxes, circles with their modes and styles),
// painting pictures (stretching, flipping, clipping, alpha and raster operations), image files
// and .frx entries.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

// Only the declarations: the implementation is compiled into the raster library.
#include <stb/stb_image_write.h>

#include <rescalo/runtime/raster/draw.h>
#include <rescalo/runtime/raster/frx.h>
#include <rescalo/runtime/raster/image_io.h>
#include <rescalo/runtime/raster/paint.h>

using namespace rescalo;

namespace {

using namespace raster;
using Colors = std::vector<Color>;

constexpr double kPi = std::numbers::pi;

int countColor(const Bitmap& bm, Color c) {
  int n = 0;
  for (int y = 0; y < bm.height(); ++y)
    for (int x = 0; x < bm.width(); ++x) n += bm.pixel(x, y) == c;
  return n;
}

// The colours of the given pixels, to compare several at once.
Colors at(const Bitmap& bm, std::initializer_list<std::pair<int, int>> points) {
  Colors out;
  for (auto [x, y] : points) out.push_back(bm.pixel(x, y));
  return out;
}

// A picture where every pixel differs, so that raster operations and copies cannot pass by
// luck.
Bitmap gradient(int w, int h) {
  Bitmap bm(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bm.setPixel(x, y, rgb(x * 7, y * 11, (x + y) * 3));
  return bm;
}

TEST(Lines, EndPointIsNotDrawnThickLinesHaveThePenWidthAndAllIsClipped) {
  Bitmap bm(20, 20);
  drawLine(bm, 2, 5, 8, 5, Pen{kBlack});
  for (int x = 2; x < 8; ++x) EXPECT_EQ(bm.pixel(x, 5), kBlack) << x;
  EXPECT_EQ(countColor(bm, kWhite), 20 * 20 - 6);  // (8, 5) among them

  Bitmap diag(20, 20);
  drawLine(diag, 10, 10, 4, 4, Pen{kBlack});  // drawn backwards: (4,4) is the end
  for (int i = 5; i <= 10; ++i) EXPECT_EQ(diag.pixel(i, i), kBlack) << i;
  EXPECT_EQ(countColor(diag, kBlack), 6);

  for (int width : {2, 3, 4}) {
    Bitmap thick(30, 30);
    drawLine(thick, 5, 15, 25, 15, Pen{kBlack, width});
    int rows = 0;
    for (int y = 0; y < 30; ++y) rows += thick.pixel(15, y) == kBlack;
    EXPECT_EQ(rows, width);
  }

  Bitmap clipped(20, 10);
  drawLine(clipped, -100, 3, 100, 3, Pen{kBlack});
  for (int x = 0; x < 20; ++x) EXPECT_EQ(clipped.pixel(x, 3), kBlack) << x;
  EXPECT_EQ(countColor(clipped, kBlack), 20);
  // Far-away coordinates stay cheap and draw only what is visible.
  drawLine(clipped, -1e12, 7, 1e12, 7, Pen{kBlack});
  EXPECT_EQ(countColor(clipped, kBlack), 40);
  drawCircle(clipped, 5, 5, 1e9, Pen{kBlack});
  EXPECT_EQ(countColor(clipped, kBlack), 40);
}

TEST(DrawModes, XorTwiceRestoresAndInvertIgnoresThePen) {
  const Bitmap original = gradient(40, 40);
  Bitmap bm = original;
  Pen pen{rgb(200, 100, 50), 1, vbXorPen};
  auto drawAll = [&] {
    drawLine(bm, 0, 0, 39, 25, pen);
    drawBox(bm, 5, 5, 30, 20, pen);
    drawCircle(bm, 20, 20, 12, pen, -0.5, -2.5);
  };
  drawAll();
  EXPECT_EQ(bm.pixel(5, 5), original.pixel(5, 5) ^ pen.color);  // a box corner, hit once
  drawAll();
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
  Colors drawn;
  for (int mode : {vbBlackness, vbNotCopyPen, vbMaskPen, vbMergePen, vbNop, vbCopyPen, vbWhiteness,
                   vbMaskPenNot, vbNotXorPen}) {
    Bitmap bm(3, 1, dst);
    drawLine(bm, 0, 0, 3, 0, Pen{pen, 1, mode});
    drawn.push_back(bm.pixel(1, 0));
  }
  EXPECT_EQ(drawn, (Colors{0, ~pen & 0xFFFFFF, dst & pen, dst | pen, dst, pen, 0xFFFFFF,
                           pen & ~dst & 0xFFFFFF, ~(dst ^ pen) & 0xFFFFFF}));
}

TEST(DrawStyles, DashesSkipPixelsOnlyForThinPens) {
  Bitmap dashed(60, 5);
  drawLine(dashed, 0, 2, 60, 2, Pen{kBlack, 1, vbCopyPen, vbDash});
  // The first dash, the first gap, the second dash.
  EXPECT_EQ(at(dashed, {{0, 2}, {17, 2}, {18, 2}, {24, 2}}),
            (Colors{kBlack, kBlack, kWhite, kBlack}));
  EXPECT_LT(countColor(dashed, kBlack), 50);

  Bitmap wide(60, 9);  // solid: a wide pen has no dashes
  drawLine(wide, 5, 4, 55, 4, Pen{kBlack, 2, vbCopyPen, vbDash});
  for (int x = 5; x <= 55; ++x)
    EXPECT_TRUE(wide.pixel(x, 3) == kBlack || wide.pixel(x, 4) == kBlack) << x;

  Bitmap none(10, 10);
  drawLine(none, 0, 0, 9, 9, Pen{kBlack, 3, vbCopyPen, vbInvisible});
  drawBox(none, 1, 1, 8, 8, Pen{kBlack, 1, vbCopyPen, vbInvisible});
  EXPECT_EQ(countColor(none, kWhite), 100);
}

TEST(Boxes, FilledBoxesCoverExactlyTheirPixelsAndOutlinesTheirPenWidth) {
  Bitmap bm(20, 20);
  fillBox(bm, 12, 9, 3, 4, kBlack);  // corners given in any order, both included
  EXPECT_EQ(countColor(bm, kBlack), 10 * 6);
  EXPECT_EQ(at(bm, {{3, 4}, {12, 9}, {2, 4}, {13, 9}, {3, 10}}),
            (Colors{kBlack, kBlack, kWhite, kWhite, kWhite}));
  fillBox(bm, -5, -5, 2, 1, kBlack);  // clipped
  EXPECT_EQ(countColor(bm, kBlack), 60 + 3 * 2);

  Bitmap outline(20, 20);
  drawBox(outline, 2, 3, 10, 8, Pen{kBlack});
  EXPECT_EQ(countColor(outline, kBlack), 2 * 9 + 2 * 4);
  EXPECT_EQ(at(outline, {{10, 8}, {5, 5}}), (Colors{kBlack, kWhite}));

  Bitmap inside(20, 20);
  drawBox(inside, 4, 4, 15, 15, Pen{kBlack, 3, vbCopyPen, vbInsideSolid});
  EXPECT_EQ(at(inside, {{3, 4}, {4, 4}, {6, 10}, {7, 10}}),
            (Colors{kWhite, kBlack, kBlack, kWhite}));
}

TEST(Circles, ArcsPiesAspectAndWidePens) {
  // A whole circle one pixel wide and closed: about 2*pi*r/1.1 pixels, under a doubled outline.
  Bitmap full(61, 61);
  drawCircle(full, 30, 30, 20, Pen{kBlack});
  EXPECT_GT(countColor(full, kBlack), 100);
  EXPECT_LT(countColor(full, kBlack), 130);

  Bitmap arc(61, 61);
  drawCircle(arc, 30, 30, 20, Pen{kBlack}, 0.0, kPi / 2);  // upper-right quarter
  // No radius lines for positive angles: (40, 30) stays white.
  EXPECT_EQ(at(arc, {{50, 30}, {30, 10}, {10, 30}, {30, 50}, {40, 30}}),
            (Colors{kBlack, kBlack, kWhite, kWhite, kWhite}));

  Bitmap pie(61, 61);
  drawCircle(pie, 30, 30, 20, Pen{kBlack}, -kPi / 2, -kPi);  // upper-left quarter, closed
  for (int k = 1; k < 20; ++k) {
    EXPECT_EQ(pie.pixel(30, 30 - k), kBlack) << k;  // radius line up
    EXPECT_EQ(pie.pixel(30 - k, 30), kBlack) << k;  // radius line left
  }
  const int d = static_cast<int>(std::lround(20 / std::sqrt(2.0)));  // the arc at 135 degrees
  EXPECT_EQ(at(pie, {{40, 30}, {50, 30}, {30 - d, 30 - d}}), (Colors{kWhite, kWhite, kBlack}));

  Bitmap filled(61, 61);
  drawCircle(filled, 30, 30, 20, Pen{kBlack}, -kPi / 2, -kPi, 1.0, rgb(0, 0, 255));
  EXPECT_EQ(at(filled, {{25, 25}, {35, 35}}), (Colors{rgb(0, 0, 255), kWhite}));

  Bitmap flat(61, 61);
  drawCircle(flat, 30, 30, 20, Pen{kBlack}, {}, {}, 0.5);
  EXPECT_EQ(at(flat, {{50, 30}, {30, 20}, {30, 10}}), (Colors{kBlack, kBlack, kWhite}));

  Bitmap bm(61, 61);
  drawCircle(bm, 30, 30, 20, Pen{kBlack, 5}, {}, {}, 1.0, rgb(255, 0, 0));
  for (int x = 48; x <= 52; ++x) EXPECT_EQ(bm.pixel(x, 30), kBlack) << x;
  EXPECT_EQ(at(bm, {{46, 30}, {30, 30}, {54, 30}, {2, 2}}),
            (Colors{rgb(255, 0, 0), rgb(255, 0, 0), kWhite, kWhite}));
}

TEST(Stretch, ShrinkingAveragesTheCoveredPixels) {
  Bitmap checker(2, 2, kBlack);
  checker.setPixel(1, 0, kWhite);
  checker.setPixel(0, 1, kWhite);
  const Bitmap one = resample(checker, 1, 1);
  EXPECT_NEAR(red(one.pixel(0, 0)), 127.5, 1);  // nearest-pixel would give 0 or 255
  EXPECT_EQ(one.alpha(0, 0), 255);

  // Every covered pixel counts, not just the two nearest the centre.
  Bitmap stripes(3, 1, kWhite);
  stripes.setPixel(1, 0, kBlack);
  EXPECT_NEAR(red(resample(stripes, 1, 1).pixel(0, 0)), 170, 1);

  Bitmap dst(3, 3, rgb(0, 255, 0));
  paintPicture(dst, checker, 1, 1, 1, 1, 0, 0, 2, 2);
  EXPECT_NEAR(green(dst.pixel(1, 1)), 127.5, 1);
  EXPECT_EQ(at(dst, {{0, 0}, {2, 2}}), (Colors{rgb(0, 255, 0), rgb(0, 255, 0)}));

  // Transparent pixels do not bleed their colour.
  Bitmap src(2, 1);
  src.setPixel(0, 0, rgb(255, 0, 0));
  src.setPixel(1, 0, rgb(0, 0, 255), 0);
  const Bitmap half = resample(src, 1, 1);
  EXPECT_EQ(half.pixel(0, 0), rgb(255, 0, 0));
  EXPECT_NEAR(half.alpha(0, 0), 128, 1);
}

TEST(Stretch, EnlargingKeepsEdgesSmooth) {
  Bitmap edge(2, 1, kBlack);
  edge.setPixel(1, 0, kWhite);
  const Bitmap big = resample(edge, 8, 1);
  EXPECT_EQ(at(big, {{0, 0}, {7, 0}}), (Colors{kBlack, kWhite}));
  int between = 0;
  for (int x = 1; x < 8; ++x) {
    EXPECT_GE(red(big.pixel(x, 0)), red(big.pixel(x - 1, 0)));
    between += red(big.pixel(x, 0)) > 0 && red(big.pixel(x, 0)) < 255;
  }
  EXPECT_GE(between, 2);
}

TEST(PaintPicture, SameSizeCopiesExactlyAndClips) {
  const Bitmap src = gradient(4, 4);
  Bitmap dst(6, 6, kWhite);
  paintPicture(dst, src, 1, 2, 4, 4, 0, 0, 4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.pixel(x + 1, y + 2), src.pixel(x, y));
  EXPECT_EQ(at(dst, {{0, 0}, {5, 1}}), (Colors{kWhite, kWhite}));

  Bitmap corner(4, 4, kWhite);
  paintPicture(corner, src, -2, -1, 4, 4, 0, 0, 4, 4);
  EXPECT_EQ(at(corner, {{0, 0}, {1, 2}, {2, 0}, {0, 3}}),
            (Colors{src.pixel(2, 1), src.pixel(3, 3), kWhite, kWhite}));

  Bitmap part(4, 4, kWhite);  // a source rectangle inside the picture
  paintPicture(part, src, 0, 0, 2, 2, 1, 2, 2, 2);
  EXPECT_EQ(at(part, {{0, 0}, {1, 1}}), at(src, {{1, 2}, {2, 3}}));
}

TEST(PaintPicture, NegativeSizesFlip) {
  const Bitmap src = gradient(4, 3);
  Bitmap mirrored(4, 3);
  paintPicture(mirrored, src, 4, 0, -4, 3, 0, 0, 4, 3);
  Bitmap upsideDown(4, 3);
  paintPicture(upsideDown, src, 0, 0, 4, 3, 0, 3, 4, -3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(mirrored.pixel(x, y), src.pixel(3 - x, y));
      EXPECT_EQ(upsideDown.pixel(x, y), src.pixel(x, 2 - y));
    }
}

TEST(PaintPicture, RasterOperationsCombineAndSourceCopyCompositesAlpha) {
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

  Bitmap half(2, 1, rgb(255, 0, 0), 128);
  half.setPixel(1, 0, rgb(0, 0, 255), 0);
  Bitmap dst(2, 1, kWhite);
  paintPicture(dst, half, 0, 0, 2, 1, 0, 0, 2, 1);
  EXPECT_EQ(red(dst.pixel(0, 0)), 255);
  EXPECT_NEAR(green(dst.pixel(0, 0)), 127, 1);
  EXPECT_EQ(dst.alpha(0, 0), 255);
  EXPECT_EQ(dst.pixel(1, 0), kWhite);  // fully transparent leaves the destination
}

using Bytes = std::vector<std::uint8_t>;

// Appends each value as a little-endian field of `size` bytes.
void put(Bytes& b, int size, std::initializer_list<std::size_t> values) {
  for (std::size_t v : values)
    for (int i = 0; i < size; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::filesystem::path tempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("rescalo_raster_" + std::to_string(::getpid()) + "_" + name);
}

// A 3x2 picture with a distinct colour in every pixel.
Bitmap sample() {
  Bitmap bm(3, 2);
  bm.setPixel(0, 0, rgb(255, 0, 0));
  bm.setPixel(1, 0, rgb(0, 255, 0));
  bm.setPixel(2, 0, rgb(0, 0, 255));
  bm.setPixel(0, 1, rgb(10, 20, 30));
  bm.setPixel(1, 1, rgb(200, 100, 50), 77);
  bm.setPixel(2, 1, kBlack);
  return bm;
}

// A 2x2 24-bit BMP by hand: rows bottom-up, blue-green-red, rows padded to 4 bytes.
Bytes handMadeBmp() {
  Bytes b = {'B', 'M'};
  put(b, 4, {14 + 40 + 16, 0, 14 + 40, 40, 2, 2});
  put(b, 2, {1, 24});
  put(b, 4, {0, 0, 0, 0, 0, 0});
  // Bottom row: blue, white. Top row: red, green.
  b.insert(b.end(), {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
  return b;
}

void appendTo(void* bytes, void* data, int size) {
  auto* p = static_cast<const std::uint8_t*>(data);
  static_cast<Bytes*>(bytes)->insert(static_cast<Bytes*>(bytes)->end(), p, p + size);
}

// An icon file holding one image.
Bytes icon(const Bytes& image, int w, int h) {
  Bytes b;
  put(b, 2, {0, 1, 1});
  put(b, 1, {static_cast<std::size_t>(w), static_cast<std::size_t>(h), 0, 0});
  put(b, 2, {1, 32});
  put(b, 4, {image.size(), 6 + 16});
  b.insert(b.end(), image.begin(), image.end());
  return b;
}

// The DIB of a 2x2 icon image: colour rows, then the AND mask, both bottom-up; twice the
// height, for colour plus mask.
Bytes iconDib(int bpp, const Bytes& colorRows, const Bytes& maskRows) {
  Bytes b;
  put(b, 4, {40, 2, 4});
  put(b, 2, {1, static_cast<std::size_t>(bpp)});
  put(b, 4, {0, 0, 0, 0, 0, 0});
  b.insert(b.end(), colorRows.begin(), colorRows.end());
  b.insert(b.end(), maskRows.begin(), maskRows.end());
  return b;
}

TEST(ImageFiles, PngWrittenByStbOrUsReadsBack) {
  const Bitmap bm = sample();
  const auto png = tempFile("sample.png");
  ASSERT_TRUE(stbi_write_png(png.string().c_str(), 3, 2, 4, bm.rgba().data(), 12));
  EXPECT_EQ(loadImageFile(png), bm);

  const auto ours = tempFile("ours.png");
  ASSERT_TRUE(writePng(bm, ours));
  EXPECT_EQ(loadImageFile(ours), bm);
  EXPECT_FALSE(writePng(Bitmap(), ours));
  for (const auto& p : {png, ours}) std::filesystem::remove(p);

  EXPECT_FALSE(loadImageFile(tempFile("missing.png")));
}

TEST(ImageFiles, BmpRowsChannelOrderAndWhatIsNoImage) {
  const auto bm = decodeImage(handMadeBmp());
  ASSERT_TRUE(bm);
  ASSERT_EQ((std::vector<int>{bm->width(), bm->height()}), (std::vector<int>{2, 2}));
  EXPECT_EQ(at(*bm, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}),
            (Colors{rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), kWhite}));

  EXPECT_FALSE(decodeImage({}));
  EXPECT_FALSE(decodeImage(Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}));
  Bytes cut = handMadeBmp();
  cut.resize(30);
  EXPECT_FALSE(decodeImage(cut));
}

TEST(ImageFiles, JpegDecodesAndCorruptTablesAreRefused) {
  const Bitmap solid(16, 16, rgb(220, 30, 40));
  Bytes jpg;
  stbi_write_jpg_to_func(appendTo, &jpg, 16, 16, 4, solid.rgba().data(), 95);
  const auto decoded = decodeImage(jpg);
  ASSERT_TRUE(decoded);
  EXPECT_NEAR(red(decoded->pixel(8, 8)), 220, 8);
  EXPECT_NEAR(blue(decoded->pixel(8, 8)), 40, 8);

  // A Huffman table claiming 16 x 255 codes: more than a table can hold.
  Bytes bad = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 19, 0x00};
  bad.insert(bad.end(), 16, 0xFF);
  bad.insert(bad.end(), {0xFF, 0xD9});
  EXPECT_FALSE(decodeImage(bad));
}

TEST(Icons, PngOrDibImagesWithTheirMaskOrAlpha) {
  EXPECT_EQ(decodeImage(icon(encodePng(sample()), 3, 2)), sample());

  // 24-bit: bottom row blue, white; top row red, green. The mask hides the top-right pixel.
  const Bytes rows24 = {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
  const Bytes mask = {0x00, 0, 0, 0, 0x40, 0, 0, 0};
  const auto masked = decodeImage(icon(iconDib(24, rows24, mask), 2, 2));
  ASSERT_TRUE(masked);
  EXPECT_EQ(at(*masked, {{0, 0}, {0, 1}}), (Colors{rgb(255, 0, 0), rgb(0, 0, 255)}));
  EXPECT_EQ((std::vector<int>{masked->alpha(0, 0), masked->alpha(1, 0), masked->alpha(1, 1)}),
            (std::vector<int>{255, 0, 255}));

  // 32-bit with alpha: the mask is ignored.
  const Bytes rows32 = {0, 0, 0xFF, 0xFF, 0, 0xFF, 0, 0x80, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  const Bytes fullMask = {0xC0, 0, 0, 0, 0xC0, 0, 0, 0};
  const auto alpha = decodeImage(icon(iconDib(32, rows32, fullMask), 2, 2));
  ASSERT_TRUE(alpha);
  EXPECT_EQ(at(*alpha, {{0, 1}, {1, 0}}), (Colors{rgb(255, 0, 0), kWhite}));
  EXPECT_EQ((std::vector<int>{alpha->alpha(0, 1), alpha->alpha(1, 1), alpha->alpha(0, 0)}),
            (std::vector<int>{255, 0x80, 0}));
}

// An .frx with a text entry first, so the picture sits at a non-zero offset.
Bytes frxWithPicture(const Bytes& image, std::uint32_t& pictureAt) {
  const std::string caption = "A long caption";
  Bytes frx;
  put(frx, 4, {caption.size()});
  frx.insert(frx.end(), caption.begin(), caption.end());
  pictureAt = static_cast<std::uint32_t>(frx.size());
  put(frx, 4, {image.size() + 8, 0x746C, image.size()});  // size, "lt\0\0", image size
  frx.insert(frx.end(), image.begin(), image.end());
  return frx;
}

TEST(Frx, PictureAndTextEntries) {
  std::uint32_t at = 0;
  const Bytes frx = frxWithPicture(handMadeBmp(), at);
  EXPECT_EQ(readFrxPicture(frx, at), decodeImage(handMadeBmp()));
  EXPECT_EQ(readFrxText(frx, 0), "A long caption");
  EXPECT_FALSE(readFrxText(Bytes(frx.begin(), frx.begin() + 10), 0));  // the caption cut short

  Bytes truncated = frx;
  truncated.resize(truncated.size() - 5);
  EXPECT_FALSE(readFrxPicture(truncated, at));
  EXPECT_FALSE(readFrxPicture(frx, at + 1));                                  // not an entry
  EXPECT_FALSE(readFrxPicture(frx, static_cast<std::uint32_t>(frx.size())));  // past the end
  EXPECT_FALSE(readFrxPicture(frx, 0xFFFFFFFF));
  const Bytes empty = frxWithPicture({}, at);
  EXPECT_FALSE(readFrxPicture(empty, at));

  const auto ico = frxWithPicture(icon(encodePng(sample()), 3, 2), at);
  EXPECT_EQ(readFrxPicture(ico, at), sample());
}

}  // namespace
