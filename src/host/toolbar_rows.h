#pragma once
// How tall a classic toolbar stands: both hosts follow the same rule, so that a toolbar wraps
// its buttons at the same width in either.

#include <vector>

namespace rescalo::host {

// A button as the rows see it: buttons are windows, so their widths are whole pixels.
struct ToolbarSlot {
  int widthPixels = 0;
  bool visible = true;
  bool separator = false;
};

// A separator's gap, pixels.
inline constexpr int kToolbarSeparatorPixels = 8;

// Rows of buttons at a width: buttons fill a row until the next one would pass the right edge;
// a separator where a row breaks is not carried into the next row. At least one row.
int toolbarRows(const std::vector<ToolbarSlot>& buttons, int widthPixels);

// The height of that many rows of buttons, pixels: 4 more for the standard style (Style 0; none
// for the flat Style 1), 2 more for the 3-D appearance (Appearance 1).
int toolbarHeightPixels(int rows, int buttonHeightPixels, int style, int appearance);

}  // namespace rescalo::host
