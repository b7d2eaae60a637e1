#include "raster/Stretching.h"
#include "ProgressTestSupport.h"
#include "raster/Bitmap24.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace {

void Random24(TBitmap& B, int W, int H, unsigned Seed) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  FillRandom(B, Seed);
}

// A grey mask with random values, a quarter of them 255 and a quarter 0.
void RandomMask(TBitmap& M, int W, int H, unsigned Seed) {
  Random24(M, W, H, Seed);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const uint8_t V = Px(M, X, Y).Blue;
      SetPx(M, X, Y, Grey(V < 64 ? 0 : V > 191 ? 255 : V));
    }
}

// ---- A plain reference of the nearest-neighbour mapping ----------------------------
// Pixel(d, s, sx, sy) for every destination pixel inside DstClip, DstRect and
// Dst, with the source position from the formula (SrcRect already clipped).
using PixelFn = std::function<void(TRGB&, TRGB, int, int)>;

TRect RefClip(TRect R, const TBitmap& B) {
  R = {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right), std::max(R.Top, R.Bottom)};
  return IntersectRect(R, {0, 0, B.Width(), B.Height()});
}

void RefNearest(const TBitmap& Src, TRect SrcRect, TBitmap& Dst, const TRect& DstRect, const TRect& DstClip,
                const PixelFn& Pixel) {
  SrcRect = RefClip(SrcRect, Src);
  const TRect Clip = RefClip(DstClip, Dst);
  if (SrcRect.IsEmpty() || DstRect.IsEmpty() || Clip.IsEmpty()) return;
  const double SX = double(DstRect.Right - DstRect.Left) / SrcRect.Width();
  const double SY = double(DstRect.Bottom - DstRect.Top) / SrcRect.Height();
  for (int Y = 0; Y < Dst.Height(); ++Y)
    for (int X = 0; X < Dst.Width(); ++X) {
      if (!PtInRect(Clip, {X, Y}) || !PtInRect(DstRect, {X, Y})) continue;
      const int FX = std::min(int(std::trunc((X - DstRect.Left) / SX + SrcRect.Left)), SrcRect.Right - 1);
      const int FY = std::min(int(std::trunc((Y - DstRect.Top) / SY + SrcRect.Top)), SrcRect.Bottom - 1);
      Pixel(RowOf(Dst, Y)[X], Px(Src, FX, FY), FX, FY);
    }
}

uint8_t MaskAt(const TBitmap& M, int X, int Y) { return X < M.Width() && Y < M.Height() ? Px(M, X, Y).Blue : 255; }

struct Geometry {
  TRect SrcRect, DstRect, DstClip;
};

// Enlarging, reducing, mixed, partly outside, reversed source, clipped.
const Geometry Geometries[] = {
    {WholeBitmapRect, {0, 0, 29, 23}, WholeBitmapRect}, {{3, 2, 14, 11}, {-4, 5, 20, 9}, WholeBitmapRect},
    {{-5, -5, 8, 30}, {2, 1, 27, 30}, {4, 3, 19, 18}},  {{15, 12, 1, 0}, {1, 2, 6, 40}, WholeBitmapRect},
    {WholeBitmapRect, {5, 5, 6, 6}, WholeBitmapRect},   {{2, 3, 3, 4}, {0, 0, 31, 27}, {10, 0, 100, 13}},
};

