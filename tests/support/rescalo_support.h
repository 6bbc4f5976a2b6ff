#pragma once
// Forms with a Rescalo control on the embedded runtime.

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/user_control_host.h>
#include "test_support.h"

namespace rescalo::testing_support {

// The block of a Rescalo control placed at (0, 0), holding the given properties.
inline std::string rescaloBlock(const std::string& props = {}) {
  return block("RescaloControl.Rescalo Rescalo1", "Left = 0\nTop = 0\n" + props);
}

inline runtime::UserControlHost& extenderOf(runtime::Form& form) {
  return *dynamic_cast<runtime::UserControlHost*>(form.find("Rescalo1"));
}

inline control::Rescalo& rescaloOf(runtime::Form& form) {
  return static_cast<control::Rescalo&>(extenderOf(form).control());
}

// A Rescalo's flag records in order: each control key with the names of the flags set on it.
using FlagRecords = std::vector<std::pair<std::string, std::set<std::string>>>;
inline FlagRecords flagRecords(const control::Rescalo& r) {
  FlagRecords out;
  for (int n = 1; n <= r.ControlFlagCount(); ++n) {
    auto& [key, flags] = out.emplace_back(r.ControlFlagControlKey(n), std::set<std::string>{});
    for (std::size_t f = 0; f < control::kFlagCount; ++f)
      if (r.ControlFlag(static_cast<control::FlagIndex>(f), n))
        flags.insert(control::kFlagNames[f]);
  }
  return out;
}

// Where the text first is in the list; its size when it is not there.
inline long indexOf(const std::vector<std::string>& list, std::string_view text) {
  return std::find(list.begin(), list.end(), text) - list.begin();
}

// The document given a Rescalo the way the form designer gives a form one (placed at (0, 0),
// the form saved), unless it has one already.
inline frm::Document withRescalo(runtime::Runtime& design, frm::Document doc,
                                 const std::filesystem::path& file) {
  for (const frm::Block* b : doc.form.children())
    if (b->className == control::kRescaloClass) return doc;
  auto form = runtime::buildForm(design, doc, file, {false});
  runtime::addUserControl(*form, doc, control::kRescaloClass, "Rescalo", 0, 0);
  runtime::storeForm(*form, doc);
  return frm::read(frm::write(doc), file.string());
}

// A runtime whose forms can hold a Rescalo.
class RescaloTest : public RuntimeTest {
 protected:
  RescaloTest() { control::registerRescalo(rt.userControls()); }
  // The form with a Rescalo, to run from the file's folder so that its .frx is found.
  std::shared_ptr<runtime::Form> loadWithRescalo(const std::filesystem::path& file) {
    return loadWithRescalo(frm::readFile(file), file);
  }
  std::shared_ptr<runtime::Form> loadWithRescalo(const frm::Document& doc,
                                                 const std::filesystem::path& file) {
    return keep.emplace_back(runtime::buildForm(rt, withRescalo(rt, doc, file), file, {true}));
  }
  void pause() { rt.advance(150); }  // the pass runs 100 ms after the last Resize
  // From now on, every step the form's Rescalo takes goes into traced.
  void trace(runtime::Form& form) {
    rescaloOf(form).trace = [this](std::string_view step) { traced.emplace_back(step); };
  }
  std::vector<std::string> traced;
};

}  // namespace rescalo::testing_support
