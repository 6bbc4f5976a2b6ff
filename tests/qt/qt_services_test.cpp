// The Qt host's services: QSettings with escaped names, QTimers with the classic timer's
// rules, and the window functions on real widgets.

#include <rescalo/bridge/shown_form.h>
#include <rescalo/qt/qt_services.h>

#include <gtest/gtest.h>

#include <set>

#include <QApplication>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include <rescalo/qt/qt_object.h>
#include <rescalo/runtime/runtime.h>
#include "host_support.h"

using namespace rescalo;

using testing_support::errorOf;

namespace {

using bridge::settle;

class QtSettingsTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString file = dir.filePath("settings.ini");
  qt::QtSettingsStore store{file};
};

TEST_F(QtSettingsTest, NamesCompareWithoutCaseAndDeletingTheLastKeyRemovesTheSection) {
  store.SaveSetting("Rescalo", "Orders", "WindowLeft", "1200");
  store.SaveSetting("Rescalo", "Orders", "WindowTop", "900");
  EXPECT_EQ(store.GetSetting("rescalo", "ORDERS", "windowleft"), "1200");
  EXPECT_EQ(store.GetSetting("Rescalo", "Orders", "WindowWidth", "none"), "none");
  EXPECT_EQ(store.GetSetting("Other", "Orders", "WindowLeft"), "");  // another application's

  store.DeleteSetting("Rescalo", "Orders", std::string_view("WINDOWLEFT"));
  EXPECT_EQ(store.GetSetting("Rescalo", "Orders", "WindowLeft", "gone"), "gone");
  EXPECT_EQ(errorOf([&] { store.DeleteSetting("Rescalo", "Orders", std::string_view("x")); }),
            host::kInvalidProcedureCall);
  store.DeleteSetting("Rescalo", "Orders", std::string_view("WindowTop"));
  EXPECT_EQ(errorOf([&] { store.DeleteSetting("Rescalo", "Orders"); }),
            host::kInvalidProcedureCall);
}

TEST_F(QtSettingsTest, ACaptionWithSlashesOrNoNameAtAllStaysOneSection) {
  store.SaveSetting("Rescalo", "Orders", "WindowLeft", "1");
  store.SaveSetting("Rescalo", "Orders/2024\\Q1", "WindowLeft", "2");
  store.SaveSetting("Rescalo", "", "WindowLeft", "3");
  store.SaveSetting("Rescalo", "Ünïcode 50%", "WindowLeft", "4");
  EXPECT_EQ(store.GetSetting("Rescalo", "Orders/2024\\Q1", "WindowLeft"), "2");
  EXPECT_EQ(store.GetSetting("Rescalo", "Ünïcode 50%", "WindowLeft"), "4");

  // Deleting the unnamed section or the slashed one leaves every other section alone.
  store.DeleteSetting("Rescalo", "");
  store.DeleteSetting("Rescalo", "Orders/2024\\Q1");
  EXPECT_EQ(store.GetSetting("Rescalo", "Orders", "WindowLeft"), "1");
  EXPECT_EQ(store.GetSetting("Rescalo", "Ünïcode 50%", "WindowLeft"), "4");

  // In the file, every section is one group of the application's.
  QSettings raw(file, QSettings::IniFormat);
  raw.beginGroup(qt::QtSettingsStore::storedName("Rescalo"));
  EXPECT_EQ(raw.childGroups().size(), 2);
}

TEST(QtTimerTest, TicksEveryIntervalWhileEnabledAndRestartsWhenEnabledAgain) {
  int ticks = 0;
  qt::QtServices services;
  auto timer = services.createTimer([&] { ++ticks; });
  timer->setInterval(20);
  settle(60);
  EXPECT_EQ(ticks, 0);  // disabled until enabled
  timer->set("Enabled", host::Variant(true));
  settle(110);
  EXPECT_GE(ticks, 3);
  timer->setEnabled(false);
  const int stopped = ticks;
  settle(50);
  EXPECT_EQ(ticks, stopped);

  // Enabling again while the countdown runs starts it over: a burst of re-enables holds the
  // tick back, as a drag holds back the delayed resize.
  timer->setInterval(80);
  timer->setEnabled(true);
  for (int i = 0; i < 6; ++i) {
    settle(30);
    timer->setEnabled(true);
  }
  EXPECT_EQ(ticks, stopped);
  settle(140);
  EXPECT_GT(ticks, stopped);

  timer->setInterval(0);  // an interval of 0 never ticks
  const int zero = ticks;
  settle(40);
  EXPECT_EQ(ticks, zero);
  EXPECT_EQ(errorOf([&] { timer->setInterval(70000); }), host::kInvalidPropertyValue);
}

