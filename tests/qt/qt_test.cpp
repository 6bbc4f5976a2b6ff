// The Qt host: top-level widgets adapted as forms and child widgets as controls, on an
// offscreen platform, proving the host contract: twips, names, members, fonts, controls and
// Resize inside the call.

#include <rescalo/qt/qt_object.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <algorithm>
#include <functional>
#include <memory>

#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include "built_form.h"
#include "host_support.h"
#include "qt_application.h"

using namespace rescalo;

using host::ObjectPtr;
using host::Variant;
using testing_support::errorOf;
using testing_support::make;

namespace {

using Doubles = std::vector<double>;

// A small form: a button, a frame holding a label, a line edit and a text edit (whose viewport
// and scroll bars are its own inner widgets, not controls).
class QtFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget = std::make_unique<QWidget>();
    widget->setObjectName("frmMain");
    widget->setGeometry(100, 80, 400, 300);
    button = make<QPushButton>(widget.get(), "", {10, 20, 80, 25});
    frame = make<QGroupBox>(widget.get(), "", {10, 60, 200, 120});
    label = make<QLabel>(frame, "", {8, 24, 60, 18});
    edit = make<QLineEdit>(widget.get(), "", {220, 20, 150, 22});
    notes = make<QTextEdit>(widget.get(), "", {220, 60, 150, 100});
    form = qt::adoptForm(widget.get());
  }

  void showForm() {
    widget->show();
    QApplication::processEvents();
  }
  double tppX() const { return 1440.0 / widget->logicalDpiX(); }
  double tppY() const { return 1440.0 / widget->logicalDpiY(); }
  static Doubles geometry(const ObjectPtr& o) {
    return testing_support::numbers(*o, {"Left", "Top", "Width", "Height"});
  }
  static ObjectPtr ctl(QWidget* w) { return qt::adoptControl(w); }

  std::unique_ptr<QWidget> widget;
  QPushButton* button = nullptr;
  QGroupBox* frame = nullptr;
  QLabel* label = nullptr;
  QLineEdit* edit = nullptr;
  QTextEdit* notes = nullptr;
  std::shared_ptr<qt::QtForm> form;
};

TEST_F(QtFormTest, GeometryReadsInTwipsAndWritesBecomeWholePixels) {
  ObjectPtr cmd = ctl(button);
  cmd->set("Width", Variant(std::int32_t(1500)));
  EXPECT_EQ(button->width(), qRound(1500 / tppX()));
  cmd->set("Left", Variant(10.6 * tppX()));
  EXPECT_EQ(button->x(), 11);
  cmd->call("Move", {Variant(3 * tppX())});
  EXPECT_EQ(button->geometry(), QRect(3, 20, qRound(1500 / tppX()), 25));
  cmd->call("Move",
            {Variant(tppX()), Variant(2 * tppY()), Variant(30 * tppX()), Variant(40 * tppY())});
  EXPECT_EQ(button->geometry(), QRect(1, 2, 30, 40));
  EXPECT_EQ(errorOf([&] { cmd->set("Height", Variant(-15)); }), host::kInvalidPropertyValue);
  EXPECT_EQ(errorOf([&] { cmd->call("Move"); }), host::kArgumentNotOptional);

  // A form's geometry is its outer frame, its scale size the client area; a control inside a
  // frame is placed relative to the frame.
  showForm();
  const QRect outer = widget->frameGeometry();
  EXPECT_EQ(geometry(form), (Doubles{outer.x() * tppX(), outer.y() * tppY(), outer.width() * tppX(),
                                     outer.height() * tppY()}));
  EXPECT_EQ(testing_support::numbers(*form, {"ScaleWidth", "ScaleHeight"}),
            (Doubles{400 * tppX(), 300 * tppY()}));
  EXPECT_EQ(geometry(ctl(label)), (Doubles{8 * tppX(), 24 * tppY(), 60 * tppX(), 18 * tppY()}));
  // Writing the outer width leaves the client area what the frame does not take.
  const int frameWidth = widget->frameGeometry().width() - widget->width();
  form->set("Width", Variant(500 * tppX()));
  EXPECT_EQ(widget->frameGeometry().width(), 500);
  EXPECT_EQ(widget->width(), 500 - frameWidth);
  form->set("Left", Variant(20 * tppX()));
  EXPECT_EQ(widget->frameGeometry().x(), 20);
}

