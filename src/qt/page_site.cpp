#include <rescalo/qt/page_site.h>

#include <QApplication>

#include <rescalo/host/error.h>
#include <rescalo/qt/font_families.h>
#include <rescalo/qt/qt_services.h>

namespace rescalo::qt {

void QtPageSite::Beep() { QApplication::beep(); }

std::shared_ptr<host::Timer> QtPageSite::createTimer(std::function<void()> onTick) {
  return std::make_shared<QtTimer>(std::move(onTick));
}

std::vector<std::string> QtPageSite::fontFamilies() { return installedFontFamilies(); }

void QtPageSite::pageChanged(host::PropertyPage& page) {
  if (onPageChanged) onPageChanged(page);
}

}  // namespace rescalo::qt
