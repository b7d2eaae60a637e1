#include "raster/ScanMan.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

namespace {

void Fill(TBitmap& B, TRGB V) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) SetPx(B, X, Y, V);
}

TEST(ScanMan, FreeHelpers) {
  EXPECT_EQ(MaskAntialiasMode(true), amBilinear);
  EXPECT_EQ(MaskAntialiasMode(false), amNearest);
  EXPECT_EQ(ImageAntialiasMode(true), amBicubic);
  EXPECT_EQ(ImageAntialiasMode(false), amNearest);
  struct Case {
    double V;
    int B;
  };
  for (const Case& C : {Case{-3, 0}, Case{0, 0}, Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2}, Case{253.5, 254},
                        Case{254, 254}, Case{254.2, 255}, Case{254.3, 255}, Case{1e9, 255}, Case{-1e9, 0}})
    EXPECT_EQ(ClampRoundByte(C.V), C.B) << C.V;
  EXPECT_EQ(BilinearTRGB(Grey(100), Grey(101), Grey(0), Grey(0), 0.5, 0), Grey(100));
  EXPECT_EQ(BilinearTRGB({10, 20, 30}, {50, 60, 70}, {90, 100, 110}, {130, 140, 150}, 0.25, 0.75), (TRGB{80, 90, 100}));
}

TEST(ScanMan, DiBitmap) {
  TBitmap B(5, 4);
  FillRandom(B, 3);
  TBitmap Orig;
  Orig.Assign(B);
  TDiBitmap D(B, Rect(1, 1, 10, 3));
  EXPECT_EQ(D.ClipRect(), Rect(1, 1, 5, 3));
  const TRGB P = Px(B, 2, 2);
  EXPECT_EQ(D.GetPixelBGR(2, 2), P.Blue | P.Green << 8 | P.Red << 16);
  EXPECT_EQ(D.GetPixelBGR(0, 0), 0);
  EXPECT_EQ(D.GetPixelBGR(2, 3), 0);
  D.SetPixelBGR(3, 1, 0x123456);
  EXPECT_EQ(Px(B, 3, 1), (TRGB{0x56, 0x34, 0x12}));
  D.SetPixelBGR(0, 1, 0x123456); // outside the clip rectangle
  EXPECT_EQ(Px(B, 0, 1), Px(Orig, 0, 1));
  D.SetPixelBGR(3, 1, Px(Orig, 3, 1).Blue | Px(Orig, 3, 1).Green << 8 | Px(Orig, 3, 1).Red << 16);
  D.SetPixelBGRXOr(4, 2, 0xFF00FF);
  EXPECT_EQ(Px(B, 4, 2).Blue, 255 - Px(Orig, 4, 2).Blue);
  EXPECT_EQ(Px(B, 4, 2).Green, Px(Orig, 4, 2).Green);
  D.SetPixelBGRXOr(4, 2, 0xFF00FF);
  EXPECT_IMAGES_MATCH(B, Orig);
  EXPECT_EQ(D.GetPixelAdr(3, 2), B.ScanLine(2) + 9);
  // A reversed clip rectangle is not normalised: nothing is inside.
  D.SetClipRect(Rect(4, 3, 1, 1));
  EXPECT_EQ(D.GetPixelBGR(2, 2), 0);
}

TEST(ScanMan, DiBitmapOfOneRow) {
  TBitmap B(7, 1);
  Fill(B, Grey(9));
  TDiBitmap D(B, WholeBitmapRect);
  EXPECT_EQ(D.ClipRect(), Rect(0, 0, 7, 1));
  D.SetPixelBGR(6, 0, 0x010203);
  EXPECT_EQ(Px(B, 6, 0), (TRGB{3, 2, 1}));
  EXPECT_EQ(D.GetPixelBGR(6, 0), 0x010203);
  TBitmap Empty, Indexed(4, 4, pf8bit);
  TDiBitmap E(Empty, WholeBitmapRect), I(Indexed, WholeBitmapRect);
  EXPECT_TRUE(E.ClipRect().IsEmpty());
  EXPECT_TRUE(I.ClipRect().IsEmpty());
  I.SetPixelBGR(0, 0, 0xFFFFFF);
  EXPECT_EQ(I.GetPixelBGR(0, 0), 0);
}

