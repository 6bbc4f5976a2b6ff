#include <rescalo/qt/qt_control.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include <rescalo/host/failure.h>
#include <rescalo/host/key_index.h>
#include <rescalo/host/toolbar_rows.h>
#include <rescalo/qt/qt_control_list.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_line.h>
#include <rescalo/qt/qt_picture.h>
#include <rescalo/qt/qt_shape.h>
#include <rescalo/qt/qt_surface.h>
#include <rescalo/qt/qt_toolbar.h>

namespace rescalo::qt {

using host::Args;
using host::Object;
using host::self;
using host::Variant;

ControlKind kindOf(const QWidget& w) {
  if (dynamic_cast<const QtImageList*>(&w)) return ControlKind::ImageList;
  if (dynamic_cast<const QtLine*>(&w)) return ControlKind::Line;
  if (dynamic_cast<const QtShape*>(&w)) return ControlKind::Shape;
  if (qobject_cast<const QPushButton*>(&w)) return ControlKind::CommandButton;
  if (qobject_cast<const QCheckBox*>(&w)) return ControlKind::CheckBox;
  if (qobject_cast<const QRadioButton*>(&w)) return ControlKind::OptionButton;
  if (qobject_cast<const QLabel*>(&w)) return ControlKind::Label;
  if (qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QTextEdit*>(&w) ||
      qobject_cast<const QPlainTextEdit*>(&w))
    return ControlKind::TextBox;
  if (qobject_cast<const QGroupBox*>(&w)) return ControlKind::Frame;
  if (qobject_cast<const QComboBox*>(&w)) return ControlKind::ComboBox;
  if (qobject_cast<const QListWidget*>(&w))
    return w.property("View").isValid() ? ControlKind::ListView : ControlKind::ListBox;
  if (qobject_cast<const QScrollBar*>(&w)) return ControlKind::ScrollBar;
  if (qobject_cast<const QTabWidget*>(&w)) return ControlKind::TabControl;
  if (qobject_cast<const QToolBar*>(&w)) return ControlKind::Toolbar;
  if (qobject_cast<const QTreeWidget*>(&w)) return ControlKind::TreeView;
  // Only the plain classes: QLabel and the text editors are QFrames too.
  const QMetaObject* mo = w.metaObject();
  if (mo == &QWidget::staticMetaObject || mo == &QFrame::staticMetaObject)
    return ControlKind::PictureBox;
  return ControlKind::Other;
}

bool isContainer(const QWidget& widget) {
  const ControlKind kind = kindOf(widget);
  if (isContainer(kind)) return true;
  if (kind == ControlKind::Line || kind == ControlKind::Shape) return false;
  const QMetaObject* type = widget.metaObject();
  return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject ||
         qobject_cast<const QStackedWidget*>(&widget) || qobject_cast<const QToolBox*>(&widget) ||
         qobject_cast<const QScrollArea*>(&widget) || qobject_cast<const QSplitter*>(&widget) ||
         qobject_cast<const QDockWidget*>(&widget);
}

std::vector<QWidget*> holders(QWidget& container) {
  std::vector<QWidget*> pages;
  if (auto* tabs = qobject_cast<QTabWidget*>(&container)) {
    for (int i = 0; i < tabs->count(); ++i) pages.push_back(tabs->widget(i));
    return pages;
  }
  if (auto* stack = qobject_cast<QStackedWidget*>(&container)) {
    for (int i = 0; i < stack->count(); ++i) pages.push_back(stack->widget(i));
    return pages;
  }
  if (auto* box = qobject_cast<QToolBox*>(&container)) {
    for (int i = 0; i < box->count(); ++i) pages.push_back(box->widget(i));
    return pages;
  }
  // What a scroll area scrolls and what a dock widget docks sit inside Qt's own parts.
  if (auto* area = qobject_cast<QScrollArea*>(&container))
    return area->widget() ? std::vector<QWidget*>{area->widget()} : pages;
  if (auto* dock = qobject_cast<QDockWidget*>(&container))
    return dock->widget() ? std::vector<QWidget*>{dock->widget()} : pages;
  return {&container};
}

namespace {

// What places a widget that Qt places rather than the control: the owner of the layout it is
// in, its splitter, or the scroll area, tool box or dock widget it is the page of. Nothing for
// a widget placed by position, for a form (an MDI child is in its sub-window's layout), and for
// the pages of a stacked widget, which are measured by it.
QWidget* qtPlacerOf(QWidget& w) {
  QWidget* parent = w.parentWidget();
  if (!parent || isFormWidget(w) || qobject_cast<QStackedWidget*>(parent)) return nullptr;
  if (qobject_cast<QSplitter*>(parent) || inLayout(w)) return parent;
  if (auto* dock = qobject_cast<QDockWidget*>(parent); dock && dock->widget() == &w) return dock;
  // A scroll area's page sits in its viewport; a tool box's pages in scroll areas of its own.
  auto* area = qobject_cast<QScrollArea*>(parent->parentWidget());
  if (!area || area->widget() != &w) return nullptr;
  auto* box = qobject_cast<QToolBox*>(area->parentWidget());
  if (box && box->indexOf(&w) >= 0) return box;
  return area;
}

}  // namespace

QWidget* containerOf(QWidget& widget) {
  QWidget* parent = widget.parentWidget();
  // Measured against the nearest widget placed by position: its size is known before anything
  // Qt places inside it has been laid out (a page not shown yet never has been).
  while (QWidget* placer = parent ? qtPlacerOf(*parent) : nullptr) parent = placer;
  if (auto* stack = parent ? qobject_cast<QStackedWidget*>(parent->parentWidget()) : nullptr) {
    if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
      if (tabs->indexOf(parent) >= 0) return tabs;
    if (stack->indexOf(parent) >= 0) return stack;
  }
  if (parent && parent == centralAreaOf(*parent->window())) return parent->window();
  return parent;
}

QtControl::QtControl(QWidget* widget, host::HWND handle)
    : QtWidgetObject(widget, handle), kind_(kindOf(*widget)) {
  if (kind_ == ControlKind::Other) {
    std::string_view name = widget->metaObject()->className();
    if (name.size() > 1 && name.front() == 'Q') name.remove_prefix(1);
    otherName_ = name;
  }
}

std::string_view QtControl::typeName() const {
  switch (kind_) {
    case ControlKind::CommandButton:
      return "CommandButton";
    case ControlKind::Label:
      return "Label";
    case ControlKind::TextBox:
      return "TextBox";
    case ControlKind::Frame:
      return "Frame";
    case ControlKind::CheckBox:
      return "CheckBox";
    case ControlKind::OptionButton:
      return "OptionButton";
    case ControlKind::ComboBox:
      return "ComboBox";
    case ControlKind::ListBox:
      return "ListBox";
    case ControlKind::ScrollBar: {
      // The orientation can change after creation, so ask each time.
      const auto* bar = alive() ? qobject_cast<const QScrollBar*>(&widget()) : nullptr;
      return bar && bar->orientation() == Qt::Vertical ? "VScrollBar" : "HScrollBar";
    }
    case ControlKind::PictureBox:
      return "PictureBox";
    case ControlKind::TabControl:
      return "SSTab";
    case ControlKind::Toolbar:
      return "Toolbar";
    case ControlKind::ImageList:
      return "ImageList";
    case ControlKind::Line:
      return "Line";
    case ControlKind::Shape:
      return "Shape";
    case ControlKind::TreeView:
      return "TreeView";
    case ControlKind::ListView:
      return "ListView";
    case ControlKind::Other:
      break;
  }
  return otherName_;
}

namespace {

// A control placed on a main window itself (an MDI form's aligned boxes) is measured from the
// top of the client area below the menu bar, as the classic one is.
int belowMenuBar(const QWidget& w) {
  const QWidget* parent = w.parentWidget();
  return parent && !centralAreaOf(*parent) ? menuBarPixels(*parent) : 0;
}

// A tab control's page starts below (or beside) its tabs: a control on it is measured from the
// tab control's corner, tabs included, as the classic dialog measures its children. The tabs
// are as tall as the tab control's "TabHeight" says, when it says; else as Qt laid them out.
QPoint pageOrigin(const QWidget& w) {
  QWidget* page = w.parentWidget();
  auto* tabs = qobject_cast<QTabWidget*>(containerOf(const_cast<QWidget&>(w)));
  if (!tabs || !page || tabs->indexOf(page) < 0) return {};
  const QVariant height = tabs->property("TabHeight");
  if (!height.isValid()) return page->mapTo(tabs, QPoint(0, 0));
  if (tabs->tabPosition() == QTabWidget::North) return {0, height.toInt()};
  if (tabs->tabPosition() == QTabWidget::West) return {height.toInt(), 0};
  return {};
}

}  // namespace

QPoint containerOffset(const QWidget& w) { return pageOrigin(w) - QPoint(0, belowMenuBar(w)); }

std::shared_ptr<QtWidgetObject> QtControl::container() const {
  if (containerAt_ == treeGeneration())
    if (auto kept = container_.lock()) return kept;
  QWidget& w = widget();
  std::shared_ptr<QtWidgetObject> found = adapterOf(containerOf(w));
  container_ = found;
  aligned_ = w.property("Align").toInt() != 0;
  containerAt_ = treeGeneration();
  return found;
}

bool QtControl::aligned() const {
  container();
  return aligned_;
}

QRect QtControl::outerPixels() const {
  return widget().geometry().translated(containerOffset(widget()));
}

void QtControl::setOuterPixels(const QRect& rect) {
  QRect r = rect.translated(-containerOffset(widget()));
  // A combo box's height is its font's: writes of it are ignored, as in the classic runtime.
  if (kind_ == ControlKind::ComboBox) r.setHeight(widget().height());
  // A toolbar is as tall as its buttons need, whatever height it is given; on an edge of its
  // form, once it is stacked there: until then the height given decides where it stacks.
  if (kind_ == ControlKind::Toolbar && !aligned())
    r.setHeight(toolbarHeightAt(*qobject_cast<QToolBar*>(&widget()), r.width()));
  widget().setGeometry(r);
  // An aligned box goes back to its edge, whatever it was told.
  if (aligned())
    if (QWidget* form = containerOf(widget()); form && isFormWidget(*form)) layoutAligned(*form);
}

namespace {

constexpr host::Name kCaption = "Caption";
constexpr host::Name kText = "Text";
constexpr host::Name kPicture = "Picture";
constexpr host::Name kDownPicture = "DownPicture";
constexpr host::Name kDisabledPicture = "DisabledPicture";
constexpr host::Name kAutoSize = "AutoSize";
constexpr host::Name kBorderStyle = "BorderStyle";

bool hasCaption(ControlKind k) {
  return k == ControlKind::CommandButton || k == ControlKind::CheckBox ||
         k == ControlKind::OptionButton || k == ControlKind::Label || k == ControlKind::Frame;
}

bool hasText(ControlKind k) { return k == ControlKind::TextBox || k == ControlKind::ComboBox; }

QtControl& control(Object& o) { return self<QtControl>(o); }

constexpr int kNotAnArray = 343;

QString caption(QWidget& w) {
  if (auto* b = qobject_cast<QAbstractButton*>(&w)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(&w)) return l->text();
  if (auto* g = qobject_cast<QGroupBox*>(&w)) return g->title();
  return {};
}

void setCaption(QWidget& w, const QString& text) {
  if (auto* b = qobject_cast<QAbstractButton*>(&w)) b->setText(text);
  if (auto* l = qobject_cast<QLabel*>(&w)) l->setText(text);
  if (auto* g = qobject_cast<QGroupBox*>(&w)) g->setTitle(text);
}

QString text(QWidget& w) {
  if (auto* e = qobject_cast<QLineEdit*>(&w)) return e->text();
  if (auto* e = qobject_cast<QTextEdit*>(&w)) return e->toPlainText();
  if (auto* e = qobject_cast<QPlainTextEdit*>(&w)) return e->toPlainText();
  if (auto* c = qobject_cast<QComboBox*>(&w)) return c->currentText();
  return {};
}

void setText(QWidget& w, const QString& value) {
  if (auto* e = qobject_cast<QLineEdit*>(&w)) e->setText(value);
  if (auto* e = qobject_cast<QTextEdit*>(&w)) e->setPlainText(value);
  if (auto* e = qobject_cast<QPlainTextEdit*>(&w)) e->setPlainText(value);
  if (auto* c = qobject_cast<QComboBox*>(&w)) c->setCurrentText(value);
}

QTabWidget& tabs(Object& o) { return *qobject_cast<QTabWidget*>(&control(o).widget()); }

int tabIndex(QTabWidget& t, Args index) {
  host::expectArgs(index, 1);
  const int i = index[0].toInteger();
  if (i < 0 || i >= t.count()) host::raise(host::kInvalidArrayIndex);
  return i;
}

// The tabs' height and widest width live in the tab bar's style sheet, as properties of the
// widget so that each can change without the other.
// Tabs given no height are as tall as Qt laid them out: above or beside the pages, where the
// pages start, which is what their controls are measured by.
int laidOutTabHeight(QTabWidget& t) {
  const QPoint page = t.count() ? t.widget(0)->mapTo(&t, QPoint(0, 0)) : QPoint(0, 0);
  switch (t.tabPosition()) {
    case QTabWidget::North:
      return page.y();
    case QTabWidget::West:
      return page.x();
    case QTabWidget::South:
      return t.tabBar()->height();
    case QTabWidget::East:
      return t.tabBar()->width();
  }
  return 0;
}

void applyTabStyle(QTabWidget& t) {
  // They stay so rather than take the style's height for a moment.
  if (!t.property("TabHeight").isValid()) t.setProperty("TabHeight", laidOutTabHeight(t));
  const int height = t.property("TabHeight").toInt();
  const int maxWidth = t.property("TabMaxWidth").toInt();
  QString style;
  if (height > 0) style += QString("height: %1px;").arg(height);
  if (maxWidth > 0) style += QString("max-width: %1px;").arg(maxWidth);
  t.tabBar()->setStyleSheet(style.isEmpty() ? QString() : "QTabBar::tab {" + style + "}");
}

template <std::size_t End>
host::Member lineEnd(const char* name) {
  return {name,
          [](Object& o, Args) {
            auto& line = static_cast<QtLine&>(control(o).widget());
            return Variant(static_cast<float>(line.points()[End]));
          },
          [](Object& o, Args, const Variant& v) {
            auto& line = static_cast<QtLine&>(control(o).widget());
            std::array<double, 4> points = line.points();
            points[End] = v.toDouble();
            line.setPoints(points);
          }};
}

QToolBar& toolbar(Object& o) { return *qobject_cast<QToolBar*>(&control(o).widget()); }

// A toolbar's buttons are whole pixels, kept as properties of the widget. A new toolbar's are
// 23 x 22, which leaves 16 x 16 images. Its "Style" (0 standard, 1 flat), "Appearance" (1 3-D)
// and "Wrappable" properties decide its height as the classic toolbar's.
constexpr int kButtonWidth = 23, kButtonHeight = 22;
constexpr int kImageMarginX = 7, kImageMarginY = 6;
constexpr int kMaxButtonPixels = 32767;  // a 16-bit count in the window messages

int buttonPixels(const QToolBar& t, const char* name, int fallback) {
  const QVariant v = t.property(name);
  return v.isValid() ? v.toInt() : fallback;
}

// A toolbar's button size is in its container's scale units, as the classic toolbar's is: a
// toolbar on a form in centimetres has its buttons in centimetres.
double containerUnit(Object& o, bool xAxis) {
  QWidget* site = containerOf(control(o).widget());
  if (!site) return 1;
  const QtSurface& surface = QtSurface::of(*site);
  return surface.twipsPerUnit(surface.scaleMode(), xAxis);
}

Variant buttonSizeIn(Object& o, const char* name, int fallback, bool xAxis) {
  const int pixels = buttonPixels(toolbar(o), name, fallback);
  const double twips = xAxis ? control(o).twipsX(pixels) : control(o).twipsY(pixels);
  return Variant(static_cast<float>(twips / containerUnit(o, xAxis)));
}

// Rounded half away from zero, as the classic toolbar rounds its button sizes.
int buttonSize(Object& o, const Variant& size, bool xAxis) {
  const double pixels = size.toDouble() * containerUnit(o, xAxis) /
                        (xAxis ? control(o).twipsX(1) : control(o).twipsY(1));
  if (!(pixels >= 0) || pixels > kMaxButtonPixels) host::raise(host::kInvalidPropertyValue);
  return static_cast<int>(std::lround(pixels));
}

// A button's width in the row: a separator's gap, a placeholder's own width, or the toolbar's.
int slotWidth(const QToolBar& t, const QAction& a) {
  if (a.isSeparator()) return host::kToolbarSeparatorPixels;
  const QVariant own = a.property("Width");  // a placeholder's
  return own.isValid() ? own.toInt() : buttonPixels(t, "ButtonWidth", kButtonWidth);
}

// Every button takes the toolbar's button size and its images what is left inside it.
void applyButtonSize(QToolBar& t) {
  const int w = buttonPixels(t, "ButtonWidth", kButtonWidth);
  const int h = buttonPixels(t, "ButtonHeight", kButtonHeight);
  t.setIconSize(QSize(std::max(0, w - kImageMarginX), std::max(0, h - kImageMarginY)));
  // A classic toolbar's buttons are sized where they are placed.
  if (dynamic_cast<QtToolbar*>(&t)) return placeToolbarButtons(t);
  for (QAction* a : t.actions())
    if (QWidget* b = t.widgetForAction(a)) b->setFixedSize(slotWidth(t, *a), h);
}

std::vector<host::ToolbarPlace> toolbarPlacesAt(QToolBar& t, int width) {
  // Only a toolbar on the top or bottom edge of its form wraps: the form gives it its width.
  const int align = t.property("Align").toInt();
  QWidget* form = containerOf(t);
  const QVariant wrappable = t.property("Wrappable");
  const bool wraps = (align == 1 || align == 2) && form && isFormWidget(*form) &&
                     (!wrappable.isValid() || wrappable.toBool());
  std::vector<host::ToolbarSlot> cells;
  for (QAction* a : t.actions())
    cells.push_back({slotWidth(t, *a), a->isVisible(), a->isSeparator()});
  return host::toolbarPlaces(cells, wraps ? width : std::numeric_limits<int>::max());
}

int insetOf(const QToolBar& t) {
  return host::toolbarInsetPixels(t.property("Style").toInt(), t.property("Appearance").toInt());
}

}  // namespace

int toolbarHeightAt(QToolBar& t, int width) {
  return host::toolbarHeightPixels(host::toolbarRows(toolbarPlacesAt(t, width)),
                                   buttonPixels(t, "ButtonHeight", kButtonHeight),
                                   t.property("Style").toInt(), t.property("Appearance").toInt());
}

void placeToolbarButtons(QToolBar& t) {
  const auto actions = t.actions();
  const auto places = toolbarPlacesAt(t, t.width());
  const int inset = insetOf(t), h = buttonPixels(t, "ButtonHeight", kButtonHeight);
  const bool flat = t.property("Style").toInt() == 1;
  for (int i = 0; i < actions.size(); ++i) {
    QWidget* b = t.widgetForAction(actions[i]);
    if (!b) continue;
    // The standard style's buttons stand raised; only the flat style's rise under the mouse.
    if (auto* tool = qobject_cast<QToolButton*>(b); tool && tool->autoRaise() != flat)
      tool->setAutoRaise(flat);
    // Qt's layout may squeeze it to nothing: it is given its size here.
    if (b->sizePolicy().horizontalPolicy() != QSizePolicy::Ignored) {
      b->setMinimumSize(0, 0);
      b->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }
    const host::ToolbarPlace& at = places[static_cast<std::size_t>(i)];
    if (at.row < 0) {
      b->hide();
      continue;
    }
    b->setGeometry(inset + at.x, inset + at.row * h, slotWidth(t, *actions[i]), h);
    b->show();
  }
  // Every button has its place: nothing is left over for Qt's overflow arrow.
  if (auto* more = t.findChild<QWidget*>("qt_toolbar_ext_button")) more->hide();
}

namespace {

// The toolbar takes its new height as a real one does: once the events the new button size
// causes are processed, at the next DoEvents. Its neighbours on the form's edges make room.
void fitHeightLater(QToolBar& t) {
  QTimer::singleShot(0, &t, [bar = &t] {
    const int height = toolbarHeightAt(*bar, bar->width());
    if (height == bar->height()) return;
    bar->resize(bar->width(), height);
    if (QWidget* form = containerOf(*bar);
        form && isFormWidget(*form) && bar->property("Align").toInt() != 0)
      layoutAligned(*form);
  });
}

// A toolbar button as far as the engine needs it: the image it shows from the bound list,
// an index or a key, kept with its action.
class QtButton : public Object {
 public:
  explicit QtButton(QAction* action) : action_(action) {}
  std::string_view typeName() const override { return "Button"; }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{{"Image",
                                          [](Object& o, Args) {
                                            QAction* a = self<QtButton>(o).action();
                                            const QVariant v = a->property("Image");
                                            if (v.typeId() == QMetaType::QString)
                                              return Variant(v.toString().toStdString());
                                            return Variant(std::int16_t(v.toInt()));
                                          },
                                          [](Object& o, Args, const Variant& v) {
                                            QAction* a = self<QtButton>(o).action();
                                            if (v.isString())
                                              a->setProperty("Image",
                                                             QString::fromStdString(v.toString()));
                                            else
                                              a->setProperty("Image", int(v.toInteger()));
                                          }}};
    return &table;
  }

