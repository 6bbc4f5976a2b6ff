// The rescalo command as a user runs it: inspect, save, add, layout and demo.

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <rescalo/runtime/raster/image_io.h>
#include "cli_support.h"
#include "rescalo_support.h"

using namespace rescalo;

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

const std::string kExamples = RESCALO_SOURCE_DIR "/examples/";

// Each test writes into a folder of its own, gone afterwards.
class Cli : public TempDirTest {
 protected:
  std::string path(const std::string& name) const { return (dir / name).string(); }
};
using Inspect = Cli;
using Save = Cli;
using Layout = Cli;
using Render = Cli;
using Design = Cli;

// A form of 4000 x 3000 twips with a Rescalo holding the given settings (".frm" lines).
std::string rescaloForm(const std::string& settings) {
  return formText(rescaloBlock(settings), "   Caption = \"Orders\"\n", "VB.Form", "frmOrders");
}

TEST_F(Inspect, JsonListsTheFormAndEveryControlWithOnlyTheMembersItHas) {
  expectHas(runOk("inspect --json " + kExamples + "address-book.frm").out,
            {"{\"form\": {\"name\": \"frmAddress\", \"class\": \"VB.Form\", \"width\": 6840, "
             "\"height\": 4935, \"scaleWidth\": 6720, \"scaleHeight\": 4230, \"scaleMode\": 1}",
             "{\"key\": \"lblField(1)\", \"class\": \"VB.Label\", \"container\": \"fraContact\", "
             "\"left\": 240, \"top\": 880, \"width\": 855, \"height\": 255, "
             "\"font\": {\"name\": \"MS Sans Serif\", \"size\": 8.25}}",
             "{\"key\": \"linSeparator\", \"class\": \"VB.Line\", \"container\": \"frmAddress\", "
             "\"x1\": 120, \"y1\": 3480, \"x2\": 6600, \"y2\": 3480}",
             "{\"key\": \"tmrAutosave\", \"class\": \"VB.Timer\", \"container\": \"frmAddress\", "
             "\"left\": 120, \"top\": 3600}"});
}

TEST_F(Inspect, CodePageCaptionsComeOutAsUtf8AndMalformedFormsFailWithFileAndLine) {
  const std::string cyr = writeText(
      dir / "cyr.frm",
      "VERSION 5.00\r\nBegin VB.Form Form1\r\n   Caption = \"\xcf\xf0\xe8\xe2\xe5\xf2\"\r\n"
      "   ClientHeight = 1000\r\n   ClientWidth = 2000\r\n   BeginProperty Font\r\n"
      "      Name = \"Arial\"\r\n      Size = 9.75\r\n      Charset = 204\r\n"
      "   EndProperty\r\nEnd\r\n");
  expectHas(runOk("inspect " + cyr).out, {"Привет"});
  const std::string bad = writeText(dir / "bad.frm",
                                    "VERSION 5.00\nBegin VB.Form Form1\n   Caption = \"x\"\n"
                                    "   Begin VB.CommandButton Command1\n      Height = 375\n");
  expectRefused("inspect " + bad, 1, "bad.frm:5: expected 'End' before end of file");
  EXPECT_EQ(runRescalo("inspect " + path("missing.frm")).exitCode, 1);
  EXPECT_EQ(runRescalo("frobnicate").exitCode, 2);

  // Whole numbers are printed exactly, however large.
  const std::string big =
      writeText(dir / "big.frm", rescaloForm("MaxWidth = 1000000001\nMinWidth = 2147483647\n"));
  expectHas(runOk("inspect --json " + big).out,
            {"\"MaxWidth\": 1000000001", "\"MinWidth\": 2147483647"});
}

TEST_F(Inspect, EveryFormInspects) {
  for (const fs::path& file : testing_support::formsToCheck()) {
    Result r = runRescalo("inspect --json \"" + file.string() + "\"");
    EXPECT_EQ(r.exitCode, 0) << file << r.out.substr(0, 300);
    EXPECT_TRUE(has(r.out, "{\"form\": {\"name\": ")) << file;
  }
}

