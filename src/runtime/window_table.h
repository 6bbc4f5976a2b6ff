#pragma once
// The embedded runtime's window table: handles, the one update lock, the topmost band,
// window regions and window procedure chains, honoured when a form is dragged.

#include <functional>
#include <map>
#include <optional>

#include <rescalo/host/window_api.h>

namespace rescalo::runtime {

// The object behind a window: a form, or an MDI form's client area.
class WindowOwner {
 public:
  virtual ~WindowOwner() = default;
  virtual host::RECT windowRect() const = 0;  // screen pixels
  // Moves and/or sizes the window, in screen pixels (SWP_NOMOVE / SWP_NOSIZE honoured).
  virtual void setWindowPos(int x, int y, int cx, int cy, std::uint32_t flags) = 0;
  // The parent window when it is decided by the owner (an MDI child's client window).
  virtual host::HWND parentWindow() const { return 0; }
};

class WindowTable : public host::WindowApi {
 public:
  host::HWND create(WindowOwner* owner, host::HWND parent = 0);
  void destroy(host::HWND hwnd);
  bool exists(host::HWND hwnd) const { return windows_.count(hwnd) > 0; }

  bool LockWindowUpdate(host::HWND hwnd) override;
  bool SetWindowPos(host::HWND hwnd, host::HWND insertAfter, int x, int y, int cx, int cy,
                    std::uint32_t flags) override;
  host::HWND GetParent(host::HWND hwnd) override;
  bool GetWindowRect(host::HWND hwnd, host::RECT& rect) override;
  host::HRGN CreateRectRgn(int left, int top, int right, int bottom) override;
  int SetWindowRgn(host::HWND hwnd, host::HRGN region, bool redraw) override;
  host::WndProcHandle SetWindowLongA(host::HWND hwnd, int index,
                                     host::WndProcHandle newValue) override;
  host::LRESULT CallWindowProcA(host::WndProcHandle proc, host::HWND hwnd, std::uint32_t msg,
                                host::WPARAM wParam, host::LPARAM lParam) override;

  // What tests and the runtime read back.
  host::HWND lockedWindow() const { return locked_; }
  bool isTopmost(host::HWND hwnd) const;
  // The window's visible region in window coordinates; nothing: the whole window.
  std::optional<host::RECT> region(host::HWND hwnd) const;
  // Told of every change of a window's region, in order (nothing: the whole window again), so
  // that an animation can be followed step by step.
  std::function<void(host::HWND, const std::optional<host::RECT>&)> onRegionChanged;
  // Sends a message through the window's current procedure chain.
  host::LRESULT send(host::HWND hwnd, std::uint32_t msg, host::WPARAM wParam, host::LPARAM lParam);
  // The tracking limits for a drag: the defaults, then whatever the procedures make of them.
  host::MINMAXINFO trackingLimits(host::HWND hwnd, const host::MINMAXINFO& defaults);

  static host::LRESULT defaultWindowProc(host::HWND, std::uint32_t, host::WPARAM, host::LPARAM);

 private:
  struct Window {
    WindowOwner* owner;
    host::HWND parent;
    bool topmost = false;
    std::optional<host::RECT> region;
    host::WndProcHandle proc;
  };
  std::map<host::HWND, Window> windows_;
  std::map<host::HRGN, host::RECT> regions_;
  host::HWND locked_ = 0;
  host::HWND nextWindow_ = 0x10000;
  host::HRGN nextRegion_ = 0x2000;
};

}  // namespace rescalo::runtime
