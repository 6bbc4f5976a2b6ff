#pragma once
// Forms for the scenarios: a corpus form or .frm text given a Rescalo block the way the form
// designer gives it one (placed, its properties set, the form saved), then loaded to run.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "control/rescalo.h"
#include "runtime/form.h"
#include "runtime/loader.h"
#include "runtime/user_control_host.h"
#include "test_support.h"

namespace scenario {

inline control::Rescalo& rescaloOf(runtime::Form& form, std::string_view name = "Rescalo1") {
  auto* site = dynamic_cast<runtime::UserControlHost*>(form.find(name));
  if (!site) throw std::runtime_error("no " + std::string(name) + " on " + form.name);
  return static_cast<control::Rescalo&>(site->control());
}

// The form saved from the designer after a Rescalo was dropped on it at (0, 0); setUp may
// change the control's properties first. The result is loaded in run mode from `file`'s
// folder, so a .frx beside it still gives the pictures.
inline std::shared_ptr<runtime::Form> loadWithRescalo(
    runtime::Runtime& rt, const frm::Document& source, const std::filesystem::path& file,
    const std::function<void(control::Rescalo&)>& setUp = {}) {
  frm::Document doc = source;
  std::string text;
  {
    auto design = runtime::buildForm(rt, doc, file, {false});
    std::string name =
        runtime::addUserControl(*design, doc, control::kRescaloClass, "Rescalo", 0, 0);
    if (setUp) setUp(rescaloOf(*design, name));
    runtime::storeForm(*design, doc);
    text = frm::write(doc);
  }
  return runtime::buildForm(rt, frm::read(text, file.string()), file, {true});
}

inline std::shared_ptr<runtime::Form> loadWithRescalo(
    runtime::Runtime& rt, const std::filesystem::path& file,
    const std::function<void(control::Rescalo&)>& setUp = {}) {
  return loadWithRescalo(rt, frm::readFile(file), file, setUp);
}

class ScenarioTest : public testing_support::RuntimeTest {
 protected:
  ScenarioTest() { control::registerRescalo(rt.userControls()); }
  std::shared_ptr<runtime::Form> load(const std::filesystem::path& file,
                                      const std::function<void(control::Rescalo&)>& setUp = {}) {
    return keep.emplace_back(loadWithRescalo(rt, file, setUp));
  }
  std::shared_ptr<runtime::Form> loadText(
      const std::string& text, const std::function<void(control::Rescalo&)>& setUp = {}) {
    return keep.emplace_back(
        loadWithRescalo(rt, frm::read(text, "test.frm"), dir / "test.frm", setUp));
  }
  static std::filesystem::path corpus(const std::string& name) {
    return std::filesystem::path(RESCALO_CORPUS_DIR) / name;
  }
  // The outer size that gives the form this inner size in twips.
  static void dragToInner(runtime::Form& form, double innerW, double innerH) {
    form.userDrag(form.width() - form.clientWidthTwips() + innerW,
                  form.height() - form.clientHeightTwips() + innerH);
  }
};

}  // namespace scenario
