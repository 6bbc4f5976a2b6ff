#include <rescalo/qt/qt_form.h>

#include <QDockWidget>
#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QSplitter>
#include <QToolBar>
#include <algorithm>
#include <vector>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_surface.h>

namespace rescalo::qt {

using host::Args;
using host::Object;
using host::self;
using host::Variant;

QMdiArea* mdiAreaOf(const QWidget& window) {
  if (!qobject_cast<const QMainWindow*>(&window)) return nullptr;
  for (QObject* child : window.children())
    if (auto* area = qobject_cast<QMdiArea*>(child)) return area;
  return nullptr;
}

QWidget* centralAreaOf(const QWidget& window) {
  auto* main = qobject_cast<const QMainWindow*>(&window);
  if (!main || mdiAreaOf(window)) return nullptr;
  return main->centralWidget();
}

namespace {

bool holds(const QLayout& layout, const QWidget& widget) {
  for (int i = 0; i < layout.count(); ++i) {
    QLayoutItem* item = layout.itemAt(i);
    if (item->widget() == &widget) return true;
    if (const QLayout* inner = item->layout(); inner && holds(*inner, widget)) return true;
  }
  return false;
}

}  // namespace

bool inLayout(const QWidget& widget) {
  const QWidget* parent = widget.parentWidget();
  return parent && parent->layout() && holds(*parent->layout(), widget);
}

bool isFormWidget(const QWidget& widget) {
  return widget.isWindow() || qobject_cast<QMdiSubWindow*>(widget.parentWidget());
}

namespace {

// The widget a form's aligned controls sit in: a main window's central widget, or the form.
QWidget& alignedHolder(QWidget& form) {
  QWidget* central = centralAreaOf(form);
  return central ? *central : form;
}

// The part of a form's client area below its menu bar, where the aligned controls stack.
QRect belowMenuBar(QWidget& form) {
  QRect area = form.rect();
  if (auto* main = qobject_cast<QMainWindow*>(&form)) {
    // A window not shown yet has not placed its menu bar: its layout does so now.
    if (QLayout* layout = main->layout()) layout->activate();
    if (QWidget* bar = main->menuWidget(); bar && !bar->isHidden()) area.setTop(bar->height());
  }
  return area;
}

int alignOf(const QWidget& w) {
  if (w.isWindow() || w.isHidden()) return 0;
  const int align = w.property("Align").toInt();
  return align >= 1 && align <= 4 ? align : 0;
}

// A box on the top or bottom edge keeps its height; a toolbar's follows its rows of buttons at
// the width the edge gives it.
int alignedHeight(QWidget& box, int width) {
  auto* bar = qobject_cast<QToolBar*>(&box);
  return bar ? toolbarHeightAt(*bar, width) : box.height();
}

}  // namespace

int menuBarPixels(const QWidget& form) {
  auto* main = qobject_cast<const QMainWindow*>(&form);
  QWidget* bar = main ? main->menuWidget() : nullptr;
  return bar && !bar->isHidden() ? bar->height() : 0;
}

// Each aligned control in turn takes its edge of what the earlier ones left and
// spans it, keeping its own thickness. The MDI area is placed here rather than by the main
// window's own layout, which knows nothing of aligned controls.
void layoutAligned(QWidget& form) {
  QWidget& holder = alignedHolder(form);
  const QRect whole = &holder == &form ? belowMenuBar(form) : holder.rect();
  int top = whole.top(), bottom = whole.top() + whole.height(), left = 0, right = whole.width();
  // Top and bottom edges first, then left and right; on one edge the box nearest it first, so
  // that boxes stay in the order they stand in (a program reorders them by moving one past
  // another); of two at one place, the one higher in z-order.
  struct Entry {
    QWidget* box;
    int align, distance;
  };
  std::vector<Entry> entries;
  for (QObject* child : holder.children())
    if (auto* box = qobject_cast<QWidget*>(child); box && alignOf(*box) != 0) {
      const QRect g = box->geometry();
      const int align = alignOf(*box);
      entries.push_back({box, align,
                         align == 1   ? g.top()
                         : align == 2 ? -(g.top() + g.height())
                         : align == 3 ? g.left()
                                      : -(g.left() + g.width())});
    }
  std::reverse(entries.begin(), entries.end());
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.align != b.align ? a.align < b.align : a.distance < b.distance;
  });
  for (const auto& [box, align, distance] : entries) {
    QRect r = box->geometry();
    const int across = std::max(0, right - left), along = std::max(0, bottom - top);
    switch (align) {
      case 1:
        r = QRect(left, top, across, alignedHeight(*box, across));
        top += r.height();
        break;
      case 2:
        r.setHeight(alignedHeight(*box, across));
        bottom -= r.height();
        r = QRect(left, bottom, across, r.height());
        break;
      case 3:
        r = QRect(left, top, r.width(), along);
        left += r.width();
        break;
      default:
        right -= r.width();
        r = QRect(right, top, r.width(), along);
        break;
    }
    if (box->geometry() != r) box->setGeometry(r);
  }
  if (QMdiArea* area = mdiAreaOf(form))
    area->setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