// Captions and font sizes are read on both hosts in the two-host stories; what is left here is
// what they never ask: members a widget lacks, and a font's style on its own control.
TEST_F(QtFormTest, MembersAWidgetLacksFailWith438AndAFontChangesOnlyItsControl) {
  EXPECT_EQ(errorOf([&] { ctl(edit)->get("Caption"); }), host::kNoSuchMember);
  EXPECT_EQ(errorOf([&] { ctl(label)->get("Text"); }), host::kNoSuchMember);
  EXPECT_EQ(errorOf([&] { form->get("Container"); }), host::kNoSuchMember);
  EXPECT_EQ(errorOf([&] { form->set("Name", Variant("x")); }), host::kPropertyReadOnly);
  EXPECT_FALSE(ctl(edit)->has("Caption"));
  EXPECT_TRUE(ctl(button)->has("Caption"));

  ObjectPtr font = ctl(button)->get("Font").toObject();
  font->set("Size", Variant(13.5));
  font->set("Bold", Variant(true));
  EXPECT_TRUE(button->font().bold());
  EXPECT_EQ(font->get("Bold").toInteger(), host::kTrue);
  EXPECT_EQ(errorOf([&] { font->set("Size", Variant(0)); }), host::kInvalidPropertyValue);
  EXPECT_EQ(edit->font().pixelSize(), -1);
}

TEST_F(QtFormTest, ControlsAreListedThroughContainersWithTheirOwnFlagsAndHandles) {
  ObjectPtr controls = form->get("Controls").toObject();
  ASSERT_EQ(controls->get("Count").toLong(), 5);
  std::vector<std::string> names;
  for (std::int32_t i = 0; i < 5; ++i)
    names.emplace_back(controls->get("Item", {Variant(i)}).toObject()->typeName());
  EXPECT_EQ(names,
            (std::vector<std::string>{"CommandButton", "Frame", "Label", "TextBox", "TextBox"}));
  EXPECT_EQ(errorOf([&] { controls->get("Item", {Variant(5)}); }), host::kSubscriptOutOfRange);

  // One adapter per widget, so identity and subscriptions hold across look-ups.
  EXPECT_EQ(controls->get("Item", {Variant(0)}).toObject(), ctl(button));
  EXPECT_EQ(qt::adoptForm(widget.get()), form);
  EXPECT_EQ(ctl(label)->get("Container").toObject(), ctl(frame));
  EXPECT_EQ(ctl(label)->get("Parent").toObject(), form);
  EXPECT_EQ(ctl(button)->get("Container").toObject(), form);

  // Handles map back to widgets until they are destroyed; their adapters then fail.
  ObjectPtr cmd = ctl(button);
  const auto handle = static_cast<host::HWND>(cmd->get("hWnd").toLong());
  EXPECT_NE(handle, form->get("hWnd").toLong());
  EXPECT_EQ(qt::widgetOf(handle), button);
  delete button;
  EXPECT_EQ(controls->get("Count").toLong(), 4);
  EXPECT_EQ(qt::widgetOf(handle), nullptr);
  EXPECT_EQ(errorOf([&] { cmd->get("Left"); }), qt::kObjectUnloaded);

  // Visible and Enabled are the control's own flags: the form is hidden and the frame
  // disabled, yet the label itself is visible and enabled.
  frame->setEnabled(false);
  EXPECT_FALSE(form->get("Visible").toBool());
  EXPECT_TRUE(ctl(label)->get("Visible").toBool() && ctl(label)->get("Enabled").toBool());
  ctl(label)->set("Visible", Variant(false));
  EXPECT_TRUE(label->isHidden());
  EXPECT_FALSE(ctl(label)->get("Visible").toBool());

  // Type names follow the widget classes; a scroll bar's follows its orientation.
  auto* bar = new QScrollBar(Qt::Vertical, widget.get());
  names = {std::string(ctl(bar)->typeName()), std::string(form->typeName())};
  bar->setOrientation(Qt::Horizontal);
  for (QWidget* w :
       std::initializer_list<QWidget*>{bar, new QFrame(widget.get()), new QSpinBox(widget.get())})
    names.emplace_back(ctl(w)->typeName());
  EXPECT_EQ(names, (std::vector<std::string>{"VScrollBar", "Form", "HScrollBar", "PictureBox",
                                             "SpinBox"}));
}

