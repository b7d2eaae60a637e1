#include "raster/Bitmap24.h"
#include "platform/VectorDispatch.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace {

// ---- Plain references, written from the formulas -------------------------

// d + (s - d) * w div Div per channel, C++ division truncating toward zero.
TRGB RefMix(TRGB D, TRGB S, int W, int Div) {
  auto C = [&](int Dv, int Sv) { return static_cast<uint8_t>(Dv + (Sv - Dv) * W / Div); };
  return {C(D.Blue, S.Blue), C(D.Green, S.Green), C(D.Red, S.Red)};
}

bool RefNear(TRGB A, TRGB B, int Tol) {
  return std::abs(A.Blue - B.Blue) <= Tol && std::abs(A.Green - B.Green) <= Tol && std::abs(A.Red - B.Red) <= Tol;
}

// A rectangle normalised and cut to a W x H bitmap; empty when nothing is left.
TRect RefClip(const TRect& R, int W, int H) {
  const int64_t L = std::max<int64_t>(std::min(R.Left, R.Right), 0);
  const int64_t T = std::max<int64_t>(std::min(R.Top, R.Bottom), 0);
  const int64_t Rt = std::min<int64_t>(std::max(R.Left, R.Right), W);
  const int64_t B = std::min<int64_t>(std::max(R.Top, R.Bottom), H);
  if (Rt <= L || B <= T) return {};
  return {static_cast<int>(L), static_cast<int>(T), static_cast<int>(Rt), static_cast<int>(B)};
}

// Visits every destination pixel the placement paints, by testing each pixel
// of Dst rather than by computing the rectangle: F(x, y, sx, sy, rx, ry), rx
// and ry relative to the painted rectangle's top-left corner.
using PlacedFn = std::function<void(int64_t, int64_t, int64_t, int64_t, int64_t, int64_t)>;
void ForPlaced(int GW, int GH, const TRect& SrcRect, const TBitmap& Dst, int X, int Y, const TRect& DstClip,
               const PlacedFn& F) {
  const TRect S = RefClip(SrcRect, GW, GH);
  const TRect C = RefClip(DstClip, Dst.Width(), Dst.Height());
  if (S.IsEmpty() || C.IsEmpty()) return;
  const int64_t Left = std::max<int64_t>(C.Left, X), Top = std::max<int64_t>(C.Top, Y);
  for (int64_t Yd = C.Top; Yd < C.Bottom; ++Yd)
    for (int64_t Xd = C.Left; Xd < C.Right; ++Xd) {
      const int64_t Sx = Xd - X + S.Left, Sy = Yd - Y + S.Top;
      if (Sx >= S.Left && Sx < S.Right && Sy >= S.Top && Sy < S.Bottom) F(Xd, Yd, Sx, Sy, Xd - Left, Yd - Top);
    }
}

// The mask byte at (X, Y): the first byte, 255 outside the mask.
int MaskAt(const TBitmap* Mask, int64_t X, int64_t Y) {
  if (!Mask || X >= Mask->Width() || Y >= Mask->Height()) return 255;
  return Mask->ScanLine(static_cast<int>(Y))[3 * X];
}

int64_t PosMod(int64_t A, int64_t B) { return ((A % B) + B) % B; }

// ---- Fixtures ----------------------------------------------------------------

TBitmap* Random(TBitmap& B, int W, int H, unsigned Seed) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  FillRandom(B, Seed);
  return &B;
}

// A mask whose rows show every case the routines tell apart: all 0, all 255,
// random grey, random grey with runs of 0 and 255, and random bytes that are
// not grey (only the first byte counts).
void MakeMask(TBitmap& M, int W, int H, unsigned Seed) {
  M.SetPixelFormat(pf24bit);
  M.SetSize(W, H);
  std::mt19937 G(Seed);
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* Row = M.ScanLine(Y);
    for (int X = 0; X < W; ++X) {
      uint8_t V;
      switch (Y % 5) {
      case 0:
        V = 0;
        break;
      case 1:
        V = 255;
        break;
      case 2:
        V = static_cast<uint8_t>(G());
        break;
      case 3:
        V = (X / 7) % 3 == 0 ? 0 : (X / 7) % 3 == 1 ? 255 : static_cast<uint8_t>(G());
        break;
      default:
        Row[3 * X] = static_cast<uint8_t>(G());
        Row[3 * X + 1] = static_cast<uint8_t>(G());
        Row[3 * X + 2] = static_cast<uint8_t>(G());
        continue;
      }
      Row[3 * X] = Row[3 * X + 1] = Row[3 * X + 2] = V;
    }
  }
}

TBitmap Solid(int W, int H, TColor C) { return TBitmap(W, H, pf24bit, C); }

