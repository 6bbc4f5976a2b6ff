#pragma once
// The gradient background: straight bands or concentric rings in 65 steps, from a start colour
// through an optional mid colour to an end colour, drawn with the form's own drawing methods
// into its persistent image so that it stays behind the controls.

#include <cstdint>

#include <rescalo/host/object.h>

namespace rescalo::effects {

enum GradientSource : std::int32_t {
  kGsTop = 0,
  kGsBottom = 1,
  kGsRight = 2,
  kGsLeft = 3,
  kGsTopLeft = 4,
  kGsTopRight = 5,
  kGsBottomLeft = 6,
  kGsBottomRight = 7,
  kGsMiddle = 8,
  kGsOutside = 9,
};
enum GradientType : std::int32_t { kGtLinear = 0, kGtRadial = 1 };  // anything but 0 is radial

struct Channels {
  std::int16_t red = 0, green = 0, blue = 0;
  bool operator==(const Channels&) const = default;
};
struct Deltas {
  float red = 0, green = 0, blue = 0;
};

// The state of one painting. There is one for the whole thread, shared by every control:
// PaintGradient fills it, GradientStepColour reads it and leaves the step's colour in `current`.
struct GradientPainting {
  std::int16_t N = 0;  // the last step; steps run 0..N
  Channels start, mid, end;
  std::int16_t useMid = 0;  // True (-1) when the mid colour differs from the end colour
  Deltas first, second;     // per step, before and after the mid colour
  Channels current;
};
GradientPainting& gradientPainting();

// Sets up the painting state for the three colours and makes the start colour current.
void PrepareGradient(std::int32_t startColour, std::int32_t endColour, std::int32_t midColour);
// The colour of step i (0..N) into the current channels.
void GradientStepColour(std::int16_t i);
// The current channels as a colour value (red in the low byte).
std::int32_t CurrentGradientColour();

// Paints the gradient on the form's client area, in its persistent image, leaving the form's
// drawing properties as they were. Nothing without a form or on an MDI parent form. Errors of
// the form's members reach the caller.
void PaintGradient(const host::ObjectPtr& form, std::int32_t source, std::int32_t type,
                   std::int32_t startColour, std::int32_t endColour, std::int32_t midColour);

}  // namespace rescalo::effects