TEST_F(QtFormTest, ATabWidgetIsATabDialogWhosePagesControlsAreItsOwn) {
  auto* tabs = make<QTabWidget>(widget.get(), "", {10, 190, 380, 100});
  auto* first = new QWidget;
  auto* second = new QWidget;
  tabs->addTab(first, "General");
  tabs->addTab(second, "Advanced");
  auto* onFirst = new QPushButton("A", first);
  auto* onSecond = new QLineEdit(second);
  ObjectPtr dialog = ctl(tabs);
  EXPECT_EQ(dialog->typeName(), "SSTab");

  // The pages' controls are listed after the dialog.
  ObjectPtr controls = form->get("Controls").toObject();
  std::vector<ObjectPtr> listed;
  for (std::int32_t i = 0; i < controls->get("Count").toLong(); ++i)
    listed.push_back(controls->get("Item", {Variant(i)}).toObject());
  const auto at = std::find(listed.begin(), listed.end(), dialog);
  ASSERT_NE(at, listed.end());
  EXPECT_EQ((std::vector<ObjectPtr>(at, listed.end())),
            (std::vector<ObjectPtr>{dialog, ctl(onFirst), ctl(onSecond)}));

  EXPECT_EQ(dialog->get("Tabs").toLong(), 2);
  dialog->set("Tab", Variant(std::int16_t(1)));
  EXPECT_EQ(tabs->currentWidget(), second);
  EXPECT_EQ(errorOf([&] { dialog->set("Tab", Variant(std::int16_t(2))); }), 381);
  EXPECT_EQ(dialog->get("TabCaption", {Variant(1)}).toString(), "Advanced");
  EXPECT_EQ(dialog->get("TabsPerRow").toLong(), 2);

  // The tabs' height follows TabHeight once the dialog is laid out again.
  dialog->set("TabHeight", Variant(40 * tppY()));
  showForm();
  EXPECT_EQ(tabs->tabBar()->height(), 40);
  EXPECT_FLOAT_EQ(dialog->get("TabHeight").toSingle(), static_cast<float>(40 * tppY()));
  // Other controls have no tabs.
  EXPECT_EQ(errorOf([&] { ctl(button)->get("Tabs"); }), host::kNoSuchMember);
}

// Every Resize case runs on a hidden form (Qt holds resize events back) and a shown one (Qt
// sends them inside our own calls).
class FormResize : public QtFormTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    QtFormTest::SetUp();
    if (GetParam()) showForm();
    form->subscribe([this](std::string_view event, host::Args) {
      if (event != "Resize") return;
      ++resizes;
      widthsSeen.push_back(widget->width());
      if (onResize) onResize();
    });
  }
  int resizes = 0;
  std::vector<int> widthsSeen;
  std::function<void()> onResize;
};

TEST_P(FormResize, WidthWriteRaisesOneResizeInsideTheWrite) {
  const int frameWidth = widget->frameGeometry().width() - widget->width();
  form->set("Width", Variant(450 * tppX()));
  ASSERT_EQ(resizes, 1);
  EXPECT_EQ(widthsSeen[0], 450 - frameWidth);  // the handler already sees the new size
  QApplication::processEvents();
  showForm();
  // A hidden form raises Resize once more at its first display, as every form does.
  const int shown = GetParam() ? 1 : 2;
  EXPECT_EQ(resizes, shown);
  form->set("Width", form->get("Width"));  // same size: nothing happens
  EXPECT_EQ(resizes, shown);
}

TEST_P(FormResize, WriteInsideResizeReentersOnce) {
  int depth = 0, deepest = 0;
  onResize = [&] {
    ++depth;
    deepest = std::max(deepest, depth);
    form->set("Height", Variant(250 * tppY()));
    --depth;
  };
  form->set("Width", Variant(450 * tppX()));
  EXPECT_EQ(resizes, 2);
  EXPECT_EQ(deepest, 2);
  EXPECT_EQ(widget->frameGeometry().height(), 250);
  QApplication::processEvents();
  EXPECT_EQ(resizes, 2);
}

TEST_P(FormResize, ResizeFromOutsideRaisesOnceWhenQtDeliversIt) {
  widget->resize(520, 330);
  QApplication::processEvents();
  // A hidden window hears of its new size only when shown.
  EXPECT_EQ(resizes, GetParam() ? 1 : 0);
  showForm();
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(widthsSeen.back(), 520);
}

TEST_P(FormResize, MoveAndWindowStateRaiseResizeOnlyWhenTheSizeChanges) {
  form->call("Move", {Variant(30 * tppX()), Variant(40 * tppY())});
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(widget->frameGeometry().topLeft(), QPoint(30, 40));
  form->call("Move", {Variant(30 * tppX()), Variant(40 * tppY()), Variant(300 * tppX())});
  EXPECT_EQ(resizes, 1);
  // Maximized, the form cannot be moved.
  form->set("WindowState", Variant(std::int16_t(2)));
  EXPECT_EQ(resizes, 2);
  EXPECT_EQ(form->get("WindowState").toLong(), 2);
  EXPECT_EQ(errorOf([&] { form->set("Width", Variant(3000)); }), host::kCantMoveMinMax);
  EXPECT_EQ(errorOf([&] { form->set("WindowState", Variant(3)); }), host::kInvalidPropertyValue);
  form->set("WindowState", Variant(std::int16_t(0)));
  EXPECT_EQ(resizes, 3);
}

INSTANTIATE_TEST_SUITE_P(Qt, FormResize, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "Shown" : "Hidden"; });

}  // namespace