// Rectangles and positions every placement routine must take safely.
const TRect RectCases[] = {WholeBitmapRect,
                           {30, 20, 3, 2},
                           {-5, -4, 12, 9},
                           {100, 100, 200, 200},
                           {2, 3, 15, 11},
                           {5, 5, 5, 9},
                           {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                           {-9, 4, 1, INT_MAX}};
const TPoint PointCases[] = {{0, 0}, {-3, -3}, {5, 7}, {-100, 2}, {INT_MAX - 2, 0}, {INT_MIN, INT_MIN}, {20, -6}};

// Runs Routine and the reference on the same destination for every
// combination of the rectangle and position cases.
void ForEveryPlacement(const std::function<void(TBitmap&, const TRect&, int, int, const TRect&)>& Routine,
                       const std::function<void(TBitmap&, const TRect&, int, int, const TRect&)>& Reference,
                       int DstW = 26, int DstH = 19) {
  TBitmap Start;
  Random(Start, DstW, DstH, 99);
  for (const TRect& SrcRect : RectCases)
    for (const TRect& DstClip : RectCases)
      for (const TPoint& P : PointCases) {
        TBitmap Actual, Expected;
        Actual.Assign(Start);
        Expected.Assign(Start);
        Routine(Actual, SrcRect, P.X, P.Y, DstClip);
        Reference(Expected, SrcRect, P.X, P.Y, DstClip);
        ASSERT_TRUE(ImagesMatch(Actual, Expected))
            << "SrcRect " << ::testing::PrintToString(SrcRect) << " at " << ::testing::PrintToString(P) << " DstClip "
            << ::testing::PrintToString(DstClip);
      }
}

// The bulk routines run on the widest vector kernel the machine has; each
// reference test runs once more on the baseline kernel.
class Bitmap24Kernels : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override { ForceBaselineKernels(GetParam()); }
  void TearDown() override { ForceBaselineKernels(false); }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Bitmap24, Bitmap24Kernels, ::testing::Values(false, true),
                         [](const auto& Info) { return Info.param ? "Baseline" : "Widest"; });

// ---- Pixel helpers -------------------------------------------------------------

TEST(Bitmap24, PixelHelpersEdgeCases) {
  EXPECT_EQ(InvertTRGB({0, 100, 255}), (TRGB{255, 155, 0}));
  TBitmap B = Solid(3, 2, RGB(10, 20, 30));
  EXPECT_EQ(GetPixel24(B, 2, 1), (TRGB{30, 20, 10}));
  for (TPoint P : {TPoint{-1, 0}, TPoint{3, 0}, TPoint{0, 2}, TPoint{0, -1}, TPoint{INT_MIN, INT_MAX}})
    EXPECT_EQ(GetPixel24(B, P.X, P.Y), (TRGB{0, 0, 0})) << ::testing::PrintToString(P);

  struct NearCase {
    TRGB A, B;
    int Tolerance;
    bool Near;
  };
  for (const NearCase& C : {NearCase{{1, 2, 3}, {1, 2, 3}, 0, true}, NearCase{{1, 2, 3}, {1, 2, 4}, 0, false},
                            NearCase{{1, 2, 3}, {1, 2, 3}, -5, true}, NearCase{{1, 2, 3}, {2, 2, 3}, -5, false},
                            NearCase{{1, 2, 3}, {2, 2, 3}, 1, true}, NearCase{{10, 2, 3}, {0, 2, 3}, 9, false},
                            NearCase{{0, 0, 255}, {0, 0, 0}, 255, true}})
    EXPECT_EQ(TRGBNear(C.A, C.B, C.Tolerance), C.Near) << C.Tolerance;

  TRGB D{255, 255, 255};
  MixPercent(D, {0, 0, 0}, 50);
  EXPECT_EQ(D, (TRGB{128, 128, 128})); // 255 + (0 - 255) * 50 div 100 = 255 - 127
  struct MaskCase {
    int M;
    uint8_t Expected;
  };
  for (const MaskCase& C : {MaskCase{128, 127}, MaskCase{254, 1}, MaskCase{255, 0}, MaskCase{0, 255}}) {
    TRGB P{0, 0, 0};
    MixMask(P, {255, 255, 255}, {static_cast<uint8_t>(C.M), 0, 0});
    EXPECT_EQ(P, (TRGB{C.Expected, C.Expected, C.Expected})) << C.M;
  }
}

TEST(Bitmap24, MixHelpersMatchTheFormulasOnRandomPixels) {
  std::mt19937 G(7);
  auto Byte = [&] { return static_cast<uint8_t>(G()); };
  auto Pixel = [&] { return TRGB{Byte(), Byte(), Byte()}; };
  for (int I = 0; I < 20000; ++I) {
    const TRGB D = Pixel(), S = Pixel(), M = Pixel(), Key = Pixel();
    const int P = static_cast<int>(G() % 241) - 60; // -60..180
    const int Tol = static_cast<int>(G() % 40) - 5;
    const int Alpha = static_cast<int>(G() % 330) - 30;
    const int Pc = std::clamp(P, 0, 100);

    TRGB R = D;
    MixPercent(R, S, P);
    EXPECT_EQ(R, P >= 100 ? S : P <= 0 ? D : RefMix(D, S, P, 100));

    R = D;
    MixMask(R, S, M);
    EXPECT_EQ(R, RefMix(D, S, 255 - M.Blue, 255));

    R = D;
    MixMaskPercent(R, S, M, P);
    EXPECT_EQ(R, RefMix(D, S, (255 - M.Blue) * Pc / 100, 255));

    R = D;
    MixPercentColorKey(R, S, P, Key, Tol);
    EXPECT_EQ(R, RefNear(S, Key, Tol) ? D : RefMix(D, S, Pc, 100));

    R = D;
    MixAlphaMaskPercent(R, S, M, P);
    EXPECT_EQ(R, RefMix(D, S, Pc * M.Blue / 100, 255));

    R = D;
    MixAlpha(R, S, Alpha);
    EXPECT_EQ(R, RefMix(D, S, std::clamp(Alpha, 0, 255), 255));
  }
  // The key test is exact at tolerance 0: a pixel one off the key is mixed.
  TRGB R{0, 0, 0};
  MixPercentColorKey(R, {255, 255, 254}, 100, {255, 255, 255}, 0);
  EXPECT_EQ(R, (TRGB{255, 255, 254}));
}

