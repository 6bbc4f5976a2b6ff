// Any bytes as a form file through the loader into a live form with the Rescalo control
// registered: shown, dragged once, stored back. Bytes after a line "#frx" are the form's .frx.
// A malformed or refused form fails with a ParseError or a LoadError; anything else escaping
// is a finding.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/runtime.h>

using namespace rescalo;

namespace {

namespace fs = std::filesystem;

const fs::path& workDir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("rescalo-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

constexpr std::string_view kFrxMarker = "\n#frx\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string_view frmText = bytes, frxBytes;
  if (auto at = bytes.find(kFrxMarker); at != std::string_view::npos) {
    frmText = bytes.substr(0, at);
    frxBytes = bytes.substr(at + kFrxMarker.size());
  }
  const fs::path file = workDir() / "fuzz.frm";
  {
    std::ofstream frx(workDir() / "fuzz.frx", std::ios::binary | std::ios::trunc);
    frx.write(frxBytes.data(), static_cast<std::streamsize>(frxBytes.size()));
  }
  runtime::RuntimeOptions options;
  options.settingsFile = workDir() / "settings";
  runtime::Runtime rt(options);
  control::registerRescalo(rt.userControls());
  try {
    frm::Document doc = frm::read(frmText, file.string());
    auto form = runtime::buildForm(rt, doc, file, {.userMode = true});
    form->call("Show");
    rt.advance(300);
    form->userDrag(form->width() * 1.5, form->height() * 0.75);
    rt.advance(300);
    runtime::storeForm(*form, doc);
    (void)frm::write(doc);
    form->unload();
  } catch (const frm::ParseError&) {
  } catch (const runtime::LoadError&) {
  }
  return 0;
}
