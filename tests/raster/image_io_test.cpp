#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Only the declarations: the implementation is compiled into the raster library.
#include <stb/stb_image_write.h>

#include "runtime/raster/frx.h"
#include "runtime/raster/image_io.h"

namespace {

using namespace raster;
using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

std::filesystem::path tempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("rescalo_raster_" + std::to_string(::getpid()) + "_" + name);
}

Bytes readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
  put32(b, 14 + 40 + 16);
  put32(b, 0);
  put32(b, 14 + 40);
  put32(b, 40);
  put32(b, 2);
  put32(b, 2);
  put16(b, 1);
  put16(b, 24);
  for (int i = 0; i < 6; ++i) put32(b, 0);
  // Bottom row: blue, white. Top row: red, green.
  b.insert(b.end(), {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0});
  b.insert(b.end(), {0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
  return b;
}

Bytes pngBytes(const Bitmap& bm) {
  Bytes out;
  stbi_write_png_to_func(
      [](void* ctx, void* data, int size) {
        auto* o = static_cast<Bytes*>(ctx);
        const auto* p = static_cast<const std::uint8_t*>(data);
        o->insert(o->end(), p, p + size);
      },
      &out, bm.width(), bm.height(), 4, bm.rgba().data(), bm.width() * 4);
  return out;
}

// An icon file holding one image.
Bytes icon(const Bytes& image, int w, int h) {
  Bytes b;
  put16(b, 0);
  put16(b, 1);
  put16(b, 1);
  b.push_back(static_cast<std::uint8_t>(w));
  b.push_back(static_cast<std::uint8_t>(h));
  b.insert(b.end(), {0, 0});
  put16(b, 1);
  put16(b, 32);
  put32(b, static_cast<std::uint32_t>(image.size()));
  put32(b, 6 + 16);
  b.insert(b.end(), image.begin(), image.end());
  return b;
}

// The DIB of a 2x2 icon image: colour rows, then the AND mask, both bottom-up.
Bytes iconDib(int bpp, const Bytes& colorRows, const Bytes& maskRows) {
  Bytes b;
  put32(b, 40);
  put32(b, 2);
  put32(b, 4);  // twice the height: colour plus mask
  put16(b, 1);
  put16(b, static_cast<std::uint32_t>(bpp));
  for (int i = 0; i < 6; ++i) put32(b, 0);
  b.insert(b.end(), colorRows.begin(), colorRows.end());
  b.insert(b.end(), maskRows.begin(), maskRows.end());
  return b;
}

TEST(ImageFiles, PngAndBmpWrittenByStbReadBack) {
  const Bitmap bm = sample();
  const auto png = tempFile("sample.png");
  ASSERT_TRUE(stbi_write_png(png.string().c_str(), 3, 2, 4, bm.rgba().data(), 12));
  const auto fromPng = loadImageFile(png);
  ASSERT_TRUE(fromPng);
  EXPECT_EQ(*fromPng, bm);

  const auto bmp = tempFile("sample.bmp");
  ASSERT_TRUE(stbi_write_bmp(bmp.string().c_str(), 3, 2, 4, bm.rgba().data()));
  const auto fromBmp = loadImageFile(bmp);
  ASSERT_TRUE(fromBmp);
  EXPECT_EQ(fromBmp->pixel(2, 0), rgb(0, 0, 255));
  EXPECT_EQ(fromBmp->pixel(0, 1), rgb(10, 20, 30));

  const auto ours = tempFile("ours.png");
  ASSERT_TRUE(writePng(bm, ours));
  EXPECT_EQ(decodeImage(readAll(ours)), bm);
  EXPECT_FALSE(writePng(Bitmap(), ours));
  for (const auto& p : {png, bmp, ours}) std::filesystem::remove(p);

  EXPECT_FALSE(loadImageFile(tempFile("missing.png")));
}

TEST(ImageFiles, BmpRowsAndChannelOrder) {
  const auto bm = decodeImage(handMadeBmp());
  ASSERT_TRUE(bm);
  ASSERT_EQ(bm->width(), 2);
  ASSERT_EQ(bm->height(), 2);
  EXPECT_EQ(bm->pixel(0, 0), rgb(255, 0, 0));
  EXPECT_EQ(bm->pixel(1, 0), rgb(0, 255, 0));
  EXPECT_EQ(bm->pixel(0, 1), rgb(0, 0, 255));
  EXPECT_EQ(bm->pixel(1, 1), kWhite);
}

TEST(ImageFiles, NotAnImage) {
  EXPECT_FALSE(decodeImage({}));
  const Bytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'};
  EXPECT_FALSE(decodeImage(text));
  Bytes cut = handMadeBmp();
  cut.resize(30);
  EXPECT_FALSE(decodeImage(cut));
}

TEST(ImageFiles, JpegDecodesAndCorruptTablesAreRefused) {
  const Bitmap solid(16, 16, rgb(220, 30, 40));
  Bytes jpg;
  stbi_write_jpg_to_func(
      [](void* ctx, void* data, int size) {
        auto* o = static_cast<Bytes*>(ctx);
        o->insert(o->end(), static_cast<std::uint8_t*>(data),
                  static_cast<std::uint8_t*>(data) + size);
      },
      &jpg, 16, 16, 4, solid.rgba().data(), 95);
  const auto decoded = decodeImage(jpg);
  ASSERT_TRUE(decoded);
  EXPECT_NEAR(red(decoded->pixel(8, 8)), 220, 8);
  EXPECT_NEAR(blue(decoded->pixel(8, 8)), 40, 8);

  // A Huffman table claiming 16 x 255 codes: more than a table can hold.
  Bytes bad = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 19, 0x00};
  for (int i = 0; i < 16; ++i) bad.push_back(0xFF);
  bad.insert(bad.end(), {0xFF, 0xD9});
  EXPECT_FALSE(decodeImage(bad));
}

