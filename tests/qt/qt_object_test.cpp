#include "qt/qt_object.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextEdit>
#include <algorithm>
#include <functional>

#include "qt/qt_control.h"
#include "qt/qt_form.h"

using host::HostError;
using host::ObjectPtr;
using host::Variant;

namespace {

int errorOf(auto&& f) {
  try {
    f();
  } catch (const HostError& e) {
    return e.number();
  }
  return 0;
}

// A small form: a button, a frame holding a label, a line edit and a text edit (whose viewport
// and scroll bars are its own inner widgets, not controls).
class QtFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget = std::make_unique<QWidget>();
    widget->setObjectName("frmMain");
    widget->setGeometry(100, 80, 400, 300);
    button = new QPushButton("OK", widget.get());
    button->setGeometry(10, 20, 80, 25);
    frame = new QGroupBox("Options", widget.get());
    frame->setGeometry(10, 60, 200, 120);
    label = new QLabel("Name:", frame);
    label->setGeometry(8, 24, 60, 18);
    edit = new QLineEdit(widget.get());
    edit->setGeometry(220, 20, 150, 22);
    notes = new QTextEdit(widget.get());
    notes->setGeometry(220, 60, 150, 100);
    form = qthost::adoptForm(widget.get());
  }

  void showForm() {
    widget->show();
    QApplication::processEvents();
  }
  double tppX() const { return 1440.0 / widget->logicalDpiX(); }
  double tppY() const { return 1440.0 / widget->logicalDpiY(); }
  static double num(const ObjectPtr& o, host::Name name) { return o->get(name).toDouble(); }
  static ObjectPtr ctl(QWidget* w) { return qthost::adoptControl(w); }

  std::unique_ptr<QWidget> widget;
  QPushButton* button = nullptr;
  QGroupBox* frame = nullptr;
  QLabel* label = nullptr;
  QLineEdit* edit = nullptr;
  QTextEdit* notes = nullptr;
  std::shared_ptr<qthost::QtForm> form;
};

TEST_F(QtFormTest, FormGeometryIsTheOuterFrameAndScaleSizeTheClientAreaInTwips) {
  showForm();
  const QRect outer = widget->frameGeometry();
  EXPECT_DOUBLE_EQ(num(form, "Left"), outer.x() * tppX());
  EXPECT_DOUBLE_EQ(num(form, "Top"), outer.y() * tppY());
  EXPECT_DOUBLE_EQ(num(form, "Width"), outer.width() * tppX());
  EXPECT_DOUBLE_EQ(num(form, "Height"), outer.height() * tppY());
  EXPECT_DOUBLE_EQ(num(form, "ScaleWidth"), 400 * tppX());
  EXPECT_DOUBLE_EQ(num(form, "ScaleHeight"), 300 * tppY());
  // A control inside a frame is placed relative to the frame.
  EXPECT_DOUBLE_EQ(num(ctl(label), "Left"), 8 * tppX());
  EXPECT_DOUBLE_EQ(num(ctl(label), "Top"), 24 * tppY());
  EXPECT_DOUBLE_EQ(num(ctl(label), "Height"), 18 * tppY());
}

TEST_F(QtFormTest, TwipsWritesBecomeWholePixels) {
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

  // A form's Width is its outer width: the client area gets what the frame leaves.
  showForm();
  const int frameWidth = widget->frameGeometry().width() - widget->width();
  form->set("Width", Variant(500 * tppX()));
  EXPECT_EQ(widget->frameGeometry().width(), 500);
  EXPECT_EQ(widget->width(), 500 - frameWidth);
  form->set("Left", Variant(20 * tppX()));
  EXPECT_EQ(widget->frameGeometry().x(), 20);
}

TEST_F(QtFormTest, CaptionTextAndNameFollowTheWidget) {
  form->set("Caption", Variant("Order entry"));
  EXPECT_EQ(widget->windowTitle(), "Order entry");
  ctl(button)->set("Caption", Variant("&Save"));
  EXPECT_EQ(button->text(), "&Save");
  ctl(frame)->set("Caption", Variant("Delivery"));
  EXPECT_EQ(frame->title(), "Delivery");
  label->setText("Customer:");
  EXPECT_EQ(ctl(label)->get("Caption").toString(), "Customer:");
  ctl(edit)->set("Text", Variant("abc"));
  EXPECT_EQ(edit->text(), "abc");
  EXPECT_EQ(form->get("Name").toString(), "frmMain");
  EXPECT_EQ(errorOf([&] { form->set("Name", Variant("x")); }), host::kPropertyReadOnly);
}

TEST_F(QtFormTest, MembersTheWidgetLacksFailWith438) {
  EXPECT_EQ(errorOf([&] { ctl(edit)->get("Caption"); }), host::kNoSuchMember);
  EXPECT_EQ(errorOf([&] { ctl(edit)->set("Caption", Variant("x")); }), host::kNoSuchMember);
  EXPECT_EQ(errorOf([&] { ctl(label)->get("Text"); }), host::kNoSuchMember);
  EXPECT_EQ(errorOf([&] { form->get("Container"); }), host::kNoSuchMember);
  EXPECT_EQ(errorOf([&] { form->call("Frobnicate"); }), host::kNoSuchMember);
  Variant out;
  EXPECT_FALSE(ctl(edit)->tryGet("Caption", {}, out));
  EXPECT_FALSE(ctl(edit)->has("Caption"));
  EXPECT_TRUE(ctl(button)->has("Caption"));
}

