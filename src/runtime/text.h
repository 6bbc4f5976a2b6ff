#pragma once
// Text in a control's font: the face fontconfig finds for the font's name, weight and slant,
// rasterised by FreeType with grey-level anti-aliasing. Sizes follow the font's point size at
// the screen's resolution, as the runtime realises fonts.

#include <string>
#include <string_view>
#include <vector>

#include <rescalo/runtime/font.h>
#include <rescalo/runtime/raster/bitmap.h>

namespace rescalo::runtime {

// Whether fontconfig finds a face to draw with at all; without one nothing is drawn and every
// measure is zero.
bool haveFonts();

struct TextMetrics {
  int width = 0;       // advance of the whole line, pixels
  int ascent = 0;      // above the baseline
  int descent = 0;     // below it
  int lineHeight = 0;  // baseline to baseline
};

// A line of UTF-8 text in the font; the height figures are the face's, not the text's.
TextMetrics measureText(const Font& font, std::string_view utf8);

// Draws one line with its top-left corner at (x, y), blended over what is there (also over
// transparent pixels) and clipped to the bitmap. The font's underline and strikethrough are
// drawn too. Returns the advance in pixels.
int drawText(raster::Bitmap& bm, int x, int y, const Font& font, std::string_view utf8,
             raster::Color color);

// The text broken into lines no wider than `width` pixels, at spaces where possible, and at
// the line breaks it contains. A word wider than the width stands alone on its line.
std::vector<std::string> wrapText(const Font& font, std::string_view utf8, int width);

// A caption as shown: "&&" is an ampersand, a single "&" only marks the access key.
std::string withoutAccessKeys(std::string_view caption);

}  // namespace rescalo::runtime
