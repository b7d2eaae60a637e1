#include "filters/FiltresComposes.h"

#include "FilterTestSupport.h"
#include "filters/MatrixConst.h"
#include "raster/FilterEvent.h"
#include "raster/RandomGen.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

using namespace FilterTest;

namespace {

void Flat(TBitmap& B, int W, int H, TRGB C) {
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) SetPx(B, X, Y, C);
}

int Lum(const TRGB& P) { return static_cast<int>(std::trunc((P.Blue * 0.11 + P.Green * 0.59) + P.Red * 0.3)); }

// The edge mask from its definition: the 5 x 5 Laplacian with centre
// Level - 33 at 100 %, negated, then grey or thresholded at 222.
void ReferenceEdgeMask(const TBitmap& Src, TBitmap& Expected, int Level, bool BlackWhite, const TRect& Rect) {
  TFilterMatrix M = MatrixFromRecord5x5(MatEdge5x5);
  M.Cell(2, 2) = Level - 33;
  TBitmap Convolved;
  ReferenceConvolve(Src, Convolved, M, 100, 0, Rect);
  ReferenceOver(Convolved, Expected, Rect, [&](TRGB& Out, int, int, const TRect&) {
    const TRGB N{uint8_t(255 - Out.Blue), uint8_t(255 - Out.Green), uint8_t(255 - Out.Red)};
    const int L = Lum(N);
    Out = BlackWhite ? Grey(L > 222 ? 255 : 0) : Grey(L);
  });
}

int CountNot(const TBitmap& B, TRGB C) {
  int N = 0;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) N += Px(B, X, Y) != C;
  return N;
}

} // namespace

TEST(EdgeMask24, LevelsAreClampedToZeroToNine) {
  TBitmap Src, Mask, Expected;
  RandomImage(Src, 51, 30, 20);
  struct TCase {
    int Level, AsLevel;
    bool BlackWhite;
  };
  for (const TCase& K : {TCase{12, 9, false}, TCase{-3, 0, true}, TCase{7, 7, true}, TCase{4, 4, false}})
    for (const TRect& Rect : {WholeBitmapRect, TRect{3, 2, 25, 17}}) {
      EdgeMask24(Src, Mask, K.Level, K.BlackWhite, Rect);
      ReferenceEdgeMask(Src, Expected, K.AsLevel, K.BlackWhite, Rect);
      ASSERT_IMAGES_MATCH(Mask, Expected) << "level " << K.Level;
    }
}

TEST(EdgeMask24, FlatAreasAreWhiteAndALineGivesDarkContours) {
  TBitmap Src, Mask;
  Flat(Src, 20, 20, Rgb(90, 120, 200));
  EdgeMask24(Src, Mask, 7, true, WholeBitmapRect);
  EXPECT_EQ(CountNot(Mask, Grey(255)), 0);
  for (int Y = 0; Y < 20; ++Y) SetPx(Src, 10, Y, Grey(0));
  EdgeMask24(Src, Mask, 9, true, WholeBitmapRect);
  EXPECT_EQ(Px(Mask, 10, 5), Grey(0));
  EXPECT_EQ(Px(Mask, 2, 5), Grey(255));
}

TEST(UnsharpMask24, RadiusOrAmountZeroDoesNothingEvenWithPreSoften) {
  TBitmap Src, B;
  RandomImage(Src, 52, 20, 20);
  for (auto [Radius, Amount] : {std::pair{0, 100}, {3, 0}, {-1, 50}, {2, -5}}) {
    B.Assign(Src);
    UnsharpMask24(B, Radius, Amount, 0, true, WholeBitmapRect, true);
    EXPECT_IMAGES_MATCH(B, Src);
  }
}

TEST(UnsharpMask24, ConvolvesTheUnsharpKernelAfterTheOptionalSoftening) {
  TBitmap Src, B, Soft, Expected;
  RandomImage(Src, 53, 25, 19);
  TFilterMatrix Unsharp(3, 3);
  Unsharp.Values() = {0, -1, 0, -1, 5, -1, 0, -1, 0};
  const TRect R{2, 3, 22, 17};
  B.Assign(Src);
  UnsharpMask24(B, 1, 150, 4, false, R, false);
  ReferenceConvolve(Src, Expected, Unsharp, 150, 4, R);
  EXPECT_IMAGES_MATCH(B, Expected);
  B.Assign(Src);
  UnsharpMask24(B, 1, 80, 0, true, R, false);
  ReferenceConvolve(Src, Soft, MatrixFromRecord3x3(MatSoften), 100, 0, R);
  ReferenceConvolve(Soft, Expected, Unsharp, 80, 0, R);
  EXPECT_IMAGES_MATCH(B, Expected);
}

