#pragma once
// A classic form in real widgets with one call: loaded by the embedded runtime, built into Qt
// widgets at its designed places, and given its Rescalo with the settings the form saved (a
// new one with the defaults when it has none).
//
//   auto window = rescalo::qt::openForm("orders.frm");
//   window->show();

#include <QWidget>
#include <filesystem>
#include <memory>

#include <rescalo/bridge/qt_rescalo.h>

namespace rescalo::qt {

struct OpenOptions {
  // Timers, the settings store and message boxes; nothing: the Qt host's own.
  QtServices* services = nullptr;
  // The code page of text whose font names no Charset; 0: 1252.
  int codePage = 0;
};

// Needs a QApplication. A malformed form throws the loader's error (file, line, what was
// expected). The window is not shown yet; a form saved maximized or minimized opens so.
std::unique_ptr<QWidget> openForm(const std::filesystem::path& file, const OpenOptions& = {});

// The Rescalo attached to a window, if any, also one that a Designer plugin's copy made.
Rescalo* rescaloOf(QWidget* window);

}  // namespace rescalo::qt
