// The embedded runtime: forms with Resize inside the call, window procedures and functions, MDI
// children, scale modes, the members of each control class, fonts, events and drawing; timers
// on the virtual clock, the settings store, message boxes.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include <rescalo/host/failure.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/raster.h>
#include <rescalo/runtime/scale.h>
#include <rescalo/runtime/settings_store.h>
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using namespace testing_support;
using Doubles = std::vector<double>;
namespace fs = std::filesystem;

namespace {

class FormTest : public RuntimeTest {};

const std::string kButton = block("VB.CommandButton Command1", place(120, 240, 1215, 375));

TEST_F(FormTest, WritingSizeRaisesResizeInsideTheCallAndNestedWritesReenter) {
  auto form = build(formText(kButton));
  // 4000 x 3000 inside, 120 x 405 of frame.
  EXPECT_EQ(numbers(*form, {"Width", "Height", "ScaleWidth"}), (Doubles{4120, 3405, 4000}));
  int depth = 0, maxDepth = 0, calls = 0;
  std::vector<double> widthsSeen;
  form->subscribe([&](std::string_view e, host::Args) {
    if (e != "Resize") return;
    ++calls;
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    widthsSeen.push_back(form->get("Width").toDouble());
    // A handler that enforces a minimum width on a normal window re-enters the event once.
    if (form->windowState() == 0 && form->width() < 3000) form->set("Width", 3000);
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
  // Maximized or minimized, a form cannot move, and it comes back to its normal bounds.
  form->set("WindowState", 2);
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(form->get("ScaleWidth").toDouble(), rt.screen().width);
  EXPECT_EQ(errorOf([&] { form->set("Width", 100); }), 384);
  form->set("WindowState", 1);
  EXPECT_EQ(form->get("ScaleWidth").toDouble(), 0);
  form->set("WindowState", 0);
  EXPECT_EQ(numbers(*form, {"Left", "Top", "Width", "Height"}), (Doubles{10, 20, 5000, 4000}));
}

// The limits a window procedure answers are the window module's tests; here, those of the
// system alone.
TEST_F(FormTest, UserDragsMoveInWholePixelsAndStopAtTheSystemMinimum) {
  auto form = build(formText(kButton));
  int resizes = 0;
  form->subscribe([&](std::string_view e, host::Args) { resizes += e == "Resize"; });
  form->userDrag(1000, 1000);
  EXPECT_EQ((Doubles{form->width(), form->height()}), (Doubles{112 * 15, 1005}));
  form->userDrag(4500, 4500);
  EXPECT_EQ((Doubles{form->width(), form->height()}), (Doubles{4500, 4500}));
  EXPECT_EQ(resizes, 2);
}

TEST_F(FormTest, WindowFunctionsReportRectsLockOneWindowAndKeepRegionsAndTopmost) {
  auto a = build(formText(kButton));
  auto b = build(formText("", "", "VB.Form", "Form2"));
  a->call("Move", {Variant(1500), Variant(750), Variant(3000), Variant(1500)});
  host::RECT r;
  ASSERT_TRUE(rt.windows().GetWindowRect(a->hwnd, r));
  EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
            (std::vector<int>{100, 50, 300, 150}));
  // One window at a time is locked.
  EXPECT_EQ((std::vector<bool>{
                rt.windows().LockWindowUpdate(a->hwnd), rt.windows().LockWindowUpdate(b->hwnd),
                rt.windows().LockWindowUpdate(0), rt.windows().LockWindowUpdate(b->hwnd)}),
            (std::vector<bool>{true, false, true, true}));
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
  EXPECT_EQ((Doubles{a->left(), a->width()}), (Doubles{150, 1500}));
  EXPECT_TRUE(rt.windowTable().isTopmost(a->hwnd));
}

TEST_F(FormTest, MdiChildrenLiveInTheClientAreaLeftByAlignedBoxes) {
  auto mdi = build(formText(block("VB.PictureBox picTools", "Align = 1\n" + place(0, 0, 4000, 600)),
                            "", "VB.MDIForm", "MDIForm1"));
  auto child = build(formText(kButton, "   MDIChild = -1  'True\n", "VB.Form", "Child1"));
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
  EXPECT_EQ(numbers(*child, {"ScaleWidth", "ScaleHeight"}), (Doubles{6000, 2400}));
}

TEST_F(FormTest, ScaleModesConvertPositionsAndScaleXY) {
  auto form = build(formText(
      kButton, "   ScaleHeight = 200\n   ScaleMode = 3  'Pixel\n   ScaleWidth = 266.667\n"));
  auto button = form->find("Command1");
  EXPECT_FLOAT_EQ(form->get("ScaleWidth").toSingle(), 4000.0f / 15);
  EXPECT_EQ(numbers(*button, {"Left", "Width"}), (Doubles{8, 81}));  // 120 and 1215 twips
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
      kButton + block("VB.Line Line1", "X1 = 100\nX2 = 900\nY1 = 50\nY2 = 50\n") +
      block("VB.Timer Timer1", "Interval = 100\nLeft = 10\nTop = 10\n") +
      block("VB.ComboBox Combo1", place(0, 0, 900, 315) + "Style = 2  'Dropdown List\n") +
      block("VB.Label lbl", place(0, 0, 500, 255) + "Caption = \"A\"\nIndex = 3\n") +
      block("Odd.Gadget Gadget1",
            "_ExtentX = 2540\n_ExtentY = 1270\nLeft = 60\nTop = 60\nFlavour = \"lime\"\n")));
  auto controls = form->get("Controls").toObject();
  EXPECT_EQ(controls->get("Count").toLong(), 6);
  EXPECT_EQ(controls->get("Item", {Variant(0)}).toObject()->get("Name").toString(), "Command1");
  auto line = form->find("Line1");
  EXPECT_EQ(numbers(*line, {"X2", "BorderWidth"}), (Doubles{900, 1}));
  for (auto [key, member] :
       {std::pair{"Line1", "Left"}, {"Line1", "Font"}, {"Timer1", "Width"}, {"Gadget1", "Font"}})
    EXPECT_EQ(errorOf([&] { form->find(key)->get(member); }), 438) << key << "." << member;
  auto combo = form->find("Combo1");
  combo->set("Height", 2000);  // a drop-down list keeps the height its font gives it
  EXPECT_EQ(combo->get("Height").toDouble(), 315);
  EXPECT_EQ(errorOf([&] { form->find("Command1")->get("Index"); }), 343);
  auto label = form->find("lbl(3)");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->get("caption").toString(), "A");
  auto button = form->find("Command1");
  EXPECT_TRUE(button->get("Picture").isNothing());  // declared even when the file has none
  EXPECT_TRUE(button->get("Container").toObject() == form &&
              button->get("Parent").toObject() == form);
  auto gadget = form->find("Gadget1");
  EXPECT_EQ(gadget->typeName(), "Gadget");
  EXPECT_EQ(gadget->get("Flavour").toString(), "lime");
  EXPECT_EQ(gadget->get("Width").toDouble(), 1440);  // from the HIMETRIC extent
}

