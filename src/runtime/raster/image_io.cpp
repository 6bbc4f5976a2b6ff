#include <rescalo/runtime/raster/image_io.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

// stb is third-party C written for looser warning settings than ours.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wpedantic"
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace rescalo::raster {

namespace {

std::uint32_t u16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

bool isPng(std::span<const std::uint8_t> b) {
  static constexpr std::uint8_t kSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return b.size() >= 8 && std::equal(kSig, kSig + 8, b.begin());
}

// The stb_image shipped with the system trusts a JPEG's Huffman table sizes and writes past
// its table when they add up to more than 256 codes. Such files are corrupt, so walk the
// markers and refuse them before stb sees them.
bool jpegTablesFit(std::span<const std::uint8_t> b) {
  std::size_t i = 2;  // after the start-of-image marker
  while (i + 4 <= b.size()) {
    const std::uint8_t marker = b[i + 1];
    // Outside a segment: entropy-coded data, fill bytes, stuffed zeros and restart markers.
    if (b[i] != 0xFF || marker == 0xFF || marker == 0x00 || marker == 0x01 ||
        (marker >= 0xD0 && marker <= 0xD7)) {
      ++i;
      continue;
    }
    if (marker == 0xD9) break;                                                // end of image
    const std::size_t end = i + 2 + (std::size_t{b[i + 2]} << 8 | b[i + 3]);  // big-endian
    if (marker == 0xC4) {
      std::size_t at = i + 4;
      while (at + 17 <= std::min(end, b.size())) {
        std::size_t codes = 0;
        for (std::size_t k = 1; k <= 16; ++k) codes += b[at + k];
        if (codes > 256) return false;
        at += 17 + codes;
      }
    }
    i = end;
  }
  return true;
}

std::optional<Bitmap> decodeWithStb(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8 && !jpegTablesFit(bytes))
    return std::nullopt;
  int w = 0, h = 0, channels = 0;
  stbi_uc* data =
      stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
  if (!data) return std::nullopt;
  Bitmap bm(w, h, kBlack, 0);
  std::memcpy(bm.rgba().data(), data, bm.rgba().size());
  stbi_image_free(data);
  return bm;
}

// One image of an icon: a device-independent bitmap whose height counts the colour rows
// and then the 1-bit transparency mask. The colour part is handed to stb as a BMP file;
// the mask is applied here.
std::optional<Bitmap> decodeIconDib(std::span<const std::uint8_t> dib) {
  if (dib.size() < 40) return std::nullopt;
  const std::uint32_t headerSize = u32(dib, 0);
  const auto width = static_cast<std::int32_t>(u32(dib, 4));
  const auto doubleHeight = static_cast<std::int32_t>(u32(dib, 8));
  const std::uint32_t bpp = u16(dib, 14);
  const std::uint32_t compression = u32(dib, 16);
  const std::uint32_t colorsUsed = u32(dib, 32);
  if (headerSize < 40 || headerSize > dib.size() || width <= 0 || width > 4096 ||
      doubleHeight <= 1 || doubleHeight > 8192 || compression != 0) {
    return std::nullopt;
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return std::nullopt;
  const auto height = static_cast<std::uint32_t>(doubleHeight / 2);
  const auto w = static_cast<std::uint32_t>(width);
  const std::uint32_t paletteSize = bpp <= 8 ? (colorsUsed ? colorsUsed : 1u << bpp) * 4 : 0;
  const std::size_t colorStride = ((w * bpp + 31) / 32) * 4;
  const std::size_t maskStride = ((w + 31) / 32) * 4;
  const std::size_t colorAt = headerSize + paletteSize;
  const std::size_t maskAt = colorAt + colorStride * height;
  if (maskAt > dib.size()) return std::nullopt;

  // A BMP file: its 14-byte header, then the DIB with the height of the colour part.
  std::vector<std::uint8_t> file(14 + maskAt);
  file[0] = 'B';
  file[1] = 'M';
  put32(file, 2, static_cast<std::uint32_t>(file.size()));
  put32(file, 10, static_cast<std::uint32_t>(14 + colorAt));
  std::copy(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(maskAt), file.begin() + 14);
  put32(file, 14 + 8, height);
  put32(file, 14 + 20, 0);  // image size: let the decoder work it out
  std::optional<Bitmap> bm = decodeWithStb(file);
  if (!bm) return std::nullopt;

  // A 32-bit image with any alpha carries its own transparency; otherwise the mask does.
  bool hasAlpha = false;
  if (bpp == 32) {
    for (std::uint32_t y = 0; y < height && !hasAlpha; ++y) {
      for (std::uint32_t x = 0; x < w && !hasAlpha; ++x)
        hasAlpha = dib[colorAt + y * colorStride + x * 4 + 3] != 0;
    }
  }
  if (!hasAlpha && maskAt + maskStride * height <= dib.size()) {
    for (std::uint32_t row = 0; row < height; ++row) {
      const std::size_t rowAt = maskAt + row * maskStride;
      const int y = static_cast<int>(height - 1 - row);  // the mask is stored bottom-up
      for (std::uint32_t x = 0; x < w; ++x) {
        if ((dib[rowAt + x / 8] >> (7 - x % 8)) & 1) {
          const int xi = static_cast<int>(x);
          bm->setPixel(xi, y, bm->pixel(xi, y), 0);
        }
      }
    }
  }
  return bm;
}

// .ICO and .CUR: a directory of images; the largest, then deepest, one that decodes wins.
std::optional<Bitmap> decodeIcon(std::span<const std::uint8_t> bytes) {
  const std::size_t count = u16(bytes, 4);
  struct Entry {
    std::span<const std::uint8_t> data;
    std::uint32_t area;
    std::uint32_t depth;
  };
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 6 + 16 * i;
    if (at + 16 > bytes.size()) break;
    const std::uint32_t size = u32(bytes, at + 8);
    const std::uint32_t offset = u32(bytes, at + 12);
    if (offset > bytes.size() || size > bytes.size() - offset || size < 8) continue;
    const auto data = bytes.subspan(offset, size);
    const std::uint32_t w = bytes[at] ? bytes[at] : 256u;
    const std::uint32_t h = bytes[at + 1] ? bytes[at + 1] : 256u;
    const std::uint32_t depth = isPng(data) ? 32 : (size >= 16 ? u16(data, 14) : 0);
    entries.push_back({data, w * h, depth});
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.area != b.area ? a.area > b.area : a.depth > b.depth;
  });
  for (const Entry& e : entries) {
    std::optional<Bitmap> bm = isPng(e.data) ? decodeWithStb(e.data) : decodeIconDib(e.data);
    if (bm) return bm;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Bitmap> decodeImage(std::span<const std::uint8_t> bytes) {
  // Icons (type 1) and cursors (type 2) start with a reserved zero word and the type.
  if (bytes.size() >= 6 && bytes[0] == 0 && bytes[1] == 0 && (bytes[2] == 1 || bytes[2] == 2) &&
      bytes[3] == 0) {
    return decodeIcon(bytes);
  }
  return decodeWithStb(bytes);
}

std::optional<Bitmap> loadImageFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  return decodeImage(bytes);
}

std::vector<std::uint8_t> encodePng(const Bitmap& bm) {
  std::vector<std::uint8_t> png;
  if (bm.empty()) return png;
  const auto append = [](void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* p = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), p, p + size);
  };
  if (!stbi_write_png_to_func(append, &png, bm.width(), bm.height(), 4, bm.rgba().data(),
                              bm.width() * 4))
    png.clear();
  return png;
}

bool writePng(const Bitmap& bm, const std::filesystem::path& path) {
  std::vector<std::uint8_t> png = encodePng(bm);
  if (png.empty()) return false;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

}  // namespace rescalo::raster
