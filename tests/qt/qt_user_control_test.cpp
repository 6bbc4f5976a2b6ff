// A user control attached to a QWidget window: what it is told, in which order, and what the
// application sees of it; and the form's controls as the host keeps them between passes:
// whatever the application does to the widget tree after attaching, the next pass and the next
// look-up see it.

#include <rescalo/qt/qt_user_control.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <memory>
#include <string>
#include <vector>

#include <rescalo/control/rescalo.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include "built_form.h"
#include "host_support.h"

using namespace rescalo;

using host::Variant;
using testing_support::make;
using testing_support::withinAPixel;

namespace {

// Records its life and the host form's events, and has one property of its own.
class Recorder : public host::UserControl {
 public:
  std::string_view typeName() const override { return "Recorder"; }
  void Initialize(host::ControlSite& site) override {
    site_ = &site;
    log.push_back("Initialize");
  }
  void InitProperties() override { log.push_back("InitProperties"); }
  void ReadProperties(host::PropertyBag& bag) override {
    log.push_back("ReadProperties");
    colour = bag.ReadProperty("Colour", Variant(std::int32_t(7))).toLong();
    designWidth = bag.ReadProperty("DesignFormScaleWidth", Variant(0.0)).toDouble();
    form_ = site_->Parent();
    subscription_ =
        form_->subscribe([this](std::string_view event, host::Args) { log.emplace_back(event); });
  }
  void WriteProperties(host::PropertyBag& bag) override {
    bag.WriteProperty("Colour", Variant(colour), Variant(std::int32_t(7)));
  }
  void Resize() override {}
  void Terminate() override {
    log.push_back("Terminate");
    if (form_) form_->unsubscribe(subscription_);  // the form may outlive the control
  }

  std::vector<std::string> log;
  std::int32_t colour = 0;
  double designWidth = 0;
  host::ControlSite* site_ = nullptr;
  host::ObjectPtr form_;
  int subscription_ = 0;

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"Colour", [](Object& o, host::Args) { return Variant(host::self<Recorder>(o).colour); },
         [](Object& o, host::Args, const Variant& v) {
           auto& r = host::self<Recorder>(o);
           r.colour = v.toLong();
           r.site_->PropertyChanged("Colour");
         }}};
    return &table;
  }
};

class AttachTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  qt::QtServices services{dir.filePath("settings.ini")};
  std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
  std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
  void SetUp() override {
    window->setObjectName("frmMain");
    window->resize(320, 240);
    auto* b = new QPushButton("OK", window.get());
    b->setObjectName("cmdOK");
  }
};

TEST_F(AttachTest, TheControlLivesThroughTheWindowsLoadFirstDisplayCloseAndDestruction) {
  qt::QtPropertyBag settings{{"colour", Variant(std::int32_t(3))}};
  auto host = qt::attach(window.get(), recorder, services, {.properties = &settings});
  EXPECT_EQ(recorder->colour, 3);  // names compare without regard to case
  // A window made in code was designed at its size when attached.
  EXPECT_DOUBLE_EQ(recorder->designWidth, 320 * 1440.0 / window->logicalDpiX());
  window->show();
  QApplication::processEvents();
  window->close();
  QApplication::processEvents();
  window.reset();
  EXPECT_EQ(recorder->log,
            (std::vector<std::string>{"Initialize", "ReadProperties", "Load", "Resize", "Activate",
                                      "Unload", "Deactivate", "Terminate"}));
  host.reset();  // ends the control only once
  EXPECT_EQ(std::count(recorder->log.begin(), recorder->log.end(), "Terminate"), 1);
}

TEST_F(AttachTest, TheExtenderLendsTheControlsMembersAndTheSiteSeesTheFormFirst) {
  auto host = qt::attach(window.get(), recorder, services, {.name = "Recorder1"});
  EXPECT_EQ(host->get("Name").toString(), "Recorder1");
  host->set("Colour", Variant(std::int32_t(9)));
  EXPECT_EQ(recorder->colour, 9);
  EXPECT_EQ(host->changedProperties, std::vector<std::string>{"Colour"});
  EXPECT_EQ(testing_support::errorOf([&] { host->get("Nothing"); }), host::kNoSuchMember);

  auto controls = host->ParentControls();
  ASSERT_EQ(controls->get("Count").toLong(), 2);
  EXPECT_EQ(controls->get("Item", {Variant(0)}).toObject(), qt::adoptForm(window.get()));
  EXPECT_EQ(controls->get("Item", {Variant(1)}).toObject()->get("Name").toString(), "cmdOK");

  // Properties written back go through the bag's defaults: a default is not stored.
  qt::QtPropertyBag saved;
  recorder->WriteProperties(saved);
  recorder->colour = 7;
  qt::QtPropertyBag defaults;
  recorder->WriteProperties(defaults);
  EXPECT_EQ(saved.values().size(), 1u);
  EXPECT_TRUE(defaults.values().empty());
}

TEST_F(AttachTest, AtDesignTimeANewControlTakesItsDefaultsAndAShownWindowResizesAtOnce) {
  window->show();
  QApplication::processEvents();
  auto host = qt::attach(window.get(), recorder, services, {.userMode = false});
  EXPECT_EQ(recorder->log, (std::vector<std::string>{"Initialize", "InitProperties"}));
  EXPECT_FALSE(host->UserMode());

  auto other = std::make_shared<Recorder>();
  auto running = qt::attach(window.get(), other, services);
  // Already on the screen: its first display is over, so Resize follows Load at once.
  EXPECT_EQ(other->log,
            (std::vector<std::string>{"Initialize", "ReadProperties", "Load", "Resize"}));
  EXPECT_EQ(
      testing_support::errorOf([&] { qt::attach(new QPushButton(window.get()), other, services); }),
      host::kInvalidProcedureCall);
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
    try {
      const host::ObjectPtr found = controls()->get("Item", {Variant(key)}).toObject();
      return &std::static_pointer_cast<qt::QtWidgetObject>(found)->widget();
    } catch (const host::HostError& e) {
      EXPECT_EQ(e.number(), 730) << key;
      return nullptr;
    }
  }
  void resizeTo(int w, int h) {
    window_->resize(w, h);
    QApplication::processEvents();
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
  EXPECT_TRUE(withinAPixel(late->geometry(), {400, 400, 160, 48}));
  EXPECT_TRUE(withinAPixel(byKey("cmdGo")->geometry(), {40, 400, 160, 48}));
  // Inside the frame, by the frame's own growth.
  EXPECT_TRUE(withinAPixel(inFrame->geometry(), {200, 40, 160, 40}));

  delete byKey("cmdGo");
  EXPECT_EQ(count(), 4);
  EXPECT_EQ(byKey("cmdGo"), nullptr);
  resizeTo(400, 300);  // a pass over the controls that are left
  EXPECT_TRUE(withinAPixel(late->geometry(), {200, 200, 80, 24}));
  EXPECT_TRUE(withinAPixel(inFrame->geometry(), {100, 20, 80, 20}));
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
