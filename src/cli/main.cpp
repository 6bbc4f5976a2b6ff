// The rescalo command.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/design.h"
#include "cli/layout.h"
#include "cli/report.h"
#include "control/rescalo.h"
#include "runtime/frm/frm_document.h"
#include "runtime/loader.h"

namespace {

namespace fs = std::filesystem;

int usage() {
  std::cerr << "usage: rescalo inspect FORM.frm [--json]\n"
               "       rescalo save IN.frm -o OUT.frm\n"
               "       rescalo add IN.frm -o OUT.frm\n"
               "       rescalo layout FORM.frm (--size WxH | --scale F)... [--json] [--svg DIR]\n"
               "       rescalo render FORM.frm [--size WxH | --scale F]... [--effect open|close] "
               "-o DIR\n"
               "       rescalo demo [--svg DIR] [--form FORM.frm]\n"
               "       rescalo design FORM.frm [-o OUT.frm] (--script FILE | --set "
               "Page.Field=value ...)\n";
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
    std::cerr << "rescalo: " << file << ": " << e.what() << "\n";
  }
  return 1;
}

int inspect(const std::vector<std::string>& args) {
  std::string file;
  bool json = false;
  for (const auto& a : args) {
    if (a == "--json")
      json = true;
    else if (file.empty())
      file = a;
    else
      return usage();
  }
  if (file.empty()) return usage();
  Session session;
  return guarded(file, [&] {
    runtime::LoadedForm lf = runtime::loadForm(session.rt, file, {.userMode = false});
    if (json)
      cli::inspectJson(*lf.form, std::cout);
    else
      cli::inspectText(*lf.form, std::cout);
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
    runtime::LoadedForm lf = runtime::loadForm(session.rt, in, {.userMode = false});
    if (addControl) {
      for (const auto& c : lf.form->controls)
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

// "--size WxH" or "--scale F" at args[i] (moving i past its value): 1 when it was one, 0 when
// it was not, -1 (after the message) when its value is wrong.
int stepArgument(const std::vector<std::string>& args, std::size_t& i, cli::LayoutOptions& o) {
  const std::string& a = args[i];
  if ((a != "--size" && a != "--scale") || i + 1 >= args.size()) return 0;
  cli::LayoutStep step;
  if (!cli::parseStep(a, args[++i], step)) {
    std::cerr << "rescalo: " << a << " " << args[i] << ": expected "
              << (a == "--size" ? "WIDTHxHEIGHT in twips, each from 1 to 10000000"
                                : "a factor above 0 and at most 100")
              << "\n";
    return -1;
  }
  o.steps.push_back(step);
  return 1;
}

int layout(const std::vector<std::string>& args) {
  std::string file;
  cli::LayoutOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (int step = stepArgument(args, i, options); step != 0) {
      if (step < 0) return 2;
    } else if (a == "--json") {
      options.json = true;
    } else if (a == "--svg" && i + 1 < args.size()) {
      options.svgDir = args[++i];
    } else if (file.empty()) {
      file = a;
    } else {
      return usage();
    }
  }
  if (file.empty() || options.steps.empty()) return usage();
  return guarded(file, [&] { return cli::runLayout(file, options, std::cout); });
}

int render(const std::vector<std::string>& args) {
  std::string file;
  cli::LayoutOptions options;
  options.report = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (int step = stepArgument(args, i, options); step != 0) {
      if (step < 0) return 2;
    } else if (a == "--effect" && i + 1 < args.size()) {
      const std::string& e = args[++i];
      if (e != "open" && e != "close") {
        std::cerr << "rescalo: --effect " << e << ": expected open or close\n";
        return 2;
      }
      options.effect = e == "open" ? cli::Effect::Open : cli::Effect::Close;
    } else if (a == "-o" && i + 1 < args.size()) {
      options.pngDir = args[++i];
    } else if (file.empty() && a.rfind("-", 0) != 0) {
      file = a;
    } else {
      return usage();
    }
  }
  if (file.empty() || !options.pngDir) return usage();
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
  for (auto [w, h] : {std::pair{10980.0, 8705.0},
                      {5490.0, 4350.0},
                      {12000.0, 5805.0},
                      {7320.0, 9000.0},
                      {7320.0, 5805.0}})
    options.steps.push_back({w, h, std::nullopt});
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
  if (command == "inspect") return inspect(args);
  if (command == "save") return save(args, false);
  if (command == "add") return save(args, true);
  if (command == "layout") return layout(args);
  if (command == "render") return render(args);
  if (command == "demo") return demo(args);
  if (command == "design") return cli::design(args);
  return usage();
}
