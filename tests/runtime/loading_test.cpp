// Forms and controls loaded from .frm files: every corpus form at its stated geometry, pictures
// from the .frx, user controls with their property bags, and the common controls (tab dialog
// pages, image lists and what binds to them, toolbars, tree and list views, tab strips), written
// back unchanged.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <rescalo/host/failure.h>
#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/raster.h>
#include <rescalo/runtime/user_control_host.h>
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using namespace testing_support;
using Doubles = std::vector<double>;
namespace fs = std::filesystem;

namespace {

class LoadingTest : public RuntimeTest {};
using CommonControlsTest = LoadingTest;

// Every control of every form stands where its file puts it: by-name reads in the
// container's units, converted back with the container's scale, give the stored twips. An
// aligned control stands where alignment puts it, whatever its file says (a form saved
// maximized, or resized since, keeps where the last layout put it): only its thickness is its
// file's, and a toolbar's thickness is that of its rows of buttons. Written back, the form
// changes nothing that nobody changed; aligned controls are written where alignment put them,
// as the designer writes them.
TEST_F(LoadingTest, EveryFormLoadsWithTheGeometryItsFileStatesAndWritesBackUnchanged) {
  int forms = 0, checked = 0;
  for (const fs::path& file : testing_support::formsToCheck()) {
    SCOPED_TRACE(file.filename().string());
    // Design mode: a form that starts maximized would otherwise store its maximized size.
    runtime::LoadedForm lf = load(file, false);
    ++forms;
    std::vector<const frm::Block*> stack{&lf.document.form};
    while (!stack.empty()) {
      const frm::Block* parent = stack.back();
      stack.pop_back();
      for (const frm::Block* b : parent->children()) {
        stack.push_back(b);
        const frm::Property* idx = b->property("Index");
        std::string key = idx ? b->name + "(" + idx->value + ")" : b->name;
        runtime::Control* c = lf.form->find(key);
        ASSERT_NE(c, nullptr) << key;
        EXPECT_EQ(c->fileClass(), b->className);
        EXPECT_TRUE(b->className != "VB.Menu" || !host::tryGet(*c, "Left")) << key << ": a menu";
        // What the file states, against what is read by name taken back to the file's units.
        runtime::ScaleSpace s = c->space();
        auto expectStated = [&](const char* n, double tolerance, auto toFile) {
          const frm::Property* p = b->property(n);
          if (!p) return;
          EXPECT_NEAR(toFile(c->get(n).toDouble()), *frm::parseNumber(p->value), tolerance)
              << key << "." << n;
        };
        auto asRead = [](double v) { return v; };
        expectStated("X1", 1e-2, asRead);  // lines: in the container's units
        expectStated("Y2", 1e-2, asRead);
        const int align = parent == &lf.document.form ? c->align() : 0;
        const bool toolbar = dynamic_cast<runtime::Toolbar*>(c) != nullptr;
        if (align == 0) {
          expectStated("Left", 0.05, [&](double v) { return s.toTwipsX(v); });
          expectStated("Top", 0.05, [&](double v) { return s.toTwipsY(v); });
        }
        if (align == 0 || (align >= 3 && !toolbar))
          expectStated("Width", 0.05, [&](double v) { return v * s.unitX; });
        if (align == 0 || (align <= 2 && !toolbar))
          expectStated("Height", 0.05, [&](double v) { return v * s.unitY; });
        ++checked;
      }
    }
    // The form's own scale is the one its file states.
    const frm::Property* sw = lf.document.form.property("ScaleWidth");
    if (sw && !lf.form->isMdi()) {
      EXPECT_NEAR(lf.form->get("ScaleWidth").toDouble(), *frm::parseNumber(sw->value), 0.01);
    }

    frm::Document before = lf.document;
    runtime::storeForm(*lf.form, lf.document);
    for (std::size_t i = 0; i < before.form.entries.size(); ++i) {
      auto* was = std::get_if<frm::Block>(&before.form.entries[i]);
      auto* now = std::get_if<frm::Block>(&lf.document.form.entries[i]);
      if (!was || !now || !now->property("Align")) continue;
      for (const char* n : {"Left", "Top", "Width", "Height"})
        if (const frm::Property* p = now->property(n)) was->set(n, p->value);
    }
    std::string was = frm::write(before), now = frm::write(lf.document);
    if (was == now) continue;
    std::istringstream w(was), n(now);
    std::string a, b;
    int line = 1;
    while (std::getline(w, a) && std::getline(n, b) && a == b) ++line;
    ADD_FAILURE() << ":" << line << ": " << a << " -> " << b;
  }
  EXPECT_GT(checked, testing_support::haveCorpus() ? 1000 : 50);
  EXPECT_GE(forms, 5);
}

// A user control that records what its site gave it. What it hears of changes made through
// its extender is the control's and the command's tests.
class Probe : public host::UserControl {
 public:
  std::string_view typeName() const override { return "Probe"; }
  void Initialize(host::ControlSite& s) override { site = &s; }
  void InitProperties() override {}
  void ReadProperties(host::PropertyBag& bag) override {
    label = bag.ReadProperty("Label", "none").toString();
  }
  void WriteProperties(host::PropertyBag& bag) override {
    bag.WriteProperty("Label", label, "none");
    bag.WriteProperty("Flag", flag, false);
  }
  void Resize() override {}
  void Terminate() override {}
  host::ControlSite* site = nullptr;
  std::string label;
  bool flag = false;
};

TEST_F(LoadingTest, UserControlBlocksBecomeTheirControlsPropertyBags) {
  rt.userControls().add("Probes.Probe", [] { return std::make_shared<Probe>(); });
  std::string text = formText(block("VB.CommandButton cmd", place(0, 0, 975, 375)) +
                              block("Probes.Probe Probe1",
                                    "Left = 600\nTop = 600\n_ExtentX = 847\n_ExtentY = 847\n"
                                    "Label = \"say \"\"hi\"\"\"\nLevel = 42\n"));
  auto form = build(text, true);
  auto* host = dynamic_cast<runtime::UserControlHost*>(form->find("Probe1"));
  ASSERT_NE(host, nullptr);
  auto& probe = static_cast<Probe&>(host->control());
  EXPECT_EQ(probe.label, "say \"hi\"");
  ASSERT_EQ(probe.site, host);
  EXPECT_TRUE(probe.site->UserMode());
  auto list = probe.site->ParentControls();
  EXPECT_EQ(list->get("Item", {Variant(0)}).toObject(), form);  // the form comes first
  EXPECT_EQ(list->get("Count").toLong(), 3);
  EXPECT_EQ(host->get("Left").toDouble(), 600);  // the extender's
  // Saving writes the control's properties back in the order it writes them, after the
  // extender's; what it does not write (Level) is gone.
  auto doc = frm::read(text, "test.frm");
  probe.flag = true;
  runtime::storeForm(*form, doc);
  const frm::Block* block = doc.form.find("Probe1");
  std::vector<std::string> names;
  for (const auto& e : block->entries)
    if (auto* p = std::get_if<frm::Property>(&e)) names.push_back(p->name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"Left", "Top", "_ExtentX", "_ExtentY", "Label", "Flag"}));
  EXPECT_EQ(block->property("Flag")->value, "-1");
}

