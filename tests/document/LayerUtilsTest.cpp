// The layer merge helpers: transparent colours, colour and adjustment
// layers, and the drop-shadow building blocks, against the formulas.
#include "document/LayerUtils.h"
#include "DocumentTestSupport.h"
#include "document/CnvUtils.h"
#include "raster/RandomGen.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace DocTest;

namespace {

// A source whose transparent colour (fixed, green) appears in column 1.
void KeyedSource(TBitmap& Src) {
  Fill(Src, 3, 2, [](int X, int) { return X == 1 ? Rgb(0, 255, 0) : Rgb(200, 100, 0); });
  Src.Transparent = true;
  Src.SetTransparentColor(RGB(0, 255, 0));
}

int GammaOf(int V, double G) {
  const double X = 255 * std::pow(V / 255.0, 1 / G);
  return X <= 0 ? 0 : X >= 255 ? 255 : static_cast<int>(X);
}

} // namespace

TEST(LayerUtilsTest, PutBitmapOpacitySkipsTheTransparentColourUnlessMasked) {
  TBitmap Src, Dst;
  KeyedSource(Src);
  Solid(Dst, 3, 2, Grey(0));
  PutBitmapOpacity(Src, Dst, 0, 0, WholeBitmapRect, 50, nullptr);
  EXPECT_EQ(Px(Dst, 0, 0), Rgb(100, 50, 0));
  EXPECT_EQ(Px(Dst, 1, 1), Grey(0)); // the key colour is skipped
  // With a mask the key colour is drawn like any other.
  TBitmap Mask;
  Solid(Mask, 3, 2, Grey(0));
  Solid(Dst, 3, 2, Grey(0));
  PutBitmapOpacity(Src, Dst, 0, 0, WholeBitmapRect, 100, &Mask);
  EXPECT_EQ(Px(Dst, 1, 0), Rgb(0, 255, 0));
}

TEST(LayerUtilsTest, PutBitmapStretchOpacityKeepsTheKeyAndTheOpacity) {
  TBitmap Src, Dst;
  KeyedSource(Src);
  Solid(Dst, 6, 4, Grey(100));
  PutBitmapStretchOpacity(Src, Dst, {0, 0, 6, 4}, WholeBitmapRect, 40, nullptr);
  // Source column 0 covers destination columns 0 and 1; column 1 (the key)
  // columns 2 and 3.
  const TRGB Drawn = Weigh(Grey(100), Rgb(200, 100, 0), 40, 100);
  EXPECT_EQ(Px(Dst, 1, 3), Drawn);
  EXPECT_EQ(Px(Dst, 2, 0), Grey(100));
  EXPECT_EQ(Px(Dst, 3, 3), Grey(100));
  EXPECT_EQ(Px(Dst, 5, 2), Drawn);
}

TEST(LayerUtilsTest, PutBitmapBlendUsesTheModeOrThePlainCopy) {
  TBitmap Src, Dst, Mask;
  Fill(Src, 4, 1, [](int X, int) { return Grey(40 * X + 20); });
  Fill(Mask, 4, 1, [](int X, int) { return Grey(X * 80); });
  for (int Mode : {0, 5, 6}) {
    Solid(Dst, 6, 1, Rgb(180, 90, 30));
    PutBitmapBlend(Src, Dst, 1, 0, WholeBitmapRect, 70, &Mask, Mode);
    EXPECT_EQ(Px(Dst, 0, 0), Rgb(180, 90, 30));
    for (int X = 0; X < 4; ++X) {
      const TRGB A = Rgb(180, 90, 30), B = Grey(40 * X + 20);
      const TRGB R = Mode == 5 ? Difference(A, B) : Mode == 6 ? Product(A, B) : B;
      EXPECT_EQ(Px(Dst, X + 1, 0), MaskOpacity(A, R, X * 80, 70)) << "mode " << Mode << " x " << X;
    }
  }
}

