#include <rescalo/pages/flag_table.h>

#include <algorithm>
#include <map>

#include <rescalo/host/failure.h>
#include <rescalo/host/name.h>

namespace rescalo::pages {

using host::Variant;
using F = scaling::ControlFlags;

const std::array<FlagProperty, 10> kFlagProperties{{
    {"ControlFlagDontScaleControl", &F::DontScaleControl},
    {"ControlFlagDontScaleLeft", &F::DontScaleLeft},
    {"ControlFlagDontScaleTop", &F::DontScaleTop},
    {"ControlFlagDontScaleWidth", &F::DontScaleWidth},
    {"ControlFlagDontScaleHeight", &F::DontScaleHeight},
    {"ControlFlagDontScaleRight", &F::DontScaleRight},
    {"ControlFlagDontScaleBottom", &F::DontScaleBottom},
    {"ControlFlagDontScaleFont", &F::DontScaleFont},
    {"ControlFlagDontScaleGraphic", &F::DontScaleGraphic},
    {"ControlFlagDontScaleBorder", &F::DontScaleBorder},
}};

namespace {

Variant at(std::size_t i) { return Variant(static_cast<std::int16_t>(i)); }

std::string folded(std::string_view key) {
  std::string out(key);
  for (char& ch : out) ch = host::foldCase(ch);
  return out;
}

}  // namespace

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

void FlagTable::apply(host::Object& c, std::span<const FlagProperty> own,
                      const std::function<void(const std::function<void()>&)>& step) const {
  auto owned = [&](const FlagProperty& p) {
    return std::any_of(own.begin(), own.end(),
                       [&](const FlagProperty& o) { return o.flag == p.flag; });
  };
  using Flags = std::array<bool, kFlagProperties.size()>;
  // What is stored now, by key: the first entry of a key counts, a blanked one none.
  auto read = [&](std::size_t i) {
    Flags flags{};
    for (std::size_t f = 0; f < flags.size(); ++f)
      if (!owned(kFlagProperties[f]))
        step([&] { flags[f] = c.get(kFlagProperties[f].property, {at(i)}).toBool(); });
    return flags;
  };
  std::map<std::string, Flags> stored;
  std::vector<Flags> before;
  std::int16_t n = 0;
  step([&] { n = c.get("ControlFlagCount").toInteger(); });
  for (std::size_t i = 1; i <= static_cast<std::size_t>(std::max<std::int16_t>(n, 0)); ++i) {
    std::string key;
    step([&] { key = c.get("ControlFlagControlKey", {at(i)}).toString(); });
    before.push_back(read(i));
    if (!key.empty()) stored.emplace(folded(key), before.back());
  }

  step([&] { c.set("ControlFlagCount", Variant(static_cast<std::int16_t>(order_.size()))); });
  for (std::size_t n1 = 0; n1 < order_.size(); ++n1) {
    const F& r = *order_[n1];
    const Variant i = at(n1 + 1);
    step([&] { c.set("ControlFlagControlKey", Variant(r.ControlKey), {i}); });
    for (const FlagProperty& p : own) step([&] { c.set(p.property, Variant(r.*p.flag), {i}); });
    auto kept = stored.find(folded(r.ControlKey));
    for (std::size_t f = 0; f < kFlagProperties.size(); ++f) {
      if (owned(kFlagProperties[f])) continue;
      const bool want = kept != stored.end() && kept->second[f];
      const bool was = n1 < before.size() && before[n1][f];
      if (want != was) step([&] { c.set(kFlagProperties[f].property, Variant(want), {i}); });
    }
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