 private:
  QAction* action() const {
    if (!action_) host::raise(kObjectUnloaded, "Object was unloaded");
    return action_;
  }
  QPointer<QAction> action_;
};

// A toolbar's Buttons as far as the engine needs them: how many there are, and their images.
class QtButtons : public Object {
 public:
  explicit QtButtons(QToolBar* bar) : bar_(bar) {}
  std::string_view typeName() const override { return "Buttons"; }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Count",
         [](Object& o, Args) {
           const auto& b = self<QtButtons>(o).bar_;
           return Variant(std::int16_t(b ? b->actions().size() : 0));
         }},
        {"Item", &item, nullptr, &item}};
    return &table;
  }

 private:
  static Variant item(Object& o, Args a) {
    host::expectArgs(a, 1);
    const auto& b = self<QtButtons>(o).bar_;
    const int i = a[0].toLong();
    if (!b || i < 1 || i > b->actions().size()) host::raise(host::kIndexOutOfBounds);
    return Variant(host::ObjectPtr(std::make_shared<QtButton>(b->actions()[i - 1])));
  }
  QPointer<QToolBar> bar_;
};

// The tabs' icons are as big as the biggest tab picture.
void fitTabIcons(QTabWidget& t) {
  QSize size(0, 0);
  for (int i = 0; i < t.count(); ++i)
    size = size.expandedTo(t.widget(i)->property("TabPicture").value<QImage>().size());
  if (!size.isEmpty()) t.setIconSize(size);
}