host::ObjectPtr item(const host::ObjectPtr& collection, Variant indexOrKey) {
  return collection->get("Item", {indexOrKey}).toObject();
}

// Pages of the tab dialog: the file's hidden children come back when their page is shown and
// leave when another is; the tab sizes read in the container's units.
TEST_F(CommonControlsTest, TabDialogPagesMoveTheirControlsAndSizesReadInContainerUnits) {
  RESCALO_NEED_CORPUS();
  auto lf = load(corpusFile("024-kwiki-software-kwikibilling__1-71779-frmCompanySetup.frm"));
  auto tabs = obj(*lf.form, "SSTab1");
  EXPECT_EQ(numbers(*tabs, {"Tabs", "Tab", "TabsPerRow", "Style"}), (Doubles{3, 0, 4, 1}));
  EXPECT_NEAR(tabs->get("TabHeight").toDouble(), 661 * 1440.0 / 2540, 0.01);  // HIMETRIC
  EXPECT_NEAR(tabs->get("TabMaxWidth").toDouble(), 2646 * 1440.0 / 2540, 0.01);
  EXPECT_EQ(tabs->get("TabCaption", {Variant(1)}).toString(), "Company Logo  ");
  EXPECT_EQ(tabs->get("TabCaption(2)").toString(), "Configuration");  // as the file names it
  EXPECT_TRUE(tabs->get("TabPicture", {Variant(0)}).isNothing());     // no .frx here
  EXPECT_EQ(tabs->get("Tab(1).Control(0)").toString(), "cmdSaveImage");

  // One control of each page; the file stores the hidden ones shifted, not to be shifted again.
  auto lefts = [&] {
    return Doubles{obj(*lf.form, "Frame1")->get("Left").toDouble(),
                   obj(*lf.form, "cmdSaveImage")->get("Left").toDouble(),
                   obj(*lf.form, "Frame3")->get("Left").toDouble()};
  };
  EXPECT_EQ(lefts(), (Doubles{240, -69240, -74760}));
  std::vector<Variant> clicks;
  tabs->subscribe([&](std::string_view e, host::Args a) {
    if (e == "Click") clicks.push_back(a[0]);
  });
  tabs->set("Tab", 1);
  EXPECT_EQ(lefts(), (Doubles{240 - 75000, 5760, -74760}));
  EXPECT_GT(obj(*lf.form, "imgLogo")->get("Left").toDouble(), 0);
  EXPECT_EQ(clicks, std::vector<Variant>{Variant(0)});  // the previous tab
  tabs->set("Tab", 1);                                  // already shown: nothing moves
  EXPECT_EQ(lefts(), (Doubles{240 - 75000, 5760, -74760}));
  tabs->set("Tab", 0);
  EXPECT_EQ(lefts(), (Doubles{240, -69240, -74760}));
  EXPECT_EQ(errorOf([&] { tabs->set("Tab", 3); }), 380);
  // Dropping the page shown shows the last one left.
  tabs->set("Tab", 2);
  EXPECT_EQ(lefts(), (Doubles{240 - 75000, -69240, 240}));
  tabs->set("Tabs", 2);
  EXPECT_EQ(tabs->get("Tab").toLong(), 1);
  EXPECT_EQ(lefts(), (Doubles{240 - 75000, 5760, -74760}));
  EXPECT_EQ(errorOf([&] { tabs->get("TabCaption", {Variant(3)}); }), 381);

  // Inside a box measured in pixels the tab height reads in pixels, and is written back to
  // the file in HIMETRIC.
  std::string text = formText(block(
      "VB.PictureBox box",
      place(0, 0, 4000, 3000) + "ScaleMode = 3\n" +
          block("TabDlg.SSTab dlg", place(150, 150, 3000, 1500) + "TabHeight = 529\n"
                                                                  "TabCaption(0) = \"One\"\n")));
  auto form = build(text);
  auto dlg = obj(*form, "dlg");
  EXPECT_NEAR(dlg->get("TabHeight").toDouble(), 20, 0.01);
  dlg->set("TabHeight", 30);
  dlg->set("TabCaption", "First", {Variant(0)});
  auto doc = frm::read(text, "test.frm");
  runtime::storeForm(*form, doc);
  const frm::Block* b = doc.form.find("dlg");
  EXPECT_EQ(b->property("TabHeight")->value, "794");  // 450 twips
  EXPECT_EQ(b->property("TabCaption(0)")->value, "\"First\"");
  EXPECT_EQ(b->property("Tabs"), nullptr);  // still the default
}

