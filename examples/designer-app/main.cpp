// An order form made in Qt Designer (order_form.ui), with a Rescalo dropped on it and the Help
// button locked to the bottom-left corner at its size in the Rescalo's editor. Nothing here
// knows about the Rescalo: setupUi makes it, and it keeps the form in proportion.
//
//   designer-app            opens the window; drag its corner and everything follows
//   designer-app --check    drags the window itself, prints what it sees and exits (1 when a
//                           widget did not follow)

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui_order_form.h"

namespace {

void waitAWhile(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool near(int got, double want) { return std::abs(got - want) <= 1.0; }

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc > 1 && std::strcmp(argv[1], "--check") == 0;
  if (check && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  QWidget form;
  Ui::OrderForm ui;
  ui.setupUi(&form);
  form.show();
  if (!check) return app.exec();

  const QRect ok = ui.cmdOK->geometry(), help = ui.cmdHelp->geometry();
  waitAWhile(200);
  form.resize(600, 390);
  waitAWhile(300);
  const QRect okGrown = ui.cmdOK->geometry(), helpGrown = ui.cmdHelp->geometry();
  form.resize(400, 260);
  waitAWhile(300);
  std::printf("cmdOK %d,%d %dx%d; at 1.5x %d,%d %dx%d; back %d,%d %dx%d\n", ok.x(), ok.y(),
              ok.width(), ok.height(), okGrown.x(), okGrown.y(), okGrown.width(), okGrown.height(),
              ui.cmdOK->x(), ui.cmdOK->y(), ui.cmdOK->width(), ui.cmdOK->height());
  std::printf("cmdHelp %d,%d %dx%d; at 1.5x %d,%d %dx%d\n", help.x(), help.y(), help.width(),
              help.height(), helpGrown.x(), helpGrown.y(), helpGrown.width(), helpGrown.height());

  const bool followed = near(okGrown.x(), ok.x() * 1.5) && near(okGrown.y(), ok.y() * 1.5) &&
                        near(okGrown.width(), ok.width() * 1.5) &&
                        near(okGrown.height(), ok.height() * 1.5);
  // Locked: as far from the bottom and the left as designed, at its size.
  const bool held = helpGrown.size() == help.size() && helpGrown.x() == help.x() &&
                    390 - helpGrown.bottom() == 260 - help.bottom();
  const bool back = ui.cmdOK->geometry() == ok && ui.cmdHelp->geometry() == help;
  if (!followed) std::printf("cmdOK did not follow the window\n");
  if (!held) std::printf("cmdHelp did not keep to its corner\n");
  if (!back) std::printf("the widgets did not come back to their places\n");
  return followed && held && back ? 0 : 1;
}
