#include "runtime/surface.h"

#include <cmath>

#include "runtime/raster/raster.h"

namespace runtime {

using host::Args;
using host::Object;
using host::single;
using host::Variant;

raster::Color resolveColor(std::uint32_t c) {
  if ((c & 0x80000000u) == 0) return c & 0xFFFFFF;
  switch (c & 0xFF) {  // a few system colours, as the classic default theme shows them
    case 5:
      return 0xFFFFFF;  // window background
    case 8:
      return 0x000000;  // window text
    case 12:
      return 0xABABAB;  // application workspace
    case 15:
      return raster::rgb(212, 208, 200);  // button face
    case 18:
      return 0x000000;  // button text
    default:
      return raster::rgb(212, 208, 200);
  }
}

double Surface::px(double units) const {
  return drawSpace().toTwipsX(units) / ScaleState::twipsPerPixelX;
}
double Surface::py(double units) const {
  return drawSpace().toTwipsY(units) / ScaleState::twipsPerPixelY;
}

void Surface::background(raster::Bitmap& target_) const {
  target_.fill(resolveColor(backColor));
  if (const raster::Bitmap* pic = bitmapOf(picture))
    raster::paintPicture(target_, *pic, 0, 0, pic->width(), pic->height(), 0, 0, pic->width(),
                         pic->height());
}

void Surface::ensure() {
  if (!ready_) {
    ready_ = true;
    image_ = raster::Bitmap();  // resizeSurface builds it at the client size
    resizeSurface();
  }
}

void Surface::resizeSurface() {
  // Nothing is kept for a surface that nobody has drawn on or looked at yet.
  if (!ready_) return;
  int w = static_cast<int>(std::lround(clientWidthTwips() / ScaleState::twipsPerPixelX));
  int h = static_cast<int>(std::lround(clientHeightTwips() / ScaleState::twipsPerPixelY));
  w = std::max(w, 0);
  h = std::max(h, 0);
  if (ready_ && w == image_.width() && h == image_.height()) return;
  raster::Bitmap grown(w, h);
  background(grown);
  if (!image_.empty())
    raster::paintPicture(grown, image_, 0, 0, image_.width(), image_.height(), 0, 0, image_.width(),
                         image_.height());
  image_ = std::move(grown);
  screen_ = image_;
  ready_ = true;
}

raster::Bitmap& Surface::target() {
  ensure();
  return autoRedraw ? image_ : screen_;
}

void Surface::publish() {
  if (autoRedraw) screen_ = image_;
}

void Surface::line(double x1, double y1, double x2, double y2, std::optional<raster::Color> color,
                   bool box, bool fill) {
  raster::Color c = resolveColor(color.value_or(foreColor));
  raster::Pen pen{c, drawWidth, drawMode, drawStyle};
  raster::Bitmap& t = target();
  if (box && fill) {
    raster::fillBox(t, px(x1), py(y1), px(x2), py(y2), c, drawMode);
  } else if (box) {
    if (fillStyle == 0)
      raster::fillBox(t, px(x1), py(y1), px(x2), py(y2), resolveColor(fillColor), drawMode);
    raster::drawBox(t, px(x1), py(y1), px(x2), py(y2), pen);
  } else {
    raster::drawLine(t, px(x1), py(y1), px(x2), py(y2), pen);
  }
  currentX = x2;
  currentY = y2;
  publish();
}

void Surface::circle(double x, double y, double radius, std::optional<raster::Color> color,
                     std::optional<double> start, std::optional<double> end, double aspect) {
  raster::Color c = resolveColor(color.value_or(foreColor));
  raster::Pen pen{c, drawWidth, drawMode, drawStyle};
  std::optional<raster::Color> fill;
  if (fillStyle == 0) fill = resolveColor(fillColor);
  double r = std::fabs(radius * drawSpace().unitX / ScaleState::twipsPerPixelX);
  raster::drawCircle(target(), px(x), py(y), r, pen, start, end, aspect, fill);
  currentX = x;
  currentY = y;
  publish();
}

void Surface::cls() {
  ensure();
  if (autoRedraw) {
    background(image_);
    screen_ = image_;
  } else {
    // Drawing made while AutoRedraw was on survives a Cls made with it off.
    screen_ = image_;
  }
  currentX = currentY = 0;
}

void Surface::refresh() {
  ensure();
  screen_ = image_;
}

void Surface::paintPicture(const raster::Bitmap& src, double x1, double y1,
                           std::optional<double> w1, std::optional<double> h1, double x2, double y2,
                           std::optional<double> w2, std::optional<double> h2,
                           std::uint32_t opcode) {
  auto wpx = [&](double units) { return units * drawSpace().unitX / ScaleState::twipsPerPixelX; };
  auto hpx = [&](double units) { return units * drawSpace().unitY / ScaleState::twipsPerPixelY; };
  double dw = w1 ? wpx(*w1) : src.width();
  double dh = h1 ? hpx(*h1) : src.height();
  double sx = (x2 - drawSpace().left) * drawSpace().unitX / ScaleState::twipsPerPixelX;
  double sy = (y2 - drawSpace().top) * drawSpace().unitY / ScaleState::twipsPerPixelY;
  double sw = w2 ? wpx(*w2) : src.width() - sx;
  double sh = h2 ? hpx(*h2) : src.height() - sy;
  // Whole pixels on the destination: a picture drawn at its natural size stays crisp.
  raster::paintPicture(target(), src, std::round(px(x1)), std::round(py(y1)), std::round(dw),
                       std::round(dh), sx, sy, sw, sh, opcode);
  publish();
}

void Surface::setBackColor(raster::Color c) {
  backColor = c;
  // Setting BackColor erases all graphics.
  if (ready_) {
    background(image_);
    screen_ = image_;
  }
}

void Surface::setPicture(const Variant& pic) {
  if (!pic.isObject() || (!pic.isNothing() && !bitmapOf(pic))) host::raise(host::kTypeMismatch);
  picture = pic;
  onPictureChanged();
  if (ready_) {
    background(image_);
    screen_ = image_;
  }
}

std::shared_ptr<Picture> Surface::image() {
  ensure();
  return makePicture(image_);
}

const raster::Bitmap& Surface::screen() {
  ensure();
  return screen_;
}

raster::Color Surface::point(double x, double y) {
  ensure();
  return screen_.pixel(static_cast<int>(std::floor(px(x))), static_cast<int>(std::floor(py(y))));
}

namespace {

Surface& surf(Object& o) { return dynamic_cast<Surface&>(o); }
std::optional<double> optArg(Args a, std::size_t i) {
  if (a.size() <= i || a[i].isEmpty()) return std::nullopt;
  return a[i].toDouble();
}
Variant color(raster::Color c) { return Variant(static_cast<std::int32_t>(c)); }
raster::Color toColor(const Variant& v) { return static_cast<raster::Color>(v.toLong()); }

}  // namespace

const host::MemberTable& Surface::members() {
  static const host::MemberTable table{
      {"ScaleMode",
       [](Object& o, Args) { return Variant(static_cast<std::int16_t>(surf(o).scale.mode())); },
       [](Object& o, Args, const Variant& v) { surf(o).scale.setMode(v.toInteger()); }},
      {"ScaleWidth", [](Object& o, Args) { return single(surf(o).scaleWidth()); },
       [](Object& o, Args, const Variant& v) { surf(o).setScaleWidth(v.toDouble()); }},
      {"ScaleHeight", [](Object& o, Args) { return single(surf(o).scaleHeight()); },
       [](Object& o, Args, const Variant& v) { surf(o).setScaleHeight(v.toDouble()); }},
      {"ScaleLeft", [](Object& o, Args) { return single(surf(o).scale.scaleLeft()); },
       [](Object& o, Args, const Variant& v) { surf(o).scale.setScaleLeft(v.toDouble()); }},
      {"ScaleTop", [](Object& o, Args) { return single(surf(o).scale.scaleTop()); },
       [](Object& o, Args, const Variant& v) { surf(o).scale.setScaleTop(v.toDouble()); }},
      {"ScaleX", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 1, 3);
         int from =
             a.size() > 1 && !a[1].isEmpty() ? a[1].toInteger() : static_cast<int>(vbHimetric);
         int to = a.size() > 2 && !a[2].isEmpty() ? a[2].toInteger() : surf(o).scale.mode();
         return single(surf(o).scale.convert(a[0].toDouble(), from, to, true));
       }},
      {"ScaleY", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 1, 3);
         int from =
             a.size() > 1 && !a[1].isEmpty() ? a[1].toInteger() : static_cast<int>(vbHimetric);
         int to = a.size() > 2 && !a[2].isEmpty() ? a[2].toInteger() : surf(o).scale.mode();
         return single(surf(o).scale.convert(a[0].toDouble(), from, to, false));
       }},
      {"Scale", nullptr, nullptr,
       [](Object& o, Args a) {
         Surface& s = surf(o);
         if (a.empty()) {
           s.scale.setMode(vbTwips);
         } else {
           host::expectArgs(a, 4);
           double x1 = a[0].toDouble(), y1 = a[1].toDouble();
           s.scale.setUser(x1, y1, a[2].toDouble() - x1, a[3].toDouble() - y1, s.clientWidthTwips(),
                           s.clientHeightTwips());
         }
         return Variant();
       }},
      {"AutoRedraw", [](Object& o, Args) { return Variant(surf(o).autoRedraw); },
       [](Object& o, Args, const Variant& v) { surf(o).autoRedraw = v.toBool(); }},
      {"DrawWidth",
       [](Object& o, Args) { return Variant(static_cast<std::int16_t>(surf(o).drawWidth)); },
       [](Object& o, Args, const Variant& v) {
         int w = v.toInteger();
         if (w < 1) host::raise(host::kInvalidPropertyValue);
         surf(o).drawWidth = w;
       }},
      {"DrawMode",
       [](Object& o, Args) { return Variant(static_cast<std::int16_t>(surf(o).drawMode)); },
       [](Object& o, Args, const Variant& v) {
         int m = v.toInteger();
         if (m < 1 || m > 16) host::raise(host::kInvalidPropertyValue);
         surf(o).drawMode = m;
       }},
      {"DrawStyle",
       [](Object& o, Args) { return Variant(static_cast<std::int16_t>(surf(o).drawStyle)); },
       [](Object& o, Args, const Variant& v) {
         int m = v.toInteger();
         if (m < 0 || m > 6) host::raise(host::kInvalidPropertyValue);
         surf(o).drawStyle = m;
       }},
      {"FillStyle",
       [](Object& o, Args) { return Variant(static_cast<std::int16_t>(surf(o).fillStyle)); },
       [](Object& o, Args, const Variant& v) { surf(o).fillStyle = v.toInteger(); }},
      {"FillColor", [](Object& o, Args) { return color(surf(o).fillColor); },
       [](Object& o, Args, const Variant& v) { surf(o).fillColor = toColor(v); }},
      {"ForeColor", [](Object& o, Args) { return color(surf(o).foreColor); },
       [](Object& o, Args, const Variant& v) { surf(o).foreColor = toColor(v); }},
      {"BackColor", [](Object& o, Args) { return color(surf(o).backColor); },
       [](Object& o, Args, const Variant& v) { surf(o).setBackColor(toColor(v)); }},
      {"CurrentX", [](Object& o, Args) { return single(surf(o).currentX); },
       [](Object& o, Args, const Variant& v) { surf(o).currentX = v.toDouble(); }},
      {"CurrentY", [](Object& o, Args) { return single(surf(o).currentY); },
       [](Object& o, Args, const Variant& v) { surf(o).currentY = v.toDouble(); }},
      {"Picture", [](Object& o, Args) { return surf(o).picture; },
       [](Object& o, Args, const Variant& v) { surf(o).setPicture(v); }},
      {"Image", [](Object& o, Args) { return Variant(host::ObjectPtr(surf(o).image())); }},
      // Line x1, y1, x2, y2[, color[, "B" | "BF"]]
      {"Line", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 4, 6);
         std::optional<raster::Color> c;
         if (a.size() > 4 && !a[4].isEmpty()) c = toColor(a[4]);
         std::string flags = a.size() > 5 ? a[5].toString() : std::string();
         bool box = !flags.empty() && host::foldCase(flags[0]) == 'b';
         bool fill = flags.size() > 1 && host::foldCase(flags[1]) == 'f';
         surf(o).line(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble(), c, box,
                      fill);
         return Variant();
       }},
      // Circle x, y, radius[, color[, start[, end[, aspect]]]]
      {"Circle", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 3, 7);
         std::optional<raster::Color> c;
         if (a.size() > 3 && !a[3].isEmpty()) c = toColor(a[3]);
         double aspect = a.size() > 6 && !a[6].isEmpty() ? a[6].toDouble() : 1.0;
         surf(o).circle(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), c, optArg(a, 4),
                        optArg(a, 5), aspect);
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
         host::expectArgs(a, 2);
         return color(surf(o).point(a[0].toDouble(), a[1].toDouble()));
       }},
      // PaintPicture picture, x1, y1[, w1, h1, x2, y2, w2, h2, opcode]
      {"PaintPicture", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 3, 10);
         const raster::Bitmap* src = bitmapOf(a[0]);
         if (!src) host::raise(host::kInvalidPropertyValue);
         std::uint32_t op = a.size() > 9 && !a[9].isEmpty()
                                ? static_cast<std::uint32_t>(a[9].toLong())
                                : 0x00CC0020u;
         surf(o).paintPicture(*src, a[1].toDouble(), a[2].toDouble(), optArg(a, 3), optArg(a, 4),
                              optArg(a, 5).value_or(0), optArg(a, 6).value_or(0), optArg(a, 7),
                              optArg(a, 8), op);
         return Variant();
       }},
  };
  return table;
}

}  // namespace runtime
