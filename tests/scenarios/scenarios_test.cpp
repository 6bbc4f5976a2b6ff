// Whole forms living through load, drags and unload, given a Rescalo the way the form designer
// gives them one: every sample form shown, dragged by the user through several sizes and looked
// at after each pause; the demo form dragged a hundred times; large generated forms dragged at
// random and brought back to the size they were designed at.

#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

#include <rescalo/control/rescalo.h>
#include <rescalo/host/failure.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/raster.h>
#include "comparison.h"
#include "generated_form.h"
#include "rescalo_support.h"

using namespace rescalo;
using testing_support::aligned;

using host::Variant;
namespace fs = std::filesystem;

namespace {

// The controls that the file's Rescalo has flags for: their locks, not proportion, place them.
std::set<std::string> flaggedKeys(const frm::Document& doc) {
  std::set<std::string> out;
  for (const frm::Block* r : doc.form.children()) {
    const frm::Property* count =
        r->className == control::kRescaloClass ? r->property("ControlFlagCount") : nullptr;
    for (int n = 1; count && n <= *frm::parseNumber(count->value); ++n)
      if (const frm::Property* key = r->property(std::to_string(n) + "ControlFlagControlKey"))
        out.insert(frm::unquote(key->value).value_or(key->value));
  }
  return out;
}

// A control the engine places by proportion alone: sited on the form, a plain rectangle the
// runtime does not size by itself (aligned boxes, toolbars, one-line combos), no line, tab
// dialog or image list, not skipped by name, and not the Rescalo.
bool plain(const runtime::Control& c, const runtime::Form& form) {
  if (c.container != &form || aligned(c)) return false;
  const runtime::ControlClass& cls = c.controlClass();
  if (cls.geometry != runtime::Geometry::Rect || cls.fixedHeight) return false;
  for (const char* special : {"Line", "SSTab", "ImageList", "Toolbar", "Rescalo"})
    if (c.typeName() == special) return false;
  std::string upper = c.name().substr(0, 8);
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return upper != "NORESIZE";
}

double fileNumber(const frm::Document& doc, const char* name) {
  const frm::Property* p = doc.form.property(name);
  return p ? *frm::parseNumber(p->value) : 0;
}

// Float-level agreement: the engine computes in single precision.
double tolerance(double expected) { return 1e-3 + 2e-6 * std::fabs(expected); }

class ScenarioTest : public testing_support::RescaloTest {
 protected:
  // The outer size that gives the form this inner size in twips.
  static void dragToInner(runtime::Form& form, double innerW, double innerH) {
    form.userDrag(form.width() - form.clientWidthTwips() + innerW,
                  form.height() - form.clientHeightTwips() + innerH);
  }

  // Design geometry of the plain controls, by key.
  std::map<std::string, std::vector<double>> plainGeometry(runtime::Form& form) {
    std::map<std::string, std::vector<double>> out;
    for (const auto& c : form.controls())
      if (plain(*c, form))
        out[c->key()] = testing_support::numbers(*c, {"Left", "Top", "Width", "Height"});
    return out;
  }

  // Every plain control is at its design geometry times the form's inner size over its
  // design inner size.
  void expectProportional(runtime::Form& form,
                          const std::map<std::string, std::vector<double>>& design, double designW,
                          double designH, const std::string& when) {
    double rx = form.clientWidthTwips() / designW, ry = form.clientHeightTwips() / designH;
    for (const auto& [key, g] : design) {
      runtime::Control* c = form.find(key);
      const double expected[] = {g[0] * rx, g[1] * ry, g[2] * rx, g[3] * ry};
      const char* names[] = {"Left", "Top", "Width", "Height"};
      for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(c->get(names[i]).toDouble(), expected[i], tolerance(expected[i]))
            << form.name << " " << key << "." << names[i] << " " << when;
    }
  }

