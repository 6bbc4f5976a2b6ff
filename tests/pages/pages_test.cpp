#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include <rescalo/pages/flag_page.h>
#include <rescalo/pages/form_effects_page.h>
#include <rescalo/pages/general_page.h>
#include <rescalo/pages/pages.h>
#include <rescalo/pages/replace_fonts_page.h>
#include <rescalo/pages/scale_controls_page.h>
#include <rescalo/pages/standard_color_page.h>
#include <rescalo/scaling/capture.h>
#include "rescalo_support.h"

using namespace rescalo;

using host::Variant;
using namespace testing_support;

namespace {

// The edited control as the pages see it, with every property write recorded in order.
class Recorder : public host::Object {
 public:
  explicit Recorder(host::ObjectPtr target) : target_(std::move(target)) {}
  std::string_view typeName() const override { return target_->typeName(); }
  bool tryGet(host::Name n, host::Args i, Variant& out) override {
    return target_->tryGet(n, i, out);
  }
  bool trySet(host::Name n, host::Args i, const Variant& v) override {
    writes.push_back(std::string(n.text()) + (i.empty() ? "" : "(" + i[0].toString() + ")"));
    return target_->trySet(n, i, v);
  }
  std::vector<std::string> writes;

 private:
  host::ObjectPtr target_;
};

struct Site : host::ServicesPageSite {
  using ServicesPageSite::ServicesPageSite;
  std::vector<std::string> families;
  std::vector<std::string> fontFamilies() override { return families; }
};

class PagesTest : public RescaloTest {
 protected:
  PagesTest() : site(rt) {}

  // A design-time form with the given controls and a Rescalo holding the given properties.
  void open(const std::string& controls, const std::string& props = {}) {
    form = build(formText(controls + rescaloBlock(props)), false);
    edited = std::make_shared<Recorder>(obj(*form, "Rescalo1"));
  }
  template <class P>
  P& load(P& page) {
    page.SelectedControls = {edited};
    page.PropertyPage_SelectionChanged();
    return page;
  }
  control::Rescalo& rescalo() { return rescaloOf(*form); }
  std::vector<std::string> writesAfterApply(host::PropertyPage& page) {
    edited->writes.clear();
    page.PropertyPage_ApplyChanges();
    return edited->writes;
  }

  // A new page on the site, loaded from the edited control; it lasts as long as the test.
  template <class P, class... Args>
  P& loaded(const Args&... args) {
    return load(static_cast<P&>(*made.emplace_back(std::make_unique<P>(site, args...))));
  }

