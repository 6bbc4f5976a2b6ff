// A small order form made in C++ with ordinary widgets, kept in proportion by a Rescalo
// control. Attaching the control is the one line marked below; everything else is the
// application's own.
//
//   qt-app            opens the window; drag its corner and everything follows
//   qt-app --check    resizes the window itself, prints what it sees and exits (1 when the
//                     widgets did not follow)

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <cstdio>
#include <cstring>
#include <memory>

#include <rescalo/qt.h>

namespace {

template <class W, class... A>
W* add(QWidget* parent, const char* name, QRect geometry, A&&... args) {
  auto* w = new W(std::forward<A>(args)..., parent);
  w->setObjectName(name);
  w->setGeometry(geometry);
  return w;
}

void waitAWhile(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc > 1 && std::strcmp(argv[1], "--check") == 0;
  if (check && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  QWidget form;
  form.setObjectName("frmOrder");
  form.setWindowTitle("Order");
  form.resize(400, 260);
  add<QLabel>(&form, "lblCustomer", {16, 20, 80, 22}, "Customer:");
  add<QLineEdit>(&form, "txtCustomer", {100, 20, 284, 22});
  auto* delivery = add<QGroupBox>(&form, "fraDelivery", {16, 56, 180, 90}, "Delivery");
  add<QRadioButton>(delivery, "optPost", {12, 24, 150, 22}, "By post");
  add<QRadioButton>(delivery, "optCollect", {12, 52, 150, 22}, "Collected");
  add<QTextEdit>(&form, "txtNotes", {212, 56, 172, 140});
  add<QPushButton>(&form, "cmdOK", {212, 212, 80, 30}, "OK");
  add<QPushButton>(&form, "cmdCancel", {304, 212, 80, 30}, "Cancel");

  // --- the Rescalo: this line (and, if you like, a smallest size for the window) ---
  auto* rescalo = rescalo::qt::attach(&form);
  rescalo->setMinimumWindowSize({240, 180});

  form.show();
  if (!check) return app.exec();

  // Half as big again, then back: the button and its font follow, and come back.
  auto* ok = form.findChild<QPushButton*>("cmdOK");
  const QRect before = ok->geometry();
  const int fontBefore = QFontInfo(ok->font()).pixelSize();
  waitAWhile(200);
  form.resize(600, 390);
  waitAWhile(300);
  const QRect grown = ok->geometry();
  const int fontGrown = QFontInfo(ok->font()).pixelSize();
  form.resize(400, 260);
  waitAWhile(300);
  std::printf("cmdOK %dx%d at %d,%d, font %d px; at 1.5x %dx%d at %d,%d, font %d px; back %dx%d\n",
              before.width(), before.height(), before.x(), before.y(), fontBefore, grown.width(),
              grown.height(), grown.x(), grown.y(), fontGrown, ok->width(), ok->height());
  const bool followed =
      grown == QRect(318, 318, 120, 45) && fontGrown > fontBefore && ok->geometry() == before;
  std::puts(followed ? "the widgets followed the window" : "the widgets did not follow");
  return followed ? 0 : 1;
}
