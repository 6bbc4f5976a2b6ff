#pragma once
// Runs a form with its Rescalo control through a sequence of steps a user or an application
// takes (drags, window states, unloading and running it again, print sizing) and reports the
// window and the layout after each one, or draws it.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace rescalo::cli {

struct LayoutStep {
  enum class Kind { Drag, State, Unload, Reload, Print, PrintOff, Cancel };
  Kind kind = Kind::Drag;
  double width = 0, height = 0;  // Drag and Print: twips (0 x 0 prints at the design size)
  std::optional<double> scale;   // Drag: the design size times this
  int state = 0;                 // State: 0 normal, 1 minimized, 2 maximized
  bool hide = false, dialog = false, allowCancel = false;  // Print
  std::string text;                                        // as given, for the report
};

enum class Effect { None, Open, Close };

struct LayoutOptions {
  std::vector<LayoutStep> steps;
  bool json = false;
  bool report = true;                           // the window and layout of each step
  std::optional<std::filesystem::path> svgDir;  // one picture per step
  // One PNG per step (of the form as shown when there are no steps), and with `effect` one per
  // frame of the form's opening animation (while it is shown) or closing one (when unloaded).
  std::optional<std::filesystem::path> pngDir;
  Effect effect = Effect::None;
  // ms of virtual time after each step: past the deferred pass and a limit's pause.
  double settle = 600;
  std::optional<std::filesystem::path> settings;  // the store; default: the user's
};

int runLayout(const std::filesystem::path& file, const LayoutOptions& options, std::ostream& out);

// How many values the option takes as a step: 0 or 1; -1 when it is not a step.
int stepArity(std::string_view option);
// The step of an option and its value; false when the value is not one it takes.
bool parseStep(std::string_view option, std::string_view value, LayoutStep& step);
// What a value of the option must look like, for the message when it is not.
std::string stepExpects(std::string_view option);

// The settings store the command uses: the given file, or the user's own.
std::filesystem::path settingsFile(const std::optional<std::filesystem::path>& chosen);
// The sections a form's Rescalo controls would remember it under, with what they hold now.
void storeSections(const std::filesystem::path& formFile,
                   const std::optional<std::filesystem::path>& settings, std::ostream& out);

}  // namespace rescalo::cli
