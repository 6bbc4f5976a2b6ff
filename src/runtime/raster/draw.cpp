#include <rescalo/runtime/raster/draw.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <span>
#include <vector>

namespace rescalo::raster {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Far enough outside any bitmap that clipping still works, small enough that products of
// two coordinates fit in 64 bits.
constexpr double kCoordLimit = 1 << 28;

int toPixel(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::floor(std::clamp(v, -kCoordLimit, kCoordLimit) + 0.5));
}

// The pixels one drawing call touches, each applied once, so that xor and invert modes
// give the same result however the shape's pieces overlap.
class PixelSet {
 public:
  explicit PixelSet(const Bitmap& bm) : width_(bm.width()), height_(bm.height()) {}

  void add(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    indices_.push_back(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                       static_cast<std::size_t>(x));
  }

  void apply(Bitmap& bm, Color color, int mode) {
    std::sort(indices_.begin(), indices_.end());
    indices_.erase(std::unique(indices_.begin(), indices_.end()), indices_.end());
    const auto w = static_cast<std::size_t>(width_);
    for (std::size_t i : indices_) {
      const int x = static_cast<int>(i % w);
      const int y = static_cast<int>(i / w);
      bm.setPixel(x, y, rop2(mode, color, bm.pixel(x, y)));
    }
    indices_.clear();
  }

 private:
  int width_;
  int height_;
  std::vector<std::size_t> indices_;
};

// One pixel of a thin path, with its step count from the path's start (for dash phase).
struct Step {
  int x;
  int y;
  std::int64_t k;
};

// Follows a one-pixel path segment by segment, keeping only the pixels near the bitmap so
// that a huge off-screen line costs no more than the visible part.
class Trace {
 public:
  explicit Trace(const Bitmap& bm) : width_(bm.width()), height_(bm.height()) {}

  // The pixels from (x0,y0) towards (x1,y1); the end itself only when includeEnd.
  void segment(int x0, int y0, int x1, int y1, bool includeEnd) {
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const std::int64_t n = std::max(std::llabs(dx), std::llabs(dy));
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t last = includeEnd ? n : n - 1;
    // Restrict the walk to the steps whose major coordinate is on (or next to) the bitmap.
    std::int64_t from = 0;
    std::int64_t to = last;
    if (n > 0) {
      const std::int64_t start = xMajor ? x0 : y0;
      const std::int64_t dir = (xMajor ? dx : dy) > 0 ? 1 : -1;
      const std::int64_t lo = -1;
      const std::int64_t hi = xMajor ? width_ : height_;
      if (dir > 0) {
        from = std::max(from, lo - start);
        to = std::min(to, hi - start);
      } else {
        from = std::max(from, start - hi);
        to = std::min(to, start - lo);
      }
    }
    for (std::int64_t i = from; i <= to; ++i) {
      std::int64_t x = x0;
      std::int64_t y = y0;
      if (n > 0) {
        // The ideal line rounded to the nearest pixel on the minor axis.
        x = x0 + floorDiv(2 * i * dx + n, 2 * n);
        y = y0 + floorDiv(2 * i * dy + n, 2 * n);
      }
      steps.push_back({static_cast<int>(x), static_cast<int>(y), k + i});
    }
    k += n;
  }

  // Drops the corner pixel where a path turns through an L, so a curve stays one pixel wide.
  void thin() {
    std::vector<Step> out;
    out.reserve(steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
      if (!out.empty() && i + 1 < steps.size() && out.back().k + 1 == steps[i].k &&
          steps[i + 1].k == steps[i].k + 1) {
        const Step& prev = out.back();
        const Step& next = steps[i + 1];
        const bool touching = std::abs(prev.x - next.x) <= 1 && std::abs(prev.y - next.y) <= 1;
        const bool same = prev.x == next.x && prev.y == next.y;
        if (touching && !same) continue;
      }
      out.push_back(steps[i]);
    }
    steps = std::move(out);
  }

  // Hands the pixels to the set, leaving out the gaps of a dashed or dotted style.
  void emit(PixelSet& set, int style) const {
    static constexpr int kDash[] = {18, 6};
    static constexpr int kDot[] = {3, 3};
    static constexpr int kDashDot[] = {9, 6, 3, 6};
    static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    std::span<const int> pattern;
    switch (style) {
      case vbDash:
        pattern = kDash;
        break;
      case vbDot:
        pattern = kDot;
        break;
      case vbDashDot:
        pattern = kDashDot;
        break;
      case vbDashDotDot:
        pattern = kDashDotDot;
        break;
      default:
        break;
    }
    int period = 0;
    for (int len : pattern) period += len;
    for (const Step& s : steps) {
      if (period > 0) {
        // Even entries of the pattern are drawn, odd ones are gaps.
        std::int64_t phase = ((s.k % period) + period) % period;
        std::size_t part = 0;
        while (phase >= pattern[part]) phase -= pattern[part++];
        if (part % 2 == 1) continue;
      }
      set.add(s.x, s.y);
    }
  }

