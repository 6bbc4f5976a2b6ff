#include <rescalo/runtime/raster/paint.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace rescalo::raster {

namespace {

constexpr double kCoordLimit = 1 << 28;

int toPixel(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::floor(std::clamp(v, -kCoordLimit, kCoordLimit) + 0.5));
}

struct Tap {
  int index;
  double weight;
};

// How one destination axis maps onto the source axis: for each destination pixel in
// [first, first + taps.size()), the source pixels it reads and their weights.
struct Axis {
  int first = 0;
  std::vector<std::vector<Tap>> taps;
};

// The destination span runs from d0 to d1 and shows the source span s0..s1 (either may run
// backwards, which mirrors). Source pixels outside [0, srcSize) and outside the source
// span never contribute.
Axis mapAxis(int d0, int d1, double s0, double s1, int dstSize, int srcSize) {
  Axis axis;
  const int lo = std::max(std::min(d0, d1), 0);
  const int hi = std::min(std::max(d0, d1), dstSize);  // exclusive
  if (hi <= lo || srcSize <= 0) return axis;
  const double spanLo = std::max(std::min(s0, s1), 0.0);
  const double spanHi = std::min(std::max(s0, s1), static_cast<double>(srcSize));
  if (spanHi <= spanLo) return axis;
  // Whole source pixels the span touches; a span edge a hair into a pixel does not count.
  const int firstSrc = static_cast<int>(std::floor(spanLo + 1e-9));
  const int lastSrc = std::max(firstSrc, static_cast<int>(std::ceil(spanHi - 1e-9)) - 1);
  const double scale = (s1 - s0) / (d1 - d0);
  const auto at = [&](double d) { return s0 + (d - d0) * scale; };
  axis.first = lo;
  axis.taps.resize(static_cast<std::size_t>(hi - lo));
  for (int d = lo; d < hi; ++d) {
    std::vector<Tap>& taps = axis.taps[static_cast<std::size_t>(d - lo)];
    const double a = std::clamp(std::min(at(d), at(d + 1)), spanLo, spanHi);
    const double b = std::clamp(std::max(at(d), at(d + 1)), spanLo, spanHi);
    if (std::fabs(scale) >= 1.0) {
      // Shrinking (or 1:1): average the covered source pixels by how much each is covered.
      double total = 0;
      for (int s = static_cast<int>(std::floor(a)); s < b && s <= lastSrc; ++s) {
        const double w = std::min(b, s + 1.0) - std::max(a, static_cast<double>(s));
        if (w > 1e-12 && s >= firstSrc) {
          taps.push_back({s, w});
          total += w;
        }
      }
      for (Tap& t : taps) t.weight /= total;
    } else {
      // Enlarging: bilinear between the two source pixel centres around this pixel's
      // centre, holding the edge pixels at the span's borders.
      const double c = (a + b) / 2 - 0.5;
      const double f0 = std::floor(c);
      const double frac = c - f0;
      const int s0i = std::clamp(static_cast<int>(f0), firstSrc, lastSrc);
      const int s1i = std::clamp(static_cast<int>(f0) + 1, firstSrc, lastSrc);
      if (s0i == s1i) {
        taps.push_back({s0i, 1.0});
      } else {
        taps.push_back({s0i, 1.0 - frac});
        taps.push_back({s1i, frac});
      }
    }
  }
  return axis;
}

// A filtered source pixel: colour weighted plainly (for raster operations) and by alpha
// (for compositing), and the coverage.
struct Sample {
  double plain[3] = {0, 0, 0};
  double premultiplied[3] = {0, 0, 0};
  double alpha = 0;  // 0..1
};

