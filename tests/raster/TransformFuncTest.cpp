// Layer geometry: drawing through a transformation, applying one to a bitmap
// and its mask, scaling with bleeding, flips, crops and mask tests.
#include "raster/TransformFunc.h"

#include "ProgressTestSupport.h"
#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

namespace {

TRGB Code(int X, int Y) { return {uint8_t(X), uint8_t(Y), uint8_t(100 + X + 10 * Y)}; }

void Coded(TBitmap& B, int W, int H) {
  NewBitmap24(B, W, H, clBlack);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) RowOf(B, Y)[X] = Code(X, Y);
}

void Uniform(TBitmap& B, int W, int H, int V) { NewBitmap24(B, W, H, RGB(V, V, V)); }

TAffineTransformation Translation(int W, int H, int DX, int DY) {
  TAffineTransformation T;
  T.SetSrcRect({0, 0, W, H});
  T.Translate(DX, DY);
  return T;
}

} // namespace

using TransformFuncTest = TProgressFixture;

TEST_F(TransformFuncTest, ATranslationIsCopiedWhateverTheMode) {
  for (TAntialiasMode Mode : {amNearest, amBilinear, amBicubic}) {
    TBitmap Src, Dst;
    Coded(Src, 10, 10);
    Uniform(Dst, 30, 30, 7);
    TAffineTransformation T = Translation(10, 10, 5, 3);
    DrawTransformed(Src, Dst, T, Mode, clNone);
    for (int Y = 0; Y < 30; ++Y)
      for (int X = 0; X < 30; ++X) {
        const bool In = X >= 5 && X < 15 && Y >= 3 && Y < 13;
        ASSERT_EQ(Px(Dst, X, Y), In ? Code(X - 5, Y - 3) : Grey(7)) << X << ", " << Y << " mode " << int(Mode);
      }
  }
}

TEST_F(TransformFuncTest, BoundsOutsideTheDestinationDrawNothingWithoutProgress) {
  TCancelAt Sink(0);
  Install(Sink);
  TBitmap Src, Dst, Before;
  Coded(Src, 10, 10);
  Uniform(Dst, 20, 20, 7);
  Before.Assign(Dst);
  TAffineTransformation T;
  T.SetSrcRect({0, 0, 10, 10});
  T.Rotate(4.5, 4.5, 30);
  T.Translate(100, 100);
  DrawTransformed(Src, Dst, T, amBicubic, clNone);
  EXPECT_IMAGES_MATCH(Dst, Before);
  EXPECT_EQ(Sink.Begins, 0);
}

TEST_F(TransformFuncTest, AQuarterTurnMapsEveryPixelAndLeavesTheRest) {
  TCancelAt Sink(0);
  Install(Sink);
  TBitmap Src, Dst;
  Coded(Src, 4, 4);
  Uniform(Dst, 12, 12, 7);
  TAffineTransformation T;
  T.SetSrcRect({0, 0, 4, 4});
  T.Rotate(1.5, 1.5, 90); // anticlockwise on screen
  T.Translate(4, 4);
  DrawTransformed(Src, Dst, T, amBilinear, clNone);
  EXPECT_EQ(Sink.Begins, 1);
  for (int Y = 4; Y < 8; ++Y)
    for (int X = 4; X < 8; ++X) EXPECT_EQ(Px(Dst, X, Y), Code(3 - (Y - 4), X - 4)) << X << ", " << Y;
  // Beyond the bounds nothing is visited.
  EXPECT_EQ(Px(Dst, 1, 1), Grey(7));
  EXPECT_EQ(Px(Dst, 10, 6), Grey(7));
}

TEST_F(TransformFuncTest, ACancelAtTheStartDrawsNothing) {
  TCancelAt Sink(0);
  Install(Sink);
  ProgressCancelled = true;
  TBitmap Src, Dst, Before;
  Coded(Src, 10, 10);
  Uniform(Dst, 20, 20, 7);
  Before.Assign(Dst);
  TAffineTransformation T;
  T.SetSrcRect({0, 0, 10, 10});
  T.Rotate(4.5, 4.5, 30);
  DrawTransformed(Src, Dst, T, amBilinear, clWhite);
  EXPECT_IMAGES_MATCH(Dst, Before);
}

