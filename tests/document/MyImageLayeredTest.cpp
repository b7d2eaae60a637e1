// The layered image model: building the stack, the background hook,
// coordinates, and composites of mixed stacks against the formulas.
#include "document/MyImageLayered.h"
#include "DocumentTestSupport.h"
#include "support/ImageCompare.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace DocTest;

namespace {

// Background pixel (x, y) of the test images.
TRGB BkgPixel(int X, int Y) { return Rgb(20 + 23 * X % 230, 40 + 31 * Y % 200, (7 * X + 11 * Y) % 256); }
TRGB LayerPixel(int X, int Y) { return Rgb(250 - 17 * X % 240, 30 + 13 * (X + Y) % 220, 90 + 9 * Y % 160); }
int MaskByte(int X, int Y) {
  const int V = (X * 61 + Y * 37) % 7;
  return V == 0 ? 0 : V == 1 ? 255 : V * 36;
}

class ImageTest : public ::testing::Test {
protected:
  static constexpr int W = 12, H = 9;
  ImageTest() { Image.SetView(&View); }

  void AddBackground() {
    TBitmap Bkg;
    Fill(Bkg, W, H, BkgPixel);
    Image.AddBackground(&Bkg, nullptr, "#0");
  }
  int AddPatternLayer(int LW, int LH, TPoint Pos, int Opacity, bool WithMask) {
    TBitmap Bmp, Mask;
    Fill(Bmp, LW, LH, LayerPixel);
    if (WithMask) Fill(Mask, LW, LH, [](int X, int Y) { return Grey(MaskByte(X, Y)); });
    return Image.AddLayer(&Bmp, WithMask ? &Mask : nullptr, Pos, static_cast<TOpacityRange>(Opacity), "#1");
  }
  // The composite over the whole image.
  TBitmap& Composite() {
    Image.MergeLayersForPreview(false);
    return Image.Bitmap();
  }

  TMyImageLayered Image;
  FakeView View;
};

} // namespace

TEST_F(ImageTest, AddOperationsAppendAndMakeCurrent) {
  AddBackground();
  EXPECT_EQ(Image.LayerIndex(), 0);
  EXPECT_EQ(Image.Layers()[0].Opacity, 100);
  EXPECT_EQ(Image.Bitmap().Width(), W);
  EXPECT_EQ(AddPatternLayer(3, 2, {1, 1}, 60, true), 1);
  EXPECT_EQ(Image.AddLayer(4, 5, clRed, {2, 3}, 70, "#2"), 2);
  EXPECT_EQ(Image.Layers()[2].Bitmap().Width(), 4);
  EXPECT_EQ(Px(Image.Layers()[2].Bitmap(), 3, 4), Rgb(255, 0, 0));
  EXPECT_TRUE(Image.Layers()[2].Mask().Empty());
  EXPECT_EQ(Image.AddLayerColor(clBlue, 30, true, "c"), 3);
  EXPECT_EQ(Image.Layers()[3].LayerType, ltColor);
  EXPECT_EQ(Image.Layers()[3].Color2, 1);
  TAdjustLayerInfos Infos;
  Infos.Hue = 40;
  EXPECT_EQ(Image.AddLayerAdjust(Infos, 50, "a"), 4);
  EXPECT_EQ(Image.Layers()[4].AdjustInfos.Hue, 40);
  EXPECT_EQ(Image.LayerIndex(), 4);
  EXPECT_EQ(Image.CurrentLayer(), &Image.Layers()[4]);
  EXPECT_GT(View.Invalidates, 0);
  EXPECT_GT(View.CursorRefreshes, 0);
}

TEST_F(ImageTest, AddBitmapAsLayerSplitsAlphaIntoAMask) {
  AddBackground();
  TBitmap Argb(2, 1, pf32bit, clBlack);
  uint8_t* Row = Argb.ScanLine(0);
  const uint8_t Pixels[8] = {10, 20, 30, 255, 40, 50, 60, 100};
  std::copy(Pixels, Pixels + 8, Row);
  const int Index = Image.AddBitmapAsLayer(Argb, {5, 6}, 80, "alpha");
  const TLayerItem& L = Image.Layers()[Index];
  EXPECT_EQ(L.Pos, TPoint(5, 6));
  EXPECT_EQ(L.Bitmap().PixelFormat(), pf24bit);
  EXPECT_EQ(Px(L.Bitmap(), 1, 0), Rgb(60, 50, 40));
  EXPECT_EQ(Px(L.Mask(), 0, 0), Grey(0));
  EXPECT_EQ(Px(L.Mask(), 1, 0), Grey(155));
}

