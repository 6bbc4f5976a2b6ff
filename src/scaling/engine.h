#pragma once
// The scaling engine: the records of every control, the resize pass that lays the host form
// out from them, and the placement of one control. The control that owns the engine supplies
// its settings, its events and its view of the host through the hooks below.

#include <memory>
#include <string_view>

#include <rescalo/effects/picture_placement.h>
#include <rescalo/host/collection.h>
#include <rescalo/host/services.h>
#include <rescalo/scaling/capture.h>
#include <rescalo/scaling/records.h>

namespace rescalo::scaling {

// The members a placing run reads or writes on nearly every control, their names hashed once.
inline constexpr host::Name kLeft = "Left", kTop = "Top", kWidth = "Width", kHeight = "Height",
                            kContainer = "Container";

// The settings and state of the owning control that the engine reads.
struct EngineSettings {
  bool SetupDone = false;
  bool ScaleFonts = true;
  bool ScaleGraphics = true;
  bool ScaleBorders = true;
  bool ResizeAtOnce = true;
  bool GradientFill = false;
  std::int32_t FormPicture = 0;
  float DesignFormScaleWidth = 0;
  float DesignFormScaleHeight = 0;
};

class Engine {
 public:
  virtual ~Engine() = default;

  host::Collection& colControlInfo();
  host::Collection& colControlFlags();
  std::shared_ptr<host::Collection> colControlInfo_, colControlFlags_;

  EngineState engine;  // LastFormWidth, LastFormHeight
  float CurrentFormWidth = 0, CurrentFormHeight = 0;
  float FontScaleFactor = 0;
  bool ControlsCaptured = false;

  // Lays the host form out: the first run captures, every later run places.
  void ResizeControls(const host::ObjectPtr& host);
  // Places one control for its container's current size and scales its fonts.
  void AdjustPosition(const host::Variant& ctrl);
  // Makes the current layout the new reference.
  host::Variant Reset();

  // The host form's inner size in twips.
  void innerSize(host::Object& form, float& width, float& height) const;
  void mdiInnerSize(host::Object& form, float& width, float& height) const;
  // Menus and controls whose name starts with NORESIZE are never captured or scaled.
  static bool skipped(host::Object& obj);

 protected:
  virtual EngineSettings engineSettings() const = 0;
  virtual void raiseEngineEvent(std::string_view event, host::Args args = {}) = 0;
  virtual void lockUpdates(bool lock) = 0;
  virtual host::ObjectPtr engineParent() = 0;       // the control's Parent; may fail
  virtual host::ObjectPtr containerControls() = 0;  // item 0 is the host form
  virtual host::ObjectPtr boundHost() const = 0;
  virtual host::Services& engineServices() const = 0;
  virtual effects::WorkSurfaces& workSurfaces() = 0;
  virtual host::ObjectPtr formPicHolder() = 0;  // FormPic
  virtual void runResizeHandling() = 0;         // the host's resize handling, for Reset

 private:
  // What a placing run found for each of the container's controls: reused by the next run
  // while the controls and both collections of records are the ones it was found in.
  // Between runs the controls are held weakly: the form owns them, and this control is one
  // of them.
  struct Entry {
    host::ObjectPtr ctrl;  // held during a run only
    std::weak_ptr<host::Object> held;
    const host::Object* id = nullptr;
    std::shared_ptr<ControlClass> rec;  // null for a control the engine skips
    std::shared_ptr<ControlFlags> flags;
    // Which of the members that only some controls have this one has (kPictureMembers, then
    // BorderWidth and Cls), one bit each.
    std::uint8_t has = 0;
  };
  struct Found {
    std::vector<Entry> entries;
    const host::Collection* info = nullptr;
    const host::Collection* flags = nullptr;
    std::uint64_t infoVersion = 0, flagsVersion = 0;
  };
  Found found_;
  std::vector<const Entry*> placingOrder_;  // the entries in the order a run places them
  // The size of the container the last control placed sat in: the controls of one frame or
  // picture box come one after another, and a container's size changes during a run only
  // when the container itself is placed, which forgets it.
  struct ContainerSize {
    const host::Object* container = nullptr;
    float width = 0, height = 0;
  };
  ContainerSize lastContainer_;
  const std::vector<Entry>& resolveControls(const host::ObjectPtr& host);
  void letGoOfControls();

  bool captureRun(const host::ObjectPtr& host);
  void placingRun(const host::ObjectPtr& host);
  void endRun();
  void raiseError(const std::string& description, const host::HostError& error);
  bool rebuilt(const host::ObjectPtr& list);
  bool needsDetach(ControlClass& rec);
  void detach(host::Object& ctrl, ControlClass& rec);
  void reattach(host::Object& ctrl, ControlClass& rec);
  void placeTabControl(host::Object& ctrl, ControlClass& rec, ControlFlags& flags);
  void rebuildImageList(host::Object& ctrl, ControlClass& rec);
  void place(host::Object& ctrl, ControlClass& rec, ControlFlags& flags,
             const EngineSettings& settings);
  void toolbarHeightLoop(host::Object& ctrl, const ControlClass& rec, double r);
  std::pair<std::shared_ptr<ControlClass>, std::shared_ptr<ControlFlags>> records(
      const host::ObjectPtr& ctrl, bool captureMissing);
};

}  // namespace rescalo::scaling