// A list's items and their ItemData come from the .frx (ItemData first, as the designer writes
// them), and change as the classic methods change them.
TEST_F(LoadingTest, ListItemsComeFromTheFrxAndChangeAsTheClassicMethodsChangeThem) {
  using namespace std::string_literals;
  const std::string data = "\x02\0\x03\0\x01\0"s + "7\x02\0-2"s;
  const std::string items = "\x02\0\x05\0\x05\0"s + "Alpha\x04\0"s + "Beta";
  const std::string frx = data + items;
  writeFile(dir / "lists.frx", std::vector<char>(frx.begin(), frx.end()));
  const std::string lists = "ItemData = \"lists.frx\":0000\nList = \"lists.frx\":000B\n";
  std::ofstream(dir / "lists.frm")
      << formText(block("VB.ListBox lst", place(0, 0, 1500, 900) + lists) +
                  block("VB.ComboBox cbo", place(0, 1000, 1500, 315) + "Style = 2\n" + lists));
  auto lf = load(dir / "lists.frm");
  auto lst = obj(*lf.form, "lst"), cbo = obj(*lf.form, "cbo");
  auto at = [](const host::ObjectPtr& o, const char* member, int i) {
    return o->get(member, {Variant(i)});
  };
  EXPECT_EQ(lst->get("ListCount").toLong(), 2);
  EXPECT_EQ(
      at(lst, "List", 0).toString() + at(lst, "List", 1).toString() + at(lst, "List", 9).toString(),
      "AlphaBeta");
  EXPECT_EQ((Doubles{at(lst, "ItemData", 0).toDouble(), at(lst, "ItemData", 1).toDouble()}),
            (Doubles{7, -2}));
  EXPECT_EQ(errorOf([&] { at(lst, "List", -1); }), 381);
  EXPECT_EQ(errorOf([&] { at(lst, "ItemData", 2); }), 381);
  // An item put in between takes its place and its ItemData moves along with the others.
  lst->call("AddItem", {Variant("Gamma"), Variant(1)});
  EXPECT_EQ(lst->get("NewIndex").toLong(), 1);
  EXPECT_EQ(at(lst, "List", 1).toString() + at(lst, "List", 2).toString(), "GammaBeta");
  EXPECT_EQ(at(lst, "ItemData", 2).toLong(), -2);
  EXPECT_EQ(errorOf([&] { lst->call("RemoveItem", {Variant(3)}); }), 5);
  lst->set("ListIndex", 2);
  lst->call("RemoveItem", {Variant(0)});
  EXPECT_EQ(lst->get("ListIndex").toLong(), 1);  // still on Beta
  // A drop-down list shows the item chosen.
  cbo->set("ListIndex", 1);
  EXPECT_EQ(cbo->get("Text").toString(), "Beta");
  EXPECT_EQ(errorOf([&] { cbo->set("ListIndex", 2); }), 380);
  cbo->call("Clear");
  EXPECT_EQ(cbo->get("ListCount").toLong() + cbo->get("ListIndex").toLong(), -1);
}

