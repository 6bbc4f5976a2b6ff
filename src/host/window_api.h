#pragma once
// The operating system's window functions, under their classic names, behind one interface
// that each host implements.

#include <cstddef>
#include <cstdint>

namespace rescalo::host {

using HWND = std::intptr_t;
using HRGN = std::intptr_t;
using LRESULT = std::intptr_t;
using WPARAM = std::intptr_t;
using LPARAM = std::intptr_t;
// A window procedure, and the opaque value SetWindowLongA hands back for the previous one.
using WNDPROC = LRESULT (*)(HWND hwnd, std::uint32_t msg, WPARAM wParam, LPARAM lParam);
using WndProcHandle = std::intptr_t;

struct RECT {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
struct POINTAPI {
  std::int32_t x = 0, y = 0;
};
struct MINMAXINFO {
  POINTAPI ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};

// The largest side of a window, in pixels: the classic window system holds every window to it.
inline constexpr int kMaxWindowPixels = 32767;
// A form's menu bar, one row of menus, taken from its outer height.
inline constexpr int kMenuBarPixels = 20;

inline constexpr HWND HWND_TOP = 0;
inline constexpr HWND HWND_TOPMOST = -1;
inline constexpr HWND HWND_NOTOPMOST = -2;
inline constexpr std::uint32_t SWP_NOSIZE = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE = 0x0002;
inline constexpr std::uint32_t SWP_NOZORDER = 0x0004;
inline constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr std::uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr std::uint32_t SWP_NOOWNERZORDER = 0x0200;
inline constexpr int GWL_WNDPROC = -4;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_GETMINMAXINFO = 0x0024;
inline constexpr std::uint32_t WM_SIZING = 0x0214;
inline constexpr std::uint32_t WM_EXITSIZEMOVE = 0x0232;

class WindowApi {
 public:
  virtual ~WindowApi() = default;
  // One window at a time; 0 releases the lock. False when another window holds it.
  virtual bool LockWindowUpdate(HWND hwnd) = 0;
  virtual bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                            std::uint32_t flags) = 0;
  virtual HWND GetParent(HWND hwnd) = 0;
  // The window's outer rectangle in screen pixels.
  virtual bool GetWindowRect(HWND hwnd, RECT& rect) = 0;
  virtual HRGN CreateRectRgn(int left, int top, int right, int bottom) = 0;
  // Gives the region to the window (which then owns it); region 0 removes the window's region.
  virtual int SetWindowRgn(HWND hwnd, HRGN region, bool redraw) = 0;
  // GWL_WNDPROC only: installs a procedure and returns the previous one.
  virtual WndProcHandle SetWindowLongA(HWND hwnd, int index, WndProcHandle newValue) = 0;
  virtual LRESULT CallWindowProcA(WndProcHandle proc, HWND hwnd, std::uint32_t msg, WPARAM wParam,
                                  LPARAM lParam) = 0;
};

// Copies memory as the classic API does, for MINMAXINFO behind an LPARAM.
void RtlMoveMemory(void* destination, const void* source, std::size_t length);
inline WndProcHandle toHandle(WNDPROC proc) { return reinterpret_cast<WndProcHandle>(proc); }

}  // namespace rescalo::host
