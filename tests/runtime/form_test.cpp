#include <gtest/gtest.h>

#include "host/failure.h"
#include "runtime/scale.h"
#include "test_support.h"

using host::Variant;
using namespace testing_support;

namespace {

class FormTest : public RuntimeTest {};

const char* kButton =
    "   Begin VB.CommandButton Command1\n      Caption = \"OK\"\n      Height = 375\n"
    "      Left = 120\n      Top = 240\n      Width = 1215\n   End\n";

TEST_F(FormTest, WritingSizeRaisesResizeInsideTheCallAndNestedWritesReenter) {
  auto form = build(formText(kButton));
  EXPECT_EQ(form->get("Width").toDouble(), 4120);  // 4000 client + 120 of frame
  EXPECT_EQ(form->get("Height").toDouble(), 3405);
  EXPECT_EQ(form->get("ScaleWidth").toDouble(), 4000);
  int depth = 0, maxDepth = 0, calls = 0;
  std::vector<double> widthsSeen;
  form->subscribe([&](std::string_view e, host::Args) {
    if (e != "Resize") return;
    ++calls;
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    widthsSeen.push_back(form->get("Width").toDouble());
    // A handler that enforces a minimum width re-enters the event once.
    if (form->get("Width").toDouble() < 3000) form->set("Width", 3000);
    --depth;
  });
  form->set("Width", 2000);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(maxDepth, 2);
  EXPECT_EQ(widthsSeen, (std::vector<double>{2000, 3000}));
  EXPECT_EQ(form->get("Width").toDouble(), 3000);
  form->set("Width", 3000);  // no change of size, no Resize
  form->call("Move", {Variant(10), Variant(20)});
  EXPECT_EQ(calls, 2);
  form->call("Move", {Variant(10), Variant(20), Variant(5000), Variant(4000)});
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(form->get("ScaleHeight").toDouble(), 4000 - 405);
  form->set("WindowState", 2);
  EXPECT_EQ(calls, 4);
}

TEST_F(FormTest, MaximizedOrMinimizedFormsCannotMoveAndRestoreToTheirNormalBounds) {
  auto form = build(formText(kButton));
  form->call("Move", {Variant(300), Variant(200), Variant(5000), Variant(4000)});
  form->set("WindowState", 2);
  EXPECT_EQ(form->get("ScaleWidth").toDouble(), rt.screen().width);
  EXPECT_EQ(errorOf([&] { form->set("Width", 100); }), 384);
  form->set("WindowState", 1);
  EXPECT_EQ(form->get("ScaleWidth").toDouble(), 0);
  form->set("WindowState", 0);
  EXPECT_EQ(form->get("Left").toDouble(), 300);
  EXPECT_EQ(form->get("Width").toDouble(), 5000);
  EXPECT_EQ(form->get("Height").toDouble(), 4000);
}

// A window procedure that sets a minimum tracking size and passes everything on.
host::WndProcHandle gPrevious = 0;
runtime::WindowTable* gTable = nullptr;
host::LRESULT minimumSizeProc(host::HWND h, std::uint32_t msg, host::WPARAM w, host::LPARAM l) {
  if (msg == host::WM_GETMINMAXINFO) {
    host::MINMAXINFO info;
    host::RtlMoveMemory(&info, reinterpret_cast<void*>(l), sizeof info);
    info.ptMinTrackSize = {200, 150};
    info.ptMaxTrackSize = {400, 300};
    host::RtlMoveMemory(reinterpret_cast<void*>(l), &info, sizeof info);
  }
  return gTable->CallWindowProcA(gPrevious, h, msg, w, l);
}

TEST_F(FormTest, UserDragsAreHeldToTheTrackingLimitsOfTheWindowProcedures) {
  auto form = build(formText(kButton));
  int resizes = 0;
  form->subscribe([&](std::string_view e, host::Args) { resizes += e == "Resize"; });
  form->userDrag(1000, 1000);  // no procedure installed: only the system minimum
  EXPECT_EQ(form->width(), 112 * 15);
  EXPECT_EQ(form->height(), 1005);  // a drag moves in whole pixels
  gTable = &rt.windowTable();
  gPrevious =
      rt.windows().SetWindowLongA(form->hwnd, host::GWL_WNDPROC, host::toHandle(&minimumSizeProc));
  EXPECT_NE(gPrevious, 0);
  form->userDrag(1000, 1000);
  EXPECT_EQ(form->width(), 200 * 15);
  EXPECT_EQ(form->height(), 150 * 15);
  form->userDrag(99999, 99999);
  EXPECT_EQ(form->width(), 400 * 15);
  EXPECT_EQ(form->height(), 300 * 15);
  EXPECT_EQ(resizes, 3);
  // Restoring the previous procedure removes the limits again.
  rt.windows().SetWindowLongA(form->hwnd, host::GWL_WNDPROC, gPrevious);
  form->userDrag(4500, 4500);
  EXPECT_EQ(form->width(), 4500);
}

TEST_F(FormTest, WindowFunctionsReportRectsLockOneWindowAndKeepRegionsAndTopmost) {
  auto a = build(formText(kButton));
  auto b = build(formText("", "", "VB.Form", "Form2"));
  a->call("Move", {Variant(1500), Variant(750), Variant(3000), Variant(1500)});
  host::RECT r;
  ASSERT_TRUE(rt.windows().GetWindowRect(a->hwnd, r));
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 150);
  EXPECT_TRUE(rt.windows().LockWindowUpdate(a->hwnd));
  EXPECT_FALSE(rt.windows().LockWindowUpdate(b->hwnd));
  EXPECT_TRUE(rt.windows().LockWindowUpdate(0));
  EXPECT_TRUE(rt.windows().LockWindowUpdate(b->hwnd));
  host::HRGN rgn = rt.windows().CreateRectRgn(1, 1, 1, 1);
  EXPECT_EQ(rt.windows().SetWindowRgn(a->hwnd, rgn, true), 1);
  EXPECT_EQ(rt.windowTable().region(a->hwnd)->right, 1);
  EXPECT_EQ(rt.windows().SetWindowRgn(b->hwnd, rgn, true), 0);  // a owns that region now
  rt.windows().SetWindowRgn(a->hwnd, 0, true);
  EXPECT_FALSE(rt.windowTable().region(a->hwnd).has_value());
  rt.windows().SetWindowPos(a->hwnd, host::HWND_TOPMOST, 0, 0, 0, 0,
                            host::SWP_NOMOVE | host::SWP_NOSIZE);
  EXPECT_TRUE(rt.windowTable().isTopmost(a->hwnd));
  EXPECT_EQ(a->width(), 3000);  // NOSIZE kept the size
  rt.windows().SetWindowPos(a->hwnd, 0, 10, 20, 100, 80, host::SWP_NOZORDER);
  EXPECT_EQ(a->left(), 150);
  EXPECT_EQ(a->width(), 1500);
  EXPECT_TRUE(rt.windowTable().isTopmost(a->hwnd));
}

