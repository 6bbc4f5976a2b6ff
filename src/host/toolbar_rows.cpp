#include <rescalo/host/toolbar_rows.h>

#include <algorithm>

namespace rescalo::host {

std::vector<ToolbarPlace> toolbarPlaces(const std::vector<ToolbarSlot>& buttons, int widthPixels) {
  std::vector<ToolbarPlace> places(buttons.size());
  int row = 0, x = 0;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const ToolbarSlot& b = buttons[i];
    if (!b.visible) continue;
    if (x > 0 && x + b.widthPixels > widthPixels) {
      ++row;
      x = 0;
      if (b.separator) continue;
    }
    places[i] = {row, x};
    x += b.widthPixels;
  }
  return places;
}

int toolbarRows(const std::vector<ToolbarPlace>& places) {
  int rows = 1;
  for (const ToolbarPlace& p : places) rows = std::max(rows, p.row + 1);
  return rows;
}

int toolbarHeightPixels(int rows, int buttonHeightPixels, int style, int appearance) {
  return rows * buttonHeightPixels + 2 * toolbarInsetPixels(style, appearance);
}

int toolbarInsetPixels(int style, int appearance) {
  return (style == 0 ? 2 : 0) + (appearance == 1 ? 1 : 0);
}

}  // namespace rescalo::host
