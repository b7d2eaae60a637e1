#include "raster/GreyMasks.h"
#include "ProgressTestSupport.h"
#include "raster/FoncUtils.h"
#include "raster/RandomGen.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// A mask of W x H with the given value everywhere.
void Flat(TBitmap& M, int W, int H, uint8_t V) {
  M.SetPixelFormat(pf24bit);
  M.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) SetPx(M, X, Y, Grey(V));
}

// Random blobs: mostly 0 or 255 in patches, some grey, some pixels with
// unequal bytes (only the first counts).
void BlobMask(TBitmap& M, int W, int H, unsigned Seed) {
  Flat(M, W, H, 255);
  SeedRandom(Seed);
  for (int K = 0; K < 6; ++K) {
    const int X0 = Random(W), Y0 = Random(H), X1 = X0 + Random(W / 2 + 1), Y1 = Y0 + Random(H / 2 + 1);
    for (int Y = Y0; Y < std::min(Y1, H); ++Y)
      for (int X = X0; X < std::min(X1, W); ++X) SetPx(M, X, Y, Grey(0));
  }
  for (int K = 0; K < W * H / 10; ++K) {
    const uint8_t V = static_cast<uint8_t>(Random(256));
    SetPx(M, Random(W), Random(H), {V, uint8_t(Random(256)), 7});
  }
}

TRect Clip(TRect R, const TBitmap& B) {
  R = {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right), std::max(R.Top, R.Bottom)};
  return IntersectRect(R, {0, 0, B.Width(), B.Height()});
}

// The first bytes of a mask as they are, -1 outside R.
std::function<int(int, int)> Snapshot(const TBitmap& M, const TRect& R) {
  std::vector<int> V;
  for (int Y = 0; Y < M.Height(); ++Y)
    for (int X = 0; X < M.Width(); ++X) V.push_back(Px(M, X, Y).Blue);
  const int W = M.Width();
  return [V, W, R](int X, int Y) { return PtInRect(R, {X, Y}) ? V[size_t(Y * W + X)] : -1; };
}

void FillSquare(TBitmap& B, TRect Square, const TRect& R, TRGB Value) {
  Square = IntersectRect(IntersectRect(Square, R), {0, 0, B.Width(), B.Height()});
  for (int Y = Square.Top; Y < Square.Bottom; ++Y)
    for (int X = Square.Left; X < Square.Right; ++X) SetPx(B, X, Y, Value);
}

// ---- Distance and the radial spot ---------------------------------------------------

TEST(GreyMasksTest, MaskDistanceIsIntDistance) {
  struct Case {
    int X2, Y2, D;
  };
  for (const Case C : {Case{3, 4, 5}, Case{0, 0, 0}, Case{1, 1, 1}, Case{1, 2, 2}, Case{3, 0, 3}, Case{2000, 0, 2000},
                       Case{3000, 0, 3000}})
    EXPECT_EQ(MaskDistance(0, 0, C.X2, C.Y2), C.D) << C.X2 << ", " << C.Y2;
  for (int K = 0; K < 200; ++K) {
    const int A = K * 7919 % 5000 - 2500, B = K * 104729 % 7000 - 3500;
    EXPECT_EQ(MaskDistance(A, B, -B, A / 3), IntDistance(A, B, -B, A / 3));
  }
}

TEST(GreyMasksTest, RadialSpot) {
  TBitmap B(25, 25, pf24bit, clBlack);
  DrawRadialSpot(B, clWhite, RGB(0, 0, 100), 10, 12, 12, WholeBitmapRect);
  EXPECT_EQ(Px(B, 12, 12), Grey(255));
  // Distance 5: G = 127, each channel Outer + (Inner - Outer) * 127 div 255.
  EXPECT_EQ(Px(B, 17, 12), (TRGB{uint8_t(100 + 155 * 127 / 255), 127, 127}));
  EXPECT_EQ(Px(B, 12, 22), (TRGB{100, 0, 0}));
  EXPECT_EQ(Px(B, 0, 0), (TRGB{100, 0, 0}));
  // Only inside Rect; a radius of 0 gives Outer.
  TBitmap C(6, 6, pf24bit, clBlack);
  DrawRadialSpot(C, clWhite, clRed, 0, 2, 2, {0, 0, 3, 6});
  EXPECT_EQ(Px(C, 2, 2), (TRGB{0, 0, 255}));
  EXPECT_EQ(Px(C, 3, 2), Grey(0));
}

