#include <rescalo/host/failure.h>

namespace rescalo::host {

std::optional<Variant> tryGet(Object& obj, Name name, Args index) {
  try {
    Variant v;
    if (obj.tryGet(name, index, v)) return v;
  } catch (const HostError&) {
  }
  return std::nullopt;
}

std::optional<Variant> tryGet(const ObjectPtr& obj, Name name, Args index) {
  if (!obj) return std::nullopt;
  return tryGet(*obj, name, index);
}

}  // namespace rescalo::host
