#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "runtime/common_controls.h"
#include "runtime/picture.h"
#include "runtime/raster/raster.h"
#include "test_support.h"

using host::Variant;
using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class CommonControlsTest : public RuntimeTest {
 protected:
  runtime::LoadedForm corpus(const char* name) {
    auto lf = runtime::loadForm(rt, fs::path(RESCALO_CORPUS_DIR) / name);
    keep.push_back(lf.form);
    return lf;
  }
  host::ObjectPtr obj(const std::shared_ptr<runtime::Form>& f, const char* key) {
    runtime::Control* c = f->find(key);
    EXPECT_NE(c, nullptr) << key;
    return c ? c->shared_from_this() : nullptr;
  }
};

host::ObjectPtr item(const host::ObjectPtr& collection, Variant indexOrKey) {
  return collection->get("Item", {indexOrKey}).toObject();
}

// A picture entry of a form's .frx companion: entry size, "lt\0\0", image size, PNG bytes.
void appendFrxPicture(std::vector<char>& frx, const raster::Bitmap& bm, const fs::path& dir) {
  fs::path png = dir / "entry.png";
  ASSERT_TRUE(raster::writePng(bm, png));
  std::ifstream in(png, std::ios::binary);
  std::vector<char> image{std::istreambuf_iterator<char>(in), {}};
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) frx.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put32(static_cast<std::uint32_t>(image.size() + 8));
  put32(0x746C);
  put32(static_cast<std::uint32_t>(image.size()));
  frx.insert(frx.end(), image.begin(), image.end());
}

std::string hex4(std::size_t offset) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(offset));
  return buf;
}

// Pages of the tab dialog: the file's hidden children come back when their page is shown and
// leave when another is; the tab sizes read in the container's units.
TEST_F(CommonControlsTest, TabDialogPagesMoveTheirControlsAndSizesReadInContainerUnits) {
  auto lf = corpus("024-kwiki-software-kwikibilling__1-71779-frmCompanySetup.frm");
  auto tabs = obj(lf.form, "SSTab1");
  EXPECT_EQ(tabs->typeName(), "SSTab");
  EXPECT_EQ(tabs->get("Tabs").toLong(), 3);  // not in the file: the default
  EXPECT_EQ(tabs->get("Tab").toLong(), 0);
  EXPECT_EQ(tabs->get("TabsPerRow").toLong(), 4);
  EXPECT_EQ(tabs->get("Style").toLong(), 1);
  EXPECT_NEAR(tabs->get("TabHeight").toDouble(), 661 * 1440.0 / 2540, 0.01);  // HIMETRIC
  EXPECT_NEAR(tabs->get("TabMaxWidth").toDouble(), 2646 * 1440.0 / 2540, 0.01);
  EXPECT_EQ(tabs->get("TabCaption", {Variant(1)}).toString(), "Company Logo  ");
  EXPECT_EQ(tabs->get("TabCaption(2)").toString(), "Configuration");  // as the file names it
  EXPECT_TRUE(tabs->get("TabPicture", {Variant(0)}).isNothing());     // no .frx here
  EXPECT_EQ(tabs->get("Tab(1).Control(0)").toString(), "cmdSaveImage");

  auto left = [&](const char* k) { return obj(lf.form, k)->get("Left").toDouble(); };
  EXPECT_EQ(left("Frame1"), 240);
  EXPECT_EQ(left("cmdSaveImage"), -69240);  // stored shifted, not shifted again
  EXPECT_EQ(left("Frame3"), -74760);
  std::vector<Variant> clicks;
  tabs->subscribe([&](std::string_view e, host::Args a) {
    if (e == "Click") clicks.push_back(a[0]);
  });
  tabs->set("Tab", 1);
  EXPECT_EQ(left("cmdSaveImage"), 5760);
  EXPECT_GT(left("imgLogo"), 0);
  EXPECT_EQ(left("Frame1"), 240 - 75000);
  EXPECT_EQ(left("Frame3"), -74760);  // page 2 stays hidden
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].toLong(), 0);  // the previous tab
  tabs->set("Tab", 1);               // already shown: nothing moves
  EXPECT_EQ(left("cmdSaveImage"), 5760);
  tabs->set("Tab", 0);
  EXPECT_EQ(left("cmdSaveImage"), -69240);
  EXPECT_EQ(left("Frame1"), 240);
  EXPECT_EQ(errorOf([&] { tabs->set("Tab", 3); }), 380);
  // Dropping the page shown shows the last one left.
  tabs->set("Tab", 2);
  EXPECT_EQ(left("Frame3"), 240);
  tabs->set("Tabs", 2);
  EXPECT_EQ(tabs->get("Tab").toLong(), 1);
  EXPECT_EQ(left("Frame3"), -74760);
  EXPECT_EQ(left("cmdSaveImage"), 5760);
  tabs->set("Tab", 0);
  EXPECT_EQ(errorOf([&] { tabs->get("TabCaption", {Variant(3)}); }), 381);

  // Inside a box measured in pixels the tab height reads in pixels, and is written back to
  // the file in HIMETRIC.
  std::string text = formText(
      "   Begin VB.PictureBox box\n      Height = 3000\n      Left = 0\n      ScaleMode = 3\n"
      "      Top = 0\n      Width = 4000\n"
      "      Begin TabDlg.SSTab dlg\n         Height = 1500\n         Left = 150\n"
      "         Top = 150\n         Width = 3000\n         TabHeight = 529\n"
      "         TabCaption(0) = \"One\"\n      End\n   End\n");
  auto form = build(text);
  auto dlg = obj(form, "dlg");
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