TEST_F(Save, AddGivesAnyCorpusFormARescaloThatInspectAndSaveKeep) {
  RESCALO_NEED_CORPUS();
  const std::string added = path("added.frm");
  const fs::path in =
      corpusFile("042-sylvain-robichaud-tape-manager-using-ntbackup__1-61181-frmCalendar.frm");
  runOk("add \"" + in.string() + "\" -o " + added);
  // A new control has its defaults, so only the design-time size of the form is stored.
  expectHas(readAll(added), {"DesignFormScaleWidth=   8265"}, {"ScaleFonts"});
  expectHas(runOk("inspect --json " + added).out,
            {"\"rescalo\": [\n  {\"key\": \"Rescalo1\", \"settings\": {\"ScaleFonts\": true",
             "\"DesignFormWidth\": 8385"});
  // A form that has one already is refused, and nothing is written.
  expectRefused("add " + added + " -o " + path("twice.frm"), 1,
                "already has a Rescalo control (Rescalo1)");
  EXPECT_FALSE(fs::exists(dir / "twice.frm"));
}

TEST_F(Save, SaveRefreshesTheDesignSizeAndKeepsSettingsAndFlags) {
  writeText(dir / "in.frm",
            rescaloForm("ScaleX = 150\nControlFlagCount = 1\n1ControlFlagControlKey = \"Text1\"\n"
                        "1ControlFlagDontScaleTop = -1  'True\nDesignFormWidth = 100\n"
                        "WindowName = \"Main\"\n"));
  runOk("save " + path("in.frm") + " -o " + path("out.frm"));
  std::string text = readAll(dir / "out.frm");
  // Stored as it was, not clamped; the design size refreshed; the keys in their order.
  std::size_t at = 0;
  for (const char* line :
       {"ScaleX          =   150", "ControlFlagCount", "1ControlFlagControlKey",
        "1ControlFlagDontScaleTop=   -1  'True", "WindowName", "DesignFormWidth =   4120"}) {
    EXPECT_NE(text.find(line, at), std::string::npos) << line << " after " << at << "\n" << text;
    at = text.find(line, at);
  }
  EXPECT_EQ(runRescalo("save " + path("missing.frm") + " -o " + path("x.frm")).exitCode, 1);
  EXPECT_EQ(runRescalo("save " + path("in.frm")).exitCode, 2);
}

TEST_F(Layout, AFormWithoutRescaloGetsOneAndEveryDragIsReportedInJson) {
  Result r = runOk("layout " + kExamples + "address-book.frm --scale 2 --size 3420x2465 --json");
  // Twice the design size: the frame's children scale with the frame, the frame with the form;
  // the frame was designed at 120, 120, 4335, 2655 on a 6720 x 4230 inner form, now 13560 x 9165.
  // A size in twips is dragged to in whole pixels.
  expectHas(
      r.out,
      {"{\"steps\": [\n  {\"step\": \"--scale 2\", \"did\": \"dragged to 13680 x 9870 twips "
       "(inner 13560 x 9165)\", \"loaded\": true, \"width\": 13680, \"height\": 9870",
       "\"window\": {\"left\": 0, \"top\": 0, \"width\": 13680, \"height\": 9870, \"state\": "
       "\"normal\", \"topmost\": false, \"enabled\": true, \"printDialog\": false}",
       "\"form\": {\"name\": \"frmAddress\", \"class\": \"VB.Form\", \"width\": 13680, "
       "\"height\": 9870, \"scaleWidth\": 13560, \"scaleHeight\": 9165",
       "{\"key\": \"fraContact\", \"class\": \"VB.Frame\", \"container\": \"frmAddress\", "
       "\"left\": 242.142853, \"top\": 260, \"width\": 8747.41016, \"height\": 5752.5",
       "\"events\": [\"event Rescalo1.ResizeStarted\", \"event Rescalo1.ResizeDone\"]",
       "(the form had no Rescalo control: Rescalo1 added", "\"width\": 3420, \"height\": 2460"});
}