TEST_F(ImageTest, DuplicateLayerCopiesVisibleAndUnlocked) {
  AddBackground();
  AddPatternLayer(3, 2, {4, 4}, 60, true);
  Image.Layers()[1].Visible = false;
  Image.Layers()[1].Locked = true;
  Image.Layers()[1].BlendMode = 5;
  EXPECT_EQ(Image.DuplicateLayer(5, "x"), -1);
  EXPECT_EQ(Image.Layers().Count(), 2);
  EXPECT_EQ(Image.DuplicateLayer(1, "copie"), 2);
  const TLayerItem& D = Image.Layers()[2];
  EXPECT_TRUE(D.Visible);
  EXPECT_FALSE(D.Locked);
  EXPECT_EQ(D.Caption, "copie");
  EXPECT_EQ(D.BlendMode, 5);
  EXPECT_EQ(D.Pos, TPoint(4, 4));
  EXPECT_IMAGES_MATCH(D.Mask(), Image.Layers()[1].Mask());
}

TEST_F(ImageTest, TheCompositeFollowsTheBackgroundSize) {
  AddBackground();
  AddPatternLayer(3, 2, {1, 1}, 60, false);
  Image.Layers()[0].Bitmap().SetSize(20, 7);
  EXPECT_EQ(Image.Bitmap().Width(), 20);
  EXPECT_EQ(Image.Bitmap().Height(), 7);
  // A new background is followed, the old one no longer.
  TBitmap NewBkg;
  Solid(NewBkg, 5, 4, Grey(1));
  Image.InsertNewBackground(&NewBkg, nullptr, "new");
  EXPECT_EQ(Image.LayerIndex(), 0);
  EXPECT_EQ(Image.Layers()[1].Bitmap().Width(), 20);
  EXPECT_EQ(Image.Bitmap().Width(), 5);
  Image.Layers()[1].Bitmap().SetSize(30, 30);
  EXPECT_EQ(Image.Bitmap().Width(), 5);
  Image.Layers()[0].Bitmap().SetSize(6, 6);
  EXPECT_EQ(Image.Bitmap().Width(), 6);
  // Deleting the background hands the hook to the next one.
  Image.DeleteBackground();
  EXPECT_EQ(Image.Layers().Count(), 2);
  EXPECT_EQ(Image.LayerIndex(), 0);
  EXPECT_EQ(Image.Bitmap().Width(), 30);
  Image.Layers()[0].Bitmap().SetSize(8, 8);
  EXPECT_EQ(Image.Bitmap().Height(), 8);
}

TEST_F(ImageTest, InsertAndDeleteBackgroundNeedLayers) {
  TBitmap B;
  Solid(B, 4, 4, Grey(3));
  Image.InsertNewBackground(&B, nullptr, "x");
  EXPECT_EQ(Image.Layers().Count(), 0);
  AddBackground();
  Image.DeleteBackground();
  EXPECT_EQ(Image.Layers().Count(), 1);
  EXPECT_EQ(Image.Layers()[0].Caption, "#0");
}

TEST_F(ImageTest, LayerIndexAndCoordinates) {
  AddBackground();
  AddPatternLayer(3, 2, {4, 5}, 60, false);
  Image.SetLayerIndex(7);
  EXPECT_EQ(Image.LayerIndex(), 1);
  Image.SetLayerIndex(-1);
  EXPECT_EQ(Image.LayerIndex(), 1);
  EXPECT_EQ(Image.BmpToLayer(TPoint{6, 6}), TPoint(2, 1));
  EXPECT_EQ(Image.LayerToBmp(TRect{0, 0, 3, 2}), TRect(4, 5, 7, 7));
  // The current layer's own pixel, or none outside it.
  EXPECT_EQ(Image.GetColor(5, 6, false), TRGBToColor(LayerPixel(1, 1)));
  EXPECT_EQ(Image.GetColor(3, 5, false), clNone);
  EXPECT_EQ(Image.GetColor(-1, 0, true), clNone);
  TMyImageLayered Empty;
  EXPECT_EQ(Empty.GetColor(0, 0, true), clNone);
}

