#include <rescalo/runtime/picture.h>

#include <rescalo/runtime/scale.h>

namespace rescalo::runtime {

double Picture::himetricWidth() const {
  return bitmap_->width() * ScaleState::twipsPerPixelX * 2540.0 / 1440.0;
}
double Picture::himetricHeight() const {
  return bitmap_->height() * ScaleState::twipsPerPixelY * 2540.0 / 1440.0;
}

const host::MemberTable* Picture::members() const {
  using host::Args;
  using host::Object;
  using host::self;
  using host::Variant;
  static const host::MemberTable table{
      {"Width",
       [](Object& o, Args) { return Variant(host::CLng(self<Picture>(o).himetricWidth())); }},
      {"Height",
       [](Object& o, Args) { return Variant(host::CLng(self<Picture>(o).himetricHeight())); }},
      {"Type", [](Object&, Args) { return Variant(std::int16_t{1}); }},  // bitmap
      {"Handle",
       [](Object& o, Args) {
         return Variant(static_cast<std::int32_t>(
             reinterpret_cast<std::uintptr_t>(&self<Picture>(o).bitmap()) & 0x7FFFFFFF));
       }},
  };
  return &table;
}

std::shared_ptr<Picture> makePicture(raster::Bitmap bitmap) {
  return std::make_shared<Picture>(std::make_shared<const raster::Bitmap>(std::move(bitmap)));
}

const raster::Bitmap* bitmapOf(const host::Variant& picture) {
  if (!picture.isObject()) return nullptr;
  auto p = std::dynamic_pointer_cast<Picture>(picture.toObject());
  return p ? &p->bitmap() : nullptr;
}

}  // namespace rescalo::runtime
