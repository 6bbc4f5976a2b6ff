#pragma once
// Holding a form between its minimum and maximum size: by writing its size back after a
// resize (the regular handling), or by making the window system itself answer the tracking
// limits through a window procedure (the FixWindow table).

#include <cstdint>
#include <vector>

#include <rescalo/host/services.h>

namespace rescalo::window {

struct SizeLimits {
  std::int32_t minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;  // twips, 0: none
  bool beep = false;
};

// Writes the form's Width and Height back inside the limits, reading its size afresh before
// each comparison. A hit disables the form and starts disableTimer (whose tick enables the
// form again), then writes the limit and beeps when asked. Host errors reach the caller.
void ApplySizeLimits(host::Object& form, const SizeLimits& limits, host::Timer& disableTimer,
                     host::Services& services);

// One window whose tracking size is held, as registered.
struct FixedWindowEntry {
  host::HWND hWnd = 0;
  std::int32_t MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;  // pixels
  host::WndProcHandle PrevWndProc = 0;
  host::WindowApi* api = nullptr;  // whose CallWindowProcA passes other messages on
};

// The table shared by every control on this thread, in order of registration.
const std::vector<FixedWindowEntry>& FixedWindows();

// Limits in twips. The window answers WM_GETMINMAXINFO with them until UnfixWindow.
void FixWindow(host::Services& services, host::HWND hWnd, std::int32_t minWidth,
               std::int32_t minHeight, std::int32_t maxWidth, std::int32_t maxHeight);
// Restores the procedure the window had before its last registration; nothing when the
// window was never registered.
void UnfixWindow(host::WindowApi& api, host::HWND hWnd);
host::LRESULT FixWindowProc(host::HWND hWnd, std::uint32_t uMsg, host::WPARAM wParam,
                            host::LPARAM lParam);

}  // namespace rescalo::window