// ---- Plasma clouds --------------------------------------------------------------------

// The clouds from the formulas, drawn with the generator as it stands.
void RefClouds(TBitmap& B, TRGB C1, TRGB C2, int N, const TRect& R) {
  std::vector<std::vector<int>> G(size_t(N + 1), std::vector<int>(size_t(N + 1), 0));
  G[0][size_t(N)] = Random(192);
  G[size_t(N)][size_t(N)] = Random(192);
  G[size_t(N)][0] = Random(192);
  G[0][0] = Random(192);
  const auto Displace = [&](int TX, int TY, int AX, int AY, int BX, int BY) {
    if (G[size_t(TX)][size_t(TY)] != 0) return;
    const int Off = int(std::nearbyint((RandomFloat() - 0.5) * (std::abs(AX - BX) + std::abs(AY - BY))));
    G[size_t(TX)][size_t(TY)] =
        std::clamp((G[size_t(AX)][size_t(AY)] + G[size_t(BX)][size_t(BY)]) / 2 + 4 * Off, 1, 192);
  };
  std::function<void(int, int, int, int)> Sub = [&](int X1, int Y1, int X2, int Y2) {
    if (X2 - X1 < 2 && Y2 - Y1 < 2) return;
    const int XM = (X1 + X2) / 2, YM = (Y1 + Y2) / 2;
    Displace(XM, Y1, X1, Y1, X2, Y1);
    Displace(X2, YM, X2, Y1, X2, Y2);
    Displace(XM, Y2, X1, Y2, X2, Y2);
    Displace(X1, YM, X1, Y1, X1, Y2);
    int& M = G[size_t(XM)][size_t(YM)];
    if (M == 0)
      M = (G[size_t(X1)][size_t(Y1)] + G[size_t(X2)][size_t(Y1)] + G[size_t(X2)][size_t(Y2)] +
           G[size_t(X1)][size_t(Y2)]) /
          4;
    Sub(X1, Y1, XM, YM);
    Sub(XM, Y1, X2, YM);
    Sub(XM, YM, X2, Y2);
    Sub(X1, YM, XM, Y2);
  };
  Sub(0, 0, N, N);
  int Pos = 0, PS = 1;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    if (Y % 2 == 0) {
      Pos += PS;
      PS = Pos == N ? -1 : Pos == 0 ? 1 : PS;
    }
    int Idx = 0, IS = 1;
    for (int X = R.Left; X < R.Right; ++X) {
      if (X % 2 == 0) {
        Idx += IS;
        IS = Idx == N ? -1 : Idx == 0 ? 1 : IS;
      }
      const int U = G[size_t(Idx)][size_t(Pos)];
      SetPx(B, X, Y,
            {uint8_t(C2.Blue + (C1.Blue - C2.Blue) * U / 192), uint8_t(C2.Green + (C1.Green - C2.Green) * U / 192),
             uint8_t(C2.Red + (C1.Red - C2.Red) * U / 192)});
    }
  }
}

TEST(GreyMasksTest, CloudsFollowTheGrid) {
  struct Case {
    double Scale;
    int N;
    TRect R;
  };
  for (const Case C : {Case{1, 255, {3, 1, 100, 70}}, Case{0.05, 13, {0, 0, 120, 90}}, Case{0, 1, {5, 5, 30, 20}}}) {
    TBitmap Actual(120, 90, pf24bit, clLime), Expected(120, 90, pf24bit, clLime);
    {
      TFixedRandomize Fixed(1234);
      DrawClouds24(Actual, RGB(250, 200, 10), RGB(0, 20, 90), C.Scale, C.R);
    }
    SeedRandom(1234);
    RefClouds(Expected, {10, 200, 250}, {90, 20, 0}, C.N, C.R);
    EXPECT_IMAGES_MATCH(Actual, Expected, 0, "clouds");
  }
  // White where the grid holds 192, black where it holds 0: the full range
  // appears on a large grid; two calls on the clock differ.
  TBitmap A(200, 150), B(200, 150);
  DrawClouds24(A, clWhite, clBlack, 1, WholeBitmapRect);
  DrawClouds24(B, clWhite, clBlack, 1, WholeBitmapRect);
  EXPECT_FALSE(ImagesMatch(A, B));
}