TEST(StretchingTest, NearestFollowsTheMapping) {
  TBitmap Src, Mask;
  Random24(Src, 16, 13, 1);
  RandomMask(Mask, 16, 13, 2);
  const TRGB Key = Px(Src, 4, 4);
  for (const Geometry& G : Geometries) {
    struct Routine {
      const char* Name;
      std::function<void(TBitmap&)> Run;
      PixelFn Ref;
    };
    const Routine Routines[] = {
        {"plain", [&](TBitmap& D) { StretchRect24(Src, G.SrcRect, D, G.DstRect, G.DstClip); },
         [](TRGB& D, TRGB S, int, int) { D = S; }},
        {"opacity", [&](TBitmap& D) { StretchRect24Opacity(Src, G.SrcRect, D, G.DstRect, G.DstClip, 37); },
         [](TRGB& D, TRGB S, int, int) { MixPercent(D, S, 37); }},
        {"mask", [&](TBitmap& D) { StretchRect24Mask(Src, G.SrcRect, D, G.DstRect, G.DstClip, &Mask); },
         [&](TRGB& D, TRGB S, int X, int Y) {
           if (MaskAt(Mask, X, Y) != 255) MixMask(D, S, Grey(MaskAt(Mask, X, Y)));
         }},
        {"mask opacity",
         [&](TBitmap& D) { StretchRect24MaskOpacity(Src, G.SrcRect, D, G.DstRect, G.DstClip, 61, &Mask); },
         [&](TRGB& D, TRGB S, int X, int Y) {
           if (MaskAt(Mask, X, Y) != 255) MixMaskPercent(D, S, Grey(MaskAt(Mask, X, Y)), 61);
         }},
        {"colour key",
         [&](TBitmap& D) { StretchRect24ColorKey(Src, G.SrcRect, D, G.DstRect, G.DstClip, 80, TRGBToColor(Key), 20); },
         [&](TRGB& D, TRGB S, int, int) { MixPercentColorKey(D, S, 80, Key, 20); }},
    };
    for (const Routine& R : Routines) {
      TBitmap Actual, Expected;
      Random24(Actual, 31, 27, 3);
      Expected.Assign(Actual);
      R.Run(Actual);
      RefNearest(Src, G.SrcRect, Expected, G.DstRect, G.DstClip, R.Ref);
      EXPECT_IMAGES_MATCH(Actual, Expected, 0, std::string("stretch-") + R.Name);
    }
  }
}

TEST(StretchingTest, NearestPicksTheListedPixels) {
  // 2 x 2 onto 4 x 4: 2 x 2 blocks; 4 x 4 onto 2 x 2: columns and rows 0 and 2.
  TBitmap Small, Big(4, 4), Back(2, 2);
  Random24(Small, 2, 2, 4);
  StretchRect24(Small, WholeBitmapRect, Big, {0, 0, 4, 4}, WholeBitmapRect);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) EXPECT_EQ(Px(Big, X, Y), Px(Small, X / 2, Y / 2));
  Random24(Big, 4, 4, 5);
  StretchRect24(Big, WholeBitmapRect, Back, {0, 0, 2, 2}, WholeBitmapRect);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 2; ++X) EXPECT_EQ(Px(Back, X, Y), Px(Big, 2 * X, 2 * Y));
  // 3 x 1 onto 4 x 1: FX = 0, 0.75, 1.5, 2.25.
  TBitmap Three, Four(4, 1);
  Random24(Three, 3, 1, 6);
  StretchRect24(Three, WholeBitmapRect, Four, {0, 0, 4, 1}, WholeBitmapRect);
  const int Columns[] = {0, 0, 1, 2};
  for (int X = 0; X < 4; ++X) EXPECT_EQ(Px(Four, X, 0), Px(Three, Columns[X], 0));
}

