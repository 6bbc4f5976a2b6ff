#include <rescalo/runtime/loader.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>

#include <rescalo/host/name.h>
#include <rescalo/host/window_api.h>
#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/raster/raster.h>
#include <rescalo/runtime/scale.h>
#include <rescalo/runtime/user_control_host.h>

namespace rescalo::runtime {

namespace fs = std::filesystem;
using host::Variant;

namespace {

bool isFontBlock(const frm::PropertyBlock& b) {
  return host::equalsNoCase(b.guid, "{0BE35203-8F91-11CE-9DE3-00AA004BB851}") ||
         (b.guid.empty() && host::equalsNoCase(b.name, "Font"));
}

std::shared_ptr<Font> fontFrom(const frm::PropertyBlock& b) {
  auto f = std::make_shared<Font>();
  for (const auto& e : b.entries) {
    const auto* p = std::get_if<frm::Property>(&e);
    if (!p) continue;
    Variant v = valueOf(*p);
    try {
      if (host::equalsNoCase(p->name, "Name"))
        f->setName(v.toString());
      else if (host::equalsNoCase(p->name, "Size"))
        f->setSize(v.toDouble());
      else if (host::equalsNoCase(p->name, "Weight"))
        f->setWeight(v.toInteger());
      else if (host::equalsNoCase(p->name, "Italic"))
        f->italic = v.toBool();
      else if (host::equalsNoCase(p->name, "Underline"))
        f->underline = v.toBool();
      else if (host::equalsNoCase(p->name, "Strikethrough"))
        f->strikethrough = v.toBool();
      else if (host::equalsNoCase(p->name, "Charset")) {
        f->charset = v.toInteger();
        f->charsetStored = true;
      }
    } catch (const host::HostError&) {
      // An odd stored font value keeps the default, as the designer would.
    }
  }
  return f;
}

bool isPictureProperty(std::string_view name) {
  for (const char* p :
       {"Picture", "DownPicture", "DisabledPicture", "Icon", "MouseIcon", "DragIcon"})
    if (host::equalsNoCase(name, p)) return true;
  return name.size() > 10 && host::equalsNoCase(name.substr(0, 10), "TabPicture");
}

// The range of a stored number: first the property's type (outside it, Overflow), then what
// the property takes (outside that, Invalid property value).
struct Range {
  double typeMin, typeMax, min, max;
};
constexpr double kLongMin = -2147483648.0, kLongMax = 2147483647.0;
constexpr Range kInteger{-32768, 32767, -32768, 32767};
constexpr Range kIndex{-32768, 32767, 0, 32767};
constexpr Range kLong{kLongMin, kLongMax, kLongMin, kLongMax};
// A window, and so a control, is at most as many pixels a side as the window system holds.
Range extentTwips() {
  return {kLongMin, kLongMax, 0, host::kMaxWindowPixels * ScaleState::twipsPerPixelX};
}
Range choice(double last) { return {-32768, 32767, 0, last}; }

// The stored number, checked against its range; nothing when the value is not a number.
std::optional<double> numberIn(const frm::Property& p, Range r, const std::string& file) {
  auto v = frm::parseNumber(p.value);
  if (!v) return std::nullopt;
  if (!(*v >= r.typeMin && *v <= r.typeMax)) throw LoadError(host::kOverflow, file, p);
  if (*v < r.min || *v > r.max) throw LoadError(host::kInvalidPropertyValue, file, p);
  return v;
}

std::optional<double> numberIn(const frm::Block& b, std::string_view name, Range r,
                               const std::string& file) {
  const frm::Property* p = b.property(name);
  return p ? numberIn(*p, r, file) : std::nullopt;
}

// The .frx companions of a form, each read once, by the name its references give. Only files
// in the form's folder or below it are read: a reference that is absolute or climbs out of the
// folder is refused with a warning and never opened, and its picture is left out.
class Frx {
 public:
  Frx(Runtime& rt, fs::path formFile) : rt_(rt), formFile_(std::move(formFile)) {}
  int codePage = 1252;  // of the names it is given
  const std::vector<std::uint8_t>* bytes(const frm::FrxRef& ref, int line) {
    auto [it, added] = files_.try_emplace(ref.file);
    if (added) it->second = readCompanion(ref.file, line);
    return it->second ? &*it->second : nullptr;
  }
  Variant picture(const frm::FrxRef& ref, int line) {
    const auto* b = bytes(ref, line);
    if (!b) return Variant(nullptr);
    auto bm = raster::readFrxPicture(*b, ref.offset);
    if (!bm) return Variant(nullptr);
    return Variant(host::ObjectPtr(makePicture(std::move(*bm))));
  }
  std::optional<std::string> text(const frm::FrxRef& ref, int line) {
    const auto* b = bytes(ref, line);
    if (!b) return std::nullopt;
    return raster::readFrxText(*b, ref.offset);
  }
  std::optional<std::vector<std::string>> list(const frm::FrxRef& ref, int line) {
    const auto* b = bytes(ref, line);
    if (!b) return std::nullopt;
    return raster::readFrxList(*b, ref.offset);
  }