// Images come from the .frx at the list's image size, with their keys and tags; a control bound
// to the list keeps it from changing until it lets go.
TEST_F(CommonControlsTest, ImageListImagesComeFromTheFrxAndABoundListCannotChange) {
  raster::Bitmap red(2, 2, raster::rgb(255, 0, 0));
  raster::Bitmap big(4, 4, raster::rgb(0, 0, 255));
  std::vector<char> frx;
  appendFrxPicture(frx, red, dir);
  std::size_t second = frx.size();
  appendFrxPicture(frx, big, dir);
  std::ofstream(dir / "icons.frx", std::ios::binary)
      .write(frx.data(), static_cast<std::streamsize>(frx.size()));
  std::ofstream(dir / "icons.frm") << formText(
      "   Begin MSComctlLib.ImageList iml\n      Left = 0\n      Top = 0\n"
      "      ImageWidth = 2\n      ImageHeight = 2\n"
      "      BeginProperty Images {2C247F25-8591-11D1-B16A-00C0F0283628}\n"
      "         NumListImages = 2\n"
      "         BeginProperty ListImage1 {2C247F27-8591-11D1-B16A-00C0F0283628}\n"
      "            Picture = \"icons.frx\":0000\n            Key = \"red\"\n         EndProperty\n"
      "         BeginProperty ListImage2 {2C247F27-8591-11D1-B16A-00C0F0283628}\n"
      "            Picture = \"icons.frx\":" +
      hex4(second) +
      "\n            Key = \"blue\"\n            Tag = \"second\"\n"
      "         EndProperty\n      EndProperty\n   End\n"
      "   Begin MSComctlLib.Toolbar tb\n      Align = 1\n      Left = 0\n      Top = 0\n"
      "      Width = 4000\n      ImageList = \"iml\"\n   End\n");
  auto lf = runtime::loadForm(rt, dir / "icons.frm");
  keep.push_back(lf.form);
  EXPECT_TRUE(rt.warnings.empty());
  auto iml = obj(lf.form, "iml");
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

  auto tb = obj(lf.form, "tb");
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
  EXPECT_TRUE(tb->get("ImageList").isNothing());
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
  EXPECT_EQ(item(images, "front")->get("Index").toLong(), 1);
  EXPECT_EQ(errorOf([&] { tb->set("ImageList", tb); }), 380);  // not an image list
}