std::uint8_t toByte(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

template <typename Write>
void stretch(const Bitmap& src, int dstWidth, int dstHeight, int x0, int x1, int y0, int y1,
             double sx0, double sx1, double sy0, double sy1, Write write) {
  const Axis xs = mapAxis(x0, x1, sx0, sx1, dstWidth, src.width());
  const Axis ys = mapAxis(y0, y1, sy0, sy1, dstHeight, src.height());
  const auto px = src.rgba();
  const auto stride = static_cast<std::size_t>(src.width()) * 4;
  for (std::size_t j = 0; j < ys.taps.size(); ++j) {
    for (std::size_t i = 0; i < xs.taps.size(); ++i) {
      if (xs.taps[i].empty() || ys.taps[j].empty()) continue;
      Sample s;
      for (const Tap& ty : ys.taps[j]) {
        for (const Tap& tx : xs.taps[i]) {
          const double w = ty.weight * tx.weight;
          const std::uint8_t* p = &px[static_cast<std::size_t>(ty.index) * stride +
                                      static_cast<std::size_t>(tx.index) * 4];
          const double a = p[3] / 255.0;
          for (int c = 0; c < 3; ++c) {
            s.plain[c] += w * p[c];
            s.premultiplied[c] += w * a * p[c];
          }
          s.alpha += w * a;
        }
      }
      write(xs.first + static_cast<int>(i), ys.first + static_cast<int>(j), s);
    }
  }
}

}  // namespace

Color rop3(std::uint32_t opcode, Color src, Color dst) {
  // The operation's truth table is the opcode's third byte, indexed by pattern, source
  // and destination bits (pattern is always 0 here).
  const std::uint32_t table = (opcode >> 16) & 0xFF;
  const Color p = 0;
  const Color s = src & 0xFFFFFF;
  const Color d = dst & 0xFFFFFF;
  Color r = 0;
  for (std::uint32_t index = 0; index < 8; ++index) {
    if ((table >> index & 1) == 0) continue;
    const Color pb = (index & 4) ? p : ~p;
    const Color sb = (index & 2) ? s : ~s;
    const Color db = (index & 1) ? d : ~d;
    r |= pb & sb & db;
  }
  return r & 0xFFFFFF;
}

void paintPicture(Bitmap& dst, const Bitmap& src, double dx, double dy, double dw, double dh,
                  double sx, double sy, double sw, double sh, std::uint32_t opcode) {
  if (dst.empty() || src.empty()) return;
  for (double v : {sx, sy, sw, sh}) {
    if (!std::isfinite(v)) return;
  }
  const int x0 = toPixel(dx);
  const int x1 = toPixel(dx + dw);
  const int y0 = toPixel(dy);
  const int y1 = toPixel(dy + dh);
  if (x0 == x1 || y0 == y1 || sw == 0 || sh == 0) return;
  stretch(src, dst.width(), dst.height(), x0, x1, y0, y1, sx, sx + sw, sy, sy + sh,
          [&](int x, int y, const Sample& s) {
            if (opcode != SRCCOPY) {
              const Color c = rgb(toByte(s.plain[0]), toByte(s.plain[1]), toByte(s.plain[2]));
              dst.setPixel(x, y, rop3(opcode, c, dst.pixel(x, y)));
              return;
            }
            if (s.alpha <= 0) return;
            // Source over destination, in straight (not premultiplied) colour.
            const Color under = dst.pixel(x, y);
            const double da = dst.alpha(x, y) / 255.0;
            const double keep = da * (1.0 - s.alpha);
            const double outA = s.alpha + keep;
            const double under3[3] = {static_cast<double>(red(under)),
                                      static_cast<double>(green(under)),
                                      static_cast<double>(blue(under))};
            std::uint8_t out[3];
            for (int c = 0; c < 3; ++c)
              out[c] = toByte((s.premultiplied[c] + under3[c] * keep) / outA);
            dst.setPixel(x, y, rgb(out[0], out[1], out[2]), toByte(outA * 255.0));
          });
}

Bitmap resample(const Bitmap& src, int width, int height) {
  Bitmap out(width, height, kBlack, 0);
  if (out.empty() || src.empty()) return out;
  stretch(src, width, height, 0, width, 0, height, 0, src.width(), 0, src.height(),
          [&](int x, int y, const Sample& s) {
            if (s.alpha <= 0) return;
            out.setPixel(
                x, y,
                rgb(toByte(s.premultiplied[0] / s.alpha), toByte(s.premultiplied[1] / s.alpha),
                    toByte(s.premultiplied[2] / s.alpha)),
                toByte(s.alpha * 255.0));
          });
  return out;
}

}  // namespace rescalo::raster
