#pragma once
// The pixel surface under persistent drawing and pictures: an RGBA bitmap addressed in
// pixels, top row first. Colours use the classic 0x00BBGGRR layout (red in the low byte).

#include <cstdint>
#include <span>
#include <vector>

namespace rescalo::raster {

using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int red(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int green(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blue(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;

class Bitmap {
 public:
  Bitmap() = default;
  // Negative sizes give an empty bitmap.
  Bitmap(int width, int height, Color fill = kWhite, std::uint8_t alpha = 255);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Outside the bitmap a pixel reads as black with alpha 0 and writes are dropped, so
  // callers can draw partly off the surface without checking.
  Color pixel(int x, int y) const;
  std::uint8_t alpha(int x, int y) const;
  void setPixel(int x, int y, Color color, std::uint8_t alpha = 255);
  void fill(Color color, std::uint8_t alpha = 255);

  // Four bytes a pixel (R, G, B, A), rows top to bottom without padding.
  std::span<const std::uint8_t> rgba() const { return pixels_; }
  std::span<std::uint8_t> rgba() { return pixels_; }

  bool operator==(const Bitmap&) const = default;

 private:
  std::size_t offset(int x, int y) const {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)) *
           4;
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace rescalo::raster
