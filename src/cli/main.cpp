// The rescalo command.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/inspect.h"
#include "control/rescalo.h"
#include "runtime/frm/frm_document.h"
#include "runtime/loader.h"

namespace {

namespace fs = std::filesystem;

int usage() {
  std::cerr << "usage: rescalo inspect FORM.frm [--json]\n"
               "       rescalo save IN.frm -o OUT.frm\n"
               "       rescalo add IN.frm -o OUT.frm\n";
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "inspect") return inspect(args);
  if (command == "save") return save(args, false);
  if (command == "add") return save(args, true);
  return usage();
}
