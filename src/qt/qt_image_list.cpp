#include <rescalo/qt/qt_image_list.h>

#include <rescalo/host/error.h>
#include <rescalo/qt/qt_object.h>

namespace rescalo::qt {

using host::Args;
using host::Object;
using host::self;
using host::Variant;

namespace {

constexpr int kReadOnlyWhileImages = 35611;

bool samePicture(const Variant& a, const Variant& b) {
  return a.isObject() && b.isObject() && a.toObject() == b.toObject();
}

}  // namespace

QtImageList::QtImageList(QWidget* parent) : QWidget(parent) { hide(); }

void QtImageList::checkNotBound() const {
  if (bound()) host::raise(host::kImageListBound);
}

void QtImageList::setImageWidth(int pixels) {
  checkNotBound();
  if (!images_.empty()) host::raise(kReadOnlyWhileImages);
  if (pixels < 0) host::raise(host::kInvalidPropertyValue);
  size_.setWidth(pixels);
}

void QtImageList::setImageHeight(int pixels) {
  checkNotBound();
  if (!images_.empty()) host::raise(kReadOnlyWhileImages);
  if (pixels < 0) host::raise(host::kInvalidPropertyValue);
  size_.setHeight(pixels);
}

void QtImageList::definePicture(const Variant& picture, const QPixmap& pixmap) {
  for (auto& [p, px] : sources_)
    if (samePicture(p, picture)) {
      px = pixmap;
      return;
    }
  sources_.emplace_back(picture, pixmap);
}

void QtImageList::add(const Variant& position, const std::string& key, const Variant& picture) {
  checkNotBound();
  if (!picture.isNothing() && !picture.isObject()) host::raise(host::kTypeMismatch);
  if (!key.empty())
    for (const Image& i : images_)
      if (host::equalsNoCase(i.key, key)) host::raise(host::kKeyNotUnique);
  std::size_t at = images_.size();
  if (!position.isEmpty()) {
    const int p = position.toLong();
    if (p < 1 || p > static_cast<int>(images_.size()) + 1) host::raise(host::kIndexOutOfBounds);
    at = static_cast<std::size_t>(p - 1);
  }
  Image image{key, {}, picture, {}};
  for (const auto& [p, source] : sources_)
    if (samePicture(p, picture) && !source.isNull()) {
      if (size_.width() == 0) size_.setWidth(source.width());
      if (size_.height() == 0) size_.setHeight(source.height());
      // The list keeps its images at one size, as a real image list does.
      image.pixmap = source.size() == size_
                         ? source
                         : source.scaled(size_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
  images_.insert(images_.begin() + static_cast<std::ptrdiff_t>(at), std::move(image));
}

void QtImageList::remove(int index0) {
  checkNotBound();
  images_.erase(images_.begin() + index0);
}

void QtImageList::clear() {
  checkNotBound();
  images_.clear();
}

int QtImageList::position(const Variant& indexOrKey) const {
  if (indexOrKey.isString()) {
    for (std::size_t i = 0; i < images_.size(); ++i)
      if (host::equalsNoCase(images_[i].key, indexOrKey.toString())) return static_cast<int>(i);
    host::raise(host::kElementNotFound);
  }
  const int i = indexOrKey.toLong();
  if (i < 1 || i > static_cast<int>(images_.size())) host::raise(host::kIndexOutOfBounds);
  return i - 1;
}

QtImageList* imageListOf(QWidget* widget) { return dynamic_cast<QtImageList*>(widget); }

namespace {

QtImageList& alive(const QPointer<QtImageList>& list) {
  if (!list) host::raise(kObjectUnloaded, "Object was unloaded");
  return *list;
}

// One image of a list, found again by its position each time it is read.
class QtListImage : public Object {
 public:
  QtListImage(QtImageList* list, int index0) : list_(list), index0_(index0) {}
  std::string_view typeName() const override { return "ListImage"; }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Index",
         [](Object& o, Args) { return Variant(std::int32_t(self<QtListImage>(o).index0_ + 1)); }},
        {"Key", [](Object& o, Args) { return Variant(self<QtListImage>(o).image().key); }},
        {"Tag", [](Object& o, Args) { return Variant(self<QtListImage>(o).image().tag); },
         [](Object& o, Args, const Variant& v) {
           auto& me = self<QtListImage>(o);
           alive(me.list_).setTag(me.index0_, v.toString());
         }},
        {"Picture", [](Object& o, Args) { return self<QtListImage>(o).image().picture; }}};
    return &table;
  }

 private:
  const QtImageList::Image& image() const {
    const auto& all = alive(list_).images();
    if (index0_ >= static_cast<int>(all.size())) host::raise(host::kIndexOutOfBounds);
    return all[static_cast<std::size_t>(index0_)];
  }
  QPointer<QtImageList> list_;
  int index0_;
};

class QtListImages : public Object {
 public:
  explicit QtListImages(QtImageList* list) : list_(list) {}
  std::string_view typeName() const override { return "ListImages"; }

 protected:
  static Variant item(Object& o, Args a) {
    host::expectArgs(a, 1);
    QtImageList& list = alive(self<QtListImages>(o).list_);
    return Variant(host::ObjectPtr(std::make_shared<QtListImage>(&list, list.position(a[0]))));
  }

  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Count",
         [](Object& o, Args) {
           return Variant(std::int32_t(alive(self<QtListImages>(o).list_).images().size()));
         }},
        // Item(i) reads as a property with an index and calls as a method.
        {"Item", &item, nullptr, &item},
        // Add [Index], [Key], Picture
        {"Add", nullptr, nullptr,
         [](Object& o, Args a) {
           host::expectArgs(a, 1, 3);
           QtImageList& list = alive(self<QtListImages>(o).list_);
           const Variant& position = a.size() > 1 ? a[0] : Variant();
           const std::string key = a.size() > 2 && !a[1].isEmpty() ? a[1].toString() : "";
           const Variant& picture = a[a.size() - 1];
           list.add(position, key, picture);
           const int at = position.isEmpty() ? static_cast<int>(list.images().size()) - 1
                                             : position.toLong() - 1;
           return Variant(host::ObjectPtr(std::make_shared<QtListImage>(&list, at)));
         }},
        {"Remove", nullptr, nullptr,
         [](Object& o, Args a) {
           host::expectArgs(a, 1);
           QtImageList& list = alive(self<QtListImages>(o).list_);
           list.remove(list.position(a[0]));
           return Variant();
         }},
        {"Clear", nullptr, nullptr, [](Object& o, Args) {
           alive(self<QtListImages>(o).list_).clear();
           return Variant();
         }}};
    return &table;
  }

 private:
  QPointer<QtImageList> list_;
};

}  // namespace

host::ObjectPtr listImages(QtImageList& list) { return std::make_shared<QtListImages>(&list); }

void ImageListBinding::set(QtImageList* list) {
  if (list_) list_->unbind();
  list_ = list;
  if (list_) list_->bind();
}

void ImageListBinding::set(const Variant& value) {
  if (value.isNothing()) return set(static_cast<QtImageList*>(nullptr));
  auto adapter =
      value.isObject() ? std::dynamic_pointer_cast<QtWidgetObject>(value.toObject()) : nullptr;
  QtImageList* list = adapter && adapter->alive() ? imageListOf(&adapter->widget()) : nullptr;
  if (!list) host::raise(host::kInvalidPropertyValue);
  set(list);
}

Variant ImageListBinding::value() const {
  return list_ ? Variant(host::ObjectPtr(adapterOf(list_))) : Variant(nullptr);
}

}  // namespace rescalo::qt
