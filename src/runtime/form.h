#pragma once
// Forms, MDI forms and picture boxes of the embedded runtime.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <rescalo/host/key_index.h>
#include <rescalo/host/user_control.h>
#include <rescalo/runtime/control.h>
#include <rescalo/runtime/surface.h>
#include <rescalo/runtime/window_table.h>

namespace rescalo::runtime {

class Runtime;

// A picture box: a control that contains controls and is a drawing surface of its own.
class PictureBox : public Control, public Surface {
 public:
  PictureBox(std::string fileClass, const ControlClass& cls);
  ScaleSpace childSpace() const override { return scale.space(); }
  double clientWidthTwips() const override;
  double clientHeightTwips() const override;
  void onPictureChanged() override;
};

// The outer frame of a window: widths of the side frames and the caption, by border style.
struct FrameMetrics {
  double width = 0;   // outer width - client width, twips
  double height = 0;  // outer height - client height, twips (without a menu bar)
};
FrameMetrics frameFor(int borderStyle);

class Form : public host::Object, public ContainerBase, public Surface, public WindowOwner {
 public:
  Form(Runtime& rt, bool mdi);
  ~Form() override;
  std::string_view typeName() const override { return mdi_ ? "MDIForm" : "Form"; }
  host::ObjectPtr containerObject() override { return shared_from_this(); }
  ScaleSpace childSpace() const override { return scale.space(); }
  bool tryGet(host::Name name, host::Args index, host::Variant& out) override;
  bool trySet(host::Name name, host::Args index, const host::Variant& value) override;

  Runtime& runtime() { return rt_; }
  bool isMdi() const { return mdi_; }
  Form* mdiParent() const;  // for an MDI child: the application's MDI form

  std::string name;
  std::string caption;
  std::string tag;
  std::string fileClass = "VB.Form";
  int borderStyle = 2;
  bool enabled = true;
  bool mdiChild = false;
  // Loaded as the form designer loads it: hidden controls are still drawn and still take
  // their edge.
  bool designMode = false;
  // While the loader places the controls where the file says, the aligned ones wait: their
  // order on an edge is the order the file's positions give them.
  bool holdAligned = false;
  std::shared_ptr<Font> font = std::make_shared<Font>();
  StoredProperties stored;
  host::HWND hwnd = 0;
  host::HWND clientHwnd = 0;  // an MDI form's client window

  // Outer geometry in twips as it reads now (normal bounds, or as minimized/maximized).
  double left() const;
  double top() const;
  double width() const;
  double height() const;
  int windowState() const { return windowState_; }
  bool visible() const { return visible_; }
  bool loaded() const { return loaded_; }
  const std::string& key() const { return name; }

  // Programmatic geometry: fails with 384 unless the form is in normal state; raises Resize
  // inside the call when the size changes.
  void move(double l, std::optional<double> t = {}, std::optional<double> w = {},
            std::optional<double> h = {});
  void setWindowState(int state);
  // Sets the normal bounds without events (the loader, from the form file).
  void setInitialBounds(double l, double t, double w, double h);
  void setClientSize(double w, double h);  // twips; adjusts the outer size

  // The client area: for an MDI form, only what its aligned picture boxes leave free.
  double clientWidthTwips() const override;
  double clientHeightTwips() const override;
  double fullClientWidth() const;
  double fullClientHeight() const;
  double menuBarHeight() const;
  // The MDI form's client area (where children live), twips relative to its client origin.
  struct Area {
    double left, top, width, height;
  };
  Area mdiClientArea() const;

  // Stacks the aligned controls on their edges (also after a program or the scaling engine
  // moved one): in z-order, each takes its edge of the area the ones before it left, keeping
  // its own thickness (height on the top and bottom, width on the left and right).
  void layoutAligned();

  // A user drag of the bottom-right corner to an outer size in twips: the window's
  // procedures are asked for the tracking limits first.
  void userDrag(double outerWidth, double outerHeight);
  host::MINMAXINFO trackingLimits() const;

  void load();  // raises Load once
  void show();  // loads if needed, shows, raises Resize at first display and Activate
  void hide();
  void unload();  // raises Unload, ends user controls, destroys the window
  void activate();
  void deactivate();

  host::RECT windowRect() const override;
  void setWindowPos(int x, int y, int cx, int cy, std::uint32_t flags) override;
  host::HWND parentWindow() const override;

  // Every control, in load order.
  const std::vector<std::shared_ptr<Control>>& controls() const { return controls_; }
  // Sites a control in a container of this form (the form itself, or one of its controls).
  void add(std::shared_ptr<Control> control, ContainerBase& container);
  // Takes a control off the form, with every control it contains.
  void remove(Control& control);
  // A control by key ("Name" or "Name(Index)", in any case); the first loaded when a file
  // repeats a key.
  Control* find(std::string_view key) const;

 protected:
  const host::MemberTable* members() const override;

 private:
  friend class Control;
  void keysChanged() { byKeyStale_ = true; }

  std::vector<std::shared_ptr<Control>> controls_;
  // Controls by key, so that a look-up does not walk a form of thousands of controls. Made at
  // the first look-up (a form shown and never searched never pays for it), and again after a
  // rename or a removal; a control added meanwhile is filed at once.
  mutable host::KeyIndex byKey_;  // positions in controls_
  mutable bool byKeyStale_ = true;
  const std::string& keyAt(int position) const;
  std::uint64_t controlsVersion_ = 0;  // changes whenever a control is added or removed

  // The form's own menus and the controls sited on it that can be aligned, found again only
  // when controls were added or removed: the client size and the aligned controls' layout ask
  // for them on every read and every resize.
  struct Own {
    std::vector<const Control*> menus;
    std::vector<Control*> alignable;
    std::uint64_t foundIn = ~std::uint64_t{0};
  };
  mutable Own own_;
  const Own& own() const;
  // The client area the aligned controls leave, placing them on the way when asked to.
  Area stackAligned(bool place) const;

  void applySize(double w, double h, bool raiseResize);
  void raiseResize();
  Runtime& rt_;
  bool mdi_;
  std::unique_ptr<WindowOwner> mdiClient_;
  double left_ = 0, top_ = 0, width_ = 4800, height_ = 3600;  // normal bounds
  int windowState_ = 0;
  bool visible_ = false;
  bool loaded_ = false;
  bool shownOnce_ = false;
  bool unloaded_ = false;
};

// The form's Controls collection (0-based) and the list a user control sees as its
// container's controls (item 0 is the form itself).
host::ObjectPtr controlsOf(Form& form, bool withFormFirst);

}  // namespace rescalo::runtime
