// Large generated forms dragged at random and brought back to the size they were designed at:
// every control is back where it was designed and as large, to the twip. Each pass places from
// the captured reference, never from what the pass before left.

#include <random>
#include <sstream>

#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/loader.h>
#include "generated_form.h"
#include "rescalo_support.h"

using namespace rescalo;
namespace fs = std::filesystem;

namespace {

using DriftTest = testing_support::RescaloTest;

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
// failure names the one to replay.
TEST_F(DriftTest, AHundredRandomDragSequencesOfGeneratedFormsEndAsDesigned) {
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
