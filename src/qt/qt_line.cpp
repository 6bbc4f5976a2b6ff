#include <rescalo/qt/qt_line.h>

#include <QPainter>
#include <algorithm>
#include <cmath>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_object.h>

namespace rescalo::qt {

QtLine::QtLine(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
}

void QtLine::setPoints(const std::array<double, 4>& twips) {
  points_ = twips;
  place();
}

void QtLine::setPen(QColor color, int width, int style) {
  color_ = color;
  width_ = std::max(1, width);
  style_ = style;
  update();
}

// The widget pads the line by half its width, so a new width places it again.
void QtLine::setWidth(int pixels) {
  width_ = std::max(1, pixels);
  place();
  update();
}

std::array<int, 4> QtLine::pointPixels() const {
  const double tx = twipsPerPixelX(*this), ty = twipsPerPixelY(*this);
  const QPoint origin = containerOffset(*this);
  return {static_cast<int>(std::lround(points_[0] / tx)) - origin.x(),
          static_cast<int>(std::lround(points_[1] / ty)) - origin.y(),
          static_cast<int>(std::lround(points_[2] / tx)) - origin.x(),
          static_cast<int>(std::lround(points_[3] / ty)) - origin.y()};
}

// Just the box the line and its pen cover.
void QtLine::place() {
  const auto p = pointPixels();
  const int pad = width_ / 2;
  setGeometry(QRect(QPoint(std::min(p[0], p[2]), std::min(p[1], p[3])),
                    QPoint(std::max(p[0], p[2]), std::max(p[1], p[3])))
                  .adjusted(-pad, -pad, pad, pad));
  update();
}

void QtLine::paintEvent(QPaintEvent*) {
  static constexpr Qt::PenStyle kStyles[] = {Qt::NoPen,    Qt::SolidLine,   Qt::DashLine,
                                             Qt::DotLine,  Qt::DashDotLine, Qt::DashDotDotLine,
                                             Qt::SolidLine};
  const Qt::PenStyle style = kStyles[std::clamp(style_, 0, 6)];
  if (style == Qt::NoPen) return;
  QPainter painter(this);
  // A wider pen draws solid, as the classic line does.
  painter.setPen(QPen(color_, width_, width_ > 1 ? Qt::SolidLine : style, Qt::FlatCap));
  const auto p = pointPixels();
  const QPoint at = pos();
  painter.drawLine(QPoint(p[0], p[1]) - at, QPoint(p[2], p[3]) - at);
}

}  // namespace rescalo::qt