TEST(ScanMan, ManagerGeometry) {
  TBitmap B(100, 100);
  TScanLinesManager M(B, Rect(10, 20, 30, 40));
  EXPECT_EQ(M.Sel(), Rect(10, 20, 29, 39));
  ASSERT_EQ(M.ScanLines().size(), 20u);
  EXPECT_EQ(M.LineSize(), 90);
  EXPECT_EQ(M.ScanLines()[0], B.ScanLine(20));
  EXPECT_EQ(M.GetScanLine(39), B.ScanLine(39));
  TScanLinesManager Reversed(B, Rect(30, 40, 10, 20));
  EXPECT_TRUE(Reversed.ScanLines().empty());
  EXPECT_EQ(Reversed.Sel(), Rect(0, 0, -1, -1));
  TScanLinesManager Clipped(B, Rect(-5, 90, 200, 300));
  EXPECT_EQ(Clipped.Sel(), Rect(0, 90, 99, 99));
  EXPECT_EQ(Clipped.LineSize(), 300);
  TBitmap Indexed(10, 10, pf8bit);
  TScanLinesManager NotRgb(Indexed, WholeBitmapRect);
  EXPECT_TRUE(NotRgb.ScanLines().empty());
}

TEST(ScanMan, RollingRowCopies) {
  TBitmap B(4, 3);
  FillRandom(B, 9);
  TScanLinesManager M(B, WholeBitmapRect);
  const auto Holds = [&](int Copy, int Row) {
    return std::equal(B.ScanLine(Row), B.ScanLine(Row) + 12, M.GetBufferLine(Copy));
  };
  M.AddBufferLine(B.ScanLine(0)); // no copies yet: nothing
  M.InitBuffer(B.ScanLine(0), 3);
  EXPECT_EQ(M.BufferCount(), 3);
  EXPECT_TRUE(Holds(1, 0));
  EXPECT_TRUE(Holds(2, 0));
  M.AddBufferLine(B.ScanLine(0));
  for (int Copy = 0; Copy < 3; ++Copy) EXPECT_TRUE(Holds(Copy, 0)) << Copy;
  M.AddBufferLine(B.ScanLine(1));
  EXPECT_TRUE(Holds(2, 1));
  EXPECT_TRUE(Holds(1, 0));
  EXPECT_TRUE(Holds(0, 0));
  M.AddBufferLine(B.ScanLine(2));
  EXPECT_TRUE(Holds(2, 2));
  EXPECT_TRUE(Holds(1, 1));
  EXPECT_TRUE(Holds(0, 0));
  // A second list replaces the first (the leak checker sees the old one go).
  M.InitBuffer(nullptr, 2);
  EXPECT_EQ(M.BufferCount(), 2);
  EXPECT_EQ(M.GetBufferLine(1)[0], 0);
}

// The in-place protocol: a vertical 3-row mean written into the rows it
// reads gives what the same filter gives from an untouched copy.
TEST(ScanMan, InPlaceFilterProtocol) {
  TBitmap B(9, 7);
  FillRandom(B, 21);
  TBitmap Orig;
  Orig.Assign(B);
  const TRect R = Rect(2, 1, 8, 6);
  const int Radius = 1;
  TScanLinesManagerEx M(B, R);
  const TRect S = M.Sel();
  M.InitBuffer(M.GetScanLine(S.Top), Radius + 1);
  for (int Y = S.Top; Y <= S.Bottom; ++Y) {
    M.AddBufferLine(M.GetScanLine(Y));
    const int Below = std::min(Y + 1, S.Bottom);
    for (int X = S.Left; X <= S.Right; ++X) {
      const TRGB A = M.GetBufferPixel(X, Radius - 1), C = M.GetBufferPixel(X, Radius), D = M.GetPixel(X, Below);
      M.SetPixel(X, Y,
                 {uint8_t((A.Blue + C.Blue + D.Blue) / 3), uint8_t((A.Green + C.Green + D.Green) / 3),
                  uint8_t((A.Red + C.Red + D.Red) / 3)});
    }
  }
  for (int Y = 0; Y < 7; ++Y)
    for (int X = 0; X < 9; ++X) {
      TRGB Expected = Px(Orig, X, Y);
      if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) {
        const TRGB A = Px(Orig, X, std::max(Y - 1, R.Top)), C = Px(Orig, X, Y),
                   D = Px(Orig, X, std::min(Y + 1, R.Bottom - 1));
        Expected = {uint8_t((A.Blue + C.Blue + D.Blue) / 3), uint8_t((A.Green + C.Green + D.Green) / 3),
                    uint8_t((A.Red + C.Red + D.Red) / 3)};
      }
      EXPECT_EQ(Px(B, X, Y), Expected) << X << "," << Y;
    }
}