TEST_F(ImageTest, GetColorMergedCompositesOnePixel) {
  AddBackground();
  AddPatternLayer(3, 2, {4, 5}, 60, false);
  Image.Layers()[1].BlendMode = 6;
  const TRGB Expected = Weigh(BkgPixel(5, 6), Product(BkgPixel(5, 6), LayerPixel(1, 1)), 60, 100);
  EXPECT_EQ(Image.GetColor(5, 6, true), TRGBToColor(Expected));
  EXPECT_EQ(Image.GetColor(0, 0, true), TRGBToColor(BkgPixel(0, 0)));
}

TEST_F(ImageTest, NeedBkgTransparencyCases) {
  struct Case {
    bool Transparent, Mask, Hidden;
    int Opacity;
    bool Expected;
  };
  const Case Cases[] = {{false, false, false, 100, false}, {true, false, false, 100, true},
                        {false, true, false, 100, true},   {false, false, true, 100, true},
                        {false, false, false, 99, true},   {false, false, false, 200, false}};
  for (const Case& C : Cases) {
    TMyImageLayered I;
    TBitmap B;
    Solid(B, 3, 3, Grey(1));
    I.AddBackground(&B, nullptr, "b");
    TLayerItem& Bkg = I.Layers()[0];
    Bkg.Bitmap().Transparent = C.Transparent;
    if (C.Mask) Solid(Bkg.Mask(), 3, 3, Grey(0));
    Bkg.Visible = !C.Hidden;
    Bkg.Opacity = static_cast<TOpacityRange>(C.Opacity);
    EXPECT_EQ(I.NeedBkgTransparency(), C.Expected) << C.Transparent << C.Mask << C.Hidden << C.Opacity;
  }
}

TEST_F(ImageTest, ExpandLayerGrowsInsideTheImageOnly) {
  AddBackground();
  AddPatternLayer(3, 2, {4, 5}, 100, true);
  TLayerItem& L = Image.Layers()[1];
  EXPECT_FALSE(Image.ExpandLayer(Image.Layers()[0], {0, 0, 5, 5}));
  EXPECT_FALSE(Image.ExpandLayer(L, {40, 40, 50, 50}));
  EXPECT_FALSE(Image.ExpandLayer(L, {4, 5, 6, 6}));
  ASSERT_TRUE(Image.ExpandLayer(L, {2, 3, 30, 6}));
  EXPECT_EQ(L.BoundsRect(), TRect(2, 3, W, 7));
  EXPECT_EQ(Px(L.Bitmap(), 2, 2), LayerPixel(0, 0));
  EXPECT_EQ(Px(L.Mask(), 2, 2), Grey(MaskByte(0, 0)));
  EXPECT_EQ(Px(L.Bitmap(), 0, 0), Grey(255));
  EXPECT_EQ(Px(L.Mask(), 9, 3), Grey(255));
  // An empty mask stays empty.
  AddPatternLayer(2, 2, {0, 0}, 100, false);
  ASSERT_TRUE(Image.ExpandLayer(Image.Layers()[2], {0, 0, 4, 4}));
  EXPECT_TRUE(Image.Layers()[2].Mask().Empty());
}

TEST_F(ImageTest, RepaintLayerRectGrowsByTheShadow) {
  AddBackground();
  AddPatternLayer(3, 2, {4, 5}, 100, true);
  Image.RepaintLayerRect({0, 0, 3, 2});
  TLayerItem& L = Image.Layers()[1];
  L.ShadowInfos.DrawShadow = true;
  L.ShadowInfos.DX = 5;
  L.ShadowInfos.DY = -2;
  L.ShadowInfos.Blur = 1;
  Image.RepaintLayerRect({0, 0, 3, 2});
  ASSERT_EQ(View.Repainted.size(), 2u);
  EXPECT_EQ(View.Repainted[0], TRect(4, 5, 7, 7));
  EXPECT_EQ(View.Repainted[1], TRect(4, 2, 13, 7));
}

// ---- Composites ------------------------------------------------------------------

