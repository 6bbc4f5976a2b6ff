#pragma once
// Runs a form with its Rescalo control through a sequence of user drags and reports the
// layout after each one, or draws it.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace cli {

// One drag: to an outer size in twips, or to the design size times a factor.
struct LayoutStep {
  double width = 0, height = 0;
  std::optional<double> scale;
};

enum class Effect { None, Open, Close };

struct LayoutOptions {
  std::vector<LayoutStep> steps;
  bool json = false;
  bool report = true;                           // the layout of each step on the output
  std::optional<std::filesystem::path> svgDir;  // one picture per step
  // One PNG per step (the form as shown when there are no steps), and with `effect` one per
  // frame of the form's opening animation (while it is shown) or closing one (when unloaded).
  std::optional<std::filesystem::path> pngDir;
  Effect effect = Effect::None;
  double settle = 250;  // ms of virtual time after each drag, past the deferred pass
};

int runLayout(const std::filesystem::path& file, const LayoutOptions& options, std::ostream& out);
// "--size" "WxH" or "--scale" "F".
bool parseStep(std::string_view kind, std::string_view value, LayoutStep& step);

}  // namespace cli