// Images come from the .frx at the list's image size, with their keys and tags; a control bound
// to the list keeps it from changing until it lets go.
TEST_F(CommonControlsTest, ImageListImagesComeFromTheFrxAndABoundListCannotChange) {
  std::vector<char> frx;
  appendFrxPicture(frx, raster::Bitmap(2, 2, raster::rgb(255, 0, 0)));
  char second[8];
  std::snprintf(second, sizeof second, "%04X", static_cast<unsigned>(frx.size()));
  appendFrxPicture(frx, raster::Bitmap(4, 4, raster::rgb(0, 0, 255)));
  writeFile(dir / "icons.frx", frx);
  std::ofstream(dir / "icons.frm") << formText(
      block("MSComctlLib.ImageList iml",
            "Left = 0\nTop = 0\nImageWidth = 2\nImageHeight = 2\n"
            "BeginProperty Images {2C247F25-8591-11D1-B16A-00C0F0283628}\nNumListImages = 2\n"
            "BeginProperty ListImage1 {2C247F27-8591-11D1-B16A-00C0F0283628}\n"
            "Picture = \"icons.frx\":0000\nKey = \"red\"\nEndProperty\n"
            "BeginProperty ListImage2 {2C247F27-8591-11D1-B16A-00C0F0283628}\n"
            "Picture = \"icons.frx\":" +
                std::string(second) +
                "\nKey = \"blue\"\nTag = \"second\"\nEndProperty\nEndProperty\n") +
      block("MSComctlLib.Toolbar tb",
            "Align = 1\nLeft = 0\nTop = 0\nWidth = 4000\nImageList = \"iml\"\n"));
  auto lf = load(dir / "icons.frm");
  EXPECT_TRUE(rt.warnings.empty());
  auto iml = obj(*lf.form, "iml");
  auto images = iml->get("ListImages").toObject();
  ASSERT_EQ(images->get("Count").toLong(), 2);
  auto blue = item(images, 2);
  EXPECT_EQ(blue->get("Key").toString(), "blue");
  EXPECT_EQ(blue->get("Tag").toString(), "second");
  EXPECT_EQ(item(images, "red")->get("Index").toLong(), 1);
  const raster::Bitmap* bm = runtime::bitmapOf(blue->get("Picture"));
  ASSERT_NE(bm, nullptr);
  EXPECT_EQ(bm->width(), 2);  // kept at the list's size
  EXPECT_EQ(bm->pixel(1, 1), raster::rgb(0, 0, 255));
  EXPECT_EQ(iml->get("ListImages", {Variant(1)}).toObject(), item(images, 1));

  auto tb = obj(*lf.form, "tb");
  EXPECT_EQ(tb->get("ImageList").toObject(), iml);
  auto picture = blue->get("Picture");
  EXPECT_EQ(errorOf([&] { images->call("Clear"); }), 35617);
  EXPECT_EQ(errorOf([&] { images->call("Remove", {Variant(1)}); }), 35617);
  EXPECT_EQ(errorOf([&] { images->call("Add", {Variant(), "x", picture}); }), 35617);
  EXPECT_EQ(errorOf([&] { iml->set("ImageWidth", 16); }), 35617);
  EXPECT_EQ(images->get("Count").toLong(), 2);
  // Any image-list property binds, and the list is free only when none refers to it.
  tb->set("HotImageList", iml);
  tb->set("ImageList", nullptr);
  EXPECT_EQ(errorOf([&] { images->call("Clear"); }), 35617);
  tb->set("HotImageList", nullptr);
  EXPECT_EQ(errorOf([&] { iml->set("ImageWidth", 16); }), 35611);  // it still holds images
  images->call("Remove", {Variant("red")});
  EXPECT_EQ(item(images, 1)->get("Index").toLong(), 1);
  images->call("Clear");
  iml->set("ImageWidth", 4);
  iml->set("ImageHeight", 3);
  auto added = images->call("Add", {Variant(), "again", picture}).toObject();
  EXPECT_EQ(runtime::bitmapOf(added->get("Picture"))->height(), 3);
  EXPECT_EQ(errorOf([&] { images->call("Add", {Variant(), "AGAIN", picture}); }), 35602);
  EXPECT_EQ(errorOf([&] { images->call("Add", {Variant(3), "z", picture}); }), 35600);
  EXPECT_EQ(errorOf([&] { item(images, "missing"); }), 35601);
  // A new key finds the image where it was; a taken one is refused.
  images->call("Add", {Variant(1), "front", picture});
  item(images, 2)->set("Key", "renamed");
  EXPECT_EQ(item(images, "renamed")->get("Index").toLong(), 2);
  EXPECT_EQ(errorOf([&] { item(images, 1)->set("Key", "Renamed"); }), 35602);
  EXPECT_EQ(errorOf([&] { tb->set("ImageList", tb); }), 380);  // not an image list
}