// The outer size that gives the widget's inner area the picture's size.
void fitToPicture(QWidget& w, QSize picture) {
  w.resize(picture + (w.size() - w.contentsRect().size()));
}

}  // namespace

void setBorder(QFrame& frame, int style) {
  if (style == 0) {
    frame.setFrameStyle(QFrame::NoFrame);
  } else {
    frame.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame.setLineWidth(2);
  }
}

namespace {

// The pixmap an item's image (an index or a key, 0 for none) stands for in a list.
QIcon iconFrom(QtImageList* list, const QVariant& image) {
  QIcon icon;
  if (!list || !image.isValid() || (image.typeId() != QMetaType::QString && image.toInt() == 0))
    return icon;
  host::ignoreErrors([&] {
    const Variant at = image.typeId() == QMetaType::QString
                           ? Variant(image.toString().toStdString())
                           : Variant(std::int32_t(image.toInt()));
    const QPixmap& px = list->images()[static_cast<std::size_t>(list->position(at))].pixmap;
    if (!px.isNull()) icon = QIcon(px);
  });
  return icon;
}

// A tree's nodes in the order they were added: a pre-order walk of its items.
void collectNodes(QTreeWidgetItem* item, std::vector<QTreeWidgetItem*>& out) {
  out.push_back(item);
  for (int i = 0; i < item->childCount(); ++i) collectNodes(item->child(i), out);
}

std::vector<QTreeWidgetItem*> nodesOf(QTreeWidget& tree) {
  std::vector<QTreeWidgetItem*> out;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) collectNodes(tree.topLevelItem(i), out);
  return out;
}