TEST_F(ImageTest, MixedStackCompositesByTheFormulas) {
  AddBackground();
  // A masked layer in Product at 60 %, a hidden one, a colour layer at 30 %,
  // a masked layer in Difference at full opacity and an adjustment layer.
  AddPatternLayer(5, 4, {2, 1}, 60, true);
  Image.Layers()[1].BlendMode = 6;
  AddPatternLayer(12, 9, {0, 0}, 100, false);
  Image.Layers()[2].Visible = false;
  Image.AddLayerColor(RGB(255, 0, 0), 30, false, "red");
  AddPatternLayer(4, 4, {7, 4}, 100, true);
  Image.Layers()[4].BlendMode = 5;
  TAdjustLayerInfos Infos;
  Infos.Luminosity = 40;
  Image.AddLayerAdjust(Infos, 50, "adjust");

  TBitmap Expected;
  Fill(Expected, W, H, [](int X, int Y) {
    TRGB D = BkgPixel(X, Y);
    if (X >= 2 && X < 7 && Y >= 1 && Y < 5) {
      const TRGB S = LayerPixel(X - 2, Y - 1);
      D = MaskOpacity(D, Product(D, S), MaskByte(X - 2, Y - 1), 60);
    }
    D = TowardPercent(D, Rgb(255, 0, 0), 30);
    if (X >= 7 && X < 11 && Y >= 4 && Y < 8) {
      const TRGB S = LayerPixel(X - 7, Y - 4);
      D = MaskOpacity(D, Difference(D, S), MaskByte(X - 7, Y - 4), 100);
    }
    return PerChannel(D, D, [](int V, int) { return Brightness(V, 20); });
  });
  EXPECT_IMAGES_MATCH(Composite(), Expected);

  // Forced, the hidden full-size layer covers everything under it.
  Image.MergeLayersForPreview(true);
  const TRGB Over = TowardPercent(LayerPixel(1, 1), Rgb(255, 0, 0), 30);
  EXPECT_EQ(Px(Image.Bitmap(), 1, 1), PerChannel(Over, Over, [](int V, int) { return Brightness(V, 20); }));
}

TEST_F(ImageTest, TransparentBackgroundLiesOverTheBackColour) {
  AddBackground();
  TLayerItem& Bkg = Image.Layers()[0];
  Fill(Bkg.Mask(), W, H, [](int X, int Y) { return Grey(MaskByte(X, Y)); });
  Bkg.Opacity = 80;
  Image.BackColor = RGB(0, 0, 255);
  TBitmap Expected;
  Fill(Expected, W, H, [](int X, int Y) { return MaskOpacity(Rgb(0, 0, 255), BkgPixel(X, Y), MaskByte(X, Y), 80); });
  // Stale pixels in the target must not show.
  Solid(Image.Bitmap(), W, H, Grey(77));
  EXPECT_IMAGES_MATCH(Composite(), Expected);

  // A hidden background leaves the back colour.
  Bkg.Visible = false;
  TBitmap Back;
  Solid(Back, W, H, Rgb(0, 0, 255));
  EXPECT_IMAGES_MATCH(Composite(), Back);
}

TEST_F(ImageTest, ABackgroundThatBlendsLiesOverTheBackColour) {
  AddBackground();
  Image.Layers()[0].BlendMode = 4; // screen
  Image.BackColor = RGB(100, 100, 100);
  Solid(Image.Bitmap(), W, H, Grey(200));
  TBitmap Expected;
  Fill(Expected, W, H, [](int X, int Y) { return Screen(Grey(100), BkgPixel(X, Y)); });
  EXPECT_IMAGES_MATCH(Composite(), Expected);
  // Twice the same: the result does not depend on the target's old pixels.
  EXPECT_IMAGES_MATCH(Composite(), Expected);
}

TEST_F(ImageTest, StoredValuesOutOfRangeDrawLimited) {
  AddBackground();
  AddPatternLayer(4, 3, {1, 1}, 100, false);
  TLayerItem& L = Image.Layers()[1];
  L.BlendMode = 257; // not Diffusion: Normal
  L.Opacity = 200;   // full
  TAdjustLayerInfos Infos;
  Infos.Luminosity = 30;
  Infos.Gamma = -2;                           // no gamma step
  Image.AddLayerAdjust(Infos, 250, "adjust"); // 100 %, not 250 %
  TBitmap Expected;
  Fill(Expected, W, H, [](int X, int Y) {
    TRGB D = BkgPixel(X, Y);
    if (X >= 1 && X < 5 && Y >= 1 && Y < 4) D = LayerPixel(X - 1, Y - 1);
    return PerChannel(D, D, [](int V, int) { return Brightness(V, 30); });
  });
  EXPECT_IMAGES_MATCH(Composite(), Expected);
}

