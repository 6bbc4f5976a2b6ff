#pragma once
// The Rescalo for Qt applications, in Qt's own terms: attach one to any window and it keeps
// the window's widgets in proportion. Sizes are pixels, colours QColors, the effects enums,
// the control's events signals; the classic control is underneath, reachable by name.
//
//   auto* rescalo = rescalo::qt::attach(&window);
//   rescalo->setMinimumWindowSize({320, 200});
//   rescalo->setLocks(okButton, rescalo::qt::Lock::Right | rescalo::qt::Lock::Bottom);
//
// It is a widget, so that Qt Designer can place it on a form and uic or QUiLoader create it:
// `new rescalo::qt::Rescalo(form)`, then its properties set. At run time it stays hidden and
// attaches itself to its parent's window: at once when the parent is the window (uic has sized
// it by then, so its size is the size it was designed at), else when the parent is first shown.
// Settings set before it attaches are handed to the control then.
//
// Widgets can carry their flags from a .ui form as dynamic properties, read when the control
// is attached and again when its window is first shown (a form's widgets are made after it):
// `rescaloLocks` ("Right|Bottom", or the flags' number) and `rescaloExclude` ("Font|Picture").

#include <QColor>
#include <QFlags>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include <rescalo/host/object.h>
#include <rescalo/qt/qt_services.h>
#include <rescalo/qt/qt_user_control.h>

namespace rescalo::qt {

// What of a widget's place stays as designed while the rest follows the window.
enum class Lock : unsigned {
  None = 0,
  Left = 1,
  Top = 2,
  Width = 4,
  Height = 8,
  Right = 16,
  Bottom = 32,
};
Q_DECLARE_FLAGS(Locks, Lock)
Q_DECLARE_OPERATORS_FOR_FLAGS(Locks)

// What of a widget is left alone: all of it, or its font, border or pictures.
enum class Exclude : unsigned {
  None = 0,
  Control = 1,
  Font = 2,
  Border = 4,
  Picture = 8,
};
Q_DECLARE_FLAGS(Excludes, Exclude)
Q_DECLARE_OPERATORS_FOR_FLAGS(Excludes)

// The dynamic properties a widget carries its flags in.
inline constexpr const char* kLocksProperty = "rescaloLocks";
inline constexpr const char* kExcludeProperty = "rescaloExclude";

// "Right|Bottom" (or a number) to flags, and back; unknown names are ignored.
Locks locksFromString(const QString& text);
Excludes excludesFromString(const QString& text);
QString toString(Locks locks);
QString toString(Excludes excludes);

struct Options {
  QString name = "Rescalo1";  // the control's name on its form
  // The classic settings by name (a form's saved ones); nothing: every setting at its default.
  host::PropertyBag* properties = nullptr;
  // Timers, the settings store and message boxes; nothing: the Qt host's own, kept with the
  // control.
  QtServices* services = nullptr;
  // False: design time, the control stays inert.
  bool userMode = true;
};

class DetachedSite;

class Rescalo : public QWidget {
  Q_OBJECT
  // Named apart from QWidget's enabled, minimumSize and maximumSize, which Designer and uic
  // would otherwise mistake for these.
  Q_PROPERTY(bool active READ isActive WRITE setActive)
  Q_PROPERTY(bool scaleControls READ scaleControls WRITE setScaleControls)
  Q_PROPERTY(bool scaleFonts READ scaleFonts WRITE setScaleFonts)
  Q_PROPERTY(bool scaleBorders READ scaleBorders WRITE setScaleBorders)
  Q_PROPERTY(bool scalePictures READ scalePictures WRITE setScalePictures)
  Q_PROPERTY(bool resizeAtOnce READ resizeAtOnce WRITE setResizeAtOnce)
  Q_PROPERTY(bool resizeWhenDragEnds READ resizeWhenDragEnds WRITE setResizeWhenDragEnds)
  Q_PROPERTY(QSize minimumWindowSize READ minimumWindowSize WRITE setMinimumWindowSize)
  Q_PROPERTY(QSize maximumWindowSize READ maximumWindowSize WRITE setMaximumWindowSize)
  Q_PROPERTY(bool beepAtLimits READ beepAtLimits WRITE setBeepAtLimits)
  Q_PROPERTY(bool centerHorizontally READ centerHorizontally WRITE setCenterHorizontally)
  Q_PROPERTY(bool centerVertically READ centerVertically WRITE setCenterVertically)
  Q_PROPERTY(int screenWidthPercent READ screenWidthPercent WRITE setScreenWidthPercent)
  Q_PROPERTY(int screenHeightPercent READ screenHeightPercent WRITE setScreenHeightPercent)
  Q_PROPERTY(QSize mdiChildSize READ mdiChildSize WRITE setMdiChildSize)
  Q_PROPERTY(bool stayOnTop READ stayOnTop WRITE setStayOnTop)
  Q_PROPERTY(bool rememberWindow READ rememberWindow WRITE setRememberWindow)
  Q_PROPERTY(QString windowName READ windowName WRITE setWindowName)
  Q_PROPERTY(QString replacementFont READ replacementFont WRITE setReplacementFont)
  Q_PROPERTY(bool gradientFill READ gradientFill WRITE setGradientFill)
  Q_PROPERTY(QColor gradientColor READ gradientColor WRITE setGradientColor)
  Q_PROPERTY(QColor gradientColor2 READ gradientColor2 WRITE setGradientColor2)
  Q_PROPERTY(QColor gradientMidColor READ gradientMidColor WRITE setGradientMidColor)
  Q_PROPERTY(GradientSource gradientSource READ gradientSource WRITE setGradientSource)
  Q_PROPERTY(GradientType gradientType READ gradientType WRITE setGradientType)
  Q_PROPERTY(PictureEffect pictureEffect READ pictureEffect WRITE setPictureEffect)
  Q_PROPERTY(WindowEffect openEffect READ openEffect WRITE setOpenEffect)
  Q_PROPERTY(double openSeconds READ openSeconds WRITE setOpenSeconds)
  Q_PROPERTY(WindowEffect closeEffect READ closeEffect WRITE setCloseEffect)
  Q_PROPERTY(double closeSeconds READ closeSeconds WRITE setCloseSeconds)

