#pragma once
// The installed font families as Qt reports them.

#include <string>
#include <vector>

namespace qthost {

// Every family of QFontDatabase, once each, sorted (the shape the embedded runtime gives).
std::vector<std::string> installedFontFamilies();

}  // namespace qthost
