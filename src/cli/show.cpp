#include <rescalo/cli/show.h>

#include <iostream>

#if RESCALO_HAS_QT

#include <QApplication>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include <rescalo/bridge/shown_form.h>
#include <rescalo/bridge/ui_writer.h>
#include <rescalo/cli/layout.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>

namespace rescalo::cli {

namespace fs = std::filesystem;

namespace {

int showUsage() {
  std::cerr
      << "usage: rescalo show FORM.frm|FORM.ui [--screenshot DIR] [--size WxH | --scale F]... "
         "[--check] [--settings FILE]\n"
         "  --size WxH   the window's inner area, in twips (the frames of the hosts "
         "differ)\n"
         "  --scale F    the inner area the form was designed at, times F\n"
         "  --screenshot writes DIR/step-N.png after each step and exits; without it "
         "the\n"
         "               window stays open after the steps until it is closed\n"
         "  --check      also runs the steps in the embedded runtime and fails when a "
         "widget\n"
         "               is more than one pixel away from its control there\n"
         "  --settings   the settings store (the Qt host keeps its windows in FILE.ini)\n";
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

}  // namespace

int show(const std::vector<std::string>& args) {
  std::string file;
  std::optional<fs::path> shots;
  bool check = false;
  fs::path settings = fs::temp_directory_path() / "rescalo-cli-settings";
  std::vector<Step> steps;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--screenshot" && i + 1 < args.size()) {
      shots = args[++i];
    } else if (a == "--check") {
      check = true;
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

  bridge::ShownForm shown(file,
                          {.compare = check,
                           .quietMessageBoxes = shots.has_value(),
                           .settingsFile = settings,
                           .onOutput = [](const std::string& line) { std::cerr << line << "\n"; }});
  QWidget& window = shown.window();
  const double tx = shown.twipsPerPixelX(), ty = shown.twipsPerPixelY();

  if (shots) fs::create_directories(*shots);
  int mismatches = 0;
  auto report = [&](int n, const std::string& what) {
    std::cout << "step " << n << ": " << what << ": inner " << number(window.width() * tx) << " x "
              << number((window.height() - qt::menuBarPixels(window)) * ty) << " twips\n";
    for (const auto& [key, w] : shown.built().widgets) {
      auto c = qt::adoptControl(w);
      std::cout << "  " << key << " " << number(c->get("Left").toDouble()) << " "
                << number(c->get("Top").toDouble()) << " " << number(c->get("Width").toDouble())
                << " " << number(c->get("Height").toDouble()) << "\n";
    }
    for (const bridge::Mismatch& m : shown.mismatches()) {
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
  };
  report(0, "shown");
  if (!steps.empty()) shown.restore();
  int n = 0;
  for (const Step& s : steps) {
    shown.drag(s.scale ? shown.designWidth() * *s.scale : s.width,
               s.scale ? shown.designHeight() * *s.scale : s.height);
    report(++n, s.text);
  }
  if (check)
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
  bridge::convertToUi(args[0], args[2]);
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