// ---- Masks from a colour ------------------------------------------------------------------

TEST(GreyMasksTest, MasksFromAColour) {
  TBitmap Src(4, 3, pf24bit, clBlack);
  const TColor Key = RGB(100, 150, 200);
  SetPx(Src, 0, 0, {200, 150, 100}); // the key
  SetPx(Src, 1, 0, {205, 145, 104}); // within 5
  SetPx(Src, 2, 0, {206, 150, 100}); // blue 6 away
  SetPx(Src, 3, 2, {200, 150, 100}); // the key, outside Rect
  const TRect R{0, 0, 3, 2};
  struct Case {
    std::function<void(TBitmap&)> Run;
    int Near, Far; // -1: kept
  };
  const Case Cases[] = {
      {[&](TBitmap& M) { MaskFromColor(Src, M, Key, 5, true, R); }, 255, 0},
      {[&](TBitmap& M) { MaskFromColor(Src, M, Key, 5, false, R); }, -1, 0},
      {[&](TBitmap& M) { MaskFromColorInverted(Src, M, Key, 5, true, R); }, 0, 255},
      {[&](TBitmap& M) { MaskFromColorInverted(Src, M, Key, 5, false, R); }, 0, -1},
      {[&](TBitmap& M) { MaskOutColor(Src, M, Key, 5, R); }, 255, -1},
  };
  for (const Case& C : Cases)
    for (bool Indexed : {true, false}) {
      // An 8-bit white mask of Src's size, or a 24-bit one of 77 too small:
      // either becomes 24-bit of Src's size, the new area white.
      TBitmap M(4, 3, pf8bit, clWhite);
      if (!Indexed) Flat(M, 2, 2, 77);
      C.Run(M);
      ASSERT_EQ(M.PixelFormat(), pf24bit);
      ASSERT_EQ(M.Width(), 4);
      ASSERT_EQ(M.Height(), 3);
      for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 4; ++X) {
          const int Old = !Indexed && X < 2 && Y < 2 ? 77 : 255;
          const int Rule = PtInRect(R, {X, Y}) ? (Y == 0 && X < 2 ? C.Near : C.Far) : -1;
          EXPECT_EQ(Px(M, X, Y), Grey(uint8_t(Rule < 0 ? Old : Rule))) << X << ", " << Y << " " << Indexed;
        }
    }
  // A negative tolerance does nothing, not even the resize.
  TBitmap M(2, 2, pf24bit, clWhite);
  MaskFromColor(Src, M, Key, -1, true, WholeBitmapRect);
  EXPECT_EQ(M.Width(), 2);
}

// ---- Smoothing, uniformity ------------------------------------------------------------------

void RefSmooth(TBitmap& M, const TRect& R) {
  const auto V = Snapshot(M, R);
  const auto W = [&](int X, int Y) {
    const int A = V(X, Y);
    return A < 0 || A == 255 ? 377 : A;
  };
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) {
      if (V(X, Y) == 255) continue;
      int S = V(X, Y);
      for (int DY = -1; DY <= 1; ++DY)
        for (int DX = -1; DX <= 1; ++DX)
          if (DX || DY) S += W(X + DX, Y + DY);
      SetPx(M, X, Y, Grey(uint8_t(std::min(S / 9, 255))));
    }
}

