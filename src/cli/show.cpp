#include <rescalo/cli/show.h>

#include <iostream>

#if RESCALO_HAS_QT

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include <rescalo/bridge/shown_form.h>
#include <rescalo/bridge/ui_writer.h>
#include <rescalo/cli/codepage.h>
#include <rescalo/cli/json.h>
#include <rescalo/cli/layout.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>

namespace rescalo::cli {

namespace fs = std::filesystem;

namespace {

int showUsage() {
  std::cerr
      << "usage: rescalo show FORM.frm|FORM.ui [--screenshot DIR] [--size WxH | --scale F]... "
         "[--check] [--json] [--settings FILE] [--codepage N]\n"
         "  --size WxH   the window's inner area, in twips (the frames of the hosts "
         "differ)\n"
         "  --scale F    the inner area the form was designed at, times F\n"
         "  --screenshot writes DIR/step-N.png after each step and exits; without it "
         "the\n"
         "               window stays open after the steps until it is closed\n"
         "  --check      also runs the steps in the embedded runtime and fails when a "
         "widget\n"
         "               is more than one pixel away from its control there\n"
         "  --json       each step as JSON: the window's inner size and every widget in it\n"
         "  --settings   the settings store (the Qt host keeps its windows in FILE.ini)\n"
         "  --codepage N the code page of text whose font names no Charset (default 1252)\n";
  return 2;
}

struct Step {
  std::string text;
  double width = 0, height = 0;  // inner, twips
  std::optional<double> scale;
};

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

// A widget's name as the form knows it: a control's key, with its index in an array.
std::string widgetName(const QWidget& w) {
  std::string name = w.objectName().toStdString();
  if (const QVariant index = w.property("Index"); index.isValid())
    name += "(" + index.toString().toStdString() + ")";
  return name;
}

double fontPoints(const QWidget& w) {
  const QFont& f = w.font();
  return f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 72.0 / w.logicalDpiY();
}

// The text a widget shows, when it shows one.
std::optional<QString> shownText(const QWidget& w) {
  if (auto* b = qobject_cast<const QAbstractButton*>(&w)) return b->text();
  if (auto* l = qobject_cast<const QLabel*>(&w)) return l->text();
  if (auto* g = qobject_cast<const QGroupBox*>(&w)) return g->title();
  if (auto* e = qobject_cast<const QLineEdit*>(&w)) return e->text();
  return std::nullopt;
}

// Every widget inside the window, a parent before its children, as Qt holds them.
void widgetsJson(const QWidget& parent, std::ostream& out, bool& first) {
  for (const QObject* child : parent.children()) {
    const auto* w = qobject_cast<const QWidget*>(child);
    if (!w || w->isWindow()) continue;
    const QRect g = w->geometry();
    out << (first ? "\n    " : ",\n    ") << "{\"name\": " << jsonString(widgetName(*w))
        << ", \"class\": " << jsonString(w->metaObject()->className())
        << ", \"parent\": " << jsonString(widgetName(parent)) << ", \"x\": " << g.x()
        << ", \"y\": " << g.y() << ", \"width\": " << g.width() << ", \"height\": " << g.height()
        << ", \"font_points\": " << jsonNumber(fontPoints(*w))
        << ", \"visible\": " << (w->isVisibleTo(&parent) ? "true" : "false")
        << ", \"enabled\": " << (w->isEnabled() ? "true" : "false");
    if (auto text = shownText(*w)) out << ", \"text\": " << jsonString(text->toStdString());
    out << "}";
    first = false;
    widgetsJson(*w, out, first);
  }
}

}  // namespace

int show(const std::vector<std::string>& args) {
  std::string file;
  std::optional<fs::path> shots;
  bool check = false;
  bool json = false;
  fs::path settings = fs::temp_directory_path() / "rescalo-cli-settings";
  std::vector<Step> steps;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--screenshot" && i + 1 < args.size()) {
      shots = args[++i];
    } else if (a == "--check") {
      check = true;
    } else if (a == "--json") {
      json = true;
    } else if (a == "--settings" && i + 1 < args.size()) {
      settings = args[++i];
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
      !std::getenv("QT_QPA_PLATFORM"))
    bridge::useRuntimeScreen();
  static int argc = 1;
  static char name[] = "rescalo";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  bridge::ShownForm shown(file,
                          {.compare = check,
                           .quietMessageBoxes = shots.has_value(),
                           .settingsFile = settings,
                           .onOutput = [](const std::string& line) { std::cerr << line << "\n"; },
                           .codePage = codePage()});
  QWidget& window = shown.window();
  const double tx = shown.twipsPerPixelX(), ty = shown.twipsPerPixelY();

