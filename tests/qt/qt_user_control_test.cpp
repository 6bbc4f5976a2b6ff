// A user control attached to a QWidget window: what it is told, in which order, and what the
// application sees of it.

#include <rescalo/qt/qt_user_control.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include <rescalo/qt/qt_form.h>
#include "host_support.h"

using namespace rescalo;

using host::Variant;

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

}  // namespace