TEST(GreyMasksTest, SmoothMask) {
  TBitmap M;
  Flat(M, 6, 5, 0);
  SmoothMask(M, WholeBitmapRect);
  EXPECT_EQ(Px(M, 0, 0), Grey(209));
  EXPECT_EQ(Px(M, 2, 0), Grey(125));
  EXPECT_EQ(Px(M, 0, 2), Grey(125));
  EXPECT_EQ(Px(M, 2, 2), Grey(0));
  // An opaque pixel alone becomes 255; 255 stays.
  Flat(M, 5, 5, 255);
  SetPx(M, 2, 2, Grey(0));
  SmoothMask(M, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(M, TBitmap(5, 5, pf24bit, clWhite));
  for (const TRect& R : {WholeBitmapRect, TRect{3, 2, 40, 17}, TRect{0, 0, 1, 1}, TRect{5, 5, 6, 30}}) {
    TBitmap A, E;
    BlobMask(A, 37, 23, 3);
    E.Assign(A);
    SmoothMask(A, R);
    RefSmooth(E, Clip(R, E));
    EXPECT_IMAGES_MATCH(A, E, 0, "smooth");
  }
}

TEST(GreyMasksTest, IsMaskUniform) {
  TBitmap M;
  Flat(M, 5, 5, 255);
  SetPx(M, 3, 3, {255, 0, 0}); // only the first byte counts
  EXPECT_TRUE(IsMaskUniform(M, 255, WholeBitmapRect));
  SetPx(M, 4, 4, Grey(254));
  EXPECT_FALSE(IsMaskUniform(M, 255, WholeBitmapRect));
  EXPECT_TRUE(IsMaskUniform(M, 255, {0, 0, 4, 4}));
  EXPECT_TRUE(IsMaskUniform(M, 0, {2, 2, 2, 5}));
  EXPECT_TRUE(IsMaskUniform(M, 0, {10, 10, 20, 20}));
}

// ---- Growing and shrinking ------------------------------------------------------------------

void RefGrowShrink(TBitmap& M, int N, const TRect& R, bool OnePixel) {
  const auto V = Snapshot(M, R);
  const auto AnyN = [&](int X, int Y, const std::function<bool(int)>& F) {
    return F(V(X - 1, Y)) || F(V(X + 1, Y)) || F(V(X, Y - 1)) || F(V(X, Y + 1));
  };
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) {
      const int C = V(X, Y);
      if (N < 0) {
        // Outside Rect counts as 255.
        if (C != 255 && AnyN(X, Y, [](int A) { return A == 255 || A < 0; }))
          FillSquare(M, {X + N + 1, Y + N + 1, X - N, Y - N}, R, Grey(255));
      } else if (N == 1 && OnePixel) {
        if (C == 255 && AnyN(X, Y, [](int A) { return A >= 0 && A < 255; })) SetPx(M, X, Y, Grey(0));
      } else if (C != 255 && AnyN(X, Y, [](int A) { return A == 255; })) {
        FillSquare(M, {X - N, Y - N, X + N + 1, Y + N + 1}, R, Grey(0));
      }
    }
}