TEST_F(FormTest, MdiChildrenLiveInTheClientAreaLeftByAlignedBoxes) {
  auto mdi = build(
      formText("   Begin VB.PictureBox picTools\n      Align = 1  'Align Top\n      Height = 600\n"
               "      Left = 0\n      Top = 0\n      Width = 4000\n   End\n",
               "", "VB.MDIForm", "MDIForm1"));
  auto child = build(formText(kButton, "   MDIChild = -1  'True\n", "VB.Form", "Child1"));
  EXPECT_EQ(mdi->typeName(), "MDIForm");
  EXPECT_TRUE(child->get("MDIChild").toBool());
  EXPECT_EQ(mdi->get("ScaleHeight").toDouble(), 3000 - 600);
  EXPECT_EQ(rt.windows().GetParent(child->hwnd), mdi->clientHwnd);
  EXPECT_EQ(rt.windows().GetParent(mdi->hwnd), 0);
  host::RECT client;
  rt.windows().GetWindowRect(mdi->clientHwnd, client);
  EXPECT_EQ(client.bottom - client.top, 2400 / 15);
  // The aligned box follows the form's width.
  mdi->set("Width", 6120);
  EXPECT_EQ(mdi->find("picTools")->get("Width").toDouble(), 6000);
  child->set("WindowState", 2);
  EXPECT_EQ(child->get("ScaleWidth").toDouble(), 6000);
  EXPECT_EQ(child->get("ScaleHeight").toDouble(), 2400);
}

TEST_F(FormTest, ScaleModesConvertPositionsAndScaleXY) {
  auto form = build(formText(
      kButton, "   ScaleHeight = 200\n   ScaleMode = 3  'Pixel\n   ScaleWidth = 266.667\n"));
  auto button = form->find("Command1");
  EXPECT_EQ(form->get("ScaleMode").toInteger(), 3);
  EXPECT_FLOAT_EQ(form->get("ScaleWidth").toSingle(), 4000.0f / 15);
  EXPECT_EQ(button->get("Left").toDouble(), 8);  // 120 twips in pixels
  EXPECT_EQ(button->get("Width").toDouble(), 81);
  button->set("Left", 10);
  EXPECT_EQ(button->left, 150);
  EXPECT_EQ(form->call("ScaleX", {Variant(1440), Variant(1), Variant(3)}).toDouble(), 96);
  EXPECT_EQ(form->call("ScaleY", {Variant(2), Variant(5), Variant(1)}).toDouble(), 2880);
  EXPECT_NEAR(form->call("ScaleX", {Variant(2540)}).toDouble(), 96, 1e-3);  // from HIMETRIC
  form->set("ScaleWidth", 100);  // a user scale: 40 twips a unit
  EXPECT_EQ(form->get("ScaleMode").toInteger(), 0);
  EXPECT_NEAR(button->get("Left").toDouble(), 150.0 / 40, 1e-5);
  form->set("Width", 8120);  // the unit stays, the scale width follows the client
  EXPECT_NEAR(form->get("ScaleWidth").toDouble(), 200, 1e-3);
  form->set("ScaleMode", 1);
  EXPECT_EQ(button->get("Left").toDouble(), 150);
  EXPECT_EQ(errorOf([&] { form->set("ScaleMode", 12); }), 380);
}

