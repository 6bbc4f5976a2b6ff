#pragma once
// --codepage N, which every command takes: the code page of a form's text whose font names no
// Charset, for forms written on a system whose ANSI code page was not 1252.

#include <optional>
#include <string>
#include <vector>

namespace rescalo::cli {

// Takes `--codepage N` out of the arguments and keeps N for codePage(); a message when N is
// not a code page a form can be in.
std::optional<std::string> takeCodePage(std::vector<std::string>& args);

// The code page named, or 0 when none was.
int codePage();

}  // namespace rescalo::cli
