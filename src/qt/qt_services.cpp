#include <rescalo/qt/qt_services.h>

#include <QApplication>
#include <QFrame>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QRegion>
#include <QScreen>
#include <QSettings>
#include <QTime>
#include <QWidget>
#include <algorithm>

#include <rescalo/host/failure.h>
#include <rescalo/qt/about_box.h>
#include <rescalo/qt/font_families.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_object.h>

namespace rescalo::qt {

using host::Args;
using host::HWND;
using host::Object;
using host::self;
using host::Variant;

// ---- timers ----

QtTimer::QtTimer(std::function<void()> onTick) : onTick_(std::move(onTick)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (onTick_) onTick_();
  });
}

void QtTimer::rearm() {
  if (enabled() && interval() > 0)
    timer_.start(interval());
  else
    timer_.stop();
}

// ---- settings ----

QString QtSettingsStore::storedName(std::string_view name) {
  // Lower case makes names compare without regard to case; the leading underscore keeps an
  // empty name from meaning "the whole application".
  static constexpr char kHex[] = "0123456789ABCDEF";
  QString out = "_";
  for (unsigned char c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.') {
      out += QChar(c);
    } else {
      out += '%';
      out += QChar(kHex[c >> 4]);
      out += QChar(kHex[c & 15]);
    }
  }
  return out;
}

// The settings of one application, opened for one call.
class QtSettingsStore::Scope {
 public:
  Scope(const QString& file, std::string_view app) {
    const QString name = QString::fromUtf8(app.data(), static_cast<qsizetype>(app.size()));
    if (file.isEmpty()) {
      settings_ = std::make_unique<QSettings>(name, name);
    } else {
      settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
      settings_->beginGroup(storedName(app));
    }
  }
  QSettings& operator*() { return *settings_; }
  QSettings* operator->() { return settings_.get(); }
  // Writes what was changed now: false when the store could not be written.
  bool written() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
  }
  bool readable() const { return settings_->status() == QSettings::NoError; }
  std::string fileName() const { return settings_->fileName().toStdString(); }

 private:
  std::unique_ptr<QSettings> settings_;
};

void QtSettingsStore::check(Scope& s, bool wrote) {
  if (wrote ? s.written() : s.readable()) return;
  failures_.push_back(s.fileName() + (wrote ? ": cannot write it" : ": cannot read it"));
  if (wrote) host::raise(75, "Path/File access error: " + failures_.back());
}

namespace {

QString path(std::string_view section, std::string_view key) {
  return QtSettingsStore::storedName(section) + '/' + QtSettingsStore::storedName(key);
}

QString qstr(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void QtSettingsStore::SaveSetting(std::string_view app, std::string_view section,
                                  std::string_view key, std::string_view setting) {
  Scope s(file_, app);
  s->setValue(path(section, key), qstr(setting));
  check(s, true);
}

std::string QtSettingsStore::GetSetting(std::string_view app, std::string_view section,
                                        std::string_view key, std::string_view defaultValue) {
  Scope s(file_, app);
  const QVariant v = s->value(path(section, key));
  check(s, false);
  return v.isValid() ? v.toString().toStdString() : std::string(defaultValue);
}

void QtSettingsStore::DeleteSetting(std::string_view app, std::string_view section,
                                    std::optional<std::string_view> key) {
  Scope s(file_, app);
  const QString group = storedName(section);
  if (!key) {
    if (!s->childGroups().contains(group)) host::raise(host::kInvalidProcedureCall);
    s->remove(group);
    check(s, true);
    return;
  }
  const QString at = path(section, *key);
  if (!s->contains(at)) host::raise(host::kInvalidProcedureCall);
  s->remove(at);
  // A section whose last key went is gone too, as in the classic store.
  s->beginGroup(group);
  const bool empty = s->childKeys().isEmpty();
  s->endGroup();
  if (empty) s->remove(group);
  check(s, true);
}

// ---- window functions ----

namespace {

// The widget a form adapter stands for, or its MDI sub-window frame when it is an MDI child.
QWidget* frameWidget(QWidget* w) {
  if (w && !w->isWindow())
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) return sub;
  return w;
}

// The rectangle of the window's frame on the screen.
QRect screenRect(QWidget* w) {
  if (w->isWindow()) return w->frameGeometry();
  QWidget* f = frameWidget(w);
  return {f->mapToGlobal(QPoint(0, 0)), f->size()};
}

// How far the client area lies inside the frame, and how much bigger the frame is.
QPoint clientOffset(QWidget* w) {
  return w->isWindow() ? w->geometry().topLeft() - w->frameGeometry().topLeft() : QPoint();
}
QSize frameExtra(QWidget* w) {
  return w->isWindow() ? w->frameGeometry().size() - w->size() : QSize();
}

}  // namespace

host::LRESULT QtWindowApi::defaultWindowProc(HWND, std::uint32_t, host::WPARAM, host::LPARAM) {
  return 0;
}

QtWindowApi::Window& QtWindowApi::entry(HWND hwnd) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end())
    it = windows_.emplace(hwnd, Window{host::toHandle(&defaultWindowProc), std::nullopt}).first;
  return it->second;
}

