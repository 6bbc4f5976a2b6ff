// The scaling engine: control records and the capture (keys and flag records, what each kind
// of control is recorded as and against which basis); placing controls (the lock flags on both
// axes, containers, lines, tab pages, fonts, the application's own moves); the resize pass over
// whole forms (when a run places and what it raises, what it skips, tab dialogs, image lists and
// the controls bound to them, toolbars, Reset, and the two ways a run is abandoned).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <rescalo/host/error_object.h>
#include <rescalo/host/failure.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/raster.h>
#include <rescalo/scaling/capture.h>
#include <rescalo/scaling/engine.h>
#include <rescalo/scaling/records.h>
#include "test_support.h"

using namespace rescalo;

using host::ObjectPtr;
using host::Variant;
using namespace scaling;
using namespace testing_support;
using Doubles = std::vector<double>;
using Floats = std::vector<float>;
using Strings = std::vector<std::string>;

namespace {

// An engine driven by hand over a runtime form: the tests choose its settings, run its passes
// at the sizes they want and read what it raised. No control, no timers: only the engine.
class TestEngine : public scaling::Engine {
 public:
  TestEngine(runtime::Runtime& rt, std::shared_ptr<runtime::Form> form)
      : rt_(rt), form_(std::move(form)) {
    surfaces_ = {rt.createPictureBox(), rt.createPictureBox()};
    formPic_ = rt.createPictureBox();
    settings.DesignFormScaleWidth = form_->get("ScaleWidth").toSingle();
    settings.DesignFormScaleHeight = form_->get("ScaleHeight").toSingle();
  }

  scaling::EngineSettings settings;
  // What the engine raised and asked for, in order: "ResizeStarted", "Lock(1)",
  // "Error:<description>:<number>"...
  std::vector<std::string> log;
  // Replace the control's Parent (which may fail) and its container's controls when set.
  std::function<ObjectPtr()> parent;
  std::function<ObjectPtr()> controls;
  bool unbound = false;  // no host form bound

  void run() { ResizeControls(form_); }

 protected:
  scaling::EngineSettings engineSettings() const override { return settings; }
  void raiseEngineEvent(std::string_view event, host::Args args) override {
    std::string line(event);
    if (event == "Error")
      line += ":" + args[0].toString() + ":" +
              std::to_string(args[1].toObject()->get("Number").toLong());
    log.push_back(line);
  }
  void lockUpdates(bool lock) override { log.push_back(lock ? "Lock(1)" : "Lock(0)"); }
  ObjectPtr engineParent() override { return parent ? parent() : form_; }
  ObjectPtr containerControls() override {
    return controls ? controls() : runtime::controlsOf(*form_, true);
  }
  ObjectPtr boundHost() const override { return unbound ? nullptr : form_; }
  host::Services& engineServices() const override { return rt_; }
  effects::WorkSurfaces& workSurfaces() override { return surfaces_; }
  ObjectPtr formPicHolder() override { return formPic_; }
  void runResizeHandling() override { run(); }

 private:
  runtime::Runtime& rt_;
  std::shared_ptr<runtime::Form> form_;
  effects::WorkSurfaces surfaces_;
  ObjectPtr formPic_;
};

class EngineTest : public RuntimeTest {
 protected:
  // The form of the given body, its engine, and the capture run made at the design size.
  TestEngine& start(const std::string& body, const std::function<void()>& beforeCapture = {}) {
    prepare(body);
    if (beforeCapture) beforeCapture();
    eng->run();
    return *eng;
  }
  // The form and an engine set up but not yet run.
  void prepare(const std::string& body) {
    form = build(formText(body));
    eng = std::make_unique<TestEngine>(rt, form);
  }
  // A placing run for an inner size in twips.
  void resizeTo(double w, double h) {
    form->setClientSize(w, h);
    eng->run();
  }
  ObjectPtr ctl(std::string_view key) { return obj(*form, key); }
  std::vector<double> geometry(std::string_view key) {
    return numbers(*ctl(key), {"Left", "Top", "Width", "Height"});
  }
  scaling::ControlClass& rec(std::string_view key) {
    auto r = scaling::findRecord<scaling::ControlClass>(eng->colControlInfo(), key);
    if (!r) throw std::runtime_error("no record " + std::string(key));
    return *r;
  }
  scaling::ControlFlags& flags(std::string_view key) {
    auto f = scaling::findRecord<scaling::ControlFlags>(eng->colControlFlags(), key);
    if (!f) throw std::runtime_error("no flags " + std::string(key));
    return *f;
  }

