// Merges for good: merge down, layers into one another, shadows into pixels,
// everything into the background, flattening.
#include "DocumentTestSupport.h"
#include "document/MyImageLayered.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace DocTest;

namespace {

TRGB BkgPixel(int X, int Y) { return Rgb(30 + 19 * X % 200, 60 + 29 * Y % 180, (5 * X + 13 * Y) % 256); }
TRGB LayerPixel(int X, int Y) { return Rgb(240 - 21 * X % 230, 20 + 11 * (X + Y) % 230, 70 + 15 * Y % 180); }
int MaskByte(int X, int Y) {
  const int V = (X * 53 + Y * 29) % 6;
  return V == 0 ? 0 : V == 1 ? 255 : V * 40;
}

// Paint alpha of a layer pixel: opacity, then the pixel's own mask byte.
int PaintAlpha(int Opacity, int Mask) { return std::min(Opacity, 100) * 255 / 100 * (255 - Mask) / 255; }

class MergeTest : public ::testing::Test {
protected:
  static constexpr int W = 14, H = 10;
  MergeTest() {
    TBitmap Bkg;
    Fill(Bkg, W, H, BkgPixel);
    Image.AddBackground(&Bkg, nullptr, "#0");
  }
  TLayerItem& AddLayer(int LW, int LH, TPoint Pos, int Opacity, bool WithMask) {
    TBitmap Bmp, Mask;
    Fill(Bmp, LW, LH, LayerPixel);
    if (WithMask) Fill(Mask, LW, LH, [](int X, int Y) { return Grey(MaskByte(X, Y)); });
    const int I = Image.AddLayer(&Bmp, WithMask ? &Mask : nullptr, Pos, static_cast<TOpacityRange>(Opacity), "#1");
    return Image.Layers()[I];
  }
  TMyImageLayered Image;
};

} // namespace

TEST_F(MergeTest, MergeDownIntoAnOpaqueBackgroundPaintsLayerShadowAndMode) {
  TLayerItem& L = AddLayer(5, 4, {3, 2}, 80, true);
  L.BlendMode = 5;
  L.ShadowInfos.DrawShadow = true;
  L.ShadowInfos.Blur = 0;
  L.ShadowInfos.DX = -1;
  L.ShadowInfos.DY = 2;
  L.ShadowInfos.Opacity = 50;
  Image.MergeWithPrevious(false);
  ASSERT_EQ(Image.Layers().Count(), 1);
  EXPECT_EQ(Image.LayerIndex(), 0);
  TBitmap Expected;
  Fill(Expected, W, H, [](int X, int Y) {
    TRGB D = BkgPixel(X, Y);
    const bool In = X >= 3 && X < 8 && Y >= 2 && Y < 6;
    const int SX = X - 2, SY = Y - 4; // the mask moved by (-1, 2)
    if (SX >= 0 && SX < 5 && SY >= 0 && SY < 4 && MaskByte(SX, SY) != 255) {
      int Cover = 255 - MaskByte(SX, SY);
      if (In) Cover = Cover * MaskByte(X - 3, Y - 2) / 255;
      D = Weigh(D, Grey(0), 50 * 80 / 100 * Cover / 255, 100);
    }
    if (In) D = MaskOpacity(D, Difference(D, LayerPixel(X - 3, Y - 2)), MaskByte(X - 3, Y - 2), 80);
    return D;
  });
  EXPECT_IMAGES_MATCH(Image.Layers()[0].Bitmap(), Expected);
}

TEST_F(MergeTest, MergeDownRefusals) {
  Image.MergeWithPrevious(false); // the background
  EXPECT_EQ(Image.Layers().Count(), 1);
  Image.AddLayerColor(clRed, 50, false, "colour");
  AddLayer(3, 3, {1, 1}, 100, false);
  Image.MergeWithPrevious(false); // over a colour layer
  EXPECT_EQ(Image.Layers().Count(), 3);
  EXPECT_EQ(Image.LayerIndex(), 2);
  TAdjustLayerInfos Infos;
  Image.AddLayerAdjust(Infos, 50, "adjust");
  AddLayer(3, 3, {1, 1}, 100, false);
  Image.MergeWithPrevious(false); // over an adjustment layer
  EXPECT_EQ(Image.Layers().Count(), 5);
}

