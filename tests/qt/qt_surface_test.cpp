// Drawing on Qt: what a picture box keeps and shows, the pictures the control composes on its
// work surfaces, and pictures on buttons and tabs.

#include <rescalo/qt/qt_surface.h>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFrame>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <memory>

#include <rescalo/effects/picture_placement.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_picture.h>
#include <rescalo/qt/qt_services.h>
#include "host_support.h"

using namespace rescalo;

using host::ObjectPtr;
using host::Variant;

namespace {

constexpr std::int32_t kWhite = 0xFFFFFF, kRed = 0x0000FF, kBlue = 0xFF0000;

Variant picture(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(colour);
  return Variant(ObjectPtr(qt::makePicture(image)));
}

// A window holding a borderless 100 x 80 pixel picture box at (10, 10), drawn in pixels on
// white.
class QtSurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<QWidget>();
    window->resize(200, 150);
    auto* frame = new QFrame(window.get());
    frame->setGeometry(10, 10, 100, 80);
    box = qt::adoptControl(frame);
    box->set("ScaleMode", std::int16_t{3});
    box->set("BackColor", kWhite);
  }
  std::int32_t point(double x, double y) {
    return box->call("Point", {Variant(x), Variant(y)}).toLong();
  }
  // The colours of several points, to compare at once.
  std::vector<std::int32_t> points(std::initializer_list<std::pair<double, double>> at) {
    std::vector<std::int32_t> out;
    for (auto [x, y] : at) out.push_back(point(x, y));
    return out;
  }
  void fill(double x1, double y1, double x2, double y2, std::int32_t colour) {
    box->call("Line",
              {Variant(x1), Variant(y1), Variant(x2), Variant(y2), Variant(colour), Variant("BF")});
  }
  // What the window shows at a pixel of its own.
  std::int32_t shown(int x, int y) {
    const QRgb c = window->grab(QRect(x, y, 1, 1)).toImage().pixel(0, 0);
    return qRed(c) | qGreen(c) << 8 | qBlue(c) << 16;
  }
  std::unique_ptr<QWidget> window;
  std::shared_ptr<qt::QtControl> box;
};

TEST_F(QtSurfaceTest, AutoRedrawDrawingIsKeptThroughResizesAndClsWhileOtherDrawingIsNot) {
  EXPECT_EQ(box->typeName(), "PictureBox");
  box->set("AutoRedraw", true);
  fill(10, 10, 19, 19, kRed);
  // Both corners are in the box, and nothing beyond them.
  EXPECT_EQ(points({{10, 10}, {19, 19}, {20, 20}}), (std::vector{kRed, kRed, kWhite}));
  EXPECT_EQ(shown(10 + 15, 10 + 15), kRed);  // under the widget, at its place in the window

  // Grown, the box keeps its drawing and the new area is its back colour.
  box->set("Width", 140 * 15.0);
  EXPECT_EQ(points({{15, 15}, {130, 70}}), (std::vector{kRed, kWhite}));

  // Drawing with AutoRedraw off is only on screen: Refresh brings back the kept image, and a
  // Cls made with it off keeps what was drawn while it was on.
  box->set("AutoRedraw", false);
  fill(40, 40, 49, 49, kBlue);
  EXPECT_EQ(point(45, 45), kBlue);
  box->call("Refresh");
  EXPECT_EQ(point(45, 45), kWhite);
  box->call("Cls");
  EXPECT_EQ(point(15, 15), kRed);
  box->set("AutoRedraw", true);
  box->call("Cls");
  EXPECT_EQ(point(15, 15), kWhite);
}

