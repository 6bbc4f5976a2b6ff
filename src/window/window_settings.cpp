#include <rescalo/window/window_settings.h>

#include <rescalo/host/failure.h>

namespace rescalo::window {

using host::Variant;

namespace {

constexpr const char* kBoundKeys[] = {"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"};

host::Object& need(const host::ObjectPtr& form) {
  if (!form) host::raise(host::kObjectNotSet);
  return *form;
}

void nameAfterCaption(WindowMemory& m) {
  if (m.form && m.name.empty()) m.setName(m.form->get("Caption").toString());
}

float* fields(NormalBounds& b, int i) {
  float* all[] = {&b.Left, &b.Top, &b.Width, &b.Height};
  return all[i];
}

}  // namespace

void SaveWindowSettings(WindowMemory m) {
  nameAfterCaption(m);
  // One change of the store for the whole window.
  m.store.update([&] {
    for (int i = 0; i < 4; ++i)
      m.store.SaveSetting(kSettingsApp, m.name, kBoundKeys[i],
                          Variant(*fields(m.bounds, i)).toString());
    m.store.SaveSetting(kSettingsApp, m.name, "WindowState",
                        need(m.form).get("WindowState").toString());
  });
}

void LoadWindowSettings(WindowMemory m, bool& loading) {
  loading = true;
  host::trapSilently([&] {
    nameAfterCaption(m);
    for (int i = 0; i < 4; ++i)
      *fields(m.bounds, i) =
          Variant(m.store.GetSetting(kSettingsApp, m.name, kBoundKeys[i])).toSingle();
    std::int16_t state =
        Variant(m.store.GetSetting(kSettingsApp, m.name, "WindowState")).toInteger();
    host::Object& form = need(m.form);
    form.set("WindowState", std::int16_t{0});
    form.call("Move", {Variant(m.bounds.Left), Variant(m.bounds.Top), Variant(m.bounds.Width),
                       Variant(m.bounds.Height)});
    Variant wasVisible = form.get("Visible");
    form.set("Visible", true);
    form.set("WindowState", state);
    form.set("Visible", wasVisible);
    m.store.DeleteSetting(kSettingsApp, m.name);
  });
  loading = false;
}

}  // namespace rescalo::window