  std::shared_ptr<runtime::Form> demo() {
    return load(fs::path(RESCALO_SOURCE_DIR) / "examples" / "demo.frm").form;
  }
};
using CorpusLayoutTest = ScenarioTest;
using PictureFormTest = ScenarioTest;

// What a user can see of a control: where it stands (geometry, line ends), its fonts,
// borders, pictures, tab and image sizes.
struct Look {
  std::vector<std::pair<std::string, double>> place, sizes;
  std::vector<std::pair<std::string, std::optional<raster::Bitmap>>> pictures;
};

Look lookOf(host::Object& c) {
  Look look;
  for (const char* name : {"Left", "Top", "Width", "Height", "X1", "X2", "Y1", "Y2"})
    if (auto v = host::tryGet(c, name); v && v->isNumeric())
      look.place.emplace_back(name, v->toDouble());
  for (const char* name : {"BorderWidth", "TabHeight", "ImageWidth", "ImageHeight"})
    if (auto v = host::tryGet(c, name); v && v->isNumeric())
      look.sizes.emplace_back(name, v->toDouble());
  for (const char* font : {"Font", "DayFont", "GridFont", "TitleFont", "HeadFont"})
    if (auto f = host::tryGet(c, font); f && f->isObject() && !f->isNothing())
      look.sizes.emplace_back(std::string(font) + ".Size", f->toObject()->get("Size").toDouble());
  for (const char* name : {"Picture", "DownPicture", "DisabledPicture"})
    if (auto p = host::tryGet(c, name)) {
      const raster::Bitmap* bm = runtime::bitmapOf(*p);
      look.pictures.emplace_back(name, bm ? std::optional(*bm) : std::nullopt);
    }
  return look;
}

std::map<std::string, Look> lookOfForm(runtime::Form& form) {
  std::map<std::string, Look> out;
  for (const auto& c : form.controls()) out[c->key()] = lookOf(*c);
  out["(form)"] = lookOf(form);
  return out;
}

// Every control stands where it was to the twip, since each pass places from the captured
// reference and never from what the pass before left; a size kept in other units (a tab
// height in HIMETRIC) may differ in its last bits.
void expectSameLook(const std::map<std::string, Look>& before,
                    const std::map<std::string, Look>& after, const std::string& form) {
  for (const auto& [key, was] : before) {
    const Look& now = after.at(key);
    EXPECT_EQ(now.place, was.place) << form << " " << key;
    ASSERT_EQ(now.sizes.size(), was.sizes.size()) << form << " " << key;
    for (std::size_t i = 0; i < was.sizes.size(); ++i)
      EXPECT_NEAR(now.sizes[i].second, was.sizes[i].second, tolerance(was.sizes[i].second))
          << form << " " << key << "." << was.sizes[i].first;
    EXPECT_EQ(now.pictures, was.pictures) << form << " " << key;
  }
}

host::ObjectPtr rescaloControl(runtime::Form& form) {
  for (const auto& c : form.controls())
    if (c->typeName() == "Rescalo") return c;
  return nullptr;
}

// Every font of every control, by control and member: its face, size, bold and italic.
std::map<std::string, std::tuple<std::string, double, bool, bool>> fontsOf(runtime::Form& form) {
  std::map<std::string, std::tuple<std::string, double, bool, bool>> out;
  for (const auto& c : form.controls())
    for (const char* member : {"Font", "DayFont", "GridFont", "TitleFont", "HeadFont"})
      if (auto v = host::tryGet(*c, member); v && v->isObject() && !v->isNothing()) {
        auto f = v->toObject();
        out[c->key() + "." + member] = {f->get("Name").toString(), f->get("Size").toDouble(),
                                        f->get("Bold").toBool(), f->get("Italic").toBool()};
      }
  return out;
}

// Shown, restored, enlarged and shrunk, every plain control is in proportion; dragged through
// sizes that stretch one axis and shrink the other and moved back to its size, every form looks
// as designed. One face replaces every font before the capture, keeping sizes and styles.
TEST_F(CorpusLayoutTest, EveryFormPlacesItsPlainControlsInProportionAndComesBackAsDesigned) {
  std::size_t checked = 0, forms = 0, compared = 0, replaced = 0;
  for (const fs::path& file : testing_support::formsToCheck()) {
    SCOPED_TRACE(file.filename().string());
    frm::Document doc = frm::readFile(file);
    auto form = loadWithRescalo(file);
    // An MDI form holds only aligned boxes and menus: none is placed by proportion alone.
    const bool mdi = form->isMdi();
    forms += mdi ? 0 : 1;
    double designW = fileNumber(doc, "ClientWidth"), designH = fileNumber(doc, "ClientHeight");
    auto design = mdi ? decltype(plainGeometry(*form)){} : plainGeometry(*form);
    for (const std::string& key : flaggedKeys(doc)) design.erase(key);
    checked += design.size();

    form->call("Show");  // a form saved maximized is laid out for the whole screen here
    auto fonts = fontsOf(*form);
    expectProportional(*form, design, designW, designH, "shown");
    if (form->windowState() != 0) {
      form->set("WindowState", 0);
      pause();
      expectProportional(*form, design, designW, designH, "restored");
    }
    const double outerW = form->width(), outerH = form->height();
    const double innerW = form->clientWidthTwips(), innerH = form->clientHeightTwips();
    const auto designed = lookOfForm(*form);
    compared += designed.size();
    dragToInner(*form, designW * 1.37, designH * 1.21);
    pause();
    expectProportional(*form, design, designW, designH, "enlarged");
    dragToInner(*form, designW * 0.8, designH * 0.9);
    pause();
    expectProportional(*form, design, designW, designH, "shrunk");
    for (auto [rx, ry] : {std::pair{1.5, 1.3}, {0.6, 0.7}, {2.0, 0.5}, {0.3, 1.9}}) {
      dragToInner(*form, innerW * rx, innerH * ry);
      pause();
    }
    form->call("Move",
               {Variant(form->left()), Variant(form->top()), Variant(outerW), Variant(outerH)});
    pause();
    expectSameLook(designed, lookOfForm(*form), form->name);
    form->unload();

    auto arial = loadWithRescalo(file);
    rescaloControl(*arial)->set("ReplaceFontsWith", "Arial");
    arial->call("Show");
    for (auto& [key, font] : fonts) std::get<0>(font) = "Arial";
    EXPECT_EQ(fontsOf(*arial), fonts);
    replaced += fonts.size();
    arial->unload();
  }
  if (testing_support::haveCorpus()) {
    EXPECT_EQ(forms, 77u + 4u);  // the non-MDI forms of both batches, and the examples
    EXPECT_GT(checked, 300u);
    EXPECT_GT(compared, 700u);
    EXPECT_GT(replaced, 300u);
  } else {
    EXPECT_GT(checked, 20u) << "the examples alone";
    EXPECT_GT(compared, 60u);
    EXPECT_GT(replaced, 20u);
  }
}

// The locks of the example form, one kind of control each: what is locked stays as designed,
// an edge kept from the right or the bottom keeps its distance from that side of the form,
// and the rest of each control still scales.
TEST_F(CorpusLayoutTest, LockedEdgesSizesFontsAndBordersStayAsDesigned) {
  auto form = loadWithRescalo(testing_support::examplesDir() / "every-control.frm");
  form->call("Show");
  const double designW = form->clientWidthTwips(), designH = form->clientHeightTwips();
  dragToInner(*form, designW * 1.5, designH * 1.75);
  pause();
  const double w = form->clientWidthTwips(), h = form->clientHeightTwips();
  const double rx = w / designW, ry = h / designH;
  auto near = [&](const char* key, const std::vector<double>& want,
                  std::initializer_list<const char*> names = {"Left", "Top", "Width", "Height"}) {
    const std::vector<double> got = testing_support::numbers(*form->find(key), names);
    for (std::size_t i = 0; i < want.size(); ++i)
      EXPECT_NEAR(got.at(i), want[i], tolerance(want[i])) << key << " " << i;
  };
  near("cmdOK", {120 * rx, 5760 * ry, 1200, 375});      // size kept
  near("txtFixed", {1440, 5760, 2400 * rx, 315 * ry});  // left and top kept
  near("lblNote", {3960 * rx, h - (designH - 5760 - 315) - 315, 2400 * rx, 315});  // bottom kept
  EXPECT_EQ(form->find("lblNote")->get("Font").toObject()->get("Size").toDouble(), 8.25);
  near("imgLogo", {w - (designW - 8760 - 720) - 720, 600 * ry, 720, 720 * ry});  // right kept
  near("linLocked", {120, 6600, 3840, 6600}, {"X1", "Y1", "X2", "Y2"});
  // Borders scale with the control's tighter ratio, unless locked.
  EXPECT_EQ(form->find("shpFixed")->get("BorderWidth").toDouble(), 2);
  EXPECT_EQ(form->find("shpMark")->get("BorderWidth").toDouble(), 4);  // 3 x 1.5, to even
}

// Every picture the demo form shows, by where it is shown.
std::map<std::string, raster::Bitmap> picturesOf(runtime::Form& form) {
  std::map<std::string, raster::Bitmap> out;
  auto keepPicture = [&](const std::string& where, const Variant& v) {
    if (const raster::Bitmap* bm = runtime::bitmapOf(v)) out[where] = *bm;
  };
  for (const auto& c : form.controls()) {
    for (const char* name : {"Picture", "DownPicture", "DisabledPicture"})
      if (auto v = host::tryGet(*c, name)) keepPicture(c->key() + "." + name, *v);
    if (c->typeName() == "SSTab")
      keepPicture(c->key() + ".TabPicture(0)", c->get("TabPicture", {Variant(0)}));
    if (c->typeName() == "ImageList") {
      auto images = c->get("ListImages").toObject();
      for (int n = 1; n <= images->get("Count").toLong(); ++n)
        keepPicture(c->key() + ".ListImages(" + std::to_string(n) + ")",
                    images->get("Item", {Variant(n)}).toObject()->get("Picture"));
    }
  }
  return out;
}

// A hundred drags of the demo form. Its pictures are rescaled from the designed ones every
// time, so they end as one drag leaves them, and as designed back at the design size. The
// toolbar's height loop grows the buttons a pixel at a time until the toolbar is as tall as its
// scaled height and takes the reference button height from what it grew to: drags never make
// it fail, never leave it shorter than designed, and settle, a second burst changing nothing.
TEST_F(PictureFormTest, AHundredDragsLeaveThePicturesOfOneDragAndTheToolbarSettled) {
  auto often = demo(), once = demo();
  auto designed = picturesOf(*often);
  ASSERT_GE(designed.size(), 6u);  // logo, help button, tab page, three list images
  often->call("Show");
  once->call("Show");
  const double w = often->clientWidthTwips(), h = often->clientHeightTwips();
  auto toolbar = often->find("tbrMain");
  const double toolbarHeight = toolbar->get("Height").toDouble();
  auto burst = [&] {
    for (int i = 0; i < 100; ++i) {
      dragToInner(*often, w * (0.5 + (i * 37 % 100) / 60.0), h * (0.5 + (i * 53 % 100) / 70.0));
      pause();
    }
  };
  burst();
  dragToInner(*often, w * 1.3, h * 1.2);
  dragToInner(*once, w * 1.3, h * 1.2);
  pause();
  auto afterMany = picturesOf(*often), afterOne = picturesOf(*once);
  EXPECT_EQ(afterMany.size(), designed.size());
  for (const auto& [where, bm] : afterOne) {
    EXPECT_NE(bm, designed.at(where)) << where;  // they were rescaled
    EXPECT_EQ(afterMany.at(where), bm) << where;
  }
  dragToInner(*often, w, h);
  pause();
  EXPECT_EQ(picturesOf(*often), designed);

  const double settled = toolbar->get("Height").toDouble();
  EXPECT_GE(settled, toolbarHeight);
  EXPECT_LE(settled, toolbarHeight + 2 * 15);
  burst();
  dragToInner(*often, w, h);
  pause();
  EXPECT_EQ(toolbar->get("Height").toDouble(), settled);
  EXPECT_TRUE(rt.messages.empty());  // no pass failed
}

// Where every control stands, in twips, and its font size: one line per control.
std::vector<std::string> geometryOf(const runtime::Form& form) {
  std::vector<std::string> out;
  for (const auto& c : form.controls()) {
    std::ostringstream line;
    line << c->key() << " " << c->left << " " << c->top << " " << c->width << " " << c->height
         << " " << c->x1 << " " << c->y1 << " " << c->x2 << " " << c->y2;
    if (c->font) line << " " << c->font->size();
    out.push_back(line.str());
  }
  return out;
}

// A hundred random drags of large generated forms, each sequence from its own seed so that a
// failure names the one to replay: every control is back where it was designed and as large, to
// the twip, since each pass places from the captured reference.
TEST_F(ScenarioTest, AHundredRandomDragSequencesOfGeneratedFormsEndAsDesigned) {
  for (unsigned seed = 1; seed <= 100; ++seed) {
    std::mt19937 random(seed);
    const int controls = std::uniform_int_distribution<int>(5, 300)(random);
    const fs::path file = fs::path(RESCALO_SOURCE_DIR) / "generated.frm";
    auto form =
        loadWithRescalo(frm::read(testing_support::generatedForm(controls), file.string()), file);
    form->call("Show");
    const double w = form->width(), h = form->height();
    const auto designed = geometryOf(*form);
    std::uniform_real_distribution<double> ratio(0.2, 3.0);
    const int drags = std::uniform_int_distribution<int>(1, 8)(random);
    for (int i = 0; i < drags; ++i) {
      form->userDrag(w * ratio(random), h * ratio(random));
      // Some drags are passed before the pass runs, as a user's quick drag is.
      if (random() % 3) pause();
    }
    form->userDrag(w, h);
    pause();
    ASSERT_EQ(geometryOf(*form), designed) << "seed " << seed << ", " << controls << " controls";
  }
}

}  // namespace
