// The retouch of one round area: the blend through the mask profiles, the
// filtered copy taken from the untouched layer, and an area that crosses the
// layer's edge.
#include "tools/RetouchArea.h"

#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

namespace {

constexpr int Normal = 0, Product = 6;

void Fill(TBitmap& B, TRGB C) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) SetPx(B, X, Y, C);
}

// The grey level of the filter "Niveaux de gris": trunc(0.11 B + 0.59 G + 0.3 R).
int Luminance(TRGB P) { return int(0.11 * P.Blue + 0.59 * P.Green + 0.3 * P.Red); }

} // namespace

// Without a filter, "Produit" multiplies the area with itself: fully within
// 60 % of the radius, not at all beyond the radius.
TEST(RetouchArea, NoFilterWithProductMultipliesTheAreaThroughTheMask) {
  TBitmap Layer(61, 61, pf24bit);
  Fill(Layer, Grey(200));
  TBitmap Source;
  Source.Assign(Layer);
  RetouchArea24(Layer, Source, {30, 30}, 20, rfNone, Product, 100, true);
  EXPECT_EQ(Px(Layer, 30, 30), Grey(200 * 200 / 255));
  EXPECT_EQ(Px(Layer, 30 + 11, 30), Grey(200 * 200 / 255)); // within 60 %
  EXPECT_EQ(Px(Layer, 30 + 21, 30), Grey(200));            // outside the circle
  EXPECT_EQ(Px(Layer, 11, 11), Grey(200));                 // corner of the square
  const int Fading = Px(Layer, 30 + 16, 30).Red;
  EXPECT_GT(Fading, 200 * 200 / 255);
  EXPECT_LT(Fading, 200);
}

// The copy comes from the untouched pixels, not from what the layer holds
// now, and half the opacity goes half way.
TEST(RetouchArea, TheCopyComesFromTheUntouchedLayerAtTheOpacity) {
  TBitmap Source(41, 41, pf24bit), Layer(41, 41, pf24bit);
  Fill(Source, Grey(200));
  Fill(Layer, Grey(10));
  RetouchArea24(Layer, Source, {20, 20}, 15, rfNone, Normal, 50, true);
  EXPECT_NEAR(Px(Layer, 20, 20).Red, (200 + 10) / 2, 1);
  EXPECT_EQ(Px(Layer, 20 + 16, 20), Grey(10));
}

// The linear profile weakens from the centre on; the "Maximum" profile keeps
// the full effect further out.
TEST(RetouchArea, TheLinearProfileFallsOffFromTheCentre) {
  TBitmap Source(61, 61, pf24bit);
  Fill(Source, Rgb(255, 0, 0));
  TBitmap Linear, Max;
  Linear.Assign(Source);
  Max.Assign(Source);
  RetouchArea24(Linear, Source, {30, 30}, 20, rfGrayscale, Normal, 100, false);
  RetouchArea24(Max, Source, {30, 30}, 20, rfGrayscale, Normal, 100, true);
  const TRGB Grey76 = Grey(Luminance(Rgb(255, 0, 0)));
  EXPECT_EQ(Px(Linear, 30, 30), Grey76);
  EXPECT_EQ(Px(Max, 30 + 10, 30), Grey76);
  const TRGB Half = Px(Linear, 30 + 10, 30);
  EXPECT_GT(Half.Red, Grey76.Red);
  EXPECT_LT(Half.Red, 255);
  EXPECT_GT(Half.Red, Px(Linear, 30 + 5, 30).Red);
}

// An area that crosses the layer's top-left corner changes only what lies
// inside the layer, each pixel from itself.
TEST(RetouchArea, AnAreaCrossingTheEdgeChangesOnlyThePartInside) {
  TBitmap Source(40, 30, pf24bit);
  FillRandom(Source, 7);
  TBitmap Layer;
  Layer.Assign(Source);
  RetouchArea24(Layer, Source, {2, 3}, 20, rfGrayscale, Normal, 100, true);
  for (const TPoint P : {TPoint{2, 3}, TPoint{0, 0}, TPoint{9, 3}, TPoint{2, 12}})
    EXPECT_EQ(Px(Layer, P.X, P.Y), Grey(Luminance(Px(Source, P.X, P.Y)))) << P.X << "," << P.Y;
  EXPECT_EQ(Px(Layer, 30, 25), Px(Source, 30, 25));
  EXPECT_EQ(Px(Layer, 23, 3), Px(Source, 23, 3));
}

TEST(RetouchArea, TheAreaIsTheSquareAroundTheCentre) {
  EXPECT_EQ(RetouchAreaRect({100, 50}, 20), (TRect{80, 30, 121, 71}));
}