 private:
  std::optional<std::vector<std::uint8_t>> readCompanion(const std::string& name, int line) {
    const std::string where = formFile_.string() + ":" + std::to_string(line) + ": ";
    const std::string shown = frm::decode(name, codePage);  // for messages
    std::string portable = name;
    // A name in the form's code page may be on disk in UTF-8; its trail bytes may be backslashes,
    // so it is decoded before they become slashes.
    if (std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; })) {
      std::string decoded = shown;
      std::replace(decoded.begin(), decoded.end(), '\\', '/');
      std::error_code ec;
      if (fs::exists(formFile_.parent_path() / fs::path(decoded).lexically_normal(), ec))
        portable = decoded;
    }
    std::replace(portable.begin(), portable.end(), '\\', '/');  // as the classic designer writes
    fs::path relative = fs::path(portable).lexically_normal();
    bool climbs = !relative.empty() && *relative.begin() == "..";
    if (relative.is_absolute() || relative.has_root_name() || relative.has_root_directory() ||
        portable.find(':') != std::string::npos || climbs) {
      rt_.warn(where + "\"" + shown +
               "\" is outside the form's folder and is not read; its pictures are left out");
      return std::nullopt;
    }
    std::error_code ec;
    fs::path folder = formFile_.parent_path();
    if (folder.empty()) folder = ".";
    folder = fs::weakly_canonical(folder, ec);
    fs::path target = ec ? fs::path() : fs::weakly_canonical(folder / relative, ec);
    // A link inside the folder must not lead out of it either.
    auto [f, t] = std::mismatch(folder.begin(), folder.end(), target.begin(), target.end());
    if (ec || f != folder.end()) {
      rt_.warn(where + "\"" + shown +
               "\" leads outside the form's folder and is not read; its pictures are left out");
      return std::nullopt;
    }
    if (fs::is_directory(target, ec))
      throw frm::ParseError(formFile_.string(), line,
                            "a .frx file beside the form, not the folder \"" + shown + "\"");
    std::ifstream in;
    if (fs::is_regular_file(target, ec)) in.open(target, std::ios::binary);
    if (!in.is_open() || !in) {
      rt_.warn(formFile_.string() + ": " + shown + " not found; its pictures are left out");
      return std::nullopt;
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

  Runtime& rt_;
  fs::path formFile_;
  std::map<std::string, std::optional<std::vector<std::uint8_t>>> files_;
};

// The property bag of a user control: its block in the form file.
class BlockBag : public host::PropertyBag {
 public:
  explicit BlockBag(const frm::Block* block, int codePage = 1252)
      : block_(block), codePage_(codePage) {}
  Variant ReadProperty(std::string_view name, const Variant& defaultValue) override {
    if (!block_) return defaultValue;
    const frm::Property* p = block_->property(name);
    return p ? valueOf(*p) : defaultValue;
  }
  void WriteProperty(std::string_view name, const Variant& value,
                     const Variant& defaultValue) override {
    // As the classic bag does, a value equal to its default is not written.
    if (!defaultValue.isEmpty() && value == defaultValue) return;
    auto [raw, comment] = rawOf(value);
    // Text typed at design time is UTF-8 and is stored in the form's code page; text as it was
    // read keeps its bytes.
    if (const std::string* text = value.stringPtr(); text && frm::isValidUtf8(*text)) {
      const frm::Property* was = block_ ? block_->property(name) : nullptr;
      if (!was || frm::unquote(was->value) != *text)
        raw = frm::quote(frm::encode(*text, codePage_));
    }
    written.push_back(frm::Property{std::string(name), raw, comment, 0});
  }
  std::vector<frm::Property> written;

