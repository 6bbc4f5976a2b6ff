// Saving and restoring the control's settings with its form.

#include <string>

#include "control/rescalo.h"
#include "host/failure.h"

namespace control {

using host::Variant;

namespace {

// Reads one key into a field; a value that does not convert leaves the field as it was.
template <class T, class Convert>
void read(host::PropertyBag& bag, std::string_view key, T& field, const Variant& defaultValue,
          Convert convert) {
  host::ignoreErrors([&] { field = convert(bag.ReadProperty(key, defaultValue)); });
}

void readBool(host::PropertyBag& bag, std::string_view key, bool& field, bool def) {
  read(bag, key, field, Variant(def), [](const Variant& v) { return v.toBool(); });
}
void readInt(host::PropertyBag& bag, std::string_view key, std::int16_t& field, std::int16_t def) {
  read(bag, key, field, Variant(def), [](const Variant& v) { return v.toInteger(); });
}
void readLong(host::PropertyBag& bag, std::string_view key, std::int32_t& field, std::int32_t def) {
  read(bag, key, field, Variant(def), [](const Variant& v) { return v.toLong(); });
}
void readSingle(host::PropertyBag& bag, std::string_view key, float& field, float def) {
  read(bag, key, field, Variant(def), [](const Variant& v) { return v.toSingle(); });
}
void readString(host::PropertyBag& bag, std::string_view key, std::string& field, const char* def) {
  read(bag, key, field, Variant(def), [](const Variant& v) { return v.toString(); });
}

void write(host::PropertyBag& bag, std::string_view key, const Variant& value, const Variant& def) {
  host::ignoreErrors([&] { bag.WriteProperty(key, value, def); });
}

std::string flagKey(int n, std::string_view name) {
  return std::to_string(n) + "ControlFlag" + std::string(name);
}

}  // namespace

void Rescalo::InitProperties() {
  note("InitProperties");
  host::ignoreErrors([&] { FormControls = site_->ParentControls(); });
  s = Settings::defaults();
  flagCount_ = 0;
  flagKeys_.assign(1, "");
  for (auto& f : flags_) f.assign(1, false);
  DesignFormWidth = DesignFormHeight = DesignFormScaleWidth = DesignFormScaleHeight = 0;
}

void Rescalo::ReadProperties(host::PropertyBag& bag) {
  note("ReadProperties");
  bool enabled = false;
  readBool(bag, "Enabled", enabled, true);
  host::ignoreErrors([&] { site_->setEnabled(enabled); });
  // Straight into the fields: no clamping, no change report, no side effect while loading.
  readBool(bag, "ScaleFonts", s.ScaleFonts, true);
  readBool(bag, "CenterX", s.CenterX, false);
  readBool(bag, "CenterY", s.CenterY, false);
  readBool(bag, "GradientFill", s.GradientFill, false);
  readLong(bag, "GradientColour", s.GradientColour, 0xFF0000);
  readLong(bag, "GradientColour2", s.GradientColour2, 0);
  readLong(bag, "GradientMidColour", s.GradientMidColour, 0);
  readLong(bag, "GradientType", s.GradientType, 0);
  readLong(bag, "GradientSource", s.GradientSource, 0);
  readBool(bag, "ScaleControls", s.ScaleControls, true);
  readInt(bag, "ScaleX", s.ScaleX, 0);
  readInt(bag, "ScaleY", s.ScaleY, 0);
  readBool(bag, "StayOnTop", s.StayOnTop, false);
  readLong(bag, "MinWidth", s.MinWidth, 0);
  readLong(bag, "MinHeight", s.MinHeight, 0);
  readLong(bag, "MaxWidth", s.MaxWidth, 0);
  readLong(bag, "MaxHeight", s.MaxHeight, 0);
  readBool(bag, "ScaleBorders", s.ScaleBorders, true);
  readBool(bag, "ResizeOnMouseUp", s.ResizeOnMouseUp, true);
  host::ignoreErrors([&] { FormControls = site_->ParentControls(); });

  std::int16_t count = flagCount_;
  readInt(bag, "ControlFlagCount", count, 0);
  host::ignoreErrors([&] { setControlFlagCount(count); });
  for (int n = 1; n <= flagCount_; ++n) {
    auto i = static_cast<std::size_t>(n);
    readString(bag, flagKey(n, "ControlKey"), flagKeys_[i], "");
    for (int f = 0; f < kFlagCount; ++f) {
      bool value = flags_[static_cast<std::size_t>(f)][i];
      readBool(bag, flagKey(n, kFlagNames[static_cast<std::size_t>(f)]), value, false);
      flags_[static_cast<std::size_t>(f)][i] = value;
    }
    // Rebuild the flag record of that control from the persisted element.
    host::ignoreErrors([&] {
      SaveControlFlags(Variant(flagKeys_[i]));
      auto record = colControlFlags().item(Variant(flagKeys_[i])).toObject();
      for (int f = 0; f < kFlagCount; ++f)
        record->set(kFlagNames[static_cast<std::size_t>(f)],
                    Variant(static_cast<bool>(flags_[static_cast<std::size_t>(f)][i])));
    });
  }

  readBool(bag, "ScaleGraphics", s.ScaleGraphics, true);
  readString(bag, "ReplaceFontsWith", s.ReplaceFontsWith, "<none>");
  readBool(bag, "SaveWindowState", s.SaveWindowState, false);
  readString(bag, "WindowName", s.WindowName, "");
  readLong(bag, "MdiChildWidth", s.MdiChildWidth, 0);
  readLong(bag, "MdiChildHeight", s.MdiChildHeight, 0);
  readSingle(bag, "DesignFormWidth", DesignFormWidth, 0);
  readSingle(bag, "DesignFormHeight", DesignFormHeight, 0);
  readSingle(bag, "DesignFormScaleWidth", DesignFormScaleWidth, 0);
  readSingle(bag, "DesignFormScaleHeight", DesignFormScaleHeight, 0);
  readLong(bag, "FormPicture", s.FormPicture, 0);
  readInt(bag, "FormClose", s.FormClose, 0);
  readInt(bag, "FormOpen", s.FormOpen, 0);
  readSingle(bag, "FormCloseTime", s.FormCloseTime, 1);
  readSingle(bag, "FormOpenTime", s.FormOpenTime, 1);
  readBool(bag, "BeepOnMinMax", s.BeepOnMinMax, true);
  readBool(bag, "ResizeAtOnce", s.ResizeAtOnce, true);
  AttachHostForm();
}

void Rescalo::WriteProperties(host::PropertyBag& bag) {
  note("WriteProperties");
  write(bag, "ScaleFonts", s.ScaleFonts, true);
  write(bag, "CenterX", s.CenterX, false);
  write(bag, "CenterY", s.CenterY, false);
  write(bag, "GradientFill", s.GradientFill, false);
  write(bag, "GradientColour", s.GradientColour, 0xFF0000);
  write(bag, "GradientColour2", s.GradientColour2, 0);
  write(bag, "GradientMidColour", s.GradientMidColour, 0);
  write(bag, "GradientType", s.GradientType, 0);
  write(bag, "GradientSource", s.GradientSource, 0);
  write(bag, "ScaleControls", s.ScaleControls, true);
  write(bag, "ScaleX", s.ScaleX, std::int16_t{0});
  write(bag, "ScaleY", s.ScaleY, std::int16_t{0});
  write(bag, "StayOnTop", s.StayOnTop, false);
  write(bag, "MinWidth", s.MinWidth, 0);
  write(bag, "MinHeight", s.MinHeight, 0);
  write(bag, "MaxWidth", s.MaxWidth, 0);
  write(bag, "MaxHeight", s.MaxHeight, 0);
  write(bag, "ScaleBorders", s.ScaleBorders, true);
  write(bag, "ResizeOnMouseUp", s.ResizeOnMouseUp, true);
  write(bag, "ControlFlagCount", flagCount_, std::int16_t{0});
  // The arrays, not the records, are the source: the design-time pages keep them.
  for (int n = 1; n <= flagCount_; ++n) {
    auto i = static_cast<std::size_t>(n);
    write(bag, flagKey(n, "ControlKey"), flagKeys_[i], "");
    for (int f = 0; f < kFlagCount; ++f)
      write(bag, flagKey(n, kFlagNames[static_cast<std::size_t>(f)]),
            static_cast<bool>(flags_[static_cast<std::size_t>(f)][i]), false);
  }
  write(bag, "ScaleGraphics", s.ScaleGraphics, true);
  write(bag, "ReplaceFontsWith", s.ReplaceFontsWith, "<none>");
  write(bag, "SaveWindowState", s.SaveWindowState, false);
  write(bag, "WindowName", s.WindowName, "");
  write(bag, "MdiChildHeight", s.MdiChildHeight, 0);
  write(bag, "MdiChildWidth", s.MdiChildWidth, 0);
  write(bag, "FormPicture", s.FormPicture, 0);
  write(bag, "FormClose", s.FormClose, std::int16_t{0});
  write(bag, "FormOpen", s.FormOpen, std::int16_t{0});
  write(bag, "FormCloseTime", s.FormCloseTime, 1.0f);
  write(bag, "FormOpenTime", s.FormOpenTime, 1.0f);
  write(bag, "BeepOnMinMax", s.BeepOnMinMax, true);
  write(bag, "ResizeAtOnce", s.ResizeAtOnce, true);
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

}  // namespace control
