#pragma once
// An image list on Qt: a component that is never seen. It is a hidden widget, so that it is
// one of its form's controls as on the classic runtime, and keeps its images as pixmaps of
// one size; the controls bound to it make their icons from those, at that size.
//
// As on the classic runtime, a list that a control is bound to can be neither changed nor
// resized (35617), and its image size is fixed while it holds images (35611).

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include <rescalo/host/object.h>

namespace rescalo::qt {

class QtImageList : public QWidget {
 public:
  explicit QtImageList(QWidget* parent);

  struct Image {
    std::string key;
    std::string tag;
    host::Variant picture{nullptr};  // what was added: a Picture, or Nothing
    QPixmap pixmap;                  // at the list's image size; null for Nothing
  };

  const std::vector<Image>& images() const { return images_; }
  QSize imageSize() const { return size_; }
  // Pixels; 35617 while bound, 35611 while the list holds images.
  void setImageWidth(int pixels);
  void setImageHeight(int pixels);

  // The pixmap a picture stands for, at its own size: what Add makes an image of. The
  // application (or the form builder) names them; a picture it did not name adds an empty
  // image.
  void definePicture(const host::Variant& picture, const QPixmap& pixmap);
  // Adds at a 1-based position (Empty: at the end); an empty list of no size takes the size
  // of its first picture.
  void add(const host::Variant& position, const std::string& key, const host::Variant& picture);
  void remove(int index0);
  void clear();
  // The 0-based position of an index (1-based) or key; 35600 or 35601 when there is none.
  int position(const host::Variant& indexOrKey) const;
  void setTag(int index0, std::string tag) { images_[static_cast<std::size_t>(index0)].tag = tag; }

  // Bindings: a control takes the list, or lets it go.
  void bind() { ++bindings_; }
  void unbind() { --bindings_; }
  bool bound() const { return bindings_ > 0; }

 private:
  void checkNotBound() const;
  std::vector<Image> images_;
  std::vector<std::pair<host::Variant, QPixmap>> sources_;
  QSize size_{0, 0};
  int bindings_ = 0;
};

// The image list behind a widget, or nullptr.
QtImageList* imageListOf(QWidget* widget);

// The ListImages collection of a list (Count, Item, Add, Remove, Clear), read afresh each time.
host::ObjectPtr listImages(QtImageList& list);

// A control's binding to an image list: holds the list while it is set and lets it go when
// set to Nothing or when the control goes.
class ImageListBinding {
 public:
  ImageListBinding() = default;
  ImageListBinding(const ImageListBinding&) = delete;
  ImageListBinding& operator=(const ImageListBinding&) = delete;
  ~ImageListBinding() { set(nullptr); }
  // An image list's adapter or Nothing; anything else is an invalid property value (380).
  void set(const host::Variant& value);
  void set(QtImageList* list);
  host::Variant value() const;
  QtImageList* list() const { return list_; }

 private:
  QPointer<QtImageList> list_;
};

}  // namespace rescalo::qt
