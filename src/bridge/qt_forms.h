#pragma once
// A classic form built into real widgets: the form as the embedded runtime loads it, mirrored
// control by control into Qt widgets at the same place, size, font, caption and state, with the
// settings of its Rescalo control ready for attaching one to the window.

#include <QMdiSubWindow>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <rescalo/qt/qt_user_control.h>
#include <rescalo/runtime/form.h>

class QAction;

namespace rescalo::bridge {
// Set on the window of a classic form with a menu bar: the bar counts with the frame, as the
// classic one does, and the form's inner area is what is below it.
inline constexpr const char* kClassicMenuBar = "ClassicMenuBar";

// The height of such a bar, or 0: a Qt main window's own bars belong to its inside, whose
// inner area is its central widget.
int classicMenuBarPixels(const QWidget& window);
}  // namespace rescalo::bridge
#include <rescalo/runtime/frm/frm_document.h>

namespace rescalo::bridge {

struct QtFormWindow {
  std::unique_ptr<QWidget> window;
  // Each control that got a widget, by its key ("Name" or "Name(Index)"), in load order.
  std::vector<std::pair<std::string, QWidget*>> widgets;
  // The runtime's classes that have no widget here, with how many controls of each were left
  // out (timers, menus, user controls).
  std::vector<std::pair<std::string, int>> leftOut;
  // What the form's first Rescalo control saves: attach a new one with these.
  qt::QtPropertyBag rescaloSettings;
  bool hasRescalo = false;
  // The form's top-level menus, in order: on its own menu bar, or, for an MDI child, on its
  // parent's while it is the active child.
  std::vector<QAction*> menus;

  QWidget* widget(std::string_view key) const;
};

// The form must be loaded (design mode is enough); it is only read. An MDI form becomes a
// QMainWindow holding a QMdiArea; a form with menus, a QMainWindow with a menu bar whose central
// widget holds the controls.
QtFormWindow buildQtForm(runtime::Form& form);

// A form loaded in design mode with a Rescalo (its own, or a new one with the defaults, as
// `rescalo add` places it), built into widgets. What the loader and the builder have to say
// (a control added, classes without a widget) goes to onOutput.
struct BuiltForm {
  frm::Document document;
  QtFormWindow built;
};
// `codePage` is that of text whose font names no Charset (0: 1252).
BuiltForm loadAndBuild(const std::filesystem::path& file,
                       const std::function<void(const std::string&)>& onOutput = {},
                       int codePage = 0);

// Puts a built MDI child into the area of a built MDI form, at the child's place and with its
// client size; the window stays the child's (the area holds it in a sub-window). Nothing when
// the form has no area.
QMdiSubWindow* addMdiChild(QWidget& mdiForm, QtFormWindow& child, const runtime::Form& form);

}  // namespace rescalo::bridge
