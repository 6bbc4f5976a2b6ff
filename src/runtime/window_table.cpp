#include <rescalo/runtime/window_table.h>

namespace rescalo::runtime {

using namespace host;

LRESULT WindowTable::defaultWindowProc(HWND, std::uint32_t, WPARAM, LPARAM) { return 0; }

HWND WindowTable::create(WindowOwner* owner, HWND parent) {
  HWND h = nextWindow_;
  nextWindow_ += 4;
  windows_[h] = Window{owner, parent, false, std::nullopt, toHandle(&defaultWindowProc)};
  return h;
}

void WindowTable::destroy(HWND hwnd) {
  windows_.erase(hwnd);
  if (locked_ == hwnd) locked_ = 0;
}

bool WindowTable::LockWindowUpdate(HWND hwnd) {
  if (hwnd == 0) {
    locked_ = 0;
    return true;
  }
  // Only one window can be locked at a time.
  if (!exists(hwnd) || (locked_ != 0 && locked_ != hwnd)) return false;
  locked_ = hwnd;
  return true;
}

bool WindowTable::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                               std::uint32_t flags) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return false;
  if (!(flags & SWP_NOZORDER)) {
    if (insertAfter == HWND_TOPMOST) it->second.topmost = true;
    if (insertAfter == HWND_NOTOPMOST) it->second.topmost = false;
  }
  if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE) && it->second.owner)
    it->second.owner->setWindowPos(x, y, cx, cy, flags);
  return true;
}

HWND WindowTable::GetParent(HWND hwnd) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return 0;
  if (it->second.owner)
    if (HWND p = it->second.owner->parentWindow()) return p;
  return it->second.parent;
}

bool WindowTable::GetWindowRect(HWND hwnd, RECT& rect) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end() || !it->second.owner) return false;
  rect = it->second.owner->windowRect();
  return true;
}

HRGN WindowTable::CreateRectRgn(int left, int top, int right, int bottom) {
  HRGN r = nextRegion_++;
  regions_[r] = RECT{left, top, right, bottom};
  return r;
}

int WindowTable::SetWindowRgn(HWND hwnd, HRGN region, bool) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return 0;
  if (region == 0) {
    it->second.region.reset();
  } else {
    auto r = regions_.find(region);
    if (r == regions_.end()) return 0;
    it->second.region = r->second;
    regions_.erase(r);  // the window owns the region now
  }
  if (onRegionChanged) onRegionChanged(hwnd, it->second.region);
  return 1;
}

WndProcHandle WindowTable::SetWindowLongA(HWND hwnd, int index, WndProcHandle newValue) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end() || index != GWL_WNDPROC || newValue == 0) return 0;
  WndProcHandle previous = it->second.proc;
  it->second.proc = newValue;
  return previous;
}

LRESULT WindowTable::CallWindowProcA(WndProcHandle proc, HWND hwnd, std::uint32_t msg,
                                     WPARAM wParam, LPARAM lParam) {
  if (proc == 0) return 0;
  return reinterpret_cast<WNDPROC>(proc)(hwnd, msg, wParam, lParam);
}

bool WindowTable::isTopmost(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it != windows_.end() && it->second.topmost;
}

std::optional<RECT> WindowTable::region(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return std::nullopt;
  return it->second.region;
}

LRESULT WindowTable::send(HWND hwnd, std::uint32_t msg, WPARAM wParam, LPARAM lParam) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return 0;
  return CallWindowProcA(it->second.proc, hwnd, msg, wParam, lParam);
}

MINMAXINFO WindowTable::trackingLimits(HWND hwnd, const MINMAXINFO& defaults) {
  MINMAXINFO info = defaults;
  send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return info;
}

}  // namespace rescalo::runtime