// A toolbar is as tall as its buttons make it, whatever its Height is set to.
TEST_F(CommonControlsTest, ToolbarHeightFollowsItsButtonsAndItsButtonsComeFromTheFile) {
  RESCALO_NEED_CORPUS();
  auto lf = load(corpusFile("016-advanced-address-book__1-49021-frmConfig.frm"));
  auto tb1 = obj(*lf.form, "Toolbar1");  // flat
  auto tb2 = obj(*lf.form, "Toolbar2");  // flat, 3-D
  EXPECT_NEAR(tb1->get("ButtonHeight").toDouble(), 953 * 1440.0 / 2540, 0.01);
  EXPECT_EQ((Doubles{tb1->get("Height").toDouble(), tb2->get("Height").toDouble()}),
            (Doubles{540, 570}));
  tb1->set("Style", 0);  // standard buttons take 4 more pixels
  EXPECT_EQ(tb1->get("Height").toDouble(), 600);
  tb1->set("ButtonHeight", 603);  // 40 px: buttons are whole pixels
  // The toolbar follows when events are processed.
  EXPECT_EQ(numbers(*tb1, {"ButtonHeight", "Height"}), (Doubles{600, 600}));
  rt.DoEvents();
  EXPECT_EQ(tb1->get("Height").toDouble(), 660);
  tb1->set("Height", 2000);
  // Aligned to the bottom, it keeps the form's width wherever it is moved; moved up past
  // Toolbar2, it stacks above it.
  tb1->call("Move", {Variant(0), Variant(100), Variant(3000), Variant(100)});
  EXPECT_EQ(numbers(*tb1, {"Height", "Width", "Top"}), (Doubles{660, 6045, 5460 - 570 - 660}));

  auto buttons = tb1->get("Buttons").toObject();
  ASSERT_EQ(buttons->get("Count").toLong(), 6);
  EXPECT_EQ(item(buttons, 1)->get("Caption").toString(), "Cancel");
  EXPECT_EQ(item(buttons, 2)->get("Style").toLong(), 3);
  EXPECT_FALSE(item(buttons, 4)->get("Visible").toBool());
  EXPECT_NEAR(item(buttons, 1)->get("Width").toDouble(), 1032 * 1440.0 / 2540, 0.01);
  EXPECT_EQ(item(buttons, 2)->get("Width").toDouble(), 120);  // a separator's gap
  EXPECT_EQ(errorOf([&] { item(buttons, 1)->set("Width", 5); }), 383);
  auto b = buttons->call("Add", {Variant(1), "first", "New", Variant(), Variant(2)}).toObject();
  EXPECT_EQ(item(buttons, 2)->get("Caption").toString(), "Cancel");
  EXPECT_EQ(b->get("Image").toLong(), 2);

  // The changed button height goes back to the file in HIMETRIC; what did not change stays.
  runtime::storeForm(*lf.form, lf.document);
  const frm::Block* b1 = lf.document.form.find("Toolbar1");
  EXPECT_EQ(b1->property("ButtonHeight")->value, "1058");
  EXPECT_EQ(b1->property("Height")->value, "660");
  EXPECT_EQ(lf.document.form.find("Toolbar2")->property("ButtonHeight")->value, "953");

  // Every toolbar of the sample forms gets the height its file states from its buttons alone.
  for (auto [form, toolbar, height] :
       {std::tuple{"028-VB6-frmMain.frm", "tbrObjects", 630.0},
        // aligned, its seven buttons wrapped onto two rows
        {"063-baminmru-STORE_WEIGHT_POINT-frmMain.frm", "Toolbar1", 1650},
        {"052-arunbaby0-BTech-combotoolbar.frm", "Toolbar1", 690},
        {"036-brent-podruzny-simple-outlook-style-list-bar__1-34136-MDIForm1.frm", "ListBar", 780},
        {"032-TableManForHF-frmMDI.frm", "Toolbar1", 660}}) {
    // As designed: a form saved maximized would give its aligned toolbars the screen's width.
    auto t = obj(*load(corpusFile(form), false).form, toolbar);
    t->set("ButtonHeight", t->get("ButtonHeight"));
    EXPECT_EQ(t->get("Height").toDouble(), height) << form;
  }
}