  Site site;
  std::shared_ptr<runtime::Form> form;
  std::shared_ptr<Recorder> edited;
  std::vector<std::unique_ptr<host::PropertyPage>> made;
};

// The flag records of every control of kControls, the form first, with these flags.
FlagRecords everyControl(std::map<std::string, std::set<std::string>> flags) {
  FlagRecords out;
  for (const char* key :
       {"Form1", "cmdOK", "Frame1", "Text1", "Line1", "Timer1", "mnuFile", "Rescalo1"})
    out.emplace_back(key, flags[key]);
  return out;
}

const std::string kControls =
    block("VB.CommandButton cmdOK", place(120, 240, 1215, 375) + "Picture = \"\"\n") +
    block("VB.Frame Frame1",
          place(120, 800, 2000, 1200) + block("VB.TextBox Text1", place(100, 200, 800, 300))) +
    block("VB.Line Line1", "BorderWidth = 2\nX1 = 100\nX2 = 900\nY1 = 50\nY2 = 50\n") +
    block("VB.Timer Timer1", "Interval = 100\nLeft = 10\nTop = 10\n") +
    block("VB.Menu mnuFile", "Caption = \"File\"\n");

TEST_F(PagesTest, GeneralLoadsEveryFieldAndAppliesAllTwentyThreeInItsOrder) {
  open("",
       "ScaleFonts = 0 'False\nStayOnTop = -1 'True\nScaleX = 40\nMinWidth = 1200\n"
       "GradientSource = 9\nGradientType = 1\nWindowName = \"Main\"\nMdiChildHeight = -5\n");
  auto& page = loaded<pages::GeneralPage>();
  EXPECT_EQ((std::vector<int>{page.chkScaleFonts.value(), page.chkStayOnTop.value(),
                              page.chkScaleControls.value()}),
            (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(page.txtScaleX.text() + "|" + page.txtMinWidth.text() + "|" +
                page.txtMdiChildHeight.text() + "|" + page.txtWindowName.text(),
            "40|1200|-5|Main");
  EXPECT_EQ(page.cmbSource.text(), "Outside");
  EXPECT_EQ(page.cmbType.text(), "Radial");
  EXPECT_EQ(page.cmbSource.items().size(), 10u);
  EXPECT_FALSE(page.Changed());  // filling the fields is no edit

  // Non-numbers become "0"; numbers are rounded half to even by the property; greyed is False.
  page.txtScaleX.perform("abc");
  EXPECT_TRUE(page.Changed());
  page.txtScaleY.perform("12.5");
  page.txtMinWidth.perform("");
  page.txtMaxWidth.perform("2.5");
  page.txtMaxHeight.perform("3.5");
  page.chkStayOnTop.setValue(host::CheckBox::Grayed);
  page.chkCenterX.perform("toggle");
  page.cmbSource.perform("Middle");
  EXPECT_EQ(
      writesAfterApply(page),
      (std::vector<std::string>{
          "WindowName",     "SaveWindowState", "ScaleGraphics",   "ScaleControls", "ScaleFonts",
          "ScaleBorders",   "GradientFill",    "ResizeOnMouseUp", "StayOnTop",     "ScaleY",
          "ScaleX",         "MinHeight",       "MinWidth",        "MaxHeight",     "MaxWidth",
          "MdiChildHeight", "MdiChildWidth",   "CenterY",         "CenterX",       "GradientSource",
          "GradientType",   "BeepOnMinMax",    "ResizeAtOnce"}));
  EXPECT_EQ(page.txtScaleX.text() + "|" + page.txtMinWidth.text() + "|" + page.txtScaleY.text(),
            "0|0|12.5");
  const control::Settings& s = rescalo().settings();
  EXPECT_EQ((std::vector<double>{double(s.ScaleX), double(s.ScaleY), double(s.MinWidth),
                                 double(s.MaxWidth), double(s.MaxHeight), double(s.MdiChildHeight),
                                 double(s.GradientSource), double(s.StayOnTop), double(s.CenterX),
                                 double(s.ScaleFonts)}),
            (std::vector<double>{0, 12, 0, 2, 4, -5, 8, 0, 1, 0}));

  // A later selection change does not reload: the shown values go to the new item 0.
  page.txtMinWidth.perform("700");
  page.SelectedControls = {obj(*form, "Rescalo1")};
  page.PropertyPage_SelectionChanged();
  EXPECT_EQ(page.txtMinWidth.text(), "700");

  // A fresh page shows what was applied.
  auto& again = loaded<pages::GeneralPage>();
  EXPECT_EQ(again.cmbSource.text(), "Middle");
  EXPECT_EQ(again.chkCenterX.value(), 1);
  EXPECT_EQ(again.txtMaxHeight.text(), "4");
}

TEST_F(PagesTest, GeneralApplyStopsAtAValueThePropertyRejects) {
  open("", "MinWidth = 10\n");
  auto& page = loaded<pages::GeneralPage>();
  page.txtScaleY.perform("7");
  page.txtScaleX.perform("40000");  // beyond 16 bits
  page.txtMinWidth.perform("500");
  EXPECT_EQ(errorOf([&] { page.PropertyPage_ApplyChanges(); }), host::kOverflow);
  EXPECT_EQ(rescalo().settings().ScaleY, 7);     // written before the failure
  EXPECT_EQ(rescalo().settings().MinWidth, 10);  // after it: not written
  EXPECT_EQ(edited->writes.back(), "ScaleX");

  // A stored source with no item fails the load; the next selection change loads in full.
  open("", "GradientSource = 12\n");
  pages::GeneralPage bad(site);
  bad.SelectedControls = {edited};
  EXPECT_EQ(errorOf([&] { bad.PropertyPage_SelectionChanged(); }), host::kInvalidPropertyValue);
  rescalo().set("GradientSource", Variant(std::int32_t(2)));
  bad.PropertyPage_SelectionChanged();
  EXPECT_EQ(bad.cmbSource.text(), "Right");
}

TEST_F(PagesTest, DurationBoxesHoldOnlyNumbersFromZeroToTen) {
  open("", "FormOpen = 7\nFormPicture = 3\nFormCloseTime = 0.5\n");
  auto& page = loaded<pages::FormEffectsPage>();
  EXPECT_EQ(page.cmbFormOpen.text() + "|" + page.cmbFormPicture.text() + "|" +
                page.txtFormOpenTime.text() + "|" + page.txtFormCloseTime.text(),
            "Fold|Tile in Form|1|0.5");
  EXPECT_EQ(page.cmbFormClose.items(), page.cmbFormOpen.items());
  EXPECT_EQ(page.cmbFormOpen.items()[5], "Wipe Vertical");
  EXPECT_FALSE(page.Changed());

  // Unchanged fields write the loaded values back.
  EXPECT_EQ(writesAfterApply(page),
            (std::vector<std::string>{"FormOpen", "FormClose", "FormPicture", "FormOpenTime",
                                      "FormCloseTime"}));
  EXPECT_EQ(rescalo().settings().FormCloseTime, 0.5f);
  EXPECT_EQ(rescalo().settings().FormOpen, 7);

  host::TextBox& t = page.txtFormOpenTime;
  auto typed = [&](const std::string& keys) {
    t.setText("");
    t.type(keys);
    return t.text();
  };
  EXPECT_EQ(typed("."), "0.");
  EXPECT_EQ(t.selStart(), 2);
  t.type("5");
  EXPECT_EQ(t.text(), "0.5");
  for (auto [keys, kept] :
       {std::pair{"-", "0"}, {"12", "10"}, {"10", "10"}, {"x", "0"}, {"2.75", "2.75"}})
    EXPECT_EQ(typed(keys), kept) << keys;
  EXPECT_TRUE(page.Changed());
  t.setText("");
  EXPECT_EQ(t.text(), "");  // empty until the box is left
  t.leave();
  EXPECT_EQ(t.text(), "0");

  page.txtFormCloseTime.perform("9.25");
  page.cmbFormClose.perform("Wipe Up");
  page.PropertyPage_ApplyChanges();
  EXPECT_EQ(numbers(rescalo(), {"FormCloseTime", "FormClose", "FormOpenTime"}),
            (std::vector<double>{9.25, 3, 0}));

  // An empty text still standing at apply fails the assignment.
  page.txtFormCloseTime.setText("");
  EXPECT_EQ(errorOf([&] { page.PropertyPage_ApplyChanges(); }), host::kTypeMismatch);
}

TEST_F(PagesTest, FontListIsSortedWithNoneAndMatchesTheStoredFaceExactly) {
  std::string longName(31, 'W');
  site.families = {"Zeta Sans", "arial", "DejaVu Serif", longName};
  open("", "ReplaceFontsWith = \"DejaVu Serif\"\n");
  auto& page = loaded<pages::ReplaceFontsPage>();
  EXPECT_EQ(page.List1.items(),
            (std::vector<std::string>{"<none>", "arial", "DejaVu Serif", longName, "Zeta Sans"}));
  EXPECT_EQ(page.List1.text(), "DejaVu Serif");
  page.List1.perform("arial");
  EXPECT_TRUE(page.Changed());
  page.PropertyPage_ApplyChanges();
  EXPECT_EQ(rescalo().settings().ReplaceFontsWith, "arial");

  // A name that differs only in case is not matched; applying then writes the empty text.
  open("", "ReplaceFontsWith = \"ARIAL\"\n");
  auto& other = loaded<pages::ReplaceFontsPage>();
  EXPECT_EQ(other.List1.listIndex(), -1);
  other.PropertyPage_ApplyChanges();
  EXPECT_EQ(rescalo().settings().ReplaceFontsWith, "");

  open("");
  EXPECT_EQ(loaded<pages::ReplaceFontsPage>().List1.text(), "<none>");
}

TEST_F(PagesTest, ColourPageWritesOnlyTheColoursThatWereChanged) {
  open("", "GradientColour2 = 255\n");
  auto& page = loaded<pages::StandardColorPage>();
  EXPECT_EQ(page.Color.value(), 0xFF0000);  // GradientColour, the first
  page.cmbProperty.perform("GradientColour2");
  EXPECT_EQ(page.Color.value(), 255);
  EXPECT_FALSE(page.Changed());
  page.Color.perform("#00FF00");
  EXPECT_EQ(writesAfterApply(page), std::vector<std::string>{"GradientColour2"});
  EXPECT_EQ(rescalo().settings().GradientColour2, 0x00FF00);
  EXPECT_THROW(page.Color.perform("green"), std::invalid_argument);
  EXPECT_EQ(page.Color.value(), 0x00FF00);
}

class ScaleControlsTest : public PagesTest {
 protected:
  // Stored entries: cmdOK excluded with its left locked, one for a control that is gone.
  void openStored() {
    open(kControls,
         "ControlFlagCount = 2\n1ControlFlagControlKey = \"cmdOK\"\n"
         "1ControlFlagDontScaleControl = -1\n1ControlFlagDontScaleLeft = -1\n"
         "1ControlFlagDontScaleFont = -1\n2ControlFlagControlKey = \"lblGone\"\n"
         "2ControlFlagDontScaleTop = -1\n2ControlFlagDontScaleFont = -1\n");
  }
  std::vector<int> locks(pages::ScaleControlsPage& p) {
    std::vector<int> v;
    for (auto* b : {&p.chkLockLeft, &p.chkLockTop, &p.chkLockWidth, &p.chkLockHeight,
                    &p.chkLockRight, &p.chkLockBottom})
      v.push_back(b->value());
    return v;
  }
};

TEST_F(ScaleControlsTest, ListsPositionableControlsAndBlanksEntriesOfControlsThatAreGone) {
  openStored();
  auto& page = loaded<pages::ScaleControlsPage>();
  // Sorted without regard to case; the form, the menu and the timer (no size) are not listed
  // but stay in the table.
  EXPECT_EQ(page.List1.items(),
            (std::vector<std::string>{"cmdOK", "Frame1", "Line1", "Rescalo1", "Text1"}));
  EXPECT_EQ(page.table().records().size(), 8u);
  EXPECT_TRUE(page.List1.checked(0));
  EXPECT_EQ(page.List1.text(), "cmdOK");
  EXPECT_EQ(locks(page), (std::vector<int>{1, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(page.chkLockTop.enabled());
  EXPECT_EQ(page.lblControlType.caption(), "CommandButton");
  EXPECT_EQ(page.lblScaleControls.caption(), "ScaleControls = True (Set on General Tab) ");
  EXPECT_EQ(page.lblScaleControls.foreColor, 65280);
  // The gone control's entry is blanked at once, its font flag (another page's) kept.
  EXPECT_EQ(flagRecords(rescalo()),
            (FlagRecords{{"cmdOK", {"DontScaleControl", "DontScaleFont", "DontScaleLeft"}},
                         {"", {"DontScaleFont"}}}));
  EXPECT_FALSE(page.Changed());

  page.List1.perform("Line1");
  EXPECT_EQ(page.chkLockLeft.caption() + "|" + page.chkLockBottom.caption(),
            "Lock X Left|Lock Y Bottom");
  EXPECT_FALSE(page.chkLockLeft.enabled());
  page.List1.perform("Text1");
  EXPECT_EQ(page.chkLockLeft.caption(), "Lock Left");

  // Applying writes every control of FormControls in its order, listed or not; the font page's
  // flags go with their keys: cmdOK's to its new place, not to the form's.
  rescalo().set("ScaleControls", Variant(false));
  page.PropertyPage_SelectionChanged();
  EXPECT_EQ(page.lblScaleControls.foreColor, 255);
  page.PropertyPage_ApplyChanges();
  EXPECT_EQ(flagRecords(rescalo()),
            everyControl({{"cmdOK", {"DontScaleControl", "DontScaleFont", "DontScaleLeft"}}}));
}

TEST_F(ScaleControlsTest, LockBoxesFollowTheItemAndAGroupKeepsOneDimensionFree) {
  openStored();
  auto& page = loaded<pages::ScaleControlsPage>();
  page.List1.clickCheck(page.List1.find("Text1"), true);
  EXPECT_EQ(locks(page), (std::vector<int>{1, 1, 1, 1, 0, 0}));
  EXPECT_TRUE(page.Changed());
  auto text1 = page.table().find("text1");
  EXPECT_TRUE(text1->DontScaleControl && text1->DontScaleHeight && !text1->DontScaleRight);

  // Left and Width locked: Right is refused with a beep.
  int beeps = rt.beeps;
  page.chkLockRight.perform("1");
  EXPECT_EQ(page.chkLockRight.value(), 0);
  EXPECT_EQ(rt.beeps, beeps + 1);
  EXPECT_FALSE(text1->DontScaleRight);
  page.chkLockWidth.perform("0");
  page.chkLockRight.perform("1");
  EXPECT_TRUE(text1->DontScaleRight && !text1->DontScaleWidth);

  // Unlocking every box unchecks the item 100 ms later, unless another item is shown first.
  for (auto* b : {&page.chkLockLeft, &page.chkLockTop, &page.chkLockHeight, &page.chkLockRight})
    b->perform("0");
  page.List1.perform("cmdOK");
  rt.advance(200);
  EXPECT_TRUE(page.List1.checked(page.List1.find("Text1")));
  page.List1.perform("Text1");
  page.chkLockLeft.perform("1");
  page.chkLockLeft.perform("0");
  rt.advance(50);
  EXPECT_TRUE(page.List1.checked(page.List1.listIndex()));
  rt.advance(100);
  EXPECT_FALSE(page.List1.checked(page.List1.listIndex()));
  EXPECT_FALSE(page.chkLockTop.enabled());
  EXPECT_FALSE(text1->DontScaleControl);

  page.cmdSelectAll.press();
  for (int i = 0; i < page.List1.count(); ++i) EXPECT_TRUE(page.List1.checked(i));
  for (const auto& rec : page.table().records())
    if (page.List1.find(rec->ControlKey) >= 0) {
      EXPECT_TRUE(rec->DontScaleTop && rec->DontScaleWidth && !rec->DontScaleRight &&
                  !rec->DontScaleBottom)
          << rec->ControlKey;
    }
  EXPECT_EQ(page.List1.listIndex(), 0);
  EXPECT_TRUE(page.chkLockLeft.enabled());
  page.cmdSelectNone.press();
  EXPECT_FALSE(page.table().find("cmdOK")->DontScaleLeft);
  EXPECT_FALSE(page.List1.checked(0));
}

TEST_F(ScaleControlsTest, FlagPagesListWhatTheirProbeAllowsAndWriteOnlyTheirFlag) {
  openStored();
  auto& borders = loaded<pages::FlagPage>(pages::kScaleBorders);
  auto& fonts = loaded<pages::FlagPage>(pages::kScaleFonts);
  auto& graphics = loaded<pages::FlagPage>(pages::kScaleGraphics);
  EXPECT_EQ(borders.List1.items(), std::vector<std::string>{"Line1"});
  EXPECT_EQ(fonts.List1.items(), (std::vector<std::string>{"cmdOK", "Frame1", "Text1"}));
  // The form has a Picture, so it is listed for its picture.
  EXPECT_EQ(graphics.List1.items(), (std::vector<std::string>{"cmdOK", "Form1"}));
  // Every listed control passes the probe and every record left out fails it.
  for (const auto& rec : borders.table().records())
    EXPECT_EQ(borders.List1.find(rec->ControlKey) >= 0, scaling::HasBorderWidth(*rec->Control));
  EXPECT_TRUE(fonts.List1.checked(0));
  EXPECT_EQ(fonts.lblScaleControls.caption(), "ScaleFonts = True (Set on General Tab) ");
  // Each page blanked the gone entry's key and its own flag only.
  EXPECT_EQ(flagRecords(rescalo()),
            (FlagRecords{{"cmdOK", {"DontScaleControl", "DontScaleFont", "DontScaleLeft"}},
                         {"", {"DontScaleTop"}}}));

  // Select All ends with no current item, and without one its checks mark nothing changed;
  // Select None leaves the current item.
  borders.cmdSelectAll.press();
  EXPECT_EQ(borders.List1.listIndex(), -1);
  EXPECT_FALSE(borders.Changed());
  borders.List1.perform("-Line1");
  EXPECT_EQ(borders.lblControlType.caption(), "Line");
  EXPECT_TRUE(borders.Changed());
  borders.List1.perform("+Line1");
  fonts.List1.perform("Text1");
  fonts.cmdSelectNone.press();
  EXPECT_EQ(fonts.List1.text(), "Text1");

  borders.PropertyPage_ApplyChanges();
  fonts.PropertyPage_ApplyChanges();
  // cmdOK is not listed for borders; not these pages' flags: cmdOK's moved with it, the gone
  // control's went with its key.
  EXPECT_EQ(flagRecords(rescalo()), everyControl({{"cmdOK", {"DontScaleControl", "DontScaleLeft"}},
                                                  {"Line1", {"DontScaleBorder"}}}));
}

TEST_F(ScaleControlsTest, EveryPageLeavesEveryFlagOnItsControlAfterAControlWasDeleted) {
  // Stored before lblGone, between cmdOK and Frame1, was deleted: flags of all four kinds.
  open(kControls,
       "ControlFlagCount = 9\n"
       "1ControlFlagControlKey = \"Form1\"\n1ControlFlagDontScaleGraphic = -1\n"
       "2ControlFlagControlKey = \"cmdOK\"\n2ControlFlagDontScaleControl = -1\n"
       "2ControlFlagDontScaleLeft = -1\n"
       "3ControlFlagControlKey = \"lblGone\"\n3ControlFlagDontScaleFont = -1\n"
       "3ControlFlagDontScaleBorder = -1\n"
       "4ControlFlagControlKey = \"Frame1\"\n4ControlFlagDontScaleFont = -1\n"
       "5ControlFlagControlKey = \"Text1\"\n"
       "6ControlFlagControlKey = \"Line1\"\n6ControlFlagDontScaleBorder = -1\n"
       "7ControlFlagControlKey = \"Timer1\"\n8ControlFlagControlKey = \"mnuFile\"\n"
       "9ControlFlagControlKey = \"Rescalo1\"\n");
  std::map<std::string, std::set<std::string>> want{
      {"Form1", {"DontScaleGraphic"}},
      {"cmdOK", {"DontScaleControl", "DontScaleLeft"}},
      {"Frame1", {"DontScaleFont"}},
      {"Line1", {"DontScaleBorder"}}};

  // The list edits made on a page, applied: the flag records they leave.
  auto applied = [&](auto& page, std::initializer_list<const char*> edits) {
    for (const char* edit : edits) page.List1.perform(edit);
    page.PropertyPage_ApplyChanges();
    return flagRecords(rescalo());
  };
  want["Text1"] = {"DontScaleControl", "DontScaleLeft", "DontScaleTop", "DontScaleWidth",
                   "DontScaleHeight"};
  EXPECT_EQ(applied(loaded<pages::ScaleControlsPage>(), {"+Text1"}), everyControl(want));
  want["Text1"].insert("DontScaleFont");
  EXPECT_EQ(applied(loaded<pages::FlagPage>(pages::kScaleFonts), {"+Text1"}), everyControl(want));
  want["cmdOK"].insert("DontScaleGraphic");
  EXPECT_EQ(applied(loaded<pages::FlagPage>(pages::kScaleGraphics), {"+cmdOK"}),
            everyControl(want));
  EXPECT_EQ(applied(loaded<pages::FlagPage>(pages::kScaleBorders), {"-Line1", "+Line1"}),
            everyControl(want));
}

}  // namespace
