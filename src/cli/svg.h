#pragma once
// A picture of a form as it stands: its frame, client area (colour, picture, drawing) and every
// visible control as a box with its caption and picture.

#include <filesystem>
#include <string>

#include <rescalo/runtime/form.h>

namespace rescalo::cli {

std::string renderSvg(runtime::Form& form);
void writeSvg(runtime::Form& form, const std::filesystem::path& path);

}  // namespace rescalo::cli
