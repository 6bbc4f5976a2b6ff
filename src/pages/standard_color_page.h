#pragma once
// The colour page: one colour property of the control at a time, chosen from a list.

#include <array>
#include <cstdint>

#include <rescalo/host/property_page.h>

namespace rescalo::pages {

class StandardColorPage : public host::PropertyPage {
 public:
  explicit StandardColorPage(host::PropertyPageSite& site);
  void PropertyPage_SelectionChanged() override;
  void PropertyPage_ApplyChanges() override;

  static constexpr std::array<const char*, 3> kProperties{"GradientColour", "GradientColour2",
                                                          "GradientMidColour"};
  host::ComboBox& cmbProperty;
  host::ColourField& Color;

 private:
  std::array<std::int32_t, kProperties.size()> values_{};
  std::array<bool, kProperties.size()> edited_{};
  bool loaded_ = false;
  bool showing_ = false;  // while the page itself shows a property's colour
};

}  // namespace rescalo::pages
