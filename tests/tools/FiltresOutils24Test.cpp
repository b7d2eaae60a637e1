// The painting engines on small fixtures: stamps, the stamp painters, drop,
// finger, clone, airbrush, nozzle, deform, art brush, retouch and magic
// erasers, and
// every engine kept inside its clip and layer on every edge and corner.
#include "tools/FiltresOutils24.h"

#include "filters/Deform24.h"
#include "filters/Distortions24.h"
#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "filters/Patterns24.h"
#include "raster/Bitmap24.h"
#include "raster/ColorUtils.h"
#include "raster/FoncUtils.h"
#include "raster/RandomGen.h"
#include "support/ImageCompare.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

TBitmap& Copy(const TBitmap& From, TBitmap& To) {
  To.Assign(From);
  return To;
}

// ---- Stamps --------------------------------------------------------------------

TEST(BrushStamp, KindsAndSizes) {
  TBitmap S;
  MakeBrushStamp24(S, 0, 3);
  ASSERT_EQ(S.Width(), 7);
  ASSERT_EQ(S.Height(), 7);
  EXPECT_EQ(Px(S, 0, 0), Grey(0));
  EXPECT_EQ(Px(S, 6, 6), Grey(0));

  MakeBrushStamp24(S, 3, 10);
  ASSERT_EQ(S.Width(), 21);
  EXPECT_LT(Px(S, 10, 10).Blue, 10);
  EXPECT_GT(Px(S, 0, 0).Blue, 245);

  // Slash: dark from bottom-left to top-right; the backslash mirrors it.
  TBitmap Back;
  MakeBrushStamp24(S, 1, 10);
  MakeBrushStamp24(Back, 2, 10);
  EXPECT_LT(Px(S, 19, 1).Blue, 128);
  EXPECT_LT(Px(S, 1, 19).Blue, 128);
  EXPECT_GT(Px(S, 1, 1).Blue, 200);
  for (int Y = 0; Y < 21; ++Y)
    for (int X = 0; X < 21; ++X) ASSERT_EQ(Px(Back, X, Y), Px(S, X, 20 - Y)) << X << "," << Y;

  MakeBrushStamp24(S, 5, 10); // triangle with its apex at the top middle
  EXPECT_LT(Px(S, 10, 1).Blue, 200);
  EXPECT_GT(Px(S, 1, 1).Blue, 250);
  EXPECT_LT(Px(S, 10, 20).Blue, 128);

  MakeBrushStamp24(S, 6, 10);
  EXPECT_TRUE(S.Empty());
  MakeBrushStamp24(S, 0, -1);
  EXPECT_TRUE(S.Empty());
  MakeBrushStamp24(S, 0, 0);
  EXPECT_EQ(S.Width(), 1);
  MakeBrushStamp24(S, 0, 2047);
  EXPECT_EQ(S.Width(), 4095);
  MakeBrushStamp24(S, 0, 1 << 30); // a stamp of gigabytes is not made
  EXPECT_TRUE(S.Empty());
}

TEST(BrushStamp, SoftRoundChangesMethodAtRadiusTwenty) {
  TBitmap Round19, Soft19, Round20, Soft20;
  MakeBrushStamp24(Round19, 3, 19);
  MakeBrushStamp24(Soft19, 4, 19);
  MakeBrushStamp24(Round20, 3, 20);
  MakeBrushStamp24(Soft20, 4, 20);
  EXPECT_IMAGES_MATCH(Soft19, Round19);
  EXPECT_FALSE(ImagesMatch(Soft20, Round20));
  EXPECT_GT(Px(Soft20, 20, 2).Blue, Px(Round20, 20, 2).Blue); // radius 16 plus blur: lighter rim
  EXPECT_LT(Px(Soft20, 20, 20).Blue, 10);
}

TEST(BevelStampImage, LitFromTheTopLeft) {
  TBitmap Image(21, 21, pf24bit, clWhite);
  MakeBevelStampImage24(Image, RGB(0, 0, 200));
  const TRGB TopLeft = Px(Image, 4, 4), Centre = Px(Image, 10, 10), BottomRight = Px(Image, 16, 16);
  EXPECT_GT(TopLeft.Red, Centre.Red);
  EXPECT_LT(BottomRight.Blue, Centre.Blue);
  EXPECT_GT(Centre.Blue, 150);
}

TEST(RainbowColor, WalksTheHueCircleOneDegreeAtATime) {
  int H1, H2, S, V;
  ColorToHSV(NextRainbowColor(), H1, S, V);
  ColorToHSV(NextRainbowColor(), H2, S, V);
  EXPECT_EQ(H2, (H1 + 1) % 360);
  EXPECT_EQ(S, 255);

  // The stamp painter takes the next colour for RainbowColor.
  TBitmap Stamp;
  MakeBrushStamp24(Stamp, 0, 1);
  TBitmap B(3, 3, pf24bit, clWhite);
  PaintBrushStamp24(Stamp, RainbowColor, B, nullptr, 0, 0, 100, WholeBitmapRect, nullptr);
  EXPECT_EQ(Px(B, 1, 1), ColorToTRGB(HSVToColor((H2 + 1) % 360, 255, 255)));
}