// Image lists named in a file are bound once the whole form exists.
TEST_F(CommonControlsTest, ImageListsNamedInTheFileAreBoundByName) {
  const fs::path examples = testing_support::examplesDir();
  auto& demo = *load(examples / "demo.frm").form;
  auto tb = obj(demo, "tbrMain");
  EXPECT_EQ(tb->get("ImageList").toObject(), obj(demo, "imlTools"));
  EXPECT_TRUE(tb->get("DisabledImageList").isNothing());
  EXPECT_TRUE(tb->get("HotImageList").isNothing());
  EXPECT_EQ(item(tb->get("Buttons").toObject(), "open")->get("Image").toLong(), 2);
  auto images = obj(demo, "imlTools")->get("ListImages").toObject();
  EXPECT_EQ(images->get("Count").toLong(), 3);
  EXPECT_FALSE(item(images, 3)->get("Picture").isNothing());  // from the .frx beside

  auto& every = *load(examples / "every-control.frm").form;
  EXPECT_EQ(obj(every, "tvwTree")->get("ImageList").toObject(), obj(every, "imlIcons"));
  EXPECT_EQ(obj(every, "lvwList")->get("Icons").toObject(), obj(every, "imlBig"));
  EXPECT_EQ(obj(every, "lvwList")->get("SmallIcons").toObject(), obj(every, "imlIcons"));

  // A toolbar binds its lists for disabled and hot buttons by name too.
  rt.warnings.clear();
  auto& named = *build(formText(
      block("MSComctlLib.ImageList il") +
      block("MSComctlLib.Toolbar tb", "DisabledImageList = \"il\"\nHotImageList = \"il\"\n") +
      block("MSComctlLib.ListView lv",
            place(0, 0, 900, 900) + "Icons = \"nowhere\"\nSmallIcons = \"lv\"\n")));
  for (const char* list : {"DisabledImageList", "HotImageList"})
    EXPECT_EQ(obj(named, "tb")->get(list).toObject(), obj(named, "il")) << list;
  EXPECT_TRUE(obj(named, "lv")->get("Icons").isNothing());
  EXPECT_TRUE(obj(named, "lv")->get("SmallIcons").isNothing());  // a control, not an image list
  EXPECT_EQ(rt.warnings.size(), 2u);
}

// Tree nodes, list items and tab-strip tabs carry the image references an engine saves and
// puts back.
TEST_F(CommonControlsTest, NodesListItemsAndTabsHoldTheirImageReferences) {
  auto& every = *load(testing_support::examplesDir() / "every-control.frm").form;
  auto nodes = obj(every, "tvwTree")->get("Nodes").toObject();
  EXPECT_EQ(nodes->get("Count").toLong(), 0);  // files carry none
  auto root = nodes->call("Add", {Variant(), Variant(), "root", "C:", Variant(1)}).toObject();
  auto child = nodes->call("Add", {"root", Variant(4), "win", "Windows", "open"}).toObject();
  nodes->call("Add", {"win", Variant(2), "sys", "System", Variant(2)});
  EXPECT_EQ(child->get("Parent").toObject(), root);
  EXPECT_EQ(root->get("Children").toLong(), 2);
  EXPECT_EQ(item(nodes, "sys")->get("Parent").toObject(), root);  // a sibling of "win"
  EXPECT_EQ(item(nodes, 2)->get("Image").toString(), "open");
  EXPECT_EQ(errorOf([&] { nodes->call("Add", {"nobody", Variant(4), "x"}); }), 35601);
  nodes->call("Remove", {Variant("root")});  // with everything below it
  EXPECT_EQ(nodes->get("Count").toLong(), 0);

  auto lv = obj(every, "lvwList");
  auto items = lv->get("ListItems").toObject();
  items->call("Add", {Variant(), "a", "Apple", Variant(1), "small"});
  auto b = items->call("Add", {Variant(1), "b", "Banana"}).toObject();
  EXPECT_EQ(b->get("Index").toLong(), 1);
  EXPECT_EQ(item(items, "a")->get("SmallIcon").toString(), "small");
  EXPECT_EQ(item(items, 2)->get("Icon").toLong(), 1);
  EXPECT_FALSE(lv->has("ImageList"));  // a list view binds through Icons and SmallIcons
  EXPECT_EQ(errorOf([&] { lv->set("View", 4); }), 380);

  auto strip = obj(every, "tabPages");
  auto tabs = strip->get("Tabs").toObject();
  ASSERT_EQ(tabs->get("Count").toLong(), 2);
  EXPECT_EQ(strip->get("Tabs", {Variant(2)}).toObject()->get("Caption").toString(), "Second");
  tabs->call("Add", {Variant(), "extra", "Extra", Variant(3)});
  EXPECT_EQ(item(tabs, "extra")->get("Image").toLong(), 3);
}

