#include <rescalo/control/rescalo_impl.h>

#include <rescalo/host/error_object.h>
#include <rescalo/host/failure.h>
#include <rescalo/window/placement.h>

namespace rescalo::control {

using host::Variant;

const std::array<const char*, kFlagCount> kFlagNames = {
    "DontScaleControl", "DontScaleFont",  "DontScaleBorder", "DontScaleGraphic", "DontScaleLeft",
    "DontScaleTop",     "DontScaleWidth", "DontScaleHeight", "DontScaleRight",   "DontScaleBottom"};

Settings Settings::defaults() {
  Settings d;
  d.ScaleFonts = true;
  d.BeepOnMinMax = true;
  d.ResizeAtOnce = true;
  d.GradientColour = 0xFF0000;  // blue
  d.ScaleControls = true;
  d.ScaleBorders = true;
  d.ResizeOnMouseUp = true;
  d.ScaleGraphics = true;
  d.ReplaceFontsWith = "<none>";
  d.FormCloseTime = 1;
  d.FormOpenTime = 1;
  return d;
}

RescaloImpl::RescaloImpl() {
  for (auto& f : flags_) f.assign(1, false);
}

RescaloImpl::~RescaloImpl() { release(); }

void RescaloImpl::Initialize(host::ControlSite& site) {
  site_ = &site;
  host::Services& sv = site.services();
  auto make = [&](int interval, void (RescaloImpl::*tick)()) {
    auto t = sv.createTimer([this, tick] { (this->*tick)(); });
    t->setInterval(interval);
    t->setEnabled(false);
    return t;
  };
  tmrDelayResize = make(100, &RescaloImpl::tmrDelayResizeTick);
  tmrDisableResize = make(500, &RescaloImpl::tmrDisableResizeTick);
  tmrPrintHide = make(10, &RescaloImpl::tmrPrintHideTick);
  tmrWindowSize = make(100, &RescaloImpl::tmrWindowSizeTick);
  FormPic = sv.createPictureBox();
  picSizer = {sv.createPictureBox(), sv.createPictureBox()};
  surfaces_ = {picSizer[0], picSizer[1]};
  Resize();
}

void RescaloImpl::tmrWindowSizeTick() {
  host::ignoreErrors([&] {
    if (!runtimeTest()) {
      tmrWindowSize->setEnabled(false);
      return;
    }
    auto h = host();
    // Only the normal state is recorded, so a form closed maximized saves its normal bounds.
    if (!h || h->get("WindowState").toInteger() != 0) return;
    LastNormalBounds = {h->get("Left").toSingle(), h->get("Top").toSingle(),
                        h->get("Width").toSingle(), h->get("Height").toSingle()};
  });
}

void RescaloImpl::Resize() {
  // The control always keeps its icon's size.
  if (site_ && (site_->Width() != Image1.Width || site_->Height() != Image1.Height))
    site_->setSize(Image1.Width, Image1.Height);
}

bool RescaloImpl::Enabled() const { return site_ && site_->Enabled(); }

void RescaloImpl::setEnabled(bool enabled) {
  if (site_) site_->setEnabled(enabled);
  changed("Enabled");
}

bool RescaloImpl::runtimeTest() const { return site_ && site_->UserMode() && site_->Enabled(); }

void RescaloImpl::changed(std::string_view property) {
  if (site_) site_->PropertyChanged(property);
}

void RescaloImpl::raise(std::string_view event, host::Args args) {
  raiseEvent(event, args);
  if (site_) site_->RaiseEvent(event, args);
}

// ---- per-control flag arrays ----

void RescaloImpl::setControlFlagCount(std::int16_t count) {
  if (count < 0) host::raise(host::kSubscriptOutOfRange);
  flagCount_ = count;
  std::size_t size = static_cast<std::size_t>(count) + 1;
  flagKeys_.resize(size);
  for (auto& f : flags_) f.resize(size, false);
  changed("ControlFlagCount");
}

void RescaloImpl::checkIndex(int n) const {
  if (n < 0 || n > flagCount_) host::raise(host::kSubscriptOutOfRange);
}

const std::string& RescaloImpl::ControlFlagControlKey(int n) const {
  checkIndex(n);
  return flagKeys_[static_cast<std::size_t>(n)];
}

void RescaloImpl::setControlFlagControlKey(int n, std::string key) {
  checkIndex(n);
  flagKeys_[static_cast<std::size_t>(n)] = std::move(key);
  changed("ControlFlagControlKey");
}

bool RescaloImpl::ControlFlag(FlagIndex flag, int n) const {
  checkIndex(n);
  return flags_[flag][static_cast<std::size_t>(n)];
}

void RescaloImpl::setControlFlag(FlagIndex flag, int n, bool value) {
  checkIndex(n);
  flags_[flag][static_cast<std::size_t>(n)] = value;
  changed(std::string("ControlFlag") + kFlagNames[flag]);
}

// ---- capture, public face ----

void RescaloImpl::SaveControlInfo(const Variant& ctrl) {
  scaling::SaveControlInfo(colControlInfo(), engine, ctrl.toObject());
}

scaling::EngineSettings RescaloImpl::engineSettings() const {
  return {SetupDone,      s.ScaleFonts,  s.ScaleGraphics,      s.ScaleBorders,       s.ResizeAtOnce,
          s.GradientFill, s.FormPicture, DesignFormScaleWidth, DesignFormScaleHeight};
}

void RescaloImpl::UpdateControl(const Variant& ctrl) { SaveControlInfo(ctrl); }

void RescaloImpl::SaveControlFlags(const Variant& ctrl) {
  scaling::SaveControlFlags(colControlFlags(), ctrl);
}

// ---- lifecycle ----

void RescaloImpl::AttachHostForm() {
  note("AttachHostForm");
  if (!runtimeTest()) return;  // inert for the life of the form
  host::ignoreErrors([&] {
    auto first = FormControls ? FormControls->get("Item", {Variant(0)}).toObject() : nullptr;
    if (!first) return;
    if (first->typeName() == "MDIForm") {
      hostIsMdi_ = true;
    } else if (first->typeName() == "Form") {
      hostIsMdi_ = false;
    } else {
      return;
    }
    auto form = site_->Parent();
    host_ = form;
    subscription_ = form->subscribe([this](std::string_view e, host::Args) { onHostEvent(e); });
  });
  auto h = host();
  if (h && s.FormOpen >= 1) {
    // Hidden until the opening effect plays.
    host::ignoreErrors([&] {
      host::WindowApi& w = services().windows();
      host::HRGN region = w.CreateRectRgn(1, 1, 1, 1);
      if (region) w.SetWindowRgn(h->get("hWnd").toLong(), region, true);
    });
  }
}

void RescaloImpl::onHostEvent(std::string_view event) {
  if (event == "Load") {
    HandleFormLoad();
  } else if (event == "Resize") {
    // A Resize that comes before Load is ignored.
    if (FormLoaded) HandleFormResize();
  } else if (event == "Unload") {
    HandleFormUnload();
  }
  // Activate and Deactivate are received and do nothing.
}

void RescaloImpl::HandleFormLoad() {
  note("HandleFormLoad");
  LockFormUpdates(true);
  FormLoaded = true;
  if (auto h = host()) SetTopMost(h, s.StayOnTop);
}

void RescaloImpl::HandleFormResize() {
  auto h = host();
  if (!h || SetupBusy) return;
  note("HandleFormResize");
  host::trapAndShow(
      [&] {
        if (!SetupDone) {
          SetupBusy = true;
          LockFormUpdates(true);
          ReplaceFonts();
          if (!hostIsMdi_) window::SizeMdiChild(*h, s.MdiChildWidth, s.MdiChildHeight);
          ResizeControls();
          if (s.SaveWindowState) {
            LoadWindowSettings();
          } else {
            host::ignoreErrors(
                [&] { services().settings().DeleteSetting("Rescalo", s.WindowName); });
            ApplyScreenScale();
            CenterFormX();
            CenterFormY();
          }
          if (h->get("WindowState").toInteger() != 1) ResizeControls();
          if (s.GradientFill) PaintGradient();
          LockFormUpdates(false);
          PlayOpenEffect(h, s.FormOpen);
          tmrWindowSize->setEnabled(true);
          SetupDone = true;
          SetupBusy = false;
          SetAllowUpdates(true);
        }
        if (!LoadingWindowSettings) RegularResizeHandling();
      },
      [&](const std::string& description) {
        services().MsgBox("Rescalo Trapped Error = " + description, host::vbOKOnly);
      });
}

void RescaloImpl::HandleFormUnload() {
  note("HandleFormUnload");
  auto h = host();
  if (s.SaveWindowState) host::ignoreErrors([&] { SaveWindowSettings(); });
  host::ignoreErrors([&] { PlayCloseEffect(h, s.FormClose); });
  host::ignoreErrors([&] {
    if (h) UnfixWindow(h->get("hWnd").toLong());
  });
  LockFormUpdates(false);
}

void RescaloImpl::Terminate() {
  note("Terminate");
  if (auto h = host()) {
    host::ignoreErrors([&] { UnfixWindow(h->get("hWnd").toLong()); });
    LockFormUpdates(false);
  }
  release();
}

void RescaloImpl::release() {
  if (auto h = host(); h && subscription_) h->unsubscribe(subscription_);
  subscription_ = 0;
  for (auto* t : {&tmrDelayResize, &tmrDisableResize, &tmrPrintHide, &tmrWindowSize})
    if (*t) (*t)->setEnabled(false);
}

void RescaloImpl::LockFormUpdates(bool lock) {
  note(lock ? "LockFormUpdates(True)" : "LockFormUpdates(False)");
  auto h = host();
  if (!h) return;
  host::ignoreErrors(
      [&] { services().windows().LockWindowUpdate(lock ? h->get("hWnd").toLong() : 0); });
}

void RescaloImpl::SetAllowUpdates(bool value) {
  note("SetAllowUpdates");
  host::ignoreErrors([&] {
    auto controls = site_->ParentControls();
    int n = controls->get("Count").toLong();
    Variant arg(value);
    for (int i = 0; i < n; ++i)
      host::ignoreErrors([&] {
        Variant ignored;
        controls->get("Item", {Variant(i)})
            .toObject()
            ->tryCall("AllowUpdates", host::Args(&arg, 1), ignored);
      });
  });
}

void RescaloImpl::ReapplyStayOnTop() {
  if (auto h = host()) SetTopMost(h, s.StayOnTop);
}

std::shared_ptr<Rescalo> makeRescalo() { return std::make_shared<RescaloImpl>(); }

void registerRescalo(host::UserControlRegistry& registry) {
  registry.add(kRescaloClass, [] { return makeRescalo(); });
}

}  // namespace rescalo::control
