#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "run_cli.h"

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class SaveCommand : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("rescalo-cli-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
};

TEST_F(SaveCommand, AddGivesAnyCorpusFormARescaloThatInspectAndSaveKeep) {
  fs::path in = fs::path(RESCALO_CORPUS_DIR) /
                "042-sylvain-robichaud-tape-manager-using-ntbackup__1-61181-frmCalendar.frm";
  fs::path added = dir / "added.frm";
  Result r = rescalo("add \"" + in.string() + "\" -o " + added.string());
  ASSERT_EQ(r.exitCode, 0) << r.out;
  std::string text = readAll(added);
  EXPECT_NE(text.find("Begin RescaloControl.Rescalo Rescalo1"), std::string::npos);
  // A new control has its defaults, so only the design-time size of the form is stored.
  EXPECT_NE(text.find("DesignFormScaleWidth=   8265"), std::string::npos) << text;
  EXPECT_EQ(text.find("ScaleFonts"), std::string::npos);

  Result shown = rescalo("inspect --json " + added.string());
  ASSERT_EQ(shown.exitCode, 0) << shown.out;
  EXPECT_NE(shown.out.find(
                "\"rescalo\": [\n  {\"key\": \"Rescalo1\", \"settings\": {\"ScaleFonts\": true"),
            std::string::npos)
      << shown.out;
  EXPECT_NE(shown.out.find("\"DesignFormWidth\": 8385"), std::string::npos);

  // A form that has one already is refused, and nothing is written.
  Result twice = rescalo("add " + added.string() + " -o " + (dir / "twice.frm").string());
  EXPECT_EQ(twice.exitCode, 1);
  EXPECT_NE(twice.out.find("already has a Rescalo control (Rescalo1)"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "twice.frm"));
}

TEST_F(SaveCommand, SaveRefreshesTheDesignSizeAndKeepsSettingsAndFlags) {
  std::ofstream(dir / "in.frm")
      << "VERSION 5.00\nBegin VB.Form Form1\n   ClientHeight = 3000\n   ClientWidth = 5000\n"
         "   Begin RescaloControl.Rescalo Rescalo1\n      Left = 0\n      Top = 0\n"
         "      ScaleX = 150\n      ControlFlagCount = 1\n      1ControlFlagControlKey = "
         "\"Text1\"\n"
         "      1ControlFlagDontScaleTop = -1  'True\n      DesignFormWidth = 100\n"
         "      WindowName = \"Main\"\n   End\nEnd\n";
  Result r = rescalo("save " + (dir / "in.frm").string() + " -o " + (dir / "out.frm").string());
  ASSERT_EQ(r.exitCode, 0) << r.out;
  std::string text = readAll(dir / "out.frm");
  EXPECT_NE(text.find("ScaleX          =   150"), std::string::npos)
      << text;  // stored, not clamped
  EXPECT_NE(text.find("1ControlFlagDontScaleTop=   -1  'True"), std::string::npos) << text;
  EXPECT_NE(text.find("DesignFormWidth =   5120"), std::string::npos) << text;
  auto order = [&](const char* a, const char* b) { return text.find(a) < text.find(b); };
  EXPECT_TRUE(order("ScaleX", "ControlFlagCount"));
  EXPECT_TRUE(order("ControlFlagCount", "1ControlFlagControlKey"));
  EXPECT_TRUE(order("1ControlFlagDontScaleTop", "WindowName"));
  Result bad =
      rescalo("save " + (dir / "missing.frm").string() + " -o " + (dir / "x.frm").string());
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(rescalo("save " + (dir / "in.frm").string()).exitCode, 2);
}

}  // namespace
