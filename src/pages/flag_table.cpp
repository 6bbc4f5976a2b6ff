#include <rescalo/pages/flag_table.h>

#include <rescalo/host/failure.h>

namespace rescalo::pages {

void FlagTable::build(host::Object& edited, bool ignoreErrors) {
  table_.clear();
  order_.clear();
  host::ObjectPtr controls = edited.get("FormControls").toObject();
  if (!controls) host::raise(host::kObjectNotSet);
  int n = controls->get("Count").toLong();
  for (int i = 0; i < n; ++i) {
    auto one = [&] {
      host::Variant index(static_cast<std::int32_t>(i));
      host::ObjectPtr ctrl = controls->get("Item", host::Args(&index, 1)).toObject();
      auto record = std::make_shared<scaling::ControlFlags>();
      std::string key = scaling::GetControlKey(ctrl);
      table_.add(host::Variant(host::ObjectPtr(record)), key);
      record->Control = ctrl;
      record->ControlKey = key;
      order_.push_back(record);
    };
    if (ignoreErrors)
      host::ignoreErrors(one);
    else
      one();
  }
}

std::shared_ptr<scaling::ControlFlags> FlagTable::find(std::string_view key) const {
  return scaling::findRecord<scaling::ControlFlags>(table_, key);
}

void showSwitch(host::Label& label, std::string_view name, bool on) {
  label.setForeColor(on ? 65280 : 255);
  label.setCaption(std::string(name) + (on ? " = True" : " = False") + " (Set on General Tab) ");
}

}  // namespace rescalo::pages
