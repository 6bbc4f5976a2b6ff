#include <rescalo/host/services.h>

#include <rescalo/host/error.h>

namespace rescalo::host {

namespace {

class ScreenObject : public Object {
 public:
  explicit ScreenObject(Services& services) : services_(services) {}
  std::string_view typeName() const override { return "Screen"; }

 protected:
  const MemberTable* members() const override {
    static const MemberTable table{
        {"Width", [](Object& o, Args) { return Variant(static_cast<float>(scr(o).width)); }},
        {"Height", [](Object& o, Args) { return Variant(static_cast<float>(scr(o).height)); }},
        {"TwipsPerPixelX",
         [](Object& o, Args) { return Variant(static_cast<float>(scr(o).twipsPerPixelX)); }},
        {"TwipsPerPixelY",
         [](Object& o, Args) { return Variant(static_cast<float>(scr(o).twipsPerPixelY)); }},
    };
    return &table;
  }

 private:
  static ScreenMetrics scr(Object& o) { return static_cast<ScreenObject&>(o).services_.screen(); }
  Services& services_;
};

}  // namespace

ObjectPtr makeScreenObject(Services& services) { return std::make_shared<ScreenObject>(services); }

void Timer::setEnabled(bool enabled) {
  enabled_ = enabled;
  rearm();
}

void Timer::setInterval(int ms) {
  if (ms < 0 || ms > 65535) raise(kInvalidPropertyValue);
  interval_ = ms;
  rearm();
}

const MemberTable* Timer::members() const {
  static const MemberTable table{
      {"Enabled", [](Object& o, Args) { return Variant(self<Timer>(o).enabled()); },
       [](Object& o, Args, const Variant& v) { self<Timer>(o).setEnabled(v.toBool()); }},
      {"Interval", [](Object& o, Args) { return Variant(self<Timer>(o).interval()); },
       [](Object& o, Args, const Variant& v) { self<Timer>(o).setInterval(v.toLong()); }},
  };
  return &table;
}

}  // namespace rescalo::host
