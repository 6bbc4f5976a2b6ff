#pragma once
// How a classic toolbar lays out its buttons and how tall it stands: both hosts follow the same
// rule, so that a toolbar wraps its buttons at the same width in either.

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

// Where a button goes: its row (from 0) and its left edge in that row, pixels from the first
// button's. A hidden button, and a separator where a row breaks, has the row -1.
struct ToolbarPlace {
  int row = -1;
  int x = 0;
};

// Buttons fill a row until the next one would pass the right edge; a separator where a row
// breaks is not carried into the next row.
std::vector<ToolbarPlace> toolbarPlaces(const std::vector<ToolbarSlot>& buttons, int widthPixels);

// How many rows those places take: at least one.
int toolbarRows(const std::vector<ToolbarPlace>& places);

// The height of that many rows of buttons, pixels: 4 more for the standard style (Style 0; none
// for the flat Style 1), 2 more for the 3-D appearance (Appearance 1).
int toolbarHeightPixels(int rows, int buttonHeightPixels, int style, int appearance);

// How far the first button stands in from the toolbar's corner, pixels, across and down: half
// of what the style and the appearance add to the height.
int toolbarInsetPixels(int style, int appearance);

}  // namespace rescalo::host
