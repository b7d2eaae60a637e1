#include "raster/LayerPaint.h"

#include "platform/VectorDispatch.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

namespace {

struct TLayerPixel {
  int Colour, Mask;
  friend bool operator==(const TLayerPixel&, const TLayerPixel&) = default;
};
void PrintTo(const TLayerPixel& P, std::ostream* Out) { *Out << "colour " << P.Colour << " mask " << P.Mask; }

TLayerPixel Paint(int Colour, int Mask, int PaintColour, int A) {
  TRGB d = Grey(Colour), M = Grey(Mask);
  PaintPixelOnLayer(d, M, Grey(PaintColour), A);
  EXPECT_TRUE(d == Grey(d.Blue) && M == Grey(M.Blue));
  return {d.Blue, M.Blue};
}

TLayerPixel Erase(int Colour, int Mask, int PaintColour, int A) {
  SelectBlendMode(0);
  TRGB d = Grey(Colour), M = Grey(Mask);
  ErasePixelOnLayer(d, M, Grey(PaintColour), A);
  return {d.Blue, M.Blue};
}

// The over rule written out per channel, from the formulas.
void ReferenceOver(TRGB& d, TRGB& M, TRGB R, TRGB s, int A) {
  if (A <= 0) return;
  if (A > 255) A = 255;
  const int Alpha = 255 - M.Blue;
  auto Mix = [](TRGB& D, TRGB S, int W) {
    if (W >= 255) {
      D = S;
      return;
    }
    D.Blue = uint8_t(D.Blue + W * (S.Blue - D.Blue) / 255);
    D.Green = uint8_t(D.Green + W * (S.Green - D.Green) / 255);
    D.Red = uint8_t(D.Red + W * (S.Red - D.Red) / 255);
  };
  if (Alpha == 0) {
    d = s;
    M = Grey(255 - A);
  } else if (Alpha == 255) {
    Mix(d, R, A);
  } else if (A == 255) {
    d = R;
    M = Grey(0);
  } else {
    int C = Alpha + A - Alpha * A / 255;
    C = C < 0 ? 0 : C > 255 ? 255 : C;
    M = Grey(255 - C);
    if (C > 0) Mix(d, R, A * 255 / C);
  }
}

void FillGrey(TBitmap& B, unsigned Seed) {
  std::mt19937 Gen(Seed);
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) {
      const unsigned R = Gen() % 5;
      RowOf(B, Y)[X] = Grey(R == 0 ? 0 : R == 1 ? 255 : int(Gen() >> 24));
    }
}
} // namespace

TEST(LayerPaint, PaintPixelOnLayer) {
  struct Case {
    TLayerPixel Before;
    int PaintColour, A;
    TLayerPixel After;
  };
  for (const Case& C : {
           Case{{30, 255}, 200, 100, {200, 155}}, // transparent: takes the paint and its coverage
           Case{{0, 0}, 255, 100, {100, 0}},      // opaque: the colour moves by A / 255
           Case{{0, 77}, 255, 255, {255, 0}},     // full paint on a partly covered pixel
           Case{{0, 128}, 255, 128, {170, 63}},   // C = 192, colour weight 170
           Case{{40, 128}, 255, 0, {40, 128}},    // no paint
           Case{{40, 128}, 255, -9, {40, 128}},   //
           Case{{0, 77}, 255, 300, {255, 0}},     // above 255 counts as 255
       })
    EXPECT_EQ(Paint(C.Before.Colour, C.Before.Mask, C.PaintColour, C.A), C.After)
        << ::testing::PrintToString(C.Before) << " paint " << C.PaintColour << " A " << C.A;
}