TEST(StretchingTest, DispatchAndLimits) {
  TBitmap Src, Mask, Base;
  Random24(Src, 9, 7, 7);
  RandomMask(Mask, 9, 7, 8);
  Random24(Base, 20, 15, 9);
  const TRect D{1, 2, 19, 14};
  // Base after F.
  const auto Run = [&](const std::function<void(TBitmap&)>& F) {
    auto B = std::make_unique<TBitmap>();
    B->Assign(Base);
    F(*B);
    return B;
  };
  TBitmap Plain;
  Plain.Assign(Base);
  StretchRect24(Src, WholeBitmapRect, Plain, D, WholeBitmapRect);
  // Opacity 0 draws nothing, 100 and above is the plain stretch.
  EXPECT_IMAGES_MATCH(*Run([&](TBitmap& B) { StretchRect24Opacity(Src, WholeBitmapRect, B, D, WholeBitmapRect, 0); }),
                      Base);
  EXPECT_IMAGES_MATCH(*Run([&](TBitmap& B) { StretchRect24Opacity(Src, WholeBitmapRect, B, D, WholeBitmapRect, 250); }),
                      Plain);
  // No mask is the stretch without one; an empty mask too.
  TBitmap Empty;
  EXPECT_IMAGES_MATCH(*Run([&](TBitmap& B) { StretchRect24Mask(Src, WholeBitmapRect, B, D, WholeBitmapRect, &Empty); }),
                      Plain);
  const std::unique_ptr<TBitmap> Half =
      Run([&](TBitmap& B) { StretchRect24Opacity(Src, WholeBitmapRect, B, D, WholeBitmapRect, 50); });
  EXPECT_IMAGES_MATCH(
      *Run([&](TBitmap& B) { StretchRect24MaskOpacity(Src, WholeBitmapRect, B, D, WholeBitmapRect, 50, nullptr); }),
      *Half);
  EXPECT_IMAGES_MATCH(
      *Run([&](TBitmap& B) { StretchRect24MaskOpacity(Src, WholeBitmapRect, B, D, WholeBitmapRect, 100, &Mask); }),
      *Run([&](TBitmap& B) { StretchRect24Mask(Src, WholeBitmapRect, B, D, WholeBitmapRect, &Mask); }));
  // The colour key: clNone is the opacity stretch, a negative tolerance is 0.
  EXPECT_IMAGES_MATCH(
      *Run([&](TBitmap& B) { StretchRect24ColorKey(Src, WholeBitmapRect, B, D, WholeBitmapRect, 50, clNone, 30); }),
      *Half);
  const TColor Key = TRGBToColor(Px(Src, 3, 3));
  EXPECT_IMAGES_MATCH(
      *Run([&](TBitmap& B) { StretchRect24ColorKey(Src, WholeBitmapRect, B, D, WholeBitmapRect, 100, Key, -5); }),
      *Run([&](TBitmap& B) { StretchRect24ColorKey(Src, WholeBitmapRect, B, D, WholeBitmapRect, 100, Key, 0); }));
  // An empty or reversed DstRect, a clip outside Dst, or another format: nothing.
  for (const TRect& R : {TRect{5, 5, 5, 9}, TRect{9, 9, 2, 2}})
    EXPECT_IMAGES_MATCH(*Run([&](TBitmap& B) { StretchRect24(Src, WholeBitmapRect, B, R, WholeBitmapRect); }), Base);
  EXPECT_IMAGES_MATCH(*Run([&](TBitmap& B) { StretchRect24(Src, WholeBitmapRect, B, D, {30, 0, 40, 10}); }), Base);
  TBitmap Other(9, 7, pf32bit, clRed);
  EXPECT_IMAGES_MATCH(*Run([&](TBitmap& B) { StretchRect24(Other, WholeBitmapRect, B, D, WholeBitmapRect); }), Base);
}

TEST(StretchingTest, EqualSizesCopy) {
  // The source rectangle lands pixel for pixel at DstRect's corner, inside
  // the clip, through the mask and opacity.
  TBitmap Src, Mask, Base;
  Random24(Src, 12, 10, 11);
  RandomMask(Mask, 12, 10, 12);
  Random24(Base, 14, 12, 13);
  const TRect SrcRect{2, 1, 9, 8}, DstRect{5, 4, 12, 11}, Clip{0, 6, 11, 14};
  struct Case {
    std::function<void(TBitmap&)> Run;
    std::function<void(TRGB&, TRGB, uint8_t)> Mix;
  };
  const Case Cases[] = {
      {[&](TBitmap& B) { StretchRect24(Src, SrcRect, B, DstRect, Clip); }, [](TRGB& D, TRGB S, uint8_t) { D = S; }},
      {[&](TBitmap& B) { StretchRect24Bilinear(Src, SrcRect, B, DstRect, Clip); },
       [](TRGB& D, TRGB S, uint8_t) { D = S; }},
      {[&](TBitmap& B) { StretchRect24Bicubic(Src, SrcRect, B, DstRect, Clip); },
       [](TRGB& D, TRGB S, uint8_t) { D = S; }},
      {[&](TBitmap& B) { StretchRect24Interpolated(Src, SrcRect, B, DstRect, Clip, amLagrange, 40, &Mask); },
       [](TRGB& D, TRGB S, uint8_t M) { MixMaskPercent(D, S, Grey(M), 40); }},
      {[&](TBitmap& B) { StretchRect24MaskOpacity(Src, SrcRect, B, DstRect, Clip, 70, &Mask); },
       [](TRGB& D, TRGB S, uint8_t M) {
         if (M != 255) MixMaskPercent(D, S, Grey(M), 70);
       }},
  };
  for (const Case& C : Cases) {
    TBitmap Actual, Expected;
    Actual.Assign(Base);
    Expected.Assign(Base);
    C.Run(Actual);
    for (int Y = 0; Y < 12; ++Y)
      for (int X = 0; X < 14; ++X)
        if (PtInRect(DstRect, {X, Y}) && PtInRect(Clip, {X, Y})) {
          const int SX = X - 3, SY = Y - 3;
          C.Mix(RowOf(Expected, Y)[X], Px(Src, SX, SY), Px(Mask, SX, SY).Blue);
        }
    EXPECT_IMAGES_MATCH(Actual, Expected);
  }
}

