// Placement of single controls: the lock flags on both axes, containers other than the form,
// lines, tab pages, fonts and the application's own moves.

#include <array>

#include "engine_fixture.h"

using namespace engine_test;
using Doubles = std::vector<double>;

namespace {

const char* kButton =
    "   Begin VB.CommandButton cmd\n      Left = 1000\n      Top = 500\n      Width = 1200\n"
    "      Height = 400\n      BeginProperty Font\n         Size = 12\n      EndProperty\n"
    "   End\n";

// The form is 4000 x 3000 twips; every case grows it to 6000 x 4500 (both ratios 1.5) with the
// button at (700, 300, 1000, 200) instead of its reference (1000, 500, 1200, 400), so that
// "kept" and "scaled" differ. Right gap 1800, bottom gap 2100 in the reference layout.
struct AxisCase {
  bool keepStart, keepSize, lockEnd;
  double start, size;
};
// Start, size, far edge: every combination, by hand from the lock table.
const std::array<AxisCase, 8> kHorizontal{{
    {false, false, false, 1500, 1800},
    {true, false, false, 700, 1800},
    {false, true, false, 1500, 1000},
    {true, true, false, 700, 1000},
    {false, false, true, 2400, 1800},  // hangs from 6000 - 1800
    {false, true, true, 3200, 1000},
    {true, false, true, 700, 3500},  // stretches to 4200
    {true, true, true, 700, 3500},
}};
const std::array<AxisCase, 8> kVertical{{
    {false, false, false, 750, 600},
    {true, false, false, 300, 600},
    {false, true, false, 750, 200},
    {true, true, false, 300, 200},
    {false, false, true, 1800, 600},  // hangs from 4500 - 2100
    {false, true, true, 2200, 200},
    {true, false, true, 300, 2100},
    {true, true, true, 300, 2100},
}};

class PlacementTest : public EngineTest {};

TEST_F(PlacementTest, EveryCombinationOfLocksOnBothAxes) {
  start(kButton);
  auto cmd = ctl("cmd");
  for (const AxisCase& h : kHorizontal)
    for (const AxisCase& v : kVertical) {
      auto& f = flags("cmd");
      f.DontScaleLeft = h.keepStart;
      f.DontScaleWidth = h.keepSize;
      f.DontScaleRight = h.lockEnd;
      f.DontScaleTop = v.keepStart;
      f.DontScaleHeight = v.keepSize;
      f.DontScaleBottom = v.lockEnd;
      cmd->call("Move", {Variant(700), Variant(300), Variant(1000), Variant(200)});
      resizeTo(6000, 4500);
      std::string which = "h" + std::to_string(&h - kHorizontal.data()) + " v" +
                          std::to_string(&v - kVertical.data());
      EXPECT_EQ(geometry("cmd"), (Doubles{h.start, v.start, h.size, v.size})) << which;
      // Fonts follow the ratio the control actually got, on its tighter axis.
      EXPECT_FLOAT_EQ(eng->FontScaleFactor,
                      static_cast<float>(std::min(h.size / 1200, v.size / 400)))
          << which;
      resizeTo(4000, 3000);
    }
}

TEST_F(PlacementTest, AControlInsideAFrameScalesWithTheFramesOuterSize) {
  start(
      "   Begin VB.Frame fra\n      Left = 200\n      Top = 200\n      Width = 2000\n"
      "      Height = 1500\n"
      "      Begin VB.CommandButton inner\n         Left = 100\n         Top = 300\n"
      "         Width = 800\n         Height = 400\n      End\n"
      "      Begin VB.CommandButton bottom\n         Left = 100\n         Top = 300\n"
      "         Width = 800\n         Height = 400\n      End\n   End\n");
  flags("bottom").DontScaleBottom = true;
  EXPECT_EQ(rec("inner").FormHeight, 1500);
  resizeTo(8000, 6000);
  EXPECT_EQ(geometry("fra"), (Doubles{400, 400, 4000, 3000}));
  EXPECT_EQ(geometry("inner"), (Doubles{200, 600, 1600, 800}));
  // The gap below it (1500 - 700) is kept in the frame's units, not scaled.
  EXPECT_EQ(geometry("bottom"), (Doubles{200, 3000 - 800 - 800, 1600, 800}));
}

TEST_F(PlacementTest, LinesKeepTheirDirectionAndFlatLinesKeepTheirBorder) {
  start(
      "   Begin VB.Line back\n      X1 = 3000\n      X2 = 1000\n      Y1 = 2500\n"
      "      Y2 = 500\n   End\n"
      "   Begin VB.Line flat\n      BorderWidth = 3\n      X1 = 3500\n      X2 = 500\n"
      "      Y1 = 1000\n      Y2 = 1000\n   End\n"
      "   Begin VB.Line upright\n      BorderWidth = 2\n      X1 = 2000\n      X2 = 2000\n"
      "      Y1 = 200\n      Y2 = 2200\n   End\n"
      "   Begin VB.Shape box\n      BorderWidth = 2\n      Left = 100\n      Top = 100\n"
      "      Width = 1000\n      Height = 1000\n   End\n");
  resizeTo(6000, 6000);  // 1.5 across, 2 down
  auto ends = [&](const char* key) {
    auto l = ctl(key);
    return Doubles{l->get("X1").toDouble(), l->get("X2").toDouble(), l->get("Y1").toDouble(),
                   l->get("Y2").toDouble()};
  };
  EXPECT_EQ(ends("back"), (Doubles{4500, 1500, 5000, 1000}));
  EXPECT_EQ(ends("flat"), (Doubles{5250, 750, 2000, 2000}));
  EXPECT_EQ(ends("upright"), (Doubles{3000, 3000, 400, 4400}));
  // A flat line has no height ratio: its border stays. An upright one follows its height.
  EXPECT_EQ(ctl("flat")->get("BorderWidth").toLong(), 3);
  EXPECT_EQ(ctl("upright")->get("BorderWidth").toLong(), 4);
  EXPECT_EQ(ctl("box")->get("BorderWidth").toLong(), 3);  // the tighter axis, 1.5
  resizeTo(4000, 3000);
  EXPECT_EQ(ends("back"), (Doubles{3000, 1000, 2500, 500}));
  EXPECT_EQ(ctl("upright")->get("BorderWidth").toLong(), 2);
}

// Page 1 is hidden: its button sits 75000 twips left of where it shows.
const char* kTabDialog =
    "   Begin TabDlg.SSTab tabs\n      Left = 100\n      Top = 100\n      Width = 3000\n"
    "      Height = 2000\n      Tabs = 2\n      TabsPerRow = 2\n"
    "      TabCaption(0) = \"One\"\n      Tab(0).Control(0)= \"shown\"\n"
    "      Tab(0).ControlCount= 1\n      TabCaption(1) = \"Two\"\n"
    "      Tab(1).Control(0)= \"hidden\"\n      Tab(1).ControlCount= 1\n"
    "      Begin VB.CommandButton shown\n         Left = 200\n         Top = 500\n"
    "         Width = 1000\n         Height = 300\n      End\n"
    "      Begin VB.CommandButton hidden\n         Left = -74800\n         Top = 500\n"
    "         Width = 1000\n         Height = 300\n      End\n   End\n";

TEST_F(PlacementTest, ControlsOnHiddenTabPagesArePlacedAsIfShownAndStayHidden) {
  start(kTabDialog).settings.SetupDone = true;
  EXPECT_EQ(rec("hidden").SpecialControlType, scaling::kOnTabPage);
  resizeTo(8000, 6000);
  EXPECT_EQ(geometry("tabs"), (Doubles{200, 200, 6000, 4000}));
  EXPECT_EQ(geometry("shown"), (Doubles{400, 1000, 2000, 600}));
  EXPECT_EQ(geometry("hidden"), (Doubles{400 - 75000, 1000, 2000, 600}));
  // The user turns the page between two passes: that is no move of the application's.
  ctl("tabs")->set("Tab", 1);
  EXPECT_EQ(ctl("hidden")->get("Left").toDouble(), 400);
  resizeTo(4000, 3000);
  EXPECT_EQ(geometry("hidden"), (Doubles{200, 500, 1000, 300}));
  EXPECT_EQ(geometry("shown"), (Doubles{200 - 75000, 500, 1000, 300}));
  ctl("tabs")->set("Tab", 0);
  EXPECT_EQ(geometry("shown"), (Doubles{200, 500, 1000, 300}));
}

TEST_F(PlacementTest, FontsScaleFromTheirReferenceOrReturnToIt) {
  start(std::string(kButton) +
        "   Begin VB.Label lbl\n      Left = 100\n      Top = 100\n      Width = 800\n"
        "      Height = 300\n      BeginProperty Font\n         Size = 12\n      EndProperty\n"
        "   End\n");
  flags("lbl").DontScaleFont = true;
  auto size = [&](const char* key) { return ctl(key)->get("Font").toObject()->get("Size"); };
  resizeTo(6000, 4500);
  EXPECT_EQ(size("cmd").toDouble(), 18);
  EXPECT_EQ(size("lbl").toDouble(), 12);
  // Grown on one axis only: the tighter ratio, 1, keeps the size.
  resizeTo(8000, 3000);
  EXPECT_EQ(size("cmd").toDouble(), 12);

  // Without font scaling, a size the application set is undone by the next placement...
  eng->settings.ScaleFonts = false;
  ctl("cmd")->get("Font").toObject()->set("Size", 20);
  resizeTo(6000, 4500);
  EXPECT_EQ(size("cmd").toDouble(), 12);
  // ...unless the application makes it the reference.
  ctl("cmd")->get("Font").toObject()->set("Size", 9);
  scaling::SaveControlInfo(eng->colControlInfo(), eng->engine, ctl("cmd"));
  resizeTo(4000, 3000);
  EXPECT_EQ(size("cmd").toDouble(), 9);
}

TEST_F(PlacementTest, CalendarFontsScaleEachFromItsOwnReference) {
  auto lf = runtime::loadForm(rt, std::filesystem::path(RESCALO_CORPUS_DIR) /
                                      "025-blaiseman-punch-clock-version-1-3-1__1-38216-"
                                      "frmCalendar.frm");
  form = keep.emplace_back(lf.form);
  eng = std::make_unique<TestEngine>(rt, form);
  eng->run();
  auto font = [&](const char* name) {
    return ctl("Calendar1")->get(name).toObject()->get("Size").toDouble();
  };
  double day = font("DayFont"), title = font("TitleFont");
  ASSERT_NE(day, title);
  resizeTo(form->clientWidthTwips() * 2, form->clientHeightTwips() * 2);
  EXPECT_EQ(font("DayFont"), day * 2);
  EXPECT_EQ(font("TitleFont"), title * 2);
}

TEST_F(PlacementTest, MovesTheApplicationMadeBetweenPassesAreKeptScaled) {
  start(kButton).settings.SetupDone = true;
  resizeTo(6000, 4500);
  auto cmd = ctl("cmd");
  // 300 twips right and wider, made at 1.5: 200 in the reference, 400 at twice the size.
  cmd->set("Left", 1500 + 300);
  cmd->set("Width", 1800 + 300);
  resizeTo(8000, 6000);
  EXPECT_EQ(geometry("cmd"), (Doubles{2400, 1000, 2800, 800}));
  resizeTo(4000, 3000);
  EXPECT_EQ(geometry("cmd"), (Doubles{1200, 500, 1400, 400}));
}

TEST_F(PlacementTest, ADropDownComboLosesItsSelectionAndAListComboKeepsIt) {
  start(
      "   Begin VB.ComboBox combo\n      Left = 100\n      Top = 100\n      Width = 1500\n"
      "      Style = 0\n      Text = \"chosen\"\n   End\n"
      "   Begin VB.ComboBox list\n      Left = 100\n      Top = 600\n      Width = 1500\n"
      "      Style = 2\n   End\n");
  ctl("combo")->set("SelLength", 4);
  ctl("list")->set("SelLength", 4);
  resizeTo(6000, 4500);
  EXPECT_EQ(ctl("combo")->get("SelLength").toLong(), 0);
  EXPECT_EQ(ctl("list")->get("SelLength").toLong(), 4);
  EXPECT_EQ(ctl("combo")->get("Width").toDouble(), 2250);
}

TEST_F(PlacementTest, AControlWithoutRecordsFailsWithTheCollectionsError) {
  start(kButton);
  TestEngine fresh(rt, form);
  EXPECT_EQ(testing_support::errorOf([&] { fresh.AdjustPosition(Variant(ctl("cmd"))); }), 5);
  EXPECT_EQ(testing_support::errorOf([&] { eng->AdjustPosition(Variant(nullptr)); }), 91);
}

}  // namespace
