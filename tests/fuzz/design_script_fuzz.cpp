// Any bytes as a `design --script` file over a form with a control of each kind of page: the
// edits are made on the property pages and applied, or refused with a message; a form whose
// edits all applied is written and must read back.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include <rescalo/cli/design.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/runtime.h>

using namespace rescalo;

namespace {

namespace fs = std::filesystem;

// A text box (a font), a line (a border), a picture box (a picture), a frame with a label.
constexpr std::string_view kForm =
    "VERSION 5.00\n"
    "Begin VB.Form Form1\n   Caption = \"Orders\"\n   ClientHeight = 3000\n"
    "   ClientWidth = 5000\n"
    "   Begin VB.TextBox Text1\n      Height = 300\n      Left = 120\n      Top = 120\n"
    "      Width = 1200\n   End\n"
    "   Begin VB.Line Line1\n      BorderWidth = 2\n      X1 = 0\n      X2 = 900\n"
    "      Y1 = 500\n      Y2 = 500\n   End\n"
    "   Begin VB.PictureBox Picture1\n      Height = 600\n      Left = 120\n      Top = 900\n"
    "      Width = 600\n   End\n"
    "   Begin VB.Frame Frame1\n      Height = 1200\n      Left = 2000\n      Top = 120\n"
    "      Width = 2000\n"
    "      Begin VB.Label Label1\n         Height = 255\n         Left = 120\n"
    "         Top = 240\n         Width = 900\n      End\n   End\n"
    "   Begin RescaloControl.Rescalo Rescalo1\n      Left = 0\n      Top = 0\n"
    "      ControlFlagCount = 2\n      1ControlFlagControlKey = \"Text1\"\n"
    "      1ControlFlagDontScaleFont = -1\n      2ControlFlagControlKey = \"lblGone\"\n"
    "      2ControlFlagDontScaleLeft = -1\n   End\nEnd\n";

// Each edit lets the virtual clock run; more than this many is only slower, not new.
constexpr std::size_t kMaxEdits = 64;

const fs::path& workDir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("rescalo-fuzz-script-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view script(reinterpret_cast<const char*>(data), size);
  auto edits = cli::readScript(script, "fuzz.txt");
  if (edits.size() > kMaxEdits) edits.resize(kMaxEdits);
  runtime::RuntimeOptions options;
  options.settingsFile = workDir() / "settings";
  runtime::Runtime rt(options);
  control::registerRescalo(rt.userControls());
  std::ostringstream ignored;
  rt.onOutput = [&](const std::string& line) { ignored << line; };
  frm::Document doc = frm::read(kForm, "fuzz.frm");
  auto form = runtime::buildForm(rt, doc, workDir() / "fuzz.frm", {.userMode = false});
  runtime::Control* rescalo = form->find("Rescalo1");
  if (!rescalo) std::abort();
  if (!cli::editPages(rt, *rescalo, edits, ignored)) return 0;
  runtime::storeForm(*form, doc);
  const std::string text = frm::write(doc);
  try {
    (void)frm::read(text, "fuzz.frm");
  } catch (const frm::ParseError&) {
    std::abort();  // an edit the form file cannot hold was let through
  }
  return 0;
}