TEST_F(ImageTest, AShadowIsDrawnUnderTheLayerWhereItIsTransparent) {
  AddBackground();
  AddPatternLayer(5, 4, {2, 2}, 70, true);
  TLayerItem& L = Image.Layers()[1];
  L.ShadowInfos.DrawShadow = true;
  L.ShadowInfos.Blur = 0;
  L.ShadowInfos.DX = 2;
  L.ShadowInfos.DY = 1;
  L.ShadowInfos.Opacity = 90;
  L.ShadowInfos.Color = RGB(0, 0, 60);
  const int Op = 90 * 70 / 100;
  TBitmap Expected;
  Fill(Expected, W, H, [&](int X, int Y) {
    TRGB D = BkgPixel(X, Y);
    const bool InLayer = X >= 2 && X < 7 && Y >= 2 && Y < 6;
    // The shadow mask at (X, Y) is the layer mask moved by (2, 1).
    const int SX = X - 4, SY = Y - 3;
    if (SX >= 0 && SX < 5 && SY >= 0 && SY < 4) {
      const int S = MaskByte(SX, SY);
      if (S != 255) {
        int Cover = 255 - S;
        if (InLayer) Cover = Cover * MaskByte(X - 2, Y - 2) / 255;
        D = Weigh(D, Rgb(0, 0, 60), Op * Cover / 255, 100);
      }
    }
    if (InLayer) D = MaskOpacity(D, LayerPixel(X - 2, Y - 2), MaskByte(X - 2, Y - 2), 70);
    return D;
  });
  EXPECT_IMAGES_MATCH(Composite(), Expected);

  // While the layer is dragged its shadow is left out.
  Image.SetLayerIndex(1);
  Image.MoveState = 2;
  const TRGB Under = Px(Composite(), 9, 6); // shadow only, outside the layer
  EXPECT_EQ(Under, BkgPixel(9, 6));
}

TEST_F(ImageTest, ABlurredShadowOfAClipMatchesTheWholeComposite) {
  AddBackground();
  AddPatternLayer(6, 5, {3, 2}, 90, true);
  TLayerItem& L = Image.Layers()[1];
  L.ShadowInfos.DrawShadow = true;
  L.ShadowInfos.Blur = 3;
  L.ShadowInfos.DX = 2;
  L.ShadowInfos.DY = 2;
  TBitmap Whole;
  Whole.Assign(Composite());
  // Each small rectangle composited alone gives the same pixels: the shadow
  // is built over the clip plus its blur only.
  for (const TRect& R : {TRect{9, 6, 11, 8}, TRect{0, 0, 4, 3}, TRect{5, 7, 6, 8}, TRect{2, 1, 12, 9}}) {
    Solid(Image.Bitmap(), W, H, Grey(0));
    Image.MergeVisibleLayers(Image.Bitmap(), 0, 0, R, false);
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) EXPECT_EQ(Px(Image.Bitmap(), X, Y), Px(Whole, X, Y)) << X << ", " << Y;
  }
}

TEST_F(ImageTest, APendingTransformationIsDrawnAtItsBounds) {
  AddBackground();
  AddPatternLayer(3, 2, {0, 0}, 100, false);
  auto T = std::make_unique<TAffineTransformation>();
  T->SetSrcRect({0, 0, 3, 2});
  T->Translate(6, 4);
  Image.Layers()[1].SetTransformation(std::move(T));
  TBitmap& C = Composite();
  EXPECT_EQ(Px(C, 0, 0), BkgPixel(0, 0));
  EXPECT_EQ(Px(C, 6, 4), LayerPixel(0, 0));
  EXPECT_EQ(Px(C, 8, 5), LayerPixel(2, 1));
}

TEST_F(ImageTest, DrawImageLayersShiftsTheImage) {
  AddBackground();
  AddPatternLayer(3, 2, {4, 5}, 100, false);
  TBitmap Dest;
  Solid(Dest, 4, 4, Grey(0));
  Image.DrawImageLayers(3, 4, Dest);
  EXPECT_EQ(Px(Dest, 0, 0), BkgPixel(3, 4));
  EXPECT_EQ(Px(Dest, 1, 1), LayerPixel(0, 0));
  EXPECT_EQ(Px(Dest, 3, 3), BkgPixel(6, 7));
}

