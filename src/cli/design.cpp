#include <rescalo/cli/design.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

#include <rescalo/cli/codepage.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/host/property_page.h>
#include <rescalo/pages/pages.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/user_control_host.h>

#if RESCALO_HAS_QT
#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <rescalo/qt/page_site.h>
#include <rescalo/qt/property_sheet.h>
#endif

namespace rescalo::cli {

namespace fs = std::filesystem;

namespace {

std::string trim(std::string s) {
  auto b = s.find_first_not_of(" \t\r");
  auto e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// Text for a message on one line: line breaks and NULs shown as escapes.
std::string oneLine(std::string_view text) {
  std::string out;
  for (char c : text)
    out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\0' ? "\\0" : std::string(1, c);
  return out;
}

void complain(std::ostream& err, const Edit& step, const std::string& why) {
  err << "rescalo: " << step.where << ": " << oneLine(step.text) << ": " << why << "\n";
}

// One edit "Page.Field=value"; the page it changed, or nothing (after a message on err)
// when it cannot be done.
host::PropertyPage* perform(host::PropertySheet& sheet, const Edit& step, std::ostream& err) {
  auto fail = [&](const std::string& why) -> host::PropertyPage* {
    complain(err, step, why);
    return nullptr;
  };
  auto eq = step.text.find('=');
  auto dot = step.text.find('.');
  if (eq == std::string::npos || dot == std::string::npos || dot > eq)
    return fail("expected Page.Field=value");
  std::string pageName = trim(step.text.substr(0, dot));
  std::string fieldName = trim(step.text.substr(dot + 1, eq - dot - 1));
  std::string value = step.text.substr(eq + 1);
  if (!step.exact) value = trim(value);
  host::PropertyPage* page = sheet.page(pageName);
  if (!page) {
    std::string names;
    for (const auto& p : sheet.pages()) names += " " + p->caption();
    return fail("no page " + pageName + " (pages:" + names + ")");
  }
  if (!sheet.show(sheet.indexOf(*page))) return nullptr;
  host::PageField* field = page->field(fieldName);
  if (!field || field->kind() == host::FieldKind::Label) {
    std::string names;
    for (host::PageField* f : page->fields())
      if (f->kind() != host::FieldKind::Label) names += " " + f->name();
    return fail("no field " + fieldName + " on " + page->caption() + " (fields:" + names + ")");
  }
  if (!field->enabled()) return fail(field->name() + " is disabled");
  // What the form file cannot hold is refused now, not found when the saved form is read.
  if (field->kind() == host::FieldKind::TextBox)
    if (auto why = frm::whyNotQuotable(value))
      return fail(page->caption() + "." + field->name() + ": a .frm cannot hold " + *why);
  bool ok = true;
  auto report = sheet.report;
  sheet.report = [&](const std::string& m) {
    ok = false;
    fail(m);
  };
  sheet.run([&] { field->perform(value); });
  sheet.report = report;
  return ok ? page : nullptr;
}

struct WindowOptions {
  bool accept = false;      // press OK once the sheet is shown
  std::string screenshots;  // write a picture of each tab here, then close
};

#if RESCALO_HAS_QT
constexpr int kAccepted = -1;

// The property sheet in a real window; kAccepted once OK applied every page, otherwise the
// command's exit status (nothing is to be saved).
int runWindow(runtime::Control& rescalo, const WindowOptions& options) {
  static int argc = 1;
  static char name[] = "rescalo";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  qt::QtPageSite site;
  host::PropertySheet sheet(pages::createPropertyPages(site));
  sheet.report = [](const std::string& m) { std::cerr << "rescalo: " << m << "\n"; };
  sheet.select({rescalo.shared_from_this()});
  qt::PropertySheetDialog dialog(sheet, nullptr, control::aboutInfo());
  dialog.setWindowTitle(QString::fromStdString(rescalo.name() + " Properties"));

  bool failed = false;
  if (!options.screenshots.empty()) {
    fs::create_directories(options.screenshots);
    QTimer::singleShot(0, &dialog, [&] {
      for (int i = 0; i < dialog.tabs().count(); ++i) {
        dialog.tabs().setCurrentIndex(i);
        QApplication::processEvents();
        fs::path file = fs::path(options.screenshots) /
                        ("sheet-" + dialog.tabs().tabText(i).toStdString() + ".png");
        if (dialog.grab().save(QString::fromStdString(file.string()))) {
          std::cout << "wrote " << file.string() << "\n";
        } else {
          std::cerr << "rescalo: cannot write " << file.string() << "\n";
          failed = true;
        }
      }
      dialog.reject();
    });
  } else if (options.accept) {
    QTimer::singleShot(0, &dialog, [&] {
      dialog.okButton().click();
      // A page that failed to apply keeps the sheet open: close it without saving.
      if (dialog.isVisible()) {
        failed = true;
        dialog.reject();
      }
    });
  }
  bool accepted = dialog.exec() == QDialog::Accepted;
  if (failed) return 1;
  if (!options.screenshots.empty()) return 0;
  if (!accepted) {
    std::cerr << "cancelled: nothing saved\n";
    return 0;
  }
  return kAccepted;
}
#endif

}  // namespace

std::vector<Edit> readScript(std::string_view text, const std::string& name) {
  std::vector<Edit> edits;
  int n = 0;
  for (std::size_t pos = 0; pos < text.size(); ++n) {
    std::size_t nl = text.find('\n', pos);
    std::string line = trim(std::string(text.substr(pos, nl - pos)));
    pos = nl == std::string_view::npos ? text.size() : nl + 1;
    if (!line.empty() && line[0] != '#')
      edits.push_back({name + ":" + std::to_string(n + 1), line});
  }
  return edits;
}

bool editPages(runtime::Runtime& rt, runtime::Control& rescalo, const std::vector<Edit>& edits,
               std::ostream& err) {
  host::ServicesPageSite site(rt);
  host::PropertySheet sheet(pages::createPropertyPages(site));
  std::vector<std::string> failures;
  sheet.report = [&](const std::string& m) { failures.push_back(m); };
  sheet.select({rescalo.shared_from_this()});
  sheet.show(0);
  std::map<const host::PropertyPage*, const Edit*> lastEdit;
  for (const Edit& e : edits) {
    host::PropertyPage* page = perform(sheet, e, err);
    if (!page) return false;
    lastEdit[page] = &e;
    rt.advance(150);  // as a developer pauses: deferred checks of the pages run
  }
  for (const std::string& m : failures) err << "rescalo: " << m << "\n";
  if (!failures.empty()) return false;
  // OK: apply the changed pages. A page that fails stays changed; its failure is told with the
  // last edit made on it.
  if (sheet.apply()) return true;
  std::size_t told = 0;
  for (const auto& p : sheet.pages()) {
    if (!p->Changed() || told >= failures.size()) continue;
    if (auto last = lastEdit.find(p.get()); last != lastEdit.end())
      complain(err, *last->second, failures[told++]);
    else
      err << "rescalo: " << p->caption() << ": " << failures[told++] << "\n";
  }
  for (; told < failures.size(); ++told) err << "rescalo: " << failures[told] << "\n";
  return false;
}

int design(const std::vector<std::string>& args) {
  std::string in, out, script;
  std::vector<Edit> steps;
  WindowOptions window;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size())
      out = args[++i];
    else if (args[i] == "--accept")
      window.accept = true;
    else if (args[i] == "--screenshots" && i + 1 < args.size())
      window.screenshots = args[++i];
    else if (args[i] == "--script" && i + 1 < args.size())
      script = args[++i];
    else if (args[i] == "--set" && i + 1 < args.size())
      steps.push_back({"--set", args[++i], true});
    else if (in.empty() && args[i][0] != '-')
      in = args[i];
    else {
      std::cerr << "rescalo: design: unexpected " << args[i] << "\n";
      return 2;
    }
  }
  bool headless = !script.empty() || !steps.empty();
  if (in.empty() || (headless && (window.accept || !window.screenshots.empty()))) {
    std::cerr << "usage: rescalo design FORM.frm [-o OUT.frm] [--accept | --screenshots DIR]\n"
                 "       rescalo design FORM.frm [-o OUT.frm] (--script FILE | --set "
                 "Page.Field=value ...)\n";
    return 2;
  }
#if !RESCALO_HAS_QT
  if (!headless) {
    std::cerr << "rescalo: design: this build has no Qt host to open the property sheet in; "
                 "edit headless with --script FILE or --set Page.Field=value\n";
    return 2;
  }
#else
  if (!headless && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM") &&
      !qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
    std::cerr << "rescalo: design: no display to open the property sheet on; set DISPLAY (or "
                 "QT_QPA_PLATFORM=offscreen), or edit headless with --script FILE or --set "
                 "Page.Field=value\n";
    return 1;
  }
#endif
  if (!script.empty()) {
    std::ifstream f(script, std::ios::binary);
    if (!f) {
      std::cerr << "rescalo: cannot read " << script << "\n";
      return 1;
    }
    std::string text{std::istreambuf_iterator<char>(f), {}};
    for (Edit& e : readScript(text, script)) steps.push_back(std::move(e));
  }
  if (out.empty()) out = in;