 public:
  enum GradientSource {
    FromTop,
    FromBottom,
    FromRight,
    FromLeft,
    FromTopLeft,
    FromTopRight,
    FromBottomLeft,
    FromBottomRight,
    FromMiddle,
    FromOutside
  };
  Q_ENUM(GradientSource)
  enum GradientType { Linear, Radial };
  Q_ENUM(GradientType)
  enum PictureEffect { NoPictureEffect, FitPicture, CenterPicture, TilePicture };
  Q_ENUM(PictureEffect)
  enum WindowEffect {
    NoEffect,
    WipeLeft,
    WipeRight,
    WipeUp,
    WipeDown,
    WipeVertical,
    WipeHorizontal,
    Fold
  };
  Q_ENUM(WindowEffect)

  // At run time: hidden, attached to the parent's window as described above.
  explicit Rescalo(QWidget* parent = nullptr);
  // At design time (Qt Designer): shown as its icon, never attached, keeping its settings.
  static Rescalo* createAtDesignTime(QWidget* parent = nullptr);
  ~Rescalo() override;

  bool isDesignTime() const { return designTime_; }
  bool isAttached() const { return host_ != nullptr; }
  // The window it is attached to, or nullptr.
  QWidget* attachedWindow() const { return window_; }
  // The icon it shows at design time, as the widget box shows it too.
  static QPixmap picture();
  QSize sizeHint() const override { return picture().size(); }

