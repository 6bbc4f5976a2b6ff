#include <rescalo/host/property_page.h>

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include <rescalo/host/name.h>

namespace rescalo::host {

namespace {

[[noreturn]] void badAction(const PageField& f, std::string_view action, const char* expected) {
  throw std::invalid_argument(f.name() + ": \"" + std::string(action) + "\": expected " + expected);
}

// Ascending text order without regard to case, as a sorted list box keeps its items.
bool lessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return foldCase(x) < foldCase(y); });
}

bool parseInt(std::string_view text, long long& out, int base = 10) {
  if (text.empty()) return false;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
  return ec == std::errc() && p == text.data() + text.size();
}

}  // namespace

void PageField::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  updated();
}

void PageField::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  updated();
}

void Label::setForeColor(std::int32_t colour) {
  foreColor = colour;
  updated();
}

void Label::perform(std::string_view action) { badAction(*this, action, "a field, not a label"); }

void CheckBox::setValue(int value) {
  if (value < Unchecked || value > Grayed) raise(kInvalidPropertyValue);
  if (value == value_) return;
  value_ = value;
  updated();
  if (Click) Click();
}

void CheckBox::perform(std::string_view a) {
  if (a == "1" || a == "true" || a == "checked")
    setValue(Checked);
  else if (a == "0" || a == "false" || a == "unchecked")
    setValue(Unchecked);
  else if (a == "2" || a == "grayed")
    setValue(Grayed);
  else if (a == "toggle")
    setValue(value_ == Checked ? Unchecked : Checked);
  else
    badAction(*this, a, "1, 0, 2, true, false or toggle");
}

void TextBox::setText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  selStart_ = 0;
  updated();
  if (Change) Change();
}

void TextBox::setSelStart(int position) {
  selStart_ = std::clamp(position, 0, static_cast<int>(text_.size()));
  updated();
}

void TextBox::type(std::string_view characters) {
  for (char c : characters) {
    int at = std::min(selStart_, static_cast<int>(text_.size()));
    std::string next = text_;
    next.insert(static_cast<std::size_t>(at), 1, c);
    text_ = std::move(next);
    selStart_ = at + 1;
    updated();
    if (Change) Change();
  }
}

void TextBox::leave() {
  if (LostFocus) LostFocus();
}

void TextBox::perform(std::string_view action) {
  setText(std::string(action));
  setSelStart(static_cast<int>(text_.size()));
  leave();
}

const std::string& ListField::item(int position) const {
  if (position < 0 || position >= count()) raise(381, "Invalid property array index");
  return items_[static_cast<std::size_t>(position)];
}

int ListField::addItem(std::string text) {
  auto at = items_.end();
  if (sorted_)
    at = std::upper_bound(
        items_.begin(), items_.end(), text,
        [](const std::string& a, const std::string& b) { return lessNoCase(a, b); });
  int position = static_cast<int>(at - items_.begin());
  items_.insert(at, std::move(text));
  if (listIndex_ >= position) ++listIndex_;
  inserted(position);
  updated();
  return position;
}

void ListField::clear() {
  items_.clear();
  listIndex_ = -1;
  cleared();
  updated();
}

void ListField::setListIndex(int index) {
  if (index < -1 || index >= count()) raise(kInvalidPropertyValue);
  listIndex_ = index;
  updated();
  if (Click) Click();
}

std::string ListField::text() const { return listIndex_ < 0 ? std::string() : item(listIndex_); }

int ListField::find(std::string_view text) const {
  for (int i = 0; i < count(); ++i)
    if (items_[static_cast<std::size_t>(i)] == text) return i;
  return -1;
}

int ListField::positionOf(std::string_view text, std::string_view action) const {
  int i = find(text);
  long long n = 0;
  if (i < 0 && parseInt(text, n) && n >= 0 && n < count()) i = static_cast<int>(n);
  if (i < 0) badAction(*this, action, "one of the list's items or its position");
  return i;
}

void ComboBox::perform(std::string_view action) { setListIndex(positionOf(action, action)); }

void ListBox::perform(std::string_view action) { setListIndex(positionOf(action, action)); }

bool CheckListBox::checked(int position) const {
  item(position);
  return checks_[static_cast<std::size_t>(position)];
}

void CheckListBox::setChecked(int position, bool value) {
  item(position);
  auto i = static_cast<std::size_t>(position);
  if (checks_[i] == value) return;
  checks_[i] = value;
  updated();
  if (ItemCheck) ItemCheck(position);
}

