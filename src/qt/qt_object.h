#pragma once
// Adapters that let the host contract drive real Qt widgets: members by name, twips, events.
//
// Each widget gets at most one adapter, created on first request and kept until the widget is
// destroyed, so subscriptions and identity survive repeated look-ups. An adapter never owns
// or deletes its widget; once the widget is gone, every member fails with 364.

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include <rescalo/host/object.h>
#include <rescalo/host/window_api.h>

namespace rescalo::qt {

class QtForm;
class QtControl;
class QtFont;

// "Object was unloaded": the adapter outlived its widget.
inline constexpr int kObjectUnloaded = 364;

// Twips per pixel on the widget's screen: 1440 / its logical DPI (96 dpi gives 15).
double twipsPerPixelX(const QWidget& widget);
double twipsPerPixelY(const QWidget& widget);

// What a form and a control share: geometry in twips, Name, Visible, Enabled, Font, hWnd, Move.
class QtWidgetObject : public host::Object {
 public:
  QtWidgetObject(QWidget* widget, host::HWND handle);

  // The adapted widget; raises 364 once it has been destroyed.
  QWidget& widget() const;
  bool alive() const { return !widget_.isNull(); }
  // A handle of our own rather than winId(): asking Qt for one would turn every child into a
  // native window. widgetOf() maps it back.
  host::HWND hWnd() const { return handle_; }
  virtual bool isForm() const { return false; }

  // The rectangle Left/Top/Width/Height describe, in pixels.
  virtual QRect outerPixels() const = 0;
  virtual void setOuterPixels(const QRect& rect) = 0;

  // Left, Top, Width and Height in twips: what was last written while the widget is still
  // where that put it (a widget holds whole pixels; the classic runtime keeps the twips), else
  // its pixels in twips. Writing any of them places the widget at the nearest pixels.
  std::array<double, 4> twipsRect() const;
  void setTwipsRect(const std::array<double, 4>& twips);

  // Pixels to twips and back on this widget's screen (rounded to whole pixels).
  float twipsX(int pixels) const;
  float twipsY(int pixels) const;
  int pixelsX(const host::Variant& twips) const;
  int pixelsY(const host::Variant& twips) const;
  // The screen's twips per pixel, kept until the widget or a screen changes.
  double twipsPerPixel(bool xAxis) const;

  // The widget's font as the classic font object; always the same object.
  const std::shared_ptr<QtFont>& font() const;
  // Gives the widget a font written while fonts are held, before a member that may show it.
  void settleFont() const;

 protected:
  const host::MemberTable* members() const override;

 private:
  QPointer<QWidget> widget_;
  host::HWND handle_;
  std::optional<std::array<double, 4>> written_;
  QRect writtenAt_;
  mutable std::uint64_t perPixelAt_[2] = {~std::uint64_t{0}, ~std::uint64_t{0}};
  mutable double perPixel_[2] = {15, 15};
  mutable std::shared_ptr<QtFont> font_;
};

// The adapter of a widget, created on first use: a QtForm for a form (a window, or the widget
// of an MDI sub-window), a QtControl otherwise.
// Nothing for nullptr.
std::shared_ptr<QtWidgetObject> adapterOf(QWidget* widget);
// The adapter of a form's widget; 5 when the widget is not a form.
std::shared_ptr<QtForm> adoptForm(QWidget* topLevel);
// The adapter of a control's widget; 5 when the widget is a form.
std::shared_ptr<QtControl> adoptControl(QWidget* child);
// The widget behind an hWnd value, or nullptr once it is destroyed or for an unknown handle.
QWidget* widgetOf(host::HWND handle);

// The font of a widget seen as the classic font object: Name, Size (points), Bold, Italic.
// A Size written is realised at a whole number of pixels (at 96 dpi, multiples of 0.75 point).
// It reads and writes the widget's font directly, so it never goes stale; only while fonts are
// held does a control's font written wait, read back as written, until they are let go.
class QtFont : public host::Object {
 public:
  explicit QtFont(QWidget* widget) : widget_(widget) {}
  ~QtFont() override;
  std::string_view typeName() const override { return "StdFont"; }
  QWidget& widget() const;

  // The font as written: the one waiting, else the widget's.
  QFont current() const;
  void write(const QFont& font);
  // Gives the widget the font waiting for it, if any.
  void settle();

 protected:
  const host::MemberTable* members() const override;

 private:
  friend void settleFonts();
  QPointer<QWidget> widget_;
  std::optional<QFont> waiting_;
  bool listed_ = false;  // in the list of fonts settled at the end
};

// While a form handles its Resize, the fonts its controls are given wait and are set once at
// the end: a font made small before a move and given its new size after costs one change, or
// none when the size comes back to what it was. Holds nest; letting go of the last sets them.
void holdFonts();
void releaseFonts();
// Sets every font waiting now, still holding (events are about to be delivered).
void settleFonts();

}  // namespace rescalo::qt
