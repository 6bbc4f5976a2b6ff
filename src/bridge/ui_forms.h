#pragma once
// Forms made in Qt Designer (.ui), loaded into widgets. A Rescalo placed on the form is not
// made as a widget here: its settings are kept, to be given to the one attached to the window.

#include <QString>
#include <QVariant>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

namespace rescalo::bridge {

// The class a Rescalo has in a .ui form.
inline constexpr const char* kRescaloUiClass = "rescalo::qt::Rescalo";

struct UiForm {
  std::unique_ptr<QWidget> window;
  bool hasRescalo = false;
  // The form's Rescalo's properties as the form sets them, by their Qt names, in order.
  std::vector<std::pair<QByteArray, QVariant>> rescaloProperties;
};

bool isUiForm(const std::filesystem::path& file);

// Needs a QApplication. A file that cannot be read or is no form throws, naming the file and
// what Qt's reader found (with its line where it has one).
UiForm loadUiForm(const std::filesystem::path& file);

}  // namespace rescalo::bridge