TEST(PaintBrushStamp, AlphaMaskAndTexture) {
  TBitmap Stamp;
  MakeBrushStamp24(Stamp, 0, 1);
  TBitmap B(5, 5, pf24bit, clWhite);
  // 50 %: alpha 127, white moves 127/255 toward black.
  PaintBrushStamp24(Stamp, clBlack, B, nullptr, 1, 1, 50, WholeBitmapRect, nullptr);
  EXPECT_EQ(Px(B, 1, 1), Grey(128));
  EXPECT_EQ(Px(B, 0, 0), Grey(255));

  TBitmap L(5, 5, pf24bit, clWhite), Mask(5, 5, pf24bit, clWhite); // transparent layer
  PaintBrushStamp24(Stamp, clRed, L, &Mask, 0, 0, 50, WholeBitmapRect, nullptr);
  EXPECT_EQ(Px(L, 1, 1), Rgb(255, 0, 0));
  EXPECT_EQ(Px(Mask, 1, 1), Grey(128));

  TBitmap Texture(2, 2, pf24bit, clWhite), T(5, 5, pf24bit, clWhite);
  PaintBrushStamp24(Stamp, clBlack, T, nullptr, 1, 1, 100, WholeBitmapRect, &Texture);
  EXPECT_EQ(Px(T, 2, 2), Grey(255));
  PaintBrushStamp24(Stamp, clBlack, T, nullptr, 1, 1, 0, WholeBitmapRect, nullptr);
  EXPECT_EQ(Px(T, 2, 2), Grey(255));
}

TEST(PaintImageStamp, ImageThroughTheStamp) {
  TBitmap Stamp(3, 3, pf24bit, clWhite);
  SetPx(Stamp, 1, 1, Grey(0));
  TBitmap Image(3, 3, pf24bit, clBlue);
  TBitmap B(5, 5, pf24bit, clWhite);
  PaintImageStamp24(Image, Stamp, B, nullptr, 1, 1, WholeBitmapRect, 100);
  EXPECT_EQ(Px(B, 2, 2), Rgb(0, 0, 255));
  EXPECT_EQ(Px(B, 1, 1), Grey(255));
}

// ---- Drop and finger ----------------------------------------------------------------

