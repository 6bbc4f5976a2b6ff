#include <rescalo/qt/qt_shape.h>

#include <QPainter>
#include <algorithm>

namespace rescalo::qt {

QtShape::QtShape(QWidget* parent, const Look& look, int borderWidth)
    : QWidget(parent), look_(look), width_(std::max(1, borderWidth)) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
}

void QtShape::setBorderWidth(int pixels) {
  width_ = std::max(1, pixels);
  update();
}

void QtShape::paintEvent(QPaintEvent*) {
  static constexpr Qt::PenStyle kPens[] = {Qt::NoPen,    Qt::SolidLine,   Qt::DashLine,
                                           Qt::DotLine,  Qt::DashDotLine, Qt::DashDotDotLine,
                                           Qt::SolidLine};
  static constexpr Qt::BrushStyle kFills[] = {
      Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
      Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  const int kind = look_.shape;
  const Qt::PenStyle penStyle = kPens[std::clamp(look_.borderStyle, 0, 6)];
  const Qt::BrushStyle fill = kFills[std::clamp(look_.fillStyle, 0, 7)];
  QRectF r = rect();
  if (kind == 1 || kind == 3 || kind == 5) {  // square, circle, rounded square
    const double side = std::min(r.width(), r.height());
    r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
  }
  // The outline lies inside the box, as the classic shape draws it.
  const double inset = penStyle == Qt::NoPen ? 0 : width_ / 2.0;
  r.adjust(inset, inset, -inset, -inset);
  QPainter p(this);
  const double radius = std::min(r.width(), r.height()) / 6;
  auto draw = [&] {
    if (kind == 2 || kind == 3)
      p.drawEllipse(r);
    else if (kind == 4 || kind == 5)
      p.drawRoundedRect(r, radius, radius);
    else
      p.drawRect(r);
  };
  p.setPen(Qt::NoPen);
  if (look_.back) {
    p.setBrush(*look_.back);
    draw();
  }
  if (fill != Qt::NoBrush) {
    p.setBrush(QBrush(look_.fill, fill));
    draw();
  }
  // A wider border draws solid, as the classic one does.
  QPen pen(look_.border, width_, width_ > 1 && penStyle != Qt::NoPen ? Qt::SolidLine : penStyle);
  pen.setJoinStyle(Qt::MiterJoin);
  p.setBrush(Qt::NoBrush);
  p.setPen(pen);
  draw();
}

}  // namespace rescalo::qt
