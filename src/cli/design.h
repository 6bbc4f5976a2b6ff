#pragma once
// rescalo design: the property pages of a form's Rescalo control, driven headless.

#include <string>
#include <vector>

namespace cli {

// FORM.frm [-o OUT.frm] (--script FILE | --set Page.Field=value ...)
int design(const std::vector<std::string>& args);

}  // namespace cli