TEST(DropBrush, MovesTowardTheNeighbourhoodMean) {
  TBitmap B(9, 9, pf24bit, clWhite);
  SetPx(B, 4, 4, Grey(0));
  DropBrush24(B, 4, 4, 3, 100, WholeBitmapRect);
  // Centre: mean (8 * 255) div 9 = 226 at full weight. (5, 4) at d 1:
  // weight 100 * 2 div 3 = 66, mean 226: 255 - 29 * 66 div 100 = 236.
  EXPECT_EQ(Px(B, 4, 4), Grey(226));
  EXPECT_EQ(Px(B, 5, 4), Grey(236));
  EXPECT_EQ(Px(B, 7, 4), Grey(255)); // d 3: outside the disc

  TBitmap Flat(9, 9, pf24bit, RGB(10, 20, 30)), Before;
  Copy(Flat, Before);
  DropBrush24(Flat, 4, 4, 4, 100, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(Flat, Before);
}

TEST(FingerBrush, FirstStepChangesNothingThenDrags) {
  TBitmap B(12, 12), Mask(12, 12), Before, MaskBefore;
  FillRandom(B, 3);
  FillRandom(Mask, 4);
  Copy(B, Before);
  Copy(Mask, MaskBefore);
  FingerBrush24(B, &Mask, 6, 6, 4, 100, 0, 0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(B, Before);
  EXPECT_IMAGES_MATCH(Mask, MaskBefore);

  // Moving right (the previous point lies left): pixels take the colour two
  // steps back to the left.
  TBitmap E(12, 12, pf24bit, clWhite), EMask(12, 12, pf24bit, clWhite);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 5; ++X) {
      SetPx(E, X, Y, Grey(0));
      SetPx(EMask, X, Y, Grey(0));
    }
  FingerBrush24(E, &EMask, 6, 6, 4, 100, -3, 0, WholeBitmapRect);
  EXPECT_EQ(Px(E, 6, 6), Grey(0)); // from (4, 6)
  EXPECT_EQ(Px(E, 5, 6), Grey(0));
  EXPECT_EQ(Px(EMask, 5, 6), Grey(0));
  EXPECT_EQ(Px(E, 7, 6), Grey(255));
}

// ---- Clone ----------------------------------------------------------------------------

TEST(CloneBrush, PreciseSquareOffsetsAndTransparency) {
  TBitmap Src(20, 20, pf24bit, clBlue);
  TBitmap B(20, 20, pf24bit, clWhite);
  CloneBrush24(Src, nullptr, B, nullptr, 5, 5, 3, 0, 0, 100, WholeBitmapRect, true, false);
  EXPECT_EQ(Px(B, 2, 2), Rgb(0, 0, 255)); // corners of the square included
  EXPECT_EQ(Px(B, 8, 8), Rgb(0, 0, 255));
  EXPECT_EQ(Px(B, 9, 5), Grey(255));

  // A source outside the source bitmap leaves the pixels as they were.
  TBitmap C(20, 20, pf24bit, clWhite);
  CloneBrush24(Src, nullptr, C, nullptr, 5, 5, 3, 13, 0, 100, WholeBitmapRect, true, false);
  EXPECT_EQ(Px(C, 5, 5), Rgb(0, 0, 255));  // source x 18
  EXPECT_EQ(Px(C, 7, 5), Grey(255));       // source x 20: outside
  TBitmap Far(20, 20, pf24bit, clWhite), Blank(20, 20, pf24bit, clWhite);
  CloneBrush24(Src, nullptr, Far, nullptr, 5, 5, 3, -100, -100, 100, WholeBitmapRect, true, false);
  EXPECT_IMAGES_MATCH(Far, Blank);
}

TEST(CloneBrush, WeightedThroughTheSourceTransparency) {
  TBitmap Src(10, 10, pf24bit, clBlack), SrcMask(10, 10, pf24bit, RGB(128, 128, 128));
  SetPx(SrcMask, 6, 5, Grey(255));
  TBitmap B(10, 10, pf24bit, clWhite);
  CloneBrush24(Src, &SrcMask, B, nullptr, 5, 5, 2, 0, 0, 100, WholeBitmapRect, true, false);
  // Alpha 255 * 127 div 255 = 127: white to 128; mask 255 paints nothing.
  EXPECT_EQ(Px(B, 5, 5), Grey(128));
  EXPECT_EQ(Px(B, 6, 5), Grey(255));

  // No mask, a transparent source: its transparent colour is skipped.
  TBitmap Keyed(10, 10, pf24bit, clBlack);
  Keyed.Transparent = true;
  Keyed.SetTransparentColor(clBlack);
  SetPx(Keyed, 4, 5, Rgb(255, 0, 0));
  TBitmap D(10, 10, pf24bit, clWhite);
  CloneBrush24(Keyed, nullptr, D, nullptr, 5, 5, 2, 0, 0, 100, WholeBitmapRect, true, false);
  EXPECT_EQ(Px(D, 5, 5), Grey(255));
  EXPECT_EQ(Px(D, 4, 5), Rgb(255, 0, 0));
}

TEST(CloneBrush, FromTheSameLayerReadsItAsItWas) {
  TBitmap B(20, 1, pf24bit, clWhite);
  SetPx(B, 0, 0, Grey(0));
  // Each pixel copies its left neighbour: only (1, 0) turns black.
  CloneBrush24(B, nullptr, B, nullptr, 5, 0, 5, -1, 0, 100, WholeBitmapRect, true, false);
  EXPECT_EQ(Px(B, 1, 0), Grey(0));
  EXPECT_EQ(Px(B, 2, 0), Grey(255));
}

TEST(CloneBrush, DiffuseAndPatternTiles) {
  TFixedRandomize Seed(7);
  TBitmap Src(40, 40, pf24bit, clBlack), B(40, 40, pf24bit, clWhite);
  CloneBrush24(Src, nullptr, B, nullptr, 20, 20, 20, 0, 0, 100, WholeBitmapRect, true, true);
  int Painted = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 40; ++X) Painted += Px(B, X, Y) == Grey(0);
  EXPECT_GT(Painted, 1600 / 3 - 150);
  EXPECT_LT(Painted, 1600 / 3 + 150);

  TBitmap Pattern(2, 1, pf24bit, clBlack);
  SetPx(Pattern, 1, 0, Rgb(255, 0, 0));
  TBitmap P(10, 10, pf24bit, clWhite);
  PatternCloneBrush24(Pattern, nullptr, P, nullptr, 5, 5, 3, 100, WholeBitmapRect, false, false);
  EXPECT_EQ(Px(P, 4, 5), Grey(0));
  EXPECT_EQ(Px(P, 5, 5), Rgb(255, 0, 0));
}

// ---- Airbrush and nozzle ----------------------------------------------------------------

int CountChanged(const TBitmap& A, const TBitmap& B) {
  int N = 0;
  for (int Y = 0; Y < A.Height(); ++Y)
    for (int X = 0; X < A.Width(); ++X) N += Px(A, X, Y) != Px(B, X, Y);
  return N;
}

TEST(AirBrush, DispersionZeroPaintsTheWholeDisc) {
  TFixedRandomize Seed(11);
  TBitmap B(21, 21, pf24bit, clWhite);
  AirBrush24(B, nullptr, 10, 10, 10, 100, clBlack, 0, WholeBitmapRect);
  for (int Y = 0; Y < 21; ++Y)
    for (int X = 0; X < 21; ++X)
      EXPECT_EQ(Px(B, X, Y) != Grey(255), IntDistance(X, Y, 10, 10) < 10) << X << "," << Y;
  EXPECT_EQ(Px(B, 10, 10), Grey(0));
}

TEST(AirBrush, DispersionEightPaintsOnePixelInEightReproducibly) {
  TBitmap White(81, 81, pf24bit, clWhite), A, B;
  {
    TFixedRandomize Seed(5);
    AirBrush24(Copy(White, A), nullptr, 40, 40, 40, 100, clBlack, 8, WholeBitmapRect);
    AirBrush24(Copy(White, B), nullptr, 40, 40, 40, 100, clBlack, 8, WholeBitmapRect);
  }
  EXPECT_IMAGES_MATCH(A, B);
  const int Changed = CountChanged(A, White); // the disc has about 5000 pixels
  EXPECT_GT(Changed, 5000 / 8 - 120);
  EXPECT_LT(Changed, 5000 / 8 + 120);
  AirBrush24(A, nullptr, 40, 40, 40, 100, clBlack, -1, WholeBitmapRect);
  AirBrush24(A, nullptr, 40, 40, 40, 0, clBlack, 0, WholeBitmapRect);
  EXPECT_EQ(CountChanged(A, B), 0);
}