TEST(StretchingTest, MasksSmallerThanTheSourceAreTransparentBeyond) {
  TBitmap Src(6, 6, pf24bit, clWhite), Mask(3, 2, pf24bit, clBlack), Dst(12, 12, pf24bit, clBlack);
  StretchRect24Mask(Src, WholeBitmapRect, Dst, {0, 0, 12, 12}, WholeBitmapRect, &Mask);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X) ASSERT_EQ(Px(Dst, X, Y), Grey(X < 6 && Y < 4 ? 255 : 0)) << X << ", " << Y;
}

TEST(StretchingTest, Silhouette) {
  TBitmap Src(2, 2, pf24bit, clBlack), Dst(4, 4, pf24bit, clBlue);
  SetPx(Src, 1, 0, Grey(255));
  StretchSilhouette24(Src, WholeBitmapRect, Dst, {0, 0, 4, 4}, WholeBitmapRect, clRed);
  EXPECT_IMAGES_MATCH(Dst, TBitmap(4, 4, pf24bit, clBlue)); // not transparent: nothing
  Src.Transparent = true;
  Src.SetTransparentColor(clWhite);
  StretchSilhouette24(Src, WholeBitmapRect, Dst, {0, 0, 4, 4}, WholeBitmapRect, clRed);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X)
      EXPECT_EQ(Px(Dst, X, Y), (X >= 2 && Y < 2 ? TRGB{0, 0, 255} : TRGB{255, 0, 0})) << X << ", " << Y;
  // No equal-size copy: at the same size only the key pixels change.
  TBitmap Same(2, 2, pf24bit, clBlue);
  StretchSilhouette24(Src, WholeBitmapRect, Same, {0, 0, 2, 2}, WholeBitmapRect, clRed);
  EXPECT_EQ(Px(Same, 0, 0), (TRGB{255, 0, 0}));
  EXPECT_EQ(Px(Same, 1, 0), (TRGB{0, 0, 255}));
}

TEST(StretchingTest, Bilinear) {
  // Black and white onto 4 pixels: FX = 0, 0.5, 1, 1.5.
  TBitmap Src(2, 1, pf24bit, clBlack), Dst(4, 1);
  SetPx(Src, 1, 0, Grey(255));
  StretchRect24Bilinear(Src, WholeBitmapRect, Dst, {0, 0, 4, 1}, WholeBitmapRect);
  const uint8_t Expected[] = {0, 128, 255, 255};
  for (int X = 0; X < 4; ++X) EXPECT_EQ(Px(Dst, X, 0), Grey(Expected[X])) << X;

  // Any geometry: the four neighbours, held to SrcRect, mixed by BilinearTRGB.
  TBitmap Image;
  Random24(Image, 16, 13, 14);
  for (const Geometry& G : Geometries) {
    TBitmap Actual, Ref;
    Random24(Actual, 31, 27, 15);
    Ref.Assign(Actual);
    StretchRect24Bilinear(Image, G.SrcRect, Actual, G.DstRect, G.DstClip);
    const TRect S = RefClip(G.SrcRect, Image);
    const double SX = double(G.DstRect.Right - G.DstRect.Left) / S.Width();
    const double SY = double(G.DstRect.Bottom - G.DstRect.Top) / S.Height();
    if (S.Width() == G.DstRect.Right - G.DstRect.Left && S.Height() == G.DstRect.Bottom - G.DstRect.Top) continue;
    for (int Y = 0; Y < 27; ++Y)
      for (int X = 0; X < 31; ++X) {
        if (!PtInRect(RefClip(G.DstClip, Ref), {X, Y}) || !PtInRect(G.DstRect, {X, Y})) continue;
        const double FX = (X - G.DstRect.Left) / SX + S.Left, FY = (Y - G.DstRect.Top) / SY + S.Top;
        const int X0 = std::min(int(FX), S.Right - 1), Y0 = std::min(int(FY), S.Bottom - 1);
        const int X1 = std::min(X0 + 1, S.Right - 1), Y1 = std::min(Y0 + 1, S.Bottom - 1);
        SetPx(
            Ref, X, Y,
            BilinearTRGB(Px(Image, X0, Y0), Px(Image, X1, Y0), Px(Image, X0, Y1), Px(Image, X1, Y1), FX - X0, FY - Y0));
      }
    EXPECT_IMAGES_MATCH(Actual, Ref);
  }
}