TEST(MicroContrastAndRelief, OpacityZeroDoesNothingAndFlatAreasBarelyMove) {
  TBitmap Src, B;
  RandomImage(Src, 54, 20, 20);
  B.Assign(Src);
  MicroContrast24(B, 3, 0, true, WholeBitmapRect);
  Relief24(B, 2, true, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(B, Src);
  // Embossed flat grey is 128 everywhere: hard light with mid-grey keeps the
  // image within a level.
  Flat(Src, 20, 20, Rgb(30, 140, 220));
  B.Assign(Src);
  Relief24(B, 4, false, 100, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(B, Src, 1);
  for (int Y = 0; Y < 20; ++Y) SetPx(Src, 10, Y, Grey(0));
  B.Assign(Src);
  Relief24(B, 0, true, 100, WholeBitmapRect);
  EXPECT_GE(CountNot(B, Rgb(30, 140, 220)), 20 + 20); // the line and its relief
}

TEST(RandomStrokes24, EarlierStrokesStartNewOnes) {
  TBitmap B;
  Flat(B, 30, 9, Grey(255));
  SetPx(B, 10, 4, Grey(0));
  RandomStrokes24(B, 4, 1, 0, 0, 10, clBlack, true, WholeBitmapRect);
  // The flat stroke through (10, 4) reaches 3 or 4 pixels each way; every
  // black pixel it leaves to the right starts a stroke of its own, so the
  // row is black to the right edge, and no other row is touched.
  for (int X = 7; X < 30; ++X) EXPECT_EQ(Px(B, X, 4), Grey(0)) << X;
  EXPECT_EQ(Px(B, 5, 4), Grey(255));
  for (int Y = 0; Y < 9; ++Y)
    if (Y != 4)
      for (int X = 0; X < 30; ++X) ASSERT_EQ(Px(B, X, Y), Grey(255));
}

TEST(RandomStrokes24, RisingStrokesAndTheBrightnessRange) {
  TBitmap B;
  Flat(B, 20, 20, Grey(255));
  SetPx(B, 10, 10, Grey(0));
  RandomStrokes24(B, 2, 1, 0, 100, 200, clBlack, false, WholeBitmapRect);
  EXPECT_EQ(CountNot(B, Grey(255)), 1); // neither black nor white is in range
  const TFixedRandomize Fixed(1);
  RandomStrokes24(B, 2, 1, 0, 0, 0, clRed, false, {0, 0, 20, 11});
  // From (8, 12) rising to (12, 8) through the black pixel: its upper half
  // stays inside the rect, anti-aliased.
  EXPECT_EQ(Px(B, 11, 9).Red, 255);
  EXPECT_LT(Px(B, 11, 9).Blue, 128);
  EXPECT_EQ(Px(B, 9, 11), Grey(255));
}

TEST(ColourStrokes24, QuantisedColoursOnTheTargetAndStepZeroDoesNothing) {
  TBitmap Src, Dst;
  Flat(Src, 40, 40, Rgb(200, 100, 50));
  const TFixedRandomize Fixed(8);
  Flat(Dst, 40, 40, Grey(255));
  ColourStrokes24(Src, Dst, 5, 0, 0, 9, true, 2, WholeBitmapRect);
  EXPECT_EQ(CountNot(Dst, Grey(255)), 0);
  ColourStrokes24(Src, Dst, 5, 0, 33, 9, true, 2, WholeBitmapRect);
  int Strokes = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 40; ++X)
      if (Px(Dst, X, Y) != Grey(255)) {
        ++Strokes;
        ASSERT_EQ(Px(Dst, X, Y), Rgb(198, 99, 33));
      }
  EXPECT_GT(Strokes, 0);
  Flat(Dst, 40, 40, Grey(255));
  ColourStrokes24(Src, Dst, 5, 0, 33, 9, false, 2, WholeBitmapRect);
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 40; ++X)
      ASSERT_TRUE(Px(Dst, X, Y) == Grey(255) || Px(Dst, X, Y) == Grey(99)); // level 116 div 33 = 3
}

TEST(Fragment24, TwoShiftedCopiesAtAThird) {
  TBitmap Src, B, Before;
  RandomImage(Src, 55, 30, 30);
  RandomImage(Before, 56, 30, 30);
  B.Assign(Before);
  const TRect R{2, 3, 28, 27};
  Fragment24(B, Src, R);
  const auto Mix = [](TRGB D, TRGB S) {
    for (int C = 0; C < 3; ++C) SetChannel(D, C, Channel(D, C) + (Channel(S, C) - Channel(D, C)) * 33 / 100);
    return D;
  };
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 30; ++X) {
      TRGB E = Px(Before, X, Y);
      if (PtInRect(R, {X, Y})) {
        if (X + 4 < R.Right && Y + 4 < R.Bottom) E = Mix(E, Px(Src, X + 4, Y + 4));
        if (X + 8 < R.Right && Y + 8 < R.Bottom) E = Mix(E, Px(Src, X + 8, Y + 8));
      }
      ASSERT_EQ(Px(B, X, Y), E) << X << ", " << Y;
    }
}

