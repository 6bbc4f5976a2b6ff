// Items, collections, image lists and what every common control shares; the class registry.

#include <rescalo/runtime/common_controls.h>

#include <rescalo/host/toolbar_rows.h>

#include <map>

#include <rescalo/runtime/form.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/paint.h>
#include <rescalo/runtime/runtime.h>
#include <rescalo/runtime/scale.h>

namespace rescalo::runtime {

using host::Args;
using host::Name;
using host::Object;
using host::self;
using host::Variant;

namespace {

constexpr int kReadOnlyWhileImages = 35611;
constexpr int kInvalidPicture = 481;

Variant longValue(int v) { return Variant(static_cast<std::int32_t>(v)); }

// "TabCaption(2)" -> ("TabCaption", 2); nothing for a name without one trailing index.
std::optional<std::pair<std::string_view, int>> splitIndexed(std::string_view name) {
  if (name.size() < 4 || name.back() != ')') return std::nullopt;
  auto open = name.rfind('(');
  if (open == std::string_view::npos || open == 0) return std::nullopt;
  std::string_view digits = name.substr(open + 1, name.size() - open - 2);
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  std::string_view base = name.substr(0, open);
  if (base.find_first_of("().") != std::string_view::npos) return std::nullopt;
  return std::pair{base, n};
}

}  // namespace

// ---- items ----

int Item::index() const {
  auto o = owner_.lock();
  return o ? o->positionOf(*this) : 0;
}

const host::MemberTable* Item::members() const {
  static const host::MemberTable table{
      {"Key", [](Object& o, Args) { return Variant(self<Item>(o).key()); },
       [](Object& o, Args, const Variant& v) {
         Item& item = self<Item>(o);
         std::string key = keyArgument(v);
         if (auto c = item.owner())
           c->rekey(item, key);
         else
           item.key_ = key;
       }},
      {"Tag", [](Object& o, Args) { return Variant(self<Item>(o).tag); },
       [](Object& o, Args, const Variant& v) { self<Item>(o).tag = v.toString(); }},
      {"Index", [](Object& o, Args) { return longValue(self<Item>(o).index()); }},
  };
  return &table;
}

const host::MemberTable* ListImage::members() const {
  static const host::MemberTable table{
      {{"Picture", [](Object& o, Args) { return self<ListImage>(o).picture; }}}, Item::members()};
  return &table;
}

double Button::widthTwips() const {
  if (style == 3) return host::kToolbarSeparatorPixels * ScaleState::twipsPerPixelX;
  if (style == 4) return placeholderWidth;
  auto c = owner();
  auto* bar = dynamic_cast<ButtonBar*>(c ? c->control().get() : nullptr);
  return bar ? bar->buttonWidthTwips() : 0;
}

const host::MemberTable* Button::members() const {
  static const host::MemberTable table{
      {{"Caption", [](Object& o, Args) { return Variant(self<Button>(o).caption); },
        [](Object& o, Args, const Variant& v) { self<Button>(o).caption = v.toString(); }},
       {"ToolTipText", [](Object& o, Args) { return Variant(self<Button>(o).toolTipText); },
        [](Object& o, Args, const Variant& v) { self<Button>(o).toolTipText = v.toString(); }},
       {"Description", [](Object& o, Args) { return Variant(self<Button>(o).description); },
        [](Object& o, Args, const Variant& v) { self<Button>(o).description = v.toString(); }},
       {"Image", [](Object& o, Args) { return self<Button>(o).image; },
        [](Object& o, Args, const Variant& v) { self<Button>(o).image = v; }},
       {"Style", [](Object& o, Args) { return longValue(self<Button>(o).style); },
        [](Object& o, Args, const Variant& v) {
          std::int32_t s = v.toLong();
          if (s < 0 || s > 5) host::raise(host::kInvalidPropertyValue);
          self<Button>(o).style = s;
        }},
       {"Value", [](Object& o, Args) { return longValue(self<Button>(o).value); },
        [](Object& o, Args, const Variant& v) { self<Button>(o).value = v.toLong() != 0; }},
       {"Visible", [](Object& o, Args) { return Variant(self<Button>(o).visible); },
        [](Object& o, Args, const Variant& v) { self<Button>(o).visible = v.toBool(); }},
       {"Enabled", [](Object& o, Args) { return Variant(self<Button>(o).enabled); },
        [](Object& o, Args, const Variant& v) { self<Button>(o).enabled = v.toBool(); }},
       {"Width",
        [](Object& o, Args) {
          const Button& b = self<Button>(o);
          auto c = b.owner();
          auto bar = c ? c->control() : nullptr;
          double unit = bar ? bar->space().unitX : 1;
          return Variant(static_cast<float>(b.widthTwips() / unit));
        }}},
      Item::members()};
  return &table;
}

const host::MemberTable* Node::members() const {
  static const host::MemberTable table{
      {{"Text", [](Object& o, Args) { return Variant(self<Node>(o).text); },
        [](Object& o, Args, const Variant& v) { self<Node>(o).text = v.toString(); }},
       {"Image", [](Object& o, Args) { return self<Node>(o).image; },
        [](Object& o, Args, const Variant& v) { self<Node>(o).image = v; }},
       {"SelectedImage", [](Object& o, Args) { return self<Node>(o).selectedImage; },
        [](Object& o, Args, const Variant& v) { self<Node>(o).selectedImage = v; }},
       {"Expanded", [](Object& o, Args) { return Variant(self<Node>(o).expanded); },
        [](Object& o, Args, const Variant& v) { self<Node>(o).expanded = v.toBool(); }},
       {"Parent",
        [](Object& o, Args) { return Variant(host::ObjectPtr(self<Node>(o).parent.lock())); }},
       {"Children",
        [](Object& o, Args) {
          const Node& n = self<Node>(o);
          auto c = n.owner();
          int count = 0;
          for (int i = 0; c && i < c->count(); ++i)
            if (c->at1<Node>(i + 1)->parent.lock().get() == &n) ++count;
          return longValue(count);
        }}},
      Item::members()};
  return &table;
}

const host::MemberTable* ListItem::members() const {
  static const host::MemberTable table{
      {{"Text", [](Object& o, Args) { return Variant(self<ListItem>(o).text); },
        [](Object& o, Args, const Variant& v) { self<ListItem>(o).text = v.toString(); }},
       {"Icon", [](Object& o, Args) { return self<ListItem>(o).icon; },
        [](Object& o, Args, const Variant& v) { self<ListItem>(o).icon = v; }},
       {"SmallIcon", [](Object& o, Args) { return self<ListItem>(o).smallIcon; },
        [](Object& o, Args, const Variant& v) { self<ListItem>(o).smallIcon = v; }}},
      Item::members()};
  return &table;
}

const host::MemberTable* TabItem::members() const {
  static const host::MemberTable table{
      {{"Caption", [](Object& o, Args) { return Variant(self<TabItem>(o).caption); },
        [](Object& o, Args, const Variant& v) { self<TabItem>(o).caption = v.toString(); }},
       {"ToolTipText", [](Object& o, Args) { return Variant(self<TabItem>(o).toolTipText); },
        [](Object& o, Args, const Variant& v) { self<TabItem>(o).toolTipText = v.toString(); }},
       {"Image", [](Object& o, Args) { return self<TabItem>(o).image; },
        [](Object& o, Args, const Variant& v) { self<TabItem>(o).image = v; }}},
      Item::members()};
  return &table;
}

// ---- collections ----

std::string keyArgument(const Variant& key) {
  if (key.isEmpty() || key.isNull()) return {};
  if (key.isObject()) host::raise(host::kTypeMismatch);
  return key.toString();
}

void storeNumber(frm::Block& block, std::string_view n, double value, double defaultValue) {
  if (const frm::Property* p = block.property(n)) {
    if (frm::parseNumber(p->value) == value) return;
  } else if (value == defaultValue) {
    return;
  }
  block.set(n, frm::formatNumber(value));
}

void storeText(frm::Block& block, std::string_view n, const std::string& text,
               const std::string& defaultText) {
  if (const frm::Property* p = block.property(n)) {
    if (frm::unquote(p->value) == text) return;
  } else if (text == defaultText) {
    return;
  }
  block.set(n, frm::quote(text));
}

Variant argument(Args args, std::size_t i) { return i < args.size() ? args[i] : Variant(); }

ItemCollection::ItemCollection(std::string typeName, std::weak_ptr<Control> control)
    : host::Collection(host::kCommonControlErrors, 1, std::move(typeName)),
      control_(std::move(control)) {}

void ItemCollection::insert(const std::shared_ptr<Item>& item, const Variant& index,
                            const std::string& key) {
  Variant before;
  if (!index.isEmpty()) {
    std::int32_t i = index.toLong();
    if (i < 1 || i > count() + 1) host::raise(host::kIndexOutOfBounds);
    if (i <= count()) before = Variant(i);
  }
  add(Variant(host::ObjectPtr(item)), key, before);
  item->key_ = key;
  item->owner_ = std::static_pointer_cast<ItemCollection>(shared_from_this());
}

std::shared_ptr<Item> ItemCollection::itemAt(const Variant& indexOrKey) const {
  return std::static_pointer_cast<Item>(item(indexOrKey).toObject());
}

void ItemCollection::removeItem(const Variant& indexOrKey) {
  if (guard) guard();
  auto it = itemAt(indexOrKey);
  remove(indexOrKey);
  it->owner_.reset();
}

void ItemCollection::clearItems() {
  if (guard) guard();
  for (int i = 0; i < count(); ++i) itemAt(Variant(i + 1))->owner_.reset();
  clear();
}

void ItemCollection::rekey(Item& item, const std::string& key) {
  int p = positionOf(item);
  if (p == 0) {
    item.key_ = key;
    return;
  }
  if (!key.empty() && containsKey(key) && !host::equalsNoCase(keyAt(p - 1), key))
    host::raise(host::kKeyNotUnique);
  Variant v = at(p - 1);
  remove(Variant(p));
  add(v, key, p <= count() ? Variant(p) : Variant());
  item.key_ = key;
}

int ItemCollection::positionOf(const Item& item) const {
  for (int i = 0; i < count(); ++i)
    if (at(i).toObject().get() == &item) return i + 1;
  return 0;
}

const host::MemberTable* ItemCollection::members() const {
  static const host::MemberTable table{{{"Add", nullptr, nullptr,
                                         [](Object& o, Args a) {
                                           auto& c = self<ItemCollection>(o);
                                           if (!c.adder) host::raise(host::kNoSuchMember);
                                           return c.adder(a);
                                         }},
                                        {"Remove", nullptr, nullptr,
                                         [](Object& o, Args a) {
                                           host::expectArgs(a, 1);
                                           self<ItemCollection>(o).removeItem(a[0]);
                                           return Variant();
                                         }},
                                        {"Clear", nullptr, nullptr,
                                         [](Object& o, Args) {
                                           self<ItemCollection>(o).clearItems();
                                           return Variant();
                                         }}},
                                       host::Collection::members()};
  return &table;
}

// ---- what the controls share ----

bool CommonControl::tryGet(Name member, Args idx, Variant& out) {
  if (Control::tryGet(member, idx, out)) return true;
  auto split = idx.empty() ? splitIndexed(member.text()) : std::nullopt;
  if (!split) return false;
  Variant i(static_cast<std::int16_t>(split->second));
  return Object::tryGet(Name(split->first), Args(&i, 1), out);
}

bool CommonControl::trySet(Name member, Args idx, const Variant& value) {
  if (Control::trySet(member, idx, value)) return true;
  auto split = idx.empty() ? splitIndexed(member.text()) : std::nullopt;
  if (!split) return false;
  Variant i(static_cast<std::int16_t>(split->second));
  return Object::trySet(Name(split->first), Args(&i, 1), value);
}

bool CommonControl::loadProperty(std::string_view member, const Variant& value) {
  if (!imageListRef(member) || !value.isString()) return false;
  namedImageLists_.emplace_back(std::string(member), *value.stringPtr());
  return true;
}

void CommonControl::finishLoad(Form& f) {
  for (const auto& [property, target] : namedImageLists_) {
    if (target.empty()) continue;
    auto* list = dynamic_cast<ImageList*>(f.find(target));
    if (list) {
      imageListRef(property)->set(std::static_pointer_cast<ImageList>(list->shared_from_this()));
    } else {
      f.runtime().warn(f.name + "." + key() + ": " + property + " names \"" + target +
                       "\", which is no image list of the form; it stays Nothing");
    }
  }
  namedImageLists_.clear();
}

void ImageListRef::set(std::shared_ptr<ImageList> list) {
  if (list == list_) return;
  if (list_) --list_->bindings_;
  list_ = std::move(list);
  if (list_) ++list_->bindings_;
}

void ImageListRef::set(const Variant& value) {
  if (value.isNothing()) return set(std::shared_ptr<ImageList>());
  auto list = value.isObject() ? std::dynamic_pointer_cast<ImageList>(value.toObject()) : nullptr;
  if (!list) host::raise(host::kInvalidPropertyValue);
  set(std::move(list));
}

Variant ImageListRef::value() const { return Variant(host::ObjectPtr(list_)); }

// ---- image list ----

std::shared_ptr<ItemCollection> ImageList::listImages() {
  if (!images_) {
    auto me = std::static_pointer_cast<ImageList>(shared_from_this());
    images_ = std::make_shared<ItemCollection>("ListImages", me);
    std::weak_ptr<ImageList> w = me;
    images_->adder = [w](Args a) {
      host::expectArgs(a, 3, 3);  // [Index], [Key], Picture
      auto list = w.lock();
      if (!list) host::raise(host::kObjectNotSet);
      return Variant(host::ObjectPtr(list->add(a[0], keyArgument(a[1]), a[2])));
    };
    images_->guard = [w] {
      if (auto list = w.lock()) list->checkNotBound();
    };
  }
  return images_;
}

void ImageList::checkNotBound() const {
  if (bound()) host::raise(host::kImageListBound);
}

void ImageList::checkResizable() const {
  checkNotBound();
  if (images_ && images_->count() > 0) host::raise(kReadOnlyWhileImages);
}

void ImageList::setImageWidth(int pixels) {
  checkResizable();
  if (pixels < 0) host::raise(host::kInvalidPropertyValue);
  imageWidth_ = pixels;
}

void ImageList::setImageHeight(int pixels) {
  checkResizable();
  if (pixels < 0) host::raise(host::kInvalidPropertyValue);
  imageHeight_ = pixels;
}

std::shared_ptr<ListImage> ImageList::add(const Variant& position, const std::string& key,
                                          const Variant& picture) {
  checkNotBound();
  const raster::Bitmap* bm = bitmapOf(picture);
  if (!bm && !picture.isNothing()) host::raise(kInvalidPicture, "Invalid picture");
  auto image = std::make_shared<ListImage>();
  int w = imageWidth_, h = imageHeight_;
  if (bm) {
    if (w == 0) w = bm->width();
    if (h == 0) h = bm->height();
    // The list keeps its images at one size, as a real image list does.
    image->picture = bm->width() == w && bm->height() == h
                         ? picture
                         : Variant(host::ObjectPtr(makePicture(raster::resample(*bm, w, h))));
  }
  listImages()->insert(image, position, key);
  imageWidth_ = w, imageHeight_ = h;
  return image;
}

bool ImageList::loadProperty(std::string_view n, const Variant& value) {
  // The file states the size before its images, so no rule stands in the way.
  if (host::equalsNoCase(n, "ImageWidth")) {
    imageWidth_ = value.toInteger();
    return true;
  }
  if (host::equalsNoCase(n, "ImageHeight")) {
    imageHeight_ = value.toInteger();
    return true;
  }
  return CommonControl::loadProperty(n, value);
}

void ImageList::loadBlock(const frm::PropertyBlock& block, const ValueReader& read) {
  if (!host::equalsNoCase(block.name, "Images")) return;
  for (const auto& e : block.entries) {
    const auto* image = std::get_if<frm::PropertyBlock>(&e);
    if (!image) continue;
    Variant picture(nullptr);
    std::string key, imageTag;
    for (const auto& pe : image->entries) {
      const auto* p = std::get_if<frm::Property>(&pe);
      if (!p) continue;
      if (host::equalsNoCase(p->name, "Picture")) {
        Variant v = read(*p);
        if (bitmapOf(v)) picture = v;  // Nothing when the .frx could not give it
      } else if (host::equalsNoCase(p->name, "Key")) {
        key = read(*p).toString();
      } else if (host::equalsNoCase(p->name, "Tag") || host::equalsNoCase(p->name, "Object.Tag")) {
        imageTag = read(*p).toString();
      }
    }
    try {
      add(Variant(), key, picture)->tag = imageTag;
    } catch (const host::HostError&) {
      // a key the file repeats: the designer would not have written it; the image is left out
    }
  }
}

void ImageList::store(frm::Block& block) const {
  storeNumber(block, "ImageWidth", imageWidth_, 0);
  storeNumber(block, "ImageHeight", imageHeight_, 0);
}

const host::MemberTable& ImageList::memberTable() {
  static const host::MemberTable table{
      {{"ListImages",
        [](Object& o, Args i) {
          auto images = self<ImageList>(o).listImages();
          if (!i.empty()) return images->item(i[0]);
          return Variant(host::ObjectPtr(images));
        }},
       {"ImageWidth",
        [](Object& o, Args) {
          return Variant(static_cast<std::int16_t>(self<ImageList>(o).imageWidth()));
        },
        [](Object& o, Args, const Variant& v) { self<ImageList>(o).setImageWidth(v.toInteger()); }},
       {"ImageHeight",
        [](Object& o, Args) {
          return Variant(static_cast<std::int16_t>(self<ImageList>(o).imageHeight()));
        },
        [](Object& o, Args, const Variant& v) {
          self<ImageList>(o).setImageHeight(v.toInteger());
        }}},
      {&rectMembers(), &fontMembers()}};
  return table;
}

// ---- the registry ----

namespace {

ControlClass commonClass(std::string typeName, const host::MemberTable& members) {
  return ControlClass{std::move(typeName), Geometry::Rect, true, &members, {}};
}

std::string folded(std::string_view s) {
  std::string out;
  for (char c : s) out += host::foldCase(c);
  return out;
}

}  // namespace

const ControlClass* commonControlClass(std::string_view fileClass) {
  static const std::map<std::string, ControlClass, std::less<>> classes = [] {
    std::map<std::string, ControlClass, std::less<>> m;
    auto add = [&](ControlClass c) { m.emplace(folded(c.typeName), std::move(c)); };
    add(commonClass("SSTab", SSTab::memberTable()));
    add(commonClass("ImageList", ImageList::memberTable()));
    add(commonClass("Toolbar", Toolbar::memberTable()));
    add(commonClass("TreeView", TreeView::memberTable()));
    add(commonClass("ListView", ListView::memberTable()));
    add(commonClass("TabStrip", TabStrip::memberTable()));
    add(commonClass("Quillmark", Quillmark::memberTable()));
    return m;
  }();
  auto dot = fileClass.rfind('.');
  std::string library = dot == std::string_view::npos ? "" : folded(fileClass.substr(0, dot));
  std::string cls = folded(dot == std::string_view::npos ? fileClass : fileClass.substr(dot + 1));
  auto it = classes.find(cls);
  if (it == classes.end()) return nullptr;
  // Other libraries' classes of the same short name stay generic.
  if (cls == "quillmark") return &it->second;
  if (cls == "sstab") return library == "tabdlg" ? &it->second : nullptr;
  return library == "mscomctllib" || library == "comctllib" ? &it->second : nullptr;
}

std::shared_ptr<Control> createCommonControl(std::string_view fileClass) {
  const ControlClass* cls = commonControlClass(fileClass);
  if (!cls) return nullptr;
  std::string fc(fileClass);
  const std::string& t = cls->typeName;
  if (t == "SSTab") return std::make_shared<SSTab>(fc, *cls);
  if (t == "ImageList") return std::make_shared<ImageList>(fc, *cls);
  if (t == "Toolbar") return std::make_shared<Toolbar>(fc, *cls);
  if (t == "TreeView") return std::make_shared<TreeView>(fc, *cls);
  if (t == "ListView") return std::make_shared<ListView>(fc, *cls);
  if (t == "TabStrip") return std::make_shared<TabStrip>(fc, *cls);
  return std::make_shared<Quillmark>(fc, *cls);
}

}  // namespace rescalo::runtime