TEST(ScanMan, ClippedAndClampedPixels) {
  TBitmap B(10, 10);
  FillRandom(B, 4);
  TScanLinesManagerEx M(B, WholeBitmapRect);
  M.SetBackColor({1, 2, 3});
  EXPECT_EQ(M.GetPixel_T(-5, 3), (TRGB{1, 2, 3}));
  EXPECT_EQ(M.GetPixel_T(4, 10), (TRGB{1, 2, 3}));
  EXPECT_EQ(M.GetPixel_T(4, 9), Px(B, 4, 9));
  M.SetPixelsInLimits(true);
  EXPECT_EQ(M.GetPixel_T(-5, 3), Px(B, 0, 3));
  EXPECT_EQ(M.GetPixel_T(50, -50), Px(B, 9, 0));

  TScanLinesManagerEx Part(B, Rect(2, 2, 6, 6));
  Part.SetPixelsInLimits(true);
  EXPECT_EQ(Part.GetPixel_T(0, 3), Px(B, 2, 3));
  EXPECT_EQ(Part.GetPixel_T(7, 7), Px(B, 5, 5));

  TBitmap Empty(4, 4);
  TScanLinesManagerEx None(Empty, Rect(3, 3, 1, 1));
  None.SetPixelsInLimits(true);
  EXPECT_EQ(None.GetPixel_T(0, 0), (TRGB{255, 255, 255}));
}

TEST(ScanMan, OpacityWrites) {
  TBitmap B(4, 4);
  Fill(B, Grey(100));
  TScanLinesManagerEx M(B, Rect(0, 0, 3, 3));
  M.SetOpacity(50);
  M.SetPixel_T(1, 1, Grey(200));
  EXPECT_EQ(Px(B, 1, 1), Grey(150));
  M.SetPixel_T(3, 3, Grey(200));
  M.SetPixel_T(-1, 0, Grey(200));
  EXPECT_EQ(Px(B, 3, 3), Grey(100));
  M.SetOpacity(100);
  M.SetPixel_T(0, 0, {1, 2, 3});
  EXPECT_EQ(Px(B, 0, 0), (TRGB{1, 2, 3}));

  // Spread at an integer point with opacity 100: that pixel only.
  Fill(B, Grey(100));
  M.SetAntialiasMode(amBilinear);
  M.SetPixel_A(1, 1, Grey(0));
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) EXPECT_EQ(Px(B, X, Y), Grey(X == 1 && Y == 1 ? 0 : 100)) << X << "," << Y;
  // Between four pixels at opacity 50: each takes Round(25) * 50 div 100 = 12 %.
  Fill(B, Grey(100));
  M.SetOpacity(50);
  M.SetPixel_A(0.5, 1.5, Grey(200));
  for (TPoint P : {TPoint{0, 1}, TPoint{1, 1}, TPoint{0, 2}, TPoint{1, 2}}) EXPECT_EQ(Px(B, P.X, P.Y), Grey(112));
  // The parts outside Sel are dropped.
  Fill(B, Grey(100));
  M.SetOpacity(100);
  M.SetPixel_A(2.25, 2.5, Grey(0));
  EXPECT_EQ(Px(B, 2, 2), Grey(100 - 100 * 38 / 100));
  EXPECT_EQ(Px(B, 3, 2), Grey(100));
  EXPECT_EQ(Px(B, 2, 3), Grey(100));
  // Nearest mode writes at the rounded point, ties to even.
  Fill(B, Grey(100));
  M.SetAntialiasMode(amNearest);
  M.SetPixel_A(0.5, 1.5, Grey(7));
  EXPECT_EQ(Px(B, 0, 2), Grey(7));
}

