#pragma once
// A classic form from .frm text as the form designer holds it, built into widgets (not shown);
// and widgets made and compared by their places.

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/render.h>

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

// A widget made on its parent, by name and place.
template <class W>
W* make(QWidget* parent, const char* name, QRect r) {
  auto* w = new W(parent);
  w->setObjectName(name);
  w->setGeometry(r);
  return w;
}

// Within a pixel on every side: twips round to whole pixels both ways.
inline ::testing::AssertionResult withinAPixel(const QRect& got, const QRect& want) {
  if (std::abs(got.x() - want.x()) <= 1 && std::abs(got.y() - want.y()) <= 1 &&
      std::abs(got.width() - want.width()) <= 1 && std::abs(got.height() - want.height()) <= 1)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << got.x() << "," << got.y() << " " << got.width() << "x" << got.height() << ", not "
         << want.x() << "," << want.y() << " " << want.width() << "x" << want.height();
}

// The widgets of the window that show a pixel other than the runtime's picture of the form (the
// form itself named "the form"), the window as large as the form's client area.
inline std::set<std::string> differingWidgets(QWidget& window, runtime::Form& form) {
  const raster::Bitmap picture = runtime::renderWindow(form);
  const runtime::PixelPoint client = runtime::clientOrigin(form);
  const QImage qt = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
  std::set<std::string> out;
  for (int y = 0; y < qt.height(); ++y)
    for (int x = 0; x < qt.width(); ++x) {
      const raster::Color c = picture.pixel(client.x + x, client.y + y);
      if (qt.pixel(x, y) == qRgb(raster::red(c), raster::green(c), raster::blue(c))) continue;
      QWidget* at = window.childAt(x, y);
      while (at && at->parentWidget() != &window && at->objectName().isEmpty())
        at = at->parentWidget();
      out.insert(at ? at->objectName().toStdString() : "the form");
    }
  return out;
}

}  // namespace rescalo::testing_support
