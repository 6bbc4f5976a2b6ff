#include <rescalo/pages/replace_fonts_page.h>

namespace rescalo::pages {

void LoadFontList(host::ListField& list, const std::vector<std::string>& families) {
  list.clear();
  list.addItem("<none>");
  for (const std::string& family : families) list.addItem(family);
}

ReplaceFontsPage::ReplaceFontsPage(host::PropertyPageSite& site)
    : PropertyPage(site, "ReplaceFontsWith"),
      Label1(add<host::Label>("Label1", "ReplaceFontsWith")),
      List1(add<host::ListBox>("List1", "ReplaceFontsWith", true)) {
  List1.Click = [this] {
    if (loaded_) setChanged(true);
  };
}

void ReplaceFontsPage::PropertyPage_SelectionChanged() {
  if (loaded_) return;
  LoadFontList(List1, site().fontFamilies());
  // Letter case counts: a family that differs only in case is another face.
  int i = List1.find(edited().get("ReplaceFontsWith").toString());
  if (i >= 0) List1.setListIndex(i);
  loaded_ = true;
}

void ReplaceFontsPage::PropertyPage_ApplyChanges() {
  edited().set("ReplaceFontsWith", host::Variant(List1.text()));
}

}  // namespace rescalo::pages
