#pragma once
// Laying a form out at the size of a printed page: resized (beyond the screen if need be),
// optionally hidden off-screen and with a modeless "Printing..." dialog, then put back.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include <rescalo/host/services.h>

namespace rescalo::window {

// What switching on remembers for switching off, one per control.
struct PrintSaved {
  std::int16_t WindowState = 0;
  float Left = 0, Top = 0, Width = 0, Height = 0;
};

struct PrintHost {
  host::Services& services;
  host::ObjectPtr form;
  std::weak_ptr<host::Object> owner;  // the control: the dialog's Cancel calls its PrintSize
  std::int32_t minWidth = 0, minHeight = 0;
  float designWidth = 0, designHeight = 0;
  host::Timer& windowSizeTimer;
  host::Timer& printHideTimer;
  std::function<void()> resizePass;
  std::function<void(std::string_view, host::Args)> raise;
};

inline constexpr float kOffScreenLeft = 32000;

// Options, each optional: PrintWidth, PrintHeight, ScaleMode (default twips), Hide,
// ShowDialog, AllowCancel. Always 0.
std::int16_t PrintSize(PrintHost& host, PrintSaved& saved, bool enabled, host::Args options);
// Keeps a hidden form off-screen; with the run-time test failing the timer stops instead.
void PrintHideTick(host::Object* form, bool runtimeTest, host::Timer& timer);

// The dialog shared by every control on this thread (Nothing when none is shown), and the
// flag its Cancel button sets.
host::ObjectPtr PrintDialog();
bool PrintCancelled();

}  // namespace rescalo::window
