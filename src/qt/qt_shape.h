#pragma once
// A shape control on Qt: a rectangle, square, oval, circle or rounded box drawn in its border
// colour, style and width, filled as its fill style says. Like the classic shape it holds no
// controls and lets the mouse through to what is under it.

#include <QColor>
#include <QWidget>
#include <optional>

namespace rescalo::qt {

class QtShape : public QWidget {
 public:
  // The classic members' values: Shape (0 rectangle, 1 square, 2 oval, 3 circle, 4 rounded
  // rectangle, 5 rounded square), BorderStyle (0 transparent .. 6 inside solid), FillStyle
  // (0 solid, 1 transparent, 2.. hatches), and the back colour when BackStyle is opaque.
  struct Look {
    int shape = 0, borderStyle = 1, fillStyle = 1;
    QColor border{Qt::black}, fill{Qt::black};
    std::optional<QColor> back;
  };
  QtShape(QWidget* parent, const Look& look, int borderWidth);

  // BorderWidth, in whole pixels.
  int borderWidth() const { return width_; }
  void setBorderWidth(int pixels);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  Look look_;
  int width_ = 1;
};

}  // namespace rescalo::qt
