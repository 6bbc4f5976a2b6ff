#pragma once
// The Form Effects page: the opening and closing effects, their durations in seconds and how
// the form's picture is placed.

#include <rescalo/host/property_page.h>

namespace rescalo::pages {

class FormEffectsPage : public host::PropertyPage {
 public:
  explicit FormEffectsPage(host::PropertyPageSite& site);
  void PropertyPage_SelectionChanged() override;
  void PropertyPage_ApplyChanges() override;

  host::ComboBox &cmbFormOpen, &cmbFormClose, &cmbFormPicture;
  host::TextBox& txtFormOpenTime;
  host::Label& lblOpenSecs;
  host::TextBox& txtFormCloseTime;
  host::Label& lblCloseSecs;

 private:
  void checkDuration(host::TextBox& box);
  bool loaded_ = false;
};

}  // namespace rescalo::pages
