#pragma once
// A classic form as a Qt Designer form: the widgets the bridge builds from it, saved as a .ui
// with its Rescalo (its settings as the Qt properties they are there) and every control's
// flags as the widget's rescaloLocks and rescaloExclude, so that a classic application's forms
// move to Qt and keep rescaling.

#include <filesystem>

namespace rescalo::bridge {

// Needs a QApplication. The form's errors are the loader's; a .ui that cannot be written
// throws, naming the file. The file is written whole or not at all.
void convertToUi(const std::filesystem::path& frm, const std::filesystem::path& ui,
                 int codePage = 0);

}  // namespace rescalo::bridge
