#include <rescalo/qt/font_families.h>

#include <fontconfig/fontconfig.h>

#include <set>

namespace rescalo::qt {

// Qt's own list is not the installed fonts: it adds aliases that name no face ("Sans Serif",
// "Monospace") and folds family names such as "DejaVu Sans Condensed" into styles. The pages
// list what the embedded runtime lists: every family name of every face fontconfig knows.
std::vector<std::string> installedFontFamilies() {
  std::set<std::string> names;
  if (!FcInit()) return {};
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern, os);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcChar8* family = nullptr;
    for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &family) == FcResultMatch; ++n)
      names.insert(reinterpret_cast<const char*>(family));
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(os);
  FcPatternDestroy(pattern);
  return {names.begin(), names.end()};
}

}  // namespace rescalo::qt
