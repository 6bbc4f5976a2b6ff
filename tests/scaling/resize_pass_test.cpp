// The resize pass over whole forms: what the capture run takes, when a run places and what
// it raises, what it skips, tab dialogs, image lists and the controls bound to them, toolbars,
// Reset, and the two ways a run is abandoned.

#include "engine_fixture.h"

using namespace engine_test;
using Doubles = std::vector<double>;
using Strings = std::vector<std::string>;

namespace {

const char* kButton =
    "   Begin VB.CommandButton cmd\n      Left = 1000\n      Top = 500\n      Width = 1200\n"
    "      Height = 400\n   End\n";

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
};

TEST_F(ResizePassTest, TheFirstRunCapturesTheDesignedLayoutWhateverTheFormsSize) {
  form = build(testing_support::formText(kButton));
  eng = std::make_unique<TestEngine>(rt, form);
  eng->settings.SetupDone = true;
  form->setClientSize(6000, 4500);  // loaded larger than designed
  eng->run();
  EXPECT_TRUE(eng->log.empty());  // no event, no redraw lock
  EXPECT_EQ(eng->engine.LastFormWidth, 4000);
  EXPECT_EQ(eng->engine.LastFormHeight, 3000);
  EXPECT_EQ(geometry("cmd"), (Doubles{1000, 500, 1200, 400}));  // nothing placed yet

  eng->run();
  EXPECT_EQ(geometry("cmd"), (Doubles{1500, 750, 1800, 600}));
  EXPECT_EQ(eng->log, (Strings{"ResizeStarted", "Lock(1)", "Lock(0)", "ResizeDone"}));
  EXPECT_EQ(eng->engine.LastFormWidth, 6000);

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
}

TEST_F(ResizePassTest, MenusAndNoResizeNamesAreNeverCapturedOrMoved) {
  start(
      "   Begin VB.CommandButton NORESIZEOk\n      Left = 100\n      Top = 100\n"
      "      Width = 900\n      Height = 300\n   End\n"
      "   Begin VB.Label NoReSiZe1\n      Left = 100\n      Top = 500\n      Width = 900\n"
      "      Height = 300\n   End\n"
      "   Begin VB.CommandButton NoResiz1\n      Left = 100\n      Top = 900\n"
      "      Width = 900\n      Height = 300\n   End\n"
      "   Begin VB.Menu mnuFile\n      Caption = \"File\"\n"
      "      Begin VB.Menu mnuNoResizeExit\n         Caption = \"Exit\"\n      End\n   End\n");
  resizeTo(8000, 6000);
  EXPECT_EQ(geometry("NORESIZEOk"), (Doubles{100, 100, 900, 300}));
  EXPECT_EQ(geometry("NoReSiZe1"), (Doubles{100, 500, 900, 300}));
  EXPECT_EQ(geometry("NoResiz1"), (Doubles{200, 1800, 1800, 600}));
  for (const char* key : {"NORESIZEOk", "NoReSiZe1", "mnuFile", "mnuNoResizeExit"}) {
    EXPECT_FALSE(scaling::KeyExists(eng->colControlInfo(), key)) << key;
    EXPECT_FALSE(scaling::KeyExists(eng->colControlFlags(), key)) << key;
  }
  EXPECT_EQ(ctl("mnuFile")->get("Caption").toString(), "File");
}

TEST_F(ResizePassTest, AControlAddedAtRunTimeIsCapturedAgainstTheLastSizeAndPlaced) {
  start(
      "   Begin VB.CommandButton cmd\n      Index = 0\n      Left = 1000\n      Top = 500\n"
      "      Width = 1200\n      Height = 400\n   End\n");
  resizeTo(6000, 4500);
  // The application loads cmd(1) at 6000 x 4500.
  auto added = runtime::createControl("VB.CommandButton");
  added->name = "cmd";
  added->index = 1;
  added->form = form.get();
  added->container = form.get();
  form->children.push_back(added.get());
  form->controls.push_back(added);
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
  EXPECT_EQ(eng->engine.LastFormWidth, 6000);
  EXPECT_EQ(eng->engine.LastFormHeight, 3000);
  resizeTo(6000, 4500);
  EXPECT_EQ(geometry("cmd"), (Doubles{1500, 750, 1800, 600}));
  EXPECT_EQ(eng->engine.LastFormHeight, 4500);
}

