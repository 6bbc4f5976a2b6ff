#pragma once
// The Replace Fonts page: the face that replaces every font of the form, chosen from the
// installed families, or "<none>".

#include <string>
#include <vector>

#include <rescalo/host/property_page.h>

namespace rescalo::pages {

// Fills the list with "<none>" and every family, unfiltered; the list keeps its own order.
void LoadFontList(host::ListField& list, const std::vector<std::string>& families);

class ReplaceFontsPage : public host::PropertyPage {
 public:
  explicit ReplaceFontsPage(host::PropertyPageSite& site);
  void PropertyPage_SelectionChanged() override;
  void PropertyPage_ApplyChanges() override;

  host::Label& Label1;
  host::ListBox& List1;

 private:
  bool loaded_ = false;
};

}  // namespace rescalo::pages
