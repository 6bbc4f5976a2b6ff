#pragma once
// The opening and closing animations of a form's window: a window region that grows or
// shrinks step by step, by a wipe from one side, from the centre, or by a two-phase fold,
// paced by the host's clock and event pump.

#include <cstdint>

#include <rescalo/host/object.h>
#include <rescalo/host/services.h>

namespace rescalo::effects {

// The values of FormOpen and FormClose; the opening effects reveal, the closing ones hide.
enum WindowEffect : std::int16_t {
  kNoEffect = 0,
  kWipeLeft = 1,
  kWipeRight = 2,
  kWipeUp = 3,
  kWipeDown = 4,
  kWipeVertical = 5,
  kWipeHorizontal = 6,
  kFold = 7,
};

// Plays the animation on the form's window over `seconds` (18 steps a second, 100 steps
// without waiting when 0). The opening ends with the whole window showing again; the closing
// leaves its last region. False when nothing played: the form is minimized or the effect is
// 0. A duration too short for one step fails with division by zero.
bool PlayOpenEffect(host::Services& services, host::Object& form, std::int16_t effect,
                    float seconds);
bool PlayCloseEffect(host::Services& services, host::Object& form, std::int16_t effect,
                     float seconds);

}  // namespace rescalo::effects
