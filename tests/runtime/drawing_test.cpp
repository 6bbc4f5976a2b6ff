#include <gtest/gtest.h>

#include "runtime/raster/raster.h"
#include "test_support.h"

using host::Variant;
using namespace testing_support;

namespace {

class DrawingTest : public RuntimeTest {};

constexpr std::int32_t kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

TEST_F(DrawingTest, PersistentDrawingIsReadBackPixelByPixelInScaleUnits) {
  auto form = build(formText("", "   ScaleMode = 3  'Pixel\n"));
  form->set("BackColor", kWhite);
  form->set("AutoRedraw", true);
  form->call("Line",
             {Variant(10), Variant(10), Variant(19), Variant(14), Variant(kRed), Variant("BF")});
  EXPECT_EQ(form->call("Point", {Variant(10), Variant(10)}).toLong(), kRed);
  EXPECT_EQ(form->call("Point", {Variant(19), Variant(14)}).toLong(), kRed);
  EXPECT_EQ(form->call("Point", {Variant(20), Variant(14)}).toLong(), kWhite);
  EXPECT_EQ(form->get("CurrentX").toDouble(), 19);
  // In twips the same call lands fifteen times further in.
  form->set("ScaleMode", 1);
  form->set("DrawWidth", 3);
  form->call("Circle", {Variant(600), Variant(600), Variant(150), Variant(kBlue)});
  EXPECT_EQ(form->call("Point", {Variant(600 + 150), Variant(600)}).toLong(), kBlue);
  EXPECT_EQ(form->call("Point", {Variant(600), Variant(600)}).toLong(), kWhite);
  // The persistent image holds it all, and survives a resize.
  auto image = form->get("Image").toObject();
  EXPECT_EQ(runtime::bitmapOf(Variant(image))->pixel(12, 12), static_cast<raster::Color>(kRed));
  form->set("Width", 8000);
  form->set("ScaleMode", 3);
  EXPECT_EQ(form->call("Point", {Variant(12), Variant(12)}).toLong(), kRed);
  EXPECT_EQ(form->call("Point", {Variant(500), Variant(12)}).toLong(), kWhite);  // grown area
}

TEST_F(DrawingTest, ClsClearsPersistentDrawingOnlyWithAutoRedrawAndBackColorErases) {
  auto form = build(formText("", "   ScaleMode = 3  'Pixel\n"));
  form->set("BackColor", kWhite);
  form->set("AutoRedraw", true);
  form->call("Line",
             {Variant(0), Variant(0), Variant(4), Variant(4), Variant(kRed), Variant("BF")});
  form->set("AutoRedraw", false);
  form->call("Line",
             {Variant(10), Variant(0), Variant(14), Variant(4), Variant(kBlue), Variant("BF")});
  EXPECT_EQ(form->call("Point", {Variant(12), Variant(2)}).toLong(), kBlue);
  form->call("Cls");  // the transient drawing goes, the persistent one stays
  EXPECT_EQ(form->call("Point", {Variant(12), Variant(2)}).toLong(), kWhite);
  EXPECT_EQ(form->call("Point", {Variant(2), Variant(2)}).toLong(), kRed);
  form->set("AutoRedraw", true);
  form->call("Cls");
  EXPECT_EQ(form->call("Point", {Variant(2), Variant(2)}).toLong(), kWhite);
  form->call("Line",
             {Variant(0), Variant(0), Variant(4), Variant(4), Variant(kRed), Variant("BF")});
  form->set("BackColor", kBlue);
  EXPECT_EQ(form->call("Point", {Variant(2), Variant(2)}).toLong(), kBlue);
}

TEST_F(DrawingTest, PicturesStretchOntoWorkSurfacesAndAutoSizeFollowsThePicture) {
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

}  // namespace