TEST_F(MergeTest, TwoApartLayersMergeIntoTheirUnion) {
  TBitmap A, B;
  Solid(A, 10, 10, Rgb(200, 10, 10));
  Solid(B, 10, 10, Rgb(10, 10, 200));
  Image.AddLayer(&A, nullptr, {0, 0}, 60, "inf");
  Image.AddLayer(&B, nullptr, {20, 20}, 100, "sup");
  TLayerItem& Inf = Image.Layers()[1];
  TLayerItem& Sup = Image.Layers()[2];
  Inf.BlendMode = 3;
  Image.MergeLayers(Sup, Inf, false, false);
  EXPECT_EQ(Inf.BoundsRect(), TRect(0, 0, 30, 30));
  EXPECT_EQ(Inf.Opacity, 100);
  EXPECT_EQ(Inf.BlendMode, 3); // properties stay
  EXPECT_EQ(Px(Inf.Mask(), 15, 15), Grey(255));
  EXPECT_EQ(Px(Inf.Mask(), 5, 5), Grey(255 - 60 * 255 / 100));
  EXPECT_EQ(Px(Inf.Bitmap(), 5, 5), Rgb(200, 10, 10));
  EXPECT_EQ(Px(Inf.Mask(), 25, 25), Grey(0));
  EXPECT_EQ(Px(Inf.Bitmap(), 25, 25), Rgb(10, 10, 200));
  EXPECT_EQ(Sup.BoundsRect(), TRect(20, 20, 30, 30)); // the upper layer is left as it was
  EXPECT_EQ(Image.Layers().Count(), 3);
}

TEST_F(MergeTest, OverlappingLayersMergeByTheOverRule) {
  TLayerItem& Inf = AddLayer(6, 5, {1, 1}, 70, true);
  TLayerItem& Sup = AddLayer(5, 4, {4, 3}, 90, true);
  Sup.BlendMode = 6;
  Image.MergeWithPrevious(false);
  ASSERT_EQ(Image.Layers().Count(), 2);
  EXPECT_EQ(&Image.Layers()[1], &Inf);
  ASSERT_EQ(Inf.BoundsRect(), TRect(1, 1, 9, 7));
  for (int Y = 1; Y < 7; ++Y)
    for (int X = 1; X < 9; ++X) {
      TRGB D = Grey(255);
      int M = 255;
      if (X < 7 && Y < 6) Over(D, M, LayerPixel(X - 1, Y - 1), PaintAlpha(70, MaskByte(X - 1, Y - 1)));
      if (X >= 4 && Y >= 3) {
        const TRGB S = LayerPixel(X - 4, Y - 3);
        // A fully transparent pixel takes the paint itself, others the blend.
        Over(D, M, M == 255 ? S : Product(D, S), PaintAlpha(90, MaskByte(X - 4, Y - 3)));
      }
      EXPECT_EQ(Px(Inf.Bitmap(), X - 1, Y - 1), D) << X << ", " << Y;
      EXPECT_EQ(Px(Inf.Mask(), X - 1, Y - 1), Grey(M)) << X << ", " << Y;
    }
}

TEST_F(MergeTest, AnAdjustmentLayerAdjustsTheWholeLowerLayer) {
  TLayerItem& Inf = AddLayer(4, 3, {2, 2}, 100, true);
  TBitmap MaskBefore;
  MaskBefore.Assign(Inf.Mask());
  TAdjustLayerInfos Infos;
  Infos.Luminosity = -60;
  Image.AddLayerAdjust(Infos, 50, "adjust");
  Image.MergeLayers(Image.Layers()[2], Inf, false, false);
  TBitmap Expected;
  Fill(Expected, 4, 3, [](int X, int Y) {
    const TRGB P = LayerPixel(X, Y);
    return PerChannel(P, P, [](int V, int) { return Brightness(V, -30); });
  });
  EXPECT_IMAGES_MATCH(Inf.Bitmap(), Expected);
  EXPECT_IMAGES_MATCH(Inf.Mask(), MaskBefore);
}

TEST_F(MergeTest, MergeShadowGrowsTheLayerToHoldItsShadow) {
  TBitmap Bmp, Mask;
  Solid(Bmp, 100, 50, Rgb(0, 200, 0));
  Solid(Mask, 100, 50, Grey(0));
  const int I = Image.AddLayer(&Bmp, &Mask, {10, 10}, 60, "shadowed");
  TLayerItem& L = Image.Layers()[I];
  L.ShadowInfos.DrawShadow = true; // blur 7, offset (7, 7), opacity 80, black
  Image.MergeShadow(L);
  EXPECT_FALSE(L.ShadowInfos.DrawShadow);
  EXPECT_EQ(L.BoundsRect(), TRect(10, 10, 124, 74));
  EXPECT_EQ(L.Opacity, 60);
  ASSERT_EQ(L.Mask().Width(), 114);
  // The layer's own pixels lie over the shadow at full strength.
  EXPECT_EQ(Px(L.Bitmap(), 50, 20), Rgb(0, 200, 0));
  EXPECT_EQ(Px(L.Mask(), 50, 20), Grey(0));
  // Beyond the layer the shadow is black, at most as covering as the
  // shadow's opacity and fading (blurred) towards its outer edge.
  EXPECT_EQ(Px(L.Bitmap(), 101, 30), Grey(0));
  const int Near = Px(L.Mask(), 101, 30).Blue, Far = Px(L.Mask(), 106, 30).Blue;
  EXPECT_GE(Near, 255 - 80 * 255 / 100);
  EXPECT_LT(Near, Far);
  EXPECT_LT(Far, 255);
  // Far corner outside the shadow: transparent.
  EXPECT_EQ(Px(L.Mask(), 113, 1), Grey(255));

  // A second call does nothing; nor does it for another type.
  const TRect B = L.BoundsRect();
  Image.MergeShadow(L);
  EXPECT_EQ(L.BoundsRect(), B);
}

