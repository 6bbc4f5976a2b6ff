// The rescalo command.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/inspect.h"
#include "runtime/frm/frm_document.h"
#include "runtime/loader.h"

namespace {

int usage() {
  std::cerr << "usage: rescalo inspect FORM.frm [--json]\n";
  return 2;
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
  runtime::RuntimeOptions options;
  options.settingsFile = std::filesystem::temp_directory_path() / "rescalo-inspect-settings";
  runtime::Runtime rt(options);
  rt.onOutput = [](const std::string& line) { std::cerr << line << "\n"; };
  try {
    runtime::LoadedForm lf = runtime::loadForm(rt, file, {.userMode = false});
    if (json)
      cli::inspectJson(*lf.form, std::cout);
    else
      cli::inspectText(*lf.form, std::cout);
  } catch (const frm::ParseError& e) {
    std::cerr << "rescalo: " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "rescalo: " << file << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "inspect") return inspect(args);
  return usage();
}
