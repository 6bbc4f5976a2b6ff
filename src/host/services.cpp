#include "host/services.h"

namespace host {

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

}  // namespace host
