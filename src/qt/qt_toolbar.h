#pragma once
// A classic toolbar on Qt: its buttons stand in rows from its corner, each at the toolbar's
// button size, wrapped as the classic toolbar wraps them on the edge of its form, where Qt's own
// toolbar keeps one row and hides what does not fit behind an arrow. A plain QToolBar keeps
// Qt's way; this one is what a classic form's toolbar becomes.

#include <QToolBar>

namespace rescalo::qt {

class QtToolbar : public QToolBar {
 public:
  explicit QtToolbar(QWidget* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace rescalo::qt
