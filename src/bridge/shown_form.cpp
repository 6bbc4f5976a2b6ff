#include <rescalo/bridge/shown_form.h>

#include <rescalo/bridge/ui_forms.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <fstream>

#include <rescalo/control/rescalo.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_line.h>
#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/loader.h>

namespace rescalo::bridge {

namespace fs = std::filesystem;
using host::Variant;

namespace {

runtime::RuntimeOptions runtimeOptions(const fs::path& settingsFile) {
  runtime::RuntimeOptions o;
  o.settingsFile = settingsFile;
  return o;
}

}  // namespace

void useRuntimeScreen() {
  const fs::path config = fs::temp_directory_path() / "rescalo-offscreen-screen.json";
  std::ofstream(config) << R"({"screens": [{"name": "rescalo", "x": 0, "y": 0, "width": 1280,)"
                        << R"( "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96}]})";
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.string().c_str());
}

void settle(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

namespace {

// The window's client area below its menu bar: the menu bar counts with the frame, as the
// classic one does.
QSize innerOf(const QWidget& window) {
  return window.size() - QSize(0, classicMenuBarPixels(window));
}

}  // namespace

void dragInner(QWidget& window, double w, double h) {
  // A disabled window takes no drag from a user, as on the classic system.
  if (!window.isEnabled()) return;
  const double tx = 1440.0 / window.logicalDpiX(), ty = 1440.0 / window.logicalDpiY();
  const QSize extra = window.frameGeometry().size() - innerOf(window);
  const QScreen* screen = window.screen();
  const QSize most = screen ? screen->geometry().size() + QSize(12, 12) : QSize(1 << 20, 1 << 20);
  const int outerW =
      std::clamp(static_cast<int>(std::lround(w / tx)) + extra.width(), 112, most.width());
  const int outerH =
      std::clamp(static_cast<int>(std::lround(h / ty)) + extra.height(), 27, most.height());
  window.resize(outerW - extra.width(),
                outerH - extra.height() + (window.size() - innerOf(window)).height());
}

ShownForm::ShownForm(const fs::path& file, ShowOptions options)
    : file_(file), options_(std::move(options)) {
  if (options_.settingsFile.empty())
    options_.settingsFile = fs::temp_directory_path() / "rescalo-cli-settings";
  const bool designer = isUiForm(file);
  if (designer) {
    UiForm form = loadUiForm(file);
    built_.window = std::move(form.window);
    built_.hasRescalo = form.hasRescalo;
    uiProperties_ = std::move(form.rescaloProperties);
    if (!form.hasRescalo && options_.onOutput)
      options_.onOutput("(the form had no Rescalo: one attached with default settings)");
    // Every named widget, a parent before its children.
    std::function<void(QWidget&)> named = [&](QWidget& parent) {
      for (QObject* child : parent.children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow()) {
          if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_")) {
            // A member of a control array carries its index, as a classic form's does.
            QString key = w->objectName();
            if (const QVariant index = w->property("Index"); index.isValid())
              key += "(" + index.toString() + ")";
            built_.widgets.emplace_back(key.toStdString(), w);
          }
          named(*w);
        }
    };
    named(*built_.window);
  } else {
    BuiltForm loaded = loadAndBuild(file, options_.onOutput, options_.codePage);
    doc_ = std::move(loaded.document);
    built_ = std::move(loaded.built);
  }

  services_ = std::make_unique<qt::QtServices>(
      QString::fromStdString(options_.settingsFile.string() + ".ini"));
  services_->quietMessageBoxes = options_.quietMessageBoxes;
  QWidget& win = *built_.window;
  tx_ = 1440.0 / win.logicalDpiX();
  ty_ = 1440.0 / win.logicalDpiY();
  designW_ = innerOf(win).width() * tx_;
  designH_ = innerOf(win).height() * ty_;
  // A form that starts maximized or minimized does so here too. The window system changes the
  // state only once the window is on the screen, so such a window is shown first and its
  // control attached then: its first Resize comes at the size it opens at, as in the classic
  // runtime, where the control measures an MDI form's design size in that first Resize.
  bool stateFirst = false;
  if (const frm::Property* state = doc_.form.property("WindowState")) {
    const auto n = frm::parseNumber(state->value);
    if (n && *n == 2) win.setWindowState(Qt::WindowMaximized);
    if (n && *n == 1) win.setWindowState(Qt::WindowMinimized);
    stateFirst = n && (*n == 1 || *n == 2);
  }
  if (stateFirst) {
    win.show();
    settle(options_.settleMs);
  }
  if (designer && options_.compare) {
    // A Designer form has no classic twin: it is compared with its own layout as designed,
    // in proportion.
    auto form = qt::adoptForm(&win);
    designedInner_ = {form->get("ScaleWidth").toDouble(), form->get("ScaleHeight").toDouble()};
    for (QWidget* w : form->controlWidgets()) designed_.emplace_back(w, w->geometry());
  }
  rescalo_ = qt::attach(&win, {.properties = &built_.rescaloSettings, .services = services_.get()});
  for (const auto& [name, value] : uiProperties_) rescalo_->setProperty(name.constData(), value);
  win.show();
  settle(options_.settleMs);
  if (!options_.compare) return;
  if (designer) return;

  // On the same screen: its size decides maximized windows, centring and screen scaling.
  runtime::RuntimeOptions same = runtimeOptions(options_.settingsFile);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    same.screenWidthPixels = screen->geometry().width();
    same.screenHeightPixels = screen->geometry().height();
  }
  openReference(same);
  // The window system holds a dragged window no bigger than the screen and a little, outer
  // sizes. The hosts' frames differ, so on a screen larger by that difference the reference
  // stops at the same inner size as the Qt window: a control that is not scaled stays where
  // it is in both, where comparing in proportion would move it.
  const QSize qtFrame = win.frameGeometry().size() - innerOf(win);
  const int fw =
      static_cast<int>(std::lround((reference_->width() - reference_->fullClientWidth()) / tx_)) -
      qtFrame.width();
  const int fh =
      static_cast<int>(std::lround((reference_->height() - reference_->fullClientHeight()) / ty_)) -
      qtFrame.height();
  dragScreen_ = {same.screenWidthPixels + fw, same.screenHeightPixels + fh};
  if (reference_->get("WindowState").toInteger() == 0 && (fw != 0 || fh != 0)) {
    same.screenWidthPixels += fw;
    same.screenHeightPixels += fh;
    openReference(same);
  }
  // A classic maximized window hangs its frame over the screen's edges, Qt's keeps it
  // inside: on a screen that much smaller, the reference opens at the same inner size.
  if (reference_->get("WindowState").toInteger() == 2) {
    const int dw =
        innerOf(win).width() - static_cast<int>(std::lround(reference_->fullClientWidth() / tx_));
    const int dh =
        innerOf(win).height() - static_cast<int>(std::lround(reference_->fullClientHeight() / ty_));
    if (dw != 0 || dh != 0) {
      same.screenWidthPixels += dw;
      same.screenHeightPixels += dh;
      openReference(same);
    }
  }
}