// The usual libraries give the classes; a same-named class of another library stays generic,
// and Quillmark has buttons from any library without being a toolbar.
TEST_F(CommonControlsTest, ClassesComeFromTheirLibrariesAndEveryOneHasAnExtender) {
  auto form = build(formText(
      block("Other.Toolbar other", place(0, 0, 900, 300)) +
      block("QuillmarkCtl.Quillmark quill",
            place(0, 0, 900, 600) +
                "BeginProperty Buttons {00000000-0000-0000-0000-000000000000}\nNumButtons = 1\n"
                "BeginProperty Button1 {00000000-0000-0000-0000-000000000001}\n"
                "Key = \"bold\"\nImageKey = \"b\"\nEndProperty\nEndProperty\n") +
      block("MSComctlLib.ImageList iml",
            "Left = 10\nTop = 20\n_ExtentX = 1005\n_ExtentY = 1005\nMaskColor = 12632256\n")));
  EXPECT_EQ(obj(*form, "other")->typeName(), "Toolbar");
  EXPECT_EQ(errorOf([&] { obj(*form, "other")->get("Buttons"); }), 438);
  auto quill = obj(*form, "quill");
  EXPECT_EQ(quill->typeName(), "Quillmark");
  EXPECT_EQ(item(quill->get("Buttons").toObject(), "bold")->get("Image").toString(), "b");
  EXPECT_EQ(errorOf([&] { quill->get("ButtonHeight"); }), 438);
  EXPECT_EQ(quill->get("Height").toDouble(), 600);  // no toolbar height rule

  auto iml = obj(*form, "iml");
  // The width from its extent; unmodelled values stay readable.
  EXPECT_EQ(numbers(*iml, {"Left", "Width", "MaskColor", "ImageWidth"}),
            (Doubles{10, 570, 12632256, 0}));
  EXPECT_EQ(iml->get("Parent").toObject(), form);
}

// A form of the given lines, with nothing else: the lines start at line 3 of the file.
std::string bareForm(const std::string& lines) {
  return "VERSION 5.00\nBegin VB.Form F\n" + lines + "End\n";
}