TEST(ScanMan, InterpolationLimits) {
  TBitmap B(10, 10);
  TScanLinesManagerEx M(B, Rect(2, 2, 8, 8)); // Sel (2, 2, 7, 7)
  struct Case {
    TAntialiasMode Mode;
    double X, Y;
    bool In;
  };
  for (const Case& C :
       {Case{amNearest, 2, 7, true}, Case{amNearest, 1.5, 4, false}, Case{amNearest, 7.5, 4, false},
        Case{amBilinear, 1, 8, true}, Case{amBilinear, 0.9, 4, false}, Case{amBicubic, 0, 9, true},
        Case{amBicubic, -0.5, 4, false}, Case{amMitchell, 9, 0, true}, Case{amLagrange, 9.5, 4, false}}) {
    M.SetAntialiasMode(C.Mode);
    EXPECT_EQ(M.PtInLimits(C.X, C.Y), C.In) << int(C.Mode) << " " << C.X << "," << C.Y;
  }
  M.SetAntialiasMode(amBicubic);
  EXPECT_EQ(M.InterpolRect(), Rect(0, 0, 9, 9));
}

// The readers written out plainly from their formulas, against the
// manager's, on random points inside, across the edges and outside.
int RefFloor(double V) { return static_cast<int>(std::floor(V)); }

TRGB RefGet(const TBitmap& B, const TRect& S, bool InLimits, TRGB Back, int X, int Y) {
  if (X >= S.Left && X <= S.Right && Y >= S.Top && Y <= S.Bottom) return Px(B, X, Y);
  if (!InLimits) return Back;
  return Px(B, std::clamp(X, S.Left, S.Right), std::clamp(Y, S.Top, S.Bottom));
}

uint8_t RefByte(double V) {
  if (V <= 0) return 0;
  if (V > 254) return 255;
  return static_cast<uint8_t>(std::nearbyint(V));
}

double RefKernel(TAntialiasMode Mode, double T) {
  switch (Mode) {
  case amBicubic:
    return T < 1 ? (T - 1) * (T * T - T - 1) : -(T - 1) * (T - 2) * (T - 2);
  case amMitchell:
    return T < 1 ? 7 * T * T * T / 6 - 2 * T * T + 8.0 / 9 : 2 * T * T - 10 * T / 3 - 7 * T * T * T / 18 + 16.0 / 9;
  default:
    return T < 1 ? (T - 2) * 0.5 * (T + 1) * (T - 1) : -(T - 3) * (T - 2) * (T - 1) / 6;
  }
}

TRGB RefSample(const TBitmap& B, const TRect& S, bool InLimits, TRGB Back, TAntialiasMode Mode, double X, double Y) {
  const auto Get = [&](int PX, int PY) { return RefGet(B, S, InLimits, Back, PX, PY); };
  const int IX = RefFloor(X), IY = RefFloor(Y);
  double Sum[3] = {0, 0, 0};
  if (Mode == amNearest) return Get(static_cast<int>(std::nearbyint(X)), static_cast<int>(std::nearbyint(Y)));
  if (Mode == amBilinear) {
    const double FX = X - IX, FY = Y - IY;
    const TRGB P[4] = {Get(IX, IY), Get(IX + 1, IY), Get(IX, IY + 1), Get(IX + 1, IY + 1)};
    const double W[4] = {(1 - FX) * (1 - FY), FX * (1 - FY), (1 - FX) * FY, FX * FY};
    for (int K = 0; K < 4; ++K) {
      Sum[0] += P[K].Blue * W[K];
      Sum[1] += P[K].Green * W[K];
      Sum[2] += P[K].Red * W[K];
    }
  } else {
    for (int I = IY - 1; I <= IY + 2; ++I)
      for (int J = IX - 1; J <= IX + 2; ++J) {
        const double W = RefKernel(Mode, std::fabs(X - J)) * RefKernel(Mode, std::fabs(Y - I));
        const TRGB P = Get(J, I);
        Sum[0] += P.Blue * W;
        Sum[1] += P.Green * W;
        Sum[2] += P.Red * W;
      }
  }
  return {RefByte(Sum[0]), RefByte(Sum[1]), RefByte(Sum[2])};
}