TEST(GreyMasksTest, GrowAndShrinkShapes) {
  TBitmap M;
  // Shrinking by one an all-opaque mask: Rect's border only.
  Flat(M, 8, 6, 0);
  GrowShrinkMask(M, -1, {1, 1, 7, 6}, false);
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 8; ++X) {
      const bool Border = X >= 1 && X < 7 && Y >= 1 && (X == 1 || X == 6 || Y == 1 || Y == 5);
      ASSERT_EQ(Px(M, X, Y).Blue, Border ? 255 : 0) << X << ", " << Y;
    }
  // One pixel grown by 1: a plus with OnePixel, a 3 x 3 square without; by 3
  // a 7 x 7 square.
  struct Case {
    int N;
    bool OnePixel;
    std::function<bool(int, int)> Inside;
  };
  const Case Cases[] = {
      {1, true, [](int DX, int DY) { return std::abs(DX) + std::abs(DY) <= 1; }},
      {1, false, [](int DX, int DY) { return std::abs(DX) <= 1 && std::abs(DY) <= 1; }},
      {3, false, [](int DX, int DY) { return std::abs(DX) <= 3 && std::abs(DY) <= 3; }},
  };
  for (const Case& C : Cases) {
    Flat(M, 11, 11, 255);
    SetPx(M, 5, 5, Grey(0));
    GrowShrinkMask(M, C.N, WholeBitmapRect, C.OnePixel);
    for (int Y = 0; Y < 11; ++Y)
      for (int X = 0; X < 11; ++X) ASSERT_EQ(Px(M, X, Y).Blue, C.Inside(X - 5, Y - 5) ? 0 : 255) << X << ", " << Y;
  }
  // A 10 x 10 opaque square shrunk by 3 keeps its inner 4 x 4.
  Flat(M, 16, 16, 255);
  for (int Y = 3; Y < 13; ++Y)
    for (int X = 3; X < 13; ++X) SetPx(M, X, Y, Grey(0));
  GrowShrinkMask(M, -3, WholeBitmapRect, false);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) ASSERT_EQ(Px(M, X, Y).Blue, X >= 6 && X < 10 && Y >= 6 && Y < 10 ? 0 : 255);
  // N = 0 and an empty Rect change nothing; a huge N covers Rect.
  BlobMask(M, 20, 20, 4);
  TBitmap Copy;
  Copy.Assign(M);
  GrowShrinkMask(M, 0, WholeBitmapRect, true);
  GrowShrinkMask(M, 5, {4, 4, 4, 9}, true);
  EXPECT_IMAGES_MATCH(M, Copy);
  GrowShrinkMask(M, INT_MIN, {2, 2, 12, 12}, false);
  EXPECT_TRUE(IsMaskUniform(M, 255, {2, 2, 12, 12}));
}

TEST(GreyMasksTest, GrowAndShrinkMatchTheSquares) {
  const TRect Rects[] = {WholeBitmapRect, {4, 3, 30, 19}, {0, 10, 41, 11}, {7, 0, 8, 25}};
  for (int N : {-6, -3, -2, -1, 1, 2, 4, 9})
    for (bool OnePixel : {false, true})
      for (const TRect& R : Rects) {
        TBitmap A, E;
        BlobMask(A, 41, 25, unsigned(50 + N));
        E.Assign(A);
        GrowShrinkMask(A, N, R, OnePixel);
        RefGrowShrink(E, N, Clip(R, E), OnePixel);
        ASSERT_TRUE(ImagesMatch(A, E, 0, "growshrink")) << N << " " << OnePixel << " " << R.Left;
      }
}

// ---- Outlines ---------------------------------------------------------------------------------

TEST(GreyMasksTest, OutlineOfASquare) {
  // Width 3 around a filled 6 x 6 square: a band 3 wide centred on its
  // outermost pixels, cut at Rect.
  TBitmap M, Dst(16, 16, pf24bit, clBlack);
  Flat(M, 16, 16, 255);
  for (int Y = 5; Y < 11; ++Y)
    for (int X = 5; X < 11; ++X) SetPx(M, X, Y, Grey(0));
  const TRect R{0, 0, 11, 16};
  DrawMaskOutline(M, Dst, clRed, 3, 128, R);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) {
      const bool Outer = X >= 4 && X < 12 && Y >= 4 && Y < 12, Inner = X >= 7 && X < 9 && Y >= 7 && Y < 9;
      const bool Painted = Outer && !Inner && X < 11;
      ASSERT_EQ(Px(Dst, X, Y), (Painted ? TRGB{0, 0, 255} : TRGB{})) << X << ", " << Y;
    }
}

void RefOutline(const TBitmap& M, TBitmap& Dst, TRGB Color, int Width, int T, const TRect& R) {
  const auto V = Snapshot(M, R);
  const auto In = [&](int A) { return A >= 0 && A <= T; };
  const int H = (Width - 1) / 2;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X)
      if (In(V(X, Y)) && !(In(V(X - 1, Y)) && In(V(X + 1, Y)) && In(V(X, Y - 1)) && In(V(X, Y + 1))))
        FillSquare(Dst, {X - H, Y - H, X - H + Width, Y - H + Width}, R, Color);
}