TEST_F(Layout, BadStepsAreRefusedAndTheDemoRunsWithPictures) {
  for (const char* steps :
       {" --size 12x", " --scale -1", "", " --scale 0", " --scale nan", " --scale inf",
        " --scale 1e9", " --scale 2x", " --size 0x0", " --size infx100", " --size 100x-5"})
    EXPECT_EQ(runRescalo("layout " + kExamples + "demo.frm" + steps).exitCode, 2) << steps;
  Result r = runOk("demo --svg " + dir.string());
  // The last drag returns to the design size: the layout is the designed one again.
  std::size_t last = r.out.rfind("step 5 (--size 7320x5805):");
  ASSERT_NE(last, std::string::npos);
  expectHas(r.out.substr(last), {"dragged to 7320 x 5805 twips (inner 7200 x 5400)",
                                 "cmdOK                4560     4860     1095      375    8.25",
                                 "lblTitle             1140      960     3000      420   14.25"});
  EXPECT_TRUE(fs::exists(dir / "step-05.svg"));
  EXPECT_TRUE(fs::exists(dir / "step-05.png"));
}

// Opaque pixels of a written picture; -1 when it cannot be read.
long opaque(const fs::path& png) {
  auto bm = raster::loadImageFile(png);
  if (!bm) return -1;
  long n = 0;
  for (int y = 0; y < bm->height(); ++y)
    for (int x = 0; x < bm->width(); ++x) n += bm->alpha(x, y) == 255;
  return n;
}

TEST_F(Render, APicturePerStepAndPerFrameOfTheOpeningAndClosing) {
  EXPECT_EQ(runRescalo("render " + kExamples + "demo.frm --size 9000x7000").exitCode, 2)
      << "no folder to write to";
  EXPECT_EQ(runRescalo("render " + kExamples + "demo.frm --effect fade -o x").exitCode, 2);
  Result r = runOk("render " + kExamples + "demo.frm --effect open --size 9000x7005 --scale 1 -o " +
                   dir.string());
  // Half a second at 18 steps a second: nine regions, then the whole window again.
  std::vector<long> frames;
  for (int i = 1; fs::exists(dir / ("open-00" + std::to_string(i) + ".png")); ++i)
    frames.push_back(opaque(dir / ("open-00" + std::to_string(i) + ".png")));
  ASSERT_EQ(frames.size(), 9u) << r.out;
  EXPECT_TRUE(fs::exists(dir / "open-010.png"));
  EXPECT_LT(frames.front(), frames.back()) << "the opening shows more of the window each step";
  // 7320 x 5805 twips at 15 a pixel, whole.
  EXPECT_EQ(opaque(dir / "open-010.png"), 488L * 387);
  auto step1 = raster::loadImageFile(dir / "step-01.png");
  ASSERT_TRUE(step1);
  EXPECT_EQ((std::vector<int>{step1->width(), step1->height()}), (std::vector<int>{600, 467}));
  EXPECT_TRUE(fs::exists(dir / "step-02.png"));
  // The demo has no closing animation, and says so.
  expectHas(runOk("render " + kExamples + "demo.frm --effect close -o " + dir.string()).out,
            {"FormClose = 0"});
  EXPECT_TRUE(fs::exists(dir / "shown.png"));
  EXPECT_FALSE(fs::exists(dir / "close-001.png"));
}

TEST_F(Layout, WindowStepsReportLimitsStatesTheStoreAndPrinting) {
  const std::string settings = path("store"),
                    form = writeText(dir / "orders.frm",
                                     rescaloForm("MinWidth = 3000\nSaveWindowState = -1\n"
                                                 "StayOnTop = -1\n"));
  Result r = runOk("layout " + form + " --drag 2000x3000 --state max --size 6000x4500 " +
                   "--state max --unload --reload --print 20000x30000:hide:dialog:cancel " +
                   "--cancel --print-off --settings " + settings);
  expectHas(
      r.out,
      {"step 1 (--drag 2000x3000): dragged to 3000 x 3000 twips", "  [beep]\n",
       "  window 0, 0 size 3000 x 3000 normal, topmost\n",
       "step 3 (--size 6000x4500): restored from maximized first, then dragged to 6000 x 4500",
       "step 6 (--reload): run again\n", "  window -60, -60 size 19320 x 15480 maximized",
       "store [\"Orders\"]: WindowHeight=4500 WindowLeft=0 WindowState=2 WindowTop=0 "
       "WindowWidth=6000\n",
       "  store: nothing remembered\n",
       "  window 32000, 0 size 20000 x 30000 normal, topmost; dialog \"Printing...\" shown "
       "with Cancel\n",
       "step 8 (--cancel): Cancel pressed\n", "event Rescalo1.PrintCancelled",
       "step 9 (--print-off): print size off\n  window -60, -60 size 19320 x 15480 maximized"});
  // The run ended in an unload: inspect shows what the next run will find.
  expectHas(runRescalo("inspect " + form + " --settings " + settings).out,
            {"section \"Orders\": WindowHeight=4500 WindowLeft=0 WindowState=2"});
  for (const char* bad : {" --state huge", " --print 100", " --print 100x100:loud", " --drag 0x5"})
    EXPECT_EQ(runRescalo("layout " + form + bad + " --settings " + settings).exitCode, 2) << bad;
}