TEST_F(MergeTest, MergeShadowOfALayerWithoutMaskOnlyGrows) {
  TLayerItem& L = AddLayer(4, 4, {5, 5}, 100, false);
  L.ShadowInfos.DrawShadow = true;
  L.ShadowInfos.Blur = 2;
  L.ShadowInfos.DX = 1;
  L.ShadowInfos.DY = 1;
  Image.MergeShadow(L);
  EXPECT_EQ(L.BoundsRect(), TRect(4, 4, 12, 12));
  EXPECT_EQ(Px(L.Mask(), 0, 0), Grey(255));
  EXPECT_EQ(Px(L.Mask(), 6, 6), Grey(255));
  EXPECT_EQ(Px(L.Bitmap(), 1, 1), LayerPixel(0, 0));
}

TEST_F(MergeTest, MergeAllKeepsOrDropsHiddenLayers) {
  for (bool VisibleOnly : {true, false}) {
    TMyImageLayered I;
    TBitmap Bkg;
    Fill(Bkg, W, H, BkgPixel);
    I.AddBackground(&Bkg, nullptr, "#0");
    TBitmap A;
    Solid(A, 2, 2, Grey(10));
    I.AddLayer(&A, nullptr, {0, 0}, 100, "shown");
    I.AddLayer(&A, nullptr, {4, 4}, 100, "hidden");
    I.Layers()[2].Visible = false;
    I.AddLayer(&A, nullptr, {8, 8}, 50, "shown too");
    I.MergeLayersWithBkg(VisibleOnly);
    ASSERT_EQ(I.Layers().Count(), VisibleOnly ? 2 : 1);
    if (VisibleOnly) {
      EXPECT_EQ(I.Layers()[1].Caption, "hidden");
    }
    EXPECT_EQ(I.LayerIndex(), 0);
    const TBitmap& B = I.Layers()[0].Bitmap();
    EXPECT_EQ(Px(B, 1, 1), Grey(10));
    EXPECT_EQ(Px(B, 4, 4), BkgPixel(4, 4));
    EXPECT_EQ(Px(B, 9, 9), Weigh(BkgPixel(9, 9), Grey(10), 50, 100));
  }
}

TEST_F(MergeTest, MergeAllOverAHiddenBackgroundKeepsItTransparent) {
  Image.Layers()[0].Visible = false;
  TLayerItem& L = AddLayer(3, 2, {2, 3}, 100, true);
  (void)L;
  Image.MergeLayersWithBkg(false);
  ASSERT_EQ(Image.Layers().Count(), 1);
  const TLayerItem& Bkg = Image.Layers()[0];
  EXPECT_TRUE(Bkg.Visible);
  ASSERT_FALSE(Bkg.Mask().Empty());
  EXPECT_EQ(Px(Bkg.Mask(), 0, 0), Grey(255));
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) {
      TRGB D = BkgPixel(X + 2, Y + 3);
      int M = 255;
      Over(D, M, LayerPixel(X, Y), PaintAlpha(100, MaskByte(X, Y)));
      EXPECT_EQ(Px(Bkg.Mask(), X + 2, Y + 3), Grey(M));
      if (M != 255) {
        EXPECT_EQ(Px(Bkg.Bitmap(), X + 2, Y + 3), D);
      }
    }
}

TEST_F(MergeTest, MergeAllIntoAMaskedBackgroundUsesTheOverRule) {
  TLayerItem& Bkg = Image.Layers()[0];
  Fill(Bkg.Mask(), W, H, [](int X, int Y) { return Grey(MaskByte(Y, X)); });
  AddLayer(4, 4, {5, 3}, 70, true);
  Image.AddLayerColor(RGB(0, 0, 255), 25, false, "blue");
  Image.MergeLayersWithBkg(true);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      TRGB D = BkgPixel(X, Y);
      int M = MaskByte(Y, X);
      if (X >= 5 && X < 9 && Y >= 3 && Y < 7)
        Over(D, M, LayerPixel(X - 5, Y - 3), PaintAlpha(70, MaskByte(X - 5, Y - 3)));
      Over(D, M, Rgb(0, 0, 255), 25 * 255 / 100);
      EXPECT_EQ(Px(Bkg.Mask(), X, Y), Grey(M)) << X << ", " << Y;
      EXPECT_EQ(Px(Bkg.Bitmap(), X, Y), D) << X << ", " << Y;
    }
}

