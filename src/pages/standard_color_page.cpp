#include <rescalo/pages/standard_color_page.h>

namespace rescalo::pages {

StandardColorPage::StandardColorPage(host::PropertyPageSite& site)
    : PropertyPage(site, "StandardColor"),
      cmbProperty(add<host::ComboBox>("cmbProperty", "Property Name:")),
      Color(add<host::ColourField>("Color", "Color:")) {
  cmbProperty.Click = [this] {
    int i = cmbProperty.listIndex();
    if (i < 0) return;
    showing_ = true;
    Color.setValue(values_[static_cast<std::size_t>(i)]);
    showing_ = false;
  };
  Color.Change = [this] {
    int i = cmbProperty.listIndex();
    if (showing_ || !loaded_ || i < 0) return;
    values_[static_cast<std::size_t>(i)] = Color.value();
    edited_[static_cast<std::size_t>(i)] = true;
    setChanged(true);
  };
}

void StandardColorPage::PropertyPage_SelectionChanged() {
  if (loaded_) return;
  host::Object& c = edited();
  for (std::size_t i = 0; i < kProperties.size(); ++i) values_[i] = c.get(kProperties[i]).toLong();
  cmbProperty.clear();
  for (const char* p : kProperties) cmbProperty.addItem(p);
  cmbProperty.setListIndex(0);
  loaded_ = true;
}

// Only the colours the developer changed are written.
void StandardColorPage::PropertyPage_ApplyChanges() {
  host::Object& c = edited();
  for (std::size_t i = 0; i < kProperties.size(); ++i)
    if (edited_[i]) c.set(kProperties[i], host::Variant(values_[i]));
  edited_ = {};
}

}  // namespace rescalo::pages
