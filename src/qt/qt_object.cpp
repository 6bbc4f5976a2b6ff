#include <rescalo/qt/qt_object.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <algorithm>
#include <unordered_map>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_control_list.h>
#include <rescalo/qt/qt_form.h>

namespace rescalo::qt {

using host::Args;
using host::Object;
using host::self;
using host::Variant;

namespace {

// One adapter per live widget, and the handles we hand out for them.
struct Registry {
  std::unordered_map<const QWidget*, std::shared_ptr<QtWidgetObject>> adapters;
  std::unordered_map<host::HWND, QWidget*> widgets;
  host::HWND nextHandle = 0x100;
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

double twipsPerPixelX(const QWidget& widget) { return 1440.0 / widget.logicalDpiX(); }
double twipsPerPixelY(const QWidget& widget) { return 1440.0 / widget.logicalDpiY(); }

QtWidgetObject::QtWidgetObject(QWidget* widget, host::HWND handle)
    : widget_(widget), handle_(handle) {}

QWidget& QtWidgetObject::widget() const {
  if (widget_.isNull()) host::raise(kObjectUnloaded, "Object was unloaded");
  return *widget_;
}

double QtWidgetObject::twipsPerPixel(bool xAxis) const {
  // A widget moved to another window may be on another screen: both counts decide.
  const std::uint64_t now[] = {screenGeneration(), treeGeneration()};
  if (perPixelAt_[0] != now[0] || perPixelAt_[1] != now[1]) {
    perPixel_[0] = twipsPerPixelX(widget());
    perPixel_[1] = twipsPerPixelY(widget());
    perPixelAt_[0] = now[0];
    perPixelAt_[1] = now[1];
  }
  return perPixel_[xAxis ? 0 : 1];
}

float QtWidgetObject::twipsX(int pixels) const {
  return static_cast<float>(pixels * twipsPerPixel(true));
}
float QtWidgetObject::twipsY(int pixels) const {
  return static_cast<float>(pixels * twipsPerPixel(false));
}
int QtWidgetObject::pixelsX(const Variant& twips) const {
  return host::CLng(twips.toDouble() / twipsPerPixel(true));
}
int QtWidgetObject::pixelsY(const Variant& twips) const {
  return host::CLng(twips.toDouble() / twipsPerPixel(false));
}

const std::shared_ptr<QtFont>& QtWidgetObject::font() const {
  if (!font_) font_ = std::make_shared<QtFont>(&widget());
  return font_;
}

void QtWidgetObject::settleFont() const {
  if (font_) font_->settle();
}

std::array<double, 4> QtWidgetObject::twipsRect() const {
  const QRect r = outerPixels();
  std::array<double, 4> out = {twipsX(r.x()), twipsY(r.y()), twipsX(r.width()), twipsY(r.height())};
  // Edge by edge: an aligned box moved along its edge keeps the height it was given.
  if (written_) {
    const int now[] = {r.x(), r.y(), r.width(), r.height()};
    const int then[] = {writtenAt_.x(), writtenAt_.y(), writtenAt_.width(), writtenAt_.height()};
    for (std::size_t i = 0; i < 4; ++i)
      if (now[i] == then[i]) out[i] = (*written_)[i];
  }
  return out;
}

void QtWidgetObject::setTwipsRect(const std::array<double, 4>& twips) {
  // What was last written, where it still stands, is not written again (a form still checks
  // that it may be moved).
  if (!isForm() && written_ && *written_ == twips && outerPixels() == writtenAt_) return;
  const Variant v[] = {Variant(twips[0]), Variant(twips[1]), Variant(twips[2]), Variant(twips[3])};
  const QRect wanted(pixelsX(v[0]), pixelsY(v[1]), pixelsX(v[2]), pixelsY(v[3]));
  written_.reset();
  // A control already at those pixels is left alone; a form still announces its size.
  QRect now = outerPixels();
  if (isForm() || now != wanted) {
    setOuterPixels(wanted);
    now = outerPixels();
  }
  // Kept only where the widget took the rectangle as given: a combo box keeps its height.
  std::array<double, 4> kept = twips;
  if (now.x() != wanted.x()) kept[0] = twipsX(now.x());
  if (now.y() != wanted.y()) kept[1] = twipsY(now.y());
  if (now.width() != wanted.width()) kept[2] = twipsX(now.width());
  if (now.height() != wanted.height()) kept[3] = twipsY(now.height());
  written_ = kept;
  writtenAt_ = now;
}

namespace {

QtWidgetObject& adapter(Object& o) { return self<QtWidgetObject>(o); }

void requireSize(const Variant& twips) {
  if (twips.toDouble() < 0) host::raise(host::kInvalidPropertyValue);
}

void setEdge(Object& o, std::size_t edge, const Variant& v) {
  std::array<double, 4> r = adapter(o).twipsRect();
  r[edge] = v.toDouble();
  adapter(o).setTwipsRect(r);
}

}  // namespace

const host::MemberTable* QtWidgetObject::members() const {
  static const host::MemberTable table{
      {"Left",
       [](Object& o, Args) { return Variant(static_cast<float>(adapter(o).twipsRect()[0])); },
       [](Object& o, Args, const Variant& v) { setEdge(o, 0, v); }},
      {"Top",
       [](Object& o, Args) { return Variant(static_cast<float>(adapter(o).twipsRect()[1])); },
       [](Object& o, Args, const Variant& v) { setEdge(o, 1, v); }},
      {"Width",
       [](Object& o, Args) { return Variant(static_cast<float>(adapter(o).twipsRect()[2])); },
       [](Object& o, Args, const Variant& v) {
         requireSize(v);
         setEdge(o, 2, v);
       }},
      {"Height",
       [](Object& o, Args) { return Variant(static_cast<float>(adapter(o).twipsRect()[3])); },
       [](Object& o, Args, const Variant& v) {
         requireSize(v);
         setEdge(o, 3, v);
       }},
      // Move left[, top[, width[, height]]]: omitted trailing arguments keep their values.
      {"Move", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 1, 4);
         QtWidgetObject& w = adapter(o);
         std::array<double, 4> r = w.twipsRect();
         for (std::size_t i = 0; i < a.size(); ++i) {
           if (i >= 2) requireSize(a[i]);
           r[i] = a[i].toDouble();
         }
         w.setTwipsRect(r);
         return Variant();
       }},
      // An unnamed widget still needs a name of its own: the control's records are kept by it.
      {"Name",
       [](Object& o, Args) {
         const QString name = adapter(o).widget().objectName();
         if (!name.isEmpty()) return Variant(name.toStdString());
         return Variant(std::string(adapter(o).typeName()) + std::to_string(adapter(o).hWnd()));
       }},
      // A control's own flag, not whether its container happens to be shown or enabled.
      {"Visible",
       [](Object& o, Args) {
         QWidget& w = adapter(o).widget();
         return Variant(w.isWindow() ? w.isVisible() : w.isVisibleTo(w.parentWidget()));
       },
       [](Object& o, Args, const Variant& v) { adapter(o).widget().setVisible(v.toBool()); }},
      {"Enabled",
       [](Object& o, Args) {
         QWidget& w = adapter(o).widget();
         return Variant(w.isWindow() ? w.isEnabled() : w.isEnabledTo(w.parentWidget()));
       },
       [](Object& o, Args, const Variant& v) { adapter(o).widget().setEnabled(v.toBool()); }},
      {"Font", [](Object& o, Args) { return Variant(host::ObjectPtr(adapter(o).font())); }},
      {"hWnd",
       [](Object& o, Args) { return Variant(static_cast<std::int32_t>(adapter(o).hWnd())); }}};
  return &table;
}

std::shared_ptr<QtWidgetObject> adapterOf(QWidget* widget) {
  if (!widget) return nullptr;
  Registry& r = registry();
  auto it = r.adapters.find(widget);
  const bool window = isFormWidget(*widget);
  if (it != r.adapters.end() && it->second->isForm() == window) return it->second;

  // A widget reparented into or out of a window since its adapter was made gets a new adapter
  // of the right kind under the same handle.
  host::HWND handle = 0;
  if (it != r.adapters.end()) {
    handle = it->second->hWnd();
  } else {
    handle = r.nextHandle++;
    r.widgets[handle] = widget;
    watchAdapted(*widget);
    QObject::connect(widget, &QObject::destroyed, [widget, handle] {
      Registry& reg = registry();
      reg.widgets.erase(handle);
      reg.adapters.erase(widget);
    });
  }
  std::shared_ptr<QtWidgetObject> made;
  if (window)
    made = std::make_shared<QtForm>(widget, handle);
  else
    made = std::make_shared<QtControl>(widget, handle);
  r.adapters[widget] = made;
  return made;
}

std::shared_ptr<QtForm> adoptForm(QWidget* topLevel) {
  if (topLevel && !isFormWidget(*topLevel)) host::raise(host::kInvalidProcedureCall);
  return std::static_pointer_cast<QtForm>(adapterOf(topLevel));
}

std::shared_ptr<QtControl> adoptControl(QWidget* child) {
  if (child && isFormWidget(*child)) host::raise(host::kInvalidProcedureCall);
  return std::static_pointer_cast<QtControl>(adapterOf(child));
}

QWidget* widgetOf(host::HWND handle) {
  const Registry& r = registry();
  auto it = r.widgets.find(handle);
  return it == r.widgets.end() ? nullptr : it->second;
}

QWidget& QtFont::widget() const {
  if (widget_.isNull()) host::raise(kObjectUnloaded, "Object was unloaded");
  return *widget_;
}

namespace {

int fontHolds = 0;
// The fonts that were given a write to wait with, in order; some may have settled since.
// Kept at its size from pass to pass.
std::vector<QtFont*> waitingFonts;

void setOwnFont(QWidget& w, const QFont& f) {
  // A font already the widget's own, and so already drawn, is not set again.
  if (w.testAttribute(Qt::WA_SetFont) && f == w.font() && f.resolveMask() == w.font().resolveMask())
    return;
  w.setFont(f);
}

}  // namespace

QtFont::~QtFont() {
  if (listed_)
    std::replace(waitingFonts.begin(), waitingFonts.end(), this, static_cast<QtFont*>(nullptr));
}

QFont QtFont::current() const { return waiting_ ? *waiting_ : widget().font(); }

void QtFont::write(const QFont& f) {
  QWidget& w = widget();
  // A window's font is its controls' default: they see it at once.
  if (fontHolds == 0 || w.isWindow()) {
    setOwnFont(w, f);
    return;
  }
  if (!listed_) waitingFonts.push_back(this);
  listed_ = true;
  waiting_ = f;
}

void QtFont::settle() {
  if (!waiting_) return;
  const QFont f = *std::move(waiting_);
  waiting_.reset();
  if (widget_) setOwnFont(*widget_, f);
}

void holdFonts() { ++fontHolds; }

void releaseFonts() {
  if (--fontHolds == 0) settleFonts();
}

void settleFonts() {
  // Each font set asks the widget's parent to lay out again, and Qt looks for a request of the
  // parent's already waiting from the front of its queue: delivered every so often, the queue
  // stays short and the fonts of a large form cost no more each than those of a small one.
  constexpr std::size_t kBetweenDeliveries = 64;
  // In the order written; setting a font may run code that writes another, which joins the end.
  for (std::size_t i = 0; i < waitingFonts.size(); ++i) {
    if (i % kBetweenDeliveries == kBetweenDeliveries - 1)
      QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QtFont* f = waitingFonts[i];
    if (!f) continue;
    f->listed_ = false;
    f->settle();
  }
  waitingFonts.clear();
}

namespace {

QtFont& font(Object& o) { return self<QtFont>(o); }

// Changes one aspect of the font; setFont makes the font the widget's own.
template <class F>
void editFont(Object& o, F&& change) {
  QFont f = font(o).current();
  change(f);
  font(o).write(f);
}

}  // namespace

const host::MemberTable* QtFont::members() const {
  static const host::MemberTable table{
      {"Name", [](Object& o, Args) { return Variant(font(o).current().family().toStdString()); },
       [](Object& o, Args, const Variant& v) {
         editFont(o, [&](QFont& f) { f.setFamily(QString::fromStdString(v.toString())); });
       }},
      {"Size",
       [](Object& o, Args) {
         const QFont f = font(o).current();
         double points = f.pointSizeF();
         // A font given in pixels has no point size of its own.
         if (points < 0) points = f.pixelSize() * 72.0 / font(o).widget().logicalDpiY();
         return Variant(static_cast<float>(points));
       },
       [](Object& o, Args, const Variant& v) {
         double points = v.toDouble();
         if (!(points > 0 && points <= 2160)) host::raise(host::kInvalidPropertyValue);
         // Realised at a whole number of pixels, as the classic runtime's fonts are: a size
         // reads back as the size the text is really drawn at.
         const int dpi = font(o).widget().logicalDpiY();
         editFont(o, [&](QFont& f) { f.setPixelSize(std::max(1, qRound(points * dpi / 72))); });
       }},
      {"Bold", [](Object& o, Args) { return Variant(font(o).current().bold()); },
       [](Object& o, Args, const Variant& v) {
         editFont(o, [&](QFont& f) { f.setBold(v.toBool()); });
       }},
      {"Italic", [](Object& o, Args) { return Variant(font(o).current().italic()); },
       [](Object& o, Args, const Variant& v) {
         editFont(o, [&](QFont& f) { f.setItalic(v.toBool()); });
       }}};
  return &table;
}

}  // namespace rescalo::qt
