#include "cli/inspect.h"

#include <iomanip>
#include <optional>

#include "cli/json.h"
#include "host/failure.h"
#include "runtime/frm/frm_document.h"

namespace cli {

using host::Variant;
using runtime::Control;
using runtime::Form;

namespace {

std::optional<double> number(host::Object& o, host::Name name) {
  auto v = host::tryGet(o, name);
  if (!v || !v->isNumeric()) return std::nullopt;
  return v->toDouble();
}

int charsetOf(Control& c, Form& form) { return c.font ? c.font->charset : form.font->charset; }

std::string containerKey(Control& c) {
  auto obj = c.containerRef();
  if (auto* parent = dynamic_cast<Control*>(obj.get())) return parent->key();
  if (auto* f = dynamic_cast<Form*>(obj.get())) return f->name;
  return {};
}

const char* kGeometry[] = {"Left", "Top", "Width", "Height", "X1", "Y1", "X2", "Y2"};
const char* kJsonGeometry[] = {"left", "top", "width", "height", "x1", "y1", "x2", "y2"};

}  // namespace

void inspectText(Form& form, std::ostream& out) {
  out << form.fileClass << " " << form.name << "  " << frm::toUtf8(form.caption, form.font->charset)
      << "\n";
  out << "  Width " << form.width() << "  Height " << form.height() << "  ScaleWidth "
      << form.scaleWidth() << "  ScaleHeight " << form.scaleHeight() << "  ScaleMode "
      << form.scale.mode() << "\n";
  for (const auto& c : form.controls) {
    out << "  " << std::left << std::setw(24) << c->key() << std::setw(28) << c->fileClass()
        << " in " << std::setw(16) << containerKey(*c);
    for (const char* g : kGeometry)
      if (auto v = number(*c, g)) out << " " << g << "=" << *v;
    if (c->font)
      out << "  font \"" << frm::toUtf8(c->font->name(), c->font->charset) << "\" "
          << c->font->size();
    out << "\n";
  }
}

void inspectJson(Form& form, std::ostream& out) {
  out << "{\"form\": {\"name\": " << jsonString(form.name)
      << ", \"class\": " << jsonString(form.fileClass)
      << ", \"width\": " << jsonNumber(form.width())
      << ", \"height\": " << jsonNumber(form.height())
      << ", \"scaleWidth\": " << jsonNumber(form.scaleWidth())
      << ", \"scaleHeight\": " << jsonNumber(form.scaleHeight())
      << ", \"scaleMode\": " << form.scale.mode() << "},\n \"controls\": [";
  bool first = true;
  for (const auto& c : form.controls) {
    out << (first ? "\n  " : ",\n  ");
    first = false;
    int cs = charsetOf(*c, form);
    out << "{\"key\": " << jsonString(frm::toUtf8(c->key(), cs))
        << ", \"class\": " << jsonString(c->fileClass())
        << ", \"container\": " << jsonString(frm::toUtf8(containerKey(*c), cs));
    for (std::size_t i = 0; i < std::size(kGeometry); ++i)
      if (auto v = number(*c, kGeometry[i]))
        out << ", \"" << kJsonGeometry[i] << "\": " << jsonNumber(*v);
    if (c->font)
      out << ", \"font\": {\"name\": " << jsonString(frm::toUtf8(c->font->name(), c->font->charset))
          << ", \"size\": " << jsonNumber(c->font->size()) << "}";
    out << "}";
  }
  out << "\n ]}\n";
}

}  // namespace cli
