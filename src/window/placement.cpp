#include <rescalo/window/placement.h>

namespace rescalo::window {

using host::Variant;

bool isMdiParent(const host::Object& form) { return form.typeName() == "MDIForm"; }

namespace {

bool isMdiChild(host::Object& form) { return !isMdiParent(form) && form.get("MDIChild").toBool(); }

bool normal(host::Object& form) { return form.get("WindowState").toInteger() == 0; }

// The rectangle of the window that holds an MDI child (its parent's client area), pixels.
host::RECT containingRect(host::Services& services, host::Object& form) {
  host::WindowApi& api = services.windows();
  host::RECT r;
  api.GetWindowRect(api.GetParent(form.get("hWnd").toLong()), r);
  return r;
}

}  // namespace

void ApplyScreenScale(host::Services& services, host::Object& form, std::int16_t scaleX,
                      std::int16_t scaleY) {
  if (!normal(form)) return;
  host::ScreenMetrics screen = services.screen();
  if (isMdiChild(form)) {
    host::RECT r = containingRect(services, form);
    if (scaleX > 0)
      form.set("Width", screen.twipsPerPixelX * (r.right - r.left) * (scaleX / 100.0));
    if (scaleY > 0)
      form.set("Height", screen.twipsPerPixelY * (r.bottom - r.top) * (scaleY / 100.0));
    return;
  }
  if (scaleX > 0) form.set("Width", screen.width * scaleX / 100);
  if (scaleY > 0) form.set("Height", screen.height * scaleY / 100);
}

namespace {

// Centres along one axis: on the screen, or in the window that holds an MDI child.
void center(host::Services& services, host::Object& form, bool xAxis) {
  if (!normal(form)) return;
  double extent = form.get(xAxis ? "Width" : "Height").toDouble();
  host::ScreenMetrics screen = services.screen();
  double middle = 0;
  if (isMdiChild(form)) {
    host::RECT r = containingRect(services, form);
    middle = xAxis ? ((r.right - r.left) / 2.0) * screen.twipsPerPixelX
                   : ((r.bottom - r.top) / 2.0) * screen.twipsPerPixelY;
  } else {
    middle = (xAxis ? screen.width : screen.height) / 2;
  }
  form.set(xAxis ? "Left" : "Top", middle - extent / 2);
}

}  // namespace

void CenterFormX(host::Services& services, host::Object& form) { center(services, form, true); }
void CenterFormY(host::Services& services, host::Object& form) { center(services, form, false); }

void SizeMdiChild(host::Object& form, std::int32_t width, std::int32_t height) {
  if (!isMdiChild(form) || !normal(form)) return;
  if (width > 0) form.set("Width", Variant(width));
  if (height > 0) form.set("Height", Variant(height));
}

void SetTopMost(host::Services& services, host::Object& form, bool onTop) {
  if (!onTop) return;
  services.windows().SetWindowPos(form.get("hWnd").toLong(), host::HWND_TOPMOST, 0, 0, 0, 0,
                                  host::SWP_NOSIZE | host::SWP_NOMOVE | host::SWP_NOOWNERZORDER);
}

}  // namespace rescalo::window