TEST(StretchingTest, InterpolatedSamplesAtTheMappedPositions) {
  // Against the samplers read one pixel at a time at the formula's positions.
  TBitmap Image, Mask;
  Random24(Image, 16, 13, 16);
  RandomMask(Mask, 16, 13, 17);
  for (TAntialiasMode Mode : {amNearest, amBilinear, amBicubic, amMitchell, amLagrange})
    for (const Geometry& G : Geometries)
      for (const TBitmap* M : {static_cast<const TBitmap*>(nullptr), static_cast<const TBitmap*>(&Mask)}) {
        TBitmap Actual, Ref;
        Random24(Actual, 31, 27, 18);
        Ref.Assign(Actual);
        StretchRect24Interpolated(Image, G.SrcRect, Actual, G.DstRect, G.DstClip, Mode, 75, M);
        const TRect S = RefClip(G.SrcRect, Image);
        if (S.Width() == G.DstRect.Right - G.DstRect.Left && S.Height() == G.DstRect.Bottom - G.DstRect.Top) continue;
        TScanLinesManagerEx Lines(Image, S), MaskLines(Mask, S);
        Lines.SetPixelsInLimits(true);
        Lines.SetAntialiasMode(Mode);
        MaskLines.SetAntialiasMode(Mode == amNearest ? amNearest : amBilinear);
        const double SX = double(G.DstRect.Right - G.DstRect.Left) / S.Width();
        const double SY = double(G.DstRect.Bottom - G.DstRect.Top) / S.Height();
        for (int Y = 0; Y < 27; ++Y)
          for (int X = 0; X < 31; ++X) {
            if (!PtInRect(RefClip(G.DstClip, Ref), {X, Y}) || !PtInRect(G.DstRect, {X, Y})) continue;
            const double FX = (X - G.DstRect.Left) / SX + S.Left, FY = (Y - G.DstRect.Top) / SY + S.Top;
            TRGB& D = RowOf(Ref, Y)[X];
            if (M)
              MixMaskPercent(D, Lines.GetPixel_A(FX, FY), MaskLines.GetPixel_A(FX, FY), 75);
            else
              MixPercent(D, Lines.GetPixel_A(FX, FY), 75);
          }
        EXPECT_IMAGES_MATCH(Actual, Ref, 0, "interpolated-" + std::to_string(Mode));
      }
}

TEST(StretchingTest, InterpolatedMaskIsTransparentBeyondSrcRect) {
  // An opaque 2 x 2 mask doubled: the last column and row blend their mask
  // sample with the white beyond SrcRect.
  TBitmap Src(2, 2, pf24bit, clWhite), Mask(2, 2, pf24bit, clBlack), Dst(4, 4, pf24bit, clBlack);
  StretchRect24Interpolated(Src, WholeBitmapRect, Dst, {0, 0, 4, 4}, WholeBitmapRect, amBicubic, 100, &Mask);
  EXPECT_EQ(Px(Dst, 2, 0), Grey(255));
  EXPECT_EQ(Px(Dst, 3, 0), Grey(127)); // m = 128 at FX = 1.5
  EXPECT_EQ(Px(Dst, 3, 3), Grey(64));  // m = 191 at (1.5, 1.5)
  // The Bicubic stretch is the interpolated one at 100 without a mask.
  TBitmap Image, A(23, 19, pf24bit, clBlack), B(23, 19, pf24bit, clBlack);
  Random24(Image, 10, 8, 19);
  StretchRect24Bicubic(Image, {1, 1, 9, 7}, A, {2, 3, 21, 18}, WholeBitmapRect);
  StretchRect24Interpolated(Image, {1, 1, 9, 7}, B, {2, 3, 21, 18}, WholeBitmapRect, amBicubic, 100, nullptr);
  EXPECT_IMAGES_MATCH(A, B);
}

