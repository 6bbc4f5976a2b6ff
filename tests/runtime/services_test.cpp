#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "runtime/settings_store.h"
#include "test_support.h"

using host::Variant;
using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class ServicesTest : public RuntimeTest {};

TEST_F(ServicesTest, TimersTickOnTheVirtualClockInDueOrder) {
  std::string log;
  auto fast = rt.createTimer([&] { log += "f"; });
  auto slow = rt.createTimer([&] { log += "S"; });
  fast->setInterval(100);
  slow->setInterval(250);
  fast->setEnabled(true);
  slow->setEnabled(true);
  rt.advance(99);
  EXPECT_EQ(log, "");
  rt.advance(1);
  EXPECT_EQ(log, "f");
  rt.advance(400);            // 200 f, 250 S, 300 f, 400 f, 500 f, 500 S
  EXPECT_EQ(log, "ffSfffS");  // at a tie, the timer created first ticks first
  EXPECT_DOUBLE_EQ(rt.Timer(), 9 * 3600 + 0.5);
  slow->setEnabled(false);
  rt.advance(1000);
  EXPECT_EQ(std::count(log.begin(), log.end(), 'S'), 2);
}

TEST_F(ServicesTest, ATickThatPumpsEventsDoesNotTickItselfAgainAndCanStopItself) {
  int ticks = 0, posted = 0;
  std::shared_ptr<host::Timer> t;
  t = rt.createTimer([&] {
    ++ticks;
    rt.post([&] { ++posted; });
    rt.DoEvents();  // runs the posted work, not this tick again
    if (ticks == 3) t->setEnabled(false);
  });
  t->setInterval(10);
  t->setEnabled(true);
  rt.advance(100);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(posted, 3);
  // Re-enabling restarts the countdown from now.
  t->setEnabled(true);
  rt.advance(9);
  EXPECT_EQ(ticks, 3);
  rt.advance(1);
  EXPECT_EQ(ticks, 4);
}

TEST_F(ServicesTest, FormTimersTickAsControlsByName) {
  auto form = build(formText(
      "   Begin VB.Timer tmr\n      Interval = 50\n      Left = 0\n      Top = 0\n   End\n"));
  auto timer = form->find("tmr");
  EXPECT_TRUE(timer->get("Enabled").toBool());
  EXPECT_EQ(timer->get("Interval").toLong(), 50);
  int ticks = 0;
  timer->subscribe([&](std::string_view e, host::Args) { ticks += e == "Timer"; });
  rt.advance(120);
  EXPECT_EQ(ticks, 2);
  timer->set("Interval", 0);  // an interval of 0 stops it
  rt.advance(500);
  EXPECT_EQ(ticks, 2);
  timer->set("Interval", 100);
  timer->set("Enabled", false);
  rt.advance(500);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(errorOf([&] { timer->set("Interval", -1); }), 380);
}

TEST_F(ServicesTest, SettingsRoundTripThroughTheFileWithClassicErrors) {
  auto& s = rt.settings();
  s.SaveSetting("Rescalo", "Main Window", "WindowLeft", "1200");
  s.SaveSetting("Rescalo", "Main Window", "WindowTop", "tab\there\nnewline \\ slash");
  EXPECT_EQ(s.GetSetting("RESCALO", "main window", "windowleft"), "1200");
  EXPECT_EQ(s.GetSetting("Rescalo", "Other", "WindowLeft", "none"), "none");
  runtime::FileSettingsStore again(dir / "settings");
  EXPECT_EQ(again.GetSetting("Rescalo", "Main Window", "WindowTop"), "tab\there\nnewline \\ slash");
  EXPECT_EQ(errorOf([&] { s.DeleteSetting("Rescalo", "No Such Section"); }), 5);
  EXPECT_EQ(errorOf([&] { s.DeleteSetting("Rescalo", "Main Window", "NoKey"); }), 5);
  s.DeleteSetting("Rescalo", "Main Window", "WindowLeft");
  EXPECT_EQ(s.GetSetting("Rescalo", "Main Window", "WindowLeft", "gone"), "gone");
  s.DeleteSetting("Rescalo", "Main Window");
  EXPECT_EQ(errorOf([&] { s.DeleteSetting("Rescalo", "Main Window"); }), 5);
  EXPECT_EQ(runtime::FileSettingsStore(dir / "settings")
                .GetSetting("Rescalo", "Main Window", "WindowTop", "-"),
            "-");
}

TEST_F(ServicesTest, HostileSectionNamesStayInsideTheStoreAndWritesLeaveNoPartialFile) {
  auto& s = rt.settings();
  for (const char* name : {"../../x", "/etc/passwd", "..", "a\\b\\c", "C:\\Windows"})
    s.SaveSetting("Rescalo", name, "WindowWidth", "9000");
  // Nothing but the store itself appeared, and no temporary file stayed behind.
  std::vector<std::string> files;
  for (auto& e : fs::recursive_directory_iterator(dir))
    files.push_back(e.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"settings"});
  EXPECT_FALSE(fs::exists(dir.parent_path() / "x"));
  EXPECT_EQ(
      runtime::FileSettingsStore(dir / "settings").GetSetting("Rescalo", "../../x", "WindowWidth"),
      "9000");
}

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(ServicesTest, AFailedWriteKeepsTheOldFileAndTheOldValues) {
  fs::path file = dir / "store";
  runtime::FileSettingsStore store(file);
  store.SaveSetting("App", "S", "K", "old");
  std::string before = readAll(file);
  // Occupy the temporary file's place so that the next write cannot be made.
  fs::path tmp = file;
  tmp += ".tmp" + std::to_string(::getpid());
  fs::create_directories(tmp);
  EXPECT_EQ(errorOf([&] { store.SaveSetting("App", "S", "K", "new"); }), 75);
  EXPECT_EQ(errorOf([&] { store.DeleteSetting("App", "S"); }), 75);
  EXPECT_EQ(store.GetSetting("App", "S", "K"), "old");
  EXPECT_EQ(readAll(file), before);
  fs::remove_all(tmp);
  store.SaveSetting("App", "S", "K", "new");
  EXPECT_EQ(runtime::FileSettingsStore(file).GetSetting("App", "S", "K"), "new");
}

TEST_F(ServicesTest, MessageBoxesAndBeepsAreRecordedAndAnswered) {
  rt.msgBoxAnswers.push_back(host::vbCancel);
  EXPECT_EQ(rt.MsgBox("First?", host::vbOKCancel), host::vbCancel);
  EXPECT_EQ(rt.MsgBox("Second"), host::vbOK);
  rt.Beep();
  ASSERT_EQ(rt.messages.size(), 2u);
  EXPECT_EQ(rt.messages[0].prompt, "First?");
  EXPECT_EQ(rt.beeps, 1);
  auto screen = rt.screenObject();
  EXPECT_EQ(screen->get("TwipsPerPixelX").toDouble(), 15);
  EXPECT_EQ(screen->get("Width").toDouble(), 1280 * 15);
}

TEST_F(ServicesTest, FontFamiliesComeFromTheSystem) {
  auto families = rt.fontFamilies();
  EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
  EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
}

}  // namespace
