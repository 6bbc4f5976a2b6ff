#pragma once
// Picture objects on Qt: a shared, never altered QImage with the classic members (Width and
// Height in HIMETRIC, Type, Handle).

#include <QImage>
#include <memory>

#include <rescalo/host/object.h>

namespace rescalo::qt {

class QtPicture : public host::Object {
 public:
  explicit QtPicture(QImage image) : image_(std::make_shared<const QImage>(std::move(image))) {}
  std::string_view typeName() const override { return "Picture"; }
  const QImage& image() const { return *image_; }
  // The natural size in HIMETRIC at the screen's logical dpi, as Width and Height read.
  double himetricWidth() const;
  double himetricHeight() const;

 protected:
  const host::MemberTable* members() const override;

 private:
  std::shared_ptr<const QImage> image_;
};

std::shared_ptr<QtPicture> makePicture(QImage image);
// The image behind a picture variant, or nullptr for Nothing or a non-picture.
const QImage* imageOf(const host::Variant& picture);

}  // namespace rescalo::qt