TEST(GreyMasksTest, OutlineMatchesTheSquares) {
  for (int Width : {1, 2, 3, 4, 7})
    for (const TRect& R : {WholeBitmapRect, TRect{3, 5, 33, 21}}) {
      TBitmap M, A, E;
      BlobMask(M, 35, 24, unsigned(Width));
      A.SetSize(35, 24);
      FillRandom(A, 9);
      E.Assign(A);
      DrawMaskOutline(M, A, RGB(1, 2, 3), Width, 100, R);
      RefOutline(M, E, {3, 2, 1}, Width, 100, Clip(R, M));
      ASSERT_TRUE(ImagesMatch(A, E, 0, "outline")) << Width;
    }
  // A destination smaller than the mask is painted only where it exists; the
  // mask itself as destination is read as it was.
  TBitmap M, Small(10, 7, pf24bit, clBlack), E(10, 7, pf24bit, clBlack);
  BlobMask(M, 35, 24, 11);
  DrawMaskOutline(M, Small, clWhite, 5, 128, WholeBitmapRect);
  RefOutline(M, E, Grey(255), 5, 128, {0, 0, 35, 24});
  EXPECT_IMAGES_MATCH(Small, E);
  TBitmap Self, Expected;
  BlobMask(Self, 35, 24, 12);
  Expected.Assign(Self);
  DrawMaskOutline(Self, Self, clGray, 3, 10, WholeBitmapRect);
  RefOutline(Expected, Expected, Grey(128), 3, 10, {0, 0, 35, 24});
  EXPECT_IMAGES_MATCH(Self, Expected);
  TBitmap Unchanged;
  Unchanged.Assign(Self);
  DrawMaskOutline(Self, Self, clGray, 0, 10, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Self, Unchanged);
}

// ---- Combining -----------------------------------------------------------------------------------

TEST(GreyMasksTest, CombineMaskMax) {
  TBitmap Src, Dst, Before;
  BlobMask(Src, 9, 7, 20);
  BlobMask(Dst, 20, 16, 21);
  Before.Assign(Dst);
  CombineMaskMax(Src, Dst, 5, -2, {0, 0, 12, 16});
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 20; ++X) {
      const TRGB Old = Px(Before, X, Y);
      const bool Covered = X >= 5 && X < 12 && Y < 5;
      const TRGB S = Covered ? Px(Src, X - 5, Y + 2) : TRGB{};
      ASSERT_EQ(Px(Dst, X, Y), Covered && S.Blue > Old.Blue ? S : Old) << X << ", " << Y;
      ASSERT_GE(Px(Dst, X, Y).Blue, Old.Blue);
    }
}

TEST(GreyMasksTest, CombineMaskMaxTiled) {
  // The source's pixel (0, 0) lands at (OrgX, OrgY), by the offsets as the
  // tiling has always computed them.
  for (auto [OrgX, OrgY] : {std::pair{0, 0}, {3, 5}, {-7, -2}, {25, 40}, {-100003, 77777}}) {
    TBitmap Src, Dst, Before;
    BlobMask(Src, 6, 4, 22);
    BlobMask(Dst, 20, 16, 23);
    Before.Assign(Dst);
    const TRect R{2, 3, 17, 15};
    CombineMaskMaxTiled(Src, Dst, OrgX, OrgY, R);
    const auto Offset = [](int Org, int Left, int W) {
      const int O = (Org - Left) % W;
      return O >= 0 ? W - O : -O;
    };
    const int CX = Offset(OrgX, R.Left, 6), CY = Offset(OrgY, R.Top, 4);
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 20; ++X) {
        const TRGB Old = Px(Before, X, Y);
        if (!PtInRect(R, {X, Y})) {
          ASSERT_EQ(Px(Dst, X, Y), Old);
          continue;
        }
        const TRGB S = Px(Src, (X + CX - R.Left) % 6, (Y + CY - R.Top) % 4);
        ASSERT_EQ(Px(Dst, X, Y), S.Blue > Old.Blue ? S : Old) << OrgX << ": " << X << ", " << Y;
      }
  }
  // An empty source does nothing.
  TBitmap Empty, Dst, Before;
  BlobMask(Dst, 5, 5, 24);
  Before.Assign(Dst);
  CombineMaskMaxTiled(Empty, Dst, 0, 0, WholeBitmapRect);
  CombineMaskMax(Empty, Dst, 0, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Dst, Before);
}

