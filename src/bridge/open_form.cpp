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

Rescalo* rescaloOf(QWidget* window) {
  if (!window) return nullptr;
  // By class name, not findChild<Rescalo*>: a Rescalo that QUiLoader made through the Designer
  // plugin belongs to the plugin's copy of this class, whose meta-object is not ours.
  for (QWidget* child : window->findChildren<QWidget*>())
    if (void* r = child->qt_metacast(Rescalo::staticMetaObject.className()))
      return static_cast<Rescalo*>(r);
  return nullptr;
}

}  // namespace rescalo::qt