TEST_F(TransformFuncTest, TransformBitmapAndMaskMovesToTheOriginAndWhitensOutside) {
  TBitmap Bmp, Mask;
  Coded(Bmp, 10, 6);
  Uniform(Mask, 10, 6, 0);
  TAffineTransformation T;
  T.SetSrcRect({0, 0, 10, 6});
  T.Rotate(4.5, 2.5, 45);
  T.Translate(50, 60);
  TransformBitmapAndMask(Bmp, Mask, T);
  EXPECT_EQ(T.GetBounds().TopLeft(), TPoint(0, 0));
  ASSERT_EQ(Bmp.Width(), T.GetBounds().Right);
  ASSERT_EQ(Mask.Width(), Bmp.Width());
  ASSERT_EQ(Mask.Height(), Bmp.Height());
  // Corners of the bounds lie outside the turned picture: transparent and
  // white; the centre is opaque. Every fully transparent pixel is white.
  EXPECT_EQ(Px(Mask, 0, 0), Grey(255));
  EXPECT_EQ(Px(Mask, Mask.Width() / 2, Mask.Height() / 2), Grey(0));
  for (int Y = 0; Y < Bmp.Height(); ++Y)
    for (int X = 0; X < Bmp.Width(); ++X)
      if (Px(Mask, X, Y).Blue == 255) {
        ASSERT_EQ(Px(Bmp, X, Y), Grey(255)) << X << ", " << Y;
      }
  EXPECT_EQ(ProgressState().Passes, 1);
}

TEST_F(TransformFuncTest, TransformBitmapAndMaskGivesAnUnmaskedBitmapAMask) {
  TBitmap Bmp, Mask;
  Coded(Bmp, 5, 5);
  TAffineTransformation T = Translation(5, 5, 3, 3);
  TransformBitmapAndMask(Bmp, Mask, T);
  ASSERT_EQ(Mask.Width(), 5);
  EXPECT_TRUE(IsMaskOpaque(Mask));
  EXPECT_EQ(Px(Bmp, 4, 2), Code(4, 2));
}

TEST(TransformFuncRules, BleedRadiusByTheScale) {
  struct Case {
    int W, H, Radius;
  };
  for (const Case& C : {Case{150, 80, 2}, {1000, 1000, 2}, {1, 1, 77}, {100, 100, 0}, {50, 100, 2}, {100, 30, 4}})
    EXPECT_EQ(ScaleBleedRadius(100, 100, C.W, C.H), C.Radius) << C.W << " x " << C.H;
}

TEST(TransformFuncRules, ScalingByTheKindOfMask) {
  TBitmap Bmp, Mask;
  Coded(Bmp, 8, 8);
  Uniform(Mask, 8, 8, 0);
  ScaleBitmapAndMask(16, 4, 5, nullptr, nullptr, Bmp, Mask);
  EXPECT_EQ(Bmp.Width(), 16);
  ASSERT_EQ(Mask.Width(), 16);
  ASSERT_EQ(Mask.Height(), 4);
  EXPECT_TRUE(IsMaskOpaque(Mask));

  TBitmap NoMask;
  Coded(Bmp, 8, 8);
  ScaleBitmapAndMask(4, 4, 0, nullptr, nullptr, Bmp, NoMask);
  EXPECT_EQ(Bmp.Width(), 4);
  EXPECT_EQ(Px(Bmp, 1, 3), Code(2, 6));
  EXPECT_TRUE(NoMask.Empty());

  // A real mask is stretched; colours under transparent pixels are bled.
  Coded(Bmp, 4, 4);
  Uniform(Mask, 4, 4, 0);
  for (int Y = 0; Y < 4; ++Y) RowOf(Mask, Y)[3] = Grey(255);
  ScaleBitmapAndMask(8, 8, 0, nullptr, nullptr, Bmp, Mask);
  EXPECT_EQ(Px(Mask, 7, 7), Grey(255));
  EXPECT_EQ(Px(Mask, 0, 0), Grey(0));
  // Column 3 took a colour from the ring at distance 2: for row 0 the last
  // finder is k = 2, on the left side, (1, 2).
  EXPECT_EQ(Px(Bmp, 7, 0), Code(1, 2));
}