// Plain event filter rather than a Q_OBJECT class: it needs no moc.
class QtForm::ResizeWatcher : public QObject {
 public:
  explicit ResizeWatcher(QtForm& form) : form_(form) {}
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Resize:
        form_.windowResized();
        break;
      case QEvent::Show:
        form_.windowShown();
        break;
      case QEvent::Close:
        if (form_.alive()) form_.raiseEvent("Unload");
        break;
      case QEvent::WindowActivate:
        form_.raiseEvent("Activate");
        break;
      case QEvent::WindowDeactivate:
        form_.raiseEvent("Deactivate");
        break;
      default:
        break;
    }
    return false;
  }

 private:
  QtForm& form_;
};

QtForm::QtForm(QWidget* widget, host::HWND handle)
    : QtWidgetObject(widget, handle),
      watcher_(std::make_unique<ResizeWatcher>(*this)),
      announced_(widget->size()) {
  widget->installEventFilter(watcher_.get());
}

// Deleting the watcher also removes it from the widget's filters.
QtForm::~QtForm() = default;

std::string_view QtForm::typeName() const {
  return alive() && mdiAreaOf(widget()) ? "MDIForm" : "Form";
}

QWidget& QtForm::frame() const {
  QWidget& w = widget();
  if (!w.isWindow())
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w.parentWidget())) return *sub;
  return w;
}

double QtForm::innerTwips(bool xAxis) const {
  QWidget& w = widget();
  if (const QWidget* central = centralAreaOf(w)) {
    // A window not shown yet has not placed its central widget: its layout does so now.
    if (QLayout* layout = w.layout()) layout->activate();
    return xAxis ? twipsX(central->width()) : twipsY(central->height());
  }
  double inner = xAxis ? twipsX(w.width()) : twipsY(w.height() - menuBarPixels(w));
  if (!mdiAreaOf(w)) return inner;
  // An MDI form's area is what its aligned controls leave, measured in their own twips.
  for (QObject* child : w.children()) {
    auto* box = qobject_cast<QWidget*>(child);
    const int align = box ? alignOf(*box) : 0;
    if (align == 0 || xAxis == (align <= 2)) continue;
    inner -= adapterOf(box)->twipsRect()[xAxis ? 2 : 3];
  }
  return std::max(0.0, inner);
}

QRect QtForm::outerPixels() const { return frame().frameGeometry(); }

void QtForm::setOuterPixels(const QRect& rect) {
  QWidget& w = widget();
  if (windowState() != 0) host::raise(host::kCantMoveMinMax);
  if (&frame() != &w) {
    // An MDI child: its sub-window is placed in the area, frame and all.
    ++applying_;
    frame().setGeometry(rect.x(), rect.y(), std::max(0, rect.width()), std::max(0, rect.height()));
    --applying_;
    announceSize();
    return;
  }
  const QRect frame = w.frameGeometry();
  const QRect client = w.geometry();
  ++applying_;
  // For a window, move() places the frame while resize() sizes the client area.
  w.move(rect.topLeft());
  w.resize(std::max(0, rect.width() - (frame.width() - client.width())),
           std::max(0, rect.height() - (frame.height() - client.height())));
  --applying_;
  announceSize();
}

int QtForm::windowState() const {
  const Qt::WindowStates s = frame().windowState();
  if (s & Qt::WindowMinimized) return 1;
  if (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) return 2;
  return 0;
}

void QtForm::setWindowState(int state) {
  static constexpr Qt::WindowState kStates[] = {Qt::WindowNoState, Qt::WindowMinimized,
                                                Qt::WindowMaximized};
  if (state < 0 || state > 2) host::raise(host::kInvalidPropertyValue);
  QWidget& w = widget();
  if (state == windowState()) return;
  ++applying_;
  frame().setWindowState(kStates[state]);
  --applying_;
  layoutAligned(w);
  // The state changed even though the new size may arrive only later: raise now, as the
  // classic runtime does inside the assignment.
  announced_ = w.size();
  raiseHeld();
}

void QtForm::announceSize() {
  layoutAligned(widget());
  const QSize now = widget().size();
  if (now == announced_) return;
  announced_ = now;
  // Qt delivers a hidden window's pending resize while showing it, before the show itself.
  if (!shownOnce_ && !widget().isHidden()) announcedWhileShowing_ = true;
  raiseHeld();
}

// Whatever the handler moves, the window is drawn once, after it, and each control's font is
// set once; a window whose updates the application holds already is left as it is.
void QtForm::raiseHeld() {
  QPointer<QWidget> w = &widget();
  struct Release {
    QPointer<QWidget>& w;
    bool updates;
    ~Release() {
      releaseFonts();
      if (w && updates) w->setUpdatesEnabled(true);
    }
  } release{w, w->updatesEnabled()};
  if (release.updates) w->setUpdatesEnabled(false);
  holdFonts();
  raiseEvent("Resize");
}

void QtForm::windowResized() {
  if (applying_ > 0 || !alive()) return;  // our own write announces after it has finished
  announceSize();
}

