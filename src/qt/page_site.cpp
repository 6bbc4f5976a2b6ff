#include "qt/page_site.h"

#include <QApplication>

#include "host/error.h"
#include "qt/font_families.h"
#include "qt/qt_services.h"

namespace qthost {

void QtPageSite::Beep() { QApplication::beep(); }

std::shared_ptr<host::Timer> QtPageSite::createTimer(std::function<void()> onTick) {
  return std::make_shared<QtTimer>(std::move(onTick));
}

std::vector<std::string> QtPageSite::fontFamilies() { return installedFontFamilies(); }

void QtPageSite::pageChanged(host::PropertyPage& page) {
  if (onPageChanged) onPageChanged(page);
}

}  // namespace qthost
