#include <rescalo/runtime/control.h>

#include <map>

#include <rescalo/host/collection.h>
#include <rescalo/runtime/clock.h>
#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/form.h>

namespace rescalo::runtime {

const host::MemberTable& pictureBoxMembers();  // defined with the picture box

using host::Args;
using host::Name;
using host::Object;
using host::self;
using host::single;
using host::Variant;

const Variant* StoredProperties::find(Name name) const {
  for (const Entry& e : items_)
    if (e.hash == name.hash() && host::equalsNoCase(e.name, name.text())) return &e.value;
  return nullptr;
}

void StoredProperties::set(std::string_view name, Variant value) {
  std::uint32_t hash = host::hashNoCase(name);
  for (Entry& e : items_)
    if (e.hash == hash && host::equalsNoCase(e.name, name)) {
      e.value = std::move(value);
      return;
    }
  items_.push_back({std::string(name), hash, std::move(value)});
}

Control::Control(std::string fileClass, const ControlClass& cls)
    : fileClass_(std::move(fileClass)), cls_(&cls) {
  if (cls.hasFont) font = std::make_shared<Font>();
}

void Control::rename(std::string name, int index) {
  name_ = std::move(name);
  index_ = index;
  key_ = index_ >= 0 ? name_ + "(" + std::to_string(index_) + ")" : name_;
  if (form) form->keysChanged();
}

ScaleSpace Control::space() const { return container ? container->childSpace() : ScaleSpace{}; }

host::ObjectPtr Control::containerRef() const {
  return container ? container->containerObject() : nullptr;
}

// A control outside an array has no Index to read: probing for it must stay cheap (every
// control key is made that way), and reading it fails with "Object not an array".
constexpr int kNotAnArray = 343;

int Control::missingMemberError(Name member) const {
  return index_ < 0 && member == Name("Index") ? kNotAnArray : host::kNoSuchMember;
}

// A generic control has a font only when its form file gave it one.
bool isFontMember(Name n) {
  static constexpr Name kFontMembers[] = {"Font", "FontName", "FontSize", "FontBold", "FontItalic"};
  for (const Name& f : kFontMembers)
    if (n == f) return true;
  return false;
}

bool Control::tryGet(Name member, Args idx, Variant& out) {
  static constexpr Name kIndex("Index");
  if (index_ < 0 && member == kIndex) return false;
  if (!font && isFontMember(member)) return false;
  if (Object::tryGet(member, idx, out)) return true;
  if (!idx.empty()) return false;
  if (const Variant* v = stored.find(member)) {
    out = *v;
    return true;
  }
  if (const Variant* v = cls_->defaults.find(member)) {
    out = *v;
    return true;
  }
  return false;
}

namespace {

// A property holds values of its own type, as the classic runtime converts what is assigned
// (a BorderWidth of 4.5 is the Integer 4).
Variant asTypeOf(const Variant& like, const Variant& value) {
  switch (like.type()) {
    case host::VarType::Boolean:
      return Variant(value.toBool());
    case host::VarType::Integer:
      return Variant(value.toInteger());
    case host::VarType::Long:
      return Variant(value.toLong());
    case host::VarType::Single:
      return Variant(value.toSingle());
    case host::VarType::Double:
      return Variant(value.toDouble());
    case host::VarType::String:
      return Variant(value.toString());
    default:
      return value;
  }
}

}  // namespace

bool Control::trySet(Name member, Args idx, const Variant& value) {
  if (Object::trySet(member, idx, value)) return true;
  if (!idx.empty()) return false;
  const Variant* typed = cls_->defaults.find(member);
  if (!typed && !stored.find(member)) return false;
  stored.set(member.text(), typed ? asTypeOf(*typed, value) : value);
  return true;
}

int Control::align() const {
  const host::Variant* a = stored.find("Align");
  return a ? a->toInteger() : 0;
}

bool Control::canAlign() const { return has("Align"); }

void Control::realign() {
  if (form && container == form && align() != 0) form->layoutAligned();
}

bool Control::has(Name member) const {
  return Object::has(member) || stored.find(member) || cls_->defaults.find(member);
}

void Control::move(double l, std::optional<double> t, std::optional<double> w,
                   std::optional<double> h) {
  ScaleSpace s = space();
  left = s.toTwipsX(l);
  if (t) top = s.toTwipsY(*t);
  // A flipped user scale reads sizes as negative numbers, and they must write back: it is the
  // size in twips that cannot be negative.
  if (w) {
    if (*w * s.unitX < 0) host::raise(host::kInvalidPropertyValue);
    width = *w * s.unitX;
  }
  if (h && !cls_->fixedHeight) {
    if (*h * s.unitY < 0) host::raise(host::kInvalidPropertyValue);
    height = *h * s.unitY;
  }
  realign();
}

void TimerControl::attach(VirtualClock& clock) {
  timer_ = clock.createTimer([this] { raiseEvent("Timer"); });
  sync();
}

void TimerControl::setEnabled(bool e) {
  enabled = e;
  sync();
}

void TimerControl::setInterval(int ms) {
  if (ms < 0 || ms > 65535) host::raise(host::kInvalidPropertyValue);
  interval_ = ms;
  sync();
}

void TimerControl::sync() {
  if (!timer_) return;
  timer_->setInterval(interval_);
  timer_->setEnabled(enabled);
}

namespace {

Control& ctl(Object& o) { return self<Control>(o); }
// A generic control has a font only when its form file gave it one.
Font& fontOf(Object& o) {
  Font* f = ctl(o).font.get();
  if (!f) host::raise(host::kNoSuchMember);
  return *f;
}

}  // namespace

namespace {

// A position in the container's units, kept in twips: Left, Top and a line's end points.
template <double Control::*Field, bool XAxis>
Variant getCoordinate(Object& o, Args) {
  const ScaleSpace s = ctl(o).space();
  double twips = ctl(o).*Field;
  return single(XAxis ? s.toUnitsX(twips) : s.toUnitsY(twips));
}

template <double Control::*Field, bool XAxis>
void setCoordinate(Object& o, Args, const Variant& v) {
  const ScaleSpace s = ctl(o).space();
  ctl(o).*Field = XAxis ? s.toTwipsX(v.toDouble()) : s.toTwipsY(v.toDouble());
  ctl(o).realign();
}

template <double Control::*Field, bool XAxis>
host::Member coordinate(const char* name) {
  return {name, &getCoordinate<Field, XAxis>, &setCoordinate<Field, XAxis>};
}

}  // namespace

const host::MemberTable& extenderMembers() {
  static const host::MemberTable table{
      {"Name", [](Object& o, Args) { return Variant(ctl(o).name()); }},
      {"Index", [](Object& o, Args) { return Variant(static_cast<std::int16_t>(ctl(o).index())); }},
      {"Container", [](Object& o, Args) { return Variant(ctl(o).containerRef()); }},
      {"Parent",
       [](Object& o, Args) {
         Form* f = ctl(o).form;
         return Variant(f ? f->shared_from_this() : host::ObjectPtr());
       }},
      {"Tag", [](Object& o, Args) { return Variant(ctl(o).tag); },
       [](Object& o, Args, const Variant& v) { ctl(o).tag = v.toString(); }},
  };
  return table;
}

const host::MemberTable& rectMembers() {
  static const host::MemberTable table{
      {coordinate<&Control::left, true>("Left"),
       coordinate<&Control::top, false>("Top"),
       {"Width", [](Object& o, Args) { return single(ctl(o).width / ctl(o).space().unitX); },
        [](Object& o, Args, const Variant& v) {
          Control& c = ctl(o);
          c.move(c.space().toUnitsX(c.left), std::nullopt, v.toDouble());
        }},
       {"Height", [](Object& o, Args) { return single(ctl(o).height / ctl(o).space().unitY); },
        [](Object& o, Args, const Variant& v) {
          Control& c = ctl(o);
          c.move(c.space().toUnitsX(c.left), std::nullopt, std::nullopt, v.toDouble());
        }},
       {"Move", nullptr, nullptr,
        [](Object& o, Args a) {
          host::expectArgs(a, 1, 4);
          auto opt = [&](std::size_t i) {
            return a.size() > i ? std::optional<double>(a[i].toDouble()) : std::nullopt;
          };
          ctl(o).move(a[0].toDouble(), opt(1), opt(2), opt(3));
          return Variant();
        }},
       // A hidden aligned control leaves its edge to the others.
       {"Visible", [](Object& o, Args) { return Variant(ctl(o).visible); },
        [](Object& o, Args, const Variant& v) {
          ctl(o).visible = v.toBool();
          ctl(o).realign();
        }},
       {"Enabled", [](Object& o, Args) { return Variant(ctl(o).enabled); },
        [](Object& o, Args, const Variant& v) { ctl(o).enabled = v.toBool(); }}},
      &extenderMembers()};
  return table;
}

const host::MemberTable& fontMembers() {
  static const host::MemberTable table{
      {"Font",
       [](Object& o, Args) {
         fontOf(o);
         return Variant(host::ObjectPtr(ctl(o).font));
       },
       [](Object& o, Args, const Variant& v) {
         auto f = std::dynamic_pointer_cast<Font>(v.toObject());
         if (!f) host::raise(host::kTypeMismatch);
         ctl(o).font = f->clone();
       }},
      {"FontName", [](Object& o, Args) { return Variant(fontOf(o).name()); },
       [](Object& o, Args, const Variant& v) { fontOf(o).setName(v.toString()); }},
      {"FontSize", [](Object& o, Args) { return Variant(fontOf(o).size()); },
       [](Object& o, Args, const Variant& v) { fontOf(o).setSize(v.toDouble()); }},
      {"FontBold", [](Object& o, Args) { return Variant(fontOf(o).bold()); },
       [](Object& o, Args, const Variant& v) { fontOf(o).setBold(v.toBool()); }},
      {"FontItalic", [](Object& o, Args) { return Variant(fontOf(o).italic); },
       [](Object& o, Args, const Variant& v) { fontOf(o).italic = v.toBool(); }},
  };
  return table;
}

namespace {

const host::MemberTable& lineMembers() {
  static const host::MemberTable table{
      {coordinate<&Control::x1, true>("X1"),
       coordinate<&Control::y1, false>("Y1"),
       coordinate<&Control::x2, true>("X2"),
       coordinate<&Control::y2, false>("Y2"),
       {"Visible", [](Object& o, Args) { return Variant(ctl(o).visible); },
        [](Object& o, Args, const Variant& v) { ctl(o).visible = v.toBool(); }},
       {"BorderWidth",
        [](Object& o, Args) {
          const Variant* v = ctl(o).stored.find("BorderWidth");
          return v ? *v : Variant(std::int16_t{1});
        },
        [](Object& o, Args, const Variant& v) {
          std::int16_t w = v.toInteger();
          if (w < 1) host::raise(host::kInvalidPropertyValue);
          ctl(o).stored.set("BorderWidth", w);
        }}},
      &extenderMembers()};
  return table;
}

TimerControl& tmr(Object& o) { return dynamic_cast<TimerControl&>(ctl(o)); }

// Timers: position only, and Enabled/Interval (the runtime ticks them on its clock).
const host::MemberTable& positionMembers() {
  static const host::MemberTable table{
      {coordinate<&Control::left, true>("Left"),
       coordinate<&Control::top, false>("Top"),
       {"Enabled", [](Object& o, Args) { return Variant(ctl(o).enabled); },
        [](Object& o, Args, const Variant& v) { tmr(o).setEnabled(v.toBool()); }},
       {"Interval", [](Object& o, Args) { return Variant(tmr(o).interval()); },
        [](Object& o, Args, const Variant& v) { tmr(o).setInterval(v.toLong()); }}},
      &extenderMembers()};
  return table;
}

const host::MemberTable& menuMembers() {
  static const host::MemberTable table{
      {{"Visible", [](Object& o, Args) { return Variant(ctl(o).visible); },
        [](Object& o, Args, const Variant& v) { ctl(o).visible = v.toBool(); }},
       {"Enabled", [](Object& o, Args) { return Variant(ctl(o).enabled); },
        [](Object& o, Args, const Variant& v) { ctl(o).enabled = v.toBool(); }}},
      &extenderMembers()};
  return table;
}

const host::MemberTable& rectFontMembers() {
  static const host::MemberTable table{{}, {&rectMembers(), &fontMembers()}};
  return table;
}

using Defaults = std::vector<std::pair<std::string, Variant>>;

Defaults withPictures(Defaults d) {
  for (const char* p : {"Picture", "DownPicture", "DisabledPicture"}) d.emplace_back(p, nullptr);
  return d;
}

std::map<std::string, ControlClass, std::less<>> makeClasses() {
  std::map<std::string, ControlClass, std::less<>> m;
  auto add = [&](ControlClass c) {
    std::string key;
    for (char ch : c.typeName) key += host::foldCase(ch);
    m.emplace(key, std::move(c));
  };
  const host::MemberTable* rf = &rectFontMembers();
  const host::MemberTable* r = &rectMembers();
  add({"CommandButton", Geometry::Rect, true, rf,
       withPictures(
           {{"Caption", ""}, {"Style", std::int16_t{0}}, {"Default", false}, {"Cancel", false}})});
  add({"CheckBox", Geometry::Rect, true, rf,
       withPictures({{"Caption", ""}, {"Style", std::int16_t{0}}, {"Value", std::int16_t{0}}})});
  add({"OptionButton", Geometry::Rect, true, rf,
       withPictures({{"Caption", ""}, {"Style", std::int16_t{0}}, {"Value", false}})});
  add({"Label",
       Geometry::Rect,
       true,
       rf,
       {{"Caption", ""},
        {"Alignment", std::int16_t{0}},
        {"AutoSize", false},
        {"BackStyle", std::int16_t{1}},
        {"BorderStyle", std::int16_t{0}}}});
  add({"TextBox",
       Geometry::Rect,
       true,
       rf,
       {{"Text", ""}, {"MultiLine", false}, {"Locked", false}, {"SelStart", 0}, {"SelLength", 0}}});
  add({"Frame", Geometry::Rect, true, rf, {{"Caption", ""}, {"BorderStyle", std::int16_t{1}}}});
  add({"ListBox", Geometry::Rect, true, rf, {{"Style", std::int16_t{0}}}});
  add({"ComboBox",
       Geometry::Rect,
       true,
       rf,
       {{"Style", std::int16_t{0}}, {"Text", ""}, {"SelStart", 0}, {"SelLength", 0}},
       true});
  add({"DriveListBox", Geometry::Rect, true, rf, {}, true});
  add({"DirListBox", Geometry::Rect, true, rf, {}});
  add({"FileListBox", Geometry::Rect, true, rf, {}});
  add({"Image", Geometry::Rect, false, r, {{"Picture", nullptr}, {"Stretch", false}}});
  add({"Shape",
       Geometry::Rect,
       false,
       r,
       {{"Shape", std::int16_t{0}},
        {"BorderWidth", std::int16_t{1}},
        {"BorderStyle", std::int16_t{1}}}});
  add({"HScrollBar",
       Geometry::Rect,
       false,
       r,
       {{"Min", std::int16_t{0}}, {"Max", std::int16_t{32767}}, {"Value", std::int16_t{0}}}});
  add({"VScrollBar",
       Geometry::Rect,
       false,
       r,
       {{"Min", std::int16_t{0}}, {"Max", std::int16_t{32767}}, {"Value", std::int16_t{0}}}});
  add({"Line", Geometry::Line, false, &lineMembers(), {{"BorderStyle", std::int16_t{1}}}});
  add({"Timer", Geometry::PositionOnly, false, &positionMembers(), {}});
  add({"Menu",
       Geometry::None,
       false,
       &menuMembers(),
       {{"Caption", ""}, {"Checked", false}, {"WindowList", false}}});
  add({"PictureBox",
       Geometry::Rect,
       true,
       &pictureBoxMembers(),
       {{"AutoSize", false}, {"BorderStyle", std::int16_t{1}}, {"Align", std::int16_t{0}}}});
  return m;
}

}  // namespace

const ControlClass& classFor(std::string_view fileClass) {
  static const auto classes = makeClasses();
  static std::map<std::string, ControlClass, std::less<>> generic;
  std::string_view cls = fileClass;
  if (auto dot = cls.rfind('.'); dot != std::string_view::npos) cls = cls.substr(dot + 1);
  std::string key;
  for (char ch : cls) key += host::foldCase(ch);
  // Only the VB library's classes are the intrinsic ones; Forms 2.0 or third-party classes
  // with the same short name are generic.
  bool intrinsic = fileClass.size() > 3 && host::equalsNoCase(fileClass.substr(0, 3), "VB.");
  if (intrinsic || fileClass.find('.') == std::string_view::npos) {
    if (auto it = classes.find(key); it != classes.end()) return it->second;
  }
  if (const ControlClass* common = commonControlClass(fileClass)) return *common;
  auto it = generic.find(fileClass);
  if (it == generic.end()) {
    ControlClass c{std::string(cls), Geometry::Rect, false, &rectFontMembers(), {}};
    it = generic.emplace(std::string(fileClass), std::move(c)).first;
  }
  return it->second;
}

void ListControl::setListIndex(int i) {
  if (i < -1 || i >= static_cast<int>(items_.size())) host::raise(host::kInvalidPropertyValue);
  listIndex_ = i;
  if (typeName() == "ComboBox") stored.set("Text", Variant(i < 0 ? std::string() : items_[i]));
}

void ListControl::addItem(std::string item, std::optional<int> at) {
  const int n = static_cast<int>(items_.size());
  const int i = at.value_or(n);
  if (i < 0 || i > n) host::raise(host::kInvalidProcedureCall);
  items_.insert(items_.begin() + i, std::move(item));
  itemData_.insert(itemData_.begin() + i, 0);
  if (listIndex_ >= i) ++listIndex_;
  newIndex_ = i;
}

void ListControl::removeItem(int at) {
  if (at < 0 || at >= static_cast<int>(items_.size())) host::raise(host::kInvalidProcedureCall);
  items_.erase(items_.begin() + at);
  itemData_.erase(itemData_.begin() + at);
  if (listIndex_ == at) listIndex_ = -1;
  if (listIndex_ > at) --listIndex_;
  newIndex_ = -1;
}

void ListControl::clear() {
  items_.clear();
  itemData_.clear();
  listIndex_ = newIndex_ = -1;
}

// The file may list ItemData before List: each keeps what the other set.
void ListControl::setItems(std::vector<std::string> items) {
  items_ = std::move(items);
  itemData_.resize(items_.size(), 0);
  listIndex_ = newIndex_ = -1;
}

void ListControl::setItemData(const std::vector<std::int32_t>& data) {
  if (itemData_.size() < data.size()) itemData_.resize(data.size(), 0);
  std::copy(data.begin(), data.end(), itemData_.begin());
}

struct ListMembers {
  static ListControl& list(Object& o) { return dynamic_cast<ListControl&>(o); }
  // An item by its index: 381 below zero; past the end List reads as empty text.
  static int item(Object& o, Args index, bool mustExist) {
    if (index.empty()) host::raise(host::kArgumentNotOptional);
    const int i = index[0].toLong(), n = static_cast<int>(list(o).items_.size());
    if (i < 0 || (mustExist && i >= n)) host::raise(host::kInvalidArrayIndex);
    return i;
  }
  static const host::MemberTable& table() {
    static const host::MemberTable members{
        {{"List",
          [](Object& o, Args index) {
            const auto& items = list(o).items_;
            const auto i = static_cast<std::size_t>(item(o, index, false));
            return Variant(i < items.size() ? items[i] : std::string());
          },
          [](Object& o, Args index, const Variant& v) {
            const int i = item(o, index, false);
            auto& l = list(o);
            if (i >= static_cast<int>(l.items_.size()))
              l.addItem(v.toString());  // one past the end adds it
            else
              l.items_[static_cast<std::size_t>(i)] = v.toString();
          }},
         {"ItemData",
          [](Object& o, Args index) {
            return Variant(list(o).itemData_[static_cast<std::size_t>(item(o, index, true))]);
          },
          [](Object& o, Args index, const Variant& v) {
            list(o).itemData_[static_cast<std::size_t>(item(o, index, true))] = v.toLong();
          }},
         {"ListCount",
          [](Object& o, Args) {
            return Variant(static_cast<std::int16_t>(list(o).items_.size()));
          }},
         {"ListIndex", [](Object& o, Args) { return Variant(std::int16_t(list(o).listIndex_)); },
          [](Object& o, Args, const Variant& v) { list(o).setListIndex(v.toInteger()); }},
         {"NewIndex", [](Object& o, Args) { return Variant(std::int16_t(list(o).newIndex_)); }},
         {"AddItem", nullptr, nullptr,
          [](Object& o, Args args) {
            if (args.empty()) host::raise(host::kArgumentNotOptional);
            std::optional<int> at;
            if (args.size() > 1 && !args[1].isEmpty()) at = args[1].toInteger();
            list(o).addItem(args[0].toString(), at);
            return Variant();
          }},
         {"RemoveItem", nullptr, nullptr,
          [](Object& o, Args args) {
            if (args.empty()) host::raise(host::kArgumentNotOptional);
            list(o).removeItem(args[0].toInteger());
            return Variant();
          }},
         {"Clear", nullptr, nullptr,
          [](Object& o, Args) {
            list(o).clear();
            return Variant();
          }}},
        &rectFontMembers()};
    return members;
  }
};

const host::MemberTable* ListControl::members() const { return &ListMembers::table(); }

std::shared_ptr<Control> createControl(std::string_view fileClass) {
  if (auto common = createCommonControl(fileClass)) return common;
  const ControlClass& cls = classFor(fileClass);
  if (&cls == &classFor("VB.PictureBox"))
    return std::make_shared<PictureBox>(std::string(fileClass), cls);
  if (&cls == &classFor("VB.Timer"))
    return std::make_shared<TimerControl>(std::string(fileClass), cls);
  if (&cls == &classFor("VB.ListBox") || &cls == &classFor("VB.ComboBox"))
    return std::make_shared<ListControl>(std::string(fileClass), cls);
  return std::make_shared<Control>(std::string(fileClass), cls);
}

}  // namespace rescalo::runtime
