#include <rescalo/pages/pages.h>

#include <rescalo/pages/flag_page.h>
#include <rescalo/pages/form_effects_page.h>
#include <rescalo/pages/general_page.h>
#include <rescalo/pages/replace_fonts_page.h>
#include <rescalo/pages/scale_controls_page.h>
#include <rescalo/pages/standard_color_page.h>

namespace rescalo::pages {

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

}  // namespace rescalo::pages
