#pragma once
// A line control on Qt: drawn on its container, between two end points kept in twips (a line
// has no rectangle of its own), in a widget just large enough to hold it and its pen, which
// lets the mouse through to what is under it.

#include <QColor>
#include <QWidget>
#include <array>

namespace rescalo::qt {

class QtLine : public QWidget {
 public:
  explicit QtLine(QWidget* parent);

  // X1, Y1, X2, Y2 in twips, measured as every control is, from its container's corner.
  const std::array<double, 4>& points() const { return points_; }
  void setPoints(const std::array<double, 4>& twips);
  // The end points in the parent, pixels.
  std::array<int, 4> pointPixels() const;

  // BorderColor, BorderWidth (pixels) and BorderStyle (0 transparent, 1 solid, 2 dash, 3 dot,
  // 4 dash-dot, 5 dash-dot-dot, 6 inside solid).
  void setPen(QColor color, int width, int style);
  int width() const { return width_; }
  void setWidth(int pixels);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void place();
  std::array<double, 4> points_{};
  QColor color_{Qt::black};
  int width_ = 1, style_ = 1;
};

}  // namespace rescalo::qt