// A strip of Frames square frames of side H, frame i opaque in Colors[i].
void MakeStrip(TBitmap& Strip, int H, std::initializer_list<TRGB> Colors) {
  Strip.SetPixelFormat(pf32bit);
  Strip.SetSize(H * static_cast<int>(Colors.size()), H);
  int I = 0;
  for (TRGB C : Colors) {
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < H; ++X) {
        uint8_t* P = Strip.ScanLine(Y) + 4 * (I * H + X);
        P[0] = C.Blue;
        P[1] = C.Green;
        P[2] = C.Red;
        P[3] = 255;
      }
    ++I;
  }
}

TEST(NozzleBrush, FramesFormatsAndScale) {
  TBitmap Strip;
  MakeStrip(Strip, 5, {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255)});
  TBitmap B(20, 20, pf24bit, clWhite);
  NozzleBrush24(Strip, 4, B, nullptr, 10, 10, 100, 1.0, WholeBitmapRect); // 4 mod 3 = frame 1
  EXPECT_EQ(Px(B, 10, 10), Rgb(0, 255, 0));
  EXPECT_EQ(Px(B, 8, 8), Rgb(0, 255, 0)); // h = 2: the frame starts at (8, 8)
  EXPECT_EQ(Px(B, 7, 10), Grey(255));

  TBitmap Strip24(15, 5, pf24bit, clBlack), C(20, 20, pf24bit, clWhite), Blank(20, 20, pf24bit, clWhite);
  NozzleBrush24(Strip24, 0, C, nullptr, 10, 10, 100, 1.0, WholeBitmapRect);
  NozzleBrush24(Strip, 0, C, nullptr, 10, 10, 100, 0.0, WholeBitmapRect);
  NozzleBrush24(Strip, 0, C, nullptr, 10, 10, 0, 1.0, WholeBitmapRect);
  EXPECT_IMAGES_MATCH(C, Blank);

  TBitmap D(20, 20, pf24bit, clWhite);
  NozzleBrush24(Strip, -1, D, nullptr, 10, 10, 100, 2.0, WholeBitmapRect); // frame 2, twice the size
  EXPECT_EQ(Px(D, 10, 10), Rgb(0, 0, 255));
  EXPECT_EQ(Px(D, 7, 7), Rgb(0, 0, 255)); // h = 4
}

TEST(NozzleBrush, SplitTakesAlphaAsTransparency) {
  TBitmap Strip;
  MakeStrip(Strip, 2, {Rgb(10, 20, 30), Rgb(40, 50, 60)});
  Strip.ScanLine(1)[4 * 3 + 3] = 55;
  TBitmap Image, Mask;
  SplitNozzleFrame32(Strip, Image, Mask, TRect{2, 0, 9, 9});
  ASSERT_EQ(Image.Width(), 2);
  EXPECT_EQ(Px(Image, 1, 1), Rgb(40, 50, 60));
  EXPECT_EQ(Px(Mask, 1, 1), Grey(200));
  EXPECT_EQ(Px(Mask, 0, 0), Grey(0));
  ScaleNozzlePart(Mask, 1.5, true);
  EXPECT_EQ(Mask.Width(), 3);
  ScaleNozzlePart(Mask, 0.0, true);
  EXPECT_EQ(Mask.Width(), 1);
}

// ---- Deform ------------------------------------------------------------------------------

// The footprint square of a case copied out, deformed by the routine its mode
// names from the counter's given value, to compare with the engine's square.
using TSquareFilter = std::function<void(TBitmap& Square, double Strength)>;

struct TDeformCase {
  std::string Name;
  int Mode;
  bool LeftButtonDown;
  int Counter; // the deform counter before the step
  int X, Y, R, Pressure;
  TRect Clip;
  TRect Square; // the footprint: (X - R, Y - R, X + R + 1, Y + R + 1) cut to clip and layer
  double Strength;
  TSquareFilter Deform;
};

