#pragma once
// A classic form built into real widgets: the form as the embedded runtime loads it, mirrored
// control by control into Qt widgets at the same place, size, font, caption and state, with the
// settings of its Rescalo control ready for attaching one to the window.

#if RESCALO_HAS_QT

#include <QWidget>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "qt/qt_user_control.h"
#include "runtime/form.h"

namespace cli {

struct QtFormWindow {
  std::unique_ptr<QWidget> window;
  // Each control that got a widget, by its key ("Name" or "Name(Index)"), in load order.
  std::vector<std::pair<std::string, QWidget*>> widgets;
  // The runtime's classes that have no widget here, with how many controls of each were left
  // out (timers, menus, lines, image lists, user controls).
  std::vector<std::pair<std::string, int>> leftOut;
  // What the form's first Rescalo control saves: attach a new one with these.
  qthost::QtPropertyBag rescaloSettings;
  bool hasRescalo = false;

  QWidget* widget(std::string_view key) const;
};

// The form must be loaded (design mode is enough); it is only read.
QtFormWindow buildQtForm(runtime::Form& form);

}  // namespace cli

#endif