TEST_F(QtFormTest, FontSizeAndStyleChangeTheWidgetsFont) {
  ObjectPtr font = ctl(button)->get("Font").toObject();
  font->set("Size", Variant(13.5));
  EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 13.5);
  EXPECT_FLOAT_EQ(font->get("Size").toSingle(), 13.5f);
  font->set("Bold", Variant(true));
  EXPECT_TRUE(button->font().bold());
  EXPECT_EQ(font->get("Bold").toInteger(), host::kTrue);
  EXPECT_EQ(errorOf([&] { font->set("Size", Variant(0)); }), host::kInvalidPropertyValue);
  // Another control's font is untouched.
  EXPECT_NE(edit->font().pointSizeF(), 13.5);
}

TEST_F(QtFormTest, TypeNamesFollowTheWidgetClasses) {
  EXPECT_EQ(form->typeName(), "Form");
  EXPECT_EQ(ctl(button)->typeName(), "CommandButton");
  EXPECT_EQ(ctl(frame)->typeName(), "Frame");
  EXPECT_EQ(ctl(label)->typeName(), "Label");
  EXPECT_EQ(ctl(edit)->typeName(), "TextBox");
  EXPECT_EQ(ctl(notes)->typeName(), "TextBox");
  auto* bar = new QScrollBar(Qt::Vertical, widget.get());
  EXPECT_EQ(ctl(bar)->typeName(), "VScrollBar");
  bar->setOrientation(Qt::Horizontal);
  EXPECT_EQ(ctl(bar)->typeName(), "HScrollBar");
  EXPECT_EQ(ctl(new QFrame(widget.get()))->typeName(), "PictureBox");
  EXPECT_EQ(ctl(new QSpinBox(widget.get()))->typeName(), "SpinBox");
}

TEST_F(QtFormTest, ControlsListsEveryControlInOrderThroughContainersOnly) {
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
  EXPECT_EQ(qthost::adoptForm(widget.get()), form);
  EXPECT_EQ(ctl(label)->get("Container").toObject(), ctl(frame));
  EXPECT_EQ(ctl(label)->get("Parent").toObject(), form);
  EXPECT_EQ(ctl(button)->get("Container").toObject(), form);

  delete button;
  EXPECT_EQ(controls->get("Count").toLong(), 4);
}

TEST_F(QtFormTest, VisibleAndEnabledAreTheControlsOwnFlags) {
  // The form is hidden and the frame disabled, yet the label itself is visible and enabled.
  frame->setEnabled(false);
  EXPECT_FALSE(form->get("Visible").toBool());
  EXPECT_TRUE(ctl(label)->get("Visible").toBool());
  EXPECT_TRUE(ctl(label)->get("Enabled").toBool());
  ctl(label)->set("Visible", Variant(false));
  EXPECT_TRUE(label->isHidden());
  EXPECT_FALSE(ctl(label)->get("Visible").toBool());
}

TEST_F(QtFormTest, HandlesMapBackToWidgetsUntilTheyAreDestroyed) {
  ObjectPtr cmd = ctl(button);
  const auto handle = static_cast<host::HWND>(cmd->get("hWnd").toLong());
  EXPECT_NE(handle, form->get("hWnd").toLong());
  EXPECT_EQ(qthost::widgetOf(handle), button);
  EXPECT_EQ(cmd->get("hWnd").toLong(), handle);
  delete button;
  EXPECT_EQ(qthost::widgetOf(handle), nullptr);
  EXPECT_EQ(errorOf([&] { cmd->get("Left"); }), qthost::kObjectUnloaded);
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
  widget->show();
  QApplication::processEvents();
  EXPECT_EQ(resizes, 1);
  form->set("Width", form->get("Width"));  // same size: nothing happens
  EXPECT_EQ(resizes, 1);
}

TEST_P(FormResize, WriteInsideResizeReentersOnce) {
  int depth = 0;
  int deepest = 0;
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

TEST_P(FormResize, MoveRaisesResizeOnlyWhenTheSizeChanges) {
  form->call("Move", {Variant(30 * tppX()), Variant(40 * tppY())});
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(widget->frameGeometry().topLeft(), QPoint(30, 40));
  form->call("Move", {Variant(30 * tppX()), Variant(40 * tppY()), Variant(300 * tppX())});
  EXPECT_EQ(resizes, 1);
}

TEST_P(FormResize, ResizeFromOutsideRaisesOnceWhenQtDeliversIt) {
  widget->resize(520, 330);
  QApplication::processEvents();
  // A hidden window hears of its new size only when shown.
  EXPECT_EQ(resizes, GetParam() ? 1 : 0);
  widget->show();
  QApplication::processEvents();
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(widthsSeen.back(), 520);
}

TEST_P(FormResize, WindowStateRaisesResizeAndForbidsMovingWhileMaximized) {
  form->set("WindowState", Variant(std::int16_t(2)));
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(form->get("WindowState").toLong(), 2);
  EXPECT_EQ(errorOf([&] { form->set("Width", Variant(3000)); }), host::kCantMoveMinMax);
  EXPECT_EQ(errorOf([&] { form->set("WindowState", Variant(3)); }), host::kInvalidPropertyValue);
  form->set("WindowState", Variant(std::int16_t(0)));
  EXPECT_EQ(resizes, 2);
}

INSTANTIATE_TEST_SUITE_P(Qt, FormResize, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "Shown" : "Hidden"; });

}  // namespace
