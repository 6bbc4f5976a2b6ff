#pragma once
// What the tests that compare a form with its design, or one host with the other, leave out.

#include <algorithm>

#include <rescalo/host/failure.h>
#include <rescalo/runtime/control.h>
#include <rescalo/runtime/form.h>

namespace rescalo::testing_support {

inline bool aligned(const runtime::Control& c) {
  auto align = host::tryGet(const_cast<runtime::Control&>(c), "Align");
  return align && align->toLong() != 0;
}

// Where the engine itself does not come back to the design, on either host:
// - a toolbar, whose height loop only ever grows its buttons, so they may stay a pixel or two
//   taller once the form was enlarged;
// - on an MDI form with aligned boxes, everything: its inner size is what the boxes leave
//   free, and the boxes are themselves scaled by the ratio of that size;
// - on a form saved maximized, what aligned boxes hold: the boxes already span the maximized
//   form when their contents are captured, against the design size of the form.
inline bool outsideComparison(const runtime::Control& c, const runtime::Form& form) {
  const bool anyAligned = std::any_of(form.controls().begin(), form.controls().end(),
                                      [](const auto& other) { return aligned(*other); });
  if (form.isMdi() && anyAligned) return true;
  const host::Variant* state = form.stored.find("WindowState");
  if (state && state->toLong() == 2)
    for (auto* p = dynamic_cast<const runtime::Control*>(c.container); p;
         p = dynamic_cast<const runtime::Control*>(p->container))
      if (aligned(*p)) return true;
  return c.typeName() == "Toolbar";
}

}  // namespace rescalo::testing_support