constexpr int kImageRole = Qt::UserRole + 1;  // a node's Image
constexpr int kIconRole = Qt::UserRole + 2;   // a list item's Icon and SmallIcon
constexpr int kSmallIconRole = Qt::UserRole + 3;
// Room beside an icon for the branch lines, in pixels.
constexpr int kIndentBesideIcon = 4;

}  // namespace

namespace {

// Image as an item keeps it: an index or a key.
Variant imageValue(const QVariant& v) {
  if (v.typeId() == QMetaType::QString) return Variant(v.toString().toStdString());
  return Variant(std::int16_t(v.toInt()));
}

QVariant imageData(const Variant& v) {
  return v.isString() ? QVariant(QString::fromStdString(v.toString()))
                      : QVariant(int(v.toInteger()));
}

// A tree's node as far as the engine needs it: its text and the image it shows.
class QtNode : public Object {
 public:
  QtNode(QTreeWidget* tree, QTreeWidgetItem* item) : tree_(tree), item_(item) {}
  std::string_view typeName() const override { return "Node"; }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Text",
         [](Object& o, Args) { return Variant(self<QtNode>(o).item()->text(0).toStdString()); }},
        {"Image",
         [](Object& o, Args) { return imageValue(self<QtNode>(o).item()->data(0, kImageRole)); },
         [](Object& o, Args, const Variant& v) {
           self<QtNode>(o).item()->setData(0, kImageRole, imageData(v));
         }}};
    return &table;
  }

 private:
  QTreeWidgetItem* item() const {
    if (!tree_) host::raise(kObjectUnloaded, "Object was unloaded");
    return item_;
  }
  QPointer<QTreeWidget> tree_;
  QTreeWidgetItem* item_;
};

