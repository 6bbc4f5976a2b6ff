// A form's controls as the Qt host keeps them between passes: whatever the application does to
// the widget tree after the Rescalo attached, the next pass and the next look-up see it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>
#include <string>

#include <rescalo/control/rescalo.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_user_control.h>

using namespace rescalo;

using host::Variant;

namespace {

template <class W>
W* make(QWidget* parent, const char* name, QRect r) {
  auto* w = new W(parent);
  w->setObjectName(name);
  w->setGeometry(r);
  return w;
}

class QtControlListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QWidget>();
    window_->setObjectName("frmList");
    window_->resize(400, 300);
    frame_ = make<QGroupBox>(window_.get(), "fraBox", {20, 20, 200, 100});
    make<QLabel>(frame_, "lblIn", {10, 20, 80, 20});
    make<QPushButton>(window_.get(), "cmdGo", {20, 200, 80, 24});
    services_.quietMessageBoxes = true;
    rescalo_ =
        qt::attach(window_.get(), control::makeRescalo(), services_, {.properties = &settings_});
    window_->show();
    QApplication::processEvents();
    form_ = qt::adoptForm(window_.get());
  }

  host::ObjectPtr controls() const { return form_->get("Controls").toObject(); }
  int count() const { return controls()->get("Count").toLong(); }
  // The control's widget by key, or nullptr when the form has no such control.
  QWidget* byKey(const std::string& key) const {
    host::ObjectPtr found;
    try {
      Variant k(key);
      found = controls()->get("Item", host::Args(&k, 1)).toObject();
    } catch (const host::HostError& e) {
      EXPECT_EQ(e.number(), 730) << key;
      return nullptr;
    }
    return &std::static_pointer_cast<qt::QtWidgetObject>(found)->widget();
  }
  void resizeTo(int w, int h) {
    window_->resize(w, h);
    QApplication::processEvents();
  }
  // A geometry within a pixel of the expected one: twips round to whole pixels both ways.
  static void expectNear(const QRect& got, const QRect& want, const std::string& what) {
    EXPECT_LE(std::abs(got.x() - want.x()), 1) << what;
    EXPECT_LE(std::abs(got.y() - want.y()), 1) << what;
    EXPECT_LE(std::abs(got.width() - want.width()), 1) << what;
    EXPECT_LE(std::abs(got.height() - want.height()), 1) << what;
  }

  std::unique_ptr<QWidget> window_;
  QGroupBox* frame_ = nullptr;
  qt::QtServices services_;
  qt::QtPropertyBag settings_{{"ResizeOnMouseUp", false}};
  std::shared_ptr<qt::QtUserControlHost> rescalo_;
  std::shared_ptr<qt::QtForm> form_;
};

TEST_F(QtControlListTest, AWidgetAddedAfterAttachingIsPlacedAndOneRemovedIsForgotten) {
  ASSERT_EQ(count(), 3);
  ASSERT_NE(byKey("cmdGo"), nullptr);

  // Added at the size the form was designed at: it scales from there like the others.
  auto* late = make<QPushButton>(window_.get(), "cmdLate", {200, 200, 80, 24});
  auto* inFrame = make<QLabel>(frame_, "lblLate", {100, 20, 80, 20});
  EXPECT_EQ(count(), 5);
  EXPECT_EQ(byKey("CMDLATE"), late);  // keys compare without regard to case
  EXPECT_EQ(byKey("lblLate"), inFrame);

  resizeTo(800, 600);
  expectNear(late->geometry(), {400, 400, 160, 48}, "cmdLate");
  expectNear(byKey("cmdGo")->geometry(), {40, 400, 160, 48}, "cmdGo");
  // Inside the frame, by the frame's own growth.
  expectNear(inFrame->geometry(), {200, 40, 160, 40}, "lblLate");

  delete byKey("cmdGo");
  EXPECT_EQ(count(), 4);
  EXPECT_EQ(byKey("cmdGo"), nullptr);
  resizeTo(400, 300);  // a pass over the controls that are left
  expectNear(late->geometry(), {200, 200, 80, 24}, "cmdLate");
  expectNear(inFrame->geometry(), {100, 20, 80, 20}, "lblLate");
}

// Each change the application can make to the tree without adding or deleting a widget.
TEST_F(QtControlListTest, RenamingReparentingAndLayingOutAreSeenAtTheNextLookUp) {
  QWidget* label = byKey("lblIn");
  ASSERT_NE(label, nullptr);

  label->setObjectName("lblRenamed");
  EXPECT_EQ(byKey("lblIn"), nullptr);
  EXPECT_EQ(byKey("lblRenamed"), label);

  label->setProperty("Index", 2);  // now a member of a control array
  EXPECT_EQ(byKey("lblRenamed(2)"), label);

  // Out of the frame onto the form: its container follows.
  label->setParent(window_.get());
  label->show();
  auto adapter = qt::adoptControl(label);
  EXPECT_EQ(adapter->get("Container").toObject(), form_);

  // A widget a layout places is its layout's, not a control.
  auto* layout = new QVBoxLayout(frame_);
  auto* laidOut = new QPushButton("In a layout");
  laidOut->setObjectName("cmdLaidOut");
  layout->addWidget(laidOut);
  EXPECT_EQ(byKey("cmdLaidOut"), nullptr);
  EXPECT_EQ(count(), 3);

  // A page added to a tab control brings its controls with it.
  auto* tabs = make<QTabWidget>(window_.get(), "tabMain", {240, 20, 140, 120});
  auto* page = new QWidget;
  make<QLabel>(page, "lblOnPage", {5, 5, 60, 20});
  EXPECT_EQ(byKey("lblOnPage"), nullptr);
  tabs->addTab(page, "One");
  ASSERT_NE(byKey("lblOnPage"), nullptr);
  EXPECT_EQ(qt::adoptControl(byKey("lblOnPage"))->get("Container").toObject(),
            qt::adoptControl(tabs));
  tabs->removeTab(0);  // the page stays the tab control's child, but is no page of it
  EXPECT_EQ(byKey("lblOnPage"), nullptr);
  delete page;
}

}  // namespace
