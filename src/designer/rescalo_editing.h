#pragma once
// "Edit Rescalo..." on a form being designed: the property sheet over the Rescalo's settings,
// with the form's widgets as the controls its pages list, and what the pages applied written
// back into the form — the settings as the Rescalo's properties, each widget's flags as its
// rescaloLocks and rescaloExclude properties.

#include <QVariant>
#include <QWidget>
#include <functional>

#include <rescalo/bridge/qt_rescalo.h>
#include <rescalo/qt/property_sheet.h>

namespace rescalo::designer {

// How the form takes an edit: in Qt Designer, as its own commands, so that each one is undone
// with the rest and marks the form changed.
class FormEdits {
 public:
  virtual ~FormEdits() = default;
  virtual void setProperty(QWidget* widget, const char* name, const QVariant& value) = 0;
  // A widget's flags as text; empty text: the widget has none, the property goes.
  virtual void setFlags(QWidget* widget, const char* name, const QString& text) = 0;
};

// The widgets of a form that its Rescalo rescales, in creation order: every widget under it
// that `managed` accepts, Rescalos aside.
QWidgetList formWidgets(QWidget& form, const std::function<bool(QWidget*)>& managed);

// Shows the sheet over a copy of the Rescalo's settings and of the widgets' flags (`run` shows
// it; by default modally), then hands what the pages applied to `edits`: only what differs
// from the form, so Cancel after nothing applied edits nothing.
void editRescalo(qt::Rescalo& rescalo, QWidget& form, const QWidgetList& widgets, FormEdits& edits,
                 const std::function<void(qt::PropertySheetDialog&)>& run = {});

}  // namespace rescalo::designer