  if (shots) fs::create_directories(*shots);
  int mismatches = 0;
  if (json) std::cout << "{\"steps\": [";
  // The inner area is what the menu bar leaves, as on the classic form.
  auto innerHeight = [&] { return window.height() - bridge::classicMenuBarPixels(window); };
  // Why the window is not the size a step asked for, or nothing when it is.
  auto shortOf = [&](const std::optional<std::pair<double, double>>& asked) -> std::string {
    if (!asked) return {};
    const int innerH = innerHeight();
    const int wantW = static_cast<int>(std::lround(asked->first / tx));
    const int wantH = static_cast<int>(std::lround(asked->second / ty));
    if (std::abs(window.width() - wantW) <= 1 && std::abs(innerH - wantH) <= 1) return {};
    const QRect screen = window.screen() ? window.screen()->availableGeometry() : QRect();
    const QSize frame = window.frameGeometry().size() - window.size();
    const bool tooBig = wantW + frame.width() > screen.width() + 12 ||
                        wantH + (window.height() - innerH) + frame.height() > screen.height() + 12;
    return "asked for " + number(asked->first) + " x " + number(asked->second) + " twips (" +
           std::to_string(wantW) + " x " + std::to_string(wantH) + " px), the inner area is " +
           std::to_string(window.width()) + " x " + std::to_string(innerH) + " px: " +
           (!window.isEnabled() ? std::string("the window is disabled and takes no drag")
            : tooBig            ? "the screen (" + std::to_string(screen.width()) + " x " +
                           std::to_string(screen.height()) + " px) cannot hold it"
                     : std::string("the window cannot be that small"));
  };
  auto report = [&](int n, const std::string& what,
                    const std::optional<std::pair<double, double>>& asked) {
    const std::string shortfall = shortOf(asked);
    const int innerH = innerHeight();
    if (json) {
      std::cout << (n ? ",\n " : "\n ") << "{\"step\": " << jsonString(what)
                << ", \"inner\": {\"width_px\": " << window.width() << ", \"height_px\": " << innerH
                << ", \"width_twips\": " << jsonNumber(window.width() * tx)
                << ", \"height_twips\": " << jsonNumber(innerH * ty) << "}";
      if (!shortfall.empty()) std::cout << ", \"short\": " << jsonString(shortfall);
      std::cout << ", \"widgets\": [";
      bool first = true;
      widgetsJson(window, std::cout, first);
      std::cout << "]";
    } else {
      std::cout << "step " << n << ": " << what << ": inner " << number(window.width() * tx)
                << " x " << number(innerH * ty) << " twips\n";
      if (!shortfall.empty()) std::cout << "  short: " << shortfall << "\n";
    }
    if (!shortfall.empty()) std::cerr << "rescalo: step " << n << ": " << shortfall << "\n";
    for (const auto& [key, w] : shown.built().widgets) {
      if (json) break;
      auto c = qt::adoptControl(w);
      // A line by its end points, any other control by its rectangle.
      static constexpr const char* kRect[] = {"Left", "Top", "Width", "Height"};
      static constexpr const char* kEnds[] = {"X1", "Y1", "X2", "Y2"};
      std::cout << "  " << key;
      for (const char* member : c->typeName() == "Line" ? kEnds : kRect)
        std::cout << " " << number(c->get(member).toDouble());
      std::cout << "\n";
    }
    if (json) std::cout << ", \"mismatches\": [";
    bool firstMismatch = true;
    for (const bridge::Mismatch& m : shown.mismatches()) {
      if (json) {
        std::cout << (firstMismatch ? "" : ", ") << "{\"name\": " << jsonString(m.key)
                  << ", \"x\": " << m.got.x() << ", \"y\": " << m.got.y()
                  << ", \"width\": " << m.got.width() << ", \"height\": " << m.got.height()
                  << ", \"runtime\": [" << jsonNumber(m.want[0]) << ", " << jsonNumber(m.want[1])
                  << ", " << jsonNumber(m.want[2]) << ", " << jsonNumber(m.want[3]) << "]}";
        firstMismatch = false;
        ++mismatches;
        continue;
      }
      std::cout << "  mismatch: " << m.key << " is at " << m.got.x() << "," << m.got.y() << " "
                << m.got.width() << "x" << m.got.height() << " px, the runtime has " << m.want[0]
                << "," << m.want[1] << " " << m.want[2] << "x" << m.want[3] << "\n";
      ++mismatches;
    }
    if (shots) {
      const fs::path png = *shots / ("step-" + std::to_string(n) + ".png");
      if (!window.grab().save(QString::fromStdString(png.string()))) {
        std::cerr << "rescalo: " << png.string() << ": cannot write the picture\n";
        ++mismatches;
      }
    }
    if (json) std::cout << "]}";
  };
  report(0, "shown", std::nullopt);
  if (!steps.empty()) shown.restore();
  int n = 0;
  for (const Step& s : steps) {
    const double w = s.scale ? shown.designWidth() * *s.scale : s.width;
    const double h = s.scale ? shown.designHeight() * *s.scale : s.height;
    shown.drag(w, h);
    report(++n, s.text, std::pair{w, h});
  }
  if (json) std::cout << "\n]}\n";
  if (check && !json)
    std::cout << (mismatches ? std::to_string(mismatches) + " widgets differ"
                  : shown.reference()
                      ? std::string("every widget within one pixel of the runtime")
                      : std::string("every widget within one pixel of its designed place, in "
                                    "proportion"))
              << "\n";
  // What the steps found is printed before the window is handed to the user, who may
  // never close it.
  std::cout.flush();
  if (!shots) app.exec();
  // The control goes on without a store it cannot read or write; its user must hear of it.
  const auto& failures =
      dynamic_cast<const qt::QtSettingsStore&>(shown.services().settings()).failures();
  for (std::size_t i = 0; i < failures.size(); ++i)
    if (i == 0 || failures[i] != failures[i - 1])
      std::cerr << "rescalo: warning: settings store " << failures[i] << "\n";
  return mismatches || !failures.empty() ? 1 : 0;
}

int convert(const std::vector<std::string>& args) {
  if (args.size() != 3 || args[1] != "-o") {
    std::cerr << "usage: rescalo convert FORM.frm -o FORM.ui\n";
    return 2;
  }
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "rescalo";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  bridge::convertToUi(args[0], args[2], codePage());
  std::cout << "wrote " << args[2] << "\n";
  return 0;
}

}  // namespace rescalo::cli

#else

namespace rescalo::cli {

int show(const std::vector<std::string>&) {
  std::cerr << "rescalo: show opens real windows and needs the Qt host: build with "
               "-DRESCALO_QT=ON\n";
  return 2;
}

int convert(const std::vector<std::string>&) {
  std::cerr << "rescalo: convert builds Qt widgets and needs the Qt host: build with "
               "-DRESCALO_QT=ON\n";
  return 2;
}

}  // namespace rescalo::cli

#endif