TEST(LayerUtilsTest, FillColorOpacityInvertedPushesAway) {
  TBitmap Dst;
  Solid(Dst, 2, 2, Grey(128));
  FillColorOpacity(Dst, clWhite, 50, true, WholeBitmapRect);
  EXPECT_EQ(Px(Dst, 1, 1), Grey(128 - 127 * 50 / 100));
  Solid(Dst, 2, 2, Grey(128));
  FillColorOpacity(Dst, clWhite, 50, false, {0, 0, 1, 2});
  EXPECT_EQ(Px(Dst, 0, 1), Grey(128 + 127 * 50 / 100));
  EXPECT_EQ(Px(Dst, 1, 1), Grey(128));
}

TEST(LayerUtilsTest, FillColorBlendAndRGBA) {
  TBitmap Dst, Mask;
  Solid(Dst, 2, 1, Rgb(200, 100, 50));
  FillColorBlend(Dst, RGB(128, 128, 128), 100, false, WholeBitmapRect, 6);
  EXPECT_EQ(Px(Dst, 0, 0), Product(Rgb(200, 100, 50), Grey(128)));
  // Into a transparent target the colour comes in at the opacity.
  Solid(Dst, 2, 1, Grey(0));
  Solid(Mask, 2, 1, Grey(255));
  FillColorRGBA(RGB(10, 20, 30), 0, Dst, &Mask, false, WholeBitmapRect, 40);
  EXPECT_EQ(Px(Dst, 1, 0), Rgb(10, 20, 30));
  EXPECT_EQ(Px(Mask, 1, 0), Grey(255 - 40 * 255 / 100));
}

TEST(LayerUtilsTest, ApplyAdjustInfosScalesEachStepByTheOpacity) {
  TBitmap Dst, Expected;
  Fill(Dst, 16, 16, [](int X, int Y) { return Grey(X + 16 * Y); });
  TAdjustLayerInfos Infos;
  Infos.Luminosity = 50;
  Infos.Gamma = 2.0;
  ApplyAdjustInfos(Dst, Infos, 50, WholeBitmapRect);
  // Brightness 25, then gamma 1.5.
  Fill(Expected, 16, 16, [](int X, int Y) { return Grey(GammaOf(Brightness(X + 16 * Y, 25), 1.5)); });
  EXPECT_IMAGES_MATCH(Dst, Expected);

  // Opacity 1: 50 * 1 div 100 = 0, nothing changes.
  TAdjustLayerInfos Lum;
  Lum.Luminosity = 50;
  Fill(Dst, 16, 16, [](int X, int Y) { return Grey(X + 16 * Y); });
  Fill(Expected, 16, 16, [](int X, int Y) { return Grey(X + 16 * Y); });
  ApplyAdjustInfos(Dst, Lum, 1, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Dst, Expected);
}

TEST(LayerUtilsTest, ApplyAdjustInfosLimitsStoredValues) {
  TBitmap Dst, Expected;
  Fill(Expected, 16, 16, [](int X, int Y) { return Grey(X + 16 * Y); });
  // A gamma that is no usable factor leaves the gamma step out.
  for (double Gamma : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    TAdjustLayerInfos Infos;
    Infos.Gamma = Gamma;
    Dst.Assign(Expected);
    ApplyAdjustInfos(Dst, Infos, 100, WholeBitmapRect);
    EXPECT_IMAGES_MATCH(Dst, Expected) << Gamma;
  }
  // An opacity beyond 100 counts as 100: brightness 30, not 75.
  TAdjustLayerInfos Lum;
  Lum.Luminosity = 30;
  Dst.Assign(Expected);
  ApplyAdjustInfos(Dst, Lum, 250, WholeBitmapRect);
  Fill(Expected, 16, 16, [](int X, int Y) { return Grey(Brightness(X + 16 * Y, 30)); });
  EXPECT_IMAGES_MATCH(Dst, Expected);
}