 private:
  const frm::Block* block_;
  int codePage_;
};

struct Builder {
  Runtime& rt;
  Form& form;
  Frx frx;
  LoadOptions options;
  std::string fileName;
  // Each user control with its block, whose properties it reads once the form exists.
  std::vector<std::pair<UserControlHost*, const frm::Block*>> userControls;

  void applyGeometry(Control& c, const frm::Block& b) {
    bool hasW = false, hasH = false;
    const Range extent = extentTwips();
    for (const auto& e : b.entries) {
      const auto* p = std::get_if<frm::Property>(&e);
      if (!p) continue;
      const std::string& n = p->name;
      // Positions and sizes are stored in twips; a line's end points in its container's units.
      if (host::equalsNoCase(n, "Left")) {
        if (auto v = numberIn(*p, kLong, fileName)) c.left = *v;
      } else if (host::equalsNoCase(n, "Top")) {
        if (auto v = numberIn(*p, kLong, fileName)) c.top = *v;
      } else if (host::equalsNoCase(n, "Width")) {
        if (auto v = numberIn(*p, extent, fileName)) c.width = *v, hasW = true;
      } else if (host::equalsNoCase(n, "Height")) {
        if (auto v = numberIn(*p, extent, fileName)) c.height = *v, hasH = true;
      } else if (host::equalsNoCase(n, "X1")) {
        // Kept as stored until every container's scale is known (see convertLines).
        if (auto v = numberIn(*p, kLong, fileName)) c.x1 = *v;
      } else if (host::equalsNoCase(n, "X2")) {
        if (auto v = numberIn(*p, kLong, fileName)) c.x2 = *v;
      } else if (host::equalsNoCase(n, "Y1")) {
        if (auto v = numberIn(*p, kLong, fileName)) c.y1 = *v;
      } else if (host::equalsNoCase(n, "Y2")) {
        if (auto v = numberIn(*p, kLong, fileName)) c.y2 = *v;
      }
    }
    // Windowless ActiveX controls store only their extent, in HIMETRIC.
    const Range himetric{kLongMin, kLongMax, 0, extent.max * 2540.0 / 1440.0};
    if (!hasW)
      if (auto v = numberIn(b, "_ExtentX", himetric, fileName))
        c.width = std::round(*v * 1440.0 / 2540.0);
    if (!hasH)
      if (auto v = numberIn(b, "_ExtentY", himetric, fileName))
        c.height = std::round(*v * 1440.0 / 2540.0);
  }

  // A stored value as the runtime reads it: pictures and long text from the .frx.
  Variant read(const frm::Property& p) {
    Variant v = valueOf(p);
    if (auto ref = frm::parseFrxRef(p.value)) {
      if (isPictureProperty(p.name) && !ref->textBlob) {
        v = frx.picture(*ref, p.line);
      } else if (auto text = frx.text(*ref, p.line)) {
        v = Variant(*text);
      }
    }
    return v;
  }

  void applyProperties(Control& c, const frm::Block& b) {
    // A user control's own properties belong to its property bag, not to the extender.
    bool userControl = dynamic_cast<UserControlHost*>(&c) != nullptr;
    // A common control reads its own values and nested blocks (images, buttons, tabs).
    auto* common = dynamic_cast<CommonControl*>(&c);
    ValueReader reader = [this](const frm::Property& p) { return read(p); };
    for (const auto& e : b.entries) {
      if (userControl) {
        const auto* p = std::get_if<frm::Property>(&e);
        if (!p || !(host::equalsNoCase(p->name, "Visible") ||
                    host::equalsNoCase(p->name, "Enabled") || host::equalsNoCase(p->name, "Tag")))
          continue;
      }
      if (const auto* pb = std::get_if<frm::PropertyBlock>(&e)) {
        if (!isFontBlock(*pb)) {
          try {
            if (common) common->loadBlock(*pb, reader);
          } catch (const host::HostError& err) {
            throw LoadError(err.number(), fileName, pb->line, "BeginProperty " + pb->name);
          }
          continue;
        }
        auto f = fontFrom(*pb);
        if (host::equalsNoCase(pb->name, "Font"))
          c.font = f;
        else
          c.stored.set(pb->name, Variant(host::ObjectPtr(f)));  // DayFont, HeadFont...
        continue;
      }
      const auto* p = std::get_if<frm::Property>(&e);
      if (!p) continue;
      const std::string& n = p->name;
      if (host::equalsNoCase(n, "Left") || host::equalsNoCase(n, "Top") ||
          host::equalsNoCase(n, "Width") || host::equalsNoCase(n, "Height") ||
          host::equalsNoCase(n, "X1") || host::equalsNoCase(n, "X2") ||
          host::equalsNoCase(n, "Y1") || host::equalsNoCase(n, "Y2") ||
          host::equalsNoCase(n, "Index"))
        continue;
      Variant v = read(*p);
      checkType(*p, v);
      if (auto* list = dynamic_cast<ListControl*>(&c); list && loadList(*list, *p)) {
        c.stored.set(n, v);  // and written back as the file has it
        continue;
      }
      try {
        if (common && common->loadProperty(n, v)) continue;
      } catch (const host::HostError& err) {
        throw LoadError(err.number(), fileName, *p);
      }
      assign(c, c.stored, n, v);
    }
  }

