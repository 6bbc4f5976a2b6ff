#pragma once
// The classic system colours a form names by default (`&H8000000F&` and so on): each host shows
// them in its own theme.

#include <cstdint>

namespace rescalo::host {

constexpr std::uint32_t kSysWindow = 0x80000005;      // a text box's background
constexpr std::uint32_t kSysWindowText = 0x80000008;  // text on it
constexpr std::uint32_t kSysButtonFace = 0x8000000F;  // forms, buttons, labels and frames
constexpr std::uint32_t kSysButtonText = 0x80000012;  // text on them

}  // namespace rescalo::host