  std::shared_ptr<runtime::Form> form;
  std::unique_ptr<TestEngine> eng;
};

// A small picture of w x h pixels whose pixels all differ, so that any resampling shows.
ObjectPtr gradientPicture(int w, int h) {
  raster::Bitmap bm(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      bm.setPixel(x, y,
                  raster::rgb(x * 255 / std::max(1, w - 1), y * 255 / std::max(1, h - 1), 128));
  return runtime::makePicture(std::move(bm));
}

TEST(Records, WritesConvertArraysGrowOnWriteAndKeysFindOnlyRecords) {
  ControlClass rec;
  rec.set("SpecialControlType", Variant(2.5));
  EXPECT_EQ(rec.SpecialControlType, 2);  // half to even
  EXPECT_EQ(errorOf([&] { rec.set("Picture", Variant(5)); }), 424);

  EXPECT_EQ(errorOf([&] { rec.get("ButtonImage", {Variant(0)}); }), 9);
  rec.set("ButtonImage", Variant("open"), {Variant(5)});
  for (int n = 0; n < 5; ++n) EXPECT_TRUE(rec.ButtonImage.at(n).isEmpty()) << n;
  EXPECT_EQ(errorOf([&] { rec.get("ButtonImage", {Variant(6)}); }), 9);
  EXPECT_EQ(errorOf([&] { rec.set("ButtonImage", Variant(1), {Variant(-1)}); }), 9);
  rec.set("ButtonImage", Variant(3), {Variant(2)});  // keeps what is stored above
  EXPECT_EQ(rec.get("ButtonImage", {Variant(5)}).toString(), "open");
  // Never-written elements hold the element type's empty value.
  rec.set("ImageListKey", Variant(7), {Variant(2)});
  rec.set("TabPicture", Variant(host::ObjectPtr(std::make_shared<ControlClass>())), {Variant(1)});
  EXPECT_EQ(rec.get("ImageListKey", {Variant(2)}).type(), host::VarType::String);
  EXPECT_EQ(rec.get("ImageListKey", {Variant(1)}).toString(), "");
  EXPECT_TRUE(rec.get("TabPicture", {Variant(0)}).isNothing());

  host::Collection col;
  EXPECT_FALSE(KeyExists(col, "Text1"));
  col.add(Variant("not a record"), "Label1");
  col.add(Variant(host::ObjectPtr(std::make_shared<ControlClass>())), "Text1");
  EXPECT_FALSE(KeyExists(col, "Label1"));
  EXPECT_TRUE(KeyExists(col, "TEXT1"));
  EXPECT_FALSE(KeyExists(col, ""));
  EXPECT_NE(findRecord<ControlClass>(col, "text1"), nullptr);
  EXPECT_EQ(findRecord<ControlFlags>(col, "Text1"), nullptr);
  EXPECT_EQ(findRecord<ControlClass>(col, "Label1"), nullptr);
}

ObjectPtr picture() { return runtime::makePicture(raster::Bitmap(4, 4)); }

// A control of a class the runtime does not have, with the properties it is given; an indexed
// one is given as "TabPicture(0)".
class Fake : public host::Object {
 public:
  Fake(std::string type, std::string name) : type_(std::move(type)) { with("Name", name); }
  std::string_view typeName() const override { return type_; }
  Fake& with(std::string name, Variant v) {
    props_.emplace_back(std::move(name), std::move(v));
    return *this;
  }
  bool tryGet(host::Name name, host::Args index, Variant& out) override {
    std::string key(name.text());
    if (!index.empty()) key += "(" + index[0].toString() + ")";
    for (const auto& [n, v] : props_)
      if (host::equalsNoCase(n, key)) {
        out = v;
        return true;
      }
    return false;
  }

 private:
  std::string type_;
  std::vector<std::pair<std::string, Variant>> props_;
};

std::shared_ptr<Fake> fake(std::string type, std::string name) {
  return std::make_shared<Fake>(std::move(type), std::move(name));
}

const std::string kControls =
    block("VB.Frame Frame1",
          "Height = 1500\nWidth = 2000\n" + block("VB.TextBox Text1", "Left = 100\n")) +
    block("VB.CommandButton Command1", "Index = 3\n" + place(2400, 600, 1215, 375) +
                                           "BeginProperty Font\nSize = 12\nEndProperty\n") +
    block("VB.CommandButton Command1", "Index = 0\n") +
    block("VB.Line Line1", "BorderWidth = 3\nX1 = 100\nX2 = 3900\nY1 = 2000\nY2 = 2100\n") +
    block("VB.Shape Shape1", "BorderWidth = 2\n") + block("VB.Menu mnuFile");

// Capture into its own collections, against a form of 4000 x 3000 twips inside.
class CaptureTest : public RuntimeTest {
 protected:
  ControlClass& capture(const ObjectPtr& ctrl) {
    SaveControlInfo(info, state, ctrl);
    return *findRecord<ControlClass>(info, GetControlKey(ctrl));
  }
  EngineState state{4000, 3000};
  host::Collection info, flags;
  std::shared_ptr<runtime::Form> form = build(formText(kControls));
};

TEST_F(CaptureTest, GeometryAndBasisOfOrdinaryControlsLinesAndTheFormItself) {
  EXPECT_EQ(GetControlKey(nullptr), "");
  auto button = obj(*form, "Command1(3)");
  auto pic = picture();
  button->set("Picture", Variant(pic));
  ControlClass& b = capture(button);
  EXPECT_EQ(b.SpecialControlType, kOrdinaryControl);
  EXPECT_EQ((Floats{b.FormWidth, b.FormHeight}), (Floats{4000, 3000}));  // not the outer size
  EXPECT_EQ((Floats{b.Left, b.Top, b.Width, b.Height, b.LastLeft, b.LastTop, b.LastWidth,
                    b.LastHeight, b.FontSize}),
            (Floats{2400, 600, 1215, 375, 2400, 600, 1215, 375, 12}));
  EXPECT_EQ(b.Picture, pic);

  ControlClass& t = capture(obj(*form, "Text1"));
  EXPECT_EQ((Floats{t.FormWidth, t.FormHeight, t.Left}), (Floats{2000, 1500, 100}));

  ControlClass& line = capture(obj(*form, "Line1"));
  EXPECT_EQ(line.SpecialControlType, kLineControl);
  EXPECT_EQ((Floats{line.X1, line.X2, line.Y1, line.Y2, line.BorderWidth, line.Left, line.Width,
                    line.LastLeft, line.LastHeight}),
            (Floats{100, 3900, 2000, 2100, 3, 0, 0, 0, 0}));
  EXPECT_EQ(capture(obj(*form, "Shape1")).BorderWidth, 2);

  for (const char* cls : {"VB.Form", "VB.MDIForm"}) {
    info.clear();
    auto host = build(formText("", {}, cls));
    host->set("Picture", Variant(pic));
    ControlClass& f = capture(host);
    EXPECT_EQ(f.SpecialControlType, kHostForm) << cls;
    EXPECT_EQ((Floats{f.FormWidth, f.FormHeight, f.FontSize, f.Width}),
              (Floats{4000, 3000, 8.25f, 0}));
    EXPECT_EQ(f.Picture, pic);
  }
}

TEST_F(CaptureTest, TabControlsAndWhatSitsOnTheirPages) {
  auto tabs = build(formText(block(
      "TabDlg.SSTab SSTab1",
      "Height = 2500\nWidth = 3500\n" + block("VB.Line linPage") + block("TabDlg.SSTab SSTab2"))));
  EXPECT_EQ(capture(obj(*tabs, "linPage")).SpecialControlType, kLineControl);
  EXPECT_EQ(capture(obj(*tabs, "SSTab2")).SpecialControlType, kOnTabPage);

  std::vector<Variant> pics{Variant(picture()), Variant(nullptr), Variant(picture())};
  auto tab = fake("SSTab", "SSTab9");
  tab->with("Tabs", 3).with("TabHeight", 300).with("TabPicture(0)", pics[0]);
  tab->with("TabPicture(1)", pics[1]).with("TabPicture(2)", pics[2]);
  // Its pages are not a tab strip's tabs: the capability is neither set nor cleared.
  EXPECT_FALSE(capture(tab).ControlHasTabs);
  findRecord<ControlClass>(info, "SSTab9")->ControlHasTabs = true;
  ControlClass& r = capture(tab);
  EXPECT_TRUE(r.ControlHasTabs);
  EXPECT_EQ(r.SpecialControlType, kTabControl);
  EXPECT_EQ(r.TabHeight, 300);
  ASSERT_EQ(r.TabPicture.size(), 3);
  for (int n = 0; n < 3; ++n) EXPECT_EQ(Variant(r.TabPicture.at(n)), pics[n]);
}

TEST_F(CaptureTest, ImageListsAndControlsWithItemCollections) {
  auto images = std::make_shared<host::Collection>(host::kCommonControlErrors);
  for (int n = 1; n <= 3; ++n)
    images->add(Variant(ObjectPtr(fake("ListImage", "")
                                      ->with("Picture", picture())
                                      .with("Key", "k" + std::to_string(n))
                                      .with("Tag", n == 2 ? Variant() : Variant("t3"))
                                      .shared_from_this())));
  auto list = fake("ImageList", "ImageList1");
  list->with("ListImages", ObjectPtr(images)).with("ImageWidth", 16).with("ImageHeight", 24);
  ControlClass& r = capture(list->with("Left", 500).shared_from_this());
  EXPECT_EQ(r.SpecialControlType, kImageListComponent);
  EXPECT_EQ((Floats{r.ImageListWidth, r.ImageListHeight, r.Left}), (Floats{16, 24, 0}));
  ASSERT_EQ(r.ImageListCount, 3);
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(r.ImageListPicture.at(n), images->item(n).toObject()->get("Picture").toObject());
    EXPECT_EQ(r.ImageListKey.at(n), "k" + std::to_string(n));
  }
  EXPECT_EQ(r.ImageListTag.at(2) + r.ImageListTag.at(3), "t3");

  auto toolbar = fake("Toolbar", "Toolbar1");
  toolbar->with("Buttons", ObjectPtr(images)).with("ButtonWidth", 345).with("ButtonHeight", 330);
  ControlClass& tb = capture(toolbar->with("ImageList", nullptr).shared_from_this());
  EXPECT_TRUE(tb.ControlHasButtons && tb.ControlHasImageList);  // unbound still counts
  EXPECT_EQ((Floats{tb.ButtonWidth, tb.ButtonHeight}), (Floats{345, 330}));
  auto quill = fake("Quillmark", "Quill1");
  ControlClass& q = capture(
      quill->with("Buttons", ObjectPtr(images)).with("ButtonWidth", 345).shared_from_this());
  EXPECT_FALSE(q.ControlHasButtons);
  EXPECT_EQ(q.ButtonWidth, 0);

  auto listView = fake("ListView", "ListView1");
  ControlClass& lv = capture(listView->with("Icons", 1).with("SmallIcons", 1).shared_from_this());
  EXPECT_TRUE(lv.ControlHasTwoImageLists && !lv.ControlHasNodes && !lv.ControlHasTabs);
}

TEST_F(CaptureTest, CapturingAgainMakesThePresentStateTheReferenceAndKeepsTheRest) {
  auto button = obj(*form, "Command1(3)");
  ControlClass& first = capture(button);
  first.xScale = 1.5f;
  first.ButtonImage.store(2, Variant("save"));
  auto newPic = picture();
  button->set("Picture", Variant(newPic));
  button->call("Move", {Variant(100), Variant(200), Variant(800), Variant(400)});
  state = {6000, 4500};
  ControlClass& again = capture(button);
  EXPECT_EQ(&again, &first);
  EXPECT_EQ(again.Picture, newPic);
  EXPECT_EQ((Floats{again.Left, again.LastWidth, again.FormWidth, again.FormHeight, again.xScale}),
            (Floats{100, 800, 6000, 4500, 1.5f}));
  EXPECT_EQ(again.ButtonImage.at(2).toString(), "save");
}

TEST_F(CaptureTest, RecordsAreFiledOnlyUnderRealKeysAndFlagsAreNeverReset) {
  EXPECT_EQ(errorOf([&] { SaveControlInfo(info, state, nullptr); }), 91);
  EXPECT_EQ(errorOf([&] { SaveControlInfo(info, state, std::make_shared<host::Collection>()); }),
            438);  // no Name
  EXPECT_EQ(info.count(), 0);

  SaveControlFlags(flags, Variant(obj(*form, "Command1(3)")));
  findRecord<ControlFlags>(flags, "Command1(3)")->DontScaleFont = true;
  SaveControlFlags(flags, Variant(obj(*form, "Command1(3)")));
  SaveControlFlags(flags, Variant("COMMAND1(3)"));
  EXPECT_TRUE(findRecord<ControlFlags>(flags, "command1(3)")->DontScaleFont);
  SaveControlFlags(flags, Variant(std::int16_t{7}));
  SaveControlFlags(flags, Variant(""));
  SaveControlFlags(flags, Variant(nullptr));
  EXPECT_EQ(flags.count(), 2);
  EXPECT_NE(findRecord<ControlFlags>(flags, "7"), nullptr);
  EXPECT_EQ(errorOf([&] { SaveControlFlags(flags, Variant::null()); }), 94);
  EXPECT_EQ(errorOf([&] { SaveControlInfo(flags, state, fake("TextBox", "Command1(3)")); }), 13);
}

TEST_F(CaptureTest, ProbesAnswerFromWhatTheControlCanRead) {
  auto line = obj(*form, "Line1");
  EXPECT_TRUE(IsPositionable(*line) && !IsPositionable(*form) && !HasScalableFont(*line));
  EXPECT_FALSE(IsPositionable(fake("Odd", "Odd1")->with("X1", 0).with("X2", 0).with("Y1", 0)));
  EXPECT_TRUE(HasGraphic(*obj(*form, "Command1(0)")));  // holding Nothing, but readable
  EXPECT_TRUE(HasGraphic(*fake("ImageList", "I")) && !HasGraphic(*line));
  EXPECT_TRUE(HasBorderWidth(*line) && !HasBorderWidth(*obj(*form, "Text1")));
  EXPECT_TRUE(HasScalableFont(*obj(*form, "Text1")) && !HasScalableFont(*form));
  EXPECT_FALSE(HasScalableFont(fake("Calendar", "Cal")
                                   ->with("HeadFont", ObjectPtr(std::make_shared<runtime::Font>()))
                                   .with("Font", nullptr)));
}

const std::string kFont12 = "BeginProperty Font\nSize = 12\nEndProperty\n";
const std::string kFontButton =
    block("VB.CommandButton cmd", place(1000, 500, 1200, 400) + kFont12);

class PlacementTest : public EngineTest {};

TEST_F(PlacementTest, LinesKeepTheirDirectionAndFlatLinesKeepTheirBorder) {
  start(block("VB.Line back", "X1 = 3000\nX2 = 1000\nY1 = 2500\nY2 = 500\n") +
        block("VB.Line flat", "BorderWidth = 3\nX1 = 3500\nX2 = 500\nY1 = 1000\nY2 = 1000\n") +
        block("VB.Line upright", "BorderWidth = 2\nX1 = 2000\nX2 = 2000\nY1 = 200\nY2 = 2200\n") +
        block("VB.Shape box", "BorderWidth = 2\n" + place(100, 100, 1000, 1000)));
  resizeTo(6000, 6000);  // 1.5 across, 2 down
  auto ends = [&](const char* key) { return numbers(*ctl(key), {"X1", "X2", "Y1", "Y2"}); };
  auto border = [&](const char* key) { return ctl(key)->get("BorderWidth").toDouble(); };
  EXPECT_EQ(ends("back"), (Doubles{4500, 1500, 5000, 1000}));
  EXPECT_EQ(ends("flat"), (Doubles{5250, 750, 2000, 2000}));
  EXPECT_EQ(ends("upright"), (Doubles{3000, 3000, 400, 4400}));
  // A flat line has no height ratio: its border stays. An upright one follows its height.
  // The box takes the tighter axis, 1.5.
  EXPECT_EQ((Doubles{border("flat"), border("upright"), border("box")}), (Doubles{3, 4, 3}));
  resizeTo(4000, 3000);
  EXPECT_EQ(ends("back"), (Doubles{3000, 1000, 2500, 500}));
  EXPECT_EQ(border("upright"), 2);
}

// Page 1 is hidden: its button sits 75000 twips left of where it shows.
const std::string kTabDialog =
    block("TabDlg.SSTab tabs",
          place(100, 100, 3000, 2000) +
              "Tabs = 2\nTabsPerRow = 2\nTabCaption(0) = \"One\"\nTab(0).Control(0)= \"shown\"\n"
              "Tab(0).ControlCount= 1\nTabCaption(1) = \"Two\"\nTab(1).Control(0)= \"hidden\"\n"
              "Tab(1).ControlCount= 1\n" +
              block("VB.CommandButton shown", place(200, 500, 1000, 300)) +
              block("VB.CommandButton hidden", place(-74800, 500, 1000, 300)));

TEST_F(PlacementTest, ControlsOnHiddenTabPagesArePlacedAsIfShownAndStayHidden) {
  start(kTabDialog).settings.SetupDone = true;
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
  start(kFontButton + block("VB.Label lbl", place(100, 100, 800, 300) + kFont12));
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

TEST_F(PlacementTest, CalendarFontsAreCapturedAndScaledEachFromItsOwnReference) {
  form = load(examplesDir() / "every-control.frm").form;
  (eng = std::make_unique<TestEngine>(rt, form))->run();
  scaling::ControlClass& r = rec("calDate");
  EXPECT_EQ((std::vector<float>{r.DayFontSize, r.GridFontSize, r.TitleFontSize, r.HeadFontSize,
                                r.FontSize}),
            (std::vector<float>{8.25f, 8.25f, 12, 0, 0}));
  resizeTo(form->clientWidthTwips() * 2, form->clientHeightTwips() * 2);
  auto calendar = ctl("calDate");
  for (auto [font, size] : {std::pair{"DayFont", 16.5}, {"GridFont", 16.5}, {"TitleFont", 24.0}})
    EXPECT_EQ(calendar->get(font).toObject()->get("Size").toDouble(), size) << font;
}

TEST_F(PlacementTest, MovesTheApplicationMadeAreKeptScaledAndUnrecordedControlsFail) {
  start(kFontButton).settings.SetupDone = true;
  resizeTo(6000, 4500);
  auto cmd = ctl("cmd");
  // 300 twips right and wider, made at 1.5: 200 in the reference, 400 at twice the size.
  cmd->set("Left", 1500 + 300);
  cmd->set("Width", 1800 + 300);
  resizeTo(8000, 6000);
  EXPECT_EQ(geometry("cmd"), (Doubles{2400, 1000, 2800, 800}));
  resizeTo(4000, 3000);
  EXPECT_EQ(geometry("cmd"), (Doubles{1200, 500, 1400, 400}));
  // An engine that recorded nothing fails with the collection's error.
  TestEngine fresh(rt, form);
  EXPECT_EQ(errorOf([&] { fresh.AdjustPosition(Variant(ctl("cmd"))); }), 5);
  EXPECT_EQ(errorOf([&] { eng->AdjustPosition(Variant(nullptr)); }), 91);
}

TEST_F(PlacementTest, ADropDownComboLosesItsSelectionAndAListComboKeepsIt) {
  start(block("VB.ComboBox combo",
              "Left = 100\nTop = 100\nWidth = 1500\nStyle = 0\nText = \"chosen\"\n") +
        block("VB.ComboBox list", "Left = 100\nTop = 600\nWidth = 1500\nStyle = 2\n"));
  for (const char* key : {"combo", "list"}) ctl(key)->set("SelLength", 4);
  resizeTo(6000, 4500);
  EXPECT_EQ(numbers(*ctl("combo"), {"SelLength", "Width"}), (Doubles{0, 2250}));
  EXPECT_EQ(ctl("list")->get("SelLength").toLong(), 4);
}

const std::string kButton = block("VB.CommandButton cmd", place(1000, 500, 1200, 400));

class ResizePassTest : public EngineTest {
 protected:
  const raster::Bitmap& bitmap(const ObjectPtr& obj, host::Name property, Variant index = {}) {
    Variant v = index.isEmpty() ? obj->get(property) : obj->get(property, {index});
    const raster::Bitmap* bm = runtime::bitmapOf(v);
    if (!bm) throw std::runtime_error("no picture");
    return *bm;
  }
  static ObjectPtr item(const ObjectPtr& ctrl, host::Name collection, Variant index) {
    return ctrl->get(collection).toObject()->get("Item", {index}).toObject();
  }
  Doubles lastSize() { return {eng->engine.LastFormWidth, eng->engine.LastFormHeight}; }
};

TEST_F(ResizePassTest, TheFirstRunCapturesTheDesignedLayoutWhateverTheFormsSize) {
  prepare(kButton);
  eng->settings.SetupDone = true;
  form->setClientSize(6000, 4500);  // loaded larger than designed
  eng->run();
  EXPECT_TRUE(eng->log.empty());  // no event, no redraw lock
  EXPECT_EQ(lastSize(), (Doubles{4000, 3000}));
  EXPECT_EQ(geometry("cmd"), (Doubles{1000, 500, 1200, 400}));  // nothing placed yet

  eng->run();
  EXPECT_EQ(geometry("cmd"), (Doubles{1500, 750, 1800, 600}));
  EXPECT_EQ(eng->log, (Strings{"ResizeStarted", "Lock(1)", "Lock(0)", "ResizeDone"}));

  // The same size again: the run is announced and changes nothing, not even a control the
  // application has moved meanwhile.
  eng->log.clear();
  ctl("cmd")->set("Left", 10);
  eng->run();
  EXPECT_EQ(eng->log, (Strings{"ResizeStarted", "ResizeDone", "Lock(0)"}));
  EXPECT_EQ(geometry("cmd"), (Doubles{10, 750, 1800, 600}));

  // Before the set-up is done a run raises nothing and never locks the window; it only lets
  // go of the lock when it has nothing to do.
  eng->settings.SetupDone = false;
  eng->log.clear();
  resizeTo(4000, 3000);
  EXPECT_TRUE(eng->log.empty());
  EXPECT_EQ(geometry("cmd"), (Doubles{1000, 500, 1200, 400}));
  eng->run();
  EXPECT_EQ(eng->log, (Strings{"Lock(0)"}));

  // A flipped axis: a negative design height and negative sizes, and back to the design.
  form = build(formText(kButton, "ScaleMode = 0\nScaleWidth = 4000\nScaleHeight = -3000\n"));
  eng = std::make_unique<TestEngine>(rt, form);
  form->setClientSize(4000, 6000);
  eng->run();
  EXPECT_EQ(lastSize(), (Doubles{4000, 3000}));
  eng->run();
  EXPECT_EQ(geometry("cmd"), (Doubles{1000, -1000, 1200, -800}));
  resizeTo(4000, 3000);
  EXPECT_EQ(geometry("cmd"), (Doubles{1000, -500, 1200, -400}));
}

TEST_F(ResizePassTest, MenusAndNoResizeNamesAreNeverCapturedOrMoved) {
  start(block("VB.CommandButton NORESIZEOk", place(100, 100, 900, 300)) +
        block("VB.Label NoReSiZe1", place(100, 500, 900, 300)) +
        block("VB.CommandButton NoResiz1", place(100, 900, 900, 300)) +
        block("VB.Menu mnuFile",
              "Caption = \"File\"\n" + block("VB.Menu mnuNoResizeExit", "Caption = \"Exit\"\n")));
  resizeTo(8000, 6000);
  EXPECT_EQ(geometry("NORESIZEOk"), (Doubles{100, 100, 900, 300}));
  EXPECT_EQ(geometry("NoReSiZe1"), (Doubles{100, 500, 900, 300}));
  EXPECT_EQ(geometry("NoResiz1"), (Doubles{200, 1800, 1800, 600}));
  for (const char* key : {"NORESIZEOk", "NoReSiZe1", "mnuFile", "mnuNoResizeExit"}) {
    EXPECT_FALSE(scaling::KeyExists(eng->colControlInfo(), key)) << key;
    EXPECT_FALSE(scaling::KeyExists(eng->colControlFlags(), key)) << key;
  }
}

TEST_F(ResizePassTest, AControlAddedAtRunTimeIsCapturedAgainstTheLastSizeAndPlaced) {
  start(block("VB.CommandButton cmd", "Index = 0\n" + place(1000, 500, 1200, 400)));
  resizeTo(6000, 4500);
  // The application loads cmd(1) at 6000 x 4500.
  auto added = runtime::createControl("VB.CommandButton");
  added->rename("cmd", 1);
  form->add(added, *form);
  added->move(600, 600, 900, 300);
  resizeTo(9000, 6750);
  EXPECT_EQ(rec("cmd(1)").FormWidth, 6000);
  EXPECT_EQ(geometry("cmd(1)"), (Doubles{900, 900, 1350, 450}));
  EXPECT_EQ(geometry("cmd(0)"), (Doubles{2250, 1125, 2700, 900}));
  resizeTo(4000, 3000);
  EXPECT_EQ(geometry("cmd(1)"), (Doubles{400, 400, 600, 200}));
}

TEST_F(ResizePassTest, ARunAtZeroHeightKeepsTheLastRealHeightForTheNext) {
  start(kButton);
  resizeTo(6000, 0);
  EXPECT_EQ(geometry("cmd"), (Doubles{1500, 0, 1800, 0}));
  EXPECT_EQ(lastSize(), (Doubles{6000, 3000}));
  resizeTo(6000, 4500);
  EXPECT_EQ(geometry("cmd"), (Doubles{1500, 750, 1800, 600}));
  EXPECT_EQ(lastSize(), (Doubles{6000, 4500}));
}

const std::string kTabDialogs =
    block("TabDlg.SSTab top", place(0, 0, 3050, 1500) + "Tabs = 3\nTabsPerRow = 3\n") +
    block("TabDlg.SSTab side", place(0, 1500, 2000, 1500) + "TabOrientation = 2\n") +
    block("TabDlg.SSTab fixed", place(3100, 0, 900, 1500));

TEST_F(ResizePassTest, TabDialogsSizeTheirTabsAndRescaleTheirTabPictures) {
  auto picture = gradientPicture(20, 10);
  start(kTabDialogs, [&] {
    ctl("top")->set("TabHeight", 300);
    ctl("side")->set("TabHeight", 400);
    ctl("fixed")->set("TabMaxWidth", 500);
    ctl("top")->set("TabPicture", Variant(picture), {Variant(1)});
  });
  flags("fixed").DontScaleWidth = flags("fixed").DontScaleHeight = true;
  resizeTo(8000, 6000);
  auto top = ctl("top");
  const std::initializer_list<const char*> tab{"TabHeight", "TabMaxWidth"};
  EXPECT_EQ(numbers(*top, {"Width", "TabHeight", "TabMaxWidth"}), (Doubles{6100, 600, 2033}));
  EXPECT_EQ(numbers(*ctl("side"), tab), (Doubles{800, 0}));  // follows the width
  EXPECT_EQ(numbers(*ctl("fixed"), tab), (Doubles{300, 0}));
  const raster::Bitmap& scaled = bitmap(top, "TabPicture", Variant(1));
  EXPECT_EQ((std::vector<int>{scaled.width(), scaled.height()}), (std::vector<int>{40, 20}));
  resizeTo(4000, 3000);
  EXPECT_EQ(bitmap(top, "TabPicture", Variant(1)), *runtime::bitmapOf(Variant(picture)));
  EXPECT_EQ(top->get("TabHeight").toDouble(), 300);
}

// Two lists whose images are rebuilt, and one flagged to keep its images; a toolbar, trees and
// a list view bound to them.
const std::string kImageForm =
    block("MSComctlLib.ImageList il", "ImageWidth = 16\nImageHeight = 16\n") +
    block("MSComctlLib.ImageList small", "ImageWidth = 8\nImageHeight = 8\n") +
    block("MSComctlLib.ImageList keep", "ImageWidth = 16\nImageHeight = 16\n") +
    block("MSComctlLib.Toolbar tb", "Left = 0\nTop = 0\nWidth = 4000\n") +
    block("MSComctlLib.TreeView tv", place(0, 700, 2000, 2000)) +
    block("MSComctlLib.TreeView tvKeep", place(2000, 700, 2000, 1000)) +
    block("MSComctlLib.ListView lv", place(2000, 1700, 2000, 1000));

// Binds the controls of kImageForm to their lists (a bound list takes no new images); the
// toolbar shows the one list for its disabled and hot buttons too.
const char* const kToolbarLists[] = {"ImageList", "DisabledImageList", "HotImageList"};
void bindImageForm(const std::function<ObjectPtr(std::string_view)>& ctl) {
  for (const char* list : kToolbarLists) ctl("tb")->set(list, Variant(ctl("il")));
  ctl("tv")->set("ImageList", Variant(ctl("il")));
  ctl("tvKeep")->set("ImageList", Variant(ctl("keep")));
  ctl("lv")->set("Icons", Variant(ctl("il")));
  ctl("lv")->set("SmallIcons", Variant(ctl("small")));
}

TEST_F(ResizePassTest, ImageListsAreRebuiltAtTheScaledSizeAndTheirControlsBoundAgain) {
  std::vector<ObjectPtr> pictures{gradientPicture(16, 16), gradientPicture(16, 16)};
  start(kImageForm, [&] {
    auto add = [&](const char* list, const char* key, const ObjectPtr& pic, const char* tag) {
      auto images = ctl(list)->get("ListImages").toObject();
      images->call("Add", {Variant(), key, pic}).toObject()->set("Tag", tag);
    };
    add("il", "a", pictures[0], "first");
    add("il", "b", pictures[1], "");
    add("small", "s", gradientPicture(8, 8), "");
    add("keep", "k", pictures[0], "");
    bindImageForm([&](std::string_view k) { return ctl(k); });
    auto buttons = ctl("tb")->get("Buttons").toObject();
    buttons->call("Add", {Variant(), "one", "One", Variant(), Variant(2)});
    buttons->call("Add", {Variant(), "two", "Two", Variant(), Variant("a")});
    ctl("tv")->get("Nodes").toObject()->call("Add",
                                             {Variant(), Variant(), "n", "Node", Variant("b")});
    ctl("tvKeep")->get("Nodes").toObject()->call("Add",
                                                 {Variant(), Variant(), "m", "M", Variant(1)});
    ctl("lv")->get("ListItems").toObject()->call("Add", {Variant(), "i", "Item", Variant(2), "s"});
  });
  flags("keep").DontScaleGraphic = true;
  auto keptImage = item(ctl("keep"), "ListImages", Variant(1))->get("Picture");

  // Half-way through the run (the toolbar's height loop lets pending work run): the lists
  // that are rebuilt have been let go of, the kept one never is.
  Strings midRun;
  rt.post([&] {
    midRun.push_back(ctl("tv")->get("ImageList").isNothing() ? "tv free" : "tv bound");
    midRun.push_back(ctl("tvKeep")->get("ImageList").isNothing() ? "kept free" : "kept bound");
  });
  resizeTo(8000, 6000);
  EXPECT_EQ(midRun, (Strings{"tv free", "kept bound"}));
  EXPECT_TRUE(std::none_of(eng->log.begin(), eng->log.end(),
                           [](const std::string& l) { return l.starts_with("Error"); }));

  auto il = ctl("il");
  EXPECT_EQ((Doubles{il->get("ImageWidth").toDouble(), il->get("ImageHeight").toDouble(),
                     ctl("small")->get("ImageWidth").toDouble()}),
            (Doubles{32, 32, 16}));
  ASSERT_EQ(il->get("ListImages").toObject()->get("Count").toLong(), 2);
  EXPECT_EQ(item(il, "ListImages", Variant("a"))->get("Tag").toString(), "first");
  EXPECT_EQ(item(il, "ListImages", Variant(2))->get("Key").toString(), "b");
  EXPECT_EQ(bitmap(item(il, "ListImages", Variant(2)), "Picture").width(), 32);
  // Every control is bound again and shows the images it showed.
  for (const char* list : kToolbarLists) EXPECT_EQ(ctl("tb")->get(list).toObject(), il) << list;
  EXPECT_EQ(item(ctl("tb"), "Buttons", Variant(1))->get("Image").toLong(), 2);
  EXPECT_EQ(item(ctl("tb"), "Buttons", Variant(2))->get("Image").toString(), "a");
  EXPECT_EQ(ctl("tv")->get("ImageList").toObject(), il);
  EXPECT_EQ(item(ctl("tv"), "Nodes", Variant(1))->get("Image").toString(), "b");
  EXPECT_EQ(ctl("lv")->get("Icons").toObject(), il);
  EXPECT_EQ(ctl("lv")->get("SmallIcons").toObject(), ctl("small"));
  EXPECT_EQ(item(ctl("lv"), "ListItems", Variant(1))->get("Icon").toLong(), 2);
  EXPECT_EQ(item(ctl("lv"), "ListItems", Variant(1))->get("SmallIcon").toString(), "s");
  // The kept list is as it was, and still bound.
  EXPECT_EQ(ctl("keep")->get("ImageWidth").toLong(), 16);
  EXPECT_EQ(item(ctl("keep"), "ListImages", Variant(1))->get("Picture"), keptImage);
  EXPECT_EQ(ctl("tvKeep")->get("ImageList").toObject(), ctl("keep"));

  // Rebuilt from the captured pictures: back at the designed size they are the pictures the
  // list was given.
  resizeTo(4000, 3000);
  EXPECT_EQ(il->get("ImageWidth").toLong(), 16);
  EXPECT_EQ(bitmap(item(il, "ListImages", Variant(1)), "Picture"),
            *runtime::bitmapOf(Variant(pictures[0])));
}

TEST_F(ResizePassTest, ToolbarButtonsScaleAndTheToolbarIsGrownTowardsItsScaledHeight) {
  start(block("MSComctlLib.Toolbar tb",
              "Left = 0\nTop = 0\nWidth = 4000\nButtonWidth = 1032\nButtonHeight = 953\n"));
  auto tb = ctl("tb");
  scaling::ControlClass& r = rec("tb");
  const float captured = r.ButtonHeight;
  EXPECT_EQ(tb->get("Height").toDouble(), 600);  // 36 pixels of buttons and 4 of frame
  resizeTo(6000, 6000);
  // Buttons are whole pixels: 1032 HIMETRIC is 585.07 twips, 877.6 at 1.5, 59 pixels.
  EXPECT_EQ(tb->get("ButtonWidth").toDouble(), 59 * 15);
  // 540 x 2 is 72 pixels of buttons, a toolbar of 76, short of 80 (600 x 2): the loop grows
  // the buttons 8 twips (one pixel) at a time, watching the toolbar follow after each step,
  // and leaves the reference as captured: the next pass grows them from there again.
  EXPECT_EQ(numbers(*tb, {"Height", "ButtonHeight"}), (Doubles{80 * 15, 76 * 15}));
  EXPECT_EQ(r.ButtonHeight, captured);

  // A toolbar flagged to keep its height keeps its buttons' height.
  flags("tb").DontScaleHeight = true;
  resizeTo(3000, 2000);
  EXPECT_EQ(numbers(*tb, {"ButtonHeight", "ButtonWidth"}), (Doubles{76 * 15, 29 * 15}));  // 438.8
}

TEST_F(ResizePassTest, WithoutGraphicScalingPicturesAndListsAreLeftAloneButButtonsScale) {
  auto picture = gradientPicture(10, 10);
  start(kTabDialogs + kImageForm + block("VB.PictureBox pic", place(0, 2500, 600, 400)), [&] {
    ctl("pic")->set("Picture", Variant(picture));
    ctl("top")->set("TabPicture", Variant(picture), {Variant(0)});
    ctl("il")->get("ListImages").toObject()->call("Add", {Variant(), "a", picture});
    bindImageForm([&](std::string_view k) { return ctl(k); });
  });
  eng->settings.ScaleGraphics = false;
  auto image = item(ctl("il"), "ListImages", Variant(1))->get("Picture");
  double buttonHeight = ctl("tb")->get("ButtonHeight").toDouble();
  resizeTo(8000, 6000);
  EXPECT_EQ(ctl("pic")->get("Picture").toObject(), picture);
  EXPECT_EQ(ctl("pic")->get("Width").toDouble(), 1200);
  EXPECT_EQ(ctl("top")->get("TabPicture", {Variant(0)}).toObject(), picture);
  EXPECT_EQ(ctl("il")->get("ImageWidth").toLong(), 16);
  EXPECT_EQ(item(ctl("il"), "ListImages", Variant(1))->get("Picture"), image);
  EXPECT_EQ(ctl("tv")->get("ImageList").toObject(), ctl("il"));
  EXPECT_GT(ctl("tb")->get("ButtonHeight").toDouble(), buttonHeight * 1.9);
}

TEST_F(ResizePassTest, ResetMakesTheCurrentLayoutAndPicturesTheReference) {
  auto designed = gradientPicture(20, 20);
  start(kButton + block("VB.PictureBox pic", place(0, 2000, 600, 400)),
        [&] { ctl("pic")->set("Picture", Variant(designed)); });
  flags("cmd").DontScaleFont = true;
  ctl("cmd")->set("Picture", Variant(designed));  // captured with none, so given none again
  resizeTo(8000, 6000);
  EXPECT_EQ(bitmap(ctl("pic"), "Picture").width(), 40);
  EXPECT_TRUE(ctl("cmd")->get("Picture").isNothing());
  // The application moves the button and shows another picture, then makes this the layout.
  ctl("cmd")->set("Left", 3000);
  auto shown = runtime::makePicture(raster::Bitmap(30, 30, raster::rgb(255, 0, 0)));
  ctl("pic")->set("Picture", Variant(shown));
  EXPECT_TRUE(eng->Reset().isEmpty());
  EXPECT_EQ(rec("cmd").FormWidth, 8000);
  EXPECT_TRUE(flags("cmd").DontScaleFont);

  resizeTo(4000, 3000);
  EXPECT_EQ(geometry("cmd"), (Doubles{1500, 500, 1200, 400}));
  const raster::Bitmap& now = bitmap(ctl("pic"), "Picture");
  EXPECT_EQ(now.width(), 15);
  EXPECT_EQ(now.pixel(7, 7), raster::rgb(255, 0, 0));

  // Without a host form Reset fails when it reads the size, having only forgotten the capture.
  eng->unbound = true;
  EXPECT_EQ(errorOf([&] { eng->Reset(); }), 91);
  EXPECT_FALSE(eng->ControlsCaptured);
  EXPECT_EQ(eng->engine.LastFormWidth, 4000);
}

// An object of the container that cannot be captured: the run reports it and the records
// taken before it are used.
class Unnamed : public host::Object {
 public:
  std::string_view typeName() const override { return "Gadget"; }
  bool tryGet(host::Name name, host::Args, Variant&) override {
    if (name == host::Name("Name")) host::raise(7);
    return false;
  }
};

TEST_F(ResizePassTest, ACaptureThatFailsIsReportedAndWhatWasCapturedIsUsed) {
  prepare(kButton);
  eng->settings.SetupDone = true;
  eng->controls = [&] {
    auto list = std::make_shared<host::Collection>(host::kClassicCollectionErrors, 0);
    list->add(Variant(ObjectPtr(form)));
    list->add(Variant(ctl("cmd")));
    list->add(Variant(ObjectPtr(std::make_shared<Unnamed>())));
    return list;
  };
  eng->run();
  EXPECT_EQ(eng->log, (Strings{"Error: crashed out!:7", "ResizeDone", "Lock(0)"}));
  EXPECT_TRUE(eng->ControlsCaptured);
  eng->log.clear();
  resizeTo(8000, 6000);
  EXPECT_EQ(geometry("cmd"), (Doubles{2000, 1000, 2400, 800}));

  // A control whose Parent cannot be read ends a placing run the same way.
  eng->parent = []() -> ObjectPtr { host::raise(91); };
  eng->log.clear();
  resizeTo(4000, 3000);
  EXPECT_EQ(eng->log,
            (Strings{"ResizeStarted", "Error: crashed out!:91", "ResizeDone", "Lock(0)"}));
  EXPECT_EQ(geometry("cmd"), (Doubles{2000, 1000, 2400, 800}));
}

}  // namespace
