#include <gtest/gtest.h>

#include <fstream>

#include "host/failure.h"
#include "runtime/raster/raster.h"
#include "runtime/user_control_host.h"
#include "test_support.h"

using host::Variant;
using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class LoadingTest : public RuntimeTest {};

// Every control of every corpus form stands where its file puts it: by-name reads in the
// container's units, converted back with the container's scale, give the stored twips.
TEST_F(LoadingTest, EveryCorpusFormLoadsWithTheGeometryItsFileStates) {
  int forms = 0, checked = 0;
  for (const auto& entry : fs::directory_iterator(RESCALO_CORPUS_DIR)) {
    if (entry.path().extension() != ".frm") continue;
    SCOPED_TRACE(entry.path().filename().string());
    runtime::LoadedForm lf = runtime::loadForm(rt, entry.path(), {false});
    keep.push_back(lf.form);
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
        runtime::ScaleSpace s = c->space();
        auto stated = [&](const char* n) {
          return frm::parseNumber(b->property(n)->value).value();
        };
        auto read = [&](const char* n) { return c->get(n).toDouble(); };
        if (b->property("X1")) {
          EXPECT_NEAR(read("X1"), stated("X1"), 1e-2) << key;
          EXPECT_NEAR(read("Y2"), stated("Y2"), 1e-2) << key;
          ++checked;
          continue;
        }
        if (b->property("Left")) {
          EXPECT_NEAR(s.toTwipsX(read("Left")), stated("Left"), 0.05) << key;
        }
        if (b->property("Top")) {
          EXPECT_NEAR(s.toTwipsY(read("Top")), stated("Top"), 0.05) << key;
        }
        // An MDI form's aligned boxes are stretched by the form, whatever their file says.
        bool aligned = b->property("Align") && lf.form->isMdi();
        if (b->property("Width") && !aligned) {
          EXPECT_NEAR(read("Width") * s.unitX, stated("Width"), 0.05) << key;
        }
        if (b->property("Height") && !aligned) {
          EXPECT_NEAR(read("Height") * s.unitY, stated("Height"), 0.05) << key;
        }
        ++checked;
      }
    }
    // The form's own scale is the one its file states.
    const frm::Property* sw = lf.document.form.property("ScaleWidth");
    if (sw && !lf.form->isMdi()) {
      EXPECT_NEAR(lf.form->get("ScaleWidth").toDouble(), frm::parseNumber(sw->value).value(), 0.01);
    }
  }
  EXPECT_EQ(forms, 45);
  EXPECT_GT(checked, 1000);
}

TEST_F(LoadingTest, CorpusDetailsSurviveLoading) {
  auto load = [&](const char* name) {
    auto lf = runtime::loadForm(rt, fs::path(RESCALO_CORPUS_DIR) / name, {true});
    keep.push_back(lf.form);
    return lf.form;
  };
  // Controls of hidden tab pages sit 75000 twips to the left.
  auto tabs = load("024-kwiki-software-kwikibilling__1-71779-frmCompanySetup.frm");
  EXPECT_EQ(tabs->find("Frame3")->get("Left").toDouble(), -74760);
  EXPECT_EQ(tabs->find("SSTab1")->typeName(), "SSTab");
  EXPECT_EQ(tabs->find("Frame3")->get("Container").toObject(),
            tabs->find("SSTab1")->shared_from_this());
  // Calendar fonts are font objects with sizes.
  auto cal = load("025-blaiseman-punch-clock-version-1-3-1__1-38216-frmCalendar.frm");
  auto* calendar = cal->controls.front().get();
  for (const char* f : {"DayFont", "GridFont", "TitleFont"})
    EXPECT_GT(calendar->get(f).toObject()->get("Size").toDouble(), 0) << f;
  // Menus have no geometry; an MDI child of a pixel-scaled form reports pixels.
  auto mdi = load("030-ttdxedit-frmMDI.frm");
  EXPECT_FALSE(host::tryGet(*mdi->controls.back(), "Left").has_value());
  EXPECT_EQ(mdi->typeName(), "MDIForm");
  // A form whose .frx is missing still loads, with a warning and no picture.
  auto about = load("003-vbMahjongg-frmAbout.frm");
  EXPECT_TRUE(about->get("Picture").isNothing());
  EXPECT_FALSE(rt.warnings.empty());
}

