// `rescalo design` with the property sheet in a real window (offscreen under the tests).

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

#include "cli_support.h"
#include "rescalo_support.h"
#include "test_support.h"

using namespace rescalo;

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// The command inherits the tests' platform, offscreen.
class DesignWindow : public TempDirTest {
 protected:
  DesignWindow() {
    std::ofstream(dir / "in.frm") << formText(
        block("VB.TextBox Text1", place(120, 120, 1200, 300)));
  }
  std::string path(const char* name) const { return (dir / name).string(); }
};

TEST_F(DesignWindow, OkWithoutEditsSavesWhatAddingTheControlSaves) {
  Result r = runRescalo("design " + path("in.frm") + " -o " + path("designed.frm") + " --accept");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_TRUE(has(r.out, "added Rescalo1")) << r.out;
  EXPECT_TRUE(has(r.out, "saved " + path("designed.frm"))) << r.out;
  EXPECT_FALSE(has(r.out, "set ")) << r.out;  // no page was changed, none applied
  ASSERT_EQ(runRescalo("add " + path("in.frm") + " -o " + path("added.frm")).exitCode, 0);
  EXPECT_EQ(readAll(dir / "designed.frm"), readAll(dir / "added.frm"));
}

TEST_F(DesignWindow, ScreenshotsPictureEveryTabAndSaveNothing) {
  std::string before = readAll(dir / "in.frm");
  Result r = runRescalo("design " + path("in.frm") + " --screenshots " + path("shots"));
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
  Result r = runRescalo("design " + path("in.frm"),
                        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
  EXPECT_EQ(r.exitCode, 1) << r.out;
  EXPECT_TRUE(has(r.out, "no display")) << r.out;
  EXPECT_TRUE(has(r.out, "--script FILE or --set Page.Field=value")) << r.out;
}

TEST_F(DesignWindow, ShowTellsOfASettingsStoreItCannotRead) {
  std::ofstream(dir / "kept.frm") << formText(rescaloBlock("SaveWindowState = -1\n"),
                                              "Caption = \"Kept\"\n");
  // The Qt host's file is a folder: the remembered window cannot be read.
  fs::create_directories(dir / "store.ini");
  Result r = runRescalo("show " + path("kept.frm") + " --screenshot " + path("shots") +
                        " --settings " + path("store"));
  EXPECT_EQ(r.exitCode, 1) << r.out;
  EXPECT_TRUE(
      has(r.out, "rescalo: warning: settings store " + path("store.ini") + ": cannot read it"))
      << r.out;
}

}  // namespace
