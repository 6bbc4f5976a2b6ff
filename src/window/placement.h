#pragma once
// Where a form first appears: a share of the screen (or of its MDI parent's client area),
// centred, an MDI child's own initial size, and the topmost band. The callers decide when;
// these only act on a form in normal state.

#include <cstdint>

#include <rescalo/host/services.h>

namespace rescalo::window {

// Width and/or height as a percentage of the screen, or of the containing window for an MDI
// child; 0 leaves that dimension alone.
void ApplyScreenScale(host::Services& services, host::Object& form, std::int16_t scaleX,
                      std::int16_t scaleY);
void CenterFormX(host::Services& services, host::Object& form);
void CenterFormY(host::Services& services, host::Object& form);
// An MDI child in normal state takes the sizes that are above 0.
void SizeMdiChild(host::Object& form, std::int32_t width, std::int32_t height);
// Puts the window in the topmost band; false never takes it out.
void SetTopMost(host::Services& services, host::Object& form, bool onTop);

// True for an MDI parent form, whose placement is its own.
bool isMdiParent(const host::Object& form);

}  // namespace rescalo::window