TEST(QtServicesTest, TimerCountsSecondsSinceMidnightAndDoEventsRunsDueTimers) {
  qt::QtServices services;
  const double t0 = services.Timer();
  EXPECT_GE(t0, 0);
  EXPECT_LT(t0, 86400);
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  services.DoEvents();
  EXPECT_TRUE(ran);
  settle(20);
  EXPECT_GE(services.Timer() - t0, 0.019);

  const host::ScreenMetrics m = services.screen();
  EXPECT_EQ(services.screenObject()->get("TwipsPerPixelX").toDouble(),
            static_cast<float>(m.twipsPerPixelX));
  EXPECT_GT(m.width, 0);

  // Queued answers stand in for the user; every prompt is kept.
  services.msgBoxAnswers = {host::vbNo};
  EXPECT_EQ(services.MsgBox("Save?", host::vbYesNo), host::vbNo);
  services.quietMessageBoxes = true;
  EXPECT_EQ(services.MsgBox("Again?", host::vbYesNo), host::vbYes);
  EXPECT_EQ(services.messages, (std::vector<std::string>{"Save?", "Again?"}));
  // Quietly, the about box is kept as text too; shown, it is the Qt dialog.
  services.AboutBox({"Rescalo", "1.2.3", "Keeps forms in proportion."});
  ASSERT_EQ(services.messages.size(), 3u);
  EXPECT_EQ(services.messages[2], "Rescalo 1.2.3\n\nKeeps forms in proportion.");
}

TEST(QtFontFamilies, BothHostsListEveryFamilyNameOfTheInstalledFacesAndNoAlias) {
  // What fontconfig's own tool says is installed: every family name of every face.
  QProcess fcList;
  fcList.start("fc-list", {"--format", "%{family}\\n"});
  ASSERT_TRUE(fcList.waitForFinished() && fcList.exitCode() == 0);
  std::set<std::string> installed;
  for (const QString& line : QString::fromUtf8(fcList.readAllStandardOutput()).split('\n'))
    for (const QString& name : line.split(',', Qt::SkipEmptyParts))
      installed.insert(name.toStdString());
  ASSERT_FALSE(installed.empty());
  runtime::Runtime rt;
  qt::QtServices services;
  const std::vector<std::string> want(installed.begin(), installed.end());
  EXPECT_EQ(rt.fontFamilies(), want);
  // Qt's own list would add "Sans Serif" and "Monospace" and drop "DejaVu Sans Condensed".
  EXPECT_EQ(services.fontFamilies(), want);
}

class QtWindowApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<QWidget>();
    window->setGeometry(100, 100, 300, 200);
    window->show();
    QApplication::processEvents();
    other = std::make_unique<QWidget>();
    hwnd = qt::adapterOf(window.get())->hWnd();
    otherHwnd = qt::adapterOf(other.get())->hWnd();
  }
  qt::QtServices services;
  qt::QtWindowApi& api = services.windowApi();
  std::unique_ptr<QWidget> window, other;
  host::HWND hwnd = 0, otherHwnd = 0;
};

TEST_F(QtWindowApiTest, OneWindowAtATimeIsLockedAgainstUpdates) {
  EXPECT_TRUE(api.LockWindowUpdate(hwnd));
  EXPECT_FALSE(window->updatesEnabled());
  EXPECT_FALSE(api.LockWindowUpdate(otherHwnd));
  EXPECT_TRUE(other->updatesEnabled());
  EXPECT_TRUE(api.LockWindowUpdate(0));
  EXPECT_TRUE(window->updatesEnabled());
  EXPECT_TRUE(api.LockWindowUpdate(otherHwnd));
  EXPECT_FALSE(api.LockWindowUpdate(12345));  // no such window
  // A locked window that goes away frees the lock.
  other.reset();
  EXPECT_TRUE(api.LockWindowUpdate(hwnd));
}

