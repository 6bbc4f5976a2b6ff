#pragma once
// A form's last normal bounds and window state, kept in the per-user settings store between
// runs: written at unload, read back, applied and deleted at the next set-up.

#include <functional>
#include <string>

#include <rescalo/host/services.h>

namespace rescalo::window {

inline constexpr const char* kSettingsApp = "Rescalo";

struct NormalBounds {
  float Left = 0, Top = 0, Width = 0, Height = 0;  // twips
};

// What the two procedures work on: the section name and the bounds belong to the control.
struct WindowMemory {
  host::SettingsStore& store;
  host::ObjectPtr form;                             // may be Nothing
  const std::string& name;                          // the section
  std::function<void(const std::string&)> setName;  // the control's WindowName Let
  NormalBounds& bounds;
};

// The section is named after the form's caption when no name was given. Errors reach the
// caller (no form to read the state of, a store that cannot be written).
void SaveWindowSettings(WindowMemory memory);
// Stops silently at the first failure (a key never saved, text that is not a number): what
// was read before it stays in the bounds, nothing is applied or deleted.
void LoadWindowSettings(WindowMemory memory, bool& loading);

}  // namespace rescalo::window