TEST(LayerPaint, ErasePixelOnLayer) {
  EXPECT_EQ(Erase(100, 255, 200, -128), (TLayerPixel{100, 255})); // nothing to take away
  EXPECT_EQ(Erase(100, 0, 200, -128), (TLayerPixel{50, 0}));      // pushed away by 128 / 255
  EXPECT_EQ(Erase(100, 0, 200, 5), (TLayerPixel{100, 0}));        // positive: nothing
  // m = 128, A = -128: C = 62, mask 193, weight -128 * 255 div 62 = -526.
  EXPECT_EQ(Erase(100, 128, 110, -128), (TLayerPixel{100 - 526 * 10 / 255, 193}));
  // A = -255 on a partly covered pixel: the coverage falls to 2 Alpha - 255
  // and the colour is pushed by the full difference, not 4.6 times it.
  EXPECT_EQ(Erase(100, 100, 110, -255), (TLayerPixel{90, 200}));
  EXPECT_EQ(Erase(100, 100, 110, -400), (TLayerPixel{90, 200}));
  EXPECT_EQ(Erase(100, 128, 110, -255), (TLayerPixel{100, 255})); // coverage gone
  // Without a blend mode selection the erase pushes from the blend result.
  SelectBlendMode(6);
  TRGB d = Grey(200), M = Grey(0);
  ErasePixelOnLayer(d, M, Grey(128), -255);
  EXPECT_EQ(d, Grey(255)); // R = 100: 200 + (200 - 100) clamps
}

TEST(LayerPaint, BlendPixelOnLayer) {
  SelectBlendMode(6);
  TRGB d = Grey(200), M = Grey(0);
  BlendPixelOnLayer(d, M, Grey(128), 255);
  EXPECT_EQ(d, Grey(100));
  d = Grey(200), M = Grey(255);
  BlendPixelOnLayer(d, M, Grey(128), 100);
  EXPECT_EQ(d, Grey(128)); // transparent: the paint colour itself, unblended
  EXPECT_EQ(M, Grey(155));
}

TEST(LayerPaint, PaintAndBlendBitmapMatchReference) {
  TBitmap Src(30, 20), SrcMask(30, 20);
  FillRandom(Src, 1);
  FillGrey(SrcMask, 2);
  for (int Mode : {0, 4, 16})
    for (bool WithTargetMask : {false, true}) {
      TBitmap Dst(40, 25), DstMask(40, 25), WantDst, WantMask;
      FillRandom(Dst, 3);
      FillGrey(DstMask, 4);
      WantDst.Assign(Dst);
      WantMask.Assign(DstMask);
      const int X = 7, Y = -2, Opacity = 83;
      BlendBitmapOnLayer(Src, &SrcMask, {2, 1, 28, 19}, Mode, Dst, WithTargetMask ? &DstMask : nullptr, X, Y,
                         {0, 0, 36, 25}, Opacity);
      const int A0 = Opacity * 255 / 100;
      SelectBlendMode(Mode);
      for (int DY = 0; DY < 25; ++DY)
        for (int DX = 0; DX < 36; ++DX) {
          const int SX = DX - X + 2, SY = DY - Y + 1;
          if (SX < 2 || SX >= 28 || SY < 1 || SY >= 19) continue;
          const TRGB s = RowOf(Src, SY)[SX];
          const int A = A0 * (255 - RowOf(SrcMask, SY)[SX].Blue) / 255;
          TRGB& d = RowOf(WantDst, DY)[DX];
          TRGB R = d;
          BlendPixel(R, s);
          TRGB Opaque = Grey(0);
          ReferenceOver(d, WithTargetMask ? RowOf(WantMask, DY)[DX] : Opaque, R, s, A);
        }
      EXPECT_IMAGES_MATCH(Dst, WantDst, 0, "colour");
      EXPECT_IMAGES_MATCH(DstMask, WantMask, 0, "mask");
    }
}

