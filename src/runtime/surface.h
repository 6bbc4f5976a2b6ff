#pragma once
// A drawing surface: what forms and picture boxes share — scale, colours, the persistent
// bitmap (AutoRedraw), the graphics methods and the background picture.

#include <memory>

#include <rescalo/host/drawing_members.h>
#include <rescalo/host/object.h>
#include <rescalo/runtime/control.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/bitmap.h>
#include <rescalo/runtime/scale.h>

namespace rescalo::runtime {

class Surface : public host::DrawingState {
 public:
  virtual ~Surface() = default;
  // The client area in twips, which the owner knows.
  virtual double clientWidthTwips() const = 0;
  virtual double clientHeightTwips() const = 0;

  ScaleState scale;
  raster::Color backColor = 0x8000000F;  // button face, a system colour
  host::Variant picture = host::Variant(nullptr);

  int scaleMode() const { return scale.mode(); }
  double convertScale(double value, int from, int to, bool xAxis) const {
    return scale.convert(value, from, to, xAxis);
  }
  // What PaintPicture draws from.
  static const raster::Bitmap* sourceOf(const host::Variant& picture) { return bitmapOf(picture); }
  double scaleWidth() const { return scale.scaleWidth(clientWidthTwips()); }
  double scaleHeight() const { return scale.scaleHeight(clientHeightTwips()); }
  ScaleSpace drawSpace() const { return scale.space(); }
  void setScaleWidth(double v) { scale.setScaleWidth(clientWidthTwips(), v); }
  void setScaleHeight(double v) { scale.setScaleHeight(clientHeightTwips(), v); }

  // Graphics methods, in the surface's scale units.
  void line(double x1, double y1, double x2, double y2, std::optional<raster::Color> color,
            bool box, bool fill);
  void circle(double x, double y, double radius, std::optional<raster::Color> color,
              std::optional<double> start, std::optional<double> end, double aspect);
  void cls();
  void refresh();
  void paintPicture(const raster::Bitmap& src, double x1, double y1, std::optional<double> w1,
                    std::optional<double> h1, double x2, double y2, std::optional<double> w2,
                    std::optional<double> h2, std::uint32_t opcode);
  void setBackColor(raster::Color c);
  void setPicture(const host::Variant& pic);
  virtual void onPictureChanged() {}
  // Image: a snapshot of the persistent bitmap.
  std::shared_ptr<Picture> image();
  // What is on screen now, pixel by pixel (tests and renders read it).
  const raster::Bitmap& screen();
  raster::Color point(double x, double y);
  // Follows the owner's client size: keeps what is drawn, extends with the back colour.
  void resizeSurface();

  static const host::MemberTable& members();  // for classes that are surfaces

 private:
  void ensure();
  void background(raster::Bitmap& target) const;
  raster::Bitmap& target();  // where drawing goes now
  void publish();
  double px(double units) const;  // x units -> pixels
  double py(double units) const;
  raster::Bitmap image_;
  raster::Bitmap screen_;
  bool ready_ = false;
};

// The real colour of a classic colour value (system colours resolved to fixed ones).
raster::Color resolveColor(std::uint32_t classic);

}  // namespace rescalo::runtime