// ---- Copies: every routine against the reference, for every rectangle -------

TEST_P(Bitmap24Kernels, CopiesMatchTheReferenceForAnyRectangle) {
  TBitmap Src;
  Random(Src, 23, 17, 1);
  TBitmap FullMask, SmallMask;
  MakeMask(FullMask, 23, 17, 2);
  MakeMask(SmallMask, 9, 6, 3); // smaller than the source: the rest counts as 255

  ForEveryPlacement([&](TBitmap& D, const TRect& S, int X, int Y, const TRect& C) { CopyRect24(Src, S, D, X, Y, C); },
                    [&](TBitmap& D, const TRect& S, int X, int Y, const TRect& C) {
                      ForPlaced(23, 17, S, D, X, Y, C, [&](auto Xd, auto Yd, auto Sx, auto Sy, auto, auto) {
                        SetPx(D, Xd, Yd, Px(Src, Sx, Sy));
                      });
                    });
  for (int Opacity : {-10, 0, 1, 37, 99, 100, 250})
    ForEveryPlacement([&](TBitmap& D, const TRect& S, int X, int Y,
                          const TRect& C) { CopyRect24Opacity(Src, S, D, X, Y, C, Opacity); },
                      [&](TBitmap& D, const TRect& S, int X, int Y, const TRect& C) {
                        if (Opacity <= 0) return;
                        ForPlaced(23, 17, S, D, X, Y, C, [&](auto Xd, auto Yd, auto Sx, auto Sy, auto, auto) {
                          SetPx(D, Xd, Yd, RefMix(Px(D, Xd, Yd), Px(Src, Sx, Sy), std::min(Opacity, 100), 100));
                        });
                      });
  for (const TBitmap* Mask : {&FullMask, &SmallMask})
    for (int Opacity : {-1, 0, 1, 50, 100, 180}) {
      ForEveryPlacement(
          [&](TBitmap& D, const TRect& S, int X, int Y, const TRect& C) {
            if (Opacity == 100)
              CopyRect24Mask(Src, S, D, X, Y, C, Mask);
            else
              CopyRect24MaskOpacity(Src, S, D, X, Y, C, Opacity, Mask);
          },
          [&](TBitmap& D, const TRect& S, int X, int Y, const TRect& C) {
            if (Opacity <= 0) return;
            ForPlaced(23, 17, S, D, X, Y, C, [&](auto Xd, auto Yd, auto Sx, auto Sy, auto, auto) {
              const int M = MaskAt(Mask, Sx, Sy);
              if (M == 255) return;
              const int W = (255 - M) * std::min(Opacity, 100) / 100;
              SetPx(D, Xd, Yd, RefMix(Px(D, Xd, Yd), Px(Src, Sx, Sy), W, 255));
            });
          });
    }
  // Keys: a source with many exact and near key pixels.
  TBitmap Keyed;
  Keyed.Assign(Src);
  for (int Y = 0; Y < 17; ++Y)
    for (int X = 0; X < 23; X += 2) SetPx(Keyed, X, Y, {static_cast<uint8_t>(250 + (X + Y) % 6), 255, 255});
  for (int Tolerance : {-1, 0, 3, 40})
    for (int Opacity : {0, 60, 100, 130})
      ForEveryPlacement([&](TBitmap& D, const TRect& S, int X, int Y,
                            const TRect& C) { CopyRect24ColorKey(Keyed, S, D, X, Y, C, Opacity, clWhite, Tolerance); },
                        [&](TBitmap& D, const TRect& S, int X, int Y, const TRect& C) {
                          if (Opacity <= 0) return;
                          ForPlaced(23, 17, S, D, X, Y, C, [&](auto Xd, auto Yd, auto Sx, auto Sy, auto, auto) {
                            const TRGB Sp = Px(Keyed, Sx, Sy);
                            if (!RefNear(Sp, {255, 255, 255}, Tolerance))
                              SetPx(D, Xd, Yd, RefMix(Px(D, Xd, Yd), Sp, std::min(Opacity, 100), 100));
                          });
                        });
}