TEST_F(QtSurfaceTest, DrawModesStylesAndCirclesDrawAsTheClassicMethodsDo) {
  box->set("AutoRedraw", true);
  // Xor twice gives the background back; blackness ignores the colour.
  box->set("DrawMode", std::int16_t{7});
  fill(0, 0, 9, 9, kRed);
  EXPECT_EQ(point(5, 5), kWhite ^ kRed);
  fill(0, 0, 9, 9, kRed);
  EXPECT_EQ(point(5, 5), kWhite);
  box->set("DrawMode", std::int16_t{1});
  fill(0, 0, 9, 9, kRed);
  EXPECT_EQ(point(5, 5), 0);
  box->set("DrawMode", std::int16_t{13});
  EXPECT_EQ(testing_support::errorOf([&] { box->set("DrawMode", std::int16_t{17}); }), 380);

  // A one-pixel line leaves out its end point; a filled box outline has its fill inside.
  box->call("Line", {Variant(20), Variant(5), Variant(30), Variant(5), Variant(kBlue)});
  EXPECT_EQ(points({{29, 5}, {30, 5}}), (std::vector{kBlue, kWhite}));
  box->set("FillStyle", std::int16_t{0});
  box->set("FillColor", kRed);
  box->call("Line",
            {Variant(40), Variant(40), Variant(60), Variant(60), Variant(kBlue), Variant("B")});
  EXPECT_EQ(points({{40, 50}, {60, 60}, {50, 50}, {61, 61}}),
            (std::vector{kBlue, kBlue, kRed, kWhite}));

  box->call("Circle", {Variant(80), Variant(20), Variant(10), Variant(kBlue)});
  EXPECT_EQ(points({{80, 20}, {80, 33}}), (std::vector{kRed, kWhite}));
  EXPECT_FLOAT_EQ(box->get("CurrentX").toSingle(), 80);

  // A hatched fill leaves the background between its lines.
  box->set("FillStyle", std::int16_t{2});
  box->call("Line",
            {Variant(70), Variant(45), Variant(95), Variant(75), Variant(kBlue), Variant("B")});
  int red = 0, white = 0;
  for (int y = 46; y < 75; ++y) {
    red += point(80, y) == kRed;
    white += point(80, y) == kWhite;
  }
  EXPECT_GT(red, 0);
  EXPECT_GT(white, red);
  EXPECT_EQ(red + white, 29);
}

TEST_F(QtSurfaceTest, TheWorkSurfacesStretchCentreAndTilePictures) {
  QTemporaryDir dir;
  qt::QtServices services(dir.filePath("settings.ini"));
  effects::WorkSurfaces ws{services.createPictureBox(), services.createPictureBox()};
  EXPECT_FALSE(ws.canvas->get("Visible").toBool());
  const Variant small = picture(20, 10, Qt::red);

  const Variant scaled = effects::ScalePicture(ws, small, 2, 3);
  const QImage* image = qt::imageOf(scaled);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), QSize(40, 30));
  EXPECT_EQ(image->pixel(39, 29), QColor(Qt::red).rgb());
  EXPECT_EQ(qt::imageOf(small)->size(), QSize(20, 10));  // the source is never altered

  effects::CenterPicture(ws, *box, small);
  image = qt::imageOf(box->get("Picture"));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), QSize(100, 80));
  EXPECT_EQ(image->pixel(50, 40), QColor(Qt::red).rgb());
  EXPECT_EQ(image->pixel(5, 5), QColor(Qt::white).rgb());
  EXPECT_EQ(shown(10 + 50, 10 + 40), kRed);  // a picture box shows its picture

  effects::TilePicture(ws, *box, small);
  image = qt::imageOf(box->get("Picture"));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixel(5, 5), QColor(Qt::red).rgb());
  EXPECT_EQ(image->pixel(99, 79), QColor(Qt::red).rgb());
}

