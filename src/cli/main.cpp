// The rescalo command.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <rescalo/cli/codepage.h>
#include <rescalo/cli/design.h>
#include <rescalo/cli/layout.h>
#include <rescalo/cli/report.h>
#include <rescalo/cli/show.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>

using namespace rescalo;

namespace {

namespace fs = std::filesystem;

int usage() {
  std::cerr
      << "usage: rescalo inspect FORM.frm [--json] [--settings FILE]\n"
         "       rescalo save IN.frm -o OUT.frm\n"
         "       rescalo add IN.frm -o OUT.frm\n"
         "       rescalo layout FORM.frm STEP... [--json] [--svg DIR] [--settings FILE]\n"
         "         STEP: --size WxH | --drag WxH | --scale F | --state min|max|normal |\n"
         "               --unload | --reload | --print WxH[:hide][:dialog][:cancel] |\n"
         "               --print-off | --cancel\n"
         "       rescalo render FORM.frm [STEP...] [--effect open|close] [--settings FILE] "
         "-o DIR\n"
         "       rescalo demo [--svg DIR] [--form FORM.frm]\n"
         "       rescalo design FORM.frm [-o OUT.frm] [--accept | --screenshots DIR]\n"
         "       rescalo design FORM.frm [-o OUT.frm] (--script FILE | --set "
         "Page.Field=value ...)\n"
         "       rescalo show FORM.frm|FORM.ui [--screenshot DIR] [--size WxH | --scale F]... "
         "[--check]\n"
         "                    [--settings FILE]\n"
         "       rescalo convert FORM.frm -o FORM.ui\n"
         "       rescalo about\n";
  return 2;
}

// The runtime every command uses: the Rescalo class registered, a private settings file,
// message boxes and warnings on stderr.
struct Session {
  runtime::Runtime rt;
  Session() : rt(options()) {
    control::registerRescalo(rt.userControls());
    rt.onOutput = [](const std::string& line) { std::cerr << line << "\n"; };
  }
  static runtime::RuntimeOptions options() {
    runtime::RuntimeOptions o;
    o.settingsFile = fs::temp_directory_path() / "rescalo-cli-settings";
    return o;
  }
};

// Runs a command body, turning failures into the exit status and a message.
template <class F>
int guarded(const std::string& file, F&& body) {
  try {
    return body();
  } catch (const frm::ParseError& e) {
    std::cerr << "rescalo: " << e.what() << "\n";
  } catch (const runtime::LoadError& e) {
    std::cerr << "rescalo: " << e.what() << "\n";
  } catch (const std::exception& e) {
    // Messages that name their file already are not given it twice.
    const std::string what = e.what();
    std::cerr << "rescalo: " << (what.starts_with(file) ? "" : file + ": ") << what << "\n";
  }
  return 1;
}

int inspect(const std::vector<std::string>& args) {
  std::string file;
  bool json = false;
  std::optional<fs::path> settings;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json")
      json = true;
    else if (args[i] == "--settings" && i + 1 < args.size())
      settings = args[++i];
    else if (file.empty())
      file = args[i];
    else
      return usage();
  }
  if (file.empty()) return usage();
  Session session;
  return guarded(file, [&] {
    runtime::LoadedForm lf =
        runtime::loadForm(session.rt, file, {.userMode = false, .codePage = cli::codePage()});
    if (json) {
      cli::inspectJson(*lf.form, std::cout);
    } else {
      cli::inspectText(*lf.form, std::cout);
      cli::storeSections(file, settings, std::cout);
    }
    return 0;
  });
}

// IN.frm -o OUT.frm
bool inOut(const std::vector<std::string>& args, std::string& in, std::string& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size())
      out = args[++i];
    else if (in.empty())
      in = args[i];
    else
      return false;
  }
  return !in.empty() && !out.empty();
}

void writeFile(const fs::path& path, const std::string& text) {
  fs::path tmp = path;
  tmp += ".tmp";
  {
    std::ofstream f(tmp, std::ios::binary);
    f << text;
    if (!f) throw std::runtime_error("cannot write " + tmp.string());
  }
  fs::rename(tmp, path);
}

int save(const std::vector<std::string>& args, bool addControl) {
  std::string in, out;
  if (!inOut(args, in, out)) return usage();
  Session session;
  return guarded(in, [&] {
    runtime::LoadedForm lf =
        runtime::loadForm(session.rt, in, {.userMode = false, .codePage = cli::codePage()});
    if (addControl) {
      for (const auto& c : lf.form->controls())
        if (c->typeName() == "Rescalo")
          throw std::runtime_error("the form already has a Rescalo control (" + c->key() + ")");
      std::string name =
          runtime::addUserControl(*lf.form, lf.document, control::kRescaloClass, "Rescalo", 0, 0);
      std::cerr << "added " << name << "\n";
    }
    runtime::storeForm(*lf.form, lf.document);
    writeFile(out, frm::write(lf.document));
    return 0;
  });
}