TEST(Icons, PngInsideAnIcon) {
  const Bitmap bm = sample();
  const auto decoded = decodeImage(icon(pngBytes(bm), 3, 2));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, bm);
}

TEST(Icons, DibImagesUseTheirMaskOrAlpha) {
  // 24-bit: bottom row blue, white; top row red, green. The mask hides the top-right pixel.
  const Bytes rows24 = {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
  const Bytes mask = {0x00, 0, 0, 0, 0x40, 0, 0, 0};
  const auto masked = decodeImage(icon(iconDib(24, rows24, mask), 2, 2));
  ASSERT_TRUE(masked);
  EXPECT_EQ(masked->pixel(0, 0), rgb(255, 0, 0));
  EXPECT_EQ(masked->alpha(0, 0), 255);
  EXPECT_EQ(masked->alpha(1, 0), 0);
  EXPECT_EQ(masked->pixel(0, 1), rgb(0, 0, 255));
  EXPECT_EQ(masked->alpha(1, 1), 255);

  // 32-bit with alpha: the mask is ignored.
  const Bytes rows32 = {0, 0, 0xFF, 0xFF, 0, 0xFF, 0, 0x80, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  const Bytes fullMask = {0xC0, 0, 0, 0, 0xC0, 0, 0, 0};
  const auto alpha = decodeImage(icon(iconDib(32, rows32, fullMask), 2, 2));
  ASSERT_TRUE(alpha);
  EXPECT_EQ(alpha->pixel(0, 1), rgb(255, 0, 0));
  EXPECT_EQ(alpha->alpha(0, 1), 255);
  EXPECT_EQ(alpha->alpha(1, 1), 0x80);
  EXPECT_EQ(alpha->alpha(0, 0), 0);
  EXPECT_EQ(alpha->pixel(1, 0), kWhite);
}

// An .frx with a text entry first, so the picture sits at a non-zero offset.
Bytes frxWithPicture(const Bytes& image, std::uint32_t& pictureAt) {
  Bytes frx;
  const std::string caption = "A long caption";
  put32(frx, static_cast<std::uint32_t>(caption.size()));
  frx.insert(frx.end(), caption.begin(), caption.end());
  pictureAt = static_cast<std::uint32_t>(frx.size());
  put32(frx, static_cast<std::uint32_t>(image.size() + 8));
  frx.insert(frx.end(), {'l', 't', 0, 0});
  put32(frx, static_cast<std::uint32_t>(image.size()));
  frx.insert(frx.end(), image.begin(), image.end());
  return frx;
}

TEST(Frx, PictureEntries) {
  std::uint32_t at = 0;
  const Bytes frx = frxWithPicture(handMadeBmp(), at);
  const auto pic = readFrxPicture(frx, at);
  ASSERT_TRUE(pic);
  EXPECT_EQ(*pic, *decodeImage(handMadeBmp()));
  EXPECT_EQ(readFrxText(frx, 0), "A long caption");

  Bytes truncated = frx;
  truncated.resize(truncated.size() - 5);
  EXPECT_FALSE(readFrxPicture(truncated, at));
  EXPECT_FALSE(readFrxPicture(frx, at + 1));                                  // not an entry
  EXPECT_FALSE(readFrxPicture(frx, static_cast<std::uint32_t>(frx.size())));  // past the end
  EXPECT_FALSE(readFrxPicture(frx, 0xFFFFFFFF));

  Bytes empty;
  put32(empty, 8);
  empty.insert(empty.end(), {'l', 't', 0, 0});
  put32(empty, 0);
  EXPECT_FALSE(readFrxPicture(empty, 0));

  const auto ico = frxWithPicture(icon(pngBytes(sample()), 3, 2), at);
  EXPECT_EQ(readFrxPicture(ico, at), sample());
}

TEST(Frx, TextAndListEntries) {
  Bytes frx;
  put32(frx, 3);
  frx.insert(frx.end(), {'a', 'b', 'c'});
  EXPECT_EQ(readFrxText(frx, 0), "abc");
  frx.pop_back();
  EXPECT_FALSE(readFrxText(frx, 0));

  Bytes list;
  put16(list, 2);
  put16(list, 3);
  put16(list, 5);
  list.insert(list.end(), {'A', 'p', 'p', 'l', 'e'});
  put16(list, 0);
  const auto items = readFrxList(list, 0);
  ASSERT_TRUE(items);
  EXPECT_EQ(*items, (std::vector<std::string>{"Apple", ""}));
  list.resize(list.size() - 3);
  EXPECT_FALSE(readFrxList(list, 0));
}

}  // namespace
