#include <rescalo/effects/window_animation.h>

#include <optional>

#include <rescalo/host/error.h>

namespace rescalo::effects {

using host::RECT;

namespace {

// The quantities of one animation, fixed before its first step; Singles where the classic
// arithmetic keeps Singles.
struct Plan {
  float T = 0;
  std::int16_t N = 0;
  std::int32_t Wd = 0, Ht = 0;
  float dx = 0, dy = 0;
  float tStep = 0;
  float S = 0, FL = 0, FR = 0;  // the fold's strip, a tenth of the window wide
};

Plan plan(host::Services& sv, host::Object& form, float seconds) {
  Plan p;
  p.T = seconds;
  p.N = p.T > 0 ? host::CInt(p.T * 18.0f) : std::int16_t{100};
  if (p.N == 0) host::raise(host::kDivisionByZero);
  RECT r;
  sv.windows().GetWindowRect(form.get("hWnd").toLong(), r);
  p.Wd = r.right - r.left;
  p.Ht = r.bottom - r.top;
  p.dx = static_cast<float>(static_cast<double>(p.Wd) / p.N);
  p.dy = static_cast<float>(static_cast<double>(p.Ht) / p.N);
  p.tStep = p.T / static_cast<float>(p.N);
  p.S = static_cast<float>(p.Wd / 10.0);
  const float middle = static_cast<float>(p.N) * p.dx / 2;
  p.FL = middle - p.S / 2;
  p.FR = middle + p.S / 2;
  return p;
}

std::int32_t px(double v) { return host::CLng(v); }

// The visible rectangle of step i, window-relative; nothing when the step changes nothing.
// N / 2 is a Double, so the fold's vertical phase is computed in double precision.
std::optional<RECT> openRegion(const Plan& p, int effect, int i) {
  const float fi = static_cast<float>(i), rest = static_cast<float>(p.N - i),
              fN = static_cast<float>(p.N);
  const double half = p.N / 2.0;
  switch (effect) {
    case kWipeLeft:
      return RECT{px(rest * p.dx), 0, p.Wd, p.Ht};
    case kWipeRight:
      return RECT{0, 0, px(fi * p.dx), p.Ht};
    case kWipeUp:
      return RECT{0, px(rest * p.dy), p.Wd, p.Ht};
    case kWipeDown:
      return RECT{0, 0, p.Wd, px(fi * p.dy)};
    case kWipeVertical:
      return RECT{px(fN * p.dx / 2 - fi * p.dx / 2), 0, px(fN * p.dx / 2 + fi * p.dx / 2), p.Ht};
    case kWipeHorizontal:
      return RECT{0, px(fN * p.dy / 2 - fi * p.dy / 2), p.Wd, px(fN * p.dy / 2 + fi * p.dy / 2)};
    case kFold:
      // The strip unfolds to the full height, then widens once it is passed.
      if (i < half)
        return RECT{px(p.FL), px(half * p.dy - fi * p.dy), px(p.FR), px(half * p.dy + fi * p.dy)};
      if (rest * p.dx < p.FL) return RECT{px(rest * p.dx), 0, px(fi * p.dx), p.Ht};
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<RECT> closeRegion(const Plan& p, int effect, int i) {
  const float fi = static_cast<float>(i), rest = static_cast<float>(p.N - i);
  const double half = p.N / 2.0;
  switch (effect) {
    case kWipeLeft:
      return RECT{0, 0, px(rest * p.dx), p.Ht};
    case kWipeRight:
      return RECT{px(fi * p.dx), 0, p.Wd, p.Ht};
    case kWipeUp:
      return RECT{0, 0, p.Wd, px(rest * p.dy)};
    case kWipeDown:
      return RECT{0, px(fi * p.dy), p.Wd, p.Ht};
    case kWipeVertical:
      return RECT{px(fi * p.dx / 2), 0, px(fi * p.dx / 2 + rest * p.dx), p.Ht};
    case kWipeHorizontal:
      return RECT{0, px(fi * p.dy / 2), p.Wd, px(fi * p.dy / 2 + rest * p.dy)};
    case kFold:
      // Narrows to the strip, then folds it up towards its middle.
      if (i < half) {
        if (fi * p.dx < p.FL) return RECT{px(fi * p.dx), 0, px(rest * p.dx), p.Ht};
        return std::nullopt;
      }
      return RECT{px(p.FL), px((i - half) * p.dy), px(p.FR), px((p.N - (i - half)) * p.dy)};
    default:
      return std::nullopt;
  }
}

bool play(host::Services& sv, host::Object& form, std::int16_t effect, float seconds,
          bool opening) {
  if (form.get("WindowState").toInteger() == 1 || effect == kNoEffect) return false;
  const Plan p = plan(sv, form, seconds);
  host::WindowApi& windows = sv.windows();
  const host::HWND hwnd = form.get("hWnd").toLong();
  // The clock is read as a Single, as the classic Timer gives it.
  auto now = [&] { return static_cast<float>(sv.Timer()); };
  const float t0 = now();
  float lastTick = 0;
  for (int i = 1; i <= p.N; ++i) {
    // Until a step's time has passed since the last one, or the step is due by the start.
    while (p.T != 0 && lastTick + p.tStep > now() && t0 + static_cast<float>(i) * p.tStep >= now())
      sv.DoEvents();
    auto r = opening ? openRegion(p, effect, i) : closeRegion(p, effect, i);
    if (r) {
      // A region that cannot be made leaves the window as the last step left it.
      if (host::HRGN region = windows.CreateRectRgn(r->left, r->top, r->right, r->bottom))
        windows.SetWindowRgn(hwnd, region, true);
    }
    lastTick = now();
    sv.DoEvents();
  }
  if (opening) windows.SetWindowRgn(hwnd, 0, true);
  return true;
}

}  // namespace

bool PlayOpenEffect(host::Services& services, host::Object& form, std::int16_t effect,
                    float seconds) {
  return play(services, form, effect, seconds, true);
}

bool PlayCloseEffect(host::Services& services, host::Object& form, std::int16_t effect,
                     float seconds) {
  return play(services, form, effect, seconds, false);
}

}  // namespace rescalo::effects
