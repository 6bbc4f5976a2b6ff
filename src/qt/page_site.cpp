#include "qt/page_site.h"

#include <QApplication>
#include <QTimer>

#include "host/error.h"
#include "qt/font_families.h"

namespace qthost {

namespace {

// A page's constituent timer on a QTimer; it ticks while Qt's event loop runs.
class PageTimer : public host::Timer {
 public:
  explicit PageTimer(std::function<void()> onTick) : onTick_(std::move(onTick)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (onTick_) onTick_();
    });
  }
  bool enabled() const override { return enabled_; }
  // Enabling, or changing the interval, restarts the countdown, as the classic timer does.
  void setEnabled(bool enabled) override {
    enabled_ = enabled;
    rearm();
  }
  int interval() const override { return timer_.interval(); }
  void setInterval(int ms) override {
    if (ms < 0 || ms > 65535) host::raise(host::kInvalidPropertyValue);
    timer_.setInterval(ms);
    rearm();
  }

 private:
  // An interval of 0 means the timer does not tick.
  void rearm() {
    if (enabled_ && timer_.interval() > 0)
      timer_.start();
    else
      timer_.stop();
  }
  std::function<void()> onTick_;
  QTimer timer_;
  bool enabled_ = false;
};

}  // namespace

void QtPageSite::Beep() { QApplication::beep(); }

std::shared_ptr<host::Timer> QtPageSite::createTimer(std::function<void()> onTick) {
  return std::make_shared<PageTimer>(std::move(onTick));
}

std::vector<std::string> QtPageSite::fontFamilies() { return installedFontFamilies(); }

void QtPageSite::pageChanged(host::PropertyPage& page) {
  if (onPageChanged) onPageChanged(page);
}

}  // namespace qthost