// A control by key as the application asks for it: Controls("Name") or Controls("Name(Index)").
host::ObjectPtr byKey(runtime::Form& form, const std::string& key) {
  return form.get("Controls").toObject()->get("Item", {Variant(key)}).toObject();
}

TEST_F(FormTest, ControlsRenamedOrReindexedAtDesignTimeAreFoundUnderTheirNewKeys) {
  auto form = build(formText(kButton + block("VB.OptionButton optSize", "Index = 0\n") +
                             block("VB.OptionButton optSize", "Index = 1\n")),
                    false);
  runtime::Control* button = form->find("Command1");
  ASSERT_NE(button, nullptr);
  button->rename("cmdAccept");
  EXPECT_EQ(form->find("CMDACCEPT"), button);
  EXPECT_EQ(byKey(*form, "cmdaccept").get(), button);
  EXPECT_EQ(form->find("Command1"), nullptr);
  EXPECT_EQ(errorOf([&] { byKey(*form, "Command1"); }), 730);
  EXPECT_EQ(button->get("Name").toString(), "cmdAccept");

  runtime::Control* second = form->find("optSize(1)");
  second->rename("optSize", 4);
  EXPECT_EQ(form->find("OPTSIZE(4)"), second);
  EXPECT_EQ(form->find("optSize(1)"), nullptr);
  EXPECT_EQ(second->get("Index").toInteger(), 4);
  // Out of its array it answers to its name alone, and has no Index to read.
  second->rename("optOther");
  EXPECT_EQ(form->find("optOther"), second);
  EXPECT_EQ(form->find("optSize(4)"), nullptr);
  EXPECT_EQ(errorOf([&] { second->get("Index"); }), 343);
  // A key given up can be taken by another control.
  runtime::Control* first = form->find("optSize(0)");
  first->rename("Command1");
  EXPECT_EQ(form->find("command1"), first);
}

