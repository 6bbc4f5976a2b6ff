#include <rescalo/runtime/text.h>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

#include <rescalo/runtime/scale.h>

namespace rescalo::runtime {

namespace {

struct Library {
  FT_Library ft = nullptr;
  Library() {
    if (FT_Init_FreeType(&ft)) ft = nullptr;
  }
  ~Library() {
    if (ft) FT_Done_FreeType(ft);
  }
};

FT_Library library() {
  static Library lib;
  return lib.ft;
}

struct FaceDeleter {
  void operator()(FT_Face f) const { FT_Done_Face(f); }
};
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

std::string matchedString(FcPattern* p, const char* object) {
  FcChar8* s = nullptr;
  if (FcPatternGetString(p, object, 0, &s) != FcResultMatch || !s) return {};
  return reinterpret_cast<const char*>(s);
}

// The file and face index fontconfig picks for a family, weight and slant. The classic faces
// forms ask for (MS Sans Serif, Tahoma, Arial) are narrower than the usual substitutes, so a
// substitute is asked for in its semi-condensed width when the family has one.
bool findFace(const std::string& family, bool bold, bool italic, std::string& file, int& index) {
  if (!FcInit()) return false;
  auto match = [&](bool narrow, std::string& matchedFamily) {
    FcPattern* p = FcPatternCreate();
    FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(p, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(p, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    if (narrow) FcPatternAddInteger(p, FC_WIDTH, FC_WIDTH_SEMICONDENSED);
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result = FcResultNoMatch;
    FcPattern* m = FcFontMatch(nullptr, p, &result);
    FcPatternDestroy(p);
    if (!m) return false;
    file = matchedString(m, FC_FILE);
    matchedFamily = matchedString(m, FC_FAMILY);
    index = 0;
    FcPatternGetInteger(m, FC_INDEX, 0, &index);
    FcPatternDestroy(m);
    return !file.empty();
  };
  std::string matched;
  if (!match(false, matched)) return false;
  if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(matched.c_str()),
                         reinterpret_cast<const FcChar8*>(family.c_str())) == 0)
    return true;
  std::string wideFile = file;
  int wideIndex = index;
  if (!match(true, matched)) {
    file = wideFile;
    index = wideIndex;
  }
  return true;
}

int pixelSize(const Font& font) {
  return std::max(
      1, static_cast<int>(std::lround(font.size() * 1440.0 / 72.0 / ScaleState::twipsPerPixelY)));
}

// Faces opened once and kept, sized for one pixel size each.
FT_Face faceFor(const Font& font) {
  FT_Library lib = library();
  if (!lib) return nullptr;
  using Key = std::tuple<std::string, bool, bool, int>;
  static std::map<Key, FacePtr> faces;
  Key key{font.name(), font.bold(), font.italic, pixelSize(font)};
  auto it = faces.find(key);
  if (it != faces.end()) return it->second.get();
  FacePtr face;
  std::string file;
  int index = 0;
  if (findFace(font.name(), font.bold(), font.italic, file, index)) {
    FT_Face f = nullptr;
    if (!FT_New_Face(lib, file.c_str(), index, &f)) {
      face.reset(f);
      if (FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::get<3>(key)))) face.reset();
    }
  }
  return faces.emplace(key, std::move(face)).first->second.get();
}

// The code points of UTF-8 text; a byte that starts no well-formed sequence stands for itself.
std::vector<char32_t> decode(std::string_view s) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < s.size();) {
    auto b = static_cast<unsigned char>(s[i]);
    std::size_t extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t cp = b & (0x7F >> extra);
    bool ok = i + extra < s.size();
    for (std::size_t k = 1; ok && k <= extra; ++k) {
      auto c = static_cast<unsigned char>(s[i + k]);
      ok = (c & 0xC0) == 0x80;
      cp = (cp << 6) | (c & 0x3F);
    }
    out.push_back(ok ? cp : b);
    i += ok ? extra + 1 : 1;
  }
  return out;
}

int ceil26(FT_Pos v) { return static_cast<int>((v + 63) >> 6); }