// The same over rule on rows longer than one pass of the byte kernels, with
// and without each mask, at full and partial opacity, with both instruction
// sets; modes with one formula per channel and one in HSV.
TEST(LayerPaint, BlendBitmapOnLayerMatchesReferenceOnLongRows) {
  TBitmap Src(2300, 3), SrcMask(2300, 3), Dst0(2300, 4), DstMask0(2300, 4);
  FillRandom(Src, 11);
  FillGrey(SrcMask, 12);
  FillRandom(Dst0, 13);
  FillGrey(DstMask0, 14);
  for (bool Baseline : {false, true}) {
    ForceBaselineKernels(Baseline);
    for (int Mode : {0, 4, 12, 16, 23, 9})
      for (int Opacity : {100, 83})
        for (bool WithSrcMask : {false, true})
          for (bool WithTargetMask : {false, true}) {
            TBitmap Dst, DstMask, WantDst, WantMask;
            Dst.Assign(Dst0);
            DstMask.Assign(DstMask0);
            WantDst.Assign(Dst0);
            WantMask.Assign(DstMask0);
            BlendBitmapOnLayer(Src, WithSrcMask ? &SrcMask : nullptr, WholeBitmapRect, Mode, Dst,
                               WithTargetMask ? &DstMask : nullptr, 5, 1, WholeBitmapRect, Opacity);
            const int A0 = Opacity * 255 / 100;
            SelectBlendMode(Mode);
            for (int DY = 1; DY < 4; ++DY)
              for (int DX = 5; DX < 2300; ++DX) {
                const TRGB s = RowOf(Src, DY - 1)[DX - 5];
                const int A = WithSrcMask ? A0 * (255 - RowOf(SrcMask, DY - 1)[DX - 5].Blue) / 255 : A0;
                TRGB& d = RowOf(WantDst, DY)[DX];
                TRGB R = d;
                BlendPixel(R, s);
                TRGB Opaque = Grey(0);
                ReferenceOver(d, WithTargetMask ? RowOf(WantMask, DY)[DX] : Opaque, R, s, A);
              }
            ASSERT_TRUE(ImagesMatch(Dst, WantDst, 0, "colour"))
                << "mode " << Mode << " opacity " << Opacity << " src mask " << WithSrcMask << " target mask "
                << WithTargetMask << " baseline " << Baseline;
            ASSERT_TRUE(ImagesMatch(DstMask, WantMask, 0, "mask")) << "mode " << Mode;
          }
  }
  ForceBaselineKernels(false);
}

TEST(LayerPaint, TransparentSourcePixelLeavesTarget) {
  TBitmap Src(4, 4, pf24bit, clWhite), SrcMask(4, 4, pf24bit, clBlack);
  RowOf(SrcMask, 1)[2] = Grey(255);
  TBitmap Dst(4, 4, pf24bit, clBlack), DstMask(4, 4, pf24bit, RGB(90, 90, 90));
  PaintBitmapOnLayer(Src, &SrcMask, WholeBitmapRect, Dst, &DstMask, 0, 0, WholeBitmapRect, 100);
  EXPECT_EQ(RowOf(Dst, 1)[2], Grey(0));
  EXPECT_EQ(RowOf(DstMask, 1)[2], Grey(90));
  EXPECT_EQ(RowOf(Dst, 1)[1], Grey(255));
  EXPECT_EQ(RowOf(DstMask, 1)[1], Grey(0));
}

TEST(LayerPaint, FillColorOnLayer) {
  TBitmap Dst(6, 6), Before;
  FillRandom(Dst, 7);
  Before.Assign(Dst);
  FillColorOnLayer(clRed, Dst, nullptr, WholeBitmapRect, 0);
  EXPECT_IMAGES_MATCH(Dst, Before);
  FillColorOnLayer(clRed, Dst, nullptr, {1, 1, 3, 3}, 100);
  EXPECT_EQ(RowOf(Dst, 2)[2], (TRGB{0, 0, 255}));
  EXPECT_EQ(RowOf(Dst, 3)[3], RowOf(Before, 3)[3]);

  // Erasing an opaque target: a mask of zeros or no mask give the same pixels.
  TBitmap A, B, Zeros(6, 6, pf24bit, clBlack);
  A.Assign(Before);
  B.Assign(Before);
  FillColorOnLayer(RGB(10, 200, 90), A, &Zeros, WholeBitmapRect, -100);
  FillColorOnLayer(RGB(10, 200, 90), B, nullptr, WholeBitmapRect, -100);
  EXPECT_IMAGES_MATCH(A, B);
  TBitmap StillZeros(6, 6, pf24bit, clBlack);
  EXPECT_IMAGES_MATCH(Zeros, StillZeros);

  // Painting on a transparent target builds its coverage.
  TBitmap Layer(3, 3, pf24bit, clBlack), Mask(3, 3, pf24bit, clWhite);
  FillColorOnLayer(clWhite, Layer, &Mask, WholeBitmapRect, 40);
  EXPECT_EQ(RowOf(Layer, 1)[1], Grey(255));
  EXPECT_EQ(RowOf(Mask, 1)[1], Grey(255 - 102));
}

