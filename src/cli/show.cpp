#include "cli/show.h"

#include <iostream>

#if RESCALO_HAS_QT

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "cli/layout.h"
#include "cli/qt_forms.h"
#include "control/rescalo.h"
#include "qt/qt_control.h"
#include "qt/qt_form.h"
#include "runtime/common_controls.h"
#include "runtime/loader.h"

namespace cli {

namespace fs = std::filesystem;
using host::Variant;

namespace {

int showUsage() {
  std::cerr << "usage: rescalo show FORM.frm [--screenshot DIR] [--size WxH | --scale F]... "
               "[--check]\n"
               "  --size WxH   the window's inner area, in twips (the frames of the hosts "
               "differ)\n"
               "  --scale F    the inner area the form was designed at, times F\n"
               "  --screenshot writes DIR/step-N.png after each step and exits; without it "
               "the\n"
               "               window stays open after the steps until it is closed\n"
               "  --check      also runs the steps in the embedded runtime and fails when a "
               "widget\n"
               "               is more than one pixel away from its control there\n";
  return 2;
}

struct Step {
  std::string text;
  double width = 0, height = 0;  // inner, twips
  std::optional<double> scale;
};

runtime::RuntimeOptions options() {
  runtime::RuntimeOptions o;
  o.settingsFile = fs::temp_directory_path() / "rescalo-cli-settings";
  return o;
}

// The form's document with a Rescalo control: its own, or a new one placed and saved in
// design mode, as `rescalo add` does.
frm::Document withRescalo(runtime::Runtime& design, const fs::path& file) {
  runtime::LoadedForm lf = runtime::loadForm(design, file, {.userMode = false});
  for (const auto& c : lf.form->controls)
    if (c->typeName() == "Rescalo") return lf.document;
  std::string name =
      runtime::addUserControl(*lf.form, lf.document, control::kRescaloClass, "Rescalo", 0, 0);
  std::cerr << "(the form had no Rescalo control: " << name << " added with default settings)\n";
  runtime::storeForm(*lf.form, lf.document);
  return lf.document;
}

// Real time in the event loop: longer than the deferred pass and a limit's pause.
void settle() {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 650) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

}  // namespace

int show(const std::vector<std::string>& args) {
  std::string file;
  std::optional<fs::path> shots;
  bool check = false;
  std::vector<Step> steps;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--screenshot" && i + 1 < args.size()) {
      shots = args[++i];
    } else if (a == "--check") {
      check = true;
    } else if ((a == "--size" || a == "--scale") && i + 1 < args.size()) {
      LayoutStep parsed;
      if (!parseStep(a, args[i + 1], parsed)) {
        std::cerr << "rescalo: " << a << " " << args[i + 1] << ": expected " << stepExpects(a)
                  << "\n";
        return 2;
      }
      steps.push_back({parsed.text, parsed.width, parsed.height, parsed.scale});
      ++i;
    } else if (file.empty() && !a.starts_with("--")) {
      file = a;
    } else {
      return showUsage();
    }
  }
  if (file.empty()) return showUsage();

  // Pictures for scripts and for users without a display: no display is needed then, and the
  // screen is the embedded runtime's (1280 x 1024 at 96 dpi).
  if (shots && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
      !std::getenv("QT_QPA_PLATFORM")) {
    const fs::path config = fs::temp_directory_path() / "rescalo-offscreen-screen.json";
    std::ofstream(config) << R"({"screens": [{"name": "rescalo", "x": 0, "y": 0, "width": 1280,)"
                          << R"( "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96}]})";
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config.string()).c_str(), 1);
  }
  static int argc = 1;
  static char name[] = "rescalo";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  runtime::Runtime design(options());
  control::registerRescalo(design.userControls());
  design.onOutput = [](const std::string& line) { std::cerr << line << "\n"; };
  const frm::Document doc = withRescalo(design, file);
  auto designForm = runtime::buildForm(design, doc, file, {.userMode = false});
  QtFormWindow built = buildQtForm(*designForm);
  designForm->unload();
  for (const auto& [cls, n] : built.leftOut)
    std::cerr << "(" << n << " " << cls << " control" << (n == 1 ? "" : "s")
              << " without a widget on Qt)\n";

  qthost::QtServices services(QString::fromStdString(options().settingsFile.string() + ".ini"));
  services.quietMessageBoxes = shots.has_value();
  qthost::AttachOptions opt;
  opt.properties = &built.rescaloSettings;
  QWidget& window = *built.window;
  std::shared_ptr<qthost::QtUserControlHost> rescalo;
  auto form = qthost::adoptForm(&window);
  const double tx = 1440.0 / window.logicalDpiX(), ty = 1440.0 / window.logicalDpiY();
  const double designW = window.width() * tx, designH = window.height() * ty;
  // As the window system holds a window the user drags: no smaller than the smallest window
  // and no bigger than the screen and a little, outer sizes in pixels. The embedded runtime
  // holds its windows the same way.
  auto dragInner = [&](double w, double h) {
    const QSize extra = window.frameGeometry().size() - window.size();
    const QScreen* screen = window.screen();
    const QSize most = screen ? screen->geometry().size() + QSize(12, 12) : QSize(1 << 20, 1 << 20);
    const int outerW =
        std::clamp(static_cast<int>(std::lround(w / tx)) + extra.width(), 112, most.width());
    const int outerH =
        std::clamp(static_cast<int>(std::lround(h / ty)) + extra.height(), 27, most.height());
    window.resize(outerW - extra.width(), outerH - extra.height());
  };
  // A form that starts maximized or minimized does so here too. The window system changes the
  // state only once the window is on the screen, so such a window is shown first and its
  // control attached then: its first Resize comes at the size it opens at, as in the classic
  // runtime, where the control measures an MDI form's design size in that first Resize.
  bool stateFirst = false;
  if (const frm::Property* state = doc.form.property("WindowState")) {
    const auto n = frm::parseNumber(state->value);
    if (n && *n == 2) window.setWindowState(Qt::WindowMaximized);
    if (n && *n == 1) window.setWindowState(Qt::WindowMinimized);
    stateFirst = n && (*n == 1 || *n == 2);
  }
  if (stateFirst) {
    window.show();
    settle();
  }
  rescalo = qthost::attach(&window, std::make_shared<control::Rescalo>(), services, opt);
  window.show();
  settle();

  // The same form in the embedded runtime, dragged to the same inner sizes, to compare with.
  std::optional<runtime::Runtime> rt;
  std::shared_ptr<runtime::Form> reference;
  if (check) {
    // On the same screen: its size decides maximized windows, centring and screen scaling.
    runtime::RuntimeOptions same = options();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      same.screenWidthPixels = screen->geometry().width();
      same.screenHeightPixels = screen->geometry().height();
    }
    auto open = [&] {
      if (reference) reference->unload();
      reference.reset();
      rt.emplace(same);
      control::registerRescalo(rt->userControls());
      reference = runtime::buildForm(*rt, doc, file, {.userMode = true});
      reference->show();
      rt->advance(650);
    };
    open();
    // The window system holds a dragged window no bigger than the screen and a little, outer
    // sizes. The hosts' frames differ, so on a screen larger by that difference the reference
    // stops at the same inner size as the Qt window: a control that is not scaled stays where
    // it is in both, where comparing in proportion would move it.
    const QSize qtFrame = window.frameGeometry().size() - window.size();
    const int fw =
        static_cast<int>(std::lround((reference->width() - reference->fullClientWidth()) / tx)) -
        qtFrame.width();
    const int fh =
        static_cast<int>(std::lround((reference->height() - reference->fullClientHeight()) / ty)) -
        qtFrame.height();
    if (reference->get("WindowState").toInteger() == 0 && (fw != 0 || fh != 0)) {
      same.screenWidthPixels += fw;
      same.screenHeightPixels += fh;
      open();
    }
    // A classic maximized window hangs its frame over the screen's edges, Qt's keeps it
    // inside: on a screen that much smaller, the reference opens at the same inner size.
    if (reference->get("WindowState").toInteger() == 2) {
      const int dw =
          window.width() - static_cast<int>(std::lround(reference->fullClientWidth() / tx));
      const int dh =
          window.height() - static_cast<int>(std::lround(reference->fullClientHeight() / ty));
      if (dw != 0 || dh != 0) {
        same.screenWidthPixels += dw;
        same.screenHeightPixels += dh;
        open();
      }
    }
  }

  if (shots) fs::create_directories(*shots);
  int mismatches = 0;
  auto report = [&](int n, const std::string& what) {
    std::cout << "step " << n << ": " << what << ": inner " << number(window.width() * tx) << " x "
              << number(window.height() * ty) << " twips\n";
    // The hosts' frames differ by design: the window system holds the outer size of a window
    // (a maximized one fills the screen, a dragged one stays between the smallest and the
    // screen), so the two inner areas can differ by a few pixels. What is comparable then is
    // each control's place in proportion to its inner area.
    double ratioX = 1, ratioY = 1;
    if (reference) {
      ratioX = window.width() * tx / reference->fullClientWidth();
      ratioY = window.height() * ty / reference->fullClientHeight();
    }
    for (const auto& [key, w] : built.widgets) {
      auto c = qthost::adoptControl(w);
      std::cout << "  " << key << " " << number(c->get("Left").toDouble()) << " "
                << number(c->get("Top").toDouble()) << " " << number(c->get("Width").toDouble())
                << " " << number(c->get("Height").toDouble()) << "\n";
      if (!reference) continue;
      const runtime::Control* r = reference->find(key);
      if (!r) continue;
      const QRect g = w->geometry();
      double left = r->left, top = r->top;
      // A tab dialog's control is measured from the dialog there and from its page here.
      if (auto* dialog = dynamic_cast<runtime::SSTab*>(r->container)) {
        if (left + r->width < 0) left += 75000;
        if (dialog->tabOrientation == 0) top -= dialog->tabHeightTwips;
        if (dialog->tabOrientation == 2) left -= dialog->tabHeightTwips;
      }
      const double want[] = {left / tx * ratioX, top / ty * ratioY, r->width / tx * ratioX,
                             r->height / ty * ratioY};
      const int got[] = {g.x(), g.y(), g.width(), g.height()};
      for (int i = 0; i < 4; ++i)
        if (std::fabs(got[i] - want[i]) > 1.0) {
          std::cout << "  mismatch: " << key << " is at " << got[0] << "," << got[1] << " "
                    << got[2] << "x" << got[3] << " px, the runtime has " << want[0] << ","
                    << want[1] << " " << want[2] << "x" << want[3] << "\n";
          ++mismatches;
          break;
        }
    }
    if (shots) {
      const fs::path png = *shots / ("step-" + std::to_string(n) + ".png");
      if (!window.grab().save(QString::fromStdString(png.string()))) {
        std::cerr << "rescalo: " << png.string() << ": cannot write the picture\n";
        ++mismatches;
      }
    }
  };
  report(0, "shown");
  // A maximized window has no corner to drag: as a user would, restore it first, in both.
  if (!steps.empty() && form->get("WindowState").toInteger() != 0) {
    form->set("WindowState", Variant(std::int16_t(0)));
    settle();
    if (reference) {
      reference->set("WindowState", Variant(std::int16_t(0)));
      rt->advance(650);
    }
  }
  int n = 0;
  for (const Step& s : steps) {
    const double w = s.scale ? designW * *s.scale : s.width;
    const double h = s.scale ? designH * *s.scale : s.height;
    dragInner(w, h);
    settle();
    if (reference) {
      // The inner area is the whole client area, an MDI form's aligned boxes included.
      reference->userDrag(reference->width() - reference->fullClientWidth() + w,
                          reference->height() - reference->fullClientHeight() + h);
      rt->advance(650);
    }
    report(++n, s.text);
  }
  if (check)
    std::cout << (mismatches ? std::to_string(mismatches) + " widgets differ"
                             : std::string("every widget within one pixel of the runtime"))
              << "\n";
  // What the steps found is printed before the window is handed to the user, who may
  // never close it.
  std::cout.flush();
  if (!shots) app.exec();
  rescalo.reset();
  return mismatches ? 1 : 0;
}

}  // namespace cli

#else

namespace cli {

int show(const std::vector<std::string>&) {
  std::cerr << "rescalo: show opens real windows and needs the Qt host: build with "
               "-DRESCALO_QT=ON\n";
  return 2;
}

}  // namespace cli

#endif