TEST_P(Bitmap24Kernels, MaskPaintingMatchesTheReferenceForAnyRectangle) {
  TBitmap Mask, Pattern;
  MakeMask(Mask, 23, 17, 4);
  Random(Pattern, 5, 3, 5);
  const TColor Color = RGB(200, 30, 90);
  const TRGB C{90, 30, 200};
  for (int Opacity : {-5, 0, 1, 45, 100, 300}) {
    ForEveryPlacement([&](TBitmap& D, const TRect& S, int X, int Y,
                          const TRect& Cl) { FillColorMask24(Mask, S, D, X, Y, Cl, Color, Opacity); },
                      [&](TBitmap& D, const TRect& S, int X, int Y, const TRect& Cl) {
                        if (Opacity <= 0) return;
                        ForPlaced(23, 17, S, D, X, Y, Cl, [&](auto Xd, auto Yd, auto Sx, auto Sy, auto, auto) {
                          const int M = MaskAt(&Mask, Sx, Sy);
                          if (M != 255)
                            SetPx(D, Xd, Yd, RefMix(Px(D, Xd, Yd), C, (255 - M) * std::min(Opacity, 100) / 100, 255));
                        });
                      });
    ForEveryPlacement([&](TBitmap& D, const TRect& S, int X, int Y,
                          const TRect& Cl) { FillPatternMask24(Mask, S, D, X, Y, Cl, Pattern, Opacity); },
                      [&](TBitmap& D, const TRect& S, int X, int Y, const TRect& Cl) {
                        if (Opacity <= 0) return;
                        ForPlaced(23, 17, S, D, X, Y, Cl, [&](auto Xd, auto Yd, auto Sx, auto Sy, auto Rx, auto Ry) {
                          const int M = MaskAt(&Mask, Sx, Sy);
                          if (M == 255) return;
                          const TRGB P = Px(Pattern, Rx % 5, Ry % 3);
                          SetPx(D, Xd, Yd, RefMix(Px(D, Xd, Yd), P, (255 - M) * std::min(Opacity, 100) / 100, 255));
                        });
                      });
    ForEveryPlacement([&](TBitmap& D, const TRect& S, int X, int Y,
                          const TRect& Cl) { FillColorAlpha24(Mask, S, D, X, Y, Cl, Color, Opacity); },
                      [&](TBitmap& D, const TRect& S, int X, int Y, const TRect& Cl) {
                        if (Opacity <= 0) return;
                        ForPlaced(23, 17, S, D, X, Y, Cl, [&](auto Xd, auto Yd, auto Sx, auto Sy, auto, auto) {
                          const int A = MaskAt(&Mask, Sx, Sy);
                          if (A != 0) SetPx(D, Xd, Yd, RefMix(Px(D, Xd, Yd), C, std::min(Opacity, 100) * A / 100, 255));
                        });
                      });
  }
  struct Range {
    int Lo, Hi;
  };
  for (Range R : {Range{248, 255}, Range{0, 0}, Range{-20, 10}, Range{100, 400}, Range{9, 3}})
    ForEveryPlacement([&](TBitmap& D, const TRect& S, int X, int Y,
                          const TRect& Cl) { FillColorByteRange24(Mask, S, D, X, Y, Cl, Color, R.Lo, R.Hi); },
                      [&](TBitmap& D, const TRect& S, int X, int Y, const TRect& Cl) {
                        ForPlaced(23, 17, S, D, X, Y, Cl, [&](auto Xd, auto Yd, auto Sx, auto Sy, auto, auto) {
                          const int M = MaskAt(&Mask, Sx, Sy);
                          if (M >= R.Lo && M <= R.Hi) SetPx(D, Xd, Yd, C);
                        });
                      });
}

// Runs longer than the routines' working chunks, over every mask case.
TEST_P(Bitmap24Kernels, LongRowsMatchTheReference) {
  const int W = 2600, H = 10;
  TBitmap Src, Mask, Dst, Expected;
  Random(Src, W, H, 11);
  MakeMask(Mask, W, H, 12);
  Random(Dst, W + 40, H, 13);
  Expected.Assign(Dst);
  CopyRect24MaskOpacity(Src, WholeBitmapRect, Dst, 17, 0, WholeBitmapRect, 70, &Mask);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const int M = MaskAt(&Mask, X, Y);
      if (M != 255)
        SetPx(Expected, X + 17, Y, RefMix(Px(Expected, X + 17, Y), Px(Src, X, Y), (255 - M) * 70 / 100, 255));
    }
  EXPECT_IMAGES_MATCH(Dst, Expected);
}