// With a separate source, the case follows the destination mask: none
// scales the bitmap alone (no bleeding, the mask stays empty), an opaque one
// becomes a new opaque mask of the new size, any other takes the source mask
// stretched.
TEST(TransformFuncRules, ScalingCaseFollowsTheDestinationMask) {
  enum TKind { None, Opaque, Partial };
  struct TCase {
    const char* Name;
    TKind SrcMask, DstMask;
    TKind Result;
  };
  const auto MaskOf = [](TBitmap& M, TKind Kind) {
    if (Kind == None) return;
    Uniform(M, 4, 4, 0);
    if (Kind == Partial)
      for (int Y = 0; Y < 4; ++Y) RowOf(M, Y)[3] = Grey(255);
  };
  for (const TCase& C : {TCase{"partial source, no target mask", Partial, None, None},
                         TCase{"partial source, opaque target mask", Partial, Opaque, Opaque},
                         TCase{"opaque source, partial target mask", Opaque, Partial, Opaque},
                         TCase{"partial source, partial target mask", Partial, Partial, Partial}}) {
    SCOPED_TRACE(C.Name);
    TBitmap SrcBmp, SrcMask, DstBmp, DstMask;
    Coded(SrcBmp, 4, 4);
    MaskOf(SrcMask, C.SrcMask);
    MaskOf(DstMask, C.DstMask);
    ScaleBitmapAndMask(8, 8, 0, &SrcBmp, &SrcMask, DstBmp, DstMask);
    ASSERT_EQ(DstBmp.Width(), 8);
    if (C.Result == None) {
      EXPECT_TRUE(DstMask.Empty());
    } else {
      ASSERT_EQ(DstMask.Width(), 8);
      ASSERT_EQ(DstMask.Height(), 8);
      EXPECT_EQ(Px(DstMask, 7, 7), Grey(C.Result == Partial ? 255 : 0));
      EXPECT_EQ(Px(DstMask, 5, 5), Grey(0));
    }
    // Colours are bled (column 3 takes (1, 2) on row 0) only in the last case.
    EXPECT_EQ(Px(DstBmp, 7, 0), C.DstMask == Partial && C.SrcMask == Partial ? Code(1, 2) : Code(3, 0));
  }
}

TEST(TransformFuncRules, BleedTakesTheLastRingNeighbourFound) {
  TBitmap Bmp, Mask;
  Coded(Bmp, 5, 5);
  Uniform(Mask, 5, 5, 255);
  RowOf(Mask, 0)[1] = Grey(0);
  RowOf(Mask, 3)[3] = Grey(100);
  BleedColorsIntoTransparent(Bmp, Mask, 1, WholeBitmapRect);
  // (2, 2): ring 1 holds (3, 3) (k = 1, lower row) but not (1, 0).
  EXPECT_EQ(Px(Bmp, 2, 2), Code(3, 3));
  // (2, 1): (1, 0) is on its upper row at k = -1, (3, 3) is not on the ring.
  EXPECT_EQ(Px(Bmp, 2, 1), Code(1, 0));
  // Sources keep their colour; far pixels keep theirs.
  EXPECT_EQ(Px(Bmp, 1, 0), Code(1, 0));
  EXPECT_EQ(Px(Bmp, 0, 4), Code(0, 4));
  // Radius 0 and a mask of another size do nothing.
  TBitmap Small;
  Uniform(Small, 2, 2, 255);
  Coded(Bmp, 5, 5);
  BleedColorsIntoTransparent(Bmp, Small, 1, WholeBitmapRect);
  BleedColorsIntoTransparent(Bmp, Mask, 0, WholeBitmapRect);
  EXPECT_EQ(Px(Bmp, 2, 2), Code(2, 2));
}

