// Every pattern, distortion and composite filter on the sizes that break
// mappings and loops (one pixel, one row, one column, odd sizes) and on
// rects reversed, partly or wholly outside: nothing is read or written
// outside the bitmaps (the sanitizers watch), and nothing outside the work
// rect changes.
#include "filters/Deform24.h"
#include "filters/Distortions24.h"
#include "filters/FiltresComposes.h"
#include "filters/Patterns24.h"

#include "FilterTestSupport.h"
#include "raster/RandomGen.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace FilterTest;

namespace {

// A filter over one bitmap and a rect: in place, or reading a copy of the
// bitmap taken before (the Src of the two-bitmap filters).
struct TFilterCase {
  std::string Name;
  std::function<void(const TBitmap& Src, TBitmap& Bitmap, const TRect& Rect)> Apply;
};

std::vector<TFilterCase> Cases() {
  return {
      {"Mosaic24 3", [](const TBitmap&, TBitmap& B, const TRect& R) { Mosaic24(B, 3, R); }},
      {"Mosaic24 0", [](const TBitmap&, TBitmap& B, const TRect& R) { Mosaic24(B, 0, R); }},
      {"HorizontalStripes24",
       [](const TBitmap&, TBitmap& B, const TRect& R) { HorizontalStripes24(B, 1, 2, clRed, 50, R); }},
      {"Puzzle24", [](const TBitmap&, TBitmap& B, const TRect& R) { Puzzle24(B, 5, clBlack, 3, R); }},
      {"Grid24",
       [](const TBitmap&, TBitmap& B, const TRect& R) { Grid24(B, 1, clBlack, 2, true, true, true, true, R); }},
      {"Tiles24", [](const TBitmap& S, TBitmap& B, const TRect& R) { Tiles24(S, B, 2, 3, clBlack, true, R); }},
      {"CrossHatch24",
       [](const TBitmap& S, TBitmap& B, const TRect& R) { CrossHatch24(S, B, clWhite, 3, 5, true, true, R); }},
      {"Triangles24",
       [](const TBitmap& S, TBitmap& B, const TRect& R) { Triangles24(S, B, clWhite, 3, true, true, R); }},
      {"PointillismFromSource",
       [](const TBitmap& S, TBitmap& B, const TRect& R) { PointillismFromSource(S, B, 7, 1, clNone, R); }},
      {"Pointillism24", [](const TBitmap&, TBitmap& B, const TRect& R) { Pointillism24(B, 3, 2, clWhite, R); }},
      {"Trapezoid24", [](const TBitmap& S, TBitmap& B,
                         const TRect& R) { Trapezoid24(S, B, 0.5, 2, 1, 0.1, clRed, R, amBicubic, false); }},
      {"EllipseDistort24",
       [](const TBitmap& S, TBitmap& B, const TRect& R) { EllipseDistort24(S, B, clNone, R, amLagrange); }},
      {"Twirl24", [](const TBitmap& S, TBitmap& B, const TRect& R) { Twirl24(S, B, 5, clNone, R, amMitchell, false); }},
      {"Lens24", [](const TBitmap& S, TBitmap& B, const TRect& R) { Lens24(S, B, 0.8, clNone, R, amBilinear); }},
      {"Waves24", [](const TBitmap&, TBitmap& B, const TRect& R) { Waves24(B, 1, 9, true, R); }},
      {"WavesFromSource 0",
       [](const TBitmap& S, TBitmap& B, const TRect& R) { WavesFromSource(S, B, 0, 0, false, R); }},
      {"WaterReflection24",
       [](const TBitmap& S, TBitmap& B, const TRect& R) { WaterReflection24(S, B, 6, 10, clWhite, R); }},
      {"DeformZoom24", [](const TBitmap&, TBitmap& B, const TRect& R) { DeformZoom24(B, R, 1); }},
      {"DeformSpiral24", [](const TBitmap&, TBitmap& B, const TRect& R) { DeformSpiral24(B, false, R, 1); }},
      {"DeformDilate24", [](const TBitmap&, TBitmap& B, const TRect& R) { DeformDilate24(B, false, R, 1); }},
      {"RandomStrokes24",
       [](const TBitmap&, TBitmap& B, const TRect& R) { RandomStrokes24(B, 9, 2, 3, 0, 255, clRed, false, R); }},
      {"ColourStrokes24",
       [](const TBitmap& S, TBitmap& B, const TRect& R) { ColourStrokes24(S, B, 9, 3, 12, 9, true, 1, R); }},
      {"UnsharpMask24", [](const TBitmap&, TBitmap& B, const TRect& R) { UnsharpMask24(B, 2, 200, 0, true, R, true); }},
      {"MicroContrast24", [](const TBitmap&, TBitmap& B, const TRect& R) { MicroContrast24(B, 3, 80, false, R); }},
      {"Relief24", [](const TBitmap&, TBitmap& B, const TRect& R) { Relief24(B, 5, false, 70, R); }},
      {"SharperContours24", [](const TBitmap& S, TBitmap& B, const TRect& R) { SharperContours24(B, S, R); }},
      {"InnerBlur24", [](const TBitmap& S, TBitmap& B, const TRect& R) { InnerBlur24(B, S, R); }},
      {"BlackContours24", [](const TBitmap&, TBitmap& B, const TRect& R) { BlackContours24(B, 7, true, R); }},
      {"WhiteChalk24", [](const TBitmap&, TBitmap& B, const TRect& R) { WhiteChalk24(B, R); }},
      {"ColorContours24", [](const TBitmap& S, TBitmap& B, const TRect& R) { ColorContours24(B, S, R); }},
      {"Fog24", [](const TBitmap&, TBitmap& B, const TRect& R) { Fog24(B, nullptr, clBlack, 50, R); }},
      {"Fragment24", [](const TBitmap& S, TBitmap& B, const TRect& R) { Fragment24(B, S, R); }},
      {"OldPhoto24", [](const TBitmap&, TBitmap& B, const TRect& R) { OldPhoto24(B, R); }},
      {"Glass24", [](const TBitmap& S, TBitmap& B, const TRect& R) { Glass24(B, S, 7, R); }},
      {"InkedContours24", [](const TBitmap&, TBitmap& B, const TRect& R) { InkedContours24(B, R); }},
      {"Photocopy24", [](const TBitmap&, TBitmap& B, const TRect& R) { Photocopy24(B, R); }},
      {"EmbossedPaper24", [](const TBitmap&, TBitmap& B, const TRect& R) { EmbossedPaper24(B, R); }},
      {"Smudge24", [](const TBitmap&, TBitmap& B, const TRect& R) { Smudge24(B, 4, R); }},
      {"Crystallize24", [](const TBitmap&, TBitmap& B, const TRect& R) { Crystallize24(B, 3, R); }},
      {"PaletteKnife24", [](const TBitmap&, TBitmap& B, const TRect& R) { PaletteKnife24(B, 3, R); }},
      {"OilPaint24", [](const TBitmap&, TBitmap& B, const TRect& R) { OilPaint24(B, 5, R); }},
      {"Watercolor24", [](const TBitmap&, TBitmap& B, const TRect& R) { Watercolor24(B, 3, true, true, R); }},
      {"IndiaInk24", [](const TBitmap&, TBitmap& B, const TRect& R) { IndiaInk24(B, 7, 100, R); }},
      {"Charcoal24", [](const TBitmap&, TBitmap& B, const TRect& R) { Charcoal24(B, 90, 200, true, true, R); }},
      {"Charcoal24 plain", [](const TBitmap&, TBitmap& B, const TRect& R) { Charcoal24(B, 90, 200, false, false, R); }},
      {"BlackPencil24", [](const TBitmap& S, TBitmap& B, const TRect& R) { BlackPencil24(B, S, 6, 9, true, R); }},
      {"ColorPencil24", [](const TBitmap& S, TBitmap& B, const TRect& R) { ColorPencil24(B, S, 5, R); }},
      {"Pastels24", [](const TBitmap&, TBitmap& B, const TRect& R) { Pastels24(B, 1, true, true, R); }},
      {"Comics24", [](const TBitmap&, TBitmap& B, const TRect& R) { Comics24(B, 100, 50, true, true, R); }},
  };
}

// The whole-bitmap mappings, which may resize their target.
std::vector<TFilterCase> ResizingCases() {
  return {
      {"Trapezoid24 resized", [](const TBitmap& S, TBitmap& B,
                                 const TRect& R) { Trapezoid24(S, B, 3, 0.2, 0.5, 2, clNone, R, amBicubic, true); }},
      {"Twirl24 resized",
       [](const TBitmap& S, TBitmap& B, const TRect& R) { Twirl24(S, B, 7, clRed, R, amNearest, true); }},
      {"Skew24", [](const TBitmap& S, TBitmap& B, const TRect&) { Skew24(S, B, -1.5, 0.7, clNone, amLagrange); }},
      {"SkewInPlace24", [](const TBitmap&, TBitmap& B, const TRect&) { SkewInPlace24(B, 0.3, 2, clRed, amBilinear); }},
      {"FisheyeNearest24", [](const TBitmap& S, TBitmap& B, const TRect&) { FisheyeNearest24(S, B, 90, -90); }},
      {"FisheyeBilinear24", [](const TBitmap& S, TBitmap& B, const TRect&) { FisheyeBilinear24(S, B, -70, 100); }},
  };
}

} // namespace

