#pragma once
// The property sheet's widgets as a developer reaches them: by page and field, an item of a
// page's list by its text, clicked with the mouse.

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <stdexcept>
#include <string>

#include <rescalo/qt/property_sheet.h>

namespace rescalo::testing_support {

template <class W>
W& fieldOf(const qt::PropertySheetDialog& d, const std::string& page, const std::string& field) {
  auto* w = dynamic_cast<W*>(d.widgetFor(page, field));
  if (!w) throw std::runtime_error("no widget for " + page + "." + field);
  return *w;
}

inline QListWidgetItem& itemOf(const qt::PropertySheetDialog& d, const std::string& page,
                               const std::string& text) {
  const auto found = fieldOf<QListWidget>(d, page, "List1")
                         .findItems(QString::fromStdString(text), Qt::MatchExactly);
  if (found.size() != 1) throw std::runtime_error("no item " + text + " on " + page);
  return *found[0];
}

// A mouse click on an item's text.
inline void clickOn(const qt::PropertySheetDialog& d, const std::string& page,
                    const std::string& text) {
  QListWidget& list = fieldOf<QListWidget>(d, page, "List1");
  const QPointF at = list.visualItemRect(&itemOf(d, page, text)).center();
  const QPointF global = list.viewport()->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &press);
  QApplication::sendEvent(list.viewport(), &release);
}

inline void showTab(qt::PropertySheetDialog& d, int index) {
  d.tabs().setCurrentIndex(index);
  QApplication::processEvents();
}

}  // namespace rescalo::testing_support
