#pragma once
// The control's property pages in tab order: General, ScaleBorders, ScaleControls,
// ScaleFonts, ScaleGraphics, StandardColor, ReplaceFontsWith, FormEffects.

#include <memory>
#include <vector>

#include <rescalo/host/property_page.h>

namespace rescalo::pages {

std::vector<std::unique_ptr<host::PropertyPage>> createPropertyPages(host::PropertyPageSite& site);

}  // namespace rescalo::pages