TEST(Bitmap24, CopyEdgeCases) {
  TBitmap Src, Dst = Solid(10, 10, clBlack), Expected = Solid(10, 10, clBlack);
  Random(Src, 10, 10, 21);
  CopyRect24(Src, WholeBitmapRect, Dst, -3, -3, WholeBitmapRect);
  for (int Y = 0; Y < 7; ++Y)
    for (int X = 0; X < 7; ++X) SetPx(Expected, X, Y, Px(Src, X + 3, Y + 3));
  EXPECT_IMAGES_MATCH(Dst, Expected);

  // Clipping the source moves the clipped part, not the destination.
  TBitmap Big;
  Random(Big, 100, 100, 22);
  TBitmap D2 = Solid(30, 30, clBlack), E2 = Solid(30, 30, clBlack);
  CopyRect24(Big, {-5, -5, 10, 10}, D2, 4, 6, WholeBitmapRect);
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 10; ++X) SetPx(E2, X + 4, Y + 6, Px(Big, X, Y));
  EXPECT_IMAGES_MATCH(D2, E2);

  TBitmap Untouched = Solid(10, 10, clBlack);
  CopyRect24(Src, WholeBitmapRect, Untouched, 0, 0, {0, 0, 0, 0});
  EXPECT_IMAGES_MATCH(Untouched, Solid(10, 10, clBlack));

  const TBitmap From = Solid(4, 4, RGB(200, 100, 0));
  for (int Opacity : {0, -10}) {
    TBitmap D = Solid(4, 4, RGB(100, 100, 100));
    CopyRect24Opacity(From, WholeBitmapRect, D, 0, 0, WholeBitmapRect, Opacity);
    EXPECT_IMAGES_MATCH(D, Solid(4, 4, RGB(100, 100, 100)));
  }
  for (int Opacity : {100, 250}) {
    TBitmap D = Solid(4, 4, RGB(100, 100, 100));
    CopyRect24Opacity(From, WholeBitmapRect, D, 0, 0, WholeBitmapRect, Opacity);
    EXPECT_IMAGES_MATCH(D, From);
  }
  TBitmap Half = Solid(4, 4, RGB(100, 100, 100));
  CopyRect24Opacity(From, WholeBitmapRect, Half, 0, 0, WholeBitmapRect, 50);
  EXPECT_EQ(GetPixel24(Half, 2, 2), (TRGB{50, 100, 150}));

  // The mask is read at the source position: mask (10, 10) governs (0, 0).
  TBitmap MSrc = Solid(20, 20, clWhite), Mask = Solid(20, 20, clWhite), MDst = Solid(5, 5, clBlack);
  SetPx(Mask, 10, 10, {0, 0, 0});
  CopyRect24Mask(MSrc, {10, 10, 15, 15}, MDst, 0, 0, WholeBitmapRect, &Mask);
  TBitmap MExpected = Solid(5, 5, clBlack);
  SetPx(MExpected, 0, 0, {255, 255, 255});
  EXPECT_IMAGES_MATCH(MDst, MExpected);

  // A null or empty mask copies.
  TBitmap NoMask;
  for (const TBitmap* M : {static_cast<const TBitmap*>(nullptr), static_cast<const TBitmap*>(&NoMask)}) {
    TBitmap D = Solid(4, 4, clBlack);
    CopyRect24Mask(From, WholeBitmapRect, D, 0, 0, WholeBitmapRect, M);
    EXPECT_IMAGES_MATCH(D, From);
  }

  // Colour key white: tolerance 0 skips only pure white, -1 skips nothing.
  TBitmap Keyed = Solid(3, 1, clWhite);
  SetPx(Keyed, 1, 0, {255, 255, 254});
  for (int Tolerance : {0, -1}) {
    TBitmap D = Solid(3, 1, clBlack);
    CopyRect24ColorKey(Keyed, WholeBitmapRect, D, 0, 0, WholeBitmapRect, 100, clWhite, Tolerance);
    EXPECT_EQ(GetPixel24(D, 0, 0), (Tolerance < 0 ? TRGB{255, 255, 255} : TRGB{0, 0, 0}));
    EXPECT_EQ(GetPixel24(D, 1, 0), (TRGB{255, 255, 254}));
  }
  // clNone means no key: an opacity copy.
  TBitmap D = Solid(3, 1, clBlack);
  CopyRect24ColorKey(Keyed, WholeBitmapRect, D, 0, 0, WholeBitmapRect, 100, clNone, 0);
  EXPECT_IMAGES_MATCH(D, Keyed);
}

// A copy within one bitmap gives what a copy from the unchanged bitmap gives,
// whichever way the rectangles overlap.
TEST(Bitmap24, OverlappingCopiesReadTheUnchangedSource) {
  TBitmap Start, Mask;
  Random(Start, 30, 24, 31);
  MakeMask(Mask, 30, 24, 32);
  using Copier = std::function<void(const TBitmap&, TBitmap&, int, int)>;
  const Copier Copiers[] = {
      [](const TBitmap& S, TBitmap& D, int X, int Y) {
        CopyRect24(S, {4, 5, 24, 20}, D, X, Y, WholeBitmapRect);
      },
      [](const TBitmap& S, TBitmap& D, int X, int Y) {
        CopyRect24Opacity(S, {4, 5, 24, 20}, D, X, Y, WholeBitmapRect, 40);
      },
      [&](const TBitmap& S, TBitmap& D, int X, int Y) {
        CopyRect24MaskOpacity(S, {4, 5, 24, 20}, D, X, Y, WholeBitmapRect, 80, &Mask);
      },
      [](const TBitmap& S, TBitmap& D, int X, int Y) {
        CopyRect24ColorKey(S, {4, 5, 24, 20}, D, X, Y, WholeBitmapRect, 70, GetPixel24(S, 9, 9).Red, 60);
      },
  };
  for (const Copier& Copy : Copiers)
    for (int DY : {-3, -1, 0, 1, 3})
      for (int DX : {-3, -1, 0, 1, 3}) {
        TBitmap Same, Expected, Unchanged;
        Same.Assign(Start);
        Expected.Assign(Start);
        Unchanged.Assign(Start);
        Copy(Same, Same, 4 + DX, 5 + DY);
        Copy(Unchanged, Expected, 4 + DX, 5 + DY);
        ASSERT_TRUE(ImagesMatch(Same, Expected)) << DX << ", " << DY;
      }
  // A mask painted into itself reads its unchanged pixels too.
  for (int DY : {-2, 0, 2}) {
    TBitmap Same, Expected, Unchanged;
    Same.Assign(Mask);
    Expected.Assign(Mask);
    Unchanged.Assign(Mask);
    FillColorMask24(Same, {0, 0, 20, 20}, Same, 2, 2 + DY, WholeBitmapRect, clRed, 100);
    FillColorMask24(Unchanged, {0, 0, 20, 20}, Expected, 2, 2 + DY, WholeBitmapRect, clRed, 100);
    EXPECT_IMAGES_MATCH(Same, Expected);
  }
}

