#pragma once
// The Rescalo control's own workings: what it keeps, the procedures it runs, and what the
// scaling engine asks of it. Only the control's sources include this.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <rescalo/control/rescalo.h>
#include <rescalo/effects/picture_placement.h>
#include <rescalo/host/collection.h>
#include <rescalo/scaling/engine.h>
#include <rescalo/window/print_size.h>
#include <rescalo/window/window_settings.h>

namespace rescalo::control {

class RescaloImpl final : public Rescalo, private scaling::Engine {
 public:
  RescaloImpl();
  ~RescaloImpl() override;

  // The host's calls.
  void Initialize(host::ControlSite& site) override;
  void InitProperties() override;
  void ReadProperties(host::PropertyBag& bag) override;
  void WriteProperties(host::PropertyBag& bag) override;
  void Resize() override;
  void Terminate() override;

  // What the control is set to, read-only: change it through its properties.
  const Settings& settings() const override { return s; }
  // The design-time size of the host form it captured, twips.
  float designFormWidth() const override { return DesignFormWidth; }
  float designFormHeight() const override { return DesignFormHeight; }
  float designFormScaleWidth() const override { return DesignFormScaleWidth; }
  float designFormScaleHeight() const override { return DesignFormScaleHeight; }

  // The per-control flags as they are stored: eleven arrays indexed 1..ControlFlagCount.
  std::int16_t ControlFlagCount() const override { return flagCount_; }
  const std::string& ControlFlagControlKey(int n) const override;
  bool ControlFlag(FlagIndex flag, int n) const override;

  bool Enabled() const override;
  // Bound to its form and done with setting itself up.
  bool isSetUp() const override { return SetupDone && !SetupBusy; }
  // The form the control is bound to at run time (held weakly, the runtime owns it).
  host::ObjectPtr host() const override { return host_.lock(); }
  bool hostIsMdi() const override { return hostIsMdi_; }

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

}  // namespace rescalo::control