  // Whether the control rescales at all (the classic Enabled).
  bool isActive() const { return flag("Enabled"); }
  void setActive(bool on) { setClassic("Enabled", host::Variant(on)); }
  bool scaleControls() const { return flag("ScaleControls"); }
  void setScaleControls(bool on) { setClassic("ScaleControls", host::Variant(on)); }
  bool scaleFonts() const { return flag("ScaleFonts"); }
  void setScaleFonts(bool on) { setClassic("ScaleFonts", host::Variant(on)); }
  bool scaleBorders() const { return flag("ScaleBorders"); }
  void setScaleBorders(bool on) { setClassic("ScaleBorders", host::Variant(on)); }
  bool scalePictures() const { return flag("ScaleGraphics"); }
  void setScalePictures(bool on) { setClassic("ScaleGraphics", host::Variant(on)); }
  bool resizeAtOnce() const { return flag("ResizeAtOnce"); }
  void setResizeAtOnce(bool on) { setClassic("ResizeAtOnce", host::Variant(on)); }
  bool resizeWhenDragEnds() const { return flag("ResizeOnMouseUp"); }
  void setResizeWhenDragEnds(bool on) { setClassic("ResizeOnMouseUp", host::Variant(on)); }
  // The window's size limits, pixels; 0 for none.
  QSize minimumWindowSize() const { return pixels("MinWidth", "MinHeight"); }
  void setMinimumWindowSize(QSize size) { setPixels("MinWidth", "MinHeight", size); }
  QSize maximumWindowSize() const { return pixels("MaxWidth", "MaxHeight"); }
  void setMaximumWindowSize(QSize size) { setPixels("MaxWidth", "MaxHeight", size); }
  bool beepAtLimits() const { return flag("BeepOnMinMax"); }
  void setBeepAtLimits(bool on) { setClassic("BeepOnMinMax", host::Variant(on)); }
  bool centerHorizontally() const { return flag("CenterX"); }
  void setCenterHorizontally(bool on) { setClassic("CenterX", host::Variant(on)); }
  bool centerVertically() const { return flag("CenterY"); }
  void setCenterVertically(bool on) { setClassic("CenterY", host::Variant(on)); }
  int screenWidthPercent() const { return number("ScaleX"); }
  void setScreenWidthPercent(int percent);
  int screenHeightPercent() const { return number("ScaleY"); }
  void setScreenHeightPercent(int percent);
  QSize mdiChildSize() const { return pixels("MdiChildWidth", "MdiChildHeight"); }
  void setMdiChildSize(QSize size) { setPixels("MdiChildWidth", "MdiChildHeight", size); }
  bool stayOnTop() const { return flag("StayOnTop"); }
  void setStayOnTop(bool on) { setClassic("StayOnTop", host::Variant(on)); }
  bool rememberWindow() const { return flag("SaveWindowState"); }
  void setRememberWindow(bool on) { setClassic("SaveWindowState", host::Variant(on)); }
  QString windowName() const { return text("WindowName"); }
  void setWindowName(const QString& name) { setText("WindowName", name); }
  // The one font family every widget's font takes; empty for none.
  QString replacementFont() const;
  void setReplacementFont(const QString& family);
  bool gradientFill() const { return flag("GradientFill"); }
  void setGradientFill(bool on) { setClassic("GradientFill", host::Variant(on)); }
  QColor gradientColor() const { return color("GradientColour"); }
  void setGradientColor(const QColor& c) { setColor("GradientColour", c); }
  QColor gradientColor2() const { return color("GradientColour2"); }
  void setGradientColor2(const QColor& c) { setColor("GradientColour2", c); }
  QColor gradientMidColor() const { return color("GradientMidColour"); }
  void setGradientMidColor(const QColor& c) { setColor("GradientMidColour", c); }
  GradientSource gradientSource() const { return GradientSource(number("GradientSource")); }
  void setGradientSource(GradientSource s) { setLong("GradientSource", s); }
  GradientType gradientType() const { return GradientType(number("GradientType")); }
  void setGradientType(GradientType t) { setLong("GradientType", t); }
  PictureEffect pictureEffect() const { return PictureEffect(number("FormPicture")); }
  void setPictureEffect(PictureEffect e) { setLong("FormPicture", e); }
  WindowEffect openEffect() const { return WindowEffect(number("FormOpen")); }
  void setOpenEffect(WindowEffect e);
  double openSeconds() const { return seconds("FormOpenTime"); }
  void setOpenSeconds(double s) { setSeconds("FormOpenTime", s); }
  WindowEffect closeEffect() const { return WindowEffect(number("FormClose")); }
  void setCloseEffect(WindowEffect e);
  double closeSeconds() const { return seconds("FormCloseTime"); }
  void setCloseSeconds(double s) { setSeconds("FormCloseTime", s); }