void CheckListBox::clickCheck(int position, bool value) {
  setListIndex(position);
  setChecked(position, value);
}

void CheckListBox::inserted(int position) { checks_.insert(checks_.begin() + position, false); }

void CheckListBox::perform(std::string_view action) {
  if (!action.empty() && (action[0] == '+' || action[0] == '-'))
    clickCheck(positionOf(action.substr(1), action), action[0] == '+');
  else
    setListIndex(positionOf(action, action));
}

std::string CheckListBox::describe() const {
  std::string out;
  for (int i = 0; i < count(); ++i) {
    if (i) out += ", ";
    out += (checks_[static_cast<std::size_t>(i)] ? "[x] " : "[ ] ") + item(i);
  }
  if (listIndex() >= 0) out += " (current: " + text() + ")";
  return out;
}

void Button::perform(std::string_view action) {
  if (!action.empty() && action != "click") badAction(*this, action, "click");
  press();
}

void ColourField::setValue(std::int32_t colour) {
  if (colour == value_) return;
  value_ = colour;
  updated();
  if (Change) Change();
}

void ColourField::perform(std::string_view a) {
  long long v = -1;
  bool ok = false;
  if (a.size() == 7 && a[0] == '#') {
    long long rgb = 0;
    if (parseInt(a.substr(1), rgb, 16))
      ok = true, v = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
  } else if (a.size() > 2 && (a.substr(0, 2) == "&H" || a.substr(0, 2) == "&h")) {
    std::string_view digits = a.substr(2);
    if (!digits.empty() && digits.back() == '&') digits.remove_suffix(1);
    ok = parseInt(digits, v, 16);
  } else {
    ok = parseInt(a, v);
  }
  if (!ok || v < 0 || v > 0xFFFFFF) badAction(*this, a, "#RRGGBB, &HBBGGRR or 0 to 16777215");
  setValue(static_cast<std::int32_t>(v));
}

std::string ColourField::describe() const {
  static const char* hex = "0123456789ABCDEF";
  std::string out = "#";
  for (int shift : {0, 8, 16}) {
    int byte = (value_ >> shift) & 0xFF;
    out += hex[byte >> 4];
    out += hex[byte & 15];
  }
  return out;
}

void PropertyPage::setChanged(bool changed) {
  bool rose = changed && !changed_;
  changed_ = changed;
  if (rose) site_.pageChanged(*this);
}

PageField* PropertyPage::field(std::string_view name) const {
  for (PageField* f : order_)
    if (equalsNoCase(f->name(), name)) return f;
  return nullptr;
}

Object& PropertyPage::edited() const {
  if (SelectedControls.empty() || !SelectedControls[0]) raise(kObjectNotSet);
  return *SelectedControls[0];
}

PropertyPage* PropertySheet::page(std::string_view caption) const {
  for (const auto& p : pages_)
    if (equalsNoCase(p->caption(), caption)) return p.get();
  return nullptr;
}

int PropertySheet::indexOf(const PropertyPage& page) const {
  for (std::size_t i = 0; i < pages_.size(); ++i)
    if (pages_[i].get() == &page) return static_cast<int>(i);
  return -1;
}

void PropertySheet::select(std::vector<ObjectPtr> controls) {
  selection_ = std::move(controls);
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    pages_[i]->SelectedControls = selection_;
    if (shown_[i]) run([&] { pages_[i]->PropertyPage_SelectionChanged(); });
  }
}

bool PropertySheet::show(int index) {
  if (index < 0 || index >= static_cast<int>(pages_.size())) return false;
  auto i = static_cast<std::size_t>(index);
  if (shown_[i]) return true;
  shown_[i] = true;
  return run([&] { pages_[i]->PropertyPage_SelectionChanged(); });
}

bool PropertySheet::apply() {
  bool ok = true;
  for (auto& p : pages_) {
    if (!p->Changed()) continue;
    if (run([&] { p->PropertyPage_ApplyChanges(); }))
      p->setChanged(false);
    else
      ok = false;
  }
  return ok;
}

bool PropertySheet::changed() const {
  return std::any_of(pages_.begin(), pages_.end(), [](const auto& p) { return p->Changed(); });
}

bool PropertySheet::run(const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const HostError& e) {
    if (report) report(e.description());
  } catch (const std::invalid_argument& e) {
    if (report) report(e.what());
  }
  return false;
}

}  // namespace rescalo::host
