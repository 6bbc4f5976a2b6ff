// The Rescalo as a Qt application uses it: one attach, or a widget on a form as uic and
// QUiLoader make it; settings in pixels and QColors, flags from code or from a form's dynamic
// properties, events as signals, gone with its window.

#include <rescalo/bridge/shown_form.h>
#include <rescalo/qt.h>

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "built_form.h"
#include "test_support.h"

using namespace rescalo;

namespace {

using bridge::settle;
using testing_support::make;
using Rects = std::vector<QRect>;

// A 400 x 300 form with two buttons and a label, on the form or in a container that fills it.
// Whatever `first` makes on their parent is made before them, as uic's setupUi makes the
// Rescalo on the window and sets its properties before the other widgets exist.
struct Window {
  std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
  QPushButton *ok = nullptr, *help = nullptr;
  QLabel* label = nullptr;
  explicit Window(bool inContainer = false, const std::function<void(QWidget*)>& first = {}) {
    form->resize(400, 300);
    QWidget* parent = inContainer ? make<QWidget>(form.get(), "", {0, 0, 400, 300}) : form.get();
    if (first) first(parent);
    ok = make<QPushButton>(parent, "cmdOK", {300, 250, 80, 30});
    help = make<QPushButton>(parent, "cmdHelp", {20, 250, 80, 30});
    label = make<QLabel>(parent, "lblName", {20, 20, 100, 20});
  }
};

TEST(QtFacade, SettingsReadAndWriteInQtTermsOverTheClassicOnes) {
  Window w;
  qt::Rescalo* r = qt::attach(w.form.get());
  const double tpp = 1440.0 / w.form->logicalDpiX();
  r->setMinimumWindowSize({240, 180});
  EXPECT_EQ(r->classic().get("MinWidth").toLong(), std::lround(240 * tpp));
  EXPECT_EQ(r->minimumWindowSize(), QSize(240, 180));
  r->setGradientColor(QColor(255, 128, 0));
  EXPECT_EQ(r->classic().get("GradientColour").toLong(), 0x0080FF);  // classic colours are BGR
  EXPECT_EQ(r->gradientColor(), QColor(255, 128, 0));
  EXPECT_EQ(r->replacementFont(), "");  // the classic "<none>"
  r->setReplacementFont("DejaVu Sans");
  EXPECT_EQ(r->classic().get("ReplaceFontsWith").toString(), "DejaVu Sans");
  r->setGradientSource(qt::Rescalo::FromBottomRight);
  EXPECT_EQ(r->property("gradientSource").toInt(), int(qt::Rescalo::FromBottomRight));
  // The classic Lets still clamp.
  r->setScreenWidthPercent(150);
  EXPECT_EQ(r->screenWidthPercent(), 100);
}

TEST(QtFacade, TheControlIsAChildOfItsWindowAndGoesWithIt) {
  auto form = std::make_unique<QWidget>();
  QPointer<qt::Rescalo> r = qt::attach(form.get());
  EXPECT_EQ(r->parent(), form.get());
  EXPECT_EQ(qt::rescaloOf(form.get()), r.data());
  form->show();
  settle(50);
  EXPECT_TRUE(r->isHidden());
  form.reset();
  EXPECT_TRUE(r.isNull());
  QWidget notAWindow;
  QWidget child(&notAWindow);
  EXPECT_THROW(qt::attach(&child), host::HostError);
}

// One widget locked to a corner at its size, one to its left and bottom, a label whose font
// is kept: by code on a control attached afterwards, or by dynamic properties and settings made
// before the widgets existed. Made first inside a container, the control waits for the window
// to be shown (the container may yet move to another), keeping in the meantime what it was set
// to, clamped as the classic control clamps.
TEST(QtFacade, LockedAndExcludedWidgetsHoldWhileTheRestFollowsHoweverTheControlWasMade) {
  const qt::Locks corner = qt::Lock::Right | qt::Lock::Bottom | qt::Lock::Width | qt::Lock::Height;
  for (const int made : {0, 1, 2}) {
    SCOPED_TRACE(made == 0 ? "attached after" : made == 1 ? "on the window" : "in a container");
    qt::Rescalo* r = nullptr;
    Window w(made == 2, [&](QWidget* parent) {
      if (made == 0) return;
      r = new qt::Rescalo(parent);
      r->setResizeWhenDragEnds(false);
      r->setScaleFonts(false);
      r->setMinimumWindowSize({200, 150});
      r->setCloseSeconds(60);
      EXPECT_EQ(r->isAttached(), made == 1);  // a window's own attaches at once
      EXPECT_DOUBLE_EQ(r->closeSeconds(), 10);
    });
    w.help->setProperty(qt::kLocksProperty, "Left|Bottom|Width|Height");
    if (made == 0) {
      w.label->setProperty(qt::kExcludeProperty, "Font");
      r = qt::attach(w.form.get());
      r->setResizeWhenDragEnds(false);
      r->setLocks(w.ok, corner);
      EXPECT_EQ(r->excluded(w.label), qt::Excludes(qt::Exclude::Font));
    } else {
      w.ok->setProperty(qt::kLocksProperty, "Right|Bottom|Width|Height");
    }
    auto places = [&] { return Rects{w.ok->geometry(), w.help->geometry(), w.label->geometry()}; };
    int done = 0;
    QObject::connect(r, &qt::Rescalo::resizeDone, [&] { ++done; });
    const int font = QFontInfo(w.label->font()).pixelSize();
    w.form->show();
    settle(200);
    ASSERT_TRUE(r->isAttached());
    EXPECT_EQ(r->attachedWindow(), w.form.get());
    EXPECT_EQ(qt::rescaloOf(w.form.get()), r);
    EXPECT_TRUE(r->isHidden());
    EXPECT_FALSE(r->resizeWhenDragEnds());
    EXPECT_EQ(r->locks(w.ok), corner);
    if (made) {
      EXPECT_EQ(r->minimumWindowSize(), QSize(200, 150));
    }
    done = 0;
    w.form->resize(800, 600);
    settle(300);
    EXPECT_GE(done, 1);
    EXPECT_EQ(places(), (Rects{{700, 550, 80, 30}, {20, 550, 80, 30}, {40, 40, 200, 40}}));
    EXPECT_EQ(QFontInfo(w.label->font()).pixelSize(), font);
    w.form->resize(400, 300);
    settle(300);
    EXPECT_EQ(places(), (Rects{{300, 250, 80, 30}, {20, 250, 80, 30}, {20, 20, 100, 20}}));
    // Unlocked again, it follows.
    r->setLocks(w.ok, {});
    w.form->resize(800, 600);
    settle(300);
    EXPECT_EQ(w.ok->geometry(), QRect(600, 500, 160, 60));
  }
}

// At design time it shows its icon, keeps what it is given and never rescales.
TEST(QtFacade, AtDesignTimeItShowsItsIconKeepsItsSettingsAndNeverAttaches) {
  Window w;
  qt::Rescalo* r = qt::Rescalo::createAtDesignTime(w.form.get());
  EXPECT_TRUE(r->isDesignTime());
  r->setLocks(w.ok, qt::Lock::Right);
  EXPECT_EQ(r->locks(w.ok), qt::Locks(qt::Lock::Right));
  w.form->show();
  settle(100);
  EXPECT_TRUE(r->isVisible());
  EXPECT_EQ(r->size(), QSize(32, 32));
  const QImage drawn = r->grab().toImage();
  EXPECT_NE(drawn.pixelColor(16, 16), drawn.pixelColor(0, 0));
  w.form->resize(800, 600);
  settle(200);
  EXPECT_FALSE(r->isAttached());
  EXPECT_EQ(w.ok->geometry(), QRect(300, 250, 80, 30));
}

TEST(QtFacade, AClassicFormOpensInWidgetsWithItsRescaloInOneCall) {
  QTemporaryDir dir;
  const QString path = dir.filePath("orders.frm");
  std::ofstream(path.toStdString()) << testing_support::formText(
      testing_support::block("VB.CommandButton cmdOK",
                             "Caption = \"OK\"\n" + testing_support::place(3000, 2400, 1200, 450)));
  std::unique_ptr<QWidget> window = qt::openForm(path.toStdString());
  ASSERT_TRUE(window);
  ASSERT_NE(qt::rescaloOf(window.get()), nullptr);
  auto* ok = window->findChild<QPushButton*>("cmdOK");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  window->show();
  settle(200);
  const QRect before = ok->geometry();
  window->resize(window->width() * 2, window->height() * 2);
  settle(400);
  EXPECT_EQ(ok->geometry(),
            QRect(before.x() * 2, before.y() * 2, before.width() * 2, before.height() * 2));
  EXPECT_THROW(qt::openForm((dir.path() + "/missing.frm").toStdString()), std::exception);
}

}  // namespace
