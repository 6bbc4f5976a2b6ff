#include <rescalo/runtime/raster/bitmap.h>

#include <algorithm>

namespace rescalo::raster {

Bitmap::Bitmap(int width, int height, Color fill, std::uint8_t alpha)
    : width_(width > 0 && height > 0 ? width : 0),
      height_(width > 0 && height > 0 ? height : 0),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4) {
  this->fill(fill, alpha);
}

Color Bitmap::pixel(int x, int y) const {
  if (!contains(x, y)) return 0;
  const std::uint8_t* p = &pixels_[offset(x, y)];
  return rgb(p[0], p[1], p[2]);
}

std::uint8_t Bitmap::alpha(int x, int y) const {
  return contains(x, y) ? pixels_[offset(x, y) + 3] : std::uint8_t{0};
}

void Bitmap::setPixel(int x, int y, Color color, std::uint8_t alpha) {
  if (!contains(x, y)) return;
  std::uint8_t* p = &pixels_[offset(x, y)];
  p[0] = static_cast<std::uint8_t>(red(color));
  p[1] = static_cast<std::uint8_t>(green(color));
  p[2] = static_cast<std::uint8_t>(blue(color));
  p[3] = alpha;
}

void Bitmap::fill(Color color, std::uint8_t alpha) {
  const std::uint8_t px[4] = {static_cast<std::uint8_t>(red(color)),
                              static_cast<std::uint8_t>(green(color)),
                              static_cast<std::uint8_t>(blue(color)), alpha};
  for (std::size_t i = 0; i < pixels_.size(); i += 4) std::copy(px, px + 4, &pixels_[i]);
}

}  // namespace rescalo::raster
