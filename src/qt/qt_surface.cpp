#include <rescalo/qt/qt_surface.h>

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_map>

#include <rescalo/host/drawing_members.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_object.h>

namespace rescalo::qt {

using host::Args;
using host::Object;
using host::Variant;

namespace {

// Every widget's surface, found without walking the widget's children (a form has many).
std::unordered_map<const QWidget*, QtSurface*>& surfaces() {
  static std::unordered_map<const QWidget*, QtSurface*> map;
  return map;
}

}  // namespace

QtSurface::QtSurface(QWidget& widget) : QObject(&widget), widget_(&widget), owner_(&widget) {
  widget.installEventFilter(this);
  surfaces()[&widget] = this;
}

QtSurface::~QtSurface() { surfaces().erase(owner_); }

QtSurface& QtSurface::of(QWidget& widget) {
  auto it = surfaces().find(&widget);
  if (it != surfaces().end()) return *it->second;
  return *new QtSurface(widget);  // owned by the widget
}

// ---- scale ----

double QtSurface::twipsPerUnit(int mode, bool xAxis) const {
  switch (mode) {
    case 0:
      return xAxis ? userUnitX_ : userUnitY_;
    case 1:
      return 1;
    case 2:
      return 20;
    case 3:
      return xAxis ? twipsPerPixelX(widget()) : twipsPerPixelY(widget());
    case 4:
      return xAxis ? 120 : 240;
    case 5:
      return 1440;
    case 6:
      return 1440 / 25.4;
    case 7:
      return 1440 / 2.54;
    case 8:
      return 1440 / 2540.0;
    default:
      host::raise(host::kInvalidPropertyValue);
  }
}

void QtSurface::setScaleMode(int mode) {
  twipsPerUnit(mode, true);  // refuses an unknown mode
  scaleMode_ = mode;
}

QSize QtSurface::innerSize() const { return widget().contentsRect().size(); }

double QtSurface::innerTwips(bool xAxis) const {
  QWidget& w = widget();
  // An MDI form's inner area is its MDI area, a main window's its central widget: the form
  // measures both.
  if (w.isWindow() && (mdiAreaOf(w) || centralAreaOf(w))) return adoptForm(&w)->innerTwips(xAxis);
  const QSize inner = innerSize();
  return xAxis ? inner.width() * twipsPerPixelX(w) : inner.height() * twipsPerPixelY(w);
}

double QtSurface::scaleWidth() const { return innerTwips(true) / twipsPerUnit(scaleMode_, true); }
double QtSurface::scaleHeight() const {
  return innerTwips(false) / twipsPerUnit(scaleMode_, false);
}

void QtSurface::setScaleExtent(double units, bool xAxis) {
  // A negative extent flips the axis, as on the runtime; only no extent at all is refused.
  if (units == 0 || !std::isfinite(units)) host::raise(host::kInvalidPropertyValue);
  // The other axis keeps the unit it has now.
  userUnitX_ = twipsPerUnit(scaleMode_, true);
  userUnitY_ = twipsPerUnit(scaleMode_, false);
  // Whole pixels in twips, as the rest of the adapter reads sizes.
  if (xAxis)
    userUnitX_ = static_cast<float>(innerTwips(true)) / units;
  else
    userUnitY_ = static_cast<float>(innerTwips(false)) / units;
  scaleMode_ = 0;
}

double QtSurface::px(double units) const {
  return units * twipsPerUnit(scaleMode_, true) / twipsPerPixelX(widget());
}
double QtSurface::py(double units) const {
  return units * twipsPerUnit(scaleMode_, false) / twipsPerPixelY(widget());
}

// ---- the images ----

namespace {

QColor rgbOf(std::uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

std::uint32_t classicOf(QRgb c) {
  return static_cast<std::uint32_t>(qRed(c)) | static_cast<std::uint32_t>(qGreen(c)) << 8 |
         static_cast<std::uint32_t>(qBlue(c)) << 16;
}

int whole(double pixels) { return static_cast<int>(std::lround(pixels)); }

// The binary raster operation of a DrawMode (1 to 16) as QPainter composes it.
QPainter::CompositionMode compositionOf(int drawMode) {
  switch (drawMode) {
    case 2:
      return QPainter::RasterOp_NotSourceAndNotDestination;  // not (pen or dest)
    case 3:
      return QPainter::RasterOp_NotSourceAndDestination;
    case 4:
      return QPainter::RasterOp_NotSource;
    case 5:
      return QPainter::RasterOp_SourceAndNotDestination;
    case 6:
      return QPainter::RasterOp_NotDestination;
    case 7:
      return QPainter::RasterOp_SourceXorDestination;
    case 8:
      return QPainter::RasterOp_NotSourceOrNotDestination;  // not (pen and dest)
    case 9:
      return QPainter::RasterOp_SourceAndDestination;
    case 10:
      return QPainter::RasterOp_NotSourceXorDestination;
    case 12:
      return QPainter::RasterOp_NotSourceOrDestination;
    case 14:
      return QPainter::RasterOp_SourceOrNotDestination;
    case 15:
      return QPainter::RasterOp_SourceOrDestination;
    default:  // the pen copied; the gaps of a hatched fill leave what is below
      return QPainter::CompositionMode_SourceOver;
  }
}

// A painter on the image that draws as the classic graphics methods do: whole pixels, no
// smoothing, through the draw mode. Blackness and whiteness are a fixed colour copied.
struct ClassicPainter {
  ClassicPainter(QImage& image, int drawMode) : p(&image) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(compositionOf(drawMode));
  }
  QPainter p;
};

QColor modeColour(int drawMode, QColor c) {
  if (drawMode == 1) return Qt::black;
  if (drawMode == 16) return Qt::white;
  return c;
}

QPen penOf(QColor c, int width, int style) {
  if (style == 5) return Qt::NoPen;
  QPen pen(c, std::max(1, width));
  // Dashes and dots only on one-pixel pens; wider ones draw solid with round ends.
  static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                             Qt::DashDotLine, Qt::DashDotDotLine};
  if (width <= 1) {
    pen.setStyle(style >= 0 && style <= 4 ? kStyles[style] : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);  // a one-pixel line leaves its end point out
  } else {
    pen.setCapStyle(Qt::RoundCap);
  }
  return pen;
}

QBrush brushOf(int fillStyle, QColor c) {
  static constexpr Qt::BrushStyle kStyles[] = {
      Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
      Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  if (fillStyle < 0 || fillStyle > 7) return Qt::NoBrush;
  return QBrush(c, kStyles[fillStyle]);
}

// Blit opcodes of PaintPicture; any other copies.
QPainter::CompositionMode compositionOfOpcode(std::uint32_t opcode) {
  switch (opcode) {
    case 0x008800C6:  // source and destination
      return QPainter::RasterOp_SourceAndDestination;
    case 0x00EE0086:  // source or destination
      return QPainter::RasterOp_SourceOrDestination;
    case 0x00660046:  // source xor destination
      return QPainter::RasterOp_SourceXorDestination;
    default:  // a copy, through which a picture's transparent parts show what is below
      return QPainter::CompositionMode_SourceOver;
  }
}

}  // namespace

// System colours (high bit set) are the widget's palette roles of the same meaning.
QColor QtSurface::resolve(std::uint32_t c) const {
  if ((c & 0x80000000u) == 0) return rgbOf(c);
  const QPalette& pal = widget().palette();
  switch (c & 0xFF) {
    case 5:
      return pal.color(QPalette::Base);  // window background
    case 8:
      return pal.color(QPalette::Text);  // window text
    case 12:
      return pal.color(QPalette::Dark);  // application workspace
    case 18:
      return pal.color(QPalette::ButtonText);
    default:
      return pal.color(QPalette::Button);  // button face and the rest
  }
}

bool QtSurface::stretched() const { return widget().property("Stretch").toBool(); }

void QtSurface::background(QImage& target_) const {
  target_.fill(resolve(backColor_));
  if (const QImage* pic = imageOf(picture_)) {
    QPainter p(&target_);
    if (stretched())
      p.drawImage(target_.rect(), *pic);
    else
      p.drawImage(0, 0, *pic);
  }
}

void QtSurface::ensure() {
  if (ready_) return;
  ready_ = true;
  image_ = QImage();
  follow();
}

void QtSurface::follow() {
  if (!ready_) return;
  const QSize size = innerSize().expandedTo(QSize(0, 0));
  if (!image_.isNull() && size == image_.size()) return;
  QImage grown(size, QImage::Format_RGB32);
  background(grown);
  // A stretched picture is drawn afresh at the new size rather than kept at the old one.
  if (!image_.isNull() && !stretched()) {
    QPainter p(&grown);
    p.drawImage(0, 0, image_);
  }
  image_ = grown;
  showImage();
}

QImage& QtSurface::target() {
  ensure();
  follow();
  if (autoRedraw) return image_;
  // Drawing that is only on screen starts from what is shown: one copy, not one per call.
  if (screenIsImage_) {
    screen_ = image_.copy();
    screenIsImage_ = false;
  }
  return screen_;
}

void QtSurface::showImage() {
  screenIsImage_ = true;
  screen_ = QImage();
}

void QtSurface::publish() {
  if (autoRedraw) showImage();
  widget().update();
}

void QtSurface::line(double x1, double y1, double x2, double y2, std::optional<std::uint32_t> color,
                     bool box, bool fill) {
  currentX = x2;
  currentY = y2;
  if (drawMode == 11) return;  // Nop
  const QColor c = modeColour(drawMode, resolve(color.value_or(foreColor)));
  const int l = whole(std::min(px(x1), px(x2))), r = whole(std::max(px(x1), px(x2)));
  const int t = whole(std::min(py(y1), py(y2))), b = whole(std::max(py(y1), py(y2)));
  {
    ClassicPainter cp(target(), drawMode);
    QPainter& p = cp.p;
    if (box && fill) {
      p.fillRect(QRect(QPoint(l, t), QPoint(r, b)), c);  // both corners included
    } else if (box) {
      if (fillStyle != 1)
        p.fillRect(QRect(QPoint(l, t), QPoint(r, b)),
                   brushOf(fillStyle, modeColour(drawMode, resolve(fillColor))));
      QPen pen = penOf(c, drawWidth, drawStyle);
      pen.setJoinStyle(Qt::MiterJoin);
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      // A stroked QRect covers one pixel more than its size: this one ends on the corner.
      QRect outline(l, t, r - l, b - t);
      if (drawStyle == 6 && drawWidth > 1)  // inside solid: the pen stays within the box
        outline.adjust(drawWidth / 2, drawWidth / 2, -(drawWidth - 1) / 2, -(drawWidth - 1) / 2);
      p.drawRect(outline);
    } else {
      p.setPen(penOf(c, drawWidth, drawStyle));
      p.drawLine(QPoint(whole(px(x1)), whole(py(y1))), QPoint(whole(px(x2)), whole(py(y2))));
    }
  }
  publish();
}

void QtSurface::circle(double x, double y, double radius, std::optional<std::uint32_t> color,
                       std::optional<double> start, std::optional<double> end, double aspect) {
  currentX = x;
  currentY = y;
  if (drawMode == 11) return;
  const QColor c = modeColour(drawMode, resolve(color.value_or(foreColor)));
  const double r = std::fabs(radius * twipsPerUnit(scaleMode_, true) / twipsPerPixelX(widget()));
  aspect = std::fabs(aspect);
  // The radius is the longer semi-axis.
  const double rx = aspect > 1 ? r / aspect : r, ry = aspect > 1 ? r : r * aspect;
  const QRectF bounds(px(x) - rx, py(y) - ry, 2 * rx, 2 * ry);
  {
    ClassicPainter cp(target(), drawMode);
    QPainter& p = cp.p;
    p.setPen(penOf(c, drawWidth, drawStyle));
    p.setBrush(brushOf(fillStyle, modeColour(drawMode, resolve(fillColor))));
    if (!start && !end) {
      p.drawEllipse(bounds);
    } else {
      // Radians counter-clockwise from three o'clock, as Qt's angles run; a negative one also
      // draws the radius to that end, and with both negative the pie is closed and filled.
      const double a = std::fabs(start.value_or(0)), e = std::fabs(end.value_or(0));
      double span = e - a;
      if (span <= 0) span += 2 * std::numbers::pi;
      auto sixteenths = [](double radians) {
        return static_cast<int>(std::lround(radians * 180 / std::numbers::pi * 16));
      };
      const bool pieStart = start && *start < 0, pieEnd = end && *end < 0;
      if (pieStart && pieEnd) {
        p.drawPie(bounds, sixteenths(a), sixteenths(span));
      } else {
        p.drawArc(bounds, sixteenths(a), sixteenths(span));
        const QPointF centre = bounds.center();
        auto rim = [&](double angle) {
          return centre + QPointF(rx * std::cos(angle), -ry * std::sin(angle));
        };
        if (pieStart) p.drawLine(centre, rim(a));
        if (pieEnd) p.drawLine(centre, rim(e));
      }
    }
  }
  publish();
}

void QtSurface::cls() {
  ensure();
  follow();
  // Drawing made while AutoRedraw was on survives a Cls made with it off.
  if (autoRedraw) background(image_);
  showImage();
  currentX = currentY = 0;
  widget().update();
}

void QtSurface::refresh() {
  ensure();
  follow();
  showImage();
  widget().update();
}

void QtSurface::paintPicture(const QImage& src, double x1, double y1, std::optional<double> w1,
                             std::optional<double> h1, double x2, double y2,
                             std::optional<double> w2, std::optional<double> h2,
                             std::uint32_t opcode) {
  const double dw = w1 ? px(*w1) : src.width();
  const double dh = h1 ? py(*h1) : src.height();
  const double sx = px(x2), sy = py(y2);
  const double sw = w2 ? px(*w2) : src.width() - sx;
  const double sh = h2 ? py(*h2) : src.height() - sy;
  // A negative width or height on either side mirrors the picture along that axis.
  QImage part = src.copy(
      QRectF(std::min(sx, sx + sw), std::min(sy, sy + sh), std::fabs(sw), std::fabs(sh)).toRect());
  const bool flipX = (dw < 0) != (sw < 0), flipY = (dh < 0) != (sh < 0);
  if (flipX || flipY) part = part.mirrored(flipX, flipY);
  // Whole pixels on the destination: a picture drawn at its natural size stays crisp.
  const QRect dest(whole(std::min(px(x1), px(x1) + dw)), whole(std::min(py(y1), py(y1) + dh)),
                   whole(std::fabs(dw)), whole(std::fabs(dh)));
  {
    QPainter p(&target());
    p.setCompositionMode(compositionOfOpcode(opcode));
    p.drawImage(dest, part);
  }
  publish();
}

void QtSurface::setBackColor(std::uint32_t classic) {
  backColor_ = classic;
  ensure();
  follow();
  background(image_);
  showImage();
  widget().update();
}

void QtSurface::setPicture(const Variant& pic) {
  if (!pic.isObject() || (!pic.isNothing() && !imageOf(pic))) host::raise(host::kTypeMismatch);
  picture_ = pic;
  // Clearing the picture of a surface that shows nothing yet leaves it to Qt's painting.
  if (!ready_ && pic.isNothing()) return;
  ensure();
  follow();
  background(image_);
  showImage();
  widget().update();
}

std::shared_ptr<QtPicture> QtSurface::image() {
  ensure();
  follow();
  return makePicture(image_);
}

const QImage& QtSurface::screen() {
  ensure();
  follow();
  return screenIsImage_ ? image_ : screen_;
}

std::uint32_t QtSurface::point(double x, double y) {
  const QImage& s = screen();
  const QPoint at(static_cast<int>(std::floor(px(x))), static_cast<int>(std::floor(py(y))));
  return s.valid(at) ? classicOf(s.pixel(at)) : 0;
}

bool QtSurface::eventFilter(QObject*, QEvent* event) {
  // Under the widget's own painting (a frame's border stays on top).
  if (event->type() == QEvent::Paint && ready_ && widget_) {
    follow();
    QPainter p(widget_);
    p.drawImage(widget_->contentsRect().topLeft(), screenIsImage_ ? image_ : screen_);
  }
  return false;
}

// ---- members ----

namespace {

QtSurface& surf(Object& o) { return QtSurface::of(host::self<QtWidgetObject>(o).widget()); }

using host::drawing::color;
using host::drawing::int16;
using host::drawing::toColor;

}  // namespace

const host::MemberTable& QtSurface::members() {
  static const host::MemberTable table{
      {
          {"ScaleWidth",
           [](Object& o, Args) { return Variant(static_cast<float>(surf(o).scaleWidth())); },
           [](Object& o, Args, const Variant& v) { surf(o).setScaleExtent(v.toDouble(), true); }},
          {"ScaleHeight",
           [](Object& o, Args) { return Variant(static_cast<float>(surf(o).scaleHeight())); },
           [](Object& o, Args, const Variant& v) { surf(o).setScaleExtent(v.toDouble(), false); }},
          {"ScaleMode", [](Object& o, Args) { return int16(surf(o).scaleMode()); },
           [](Object& o, Args, const Variant& v) { surf(o).setScaleMode(v.toInteger()); }},
          {"BackColor", [](Object& o, Args) { return color(surf(o).backColor()); },
           [](Object& o, Args, const Variant& v) { surf(o).setBackColor(toColor(v)); }},
          {"Picture", [](Object& o, Args) { return surf(o).picture(); },
           [](Object& o, Args, const Variant& v) { surf(o).setPicture(v); }},
          {"Image", [](Object& o, Args) { return Variant(host::ObjectPtr(surf(o).image())); }},
      },
      &host::drawingMembers<QtSurface, surf>()};
  return table;
}

}  // namespace rescalo::qt
