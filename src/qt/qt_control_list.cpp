#include <rescalo/qt/qt_control_list.h>

#include <QChildEvent>
#include <QDynamicPropertyChangeEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QStackedWidget>

#include <rescalo/qt/qt_control.h>

namespace rescalo::qt {

namespace {

std::uint64_t treeChanges = 0;
std::uint64_t screenChanges = 0;

// Plain event filters rather than Q_OBJECT classes: they need no moc. Their member functions
// are the slots of the signals they follow, so that a connection made again is made only once.
class HolderWatch : public QObject {
 public:
  void changed() { ++treeChanges; }
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ChildAdded:
      case QEvent::ChildRemoved:
        ++treeChanges;
        break;
      case QEvent::LayoutRequest:
        // A widget that has just joined a layout is no longer placed by position; a main
        // window's own layout only places its bars and its central widget.
        if (auto* w = qobject_cast<QWidget*>(watched);
            w && w->layout() && !qobject_cast<QMainWindow*>(w))
          ++treeChanges;
        break;
      default:
        break;
    }
    return false;
  }
};

class AdaptedWatch : public QObject {
 public:
  void changed() { ++treeChanges; }
  void screenChanged() { ++screenChanges; }
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ParentChange:
        ++treeChanges;
        break;
      case QEvent::ScreenChangeInternal:
        ++screenChanges;
        break;
      case QEvent::DynamicPropertyChange: {
        // Only what a key or a placement is made of; the pass itself writes other properties.
        const QByteArray& name = static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName();
        if (name == "Index" || name == "Align") ++treeChanges;
        break;
      }
      default:
        break;
    }
    return false;
  }
};

// Never deleted: the widgets they watch may outlive any owner we could give them.
HolderWatch& holderWatch() {
  static auto* watch = new HolderWatch;
  return *watch;
}

AdaptedWatch& adaptedWatch() {
  static auto* watch = new AdaptedWatch;
  return *watch;
}

void watchScreen(QScreen* screen) {
  QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, &adaptedWatch(),
                   &AdaptedWatch::screenChanged, Qt::UniqueConnection);
}

void watchScreens() {
  static bool done = false;
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (done || !app) return;
  done = true;
  AdaptedWatch* watch = &adaptedWatch();
  for (QScreen* s : QGuiApplication::screens()) watchScreen(s);
  QObject::connect(app, &QGuiApplication::screenAdded, watch, [](QScreen* s) {
    watchScreen(s);
    ++screenChanges;
  });
  QObject::connect(app, &QGuiApplication::screenRemoved, watch, &AdaptedWatch::screenChanged);
  QObject::connect(app, &QGuiApplication::primaryScreenChanged, watch,
                   &AdaptedWatch::screenChanged);
}

std::string keyOf(const QWidget& w) {
  std::string key = w.objectName().toStdString();
  const QVariant index = w.property("Index");
  if (index.isValid()) key += "(" + std::to_string(index.toInt()) + ")";
  return key;
}

}  // namespace

std::uint64_t treeGeneration() { return treeChanges; }
std::uint64_t screenGeneration() { return screenChanges; }

void watchHolder(QWidget& widget) {
  widget.installEventFilter(&holderWatch());
  // A stacked widget's page can leave it without changing its parent (one that joins it is
  // reparented, or asks for a new layout).
  if (auto* stack = qobject_cast<QStackedWidget*>(&widget)) {
    QObject::connect(stack, &QStackedWidget::widgetRemoved, &holderWatch(), &HolderWatch::changed,
                     Qt::UniqueConnection);
  }
}

void watchAdapted(QWidget& widget) {
  watchScreens();
  widget.installEventFilter(&adaptedWatch());
  QObject::connect(&widget, &QObject::objectNameChanged, &adaptedWatch(), &AdaptedWatch::changed,
                   Qt::UniqueConnection);
}

void ControlList::rebuild(std::vector<QWidget*> widgets) {
  // Adapting and watching notify nothing; a change during the walk makes it be walked again.
  builtAt_ = treeGeneration();
  widgets_ = std::move(widgets);
  adapters_.clear();
  keys_.clear();
  index_.clear();
  adapters_.reserve(widgets_.size());
  keys_.reserve(widgets_.size());
  for (QWidget* w : widgets_) {
    adapters_.push_back(adoptControl(w));
    keys_.push_back(keyOf(*w));
    const int position = static_cast<int>(keys_.size()) - 1;
    index_.insert(keys_.back(), position,
                  [this](int i) -> std::string_view { return keys_[static_cast<std::size_t>(i)]; });
    if (!isContainer(*w)) continue;
    // Its direct children too: a tab control keeps its pages in a stacked widget of its own.
    watchHolder(*w);
    for (QObject* child : w->children())
      if (child->isWidgetType()) watchHolder(*static_cast<QWidget*>(child));
    for (QWidget* holder : holders(*w)) watchHolder(*holder);
  }
}

int ControlList::find(std::string_view key) const {
  return index_.find(
      key, [this](int i) -> std::string_view { return keys_[static_cast<std::size_t>(i)]; });
}

}  // namespace rescalo::qt
