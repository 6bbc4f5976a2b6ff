#include <rescalo/cli/design.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

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

struct Step {
  std::string where;  // "script:3" or "--set"
  std::string text;
  bool exact = false;  // the value as typed, blanks included (--set); a script's is trimmed
};

// Text for a message on one line: line breaks and NULs shown as escapes.
std::string oneLine(std::string_view text) {
  std::string out;
  for (char c : text)
    out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\0' ? "\\0" : std::string(1, c);
  return out;
}

void complain(const Step& step, const std::string& why) {
  std::cerr << "rescalo: " << step.where << ": " << oneLine(step.text) << ": " << why << "\n";
}

// One edit "Page.Field=value"; the page it changed, or nothing (after a message on stderr)
// when it cannot be done.
host::PropertyPage* perform(host::PropertySheet& sheet, const Step& step) {
  auto fail = [&](const std::string& why) -> host::PropertyPage* {
    complain(step, why);
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
  qt::PropertySheetDialog dialog(sheet);
  dialog.setWindowTitle(QString::fromStdString(rescalo.name + " Properties"));

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

int design(const std::vector<std::string>& args) {
  std::string in, out, script;
  std::vector<Step> steps;
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
    std::ifstream f(script);
    if (!f) {
      std::cerr << "rescalo: cannot read " << script << "\n";
      return 1;
    }
    std::string line;
    for (int n = 1; std::getline(f, line); ++n) {
      line = trim(line);
      if (!line.empty() && line[0] != '#')
        steps.push_back({script + ":" + std::to_string(n), line});
    }
  }
  if (out.empty()) out = in;

  runtime::RuntimeOptions options;
  options.settingsFile = fs::temp_directory_path() / "rescalo-cli-settings";
  runtime::Runtime rt(options);
  control::registerRescalo(rt.userControls());
  rt.onOutput = [](const std::string& line) { std::cerr << line << "\n"; };
  try {
    runtime::LoadedForm lf = runtime::loadForm(rt, in, {.userMode = false});
    runtime::Control* rescalo = nullptr;
    for (const auto& c : lf.form->controls)
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
      host::ServicesPageSite site(rt);
      host::PropertySheet sheet(pages::createPropertyPages(site));
      std::vector<std::string> failures;
      sheet.report = [&](const std::string& m) { failures.push_back(m); };
      sheet.select({rescalo->shared_from_this()});
      sheet.show(0);
      std::map<const host::PropertyPage*, const Step*> lastEdit;
      for (const Step& s : steps) {
        host::PropertyPage* page = perform(sheet, s);
        if (!page) return 1;  // nothing is saved
        lastEdit[page] = &s;
        rt.advance(150);  // as a developer pauses: deferred checks of the pages run
      }
      for (const std::string& m : failures) std::cerr << "rescalo: " << m << "\n";
      if (!failures.empty()) return 1;
      // OK: apply the changed pages, then save the form through WriteProperties. A page that
      // fails stays changed; its failure is told with the last edit made on it.
      if (!sheet.apply()) {
        std::size_t told = 0;
        for (const auto& p : sheet.pages())
          if (p->Changed() && told < failures.size()) {
            const Step* edit = lastEdit.count(p.get()) ? lastEdit[p.get()] : nullptr;
            if (edit)
              complain(*edit, failures[told++]);
            else
              std::cerr << "rescalo: " << p->caption() << ": " << failures[told++] << "\n";
          }
        for (; told < failures.size(); ++told) std::cerr << "rescalo: " << failures[told] << "\n";
        return 1;
      }
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
