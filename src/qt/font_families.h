#pragma once
// The installed font families as Qt reports them.

#include <string>
#include <vector>

namespace rescalo::qt {

// Every family of QFontDatabase, once each, sorted (the shape the embedded runtime gives).
std::vector<std::string> installedFontFamilies();

}  // namespace rescalo::qt
