#pragma once
// The Rescalo control: the one object an application developer places on a form. It holds
// every setting as a property, persists them with the form, binds to its host form at run time
// and starts all run-time work from that form's events and its own timers.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <rescalo/host/user_control.h>

namespace rescalo::control {

// The enumerations of the library (32-bit values).
enum FormPictureEffects : std::int32_t { FpNone = 0, FpFit = 1, FpCenter = 2, FpTile = 3 };
enum FormCloseEffects : std::int32_t {
  FcNone = 0,
  FcWipeLeft = 1,
  FcWipeRight = 2,
  FcWipeUp = 3,
  FcWipeDown = 4,
  FcWipeVertical = 5,
  FcWipeHorizontal = 6,
  FcFold = 7,
};
enum FormOpenEffects : std::int32_t {
  FoNone = 0,
  FoWipeLeft = 1,
  FoWipeRight = 2,
  FoWipeUp = 3,
  FoWipeDown = 4,
  FoWipeVertical = 5,
  FoWipeHorizontal = 6,
  FoFold = 7,
};
enum FormStates : std::int32_t { fsNone = 0, fsLocked = 1, fsEnabled = 2 };
enum GradientSources : std::int32_t {
  gsTop = 0,
  gsBottom = 1,
  gsRight = 2,
  gsLeft = 3,
  gsTopLeft = 4,
  gsTopRight = 5,
  gsBottomLeft = 6,
  gsBottomRight = 7,
  gsMiddle = 8,
  gsOutside = 9,
};
enum GradientTypes : std::int32_t { gtLinear = 0, gtRadial = 1 };

// One field per public setting. A new control starts with every field zero, empty or False;
// InitProperties gives it the defaults, ReadProperties the stored values.
struct Settings {
  bool ScaleFonts = false;
  bool BeepOnMinMax = false;
  bool ResizeAtOnce = false;
  bool CenterX = false;
  bool CenterY = false;
  bool GradientFill = false;
  std::int32_t GradientColour = 0;
  std::int32_t GradientColour2 = 0;
  std::int32_t GradientMidColour = 0;
  std::int32_t GradientSource = 0;
  std::int32_t GradientType = 0;
  bool ScaleControls = false;
  std::int16_t ScaleX = 0;
  std::int16_t ScaleY = 0;
  bool StayOnTop = false;
  std::int32_t MinWidth = 0;
  std::int32_t MinHeight = 0;
  std::int32_t MaxWidth = 0;
  std::int32_t MaxHeight = 0;
  bool ScaleBorders = false;
  std::int32_t MdiChildWidth = 0;
  std::int32_t MdiChildHeight = 0;
  bool ResizeOnMouseUp = false;
  bool ScaleGraphics = false;
  std::string ReplaceFontsWith;
  bool SaveWindowState = false;
  std::string WindowName;
  std::int32_t FormPicture = 0;
  std::int16_t FormClose = 0;
  std::int16_t FormOpen = 0;
  float FormCloseTime = 0;
  float FormOpenTime = 0;

  // The settings of a newly placed control.
  static Settings defaults();
};

// The ten per-control flags, in their order.
enum FlagIndex : int {
  kDontScaleControl,
  kDontScaleFont,
  kDontScaleBorder,
  kDontScaleGraphic,
  kDontScaleLeft,
  kDontScaleTop,
  kDontScaleWidth,
  kDontScaleHeight,
  kDontScaleRight,
  kDontScaleBottom,
  kFlagCount
};
// "DontScaleControl" ... "DontScaleBottom".
extern const std::array<const char*, kFlagCount> kFlagNames;

// The control as an application holds it: its settings are its properties by name
// (`set("ScaleFonts", true)`), whose Let reports the change and reruns the resize handling as
// the control's own code does; its events reach subscribers (`subscribe`) and the site. What
// it keeps and the procedures it runs are its own. `makeRescalo()` makes one.
class Rescalo : public host::UserControl {
 public:
  std::string_view typeName() const override { return "Rescalo"; }

  // What the control is set to, read-only: change it through its properties.
  virtual const Settings& settings() const = 0;
  // The design-time size of the host form it captured, twips.
  virtual float designFormWidth() const = 0;
  virtual float designFormHeight() const = 0;
  virtual float designFormScaleWidth() const = 0;
  virtual float designFormScaleHeight() const = 0;

  // The per-control flags as they are stored: eleven arrays indexed 1..ControlFlagCount.
  virtual std::int16_t ControlFlagCount() const = 0;
  virtual const std::string& ControlFlagControlKey(int n) const = 0;
  virtual bool ControlFlag(FlagIndex flag, int n) const = 0;

  virtual bool Enabled() const = 0;
  // Bound to its form and done with setting itself up.
  virtual bool isSetUp() const = 0;
  // The form the control is bound to at run time (held weakly, the runtime owns it).
  virtual host::ObjectPtr host() const = 0;
  virtual bool hostIsMdi() const = 0;
  host::ObjectPtr TheForm() const { return hostIsMdi() ? nullptr : host(); }
  host::ObjectPtr TheMdiForm() const { return hostIsMdi() ? host() : nullptr; }

  // A trace of the procedures the control runs, in order (for diagnosis and tests).
  std::function<void(std::string_view)> trace;

 protected:
  Rescalo() = default;
};

// A new control, as the registry makes one for a form's block.
std::shared_ptr<Rescalo> makeRescalo();

// The component's name, version and one-line description, as its about box shows them.
host::AboutInfo aboutInfo();

// Makes the registry create a Rescalo for "RescaloControl.Rescalo" blocks.
void registerRescalo(host::UserControlRegistry& registry);
inline constexpr const char* kRescaloClass = "RescaloControl.Rescalo";

}  // namespace rescalo::control
