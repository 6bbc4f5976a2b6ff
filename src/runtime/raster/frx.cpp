#include <rescalo/runtime/raster/frx.h>

#include <algorithm>

#include <rescalo/runtime/raster/image_io.h>

namespace rescalo::raster {

namespace {

// A bounds-checked little-endian reader over the .frx bytes.
class Reader {
 public:
  Reader(std::span<const std::uint8_t> bytes, std::size_t at) : bytes_(bytes), at_(at) {}

  bool has(std::size_t n) const { return at_ <= bytes_.size() && n <= bytes_.size() - at_; }

  std::optional<std::uint32_t> u16() {
    if (!has(2)) return std::nullopt;
    const auto v = static_cast<std::uint32_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
    at_ += 2;
    return v;
  }

  std::optional<std::uint32_t> u32() {
    if (!has(4)) return std::nullopt;
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(bytes_[at_ + i]) << (8 * i);
    at_ += 4;
    return v;
  }

  std::optional<std::span<const std::uint8_t>> bytes(std::size_t n) {
    if (!has(n)) return std::nullopt;
    const auto s = bytes_.subspan(at_, n);
    at_ += n;
    return s;
  }

  std::optional<std::string> text(std::size_t n) {
    const auto s = bytes(n);
    if (!s) return std::nullopt;
    return std::string(s->begin(), s->end());
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_;
};

}  // namespace

std::optional<Bitmap> readFrxPicture(std::span<const std::uint8_t> frx, std::uint32_t offset) {
  Reader in(frx, offset);
  const auto total = in.u32();
  const auto signature = in.bytes(4);
  const auto size = in.u32();
  if (!total || !signature || !size) return std::nullopt;
  const std::uint8_t kSignature[4] = {'l', 't', 0, 0};
  if (!std::equal(signature->begin(), signature->end(), kSignature)) return std::nullopt;
  if (*size == 0) return std::nullopt;  // a picture that was set and then removed
  const auto image = in.bytes(*size);
  if (!image) return std::nullopt;
  return decodeImage(*image);
}

std::optional<std::string> readFrxText(std::span<const std::uint8_t> frx, std::uint32_t offset) {
  Reader in(frx, offset);
  const auto length = in.u32();
  if (!length) return std::nullopt;
  return in.text(*length);
}

std::optional<std::vector<std::string>> readFrxList(std::span<const std::uint8_t> frx,
                                                    std::uint32_t offset) {
  Reader in(frx, offset);
  const auto count = in.u16();
  if (!count || !in.u16()) return std::nullopt;
  std::vector<std::string> items;
  items.reserve(*count);
  for (std::uint32_t i = 0; i < *count; ++i) {
    const auto length = in.u16();
    if (!length) return std::nullopt;
    auto item = in.text(*length);
    if (!item) return std::nullopt;
    items.push_back(std::move(*item));
  }
  return items;
}

}  // namespace rescalo::raster
