#include <rescalo/runtime/scale.h>

#include <rescalo/host/error.h>

namespace rescalo::runtime {

double ScaleState::twipsPerPixelX = 15;
double ScaleState::twipsPerPixelY = 15;

double twipsPerUnit(int mode, bool xAxis, double twipsPerPixel) {
  switch (mode) {
    case vbTwips:
      return 1;
    case vbPoints:
      return 20;
    case vbPixels:
      return twipsPerPixel;
    case vbCharacters:
      return xAxis ? 120 : 240;
    case vbInches:
      return 1440;
    case vbMillimeters:
      return 1440 / 25.4;
    case vbCentimeters:
      return 1440 / 2.54;
    case vbHimetric:
      return 1440 / 2540.0;
    default:
      host::raise(host::kInvalidPropertyValue);
  }
}

void ScaleState::enterUser() {
  if (mode_ != vbUser) {
    unitX_ = unit(true);
    unitY_ = unit(false);
    mode_ = vbUser;
  }
}

double ScaleState::unit(bool xAxis) const {
  if (mode_ == vbUser) return xAxis ? unitX_ : unitY_;
  return twipsPerUnit(mode_, xAxis, xAxis ? twipsPerPixelX : twipsPerPixelY);
}

void ScaleState::setMode(int mode) {
  if (mode < vbUser || mode > vbHimetric) host::raise(host::kInvalidPropertyValue);
  if (mode == vbUser) {
    enterUser();
    return;
  }
  mode_ = mode;
  left_ = top_ = 0;
}

void ScaleState::setScaleLeft(double v) {
  enterUser();
  left_ = v;
}

void ScaleState::setScaleTop(double v) {
  enterUser();
  top_ = v;
}

void ScaleState::setUser(double left, double top, double width, double height, double clientW,
                         double clientH) {
  if (width == 0 || height == 0) host::raise(host::kInvalidPropertyValue);
  mode_ = vbUser;
  left_ = left;
  top_ = top;
  unitX_ = clientW / width;
  unitY_ = clientH / height;
}

void ScaleState::setScaleWidth(double clientW, double v) {
  if (v == 0) host::raise(host::kInvalidPropertyValue);
  enterUser();
  unitX_ = clientW / v;
}

void ScaleState::setScaleHeight(double clientH, double v) {
  if (v == 0) host::raise(host::kInvalidPropertyValue);
  enterUser();
  unitY_ = clientH / v;
}

double ScaleState::scaleWidth(double clientW) const { return clientW / unit(true); }
double ScaleState::scaleHeight(double clientH) const { return clientH / unit(false); }

ScaleSpace ScaleState::space() const { return ScaleSpace{unit(true), unit(false), left_, top_}; }

double ScaleState::convert(double value, int from, int to, bool xAxis) const {
  auto tpu = [&](int mode) {
    if (mode == vbUser) return unit(xAxis);
    return twipsPerUnit(mode, xAxis, xAxis ? twipsPerPixelX : twipsPerPixelY);
  };
  return value * tpu(from) / tpu(to);
}

}  // namespace rescalo::runtime
