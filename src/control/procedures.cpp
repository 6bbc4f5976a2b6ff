// The procedures the control runs from its lifecycle, each handing the control's settings and
// state to the subsystem that does the work.

#include <rescalo/control/rescalo_impl.h>
#include <rescalo/effects/gradient.h>
#include <rescalo/effects/window_animation.h>
#include <rescalo/host/failure.h>
#include <rescalo/scaling/font_replacement.h>
#include <rescalo/window/placement.h>
#include <rescalo/window/print_size.h>
#include <rescalo/window/size_limits.h>
#include <rescalo/window/window_settings.h>

namespace rescalo::control {

using host::Variant;

void RescaloImpl::ResizeControls() {
  note("ResizeControls");
  if (auto h = host()) ResizeControls(h);
}
void RescaloImpl::ReplaceFonts() {
  note("ReplaceFonts");
  auto h = host();
  if (h && runtimeTest()) scaling::ReplaceFonts(*h, s.ReplaceFontsWith);
}

// What every handled Resize does once the form is set up: hold a normal window inside its
// limits, then rescale at once or 100 ms after the last Resize of a burst, and repaint.
void RescaloImpl::RegularResizeHandling() {
  note("RegularResizeHandling");
  if (LoadingWindowSettings || !runtimeTest()) return;
  auto h = host();
  if (!h) return;
  if (std::int16_t state = h->get("WindowState").toInteger(); state != 1) {
    if (state == 0)
      window::ApplySizeLimits(*h,
                              {s.MinWidth, s.MinHeight, s.MaxWidth, s.MaxHeight, s.BeepOnMinMax},
                              *tmrDisableResize, services());
    if (s.ScaleControls) {
      if (s.ResizeOnMouseUp) {
        tmrDelayResize->setEnabled(false);
        tmrDelayResize->setEnabled(true);
      } else {
        ResizeControls();
      }
    }
    if (s.GradientFill) PaintGradient();
  }
  LockFormUpdates(false);
  if (openEffectPending_ && h->get("WindowState").toInteger() != 1) {
    openEffectPending_ = false;
    PlayOpenEffect(h, s.FormOpen);
  }
}
window::WindowMemory RescaloImpl::windowMemory() {
  return {services().settings(), host(), s.WindowName,
          [this](const std::string& name) { set("WindowName", Variant(name)); }, LastNormalBounds};
}
void RescaloImpl::LoadWindowSettings() {
  note("LoadWindowSettings");
  window::LoadWindowSettings(windowMemory(), LoadingWindowSettings);
}
void RescaloImpl::SaveWindowSettings() {
  note("SaveWindowSettings");
  window::SaveWindowSettings(windowMemory());
}
void RescaloImpl::ApplyScreenScale() {
  note("ApplyScreenScale");
  if (auto h = host(); h && runtimeTest())
    window::ApplyScreenScale(services(), *h, s.ScaleX, s.ScaleY);
}
void RescaloImpl::CenterFormX() {
  note("CenterFormX");
  if (auto h = host(); h && runtimeTest() && s.CenterX) window::CenterFormX(services(), *h);
}
void RescaloImpl::CenterFormY() {
  note("CenterFormY");
  if (auto h = host(); h && runtimeTest() && s.CenterY) window::CenterFormY(services(), *h);
}
void RescaloImpl::SetTopMost(const host::ObjectPtr& form, bool topMost) {
  note("SetTopMost");
  if (form) window::SetTopMost(services(), *form, topMost);
}
void RescaloImpl::PaintGradient() {
  note("PaintGradient");
  effects::PaintGradient(host(), s.GradientSource, s.GradientType, s.GradientColour,
                         s.GradientColour2, s.GradientMidColour);
}
void RescaloImpl::PlayOpenEffect(const host::ObjectPtr& form, int effect) {
  note("PlayOpenEffect");
  if (!form) return;
  auto value = static_cast<std::int16_t>(effect);
  if (effects::PlayOpenEffect(services(), *form, value, s.FormOpenTime)) {
    ReapplyStayOnTop();
  } else if (value != effects::kNoEffect) {
    // A form that starts minimized keeps the region that hides it: the opening plays when it
    // is first restored, rather than leaving the restored window invisible.
    openEffectPending_ = true;
  }
}
void RescaloImpl::PlayCloseEffect(const host::ObjectPtr& form, int effect) {
  note("PlayCloseEffect");
  if (form && effects::PlayCloseEffect(services(), *form, static_cast<std::int16_t>(effect),
                                       s.FormCloseTime))
    ReapplyStayOnTop();
}
void RescaloImpl::UnfixWindow(std::int32_t hwnd) {
  note("UnfixWindow");
  window::UnfixWindow(services().windows(), hwnd);
}
// An error ends the tick: a timer has nobody to report to.
void RescaloImpl::tmrDelayResizeTick() {
  note("tmrDelayResize");
  host::trapSilently([&] {
    tmrDelayResize->setEnabled(false);
    auto h = host();
    if (runtimeTest() && h && h->get("WindowState").toInteger() != 1 && s.ScaleControls)
      ResizeControls();
  });
}
void RescaloImpl::tmrDisableResizeTick() {
  note("tmrDisableResize");
  host::ignoreErrors([&] {
    tmrDisableResize->setEnabled(false);
    if (auto h = host()) h->set("Enabled", true);
  });
}
void RescaloImpl::tmrPrintHideTick() {
  note("tmrPrintHide");
  window::PrintHideTick(host().get(), runtimeTest(), *tmrPrintHide);
}

std::int16_t RescaloImpl::PrintSize(bool enabled, host::Args options) {
  note("PrintSize");
  if (!site_ || !site_->UserMode()) return 0;
  window::PrintHost ph{services(),
                       host(),
                       weak_from_this(),
                       s.MinWidth,
                       s.MinHeight,
                       DesignFormWidth,
                       DesignFormHeight,
                       *tmrWindowSize,
                       *tmrPrintHide,
                       [this] { ResizeControls(); },
                       [this](std::string_view event, host::Args args) { raise(event, args); }};
  return window::PrintSize(ph, printSaved_, enabled, options);
}

Variant RescaloImpl::ScalePicture(const Variant& picture, double xScale, double yScale) {
  return effects::ScalePicture(surfaces_, picture, xScale, yScale);
}

Variant RescaloImpl::SizePicture(const Variant& picture, std::int16_t xSize, std::int16_t ySize) {
  return effects::SizePicture(surfaces_, picture, xSize, ySize);
}

Variant RescaloImpl::CenterPicture(const Variant& container, const Variant& picture) {
  if (auto c = container.toObject()) effects::CenterPicture(surfaces_, *c, picture);
  return {};
}

Variant RescaloImpl::TilePicture(const Variant& container, const Variant& picture) {
  if (auto c = container.toObject()) effects::TilePicture(surfaces_, *c, picture);
  return {};
}

host::AboutInfo aboutInfo() {
  return {"Rescalo", RESCALO_VERSION,
          "Rescales every control of its form with the form: positions, sizes, fonts, borders "
          "and pictures."};
}

void RescaloImpl::AboutBox() { services().AboutBox(aboutInfo()); }

}  // namespace rescalo::control