ShownForm::~ShownForm() {
  if (reference_) reference_->unload();
}

void ShownForm::openReference(runtime::RuntimeOptions options) {
  if (reference_) reference_->unload();
  reference_.reset();
  rt_.emplace(std::move(options));
  control::registerRescalo(rt_->userControls());
  reference_ =
      runtime::buildForm(*rt_, doc_, file_, {.userMode = true, .codePage = options_.codePage});
  reference_->show();
  rt_->advance(650);
}

void ShownForm::restore() {
  auto form = qt::adoptForm(built_.window.get());
  if (form->get("WindowState").toInteger() == 0) return;
  form->set("WindowState", Variant(std::int16_t(0)));
  settle(options_.settleMs);
  if (reference_) {
    reference_->set("WindowState", Variant(std::int16_t(0)));
    rt_->advance(650);
    // A window that is not maximized is held by the screen as the Qt window is.
    rt_->setScreenPixels(dragScreen_.first, dragScreen_.second);
  }
}

void ShownForm::drag(double w, double h) {
  dragInner(*built_.window, w, h);
  settle(options_.settleMs);
  if (reference_) {
    // To the size the window system gave the Qt window, which may have held it short of the
    // size asked for; the inner area is the whole client area, an MDI form's aligned boxes
    // included.
    const QSize inner = innerOf(*built_.window);
    reference_->userDrag(
        reference_->width() - reference_->fullClientWidth() + inner.width() * tx_,
        reference_->height() - reference_->fullClientHeight() + inner.height() * ty_);
    rt_->advance(650);
  }
}

