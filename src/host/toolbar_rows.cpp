#include <rescalo/host/toolbar_rows.h>

namespace rescalo::host {

int toolbarRows(const std::vector<ToolbarSlot>& buttons, int widthPixels) {
  int rows = 1, x = 0;
  for (const ToolbarSlot& b : buttons) {
    if (!b.visible) continue;
    if (x > 0 && x + b.widthPixels > widthPixels) {
      ++rows;
      x = 0;
      if (b.separator) continue;
    }
    x += b.widthPixels;
  }
  return rows;
}

int toolbarHeightPixels(int rows, int buttonHeightPixels, int style, int appearance) {
  return rows * buttonHeightPixels + (style == 0 ? 4 : 0) + (appearance == 1 ? 2 : 0);
}

}  // namespace rescalo::host