  // A widget's flags; they hold from the next pass on.
  void setLocks(QWidget* widget, Locks locks);
  Locks locks(QWidget* widget) const;
  void setExcluded(QWidget* widget, Excludes excludes);
  Excludes excluded(QWidget* widget) const;

  // Lays the window out at a print size in pixels (empty: the designed size), optionally
  // hidden and behind the "Printing..." dialog; false switches it off. What the classic
  // PrintSize returns.
  int printSize(bool on, QSize size = {}, bool hide = false, bool dialog = false,
                bool allowCancel = false);
  // Forgets what was captured: the next pass takes the widgets as they are now as designed.
  void reset();

  // The classic control by name, for what the Qt terms above do not cover.
  host::Object& classic() const;

  // Before attaching (at design time): the form and its widgets that the property pages list
  // as the form's controls, asked afresh each time.
  void setDesignControls(QWidget* form, std::function<QWidgetList()> widgets);

 signals:
  void resizeStarted();
  void resizeDone();
  void error(const QString& description, int number);
  void printCancelled();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  friend Rescalo* attach(QWidget* window, const Options& options);
  enum class Mode { RunTime, DesignTime, AttachedByCall };
  Rescalo(QWidget* parent, Mode mode);

  // Attaches now, or waits for the parent to be shown, as the parent allows.
  void attachWhenPlaced();
  void attachTo(QWidget* window, const Options& options);
  // The flags the window's widgets carry as dynamic properties.
  void readWidgetFlags();
  host::Services& services() const;

  bool flag(const char* name) const;
  int number(const char* name) const;
  QString text(const char* name) const;
  QSize pixels(const char* width, const char* height) const;
  QColor color(const char* name) const;
  double seconds(const char* name) const;
  void setClassic(const char* name, const host::Variant& value);
  void setLong(const char* name, int value);
  void setText(const char* name, const QString& value);
  void setPixels(const char* width, const char* height, QSize size);
  void setColor(const char* name, const QColor& c);
  void setSeconds(const char* name, double s);
  // The index of a widget's element in the control's flag arrays, made when asked.
  int flagIndex(QWidget* widget, bool make);
  int flagIndex(QWidget* widget) const;
  void setFlag(QWidget* widget, const char* name, bool on);
  bool flagOf(QWidget* widget, const char* name) const;

  bool designTime_ = false;
  bool flagsReadAtShow_ = false;
  QPointer<QWidget> waitingFor_;  // the parent whose first Show attaches
  QPointer<QWidget> window_;
  std::unique_ptr<QtServices> ownServices_;
  QtServices* services_ = nullptr;
  // Until attached: the control in design mode, keeping the settings.
  std::shared_ptr<DetachedSite> detached_;
  std::shared_ptr<QtUserControlHost> host_;
};

// Attaches a Rescalo to the top-level window (error 5 when the widget is not a window): a
// hidden child of the window, deleted with it. The window's size when attached is taken as the size
// it was designed at; its widgets' flags come from their dynamic properties.
Rescalo* attach(QWidget* window, const Options& options = {});

}  // namespace rescalo::qt
