#include <rescalo/bridge/open_form.h>

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/runtime/frm/frm_document.h>

namespace rescalo::qt {

std::unique_ptr<QWidget> openForm(const std::filesystem::path& file, const OpenOptions& options) {
  bridge::BuiltForm loaded = bridge::loadAndBuild(file, {}, options.codePage);
  std::unique_ptr<QWidget> window = std::move(loaded.built.window);
  if (const frm::Property* state = loaded.document.form.property("WindowState")) {
    const auto n = frm::parseNumber(state->value);
    if (n && *n == 2) window->setWindowState(Qt::WindowMaximized);
    if (n && *n == 1) window->setWindowState(Qt::WindowMinimized);
  }
  // The bag is read while attaching; the control keeps nothing of it.
  attach(window.get(), {.properties = &loaded.built.rescaloSettings, .services = options.services});
  return window;
}

Rescalo* rescaloOf(QWidget* window) { return window ? window->findChild<Rescalo*>() : nullptr; }

}  // namespace rescalo::qt