TEST_F(QtWindowApiTest, PositionTopmostAndWindowRectAreTheFramesOnTheScreen) {
  const QSize extra = window->frameGeometry().size() - window->size();
  ASSERT_TRUE(api.SetWindowPos(hwnd, host::HWND_TOPMOST, 40, 50, 400, 300, host::SWP_NOZORDER));
  EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(window->frameGeometry(), QRect(40, 50, 400, 300));
  EXPECT_EQ(window->size(), QSize(400, 300) - extra);

  api.SetWindowPos(hwnd, host::HWND_TOPMOST, 0, 0, 0, 0, host::SWP_NOMOVE | host::SWP_NOSIZE);
  QApplication::processEvents();
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->isVisible());  // the change of flags does not hide the window
  EXPECT_EQ(window->frameGeometry().size(), QSize(400, 300));

  host::RECT r;
  ASSERT_TRUE(api.GetWindowRect(hwnd, r));
  const QRect frame = window->frameGeometry();
  EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
            (std::vector<int>{frame.left(), frame.top(), frame.left() + frame.width(),
                              frame.top() + frame.height()}));
  EXPECT_FALSE(api.GetWindowRect(99999, r));
  EXPECT_EQ(api.GetParent(hwnd), 0);
}

TEST_F(QtWindowApiTest, RegionsBecomeMasksInClientCoordinates) {
  const QPoint inset = window->geometry().topLeft() - window->frameGeometry().topLeft();
  host::HRGN rgn = api.CreateRectRgn(10, 20, 110, 70);
  ASSERT_EQ(api.SetWindowRgn(hwnd, rgn, true), 1);
  EXPECT_EQ(window->mask(), QRegion(QRect(10 - inset.x(), 20 - inset.y(), 100, 50)));
  EXPECT_EQ(api.SetWindowRgn(hwnd, rgn, true), 0);  // the window owns that region now
  ASSERT_TRUE(api.region(hwnd));
  EXPECT_EQ(api.region(hwnd)->right, 110);

  // An empty region hides the whole window, as the opening effect's first frame does.
  api.SetWindowRgn(hwnd, api.CreateRectRgn(1, 1, 1, 1), true);
  EXPECT_FALSE(window->mask().isEmpty());
  EXPECT_FALSE(window->mask().intersects(window->rect()));
  api.SetWindowRgn(hwnd, 0, true);
  EXPECT_TRUE(window->mask().isEmpty());
  EXPECT_FALSE(api.region(hwnd));
}

// A procedure that holds the window between 200x150 and 500x400 outer pixels.
host::LRESULT limitingProc(host::HWND, std::uint32_t msg, host::WPARAM, host::LPARAM lParam) {
  if (msg == host::WM_GETMINMAXINFO) {
    auto* info = reinterpret_cast<host::MINMAXINFO*>(lParam);
    info->ptMinTrackSize = {200, 150};
    info->ptMaxTrackSize = {500, 400};
  }
  return 0;
}

TEST_F(QtWindowApiTest, TrackingLimitsOfTheWindowProcedureBecomeMinimumAndMaximumSizes) {
  const QSize extra = window->frameGeometry().size() - window->size();
  const host::WndProcHandle previous =
      api.SetWindowLongA(hwnd, host::GWL_WNDPROC, host::toHandle(&limitingProc));
  ASSERT_NE(previous, 0);
  EXPECT_EQ(window->minimumSize(), QSize(200, 150) - extra);
  EXPECT_EQ(window->maximumSize(), QSize(500, 400) - extra);
  window->resize(900, 900);  // the user cannot drag beyond them
  EXPECT_EQ(window->size(), QSize(500, 400) - extra);

  EXPECT_EQ(api.SetWindowLongA(hwnd, host::GWL_WNDPROC, previous), host::toHandle(&limitingProc));
  EXPECT_EQ(window->minimumSize(), QSize(0, 0));
  EXPECT_EQ(window->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
  EXPECT_EQ(api.SetWindowLongA(hwnd, 0, previous), 0);  // only the procedure can be set
}

}  // namespace