std::vector<TDeformCase> DeformCases() {
  const TRect All = WholeBitmapRect;
  const TSquareFilter Spiral = [](TBitmap& S, double K) { DeformSpiral24(S, true, WholeBitmapRect, K); };
  const TSquareFilter SpiralBack = [](TBitmap& S, double K) { DeformSpiral24(S, false, WholeBitmapRect, K); };
  const TSquareFilter Zoom = [](TBitmap& S, double K) { DeformZoom24(S, WholeBitmapRect, K); };
  const TSquareFilter Dilate = [](TBitmap& S, double K) { DeformDilate24(S, true, WholeBitmapRect, K); };
  const TSquareFilter Contract = [](TBitmap& S, double K) { DeformDilate24(S, false, WholeBitmapRect, K); };
  return {
      {"first zoom", 1, true, 0, 10, 9, 6, 100, All, {4, 3, 17, 16}, 1.0, Zoom},
      {"pressure over 100 counts as 100", 1, false, 0, 10, 9, 6, 250, All, {4, 3, 17, 16}, 1.0, Zoom},
      {"first spiral, left button down", 0, true, 0, 10, 9, 6, 50, All, {4, 3, 17, 16}, 0.5, Spiral},
      {"spiral, left button up", 0, false, 3, 10, 9, 6, 100, All, {4, 3, 17, 16}, 1.0, SpiralBack},
      {"first dilation in a corner", 2, true, 0, 2, 18, 7, 100, All, {0, 11, 10, 20}, 1.0, Dilate},
      {"contraction cut by the clip", 3, true, 1, 10, 9, 7, 70, {5, 4, 20, 15}, {5, 4, 18, 15}, 0.7, Contract},
  };
}

TEST(DeformBrush, DeformsTheFootprintSquareOnceAndCopiesItBack) {
  TBitmap Base(24, 20);
  FillRandom(Base, 41);
  for (const TDeformCase& C : DeformCases()) {
    SCOPED_TRACE(C.Name);
    TBitmap B, Expected, Square(C.Square.Width(), C.Square.Height());
    Copy(Base, B);
    Copy(Base, Expected);
    CopyRect24(Base, C.Square, Square, 0, 0, WholeBitmapRect);
    SetDeformCounter(C.Counter);
    C.Deform(Square, C.Strength);
    CopyRect24(Square, WholeBitmapRect, Expected, C.Square.Left, C.Square.Top, WholeBitmapRect);
    ASSERT_FALSE(ImagesMatch(Expected, Base)); // the case shows a deformation

    SetDeformCounter(C.Counter);
    DeformBrush24(B, C.X, C.Y, C.R, C.Pressure, C.Mode, C.Clip, C.LeftButtonDown);
    EXPECT_IMAGES_MATCH(B, Expected);
    EXPECT_EQ(DeformCounter(), C.Counter + 1); // one deformation per step
  }
}

TEST(DeformBrush, FlatImagesOtherModesAndNoPressureStayAsTheyWere) {
  TBitmap Flat(24, 20, pf24bit, RGB(90, 140, 30)), Before;
  Copy(Flat, Before);
  SetDeformCounter(0);
  for (int Mode = 0; Mode <= 3; ++Mode) DeformBrush24(Flat, 10, 9, 6, 100, Mode, WholeBitmapRect, true);
  EXPECT_IMAGES_MATCH(Flat, Before);
  EXPECT_EQ(DeformCounter(), 4);

  TBitmap B(24, 20);
  FillRandom(B, 42);
  Copy(B, Before);
  DeformBrush24(B, 10, 9, 6, 100, 4, WholeBitmapRect, true);
  DeformBrush24(B, 10, 9, 6, 100, -1, WholeBitmapRect, true);
  DeformBrush24(B, 10, 9, 6, 0, 1, WholeBitmapRect, true);
  DeformBrush24(B, 10, 9, 6, 100, 1, TRect{0, 0, 0, 0}, true);
  EXPECT_IMAGES_MATCH(B, Before);
  EXPECT_EQ(DeformCounter(), 4); // no deformation ran
}

// ---- Art brush and retouch -----------------------------------------------------------

// The filter each art mode applies to the footprint's copy, with its fixed
// settings, and whether it gives a flat image back unchanged.
struct TArtModeCase {
  int Mode;
  std::function<void(TBitmap&)> Filter;
  bool KeepsFlat;
};

std::vector<TArtModeCase> ArtModeCases() {
  const TRect All = WholeBitmapRect;
  return {
      {abPointillism, [All](TBitmap& B) { Pointillism24(B, 8, 6, clNone, All); }, true},
      {abSmudge, [All](TBitmap& B) { Smudge24(B, 1, All); }, true},
      {abOilPaint, [All](TBitmap& B) { OilPaint24(B, 1, All); }, false}, // noise
      {abPaletteKnife, [All](TBitmap& B) { PaletteKnife24(B, 1, All); }, false},
      {abWatercolor, [All](TBitmap& B) { Watercolor24(B, 1, true, false, All); }, false},
      {abPastels, [All](TBitmap& B) { Pastels24(B, 5, false, false, All); }, true},
      {abGlass,
       [All](TBitmap& B) {
         Waves24(B, 7, 7, false, All);
         Waves24(B, 7, 7, true, All);
       },
       true},
  };
}

