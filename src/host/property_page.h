#pragma once
// The host's property-page protocol. A page edits the control that is item 0 of its
// SelectedControls through the control's public properties, sets Changed when the developer
// edits a field, and is told SelectionChanged and ApplyChanges by the property sheet.
//
// A page's fields are small widget models (check boxes, text boxes, lists...) with the
// notifications of the classic controls: setting a value from code raises the same Click,
// Change or ItemCheck that a user's edit raises. Any toolkit can show them: the command drives
// them by name, the Qt sheet builds a real widget for each.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <rescalo/host/object.h>
#include <rescalo/host/services.h>

namespace rescalo::host {

enum class FieldKind { Label, CheckBox, TextBox, ComboBox, ListBox, CheckListBox, Button, Colour };

class PageField {
 public:
  PageField(FieldKind kind, std::string name, std::string caption)
      : kind_(kind), name_(std::move(name)), caption_(std::move(caption)) {}
  virtual ~PageField() = default;

  FieldKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  // A check box's or button's own text, or the label that introduces a box or list.
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  // Which column of the page the field stands in (a layout hint).
  int column = 0;

  // Called after every change of the field's state, so that a view can follow it.
  std::function<void()> onUpdate;

  // A developer's edit given as text (the command line and its scripts); std::invalid_argument
  // when the text means nothing for this field.
  virtual void perform(std::string_view action) = 0;
  // The field's state as text, for listings.
  virtual std::string describe() const = 0;

 protected:
  void updated() {
    if (onUpdate) onUpdate();
  }

 private:
  FieldKind kind_;
  std::string name_;
  std::string caption_;
  bool enabled_ = true;
};

class Label : public PageField {
 public:
  Label(std::string name, std::string caption) : PageField(FieldKind::Label, name, caption) {}
  std::int32_t foreColor = -1;  // 0x00BBGGRR; -1: the toolkit's own
  bool bold = false;
  float size = 0;  // points; 0: the toolkit's own
  void setForeColor(std::int32_t colour);
  void perform(std::string_view action) override;
  std::string describe() const override { return caption(); }
};

class CheckBox : public PageField {
 public:
  CheckBox(std::string name, std::string caption) : PageField(FieldKind::CheckBox, name, caption) {}
  enum : int { Unchecked = 0, Checked = 1, Grayed = 2 };
  int value() const { return value_; }
  // Raises Click when the value changes, as the classic check box does.
  void setValue(int value);
  std::function<void()> Click;
  // "1", "0", "2", "true", "false" or "toggle".
  void perform(std::string_view action) override;
  std::string describe() const override { return std::to_string(value_); }

 private:
  int value_ = Unchecked;
};

class TextBox : public PageField {
 public:
  TextBox(std::string name, std::string label) : PageField(FieldKind::TextBox, name, label) {}
  const std::string& text() const { return text_; }
  // Raises Change when the text changes; the caret goes to the start.
  void setText(std::string text);
  int selStart() const { return selStart_; }
  void setSelStart(int position);  // beyond the end means the end
  // The developer typing at the caret, one character at a time.
  void type(std::string_view characters);
  // The developer leaving the box.
  void leave();
  bool numeric = false;  // a view may restrict typing to number-like text
  // 16 or 32 when the text goes to a whole-number property of that many bits: a view may
  // also refuse numbers that, rounded, do not fit. 0: no such limit.
  int integerBits = 0;
  std::function<void()> Change;
  std::function<void()> LostFocus;
  // The text replaces the whole content, then the box loses the focus.
  void perform(std::string_view action) override;
  std::string describe() const override { return text_; }

 private:
  std::string text_;
  int selStart_ = 0;
};

// A list of text items with one current item (ListIndex, -1 for none). Sorted lists keep
// their items in ascending order of their text, without regard to case.
class ListField : public PageField {
 public:
  ListField(FieldKind kind, std::string name, std::string label, bool sorted)
      : PageField(kind, name, label), sorted_(sorted) {}
  int count() const { return static_cast<int>(items_.size()); }
  const std::string& item(int position) const;  // 381 outside the list
  const std::vector<std::string>& items() const { return items_; }
  // Adds an item; returns the position where it landed.
  int addItem(std::string text);
  void clear();
  int listIndex() const { return listIndex_; }
  // -1 for none; 380 outside the list. Raises Click.
  void setListIndex(int index);
  // The current item's text, or "" without one.
  std::string text() const;
  // The position of the first item with exactly this text, or -1.
  int find(std::string_view text) const;
  std::function<void()> Click;

 protected:
  virtual void inserted(int /*position*/) {}
  virtual void cleared() {}
  int positionOf(std::string_view text, std::string_view action) const;

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
  bool sorted_;
};

// A drop-down list: only its items can be chosen.
class ComboBox : public ListField {
 public:
  ComboBox(std::string name, std::string label)
      : ListField(FieldKind::ComboBox, name, label, false) {}
  // The item's text, or its position.
  void perform(std::string_view action) override;
  std::string describe() const override { return text(); }
};

class ListBox : public ListField {
 public:
  ListBox(std::string name, std::string label, bool sorted)
      : ListField(FieldKind::ListBox, name, label, sorted) {}
  // The item's text, or its position.
  void perform(std::string_view action) override;
  std::string describe() const override { return text(); }
};

// A list with a check box per item; a change of an item's check raises ItemCheck(position).
class CheckListBox : public ListField {
 public:
  CheckListBox(std::string name, std::string label, bool sorted)
      : ListField(FieldKind::CheckListBox, name, label, sorted) {}
  bool checked(int position) const;
  void setChecked(int position, bool checked);
  // The developer clicking an item's check box: the item becomes current, then its check
  // changes.
  void clickCheck(int position, bool checked);
  std::function<void(int position)> ItemCheck;
  // "Item" makes it current; "+Item" and "-Item" check and uncheck it as clickCheck does. An
  // item is named by its text, or by its position.
  void perform(std::string_view action) override;
  std::string describe() const override;

