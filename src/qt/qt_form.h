#pragma once
// A top-level QWidget seen as a form.
//
// Left/Top/Width/Height are the outer frame. A window that has never been shown has no frame
// yet (Qt knows the frame only once the window system has reported it), so until then the
// outer size equals the client size; on the offscreen platform the frame is 2 px each side.
//
// Resize is raised whenever the client size differs from the size the last Resize announced:
// synchronously after a write of Width, Height or Move (Qt would deliver the event late, or not
// at all for a hidden window), and from an event filter for resizes made by anyone else.
// Events caused by our own writes are swallowed by the filter, so nothing is raised twice.
// A write of WindowState raises Resize at once as well; the maximized or restored size itself
// comes later from the window system and then raises its own Resize.
//
// Like a classic form, the window also raises Resize at its first display (once, even when a
// resize delivered during that display has just raised one it is not repeated), Load when the
// application says the form is loaded (load(), as attaching a user control does), Unload when
// it is closed, and Activate and Deactivate as it gains and loses the focus.
//
// The scale, the colours, the graphics methods and the background picture are the window's
// drawing surface (QtSurface).
//
// An MDI form is a QMainWindow holding a QMdiArea; its inner area (ScaleWidth, ScaleHeight) is
// the area, what its aligned picture boxes leave free. An MDI child is a widget inside a
// QMdiSubWindow: its outer rectangle is the sub-window's, in the area.
//
// A main window made in Qt (not an MDI form) keeps its menu bar, status bar, tool bars and
// central widget where Qt places them: its controls are those inside the central widget, and
// its inner area is the central widget's.
//
// The controls of a form are the widgets placed by position: a widget that a layout manages is
// its layout's, and neither it nor what it holds is moved by the pass.
//
// A control whose "Align" property is 1 (top), 2 (bottom), 3 (left) or 4 (right) stays on that
// edge of its form and spans it: only its height (or width) is its own. Several aligned
// controls stack as the classic ones do, each on its edge of what the earlier ones left, below
// the menu bar: top and bottom first, then left and right, on each edge the nearest first.

#include <memory>
#include <vector>

#include <rescalo/qt/qt_control_list.h>
#include <rescalo/qt/qt_object.h>

class QMdiArea;

namespace rescalo::qt {

// The area of an MDI form's window, or nullptr for any other widget.
QMdiArea* mdiAreaOf(const QWidget& window);
// A main window's central widget, when the window is not an MDI form; nullptr otherwise.
QWidget* centralAreaOf(const QWidget& window);
// Whether a layout places the widget.
bool inLayout(const QWidget& widget);
// Whether a widget is a form: a window, or the widget of an MDI sub-window.
bool isFormWidget(const QWidget& widget);
// Puts a form's aligned controls back on their edges, and its MDI area in what is left.
void layoutAligned(QWidget& form);
// The height of a main window's menu bar while it shows one; 0 for any other widget.
int menuBarPixels(const QWidget& form);

class QtForm : public QtWidgetObject {
 public:
  QtForm(QWidget* widget, host::HWND handle);
  ~QtForm() override;

  std::string_view typeName() const override;
  bool isForm() const override { return true; }

  QRect outerPixels() const override;
  // Moves and sizes the frame; 384 while minimized or maximized.
  void setOuterPixels(const QRect& rect) override;

  // The inner area in twips along one axis: the window's client area, or an MDI form's area.
  double innerTwips(bool xAxis) const;

  // 0 normal, 1 minimized, 2 maximized.
  int windowState() const;
  void setWindowState(int state);

  // The widget that carries the frame: the MDI sub-window of a child, else the window itself.
  QWidget& frame() const;

  // Raises Load once.
  void load();
  bool loaded() const { return loaded_; }
  // The form's controls in creation order: a pre-order walk of the widget tree, entering
  // frames and picture boxes but not the inner parts of other widgets.
  std::vector<QWidget*> controlWidgets() const { return controls().widgets(); }
  // The same, walked only when the widget tree has changed since.
  const ControlList& controls() const;

 protected:
  const host::MemberTable* members() const override;

 private:
  class ResizeWatcher;
  // Raises Resize when the client size differs from the one last announced.
  void announceSize();
  // Raises Resize with the window's updates held.
  void raiseHeld();
  void windowResized();
  void windowShown();
  std::vector<QWidget*> walkControls() const;

  std::unique_ptr<ResizeWatcher> watcher_;
  mutable ControlList controls_;
  QSize announced_;
  int applying_ = 0;  // > 0 while we change the geometry ourselves
  bool loaded_ = false;
  bool shownOnce_ = false;
  bool announcedWhileShowing_ = false;
};

// The 0-based list of a form's controls (Count, Item), as the form keeps it.
class QtControls : public host::Object {
 public:
  // With the form first: item 0 is the form, as a user control sees its container's controls.
  explicit QtControls(std::shared_ptr<QtForm> form, bool withFormFirst = false)
      : form_(std::move(form)), formFirst_(withFormFirst) {}
  std::string_view typeName() const override { return "Controls"; }
  int count() const;
  host::ObjectPtr item(int index) const;  // 9 outside 0..count-1
  // By position, or by key ("Name" or "Name(Index)"); 730 for a key no control has.
  host::ObjectPtr item(const host::Variant& key) const;

 protected:
  const host::MemberTable* members() const override;

 private:
  std::shared_ptr<QtForm> form_;
  bool formFirst_;
};

}  // namespace rescalo::qt
