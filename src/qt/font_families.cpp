#include <rescalo/qt/font_families.h>

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>

namespace rescalo::qt {

std::vector<std::string> installedFontFamilies() {
  std::vector<std::string> names;
  for (const QString& family : QFontDatabase::families()) names.push_back(family.toStdString());
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace rescalo::qt
