// Controls aligned to the edges of their form: every kind that has an Align (picture boxes,
// toolbars, status and progress bars, anything else that says so) stacks with the others,
// keeping its thickness, on load and whenever the form or one of them changes.

#include <gtest/gtest.h>

#include "test_support.h"

using namespace rescalo;
using namespace testing_support;

namespace {

class AlignmentTest : public RuntimeTest {};

std::string toolbar(const std::string& name, int buttons, const std::string& extra = {}) {
  std::string b = "BeginProperty Buttons\nNumButtons = " + std::to_string(buttons) + "\n";
  for (int i = 1; i <= buttons; ++i)
    b += "BeginProperty Button" + std::to_string(i) + "\nEndProperty\n";
  // 1058 x 1376 HIMETRIC: buttons of 40 x 52 pixels; standard style, 3-D: 6 pixels more.
  return block("MSComctlLib.Toolbar " + name,
               "Align = 1\n" + place(0, 0, 4000, 100) +
                   "ButtonWidth = 1058\nButtonHeight = 1376\nAppearance = 1\n" + extra + b +
                   "EndProperty\n");
}

std::string box(const std::string& cls, const std::string& name, int align, int l, int t, int w,
                int h, const std::string& extra = {}) {
  return block(cls + " " + name,
               "Align = " + std::to_string(align) + "\n" + place(l, t, w, h) + extra);
}

struct Rect {
  const char* name;
  double left, top, width, height;
};

void expectRects(runtime::Form& form, const std::vector<Rect>& rects, const std::string& when) {
  for (const Rect& r : rects) {
    runtime::Control* c = form.find(r.name);
    ASSERT_NE(c, nullptr) << r.name;
    EXPECT_EQ((std::vector<double>{c->left, c->top, c->width, c->height}),
              (std::vector<double>{r.left, r.top, r.width, r.height}))
        << r.name << " " << when;
  }
}

// Each form is checked as loaded (4000 x 3000 inside), then made 6000 x 4000 inside.
TEST_F(AlignmentTest, AlignedControlsStackOnTheirEdgesInTheOrderTheyStand) {
  struct Case {
    const char* what;
    std::string body;
    std::vector<Rect> loaded, enlarged;
  };
  const std::string status = box("MSComctlLib.StatusBar", "sb", 2, 0, 2600, 4000, 400);
  const std::vector<Case> cases = {
      {"a toolbar, then a picture box below it",
       toolbar("tb", 1, "Style = 1\nAppearance = 0\n") +
           box("VB.PictureBox", "pic", 1, 0, 780, 4000, 600),
       {{"tb", 0, 0, 4000, 780}, {"pic", 0, 780, 4000, 600}},
       {{"tb", 0, 0, 6000, 780}, {"pic", 0, 780, 6000, 600}}},
      {"the file lists the lower box first: the order is where they stand",
       box("VB.PictureBox", "lower", 1, 0, 500, 4000, 300) +
           box("VB.PictureBox", "upper", 1, 0, 0, 4000, 495),
       {{"upper", 0, 0, 4000, 495}, {"lower", 0, 495, 4000, 300}},
       {{"upper", 0, 0, 6000, 495}, {"lower", 0, 495, 6000, 300}}},
      {"top and bottom span the form, left and right share what is between; each is a window "
       "of whole pixels, so 500 twips stack as 495, 400 as 405 and 1000 as 1005",
       box("VB.PictureBox", "side", 4, 3000, 500, 1000, 2100) +
           box("VB.PictureBox", "head", 1, 0, 0, 4000, 500) + status +
           box("VB.PictureBox", "tree", 3, 0, 500, 800, 2100),
       {{"head", 0, 0, 4000, 500},
        {"sb", 0, 2595, 4000, 400},
        {"tree", 0, 495, 800, 2100},
        {"side", 2995, 495, 1000, 2100}},
       {{"head", 0, 0, 6000, 500},
        {"sb", 0, 3595, 6000, 400},
        {"tree", 0, 495, 800, 3100},
        {"side", 4995, 495, 1000, 3100}}},
      {"a hidden bar leaves its edge to the next",
       box("VB.PictureBox", "gone", 1, 0, 0, 4000, 700, "Visible = 0\n") +
           box("VB.PictureBox", "shown", 1, 0, 700, 4000, 300),
       {{"shown", 0, 0, 4000, 300}},
       {{"shown", 0, 0, 6000, 300}}},
      {"seven 40-pixel buttons wrap onto two rows at 266 pixels, fit on one at 400",
       toolbar("tb", 7) + box("VB.PictureBox", "pic", 1, 0, 1650, 4000, 300),
       {{"tb", 0, 0, 4000, (2 * 52 + 6) * 15.0}, {"pic", 0, 1650, 4000, 300}},
       {{"tb", 0, 0, 6000, 58 * 15.0}, {"pic", 0, 58 * 15.0, 6000, 300}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto form = build(formText(c.body));
    expectRects(*form, c.loaded, "as loaded");
    form->setClientSize(6000, 4000);
    expectRects(*form, c.enlarged, "enlarged");
  }
}

// A toolbar's rows follow its width, and what is stacked under it follows its height; a hidden
// bar shown again takes its edge back.
TEST_F(AlignmentTest, WhatChangesAnAlignedControlRestacksTheOthers) {
  auto form = build(formText(toolbar("tb", 7) + box("VB.PictureBox", "pic", 1, 0, 1650, 4000, 300) +
                             box("VB.PictureBox", "foot", 2, 0, 2700, 4000, 300, "Visible = 0\n")));
  expectRects(*form, {{"tb", 0, 0, 4000, 110 * 15.0}, {"pic", 0, 1650, 4000, 300}}, "loaded");
  form->setClientSize(12000, 3000);  // 800 pixels: one row
  expectRects(*form, {{"tb", 0, 0, 12000, 58 * 15.0}, {"pic", 0, 58 * 15.0, 12000, 300}}, "wide");
  form->find("foot")->set("Visible", true);
  form->find("pic")->set("Height", 3000);  // more than is left: it takes what there is
  expectRects(*form, {{"foot", 0, 2700, 12000, 300}, {"pic", 0, 870, 12000, 3000}}, "shown");
  EXPECT_EQ(form->clientHeightTwips(), 3000);  // not an MDI form: its client is all of it
}

}  // namespace