TEST_F(MergeTest, FlattenLeavesOneLayerThatLooksTheSame) {
  TLayerItem& Bkg = Image.Layers()[0];
  Fill(Bkg.Mask(), W, H, [](int X, int Y) { return Grey(MaskByte(X, Y)); });
  Bkg.Opacity = 70;
  Bkg.BlendMode = 4;
  Image.BackColor = RGB(10, 20, 30);
  AddLayer(4, 3, {2, 2}, 60, true);
  Image.MergeLayersForPreview(false);
  TBitmap Before;
  Before.Assign(Image.Bitmap());
  Image.FlattenImage();
  ASSERT_EQ(Image.Layers().Count(), 1);
  EXPECT_TRUE(Image.Layers()[0].Mask().Empty());
  EXPECT_EQ(Image.LayerIndex(), 0);
  EXPECT_IMAGES_MATCH(Image.Layers()[0].Bitmap(), Before);
  // Where the background was fully transparent the back colour shows.
  ASSERT_EQ(MaskByte(5, 0), 255);
  EXPECT_EQ(Px(Image.Layers()[0].Bitmap(), 5, 0), Rgb(10, 20, 30));
  // Composited again, the flattened image shows exactly as before.
  Solid(Image.Bitmap(), W, H, Grey(0));
  Image.MergeLayersForPreview(false);
  EXPECT_IMAGES_MATCH(Image.Bitmap(), Before);
}

TEST_F(MergeTest, FlattenOfAPlainBackgroundDoesNothing) {
  Image.Layers()[0].Opacity = 40;
  Image.FlattenImage();
  EXPECT_EQ(Image.Layers()[0].Opacity, 40);
  EXPECT_EQ(Px(Image.Layers()[0].Bitmap(), 3, 3), BkgPixel(3, 3));
}

TEST_F(MergeTest, ATransformedLayerMergesWhereItIsSeen) {
  TLayerItem& Inf = AddLayer(3, 3, {0, 0}, 100, false);
  TLayerItem& Sup = AddLayer(2, 2, {0, 0}, 100, false);
  auto T = std::make_unique<TAffineTransformation>();
  T->SetSrcRect({0, 0, 2, 2});
  T->Translate(6, 5);
  Sup.SetTransformation(std::move(T));
  Image.MergeWithPrevious(false);
  ASSERT_EQ(Image.Layers().Count(), 2);
  ASSERT_EQ(Inf.BoundsRect(), TRect(0, 0, 8, 7));
  EXPECT_EQ(Px(Inf.Bitmap(), 6, 5), LayerPixel(0, 0));
  EXPECT_EQ(Px(Inf.Bitmap(), 7, 6), LayerPixel(1, 1));
  EXPECT_EQ(Px(Inf.Bitmap(), 1, 1), LayerPixel(1, 1));
  EXPECT_EQ(Px(Inf.Mask(), 4, 4), Grey(255));

  // Into a masked background the same holds.
  Solid(Image.Layers()[0].Mask(), W, H, Grey(255));
  auto T2 = std::make_unique<TAffineTransformation>();
  T2->SetSrcRect({0, 0, 8, 7});
  T2->Translate(3, 2);
  Inf.SetTransformation(std::move(T2));
  Image.MergeWithPrevious(false);
  const TLayerItem& Bkg = Image.Layers()[0];
  EXPECT_EQ(Px(Bkg.Mask(), 3, 2), Grey(0));
  EXPECT_EQ(Px(Bkg.Bitmap(), 3 + 6, 2 + 5), LayerPixel(0, 0));
  EXPECT_EQ(Px(Bkg.Mask(), 0, 0), Grey(255));
}

TEST_F(MergeTest, AMergedTargetLosesItsPendingTransformation) {
  TLayerItem& Inf = AddLayer(2, 2, {0, 0}, 100, false);
  auto T = std::make_unique<TAffineTransformation>();
  T->SetSrcRect({0, 0, 2, 2});
  T->Translate(4, 4);
  Inf.SetTransformation(std::move(T));
  AddLayer(2, 2, {0, 0}, 100, false);
  Image.MergeWithPrevious(false);
  EXPECT_EQ(Inf.Transformation(), nullptr);
  ASSERT_EQ(Inf.BoundsRect(), TRect(0, 0, 6, 6));
  EXPECT_EQ(Px(Inf.Bitmap(), 4, 4), LayerPixel(0, 0));
}
