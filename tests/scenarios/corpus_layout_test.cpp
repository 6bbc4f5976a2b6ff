// Every sample form, given a Rescalo the way the form designer gives it one, is shown, dragged
// by the user through several sizes and looked at after each pause.

#include <cmath>
#include <map>
#include <optional>

#include "host/failure.h"
#include "runtime/picture.h"
#include "runtime/raster/raster.h"
#include "scenario_support.h"

using namespace scenario;
using host::Variant;
namespace fs = std::filesystem;

namespace {

std::vector<fs::path> corpusForms() {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(RESCALO_CORPUS_DIR))
    if (e.path().extension() == ".frm") out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

// A control the engine places by proportion alone: sited on the form, a plain rectangle the
// runtime does not size by itself (aligned boxes, toolbars, one-line combos), no line, tab
// dialog or image list, not skipped by name, and not the Rescalo.
bool plain(const runtime::Control& c, const runtime::Form& form) {
  if (c.container != &form) return false;
  const runtime::ControlClass& cls = c.controlClass();
  if (cls.geometry != runtime::Geometry::Rect || cls.fixedHeight) return false;
  for (const char* special : {"Line", "SSTab", "ImageList", "Toolbar", "Rescalo"})
    if (c.typeName() == special) return false;
  auto& obj = const_cast<runtime::Control&>(c);
  if (auto align = host::tryGet(obj, "Align"); align && align->toLong() != 0) return false;
  std::string upper = c.name.substr(0, 8);
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return upper != "NORESIZE";
}

double fileNumber(const frm::Document& doc, const char* name) {
  const frm::Property* p = doc.form.property(name);
  return p ? *frm::parseNumber(p->value) : 0;
}

// Float-level agreement: the engine computes in single precision.
double tolerance(double expected) { return 1e-3 + 2e-6 * std::fabs(expected); }

class CorpusLayoutTest : public ScenarioTest {
 protected:
  void pause() { rt.advance(150); }  // the pass runs 100 ms after the last Resize

  // Design geometry of the plain controls, by key.
  std::map<std::string, std::array<double, 4>> plainGeometry(runtime::Form& form) {
    std::map<std::string, std::array<double, 4>> out;
    for (const auto& c : form.controls)
      if (plain(*c, form))
        out[c->key()] = {c->get("Left").toDouble(), c->get("Top").toDouble(),
                         c->get("Width").toDouble(), c->get("Height").toDouble()};
    return out;
  }