 protected:
  void inserted(int position) override;
  void cleared() override { checks_.clear(); }

 private:
  std::vector<bool> checks_;
};

class Button : public PageField {
 public:
  Button(std::string name, std::string caption) : PageField(FieldKind::Button, name, caption) {}
  std::function<void()> Click;
  void press() {
    if (Click) Click();
  }
  void perform(std::string_view action) override;
  std::string describe() const override { return caption(); }
};

// A colour, 0x00BBGGRR.
class ColourField : public PageField {
 public:
  ColourField(std::string name, std::string label) : PageField(FieldKind::Colour, name, label) {}
  std::int32_t value() const { return value_; }
  void setValue(std::int32_t colour);  // raises Change when it differs
  std::function<void()> Change;
  // "#RRGGBB", "&HBBGGRR" (with an optional trailing &) or a decimal value.
  void perform(std::string_view action) override;
  std::string describe() const override;

 private:
  std::int32_t value_ = 0;
};

class PropertyPage;

// What the sheet around a page offers it.
class PropertyPageSite {
 public:
  virtual ~PropertyPageSite() = default;
  virtual void Beep() = 0;
  virtual std::shared_ptr<Timer> createTimer(std::function<void()> onTick) = 0;
  // The installed font families, as the platform reports them.
  virtual std::vector<std::string> fontFamilies() = 0;
  // A page's Changed went from False to True (the sheet enables its Apply button).
  virtual void pageChanged(PropertyPage& /*page*/) {}
};

// A site on a runtime's services.
class ServicesPageSite : public PropertyPageSite {
 public:
  explicit ServicesPageSite(Services& services) : services_(services) {}
  void Beep() override { services_.Beep(); }
  std::shared_ptr<Timer> createTimer(std::function<void()> onTick) override {
    return services_.createTimer(std::move(onTick));
  }
  std::vector<std::string> fontFamilies() override { return services_.fontFamilies(); }

 private:
  Services& services_;
};

class PropertyPage {
 public:
  PropertyPage(PropertyPageSite& site, std::string caption)
      : site_(site), caption_(std::move(caption)) {}
  virtual ~PropertyPage() = default;
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  const std::string& caption() const { return caption_; }
  // The controls being edited; the page reads and writes item 0.
  std::vector<ObjectPtr> SelectedControls;
  bool Changed() const { return changed_; }
  void setChanged(bool changed);

  virtual void PropertyPage_SelectionChanged() = 0;
  virtual void PropertyPage_ApplyChanges() = 0;

  // The fields in tab order.
  const std::vector<PageField*>& fields() const { return order_; }
  // A field by name (without regard to case), or nullptr.
  PageField* field(std::string_view name) const;

 protected:
  PropertyPageSite& site() { return site_; }
  // Item 0 of SelectedControls; 91 when nothing is selected.
  Object& edited() const;
  template <class F, class... A>
  F& add(A&&... args) {
    auto f = std::make_unique<F>(std::forward<A>(args)...);
    F& ref = *f;
    order_.push_back(f.get());
    owned_.push_back(std::move(f));
    return ref;
  }

 private:
  PropertyPageSite& site_;
  std::string caption_;
  bool changed_ = false;
  std::vector<std::unique_ptr<PageField>> owned_;
  std::vector<PageField*> order_;
};

// The sheet of pages around one selection, whatever shows it: pages are loaded when first
// shown, Apply runs ApplyChanges on every changed page in tab order. Failures inside a page
// are the host's to report: they go to report() and end only the step that failed.
class PropertySheet {
 public:
  explicit PropertySheet(std::vector<std::unique_ptr<PropertyPage>> pages)
      : pages_(std::move(pages)), shown_(pages_.size(), false) {}

  const std::vector<std::unique_ptr<PropertyPage>>& pages() const { return pages_; }
  PropertyPage* page(std::string_view caption) const;  // without regard to case; or nullptr
  int indexOf(const PropertyPage& page) const;

  // Sets the selection of every page; pages already shown are told SelectionChanged.
  void select(std::vector<ObjectPtr> controls);
  // The page becomes visible: the first time, it is told SelectionChanged.
  bool show(int index);
  // Applies every changed page; false when one failed (it stays changed).
  bool apply();
  bool changed() const;

  // Runs a developer's action on a page's fields, reporting a failure; false when it failed.
  bool run(const std::function<void()>& action);
  std::function<void(const std::string& message)> report;

 private:
  std::vector<std::unique_ptr<PropertyPage>> pages_;
  std::vector<bool> shown_;
  std::vector<ObjectPtr> selection_;
};

}  // namespace rescalo::host
