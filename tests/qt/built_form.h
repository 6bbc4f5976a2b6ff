#pragma once
// A classic form from .frm text as the form designer holds it, built into widgets (not shown).

#include <QTemporaryDir>
#include <memory>
#include <string>

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/loader.h>

namespace rescalo::testing_support {

inline runtime::RuntimeOptions optionsIn(const QTemporaryDir& dir) {
  runtime::RuntimeOptions o;
  o.settingsFile = dir.filePath("settings").toStdString();
  return o;
}

struct BuiltForm {
  QTemporaryDir dir;
  runtime::Runtime rt{optionsIn(dir)};
  std::shared_ptr<runtime::Form> form;
  bridge::QtFormWindow qt;
  explicit BuiltForm(const std::string& text, int codePage = 0) {
    control::registerRescalo(rt.userControls());
    form = runtime::buildForm(rt, frm::read(text, "test.frm"), "test.frm",
                              {.userMode = false, .codePage = codePage});
    qt = bridge::buildQtForm(*form);
  }
  QWidget* widget(const std::string& key) const { return qt.widget(key); }
  template <class W>
  W* widget(const std::string& key) const {
    return qobject_cast<W*>(qt.widget(key));
  }
};

}  // namespace rescalo::testing_support