TEST(ScanMan, SamplersMatchTheirKernels) {
  TBitmap B(24, 18);
  FillRandom(B, 77);
  const TRect Sels[] = {WholeBitmapRect, Rect(3, 4, 20, 15)};
  std::mt19937 Random(2024);
  std::uniform_real_distribution<double> U(-4, 28);
  for (const TRect& Sel : Sels)
    for (bool InLimits : {false, true})
      for (TAntialiasMode Mode : {amNearest, amBilinear, amBicubic, amMitchell, amLagrange}) {
        TScanLinesManagerEx M(B, Sel);
        M.SetPixelsInLimits(InLimits);
        M.SetBackColor({10, 200, 90});
        M.SetAntialiasMode(Mode);
        const TRect S = M.Sel();
        int Mismatches = 0;
        for (int I = 0; I < 3000 && Mismatches < 5; ++I) {
          // Every tenth point on a whole or half coordinate.
          double X = U(Random), Y = U(Random);
          if (I % 10 == 0) X = std::floor(X * 2) / 2;
          if (I % 10 == 1) Y = std::floor(Y);
          const TRGB Expected = RefSample(B, S, InLimits, M.BackColor(), Mode, X, Y);
          const TRGB Got = M.GetPixel_A(X, Y);
          const TRGB Templated = M.WithSampler([&](auto Reader) { return Reader(X, Y); });
          EXPECT_EQ(Got, Expected) << "mode " << int(Mode) << " limits " << InLimits << " at " << X << "," << Y;
          EXPECT_EQ(Templated, Got);
          Mismatches += !(Got == Expected);
        }
      }
}

TEST(ScanMan, SamplerEdgeCases) {
  TBitmap B(8, 8);
  Fill(B, Grey(77));
  SetPx(B, 3, 3, Grey(100));
  SetPx(B, 4, 3, Grey(101));
  TScanLinesManagerEx M(B, WholeBitmapRect);
  M.SetAntialiasMode(amBilinear);
  EXPECT_EQ(M.GetPixel_A(3, 3), Grey(100));
  EXPECT_EQ(M.GetPixel_A(3.5, 3), Grey(100)); // 100.5 rounds to even
  // A uniform area gives its value back from every 4 x 4 reader.
  Fill(B, Grey(201));
  for (TAntialiasMode Mode : {amBicubic, amMitchell, amLagrange}) {
    M.SetAntialiasMode(Mode);
    EXPECT_EQ(M.GetPixel_A(3.37, 4.81), Grey(201)) << int(Mode);
    EXPECT_EQ(M.GetPixel_A(4, 4), Grey(201)) << int(Mode);
  }
  // Bicubic overshoot beyond 254 clamps to 255, below 0 to 0.
  Fill(B, Grey(0));
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 4; X < 8; ++X) SetPx(B, X, Y, Grey(255));
  M.SetAntialiasMode(amBicubic);
  EXPECT_EQ(M.GetPixel_A(4.25, 4).Blue, 255);
  EXPECT_EQ(M.GetPixel_A(2.75, 4).Blue, 0);
  // Far away points do not overflow.
  M.SetPixelsInLimits(true);
  EXPECT_EQ(M.GetPixel_A(1e300, -1e300), Grey(255));
  EXPECT_EQ(M.GetPixel_A(-1e12, 4), Grey(0));
}

} // namespace
