#include <rescalo/runtime/font.h>

#include <algorithm>
#include <cmath>

namespace rescalo::runtime {

namespace {
double gTwipsPerPixel = 15;
}

void Font::setTwipsPerPixel(double tpp) { gTwipsPerPixel = tpp; }

void Font::setSize(double points) {
  if (!(points > 0) || points > 2160) host::raise(host::kInvalidPropertyValue);
  double dpi = 1440.0 / gTwipsPerPixel;
  double pixels = std::max(1.0, std::nearbyint(points * dpi / 72.0));
  size_ = static_cast<float>(std::min(2160.0, pixels * 72.0 / dpi));
}

const host::MemberTable* Font::members() const {
  using host::Args;
  using host::Object;
  using host::self;
  using host::Variant;
  static const host::MemberTable table{
      {"Name", [](Object& o, Args) { return Variant(self<Font>(o).name()); },
       [](Object& o, Args, const Variant& v) { self<Font>(o).setName(v.toString()); }},
      {"Size", [](Object& o, Args) { return Variant(self<Font>(o).size()); },
       [](Object& o, Args, const Variant& v) { self<Font>(o).setSize(v.toDouble()); }},
      {"Bold", [](Object& o, Args) { return Variant(self<Font>(o).bold()); },
       [](Object& o, Args, const Variant& v) { self<Font>(o).setBold(v.toBool()); }},
      {"Weight",
       [](Object& o, Args) { return Variant(static_cast<std::int16_t>(self<Font>(o).weight())); },
       [](Object& o, Args, const Variant& v) { self<Font>(o).setWeight(v.toInteger()); }},
      {"Italic", [](Object& o, Args) { return Variant(self<Font>(o).italic); },
       [](Object& o, Args, const Variant& v) { self<Font>(o).italic = v.toBool(); }},
      {"Underline", [](Object& o, Args) { return Variant(self<Font>(o).underline); },
       [](Object& o, Args, const Variant& v) { self<Font>(o).underline = v.toBool(); }},
      {"Strikethrough", [](Object& o, Args) { return Variant(self<Font>(o).strikethrough); },
       [](Object& o, Args, const Variant& v) { self<Font>(o).strikethrough = v.toBool(); }},
      {"Charset",
       [](Object& o, Args) { return Variant(static_cast<std::int16_t>(self<Font>(o).charset)); },
       [](Object& o, Args, const Variant& v) { self<Font>(o).charset = v.toInteger(); }},
  };
  return &table;
}

}  // namespace rescalo::runtime