// A toolbar is as tall as its buttons make it, whatever its Height is set to.
TEST_F(CommonControlsTest, ToolbarHeightFollowsItsButtonsAndItsButtonsComeFromTheFile) {
  auto lf = corpus("016-advanced-address-book__1-49021-frmConfig.frm");
  auto tb1 = obj(lf.form, "Toolbar1");  // flat
  auto tb2 = obj(lf.form, "Toolbar2");  // flat, 3-D
  EXPECT_EQ(tb1->typeName(), "Toolbar");
  EXPECT_NEAR(tb1->get("ButtonHeight").toDouble(), 953 * 1440.0 / 2540, 0.01);
  EXPECT_EQ(tb1->get("Height").toDouble(), 540);
  EXPECT_EQ(tb2->get("Height").toDouble(), 570);
  tb1->set("Style", 0);  // standard buttons take 4 more pixels
  EXPECT_EQ(tb1->get("Height").toDouble(), 600);
  tb1->set("ButtonHeight", 603);  // 40 px: buttons are whole pixels
  EXPECT_EQ(tb1->get("ButtonHeight").toDouble(), 600);
  EXPECT_EQ(tb1->get("Height").toDouble(), 600);  // the toolbar follows when events are processed
  rt.DoEvents();
  EXPECT_EQ(tb1->get("Height").toDouble(), 660);
  tb1->set("Height", 2000);
  EXPECT_EQ(tb1->get("Height").toDouble(), 660);
  tb1->call("Move", {Variant(0), Variant(100), Variant(3000), Variant(100)});
  EXPECT_EQ(tb1->get("Height").toDouble(), 660);
  EXPECT_EQ(tb1->get("Width").toDouble(), 3000);

  auto buttons = tb1->get("Buttons").toObject();
  ASSERT_EQ(buttons->get("Count").toLong(), 6);
  EXPECT_EQ(item(buttons, 1)->get("Caption").toString(), "Cancel");
  EXPECT_EQ(item(buttons, 2)->get("Style").toLong(), 3);
  EXPECT_FALSE(item(buttons, 4)->get("Visible").toBool());
  EXPECT_NEAR(item(buttons, 1)->get("Width").toDouble(), 1032 * 1440.0 / 2540, 0.01);
  EXPECT_EQ(item(buttons, 2)->get("Width").toDouble(), 120);  // a separator's gap
  EXPECT_EQ(errorOf([&] { item(buttons, 1)->set("Width", 5); }), 383);
  auto b = buttons->call("Add", {Variant(1), "first", "New", Variant(), Variant(2)}).toObject();
  EXPECT_EQ(item(buttons, "first")->get("Index").toLong(), 1);
  EXPECT_EQ(item(buttons, 2)->get("Caption").toString(), "Cancel");
  EXPECT_EQ(b->get("Image").toLong(), 2);

  // The changed button height goes back to the file in HIMETRIC; what did not change stays.
  runtime::storeForm(*lf.form, lf.document);
  const frm::Block* b1 = lf.document.form.find("Toolbar1");
  EXPECT_EQ(b1->property("ButtonHeight")->value, "1058");
  EXPECT_EQ(b1->property("Height")->value, "660");
  EXPECT_EQ(lf.document.form.find("Toolbar2")->property("ButtonHeight")->value, "953");

  // Every toolbar of the sample forms gets the height its file states from its buttons alone.
  struct Case {
    const char* form;
    const char* toolbar;
    double height;
  };
  for (Case c : {Case{"028-VB6-frmMain.frm", "tbrObjects", 630},
                 Case{"035-sk-net-cool-word-proccessor__1-27139-MDIForm1.frm", "tbToolbar", 615},
                 Case{"036-brent-podruzny-simple-outlook-style-list-bar__1-34136-MDIForm1.frm",
                      "ListBar", 780},
                 Case{"032-TableManForHF-frmMDI.frm", "Toolbar1", 660}}) {
    auto f = corpus(c.form);
    auto t = obj(f.form, c.toolbar);
    t->set("ButtonHeight", t->get("ButtonHeight"));
    EXPECT_EQ(t->get("Height").toDouble(), c.height) << c.form;
  }
}

