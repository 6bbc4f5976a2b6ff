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

#include <rescalo/effects/picture_placement.h>
#include <rescalo/host/collection.h>
#include <rescalo/host/user_control.h>
#include <rescalo/scaling/engine.h>
#include <rescalo/window/print_size.h>
#include <rescalo/window/window_settings.h>

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
// it keeps and the procedures it runs are its own.
class Rescalo : public host::UserControl, private scaling::Engine {
 public:
  Rescalo();
  ~Rescalo() override;
  std::string_view typeName() const override { return "Rescalo"; }

  // The host's calls.
  void Initialize(host::ControlSite& site) override;
  void InitProperties() override;
  void ReadProperties(host::PropertyBag& bag) override;
  void WriteProperties(host::PropertyBag& bag) override;
  void Resize() override;
  void Terminate() override;

  // What the control is set to, read-only: change it through its properties.
  const Settings& settings() const { return s; }
  // The design-time size of the host form it captured, twips.
  float designFormWidth() const { return DesignFormWidth; }
  float designFormHeight() const { return DesignFormHeight; }
  float designFormScaleWidth() const { return DesignFormScaleWidth; }
  float designFormScaleHeight() const { return DesignFormScaleHeight; }

  // The per-control flags as they are stored: eleven arrays indexed 1..ControlFlagCount.
  std::int16_t ControlFlagCount() const { return flagCount_; }
  const std::string& ControlFlagControlKey(int n) const;
  bool ControlFlag(FlagIndex flag, int n) const;

  bool Enabled() const;
  // Bound to its form and done with setting itself up.
  bool isSetUp() const { return SetupDone && !SetupBusy; }
  // The form the control is bound to at run time (held weakly, the runtime owns it).
  host::ObjectPtr host() const { return host_.lock(); }
  bool hostIsMdi() const { return hostIsMdi_; }
  host::ObjectPtr TheForm() const { return hostIsMdi_ ? nullptr : host(); }
  host::ObjectPtr TheMdiForm() const { return hostIsMdi_ ? host() : nullptr; }

  // A trace of the procedures the control runs, in order (for diagnosis and tests).
  std::function<void(std::string_view)> trace;

 protected:
  const host::MemberTable* members() const override;

 private:
  friend struct Members;

  Settings s;
  void setControlFlagCount(std::int16_t count);
  void setControlFlagControlKey(int n, std::string key);
  void setControlFlag(FlagIndex flag, int n, bool value);
  void setEnabled(bool enabled);

  // Design-time dimensions of the host form, twips.
  float DesignFormWidth = 0, DesignFormHeight = 0;
  float DesignFormScaleWidth = 0, DesignFormScaleHeight = 0;

  // State.
  bool FormLoaded = false;
  bool SetupDone = false;
  bool SetupBusy = false;
  bool LoadingWindowSettings = false;
  using Bounds = window::NormalBounds;
  Bounds LastNormalBounds;

  host::ObjectPtr FormControls;

  // Constituent objects.
  std::shared_ptr<host::Timer> tmrDelayResize, tmrDisableResize, tmrPrintHide, tmrWindowSize;
  host::ObjectPtr FormPic;
  std::array<host::ObjectPtr, 2> picSizer;
  struct Icon {
    double Width = 480, Height = 480;  // twips: the control is drawn as a 32-pixel icon
  } Image1;

  // The public methods of the capture.
  void SaveControlInfo(const host::Variant& ctrl);
  void SaveControlFlags(const host::Variant& ctrl);
  void UpdateControl(const host::Variant& ctrl);

  // Lifecycle procedures.
  void AttachHostForm();
  void HandleFormLoad();
  void HandleFormResize();
  void HandleFormUnload();
  void LockFormUpdates(bool lock);
  void SetAllowUpdates(bool value);
  void ReapplyStayOnTop();
  bool runtimeTest() const;

  // The procedures the resize pass, window management and effects provide.
  using scaling::Engine::AdjustPosition;
  using scaling::Engine::Reset;
  using scaling::Engine::ResizeControls;
  void ResizeControls();  // over the bound host
  void ReplaceFonts();
  void RegularResizeHandling();
  void LoadWindowSettings();
  void SaveWindowSettings();
  void ApplyScreenScale();
  void CenterFormX();
  void CenterFormY();
  void SetTopMost(const host::ObjectPtr& form, bool topMost);
  void PaintGradient();
  void PlayOpenEffect(const host::ObjectPtr& form, int effect);
  void PlayCloseEffect(const host::ObjectPtr& form, int effect);
  void UnfixWindow(std::int32_t hwnd);
  std::int16_t PrintSize(bool enabled, host::Args options);
  host::Variant ScalePicture(const host::Variant& picture, double xScale, double yScale);
  host::Variant SizePicture(const host::Variant& picture, std::int16_t xSize, std::int16_t ySize);
  host::Variant CenterPicture(const host::Variant& container, const host::Variant& picture);
  host::Variant TilePicture(const host::Variant& container, const host::Variant& picture);
  void AboutBox();

  // Raises one of the control's events, to C++ subscribers and through the site.
  void raise(std::string_view event, host::Args args = {});

  host::ControlSite* site() const { return site_; }
  host::Services& services() const { return site_->services(); }

  // What the scaling engine asks of the control.
  scaling::EngineSettings engineSettings() const override;
  void raiseEngineEvent(std::string_view event, host::Args args) override { raise(event, args); }
  void lockUpdates(bool lock) override { LockFormUpdates(lock); }
  host::ObjectPtr engineParent() override { return site_->Parent(); }
  host::ObjectPtr containerControls() override { return site_->ParentControls(); }
  host::ObjectPtr boundHost() const override { return host(); }
  host::Services& engineServices() const override { return services(); }
  effects::WorkSurfaces& workSurfaces() override { return surfaces_; }
  host::ObjectPtr formPicHolder() override { return FormPic; }
  void runResizeHandling() override { HandleFormResize(); }

  void note(std::string_view procedure) const {
    if (trace) trace(procedure);
  }
  void changed(std::string_view property);
  void onHostEvent(std::string_view event);
  void checkIndex(int n) const;
  void tmrDelayResizeTick();
  void tmrDisableResizeTick();
  void tmrPrintHideTick();
  void tmrWindowSizeTick();
  void release();
  window::WindowMemory windowMemory();

  host::ControlSite* site_ = nullptr;
  std::weak_ptr<host::Object> host_;
  bool hostIsMdi_ = false;
  bool openEffectPending_ = false;  // minimized at set-up, still hidden by its region
  int subscription_ = 0;
  std::int16_t flagCount_ = 0;
  std::vector<std::string> flagKeys_{""};
  std::array<std::vector<bool>, kFlagCount> flags_;
  effects::WorkSurfaces surfaces_;
  window::PrintSaved printSaved_;
};

// The component's name, version and one-line description, as its about box shows them.
host::AboutInfo aboutInfo();

// Makes the registry create a Rescalo for "RescaloControl.Rescalo" blocks.
void registerRescalo(host::UserControlRegistry& registry);
inline constexpr const char* kRescaloClass = "RescaloControl.Rescalo";

}  // namespace rescalo::control