TEST(TransformFuncRules, FlipRotateCodes) {
  struct Case {
    int Code;
    int W, H;
    TPoint WhereOld; // where the old top-left pixel lands
  };
  for (const Case& C : {Case{0, 3, 2, {0, 1}},
                        {1, 3, 2, {2, 0}},
                        {2, 2, 3, {1, 0}},
                        {3, 2, 3, {0, 2}},
                        {4, 3, 2, {2, 1}},
                        {5, 3, 2, {0, 0}}}) {
    TBitmap B;
    Coded(B, 3, 2);
    FlipRotateBitmap(B, C.Code);
    ASSERT_EQ(B.Width(), C.W) << C.Code;
    ASSERT_EQ(B.Height(), C.H) << C.Code;
    EXPECT_EQ(Px(B, C.WhereOld.X, C.WhereOld.Y), Code(0, 0)) << C.Code;
  }
  TBitmap Empty;
  FlipRotateBitmap(Empty, 2);
  EXPECT_TRUE(Empty.Empty());
}

TEST(TransformFuncRules, AutoCropLayerKeepsThePixelsInPlace) {
  TBitmap Bmp, Mask;
  Coded(Bmp, 6, 5);
  Uniform(Mask, 6, 5, 255);
  RowOf(Mask, 2)[1] = Grey(0);
  RowOf(Mask, 3)[3] = Grey(200);
  TPoint Pos{10, 20};
  AutoCropLayer(Bmp, Mask, Pos);
  EXPECT_EQ(Pos, TPoint(11, 22));
  ASSERT_EQ(Bmp.Width(), 3);
  ASSERT_EQ(Bmp.Height(), 2);
  EXPECT_EQ(Px(Bmp, 0, 0), Code(1, 2));
  EXPECT_EQ(Px(Mask, 2, 1), Grey(200));

  Uniform(Mask, 3, 2, 255);
  AutoCropLayer(Bmp, Mask, Pos);
  EXPECT_EQ(Pos, TPoint(11, 22));
  EXPECT_EQ(Bmp.Width(), 3);
}

TEST(TransformFuncRules, SmallHelpers) {
  TBitmap Mask, Empty;
  Uniform(Mask, 3, 3, 0);
  RowOf(Mask, 1)[2] = Grey(255);
  EXPECT_TRUE(IsMaskPixelTransparent(Mask, 2, 1));
  EXPECT_FALSE(IsMaskPixelTransparent(Mask, 1, 1));
  EXPECT_FALSE(IsMaskPixelTransparent(Mask, 3, 1));
  EXPECT_FALSE(IsMaskPixelTransparent(Empty, 0, 0));
  EXPECT_FALSE(IsMaskOpaque(Mask));

  TBitmap Bmp;
  Coded(Bmp, 3, 3);
  WhitenMaskedPixels(Bmp, Mask);
  EXPECT_EQ(Px(Bmp, 2, 1), Grey(255));
  EXPECT_EQ(Px(Bmp, 1, 1), Code(1, 1));

  ExpandBitmap(Bmp, 5, 4, 2, 1);
  ASSERT_EQ(Bmp.Width(), 5);
  EXPECT_EQ(Px(Bmp, 2, 1), Code(0, 0));
  EXPECT_EQ(Px(Bmp, 0, 0), Grey(255));
  ExpandBitmap(Empty, 5, 5, 0, 0);
  EXPECT_TRUE(Empty.Empty());

  TBitmap Rgba;
  CombineToRGBA(Bmp, Mask, Rgba); // sizes differ: nothing
  EXPECT_TRUE(Rgba.Empty());
  Uniform(Mask, 5, 4, 55);
  CombineToRGBA(Bmp, Mask, Rgba);
  ASSERT_EQ(Rgba.PixelFormat(), pf32bit);
  EXPECT_EQ(Rgba.ScanLine(1)[4 * 2 + 3], 200);
  TBitmap Back, BackMask;
  EXPECT_EQ(SplitToBitmapAndMask(Rgba, Back, BackMask), 2);
  EXPECT_EQ(Px(BackMask, 0, 0), Grey(55));
}