// Image lists named in a file are bound once the whole form exists.
TEST_F(CommonControlsTest, ImageListsNamedInTheFileAreBoundByName) {
  auto lf = corpus("028-VB6-frmMain.frm");
  auto tb = obj(lf.form, "tbrObjects");
  EXPECT_EQ(tb->get("ImageList").toObject(), obj(lf.form, "imgList"));
  EXPECT_EQ(tb->get("DisabledImageList").toObject(), obj(lf.form, "imgListDisabled"));
  EXPECT_TRUE(tb->get("HotImageList").isNothing());
  auto first = item(tb->get("Buttons").toObject(), "CYL");
  EXPECT_EQ(first->get("Image").toLong(), 1);
  EXPECT_EQ(first->get("ToolTipText").toString(), "Add Cylinder");
  // No .frx beside the corpus: the images are there with no picture.
  auto images = obj(lf.form, "imgList")->get("ListImages").toObject();
  EXPECT_EQ(images->get("Count").toLong(), 2);
  EXPECT_TRUE(item(images, 1)->get("Picture").isNothing());
  EXPECT_EQ(errorOf([&] { images->call("Clear"); }), 35617);

  auto tree = corpus("017-ajjo-gallery-tree-view__1-60792-Form1.frm");
  EXPECT_EQ(obj(tree.form, "treNames")->get("ImageList").toObject(), obj(tree.form, "ilsBook"));

  rt.warnings.clear();
  auto form = build(formText(
      "   Begin MSComctlLib.ListView lv\n      Height = 900\n      Left = 0\n      Top = 0\n"
      "      Width = 900\n      Icons = \"nowhere\"\n      SmallIcons = \"lv\"\n   End\n"));
  EXPECT_TRUE(obj(form, "lv")->get("Icons").isNothing());
  EXPECT_TRUE(obj(form, "lv")->get("SmallIcons").isNothing());  // a control, not an image list
  EXPECT_EQ(rt.warnings.size(), 2u);
}

// Tree nodes, list items and tab-strip tabs carry the image references an engine saves and
// puts back.
TEST_F(CommonControlsTest, NodesListItemsAndTabsHoldTheirImageReferences) {
  auto tree = obj(corpus("018-cairo-vb6-fExplorer.frm").form, "tvDir");
  auto nodes = tree->get("Nodes").toObject();
  EXPECT_EQ(nodes->get("Count").toLong(), 0);  // files carry none
  auto root = nodes->call("Add", {Variant(), Variant(), "root", "C:", Variant(1)}).toObject();
  auto child = nodes->call("Add", {"root", Variant(4), "win", "Windows", "open"}).toObject();
  nodes->call("Add", {"win", Variant(2), "sys", "System", Variant(2)});
  EXPECT_EQ(child->get("Parent").toObject(), root);
  EXPECT_EQ(root->get("Children").toLong(), 2);
  EXPECT_EQ(item(nodes, "sys")->get("Parent").toObject(), root);  // a sibling of "win"
  EXPECT_EQ(item(nodes, 2)->get("Image").toString(), "open");
  item(nodes, 1)->set("Image", Variant());
  EXPECT_TRUE(item(nodes, 1)->get("Image").isEmpty());
  EXPECT_EQ(errorOf([&] { nodes->call("Add", {"nobody", Variant(4), "x"}); }), 35601);
  nodes->call("Remove", {Variant("root")});  // with everything below it
  EXPECT_EQ(nodes->get("Count").toLong(), 0);

  auto lf = corpus("044-beno-artic-pos-protek__1-73054-frmPOS.frm");
  auto lv = obj(lf.form, "ListView1");
  EXPECT_EQ(lv->get("View").toLong(), 3);
  auto items = lv->get("ListItems").toObject();
  items->call("Add", {Variant(), "a", "Apple", Variant(1), "small"});
  auto b = items->call("Add", {Variant(1), "b", "Banana"}).toObject();
  EXPECT_EQ(b->get("Index").toLong(), 1);
  EXPECT_EQ(item(items, "a")->get("SmallIcon").toString(), "small");
  EXPECT_EQ(item(items, 2)->get("Icon").toLong(), 1);
  EXPECT_FALSE(lv->has("ImageList"));  // a list view binds through Icons and SmallIcons
  EXPECT_EQ(errorOf([&] { lv->set("View", 4); }), 380);

  auto strip = obj(corpus("016-advanced-address-book__1-49021-frmConfig.frm").form, "TabStrip1");
  auto tabs = strip->get("Tabs").toObject();
  ASSERT_EQ(tabs->get("Count").toLong(), 2);
  EXPECT_EQ(item(tabs, 2)->get("Caption").toString(), "Web Access");
  EXPECT_EQ(strip->get("Tabs", {Variant(1)}).toObject()->get("Caption").toString(), "General");
  tabs->call("Add", {Variant(), "extra", "Extra", Variant(3)});
  EXPECT_EQ(item(tabs, "extra")->get("Image").toLong(), 3);
  EXPECT_TRUE(strip->get("ImageList").isNothing());
}

