#pragma once
// What the Scale Controls page and the flag pages share: a working copy of the flag records,
// one per control of the edited control's FormControls, in that collection's order.

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include <rescalo/host/collection.h>
#include <rescalo/host/object.h>
#include <rescalo/host/property_page.h>
#include <rescalo/scaling/records.h>

namespace rescalo::pages {

// An indexed flag property of the edited control and the record's flag it holds.
struct FlagProperty {
  const char* property;  // "ControlFlagDontScaleFont"
  bool scaling::ControlFlags::*flag;
};
// Every page's flags: the Scale Controls page's seven in the order it writes them, then the
// font, picture and border flags of the other pages.
extern const std::array<FlagProperty, 10> kFlagProperties;
inline constexpr std::size_t kPlacementFlags = 7;  // the Scale Controls page's

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

  // Applies a page: ControlFlagCount and the keys in table order, each with the page's own
  // flags from its record. The other pages' flags move with their keys, so that a control
  // added or deleted since they were stored does not hand them to its neighbour; they are
  // written only where their index changed. Each read and write goes through `step`, the
  // page's way with failures.
  void apply(host::Object& edited, std::span<const FlagProperty> own,
             const std::function<void(const std::function<void()>&)>& step) const;

 private:
  host::Collection table_;
  std::vector<std::shared_ptr<scaling::ControlFlags>> order_;
};

// The status bar of a flag page: green "<Switch> = True (Set on General Tab) " or red
// "<Switch> = False (Set on General Tab) ".
void showSwitch(host::Label& label, std::string_view name, bool on);

}  // namespace rescalo::pages