// The options of `layout` and `render`; false (after the usage or a message) when one is wrong.
bool layoutOptions(const std::vector<std::string>& args, bool render, std::string& file,
                   cli::LayoutOptions& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (int arity = cli::stepArity(a); arity >= 0 && (arity == 0 || i + 1 < args.size())) {
      cli::LayoutStep step;
      std::string value = arity ? args[++i] : std::string();
      if (!cli::parseStep(a, value, step)) {
        std::cerr << "rescalo: " << a << " " << value << ": expected " << cli::stepExpects(a)
                  << "\n";
        return false;
      }
      options.steps.push_back(step);
    } else if (a == "--settings" && i + 1 < args.size()) {
      options.settings = args[++i];
    } else if (!render && a == "--json") {
      options.json = true;
    } else if (!render && a == "--svg" && i + 1 < args.size()) {
      options.svgDir = args[++i];
    } else if (render && a == "-o" && i + 1 < args.size()) {
      options.pngDir = args[++i];
    } else if (render && a == "--effect" && i + 1 < args.size()) {
      const std::string& e = args[++i];
      if (e != "open" && e != "close") {
        std::cerr << "rescalo: --effect " << e << ": expected open or close\n";
        return false;
      }
      options.effect = e == "open" ? cli::Effect::Open : cli::Effect::Close;
    } else if (file.empty() && a.rfind("-", 0) != 0) {
      file = a;
    } else {
      usage();
      return false;
    }
  }
  if (file.empty() || (render ? !options.pngDir : options.steps.empty())) {
    usage();
    return false;
  }
  return true;
}

int layout(const std::vector<std::string>& args, bool render) {
  std::string file;
  cli::LayoutOptions options;
  options.report = !render;
  if (!layoutOptions(args, render, file, options)) return 2;
  return guarded(file, [&] { return cli::runLayout(file, options, std::cout); });
}

// The example form dragged through a few sizes: larger, smaller, wide, tall, and back.
int demo(const std::vector<std::string>& args) {
  fs::path form = fs::path(RESCALO_EXAMPLES_DIR) / "demo.frm";
  cli::LayoutOptions options;
  for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
    if (args[i] == "--svg")
      options.svgDir = options.pngDir = args[i + 1];
    else if (args[i] == "--form")
      form = args[i + 1];
    else
      return usage();
  }
  if (args.size() % 2) return usage();
  for (const char* size : {"10980x8705", "5490x4350", "12000x5805", "7320x9000", "7320x5805"}) {
    cli::LayoutStep step;
    cli::parseStep("--size", size, step);
    options.steps.push_back(step);
  }
  std::cout
      << "Rescalo demo: " << form.string() << " in the embedded runtime.\n"
      << "The form is shown, then dragged to each size in turn; after each drag the virtual\n"
      << "clock runs past the deferred rescaling and the layout is printed. OK and Cancel keep\n"
      << "their size and their distance from the bottom-right corner; the status line keeps\n"
      << "its height, font and distance from the bottom; everything else scales.\n\n";
  int rc = guarded(form.string(), [&] { return cli::runLayout(form, options, std::cout); });
  if (rc == 0 && options.svgDir)
    std::cout << "\nSVG and PNG pictures of each step are in " << options.svgDir->string() << "\n";
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (auto wrong = cli::takeCodePage(args)) {
    std::cerr << "rescalo: " << *wrong << "\n";
    return 2;
  }
  if (command == "inspect") return inspect(args);
  if (command == "save") return save(args, false);
  if (command == "add") return save(args, true);
  if (command == "layout") return layout(args, false);
  if (command == "render") return layout(args, true);
  if (command == "demo") return demo(args);
  if (command == "design") return cli::design(args);
  if (command == "about" && args.empty()) {
    // The control's about box, as a host without a window of its own shows it.
    const host::AboutInfo info = control::aboutInfo();
    std::cout << info.name << " " << info.version << "\n\n" << info.description << "\n";
    return 0;
  }
  if (command == "show")
    return guarded(args.empty() ? "" : args[0], [&] { return cli::show(args); });
  if (command == "convert")
    return guarded(args.empty() ? "" : args[0], [&] { return cli::convert(args); });
  return usage();
}