// Bitmaps that are not 24-bit, and empty ones, are left alone.
TEST(Bitmap24, OtherFormatsAreLeftAlone) {
  TBitmap Src;
  Random(Src, 8, 8, 41);
  TBitmap Indexed(8, 8, pf8bit, clBlack), Expected(8, 8, pf8bit, clBlack);
  CopyRect24(Src, WholeBitmapRect, Indexed, 0, 0, WholeBitmapRect);
  FillColorMask24(Src, WholeBitmapRect, Indexed, 0, 0, WholeBitmapRect, clRed, 100);
  TileBitmap24(Src, Indexed, 0, 0, WholeBitmapRect);
  ApplyTextureTone24(Src, Indexed, WholeBitmapRect, 50);
  EXPECT_IMAGES_MATCH(Indexed, Expected);

  TBitmap D = Solid(8, 8, clBlack), Mask1(8, 8, pf8bit, clBlack);
  CopyRect24Mask(Src, WholeBitmapRect, D, 0, 0, WholeBitmapRect, &Mask1);
  CopyRect24(Indexed, WholeBitmapRect, D, 0, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(D, Solid(8, 8, clBlack));
}

// ---- Tiling ------------------------------------------------------------------

TEST_P(Bitmap24Kernels, TilingMatchesTheReferenceForAnyRectangle) {
  TBitmap Pattern, PatternMask, SmallMask;
  Random(Pattern, 7, 4, 51);
  MakeMask(PatternMask, 7, 4, 52);
  MakeMask(SmallMask, 3, 2, 53);
  for (int Y = 0; Y < 4; ++Y) SetPx(Pattern, 2, Y, {255, 255, 255}); // key pixels
  const TRGB White{255, 255, 255};
  auto Tiled = [&](int64_t X, int64_t Y, int64_t Ox, int64_t Oy) {
    return Px(Pattern, PosMod(X - Ox, 7), PosMod(Y - Oy, 4));
  };

  for (const TRect& Rect : RectCases)
    for (const TPoint& O : PointCases) {
      TBitmap Start;
      Random(Start, 26, 19, 54);
      const TRect R = RefClip(Rect, 26, 19);
      // Each routine with its per-pixel reference effect.
      struct Case {
        std::function<void(TBitmap&)> Routine;
        std::function<void(TRGB&, int64_t, int64_t)> Effect;
      };
      const Case Cases[] = {
          {[&](TBitmap& D) { TileBitmap24(Pattern, D, O.X, O.Y, Rect); },
           [&](TRGB& P, int64_t X, int64_t Y) { P = Tiled(X, Y, O.X, O.Y); }},
          {[&](TBitmap& D) { TileBitmap24Opacity(Pattern, D, O.X, O.Y, Rect, 30); },
           [&](TRGB& P, int64_t X, int64_t Y) { P = RefMix(P, Tiled(X, Y, O.X, O.Y), 30, 100); }},
          {[&](TBitmap& D) { TileBitmap24Opacity(Pattern, D, O.X, O.Y, Rect, 0); }, [](TRGB&, int64_t, int64_t) {}},
          {[&](TBitmap& D) { TileBitmap24MaskOpacity(Pattern, D, O.X, O.Y, Rect, 60, &PatternMask); },
           [&](TRGB& P, int64_t X, int64_t Y) {
             const int M = MaskAt(&PatternMask, PosMod(X - O.X, 7), PosMod(Y - O.Y, 4));
             if (M != 255) P = RefMix(P, Tiled(X, Y, O.X, O.Y), (255 - M) * 60 / 100, 255);
           }},
          {[&](TBitmap& D) { TileBitmap24MaskOpacity(Pattern, D, O.X, O.Y, Rect, 100, &SmallMask); },
           [&](TRGB& P, int64_t X, int64_t Y) {
             const int M = MaskAt(&SmallMask, PosMod(X - O.X, 7), PosMod(Y - O.Y, 4));
             if (M != 255) P = RefMix(P, Tiled(X, Y, O.X, O.Y), 255 - M, 255);
           }},
          {[&](TBitmap& D) { TileBitmap24ColorKey(Pattern, D, O.X, O.Y, Rect, 80, clWhite, -1); },
           [&](TRGB& P, int64_t X, int64_t Y) {
             const TRGB S = Tiled(X, Y, O.X, O.Y);
             if (!(S == White)) P = RefMix(P, S, 80, 100);
           }},
      };
      for (const Case& C : Cases) {
        TBitmap Actual, Expected;
        Actual.Assign(Start);
        Expected.Assign(Start);
        C.Routine(Actual);
        for (int Y = R.Top; Y < R.Bottom; ++Y)
          for (int X = R.Left; X < R.Right; ++X) {
            TRGB P = Px(Expected, X, Y);
            C.Effect(P, X, Y);
            SetPx(Expected, X, Y, P);
          }
        ASSERT_TRUE(ImagesMatch(Actual, Expected))
            << ::testing::PrintToString(Rect) << " from " << ::testing::PrintToString(O) << " case " << (&C - Cases);
      }
    }
}

TEST(Bitmap24, TilingEdgeCases) {
  TBitmap Pattern(4, 4, pf24bit, clBlack);
  for (int X = 0; X < 4; ++X)
    for (int Y = 0; Y < 4; ++Y) SetPx(Pattern, X, Y, {static_cast<uint8_t>(X), 0, 0});
  TBitmap D = Solid(8, 1, clWhite);
  TileBitmap24(Pattern, D, 2, 0, {0, 0, 8, 1});
  for (int X = 0; X < 8; ++X) EXPECT_EQ(GetPixel24(D, X, 0).Blue, (X + 2) % 4) << X;

  // An empty pattern or texture paints nothing.
  TBitmap Empty, Mask = Solid(8, 1, clBlack);
  const TBitmap Before = Solid(8, 1, clWhite);
  TBitmap T = Solid(8, 1, clWhite);
  TileBitmap24(Empty, T, 0, 0, WholeBitmapRect);
  TileBitmap24Opacity(Empty, T, 0, 0, WholeBitmapRect, 50);
  TileBitmap24MaskOpacity(Empty, T, 0, 0, WholeBitmapRect, 50, &Mask);
  TileBitmap24ColorKey(Empty, T, 0, 0, WholeBitmapRect, 50, clRed, 0);
  FillPatternMask24(Mask, WholeBitmapRect, T, 0, 0, WholeBitmapRect, Empty, 100);
  ApplyTextureTone24(Empty, T, WholeBitmapRect, 50);
  ApplyTextureRelief24(Empty, T, 1, 1, WholeBitmapRect, 50);
  ApplyTextureReliefScaled24(Empty, T, 1.0, WholeBitmapRect, 50);
  EXPECT_IMAGES_MATCH(T, Before);
}

TEST(Bitmap24, FillColorByteRangePaintsOnlyInsideTheRange) {
  TBitmap Mask(256, 1, pf24bit, clBlack);
  for (int X = 0; X < 256; ++X)
    SetPx(Mask, X, 0, {static_cast<uint8_t>(X), static_cast<uint8_t>(X), static_cast<uint8_t>(X)});
  TBitmap D = Solid(256, 1, clBlack);
  FillColorByteRange24(Mask, WholeBitmapRect, D, 0, 0, WholeBitmapRect, clLime, 248, 255);
  for (int X = 0; X < 256; ++X) EXPECT_EQ(GetPixel24(D, X, 0), (X >= 248 ? TRGB{0, 255, 0} : TRGB{0, 0, 0})) << X;
}

// ---- Textures -----------------------------------------------------------------

TEST(Bitmap24, TextureToneAndReliefEdgeCases) {
  struct ToneCase {
    TRGB Texel;
    uint8_t Expected;
  };
  for (const ToneCase& C : {ToneCase{{5, 5, 5}, 100}, ToneCase{{5, 5, 6}, 200}, ToneCase{{250, 250, 250}, 255},
                            ToneCase{{250, 250, 249}, 200}}) {
    TBitmap Texture(1, 1, pf24bit, clBlack), D = Solid(2, 2, RGB(200, 200, 200));
    SetPx(Texture, 0, 0, C.Texel);
    ApplyTextureTone24(Texture, D, WholeBitmapRect, 50);
    EXPECT_EQ(GetPixel24(D, 1, 1), (TRGB{C.Expected, C.Expected, C.Expected}));
  }
  struct ReliefCase {
    uint8_t Grey, Pixel;
    int Percent;
    uint8_t Expected;
  };
  for (const ReliefCase& C :
       {ReliefCase{129, 0, 100, 0}, ReliefCase{255, 0, 100, 252}, ReliefCase{0, 200, 100, 0},
        ReliefCase{0, 200, 50, 100}, ReliefCase{255, 100, 300, 253}, ReliefCase{130, 100, 100, 100},
        ReliefCase{125, 100, 100, 98}, ReliefCase{255, 100, 0, 100}}) {
    TBitmap Texture = Solid(1, 1, RGB(C.Grey, C.Grey, C.Grey)), D = Solid(2, 2, RGB(C.Pixel, C.Pixel, C.Pixel));
    ApplyTextureRelief24(Texture, D, 0, 0, WholeBitmapRect, C.Percent);
    EXPECT_EQ(GetPixel24(D, 0, 0).Red, C.Expected) << int(C.Grey) << " " << int(C.Pixel) << " " << C.Percent;
  }
}

// The texel of each pixel: one white texel in a mid-grey texture shows where
// the texture lands (grey 128 leaves pixels alone, white lightens them).
TEST(Bitmap24, TextureAddressing) {
  TBitmap Texture = Solid(3, 2, RGB(128, 128, 128));
  SetPx(Texture, 1, 0, {255, 255, 255});
  auto Lit = [](const TBitmap& D) {
    std::vector<TPoint> P;
    for (int Y = 0; Y < D.Height(); ++Y)
      for (int X = 0; X < D.Width(); ++X)
        if (GetPixel24(D, X, Y).Red != 0) P.push_back({X, Y});
    return P;
  };
  // Relative to the clipped rectangle's corner (2, 1), shifted by (-1, 1).
  TBitmap D = Solid(8, 4, clBlack);
  ApplyTextureRelief24(Texture, D, -1, 1, {2, 1, 9, 4}, 100);
  EXPECT_EQ(Lit(D), (std::vector<TPoint>{{2, 2}, {5, 2}}));
  // Scaled by 2: texel column Round(i / 2) (ties to even), so i = 1, 2, 3 map
  // to columns 0, 1, 2 and i = 7 to column 4 mod 3 = 1.
  TBitmap S = Solid(8, 1, clBlack);
  ApplyTextureReliefScaled24(Texture, S, 2.0, WholeBitmapRect, 100);
  EXPECT_EQ(Lit(S), (std::vector<TPoint>{{2, 0}, {7, 0}}));
  for (double Scale : {0.0, -1.0, std::nan("")}) {
    TBitmap Z = Solid(8, 1, clBlack);
    ApplyTextureReliefScaled24(Texture, Z, Scale, WholeBitmapRect, 100);
    EXPECT_TRUE(Lit(Z).empty()) << Scale;
  }
  // Tone: relative to the clipped rectangle, without offsets.
  TBitmap Dark = Solid(3, 2, RGB(128, 128, 128));
  SetPx(Dark, 1, 0, {0, 0, 0});
  TBitmap T = Solid(6, 3, RGB(100, 100, 100));
  ApplyTextureTone24(Dark, T, {1, 1, 6, 3}, 100);
  std::vector<TPoint> Black;
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 6; ++X)
      if (GetPixel24(T, X, Y).Red == 0) Black.push_back({X, Y});
  EXPECT_EQ(Black, (std::vector<TPoint>{{2, 1}, {5, 1}}));
}

