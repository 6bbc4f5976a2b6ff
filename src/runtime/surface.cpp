#include <rescalo/runtime/surface.h>

#include <cmath>

#include <rescalo/host/drawing_members.h>
#include <rescalo/runtime/raster/raster.h>

namespace rescalo::runtime {

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
using host::drawing::color;
using host::drawing::toColor;

}  // namespace

const host::MemberTable& Surface::members() {
  static const host::MemberTable table{
      {
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
          {"Scale", nullptr, nullptr,
           [](Object& o, Args a) {
             Surface& s = surf(o);
             if (a.empty()) {
               s.scale.setMode(vbTwips);
             } else {
               host::expectArgs(a, 4);
               double x1 = a[0].toDouble(), y1 = a[1].toDouble();
               s.scale.setUser(x1, y1, a[2].toDouble() - x1, a[3].toDouble() - y1,
                               s.clientWidthTwips(), s.clientHeightTwips());
             }
             return Variant();
           }},
          {"BackColor", [](Object& o, Args) { return color(surf(o).backColor); },
           [](Object& o, Args, const Variant& v) { surf(o).setBackColor(toColor(v)); }},
          {"Picture", [](Object& o, Args) { return surf(o).picture; },
           [](Object& o, Args, const Variant& v) { surf(o).setPicture(v); }},
          {"Image", [](Object& o, Args) { return Variant(host::ObjectPtr(surf(o).image())); }},
      },
      &host::drawingMembers<Surface, surf>()};
  return table;
}

}  // namespace rescalo::runtime
