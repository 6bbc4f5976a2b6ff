#pragma once
// What the Scale Controls page and the flag pages share: a working copy of the flag records,
// one per control of the edited control's FormControls, in that collection's order.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <rescalo/host/collection.h>
#include <rescalo/host/object.h>
#include <rescalo/host/property_page.h>
#include <rescalo/scaling/records.h>

namespace rescalo::pages {

class FlagTable {
 public:
  // Empties the table and files a record with every flag False for each control of the edited
  // control's FormControls. With ignoreErrors, a control that fails is skipped.
  void build(host::Object& edited, bool ignoreErrors);
  // The records in FormControls order.
  const std::vector<std::shared_ptr<scaling::ControlFlags>>& records() const { return order_; }
  // The record under a control key (without regard to case), or nullptr.
  std::shared_ptr<scaling::ControlFlags> find(std::string_view key) const;
  bool has(std::string_view key) { return scaling::KeyExists(table_, key); }

 private:
  host::Collection table_;
  std::vector<std::shared_ptr<scaling::ControlFlags>> order_;
};

// The status bar of a flag page: green "<Switch> = True (Set on General Tab) " or red
// "<Switch> = False (Set on General Tab) ".
void showSwitch(host::Label& label, std::string_view name, bool on);

}  // namespace rescalo::pages
