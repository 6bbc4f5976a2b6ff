#pragma once
// A small JSON writer for the command's --json output.

#include <string>
#include <string_view>

namespace rescalo::cli {

std::string jsonString(std::string_view utf8);
std::string jsonNumber(double v);

}  // namespace rescalo::cli