TEST_F(LoadingTest, PicturesComeFromTheFrxBesideTheForm) {
  // A 2x1 bitmap stored as the classic companion file stores a picture.
  raster::Bitmap bm(2, 1, raster::rgb(255, 0, 0));
  bm.setPixel(1, 0, raster::rgb(0, 0, 255));
  fs::path png = dir / "p.png";
  ASSERT_TRUE(raster::writePng(bm, png));
  std::ifstream in(png, std::ios::binary);
  std::vector<char> image{std::istreambuf_iterator<char>(in), {}};
  std::vector<char> frx(4, '\0');  // something before the entry
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) frx.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  put32(static_cast<std::uint32_t>(image.size() + 8));  // the entry's size
  put32(0x746C);                                        // "lt" signature
  put32(static_cast<std::uint32_t>(image.size()));
  frx.insert(frx.end(), image.begin(), image.end());
  std::ofstream(dir / "pics.frx", std::ios::binary)
      .write(frx.data(), static_cast<std::streamsize>(frx.size()));
  std::ofstream(dir / "pics.frm") << formText(
      "   Begin VB.CommandButton cmd\n      Height = 375\n      Left = 0\n"
      "      Picture = \"pics.frx\":0004\n      Style = 1  'Graphical\n      Top = 0\n      Width "
      "= 975\n   End\n");
  auto lf = runtime::loadForm(rt, dir / "pics.frm");
  keep.push_back(lf.form);
  auto pic = lf.form->find("cmd")->get("Picture").toObject();
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->get("Width").toLong(), 53);  // 2 pixels in HIMETRIC
  EXPECT_EQ(runtime::bitmapOf(Variant(pic))->pixel(1, 0), raster::rgb(0, 0, 255));
  EXPECT_TRUE(rt.warnings.empty());
}

// A user control that records what its site gave it.
class Probe : public host::UserControl {
 public:
  std::string_view typeName() const override { return "Probe"; }
  void Initialize(host::ControlSite& s) override { site = &s; }
  void InitProperties() override { level = 7; }
  void ReadProperties(host::PropertyBag& bag) override {
    level = bag.ReadProperty("Level", 7).toLong();
    label = bag.ReadProperty("Label", "none").toString();
    flag = bag.ReadProperty("Flag", false).toBool();
  }
  void WriteProperties(host::PropertyBag& bag) override {
    bag.WriteProperty("Label", label, "none");
    bag.WriteProperty("Level", level, 7);
    bag.WriteProperty("Flag", flag, false);
  }
  void Resize() override {}
  void Terminate() override {}
  host::ControlSite* site = nullptr;
  std::int32_t level = 0;
  std::string label;
  bool flag = false;

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Level", [](host::Object& o, host::Args) { return Variant(host::self<Probe>(o).level); },
         [](host::Object& o, host::Args, const Variant& v) {
           auto& p = host::self<Probe>(o);
           p.level = v.toLong();
           p.site->PropertyChanged("Level");
         }}};
    return &table;
  }
};

TEST_F(LoadingTest, UserControlBlocksBecomeTheirControlsPropertyBags) {
  rt.userControls().add("Probes.Probe", [] { return std::make_shared<Probe>(); });
  std::string text = formText(
      "   Begin VB.CommandButton cmd\n      Height = 375\n      Left = 0\n      Top = 0\n      "
      "Width = 975\n   End\n"
      "   Begin Probes.Probe Probe1\n      Left = 600\n      Top = 600\n      _ExtentX = 847\n"
      "      _ExtentY = 847\n      Label = \"say \"\"hi\"\"\"\n      Level = 42\n   End\n");
  auto form = build(text, true);
  auto* host = dynamic_cast<runtime::UserControlHost*>(form->find("Probe1"));
  ASSERT_NE(host, nullptr);
  auto& probe = static_cast<Probe&>(host->control());
  EXPECT_EQ(probe.level, 42);
  EXPECT_EQ(probe.label, "say \"hi\"");
  EXPECT_FALSE(probe.flag);
  ASSERT_EQ(probe.site, host);
  EXPECT_TRUE(probe.site->UserMode());
  auto list = probe.site->ParentControls();
  EXPECT_EQ(list->get("Item", {Variant(0)}).toObject(), form);  // the form comes first
  EXPECT_EQ(list->get("Count").toLong(), 3);
  // By name, the extender answers first and the control answers the rest.
  EXPECT_EQ(host->get("Left").toDouble(), 600);
  host->set("Level", 5);
  EXPECT_EQ(host->changedProperties, std::vector<std::string>{"Level"});
  // Saving writes the control's properties back in the order it writes them.
  auto doc = frm::read(text, "test.frm");
  probe.flag = true;
  runtime::storeForm(*form, doc);
  const frm::Block* block = doc.form.find("Probe1");
  std::vector<std::string> names;
  for (const auto& e : block->entries)
    if (auto* p = std::get_if<frm::Property>(&e)) names.push_back(p->name);
  EXPECT_EQ(names, (std::vector<std::string>{"Left", "Top", "_ExtentX", "_ExtentY", "Label",
                                             "Level", "Flag"}));
  EXPECT_EQ(block->property("Flag")->value, "-1");
  EXPECT_EQ(frm::read(frm::write(doc), "again.frm"), doc);
  // Design mode reaches the control through its site.
  auto design = build(text, false);
  auto* dh = dynamic_cast<runtime::UserControlHost*>(design->find("Probe1"));
  EXPECT_FALSE(static_cast<Probe&>(dh->control()).site->UserMode());
}

}  // namespace