// ---- Feathering --------------------------------------------------------------------------------

// Rows of first bytes, 0 for '#', 255 for '.'.
void FromRows(TBitmap& M, std::initializer_list<const char*> Rows) {
  const int W = int(std::strlen(*Rows.begin()));
  Flat(M, W, int(Rows.size()), 255);
  int Y = 0;
  for (const char* Row : Rows) {
    for (int X = 0; X < W; ++X)
      if (Row[X] == '#') SetPx(M, X, Y, Grey(0));
    ++Y;
  }
}

TEST(GreyMasksTest, FeatherRamps) {
  TBitmap M;
  // A step of one pixel: 128 with Radius 2 and more, nothing with 0 or 1.
  for (int Radius : {0, 1, 2, 5, -1}) {
    FromRows(M, {"####..", "###...", "......"});
    FeatherMask(M, WholeBitmapRect, Radius);
    TBitmap E;
    FromRows(E, {"####..", "###...", "......"});
    if (Radius >= 2 || Radius < 0) SetPx(E, 3, 1, Grey(128));
    EXPECT_IMAGES_MATCH(M, E, 0, "feather-step") << Radius;
  }
  // A step of two: 86 and 170 from Radius 3 on.
  for (int Radius : {2, 3, 99}) {
    FromRows(M, {"#####..", "###....", "......."});
    FeatherMask(M, WholeBitmapRect, Radius);
    EXPECT_EQ(Px(M, 3, 1).Blue, Radius >= 3 ? 86 : 255) << Radius;
    EXPECT_EQ(Px(M, 4, 1).Blue, Radius >= 3 ? 170 : 255) << Radius;
  }
  // The same along a column.
  FromRows(M, {"###", "###", "##.", "#..", "#..", "..."});
  FeatherMask(M, WholeBitmapRect, 5);
  EXPECT_EQ(Px(M, 1, 3).Blue, 86);
  EXPECT_EQ(Px(M, 1, 4).Blue, 170);
  // A mask without a pixel of 0 does not change.
  BlobMask(M, 20, 20, 30);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X)
      if (Px(M, X, Y).Blue == 0) SetPx(M, X, Y, Grey(1));
  TBitmap Copy;
  Copy.Assign(M);
  FeatherMask(M, WholeBitmapRect, -1);
  EXPECT_IMAGES_MATCH(M, Copy);
}

TEST(GreyMasksTest, FeatherKeepsTheOpaquePartAndOnlyLowers) {
  TBitmap M, Before;
  BlobMask(M, 60, 40, 31);
  Before.Assign(M);
  FeatherMask(M, {2, 1, 58, 39}, 12);
  int Changed = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 60; ++X) {
      const int Old = Px(Before, X, Y).Blue, New = Px(M, X, Y).Blue;
      ASSERT_EQ(Old == 0, New == 0);
      ASSERT_LE(New, Old);
      Changed += New != Old;
    }
  EXPECT_GT(Changed, 0);
}

using GreyMasksProgressTest = TProgressFixture;

TEST_F(GreyMasksProgressTest, FeatherCancels) {
  TBitmap M, Before;
  FromRows(M, {"####..", "###...", "......"});
  Before.Assign(M);
  ProgressCancelled = true;
  FeatherMask(M, WholeBitmapRect, 5);
  EXPECT_IMAGES_MATCH(M, Before);
  ProgressCancelled = false;
  // A cancel at the first row's step ends both passes: row 1's ramp is not drawn.
  TCancelAt Sink(1);
  Install(Sink);
  FeatherMask(M, WholeBitmapRect, 5);
  EXPECT_IMAGES_MATCH(M, Before);
  EXPECT_EQ(Sink.Begins, 1);
}

} // namespace
