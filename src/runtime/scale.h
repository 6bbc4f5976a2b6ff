#pragma once
// ScaleMode: the coordinate system of a form or picture box.

#include <rescalo/runtime/control.h>

namespace rescalo::runtime {

enum ScaleModeValue {
  vbUser = 0,
  vbTwips = 1,
  vbPoints = 2,
  vbPixels = 3,
  vbCharacters = 4,
  vbInches = 5,
  vbMillimeters = 6,
  vbCentimeters = 7,
  vbHimetric = 8,
};

// Twips per unit of a fixed scale mode on one axis; user mode is the object's own and is
// answered by the caller.
double twipsPerUnit(int mode, bool xAxis, double twipsPerPixel);

// The scale of a drawing surface whose client area measures clientW x clientH twips.
class ScaleState {
 public:
  int mode() const { return mode_; }
  // Setting a mode other than user re-expresses the scale size in it and zeroes the origin.
  void setMode(int mode);
  void setUser(double left, double top, double width, double height, double clientW,
               double clientH);
  void setScaleLeft(double v);
  void setScaleTop(double v);
  // A user scale fixes the unit (twips per unit) from the client size at the time it is set;
  // later resizes change ScaleWidth/ScaleHeight, as the classic runtime does.
  void setScaleWidth(double clientW, double v);
  void setScaleHeight(double clientH, double v);
  double scaleLeft() const { return left_; }
  double scaleTop() const { return top_; }
  double scaleWidth(double clientW) const;
  double scaleHeight(double clientH) const;
  ScaleSpace space() const;
  // ScaleX/ScaleY: converts between modes (user mode meaning this object's own scale).
  double convert(double value, int from, int to, bool xAxis) const;

  static double twipsPerPixelX;
  static double twipsPerPixelY;

 private:
  void enterUser();
  double unit(bool xAxis) const;
  int mode_ = vbTwips;
  double left_ = 0, top_ = 0;
  double unitX_ = 1, unitY_ = 1;  // user mode: twips per unit
};

}  // namespace rescalo::runtime
