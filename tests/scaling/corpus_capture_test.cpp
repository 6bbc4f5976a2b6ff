// The capture run on sample forms: what each kind of control is recorded as, against which
// basis, under which key, and what the probes answer for it.

#include "engine_fixture.h"
#include "runtime/loader.h"
#include "scaling/capture.h"

using namespace engine_test;
using scaling::ControlClass;
using Floats = std::vector<float>;

namespace {

class CorpusCaptureTest : public EngineTest {
 protected:
  void capture(const std::string& name) {
    auto lf = runtime::loadForm(rt, std::filesystem::path(RESCALO_CORPUS_DIR) / name);
    form = keep.emplace_back(lf.form);
    eng = std::make_unique<TestEngine>(rt, form);
    eng->run();
  }
  // Every control but the menus has its record, and so has the form.
  void expectEveryControlButMenusRecorded() {
    int expected = 1;
    for (const auto& c : form->controls) {
      bool menu = c->typeName() == "Menu";
      EXPECT_EQ(scaling::KeyExists(eng->colControlInfo(), c->key()), !menu) << c->key();
      EXPECT_EQ(scaling::KeyExists(eng->colControlFlags(), c->key()), !menu) << c->key();
      expected += menu ? 0 : 1;
    }
    EXPECT_EQ(eng->colControlInfo().count(), expected);
  }
};

TEST_F(CorpusCaptureTest, AUserScaledFormWithLinesAndAPictureBox) {
  capture("005-InkCalc-frmAbout.frm");
  expectEveryControlButMenusRecorded();
  // The basis of what sits on the form is its designed inner size in twips, whatever its unit.
  ControlClass& host = rec("frmAbout");
  EXPECT_EQ(host.SpecialControlType, scaling::kHostForm);
  EXPECT_FLOAT_EQ(host.FormWidth, 5730);
  EXPECT_FLOAT_EQ(host.FormHeight, 3555);
  // Its geometry is recorded in the form's units: the file's twips times 5380.766 / 5730.
  ControlClass& ok = rec("cmdOK");
  const double unit = 5380.766 / 5730;
  EXPECT_FLOAT_EQ(ok.Left, static_cast<float>(4245 * unit));
  EXPECT_FLOAT_EQ(ok.Width, static_cast<float>(1260 * unit));
  EXPECT_FLOAT_EQ(ok.FormWidth, 5730);
  ControlClass& line = rec("Line1(1)");
  EXPECT_EQ(line.SpecialControlType, scaling::kLineControl);
  EXPECT_FLOAT_EQ(line.X1, 84.515f);
  EXPECT_FLOAT_EQ(line.X2, 5309.398f);
  EXPECT_TRUE(scaling::IsPositionable(*ctl("Line1(1)")));
  EXPECT_TRUE(scaling::HasBorderWidth(*ctl("Line1(1)")));
  EXPECT_FALSE(scaling::HasScalableFont(*ctl("Line1(1)")));
  EXPECT_TRUE(scaling::HasGraphic(*ctl("picIcon")));
  EXPECT_FALSE(scaling::IsPositionable(*form));
}

TEST_F(CorpusCaptureTest, AnImageListAndTheTreeBoundToIt) {
  capture("018-cairo-vb6-fExplorer.frm");
  expectEveryControlButMenusRecorded();
  ControlClass& list = rec("ilDir");
  EXPECT_EQ(list.SpecialControlType, scaling::kImageListComponent);
  EXPECT_EQ(list.ImageListCount, 5);
  EXPECT_EQ((Floats{list.ImageListWidth, list.ImageListHeight}), (Floats{16, 16}));
  EXPECT_EQ(list.ImageListPicture.size(), 6);  // 1 ... 5, every one Nothing without a .frx
  ControlClass& tree = rec("tvDir");
  EXPECT_TRUE(tree.ControlHasImageList && tree.ControlHasNodes);
  EXPECT_FALSE(tree.ControlHasButtons || tree.ControlHasTabs || tree.ControlHasTwoImageLists);
  EXPECT_EQ(rec("Line1").X1, -1800);
  EXPECT_TRUE(scaling::HasGraphic(*ctl("ilDir")));
  EXPECT_TRUE(scaling::HasScalableFont(*ctl("tvDir")));
}

TEST_F(CorpusCaptureTest, TabPagesFramesAndControlArraysHaveTheirContainersAsBasis) {
  capture("022-sql-table-copy-via-rdo-from-one-odbc-connection-to-another__1-9468-frmOptions.frm");
  expectEveryControlButMenusRecorded();
  ControlClass& tabs = rec("SSTab1");
  EXPECT_EQ(tabs.SpecialControlType, scaling::kTabControl);
  EXPECT_FALSE(tabs.ControlHasTabs);
  EXPECT_NEAR(tabs.TabHeight, 520 * 1440.0 / 2540, 0.001);
  ControlClass& page = rec("Frame1");
  EXPECT_EQ(page.SpecialControlType, scaling::kOnTabPage);
  EXPECT_EQ((Floats{page.FormWidth, page.FormHeight}), (Floats{6135, 4335}));
  // Members of a control array are filed one by one; what they hold takes their outer size.
  ControlClass& box = rec("picOptions(3)");
  EXPECT_EQ(box.SpecialControlType, scaling::kOrdinaryControl);
  EXPECT_EQ(box.Left, -20000);
  EXPECT_EQ((Floats{rec("fraSample4").FormWidth, rec("fraSample4").FormHeight}),
            (Floats{5685, 3780}));

  capture("024-kwiki-software-kwikibilling__1-71779-frmCompanySetup.frm");
  expectEveryControlButMenusRecorded();
  ControlClass& hidden = rec("cmdSaveImage");
  EXPECT_EQ(hidden.SpecialControlType, scaling::kOnTabPage);
  EXPECT_EQ((Floats{hidden.Left, hidden.LastLeft, hidden.FormWidth}),
            (Floats{-69240, -69240, 8055}));
}

TEST_F(CorpusCaptureTest, AnMdiFormWithAToolbarItsImageListsAndMenus) {
  capture("028-VB6-frmMain.frm");
  expectEveryControlButMenusRecorded();
  // An MDI form is its own reference, at the size it has when captured.
  ControlClass& host = rec("frmMain");
  EXPECT_EQ(host.FormWidth, form->get("ScaleWidth").toSingle());
  EXPECT_EQ(host.FormHeight, form->get("ScaleHeight").toSingle());
  ControlClass& bar = rec("tbrObjects");
  EXPECT_TRUE(bar.ControlHasButtons && bar.ControlHasImageList);
  EXPECT_NEAR(bar.ButtonHeight, 1005 * 1440.0 / 2540, 0.001);
  EXPECT_NEAR(bar.ButtonWidth, 1032 * 1440.0 / 2540, 0.001);
  EXPECT_EQ(rec("imgList").ImageListCount, 2);

  capture("030-ttdxedit-frmMDI.frm");
  expectEveryControlButMenusRecorded();
  EXPECT_EQ(std::count_if(form->controls.begin(), form->controls.end(),
                          [](const auto& c) { return c->typeName() == "Menu"; }),
            74);
}

TEST_F(CorpusCaptureTest, EveryMemberOfALargeControlArrayHasItsOwnRecord) {
  capture("042-sylvain-robichaud-tape-manager-using-ntbackup__1-61181-frmCalendar.frm");
  expectEveryControlButMenusRecorded();
  for (int n = 0; n <= 41; ++n)
    EXPECT_TRUE(scaling::KeyExists(eng->colControlInfo(), "cmdDay(" + std::to_string(n) + ")"))
        << n;
  ControlClass& last = rec("cmdDay(41)");
  EXPECT_EQ((Floats{last.Left, last.Top, last.Width, last.Height}),
            (Floats{7080, 6960, 1095, 1095}));
  EXPECT_EQ(last.FormWidth, 8265);
}

}  // namespace
