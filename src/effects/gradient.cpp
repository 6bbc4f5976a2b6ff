#include <rescalo/effects/gradient.h>

#include <algorithm>
#include <cmath>

namespace rescalo::effects {

using host::Variant;

GradientPainting& gradientPainting() {
  static GradientPainting state;
  return state;
}

namespace {

Channels channelsOf(std::int32_t colour) {
  return {static_cast<std::int16_t>(colour & 0xFF),
          static_cast<std::int16_t>((colour & 0xFF00) / 256),
          static_cast<std::int16_t>((colour & 0xFF0000) / 65536)};
}

// A step's value of one channel. Below the mid point the arithmetic is single precision
// (a whole step times a Single delta); from it on, N / 2 is a Double and so is the sum.
std::int16_t stepChannel(const GradientPainting& p, std::int16_t i, std::int16_t start,
                         std::int16_t mid, float first, float second) {
  double value;
  const double half = p.N / 2.0;
  if (p.useMid && i >= half)
    value = (i - half) * static_cast<double>(second) + mid;
  else
    value = static_cast<float>(i) * first + static_cast<float>(start);
  return static_cast<std::int16_t>(std::clamp(host::roundHalfEven(value), 0.0, 255.0));
}

class Painter {
 public:
  explicit Painter(host::Object& form) : form_(form) {}

  float SW() { return form_.get("ScaleWidth").toSingle(); }
  float SH() { return form_.get("ScaleHeight").toSingle(); }

  void step(int i) { GradientStepColour(static_cast<std::int16_t>(i)); }

  void box(float x1, float y1, float x2, float y2) {
    Variant args[] = {Variant(x1), Variant(y1),   Variant(x2),
                      Variant(y2), colourValue(), Variant("BF")};
    form_.call("Line", args);
  }

  void ring(float x, float y, float radius) {
    Variant args[] = {Variant(x), Variant(y), Variant(radius), colourValue()};
    form_.call("Circle", args);
  }

  void linear(std::int32_t source, int N) {
    const bool centred = source == kGsMiddle || source == kGsOutside;
    const float n = static_cast<float>(N);
    const float h = centred ? SH() / n / 2 : SH() / n;
    const float w = centred ? SW() / n / 2 : SW() / n;
    // i as a Single, so that every coordinate is computed as the form's Singles are.
    auto f = [](int i) { return static_cast<float>(i); };
    switch (source) {
      case kGsTop:
        for (int i = 0; i <= N; ++i) {
          step(i);
          box(0, h * f(i), SW(), h * f(i) + h);
        }
        break;
      case kGsBottom:
        for (int i = N; i >= 0; --i) {
          step(N - i);
          box(0, h * f(i), SW(), h * f(i) + h);
        }
        break;
      case kGsRight:
        for (int i = N; i >= 0; --i) {
          step(N - i);
          box(w * f(i), 0, w * f(i) + w, SH());
        }
        break;
      case kGsLeft:
        for (int i = 0; i <= N; ++i) {
          step(i);
          box(w * f(i), 0, w * f(i) + w, SH());
        }
        break;
      // The corners paint an L per step; the top ones reach one pixel row further down.
      case kGsTopLeft:
        for (int i = 0; i <= N; ++i) {
          step(i);
          box(0, h * f(i), w * f(i) + w, h * f(i) + h + 1);
          box(w * f(i), 0, w * f(i) + w, h * f(i));
        }
        break;
      case kGsTopRight:
        for (int i = 0; i <= N; ++i) {
          step(i);
          box(SW() - w * f(i), 0, SW() - w * f(i) + w, h * f(i));
          box(SW(), h * f(i), SW() - w * f(i), h * f(i) + h + 1);
        }
        break;
      case kGsBottomLeft:
        for (int i = 0; i <= N; ++i) {
          step(i);
          box(0, SH() - h * f(i), w * f(i) + w, SH() - h * f(i) - h);
          box(w * f(i), SH(), w * f(i) + w, SH() - h * f(i));
        }
        break;
      case kGsBottomRight:
        for (int i = 0; i <= N; ++i) {
          step(i);
          box(SW(), SH() - h * f(i), SW() - w * f(i), SH() - h * f(i) - h);
          box(SW() - w * f(i), SH(), SW() - w * f(i) + w, SH() - h * f(i));
        }
        break;
      // Nested boxes from the largest to the smallest.
      case kGsMiddle:
      case kGsOutside:
        for (int i = N; i >= 0; --i) {
          step(source == kGsMiddle ? i : N - i);
          box(SW() / 2 - w * f(i), SH() / 2 - h * f(i), SW() / 2 + w * f(i), SH() / 2 + h * f(i));
        }
        break;
      default:
        break;
    }
  }

