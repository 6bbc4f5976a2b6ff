#pragma once
// Picture objects: a shared, never altered bitmap with the classic members.

#include <memory>

#include <rescalo/host/object.h>
#include <rescalo/runtime/raster/bitmap.h>

namespace rescalo::runtime {

class Picture : public host::Object {
 public:
  explicit Picture(std::shared_ptr<const raster::Bitmap> bitmap) : bitmap_(std::move(bitmap)) {}
  std::string_view typeName() const override { return "Picture"; }
  const raster::Bitmap& bitmap() const { return *bitmap_; }
  std::shared_ptr<const raster::Bitmap> shared() const { return bitmap_; }
  // The natural size in HIMETRIC, as Picture.Width / Picture.Height read.
  double himetricWidth() const;
  double himetricHeight() const;

 protected:
  const host::MemberTable* members() const override;

 private:
  std::shared_ptr<const raster::Bitmap> bitmap_;
};

std::shared_ptr<Picture> makePicture(raster::Bitmap bitmap);
// The bitmap behind a picture variant, or nullptr for Nothing or a non-picture.
const raster::Bitmap* bitmapOf(const host::Variant& picture);

}  // namespace rescalo::runtime
