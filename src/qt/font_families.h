#pragma once
// The installed font families, as the embedded runtime lists them.

#include <string>
#include <vector>

namespace rescalo::qt {

// Every family name of every installed face, once each, sorted.
std::vector<std::string> installedFontFamilies();

}  // namespace rescalo::qt
