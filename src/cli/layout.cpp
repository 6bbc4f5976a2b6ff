#include <rescalo/cli/layout.h>

#include <charconv>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <sstream>

#include <rescalo/cli/codepage.h>
#include <rescalo/cli/json.h>
#include <rescalo/cli/report.h>
#include <rescalo/cli/svg.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/host/failure.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/raster/image_io.h>
#include <rescalo/runtime/render.h>
#include <rescalo/runtime/user_control_host.h>
#include <rescalo/window/window_settings.h>

namespace rescalo::cli {

namespace fs = std::filesystem;
using host::Variant;
using Kind = LayoutStep::Kind;

fs::path settingsFile(const std::optional<fs::path>& chosen) {
  return chosen ? *chosen : runtime::FileSettingsStore::defaultPath();
}

namespace {

runtime::RuntimeOptions options(const std::optional<fs::path>& settings) {
  runtime::RuntimeOptions o;
  o.settingsFile = settingsFile(settings);
  return o;
}

// The form's document with a Rescalo control: its own, or a new one placed and saved in
// design mode, as `rescalo add` does.
frm::Document withRescalo(const fs::path& file, const std::optional<fs::path>& settings,
                          std::ostream& log) {
  runtime::Runtime design(options(settings));
  control::registerRescalo(design.userControls());
  design.onOutput = [&](const std::string& line) { log << line << "\n"; };
  runtime::LoadedForm lf =
      runtime::loadForm(design, file, {.userMode = false, .codePage = codePage()});
  for (const auto& c : lf.form->controls())
    if (c->typeName() == "Rescalo") return lf.document;
  std::string name =
      runtime::addUserControl(*lf.form, lf.document, control::kRescaloClass, "Rescalo", 0, 0);
  log << "(the form had no Rescalo control: " << name << " added with default settings)\n";
  runtime::storeForm(*lf.form, lf.document);
  return lf.document;
}

control::Rescalo* rescaloOf(runtime::Form& form) {
  for (const auto& c : form.controls())
    if (auto* uc = dynamic_cast<runtime::UserControlHost*>(c.get()))
      if (auto* r = dynamic_cast<control::Rescalo*>(&uc->control())) return r;
  return nullptr;
}

const char* stateName(int state) {
  return state == 1 ? "minimized" : state == 2 ? "maximized" : "normal";
}

// The section a Rescalo remembers its form under: its WindowName, or the form's caption.
std::string sectionOf(control::Rescalo& r, runtime::Form& form) {
  return r.settings().WindowName.empty() ? form.caption : r.settings().WindowName;
}

void storeText(const runtime::FileSettingsStore& store, std::ostream& out) {
  auto sections = store.sections(window::kSettingsApp);
  if (sections.empty()) out << "  store: nothing remembered\n";
  for (const auto& s : sections) {
    out << "  store [" << jsonString(s) << "]:";
    for (const auto& [k, v] : store.keys(window::kSettingsApp, s)) out << " " << k << "=" << v;
    out << "\n";
  }
}

void storeJson(const runtime::FileSettingsStore& store, std::ostream& out) {
  out << ", \"store\": {";
  bool first = true;
  for (const auto& s : store.sections(window::kSettingsApp)) {
    out << (first ? "" : ", ") << jsonString(s) << ": {";
    first = false;
    bool firstKey = true;
    for (const auto& [k, v] : store.keys(window::kSettingsApp, s)) {
      out << (firstKey ? "" : ", ") << jsonString(k) << ": " << jsonString(v);
      firstKey = false;
    }
    out << "}";
  }
  out << "}";
}

std::string numbered(const char* prefix, std::size_t n, int digits, const char* ext) {
  std::ostringstream name;
  name << prefix << std::setw(digits) << std::setfill('0') << n << ext;
  return name.str();
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
class FrameRecorder {
 public:
  FrameRecorder(runtime::Runtime& rt, runtime::Form& form, const fs::path& dir, const char* prefix,
                std::ostream& out)
      : rt_(rt) {
    rt_.windowTable().onRegionChanged = [&, dir, prefix](host::HWND hwnd,
                                                         const std::optional<host::RECT>&) {
      if (hwnd == form.hwnd) writePicture(form, dir, numbered(prefix, ++frames_, 3, ".png"), out);
    };
  }
  FrameRecorder(const FrameRecorder&) = delete;
  FrameRecorder& operator=(const FrameRecorder&) = delete;
  ~FrameRecorder() { rt_.windowTable().onRegionChanged = nullptr; }
  std::size_t frames() const { return frames_; }

 private:
  runtime::Runtime& rt_;
  std::size_t frames_ = 0;
};

// Says so when the form's Rescalo has no animation of the kind asked for.
void noteMissingEffect(runtime::Form& form, bool open, std::ostream& out) {
  control::Rescalo* r = rescaloOf(form);
  int effect = 0;
  if (r) host::ignoreErrors([&] { effect = r->get(open ? "FormOpen" : "FormClose").toLong(); });
  if (effect == 0)
    out << "(the form's Rescalo has " << (open ? "FormOpen" : "FormClose") << " = 0: there is no "
        << (open ? "opening" : "closing") << " animation to draw)\n";
}

// One run of the form in one runtime: what the steps act on and what they report.
class Session {
 public:
  Session(const fs::path& file, const LayoutOptions& opt, std::ostream& out)
      : file_(file),
        opt_(opt),
        out_(out),
        doc_(withRescalo(file, opt.settings, notes_)),
        rt_(options(opt.settings)) {
    control::registerRescalo(rt_.userControls());
    rt_.onOutput = [this](const std::string& line) { notes_ << line << "\n"; };
  }

  void run() {
    form_ = runtime::buildForm(rt_, doc_, file_, {.userMode = true, .codePage = codePage()});
    for (const auto& c : form_->controls())
      if (c->typeName() == "Rescalo")
        c->subscribe([this, key = c->key()](std::string_view event, host::Args args) {
          notes_ << "event " << key << "." << event;
          if (event == "Error" && !args.empty()) notes_ << ": " << args[0].toString();
          notes_ << "\n";
        });
    designWidth_ = form_->width();
    designHeight_ = form_->height();
    {
      std::optional<FrameRecorder> opening;
      if (opt_.pngDir && opt_.effect == Effect::Open)
        opening.emplace(rt_, *form_, *opt_.pngDir, "open-", pictures());
      form_->call("Show");
      if (opening && opening->frames() == 0) noteMissingEffect(*form_, true, pictures());
    }
    rt_.advance(opt_.settle);
  }

  // Unloads the form, drawing its closing animation when asked.
  void unload() {
    std::optional<FrameRecorder> closing;
    if (opt_.pngDir && opt_.effect == Effect::Close)
      closing.emplace(rt_, *form_, *opt_.pngDir, "close-", pictures());
    form_->unload();
    if (closing && closing->frames() == 0) noteMissingEffect(*form_, false, pictures());
  }

  // Where the names of written pictures go: not into a JSON report.
  std::ostream& pictures() { return opt_.json ? std::cerr : out_; }

  // Does the step; what it did, in words.
  std::string perform(const LayoutStep& step) {
    if (step.kind == Kind::Reload) {
      std::string what = form_->loaded() ? "unloaded and run again" : "run again";
      if (form_->loaded()) unload();
      run();
      return what;
    }
    if (!form_->loaded()) return "the form is unloaded: nothing to do (--reload runs it again)";
    switch (step.kind) {
      case Kind::Drag: {
        std::string what;
        if (int state = form_->windowState(); state != 0) {
          // A user cannot drag the corner of a minimized or maximized window.
          form_->setWindowState(0);
          rt_.advance(opt_.settle);
          what = std::string("restored from ") + stateName(state) + " first, then ";
        }
        double w = step.scale ? designWidth_ * *step.scale : step.width;
        double h = step.scale ? designHeight_ * *step.scale : step.height;
        if (!form_->enabled) return what + "the window is disabled: it takes no drag";
        form_->userDrag(w, h);  // held to the window's tracking limits
        return what + "dragged to " + number(form_->width()) + " x " + number(form_->height()) +
               " twips (inner " + number(form_->scaleWidth()) + " x " +
               number(form_->scaleHeight()) + ")";
      }
      case Kind::State:
        form_->setWindowState(step.state);
        return std::string(stateName(step.state));
      case Kind::Unload:
        unload();
        return "unloaded";
      case Kind::Print:
      case Kind::PrintOff: {
        control::Rescalo* r = rescaloOf(*form_);
        if (!r) return "the form has no Rescalo control";
        bool on = step.kind == Kind::Print;
        Variant args[] = {Variant(on),
                          Variant(static_cast<float>(step.width)),
                          Variant(static_cast<float>(step.height)),
                          Variant(),
                          Variant(step.hide),
                          Variant(step.dialog),
                          Variant(step.allowCancel)};
        r->call("PrintSize", host::Args(args, on ? 7 : 1));
        return on ? "print size on" : "print size off";
      }
      case Kind::Cancel: {
        auto& dialog = rt_.messageForm;
        runtime::Control* cancel = dialog && dialog->loaded() ? dialog->find("cmdCancel") : nullptr;
        if (!cancel || !cancel->get("Visible").toBool()) return "no Cancel button is shown";
        cancel->raiseEvent("Click");
        return "Cancel pressed";
      }
      default:
        return {};
    }
  }

  void reportText(std::size_t n, const std::string& what, const LayoutStep& step,
                  std::ostream& out) {
    out << "\nstep " << n << " (" << step.text << "): " << what << "\n";
    if (form_->loaded()) {
      windowText(out);
      controlsTable(*form_, out);
    }
    flushText(out);
    if (step.kind == Kind::Unload || step.kind == Kind::Reload) storeText(store(), out);
  }

  void reportJson(std::size_t n, const std::string& what, const LayoutStep& step,
                  std::ostream& out) {
    out << (n > 1 ? ",\n  " : "\n  ") << "{\"step\": " << jsonString(step.text)
        << ", \"did\": " << jsonString(what)
        << ", \"loaded\": " << (form_->loaded() ? "true" : "false");
    if (form_->loaded()) {
      out << ", \"width\": " << jsonNumber(form_->width())
          << ", \"height\": " << jsonNumber(form_->height()) << ", \"window\": ";
      windowJson(out);
      out << ", \"form\": ";
      formJson(*form_, out);
      out << ", \"controls\": ";
      controlsJson(*form_, out, "    ");
    }
    if (step.kind == Kind::Unload || step.kind == Kind::Reload) storeJson(store(), out);
    flushJson(out);
    out << "}";
  }

  void flushText(std::ostream& out) {
    std::istringstream lines(notes_.str());
    notes_.str({});
    for (std::string line; std::getline(lines, line);) out << "  " << line << "\n";
  }
  void flushJson(std::ostream& out) {
    std::istringstream lines(notes_.str());
    notes_.str({});
    out << ", \"events\": [";
    bool first = true;
    for (std::string line; std::getline(lines, line); first = false)
      out << (first ? "" : ", ") << jsonString(line);
    out << "]";
  }
  std::string takeNotes() {
    std::string t = notes_.str();
    notes_.str({});
    return t;
  }

  runtime::Form& form() { return *form_; }
  runtime::Runtime& rt() { return rt_; }
  const std::vector<std::string>& storeFailures() { return store().failures(); }

 private:
  static std::string number(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
  }
  const runtime::FileSettingsStore& store() {
    return dynamic_cast<const runtime::FileSettingsStore&>(rt_.settings());
  }
  bool topmost() { return rt_.windowTable().isTopmost(form_->hwnd); }
  bool dialogShown() {
    return rt_.messageForm && rt_.messageForm->loaded() && rt_.messageForm->visible();
  }

  void windowText(std::ostream& out) {
    out << "  window " << form_->left() << ", " << form_->top() << " size " << form_->width()
        << " x " << form_->height() << " " << stateName(form_->windowState())
        << (topmost() ? ", topmost" : "") << (form_->enabled ? "" : ", disabled");
    if (dialogShown())
      out << "; dialog \"Printing...\" shown"
          << (rt_.messageForm->find("cmdCancel")->get("Visible").toBool() ? " with Cancel" : "");
    out << "\n";
  }
  void windowJson(std::ostream& out) {
    out << "{\"left\": " << jsonNumber(form_->left()) << ", \"top\": " << jsonNumber(form_->top())
        << ", \"width\": " << jsonNumber(form_->width())
        << ", \"height\": " << jsonNumber(form_->height()) << ", \"state\": \""
        << stateName(form_->windowState()) << "\", \"topmost\": " << (topmost() ? "true" : "false")
        << ", \"enabled\": " << (form_->enabled ? "true" : "false")
        << ", \"printDialog\": " << (dialogShown() ? "true" : "false") << "}";
  }

  fs::path file_;
  const LayoutOptions& opt_;
  std::ostream& out_;
  std::ostringstream notes_;  // what happened: events, beeps, message boxes, warnings
  frm::Document doc_;
  runtime::Runtime rt_;
  std::shared_ptr<runtime::Form> form_;
  double designWidth_ = 0, designHeight_ = 0;
};

}  // namespace

int runLayout(const fs::path& file, const LayoutOptions& opt, std::ostream& out) {
  Session session(file, opt, out);
  session.run();
  if (!opt.report) {
    session.takeNotes();
  } else if (!opt.json) {
    out << "shown at " << session.form().width() << " x " << session.form().height() << " twips\n";
    session.flushText(out);
  } else {
    std::cerr << session.takeNotes();  // what happened before the first step stays out of the JSON
    out << "{\"steps\": [";
  }
  for (std::size_t i = 0; i < opt.steps.size(); ++i) {
    const LayoutStep& step = opt.steps[i];
    std::string what = session.perform(step);
    session.rt().advance(opt.settle);
    if (!opt.report)
      session.takeNotes();
    else if (opt.json)
      session.reportJson(i + 1, what, step, out);
    else
      session.reportText(i + 1, what, step, out);
    if (!session.form().loaded()) continue;
    if (opt.svgDir) {
      fs::create_directories(*opt.svgDir);
      writeSvg(session.form(), *opt.svgDir / numbered("step-", i + 1, 2, ".svg"));
    }
    if (opt.pngDir)
      writePicture(session.form(), *opt.pngDir, numbered("step-", i + 1, 2, ".png"),
                   session.pictures());
  }
  if (opt.pngDir && opt.steps.empty())
    writePicture(session.form(), *opt.pngDir, "shown.png", session.pictures());
  if (opt.json && opt.report) out << "\n]}\n";
  if (session.form().loaded()) session.unload();
  // The control goes on without a store it cannot read or write; its user must hear of it, or
  // the window is silently not remembered, or a section that could not be deleted comes back.
  const auto& failures = session.storeFailures();
  for (std::size_t i = 0; i < failures.size(); ++i)
    if (i == 0 || failures[i] != failures[i - 1])
      std::cerr << "rescalo: warning: settings store " << failures[i] << "\n";
  return failures.empty() ? 0 : 1;
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

bool size(std::string_view value, LayoutStep& step, double lo) {
  auto x = value.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  auto w = numberIn(value.substr(0, x), lo, 1e7), h = numberIn(value.substr(x + 1), lo, 1e7);
  if (!w || !h || (*w == 0) != (*h == 0)) return false;
  step.width = *w;
  step.height = *h;
  return true;
}

}  // namespace

int stepArity(std::string_view option) {
  for (const char* o : {"--size", "--drag", "--scale", "--state", "--print"})
    if (option == o) return 1;
  for (const char* o : {"--unload", "--reload", "--print-off", "--cancel"})
    if (option == o) return 0;
  return -1;
}

std::string stepExpects(std::string_view option) {
  if (option == "--scale") return "a factor above 0 and at most 100";
  if (option == "--state") return "min, max or normal";
  if (option == "--print")
    return "WIDTHxHEIGHT in twips (0x0: the design size), then any of :hide :dialog :cancel";
  return "WIDTHxHEIGHT in twips, each from 1 to 10000000";
}

bool parseStep(std::string_view option, std::string_view value, LayoutStep& step) {
  step.text = std::string(option) + (value.empty() ? "" : " " + std::string(value));
  if (option == "--unload" || option == "--reload" || option == "--print-off" ||
      option == "--cancel") {
    step.kind = option == "--unload"   ? Kind::Unload
                : option == "--reload" ? Kind::Reload
                : option == "--cancel" ? Kind::Cancel
                                       : Kind::PrintOff;
    return true;
  }
  if (option == "--scale") {
    auto f = numberIn(value, 0, 100);
    if (!f || *f == 0) return false;
    step.kind = Kind::Drag;
    step.scale = *f;
    return true;
  }
  if (option == "--state") {
    step.kind = Kind::State;
    if (value == "normal")
      step.state = 0;
    else if (value == "min")
      step.state = 1;
    else if (value == "max")
      step.state = 2;
    else
      return false;
    return true;
  }
  if (option == "--print") {
    step.kind = Kind::Print;
    std::string_view rest = value;
    auto colon = rest.find(':');
    if (!size(rest.substr(0, colon), step, 0)) return false;
    while (colon != std::string_view::npos) {
      rest = rest.substr(colon + 1);
      colon = rest.find(':');
      std::string_view word = rest.substr(0, colon);
      if (word == "hide")
        step.hide = true;
      else if (word == "dialog")
        step.dialog = true;
      else if (word == "cancel")
        step.allowCancel = true;
      else
        return false;
    }
    return true;
  }
  if (option == "--size" || option == "--drag") {
    step.kind = Kind::Drag;
    return size(value, step, 1);
  }
  return false;
}

void storeSections(const fs::path& formFile, const std::optional<fs::path>& settings,
                   std::ostream& out) {
  runtime::Runtime rt(options(settings));
  control::registerRescalo(rt.userControls());
  std::ostringstream ignored;
  rt.onOutput = [&](const std::string& line) { ignored << line << "\n"; };
  runtime::LoadedForm lf =
      runtime::loadForm(rt, formFile, {.userMode = false, .codePage = codePage()});
  const auto& store = dynamic_cast<const runtime::FileSettingsStore&>(rt.settings());
  for (const auto& c : lf.form->controls()) {
    auto* uc = dynamic_cast<runtime::UserControlHost*>(c.get());
    auto* r = uc ? dynamic_cast<control::Rescalo*>(&uc->control()) : nullptr;
    if (!r) continue;
    std::string section = sectionOf(*r, *lf.form);
    out << "Rescalo " << c->key() << " remembers the window "
        << (r->settings().SaveWindowState ? "" : "only with SaveWindowState on ") << "in "
        << store.path().string() << ", application \"" << window::kSettingsApp << "\", section "
        << jsonString(section) << ":";
    auto keys = store.keys(window::kSettingsApp, section);
    if (keys.empty()) out << " nothing stored";
    for (const auto& [k, v] : keys) out << " " << k << "=" << v;
    out << "\n";
  }
}

}  // namespace rescalo::cli