TEST_F(Layout, AStoreThatCannotBeReadOrWrittenIsToldAndFailsTheRun) {
  const std::string form = writeText(dir / "orders.frm", rescaloForm("SaveWindowState = -1\n"));
  auto args = [&](const std::string& store, const std::string& command) {
    return command + " " + form + " --size 5000x4000 --settings " + store +
           (command == "render" ? " -o " + path("png") : "");
  };
  // The store is a folder: each reason the store gives is its own (checked on the store).
  fs::create_directories(dir / "folder");
  for (const char* command : {"layout", "render"})
    expectRefused(
        args(path("folder"), command), 1,
        "rescalo: warning: settings store " + path("folder") + ": cannot read it: Is a directory");

  // A store that can be read but not written: the remembered window is restored, and the
  // section that could not be deleted would come back on every run.
  const std::string store = path("store");
  ASSERT_EQ(runRescalo(args(store, "layout")).exitCode, 0);
  ASSERT_TRUE(has(readAll(store), "Orders\tWindowWidth\t4995"));
  fs::remove(dir / "store.lock");
  fs::create_directories(dir / "store.lock");
  Result r = runRescalo("layout " + form + " --unload --settings " + store);
  EXPECT_EQ(r.exitCode, 1) << r.out;
  expectHas(r.out, {"shown at 4995 x 4005 twips",
                    "rescalo: warning: settings store " + store +
                        ": cannot open its lock file store.lock: Is a directory"});
}

// A form with a text box (a font), a line (no font) and, if asked, a Rescalo already set up.
void writeDesignForm(const fs::path& p, bool withRescalo) {
  writeText(p, formText(block("VB.TextBox Text1", place(120, 120, 1200, 300)) +
                        block("VB.Line Line1", "X1 = 0\nX2 = 100\nY1 = 0\nY2 = 100\n") +
                        (withRescalo ? rescaloBlock("WindowName = \"Main\"\n") : "")));
}

TEST_F(Design, SetOptionsEditThePagesAndTheSavedFormReadsBack) {
  writeDesignForm(dir / "in.frm", true);
  std::string before = readAll(dir / "in.frm");
  // ScaleX is a percentage: the property keeps 150 to 100.
  Result r = runOk("design " + path("in.frm") + " -o " + path("out.frm") +
                   " --set General.chkScaleFonts=0 --set General.txtScaleX=150"
                   " --set General.txtScaleY=75 --set ScaleFonts.List1=+Text1");
  // An applied page writes all of its properties; pages not edited write none.
  expectHas(r.out, {"set ScaleFonts\n", "set ControlFlagDontScaleFont\n"},
            {"set ControlFlagDontScaleBorder", "set GradientColor"});
  // Every control of the form is numbered, the form first; only the ticked one is excluded.
  expectHas(readAll(dir / "out.frm"),
            {"ScaleFonts      =   0   'False", "ScaleX          =   100", "ScaleY          =   75",
             "ControlFlagCount=   4", "1ControlFlagControlKey=   \"Form1\"",
             "2ControlFlagControlKey=   \"Text1\"", "2ControlFlagDontScaleFont=   -1  'True",
             "3ControlFlagControlKey=   \"Line1\"", "WindowName      =   \"Main\""},
            {"1ControlFlagDontScaleFont", "3ControlFlagDontScaleFont"});
  EXPECT_EQ(readAll(dir / "in.frm"), before);  // -o leaves the input alone

  // The saved form loads back into the pages with Text1 ticked: unticking it clears the flag.
  runOk("design " + path("out.frm") + " --set ScaleFonts.List1=-Text1");
  expectHas(readAll(dir / "out.frm"), {"ScaleY          =   75"}, {"ControlFlagDontScaleFont"});
}

