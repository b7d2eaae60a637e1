#include "raster/Rotation24.h"
#include "ProgressTestSupport.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

void Random24(TBitmap& B, int W, int H, unsigned Seed) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  FillRandom(B, Seed);
}

TEST(Rotation24Test, QuarterTurns) {
  TBitmap Src, CW, CCW;
  Random24(Src, 3, 2, 1);
  RotateBitmap90To(Src, CW, true);
  RotateBitmap90To(Src, CCW, false);
  ASSERT_EQ(CW.Width(), 2);
  ASSERT_EQ(CW.Height(), 3);
  EXPECT_EQ(Px(CW, 1, 0), Px(Src, 0, 0));  // top-left to top-right
  EXPECT_EQ(Px(CCW, 0, 2), Px(Src, 0, 0)); // top-left to bottom-left

  // The whole mapping on a size larger than the tiles, and the round trips.
  Random24(Src, 150, 71, 2);
  for (bool Clockwise : {true, false}) {
    TBitmap Dst;
    RotateBitmap90To(Src, Dst, Clockwise);
    ASSERT_EQ(Dst.PixelFormat(), pf24bit);
    ASSERT_EQ(Dst.Width(), 71);
    ASSERT_EQ(Dst.Height(), 150);
    for (int Y = 0; Y < 71; ++Y)
      for (int X = 0; X < 150; ++X)
        ASSERT_EQ(Clockwise ? Px(Dst, 70 - Y, X) : Px(Dst, Y, 149 - X), Px(Src, X, Y)) << X << ", " << Y;
  }
  TBitmap Image;
  Image.Assign(Src);
  for (int K = 0; K < 4; ++K) RotateBitmap90(Image, true);
  EXPECT_IMAGES_MATCH(Image, Src);
  RotateBitmap90(Image, true);
  RotateBitmap90(Image, false);
  EXPECT_IMAGES_MATCH(Image, Src);

  // Another format is turned through a 24-bit copy.
  TBitmap Wide(4, 2, pf32bit, clRed), Turned;
  RotateBitmap90To(Wide, Turned, true);
  EXPECT_EQ(Turned.PixelFormat(), pf24bit);
  EXPECT_EQ(Turned.Width(), 2);
  EXPECT_EQ(Px(Turned, 1, 3), (TRGB{0, 0, 255}));
}

TEST(Rotation24Test, ExpandedSizesFollowTheFormula) {
  struct Case {
    int W, H;
    double Angle;
    bool Expand;
    int NewW, NewH;
  };
  const Case Cases[] = {
      {100, 50, 90, true, 51, 100}, // cos(-pi/2) is 6.1e-17, not 0
      {100, 50, -90, true, 51, 100}, {100, 50, 45, true, 107, 107},
      {100, 50, 45, false, 100, 50}, {100, 50, 180, true, 100, 51}, // sin(-pi) is -1.2e-16: only 50 + 1.2e-14 rounds up
      {30, 20, 30, true, 36, 33},
  };
  for (const Case& C : Cases) {
    TBitmap Src(C.W, C.H), Dst;
    RotateBitmapAngleTo(Src, Dst, C.Angle, C.Expand, clWhite, amBilinear);
    EXPECT_EQ(Dst.Width(), C.NewW) << C.Angle;
    EXPECT_EQ(Dst.Height(), C.NewH) << C.Angle;
  }
}

TEST(Rotation24Test, AnyAngleSamplesAroundTheCentres) {
  // Every destination pixel reads the source at the point of the formula.
  TBitmap Src;
  Random24(Src, 23, 14, 3);
  for (TAntialiasMode Mode : {amNearest, amBilinear, amBicubic})
    for (double Angle : {30.0, -117.5, 200.0})
      for (bool Expand : {true, false}) {
        TBitmap Dst;
        RotateBitmapAngleTo(Src, Dst, Angle, Expand, RGB(10, 200, 30), Mode);
        TScanLinesManagerEx Lines(Src, WholeBitmapRect);
        Lines.SetBackColor({30, 200, 10});
        Lines.SetAntialiasMode(Mode);
        const double A = -Angle * std::numbers::pi / 180, C = std::cos(A), S = std::sin(A);
        const double XD = (Dst.Width() - 1) / 2.0, YD = (Dst.Height() - 1) / 2.0;
        TBitmap Ref(Dst.Width(), Dst.Height());
        for (int Y = 0; Y < Dst.Height(); ++Y)
          for (int X = 0; X < Dst.Width(); ++X) {
            const double DX = X - XD, DY = Y - YD;
            RowOf(Ref, Y)[X] = Lines.GetPixel_A(DX * C - DY * S + 11, DX * S + DY * C + 6.5);
          }
        EXPECT_IMAGES_MATCH(Dst, Ref, 0, "rotate");
      }
}

