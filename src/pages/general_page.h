#pragma once
// The General page: the scaling switches, the size limits, placement, window-state saving and
// the gradient's switch, source and type.

#include <rescalo/host/property_page.h>

namespace rescalo::pages {

class GeneralPage : public host::PropertyPage {
 public:
  explicit GeneralPage(host::PropertyPageSite& site);
  void PropertyPage_SelectionChanged() override;
  void PropertyPage_ApplyChanges() override;

  // In tab order: the switches in the first column, the numbers and lists in the second.
  host::CheckBox &chkScaleControls, &chkScaleFonts, &chkScaleBorders, &chkScaleGraphics,
      &chkResizeOnMouseUp, &chkResizeAtOnce, &chkBeepOnMinMax, &chkCenterX, &chkCenterY,
      &chkStayOnTop, &chkSaveWindowState, &chkGradientFill;
  host::TextBox &txtScaleX, &txtScaleY, &txtMinWidth, &txtMinHeight, &txtMaxWidth, &txtMaxHeight,
      &txtMdiChildWidth, &txtMdiChildHeight, &txtWindowName;
  host::ComboBox &cmbSource, &cmbType;

 private:
  bool loaded_ = false;
};

}  // namespace rescalo::pages
