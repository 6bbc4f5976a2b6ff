#include <gtest/gtest.h>
#include <unistd.h>

#include "host/failure.h"
#include "runtime/form.h"
#include "runtime/loader.h"
#include "runtime/picture.h"
#include "scaling/capture.h"

using host::ObjectPtr;
using host::Variant;
using namespace scaling;

namespace {

using Floats = std::vector<float>;

int errorOf(auto&& f) {
  try {
    f();
  } catch (const host::HostError& e) {
    return e.number();
  }
  return 0;
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

class CaptureTest : public ::testing::Test {
 protected:
  ~CaptureTest() override { std::filesystem::remove(settings); }
  // A form whose client area is 4000 x 3000 twips.
  std::shared_ptr<runtime::Form> build(const std::string& body,
                                       const std::string& cls = "VB.Form") {
    std::string text = "VERSION 5.00\nBegin " + cls +
                       " Form1\n   ClientHeight = 3000\n   ClientWidth = 4000\n" + body + "End\n";
    return forms.emplace_back(runtime::buildForm(rt, frm::read(text, "t.frm"), "t.frm"));
  }
  static ObjectPtr control(runtime::Form& form, std::string_view key) {
    return form.find(key)->shared_from_this();
  }
  ControlClass& capture(const ObjectPtr& ctrl) {
    SaveControlInfo(info, state, ctrl);
    return *findRecord<ControlClass>(info, GetControlKey(ctrl));
  }

  std::filesystem::path settings =
      std::filesystem::temp_directory_path() / ("rescalo-scaling-" + std::to_string(getpid()));
  runtime::Runtime rt{{.settingsFile = settings}};
  std::vector<std::shared_ptr<runtime::Form>> forms;
  EngineState state{4000, 3000};
  host::Collection info, flags;
};

const char* kControls =
    "   Begin VB.Frame Frame1\n      Height = 1500\n      Width = 2000\n"
    "      Begin VB.TextBox Text1\n         Left = 100\n      End\n   End\n"
    "   Begin VB.CommandButton Command1\n      Index = 3\n      Height = 375\n"
    "      Left = 2400\n      Top = 600\n      Width = 1215\n"
    "      BeginProperty Font\n         Size = 12\n      EndProperty\n   End\n"
    "   Begin VB.CommandButton Command1\n      Index = 0\n   End\n"
    "   Begin VB.Line Line1\n      BorderWidth = 3\n      X1 = 100\n      X2 = 3900\n"
    "      Y1 = 2000\n      Y2 = 2100\n   End\n"
    "   Begin VB.Shape Shape1\n      BorderWidth = 2\n   End\n   Begin VB.Menu mnuFile\n   End\n";

TEST_F(CaptureTest, GeometryAndBasisOfOrdinaryControlsLinesAndTheFormItself) {
  auto form = build(kControls);
  EXPECT_EQ(GetControlKey(control(*form, "Text1")), "Text1");
  EXPECT_EQ(GetControlKey(control(*form, "Command1(0)")), "Command1(0)");
  EXPECT_EQ(GetControlKey(nullptr), "");
  auto button = control(*form, "Command1(3)");
  auto pic = picture();
  button->set("Picture", Variant(pic));
  ControlClass& b = capture(button);
  EXPECT_EQ(b.SpecialControlType, kOrdinaryControl);
  EXPECT_EQ((Floats{b.FormWidth, b.FormHeight}), (Floats{4000, 3000}));  // not the outer size
  EXPECT_EQ((Floats{b.Left, b.Top, b.Width, b.Height, b.LastLeft, b.LastTop, b.LastWidth,
                    b.LastHeight, b.FontSize}),
            (Floats{2400, 600, 1215, 375, 2400, 600, 1215, 375, 12}));
  EXPECT_EQ(b.Picture, pic);

  ControlClass& t = capture(control(*form, "Text1"));
  EXPECT_EQ((Floats{t.FormWidth, t.FormHeight, t.Left}), (Floats{2000, 1500, 100}));

  ControlClass& line = capture(control(*form, "Line1"));
  EXPECT_EQ(line.SpecialControlType, kLineControl);
  EXPECT_EQ((Floats{line.X1, line.X2, line.Y1, line.Y2, line.BorderWidth, line.Left, line.Width,
                    line.LastLeft, line.LastHeight}),
            (Floats{100, 3900, 2000, 2100, 3, 0, 0, 0, 0}));
  EXPECT_EQ(capture(control(*form, "Shape1")).BorderWidth, 2);

  for (const char* cls : {"VB.Form", "VB.MDIForm"}) {
    info.clear();
    auto host = build("", cls);
    host->set("Picture", Variant(pic));
    ControlClass& f = capture(host);
    EXPECT_EQ(f.SpecialControlType, kHostForm) << cls;
    EXPECT_EQ((Floats{f.FormWidth, f.FormHeight, f.FontSize, f.Width}),
              (Floats{4000, 3000, 8.25f, 0}));
    EXPECT_EQ(f.Picture, pic);
  }
}

TEST_F(CaptureTest, TabControlsAndWhatSitsOnTheirPages) {
  auto form = build(
      "   Begin TabDlg.SSTab SSTab1\n      Height = 2500\n      Width = 3500\n"
      "      Begin VB.CommandButton cmdPage\n      End\n      Begin VB.Line linPage\n      End\n"
      "      Begin TabDlg.SSTab SSTab2\n      End\n   End\n");
  ControlClass& cmd = capture(control(*form, "cmdPage"));
  EXPECT_EQ(cmd.SpecialControlType, kOnTabPage);
  EXPECT_EQ(cmd.FormWidth, 3500);
  EXPECT_EQ(capture(control(*form, "linPage")).SpecialControlType, kLineControl);
  EXPECT_EQ(capture(control(*form, "SSTab2")).SpecialControlType, kOnTabPage);

  std::vector<Variant> pics{Variant(picture()), Variant(nullptr), Variant(picture())};
  auto tab = fake("SSTab", "SSTab9");
  tab->with("Left", 100).with("Top", 200).with("Width", 3000).with("Height", 2000);
  tab->with("Tabs", 3).with("TabHeight", 300).with("TabPicture(0)", pics[0]);
  tab->with("TabPicture(1)", pics[1]).with("TabPicture(2)", pics[2]);
  // Its pages are not a tab strip's tabs: the capability is neither set nor cleared.
  EXPECT_FALSE(capture(tab).ControlHasTabs);
  findRecord<ControlClass>(info, "SSTab9")->ControlHasTabs = true;
  ControlClass& r = capture(tab);
  EXPECT_TRUE(r.ControlHasTabs);
  EXPECT_EQ(r.SpecialControlType, kTabControl);
  EXPECT_EQ((Floats{r.TabHeight, r.LastLeft, r.LastTop, r.LastWidth, r.LastHeight}),
            (Floats{300, 100, 200, 3000, 2000}));
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

TEST_F(CaptureTest, CalendarFontsOfACorpusForm) {
  auto file = std::filesystem::path(RESCALO_CORPUS_DIR) /
              "025-blaiseman-punch-clock-version-1-3-1__1-38216-frmCalendar.frm";
  auto form = forms.emplace_back(runtime::loadForm(rt, file).form);
  auto calendar = control(*form, "Calendar1");
  ControlClass& r = capture(calendar);
  EXPECT_EQ((Floats{r.DayFontSize, r.GridFontSize, r.TitleFontSize, r.HeadFontSize, r.FontSize}),
            (Floats{8.25f, 8.25f, 12, 0, 0}));
  EXPECT_TRUE(HasScalableFont(*calendar));
}

TEST_F(CaptureTest, CapturingAgainMakesThePresentStateTheReferenceAndKeepsTheRest) {
  auto form = build(kControls);
  auto button = control(*form, "Command1(3)");
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
  EXPECT_EQ(info.count(), 1);
}

TEST_F(CaptureTest, RecordsAreFiledOnlyUnderRealKeysAndFlagsAreNeverReset) {
  EXPECT_EQ(errorOf([&] { SaveControlInfo(info, state, nullptr); }), 91);
  EXPECT_EQ(errorOf([&] { SaveControlInfo(info, state, std::make_shared<host::Collection>()); }),
            438);  // no Name
  EXPECT_EQ(info.count(), 0);

  auto form = build(kControls);
  SaveControlFlags(flags, Variant(control(*form, "Command1(3)")));
  findRecord<ControlFlags>(flags, "Command1(3)")->DontScaleFont = true;
  SaveControlFlags(flags, Variant(control(*form, "Command1(3)")));
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
  auto form = build(kControls);
  auto line = control(*form, "Line1");
  EXPECT_TRUE(IsPositionable(*line) && !IsPositionable(*form) && !HasScalableFont(*line));
  EXPECT_FALSE(IsPositionable(fake("Odd", "Odd1")->with("X1", 0).with("X2", 0).with("Y1", 0)));
  EXPECT_TRUE(HasGraphic(*control(*form, "Command1(0)")));  // holding Nothing, but readable
  EXPECT_TRUE(HasGraphic(*fake("ImageList", "I")) && !HasGraphic(*line));
  EXPECT_TRUE(HasBorderWidth(*line) && !HasBorderWidth(*control(*form, "Text1")));
  EXPECT_TRUE(HasScalableFont(*control(*form, "Text1")) && !HasScalableFont(*form));
  EXPECT_FALSE(HasScalableFont(fake("Calendar", "Cal")
                                   ->with("HeadFont", ObjectPtr(std::make_shared<runtime::Font>()))
                                   .with("Font", nullptr)));
}

}  // namespace
