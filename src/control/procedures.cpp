// The procedures the control runs from its lifecycle. Those of window management, font
// replacement and print sizing are empty, named steps until those subsystems arrive: the
// lifecycle already calls each at its place, and the trace shows that it ran.

#include "control/rescalo.h"
#include "effects/gradient.h"
#include "effects/window_animation.h"
#include "host/failure.h"

namespace control {

using host::Variant;

void Rescalo::ResizeControls() {
  note("ResizeControls");
  if (auto h = host()) ResizeControls(h);
}
void Rescalo::ReplaceFonts() { note("ReplaceFonts"); }
// The part of the regular handling that rescales: at once, or 100 ms after the last Resize
// of a burst. The size limits arrive with window management.
void Rescalo::RegularResizeHandling() {
  note("RegularResizeHandling");
  if (LoadingWindowSettings || !runtimeTest()) return;
  auto h = host();
  if (!h) return;
  if (h->get("WindowState").toInteger() != 1) {
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
void Rescalo::LoadWindowSettings() { note("LoadWindowSettings"); }
void Rescalo::SaveWindowSettings() { note("SaveWindowSettings"); }
void Rescalo::ApplyScreenScale() { note("ApplyScreenScale"); }
void Rescalo::CenterFormX() { note("CenterFormX"); }
void Rescalo::CenterFormY() { note("CenterFormY"); }
void Rescalo::SetTopMost(const host::ObjectPtr&, bool) { note("SetTopMost"); }
void Rescalo::PaintGradient() {
  note("PaintGradient");
  effects::PaintGradient(host(), s.GradientSource, s.GradientType, s.GradientColour,
                         s.GradientColour2, s.GradientMidColour);
}
void Rescalo::PlayOpenEffect(const host::ObjectPtr& form, int effect) {
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
void Rescalo::PlayCloseEffect(const host::ObjectPtr& form, int effect) {
  note("PlayCloseEffect");
  if (form && effects::PlayCloseEffect(services(), *form, static_cast<std::int16_t>(effect),
                                       s.FormCloseTime))
    ReapplyStayOnTop();
}
void Rescalo::UnfixWindow(std::int32_t) { note("UnfixWindow"); }
// An error ends the tick: a timer has nobody to report to.
void Rescalo::tmrDelayResizeTick() {
  note("tmrDelayResize");
  host::trapSilently([&] {
    tmrDelayResize->setEnabled(false);
    auto h = host();
    if (runtimeTest() && h && h->get("WindowState").toInteger() != 1 && s.ScaleControls)
      ResizeControls();
  });
}
void Rescalo::tmrDisableResizeTick() { note("tmrDisableResize"); }
void Rescalo::tmrPrintHideTick() { note("tmrPrintHide"); }

std::int16_t Rescalo::PrintSize(bool, host::Args) {
  note("PrintSize");
  return 0;
}

Variant Rescalo::ScalePicture(const Variant& picture, double xScale, double yScale) {
  return effects::ScalePicture(surfaces_, picture, xScale, yScale);
}

Variant Rescalo::SizePicture(const Variant& picture, std::int16_t xSize, std::int16_t ySize) {
  return effects::SizePicture(surfaces_, picture, xSize, ySize);
}

Variant Rescalo::CenterPicture(const Variant& container, const Variant& picture) {
  if (auto c = container.toObject()) effects::CenterPicture(surfaces_, *c, picture);
  return {};
}

Variant Rescalo::TilePicture(const Variant& container, const Variant& picture) {
  if (auto c = container.toObject()) effects::TilePicture(surfaces_, *c, picture);
  return {};
}

host::AboutInfo aboutInfo() {
  return {"Rescalo", RESCALO_VERSION,
          "Rescales every control of its form with the form: positions, sizes, fonts, borders "
          "and pictures."};
}

void Rescalo::AboutBox() { services().AboutBox(aboutInfo()); }

}  // namespace control