TEST(Fog24, PaintsTheColourThroughCloudsAndOntoTheLayerMask) {
  TBitmap B, Mask;
  Flat(B, 64, 48, Grey(255));
  const TRect R{4, 4, 60, 40};
  const TFixedRandomize Fixed(4);
  Fog24(B, nullptr, clBlack, 50, R);
  int Darker = 0;
  for (int Y = 0; Y < 48; ++Y)
    for (int X = 0; X < 64; ++X) {
      if (!PtInRect(R, {X, Y})) {
        ASSERT_EQ(Px(B, X, Y), Grey(255));
        continue;
      }
      ASSERT_GE(Px(B, X, Y).Red, 127); // at most half way to black
      Darker += Px(B, X, Y) != Grey(255);
    }
  EXPECT_GT(Darker, 100);
  Flat(B, 64, 48, Grey(255));
  Flat(Mask, 64, 48, Grey(255)); // wholly transparent
  Fog24(B, &Mask, clBlack, 50, R);
  EXPECT_GT(CountNot(Mask, Grey(255)), 100);
}

// On a flat image the contour composites find no contour: the flat image,
// or what their other steps make of it, comes back.
TEST(Composites, FlatImagesHaveNoContours) {
  TBitmap Src, B;
  Flat(Src, 24, 18, Grey(100));
  struct TCase {
    std::string Name;
    std::function<void(TBitmap&)> Apply;
    TRGB Expected;
  };
  const std::vector<TCase> Cases{
      {"SharperContours24", [&](TBitmap& I) { SharperContours24(I, Src, WholeBitmapRect); }, Grey(100)},
      {"InnerBlur24", [&](TBitmap& I) { InnerBlur24(I, Src, WholeBitmapRect); }, Grey(100)},
      {"InkedContours24", [](TBitmap& I) { InkedContours24(I, WholeBitmapRect); }, Grey(100)},
      {"Photocopy24", [](TBitmap& I) { Photocopy24(I, WholeBitmapRect); }, Grey(255)},
      {"ColorContours24", [&](TBitmap& I) { ColorContours24(I, Src, WholeBitmapRect); }, Grey(255)},
      {"BlackContours24", [](TBitmap& I) { BlackContours24(I, 7, false, WholeBitmapRect); }, Grey(255)},
      {"Glass24 0", [&](TBitmap& I) { Glass24(I, Src, 0, WholeBitmapRect); }, Grey(100)},
  };
  for (const TCase& C : Cases) {
    B.Assign(Src);
    C.Apply(B);
    EXPECT_EQ(CountNot(B, C.Expected), 0) << C.Name;
  }
}

// Each composite of several reporting steps runs them as one bar of its
// pass count, and leaves one pass behind it.
TEST(Composites, SetTheirProgressPassesAndResetThem) {
  struct TSink : TProgressSink {
    int MostPasses = 0;
    void ProgressCallback(uint8_t Stage, int, int) override {
      if (Stage == ProgressStageBegin) MostPasses = std::max(MostPasses, ProgressState().Passes);
    }
    void HandlePendingMessages() override {}
  } Sink;
  TBitmap Src, B;
  RandomImage(Src, 57, 24, 18);
  struct TCase {
    std::string Name;
    std::function<void(TBitmap&)> Apply;
    int Passes;
  };
  const std::vector<TCase> Cases{
      {"UnsharpMask24 two passes", [](TBitmap& I) { UnsharpMask24(I, 2, 100, 0, true, WholeBitmapRect, true); }, 2},
      {"UnsharpMask24", [](TBitmap& I) { UnsharpMask24(I, 2, 100, 0, true, WholeBitmapRect, false); }, 1},
      {"SharperContours24", [&](TBitmap& I) { SharperContours24(I, Src, WholeBitmapRect); }, 3},
      {"WhiteChalk24", [](TBitmap& I) { WhiteChalk24(I, WholeBitmapRect); }, 3},
      {"Watercolor24", [](TBitmap& I) { Watercolor24(I, 3, true, true, WholeBitmapRect); }, 8},
      {"Watercolor24 plain", [](TBitmap& I) { Watercolor24(I, 3, false, false, WholeBitmapRect); }, 6},
      {"Pastels24", [](TBitmap& I) { Pastels24(I, 4, true, true, WholeBitmapRect); }, 6},
      {"Comics24", [](TBitmap& I) { Comics24(I, 40, 20, true, true, WholeBitmapRect); }, 9},
      {"BlackPencil24", [&](TBitmap& I) { BlackPencil24(I, Src, 5, 9, true, WholeBitmapRect); }, 5},
  };
  SetProgressSink(&Sink);
  for (const TCase& C : Cases) {
    Sink.MostPasses = 0;
    B.Assign(Src);
    C.Apply(B);
    EXPECT_EQ(Sink.MostPasses, C.Passes) << C.Name;
    EXPECT_EQ(ProgressState().Passes, 1) << C.Name;
  }
  SetProgressSink(nullptr);
}
