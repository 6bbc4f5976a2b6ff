#pragma once
// rescalo design: the property pages of a form's Rescalo control, in a real window or driven
// headless.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <rescalo/runtime/control.h>
#include <rescalo/runtime/runtime.h>

namespace rescalo::cli {

// FORM.frm [-o OUT.frm] [--accept | --screenshots DIR]: the property sheet in a window (Qt
// builds only); --accept presses OK once it is shown, --screenshots writes a picture of each
// tab and saves nothing.
// FORM.frm [-o OUT.frm] (--script FILE | --set Page.Field=value ...): headless.
int design(const std::vector<std::string>& args);

// One developer's edit "Page.Field=value".
struct Edit {
  std::string where;  // "script:3" or "--set"
  std::string text;
  bool exact = false;  // the value as typed, blanks included (--set); a script's is trimmed
};

// The edits of a script: one a line, blank lines and lines starting with '#' left out, each
// named NAME:LINE.
std::vector<Edit> readScript(std::string_view text, const std::string& name);

// Makes the edits on the property pages of a Rescalo control of a design-time form and
// applies the changed pages; false, after telling `err` which edit failed and why, when one
// cannot be made or a page fails as it is applied.
bool editPages(runtime::Runtime& rt, runtime::Control& rescalo, const std::vector<Edit>& edits,
               std::ostream& err);

}  // namespace rescalo::cli
