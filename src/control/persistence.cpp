// Saving and restoring the control's settings with its form.

#include <string>
#include <type_traits>
#include <variant>

#include <rescalo/control/rescalo_impl.h>
#include <rescalo/host/failure.h>

namespace rescalo::control {

using host::Variant;

namespace {

// One saved setting: its key, its field and its default, read and written the same way.
using Field = std::variant<bool Settings::*, std::int16_t Settings::*, std::int32_t Settings::*,
                           float Settings::*, std::string Settings::*>;
struct Key {
  const char* name;
  Field field;
  Variant defaultValue;
};

// Keys 2 to 20, in the order they are read and written.
const Key kLeading[] = {
    {"ScaleFonts", &Settings::ScaleFonts, true},
    {"CenterX", &Settings::CenterX, false},
    {"CenterY", &Settings::CenterY, false},
    {"GradientFill", &Settings::GradientFill, false},
    {"GradientColour", &Settings::GradientColour, 0xFF0000},
    {"GradientColour2", &Settings::GradientColour2, 0},
    {"GradientMidColour", &Settings::GradientMidColour, 0},
    {"GradientType", &Settings::GradientType, 0},
    {"GradientSource", &Settings::GradientSource, 0},
    {"ScaleControls", &Settings::ScaleControls, true},
    {"ScaleX", &Settings::ScaleX, std::int16_t{0}},
    {"ScaleY", &Settings::ScaleY, std::int16_t{0}},
    {"StayOnTop", &Settings::StayOnTop, false},
    {"MinWidth", &Settings::MinWidth, 0},
    {"MinHeight", &Settings::MinHeight, 0},
    {"MaxWidth", &Settings::MaxWidth, 0},
    {"MaxHeight", &Settings::MaxHeight, 0},
    {"ScaleBorders", &Settings::ScaleBorders, true},
    {"ResizeOnMouseUp", &Settings::ResizeOnMouseUp, true},
};
// Keys 23 to 26 after the per-control keys; the two MDI child sizes follow (read width first,
// written height first), then the design size (read only), then these last ones.
const Key kWindow[] = {
    {"ScaleGraphics", &Settings::ScaleGraphics, true},
    {"ReplaceFontsWith", &Settings::ReplaceFontsWith, "<none>"},
    {"SaveWindowState", &Settings::SaveWindowState, false},
    {"WindowName", &Settings::WindowName, ""},
};
const Key kMdiWidth{"MdiChildWidth", &Settings::MdiChildWidth, 0};
const Key kMdiHeight{"MdiChildHeight", &Settings::MdiChildHeight, 0};
const Key kTrailing[] = {
    {"FormPicture", &Settings::FormPicture, 0},
    {"FormClose", &Settings::FormClose, std::int16_t{0}},
    {"FormOpen", &Settings::FormOpen, std::int16_t{0}},
    {"FormCloseTime", &Settings::FormCloseTime, 1.0f},
    {"FormOpenTime", &Settings::FormOpenTime, 1.0f},
    {"BeepOnMinMax", &Settings::BeepOnMinMax, true},
    {"ResizeAtOnce", &Settings::ResizeAtOnce, true},
};

template <class T>
T convert(const Variant& v) {
  if constexpr (std::is_same_v<T, bool>) return v.toBool();
  if constexpr (std::is_same_v<T, std::int16_t>) return v.toInteger();
  if constexpr (std::is_same_v<T, std::int32_t>) return v.toLong();
  if constexpr (std::is_same_v<T, float>) return v.toSingle();
  if constexpr (std::is_same_v<T, std::string>) return v.toString();
}

// Straight into the field: no clamping, no change report, no side effect. A stored value
// that does not convert leaves the field as it was.
void read(host::PropertyBag& bag, Settings& s, const Key& key) {
  std::visit(
      [&](auto field) {
        using T = std::remove_reference_t<decltype(s.*field)>;
        host::ignoreErrors(
            [&] { s.*field = convert<T>(bag.ReadProperty(key.name, key.defaultValue)); });
      },
      key.field);
}

void write(host::PropertyBag& bag, std::string_view name, const Variant& value,
           const Variant& def) {
  host::ignoreErrors([&] { bag.WriteProperty(name, value, def); });
}

void write(host::PropertyBag& bag, const Settings& s, const Key& key) {
  std::visit([&](auto field) { write(bag, key.name, Variant(s.*field), key.defaultValue); },
             key.field);
}

template <class T>
void readField(host::PropertyBag& bag, std::string_view name, T& field, const Variant& def) {
  host::ignoreErrors([&] { field = convert<T>(bag.ReadProperty(name, def)); });
}

std::string flagKey(int n, std::string_view name) {
  return std::to_string(n) + "ControlFlag" + std::string(name);
}

}  // namespace

void RescaloImpl::InitProperties() {
  note("InitProperties");
  host::ignoreErrors([&] { FormControls = site_->ParentControls(); });
  s = Settings::defaults();
  flagCount_ = 0;
  flagKeys_.assign(1, "");
  for (auto& f : flags_) f.assign(1, false);
  DesignFormWidth = DesignFormHeight = DesignFormScaleWidth = DesignFormScaleHeight = 0;
}

void RescaloImpl::ReadProperties(host::PropertyBag& bag) {
  note("ReadProperties");
  bool enabled = false;
  readField(bag, "Enabled", enabled, true);
  host::ignoreErrors([&] { site_->setEnabled(enabled); });
  for (const Key& key : kLeading) read(bag, s, key);
  host::ignoreErrors([&] { FormControls = site_->ParentControls(); });

  std::int16_t count = flagCount_;
  readField(bag, "ControlFlagCount", count, std::int16_t{0});
  host::ignoreErrors([&] { setControlFlagCount(count); });
  for (int n = 1; n <= flagCount_; ++n) {
    auto i = static_cast<std::size_t>(n);
    readField(bag, flagKey(n, "ControlKey"), flagKeys_[i], "");
    for (std::size_t f = 0; f < kFlagCount; ++f) {
      bool value = flags_[f][i];
      readField(bag, flagKey(n, kFlagNames[f]), value, false);
      flags_[f][i] = value;
    }
    // Rebuild the flag record of that control from the persisted element.
    host::ignoreErrors([&] {
      SaveControlFlags(Variant(flagKeys_[i]));
      auto record = colControlFlags().item(Variant(flagKeys_[i])).toObject();
      for (std::size_t f = 0; f < kFlagCount; ++f)
        record->set(kFlagNames[f], Variant(static_cast<bool>(flags_[f][i])));
    });
  }

  for (const Key& key : kWindow) read(bag, s, key);
  read(bag, s, kMdiWidth);
  read(bag, s, kMdiHeight);
  readField(bag, "DesignFormWidth", DesignFormWidth, 0.0f);
  readField(bag, "DesignFormHeight", DesignFormHeight, 0.0f);
  readField(bag, "DesignFormScaleWidth", DesignFormScaleWidth, 0.0f);
  readField(bag, "DesignFormScaleHeight", DesignFormScaleHeight, 0.0f);
  for (const Key& key : kTrailing) read(bag, s, key);
  AttachHostForm();
}

void RescaloImpl::WriteProperties(host::PropertyBag& bag) {
  note("WriteProperties");
  for (const Key& key : kLeading) write(bag, s, key);
  write(bag, "ControlFlagCount", flagCount_, std::int16_t{0});
  // The arrays, not the records, are the source: the design-time pages keep them.
  for (int n = 1; n <= flagCount_; ++n) {
    auto i = static_cast<std::size_t>(n);
    write(bag, flagKey(n, "ControlKey"), flagKeys_[i], "");
    for (std::size_t f = 0; f < kFlagCount; ++f)
      write(bag, flagKey(n, kFlagNames[f]), static_cast<bool>(flags_[f][i]), false);
  }
  for (const Key& key : kWindow) write(bag, s, key);
  write(bag, s, kMdiHeight);
  write(bag, s, kMdiWidth);
  for (const Key& key : kTrailing) write(bag, s, key);
  write(bag, "Enabled", Enabled(), true);
  // The form as it is now, and only at design time.
  if (site_ && !site_->UserMode()) {
    host::ignoreErrors([&] {
      auto form = site_->ParentControls()->get("Item", {Variant(0)}).toObject();
      write(bag, "DesignFormWidth", form->get("Width").toSingle(), 0.0f);
      write(bag, "DesignFormHeight", form->get("Height").toSingle(), 0.0f);
      write(bag, "DesignFormScaleWidth", form->get("ScaleWidth").toSingle(), 0.0f);
      write(bag, "DesignFormScaleHeight", form->get("ScaleHeight").toSingle(), 0.0f);
    });
  }
}

}  // namespace rescalo::control
