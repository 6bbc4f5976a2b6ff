#pragma once
// What a property sheet on Qt offers its pages: the application's beep, timers on Qt's event
// loop and the font families of QFontDatabase.

#include <functional>

#include <rescalo/host/property_page.h>

namespace rescalo::qt {

class QtPageSite : public host::PropertyPageSite {
 public:
  void Beep() override;
  std::shared_ptr<host::Timer> createTimer(std::function<void()> onTick) override;
  std::vector<std::string> fontFamilies() override;
  void pageChanged(host::PropertyPage& page) override;

  // Told whenever a page's Changed goes from False to True.
  std::function<void(host::PropertyPage&)> onPageChanged;
};

}  // namespace rescalo::qt
