#include <rescalo/qt/qt_picture.h>

#include <QGuiApplication>
#include <QScreen>

namespace rescalo::qt {

using host::Args;
using host::Object;
using host::self;
using host::Variant;

namespace {

// A picture's pixels are screen pixels: without a screen, the classic 96 dpi.
double screenDpi(bool xAxis) {
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return 96;
  return xAxis ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
}

}  // namespace

double QtPicture::himetricWidth() const { return image_->width() * 2540.0 / screenDpi(true); }
double QtPicture::himetricHeight() const { return image_->height() * 2540.0 / screenDpi(false); }

const host::MemberTable* QtPicture::members() const {
  static const host::MemberTable table{
      {"Width",
       [](Object& o, Args) { return Variant(host::CLng(self<QtPicture>(o).himetricWidth())); }},
      {"Height",
       [](Object& o, Args) { return Variant(host::CLng(self<QtPicture>(o).himetricHeight())); }},
      {"Type", [](Object&, Args) { return Variant(std::int16_t{1}); }},  // bitmap
      {"Handle",
       [](Object& o, Args) {
         return Variant(static_cast<std::int32_t>(
             reinterpret_cast<std::uintptr_t>(&self<QtPicture>(o).image()) & 0x7FFFFFFF));
       }},
  };
  return &table;
}

std::shared_ptr<QtPicture> makePicture(QImage image) {
  return std::make_shared<QtPicture>(std::move(image));
}

const QImage* imageOf(const Variant& picture) {
  if (!picture.isObject()) return nullptr;
  auto p = std::dynamic_pointer_cast<QtPicture>(picture.toObject());
  return p ? &p->image() : nullptr;
}

}  // namespace rescalo::qt