TEST_F(QtSurfaceTest, ButtonsAndTabsShowPicturesAsIconsAndOtherControlsHaveNone) {
  window->resize(200, 200);
  auto* button = new QPushButton("Go", window.get());
  auto* tabs = new QTabWidget(window.get());
  tabs->addTab(new QWidget, "One");
  tabs->addTab(new QWidget, "Two");
  auto* plain = new QFrame(window.get());
  auto cmd = qt::adoptControl(button);
  const Variant pic = picture(24, 16, Qt::blue);
  cmd->set("Picture", pic);
  EXPECT_EQ(button->iconSize(), QSize(24, 16));
  EXPECT_FALSE(button->icon().isNull());
  EXPECT_EQ(cmd->get("Picture").toObject(), pic.toObject());
  EXPECT_EQ(pic.toObject()->get("Width").toLong(), 635);  // 24 pixels at 96 dpi in HIMETRIC
  EXPECT_FALSE(cmd->has("AutoRedraw"));
  // Its down picture is shown while it is held, its disabled one while it is disabled; a
  // check box shows its down picture while it is checked.
  auto colourOf = [](const QIcon& icon, QIcon::Mode mode, QIcon::State state) {
    return icon.pixmap(QSize(24, 16), mode, state).toImage().pixelColor(2, 2);
  };
  cmd->set("DownPicture", picture(24, 16, Qt::red));
  cmd->set("DisabledPicture", picture(32, 32, Qt::gray));
  EXPECT_EQ(button->iconSize(), QSize(32, 32));
  EXPECT_EQ(colourOf(button->icon(), QIcon::Disabled, QIcon::Off), QColor(Qt::gray));
  button->setDown(true);
  emit button->pressed();
  EXPECT_EQ(colourOf(button->icon(), QIcon::Normal, QIcon::Off), QColor(Qt::red));
  emit button->released();
  EXPECT_EQ(colourOf(button->icon(), QIcon::Normal, QIcon::Off), QColor(Qt::blue));
  auto* check = new QCheckBox("Ok", window.get());
  auto chk = qt::adoptControl(check);
  chk->set("Picture", pic);
  chk->set("DownPicture", picture(24, 16, Qt::red));
  EXPECT_EQ(colourOf(check->icon(), QIcon::Normal, QIcon::On), QColor(Qt::red));
  EXPECT_THROW(chk->set("DownPicture", Variant(std::int16_t{1})), host::HostError);

  auto tab = qt::adoptControl(tabs);
  tab->set("TabPicture", pic, {Variant(std::int16_t{1})});
  EXPECT_FALSE(tabs->tabIcon(1).isNull());
  EXPECT_EQ(tabs->iconSize(), QSize(24, 16));
  EXPECT_TRUE(tab->get("TabPicture", {Variant(std::int16_t{0})}).isNothing());
  EXPECT_EQ(tab->get("TabPicture", {Variant(std::int16_t{1})}).toObject()->get("Height").toLong(),
            423);
  EXPECT_FALSE(tab->has("Picture"));
  EXPECT_FALSE(tab->has("DownPicture"));

  // An auto-sized picture box takes the picture's size; anything but a picture is refused.
  auto autoSized = qt::adoptControl(plain);
  autoSized->set("AutoSize", true);
  autoSized->set("Picture", pic);
  EXPECT_EQ(plain->size(), QSize(24, 16));
  // An image control that stretches shows its picture over its whole area, whatever its size.
  auto* stretching = new QFrame(window.get());
  stretching->setProperty("Stretch", true);
  stretching->setGeometry(0, 100, 40, 30);
  QImage halves(4, 2, QImage::Format_ARGB32);  // red above, blue below
  halves.fill(Qt::red);
  for (int x = 0; x < 4; ++x) halves.setPixel(x, 1, QColor(Qt::blue).rgb());
  qt::adoptControl(stretching)->set("Picture", Variant(ObjectPtr(qt::makePicture(halves))));
  EXPECT_EQ((std::vector{shown(39, 100 + 14), shown(39, 100 + 29)}), (std::vector{kRed, kBlue}));
  stretching->resize(80, 60);
  EXPECT_EQ((std::vector{shown(10, 100 + 20), shown(79, 100 + 59)}), (std::vector{kRed, kBlue}));
  EXPECT_EQ(testing_support::errorOf([&] { autoSized->set("Picture", Variant(ObjectPtr(cmd))); }),
            13);
}

}  // namespace