TEST(DegenerateSizes, ResizingMappingsRunOnEverySize) {
  TBitmap Src, Actual;
  for (const TFilterCase& C : ResizingCases())
    for (auto [W, H] : std::vector<std::pair<int, int>>{{1, 1}, {1, 7}, {7, 1}, {2, 2}, {3, 3}, {13, 9}}) {
      RandomImage(Src, static_cast<unsigned>(W * 31 + H), W, H);
      Actual.SetSize(5, 5);
      C.Apply(Src, Actual, {-3, -2, 5, 4});
      EXPECT_GE(Actual.Width(), 1) << C.Name;
    }
}

TEST(DegenerateSizes, FiltersStayInsideTheirRect) {
  const std::vector<std::pair<int, int>> Sizes{{1, 1}, {1, 7}, {7, 1}, {2, 2}, {13, 9}};
  const std::vector<TRect> Rects{WholeBitmapRect, {-3, -2, 5, 4}, {9, 8, 1, 0}, {1, 0, 2, 99}, {50, 50, 60, 60}};
  const TFixedRandomize Fixed(3);
  TBitmap Src, Actual, Expected;
  for (const TFilterCase& C : Cases())
    for (auto [W, H] : Sizes)
      for (const TRect& Rect : Rects) {
        RandomImage(Src, static_cast<unsigned>(W * 31 + H), W, H);
        Actual.Assign(Src);
        C.Apply(Src, Actual, Rect);
        ASSERT_EQ(Actual.Width(), W) << C.Name;
        ASSERT_EQ(Actual.Height(), H) << C.Name;
        // Outside the clipped rect the pixels are the source's.
        ReferenceOver(Src, Expected, Rect, [&](TRGB& Out, int X, int Y, const TRect&) { Out = PixelAt(Actual, X, Y); });
        ASSERT_IMAGES_MATCH(Actual, Expected) << C.Name << " on " << W << " x " << H;
      }
}