const char* kTabDialogs =
    "   Begin TabDlg.SSTab top\n      Left = 0\n      Top = 0\n      Width = 3050\n"
    "      Height = 1500\n      Tabs = 3\n      TabsPerRow = 3\n   End\n"
    "   Begin TabDlg.SSTab side\n      Left = 0\n      Top = 1500\n      Width = 2000\n"
    "      Height = 1500\n      TabOrientation = 2\n   End\n"
    "   Begin TabDlg.SSTab fixed\n      Left = 3100\n      Top = 0\n      Width = 900\n"
    "      Height = 1500\n   End\n";

TEST_F(ResizePassTest, TabDialogsSizeTheirTabsAndRescaleTheirTabPictures) {
  auto picture = gradientPicture(20, 10);
  start(kTabDialogs, [&] {
    ctl("top")->set("TabHeight", 300);
    ctl("side")->set("TabHeight", 400);
    ctl("fixed")->set("TabMaxWidth", 500);
    ctl("top")->set("TabPicture", Variant(picture), {Variant(1)});
  });
  flags("fixed").DontScaleWidth = true;
  flags("fixed").DontScaleHeight = true;
  resizeTo(8000, 6000);
  auto top = ctl("top");
  EXPECT_EQ(top->get("Width").toDouble(), 6100);
  EXPECT_EQ(top->get("TabMaxWidth").toDouble(), 2033);
  EXPECT_EQ(top->get("TabHeight").toDouble(), 600);
  EXPECT_EQ(ctl("side")->get("TabHeight").toDouble(), 800);  // follows the width
  EXPECT_EQ(ctl("side")->get("TabMaxWidth").toDouble(), 0);
  EXPECT_EQ(ctl("fixed")->get("TabMaxWidth").toDouble(), 0);
  EXPECT_EQ(ctl("fixed")->get("TabHeight").toDouble(), 300);
  const raster::Bitmap& scaled = bitmap(top, "TabPicture", Variant(1));
  EXPECT_EQ(scaled.width(), 40);
  EXPECT_EQ(scaled.height(), 20);
  EXPECT_TRUE(top->get("TabPicture", {Variant(0)}).isNothing());

  for (int i = 0; i < 5; ++i) {
    resizeTo(4000 + 1000 * i, 7000 - 1000 * i);
    resizeTo(4000, 3000);
  }
  EXPECT_EQ(bitmap(top, "TabPicture", Variant(1)), *runtime::bitmapOf(Variant(picture)));
  EXPECT_EQ(top->get("TabHeight").toDouble(), 300);
}

// Two lists whose images are rebuilt, and one flagged to keep its images; a toolbar, trees and
// a list view bound to them.
const char* kImageForm =
    "   Begin MSComctlLib.ImageList il\n      ImageWidth = 16\n      ImageHeight = 16\n"
    "   End\n"
    "   Begin MSComctlLib.ImageList small\n      ImageWidth = 8\n      ImageHeight = 8\n"
    "   End\n"
    "   Begin MSComctlLib.ImageList keep\n      ImageWidth = 16\n      ImageHeight = 16\n"
    "   End\n"
    "   Begin MSComctlLib.Toolbar tb\n      Left = 0\n      Top = 0\n      Width = 4000\n"
    "   End\n"
    "   Begin MSComctlLib.TreeView tv\n      Left = 0\n      Top = 700\n      Width = 2000\n"
    "      Height = 2000\n   End\n"
    "   Begin MSComctlLib.TreeView tvKeep\n      Left = 2000\n      Top = 700\n"
    "      Width = 2000\n      Height = 1000\n   End\n"
    "   Begin MSComctlLib.ListView lv\n      Left = 2000\n      Top = 1700\n"
    "      Width = 2000\n      Height = 1000\n   End\n";

// Binds the controls of kImageForm to their lists (a bound list takes no new images).
void bindImageForm(const std::function<ObjectPtr(std::string_view)>& ctl) {
  ctl("tb")->set("ImageList", Variant(ctl("il")));
  ctl("tv")->set("ImageList", Variant(ctl("il")));
  ctl("tvKeep")->set("ImageList", Variant(ctl("keep")));
  ctl("lv")->set("Icons", Variant(ctl("il")));
  ctl("lv")->set("SmallIcons", Variant(ctl("small")));
}