// Source-over of `color` at `coverage` (0..255) onto one pixel.
void blend(raster::Bitmap& bm, int x, int y, raster::Color color, int coverage) {
  if (coverage <= 0 || !bm.contains(x, y)) return;
  double a = coverage / 255.0, da = bm.alpha(x, y) / 255.0;
  double outA = a + da * (1 - a);
  raster::Color d = bm.pixel(x, y);
  auto mix = [&](int s, int t) {
    return static_cast<int>(std::lround((s * a + t * da * (1 - a)) / outA));
  };
  bm.setPixel(x, y,
              raster::rgb(mix(raster::red(color), raster::red(d)),
                          mix(raster::green(color), raster::green(d)),
                          mix(raster::blue(color), raster::blue(d))),
              static_cast<std::uint8_t>(std::lround(outA * 255)));
}

// Walks the glyphs of a line: calls `glyph(slot, penX)` for each with the pen position, and
// returns the whole advance.
template <class F>
int walk(FT_Face face, std::string_view utf8, F&& glyph) {
  int pen = 0;
  FT_UInt previous = 0;
  bool kerning = FT_HAS_KERNING(face);
  for (char32_t cp : decode(utf8)) {
    FT_UInt gi = FT_Get_Char_Index(face, cp);
    if (kerning && previous && gi) {
      FT_Vector k;
      if (!FT_Get_Kerning(face, previous, gi, FT_KERNING_DEFAULT, &k))
        pen += static_cast<int>(k.x >> 6);
    }
    if (FT_Load_Glyph(face, gi, FT_LOAD_DEFAULT)) continue;
    glyph(face->glyph, pen);
    pen += static_cast<int>((face->glyph->advance.x + 32) >> 6);
    previous = gi;
  }
  return pen;
}

}  // namespace

bool haveFonts() {
  static const bool found = [] {
    Font probe;
    return faceFor(probe) != nullptr;
  }();
  return found;
}

TextMetrics measureText(const Font& font, std::string_view utf8) {
  FT_Face face = faceFor(font);
  if (!face) return {};
  TextMetrics m;
  m.ascent = ceil26(face->size->metrics.ascender);
  m.descent = ceil26(-face->size->metrics.descender);
  m.lineHeight = std::max(m.ascent + m.descent, ceil26(face->size->metrics.height));
  m.width = walk(face, utf8, [](FT_GlyphSlot, int) {});
  return m;
}

int drawText(raster::Bitmap& bm, int x, int y, const Font& font, std::string_view utf8,
             raster::Color color) {
  FT_Face face = faceFor(font);
  if (!face) return 0;
  int baseline = y + ceil26(face->size->metrics.ascender);
  int advance = walk(face, utf8, [&](FT_GlyphSlot slot, int pen) {
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL)) return;
    const FT_Bitmap& g = slot->bitmap;
    if (g.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    int gx = x + pen + slot->bitmap_left, gy = baseline - slot->bitmap_top;
    for (unsigned row = 0; row < g.rows; ++row)
      for (unsigned col = 0; col < g.width; ++col)
        blend(bm, gx + static_cast<int>(col), gy + static_cast<int>(row), color,
              g.buffer[row * static_cast<unsigned>(g.pitch) + col]);
  });
  int thickness = std::max(1, pixelSize(font) / 14);
  auto rule = [&](int top) {
    for (int yy = top; yy < top + thickness; ++yy)
      for (int xx = x; xx < x + advance; ++xx) blend(bm, xx, yy, color, 255);
  };
  if (font.underline) rule(baseline + 1);
  if (font.strikethrough) rule(baseline - ceil26(face->size->metrics.ascender) / 3);
  return advance;
}

std::vector<std::string> wrapText(const Font& font, std::string_view utf8, int width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    std::string_view para = utf8.substr(start, end == std::string_view::npos ? end : end - start);
    if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
    std::string line;
    std::size_t i = 0;
    while (i < para.size()) {
      std::size_t sp = para.find(' ', i);
      std::string_view word = para.substr(i, sp == std::string_view::npos ? sp : sp - i);
      std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
      if (!line.empty() && measureText(font, candidate).width > width) {
        lines.push_back(line);
        line = std::string(word);
      } else {
        line = candidate;
      }
      if (sp == std::string_view::npos) break;
      i = sp + 1;
    }
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string withoutAccessKeys(std::string_view caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

}  // namespace rescalo::runtime
