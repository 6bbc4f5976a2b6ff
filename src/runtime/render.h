#pragma once
// A picture of a form's window as it shows now: the frame and caption, the menu bar, the client
// area (back colour, picture and what is drawn in its persistent image) and every visible
// control in the classic 3-D look, captions in the control's font. While the window has a
// region (an opening or closing effect plays) everything outside it is transparent black.

#include <rescalo/runtime/form.h>
#include <rescalo/runtime/raster/bitmap.h>

namespace rescalo::runtime {

// The window's outer size in pixels; the picture's (0, 0) is the window's top-left corner,
// the origin of its region.
raster::Bitmap renderWindow(Form& form);

// Controls that the classic runtime never shows at run time (timers, dialogs, connections...),
// wherever they were placed on the form at design time.
bool invisibleAtRunTime(const Control& c);

// The round mark of an option button, 13 pixels square, over the button's back colour.
raster::Bitmap optionButtonMark(bool on, bool enabled, raster::Color back);

// Where the client area starts in that picture, in pixels.
struct PixelPoint {
  int x = 0, y = 0;
};
PixelPoint clientOrigin(const Form& form);

}  // namespace rescalo::runtime
