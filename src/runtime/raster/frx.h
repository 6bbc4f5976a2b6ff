#pragma once
// Reading the binary companion (.frx) of a form. A .frm refers to an entry by offset, e.g.
// `Picture = "Form1.frx":0A2C` or `Caption = $"Form1.frx":0000`. Text comes back as the
// stored bytes (the form's ANSI code page), unconverted.
//
// Entries read here:
// - pictures: a 32-bit size of what follows the signature, the signature "lt\0\0", the
//   32-bit image size, then the image file (BMP, GIF, JPEG, ICO/CUR; PNG too);
// - `$` text: a 32-bit length, then the text;
// - List: a 16-bit item count, two bytes not interpreted, then each item as a 16-bit
//   length and its text.
// All numbers are little-endian. ItemData blobs are not read.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <rescalo/runtime/raster/bitmap.h>

namespace rescalo::raster {

// Nothing for an empty entry (the size-0 record left behind when a picture is removed),
// a truncated one, one without the signature, or an image that does not decode.
std::optional<Bitmap> readFrxPicture(std::span<const std::uint8_t> frx, std::uint32_t offset);

// Nothing when the offset or the stated length run past the end of the data.
std::optional<std::string> readFrxText(std::span<const std::uint8_t> frx, std::uint32_t offset);

// Nothing when the count or any item runs past the end of the data.
std::optional<std::vector<std::string>> readFrxList(std::span<const std::uint8_t> frx,
                                                    std::uint32_t offset);

}  // namespace rescalo::raster
