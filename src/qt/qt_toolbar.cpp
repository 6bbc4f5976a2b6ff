#include <rescalo/qt/qt_toolbar.h>

#include <QEvent>
#include <QLayout>

#include <rescalo/qt/qt_control.h>

namespace rescalo::qt {

QtToolbar::QtToolbar(QWidget* parent) : QToolBar(parent) {
  setMovable(false);
  installEventFilter(this);
}

// Qt's toolbar layout sees every resize and request for layout before the toolbar's filters
// do: it runs first, and the buttons are placed again here after it. With no gaps and buttons
// that may shrink to nothing, it never runs out of room, so it hides no button (which, shown
// again here, would have it run again).
bool QtToolbar::eventFilter(QObject* watched, QEvent* event) {
  if (watched != this) return false;
  switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::Show:
    case QEvent::Resize:
    case QEvent::LayoutRequest:
      // Setting either asks for layout again, even when it does not change.
      if (layout()->spacing() != 0) layout()->setSpacing(0);
      if (layout()->contentsMargins() != QMargins()) layout()->setContentsMargins(QMargins());
      placeToolbarButtons(*this);
      break;
    default:
      break;
  }
  return false;
}

}  // namespace rescalo::qt
