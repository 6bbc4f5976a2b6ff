#pragma once
// The embedded runtime: screen, virtual clock, timers, window table, settings store, message
// boxes and beeps (recorded), font families, the user-control registry and the loaded forms.

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <rescalo/host/services.h>
#include <rescalo/host/user_control.h>
#include <rescalo/runtime/clock.h>
#include <rescalo/runtime/settings_store.h>
#include <rescalo/runtime/window_table.h>

namespace rescalo::runtime {

class Form;

struct RuntimeOptions {
  int screenWidthPixels = 1280;
  int screenHeightPixels = 1024;
  double twipsPerPixel = 15;  // 96 dpi
  std::filesystem::path settingsFile = FileSettingsStore::defaultPath();
  double startSeconds = 9 * 3600;  // what Timer() reads at time zero
  // How long a DoEvents that finds nothing to run waits for the next message, ms: a program
  // that polls Timer() between DoEvents calls sees time pass, as it would on a real clock.
  double idleMs = 1;
};

struct MessageRecord {
  std::string prompt;
  int buttons;
  std::string title;
};

class Runtime : public host::Services {
 public:
  explicit Runtime(RuntimeOptions options = {});
  ~Runtime() override;

  host::ScreenMetrics screen() override;
  // The display's resolution changed.
  void setScreenPixels(int width, int height) {
    options_.screenWidthPixels = width;
    options_.screenHeightPixels = height;
  }
  host::ObjectPtr screenObject() override;
  double Timer() override;
  void DoEvents() override;
  host::SettingsStore& settings() override { return settings_; }
  int MsgBox(std::string_view prompt, int buttons = host::vbOKOnly,
             std::string_view title = {}) override;
  void Beep() override;
  host::WindowApi& windows() override { return windows_; }
  std::vector<std::string> fontFamilies() override;
  std::shared_ptr<host::Timer> createTimer(std::function<void()> onTick) override;
  host::ObjectPtr createPictureBox() override;
  // A small form of its own, shown until its OK button is clicked.
  void AboutBox(const host::AboutInfo& info) override;
  std::shared_ptr<Form> aboutForm;  // the last about box shown
  host::ObjectPtr createMessageForm(const host::MessageForm& layout,
                                    std::function<void()> onButton) override;
  std::shared_ptr<Form> messageForm;  // the last message form made

  VirtualClock& clock() { return clock_; }
  WindowTable& windowTable() { return windows_; }
  host::UserControlRegistry& userControls() { return registry_; }
  // Lets time pass: timers tick and posted work runs, in order.
  void advance(double ms);
  // Work for the next DoEvents (the events a real message queue would hold).
  void post(std::function<void()> work);

  // Recorded output. Answers queued here are given to the next message boxes in turn;
  // without one a box answers with its first button.
  std::vector<MessageRecord> messages;
  std::deque<int> msgBoxAnswers;
  int beeps = 0;
  std::vector<std::string> warnings;
  std::function<void(const std::string&)> onOutput;  // the command prints through this

  void warn(std::string text);

  // Forms: the one MDI form of the application, and every loaded form.
  Form* mdiForm = nullptr;
  std::vector<Form*> forms;

 private:
  // A form of the runtime's own from its text, whose button calls onButton when clicked.
  std::shared_ptr<Form> ownForm(const std::string& text, const std::string& buttonName,
                                std::function<void()> onButton);
  bool pump();  // runs the posted work and due timers; false when there was none
  RuntimeOptions options_;
  VirtualClock clock_;
  WindowTable windows_;
  FileSettingsStore settings_;
  host::UserControlRegistry registry_;
  host::ObjectPtr screenObject_;
  std::deque<std::function<void()>> posted_;
};

}  // namespace rescalo::runtime
