#pragma once
// The drawing members every host's forms and picture boxes share, written once against the
// host's drawing surface. A surface type S has:
//   the drawing state, as a DrawingState;
//   scaleMode() and convertScale(value, fromMode, toMode, xAxis);
//   line, circle, cls, refresh, point and paintPicture in its scale units;
//   static sourceOf(picture): what PaintPicture draws from, or null for no picture.
// `surf` finds the surface behind the object a member is called on.

#include <cstdint>
#include <optional>
#include <string>

#include <rescalo/host/error.h>
#include <rescalo/host/name.h>
#include <rescalo/host/object.h>
#include <rescalo/host/variant.h>

namespace rescalo::host {

// The drawing state every host's surface keeps, with the classic defaults.
struct DrawingState {
  bool autoRedraw = false;
  int drawWidth = 1;
  int drawMode = 13;  // copy the pen
  int drawStyle = 0;
  int fillStyle = 1;  // transparent
  std::uint32_t fillColor = 0;
  std::uint32_t foreColor = 0;
  double currentX = 0, currentY = 0;
};

namespace drawing {

inline std::optional<double> optArg(Args a, std::size_t i) {
  if (a.size() <= i || a[i].isEmpty()) return std::nullopt;
  return a[i].toDouble();
}
inline Variant color(std::uint32_t c) { return Variant(static_cast<std::int32_t>(c)); }
inline std::uint32_t toColor(const Variant& v) { return static_cast<std::uint32_t>(v.toLong()); }
inline std::optional<std::uint32_t> optColor(Args a, std::size_t i) {
  if (a.size() <= i || a[i].isEmpty()) return std::nullopt;
  return toColor(a[i]);
}
inline Variant int16(int v) { return Variant(static_cast<std::int16_t>(v)); }
inline int inRange(const Variant& v, int lo, int hi) {
  const int n = v.toInteger();
  if (n < lo || n > hi) raise(kInvalidPropertyValue);
  return n;
}

// ScaleX value[, from[, to]]: from HIMETRIC (a picture's unit) to the surface's own mode when
// omitted.
template <class S>
Variant scaleAxis(S& s, Args a, bool xAxis) {
  expectArgs(a, 1, 3);
  const int from = a.size() > 1 && !a[1].isEmpty() ? a[1].toInteger() : 8;
  const int to = a.size() > 2 && !a[2].isEmpty() ? a[2].toInteger() : s.scaleMode();
  return single(s.convertScale(a[0].toDouble(), from, to, xAxis));
}

}  // namespace drawing

template <class S, S& (*surf)(Object&)>
const MemberTable& drawingMembers() {
  using namespace drawing;
  static const MemberTable table{
      {"ScaleX", nullptr, nullptr, [](Object& o, Args a) { return scaleAxis(surf(o), a, true); }},
      {"ScaleY", nullptr, nullptr, [](Object& o, Args a) { return scaleAxis(surf(o), a, false); }},
      {"AutoRedraw", [](Object& o, Args) { return Variant(surf(o).autoRedraw); },
       [](Object& o, Args, const Variant& v) { surf(o).autoRedraw = v.toBool(); }},
      {"DrawWidth", [](Object& o, Args) { return int16(surf(o).drawWidth); },
       [](Object& o, Args, const Variant& v) { surf(o).drawWidth = inRange(v, 1, 32767); }},
      {"DrawMode", [](Object& o, Args) { return int16(surf(o).drawMode); },
       [](Object& o, Args, const Variant& v) { surf(o).drawMode = inRange(v, 1, 16); }},
      {"DrawStyle", [](Object& o, Args) { return int16(surf(o).drawStyle); },
       [](Object& o, Args, const Variant& v) { surf(o).drawStyle = inRange(v, 0, 6); }},
      {"FillStyle", [](Object& o, Args) { return int16(surf(o).fillStyle); },
       [](Object& o, Args, const Variant& v) { surf(o).fillStyle = inRange(v, 0, 7); }},
      {"FillColor", [](Object& o, Args) { return color(surf(o).fillColor); },
       [](Object& o, Args, const Variant& v) { surf(o).fillColor = toColor(v); }},
      {"ForeColor", [](Object& o, Args) { return color(surf(o).foreColor); },
       [](Object& o, Args, const Variant& v) { surf(o).foreColor = toColor(v); }},
      {"CurrentX", [](Object& o, Args) { return single(surf(o).currentX); },
       [](Object& o, Args, const Variant& v) { surf(o).currentX = v.toDouble(); }},
      {"CurrentY", [](Object& o, Args) { return single(surf(o).currentY); },
       [](Object& o, Args, const Variant& v) { surf(o).currentY = v.toDouble(); }},
      // Line x1, y1, x2, y2[, color[, "B" | "BF"]]
      {"Line", nullptr, nullptr,
       [](Object& o, Args a) {
         expectArgs(a, 4, 6);
         const std::string flags = a.size() > 5 ? a[5].toString() : std::string();
         const bool box = !flags.empty() && foldCase(flags[0]) == 'b';
         const bool fill = flags.size() > 1 && foldCase(flags[1]) == 'f';
         surf(o).line(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble(),
                      optColor(a, 4), box, fill);
         return Variant();
       }},
      // Circle x, y, radius[, color[, start[, end[, aspect]]]]
      {"Circle", nullptr, nullptr,
       [](Object& o, Args a) {
         expectArgs(a, 3, 7);
         surf(o).circle(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), optColor(a, 3),
                        optArg(a, 4), optArg(a, 5), optArg(a, 6).value_or(1.0));
         return Variant();
       }},
      {"Cls", nullptr, nullptr,
       [](Object& o, Args) {
         surf(o).cls();
         return Variant();
       }},
      {"Refresh", nullptr, nullptr,
       [](Object& o, Args) {
         surf(o).refresh();
         return Variant();
       }},
      {"Point", nullptr, nullptr,
       [](Object& o, Args a) {
         expectArgs(a, 2);
         return color(surf(o).point(a[0].toDouble(), a[1].toDouble()));
       }},
      // PaintPicture picture, x1, y1[, w1, h1, x2, y2, w2, h2, opcode]
      {"PaintPicture", nullptr, nullptr,
       [](Object& o, Args a) {
         expectArgs(a, 3, 10);
         const auto* src = S::sourceOf(a[0]);
         if (!src) raise(kInvalidPropertyValue);
         const std::uint32_t op = a.size() > 9 && !a[9].isEmpty()
                                      ? static_cast<std::uint32_t>(a[9].toLong())
                                      : 0x00CC0020u;  // a plain copy
         surf(o).paintPicture(*src, a[1].toDouble(), a[2].toDouble(), optArg(a, 3), optArg(a, 4),
                              optArg(a, 5).value_or(0), optArg(a, 6).value_or(0), optArg(a, 7),
                              optArg(a, 8), op);
         return Variant();
       }},
  };
  return table;
}

}  // namespace rescalo::host
