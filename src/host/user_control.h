#pragma once
// How a runtime hosts a user control: its site, its property bag and the registry of
// user-control classes through which the runtime creates one by class name.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <rescalo/host/object.h>
#include <rescalo/host/services.h>

namespace rescalo::host {

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // The stored value, or defaultValue when the key is absent.
  virtual Variant ReadProperty(std::string_view name, const Variant& defaultValue = {}) = 0;
  // Stores the value; a value equal to its default is not written.
  virtual void WriteProperty(std::string_view name, const Variant& value,
                             const Variant& defaultValue = {}) = 0;
};

// What the container offers the control it hosts.
class ControlSite {
 public:
  virtual ~ControlSite() = default;
  virtual bool UserMode() const = 0;  // ambient: False at design time
  // The container's controls: item 0 is the host form, then every control on it.
  virtual ObjectPtr ParentControls() = 0;
  virtual ObjectPtr Parent() = 0;  // the form the control is sited on
  virtual bool Enabled() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual double Width() const = 0;  // twips
  virtual double Height() const = 0;
  virtual void setSize(double width, double height) = 0;
  virtual void PropertyChanged(std::string_view name) = 0;
  // Raises one of the control's own events to the application.
  virtual void RaiseEvent(std::string_view event, Args args = {}) = 0;
  virtual Services& services() = 0;
};

class UserControl : public Object {
 public:
  virtual void Initialize(ControlSite& site) = 0;
  virtual void InitProperties() = 0;
  virtual void ReadProperties(PropertyBag& bag) = 0;
  virtual void WriteProperties(PropertyBag& bag) = 0;
  virtual void Resize() = 0;
  virtual void Terminate() = 0;
};

using UserControlFactory = std::function<std::shared_ptr<UserControl>()>;

class UserControlRegistry {
 public:
  void add(std::string className, UserControlFactory factory);
  // Nothing when no class of that name is registered.
  std::shared_ptr<UserControl> create(std::string_view className) const;
  bool has(std::string_view className) const;

 private:
  struct Less {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  std::map<std::string, UserControlFactory, Less> factories_;
};

}  // namespace rescalo::host