// A number the classic runtime refuses fails as it fails, with the file and line: outside its
// property's type, Overflow; a value the property does not take, Invalid property value.
// Nothing is converted out of range on the way.
TEST_F(LoadingTest, RefusedNumbersFailWithTheClassicErrorAtTheirLine) {
  const std::string button = "Begin VB.CommandButton c\n";
  struct Case {
    std::string lines;
    int error;  // 0: loads
    int line;
  } cases[] = {
      {"ClientWidth = -5000\n", 380, 3},
      {"ClientWidth = 1E+308\n", 6, 3},
      {"ClientHeight = 2147483648\n", 6, 3},
      {"ClientWidth = 2147483647\n" + button + place(0, 0, 100, 100) + "End\n", 380, 3},
      {"ClientLeft = -1e300\n", 6, 3},
      {"ScaleMode = 1E+308\n", 6, 3},
      {"ScaleMode = 12\n", 380, 3},
      {"ScaleMode = 0\nScaleWidth = 0\nScaleHeight = 100\n", 380, 4},
      {"WindowState = 3\n", 380, 3},
      {"BorderStyle = 70000\n", 6, 3},
      {button + "Index = 1E+308\nEnd\n", 6, 4},
      {button + "Index = -1\nEnd\n", 380, 4},
      {button + "Left = 0\nWidth = 2147483647\nEnd\n", 380, 5},
      {button + "Width = 1e308\nEnd\n", 6, 4},
      {button + "Height = -1\nEnd\n", 380, 4},
      {button + "Top = -3e9\nEnd\n", 6, 4},
      {"Begin VB.PictureBox p\nScaleMode = 0\nScaleHeight = 0\nEnd\n", 380, 5},
      {"Begin MSComctlLib.ProgressBar b\n_ExtentX = -20\nEnd\n", 380, 4},
      // The largest window there is, and the hidden pages of a tab dialog, still load.
      {"ClientWidth = 491505\nClientHeight = 0\n" + button + "Left = -75000\nEnd\n", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    try {
      auto form = build(bareForm(c.lines));
      EXPECT_EQ(c.error, 0) << "loaded";
      EXPECT_EQ(form->fullClientWidth(), 491505);
    } catch (const runtime::LoadError& e) {
      EXPECT_EQ(e.number(), c.error);
      std::string where = (dir / "test.frm").string() + ":" + std::to_string(c.line) + ": ";
      EXPECT_EQ(std::string(e.what()).substr(0, where.size()), where) << e.what();
      EXPECT_NE(std::string(e.what()).find(std::string(host::standardDescription(c.error))),
                std::string::npos)
          << e.what();
    }
  }
}

// Each reference reads the .frx it names, in the form's folder or below it, at its offset; one
// that is absolute, climbs out or leads out through a link is refused with a warning naming its
// line, and so is one whose .frx is missing: the form loads with every other picture. A
// reference to a folder says what was expected.
TEST_F(LoadingTest, PictureReferencesReadTheirOwnFrxAndNeverLeaveTheFormsFolder) {
  auto picture = [](raster::Color c, const fs::path& file) {
    std::vector<char> frx(4, '\0');  // something before the entry
    raster::Bitmap bm(2, 1, c);
    bm.setPixel(1, 0, raster::rgb(0, 0, 255));
    appendFrxPicture(frx, bm);
    writeFile(file, frx);
  };
  fs::create_directories(dir / "forms" / "res");
  picture(raster::rgb(255, 0, 0), dir / "forms" / "a.frx");
  picture(raster::rgb(0, 0, 255), dir / "forms" / "res" / "b.frx");
  picture(raster::rgb(0, 255, 0), dir / "outside.frx");
  fs::create_symlink(dir / "outside.frx", dir / "forms" / "link.frx");
  std::string buttons;
  auto button = [&](const std::string& name, const std::string& ref) {
    buttons += block("VB.CommandButton " + name, "Picture = " + frm::quote(ref) + ":0004\n");
  };
  button("cmdA", "a.frx");
  button("cmdB", "res\\b.frx");
  button("cmdUp", "../outside.frx");
  button("cmdAbsolute", (dir / "outside.frx").string());
  button("cmdThrough", "res/../../outside.frx");
  button("cmdLink", "link.frx");
  button("cmdDrive", "C:\\outside.frx");
  button("cmdA2", "./a.frx");
  std::ofstream(dir / "forms" / "f.frm") << bareForm("Picture = \"missing.frx\":0000\n" + buttons);
  auto form = load(dir / "forms" / "f.frm").form;

  auto color = [&](const char* name) -> std::optional<raster::Color> {
    const raster::Bitmap* bm = runtime::bitmapOf(form->find(name)->get("Picture"));
    if (!bm) return std::nullopt;
    return bm->pixel(0, 0);
  };
  ASSERT_EQ(color("cmdA"), raster::rgb(255, 0, 0));
  auto a = form->find("cmdA")->get("Picture").toObject();
  EXPECT_EQ(a->get("Width").toLong(), 53);  // 2 pixels in HIMETRIC
  EXPECT_EQ(runtime::bitmapOf(Variant(a))->pixel(1, 0), raster::rgb(0, 0, 255));
  EXPECT_TRUE(form->get("Picture").isNothing());
  EXPECT_EQ(color("cmdB"), raster::rgb(0, 0, 255));
  EXPECT_EQ(color("cmdA2"), raster::rgb(255, 0, 0));
  for (const char* refused : {"cmdUp", "cmdAbsolute", "cmdThrough", "cmdLink", "cmdDrive"})
    EXPECT_EQ(color(refused), std::nullopt) << refused;
  ASSERT_EQ(rt.warnings.size(), 6u);  // the missing .frx first
  int i = 1;
  for (int line : {11, 14, 17, 20, 23}) {  // the Picture lines of the refused
    std::string where = (dir / "forms" / "f.frm").string() + ":" + std::to_string(line) + ": ";
    EXPECT_EQ(rt.warnings[i].substr(0, where.size()), where) << rt.warnings[i];
    EXPECT_NE(rt.warnings[i++].find("outside the form's folder"), std::string::npos);
  }

  std::ofstream(dir / "forms" / "g.frm")
      << bareForm(block("VB.Image img", "Picture = \".\":0000\n"));
  try {
    load(dir / "forms" / "g.frm");
    ADD_FAILURE() << "a folder loaded as a .frx";
  } catch (const frm::ParseError& e) {
    EXPECT_EQ(e.line(), 4);
    EXPECT_EQ(e.expected(), "a .frx file beside the form, not the folder \".\"");
  }
}

}  // namespace