bool QtWindowApi::LockWindowUpdate(HWND hwnd) {
  if (hwnd == 0) {
    if (QWidget* w = widgetOf(locked_)) w->setUpdatesEnabled(true);
    locked_ = 0;
    return true;
  }
  QWidget* w = widgetOf(hwnd);
  if (!w || (locked_ != 0 && locked_ != hwnd && widgetOf(locked_))) return false;
  w->setUpdatesEnabled(false);
  locked_ = hwnd;
  return true;
}

bool QtWindowApi::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                               std::uint32_t flags) {
  QWidget* w = widgetOf(hwnd);
  if (!w) return false;
  if (!(flags & host::SWP_NOZORDER) &&
      (insertAfter == host::HWND_TOPMOST || insertAfter == host::HWND_NOTOPMOST)) {
    QWidget* top = w->window();
    const bool onTop = insertAfter == host::HWND_TOPMOST;
    if (top->testAttribute(Qt::WA_WState_Created) == false || top->isHidden()) {
      top->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    } else if (top->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
      // Changing a shown window's flags hides it; it comes back where it was.
      top->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
      top->show();
    }
  }
  if ((flags & (host::SWP_NOMOVE | host::SWP_NOSIZE)) == (host::SWP_NOMOVE | host::SWP_NOSIZE))
    return true;
  auto adapter = adapterOf(w);
  QRect r = adapter->outerPixels();
  if (!(flags & host::SWP_NOMOVE)) r.moveTo(x, y);
  if (!(flags & host::SWP_NOSIZE)) r.setSize(QSize(std::max(0, cx), std::max(0, cy)));
  return host::ignoreErrors([&] { adapter->setOuterPixels(r); });
}

HWND QtWindowApi::GetParent(HWND hwnd) {
  QWidget* w = widgetOf(hwnd);
  if (!w || w->isWindow()) return 0;
  QWidget* parent = frameWidget(w)->parentWidget();
  return parent ? adapterOf(parent)->hWnd() : 0;
}

bool QtWindowApi::GetWindowRect(HWND hwnd, host::RECT& rect) {
  QWidget* w = widgetOf(hwnd);
  if (!w) return false;
  const QRect r = screenRect(w);
  rect = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  return true;
}

host::HRGN QtWindowApi::CreateRectRgn(int left, int top, int right, int bottom) {
  host::HRGN r = nextRegion_++;
  regions_[r] = host::RECT{left, top, right, bottom};
  return r;
}

int QtWindowApi::SetWindowRgn(HWND hwnd, host::HRGN region, bool) {
  QWidget* w = widgetOf(hwnd);
  if (!w) return 0;
  Window& e = entry(hwnd);
  if (region == 0) {
    e.region.reset();
    w->clearMask();
    return 1;
  }
  auto it = regions_.find(region);
  if (it == regions_.end()) return 0;
  const host::RECT r = it->second;
  regions_.erase(it);  // the window owns the region now
  e.region = r;
  const QRect client =
      QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)).translated(-clientOffset(w));
  // An empty mask would mean no mask at all: a region with nothing in it hides everything.
  w->setMask(client.isEmpty() ? QRegion(-2, -2, 1, 1) : QRegion(client));
  return 1;
}

host::WndProcHandle QtWindowApi::SetWindowLongA(HWND hwnd, int index,
                                                host::WndProcHandle newValue) {
  if (!widgetOf(hwnd) || index != host::GWL_WNDPROC || newValue == 0) return 0;
  Window& e = entry(hwnd);
  const host::WndProcHandle previous = e.proc;
  e.proc = newValue;
  applyTrackingLimits(hwnd);
  // Whoever installs or removes a procedure may change what it answers right after.
  QPointer<QWidget> w = widgetOf(hwnd);
  QTimer::singleShot(0, w, [this, w, hwnd] {
    if (w) applyTrackingLimits(hwnd);
  });
  return previous;
}