  // A list's items, and each item's ItemData (kept in the .frx as decimal text), from the
  // entries the file points at. An entry that cannot be read leaves the list as it is.
  bool loadList(ListControl& list, const frm::Property& p) {
    const bool items = host::equalsNoCase(p.name, "List");
    const auto ref = frm::parseFrxRef(p.value);
    if (!ref || !(items || host::equalsNoCase(p.name, "ItemData"))) return false;
    auto entries = frx.list(*ref, p.line);
    if (!entries) return true;
    if (items) {
      list.setItems(std::move(*entries));
      return true;
    }
    std::vector<std::int32_t> data;
    for (const std::string& e : *entries) {
      std::int32_t value = 0;
      std::from_chars(e.data(), e.data() + e.size(), value);
      data.push_back(value);
    }
    list.setItemData(data);
    return true;
  }

  // The stored values the runtime reads itself have their type checked now, as the classic
  // runtime checks them when it loads the form (Type mismatch, Overflow).
  void checkType(const frm::Property& p, const Variant& v) const {
    const bool boolean = host::equalsNoCase(p.name, "AutoSize") ||
                         host::equalsNoCase(p.name, "Visible") ||
                         host::equalsNoCase(p.name, "Enabled");
    const bool integer = host::equalsNoCase(p.name, "Align") ||
                         host::equalsNoCase(p.name, "BorderStyle") ||
                         host::equalsNoCase(p.name, "BorderWidth");
    try {
      if (boolean) (void)v.toBool();
      if (integer) (void)v.toInteger();
    } catch (const host::HostError& e) {
      throw LoadError(e.number(), fileName, p);
    }
  }

  // A stored value goes through the object's own member when it has one that takes it, so
  // the file and a running program set properties the same way; anything else is kept by name.
  static void assign(host::Object& o, StoredProperties& stored, const std::string& n,
                     const Variant& v) {
    if (isScaleProperty(n)) return;  // applied with the scale, once the client size is known
    try {
      if (o.trySet(n, {}, v)) return;
    } catch (const host::HostError&) {
      // a value the member refuses (or a read-only member) is still kept as the file has it
    }
    stored.set(n, v);
  }

  static bool isScaleProperty(std::string_view n) {
    for (const char* s : {"ScaleMode", "ScaleWidth", "ScaleHeight", "ScaleLeft", "ScaleTop"})
      if (host::equalsNoCase(n, s)) return true;
    return false;
  }

  void convertLines() {
    for (const auto& c : form.controls()) {
      if (c->controlClass().geometry != Geometry::Line) continue;
      ScaleSpace s = c->space();
      c->x1 = s.toTwipsX(c->x1), c->x2 = s.toTwipsX(c->x2);
      c->y1 = s.toTwipsY(c->y1), c->y2 = s.toTwipsY(c->y2);
    }
  }

  // The scale of a surface from its stored ScaleMode/ScaleWidth/..., given its client size.
  void applyScale(Surface& s, const frm::Block& b) {
    auto num = [&](std::string_view n, Range r) { return numberIn(b, n, r, fileName); };
    int mode = static_cast<int>(num("ScaleMode", choice(vbHimetric)).value_or(vbTwips));
    if (mode == vbUser) {
      double cw = s.clientWidthTwips(), ch = s.clientHeightTwips();
      // A user scale of no width would divide by zero: the classic runtime refuses it.
      const Range nonZero{kLongMin, kLongMax, kLongMin, kLongMax};
      double sw = num("ScaleWidth", nonZero).value_or(cw);
      double sh = num("ScaleHeight", nonZero).value_or(ch);
      if (const frm::Property* p = b.property("ScaleWidth"); p && sw == 0)
        throw LoadError(host::kInvalidPropertyValue, fileName, *p);
      if (const frm::Property* p = b.property("ScaleHeight"); p && sh == 0)
        throw LoadError(host::kInvalidPropertyValue, fileName, *p);
      if (sw != 0 && sh != 0)
        s.scale.setUser(num("ScaleLeft", kLong).value_or(0), num("ScaleTop", kLong).value_or(0), sw,
                        sh, cw, ch);
    } else if (mode > vbUser && mode <= vbHimetric) {
      s.scale.setMode(mode);
    }
  }

