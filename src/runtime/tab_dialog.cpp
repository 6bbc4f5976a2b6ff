// The tab dialog: pages, their captions and pictures, and the children of hidden pages parked
// far to the left.

#include <algorithm>
#include <cmath>

#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/picture.h>

namespace rescalo::runtime {

using host::Args;
using host::Object;
using host::self;
using host::single;
using host::Variant;

namespace {

SSTab& dlg(Object& o) { return self<SSTab>(o); }
Variant integer(int v) { return Variant(static_cast<std::int16_t>(v)); }

int pageIndex(Args index) {
  host::expectArgs(index, 1);
  return index[0].toInteger();
}

// Twips per container unit along which the tabs' height runs, and across it.
double heightUnit(SSTab& t) {
  ScaleSpace s = t.space();
  return t.tabOrientation >= 2 ? s.unitX : s.unitY;
}
double widthUnit(SSTab& t) {
  ScaleSpace s = t.space();
  return t.tabOrientation >= 2 ? s.unitY : s.unitX;
}

// "Tab(2).Control(0)" -> 2; anything else (such as "Tab(2).Control(0).Enabled") -> nothing.
std::optional<int> pageOfControlEntry(std::string_view n) {
  auto number = [&](std::string_view& s) -> std::optional<int> {
    int v = 0;
    std::size_t i = 0;
    while (i < s.size() && i < 5 && s[i] >= '0' && s[i] <= '9') v = v * 10 + (s[i++] - '0');
    if (i == 0) return std::nullopt;
    s.remove_prefix(i);
    return v;
  };
  auto prefix = [&](std::string_view& s, std::string_view p) {
    if (s.size() < p.size() || !host::equalsNoCase(s.substr(0, p.size()), p)) return false;
    s.remove_prefix(p.size());
    return true;
  };
  std::string_view s = n;
  if (!prefix(s, "Tab(")) return std::nullopt;
  auto page = number(s);
  if (!page || !prefix(s, ").Control(") || !number(s) || s != ")") return std::nullopt;
  return page;
}

// "TabCaption(2)" -> 2 for that base name.
std::optional<int> indexOf(std::string_view n, std::string_view base) {
  if (n.size() < base.size() + 3 || !host::equalsNoCase(n.substr(0, base.size()), base) ||
      n[base.size()] != '(' || n.back() != ')')
    return std::nullopt;
  std::string_view digits = n.substr(base.size() + 1, n.size() - base.size() - 2);
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  int v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

std::string defaultCaption(int t) { return "Tab " + std::to_string(t); }

}  // namespace

SSTab::SSTab(std::string fileClass, const ControlClass& cls)
    : CommonControl(std::move(fileClass), cls) {
  setTabs(3);
}

SSTab::Page& SSTab::page(int t) {
  if (t < 0 || t >= tabs()) host::raise(host::kInvalidArrayIndex);
  return pages_[static_cast<std::size_t>(t)];
}

const SSTab::Page& SSTab::page(int t) const { return const_cast<SSTab*>(this)->page(t); }

void SSTab::setTabs(int count) {
  if (count < 1) host::raise(host::kInvalidPropertyValue);
  if (tab_ >= count) setTab(count - 1);
  int old = tabs();
  pages_.resize(static_cast<std::size_t>(count));
  for (int t = old; t < count; ++t) pages_[static_cast<std::size_t>(t)].caption = defaultCaption(t);
}

void SSTab::setTab(int t) {
  if (t < 0 || t >= tabs()) host::raise(host::kInvalidPropertyValue);
  if (t == tab_) return;
  for (Control* c : pageControls(tab_)) c->left -= kHiddenPageOffset;
  for (Control* c : pageControls(t)) c->left += kHiddenPageOffset;
  int previous = tab_;
  tab_ = t;
  Variant arg(static_cast<std::int16_t>(previous));
  raiseEvent("Click", Args(&arg, 1));
}

const std::string& SSTab::caption(int t) const { return page(t).caption; }
void SSTab::setCaption(int t, std::string text) { page(t).caption = std::move(text); }
const Variant& SSTab::picture(int t) const { return page(t).picture; }

void SSTab::setPicture(int t, const Variant& p) {
  Page& pg = page(t);
  if (!p.isNothing() && !bitmapOf(p)) host::raise(host::kInvalidPropertyValue);
  pg.picture = p;
}

std::vector<Control*> SSTab::pageControls(int t) const {
  std::vector<Control*> out;
  if (t < 0 || t >= tabs()) return out;
  if (!form) return out;
  for (const std::string& k : pages_[static_cast<std::size_t>(t)].controls)
    if (Control* c = form->find(k); c && c->container == this) out.push_back(c);
  return out;
}

int SSTab::pageOf(const Control& child) const {
  for (int t = 0; t < tabs(); ++t) {
    const auto on = pageControls(t);
    if (std::find(on.begin(), on.end(), &child) != on.end()) return t;
  }
  return -1;
}

bool SSTab::loadProperty(std::string_view n, const Variant& value) {
  auto is = [&](const char* p) { return host::equalsNoCase(n, p); };
  try {
    // Straight into the model: the file's children already sit where their page puts them.
    if (is("Tabs")) {
      setTabs(value.toInteger());
    } else if (is("Tab")) {
      int t = value.toInteger();
      if (t >= 0 && t < tabs()) tab_ = t;
    } else if (is("TabsPerRow")) {
      tabsPerRow = value.toInteger();
    } else if (is("TabOrientation")) {
      tabOrientation = value.toInteger();
    } else if (is("Style")) {
      style = value.toInteger();
    } else if (is("TabHeight")) {
      tabHeightTwips = value.toDouble() * kTwipsPerHimetric;
    } else if (is("TabMaxWidth")) {
      tabMaxWidthTwips = value.toDouble() * kTwipsPerHimetric;
    } else if (auto c = indexOf(n, "TabCaption"); c && *c < tabs()) {
      setCaption(*c, value.toString());
    } else if (auto p = indexOf(n, "TabPicture"); p && *p < tabs()) {
      setPicture(*p, bitmapOf(value) ? value : Variant(nullptr));
    } else {
      // The page lists stay readable by name as the file has them.
      if (auto pg = pageOfControlEntry(n); pg && *pg < tabs() && value.isString())
        pages_[static_cast<std::size_t>(*pg)].controls.push_back(*value.stringPtr());
      return CommonControl::loadProperty(n, value);
    }
  } catch (const host::HostError&) {
    return false;  // an odd value is kept by name as the file has it
  }
  return true;
}

void SSTab::store(frm::Block& block) const {
  storeNumber(block, "Tabs", tabs(), 3);
  storeNumber(block, "Tab", tab_, 0);
  storeNumber(block, "TabsPerRow", tabsPerRow, 3);
  storeNumber(block, "TabOrientation", tabOrientation, 0);
  storeNumber(block, "Style", style, 0);
  storeNumber(block, "TabHeight", std::round(tabHeightTwips / kTwipsPerHimetric),
              std::round(300 / kTwipsPerHimetric));
  storeNumber(block, "TabMaxWidth", std::round(tabMaxWidthTwips / kTwipsPerHimetric), 0);
  for (int t = 0; t < tabs(); ++t)
    storeText(block, "TabCaption(" + std::to_string(t) + ")", caption(t), defaultCaption(t));
}

const host::MemberTable& SSTab::memberTable() {
  static const host::MemberTable table{
      {{"Tabs", [](Object& o, Args) { return integer(dlg(o).tabs()); },
        [](Object& o, Args, const Variant& v) { dlg(o).setTabs(v.toInteger()); }},
       {"Tab", [](Object& o, Args) { return integer(dlg(o).tab()); },
        [](Object& o, Args, const Variant& v) { dlg(o).setTab(v.toInteger()); }},
       {"TabsPerRow", [](Object& o, Args) { return integer(dlg(o).tabsPerRow); },
        [](Object& o, Args, const Variant& v) {
          std::int16_t n = v.toInteger();
          if (n < 1) host::raise(host::kInvalidPropertyValue);
          dlg(o).tabsPerRow = n;
        }},
       {"TabOrientation",
        [](Object& o, Args) { return Variant(static_cast<std::int32_t>(dlg(o).tabOrientation)); },
        [](Object& o, Args, const Variant& v) {
          std::int32_t n = v.toLong();
          if (n < 0 || n > 3) host::raise(host::kInvalidPropertyValue);
          dlg(o).tabOrientation = n;
        }},
       {"Style", [](Object& o, Args) { return Variant(static_cast<std::int32_t>(dlg(o).style)); },
        [](Object& o, Args, const Variant& v) {
          std::int32_t n = v.toLong();
          if (n < 0 || n > 1) host::raise(host::kInvalidPropertyValue);
          dlg(o).style = n;
        }},
       {"TabHeight",
        [](Object& o, Args) { return single(dlg(o).tabHeightTwips / heightUnit(dlg(o))); },
        [](Object& o, Args, const Variant& v) {
          double twips = v.toDouble() * heightUnit(dlg(o));
          if (twips < 0) host::raise(host::kInvalidPropertyValue);
          dlg(o).tabHeightTwips = twips;
        }},
       {"TabMaxWidth",
        [](Object& o, Args) { return single(dlg(o).tabMaxWidthTwips / widthUnit(dlg(o))); },
        [](Object& o, Args, const Variant& v) {
          double twips = v.toDouble() * widthUnit(dlg(o));
          if (twips < 0) host::raise(host::kInvalidPropertyValue);
          dlg(o).tabMaxWidthTwips = twips;
        }},
       {"TabCaption", [](Object& o, Args i) { return Variant(dlg(o).caption(pageIndex(i))); },
        [](Object& o, Args i, const Variant& v) { dlg(o).setCaption(pageIndex(i), v.toString()); }},
       {"TabPicture", [](Object& o, Args i) { return dlg(o).picture(pageIndex(i)); },
        [](Object& o, Args i, const Variant& v) { dlg(o).setPicture(pageIndex(i), v); }},
       // The caption of the page shown.
       {"Caption", [](Object& o, Args) { return Variant(dlg(o).caption(dlg(o).tab())); },
        [](Object& o, Args, const Variant& v) { dlg(o).setCaption(dlg(o).tab(), v.toString()); }}},
      {&rectMembers(), &fontMembers()}};
  return table;
}

}  // namespace rescalo::runtime