// ---- Creation and assignment ---------------------------------------------------

TEST(Bitmap24, NewAndEnsure) {
  TBitmap B(5, 5, pf8bit, clBlack);
  B.Transparent = true;
  NewBitmap24(B, 4, 3, clRed);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_FALSE(B.Transparent);
  EXPECT_IMAGES_MATCH(B, Solid(4, 3, clRed));

  NewBitmap24(B, 0, 7, clRed);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.PixelFormat(), pf24bit);

  TBitmap Keep;
  Random(Keep, 6, 4, 61);
  TBitmap Copy;
  Copy.Assign(Keep);
  EnsureBitmap24(Keep, 6, 4, clBlue);
  EXPECT_IMAGES_MATCH(Keep, Copy);
  EnsureBitmap24(Keep, 6, 5, clBlue);
  EXPECT_IMAGES_MATCH(Keep, Solid(6, 5, clBlue));
  TBitmap Wrong(6, 4, pf32bit, clBlack);
  EnsureBitmap24(Wrong, 6, 4, clBlue);
  EXPECT_IMAGES_MATCH(Wrong, Solid(6, 4, clBlue));
}

TEST(Bitmap24, Assign24) {
  TBitmap Src;
  Random(Src, 7, 5, 71);
  Src.Transparent = true;
  Src.SetTransparentColor(clFuchsia);
  for (TBitmap* Dst : {new TBitmap(7, 5, pf24bit, clBlack), new TBitmap(3, 9, pf24bit), new TBitmap(7, 5, pf8bit)}) {
    Assign24(Src, *Dst);
    EXPECT_IMAGES_MATCH(*Dst, Src);
    EXPECT_TRUE(Dst->Transparent);
    EXPECT_EQ(Dst->TransparentColor(), clFuchsia);
    delete Dst;
  }
  // A source of another format is converted, never read as 24-bit rows.
  TBitmap Indexed(5, 3, pf8bit, clBlack), Dst;
  Indexed.ScanLine(1)[2] = 255; // white in the default palette
  Assign24(Indexed, Dst);
  EXPECT_EQ(Dst.PixelFormat(), pf24bit);
  EXPECT_EQ(GetPixel24(Dst, 2, 1), ColorToTRGB(Indexed.PixelColor(2, 1)));
  EXPECT_EQ(GetPixel24(Dst, 0, 0), ColorToTRGB(Indexed.PixelColor(0, 0)));
}
