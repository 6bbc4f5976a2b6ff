#include <rescalo/runtime/user_control_host.h>

#include <rescalo/runtime/form.h>
#include <rescalo/runtime/runtime.h>

namespace rescalo::runtime {

UserControlHost::UserControlHost(std::string fileClass, const ControlClass& cls,
                                 std::shared_ptr<host::UserControl> control, bool userMode)
    : Control(std::move(fileClass), cls), control_(std::move(control)), userMode_(userMode) {}

bool UserControlHost::tryGet(host::Name n, host::Args idx, host::Variant& out) {
  if (Control::tryGet(n, idx, out)) return true;
  return control_->tryGet(n, idx, out);
}

bool UserControlHost::trySet(host::Name n, host::Args idx, const host::Variant& value) {
  if (Control::trySet(n, idx, value)) {
    // A user control hears of every change of its size.
    if (n == host::Name("Width") || n == host::Name("Height")) control_->Resize();
    return true;
  }
  return control_->trySet(n, idx, value);
}

bool UserControlHost::tryCall(host::Name n, host::Args args, host::Variant& out) {
  if (Control::tryCall(n, args, out)) {
    if (n == host::Name("Move")) control_->Resize();
    return true;
  }
  return control_->tryCall(n, args, out);
}

host::ObjectPtr UserControlHost::ParentControls() { return controlsOf(*form, true); }
host::ObjectPtr UserControlHost::Parent() { return form->shared_from_this(); }

void UserControlHost::setSize(double w, double h) {
  width = w;
  height = h;
}

void UserControlHost::PropertyChanged(std::string_view property) {
  changedProperties.emplace_back(property);
}

void UserControlHost::RaiseEvent(std::string_view event, host::Args args) {
  // The application subscribes to the extender, as it would handle Rescalo1_ResizeDone.
  raiseEvent(event, args);
}

host::Services& UserControlHost::services() { return form->runtime(); }

}  // namespace rescalo::runtime