TEST(StretchingTest, SourceAsDestinationReadsTheOldPixels) {
  TBitmap Image, Copy, Expected;
  Random24(Image, 12, 12, 20);
  Copy.Assign(Image);
  Expected.Assign(Image);
  StretchRect24(Copy, {0, 0, 6, 6}, Expected, {2, 2, 12, 12}, WholeBitmapRect);
  StretchRect24(Image, {0, 0, 6, 6}, Image, {2, 2, 12, 12}, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Image, Expected);
  Image.Assign(Copy);
  Expected.Assign(Copy);
  StretchRect24Bilinear(Copy, {0, 0, 6, 6}, Expected, {2, 2, 12, 12}, WholeBitmapRect);
  StretchRect24Bilinear(Image, {0, 0, 6, 6}, Image, {2, 2, 12, 12}, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Image, Expected);
}

TEST(StretchingTest, Halftone) {
  // 4 x 4 onto 2 x 2: each pixel the mean of a 2 x 2 block; the canvas clip
  // is honoured and left as it was.
  TBitmap Src(4, 4, pf24bit, clBlack), Dst(3, 3, pf24bit, clBlue);
  SetPx(Src, 0, 0, Grey(200));
  SetPx(Src, 1, 1, Grey(100));
  SetPx(Src, 3, 3, Grey(40));
  Dst.Canvas().SetClipRect({0, 0, 3, 2});
  StretchRectHalftone(Src, WholeBitmapRect, Dst, {1, 0, 3, 2}, WholeBitmapRect);
  EXPECT_EQ(Px(Dst, 1, 0), Grey(75));
  EXPECT_EQ(Px(Dst, 2, 1), Grey(10));
  EXPECT_EQ(Px(Dst, 0, 0), (TRGB{255, 0, 0}));
  EXPECT_EQ(Dst.Canvas().ClipRect(), (TRect{0, 0, 3, 2}));
  // DstClip and the canvas clip both limit it.
  StretchRectHalftone(Src, WholeBitmapRect, Dst, {0, 0, 3, 3}, {0, 0, 1, 3});
  EXPECT_NE(Px(Dst, 0, 0), (TRGB{255, 0, 0}));
  EXPECT_EQ(Px(Dst, 0, 2), (TRGB{255, 0, 0}));
  EXPECT_EQ(Px(Dst, 1, 0), Grey(75));
}

using StretchingProgressTest = TProgressFixture;

TEST_F(StretchingProgressTest, ACancelKeepsTheRowsDrawn) {
  TBitmap Src;
  Random24(Src, 10, 10, 21);
  for (int Routine = 0; Routine < 2; ++Routine) {
    TBitmap Full(20, 30, pf24bit, clBlack), Cut(20, 30, pf24bit, clBlack);
    const auto Draw = [&](TBitmap& D) {
      if (Routine == 0)
        StretchRect24Bilinear(Src, WholeBitmapRect, D, {0, 0, 20, 30}, WholeBitmapRect);
      else
        StretchRect24Interpolated(Src, WholeBitmapRect, D, {0, 0, 20, 30}, WholeBitmapRect, amMitchell, 100, nullptr);
    };
    Draw(Full);
    TCancelAt Sink(7); // set at row 6: row 7 is refused
    Install(Sink);
    Draw(Cut);
    TearDown();
    EXPECT_EQ(Sink.Begins, 1);
    for (int Y = 0; Y < 30; ++Y)
      for (int X = 0; X < 20; ++X) ASSERT_EQ(Px(Cut, X, Y), Y < 7 ? Px(Full, X, Y) : Grey(0)) << X << ", " << Y;
  }
  // Nothing to draw reports nothing.
  TCancelAt Sink(0);
  Install(Sink);
  TBitmap Dst(5, 5);
  StretchRect24Bilinear(Src, WholeBitmapRect, Dst, {0, 0, 0, 4}, WholeBitmapRect);
  StretchRect24Bicubic(Src, WholeBitmapRect, Dst, {0, 0, 4, 4}, {9, 9, 20, 20});
  EXPECT_EQ(Sink.Begins, 0);
}

} // namespace