  std::vector<Step> steps;
  std::int64_t k = 0;

 private:
  static std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
  }

  int width_;
  int height_;
};

// Wider pens draw solid whatever the style; an invisible pen draws nothing.
int effectiveStyle(const Pen& pen) {
  if (pen.width > 1 && pen.drawStyle >= vbDash && pen.drawStyle <= vbDashDotDot) return vbSolid;
  return pen.drawStyle;
}

int penWidth(const Pen& pen) { return std::max(1, pen.width); }

struct Range {
  int lo;
  int hi;  // inclusive; empty when hi < lo
};

Range clipRange(double lo, double hi, int size) {
  const double l = std::max(std::floor(lo), 0.0);
  const double h = std::min(std::ceil(hi), static_cast<double>(size) - 1);
  if (h < l) return {0, -1};
  return {static_cast<int>(l), static_cast<int>(h)};
}

// The pixels within half the pen width of the segment: a thick line with round ends.
void addThickSegment(PixelSet& set, const Bitmap& bm, double x0, double y0, double x1, double y1,
                     int width) {
  // An even width cannot be centred on a pixel row; shift it half a pixel up and left.
  const double shift = width % 2 == 0 ? -0.5 : 0.0;
  x0 += shift;
  y0 += shift;
  x1 += shift;
  y1 += shift;
  const double r = width / 2.0;
  const Range xs = clipRange(std::min(x0, x1) - r, std::max(x0, x1) + r, bm.width());
  const Range ys = clipRange(std::min(y0, y1) - r, std::max(y0, y1) + r, bm.height());
  const double vx = x1 - x0;
  const double vy = y1 - y0;
  const double len2 = vx * vx + vy * vy;
  for (int y = ys.lo; y <= ys.hi; ++y) {
    for (int x = xs.lo; x <= xs.hi; ++x) {
      double t = len2 > 0 ? ((x - x0) * vx + (y - y0) * vy) / len2 : 0.0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = x - (x0 + t * vx);
      const double ey = y - (y0 + t * vy);
      if (ex * ex + ey * ey < r * r) set.add(x, y);
    }
  }
}

// The parameter angle of a point relative to an ellipse, in [0, 2*pi); y grows downwards
// on the bitmap but angles run counter-clockwise on screen.
double ellipseAngle(double dx, double dy, double rx, double ry) {
  double a = std::atan2(-dy * rx, dx * ry);
  if (a < 0) a += kTwoPi;
  return a;
}

bool inEllipse(double dx, double dy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return false;
  const double u = dx / rx;
  const double v = dy / ry;
  return u * u + v * v <= 1.0;
}

// The arc swept counter-clockwise from `start`; `sweep` is in (0, 2*pi].
struct Arc {
  double start = 0;
  double sweep = kTwoPi;
  bool full = true;
  bool contains(double angle) const {
    if (full) return true;
    double d = std::fmod(angle - start, kTwoPi);
    if (d < 0) d += kTwoPi;
    return d <= sweep;
  }
};

// A start or end angle: the sign only asks for a radius line.
double normalizeAngle(double a) { return std::fmod(std::fabs(a), kTwoPi); }

}  // namespace

Color rop2(int mode, Color pen, Color dst) {
  const Color p = pen & 0xFFFFFF;
  const Color d = dst & 0xFFFFFF;
  Color r = p;
  switch (mode) {
    case vbBlackness:
      r = 0;
      break;
    case vbNotMergePen:
      r = ~(d | p);
      break;
    case vbMaskNotPen:
      r = d & ~p;
      break;
    case vbNotCopyPen:
      r = ~p;
      break;
    case vbMaskPenNot:
      r = p & ~d;
      break;
    case vbInvert:
      r = ~d;
      break;
    case vbXorPen:
      r = d ^ p;
      break;
    case vbNotMaskPen:
      r = ~(d & p);
      break;
    case vbMaskPen:
      r = d & p;
      break;
    case vbNotXorPen:
      r = ~(d ^ p);
      break;
    case vbNop:
      r = d;
      break;
    case vbMergeNotPen:
      r = d | ~p;
      break;
    case vbCopyPen:
      r = p;
      break;
    case vbMergePenNot:
      r = p | ~d;
      break;
    case vbMergePen:
      r = d | p;
      break;
    case vbWhiteness:
      r = 0xFFFFFF;
      break;
    default:
      r = p;
      break;
  }
  return r & 0xFFFFFF;
}

