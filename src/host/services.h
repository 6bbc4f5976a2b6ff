#pragma once
// What a host runtime offers besides forms and controls: screen, clock and event pump,
// settings store, message box, beep, window functions and the installed font families.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <rescalo/host/object.h>
#include <rescalo/host/window_api.h>

namespace rescalo::host {

struct ScreenMetrics {
  double width = 0;   // twips
  double height = 0;  // twips
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view setting) = 0;
  virtual std::string GetSetting(std::string_view app, std::string_view section,
                                 std::string_view key, std::string_view defaultValue = {}) = 0;
  // Without a key, the whole section. A missing section or key fails with 5.
  virtual void DeleteSetting(std::string_view app, std::string_view section,
                             std::optional<std::string_view> key = std::nullopt) = 0;
  // Runs several writes as one change of the store, so that a store kept in a file takes its
  // lock and rewrites it once; what was written before a failure stays written.
  virtual void update(const std::function<void()>& writes) { writes(); }
};

// Message box button sets and answers (the classic values).
enum MsgBoxStyle : int { vbOKOnly = 0, vbOKCancel = 1, vbYesNo = 4 };
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// A constituent timer: Enabled and Interval (ms); ticks call the handler on the UI thread.
class Timer : public Object {
 public:
  std::string_view typeName() const override { return "Timer"; }
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  int interval() const { return interval_; }
  // 0 to 65535 ms, 0 meaning it never ticks; anything else fails with 380.
  void setInterval(int ms);

 protected:
  // Enabling, or changing the interval, restarts the countdown, as the classic timer does:
  // the host starts it afresh from now, or stops it when it is off or its interval is 0.
  virtual void rearm() = 0;
  const MemberTable* members() const override;

 private:
  bool enabled_ = false;
  int interval_ = 0;
};

// A small form of the component's own: a message in a label and one button.
struct MessageForm {
  std::string name;
  std::string caption;
  std::string labelName, message;
  std::string buttonName, buttonCaption;
};

// What an about box shows.
struct AboutInfo {
  std::string name;
  std::string version;
  std::string description;  // one line
};

class Services {
 public:
  virtual ~Services() = default;
  virtual ScreenMetrics screen() = 0;
  // The Screen object by name (Width, Height, TwipsPerPixelX, TwipsPerPixelY).
  virtual ObjectPtr screenObject() = 0;
  virtual double Timer() = 0;  // seconds since midnight
  virtual void DoEvents() = 0;
  virtual SettingsStore& settings() = 0;
  virtual int MsgBox(std::string_view prompt, int buttons = vbOKOnly,
                     std::string_view title = {}) = 0;
  virtual void Beep() = 0;
  virtual WindowApi& windows() = 0;
  virtual std::vector<std::string> fontFamilies() = 0;
  // A new timer whose ticks call onTick; disabled until enabled.
  virtual std::shared_ptr<host::Timer> createTimer(std::function<void()> onTick) = 0;
  // A new invisible picture box usable as a work surface (AutoRedraw, PaintPicture, Image).
  virtual ObjectPtr createPictureBox() = 0;
  // Loads (without showing) a modeless message form whose button's clicks call onButton. Its
  // members are a form's (Left, Width, Show, Unload, Controls...). Nothing: the host has none.
  virtual ObjectPtr createMessageForm(const MessageForm& layout, std::function<void()> onButton) {
    (void)layout;
    (void)onButton;
    return nullptr;
  }
  // Shows a component's about box; a host without a form of its own for it uses a message box.
  virtual void AboutBox(const AboutInfo& info) {
    MsgBox(info.name + " " + info.version + "\n\n" + info.description, vbOKOnly,
           "About " + info.name);
  }
};

// The Screen object of a host's services: Width, Height, TwipsPerPixelX and TwipsPerPixelY,
// read from their screen() each time. The services must outlive it.
ObjectPtr makeScreenObject(Services& services);

}  // namespace rescalo::host
