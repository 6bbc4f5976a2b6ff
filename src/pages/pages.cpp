#include "pages/pages.h"

#include "pages/flag_page.h"
#include "pages/form_effects_page.h"
#include "pages/general_page.h"
#include "pages/replace_fonts_page.h"
#include "pages/scale_controls_page.h"
#include "pages/standard_color_page.h"

namespace pages {

std::vector<std::unique_ptr<host::PropertyPage>> createPropertyPages(host::PropertyPageSite& site) {
  std::vector<std::unique_ptr<host::PropertyPage>> p;
  p.push_back(std::make_unique<GeneralPage>(site));
  p.push_back(std::make_unique<FlagPage>(site, kScaleBorders));
  p.push_back(std::make_unique<ScaleControlsPage>(site));
  p.push_back(std::make_unique<FlagPage>(site, kScaleFonts));
  p.push_back(std::make_unique<FlagPage>(site, kScaleGraphics));
  p.push_back(std::make_unique<StandardColorPage>(site));
  p.push_back(std::make_unique<ReplaceFontsPage>(site));
  p.push_back(std::make_unique<FormEffectsPage>(site));
  return p;
}

}  // namespace pages