void drawPoint(Bitmap& bm, double x, double y, const Pen& pen) {
  PixelSet set(bm);
  const int width = penWidth(pen);
  if (width == 1) {
    set.add(toPixel(x), toPixel(y));
  } else {
    const double px = toPixel(x);
    const double py = toPixel(y);
    addThickSegment(set, bm, px, py, px, py, width);
  }
  set.apply(bm, pen.color, pen.drawMode);
}

void drawLine(Bitmap& bm, double x1, double y1, double x2, double y2, const Pen& pen) {
  const int style = effectiveStyle(pen);
  if (style == vbInvisible) return;
  PixelSet set(bm);
  const int width = penWidth(pen);
  if (width == 1) {
    Trace trace(bm);
    trace.segment(toPixel(x1), toPixel(y1), toPixel(x2), toPixel(y2), false);
    trace.emit(set, style);
  } else {
    addThickSegment(set, bm, toPixel(x1), toPixel(y1), toPixel(x2), toPixel(y2), width);
  }
  set.apply(bm, pen.color, pen.drawMode);
}

void drawBox(Bitmap& bm, double x1, double y1, double x2, double y2, const Pen& pen) {
  const int style = effectiveStyle(pen);
  if (style == vbInvisible) return;
  const int l = std::min(toPixel(x1), toPixel(x2));
  const int r = std::max(toPixel(x1), toPixel(x2));
  const int t = std::min(toPixel(y1), toPixel(y2));
  const int b = std::max(toPixel(y1), toPixel(y2));
  PixelSet set(bm);
  const int width = penWidth(pen);
  if (width == 1) {
    // Clockwise from the top-left corner so a dash pattern runs on around the corners.
    Trace trace(bm);
    trace.segment(l, t, r, t, false);
    trace.segment(r, t, r, b, false);
    trace.segment(r, b, l, b, false);
    trace.segment(l, b, l, t, false);
    if (l == r && t == b) trace.segment(l, t, l, t, true);  // a one-pixel box
    trace.emit(set, style);
  } else {
    // The band `width` pixels deep inside the outer edge.
    std::int64_t ol = l, ot = t, orr = r, ob = b;
    if (style != vbInsideSolid) {
      const int before = (width - 1) / 2;
      const int after = width - 1 - before;
      ol -= before;
      ot -= before;
      orr += after;
      ob += after;
    }
    const Range xs = clipRange(static_cast<double>(ol), static_cast<double>(orr), bm.width());
    const Range ys = clipRange(static_cast<double>(ot), static_cast<double>(ob), bm.height());
    for (int y = ys.lo; y <= ys.hi; ++y) {
      for (int x = xs.lo; x <= xs.hi; ++x) {
        const bool inner =
            x >= ol + width && x <= orr - width && y >= ot + width && y <= ob - width;
        if (!inner) set.add(x, y);
      }
    }
  }
  set.apply(bm, pen.color, pen.drawMode);
}

void fillBox(Bitmap& bm, double x1, double y1, double x2, double y2, Color color, int drawMode) {
  const Range xs =
      clipRange(std::min(toPixel(x1), toPixel(x2)), std::max(toPixel(x1), toPixel(x2)), bm.width());
  const Range ys = clipRange(std::min(toPixel(y1), toPixel(y2)), std::max(toPixel(y1), toPixel(y2)),
                             bm.height());
  for (int y = ys.lo; y <= ys.hi; ++y) {
    for (int x = xs.lo; x <= xs.hi; ++x) bm.setPixel(x, y, rop2(drawMode, color, bm.pixel(x, y)));
  }
}

