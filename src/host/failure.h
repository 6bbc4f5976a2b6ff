#pragma once
// The four ways the system handles a failing host access, as helpers rather than copied
// try blocks.

#include <optional>
#include <string>
#include <utility>

#include <rescalo/host/object.h>

namespace rescalo::host {

// Skip-and-go-on: the read of a member, or nothing when the object lacks it or the read fails.
std::optional<Variant> tryGet(Object& obj, Name name, Args index = {});
std::optional<Variant> tryGet(const ObjectPtr& obj, Name name, Args index = {});
// Skip-and-go-on for a whole step: runs it, swallowing a HostError; true when it succeeded.
template <class F>
bool ignoreErrors(F&& step) {
  try {
    std::forward<F>(step)();
    return true;
  } catch (const HostError&) {
    return false;
  }
}

// Trap silently and end: the same mechanism, named for a whole procedure.
template <class F>
bool trapSilently(F&& procedure) {
  return ignoreErrors(std::forward<F>(procedure));
}

// Trap and show: runs the procedure; on failure calls show(description) and returns false.
template <class F, class Show>
bool trapAndShow(F&& procedure, Show&& show) {
  try {
    std::forward<F>(procedure)();
    return true;
  } catch (const HostError& e) {
    std::forward<Show>(show)(e.description());
    return false;
  }
}

// Trap and raise: runs the procedure; on failure hands the error object to raise(error).
template <class F, class Raise>
bool trapAndRaise(F&& procedure, Raise&& raiseEvent) {
  try {
    std::forward<F>(procedure)();
    return true;
  } catch (const HostError& e) {
    std::forward<Raise>(raiseEvent)(e);
    return false;
  }
}

}  // namespace rescalo::host