class QtNodes : public Object {
 public:
  explicit QtNodes(QTreeWidget* tree) : tree_(tree) {}
  std::string_view typeName() const override { return "Nodes"; }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Count",
         [](Object& o, Args) { return Variant(std::int32_t(self<QtNodes>(o).all().size())); }},
        {"Item", &item, nullptr, &item}};
    return &table;
  }

 private:
  static Variant item(Object& o, Args a) {
    host::expectArgs(a, 1);
    auto& me = self<QtNodes>(o);
    const auto all = me.all();
    const int i = a[0].toLong();
    if (i < 1 || i > static_cast<int>(all.size())) host::raise(host::kIndexOutOfBounds);
    return Variant(
        host::ObjectPtr(std::make_shared<QtNode>(me.tree_, all[static_cast<std::size_t>(i - 1)])));
  }
  std::vector<QTreeWidgetItem*> all() const {
    if (!tree_) host::raise(kObjectUnloaded, "Object was unloaded");
    return nodesOf(*tree_);
  }
  QPointer<QTreeWidget> tree_;
};

}  // namespace

namespace {

// A list view's item as far as the engine needs it: the images it shows in each view.
class QtListItem : public Object {
 public:
  QtListItem(QListWidget* view, QListWidgetItem* item) : view_(view), item_(item) {}
  std::string_view typeName() const override { return "ListItem"; }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Text",
         [](Object& o, Args) { return Variant(self<QtListItem>(o).item()->text().toStdString()); }},
        {"Icon",
         [](Object& o, Args) { return imageValue(self<QtListItem>(o).item()->data(kIconRole)); },
         [](Object& o, Args, const Variant& v) {
           self<QtListItem>(o).item()->setData(kIconRole, imageData(v));
         }},
        {"SmallIcon",
         [](Object& o, Args) {
           return imageValue(self<QtListItem>(o).item()->data(kSmallIconRole));
         },
         [](Object& o, Args, const Variant& v) {
           self<QtListItem>(o).item()->setData(kSmallIconRole, imageData(v));
         }}};
    return &table;
  }

 private:
  QListWidgetItem* item() const {
    if (!view_) host::raise(kObjectUnloaded, "Object was unloaded");
    return item_;
  }
  QPointer<QListWidget> view_;
  QListWidgetItem* item_;
};

class QtListItems : public Object {
 public:
  explicit QtListItems(QListWidget* view) : view_(view) {}
  std::string_view typeName() const override { return "ListItems"; }

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Count", [](Object& o,
                     Args) { return Variant(std::int32_t(self<QtListItems>(o).view()->count())); }},
        {"Item", &item, nullptr, &item}};
    return &table;
  }

 private:
  static Variant item(Object& o, Args a) {
    host::expectArgs(a, 1);
    QListWidget* view = self<QtListItems>(o).view();
    const int i = a[0].toLong();
    if (i < 1 || i > view->count()) host::raise(host::kIndexOutOfBounds);
    return Variant(host::ObjectPtr(std::make_shared<QtListItem>(view, view->item(i - 1))));
  }
  QListWidget* view() const {
    if (!view_) host::raise(kObjectUnloaded, "Object was unloaded");
    return view_;
  }
  QPointer<QListWidget> view_;
};

}  // namespace

constexpr host::Name kToolbarMembers[] = {"ButtonWidth", "ButtonHeight", "Buttons",
                                          "DisabledImageList", "HotImageList"};
constexpr host::Name kImageListMembers[] = {"ListImages", "ImageWidth", "ImageHeight"};
constexpr host::Name kLineMembers[] = {"X1", "Y1", "X2", "Y2", "BorderWidth"};
// A line has end points instead, and no font.
constexpr host::Name kRectMembers[] = {"Left", "Top", "Width", "Height", "Move", "Font"};

constexpr host::Name kTabMembers[] = {"Tabs",        "Tab",        "TabHeight",      "TabsPerRow",
                                      "TabMaxWidth", "TabCaption", "TabOrientation", "TabPicture"};

namespace {
QtImageList& imageList(Object& o) { return *imageListOf(&control(o).widget()); }
}  // namespace

ImageListBinding& QtControl::boundList(Object& o, int which) {
  return control(o).imageLists_[which];
}

// The toolbar's icons come from the list it is bound to, at the list's image size.

// Icons come from the list bound as ImageList, at the list's image size; a tree also indents
// its levels by that size, so that a list rebuilt by the pass resizes both.
void QtControl::setBoundList(Object& o, int which, const Variant& v) {
  QtControl& c = control(o);
  c.imageLists_[which].set(v);
  if (which != 0 && c.kind() != ControlKind::ListView) return;
  QtImageList* list = c.imageLists_[0].list();
  if (auto* tree = qobject_cast<QTreeWidget*>(&c.widget())) {
    if (list && list->imageSize().width() > 0) {
      tree->setIconSize(list->imageSize());
      tree->setIndentation(list->imageSize().width() + kIndentBesideIcon);
    }
    for (QTreeWidgetItem* item : nodesOf(*tree))
      item->setIcon(0, iconFrom(list, item->data(0, kImageRole)));
    return;
  }
  if (auto* view = qobject_cast<QListWidget*>(&c.widget())) {
    // Large icons in the icon view, small ones in the others.
    const bool large = view->property("View").toInt() == 0;
    QtImageList* shown = c.imageLists_[large ? 0 : 1].list();
    if (shown && shown->imageSize().width() > 0) view->setIconSize(shown->imageSize());
    for (int i = 0; i < view->count(); ++i)
      view->item(i)->setIcon(
          iconFrom(shown, view->item(i)->data(large ? kIconRole : kSmallIconRole)));
    return;
  }
  for (QAction* a : toolbar(o).actions()) a->setIcon(iconFrom(list, a->property("Image")));
}