// The usual libraries give the classes; a same-named class of another library stays generic,
// and Quillmark has buttons from any library without being a toolbar.
TEST_F(CommonControlsTest, ClassesComeFromTheirLibrariesAndEveryOneHasExtenderAndFont) {
  auto vb5 = corpus("032-TableManForHF-frmMDI.frm");
  EXPECT_EQ(obj(vb5.form, "Toolbar1")->typeName(), "Toolbar");
  EXPECT_EQ(obj(vb5.form, "Toolbar1")->get("Buttons").toObject()->get("Count").toLong(), 9);

  auto form = build(formText(
      "   Begin Other.Toolbar other\n      Height = 300\n      Left = 0\n      Top = 0\n"
      "      Width = 900\n   End\n"
      "   Begin QuillmarkCtl.Quillmark quill\n      Height = 600\n      Left = 0\n"
      "      Top = 0\n      Width = 900\n"
      "      BeginProperty Buttons {00000000-0000-0000-0000-000000000000}\n"
      "         NumButtons = 1\n         BeginProperty Button1 "
      "{00000000-0000-0000-0000-000000000001}\n"
      "            Key = \"bold\"\n            ImageKey = \"b\"\n         EndProperty\n"
      "      EndProperty\n   End\n"
      "   Begin MSComctlLib.ImageList iml\n      Left = 10\n      Top = 20\n"
      "      _ExtentX = 1005\n      _ExtentY = 1005\n      MaskColor = 12632256\n   End\n"));
  EXPECT_EQ(obj(form, "other")->typeName(), "Toolbar");
  EXPECT_EQ(errorOf([&] { obj(form, "other")->get("Buttons"); }), 438);
  auto quill = obj(form, "quill");
  EXPECT_EQ(quill->typeName(), "Quillmark");
  EXPECT_EQ(item(quill->get("Buttons").toObject(), "bold")->get("Image").toString(), "b");
  EXPECT_EQ(errorOf([&] { quill->get("ButtonHeight"); }), 438);
  EXPECT_EQ(quill->get("Height").toDouble(), 600);  // no toolbar height rule

  auto iml = obj(form, "iml");
  EXPECT_EQ(iml->get("Left").toDouble(), 10);
  EXPECT_EQ(iml->get("Width").toDouble(), 570);  // from its extent
  EXPECT_EQ(iml->get("Font").toObject()->get("Name").toString(), "MS Sans Serif");
  EXPECT_EQ(iml->get("MaskColor").toLong(), 12632256);  // unmodelled values stay readable
  EXPECT_EQ(iml->get("Parent").toObject(), form);
  EXPECT_EQ(iml->get("ImageWidth").toLong(), 0);
}

// Reading a form and writing it back changes nothing that nobody changed.
TEST_F(CommonControlsTest, CorpusFormsWithCommonControlsWriteBackUnchanged) {
  for (const auto& entry : fs::directory_iterator(RESCALO_CORPUS_DIR)) {
    if (entry.path().extension() != ".frm") continue;
    // Design mode: a form that starts maximized would otherwise store its maximized size.
    auto lf = runtime::loadForm(rt, entry.path(), {false});
    keep.push_back(lf.form);
    frm::Document before = lf.document;
    runtime::storeForm(*lf.form, lf.document);
    std::string was = frm::write(before), now = frm::write(lf.document);
    if (was == now) continue;
    std::istringstream w(was), n(now);
    std::string a, b;
    int line = 1;
    while (std::getline(w, a) && std::getline(n, b) && a == b) ++line;
    ADD_FAILURE() << entry.path().filename() << ":" << line << ": " << a << " -> " << b;
  }
}

}  // namespace
