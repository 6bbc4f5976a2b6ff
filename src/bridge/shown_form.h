#pragma once
// A form opened on Qt as a user sees it, with its Rescalo running, dragged as a window system
// holds a user's drag. A classic form (.frm) is built into real widgets and, when asked, kept
// beside the same form in the embedded runtime on the same screen, dragged alike, to compare
// every widget with; a Qt Designer form (.ui) is compared with its own layout as first shown,
// in proportion.

#include <QPointer>
#include <QRect>
#include <QVariant>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/bridge/qt_rescalo.h>
#include <rescalo/qt/qt_services.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/runtime.h>

namespace rescalo::bridge {

// Real time in the event loop: by default longer than the deferred pass and a limit's pause.
void settle(int ms = 650);

// Before the QApplication is made: Qt's offscreen platform with one screen as the embedded
// runtime's (1280 x 1024 at 96 dpi), so that a form is held at the same screen edges in both
// hosts. Needs no display.
void useRuntimeScreen();

// Resizes a window to an inner size in twips as the window system holds a window a user
// drags: no smaller than the smallest window, no bigger than the screen and a little; a
// disabled window not at all.
void dragInner(QWidget& window, double widthTwips, double heightTwips);

struct ShowOptions {
  bool compare = false;                     // keep the same form in the embedded runtime beside it
  bool quietMessageBoxes = false;           // message boxes answer at once instead of waiting
  std::filesystem::path settingsFile = {};  // empty: a temporary one
  // Told of what the loader and the builder had to say (a control added, classes left out).
  std::function<void(const std::string&)> onOutput = {};
  // How long each step waits in the event loop for the control to settle, ms: longer than
  // the deferred pass and the pause after a size limit was hit.
  int settleMs = 650;
  int codePage = 0;  // of text whose font names no Charset; 0: 1252
};

// A widget more than one pixel away from its control in the runtime.
struct Mismatch {
  std::string key;
  QRect got;                   // pixels
  std::array<double, 4> want;  // left, top, width, height, pixels
};

class ShownForm {
 public:
  // Needs a QApplication. Loads the form (a Rescalo is added when it has none), builds it,
  // attaches the control and shows the window; a maximized or minimized form opens so.
  ShownForm(const std::filesystem::path& file, ShowOptions options = {});
  ~ShownForm();
  ShownForm(const ShownForm&) = delete;
  ShownForm& operator=(const ShownForm&) = delete;

  QWidget& window() const { return *built_.window; }
  const QtFormWindow& built() const { return built_; }
  const frm::Document& document() const { return doc_; }
  // The inner area the form was designed at, twips.
  double designWidth() const { return designW_; }
  double designHeight() const { return designH_; }
  double twipsPerPixelX() const { return tx_; }
  double twipsPerPixelY() const { return ty_; }
  qt::Rescalo& rescalo() const { return *rescalo_; }
  // The Qt host's services, its settings store among them.
  qt::QtServices& services() const { return *services_; }
  // The reference form in the embedded runtime, when comparing.
  runtime::Form* reference() const { return reference_.get(); }

  // A maximized or minimized window has no corner to drag: restore it, in both hosts.
  void restore();
  // Drags the window's corner to an inner size in twips, lets the control settle, and drags
  // the reference to the same inner size.
  void drag(double widthTwips, double heightTwips);
  // Every widget farther than one pixel from its control in the reference, in proportion to
  // the inner areas (the hosts' frames differ, so a window held by the screen may differ by a
  // few pixels). Nothing when not comparing.
  std::vector<Mismatch> mismatches() const;

 private:
  void openReference(runtime::RuntimeOptions options);
  std::vector<Mismatch> proportionMismatches() const;

  std::filesystem::path file_;
  ShowOptions options_;
  frm::Document doc_;
  // The services outlive the window, whose Rescalo ends with it.
  std::unique_ptr<qt::QtServices> services_;
  QtFormWindow built_;
  qt::Rescalo* rescalo_ = nullptr;  // the window's child
  double tx_ = 15, ty_ = 15, designW_ = 0, designH_ = 0;
  // A Designer form: the settings of its own Rescalo, and what it looked like when shown.
  std::vector<std::pair<QByteArray, QVariant>> uiProperties_;
  std::pair<double, double> designedInner_;
  std::vector<std::pair<QPointer<QWidget>, QRect>> designed_;
  // The reference's screen on which a dragged window stops where the Qt window stops.
  std::pair<int, int> dragScreen_;
  std::optional<runtime::Runtime> rt_;
  std::shared_ptr<runtime::Form> reference_;
};

}  // namespace rescalo::bridge