  runtime::RuntimeOptions options;
  options.settingsFile = fs::temp_directory_path() / "rescalo-cli-settings";
  runtime::Runtime rt(options);
  control::registerRescalo(rt.userControls());
  rt.onOutput = [](const std::string& line) { std::cerr << line << "\n"; };
  try {
    runtime::LoadedForm lf = runtime::loadForm(rt, in, {.userMode = false, .codePage = codePage()});
    runtime::Control* rescalo = nullptr;
    for (const auto& c : lf.form->controls())
      if (c->typeName() == "Rescalo" && !rescalo) rescalo = c.get();
    if (!rescalo) {
      std::string name =
          runtime::addUserControl(*lf.form, lf.document, control::kRescaloClass, "Rescalo", 0, 0);
      std::cerr << "added " << name << "\n";
      rescalo = lf.form->find(name);
    }
    auto* extender = dynamic_cast<runtime::UserControlHost*>(rescalo);
    extender->changedProperties.clear();

    if (headless) {
      if (!editPages(rt, *rescalo, steps, std::cerr)) return 1;  // nothing is saved
    } else {
#if RESCALO_HAS_QT
      int status = runWindow(*rescalo, window);
      if (status != kAccepted) return status;
#endif
    }
    std::vector<std::string> written;
    for (const auto& p : extender->changedProperties)
      if (std::find(written.begin(), written.end(), p) == written.end()) written.push_back(p);
    for (const auto& p : written) std::cout << "set " << p << "\n";
    runtime::storeForm(*lf.form, lf.document);
    fs::path tmp = fs::path(out).concat(".tmp");
    {
      std::ofstream f(tmp, std::ios::binary);
      f << frm::write(lf.document);
      if (!f) throw std::runtime_error("cannot write " + tmp.string());
    }
    fs::rename(tmp, out);
    std::cout << "saved " << out << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "rescalo: " << in << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace rescalo::cli
