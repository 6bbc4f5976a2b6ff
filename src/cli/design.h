#pragma once
// rescalo design: the property pages of a form's Rescalo control, in a real window or driven
// headless.

#include <string>
#include <vector>

namespace rescalo::cli {

// FORM.frm [-o OUT.frm] [--accept | --screenshots DIR]: the property sheet in a window (Qt
// builds only); --accept presses OK once it is shown, --screenshots writes a picture of each
// tab and saves nothing.
// FORM.frm [-o OUT.frm] (--script FILE | --set Page.Field=value ...): headless.
int design(const std::vector<std::string>& args);

}  // namespace rescalo::cli
