#pragma once
// Runs a form with its Rescalo control through a sequence of user drags and reports the
// layout after each one.

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

struct LayoutOptions {
  std::vector<LayoutStep> steps;
  bool json = false;
  std::optional<std::filesystem::path> svgDir;  // one picture per step
  double settle = 250;  // ms of virtual time after each drag, past the deferred pass
};

int runLayout(const std::filesystem::path& file, const LayoutOptions& options, std::ostream& out);
// "--size" "WxH" or "--scale" "F".
bool parseStep(std::string_view kind, std::string_view value, LayoutStep& step);

}  // namespace cli
