// Toolbars and Quillmark: buttons from the form file, and a toolbar's height that follows them.

#include <cmath>
#include <limits>
#include <vector>

#include <rescalo/host/toolbar_rows.h>
#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/runtime.h>
#include <rescalo/runtime/scale.h>

namespace rescalo::runtime {

using host::Args;
using host::Object;
using host::self;
using host::single;
using host::Variant;

namespace {

Variant longValue(int v) { return Variant(static_cast<std::int32_t>(v)); }
Toolbar& bar(Object& o) { return self<Toolbar>(o); }

Variant collectionOrItem(const std::shared_ptr<ItemCollection>& c, Args index) {
  if (!index.empty()) return c->item(index[0]);
  return Variant(host::ObjectPtr(c));
}

int enumValue(const Variant& v, int lo, int hi) {
  std::int32_t n = v.toLong();
  if (n < lo || n > hi) host::raise(host::kInvalidPropertyValue);
  return n;
}

}  // namespace

// ---- buttons ----

std::shared_ptr<ItemCollection> ButtonBar::buttons() {
  if (!buttons_) {
    buttons_ = std::make_shared<ItemCollection>(
        "Buttons", std::static_pointer_cast<Control>(shared_from_this()));
    std::weak_ptr<ItemCollection> w = buttons_;
    buttons_->adder = [w](Args a) {
      host::expectArgs(a, 0, 5);  // [Index], [Key], [Caption], [Style], [Image]
      auto c = w.lock();
      if (!c) host::raise(host::kObjectNotSet);
      auto b = std::make_shared<Button>();
      b->caption = argument(a, 2).isEmpty() ? std::string() : a[2].toString();
      if (!argument(a, 3).isEmpty()) b->set("Style", a[3]);
      if (!argument(a, 4).isEmpty()) b->image = a[4];
      c->insert(b, argument(a, 0), keyArgument(argument(a, 1)));
      return Variant(host::ObjectPtr(b));
    };
  }
  return buttons_;
}

void ButtonBar::loadBlock(const frm::PropertyBlock& block, const ValueReader& read) {
  if (!host::equalsNoCase(block.name, "Buttons")) return;
  for (const auto& e : block.entries) {
    const auto* pb = std::get_if<frm::PropertyBlock>(&e);
    if (!pb) continue;
    auto b = std::make_shared<Button>();
    std::string key;
    Variant imageIndex, imageKey;
    for (const auto& pe : pb->entries) {
      const auto* p = std::get_if<frm::Property>(&pe);
      if (!p) continue;
      Variant v = read(*p);
      auto is = [&](const char* n) { return host::equalsNoCase(p->name, n); };
      try {
        if (is("Key"))
          key = v.toString();
        else if (is("Caption"))
          b->caption = v.toString();
        else if (is("Object.ToolTipText") || is("ToolTipText"))
          b->toolTipText = v.toString();
        else if (is("Description"))
          b->description = v.toString();
        else if (is("Object.Tag") || is("Tag"))
          b->tag = v.toString();
        else if (is("ImageIndex"))
          imageIndex = v;
        else if (is("ImageKey"))
          imageKey = v;
        else if (is("Style"))
          b->style = v.toLong();
        else if (is("Value"))
          b->value = v.toLong();
        else if (is("Object.Visible") || is("Visible"))
          b->visible = v.toBool();
        else if (is("Enabled"))
          b->enabled = v.toBool();
        else if (is("Object.Width"))
          b->placeholderWidth = v.toDouble() * kTwipsPerHimetric;
      } catch (const host::HostError&) {
        // an odd value keeps the button's default, as the designer would
      }
    }
    // A key names the image when the file gives one; otherwise the index does.
    if (!imageKey.isEmpty())
      b->image = imageKey;
    else if (!imageIndex.isEmpty())
      b->image = imageIndex;
    try {
      buttons()->insert(b, Variant(), key);
    } catch (const host::HostError&) {
      // a key the file repeats is left out with its button
    }
  }
}

namespace {

const host::MemberTable& buttonsMember() {
  static const host::MemberTable table{{"Buttons", [](Object& o, Args i) {
                                          return collectionOrItem(self<ButtonBar>(o).buttons(), i);
                                        }}};
  return table;
}

}  // namespace

const host::MemberTable& Quillmark::memberTable() {
  static const host::MemberTable table{{}, {&buttonsMember(), &rectMembers(), &fontMembers()}};
  return table;
}

// ---- toolbar ----

Toolbar::Toolbar(std::string fileClass, const ControlClass& cls)
    : ButtonBar(std::move(fileClass), cls),
      // The designer's new toolbar: 23 x 22 pixel buttons.
      buttonWidth_(609 * kTwipsPerHimetric),
      buttonHeight_(582 * kTwipsPerHimetric) {
  fitHeight();
}

std::vector<host::ToolbarPlace> Toolbar::buttonPlaces() const {
  const ItemCollection* list = buttonList();
  if (!list) return {};
  // Buttons are windows: whole pixels.
  const double tpp = ScaleState::twipsPerPixelX;
  std::vector<host::ToolbarSlot> cells;
  for (int i = 1; i <= list->count(); ++i) {
    auto b = list->at1<Button>(i);
    cells.push_back(
        {static_cast<int>(std::lround(b->widthTwips() / tpp)), b->visible, b->style == 3});
  }
  // Only a toolbar aligned to the top or bottom of its form wraps: the form gives it its width.
  // One placed anywhere else keeps its buttons on one row, whatever its width.
  const host::Variant* wrappable = stored.find("Wrappable");
  const bool wraps = form && container == form && (alignment == 1 || alignment == 2) &&
                     (!wrappable || wrappable->toBool());
  return host::toolbarPlaces(
      cells, wraps ? static_cast<int>(std::lround(width / tpp)) : std::numeric_limits<int>::max());
}

double Toolbar::neededHeight() const {
  const double tpp = ScaleState::twipsPerPixelY;
  return host::toolbarHeightPixels(host::toolbarRows(buttonPlaces()),
                                   static_cast<int>(std::lround(buttonHeight_ / tpp)), style_,
                                   appearance_) *
         tpp;
}

void Toolbar::fitHeight() {
  // Aligned to the left or right, the toolbar is as tall as the edge it stands on.
  if (form && container == form && (alignment == 3 || alignment == 4)) return;
  double was = height;
  height = neededHeight();
  if (height != was) realign();
}

// Buttons are windows: their sizes are whole pixels.
namespace {
// A button's size is a 16-bit count of pixels in the window messages that carry it.
constexpr double kMaxButtonPixels = 32767;
}  // namespace

void Toolbar::setButtonWidth(double twips) {
  if (!(twips >= 0) || twips / ScaleState::twipsPerPixelX > kMaxButtonPixels)
    host::raise(host::kInvalidPropertyValue);
  buttonWidth_ = std::round(twips / ScaleState::twipsPerPixelX) * ScaleState::twipsPerPixelX;
}

// The toolbar takes its new height the way a real one does: when the window messages that
// the new button size causes are processed, at the next DoEvents.
void Toolbar::setButtonHeight(double twips) {
  if (!(twips >= 0) || twips / ScaleState::twipsPerPixelY > kMaxButtonPixels)
    host::raise(host::kInvalidPropertyValue);
  buttonHeight_ = std::round(twips / ScaleState::twipsPerPixelY) * ScaleState::twipsPerPixelY;
  if (!form) {
    fitHeight();
    return;
  }
  std::weak_ptr<Object> self = weak_from_this();
  form->runtime().post([self] {
    if (auto bar = std::static_pointer_cast<Toolbar>(self.lock())) bar->fitHeight();
  });
}

void Toolbar::setStyle(int s) {
  if (s < 0 || s > 1) host::raise(host::kInvalidPropertyValue);
  style_ = s;
  fitHeight();
}

void Toolbar::setAppearance(int a) {
  if (a < 0 || a > 1) host::raise(host::kInvalidPropertyValue);
  appearance_ = a;
  fitHeight();
}

bool Toolbar::loadProperty(std::string_view n, const Variant& value) {
  if (host::equalsNoCase(n, "ButtonWidth") && value.isNumeric()) {
    buttonWidth_ = value.toDouble() * kTwipsPerHimetric;
    return true;
  }
  if (host::equalsNoCase(n, "ButtonHeight") && value.isNumeric()) {
    buttonHeight_ = value.toDouble() * kTwipsPerHimetric;
    return true;
  }
  return ButtonBar::loadProperty(n, value);
}

void Toolbar::finishLoad(Form& f) {
  ButtonBar::finishLoad(f);
  fitHeight();  // whatever Height the file states
}

void Toolbar::store(frm::Block& block) const {
  storeNumber(block, "ButtonWidth", std::round(buttonWidth_ / kTwipsPerHimetric), 609);
  storeNumber(block, "ButtonHeight", std::round(buttonHeight_ / kTwipsPerHimetric), 582);
}

ImageListRef* Toolbar::imageListRef(std::string_view n) {
  if (host::equalsNoCase(n, "ImageList")) return &imageList;
  if (host::equalsNoCase(n, "DisabledImageList")) return &disabledImageList;
  if (host::equalsNoCase(n, "HotImageList")) return &hotImageList;
  return nullptr;
}

const host::MemberTable& Toolbar::memberTable() {
  static const host::MemberTable table{
      {{"ButtonWidth",
        [](Object& o, Args) { return single(bar(o).buttonWidthTwips() / bar(o).space().unitX); },
        [](Object& o, Args, const Variant& v) {
          bar(o).setButtonWidth(v.toDouble() * bar(o).space().unitX);
        }},
       {"ButtonHeight",
        [](Object& o, Args) { return single(bar(o).buttonHeightTwips() / bar(o).space().unitY); },
        [](Object& o, Args, const Variant& v) {
          bar(o).setButtonHeight(v.toDouble() * bar(o).space().unitY);
        }},
       {"ImageList", [](Object& o, Args) { return bar(o).imageList.value(); },
        [](Object& o, Args, const Variant& v) { bar(o).imageList.set(v); }},
       {"DisabledImageList", [](Object& o, Args) { return bar(o).disabledImageList.value(); },
        [](Object& o, Args, const Variant& v) { bar(o).disabledImageList.set(v); }},
       {"HotImageList", [](Object& o, Args) { return bar(o).hotImageList.value(); },
        [](Object& o, Args, const Variant& v) { bar(o).hotImageList.set(v); }},
       {"Style", [](Object& o, Args) { return longValue(bar(o).style()); },
        [](Object& o, Args, const Variant& v) { bar(o).setStyle(v.toLong()); }},
       {"Appearance", [](Object& o, Args) { return longValue(bar(o).appearance()); },
        [](Object& o, Args, const Variant& v) { bar(o).setAppearance(v.toLong()); }},
       {"Align",
        [](Object& o, Args) { return Variant(static_cast<std::int16_t>(bar(o).alignment)); },
        [](Object& o, Args, const Variant& v) {
          bar(o).alignment = enumValue(v, 0, 4);
          bar(o).fitHeight();
          bar(o).realign();
        }},
       // The buttons decide the height: a value given is checked, then the rule applies.
       {"Height", [](Object& o, Args) { return single(bar(o).height / bar(o).space().unitY); },
        [](Object& o, Args, const Variant& v) {
          if (v.toDouble() < 0) host::raise(host::kInvalidPropertyValue);
          bar(o).fitHeight();
        }},
       {"Move", nullptr, nullptr,
        [](Object& o, Args a) {
          const host::Member* move = rectMembers().find("Move");
          move->call(o, a);
          bar(o).fitHeight();
          return Variant();
        }}},
      {&buttonsMember(), &rectMembers(), &fontMembers()}};
  return table;
}

}  // namespace rescalo::runtime