  // Every plain control is at its design geometry times the form's inner size over its
  // design inner size.
  void expectProportional(runtime::Form& form,
                          const std::map<std::string, std::array<double, 4>>& design,
                          double designW, double designH, const std::string& when) {
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
};

TEST_F(CorpusLayoutTest, EveryCorpusFormPlacesItsPlainControlsInProportion) {
  std::size_t checked = 0, forms = 0;
  for (const fs::path& file : corpusForms()) {
    frm::Document doc = frm::readFile(file);
    auto form = load(file);
    if (form->isMdi()) continue;  // an MDI form holds only aligned boxes and menus
    ++forms;
    double designW = fileNumber(doc, "ClientWidth"), designH = fileNumber(doc, "ClientHeight");
    auto design = plainGeometry(*form);
    checked += design.size();

    form->call("Show");  // a form saved maximized is laid out for the whole screen here
    expectProportional(*form, design, designW, designH, "shown");
    if (form->windowState() != 0) {
      form->set("WindowState", 0);
      pause();
      expectProportional(*form, design, designW, designH, "restored");
    }
    dragToInner(*form, designW * 1.37, designH * 1.21);
    pause();
    expectProportional(*form, design, designW, designH, "enlarged");
    dragToInner(*form, designW * 0.8, designH * 0.9);
    pause();
    expectProportional(*form, design, designW, designH, "shrunk");
    form->unload();
  }
  EXPECT_EQ(forms, 39u);
  EXPECT_GT(checked, 300u);
}

// What a user can see of a control: geometry, line ends, fonts, borders, pictures, tab and
// image sizes.
struct Look {
  std::vector<std::pair<std::string, double>> numbers;
  std::vector<std::pair<std::string, std::optional<raster::Bitmap>>> pictures;
};

Look lookOf(host::Object& c) {
  Look look;
  auto number = [&](const char* name) {
    if (auto v = host::tryGet(c, name); v && v->isNumeric())
      look.numbers.emplace_back(name, v->toDouble());
  };
  for (const char* name : {"Left", "Top", "Width", "Height", "X1", "X2", "Y1", "Y2", "BorderWidth",
                           "TabHeight", "ImageWidth", "ImageHeight"})
    number(name);
  for (const char* font : {"Font", "DayFont", "GridFont", "TitleFont", "HeadFont"})
    if (auto f = host::tryGet(c, font); f && f->isObject() && !f->isNothing())
      look.numbers.emplace_back(std::string(font) + ".Size", f->toObject()->get("Size").toDouble());
  for (const char* name : {"Picture", "DownPicture", "DisabledPicture"})
    if (auto p = host::tryGet(c, name)) {
      const raster::Bitmap* bm = runtime::bitmapOf(*p);
      look.pictures.emplace_back(name, bm ? std::optional(*bm) : std::nullopt);
    }
  return look;
}

bool aligned(const runtime::Control& c) {
  auto align = host::tryGet(const_cast<runtime::Control&>(c), "Align");
  return align && align->toLong() != 0;
}

// Left out of the comparison, where the engine itself does not come back to the design:
// - a toolbar, whose height loop only ever grows its buttons, so they may stay a pixel or two
//   taller once the form was enlarged;
// - on an MDI form with aligned boxes, everything: its inner size is what the boxes leave
//   free, and the boxes are themselves scaled by the ratio of that size;
// - on a form saved maximized, what aligned boxes hold: the boxes already span the maximized
//   form when their contents are captured, against the design size of the form.
bool outsideComparison(const runtime::Control& c, const runtime::Form& form) {
  bool hasAligned = std::any_of(form.controls.begin(), form.controls.end(),
                                [](const auto& other) { return aligned(*other); });
  if (form.isMdi() && hasAligned) return true;
  const host::Variant* state = form.stored.find("WindowState");
  if (state && state->toLong() == 2)
    for (auto* p = dynamic_cast<const runtime::Control*>(c.container); p;
         p = dynamic_cast<const runtime::Control*>(p->container))
      if (aligned(*p)) return true;
  return c.typeName() == "Toolbar";
}

std::map<std::string, Look> lookOfForm(runtime::Form& form) {
  std::map<std::string, Look> out;
  for (const auto& c : form.controls)
    if (!outsideComparison(*c, form)) out[c->key()] = lookOf(*c);
  out["(form)"] = lookOf(form);
  return out;
}

void expectSameLook(const std::map<std::string, Look>& before,
                    const std::map<std::string, Look>& after, const std::string& form) {
  for (const auto& [key, was] : before) {
    const Look& now = after.at(key);
    ASSERT_EQ(now.numbers.size(), was.numbers.size()) << form << " " << key;
    for (std::size_t i = 0; i < was.numbers.size(); ++i)
      EXPECT_NEAR(now.numbers[i].second, was.numbers[i].second, tolerance(was.numbers[i].second))
          << form << " " << key << "." << was.numbers[i].first;
    EXPECT_EQ(now.pictures, was.pictures) << form << " " << key;
  }
}

TEST_F(CorpusLayoutTest, DragsThatEndAtTheDesignedSizeLeaveEveryFormAsDesigned) {
  std::size_t compared = 0;
  for (const fs::path& file : corpusForms()) {
    auto form = load(file);
    form->call("Show");
    if (form->windowState() != 0) {
      form->set("WindowState", 0);
      pause();
    }
    double outerW = form->width(), outerH = form->height();
    double innerW = form->clientWidthTwips(), innerH = form->clientHeightTwips();
    auto designed = lookOfForm(*form);
    compared += designed.size();
    for (auto [rx, ry] : {std::pair{1.5, 1.3}, {0.6, 0.7}, {2.0, 0.5}, {0.3, 1.9}}) {
      dragToInner(*form, innerW * rx, innerH * ry);
      pause();
    }
    form->call("Move",
               {Variant(form->left()), Variant(form->top()), Variant(outerW), Variant(outerH)});
    pause();
    expectSameLook(designed, lookOfForm(*form), form->name);
    form->unload();
  }
  EXPECT_GT(compared, 700u);
}

}  // namespace
