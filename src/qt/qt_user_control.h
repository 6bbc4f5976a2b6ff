#pragma once
// A user control (a Rescalo, for one) attached to any QWidget window: the site it sees, the
// extender the application sees, and a property bag for settings given in code.
//
//   qt::QtServices services;
//   auto rescalo = qt::attach(&window, control::makeRescalo(), services);
//   window.show();
//
// attach() runs the control's Initialize, then ReadProperties from the given settings (the
// window's size when attached stands for the size it was designed at, unless they say
// otherwise), then the window's Load (at run time only). A window that is shown later raises
// Resize at its first display, which starts the control; one that is already shown raises it
// at once. Closing the window raises Unload; destroying the window or the last reference to
// the extender ends the control (Terminate).

#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <rescalo/host/user_control.h>
#include <rescalo/qt/qt_services.h>

namespace rescalo::qt {

class QtForm;

// Properties by name (compared without regard to case), in the order first written.
class QtPropertyBag : public host::PropertyBag {
 public:
  QtPropertyBag() = default;
  QtPropertyBag(std::initializer_list<std::pair<std::string, host::Variant>> values);

  host::Variant ReadProperty(std::string_view name,
                             const host::Variant& defaultValue = {}) override;
  // As the classic bag does, a value equal to its non-empty default is not written.
  void WriteProperty(std::string_view name, const host::Variant& value,
                     const host::Variant& defaultValue = {}) override;
  const std::vector<std::pair<std::string, host::Variant>>& values() const { return values_; }

 private:
  std::vector<std::pair<std::string, host::Variant>> values_;
};

struct AttachOptions {
  std::string name = "Rescalo1";            // the extender's Name
  host::PropertyBag* properties = nullptr;  // nothing: every setting at its default
  // False: design time; the control stays inert, and starts from its defaults (InitProperties)
  // unless properties are given.
  bool userMode = true;
};

class QtUserControlHost : public host::Object, public host::ControlSite {
 public:
  QtUserControlHost(std::shared_ptr<QtForm> form, std::shared_ptr<host::UserControl> control,
                    QtServices& services, AttachOptions options);
  ~QtUserControlHost() override;

  std::string_view typeName() const override { return control_->typeName(); }
  host::UserControl& control() { return *control_; }
  std::shared_ptr<QtForm> form() const { return form_; }
  // Ends the control once (Terminate); later calls do nothing.
  void terminate();

  // Members the extender lacks are the control's own.
  bool tryGet(host::Name name, host::Args index, host::Variant& out) override;
  bool trySet(host::Name name, host::Args index, const host::Variant& value) override;
  bool tryCall(host::Name name, host::Args args, host::Variant& out) override;
  bool has(host::Name name) const override;

  // The site.
  bool UserMode() const override { return userMode_; }
  host::ObjectPtr ParentControls() override;
  host::ObjectPtr Parent() override;
  bool Enabled() const override { return enabled_; }
  void setEnabled(bool enabled) override { enabled_ = enabled; }
  double Width() const override { return width_; }
  double Height() const override { return height_; }
  void setSize(double width, double height) override;
  void PropertyChanged(std::string_view name) override;
  void RaiseEvent(std::string_view event, host::Args args = {}) override;
  host::Services& services() override { return services_; }

  // What the control reported as changed since attaching, in order.
  std::vector<std::string> changedProperties;
  const std::string& name() const { return name_; }

 protected:
  const host::MemberTable* members() const override;

 private:
  friend std::shared_ptr<QtUserControlHost> attach(QWidget*, std::shared_ptr<host::UserControl>,
                                                   QtServices&, AttachOptions);
  std::shared_ptr<QtForm> form_;
  std::shared_ptr<host::UserControl> control_;
  QtServices& services_;
  std::string name_;
  bool userMode_;
  bool enabled_ = true;
  bool terminated_ = false;
  double width_ = 0, height_ = 0;
  QMetaObject::Connection destroyed_;
};

// Attaches the control to the top-level window (5 when the widget is not a window) and brings
// it to life as described above.
std::shared_ptr<QtUserControlHost> attach(QWidget* window,
                                          std::shared_ptr<host::UserControl> control,
                                          QtServices& services, AttachOptions options = {});

}  // namespace rescalo::qt
