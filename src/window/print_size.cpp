#include <rescalo/window/print_size.h>

#include <cmath>

#include <rescalo/host/error_object.h>
#include <rescalo/host/failure.h>
#include <rescalo/window/placement.h>
#include <rescalo/window/size_limits.h>

namespace rescalo::window {

using host::Variant;

namespace {

struct Shared {
  bool cancel = false;
  std::weak_ptr<host::Object> dialog;  // the host owns the form; a closed one is dropped
  std::weak_ptr<host::Object> owner;
};
Shared& shared() {
  thread_local Shared s;
  return s;
}

const Variant* option(host::Args options, std::size_t i) {
  return options.size() > i && !options[i].isEmpty() ? &options[i] : nullptr;
}
bool flag(host::Args options, std::size_t i) {
  const Variant* v = option(options, i);
  return v && v->toBool();
}

void cancelPressed() {
  shared().cancel = true;
  if (auto owner = shared().owner.lock())
    host::ignoreErrors([&] { owner->call("PrintSize", {Variant(false)}); });
}

void showDialog(PrintHost& h, bool allowCancel) {
  auto dialog = shared().dialog.lock();
  if (!dialog) {
    host::MessageForm layout{"frmDialog",   "Printing",  "lblMessage",
                             "Printing...", "cmdCancel", "&Cancel"};
    dialog = h.services.createMessageForm(layout, &cancelPressed);
    if (!dialog) return;
    shared().dialog = dialog;
    // Loaded: centred on the screen, above every other window.
    host::ScreenMetrics screen = h.services.screen();
    host::ignoreErrors([&] {
      dialog->set("Left", screen.width / 2 - dialog->get("Width").toDouble() / 2);
      dialog->set("Top", screen.height / 2 - dialog->get("Height").toDouble() / 2);
    });
    host::ignoreErrors([&] { SetTopMost(h.services, *dialog, true); });
  }
  shared().owner = h.owner;
  host::ignoreErrors([&] {
    dialog->get("Controls")
        .toObject()
        ->get("Item", {Variant("cmdCancel")})
        .toObject()
        ->set("Visible", allowCancel);
  });
  host::ignoreErrors([&] { dialog->call("Show"); });
}

void switchOn(PrintHost& h, PrintSaved& saved, host::Args options) {
  host::Object& form = *h.form;
  shared().cancel = false;
  const Variant* pw = option(options, 0);
  const Variant* ph = option(options, 1);
  const Variant* mode = option(options, 2);
  float w = pw && pw->toSingle() != 0 ? pw->toSingle() : h.designWidth;
  float hgt = ph && ph->toSingle() != 0 ? ph->toSingle() : h.designHeight;
  Variant scaleMode = mode ? *mode : Variant(std::int16_t{1});
  bool converted = host::trapAndRaise(
      [&] {
        w = form.call("ScaleX", {Variant(w), scaleMode, Variant(std::int16_t{1})}).toSingle();
        hgt = form.call("ScaleY", {Variant(hgt), scaleMode, Variant(std::int16_t{1})}).toSingle();
      },
      [&](const host::HostError& e) {
        Variant args[] = {Variant("Error in ScaleMode"),
                          Variant(host::ObjectPtr(std::make_shared<host::ErrorObject>(e)))};
        h.raise("Error", args);
      });
  if (!converted) return;
  host::ignoreErrors([&] { saved.WindowState = form.get("WindowState").toInteger(); });
  host::ignoreErrors([&] { form.set("WindowState", std::int16_t{0}); });
  host::ignoreErrors([&] { saved.Left = form.get("Left").toSingle(); });
  host::ignoreErrors([&] { saved.Top = form.get("Top").toSingle(); });
  host::ignoreErrors([&] { saved.Width = form.get("Width").toSingle(); });
  host::ignoreErrors([&] { saved.Height = form.get("Height").toSingle(); });
  host::ScreenMetrics screen = h.services.screen();
  auto maxW = static_cast<std::int32_t>(
      host::roundHalfEven(host::kMaxWindowPixels * screen.twipsPerPixelX));
  auto maxH = static_cast<std::int32_t>(
      host::roundHalfEven(host::kMaxWindowPixels * screen.twipsPerPixelY));
  host::HWND hwnd = 0;
  host::ignoreErrors([&] { hwnd = form.get("hWnd").toLong(); });
  // The window may grow beyond the screen while it is moved, up to the largest window.
  host::ignoreErrors([&] { FixWindow(h.services, hwnd, h.minWidth, h.minHeight, maxW, maxH); });
  bool hide = flag(options, 3);
  host::ignoreErrors([&] {
    form.call("Move", {Variant(hide ? kOffScreenLeft : saved.Left), Variant(saved.Top), Variant(w),
                       Variant(hgt)});
  });
  if (hide) {
    h.windowSizeTimer.setEnabled(false);
    h.printHideTimer.setEnabled(true);
  }
  host::ignoreErrors([&] { UnfixWindow(h.services.windows(), hwnd); });
  if (flag(options, 4)) showDialog(h, flag(options, 5));
  host::ignoreErrors([&] { h.resizePass(); });
}

void switchOff(PrintHost& h, PrintSaved& saved) {
  host::Object& form = *h.form;
  h.printHideTimer.setEnabled(false);
  if (auto dialog = shared().dialog.lock()) host::ignoreErrors([&] { dialog->call("Unload"); });
  shared().dialog.reset();
  host::ignoreErrors([&] {
    form.call("Move", {Variant(saved.Left), Variant(saved.Top), Variant(saved.Width),
                       Variant(saved.Height)});
  });
  host::ignoreErrors([&] { form.set("WindowState", saved.WindowState); });
  h.windowSizeTimer.setEnabled(true);
  if (shared().cancel) host::ignoreErrors([&] { h.raise("PrintCancelled", {}); });
  shared().cancel = false;
}

}  // namespace

std::int16_t PrintSize(PrintHost& h, PrintSaved& saved, bool enabled, host::Args options) {
  if (!h.form || isMdiParent(*h.form)) return 0;
  if (enabled)
    switchOn(h, saved, options);
  else
    switchOff(h, saved);
  return 0;
}

void PrintHideTick(host::Object* form, bool runtimeTest, host::Timer& timer) {
  host::ignoreErrors([&] {
    if (!runtimeTest) {
      timer.setEnabled(false);
      return;
    }
    if (form && form->get("Left").toSingle() != kOffScreenLeft) form->set("Left", kOffScreenLeft);
  });
}

host::ObjectPtr PrintDialog() { return shared().dialog.lock(); }
bool PrintCancelled() { return shared().cancel; }

}  // namespace rescalo::window
