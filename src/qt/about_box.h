#pragma once
// The component's about box as a real dialog: its name, version and one-line description.

#include <QMessageBox>
#include <memory>

#include <rescalo/host/services.h>

namespace rescalo::qt {

// The box, built but not shown: the caller shows it (exec, open or show).
std::unique_ptr<QMessageBox> makeAboutBox(const host::AboutInfo& info, QWidget* parent = nullptr);

// Shows the box modally and returns when the developer closes it.
void showAboutBox(const host::AboutInfo& info, QWidget* parent = nullptr);

}  // namespace rescalo::qt
