#pragma once
// Forms from .frm files, and back: builds a live form from a form document (with the
// pictures of its .frx companion) and writes a live form's state into its document.

#include <filesystem>
#include <memory>

#include <rescalo/host/error.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/runtime.h>

namespace rescalo::runtime {

class Form;

struct LoadOptions {
  bool userMode = true;  // run mode; false: design mode, as the form designer loads it
  // The code page of text whose font names no Charset (a form written on a system whose ANSI
  // code page was not 1252); 0: 1252, as the classic runtime reads such a form.
  int codePage = 0;
};

// A form and the document it came from.
struct LoadedForm {
  std::shared_ptr<Form> form;
  frm::Document document;
  std::filesystem::path path;
};

// A stored value the classic runtime refuses when it loads a form, with its error number:
// Overflow for a number outside its property's type, Invalid property value for one the
// property does not take. Says `<file>:<line>: <Name> = <value>: <description>`.
class LoadError : public host::HostError {
 public:
  LoadError(int number, const std::string& file, const frm::Property& property);
  // For a value that spans lines (a property block), `what` names it.
  LoadError(int number, const std::string& file, int line, const std::string& what);
};

// Reads and builds a form; a malformed file throws frm::ParseError (file:line: expected ...),
// a refused value LoadError. A missing .frx leaves its pictures out with a warning in the
// runtime, and so does a reference to a file outside the form's folder, which is never opened.
LoadedForm loadForm(Runtime& rt, const std::filesystem::path& file, LoadOptions options = {});
std::shared_ptr<Form> buildForm(Runtime& rt, const frm::Document& document,
                                const std::filesystem::path& file, LoadOptions options = {});

// Writes the form's current geometry, captions and user-control properties into the
// document (the rest of the document stays as it was).
void storeForm(Form& form, frm::Document& document);

// Places a new user control of a registered class on the form (design mode: InitProperties)
// and gives it a block in the document; returns its name.
std::string addUserControl(Form& form, frm::Document& document, const std::string& className,
                           const std::string& baseName, double left, double top);

// Interprets a raw property value of a form file as the classic runtime would read it.
host::Variant valueOf(const frm::Property& property);
// The raw text and comment for writing a value back.
std::pair<std::string, std::string> rawOf(const host::Variant& value);

}  // namespace rescalo::runtime