host::LRESULT QtWindowApi::CallWindowProcA(host::WndProcHandle proc, HWND hwnd, std::uint32_t msg,
                                           host::WPARAM wParam, host::LPARAM lParam) {
  if (proc == 0) return 0;
  return reinterpret_cast<host::WNDPROC>(proc)(hwnd, msg, wParam, lParam);
}

std::optional<host::RECT> QtWindowApi::region(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? std::nullopt : it->second.region;
}

void QtWindowApi::applyTrackingLimits(HWND hwnd) {
  QWidget* w = widgetOf(hwnd);
  auto it = windows_.find(hwnd);
  if (!w || it == windows_.end()) return;
  host::MINMAXINFO info;
  const QSize huge(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  info.ptMinTrackSize = {0, 0};
  info.ptMaxTrackSize = {huge.width(), huge.height()};
  CallWindowProcA(it->second.proc, hwnd, host::WM_GETMINMAXINFO, 0,
                  reinterpret_cast<host::LPARAM>(&info));
  // The limits are outer sizes; a maximum below the minimum holds the window at the minimum.
  const QSize extra = frameExtra(w);
  const QSize min(std::max(0, info.ptMinTrackSize.x), std::max(0, info.ptMinTrackSize.y));
  const QSize max(std::max(min.width(), info.ptMaxTrackSize.x),
                  std::max(min.height(), info.ptMaxTrackSize.y));
  auto inner = [&](QSize s) {
    return QSize(
        s.width() >= huge.width() ? huge.width() : std::max(0, s.width() - extra.width()),
        s.height() >= huge.height() ? huge.height() : std::max(0, s.height() - extra.height()));
  };
  w->setMinimumSize(inner(min));
  w->setMaximumSize(inner(max));
}

// ---- the services ----

host::ObjectPtr QtServices::createPictureBox() {
  if (!workSurfaces_) workSurfaces_ = std::make_unique<QWidget>();
  auto* box = new QFrame(workSurfaces_.get());
  setBorder(*box, 0);
  box->hide();
  return adoptControl(box);
}

QtServices::QtServices(QString settingsFile) : settings_(std::move(settingsFile)) {
  screenObject_ = host::makeScreenObject(*this);
  startSeconds_ = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
  elapsed_.start();
}

host::ScreenMetrics QtServices::screen() {
  host::ScreenMetrics m;
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return m;
  m.twipsPerPixelX = 1440.0 / s->logicalDotsPerInchX();
  m.twipsPerPixelY = 1440.0 / s->logicalDotsPerInchY();
  m.width = s->geometry().width() * m.twipsPerPixelX;
  m.height = s->geometry().height() * m.twipsPerPixelY;
  return m;
}

host::ObjectPtr QtServices::screenObject() { return screenObject_; }

double QtServices::Timer() {
  const double s = startSeconds_ + static_cast<double>(elapsed_.nsecsElapsed()) / 1e9;
  return s - 86400.0 * static_cast<double>(static_cast<long long>(s / 86400.0));
}

void QtServices::DoEvents() {
  // What is delivered now may measure the controls' text.
  settleFonts();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

int QtServices::MsgBox(std::string_view prompt, int buttons, std::string_view title) {
  messages.emplace_back(prompt);
  const int set = buttons & 7;
  if (!msgBoxAnswers.empty()) {
    const int answer = msgBoxAnswers.front();
    msgBoxAnswers.erase(msgBoxAnswers.begin());
    return answer;
  }
  if (quietMessageBoxes) return set == host::vbYesNo ? host::vbYes : host::vbOK;
  QMessageBox box;
  box.setText(qstr(prompt));
  box.setWindowTitle(title.empty() ? QCoreApplication::applicationName() : qstr(title));
  switch (set) {
    case host::vbOKCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case host::vbYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Cancel:
      return host::vbCancel;
    case QMessageBox::Yes:
      return host::vbYes;
    case QMessageBox::No:
      return host::vbNo;
    default:
      return host::vbOK;
  }
}

void QtServices::Beep() {
  ++beeps;
  QApplication::beep();
}

std::vector<std::string> QtServices::fontFamilies() { return installedFontFamilies(); }

void QtServices::AboutBox(const host::AboutInfo& info) {
  if (quietMessageBoxes)
    host::Services::AboutBox(info);  // kept with the other message boxes, as text
  else
    showAboutBox(info);
}

std::shared_ptr<host::Timer> QtServices::createTimer(std::function<void()> onTick) {
  return std::make_shared<QtTimer>(std::move(onTick));
}

}  // namespace rescalo::qt
