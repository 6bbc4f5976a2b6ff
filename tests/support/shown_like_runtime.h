#pragma once
// A form shown on Qt next to the same form in the embedded runtime, as `rescalo show --check`
// shows it.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include <rescalo/bridge/shown_form.h>
#include "corpus.h"

namespace rescalo::testing_support {

// Each form dragged to each scale of its designed inner area: every widget within one pixel of
// its control in the runtime, and the settings store read and written.
inline void expectShownLikeTheRuntime(const std::vector<std::filesystem::path>& forms,
                                      std::initializer_list<double> scales) {
  ASSERT_FALSE(forms.empty());
  for (const auto& file : forms) {
    SCOPED_TRACE(file.filename().string());
    QTemporaryDir dir;
    bridge::ShownForm shown(file, {.compare = true,
                                   .quietMessageBoxes = true,
                                   .settingsFile = dir.filePath("settings.ini").toStdString()});
    ASSERT_NE(shown.reference(), nullptr);
    shown.restore();
    for (const double scale : scales) {
      shown.drag(shown.designWidth() * scale, shown.designHeight() * scale);
      for (const bridge::Mismatch& m : shown.mismatches())
        ADD_FAILURE() << "at " << scale << ": " << m.key << " is at " << m.got.x() << ","
                      << m.got.y() << " " << m.got.width() << "x" << m.got.height()
                      << " px, the runtime has " << m.want[0] << "," << m.want[1] << " "
                      << m.want[2] << "x" << m.want[3];
    }
    // The command fails too when the settings store could not be read or written.
    EXPECT_EQ(dynamic_cast<const qt::QtSettingsStore&>(shown.services().settings()).failures(),
              std::vector<std::string>{});
  }
}

}  // namespace rescalo::testing_support
