#include <rescalo/window/size_limits.h>

#include <algorithm>

#include <rescalo/host/failure.h>

namespace rescalo::window {

using host::HWND;
using host::Variant;

void ApplySizeLimits(host::Object& form, const SizeLimits& limits, host::Timer& disableTimer,
                     host::Services& services) {
  auto hit = [&](const char* member, std::int32_t limit) {
    form.set("Enabled", false);
    disableTimer.setEnabled(true);  // enabled, not restarted: the timer's own rule applies
    form.set(member, Variant(limit));
    if (limits.beep) services.Beep();
  };
  auto hold = [&](const char* member, std::int32_t min, std::int32_t max) {
    // Contradictory limits on one axis are ignored on that axis.
    if (min > max && max != 0) return;
    if (min > 0 && form.get(member).toDouble() < min) hit(member, min);
    if (max > 0 && form.get(member).toDouble() > max) hit(member, max);
  };
  hold("Width", limits.minWidth, limits.maxWidth);
  hold("Height", limits.minHeight, limits.maxHeight);
}

namespace {

std::vector<FixedWindowEntry>& table() {
  thread_local std::vector<FixedWindowEntry> entries;
  return entries;
}

// The last registration of a window wins, as later procedures are nearer the window.
std::vector<FixedWindowEntry>::iterator lastFor(HWND hWnd) {
  auto& t = table();
  auto it =
      std::find_if(t.rbegin(), t.rend(), [&](const FixedWindowEntry& e) { return e.hWnd == hWnd; });
  return it == t.rend() ? t.end() : std::prev(it.base());
}

std::int32_t toPixels(std::int32_t twips, double twipsPerPixel) {
  return static_cast<std::int32_t>(host::roundHalfEven(twips / twipsPerPixel));
}

}  // namespace

const std::vector<FixedWindowEntry>& FixedWindows() { return table(); }

void FixWindow(host::Services& services, HWND hWnd, std::int32_t minWidth, std::int32_t minHeight,
               std::int32_t maxWidth, std::int32_t maxHeight) {
  host::ScreenMetrics screen = services.screen();
  FixedWindowEntry entry;
  entry.hWnd = hWnd;
  entry.MinWidth = toPixels(minWidth, screen.twipsPerPixelX);
  entry.MinHeight = toPixels(minHeight, screen.twipsPerPixelY);
  entry.MaxWidth = toPixels(maxWidth, screen.twipsPerPixelX);
  entry.MaxHeight = toPixels(maxHeight, screen.twipsPerPixelY);
  entry.api = &services.windows();
  // Appended before the procedure is installed: the window may be asked for its limits at once.
  table().push_back(entry);
  std::size_t at = table().size() - 1;
  host::WndProcHandle previous = 0;
  host::ignoreErrors([&] {
    previous = entry.api->SetWindowLongA(hWnd, host::GWL_WNDPROC, host::toHandle(&FixWindowProc));
  });
  table()[at].PrevWndProc = previous;
}

void UnfixWindow(host::WindowApi& api, HWND hWnd) {
  if (table().empty()) return;
  auto it = lastFor(hWnd);
  if (it == table().end()) return;
  host::ignoreErrors([&] { api.SetWindowLongA(hWnd, host::GWL_WNDPROC, it->PrevWndProc); });
  table().erase(it);
}

host::LRESULT FixWindowProc(HWND hWnd, std::uint32_t uMsg, host::WPARAM wParam,
                            host::LPARAM lParam) {
  auto it = lastFor(hWnd);
  if (it == table().end()) return 0;
  if (uMsg == host::WM_GETMINMAXINFO) {
    host::MINMAXINFO info;
    host::RtlMoveMemory(&info, reinterpret_cast<const void*>(lParam), sizeof info);
    info.ptMinTrackSize = {it->MinWidth, it->MinHeight};
    info.ptMaxTrackSize = {it->MaxWidth, it->MaxHeight};
    host::RtlMoveMemory(reinterpret_cast<void*>(lParam), &info, sizeof info);
    return 0;
  }
  FixedWindowEntry entry = *it;  // the chain may change the table
  host::LRESULT result = 0;
  host::ignoreErrors(
      [&] { result = entry.api->CallWindowProcA(entry.PrevWndProc, hWnd, uMsg, wParam, lParam); });
  return result;
}

}  // namespace rescalo::window
