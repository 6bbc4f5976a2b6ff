#include <rescalo/cli/report.h>

#include <array>
#include <cctype>
#include <iomanip>
#include <optional>

#include <rescalo/cli/json.h>
#include <rescalo/control/rescalo.h>
#include <rescalo/host/failure.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/user_control_host.h>

namespace rescalo::cli {

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

// Every setting as the control saves it, defaults included, in its order.
class RecordingBag : public host::PropertyBag {
 public:
  Variant ReadProperty(std::string_view, const Variant& d) override { return d; }
  void WriteProperty(std::string_view name, const Variant& value, const Variant&) override {
    entries.emplace_back(std::string(name), value);
  }
  std::vector<std::pair<std::string, Variant>> entries;
};

struct RescaloView {
  std::string key;
  std::vector<std::pair<std::string, Variant>> settings;
  struct Flags {
    std::string control;
    std::vector<std::string> set;  // names of the flags that are on
  };
  std::vector<Flags> flags;
};

std::vector<RescaloView> rescalos(Form& form) {
  std::vector<RescaloView> out;
  for (const auto& c : form.controls()) {
    auto* uc = dynamic_cast<runtime::UserControlHost*>(c.get());
    auto* r = uc ? dynamic_cast<control::Rescalo*>(&uc->control()) : nullptr;
    if (!r) continue;
    RescaloView v{c->key(), {}, {}};
    RecordingBag bag;
    r->WriteProperties(bag);
    for (auto& [name, value] : bag.entries) {
      // Per-control keys are shown as flags below; the design size as stored.
      if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0]))) continue;
      if (name.rfind("DesignForm", 0) == 0) continue;
      v.settings.emplace_back(name, value);
    }
    v.settings.emplace_back("DesignFormWidth", r->designFormWidth());
    v.settings.emplace_back("DesignFormHeight", r->designFormHeight());
    v.settings.emplace_back("DesignFormScaleWidth", r->designFormScaleWidth());
    v.settings.emplace_back("DesignFormScaleHeight", r->designFormScaleHeight());
    for (int n = 1; n <= r->ControlFlagCount(); ++n) {
      RescaloView::Flags f{r->ControlFlagControlKey(n), {}};
      for (int i = 0; i < control::kFlagCount; ++i)
        if (r->ControlFlag(static_cast<control::FlagIndex>(i), n))
          f.set.push_back(control::kFlagNames[static_cast<std::size_t>(i)]);
      v.flags.push_back(std::move(f));
    }
    out.push_back(std::move(v));
  }
  return out;
}

std::string jsonValue(const Variant& v) {
  if (v.type() == host::VarType::Boolean) return v.toBool() ? "true" : "false";
  if (v.isNumeric()) return jsonNumber(v.toDouble());
  return jsonString(v.toString());
}

}  // namespace

void formJson(Form& form, std::ostream& out) {
  out << "{\"name\": " << jsonString(frm::toUtf8(form.name, form.font ? form.font->charset : 0))
      << ", \"class\": " << jsonString(form.fileClass)
      << ", \"width\": " << jsonNumber(form.width())
      << ", \"height\": " << jsonNumber(form.height())
      << ", \"scaleWidth\": " << jsonNumber(form.scaleWidth())
      << ", \"scaleHeight\": " << jsonNumber(form.scaleHeight())
      << ", \"scaleMode\": " << form.scale.mode() << "}";
}

void controlsJson(Form& form, std::ostream& out, const char* indent) {
  out << "[";
  bool first = true;
  for (const auto& c : form.controls()) {
    out << (first ? "\n" : ",\n") << indent;
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
  out << "\n" << (indent + 1) << "]";
}

void controlsTable(Form& form, std::ostream& out) {
  out << "  " << std::left << std::setw(16) << "control" << std::right << std::setw(9) << "left"
      << std::setw(9) << "top" << std::setw(9) << "width" << std::setw(9) << "height"
      << std::setw(8) << "font"
      << "\n";
  for (const auto& c : form.controls()) {
    std::string_view type = c->typeName();
    if (type == "Menu" || type == "Timer" || type == "ImageList" || type == "Rescalo") continue;
    out << "  " << std::left << std::setw(16) << c->key() << std::right << std::fixed
        << std::setprecision(0);
    bool line = c->controlClass().geometry == runtime::Geometry::Line;
    for (const char* g :
         line ? std::array{"X1", "Y1", "X2", "Y2"} : std::array{"Left", "Top", "Width", "Height"})
      out << std::setw(9) << number(*c, g).value_or(0);
    if (c->font) out << std::setw(8) << std::setprecision(2) << c->font->size();
    out << std::defaultfloat << std::setprecision(6) << (line ? "  (line)" : "") << "\n";
  }
}

void inspectText(Form& form, std::ostream& out) {
  out << form.fileClass << " " << form.name << "  " << frm::toUtf8(form.caption, form.font->charset)
      << "\n";
  out << "  Width " << form.width() << "  Height " << form.height() << "  ScaleWidth "
      << form.scaleWidth() << "  ScaleHeight " << form.scaleHeight() << "  ScaleMode "
      << form.scale.mode() << "\n";
  for (const auto& c : form.controls()) {
    out << "  " << std::left << std::setw(24) << c->key() << std::setw(28) << c->fileClass()
        << " in " << std::setw(16) << containerKey(*c);
    for (const char* g : kGeometry)
      if (auto v = number(*c, g)) out << " " << g << "=" << *v;
    if (c->font)
      out << "  font \"" << frm::toUtf8(c->font->name(), c->font->charset) << "\" "
          << c->font->size();
    out << "\n";
  }
  for (const auto& r : rescalos(form)) {
    out << "Rescalo " << r.key << "\n";
    for (const auto& [name, value] : r.settings)
      out << "  " << name << " = " << value.toString() << "\n";
    for (const auto& f : r.flags) {
      out << "  flags of " << (f.control.empty() ? "(no control)" : f.control) << ":";
      for (const auto& n : f.set) out << " " << n;
      out << "\n";
    }
  }
}

void inspectJson(Form& form, std::ostream& out) {
  out << "{\"form\": ";
  formJson(form, out);
  out << ",\n \"controls\": ";
  controlsJson(form, out, "  ");
  auto views = rescalos(form);
  if (!views.empty()) {
    out << ",\n \"rescalo\": [";
    for (std::size_t i = 0; i < views.size(); ++i) {
      const auto& r = views[i];
      out << (i ? ",\n  " : "\n  ") << "{\"key\": " << jsonString(r.key) << ", \"settings\": {";
      for (std::size_t k = 0; k < r.settings.size(); ++k)
        out << (k ? ", " : "") << jsonString(r.settings[k].first) << ": "
            << jsonValue(r.settings[k].second);
      out << "}, \"flags\": [";
      for (std::size_t k = 0; k < r.flags.size(); ++k) {
        out << (k ? ", " : "") << "{\"control\": " << jsonString(r.flags[k].control)
            << ", \"set\": [";
        for (std::size_t j = 0; j < r.flags[k].set.size(); ++j)
          out << (j ? ", " : "") << jsonString(r.flags[k].set[j]);
        out << "]}";
      }
      out << "]}";
    }
    out << "\n ]";
  }
  out << "}\n";
}

}  // namespace rescalo::cli
