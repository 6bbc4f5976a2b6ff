#pragma once
// Pictures from files and back: BMP, GIF (first frame), JPEG and PNG decoded by stb_image;
// icons and cursors (.ICO/.CUR) whose best image is a PNG or a 1/4/8/24/32-bit DIB with
// its transparency mask. Metafiles are not supported.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include <rescalo/runtime/raster/bitmap.h>

namespace rescalo::raster {

// The picture in `bytes`, or nothing when they are not an image this library reads.
std::optional<Bitmap> decodeImage(std::span<const std::uint8_t> bytes);

// The picture in a file, or nothing when it cannot be read or decoded.
std::optional<Bitmap> loadImageFile(const std::filesystem::path& path);

// The bitmap as 32-bit PNG bytes; empty when the bitmap is.
std::vector<std::uint8_t> encodePng(const Bitmap& bm);

// Writes the bitmap as a 32-bit PNG; false when it is empty or the file cannot be written.
bool writePng(const Bitmap& bm, const std::filesystem::path& path);

}  // namespace rescalo::raster