void QtForm::windowShown() {
  if (shownOnce_ || !alive()) return;
  shownOnce_ = true;
  layoutAligned(widget());
  if (announcedWhileShowing_) return;
  announced_ = widget().size();
  raiseHeld();
}

void QtForm::load() {
  if (loaded_) return;
  loaded_ = true;
  raiseEvent("Load");
}

namespace {

// A part of the window rather than a control: the menu bar, or what Qt adds to a widget for
// itself, such as a toolbar's extension button (Qt names those "qt_...").
bool qtOwnPart(const QWidget& w) {
  return qobject_cast<const QMenuBar*>(&w) || w.objectName().startsWith(QLatin1String("qt_"));
}

void collectControls(QWidget& container, std::vector<QWidget*>& out) {
  for (QWidget* holder : holders(container))
    for (QObject* child : holder->children()) {
      auto* w = qobject_cast<QWidget*>(child);
      if (!w || w->isWindow() || qobject_cast<QMdiArea*>(w) || qtOwnPart(*w)) continue;
      // What a layout or a splitter places is theirs; what it holds by position is still
      // ours, in proportion to the size they gave it.
      const bool placedByQt = inLayout(*w) || qobject_cast<QSplitter*>(holder);
      if (!placedByQt) out.push_back(w);
      if (isContainer(*w)) collectControls(*w, out);
    }
}

QtForm& form(Object& o) { return self<QtForm>(o); }

}  // namespace

std::vector<QWidget*> QtForm::walkControls() const {
  std::vector<QWidget*> out;
  QWidget* central = centralAreaOf(widget());
  collectControls(central ? *central : widget(), out);
  // A main window's dock widgets are Qt's to place, like its central widget; what they hold
  // by position follows them.
  if (central)
    for (QObject* child : widget().children())
      if (auto* dock = qobject_cast<QDockWidget*>(child)) collectControls(*dock, out);
  return out;
}

const ControlList& QtForm::controls() const {
  if (controls_.stale()) {
    QWidget& w = widget();
    // The form for a central widget or an MDI area coming or going, the central widget for
    // the controls it holds.
    watchHolder(w);
    if (QWidget* central = centralAreaOf(w)) watchHolder(*central);
    controls_.rebuild(walkControls());
  }
  return controls_;
}

const host::MemberTable* QtForm::members() const {
  static const host::MemberTable table{
      {// A window is never an MDI child; a form inside a QMdiSubWindow is.
       {"MDIChild", [](Object& o, Args) { return Variant(!form(o).widget().isWindow()); }},
       // Shown (again, as an MDI form is after a pass to repaint its area) or hidden: an MDI
       // child with its sub-window.
       {"Show", nullptr, nullptr,
        [](Object& o, Args) {
          form(o).frame().show();
          return Variant();
        }},
       {"Hide", nullptr, nullptr,
        [](Object& o, Args) {
          form(o).frame().hide();
          return Variant();
        }},
       {"Caption",
        [](Object& o, Args) { return Variant(form(o).widget().windowTitle().toStdString()); },
        [](Object& o, Args, const Variant& v) {
          form(o).widget().setWindowTitle(QString::fromStdString(v.toString()));
        }},
       {"WindowState",
        [](Object& o, Args) { return Variant(static_cast<std::int16_t>(form(o).windowState())); },
        [](Object& o, Args, const Variant& v) { form(o).setWindowState(v.toInteger()); }},
       // The Unload statement: the window closes (raising Unload); its owner deletes it.
       {"Unload", nullptr, nullptr,
        [](Object& o, Args) {
          form(o).frame().close();
          return Variant();
        }},
       {"Controls",
        [](Object& o, Args) {
          auto me = std::static_pointer_cast<QtForm>(form(o).shared_from_this());
          return Variant(host::ObjectPtr(std::make_shared<QtControls>(std::move(me))));
        }}},
      {QtWidgetObject::members(), &QtSurface::members()}};
  return &table;
}

int QtControls::count() const { return form_->controls().size() + (formFirst_ ? 1 : 0); }

host::ObjectPtr QtControls::item(const Variant& key) const {
  const std::string* name = key.stringPtr();
  if (!name) return item(key.toLong());
  const ControlList& list = form_->controls();
  const int position = list.find(*name);
  if (position < 0) host::raise(730, "Control '" + *name + "' not found");
  return list.adapter(position);
}

host::ObjectPtr QtControls::item(int index) const {
  if (formFirst_) {
    if (index == 0) return form_;
    --index;
  }
  const ControlList& list = form_->controls();
  if (index < 0 || index >= list.size()) host::raise(host::kSubscriptOutOfRange);
  return list.adapter(index);
}

const host::MemberTable* QtControls::members() const {
  static const host::MemberTable table{
      {"Count", [](Object& o, Args) { return Variant(self<QtControls>(o).count()); }},
      {"Item", [](Object& o, Args a) {
         host::expectArgs(a, 1);
         return Variant(host::ObjectPtr(self<QtControls>(o).item(a[0])));
       }}};
  return &table;
}

}  // namespace rescalo::qt