TEST(LayerUtilsTest, ShadowRectOfTheDocumentedShadow) {
  TLayerShadowInfos SI;
  EXPECT_EQ(ShadowRect(Bounds(10, 10, 100, 50), SI), TRect(10, 10, 124, 74));
  SI.Blur = 4000000000u; // limited to MaxShadowBlur
  SI.DX = 0;
  SI.DY = 0;
  EXPECT_EQ(ShadowRect({0, 0, 10, 10}, SI), TRect(-100, -100, 110, 110));
}

TEST(LayerUtilsTest, BlurShadowMaskRadiusOneAveragesTheBlockBelowRight) {
  TBitmap Mask, Expected;
  const auto V = [](int X, int Y) { return (X * 37 + Y * 91) % 256; };
  Fill(Mask, 5, 4, [&](int X, int Y) { return Grey(V(X, Y)); });
  BlurShadowMask(Mask, 0, WholeBitmapRect);
  Fill(Expected, 5, 4, [&](int X, int Y) { return Grey(V(X, Y)); });
  EXPECT_IMAGES_MATCH(Mask, Expected);
  BlurShadowMask(Mask, 1, WholeBitmapRect);
  Fill(Expected, 5, 4, [&](int X, int Y) {
    const int X1 = std::min(X + 1, 4), Y1 = std::min(Y + 1, 3);
    return Grey((V(X, Y) + V(X1, Y) + V(X, Y1) + V(X1, Y1)) / 4);
  });
  EXPECT_IMAGES_MATCH(Mask, Expected);
}

TEST(LayerUtilsTest, DiffuseShadowMaskLeavesEmptyPixels) {
  const TFixedRandomize Fixed(7);
  TBitmap Mask;
  Fill(Mask, 20, 20, [](int X, int) { return Grey(X < 10 ? 255 : 100); });
  DiffuseShadowMask(Mask, 133, WholeBitmapRect);
  bool Changed = false;
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) {
      const TRGB P = Px(Mask, X, Y);
      ASSERT_TRUE(P.Blue == P.Green && P.Green == P.Red);
      if (X < 10) {
        EXPECT_EQ(P.Blue, 255);
      } else {
        EXPECT_GE(P.Blue, 100 - 66);
        EXPECT_LE(P.Blue, 100 + 66);
        Changed |= P.Blue != 100;
      }
    }
  EXPECT_TRUE(Changed);
}

TEST(LayerUtilsTest, MakeShadowMaskIsTheMovedMaskClearedUnderTheLayer) {
  TLayerShadowInfos SI;
  SI.Blur = 0;
  SI.DX = 2;
  SI.DY = 1;
  TBitmap Layer, Shadow;
  Fill(Layer, 4, 3, [](int X, int) { return Grey(X == 3 ? 255 : 0); });
  MakeShadowMask(Layer, Shadow, 4, 3, SI);
  ASSERT_EQ(Shadow.Width(), 4);
  // Shadow-mask (x, y) is layer mask (x, y) unless the layer, at (-2, -1),
  // lies there opaque.
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X) {
      int Expected = Px(Layer, X, Y).Blue;
      const int LX = X + 2, LY = Y + 1;
      if (LX < 4 && LY < 3 && Px(Layer, LX, LY).Blue == 0) Expected = 255;
      EXPECT_EQ(Px(Shadow, X, Y).Blue, Expected) << X << ", " << Y;
    }

  // With a blur the mask grows by it on every side; no layer mask: no shadow.
  SI.Blur = 3;
  TBitmap None;
  MakeShadowMask(None, Shadow, 4, 3, SI);
  TBitmap White;
  Solid(White, 10, 9, Grey(255));
  EXPECT_IMAGES_MATCH(Shadow, White);
}

