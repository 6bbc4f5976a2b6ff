#include <rescalo/effects/picture_placement.h>

#include <gtest/gtest.h>

#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/raster.h>
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using namespace testing_support;
using Colors = std::vector<raster::Color>;

namespace {

constexpr raster::Color kRed = raster::rgb(255, 0, 0), kBlue = raster::rgb(0, 0, 255),
                        kGreen = raster::rgb(0, 255, 0);

class PicturePlacement : public RuntimeTest {
 protected:
  effects::WorkSurfaces ws{rt.createPictureBox(), rt.createPictureBox()};
  static Variant picture(raster::Bitmap bm) {
    return Variant(host::ObjectPtr(runtime::makePicture(std::move(bm))));
  }
  static const raster::Bitmap& bitmap(const Variant& v) { return *runtime::bitmapOf(v); }
  static std::vector<int> size(const Variant& v) { return {bitmap(v).width(), bitmap(v).height()}; }
};

TEST_F(PicturePlacement, ScaleAndSizeStretchWithAnAreaFilterAndLeaveTheSourceAlone) {
  // 40 x 40 pixels, 600 x 600 twips: left half red, right half blue.
  raster::Bitmap source(40, 40, kRed);
  for (int y = 0; y < 40; ++y)
    for (int x = 20; x < 40; ++x) source.setPixel(x, y, kBlue);
  Variant src = picture(source);
  Variant scaled = effects::ScalePicture(ws, src, 2, 0.5);
  ASSERT_FALSE(scaled.isNothing());
  EXPECT_EQ(size(scaled), (std::vector<int>{80, 20}));
  EXPECT_EQ((Colors{bitmap(scaled).pixel(10, 10), bitmap(scaled).pixel(70, 10)}),
            (Colors{kRed, kBlue}));
  EXPECT_EQ(bitmap(src), source);
  // Shrunk to one pixel wide, the halves mix instead of one of them winning.
  Variant thin = effects::SizePicture(ws, src, 15, 300);
  EXPECT_EQ(size(thin), (std::vector<int>{1, 20}));
  raster::Color mixed = bitmap(thin).pixel(0, 5);
  EXPECT_NEAR(raster::red(mixed), 128, 2);
  EXPECT_NEAR(raster::blue(mixed), 128, 2);
  // Scaling from the source again and again gives the same picture every time.
  for (int i = 0; i < 100; ++i) scaled = effects::ScalePicture(ws, src, 1.37, 0.81);
  EXPECT_EQ(bitmap(scaled), bitmap(effects::ScalePicture(ws, src, 1.37, 0.81)));
  // At its own size the picture is the one given, not one painted again from it.
  EXPECT_EQ(effects::ScalePicture(ws, src, 1, 1).toObject(), src.toObject());
  // A picture without content gives nothing.
  EXPECT_TRUE(effects::ScalePicture(ws, picture(raster::Bitmap()), 2, 2).isNothing());
  EXPECT_TRUE(effects::SizePicture(ws, Variant(nullptr), 100, 100).isNothing());
}

TEST_F(PicturePlacement, CenterAnchorsAWidePictureLeftAndCentresItVertically) {
  auto box = rt.createPictureBox();
  box->set("ScaleMode", std::int16_t{1});
  box->call("Move", {Variant(0), Variant(0), Variant(2000), Variant(2000)});
  box->set("BackColor", static_cast<std::int32_t>(kGreen));
  effects::CenterPicture(ws, *box, picture(raster::Bitmap(200, 60, kRed)));  // 3000 x 900 twips
  const raster::Bitmap& out = bitmap(box->get("Picture"));
  EXPECT_EQ(out.width(), 133);
  // y = 1000 - 450 = 550 twips, 36.7 pixels: the picture starts on row 37.
  EXPECT_EQ((Colors{out.pixel(0, 36), out.pixel(0, 37), out.pixel(132, 96), out.pixel(132, 97)}),
            (Colors{kGreen, kRed, kRed, kGreen}));
  // Nothing to centre: the container keeps its picture.
  Variant before = box->get("Picture");
  effects::CenterPicture(ws, *box, picture(raster::Bitmap()));
  EXPECT_EQ(box->get("Picture").toObject(), before.toObject());
}

// An object with a client size and colour but no scale of its own.
class Panel : public host::Object {
 public:
  std::string_view typeName() const override { return "Panel"; }
  Variant pictureValue = Variant(nullptr);

 protected:
  const host::MemberTable* members() const override {
    static const host::MemberTable table{
        {"ScaleWidth", [](Object&, host::Args) { return Variant(1500); }},
        {"ScaleHeight", [](Object&, host::Args) { return Variant(900); }},
        {"BackColor",
         [](Object&, host::Args) { return Variant(static_cast<std::int32_t>(kGreen)); }},
        {"Picture", [](Object& o, host::Args) { return host::self<Panel>(o).pictureValue; },
         [](Object& o, host::Args, const Variant& v) { host::self<Panel>(o).pictureValue = v; }}};
    return &table;
  }
};

TEST_F(PicturePlacement, TileRepeatsThePictureFromOneTwipOverAContainerWithoutAScale) {
  raster::Bitmap tile(40, 40, kRed);  // 600 x 600 twips, with a blue first column
  for (int y = 0; y < 40; ++y) tile.setPixel(0, y, kBlue);
  Panel panel;
  effects::TilePicture(ws, panel, picture(tile));
  const raster::Bitmap& out = bitmap(panel.pictureValue);
  EXPECT_EQ(size(panel.pictureValue), (std::vector<int>{100, 60}));
  for (int x : {0, 40, 80})
    EXPECT_EQ((Colors{out.pixel(x, 10), out.pixel(x, 50), out.pixel(x + 1, 50)}),
              (Colors{kBlue, kBlue, kRed}))
        << x;
}

TEST_F(PicturePlacement, TheFormPictureIsFittedCentredOrTiledUnlessTheGradientIsOn) {
  auto form = build(formText(""));  // client 4000 x 3000 twips
  Variant base = picture(raster::Bitmap(20, 10, kBlue));
  effects::ApplyFormPicture(ws, *form, base, true, effects::kFpFit, 4000, 3000);
  EXPECT_TRUE(form->get("Picture").isNothing());
  effects::ApplyFormPicture(ws, *form, base, false, effects::kFpFit, 4000, 3000);
  ASSERT_FALSE(form->get("Picture").isNothing());
  EXPECT_EQ(size(form->get("Picture")), (std::vector<int>{267, 200}));
  effects::ApplyFormPicture(ws, *form, base, false, effects::kFpTile, 4000, 3000);
  EXPECT_EQ(bitmap(form->get("Picture")).pixel(266, 199), kBlue);
  // A form too large for a 16-bit size is left as it was.
  Variant tiled = form->get("Picture");
  effects::ApplyFormPicture(ws, *form, base, false, effects::kFpFit, 40000, 3000);
  EXPECT_EQ(form->get("Picture").toObject(), tiled.toObject());
}

}  // namespace
