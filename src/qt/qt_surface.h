#pragma once
// What a form and a picture box share on Qt: the scale, the colours, the persistent image
// (AutoRedraw), the graphics methods and the background picture.
//
// A surface is a child object of its widget, so it lives exactly as long as the widget does
// and survives its adapter being made again. It keeps two images at the widget's inner size:
// the persistent one (what AutoRedraw drawing goes to, and what Cls and Refresh bring back)
// and the one on screen, painted under the widget's own painting. Both follow the widget's
// size when next used: what is drawn is kept, and new area gets the back colour. A widget
// nobody has drawn on, given a picture or a back colour paints as Qt paints it.
//
// A widget whose "Stretch" property is true (an image control that stretches) shows its
// picture stretched over its whole inner area.

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <optional>

#include <rescalo/host/drawing_members.h>
#include <rescalo/host/object.h>
#include <rescalo/qt/qt_picture.h>

namespace rescalo::qt {

class QtSurface : public QObject, public host::DrawingState {
 public:
  // The widget's surface, made on first use.
  static QtSurface& of(QWidget& widget);
  ~QtSurface() override;

  // ScaleMode picks the unit of ScaleWidth/ScaleHeight, of ScaleX/ScaleY and of the graphics
  // methods. Writing ScaleWidth or ScaleHeight makes a user scale (mode 0) whose unit then
  // stays as the widget is resized; the origin is always the top-left corner.
  int scaleMode() const { return scaleMode_; }
  void setScaleMode(int mode);
  void setScaleExtent(double units, bool xAxis);
  // Twips per unit of a scale mode along one axis; 380 for a mode there is none of.
  double twipsPerUnit(int mode, bool xAxis) const;
  double scaleWidth() const;
  double scaleHeight() const;
  double convertScale(double value, int from, int to, bool xAxis) const {
    return value * twipsPerUnit(from, xAxis) / twipsPerUnit(to, xAxis);
  }
  // What PaintPicture draws from.
  static const QImage* sourceOf(const host::Variant& picture) { return imageOf(picture); }

  std::uint32_t backColor() const { return backColor_; }
  const host::Variant& picture() const { return picture_; }

  // Graphics methods, in the surface's scale units.
  void line(double x1, double y1, double x2, double y2, std::optional<std::uint32_t> color,
            bool box, bool fill);
  void circle(double x, double y, double radius, std::optional<std::uint32_t> color,
              std::optional<double> start, std::optional<double> end, double aspect);
  void cls();
  void refresh();
  void paintPicture(const QImage& src, double x1, double y1, std::optional<double> w1,
                    std::optional<double> h1, double x2, double y2, std::optional<double> w2,
                    std::optional<double> h2, std::uint32_t opcode);
  // Setting BackColor or Picture repaints the background and erases all graphics.
  void setBackColor(std::uint32_t classic);
  void setPicture(const host::Variant& pic);
  // Image: a snapshot of the persistent image.
  std::shared_ptr<QtPicture> image();
  // What is shown now, and one pixel of it as a classic colour.
  const QImage& screen();
  std::uint32_t point(double x, double y);

  // The members of a surface, for adapters whose widget has one.
  static const host::MemberTable& members();

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit QtSurface(QWidget& widget);
  QWidget& widget() const { return *widget_; }
  QSize innerSize() const;
  // The inner area along one axis in twips: an MDI form's is its MDI area.
  double innerTwips(bool xAxis) const;
  void ensure();
  void follow();  // to the widget's inner size
  bool stretched() const;
  void background(QImage& target) const;
  QImage& target();
  void showImage();  // the persistent image is what is on screen again
  void publish();
  QColor resolve(std::uint32_t classic) const;
  double px(double units) const;
  double py(double units) const;

  QPointer<QWidget> widget_;
  const QWidget* owner_;  // the key it is found by, even once the widget is gone
  int scaleMode_ = 1;
  double userUnitX_ = 1, userUnitY_ = 1;  // twips per unit of the user scale
  std::uint32_t backColor_ = 0x8000000F;  // button face, a system colour
  host::Variant picture_ = host::Variant(nullptr);
  QImage image_;
  QImage screen_;  // what is on screen when it differs from the persistent image
  bool screenIsImage_ = true;
  bool ready_ = false;
};

}  // namespace rescalo::qt