TEST(Rotation24Test, QuarterTurnByAngleOfASquareIsTheQuarterTurn) {
  TBitmap Src, ByAngle, Quarter;
  Random24(Src, 9, 9, 4);
  RotateBitmapAngleTo(Src, ByAngle, 90, true, clWhite, amNearest);
  RotateBitmap90To(Src, Quarter, true);
  EXPECT_IMAGES_MATCH(ByAngle, Quarter);
}

TEST(Rotation24Test, CutCornersTakeTheBackgroundOrTheEdge) {
  TBitmap Red(20, 20, pf24bit, clRed), Dst;
  RotateBitmapAngleTo(Red, Dst, 45, false, clBlue, amBilinear);
  EXPECT_EQ(Dst.Width(), 20);
  EXPECT_EQ(Px(Dst, 0, 0), (TRGB{255, 0, 0}));
  EXPECT_EQ(Px(Dst, 10, 10), (TRGB{0, 0, 255}));
  RotateBitmapAngleTo(Red, Dst, 45, false, clNone, amBicubic);
  EXPECT_EQ(Px(Dst, 0, 0), (TRGB{0, 0, 255}));
  EXPECT_EQ(Px(Dst, 19, 19), (TRGB{0, 0, 255}));
}

TEST(Rotation24Test, InPlace) {
  TBitmap Image, Expected;
  Random24(Image, 17, 11, 5);
  RotateBitmapAngleTo(Image, Expected, 33, true, clBlack, amMitchell);
  RotateBitmapAngle(Image, 33, true, clBlack, amMitchell);
  EXPECT_IMAGES_MATCH(Image, Expected);
}

TEST(Rotation24Test, PointMapping) {
  EXPECT_EQ(RotateBitmapPoint({0, 0}, 90, 100, 50, 50, 100), (TPoint{49, 0}));
  // The pixel a point lands on samples (nearest) that point back.
  TBitmap Src(31, 18), Dst;
  for (int Y = 0; Y < 18; ++Y)
    for (int X = 0; X < 31; ++X) RowOf(Src, Y)[X] = {uint8_t(X), uint8_t(Y), 77};
  RotateBitmapAngleTo(Src, Dst, 25, true, clWhite, amNearest);
  for (TPoint P : {TPoint{15, 9}, TPoint{3, 4}, TPoint{28, 2}, TPoint{10, 15}}) {
    const TPoint Q = RotateBitmapPoint(P, 25, 31, 18, Dst.Width(), Dst.Height());
    const TRGB V = Px(Dst, Q.X, Q.Y);
    EXPECT_LE(std::abs(V.Blue - P.X), 1) << P.X << ", " << P.Y;
    EXPECT_LE(std::abs(V.Green - P.Y), 1) << P.X << ", " << P.Y;
  }
}

using Rotation24ProgressTest = TProgressFixture;

TEST_F(Rotation24ProgressTest, ZeroAngleCopiesWithoutProgress) {
  TCancelAt Sink(0);
  Install(Sink);
  TBitmap Image, Copy, Other(3, 3, pf8bit);
  Random24(Image, 7, 5, 6);
  Copy.Assign(Image);
  RotateBitmapAngle(Image, 0, true, clWhite, amBicubic);
  EXPECT_IMAGES_MATCH(Image, Copy);
  RotateBitmapAngleTo(Image, Other, 0, true, clWhite, amBicubic);
  EXPECT_IMAGES_MATCH(Other, Copy);
  EXPECT_EQ(Sink.Begins, 0);
}

TEST_F(Rotation24ProgressTest, Cancels) {
  TBitmap Src;
  Random24(Src, 20, 30, 7);
  // At the begin: Dst keeps what it held.
  TBitmap Dst(4, 4, pf24bit, clLime);
  ProgressCancelled = true;
  RotateBitmapAngleTo(Src, Dst, 10, true, clBlack, amBilinear);
  ProgressCancelled = false;
  EXPECT_IMAGES_MATCH(Dst, TBitmap(4, 4, pf24bit, clLime));
  // Later: the rows after the cancel keep the background.
  TBitmap Full, Cut;
  RotateBitmapAngleTo(Src, Full, 10, false, clBlack, amBilinear);
  TCancelAt Sink(5); // set at row 4: row 5 is refused
  Install(Sink);
  RotateBitmapAngleTo(Src, Cut, 10, false, clBlack, amBilinear);
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 20; ++X) ASSERT_EQ(Px(Cut, X, Y), Y < 5 ? Px(Full, X, Y) : TRGB{}) << X << ", " << Y;
}

} // namespace