TEST(LayerUtilsTest, PaintShadowScaledSparesWhatTheLayerCovers) {
  TBitmap LayerMask, ShadowMask, Dst;
  Fill(LayerMask, 4, 4, [](int X, int) { return Grey(X < 2 ? 0 : 128); });
  Solid(ShadowMask, 6, 6, Grey(0));
  Solid(Dst, 8, 8, Grey(200));
  PaintShadowScaled(LayerMask, ShadowMask, Dst, {0, 0, 4, 4}, {1, 1, 7, 7}, WholeBitmapRect, clBlack, 80);
  EXPECT_EQ(Px(Dst, 0, 0), Grey(200)); // outside the shadow
  EXPECT_EQ(Px(Dst, 1, 1), Grey(200)); // under an opaque layer pixel
  // Half-transparent layer pixel: coverage 255 * 128 div 255.
  EXPECT_EQ(Px(Dst, 3, 3), Weigh(Grey(200), Grey(0), 80 * 128 / 255, 100));
  EXPECT_EQ(Px(Dst, 5, 5), Weigh(Grey(200), Grey(0), 80, 100));
  EXPECT_EQ(Px(Dst, 7, 7), Grey(200));
}

TEST(LayerUtilsTest, DrawLayerShadowWithoutMaskDrawsNothing) {
  TBitmap None, Dst, Before;
  Solid(Dst, 20, 20, Grey(90));
  Before.Assign(Dst);
  TLayerShadowInfos SI;
  DrawLayerShadow(None, Dst, {2, 2, 8, 8}, {2, 2, 8, 8}, ShadowRect({2, 2, 8, 8}, SI), ShadowRect({2, 2, 8, 8}, SI),
                  WholeBitmapRect, WholeBitmapRect, 100, SI);
  EXPECT_IMAGES_MATCH(Dst, Before);
}

TEST(LayerUtilsTest, DrawLayerShadowAtHalfZoomKeepsRadiusOneAndHalvesTheOffset) {
  // A 20 x 20 opaque layer at (0, 0) with an offset of 7 and blur 1, drawn
  // into a destination showing the image at 0.5.
  TBitmap LayerMask, Dst;
  Solid(LayerMask, 20, 20, Grey(0));
  Solid(Dst, 40, 40, Grey(255));
  TLayerShadowInfos SI;
  SI.Blur = 1;
  SI.DX = 7;
  SI.DY = 7;
  SI.Opacity = 100;
  const TRect LRs{0, 0, 20, 20}, LRd{0, 0, 10, 10};
  const TRect SRs = ShadowRect(LRs, SI); // (6, 6, 28, 28)
  const TRect SRd{3, 3, 14, 14};
  DrawLayerShadow(LayerMask, Dst, LRs, LRd, SRs, SRd, {0, 0, 80, 80}, {0, 0, 40, 40}, 100, SI);
  // Scaled: offset 3, blur 1; the reduced layer (10 x 10) moved by 3 covers
  // (3, 3)..(12, 12), blurred over its 2 x 2 blocks. Beyond the layer the
  // shadow is full, under it nothing.
  EXPECT_EQ(Px(Dst, 9, 9), Grey(255));
  EXPECT_EQ(Px(Dst, 11, 11), Grey(0));
  EXPECT_EQ(Px(Dst, 12, 5), Grey(0));
  EXPECT_EQ(Px(Dst, 14, 5), Grey(255));
  // The blurred edge: column 12 + 1 averages one shadow and one empty column.
  EXPECT_EQ(Px(Dst, 13, 6), Weigh(Grey(255), Grey(0), 100 * (255 - 127) / 255, 100));
}

TEST(CnvUtilsTest, ClipCanvasNarrowsAndSetCanvasClipReplaces) {
  TBitmap B(20, 10);
  ClipCanvas(B.Canvas(), {5, 2, 30, 8});
  EXPECT_EQ(B.Canvas().ClipRect(), TRect(5, 2, 20, 8));
  ClipCanvas(B.Canvas(), {0, 0, 10, 5});
  EXPECT_EQ(B.Canvas().ClipRect(), TRect(5, 2, 10, 5));
  SetCanvasClip(B.Canvas(), {1, 1, 3, 3});
  EXPECT_EQ(B.Canvas().ClipRect(), TRect(1, 1, 3, 3));
}