TEST_F(ImageTest, MergeLayersInRGBAThreeWays) {
  AddBackground();
  AddPatternLayer(3, 2, {1, 1}, 100, false);
  // Opaque visible background: 24-bit.
  TBitmap Dest;
  Image.MergeLayersInRGBA(Dest);
  EXPECT_EQ(Dest.PixelFormat(), pf24bit);
  EXPECT_EQ(Px(Dest, 2, 2), LayerPixel(1, 1));

  // One masked layer: its pixels and alpha = 255 - mask.
  TMyImageLayered Single;
  TBitmap B, M;
  Fill(B, 4, 3, BkgPixel);
  Fill(M, 4, 3, [](int X, int Y) { return Grey(MaskByte(X, Y)); });
  Single.AddBackground(&B, &M, "b");
  Single.MergeLayersInRGBA(Dest);
  ASSERT_EQ(Dest.PixelFormat(), pf32bit);
  EXPECT_EQ(Dest.ScanLine(1)[4 * 2 + 3], 255 - MaskByte(2, 1));
  EXPECT_EQ(Dest.ScanLine(1)[4 * 2 + 2], BkgPixel(2, 1).Red);

  // A hidden background with a layer: the layer alone, opaque where it is.
  Image.Layers()[0].Visible = false;
  Image.MergeLayersInRGBA(Dest);
  ASSERT_EQ(Dest.PixelFormat(), pf32bit);
  EXPECT_EQ(Dest.ScanLine(0)[3], 0);
  EXPECT_EQ(Dest.ScanLine(2)[4 * 2 + 3], 255);
  EXPECT_EQ(Dest.ScanLine(2)[4 * 2 + 1], LayerPixel(1, 1).Green);
}

TEST_F(ImageTest, MergeLayersInRGBAPlacesATransformedLayerWhereItIsSeen) {
  AddBackground();
  Solid(Image.Layers()[0].Mask(), W, H, Grey(255)); // transparent background
  AddPatternLayer(3, 2, {0, 0}, 100, false);
  auto T = std::make_unique<TAffineTransformation>();
  T->SetSrcRect({0, 0, 3, 2});
  T->Translate(6, 4);
  Image.Layers()[1].SetTransformation(std::move(T));
  TBitmap Dest;
  Image.MergeLayersInRGBA(Dest);
  ASSERT_EQ(Dest.PixelFormat(), pf32bit);
  EXPECT_EQ(Dest.ScanLine(0)[3], 0);
  EXPECT_EQ(Dest.ScanLine(4)[4 * 6 + 3], 255);
  EXPECT_EQ(Dest.ScanLine(5)[4 * 8 + 0], LayerPixel(2, 1).Blue);
  EXPECT_NE(Image.Layers()[1].Transformation(), nullptr); // a composite changes no layer
}

TEST_F(ImageTest, AssignAndGetImageLayers) {
  AddBackground();
  AddPatternLayer(3, 2, {1, 1}, 60, true);
  Image.ColorCount = 300;
  TMyImageLayered Copy;
  Copy.Assign(&Image);
  ASSERT_EQ(Copy.Layers().Count(), 2);
  EXPECT_EQ(Copy.LayerIndex(), 0);
  EXPECT_EQ(Copy.ColorCount, 300);
  EXPECT_NE(&Copy.Layers()[1], &Image.Layers()[1]);
  Copy.Layers()[0].Bitmap().SetSize(3, 3);
  EXPECT_EQ(Copy.Bitmap().Width(), 3);
  Copy.Assign(nullptr);
  EXPECT_EQ(Copy.Layers().Count(), 0);
  EXPECT_EQ(Copy.LayerIndex(), -1);

  TMyImageLayered Taker;
  const TLayerItem* Moved = &Image.Layers()[1];
  Taker.GetImageLayers(Image);
  EXPECT_EQ(Image.Layers().Count(), 0);
  EXPECT_EQ(Image.LayerIndex(), -1);
  EXPECT_EQ(Image.ColorCount, 0);
  ASSERT_EQ(Taker.Layers().Count(), 2);
  EXPECT_EQ(&Taker.Layers()[1], Moved);
  EXPECT_EQ(Taker.LayerIndex(), 0);
  EXPECT_EQ(Taker.ColorCount, 300);
  EXPECT_EQ(Taker.Layers().Image(), &Taker);
  // The hook moved with the background.
  Taker.Layers()[0].Bitmap().SetSize(4, 4);
  EXPECT_EQ(Taker.Bitmap().Width(), 4);
  EXPECT_TRUE(Image.Bitmap().Empty());
}