// A button's icon: its Picture, its DownPicture when checked (a push button shows that one
// while it is held down) and its DisabledPicture when disabled, at the largest one's size.
void QtControl::setButtonPicture(Object& o, int which, const Variant& v) {
  if (!v.isObject() || (!v.isNothing() && !imageOf(v))) host::raise(host::kTypeMismatch);
  QtControl& c = control(o);
  // The same picture again (Nothing, as most buttons have) leaves the icon as it is.
  if (c.buttonPictures_[which].toObject() == v.toObject()) return;
  c.buttonPictures_[which] = v;
  auto& button = *qobject_cast<QAbstractButton*>(&c.widget());
  const QImage* normal = imageOf(c.buttonPictures_[0]);
  const QImage* down = imageOf(c.buttonPictures_[1]);
  const QImage* disabled = imageOf(c.buttonPictures_[2]);
  QIcon icon;
  QSize size(0, 0);
  auto add = [&](const QImage* image, QIcon::Mode mode, QIcon::State state) {
    if (!image) return;
    icon.addPixmap(QPixmap::fromImage(*image), mode, state);
    size = size.expandedTo(image->size());
  };
  add(normal, QIcon::Normal, QIcon::Off);
  add(down ? down : normal, QIcon::Normal, QIcon::On);
  add(disabled, QIcon::Disabled, QIcon::Off);
  add(disabled, QIcon::Disabled, QIcon::On);
  // A classic button of the standard style keeps its pictures without showing them.
  if (button.property("Style") == QVariant(0)) icon = QIcon();
  button.setIcon(icon);
  button.setProperty("RescaloIcon", QVariant::fromValue(icon));
  if (!size.isEmpty()) button.setIconSize(size);
  // A push button is never checked: it shows its down picture while it is held.
  if (!button.isCheckable() && !button.property("RescaloHeldIcon").toBool()) {
    button.setProperty("RescaloHeldIcon", true);
    QAbstractButton* b = &button;
    auto show = [b](QIcon::State state) {
      const QIcon all = b->property("RescaloIcon").value<QIcon>();
      b->setIcon(state == QIcon::Off ? all
                                     : QIcon(all.pixmap(b->iconSize(), QIcon::Normal, state)));
    };
    QObject::connect(b, &QAbstractButton::pressed, b, [show] { show(QIcon::On); });
    QObject::connect(b, &QAbstractButton::released, b, [show] { show(QIcon::Off); });
  }
}

namespace {

bool lacksByKind(ControlKind kind, host::Name name) {
  if (name == kCaption) return !hasCaption(kind);
  if (kind == ControlKind::PictureBox && (name == kDownPicture || name == kDisabledPicture))
    return true;
  // Only a picture box draws; a button shows its pictures as its icon.
  if (kind != ControlKind::PictureBox) {
    if (name == kPicture || name == kDownPicture || name == kDisabledPicture)
      return kind != ControlKind::CommandButton && kind != ControlKind::CheckBox &&
             kind != ControlKind::OptionButton;
    if (name == kAutoSize || name == kBorderStyle || QtSurface::members().find(name)) return true;
  }
  if (name == kText) return !hasText(kind);
  if (kind != ControlKind::TabControl)
    for (host::Name tab : kTabMembers)
      if (name == tab) return true;
  if (kind != ControlKind::Toolbar)
    for (host::Name member : kToolbarMembers)
      if (name == member) return true;
  if (kind != ControlKind::ImageList)
    for (host::Name member : kImageListMembers)
      if (name == member) return true;
  // Lines and shapes both have a border width.
  if (name == "BorderWidth") return kind != ControlKind::Line && kind != ControlKind::Shape;
  for (host::Name member : kLineMembers)
    if (name == member) return kind != ControlKind::Line;
  if (kind == ControlKind::Line)
    for (host::Name member : kRectMembers)
      if (name == member) return true;
  if (name == "ImageList") return kind != ControlKind::Toolbar && kind != ControlKind::TreeView;
  if (name == "Nodes") return kind != ControlKind::TreeView;
  if (name == "Icons" || name == "SmallIcons" || name == "ListItems" || name == "View")
    return kind != ControlKind::ListView;
  return false;
}

// Every name the rule above looks at; any other member no kind lacks.
std::vector<host::Name> namesTheRuleKnows() {
  std::vector<host::Name> names = {
      kCaption,    kText,   kPicture, kDownPicture, kDisabledPicture, kAutoSize, kBorderStyle,
      "ImageList", "Nodes", "Icons",  "SmallIcons", "ListItems",      "View"};
  names.insert(names.end(), std::begin(kTabMembers), std::end(kTabMembers));
  names.insert(names.end(), std::begin(kToolbarMembers), std::end(kToolbarMembers));
  names.insert(names.end(), std::begin(kImageListMembers), std::end(kImageListMembers));
  names.insert(names.end(), std::begin(kLineMembers), std::end(kLineMembers));
  names.insert(names.end(), std::begin(kRectMembers), std::end(kRectMembers));
  QtSurface::members().forEach([&](const host::Member& m) { names.push_back(m.name); });
  return names;
}

// The rule decided once per kind for each name it knows: a look-up is then one probe, where
// the rule compares a name with some forty others on every access.
struct Lacking {
  std::vector<std::string> names;
  host::KeyIndex index;
  bool has(std::string_view name) const {
    return index.find(name, [this](int i) -> std::string_view {
      return names[static_cast<std::size_t>(i)];
    }) >= 0;
  }
};

constexpr std::size_t kKinds = static_cast<std::size_t>(ControlKind::Other) + 1;

const std::array<Lacking, kKinds>& lackingByKind() {
  static const std::array<Lacking, kKinds> tables = [] {
    std::array<Lacking, kKinds> t;
    const std::vector<host::Name> known = namesTheRuleKnows();
    for (std::size_t k = 0; k < kKinds; ++k)
      for (host::Name name : known) {
        if (!lacksByKind(static_cast<ControlKind>(k), name)) continue;
        Lacking& l = t[k];
        l.names.emplace_back(name.text());
        const int position = static_cast<int>(l.names.size()) - 1;
        if (!l.index.insert(l.names.back(), position, [&l](int i) -> std::string_view {
              return l.names[static_cast<std::size_t>(i)];
            }))
          l.names.pop_back();
      }
    return t;
  }();
  return tables;
}

}  // namespace

bool QtControl::lacks(host::Name name) const {
  return lackingByKind()[static_cast<std::size_t>(kind_)].has(name.text());
}

bool QtControl::has(host::Name name) const { return !lacks(name) && Object::has(name); }

namespace {

// The members that neither show nor depend on the control's font: a font waiting to be set
// can go on waiting through them.
bool fontBlind(host::Name name) {
  static constexpr host::Name kBlind[] = {"Left", "Top",       "Width", "Height",
                                          "Move", "Container", "Font",  "Name"};
  return std::find(std::begin(kBlind), std::end(kBlind), name) != std::end(kBlind);
}

}  // namespace

bool QtControl::tryGet(host::Name name, Args index, Variant& out) {
  if (lacks(name)) return false;
  if (!fontBlind(name)) settleFont();
  return Object::tryGet(name, index, out);
}