  void addChildren(const frm::Block& parent, ContainerBase& container) {
    for (const frm::Block* b : parent.children()) {
      std::shared_ptr<Control> c;
      if (auto uc = rt.userControls().create(b->className)) {
        c = std::make_shared<UserControlHost>(b->className, classFor(b->className), uc,
                                              options.userMode);
      } else {
        c = createControl(b->className);
      }
      auto index = numberIn(*b, "Index", kIndex, fileName);
      c->rename(b->name, index ? static_cast<int>(*index) : -1);
      form.add(c, container);
      if (auto* uc = dynamic_cast<UserControlHost*>(c.get())) userControls.emplace_back(uc, b);
      applyGeometry(*c, *b);
      applyProperties(*c, *b);
      if (auto* timer = dynamic_cast<TimerControl*>(c.get())) timer->attach(rt.clock());
      if (auto* box = dynamic_cast<PictureBox*>(c.get())) {
        applyScale(*box, *b);
        box->resizeSurface();
      }
      addChildren(*b, *c);
    }
  }
};

// A stored Boolean; a value that is none fails as the classic runtime fails (Type mismatch).
bool booleanOf(const frm::Property& p, const Variant& v, const std::string& file) {
  try {
    return v.toBool();
  } catch (const host::HostError& e) {
    throw LoadError(e.number(), file, p);
  }
}

// A whole number of the document (one that loaded, so checked against its range already).
int intOf(const frm::Block& b, std::string_view name, int fallback) {
  const frm::Property* p = b.property(name);
  if (!p) return fallback;
  auto v = frm::parseNumber(p->value);
  return v && *v >= kLongMin && *v <= kLongMax ? static_cast<int>(*v) : fallback;
}

}  // namespace

LoadError::LoadError(int number, const std::string& file, const frm::Property& property)
    : LoadError(number, file, property.line, property.name + " = " + property.value) {}

LoadError::LoadError(int number, const std::string& file, int line, const std::string& what)
    : host::HostError(number, file + ":" + std::to_string(line) + ": " + what + ": " +
                                  std::string(host::standardDescription(number))) {}

Variant valueOf(const frm::Property& p) {
  if (auto s = frm::unquote(p.value)) return Variant(*s);
  if (auto b = frm::parseBool(p.value); b && !p.comment.empty()) {
    // -1 'True / 0 'False: a Boolean, whatever the comment's language.
    std::string_view c = p.comment;
    if (c.find("True") != std::string_view::npos || c.find("False") != std::string_view::npos)
      return Variant(*b);
  }
  if (auto n = frm::parseNumber(p.value)) {
    double v = *n;
    if (v == std::floor(v) && std::fabs(v) <= 2147483647.0) {
      if (v >= -32768 && v <= 32767 && p.value.find('&') == std::string::npos)
        return Variant(static_cast<std::int16_t>(v));
      return Variant(static_cast<std::int32_t>(v));
    }
    return Variant(v);
  }
  return Variant(p.value);  // frx references and anything else, as written
}

std::pair<std::string, std::string> rawOf(const Variant& v) {
  switch (v.type()) {
    case host::VarType::Boolean:
      return {frm::formatBool(v.toBool()), frm::boolComment(v.toBool())};
    case host::VarType::String:
      return {frm::quote(*v.stringPtr()), {}};
    case host::VarType::Single:
      return {frm::formatNumber(v.toSingle()), {}};
    case host::VarType::Double:
      return {frm::formatNumber(v.toDouble()), {}};
    case host::VarType::Empty:
      return {"\"\"", {}};
    default:
      return {v.toString(), {}};
  }
}

std::shared_ptr<Form> buildForm(Runtime& rt, const frm::Document& doc, const fs::path& file,
                                LoadOptions options) {
  const frm::Block& fb = doc.form;
  bool mdi = host::equalsNoCase(fb.className, "VB.MDIForm");
  auto form = std::make_shared<Form>(rt, mdi);
  form->designMode = !options.userMode;
  form->holdAligned = true;
  form->fileClass = fb.className;
  form->name = fb.name;
  const std::string fileName = file.string();
  // The form's own numbers, checked before any is used.
  const Range extent = extentTwips();
  for (const char* n : {"ClientWidth", "ClientHeight"}) numberIn(fb, n, extent, fileName);
  for (const char* n : {"ClientLeft", "ClientTop"}) numberIn(fb, n, kLong, fileName);
  numberIn(fb, "BorderStyle", choice(5), fileName);
  numberIn(fb, "WindowState", choice(2), fileName);
  form->borderStyle = intOf(fb, "BorderStyle", 2);
  Builder builder{rt, *form, Frx(rt, file), options, fileName, {}};
  if (options.codePage) builder.frx.codePage = options.codePage;
  for (const auto& e : fb.entries) {
    if (const auto* pb = std::get_if<frm::PropertyBlock>(&e)) {
      if (isFontBlock(*pb) && host::equalsNoCase(pb->name, "Font")) {
        form->font = fontFrom(*pb);
        if (form->font->charsetStored || !options.codePage)
          builder.frx.codePage = frm::codePageOf(form->font->charset);
      }
      continue;
    }
    const auto* p = std::get_if<frm::Property>(&e);
    if (!p) continue;
    const std::string& n = p->name;
    Variant v = valueOf(*p);
    if (auto ref = frm::parseFrxRef(p->value); ref && isPictureProperty(n) && !ref->textBlob)
      v = builder.frx.picture(*ref, p->line);
    if (host::equalsNoCase(n, "MDIChild")) {
      form->mdiChild = booleanOf(*p, v, fileName);
    } else if (host::equalsNoCase(n, "Visible")) {
      form->stored.set(n, Variant(booleanOf(*p, v, fileName)));  // applied when the form runs
    } else if (host::equalsNoCase(n, "WindowState")) {
      form->stored.set(n, v);
    } else {
      Builder::assign(*form, form->stored, n, v);
    }
  }
  // The children first: the menu bar and aligned boxes decide the client area.
  builder.addChildren(fb, *form);
  double cw = intOf(fb, "ClientWidth", 4680), ch = intOf(fb, "ClientHeight", 3195);
  FrameMetrics f = frameFor(form->borderStyle);
  double cl = intOf(fb, "ClientLeft", static_cast<int>(f.width / 2));
  double ct = intOf(fb, "ClientTop", static_cast<int>(f.height - f.width / 2));
  form->holdAligned = false;
  form->setInitialBounds(cl - f.width / 2, ct - (f.height - f.width / 2), cw + f.width,
                         ch + f.height + form->menuBarHeight());
  builder.applyScale(*form, fb);
  builder.convertLines();
  if (const int cs = frm::charsetOf(options.codePage); cs >= 0) {
    auto named = [&](const std::shared_ptr<Font>& font) {
      if (font && !font->charsetStored) font->charset = cs;
    };
    named(form->font);
    for (const auto& c : form->controls()) named(c->font);
  }
  // Image lists named in the file can be bound only now that every control exists.
  for (const auto& c : form->controls())
    if (auto* common = dynamic_cast<CommonControl*>(c.get())) common->finishLoad(*form);
  int state = intOf(fb, "WindowState", 0);
  if (state != 0 && options.userMode) form->setWindowState(state);

  // User controls come to life once the form exists: Initialize, then their properties.
  for (auto [uc, block] : builder.userControls) {
    uc->control().Initialize(*uc);
    BlockBag bag(block);
    uc->control().ReadProperties(bag);
  }
  return form;
}

LoadedForm loadForm(Runtime& rt, const fs::path& file, LoadOptions options) {
  LoadedForm lf;
  lf.path = file;
  lf.document = frm::readFile(file);
  lf.form = buildForm(rt, lf.document, file, options);
  return lf;
}

namespace {

void storeBlock(Control& c, frm::Block& b, const Form& form) {
  auto setNum = [&](std::string_view n, double v) {
    b.set(n, frm::formatNumber(static_cast<float>(v)));
  };
  switch (c.controlClass().geometry) {
    case Geometry::Line: {
      ScaleSpace s = c.space();
      setNum("X1", s.toUnitsX(c.x1));
      setNum("X2", s.toUnitsX(c.x2));
      setNum("Y1", s.toUnitsY(c.y1));
      setNum("Y2", s.toUnitsY(c.y2));
      break;
    }
    case Geometry::Rect:
      if (b.property("Width") || b.property("Left")) {
        setNum("Left", c.left);
        setNum("Top", c.top);
        if (b.property("Width")) setNum("Width", c.width);
        if (b.property("Height")) setNum("Height", c.height);
      }
      break;
    case Geometry::PositionOnly:
      setNum("Left", c.left);
      setNum("Top", c.top);
      break;
    case Geometry::None:
      break;
  }
  if (auto* common = dynamic_cast<CommonControl*>(&c)) common->store(b);
  if (auto* uc = dynamic_cast<UserControlHost*>(&c)) {
    // The control's own properties are what its WriteProperties writes, in its order,
    // after the extender's.
    const Font* font = c.font ? c.font.get() : form.font.get();
    BlockBag bag(&b, frm::codePageOf(font ? font->charset : 0));
    uc->control().WriteProperties(bag);
    std::vector<frm::Entry> kept;
    for (auto& e : b.entries) {
      const auto* p = std::get_if<frm::Property>(&e);
      bool extender =
          p && (host::equalsNoCase(p->name, "Left") || host::equalsNoCase(p->name, "Top") ||
                host::equalsNoCase(p->name, "Width") || host::equalsNoCase(p->name, "Height") ||
                host::equalsNoCase(p->name, "Index") || host::equalsNoCase(p->name, "TabIndex") ||
                host::equalsNoCase(p->name, "Visible") || host::equalsNoCase(p->name, "Enabled") ||
                host::equalsNoCase(p->name, "_ExtentX") ||
                host::equalsNoCase(p->name, "_ExtentY") || host::equalsNoCase(p->name, "_Version"));
      if (!p || extender) kept.push_back(std::move(e));
    }
    auto firstBlock = std::find_if(kept.begin(), kept.end(), [](const frm::Entry& e) {
      return std::holds_alternative<frm::Block>(e);
    });
    kept.insert(firstBlock, bag.written.begin(), bag.written.end());
    b.entries = std::move(kept);
  }
}

void storeChildren(Form& form, frm::Block& parent) {
  for (auto& e : parent.entries) {
    auto* b = std::get_if<frm::Block>(&e);
    if (!b) continue;
    int index = intOf(*b, "Index", -1);
    std::string key = index >= 0 ? b->name + "(" + std::to_string(index) + ")" : b->name;
    if (Control* c = form.find(key)) storeBlock(*c, *b, form);
    storeChildren(form, *b);
  }
}

}  // namespace

std::string addUserControl(Form& form, frm::Document& doc, const std::string& className,
                           const std::string& baseName, double left, double top) {
  Runtime& rt = form.runtime();
  auto uc = rt.userControls().create(className);
  if (!uc) throw std::runtime_error("no user control class " + className);
  std::string name;
  for (int n = 1; name.empty() || form.find(name); ++n) name = baseName + std::to_string(n);
  auto host = std::make_shared<UserControlHost>(className, classFor(className), uc, false);
  host->rename(name);
  host->left = left;
  host->top = top;
  form.add(host, form);
  uc->Initialize(*host);
  uc->InitProperties();
  frm::Block block{className, name, {}, 0};
  auto himetric = [](double twips) {
    return frm::formatNumber(std::round(twips * 2540.0 / 1440.0));
  };
  block.set("Left", frm::formatNumber(static_cast<float>(left)));
  block.set("Top", frm::formatNumber(static_cast<float>(top)));
  block.set("_ExtentX", himetric(host->width));
  block.set("_ExtentY", himetric(host->height));
  doc.form.entries.emplace_back(std::move(block));
  return name;
}

void storeForm(Form& form, frm::Document& doc) {
  frm::Block& fb = doc.form;
  if (fb.property("Caption") || !form.caption.empty()) fb.set("Caption", frm::quote(form.caption));
  fb.set("ClientWidth", frm::formatNumber(static_cast<float>(form.fullClientWidth())));
  fb.set("ClientHeight", frm::formatNumber(static_cast<float>(form.fullClientHeight())));
  storeChildren(form, fb);
}

}  // namespace rescalo::runtime