TEST(LayerPaint, BlendFillColorOnLayer) {
  TBitmap Dst(4, 4, pf24bit, RGB(200, 100, 50));
  BlendFillColorOnLayer(RGB(128, 255, 0), 6, Dst, nullptr, WholeBitmapRect, 100);
  EXPECT_EQ(RowOf(Dst, 0)[0], (TRGB{0, 100, 100}));
  EXPECT_EQ(CurrentBlendMode(), 6);
  // Mode 0 paints plainly; a negative opacity erases through the blend mode.
  TBitmap P(2, 2, pf24bit, RGB(200, 200, 200)), Mask(2, 2, pf24bit, clBlack);
  BlendFillColorOnLayer(RGB(128, 128, 128), 6, P, &Mask, WholeBitmapRect, -100);
  EXPECT_EQ(RowOf(P, 0)[0], Grey(255)); // R = 100, pushed to 300 and clamped
  BlendFillColorOnLayer(RGB(10, 10, 10), 256, P, &Mask, WholeBitmapRect, 100);
  EXPECT_EQ(RowOf(P, 1)[1], Grey(10));
}

TEST(LayerPaint, PaintColorOnLayerThroughMasks) {
  // A 3 x 3 brush with a transparent centre, placed at (1, 1).
  TBitmap Brush(3, 3, pf24bit, clBlack);
  RowOf(Brush, 1)[1] = Grey(255);
  TBitmap Dst(5, 5, pf24bit, clBlack), Mask(5, 5, pf24bit, clWhite);
  PaintColorOnLayer(Brush, clWhite, WholeBitmapRect, Dst, &Mask, 1, 1, WholeBitmapRect, 100, nullptr);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 5; ++X) {
      const bool Painted = X >= 1 && X <= 3 && Y >= 1 && Y <= 3 && !(X == 2 && Y == 2);
      EXPECT_EQ(RowOf(Mask, Y)[X], Grey(Painted ? 0 : 255)) << X << "," << Y;
    }

  // A 2 x 2 extra mask repeats from the target's origin whatever the area.
  TBitmap Extra(2, 2, pf24bit, clBlack);
  RowOf(Extra, 0)[1] = Grey(255);
  TBitmap Full(5, 5, pf24bit, clBlack), Target(5, 5, pf24bit, clBlack);
  PaintColorOnLayer(Full, clWhite, WholeBitmapRect, Target, nullptr, 0, 0, {1, 1, 5, 5}, 100, &Extra);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 5; ++X) {
      const bool Painted = X >= 1 && Y >= 1 && !(X % 2 == 1 && Y % 2 == 0);
      EXPECT_EQ(RowOf(Target, Y)[X], Grey(Painted ? 255 : 0)) << X << "," << Y;
    }
}