TEST_F(FormTest, ControlsAreFoundByKeyAsTheyAreAddedAndRemoved) {
  auto form = build(formText(
      block("VB.Menu mnuFile", "Caption = \"File\"\n") +
      block("VB.Frame fraStyle", place(100, 100, 2000, 1000) +
                                     block("VB.CheckBox chkBold", place(100, 200, 900, 255)) +
                                     block("VB.CheckBox chkItalic", place(100, 500, 900, 255))) +
      kButton +
      // A file may repeat a name: the first control loaded answers to it.
      block("VB.Label lblNote", "Caption = \"first\"\n") +
      block("VB.Label lblNote", "Caption = \"second\"\n")));
  runtime::Control* frame = form->find("fraStyle");
  ASSERT_NE(frame, nullptr);
  auto added = runtime::createControl("VB.CommandButton");
  added->rename("cmdMore", 1);
  form->add(added, *frame);
  EXPECT_EQ(form->find("CMDMORE(1)"), added.get());
  EXPECT_EQ(byKey(*form, "cmdMore(1)"), added);
  EXPECT_EQ(added->get("Container").toObject().get(), frame);
  EXPECT_EQ(form->get("Controls").toObject()->get("Count").toLong(), 8);

  // A frame leaves with what it holds.
  form->remove(*frame);
  for (const char* gone : {"fraStyle", "chkBold", "chkItalic", "cmdMore(1)"})
    EXPECT_EQ(form->find(gone), nullptr) << gone;
  EXPECT_EQ(errorOf([&] { byKey(*form, "chkBold"); }), 730);
  EXPECT_EQ(form->get("Controls").toObject()->get("Count").toLong(), 4);
  EXPECT_EQ(form->children.size(), 4u);
  EXPECT_TRUE(added->get("Container").isNothing());
  EXPECT_EQ(form->find("Command1")->get("Left").toDouble(), 120);

  // With the first of two controls of one key gone, the other answers.
  form->remove(*form->find("lblNote"));
  ASSERT_NE(form->find("lblNote"), nullptr);
  EXPECT_EQ(byKey(*form, "LBLNOTE")->get("Caption").toString(), "second");

  // Without its menu the form has no menu bar, even when a control took the menu's place.
  const double withMenu = form->fullClientHeight();
  form->remove(*form->find("mnuFile"));
  form->add(runtime::createControl("VB.Timer"), *form);
  EXPECT_EQ(form->fullClientHeight() - withMenu, 300);
}