void drawCircle(Bitmap& bm, double cx, double cy, double radius, const Pen& pen,
                std::optional<double> start, std::optional<double> end, double aspect,
                std::optional<Color> fill) {
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(radius) ||
      !std::isfinite(aspect)) {
    return;
  }
  cx = std::clamp(cx, -kCoordLimit, kCoordLimit);
  cy = std::clamp(cy, -kCoordLimit, kCoordLimit);
  radius = std::min(std::fabs(radius), kCoordLimit);
  aspect = std::fabs(aspect);
  const double rx = aspect > 1.0 ? radius / aspect : radius;
  const double ry = aspect > 1.0 ? radius : radius * aspect;

  Arc arc;
  if (start || end) {
    arc.start = start ? normalizeAngle(*start) : 0.0;
    const double e = end ? normalizeAngle(*end) : kTwoPi;
    arc.sweep = std::fmod(e - arc.start, kTwoPi);
    if (arc.sweep <= 0) arc.sweep += kTwoPi;
    arc.full = false;
  }
  const bool lineAtStart = start && *start < 0;
  const bool lineAtEnd = end && *end < 0;
  const int width = penWidth(pen);
  const int style = effectiveStyle(pen);
  const auto pointAt = [&](double a) {
    return std::pair{cx + rx * std::cos(a), cy - ry * std::sin(a)};
  };

  if (fill && (arc.full || (lineAtStart && lineAtEnd))) {
    PixelSet set(bm);
    const Range xs = clipRange(cx - rx, cx + rx, bm.width());
    const Range ys = clipRange(cy - ry, cy + ry, bm.height());
    for (int y = ys.lo; y <= ys.hi; ++y) {
      for (int x = xs.lo; x <= xs.hi; ++x) {
        if (inEllipse(x - cx, y - cy, rx, ry) && arc.contains(ellipseAngle(x - cx, y - cy, rx, ry)))
          set.add(x, y);
      }
    }
    set.apply(bm, *fill, pen.drawMode);
  }
  if (style == vbInvisible) return;

  PixelSet set(bm);
  if (width == 1) {
    // Walk the ellipse in steps of about half a pixel, joining the rounded points.
    const double steps = std::ceil(arc.sweep * std::max(rx, ry) * 2.0);
    const int n = static_cast<int>(std::clamp(steps, 8.0, double{1 << 18}));
    Trace trace(bm);
    const auto [px, py] = pointAt(arc.start);
    int lastX = toPixel(px);
    int lastY = toPixel(py);
    const int firstX = lastX;
    const int firstY = lastY;
    for (int i = 1; i <= n; ++i) {
      int x = firstX;
      int y = firstY;
      if (i < n || !arc.full) {
        auto [qx, qy] = pointAt(arc.start + arc.sweep * i / n);
        x = toPixel(qx);
        y = toPixel(qy);
      }
      trace.segment(lastX, lastY, x, y, i == n && !arc.full);
      lastX = x;
      lastY = y;
    }
    if (trace.k == 0) trace.segment(firstX, firstY, firstX, firstY, true);  // radius 0
    trace.thin();
    trace.emit(set, style);
    const int ox = toPixel(cx);
    const int oy = toPixel(cy);
    if (lineAtStart) {
      Trace line(bm);
      line.segment(ox, oy, firstX, firstY, true);
      line.emit(set, style);
    }
    if (lineAtEnd) {
      Trace line(bm);
      line.segment(ox, oy, lastX, lastY, true);
      line.emit(set, style);
    }
  } else {
    // A ring as thick as the pen, centred on the outline or inside it for vbInsideSolid.
    const double outer = style == vbInsideSolid ? 0.0 : width / 2.0;
    const double inner = width - outer;
    const double orx = rx + outer, ory = ry + outer;
    const double irx = rx - inner, iry = ry - inner;
    const Range xs = clipRange(cx - orx, cx + orx, bm.width());
    const Range ys = clipRange(cy - ory, cy + ory, bm.height());
    for (int y = ys.lo; y <= ys.hi; ++y) {
      for (int x = xs.lo; x <= xs.hi; ++x) {
        const double dx = x - cx;
        const double dy = y - cy;
        if (inEllipse(dx, dy, orx, ory) && !inEllipse(dx, dy, irx, iry) &&
            arc.contains(ellipseAngle(dx, dy, rx, ry)))
          set.add(x, y);
      }
    }
    for (auto [on, angle] :
         {std::pair{lineAtStart, arc.start}, std::pair{lineAtEnd, arc.start + arc.sweep}}) {
      if (!on) continue;
      auto [ex, ey] = pointAt(angle);
      addThickSegment(set, bm, cx, cy, ex, ey, width);
    }
  }
  set.apply(bm, pen.color, pen.drawMode);
}

void clear(Bitmap& bm, Color color) { bm.fill(color, 255); }

}  // namespace rescalo::raster
