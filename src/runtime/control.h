#pragma once
// Controls of the embedded runtime: the extender every control has, the classes the runtime
// knows, and a generic control for classes it does not know.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <rescalo/host/object.h>
#include <rescalo/runtime/font.h>

namespace rescalo::runtime {

class Form;
class Control;

// How a container's children express positions: twips per unit and the scale origin.
struct ScaleSpace {
  double unitX = 1;  // twips per unit
  double unitY = 1;
  double left = 0;  // ScaleLeft / ScaleTop, in units
  double top = 0;
  double toTwipsX(double units) const { return (units - left) * unitX; }
  double toTwipsY(double units) const { return (units - top) * unitY; }
  double toUnitsX(double twips) const { return twips / unitX + left; }
  double toUnitsY(double twips) const { return twips / unitY + top; }
};

// Something that holds controls: a form, or a control such as a frame or picture box.
class ContainerBase {
 public:
  virtual ~ContainerBase() = default;
  virtual ScaleSpace childSpace() const { return {}; }
  virtual host::ObjectPtr containerObject() = 0;
  std::vector<Control*> children;  // in load order
};

// Properties kept by name: a class's declared properties and whatever the form file stored.
class StoredProperties {
 public:
  StoredProperties() = default;
  StoredProperties(const std::vector<std::pair<std::string, host::Variant>>& items) {
    for (const auto& [n, v] : items) set(n, v);
  }
  StoredProperties(std::initializer_list<std::pair<std::string, host::Variant>> items) {
    for (const auto& [n, v] : items) set(n, v);
  }
  const host::Variant* find(host::Name name) const;
  void set(std::string_view name, host::Variant value);

 private:
  struct Entry {
    std::string name;
    std::uint32_t hash;  // of the name, so that a lookup compares numbers first
    host::Variant value;
  };
  std::vector<Entry> items_;
};

// What the runtime knows about a class of control.
enum class Geometry { Rect, Line, PositionOnly, None };
struct ControlClass {
  std::string typeName;
  Geometry geometry = Geometry::Rect;
  bool hasFont = false;
  const host::MemberTable* members = nullptr;
  StoredProperties defaults;  // declared stored properties and their values
  // A height that only the font decides (drop-down combo boxes, drive lists).
  bool fixedHeight = false;
};

class Control : public host::Object, public ContainerBase {
 public:
  Control(std::string fileClass, const ControlClass& cls);
  std::string_view typeName() const override { return cls_->typeName; }
  const std::string& fileClass() const { return fileClass_; }
  const ControlClass& controlClass() const { return *cls_; }
  host::ObjectPtr containerObject() override { return shared_from_this(); }

  bool tryGet(host::Name name, host::Args index, host::Variant& out) override;
  bool trySet(host::Name name, host::Args index, const host::Variant& value) override;
  bool has(host::Name name) const override;
  int missingMemberError(host::Name name) const override;

  const std::string& name() const { return name_; }
  int index() const { return index_; }  // -1: not a member of a control array
  // "Name" or "Name(Index)", made whenever either changes: every look-up by key reads it.
  const std::string& key() const { return key_; }
  // Names the control, as the loader does and as a designer renames or re-indexes one; its
  // form finds it under the new key from then on.
  void rename(std::string name, int index = -1);

  ScaleSpace space() const;  // the scale of the container this control sits in
  host::ObjectPtr containerRef() const;

  // Extender, positions in twips relative to the container's client origin.
  Form* form = nullptr;
  ContainerBase* container = nullptr;
  double left = 0, top = 0, width = 0, height = 0;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // lines, twips
  bool visible = true;
  bool enabled = true;
  std::string tag;
  std::shared_ptr<Font> font;
  StoredProperties stored;

  // Moves and sizes in container units; omitted trailing values keep theirs.
  void move(double l, std::optional<double> t = {}, std::optional<double> w = {},
            std::optional<double> h = {});

  // The edge of its form the control is aligned to (0 none, 1 top, 2 bottom, 3 left, 4 right);
  // only a control sited on the form itself is aligned. A class that can be aligned says so.
  virtual int align() const;
  bool canAlign() const;
  // Sends an aligned control back to its edge after something moved or sized it.
  void realign();
  // An aligned control given the length of its edge: one whose thickness follows its length
  // (a toolbar whose buttons wrap) takes it now.
  virtual void fitAlignedLength() {}

 protected:
  const host::MemberTable* members() const override { return cls_->members; }

 private:
  std::string fileClass_;
  const ControlClass* cls_;
  std::string name_;
  int index_ = -1;
  std::string key_;
};

class VirtualClock;
class ClockTimer;

// A timer control: while enabled with a non-zero interval it raises "Timer" on the clock.
class TimerControl : public Control {
 public:
  using Control::Control;
  void attach(VirtualClock& clock);
  void setEnabled(bool e);
  int interval() const { return interval_; }
  void setInterval(int ms);

 private:
  void sync();
  std::shared_ptr<ClockTimer> timer_;
  int interval_ = 0;
};

// A list box or combo box: its items (as the file lists them in its .frx, or added while it
// runs), each item's ItemData, and the item chosen (-1: none).
class ListControl : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& items() const { return items_; }
  const std::vector<std::int32_t>& itemData() const { return itemData_; }
  int listIndex() const { return listIndex_; }
  void setListIndex(int i);  // 380 outside -1 .. ListCount - 1; a combo box shows the item
  void addItem(std::string item, std::optional<int> at = {});  // 5 past the end
  void removeItem(int at);                                     // 5 outside the items
  void clear();
  // What the file stores: the items, then their ItemData (as many, or fewer).
  void setItems(std::vector<std::string> items);
  void setItemData(const std::vector<std::int32_t>& data);

 protected:
  const host::MemberTable* members() const override;

 private:
  friend struct ListMembers;
  std::vector<std::string> items_;
  std::vector<std::int32_t> itemData_;
  int listIndex_ = -1, newIndex_ = -1;
};

// The class for a form file's class name ("VB.CommandButton"): a known class, or a generic one
// named after the part after the library prefix.
const ControlClass& classFor(std::string_view fileClass);
std::shared_ptr<Control> createControl(std::string_view fileClass);

// Member sets shared by control classes, for classes defined elsewhere in the runtime.
const host::MemberTable& extenderMembers();  // Name, Index, Container, Parent, Tag
const host::MemberTable& rectMembers();      // Left, Top, Width, Height, Move, Visible, Enabled
const host::MemberTable& fontMembers();      // Font and the FontName/FontSize... shortcuts

}  // namespace rescalo::runtime