TEST_F(ResizePassTest, ImageListsAreRebuiltAtTheScaledSizeAndTheirControlsBoundAgain) {
  std::vector<ObjectPtr> pictures{gradientPicture(16, 16), gradientPicture(16, 16)};
  start(kImageForm, [&] {
    auto add = [&](const char* list, const char* key, const ObjectPtr& pic, const char* tag) {
      ctl(list)
          ->get("ListImages")
          .toObject()
          ->call("Add", {Variant(), key, pic})
          .toObject()
          ->set("Tag", tag);
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
  EXPECT_EQ(il->get("ImageWidth").toLong(), 32);
  EXPECT_EQ(il->get("ImageHeight").toLong(), 32);
  EXPECT_EQ(ctl("small")->get("ImageWidth").toLong(), 16);
  ASSERT_EQ(il->get("ListImages").toObject()->get("Count").toLong(), 2);
  EXPECT_EQ(item(il, "ListImages", Variant("a"))->get("Tag").toString(), "first");
  EXPECT_EQ(item(il, "ListImages", Variant(2))->get("Key").toString(), "b");
  EXPECT_EQ(bitmap(item(il, "ListImages", Variant(2)), "Picture").width(), 32);
  // Every control is bound again and shows the images it showed.
  EXPECT_EQ(ctl("tb")->get("ImageList").toObject(), il);
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

  // Rebuilt from the captured pictures every time: back at the designed size they are the
  // pictures the list was given.
  for (int i = 0; i < 10; ++i) resizeTo(5000 + 700 * i, 2000 + 500 * i);
  resizeTo(4000, 3000);
  EXPECT_EQ(il->get("ImageWidth").toLong(), 16);
  EXPECT_EQ(bitmap(item(il, "ListImages", Variant(1)), "Picture"),
            *runtime::bitmapOf(Variant(pictures[0])));
}

TEST_F(ResizePassTest, ToolbarButtonsScaleAndTheToolbarIsGrownTowardsItsScaledHeight) {
  start(
      "   Begin MSComctlLib.Toolbar tb\n      Left = 0\n      Top = 0\n      Width = 4000\n"
      "      ButtonWidth = 1032\n      ButtonHeight = 953\n   End\n");
  auto tb = ctl("tb");
  scaling::ControlClass& r = rec("tb");
  EXPECT_EQ(tb->get("Height").toDouble(), 600);  // 36 pixels of buttons and 4 of frame
  EXPECT_FLOAT_EQ(r.ButtonHeight, static_cast<float>(953 * 1440.0 / 2540));
  resizeTo(6000, 6000);
  // Buttons are whole pixels: 1032 HIMETRIC is 585.07 twips, 877.6 at 1.5, 59 pixels.
  EXPECT_EQ(tb->get("ButtonWidth").toDouble(), 59 * 15);
  // 540 x 2 is 72 pixels of buttons, a toolbar of 76, short of 80 (600 x 2): the loop grows
  // the buttons 8 twips (one pixel) at a time, watching the toolbar follow after each step,
  // and leaves the reference 15 twips under the unscaled height it grew from.
  EXPECT_EQ(tb->get("Height").toDouble(), 80 * 15);
  EXPECT_EQ(tb->get("ButtonHeight").toDouble(), 76 * 15);
  EXPECT_EQ(r.ButtonHeight, 75 * 15 / 2.0f - 15);

  // A toolbar flagged to keep its height keeps its buttons' height.
  flags("tb").DontScaleHeight = true;
  resizeTo(3000, 2000);
  EXPECT_EQ(tb->get("ButtonHeight").toDouble(), 76 * 15);
  EXPECT_EQ(tb->get("ButtonWidth").toDouble(), 29 * 15);  // 438.8 twips
}

TEST_F(ResizePassTest, WithoutGraphicScalingPicturesAndListsAreLeftAloneButButtonsScale) {
  auto picture = gradientPicture(10, 10);
  start(std::string(kTabDialogs) + kImageForm +
            "   Begin VB.PictureBox pic\n      Left = 0\n      Top = 2500\n      Width = 600\n"
            "      Height = 400\n   End\n",
        [&] {
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
  start(std::string(kButton) +
            "   Begin VB.PictureBox pic\n      Left = 0\n      Top = 2000\n      Width = 600\n"
            "      Height = 400\n   End\n",
        [&] { ctl("pic")->set("Picture", Variant(designed)); });
  flags("cmd").DontScaleFont = true;
  resizeTo(8000, 6000);
  EXPECT_EQ(bitmap(ctl("pic"), "Picture").width(), 40);
  // The application moves the button and shows another picture, then makes this the layout.
  ctl("cmd")->set("Left", 3000);
  auto shown = runtime::makePicture(raster::Bitmap(30, 30, raster::rgb(255, 0, 0)));
  ctl("pic")->set("Picture", Variant(shown));
  EXPECT_TRUE(eng->Reset().isEmpty());
  EXPECT_TRUE(eng->ControlsCaptured);
  EXPECT_EQ(rec("cmd").FormWidth, 8000);
  EXPECT_TRUE(flags("cmd").DontScaleFont);

  resizeTo(4000, 3000);
  EXPECT_EQ(geometry("cmd"), (Doubles{1500, 500, 1200, 400}));
  const raster::Bitmap& now = bitmap(ctl("pic"), "Picture");
  EXPECT_EQ(now.width(), 15);
  EXPECT_EQ(now.pixel(7, 7), raster::rgb(255, 0, 0));

  // Without a host form Reset fails when it reads the size, having only forgotten the capture.
  eng->unbound = true;
  EXPECT_EQ(testing_support::errorOf([&] { eng->Reset(); }), 91);
  EXPECT_FALSE(eng->ControlsCaptured);
  EXPECT_EQ(eng->engine.LastFormWidth, 4000);
}

// A list bound through a member the engine does not let go of cannot be rebuilt.
TEST_F(ResizePassTest, AListThatCannotBeRebuiltAbandonsTheRunUntilTheNext) {
  start(std::string(kButton) +
        "   Begin MSComctlLib.ImageList il\n      ImageWidth = 16\n      ImageHeight = 16\n"
        "   End\n"
        "   Begin MSComctlLib.Toolbar tb\n      Left = 0\n      Top = 0\n      Width = 4000\n"
        "      ImageList = \"il\"\n      HotImageList = \"il\"\n   End\n"
        "   Begin VB.CommandButton after\n      Left = 100\n      Top = 2000\n"
        "      Width = 1000\n      Height = 400\n   End\n");
  eng->settings.SetupDone = true;
  resizeTo(8000, 6000);
  ASSERT_EQ(eng->log.size(), 5u);
  EXPECT_EQ(eng->log[2],
            "Error:il has a one or more controls bound to it that is not supported by Rescalo"
            "\r\n See Rescalo Help File for more information\r\n:35617");
  EXPECT_EQ((Strings{eng->log[3], eng->log[4]}), (Strings{"ResizeDone", "Lock(0)"}));
  EXPECT_EQ(geometry("cmd"), (Doubles{2000, 1000, 2400, 800}));  // placed before the list
  EXPECT_EQ(geometry("after"), (Doubles{100, 2000, 1000, 400}));
  EXPECT_TRUE(ctl("tb")->get("ImageList").isNothing());  // left detached
  EXPECT_EQ(eng->engine.LastFormWidth, 4000);
  // The next run tries again; once the application lets go, it goes through. The toolbar
  // was let go of by the abandoned run, so it is not bound again.
  ctl("tb")->set("HotImageList", Variant(nullptr));
  eng->log.clear();
  eng->run();
  EXPECT_EQ(eng->log, (Strings{"ResizeStarted", "Lock(1)", "Lock(0)", "ResizeDone"}));
  EXPECT_EQ(geometry("after"), (Doubles{200, 4000, 2000, 800}));
  EXPECT_EQ(ctl("il")->get("ImageWidth").toLong(), 32);
  EXPECT_TRUE(ctl("tb")->get("ImageList").isNothing());
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
  form = build(testing_support::formText(kButton));
  eng = std::make_unique<TestEngine>(rt, form);
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
