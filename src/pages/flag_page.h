#pragma once
// The three pages that leave single controls out of one kind of scaling each: borders, fonts
// and pictures. One design with three settings.

#include <rescalo/host/property_page.h>
#include <rescalo/pages/flag_table.h>

namespace rescalo::pages {

struct FlagPageKind {
  const char* caption;                    // "ScaleBorders"
  bool scaling::ControlFlags::*flag;      // the record's flag
  const char* property;                   // "ControlFlagDontScaleBorder"
  bool (*member)(host::Object& control);  // which controls the page lists
  const char* masterSwitch;               // the setting shown in the status bar
};
extern const FlagPageKind kScaleBorders, kScaleFonts, kScaleGraphics;

class FlagPage : public host::PropertyPage {
 public:
  FlagPage(host::PropertyPageSite& site, const FlagPageKind& kind);
  void PropertyPage_SelectionChanged() override;
  void PropertyPage_ApplyChanges() override;
  const FlagTable& table() const { return table_; }

  host::Label &lblScaleControls, &Label1;
  host::CheckListBox& List1;
  host::Label& lblControlType;
  host::Button &cmdSelectAll, &cmdSelectNone;

 private:
  void List1_Click();
  void List1_ItemCheck();

  const FlagPageKind& kind_;
  FlagTable table_;
  bool listBuilt_ = false;
};

}  // namespace rescalo::pages