TEST_F(Design, AScriptAddsARescaloWhenTheFormHasNone) {
  writeDesignForm(dir / "in.frm", false);
  const std::string edits = writeText(dir / "edits.txt",
                                      "# the window is remembered\n\n"
                                      "General.chkSaveWindowState = 1\n"
                                      "General.txtWindowName = Editor\n");
  expectHas(runOk("design " + path("in.frm") + " --script " + edits).out, {"added Rescalo1"});
  expectHas(readAll(dir / "in.frm"),
            {"Begin RescaloControl.Rescalo Rescalo1", "SaveWindowState =   -1  'True",
             "WindowName      =   \"Editor\""});
}

// Each edit that cannot be done saves nothing and says why, where it was typed.
TEST_F(Design, AnEditThatCannotBeDoneSavesNothingAndSaysWhy) {
  writeDesignForm(dir / "in.frm", true);
  const std::string form = path("in.frm"), before = readAll(dir / "in.frm");
  std::ofstream(dir / "edits.txt", std::ios::binary)
      << "General.chkScaleFonts = 0\nGeneral.txtWindowName = a" << '\0' << "b\n"
      << "General.txtWindowName = " << std::string(1024, 'x') << "\n";
  struct Case {
    std::string args, message;
  };
  for (const Case& c : std::vector<Case>{
           {"--set Nowhere.chkScaleFonts=1", "no page Nowhere"},
           {"--set General.chkNothing=1", "no field chkNothing on General"},
           {"--set General.chkScaleFonts=maybe", "1, 0, 2, true, false or toggle"},
           {"--set ScaleFonts.List1=+Line1", "Line1"},  // a line has no font to keep
           {"--set General.txtScaleX=150 --set General", "expected Page.Field=value"},
           {"--script " + path("missing.txt"), "cannot read"},
           {"--set 'General.txtWindowName=line1\nline2'",
            "rescalo: --set: General.txtWindowName=line1\\nline2: General.txtWindowName: a .frm "
            "cannot hold a line break"},
           {"--script " + path("edits.txt"),
            path("edits.txt") + ":2: General.txtWindowName = a\\0b: "
                                "General.txtWindowName: a .frm cannot hold a NUL character"},
           {"--set General.txtWindowName=" + std::string(1024, 'x'), "1024 characters"},
           // Fails only when the page is applied: told with the edit that made it.
           {"--set General.txtScaleX=150 --set General.txtMinWidth=99999999999",
            "rescalo: --set: General.txtMinWidth=99999999999: Overflow"},
       }) {
    Result r = runRescalo("design " + form + " " + c.args);
    EXPECT_EQ(r.exitCode, 1) << c.args << "\n" << r.out;
    expectHas(r.out, {c.message}, {"saved"});
  }
  EXPECT_EQ(readAll(dir / "in.frm"), before);
  EXPECT_FALSE(fs::exists(dir / "in.frm.tmp"));
  EXPECT_EQ(runRescalo("design").exitCode, 2);  // no form
  // Pressing OK in a window is no headless edit.
  EXPECT_EQ(runRescalo("design " + form + " --accept --set General.chkScaleFonts=0").exitCode, 2);

  // Blanks are part of the text; a list takes an item's position.
  runOk("design " + form + " -o " + path("out.frm") +
        " --set 'General.txtWindowName= Main  Window ' --set ReplaceFontsWith.List1=1");
  expectHas(readAll(dir / "out.frm"),
            {"WindowName      =   \" Main  Window \"", "ReplaceFontsWith=   \""}, {"<none>"});
}

TEST(About, TheCommandShowsTheAboutBoxOfTheControl) {
  Result r = runOk("about");
  EXPECT_TRUE(r.out.starts_with("Rescalo ")) << r.out;
  expectHas(r.out, {"\n\nRescales every control of its form with the form"});
  EXPECT_EQ(runRescalo("about --now").exitCode, 2);
}

}  // namespace