TEST(ArtBrush, EachModeFiltersTheSnapshotsFootprint) {
  // The footprint of R 7 at (7, 7) is the whole 15 x 15 snapshot; the core
  // (d <= 2) takes the filtered copy at full weight, the corners (d >= 7)
  // keep the layer.
  TBitmap Snapshot(15, 15);
  FillRandom(Snapshot, 51);
  for (const TArtModeCase& C : ArtModeCases()) {
    SCOPED_TRACE(C.Mode);
    TFixedRandomize Seed(17);
    TBitmap Filtered, B(15, 15, pf24bit, clWhite);
    C.Filter(Copy(Snapshot, Filtered));
    ASSERT_FALSE(ImagesMatch(Filtered, Snapshot));
    ArtBrush24(B, Snapshot, 7, 7, 7, 100, C.Mode, WholeBitmapRect, clBlack, clWhite);
    for (int Y = 0; Y < 15; ++Y)
      for (int X = 0; X < 15; ++X) {
        const int D = IntDistance(X, Y, 7, 7);
        if (D <= 2) {
          ASSERT_EQ(Px(B, X, Y), Px(Filtered, X, Y)) << X << "," << Y;
        } else if (D >= 7) {
          ASSERT_EQ(Px(B, X, Y), Grey(255)) << X << "," << Y;
        }
      }

    // A flat snapshot: the modes without noise paint its colour back.
    if (!C.KeepsFlat) continue;
    TBitmap Flat(15, 15, pf24bit, RGB(200, 60, 20)), F(15, 15, pf24bit, clWhite);
    ArtBrush24(F, Flat, 7, 7, 7, 100, C.Mode, WholeBitmapRect, clBlack, clWhite);
    EXPECT_EQ(Px(F, 7, 7), Rgb(200, 60, 20));
    EXPECT_EQ(Px(F, 9, 7), Rgb(200, 60, 20));
  }
}

TEST(ArtBrush, FiltersTheSnapshotAndOnlyTheHueCompounds) {
  TBitmap Snapshot(11, 11, pf24bit, RGB(200, 60, 20)), B, Once;
  ArtBrush24(Copy(Snapshot, B), Snapshot, 5, 5, 5, 100, abGrey, WholeBitmapRect, clBlack, clWhite);
  const TRGB G = Px(B, 5, 5);
  EXPECT_EQ(G.Red, G.Green);
  EXPECT_EQ(G.Green, G.Blue);
  // Sepia twice at one place gives the core what once gives: both read the
  // snapshot (the rim only moves further toward the same target).
  ArtBrush24(Copy(Snapshot, B), Snapshot, 5, 5, 5, 100, abSepia, WholeBitmapRect, clBlack, clWhite);
  Copy(B, Once);
  ArtBrush24(B, Snapshot, 5, 5, 5, 100, abSepia, WholeBitmapRect, clBlack, clWhite);
  EXPECT_EQ(Px(B, 5, 5), Px(Once, 5, 5));
  EXPECT_EQ(Px(B, 6, 5), Px(Once, 6, 5));
  EXPECT_GT(Px(B, 5, 5).Red, Px(B, 5, 5).Blue);

  int H0, H1, H2, S, V;
  TBitmap Hue;
  ColorToHSV(RGB(200, 60, 20), H0, S, V);
  ArtBrush24(Copy(Snapshot, Hue), Snapshot, 5, 5, 5, 100, abHue, WholeBitmapRect, clBlack, clWhite);
  ColorToHSV(TRGBToColor(Px(Hue, 5, 5)), H1, S, V);
  ArtBrush24(Hue, Snapshot, 5, 5, 5, 100, abHue, WholeBitmapRect, clBlack, clWhite);
  ColorToHSV(TRGBToColor(Px(Hue, 5, 5)), H2, S, V);
  EXPECT_NEAR(H1, H0 + 33, 2);
  EXPECT_NEAR(H2, H0 + 66, 3);
}

TEST(ArtBrush, TwoColoursOrderedAndSoftened) {
  TBitmap Snapshot(11, 11, pf24bit, RGB(30, 30, 30)), B;
  SetPx(Snapshot, 6, 5, Grey(220));
  // Given light then dark: ordered; the dark one (luminance below 128) is
  // kept, the light one too (above 128).
  ArtBrush24(Copy(Snapshot, B), Snapshot, 5, 5, 5, 100, abTwoColors, WholeBitmapRect, clYellow, clNavy);
  EXPECT_EQ(Px(B, 5, 5), ColorToTRGB(clNavy));
  EXPECT_EQ(Px(B, 6, 5).Red, ColorToTRGB(clYellow).Red);
  // Two dark colours: the lighter is mixed halfway to white.
  ArtBrush24(Copy(Snapshot, B), Snapshot, 5, 5, 5, 100, abTwoColors, WholeBitmapRect, clBlack, RGB(0, 0, 100));
  EXPECT_EQ(Px(B, 6, 5), Rgb(127, 127, 177));
}

TEST(ArtBrush, UnknownModesAndBadSnapshotsDoNothing) {
  TBitmap Snapshot(11, 11, pf24bit, RGB(200, 60, 20)), B, Before, Small(5, 5);
  Copy(Snapshot, B);
  Copy(B, Before);
  ArtBrush24(B, Snapshot, 5, 5, 5, 100, 55, WholeBitmapRect, clBlack, clWhite);
  ArtBrush24(B, Small, 5, 5, 5, 100, abGrey, WholeBitmapRect, clBlack, clWhite);
  EXPECT_IMAGES_MATCH(B, Before);
}

struct TRetouchCase {
  int Mode;
  TRGB Pixel;
  TRGB Expected; // at the centre, full weight
};

class RetouchModes : public ::testing::TestWithParam<TRetouchCase> {};