  void radial(std::int32_t source, int N) {
    if (source < kGsTop || source > kGsOutside) return;
    const bool centred = source == kGsMiddle || source == kGsOutside;
    const double sw = SW(), sh = SH();
    const double D = centred ? std::sqrt((sw / 2) * (sw / 2) + (sh / 2) * (sh / 2))
                             : std::sqrt(sw * sw + sh * sh);
    const float r = static_cast<float>(D / N);
    // Rings twice the step wide overlap their neighbours. A form so small that the width
    // rounds to nothing still draws one-pixel rings rather than being refused the width.
    std::int16_t width = host::CInt(2 * r);
    form_.set("DrawWidth", std::max<std::int16_t>(width, 1));
    for (int i = 0; i <= N; ++i) {
      step(i);
      const float ri = r * static_cast<float>(source == kGsOutside ? N - i : i);
      switch (source) {
        case kGsTop:
          ring(SW() / 2, 0, ri);
          break;
        case kGsBottom:
          ring(SW() / 2, SH(), ri);
          break;
        case kGsRight:
          ring(SW(), SH() / 2, ri);
          break;
        case kGsLeft:
          ring(0, SH() / 2, ri);
          break;
        case kGsTopLeft:
          ring(0, 0, ri);
          break;
        case kGsTopRight:
          ring(SW(), 0, ri);
          break;
        case kGsBottomLeft:
          ring(0, SH(), ri);
          break;
        case kGsBottomRight:
          ring(SW(), SH(), ri);
          break;
        default:  // the middle and the outside share the centre
          ring(SW() / 2, SH() / 2, ri);
          break;
      }
    }
  }

 private:
  static Variant colourValue() { return Variant(CurrentGradientColour()); }
  host::Object& form_;
};

}  // namespace

void PrepareGradient(std::int32_t startColour, std::int32_t endColour, std::int32_t midColour) {
  GradientPainting& p = gradientPainting();
  p.N = 64;
  p.start = channelsOf(startColour);
  p.mid = channelsOf(midColour);
  p.end = channelsOf(endColour);
  p.useMid = midColour != endColour ? host::kTrue : host::kFalse;
  const double half = p.N / 2.0;
  auto delta = [](double by, double over) { return static_cast<float>(by / over); };
  if (p.useMid) {
    p.first = {delta(p.mid.red - p.start.red, half), delta(p.mid.green - p.start.green, half),
               delta(p.mid.blue - p.start.blue, half)};
    p.second = {delta(p.end.red - p.mid.red, half), delta(p.end.green - p.mid.green, half),
                delta(p.end.blue - p.mid.blue, half)};
  } else {
    p.first = {delta(p.end.red - p.start.red, p.N), delta(p.end.green - p.start.green, p.N),
               delta(p.end.blue - p.start.blue, p.N)};
    p.second = {};
  }
  p.current = p.start;
}

void GradientStepColour(std::int16_t i) {
  GradientPainting& p = gradientPainting();
  p.current = {stepChannel(p, i, p.start.red, p.mid.red, p.first.red, p.second.red),
               stepChannel(p, i, p.start.green, p.mid.green, p.first.green, p.second.green),
               stepChannel(p, i, p.start.blue, p.mid.blue, p.first.blue, p.second.blue)};
}

std::int32_t CurrentGradientColour() {
  const Channels& c = gradientPainting().current;
  return c.red + 256 * c.green + 65536 * c.blue;
}

void PaintGradient(const host::ObjectPtr& form, std::int32_t source, std::int32_t type,
                   std::int32_t startColour, std::int32_t endColour, std::int32_t midColour) {
  if (!form || form->typeName() == "MDIForm") return;
  host::Object& f = *form;
  // Whatever the form's drawing state, the bands are solid, copied and in pixels.
  const Variant autoRedraw = f.get("AutoRedraw");
  const Variant drawWidth = f.get("DrawWidth");
  const Variant drawMode = f.get("DrawMode");
  f.set("DrawMode", std::int16_t{13});
  const Variant drawStyle = f.get("DrawStyle");
  f.set("DrawStyle", std::int16_t{0});
  f.set("AutoRedraw", true);
  const Variant scaleMode = f.get("ScaleMode");
  f.set("ScaleMode", std::int16_t{3});

  PrepareGradient(startColour, endColour, midColour);
  Painter painter(f);
  if (type == kGtLinear)
    painter.linear(source, gradientPainting().N);
  else
    painter.radial(source, gradientPainting().N);
  f.call("Refresh");

  f.set("AutoRedraw", autoRedraw);
  f.set("ScaleMode", scaleMode);
  f.set("DrawWidth", drawWidth);
  f.set("DrawMode", drawMode);
  f.set("DrawStyle", drawStyle);
}

}  // namespace rescalo::effects
