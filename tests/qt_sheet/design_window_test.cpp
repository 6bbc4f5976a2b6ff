// `rescalo design` with the property sheet in a real window (offscreen under the tests).

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

#include "cli_support.h"
#include "test_support.h"

using namespace rescalo;

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// The command with the sheet in an offscreen window, or with the given environment.
Result run(const std::string& args, const std::string& env = "QT_QPA_PLATFORM=offscreen") {
  return runRescalo(args, env);
}

class DesignWindow : public ::testing::Test {
 protected:
  DesignWindow() : dir(freshDir("design-window")) {
    std::ofstream(dir / "in.frm")
        << "VERSION 5.00\nBegin VB.Form Form1\n   ClientHeight = 3000\n   ClientWidth = 5000\n"
           "   Begin VB.TextBox Text1\n      Height = 300\n      Left = 120\n      Top = 120\n"
           "      Width = 1200\n   End\nEnd\n";
  }
  ~DesignWindow() override { fs::remove_all(dir); }
  std::string path(const char* name) const { return (dir / name).string(); }
  fs::path dir;
};

TEST_F(DesignWindow, OkWithoutEditsSavesWhatAddingTheControlSaves) {
  Result r = run("design " + path("in.frm") + " -o " + path("designed.frm") + " --accept");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_TRUE(has(r.out, "added Rescalo1")) << r.out;
  EXPECT_TRUE(has(r.out, "saved " + path("designed.frm"))) << r.out;
  EXPECT_FALSE(has(r.out, "set ")) << r.out;  // no page was changed, none applied
  ASSERT_EQ(run("add " + path("in.frm") + " -o " + path("added.frm")).exitCode, 0);
  EXPECT_EQ(readAll(dir / "designed.frm"), readAll(dir / "added.frm"));
}

TEST_F(DesignWindow, ScreenshotsPictureEveryTabAndSaveNothing) {
  std::string before = readAll(dir / "in.frm");
  Result r = run("design " + path("in.frm") + " --screenshots " + path("shots"));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_FALSE(has(r.out, "saved")) << r.out;
  EXPECT_EQ(readAll(dir / "in.frm"), before);
  for (const char* page : {"General", "ScaleBorders", "ScaleControls", "ScaleFonts",
                           "ScaleGraphics", "StandardColor", "ReplaceFontsWith", "FormEffects"}) {
    fs::path png = dir / "shots" / (std::string("sheet-") + page + ".png");
    EXPECT_EQ(readAll(png).substr(1, 3), "PNG") << png;
  }
}

TEST_F(DesignWindow, WithoutADisplayItSaysHowToGoOn) {
  Result r =
      run("design " + path("in.frm"), "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
  EXPECT_EQ(r.exitCode, 1) << r.out;
  EXPECT_TRUE(has(r.out, "no display")) << r.out;
  EXPECT_TRUE(has(r.out, "--script FILE or --set Page.Field=value")) << r.out;
}

TEST_F(DesignWindow, ShowTellsOfASettingsStoreItCannotRead) {
  std::ofstream(dir / "kept.frm")
      << "VERSION 5.00\nBegin VB.Form Form1\n   Caption = \"Kept\"\n   ClientHeight = 3000\n"
         "   ClientWidth = 5000\n   Begin RescaloControl.Rescalo Rescalo1\n      Left = 0\n"
         "      Top = 0\n      SaveWindowState = -1\n   End\nEnd\n";
  // The Qt host's file is a folder: the remembered window cannot be read.
  fs::create_directories(dir / "store.ini");
  Result r = run("show " + path("kept.frm") + " --screenshot " + path("shots") + " --settings " +
                 path("store"));
  EXPECT_EQ(r.exitCode, 1) << r.out;
  EXPECT_TRUE(
      has(r.out, "rescalo: warning: settings store " + path("store.ini") + ": cannot read it"))
      << r.out;
}

}  // namespace
