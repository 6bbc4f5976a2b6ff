#pragma once
// What the Qt host offers besides widgets: screen, clock and event pump as Qt's, QTimers,
// QSettings, QMessageBox, the application's beep and the window functions on real widgets.

#include <QElapsedTimer>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>

#include <rescalo/host/services.h>

class QWidget;

namespace rescalo::qt {

// A QTimer behind the classic timer: enabling or changing the interval restarts the
// countdown, and an interval of 0 never ticks.
class QtTimer : public host::Timer {
 public:
  explicit QtTimer(std::function<void()> onTick);
  bool running() const { return timer_.isActive(); }

 protected:
  void rearm() override;

 private:
  QTimer timer_;
  std::function<void()> onTick_;
};

// The settings store on QSettings. Names compare without regard to case, as the classic
// store's do, and every section and key is escaped, so that a caption holding a slash or a
// backslash stays one name instead of becoming a path of groups.
class QtSettingsStore : public host::SettingsStore {
 public:
  // The user's native store: organisation and application both as the caller names the
  // application (SaveSetting "Rescalo", ... lands in Rescalo/Rescalo).
  QtSettingsStore() = default;
  // One INI file holding every application, a group each (tests, portable installs).
  explicit QtSettingsStore(QString iniFile) : file_(std::move(iniFile)) {}

  void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view setting) override;
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue = {}) override;
  void DeleteSetting(std::string_view app, std::string_view section,
                     std::optional<std::string_view> key = std::nullopt) override;

  // The name a section or key is stored under.
  static QString storedName(std::string_view name);

  // Every time the store could not be read or written, "FILE: what failed". The control
  // ignores such failures; the program around it tells its user.
  const std::vector<std::string>& failures() const { return failures_; }

 private:
  class Scope;
  void check(Scope& s, bool wrote);
  QString file_;
  std::vector<std::string> failures_;
};

// The window functions on widgets, which hWnd values name through widgetOf().
//   LockWindowUpdate  setUpdatesEnabled(false) on one window at a time
//   SetWindowPos      the frame's geometry; HWND_TOPMOST as Qt::WindowStaysOnTopHint
//   GetParent         the parent widget; an MDI child's is its QMdiArea's viewport
//   GetWindowRect     the frame geometry on the screen
//   SetWindowRgn      setMask, the region given in window (frame) coordinates
//   WM_GETMINMAXINFO  asked of the window's procedures whenever they change (and once more
//                     when the change has settled); the tracking sizes become the window's
//                     minimum and maximum sizes
class QtWindowApi : public host::WindowApi {
 public:
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

  host::HWND lockedWindow() const { return locked_; }
  // The region last given to the window, window coordinates; nothing: the whole window.
  std::optional<host::RECT> region(host::HWND hwnd) const;
  // Asks the window's procedures for its tracking limits and applies them as its minimum and
  // maximum sizes.
  void applyTrackingLimits(host::HWND hwnd);
  static host::LRESULT defaultWindowProc(host::HWND, std::uint32_t, host::WPARAM, host::LPARAM);

 private:
  struct Window {
    host::WndProcHandle proc;
    std::optional<host::RECT> region;
  };
  Window& entry(host::HWND hwnd);
  std::map<host::HWND, Window> windows_;
  std::map<host::HRGN, host::RECT> regions_;
  host::HWND locked_ = 0;
  host::HRGN nextRegion_ = 0x2000;
};

class QtServices : public host::Services {
 public:
  // Settings in the user's native store; or in one INI file when one is named.
  explicit QtServices(QString settingsFile = {});
  ~QtServices() override;

  host::ScreenMetrics screen() override;
  host::ObjectPtr screenObject() override;
  // Seconds since midnight: the wall clock read once, then a monotonic clock, so that a
  // change of the system time never makes an interval negative.
  double Timer() override;
  void DoEvents() override;
  host::SettingsStore& settings() override { return settings_; }
  int MsgBox(std::string_view prompt, int buttons = host::vbOKOnly,
             std::string_view title = {}) override;
  void Beep() override;
  host::WindowApi& windows() override { return windows_; }
  QtWindowApi& windowApi() { return windows_; }
  std::vector<std::string> fontFamilies() override;
  void AboutBox(const host::AboutInfo& info) override;
  std::shared_ptr<host::Timer> createTimer(std::function<void()> onTick) override;
  // An invisible borderless picture box, a child of a window that is never shown.
  host::ObjectPtr createPictureBox() override;
  // A dialog window of the services' own, replaced by the next one and closed by its Unload.
  host::ObjectPtr createMessageForm(const host::MessageForm& layout,
                                    std::function<void()> onButton) override;

  // Answers for the next message boxes, taken in turn instead of showing a box: for scripts
  // and tests, where nobody is there to click.
  std::vector<int> msgBoxAnswers;
  bool quietMessageBoxes = false;  // answer with the first button, without showing a box
  int beeps = 0;
  std::vector<std::string> messages;  // every prompt, shown or answered

 private:
  QtSettingsStore settings_;
  QtWindowApi windows_;
  host::ObjectPtr screenObject_;
  QPointer<QWidget> messageForm_;
  QElapsedTimer elapsed_;
  double startSeconds_ = 0;
  std::unique_ptr<QWidget> workSurfaces_;  // holds the picture boxes made for the control
};

}  // namespace rescalo::qt