bool QtControl::trySet(host::Name name, Args index, const Variant& value) {
  if (lacks(name)) return false;
  if (!fontBlind(name)) settleFont();
  return Object::trySet(name, index, value);
}

bool QtControl::tryCall(host::Name name, Args args, Variant& out) {
  if (lacks(name)) return false;
  if (!fontBlind(name)) settleFont();
  return Object::tryCall(name, args, out);
}

const host::MemberTable* QtControl::members() const {
  static const host::MemberTable table{
      {{"Caption",
        [](Object& o, Args) { return Variant(caption(control(o).widget()).toStdString()); },
        [](Object& o, Args, const Variant& v) {
          setCaption(control(o).widget(), QString::fromStdString(v.toString()));
        }},
       {"Text", [](Object& o, Args) { return Variant(text(control(o).widget()).toStdString()); },
        [](Object& o, Args, const Variant& v) {
          setText(control(o).widget(), QString::fromStdString(v.toString()));
        }},
       // A member of a control array carries its index as the widget's "Index" property.
       {"Index",
        [](Object& o, Args) {
          const QVariant index = control(o).widget().property("Index");
          if (!index.isValid()) host::raise(kNotAnArray, "Object not an array");
          return Variant(static_cast<std::int16_t>(index.toInt()));
        }},
       // The edge of its form a control is aligned to, kept as the widget's "Align" property.
       {"Align",
        [](Object& o, Args) {
          return Variant(static_cast<std::int16_t>(control(o).widget().property("Align").toInt()));
        },
        [](Object& o, Args, const Variant& v) {
          const int align = v.toInteger();
          if (align < 0 || align > 4) host::raise(host::kInvalidPropertyValue);
          QWidget& w = control(o).widget();
          w.setProperty("Align", align);
          if (QWidget* form = containerOf(w); form && isFormWidget(*form)) layoutAligned(*form);
        }},
       // The widget the control sits in: the form itself, a frame, a picture box or the tab
       // control whose page holds it.
       {"Container",
        [](Object& o, Args) { return Variant(host::ObjectPtr(control(o).container())); }},
       // A tab control's pages; lengths in twips, its tabs per row only remembered (Qt's tabs
       // are one row).
       {"Tabs", [](Object& o, Args) { return Variant(std::int16_t(tabs(o).count())); }},
       {"Tab", [](Object& o, Args) { return Variant(std::int16_t(tabs(o).currentIndex())); },
        [](Object& o, Args, const Variant& v) {
          QTabWidget& t = tabs(o);
          const Variant i[] = {v};
          t.setCurrentIndex(tabIndex(t, i));
        }},
       {"TabCaption",
        [](Object& o, Args index) {
          QTabWidget& t = tabs(o);
          return Variant(t.tabText(tabIndex(t, index)).toStdString());
        },
        [](Object& o, Args index, const Variant& v) {
          QTabWidget& t = tabs(o);
          t.setTabText(tabIndex(t, index), QString::fromStdString(v.toString()));
        }},
       {"TabHeight",
        [](Object& o, Args) {
          // As it was set: tabs on a page not shown yet have not been laid out.
          const QVariant set = tabs(o).property("TabHeight");
          return Variant(
              control(o).twipsY(set.isValid() ? set.toInt() : laidOutTabHeight(tabs(o))));
        },
        [](Object& o, Args, const Variant& v) {
          if (v.toDouble() < 0) host::raise(host::kInvalidPropertyValue);
          QTabWidget& t = tabs(o);
          const QVariant was = t.property("TabHeight");
          const int height = std::max(1, control(o).pixelsY(v));
          t.setProperty("TabHeight", height);
          applyTabStyle(t);
          // The controls on the pages keep their places in the tab control, as the classic
          // dialog's children do: on their pages they move by what the tabs grew.
          const int grew = was.isValid() ? height - was.toInt() : 0;
          const bool across = t.tabPosition() == QTabWidget::West;
          if (grew != 0 && (across || t.tabPosition() == QTabWidget::North))
            for (QWidget* page : holders(t))
              for (QObject* child : page->children())
                if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
                  w->move(w->pos() - (across ? QPoint(grew, 0) : QPoint(0, grew)));
        }},
       {"TabMaxWidth",
        [](Object& o, Args) {
          return Variant(control(o).twipsX(tabs(o).property("TabMaxWidth").toInt()));
        },
        [](Object& o, Args, const Variant& v) {
          if (v.toDouble() < 0) host::raise(host::kInvalidPropertyValue);
          tabs(o).setProperty("TabMaxWidth", control(o).pixelsX(v));
          applyTabStyle(tabs(o));
        }},
       {"TabsPerRow",
        [](Object& o, Args) {
          const QVariant n = tabs(o).property("TabsPerRow");
          return Variant(std::int16_t(n.isValid() ? n.toInt() : std::max(1, tabs(o).count())));
        },
        [](Object& o, Args, const Variant& v) {
          if (v.toInteger() < 1) host::raise(host::kInvalidPropertyValue);
          tabs(o).setProperty("TabsPerRow", int(v.toInteger()));
        }},
       {"TabOrientation",
        [](Object& o, Args) {
          switch (tabs(o).tabPosition()) {
            case QTabWidget::South:
              return Variant(std::int16_t(1));
            case QTabWidget::West:
              return Variant(std::int16_t(2));
            case QTabWidget::East:
              return Variant(std::int16_t(3));
            default:
              return Variant(std::int16_t(0));
          }
        }},
       // A tab's picture is its icon; the image is kept with the page, so that it follows
       // the page wherever the tab goes.
       {"TabPicture",
        [](Object& o, Args index) {
          QTabWidget& t = tabs(o);
          const QVariant image = t.widget(tabIndex(t, index))->property("TabPicture");
          if (!image.isValid()) return Variant(nullptr);
          return Variant(host::ObjectPtr(makePicture(image.value<QImage>())));
        },
        [](Object& o, Args index, const Variant& v) {
          QTabWidget& t = tabs(o);
          const int i = tabIndex(t, index);
          if (!v.isObject() || (!v.isNothing() && !imageOf(v)))
            host::raise(host::kInvalidPropertyValue);
          const QImage* image = imageOf(v);
          t.widget(i)->setProperty("TabPicture", image ? QVariant(*image) : QVariant());
          t.setTabIcon(i, image ? QIcon(QPixmap::fromImage(*image)) : QIcon());
          fitTabIcons(t);
        }},
       // A line's end points, in twips.
       lineEnd<0>("X1"),
       lineEnd<1>("Y1"),
       lineEnd<2>("X2"),
       lineEnd<3>("Y2"),
       // A line's or shape's width in whole pixels, an Integer as the classic one's.
       {"BorderWidth",
        [](Object& o, Args) {
          QWidget& w = control(o).widget();
          auto* line = dynamic_cast<QtLine*>(&w);
          return Variant(static_cast<std::int16_t>(line ? line->width()
                                                        : static_cast<QtShape&>(w).borderWidth()));
        },
        [](Object& o, Args, const Variant& v) {
          const std::int16_t width = v.toInteger();
          if (width < 1) host::raise(host::kInvalidPropertyValue);
          QWidget& w = control(o).widget();
          if (auto* line = dynamic_cast<QtLine*>(&w))
            line->setWidth(width);
          else
            static_cast<QtShape&>(w).setBorderWidth(width);
        }},
       // A toolbar's button size, and its buttons.
       {"ButtonWidth",
        [](Object& o, Args) { return buttonSizeIn(o, "ButtonWidth", kButtonWidth, true); },
        [](Object& o, Args, const Variant& v) {
          toolbar(o).setProperty("ButtonWidth", buttonSize(o, v, true));
          applyButtonSize(toolbar(o));
        }},
       {"ButtonHeight",
        [](Object& o, Args) { return buttonSizeIn(o, "ButtonHeight", kButtonHeight, false); },
        [](Object& o, Args, const Variant& v) {
          toolbar(o).setProperty("ButtonHeight", buttonSize(o, v, false));
          applyButtonSize(toolbar(o));
          fitHeightLater(toolbar(o));
        }},
       {"Buttons",
        [](Object& o, Args) {
          return Variant(host::ObjectPtr(std::make_shared<QtButtons>(&toolbar(o))));
        }},
       {"Icons", [](Object& o, Args) { return boundList(o, 0).value(); },
        [](Object& o, Args, const Variant& v) { setBoundList(o, 0, v); }},
       {"SmallIcons", [](Object& o, Args) { return boundList(o, 1).value(); },
        [](Object& o, Args, const Variant& v) { setBoundList(o, 1, v); }},
       {"ListItems",
        [](Object& o, Args) {
          auto* view = qobject_cast<QListWidget*>(&control(o).widget());
          return Variant(host::ObjectPtr(std::make_shared<QtListItems>(view)));
        }},
       {"View",
        [](Object& o, Args) {
          return Variant(std::int16_t(control(o).widget().property("View").toInt()));
        }},
       {"Nodes",
        [](Object& o, Args) {
          auto* tree = qobject_cast<QTreeWidget*>(&control(o).widget());
          return Variant(host::ObjectPtr(std::make_shared<QtNodes>(tree)));
        }},
       // The image lists a toolbar or a tree is bound to.
       {"ImageList", [](Object& o, Args) { return boundList(o, 0).value(); },
        [](Object& o, Args, const Variant& v) { setBoundList(o, 0, v); }},
       {"DisabledImageList", [](Object& o, Args) { return boundList(o, 1).value(); },
        [](Object& o, Args, const Variant& v) { setBoundList(o, 1, v); }},
       {"HotImageList", [](Object& o, Args) { return boundList(o, 2).value(); },
        [](Object& o, Args, const Variant& v) { setBoundList(o, 2, v); }},
       // An image list's images and their size in pixels.
       {"ListImages",
        [](Object& o, Args i) {
          host::ObjectPtr images = listImages(imageList(o));
          if (!i.empty()) return images->call("Item", i);
          return Variant(images);
        }},
       {"ImageWidth",
        [](Object& o, Args) { return Variant(std::int16_t(imageList(o).imageSize().width())); },
        [](Object& o, Args, const Variant& v) { imageList(o).setImageWidth(v.toInteger()); }},
       {"ImageHeight",
        [](Object& o, Args) { return Variant(std::int16_t(imageList(o).imageSize().height())); },
        [](Object& o, Args, const Variant& v) { imageList(o).setImageHeight(v.toInteger()); }},
       {"Parent",
        [](Object& o, Args) {
          // The nearest form: an MDI child's controls belong to it, not to the main window.
          QWidget* form = control(o).widget().parentWidget();
          while (form && !isFormWidget(*form)) form = form->parentWidget();
          return Variant(host::ObjectPtr(adoptForm(form)));
        }},
       // A picture box's picture is its background; a button's is its icon, at its own size.
       {"Picture",
        [](Object& o, Args) {
          QtControl& c = control(o);
          if (c.kind() == ControlKind::PictureBox) return QtSurface::of(c.widget()).picture();
          return c.buttonPictures_[0];
        },
        [](Object& o, Args, const Variant& v) {
          QtControl& c = control(o);
          if (c.kind() != ControlKind::PictureBox) return setButtonPicture(o, 0, v);
          QtSurface::of(c.widget()).setPicture(v);
          if (const QImage* image = imageOf(v); image && c.widget().property("AutoSize").toBool())
            fitToPicture(c.widget(), image->size());
        }},
       // What a button shows while it is down (a check box or option button while it is
       // checked), and while it is disabled.
       {"DownPicture", [](Object& o, Args) { return control(o).buttonPictures_[1]; },
        [](Object& o, Args, const Variant& v) { setButtonPicture(o, 1, v); }},
       {"DisabledPicture", [](Object& o, Args) { return control(o).buttonPictures_[2]; },
        [](Object& o, Args, const Variant& v) { setButtonPicture(o, 2, v); }},
       // A picture box that fits itself to each picture it is given.
       {"AutoSize",
        [](Object& o, Args) { return Variant(control(o).widget().property("AutoSize").toBool()); },
        [](Object& o, Args, const Variant& v) {
          QWidget& w = control(o).widget();
          w.setProperty("AutoSize", v.toBool());
          if (const QImage* image = imageOf(QtSurface::of(w).picture()); image && v.toBool())
            fitToPicture(w, image->size());
        }},
       // None (0) or the sunken border (1), two pixels each side, of a picture box.
       {"BorderStyle",
        [](Object& o, Args) {
          auto* frame = qobject_cast<QFrame*>(&control(o).widget());
          return Variant(std::int16_t(frame && frame->frameShape() != QFrame::NoFrame ? 1 : 0));
        },
        [](Object& o, Args, const Variant& v) {
          const int style = v.toInteger();
          if (style < 0 || style > 1) host::raise(host::kInvalidPropertyValue);
          if (auto* frame = qobject_cast<QFrame*>(&control(o).widget())) setBorder(*frame, style);
        }}},
      {QtWidgetObject::members(), &QtSurface::members()}};
  return &table;
}

}  // namespace rescalo::qt