TEST(LayerPaint, PaintPatternOnLayer) {
  TBitmap Pattern(4, 4);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) RowOf(Pattern, Y)[X] = {uint8_t(X), uint8_t(Y), 0};
  auto Columns = [&](int OrgX, int OrgY, TRect R) {
    TBitmap Dst(8, 3, pf24bit, RGB(0, 0, 99));
    PaintPatternOnLayer(Pattern, nullptr, Dst, nullptr, OrgX, OrgY, R, 100, nullptr);
    std::vector<int> Out;
    for (int X = 0; X < 8; ++X) Out.push_back(RowOf(Dst, 0)[X].Blue);
    Out.push_back(RowOf(Dst, 0)[R.Left].Green); // the pattern row
    return Out;
  };
  EXPECT_EQ(Columns(1, 0, {0, 0, 8, 1}), (std::vector<int>{3, 0, 1, 2, 3, 0, 1, 2, 0}));
  // The tiling hangs on the origin, not on the rectangle.
  EXPECT_EQ(Columns(-6, 5, {2, 0, 8, 1}), (std::vector<int>{99, 99, 0, 1, 2, 3, 0, 1, 3}));

  // The pattern's mask; an empty pattern paints nothing.
  TBitmap PMask(4, 4, pf24bit, clBlack);
  RowOf(PMask, 0)[2] = Grey(255);
  TBitmap Dst(8, 1, pf24bit, RGB(0, 0, 99)), Before;
  Before.Assign(Dst);
  PaintPatternOnLayer(Pattern, &PMask, Dst, nullptr, 0, 0, WholeBitmapRect, 100, nullptr);
  EXPECT_EQ(RowOf(Dst, 0)[2], (TRGB{99, 0, 0}));
  EXPECT_EQ(RowOf(Dst, 0)[3].Blue, 3);
  TBitmap Empty, Dst2;
  Dst2.Assign(Before);
  PaintPatternOnLayer(Empty, nullptr, Dst2, nullptr, 0, 0, WholeBitmapRect, 100, nullptr);
  EXPECT_IMAGES_MATCH(Dst2, Before);
}

TEST(LayerPaint, TargetMaskSmallerThanTargetLimitsThePainting) {
  TBitmap Dst(6, 6, pf24bit, clBlack), Mask(3, 2, pf24bit, clBlack);
  FillColorOnLayer(clWhite, Dst, &Mask, WholeBitmapRect, 100);
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 6; ++X) EXPECT_EQ(RowOf(Dst, Y)[X], Grey(X < 3 && Y < 2 ? 255 : 0)) << X << "," << Y;
}

TEST(LayerPaint, PaintingALayerOntoItselfReadsTheOriginal) {
  TBitmap Layer(12, 9), Mask(12, 9), Copy, CopyMask, Want, WantMask;
  FillRandom(Layer, 30);
  FillGrey(Mask, 31);
  Copy.Assign(Layer);
  CopyMask.Assign(Mask);
  Want.Assign(Layer);
  WantMask.Assign(Mask);
  BlendBitmapOnLayer(Copy, &CopyMask, WholeBitmapRect, 4, Want, &WantMask, 2, 1, WholeBitmapRect, 90);
  BlendBitmapOnLayer(Layer, &Mask, WholeBitmapRect, 4, Layer, &Mask, 2, 1, WholeBitmapRect, 90);
  EXPECT_IMAGES_MATCH(Layer, Want, 0, "colour");
  EXPECT_IMAGES_MATCH(Mask, WantMask, 0, "mask");
}

// Positions at the ends of the int range place the source wholly outside the
// target: nothing is painted, and the sizes added to them must not overflow.
TEST(LayerPaint, PositionsAtTheEndsOfTheIntRangePaintNothing) {
  TBitmap Src(10, 10, pf24bit, clWhite), Brush(10, 10, pf24bit, clBlack), Dst(20, 20, pf24bit, clBlack),
      Mask(20, 20, pf24bit, clWhite), Before, MaskBefore;
  Before.Assign(Dst);
  MaskBefore.Assign(Mask);
  for (auto [X, Y] : {std::pair{INT_MAX - 2, 0}, std::pair{0, INT_MAX - 2}, std::pair{INT_MAX, INT_MAX},
                      std::pair{INT_MIN, 0}, std::pair{0, INT_MIN}}) {
    const std::string At = std::to_string(X) + "," + std::to_string(Y);
    BlendBitmapOnLayer(Src, nullptr, WholeBitmapRect, 4, Dst, &Mask, X, Y, WholeBitmapRect, 100);
    PaintBitmapOnLayer(Src, nullptr, WholeBitmapRect, Dst, &Mask, X, Y, WholeBitmapRect, 100);
    PaintColorOnLayer(Brush, clWhite, WholeBitmapRect, Dst, &Mask, X, Y, WholeBitmapRect, 100, nullptr);
    EXPECT_IMAGES_MATCH(Dst, Before, 0, "colours at " + At);
    EXPECT_IMAGES_MATCH(Mask, MaskBefore, 0, "mask at " + At);
  }
}
