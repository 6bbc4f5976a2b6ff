#pragma once
// The classic 3-D look on Qt widgets, drawn as the embedded runtime draws a classic form: raised
// buttons, sunken boxes, square scroll-bar thumbs over a dotted track, tabs joined to their
// panel. The widgets of a classic form wear it; forms made in Qt keep the application's style.

#include <QColor>
#include <QProxyStyle>

class QPainter;
class QRect;
class QWidget;

namespace rescalo::bridge {

inline const QColor kFace{212, 208, 200}, kHighlight{255, 255, 255}, kShadow{128, 128, 128},
    kDark{64, 64, 64};

// One pixel round `r`: `topLeft` on its top and left, `bottomRight` on the other two sides.
void twoToneEdge(QPainter& p, const QRect& r, const QColor& topLeft, const QColor& bottomRight);
// Two pixels lit from the top left: a button's edge, and a box's sunk into its container.
void raisedEdge(QPainter& p, const QRect& r);
void sunkenEdge(QPainter& p, const QRect& r);

class ClassicStyle : public QProxyStyle {
 public:
  // Over Fusion whatever the application's style, so a form looks the same on every desktop.
  ClassicStyle();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget) const override;
  QRect subElementRect(SubElement element, const QStyleOption* option,
                       const QWidget* widget) const override;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override;
};

// `root` and every widget in it wear the classic look, and so do widgets added to it later.
void wearClassicLook(QWidget& root);

}  // namespace rescalo::bridge