std::vector<Mismatch> ShownForm::mismatches() const {
  std::vector<Mismatch> out;
  if (!designed_.empty()) return proportionMismatches();
  if (!reference_) return out;
  const QWidget& win = *built_.window;
  const double ratioX = innerOf(win).width() * tx_ / reference_->fullClientWidth();
  const double ratioY = innerOf(win).height() * ty_ / reference_->fullClientHeight();
  for (const auto& [key, w] : built_.widgets) {
    const runtime::Control* r = reference_->find(key);
    if (!r) continue;
    // A line by its end points.
    if (const auto* line = dynamic_cast<const qt::QtLine*>(w)) {
      const auto p = line->pointPixels();
      const QRect g(p[0], p[1], p[2] - p[0], p[3] - p[1]);
      const std::array<double, 4> want = {r->x1 / tx_ * ratioX, r->y1 / ty_ * ratioY,
                                          (r->x2 - r->x1) / tx_ * ratioX,
                                          (r->y2 - r->y1) / ty_ * ratioY};
      const QPoint at = qt::containerOffset(*w);
      const double got[] = {double(p[0] + at.x()), double(p[1] + at.y()), double(g.width()),
                            double(g.height())};
      for (int i = 0; i < 4; ++i)
        if (std::fabs(got[i] - want[i]) > 1.0) {
          out.push_back({key, g.translated(at), want});
          break;
        }
      continue;
    }
    // A control on an MDI form sits below the menu bar here, at the client's top there.
    const QRect g = w->parentWidget() == &win
                        ? w->geometry().translated(0, -(win.size() - innerOf(win)).height())
                        : w->geometry();
    double left = r->left, top = r->top;
    // A tab dialog's control is measured from the dialog there and from its page here.
    if (auto* dialog = dynamic_cast<runtime::SSTab*>(r->container)) {
      if (dialog->pageOf(*r) >= 0 && left + r->width < 0) left += runtime::kHiddenPageOffset;
      if (dialog->tabOrientation == 0) top -= dialog->tabHeightTwips;
      if (dialog->tabOrientation == 2) left -= dialog->tabHeightTwips;
    }
    const std::array<double, 4> want = {left / tx_ * ratioX, top / ty_ * ratioY,
                                        r->width / tx_ * ratioX, r->height / ty_ * ratioY};
    const int got[] = {g.x(), g.y(), g.width(), g.height()};
    for (int i = 0; i < 4; ++i)
      if (std::fabs(got[i] - want[i]) > 1.0) {
        out.push_back({key, g, want});
        break;
      }
  }
  return out;
}

std::vector<Mismatch> ShownForm::proportionMismatches() const {
  std::vector<Mismatch> out;
  auto form = qt::adoptForm(built_.window.get());
  const double rx = form->get("ScaleWidth").toDouble() / designedInner_.first;
  const double ry = form->get("ScaleHeight").toDouble() / designedInner_.second;
  for (const auto& [w, was] : designed_) {
    if (!w || w->property(qt::kLocksProperty).isValid() ||
        w->property(qt::kExcludeProperty).isValid())
      continue;
    // A widget's own smallest and largest sizes hold, as Qt holds them.
    const double width =
        std::clamp(was.width() * rx, double(w->minimumWidth()), double(w->maximumWidth()));
    // A combo box keeps its height, which is its font's, as a classic one does.
    const double height =
        qt::kindOf(*w) == qt::ControlKind::ComboBox
            ? was.height()
            : std::clamp(was.height() * ry, double(w->minimumHeight()), double(w->maximumHeight()));
    // A control its tab dialog parks is measured as if its page were shown, as it is placed.
    const QWidget* container = qt::containerOf(*w);
    const double parked = container && qt::kindOf(*container) == qt::ControlKind::TabControl &&
                                  was.x() + was.width() < 0
                              ? runtime::kHiddenPageOffset / tx_
                              : 0;
    const std::array<double, 4> want = {(was.x() + parked) * rx - parked, was.y() * ry, width,
                                        height};
    const QRect g = w->geometry();
    const int got[] = {g.x(), g.y(), g.width(), g.height()};
    for (int i = 0; i < 4; ++i)
      if (std::fabs(got[i] - want[i]) > 1.0) {
        out.push_back({w->objectName().toStdString(), g, want});
        break;
      }
  }
  return out;
}

}  // namespace rescalo::bridge
