#pragma once
// The Scale Controls page: which controls are left out of position and size scaling, and which
// of their edges and dimensions stay where they are.

#include <memory>

#include <rescalo/host/property_page.h>
#include <rescalo/pages/flag_table.h>

namespace rescalo::pages {

class ScaleControlsPage : public host::PropertyPage {
 public:
  explicit ScaleControlsPage(host::PropertyPageSite& site);
  void PropertyPage_SelectionChanged() override;
  void PropertyPage_ApplyChanges() override;
  // The deferred check: when no lock box is left checked, the current item is unchecked.
  void CheckIfAllDeselected();
  // The page's working copy of the flags.
  const FlagTable& table() const { return table_; }
  host::Timer& timer() { return *Timer1; }

  host::Label &lblScaleControls, &Label1;
  host::CheckListBox& List1;
  host::Label& lblControlType;
  host::CheckBox &chkLockLeft, &chkLockTop, &chkLockWidth, &chkLockHeight, &chkLockRight,
      &chkLockBottom;
  host::Button &cmdSelectAll, &cmdSelectNone;

 private:
  void List1_Click();
  void List1_ItemCheck();
  void lockClicked(host::CheckBox& box, bool scaling::ControlFlags::*flag, host::CheckBox& other1,
                   host::CheckBox& other2);
  void selectAll(bool check);
  std::shared_ptr<scaling::ControlFlags> current() const;
  void setLocks(bool value);

  FlagTable table_;
  std::shared_ptr<host::Timer> Timer1;
  bool listBuilt_ = false;
  bool lockUpdate_ = false;
};

}  // namespace rescalo::pages
