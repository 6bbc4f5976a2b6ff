#pragma once
// A user control sited on a form: the extender the form sees (name, position, visibility)
// and the site the control sees (ambient UserMode, its container's controls, events out).

#include <memory>
#include <string>
#include <vector>

#include <rescalo/host/user_control.h>
#include <rescalo/runtime/control.h>

namespace rescalo::runtime {

class Runtime;

class UserControlHost : public Control, public host::ControlSite {
 public:
  UserControlHost(std::string fileClass, const ControlClass& cls,
                  std::shared_ptr<host::UserControl> control, bool userMode);

  host::UserControl& control() { return *control_; }
  std::shared_ptr<host::UserControl> controlPtr() { return control_; }

  // Members the extender lacks are the control's own.
  bool tryGet(host::Name name, host::Args index, host::Variant& out) override;
  bool trySet(host::Name name, host::Args index, const host::Variant& value) override;
  bool tryCall(host::Name name, host::Args args, host::Variant& out) override;

  // The site.
  bool UserMode() const override { return userMode_; }
  host::ObjectPtr ParentControls() override;
  host::ObjectPtr Parent() override;
  bool Enabled() const override { return enabled; }
  void setEnabled(bool e) override { enabled = e; }
  double Width() const override { return width; }
  double Height() const override { return height; }
  void setSize(double w, double h) override;
  void PropertyChanged(std::string_view name) override;
  void RaiseEvent(std::string_view event, host::Args args = {}) override;
  host::Services& services() override;

  // The properties the control reported as changed, in order: the form needs saving.
  std::vector<std::string> changedProperties;
  bool dirty() const { return !changedProperties.empty(); }

 private:
  std::shared_ptr<host::UserControl> control_;
  bool userMode_;
};

}  // namespace rescalo::runtime
