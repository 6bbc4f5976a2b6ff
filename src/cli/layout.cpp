#include "cli/layout.h"

#include <charconv>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "cli/json.h"
#include "cli/report.h"
#include "cli/svg.h"
#include "control/rescalo.h"
#include "host/failure.h"
#include "runtime/loader.h"
#include "runtime/raster/image_io.h"
#include "runtime/render.h"
#include "runtime/user_control_host.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

runtime::RuntimeOptions options() {
  runtime::RuntimeOptions o;
  o.settingsFile = fs::temp_directory_path() / "rescalo-cli-settings";
  return o;
}

// The form's document with a Rescalo control: its own, or a new one placed and saved in
// design mode, as `rescalo add` does.
frm::Document withRescalo(const fs::path& file, std::ostream& log) {
  runtime::Runtime design(options());
  control::registerRescalo(design.userControls());
  design.onOutput = [&](const std::string& line) { log << line << "\n"; };
  runtime::LoadedForm lf = runtime::loadForm(design, file, {.userMode = false});
  for (const auto& c : lf.form->controls)
    if (c->typeName() == "Rescalo") return lf.document;
  std::string name =
      runtime::addUserControl(*lf.form, lf.document, control::kRescaloClass, "Rescalo", 0, 0);
  log << "(the form had no Rescalo control: " << name << " added with default settings)\n";
  runtime::storeForm(*lf.form, lf.document);
  return lf.document;
}

std::string numbered(const char* prefix, std::size_t n, int digits) {
  std::ostringstream name;
  name << prefix << std::setw(digits) << std::setfill('0') << n << ".png";
  return name.str();
}

// The form's Rescalo control, if it has one.
runtime::Control* rescaloOf(runtime::Form& form) {
  for (const auto& c : form.controls)
    if (c->typeName() == "Rescalo") return c.get();
  return nullptr;
}

// Draws the window into a PNG of the folder, telling `out` about it.
void writePicture(runtime::Form& form, const fs::path& dir, const std::string& name,
                  std::ostream& out) {
  fs::create_directories(dir);
  raster::Bitmap bm = runtime::renderWindow(form);
  fs::path path = dir / name;
  if (!raster::writePng(bm, path)) throw std::runtime_error("cannot write " + path.string());
  out << "wrote " << path.string() << " (" << bm.width() << " x " << bm.height() << ")\n";
}

// Writes a frame at every change of the form's window region while it is recorded.
struct FrameRecorder {
  runtime::Form& form;
  const fs::path& dir;
  const char* prefix;
  std::ostream& out;
  std::size_t frames = 0;
  FrameRecorder(runtime::Runtime& rt, runtime::Form& f, const fs::path& d, const char* p,
                std::ostream& o)
      : form(f), dir(d), prefix(p), out(o), rt_(rt) {
    rt_.windowTable().onRegionChanged = [this](host::HWND hwnd, const std::optional<host::RECT>&) {
      if (hwnd == form.hwnd) writePicture(form, dir, numbered(prefix, ++frames, 3), out);
    };
  }
  ~FrameRecorder() { rt_.windowTable().onRegionChanged = nullptr; }

 private:
  runtime::Runtime& rt_;
};

// Says so when the form's Rescalo has no animation of the kind asked for.
void noteMissingEffect(runtime::Form& form, bool open, std::ostream& out) {
  runtime::Control* r = rescaloOf(form);
  int effect = 0;
  if (r) host::ignoreErrors([&] { effect = r->get(open ? "FormOpen" : "FormClose").toLong(); });
  if (effect == 0)
    out << "(the form's Rescalo has " << (open ? "FormOpen" : "FormClose") << " = 0: there is no "
        << (open ? "opening" : "closing") << " animation to draw)\n";
}

}  // namespace