TEST_P(RetouchModes, TargetsAtFullWeight) {
  const TRetouchCase& C = GetParam();
  TBitmap B(9, 9), Snapshot;
  for (int Y = 0; Y < 9; ++Y)
    for (int X = 0; X < 9; ++X) SetPx(B, X, Y, C.Pixel);
  Copy(B, Snapshot);
  RetouchBrush24(B, Snapshot, 4, 4, 4, 100, C.Mode, WholeBitmapRect);
  EXPECT_EQ(Px(B, 4, 4), C.Expected);
  EXPECT_EQ(Px(B, 0, 0), C.Pixel);
}

// Gamma 1.13 of 128: 255 * 0.50196^1.13 = 117.03; 0.88: 139.04. Colour
// (200, 100, 50): L = 31800 shr 8 = 124; -0.2: 184.8, 104.8, 64.8; +0.1:
// 207.6, 97.6, 42.6. Red eye (200, 50, 50): L = 94, red 0.69 * 94 = 64.86.
INSTANTIATE_TEST_SUITE_P(
    Modes, RetouchModes,
    ::testing::Values(TRetouchCase{0, Grey(128), Grey(117)}, TRetouchCase{1, Grey(128), Grey(139)},
                      TRetouchCase{2, Rgb(200, 100, 50), Rgb(184, 104, 64)},
                      TRetouchCase{3, Rgb(200, 100, 50), Rgb(207, 97, 42)},
                      TRetouchCase{6, Rgb(200, 50, 50), Rgb(65, 50, 50)},
                      TRetouchCase{6, Grey(200), Grey(200)}, TRetouchCase{6, Grey(0), Grey(0)},
                      TRetouchCase{6, Rgb(120, 100, 20), Rgb(120, 100, 20)}, // red not 1.33 x green
                      TRetouchCase{13, Rgb(200, 50, 50), Rgb(200, 50, 50)}));

TEST(RetouchBrush, SharpnessModesGoThroughTheArtBrush) {
  TBitmap B(11, 11, pf24bit, clWhite), Snapshot, Art;
  SetPx(B, 5, 5, Grey(0));
  Copy(B, Snapshot);
  Copy(B, Art);
  RetouchBrush24(B, Snapshot, 5, 5, 5, 100, 4, WholeBitmapRect);
  ArtBrush24(Art, Snapshot, 5, 5, 5, 100, abSoften, WholeBitmapRect, clBlack, clWhite);
  EXPECT_IMAGES_MATCH(B, Art);
  EXPECT_GT(Px(B, 5, 5).Blue, 0);
}

TEST(MagicEraser, SmoothFillsFromTheRing) {
  // Centre black in white: axis 1 at the centre reads columns X - 5 and
  // X + 5 (outside the disc, white), four times by 33 %: 84, 140, 177, 202.
  TBitmap B(11, 11, pf24bit, clWhite);
  SetPx(B, 5, 5, Grey(0));
  RetouchBrush24(B, B, 5, 5, 5, 100, 11, WholeBitmapRect);
  EXPECT_EQ(Px(B, 5, 5), Grey(202));

  for (int Axis = 0; Axis < 3; ++Axis) {
    TBitmap Hole(21, 21, pf24bit, clWhite);
    for (int Y = 8; Y <= 12; ++Y)
      for (int X = 8; X <= 12; ++X) SetPx(Hole, X, Y, Grey(0));
    MagicEraserSmoothBrush24(Hole, 10, 10, 8, 100, Axis, WholeBitmapRect);
    EXPECT_GT(Px(Hole, 10, 10).Blue, 150) << Axis;
  }
}

TEST(MagicEraser, RandomSourcesAreReproducibleAndLieOnOrBeyondTheCircle) {
  TBitmap Hole(21, 21, pf24bit, clWhite);
  for (int Y = 6; Y <= 14; ++Y)
    for (int X = 6; X <= 14; ++X) SetPx(Hole, X, Y, Grey(0));
  for (int Axis = 0; Axis < 3; ++Axis) {
    TBitmap A, B;
    {
      TFixedRandomize Seed(3);
      MagicEraserBrush24(Copy(Hole, A), 10, 10, 8, 100, Axis, WholeBitmapRect);
      MagicEraserBrush24(Copy(Hole, B), 10, 10, 8, 100, Axis, WholeBitmapRect);
    }
    EXPECT_IMAGES_MATCH(A, B);
    EXPECT_EQ(Px(A, 10, 10), Grey(255)) << Axis; // the centre reads white at full weight
  }
}

// ---- Confinement ----------------------------------------------------------------------

using TEngine = std::function<void(TBitmap& Dst, TBitmap* Mask, int X, int Y, int R, const TRect& Clip)>;

struct TNamedEngine {
  std::string Name;
  TEngine Run;
};