// A source of another format is read as its 24-bit copy.
TEST(DegenerateSizes, SourcesOfOtherFormatsAreReadAs24Bit) {
  TBitmap Src, Src32, Expected, Actual;
  RandomImage(Src, 61, 17, 13);
  Src32.Assign(Src);
  Src32.SetPixelFormat(pf32bit);
  for (const TFilterCase& C : Cases()) {
    const TFixedRandomize Fixed(5);
    SetDeformCounter(0); // the deformations' sampler follows the counter
    Expected.Assign(Src);
    C.Apply(Src, Expected, {2, 1, 15, 12});
    const TFixedRandomize Again(5);
    SetDeformCounter(0);
    Actual.Assign(Src);
    C.Apply(Src32, Actual, {2, 1, 15, 12});
    ASSERT_IMAGES_MATCH(Actual, Expected) << C.Name;
  }
}

// A target of the source's size but another format is converted, so that
// its pixels outside the rect are kept.
TEST(DegenerateSizes, TargetsOfOtherFormatsKeepTheirPixels) {
  TBitmap Src, Before, Dst, Expected;
  RandomImage(Src, 62, 17, 13);
  RandomImage(Before, 63, 17, 13);
  const TRect R{2, 1, 15, 12};
  const std::vector<TFilterCase> Targets{
      {"Tiles24", [](const TBitmap& S, TBitmap& B, const TRect& Rect) { Tiles24(S, B, 3, 0, clBlack, false, Rect); }},
      {"Lens24", [](const TBitmap& S, TBitmap& B, const TRect& Rect) { Lens24(S, B, 0, clRed, Rect, amNearest); }},
  };
  for (const TFilterCase& C : Targets) {
    Dst.Assign(Before);
    Dst.SetPixelFormat(pf32bit);
    C.Apply(Src, Dst, R);
    ASSERT_EQ(Dst.PixelFormat(), pf24bit) << C.Name;
    ReferenceOver(Before, Expected, R, [&](TRGB& Out, int X, int Y, const TRect&) { Out = PixelAt(Dst, X, Y); });
    ASSERT_IMAGES_MATCH(Dst, Expected) << C.Name;
  }
}
