// A window with one button and a Rescalo: the window doubles, and so does the button. Exits
// non-zero when it does not, so that a build can check it. Needs no display.

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <cstdio>

#include <rescalo/qt.h>

namespace {

void wait(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QWidget window;
  window.resize(300, 200);
  auto* ok = new QPushButton("OK", &window);
  ok->setGeometry(200, 150, 80, 30);

  rescalo::qt::attach(&window);

  window.show();
  wait(200);
  window.resize(600, 400);
  wait(400);
  std::printf("OK is %dx%d at %d,%d after the window doubled\n", ok->width(), ok->height(), ok->x(),
              ok->y());
  return ok->geometry() == QRect(400, 300, 160, 60) ? 0 : 1;
}