TEST_F(FormTest, ControlsHaveTheMembersOfTheirClassOnly) {
  auto form = build(formText(
      std::string(kButton) +
      "   Begin VB.Line Line1\n      X1 = 100\n      X2 = 900\n      Y1 = 50\n      Y2 = 50\n   "
      "End\n"
      "   Begin VB.Timer Timer1\n      Interval = 100\n      Left = 10\n      Top = 10\n   End\n"
      "   Begin VB.ComboBox Combo1\n      Height = 315\n      Left = 0\n      Style = 2  'Dropdown "
      "List\n"
      "      Top = 0\n      Width = 900\n   End\n"
      "   Begin VB.Label lbl\n      Caption = \"A\"\n      Height = 255\n      Index = 3\n"
      "      Left = 0\n      Top = 0\n      Width = 500\n   End\n"
      "   Begin Odd.Gadget Gadget1\n      _ExtentX = 2540\n      _ExtentY = 1270\n"
      "      Left = 60\n      Top = 60\n      Flavour = \"lime\"\n   End\n"));
  auto controls = form->get("Controls").toObject();
  EXPECT_EQ(controls->get("Count").toLong(), 6);
  EXPECT_EQ(controls->get("Item", {Variant(0)}).toObject()->get("Name").toString(), "Command1");
  auto line = form->find("Line1");
  EXPECT_EQ(line->get("X2").toDouble(), 900);
  EXPECT_EQ(line->get("BorderWidth").toDouble(), 1);
  EXPECT_EQ(errorOf([&] { line->get("Left"); }), 438);
  EXPECT_EQ(errorOf([&] { line->get("Font"); }), 438);
  auto timer = form->find("Timer1");
  EXPECT_EQ(errorOf([&] { timer->get("Width"); }), 438);
  EXPECT_EQ(timer->get("Interval").toLong(), 100);
  auto combo = form->find("Combo1");
  combo->set("Height", 2000);  // a drop-down list keeps the height its font gives it
  EXPECT_EQ(combo->get("Height").toDouble(), 315);
  combo->set("SelLength", 0);
  EXPECT_EQ(errorOf([&] { form->find("Command1")->get("Index"); }), 343);
  auto label = form->find("lbl(3)");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->get("Index").toInteger(), 3);
  EXPECT_EQ(label->get("caption").toString(), "A");
  auto button = form->find("Command1");
  EXPECT_TRUE(button->get("Picture").isNothing());  // declared even when the file has none
  EXPECT_EQ(button->get("Container").toObject(), form);
  EXPECT_EQ(button->get("Parent").toObject(), form);
  auto gadget = form->find("Gadget1");
  EXPECT_EQ(gadget->typeName(), "Gadget");
  EXPECT_EQ(gadget->get("Flavour").toString(), "lime");
  EXPECT_EQ(gadget->get("Width").toDouble(), 1440);  // from the HIMETRIC extent
  EXPECT_EQ(errorOf([&] { gadget->get("Font"); }), 438);
}

TEST_F(FormTest, FontSizesSnapToWholePixels) {
  auto form = build(formText(kButton));
  auto font = form->find("Command1")->get("Font").toObject();
  font->set("Size", 10);
  EXPECT_EQ(font->get("Size").toSingle(), 9.75f);
  font->set("Size", 0.01);
  EXPECT_EQ(font->get("Size").toSingle(), 0.75f);
  font->set("Size", 18);
  EXPECT_EQ(font->get("Size").toSingle(), 18.0f);
  EXPECT_EQ(errorOf([&] { font->set("Size", 3000); }), 380);
  font->set("Weight", 600);
  EXPECT_TRUE(font->get("Bold").toBool());
  EXPECT_EQ(form->find("Command1")->get("FontSize").toSingle(), 18.0f);
}

TEST_F(FormTest, ShowLoadsOnceAndRaisesTheEventsInOrder) {
  auto form = build(formText(kButton));
  std::string log;
  form->subscribe([&](std::string_view e, host::Args) { log += std::string(e) + " "; });
  form->call("Show");
  form->call("Hide");
  form->call("Show");
  form->unload();
  EXPECT_EQ(log, "Load Resize Activate Deactivate Activate Unload ");
}

}  // namespace
