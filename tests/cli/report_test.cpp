#include <gtest/gtest.h>

#include "run_cli.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

TEST(Inspect, JsonListsTheFormAndEveryControlWithOnlyTheMembersItHas) {
  Result r = rescalo("inspect --json " RESCALO_SOURCE_DIR "/examples/address-book.frm");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(r.out.find(
                "{\"form\": {\"name\": \"frmAddress\", \"class\": \"VB.Form\", \"width\": 6840, "
                "\"height\": 4935, \"scaleWidth\": 6720, \"scaleHeight\": 4230, \"scaleMode\": 1}"),
            std::string::npos)
      << r.out;
  EXPECT_NE(
      r.out.find(
          "{\"key\": \"lblField(1)\", \"class\": \"VB.Label\", \"container\": \"fraContact\", "
          "\"left\": 240, \"top\": 880, \"width\": 855, \"height\": 255, "
          "\"font\": {\"name\": \"MS Sans Serif\", \"size\": 8.25}}"),
      std::string::npos);
  EXPECT_NE(
      r.out.find(
          "{\"key\": \"linSeparator\", \"class\": \"VB.Line\", \"container\": \"frmAddress\", "
          "\"x1\": 120, \"y1\": 3480, \"x2\": 6600, \"y2\": 3480}"),
      std::string::npos);
  EXPECT_NE(
      r.out.find(
          "{\"key\": \"tmrAutosave\", \"class\": \"VB.Timer\", \"container\": \"frmAddress\", "
          "\"left\": 120, \"top\": 3600}"),
      std::string::npos);
}

TEST(Inspect, CodePageCaptionsAndKeysComeOutAsUtf8) {
  fs::path dir = fs::temp_directory_path() / "rescalo-cli-inspect-cyr";
  fs::create_directories(dir);
  std::ofstream(dir / "cyr.frm", std::ios::binary)
      << "VERSION 5.00\r\nBegin VB.Form Form1\r\n   Caption = \"\xcf\xf0\xe8\xe2\xe5\xf2\"\r\n"
         "   ClientHeight = 1000\r\n   ClientWidth = 2000\r\n"
         "   BeginProperty Font\r\n      Name = \"Arial\"\r\n      Size = 9.75\r\n      Charset = "
         "204\r\n"
         "   EndProperty\r\nEnd\r\n";
  Result r = rescalo("inspect " + (dir / "cyr.frm").string());
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(r.out.find("Привет"), std::string::npos) << r.out;
  fs::remove_all(dir);
}

TEST(Inspect, AMalformedFormFailsWithFileLineAndWhatWasExpected) {
  fs::path dir = fs::temp_directory_path() / "rescalo-cli-bad";
  fs::create_directories(dir);
  std::ofstream(dir / "bad.frm") << "VERSION 5.00\nBegin VB.Form Form1\n   Caption = \"x\"\n"
                                    "   Begin VB.CommandButton Command1\n      Height = 375\n";
  Result r = rescalo("inspect " + (dir / "bad.frm").string());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("bad.frm:"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("expected"), std::string::npos) << r.out;
  EXPECT_EQ(rescalo("inspect " + (dir / "missing.frm").string()).exitCode, 1);
  EXPECT_EQ(rescalo("frobnicate").exitCode, 2);
  fs::remove_all(dir);
}

TEST(Inspect, EveryCorpusFormInspects) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(RESCALO_CORPUS_DIR)) {
    Result r = rescalo("inspect --json \"" + e.path().string() + "\"");
    EXPECT_EQ(r.exitCode, 0) << e.path() << r.out.substr(0, 300);
    ++n;
  }
  EXPECT_GE(n, 45);
}

}  // namespace