std::vector<TNamedEngine> Engines() {
  static TBitmap Snapshot(9, 7), Src(9, 7), Pattern(3, 2), Strip;
  FillRandom(Snapshot, 21);
  FillRandom(Src, 22);
  FillRandom(Pattern, 23);
  MakeStrip(Strip, 30, {Rgb(1, 2, 3), Rgb(4, 5, 6)});
  std::vector<TNamedEngine> List = {
      {"stamp",
       [](TBitmap& D, TBitmap* M, int X, int Y, int R, const TRect& C) {
         TBitmap Stamp;
         MakeBrushStamp24(Stamp, 3, R);
         PaintBrushStamp24(Stamp, clRed, D, M, X - R, Y - R, 100, C, nullptr);
       }},
      {"image stamp",
       [](TBitmap& D, TBitmap* M, int X, int Y, int R, const TRect& C) {
         TBitmap Stamp, Image(2 * R + 1, 2 * R + 1, pf24bit, clWhite);
         MakeBrushStamp24(Stamp, 0, R);
         MakeBevelStampImage24(Image, clBlue);
         PaintImageStamp24(Image, Stamp, D, M, X - R, Y - R, C, 100);
       }},
      {"drop", [](TBitmap& D, TBitmap*, int X, int Y, int R, const TRect& C) { DropBrush24(D, X, Y, R, 100, C); }},
      {"finger",
       [](TBitmap& D, TBitmap* M, int X, int Y, int R, const TRect& C) { FingerBrush24(D, M, X, Y, R, 100, 2, -3, C); }},
      {"clone",
       [](TBitmap& D, TBitmap* M, int X, int Y, int R, const TRect& C) {
         CloneBrush24(Src, &Snapshot, D, M, X, Y, R, 3, -2, 100, C, false, false);
         CloneBrush24(D, M, D, M, X, Y, R, -1, 1, 100, C, true, true);
       }},
      {"pattern clone",
       [](TBitmap& D, TBitmap* M, int X, int Y, int R, const TRect& C) {
         PatternCloneBrush24(Pattern, nullptr, D, M, X, Y, R, 100, C, false, true);
       }},
      {"airbrush",
       [](TBitmap& D, TBitmap* M, int X, int Y, int R, const TRect& C) {
         AirBrush24(D, M, X, Y, R, 100, RainbowColor, 2, C);
       }},
      {"nozzle",
       [](TBitmap& D, TBitmap* M, int X, int Y, int R, const TRect& C) {
         NozzleBrush24(Strip, X + Y, D, M, X, Y, 100, R / 4.0, C);
       }},
  };
  for (int Mode = 0; Mode <= 4; ++Mode)
    for (bool Left : {false, true})
      List.push_back({"deform " + std::to_string(Mode) + (Left ? " left" : " right"),
                      [Mode, Left](TBitmap& D, TBitmap*, int X, int Y, int R, const TRect& C) {
                        DeformBrush24(D, X, Y, R, 100, Mode, C, Left);
                      }});
  for (int Mode : {abPointillism, abDiffuse, abSmudge, abOilPaint, abPaletteKnife, abWatercolor, abPastels, abGlass,
                   abHue, abGrey, abSepia, abTwoColors, abSoften, abSharpen})
    List.push_back({"art " + std::to_string(Mode), [Mode](TBitmap& D, TBitmap*, int X, int Y, int R, const TRect& C) {
                      ArtBrush24(D, Snapshot, X, Y, R, 100, Mode, C, clRed, clBlue);
                    }});
  for (int Mode = 0; Mode <= 12; ++Mode)
    List.push_back({"retouch " + std::to_string(Mode), [Mode](TBitmap& D, TBitmap*, int X, int Y, int R,
                                                                const TRect& C) {
                      RetouchBrush24(D, Snapshot, X, Y, R, 100, Mode, C);
                    }});
  return List;
}

TEST(EngineConfinement, NothingOutsideTheClipOnEveryEdgeAndCorner) {
  TBitmap Base(9, 7), BaseMask(9, 7);
  FillRandom(Base, 1);
  FillRandom(BaseMask, 2);
  const TRect Clip{1, 1, 8, 6};
  TFixedRandomize Seed(9);
  for (const TNamedEngine& E : Engines())
    for (int R : {1, 3, 20})
      for (int Y : {-25, -1, 0, 3, 6, 7, 30})
        for (int X : {-25, -1, 0, 4, 8, 9, 30})
          for (bool WithMask : {false, true}) {
            TBitmap B, M;
            Copy(Base, B);
            Copy(BaseMask, M);
            E.Run(B, WithMask ? &M : nullptr, X, Y, R, Clip);
            for (int PY = 0; PY < 7; ++PY)
              for (int PX = 0; PX < 9; ++PX) {
                if (PX >= Clip.Left && PX < Clip.Right && PY >= Clip.Top && PY < Clip.Bottom) continue;
                ASSERT_EQ(Px(B, PX, PY), Px(Base, PX, PY)) << E.Name << " R " << R << " at " << X << "," << Y;
                ASSERT_EQ(Px(M, PX, PY), Px(BaseMask, PX, PY)) << E.Name << " R " << R << " at " << X << "," << Y;
              }
          }
}

TEST(EngineConfinement, ZeroAndNegativeRadiiDrawNothing) {
  TBitmap Base(9, 7);
  FillRandom(Base, 1);
  for (const TNamedEngine& E : Engines())
    for (int R : {0, -3}) {
      if (E.Name == "nozzle" || E.Name == "stamp" || E.Name == "image stamp") continue; // no radius
      TBitmap B;
      Copy(Base, B);
      E.Run(B, nullptr, 4, 3, R, WholeBitmapRect);
      EXPECT_IMAGES_MATCH(B, Base, 0, E.Name);
    }
}

} // namespace
