#pragma once
// PaintPicture and picture resizing: copying one bitmap onto another through a raster
// operation, stretched with a real filter (area averaging when shrinking, bilinear when
// enlarging) so scaled pictures keep their tones and smooth edges.

#include <cstdint>

#include <rescalo/runtime/raster/bitmap.h>

namespace rescalo::raster {

// Raster operation codes (the classic opcode argument). Pattern-based codes see a black
// pattern: there is no brush here.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t SRCINVERT = 0x00660046;
constexpr std::uint32_t SRCERASE = 0x00440328;
constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
constexpr std::uint32_t DSTINVERT = 0x00550009;

// The colour a ternary raster operation gives for source `src` over `dst`.
Color rop3(std::uint32_t opcode, Color src, Color dst);

// Paints the source rectangle (sx, sy, sw, sh) of `src` into the destination rectangle
// (dx, dy, dw, dh) of `dst`, all in pixels. A rectangle spans from its corner to corner +
// size, so a negative size runs left or up and mirrors the picture when the two signs
// differ. The destination corners are rounded to whole pixels; the source may be
// fractional. Source alpha is composited over the destination for SRCCOPY; the other
// operations combine colours only and leave the touched pixels opaque.
void paintPicture(Bitmap& dst, const Bitmap& src, double dx, double dy, double dw, double dh,
                  double sx, double sy, double sw, double sh, std::uint32_t opcode = SRCCOPY);

// The whole picture scaled to width x height with the same filter, alpha kept.
Bitmap resample(const Bitmap& src, int width, int height);

}  // namespace rescalo::raster