TEST_F(FormTest, FontSizesSnapToWholePixels) {
  auto form = build(formText(kButton));
  auto font = form->find("Command1")->get("Font").toObject();
  for (auto [set, read] : {std::pair{10.0, 9.75f}, {0.01, 0.75f}, {18.0, 18.0f}}) {
    font->set("Size", set);
    EXPECT_EQ(font->get("Size").toSingle(), read) << set;
  }
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

// Drawing on forms and picture boxes.
constexpr std::int32_t kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

TEST_F(FormTest, DrawingPersistsWithAutoRedrawInScaleUnitsAndClsClearsOnlyWhatPersists) {
  auto form = build(formText("", "   ScaleMode = 3  'Pixel\n"));
  form->set("BackColor", kWhite);
  form->set("AutoRedraw", true);
  auto points = [&](std::initializer_list<std::pair<double, double>> at) {
    std::vector<std::int32_t> out;
    for (auto [x, y] : at) out.push_back(form->call("Point", {Variant(x), Variant(y)}).toLong());
    return out;
  };
  using Colours = std::vector<std::int32_t>;
  auto fill = [&](double x1, double y1, double x2, double y2, std::int32_t color) {
    form->call("Line",
               {Variant(x1), Variant(y1), Variant(x2), Variant(y2), Variant(color), Variant("BF")});
  };
  fill(10, 10, 19, 14, kRed);
  EXPECT_EQ(points({{10, 10}, {19, 14}, {20, 14}}), (Colours{kRed, kRed, kWhite}));
  EXPECT_EQ(form->get("CurrentX").toDouble(), 19);
  // In twips the same call lands fifteen times further in.
  form->set("ScaleMode", 1);
  form->set("DrawWidth", 3);
  form->call("Circle", {Variant(600), Variant(600), Variant(150), Variant(kBlue)});
  EXPECT_EQ(points({{600 + 150, 600}, {600, 600}}), (Colours{kBlue, kWhite}));
  // The persistent image holds it all, and survives a resize.
  auto image = form->get("Image").toObject();
  EXPECT_EQ(runtime::bitmapOf(Variant(image))->pixel(12, 12), static_cast<raster::Color>(kRed));
  form->set("Width", 8000);
  form->set("ScaleMode", 3);
  EXPECT_EQ(points({{12, 12}, {500, 12}}), (Colours{kRed, kWhite}));  // and the grown area

  // Without AutoRedraw drawing is transient: Cls takes it and leaves what persists.
  form->set("AutoRedraw", false);
  fill(30, 0, 34, 4, kBlue);
  EXPECT_EQ(points({{32, 2}}), Colours{kBlue});
  form->call("Cls");
  EXPECT_EQ(points({{32, 2}, {12, 12}}), (Colours{kWhite, kRed}));
  form->set("AutoRedraw", true);
  form->call("Cls");
  EXPECT_EQ(points({{12, 12}}), Colours{kWhite});
  fill(0, 0, 4, 4, kRed);
  form->set("BackColor", kBlue);  // erases
  EXPECT_EQ(points({{2, 2}}), Colours{kBlue});
}

TEST_F(FormTest, PicturesStretchOntoWorkSurfacesAndAutoSizeFollowsThePicture) {
  auto box = rt.createPictureBox();
  raster::Bitmap checker(2, 2, raster::kBlack);
  checker.setPixel(1, 0, raster::kWhite);
  checker.setPixel(0, 1, raster::kWhite);
  auto pic = runtime::makePicture(checker);
  box->set("AutoSize", true);
  box->set("Picture", Variant(host::ObjectPtr(pic)));
  EXPECT_EQ(box->get("Width").toDouble(), 30);  // two pixels, no border
  box->set("AutoRedraw", true);
  box->set("ScaleMode", 3);
  box->set("Width", 150);
  box->set("Height", 150);
  box->call("PaintPicture",
            {Variant(host::ObjectPtr(pic)), Variant(0), Variant(0), Variant(1), Variant(1)});
  // Shrunk to one pixel the checker is grey, not black or white.
  auto shot = box->get("Image").toObject();
  raster::Color grey = runtime::bitmapOf(Variant(shot))->pixel(0, 0);
  EXPECT_NEAR(raster::red(grey), 128, 2);
  // The source picture is never altered.
  EXPECT_EQ(pic->bitmap(), checker);
  EXPECT_EQ(errorOf([&] { box->call("PaintPicture", {Variant(3), Variant(0), Variant(0)}); }), 380);
}

class ServicesTest : public RuntimeTest {};

TEST_F(ServicesTest, TimersTickOnTheVirtualClockInDueOrder) {
  std::string log;
  auto fast = rt.createTimer([&] { log += "f"; });
  auto slow = rt.createTimer([&] { log += "S"; });
  fast->setInterval(100);
  slow->setInterval(250);
  fast->setEnabled(true);
  slow->setEnabled(true);
  rt.advance(99);
  EXPECT_EQ(log, "");
  rt.advance(1);
  EXPECT_EQ(log, "f");
  rt.advance(400);            // 200 f, 250 S, 300 f, 400 f, 500 f, 500 S
  EXPECT_EQ(log, "ffSfffS");  // at a tie, the timer created first ticks first
  EXPECT_DOUBLE_EQ(rt.Timer(), 9 * 3600 + 0.5);
  slow->setEnabled(false);
  rt.advance(1000);
  EXPECT_EQ(std::count(log.begin(), log.end(), 'S'), 2);
}

TEST_F(ServicesTest, ATickThatPumpsEventsDoesNotTickItselfAgainAndCanStopItself) {
  int ticks = 0, posted = 0;
  std::shared_ptr<host::Timer> t;
  t = rt.createTimer([&] {
    ++ticks;
    rt.post([&] { ++posted; });
    rt.DoEvents();  // runs the posted work, not this tick again
    if (ticks == 3) t->setEnabled(false);
  });
  t->setInterval(10);
  t->setEnabled(true);
  rt.advance(100);
  EXPECT_EQ((std::vector<int>{ticks, posted}), (std::vector<int>{3, 3}));
  // Re-enabling restarts the countdown from now.
  t->setEnabled(true);
  rt.advance(9);
  EXPECT_EQ(ticks, 3);
  rt.advance(1);
  EXPECT_EQ(ticks, 4);
}

TEST_F(ServicesTest, AnIdleDoEventsLetsTimePassSoThatPollingTheClockEnds) {
  int ticks = 0;
  auto t = rt.createTimer([&] { ++ticks; });
  t->setInterval(20);
  t->setEnabled(true);
  // A loop waiting a tenth of a second on Timer(): timers tick on the way.
  double start = rt.Timer();
  int calls = 0;
  while (rt.Timer() < start + 0.1) {
    rt.DoEvents();
    ++calls;
  }
  EXPECT_EQ(ticks, 5);
  EXPECT_NEAR(calls, 100, 5);
  // A DoEvents with work to do takes no time, and neither does advancing the clock.
  double before = rt.clock().now();
  rt.post([] {});
  rt.DoEvents();
  rt.advance(0);
  EXPECT_EQ(rt.clock().now(), before);
}

TEST_F(ServicesTest, FormTimersTickAsControlsByName) {
  auto timer =
      build(formText(block("VB.Timer tmr", "Interval = 50\nLeft = 0\nTop = 0\n")))->find("tmr");
  EXPECT_EQ(numbers(*timer, {"Enabled", "Interval"}), (std::vector<double>{-1, 50}));
  int ticks = 0;
  timer->subscribe([&](std::string_view e, host::Args) { ticks += e == "Timer"; });
  rt.advance(120);
  EXPECT_EQ(ticks, 2);
  timer->set("Interval", 0);  // an interval of 0 stops it
  rt.advance(500);
  EXPECT_EQ(ticks, 2);
  timer->set("Interval", 100);
  timer->set("Enabled", false);
  rt.advance(500);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(errorOf([&] { timer->set("Interval", -1); }), 380);
}

TEST_F(ServicesTest, SettingsRoundTripThroughTheFileWithClassicErrors) {
  auto& s = rt.settings();
  s.SaveSetting("Rescalo", "Main Window", "WindowLeft", "1200");
  s.SaveSetting("Rescalo", "Main Window", "WindowTop", "tab\there\nnewline \\ slash");
  EXPECT_EQ(s.GetSetting("RESCALO", "main window", "windowleft"), "1200");
  EXPECT_EQ(s.GetSetting("Rescalo", "Other", "WindowLeft", "none"), "none");
  runtime::FileSettingsStore again(dir / "settings");
  EXPECT_EQ(again.GetSetting("Rescalo", "Main Window", "WindowTop"), "tab\there\nnewline \\ slash");
  EXPECT_EQ(errorOf([&] { s.DeleteSetting("Rescalo", "No Such Section"); }), 5);
  EXPECT_EQ(errorOf([&] { s.DeleteSetting("Rescalo", "Main Window", "NoKey"); }), 5);
  s.DeleteSetting("Rescalo", "Main Window", "WindowLeft");
  EXPECT_EQ(s.GetSetting("Rescalo", "Main Window", "WindowLeft", "gone"), "gone");
  s.DeleteSetting("Rescalo", "Main Window");
  EXPECT_EQ(errorOf([&] { s.DeleteSetting("Rescalo", "Main Window"); }), 5);
  EXPECT_EQ(runtime::FileSettingsStore(dir / "settings")
                .GetSetting("Rescalo", "Main Window", "WindowTop", "-"),
            "-");
}

TEST_F(ServicesTest, MessageBoxesAndBeepsAreRecordedAndAnswered) {
  rt.msgBoxAnswers.push_back(host::vbCancel);
  EXPECT_EQ(rt.MsgBox("First?", host::vbOKCancel), host::vbCancel);
  EXPECT_EQ(rt.MsgBox("Second"), host::vbOK);
  rt.Beep();
  ASSERT_EQ(rt.messages.size(), 2u);
  EXPECT_EQ(rt.messages[0].prompt, "First?");
  EXPECT_EQ(rt.beeps, 1);
  EXPECT_EQ(numbers(*rt.screenObject(), {"TwipsPerPixelX", "Width"}),
            (std::vector<double>{15, 1280 * 15}));
}

}  // namespace