int runLayout(const fs::path& file, const LayoutOptions& opt, std::ostream& out) {
  std::ostringstream notes;  // what happened: events, message boxes, warnings
  frm::Document doc = withRescalo(file, notes);
  runtime::Runtime rt(options());
  control::registerRescalo(rt.userControls());
  rt.onOutput = [&](const std::string& line) { notes << line << "\n"; };
  auto form = runtime::buildForm(rt, doc, file, {.userMode = true});
  for (const auto& c : form->controls)
    if (c->typeName() == "Rescalo")
      c->subscribe([&, key = c->key()](std::string_view event, host::Args args) {
        notes << "event " << key << "." << event;
        if (event == "Error" && !args.empty()) notes << ": " << args[0].toString();
        notes << "\n";
      });
  double designWidth = form->width(), designHeight = form->height();
  std::ostream& pictures = opt.json ? std::cerr : out;
  {
    std::optional<FrameRecorder> opening;
    if (opt.pngDir && opt.effect == Effect::Open)
      opening.emplace(rt, *form, *opt.pngDir, "open-", pictures);
    form->call("Show");
    if (opening && opening->frames == 0) noteMissingEffect(*form, true, pictures);
  }
  rt.advance(opt.settle);
  if (opt.pngDir && opt.steps.empty()) writePicture(*form, *opt.pngDir, "shown.png", pictures);

  auto flushNotes = [&](bool json) {
    std::string text = notes.str();
    notes.str({});
    if (!json) {
      std::istringstream lines(text);
      for (std::string line; std::getline(lines, line);) out << "  " << line << "\n";
      return;
    }
    out << ", \"events\": [";
    std::istringstream lines(text);
    bool first = true;
    for (std::string line; std::getline(lines, line); first = false)
      out << (first ? "" : ", ") << jsonString(line);
    out << "]";
  };
  if (!opt.report) {
    notes.str({});
  } else if (!opt.json) {
    out << "shown at " << form->width() << " x " << form->height() << " twips\n";
    flushNotes(false);
  } else {
    std::cerr << notes.str();  // what happened before the first drag stays out of the JSON
    notes.str({});
    out << "{\"steps\": [";
  }
  for (std::size_t i = 0; i < opt.steps.size(); ++i) {
    const LayoutStep& step = opt.steps[i];
    double w = step.scale ? designWidth * *step.scale : step.width;
    double h = step.scale ? designHeight * *step.scale : step.height;
    form->userDrag(w, h);  // a user's drag, held to the window's tracking limits
    rt.advance(opt.settle);
    if (!opt.report) {
      notes.str({});
    } else if (opt.json) {
      out << (i ? ",\n  " : "\n  ") << "{\"width\": " << jsonNumber(form->width())
          << ", \"height\": " << jsonNumber(form->height()) << ", \"form\": ";
      formJson(*form, out);
      out << ", \"controls\": ";
      controlsJson(*form, out, "    ");
      flushNotes(true);
      out << "}";
    } else {
      out << "\nstep " << i + 1 << ": dragged to " << form->width() << " x " << form->height()
          << " twips (inner " << form->scaleWidth() << " x " << form->scaleHeight() << ")\n";
      controlsTable(*form, out);
      flushNotes(false);
    }
    if (opt.svgDir) {
      fs::create_directories(*opt.svgDir);
      std::ostringstream name;
      name << "step-" << std::setw(2) << std::setfill('0') << i + 1 << ".svg";
      writeSvg(*form, *opt.svgDir / name.str());
    }
    if (opt.pngDir) writePicture(*form, *opt.pngDir, numbered("step-", i + 1, 2), pictures);
  }
  if (opt.json && opt.report) out << "\n]}\n";
  std::optional<FrameRecorder> closing;
  if (opt.pngDir && opt.effect == Effect::Close)
    closing.emplace(rt, *form, *opt.pngDir, "close-", pictures);
  form->unload();
  if (closing && closing->frames == 0) noteMissingEffect(*form, false, pictures);
  return 0;
}

namespace {

// Whole text as one finite number within [lo, hi]; a factor of 0, nan or inf means nothing.
std::optional<double> numberIn(std::string_view text, double lo, double hi) {
  double v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(v) || v < lo || v > hi) return std::nullopt;
  return v;
}

}  // namespace

bool parseStep(std::string_view kind, std::string_view value, LayoutStep& step) {
  if (kind == "--scale") {
    auto f = numberIn(value, 0, 100);
    if (!f || *f == 0) return false;
    step.scale = *f;
    return true;
  }
  auto x = value.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  auto w = numberIn(value.substr(0, x), 1, 1e7), h = numberIn(value.substr(x + 1), 1, 1e7);
  if (!w || !h) return false;
  step.width = *w;
  step.height = *h;
  return true;
}

}  // namespace cli
