#include <rescalo/qt/qt_user_control.h>

#include <algorithm>

#include <rescalo/host/failure.h>
#include <rescalo/qt/qt_form.h>

namespace rescalo::qt {

using host::Args;
using host::Object;
using host::self;
using host::Variant;

QtPropertyBag::QtPropertyBag(std::initializer_list<std::pair<std::string, Variant>> values) {
  for (const auto& [name, value] : values) WriteProperty(name, value);
}

Variant QtPropertyBag::ReadProperty(std::string_view name, const Variant& defaultValue) {
  for (const auto& [n, v] : values_)
    if (host::equalsNoCase(n, name)) return v;
  return defaultValue;
}

void QtPropertyBag::WriteProperty(std::string_view name, const Variant& value,
                                  const Variant& defaultValue) {
  auto it = std::find_if(values_.begin(), values_.end(),
                         [&](const auto& e) { return host::equalsNoCase(e.first, name); });
  if (!defaultValue.isEmpty() && value == defaultValue) {
    if (it != values_.end()) values_.erase(it);
    return;
  }
  if (it != values_.end())
    it->second = value;
  else
    values_.emplace_back(std::string(name), value);
}

QtUserControlHost::QtUserControlHost(std::shared_ptr<QtForm> form,
                                     std::shared_ptr<host::UserControl> control,
                                     QtServices& services, AttachOptions options)
    : form_(std::move(form)),
      control_(std::move(control)),
      services_(services),
      name_(std::move(options.name)),
      userMode_(options.userMode) {}

QtUserControlHost::~QtUserControlHost() {
  QObject::disconnect(destroyed_);
  terminate();
}

void QtUserControlHost::terminate() {
  if (terminated_) return;
  terminated_ = true;
  host::ignoreErrors([&] { control_->Terminate(); });
}

bool QtUserControlHost::tryGet(host::Name name, Args index, Variant& out) {
  if (Object::tryGet(name, index, out)) return true;
  return control_->tryGet(name, index, out);
}

bool QtUserControlHost::trySet(host::Name name, Args index, const Variant& value) {
  if (Object::trySet(name, index, value)) return true;
  return control_->trySet(name, index, value);
}

bool QtUserControlHost::tryCall(host::Name name, Args args, Variant& out) {
  if (Object::tryCall(name, args, out)) return true;
  return control_->tryCall(name, args, out);
}

bool QtUserControlHost::has(host::Name name) const {
  return Object::has(name) || control_->has(name);
}

host::ObjectPtr QtUserControlHost::ParentControls() {
  return std::make_shared<QtControls>(form_, true);
}

host::ObjectPtr QtUserControlHost::Parent() { return form_; }

void QtUserControlHost::setSize(double width, double height) {
  width_ = width;
  height_ = height;
}

void QtUserControlHost::PropertyChanged(std::string_view name) {
  changedProperties.emplace_back(name);
}

void QtUserControlHost::RaiseEvent(std::string_view event, Args args) {
  // The application subscribes to the extender, as it would handle Rescalo1_ResizeDone.
  raiseEvent(event, args);
}

namespace {

QtUserControlHost& site(Object& o) { return self<QtUserControlHost>(o); }

}  // namespace

const host::MemberTable* QtUserControlHost::members() const {
  // The extender has no widget: it is never one of the form's controls.
  static const host::MemberTable table{
      {"Name", [](Object& o, Args) { return Variant(site(o).name()); }},
      {"Parent", [](Object& o, Args) { return Variant(site(o).Parent()); }},
      {"Container", [](Object& o, Args) { return Variant(site(o).Parent()); }}};
  return &table;
}

namespace {

// The application's settings, with the window as it is now as the size it was designed at
// when the settings do not say: a form made in code is designed at its size when attached.
class DesignSizeBag : public host::PropertyBag {
 public:
  DesignSizeBag(host::PropertyBag* settings, QtForm& form) : settings_(settings) {
    defaults_ = {{"DesignFormWidth", form.get("Width")},
                 {"DesignFormHeight", form.get("Height")},
                 {"DesignFormScaleWidth", form.get("ScaleWidth")},
                 {"DesignFormScaleHeight", form.get("ScaleHeight")}};
  }
  Variant ReadProperty(std::string_view name, const Variant& defaultValue) override {
    Variant fallback = defaultValue;
    for (const auto& [n, v] : defaults_.values())
      if (host::equalsNoCase(n, name)) fallback = v;
    return settings_ ? settings_->ReadProperty(name, fallback) : fallback;
  }
  void WriteProperty(std::string_view name, const Variant& value,
                     const Variant& defaultValue) override {
    if (settings_) settings_->WriteProperty(name, value, defaultValue);
  }

 private:
  host::PropertyBag* settings_;
  QtPropertyBag defaults_;
};

}  // namespace

std::shared_ptr<QtUserControlHost> attach(QWidget* window,
                                          std::shared_ptr<host::UserControl> control,
                                          QtServices& services, AttachOptions options) {
  if (!window || !control) host::raise(host::kInvalidProcedureCall);
  auto form = adoptForm(window);
  host::PropertyBag* bag = options.properties;
  auto host =
      std::make_shared<QtUserControlHost>(form, std::move(control), services, std::move(options));
  // The window may go first; the control must not outlive its form's widgets in use.
  std::weak_ptr<QtUserControlHost> weak = host;
  host->destroyed_ = QObject::connect(window, &QObject::destroyed, [weak] {
    if (auto h = weak.lock()) h->terminate();
  });
  host->control().Initialize(*host);
  // At run time a control always reads its properties; only a control just placed at design
  // time starts from its defaults.
  if (host->UserMode()) {
    DesignSizeBag withDesignSize(bag, *form);
    host->control().ReadProperties(withDesignSize);
  } else if (bag) {
    host->control().ReadProperties(*bag);
  } else {
    host->control().InitProperties();
  }
  // Only a running form loads; at design time it is merely being edited.
  if (host->UserMode()) {
    form->load();
    // A window already on the screen has had its first display.
    if (window->isVisible()) form->raiseEvent("Resize");
  }
  return host;
}

}  // namespace rescalo::qt
