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
#include <memory>

#include "test_support.h"

using namespace rescalo;

namespace {

void wait(int ms) { bridge::settle(ms); }

struct Window {
  std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
  QPushButton* ok = new QPushButton("OK", form.get());
  QPushButton* help = new QPushButton("Help", form.get());
  QLabel* label = new QLabel("Name", form.get());
  Window() {
    form->resize(400, 300);
    ok->setObjectName("cmdOK");
    ok->setGeometry(300, 250, 80, 30);
    help->setObjectName("cmdHelp");
    help->setGeometry(20, 250, 80, 30);
    label->setObjectName("lblName");
    label->setGeometry(20, 20, 100, 20);
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

TEST(QtFacade, LockedAndExcludedWidgetsHoldWhileTheRestFollowsAndEveryoneComesBack) {
  Window w;
  w.help->setProperty(qt::kLocksProperty, "Left|Bottom|Width|Height");
  w.label->setProperty(qt::kExcludeProperty, "Font");
  qt::Rescalo* r = qt::attach(w.form.get());
  r->setResizeWhenDragEnds(false);
  r->setLocks(w.ok, qt::Lock::Right | qt::Lock::Bottom | qt::Lock::Width | qt::Lock::Height);
  EXPECT_EQ(r->locks(w.ok),
            qt::Lock::Right | qt::Lock::Bottom | qt::Lock::Width | qt::Lock::Height);
  EXPECT_EQ(r->excluded(w.label), qt::Excludes(qt::Exclude::Font));
  int done = 0;
  QObject::connect(r, &qt::Rescalo::resizeDone, [&] { ++done; });
  w.form->show();
  wait(200);
  const QRect ok = w.ok->geometry(), help = w.help->geometry(), label = w.label->geometry();
  const int labelFont = w.label->font().pixelSize() > 0 ? w.label->font().pixelSize()
                                                        : QFontInfo(w.label->font()).pixelSize();
  done = 0;
  w.form->resize(800, 600);
  wait(300);
  EXPECT_GE(done, 1);
  // Kept to the corner it is locked to, at its size; the other to its left and bottom.
  EXPECT_EQ(w.ok->geometry(), QRect(700, 550, 80, 30));
  EXPECT_EQ(w.help->geometry(), QRect(20, 550, 80, 30));
  EXPECT_EQ(w.label->geometry(), QRect(40, 40, 200, 40));
  EXPECT_EQ(QFontInfo(w.label->font()).pixelSize(), labelFont);
  w.form->resize(400, 300);
  wait(300);
  EXPECT_EQ(w.ok->geometry(), ok);
  EXPECT_EQ(w.help->geometry(), help);
  EXPECT_EQ(w.label->geometry(), label);
  // Unlocked again, it follows.
  r->setLocks(w.ok, {});
  w.form->resize(800, 600);
  wait(300);
  EXPECT_EQ(w.ok->geometry(), QRect(600, 500, 160, 60));
}

TEST(QtFacade, TheControlIsAChildOfItsWindowAndGoesWithIt) {
  auto form = std::make_unique<QWidget>();
  QPointer<qt::Rescalo> r = qt::attach(form.get());
  EXPECT_EQ(r->parent(), form.get());
  EXPECT_EQ(qt::rescaloOf(form.get()), r.data());
  form->show();
  wait(50);
  EXPECT_TRUE(r->isHidden());
  form.reset();
  EXPECT_TRUE(r.isNull());
  QWidget notAWindow;
  QWidget child(&notAWindow);
  EXPECT_THROW(qt::attach(&child), host::HostError);
}

// As uic's setupUi builds a form, the Rescalo is made on the window and its properties set
// before the other widgets exist, one of them with its flags as a dynamic property. Inside a
// container it waits for the window to be shown (the container may yet move to another),
// keeping in the meantime what it was set to, clamped as the classic control clamps.
TEST(QtFacade, ARescaloMadeBeforeTheOtherWidgetsAttachesAtTheFirstShowWithWhatWasSetBefore) {
  for (const bool inContainer : {false, true}) {
    SCOPED_TRACE(inContainer ? "in a container" : "on the window");
    auto form = std::make_unique<QWidget>();
    form->resize(400, 300);
    QWidget* parent = form.get();
    if (inContainer) {
      parent = new QWidget(form.get());
      parent->setGeometry(0, 0, 400, 300);
    }
    auto* r = new qt::Rescalo(parent);
    r->setResizeWhenDragEnds(false);
    r->setScaleFonts(false);
    r->setMinimumWindowSize({200, 150});
    r->setCloseSeconds(60);
    EXPECT_EQ(r->isAttached(), !inContainer);  // a window's own attaches at once
    EXPECT_DOUBLE_EQ(r->closeSeconds(), 10);
    auto* ok = new QPushButton("OK", parent);
    ok->setGeometry(300, 250, 80, 30);
    ok->setObjectName("cmdOK");
    ok->setProperty(qt::kLocksProperty, "Right|Bottom|Width|Height");
    auto* label = new QLabel("Name", parent);
    label->setObjectName("lblName");
    label->setGeometry(20, 20, 100, 20);
    const int font = QFontInfo(label->font()).pixelSize();

    form->show();
    wait(200);
    ASSERT_TRUE(r->isAttached());
    EXPECT_EQ(r->attachedWindow(), form.get());
    EXPECT_EQ(qt::rescaloOf(form.get()), r);
    EXPECT_TRUE(r->isHidden());
    EXPECT_EQ(r->minimumWindowSize(), QSize(200, 150));
    EXPECT_FALSE(r->resizeWhenDragEnds());
    EXPECT_EQ(r->locks(ok),
              qt::Lock::Right | qt::Lock::Bottom | qt::Lock::Width | qt::Lock::Height);
    form->resize(800, 600);
    wait(300);
    EXPECT_EQ(ok->geometry(), QRect(700, 550, 80, 30));
    EXPECT_EQ(label->geometry(), QRect(40, 40, 200, 40));
    EXPECT_EQ(QFontInfo(label->font()).pixelSize(), font);  // set before any widget existed
    form->resize(400, 300);
    wait(300);
    EXPECT_EQ(ok->geometry(), QRect(300, 250, 80, 30));
    EXPECT_EQ(label->geometry(), QRect(20, 20, 100, 20));
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
  wait(100);
  EXPECT_TRUE(r->isVisible());
  EXPECT_EQ(r->size(), QSize(32, 32));
  const QImage drawn = r->grab().toImage();
  EXPECT_NE(drawn.pixelColor(16, 16), drawn.pixelColor(0, 0));
  w.form->resize(800, 600);
  wait(200);
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
  wait(200);
  const QRect before = ok->geometry();
  window->resize(window->width() * 2, window->height() * 2);
  wait(400);
  EXPECT_EQ(ok->geometry(),
            QRect(before.x() * 2, before.y() * 2, before.width() * 2, before.height() * 2));
  EXPECT_THROW(qt::openForm((dir.path() + "/missing.frm").toStdString()), std::exception);
}

}  // namespace
