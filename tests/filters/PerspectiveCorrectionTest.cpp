// The geometry of the perspective correction: cursor limits, the corners of
// the guides, corner clicks, the scaling to the full image, the refusal of
// quadrilaterals that cannot be mapped, and the crop of the result.
#include "filters/PerspectiveCorrection.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "raster/ImgUtils.h"

#include <gtest/gtest.h>

namespace {

// A 300-pixel-wide thumbnail: k = 299 x 37 div 100 = 110.
TEST(PerspectiveGuides, CursorLimits) {
  EXPECT_EQ(LimitGuideCursor(0, 20, 299), 20);
  EXPECT_EQ(LimitGuideCursor(0, 150, 299), 110);
  EXPECT_EQ(LimitGuideCursor(1, 279, 299), 279);
  EXPECT_EQ(LimitGuideCursor(1, 150, 299), 189);
}

// Guides along the sides of a trapezoid on a 400 x 301 thumbnail: the
// verticals from (70, 0) to (10, 300) and from (329, 0) to (389, 300), the
// horizontals at 50 and 250.
TPerspectiveGuides Trapezoid() {
  TPerspectiveGuides G;
  G.T0 = 70, G.B0 = 10, G.T1 = 329, G.B1 = 389;
  G.L0 = G.R0 = 50;
  G.L1 = G.R1 = 250;
  return G;
}

TEST(PerspectiveGuides, CornersAreTheCrossings) {
  TRectVertices C{};
  ASSERT_TRUE(PerspectiveCorners(FullGuides(400, 301), 400, 301, C));
  EXPECT_TRUE(IsWholeQuad(C, 400, 301));
  ASSERT_TRUE(PerspectiveCorners(Trapezoid(), 400, 301, C));
  EXPECT_EQ(C, (TRectVertices{TPoint{60, 50}, TPoint{339, 50}, TPoint{379, 250}, TPoint{20, 250}}));
  EXPECT_FALSE(IsWholeQuad(C, 400, 301));
  // A horizontal guide lying along a vertical one never crosses it.
  TPerspectiveGuides Flat = FullGuides(1, 301);
  Flat.L0 = 0, Flat.R0 = 300;
  EXPECT_FALSE(PerspectiveCorners(Flat, 1, 301, C));
}

TEST(PerspectiveGuides, CornerClicks) {
  // 300 x 200: a = 100.
  struct TCase {
    int X, Y;
    TPerspectiveCorner Corner;
  };
  const TCase Cases[] = {
      {10, 10, TPerspectiveCorner::TopLeft},      {250, 10, TPerspectiveCorner::TopRight},
      {250, 150, TPerspectiveCorner::BottomRight}, {10, 150, TPerspectiveCorner::BottomLeft},
      {150, 100, TPerspectiveCorner::None},       {100, 10, TPerspectiveCorner::None},
      {200, 10, TPerspectiveCorner::None},        {10, 100, TPerspectiveCorner::None},
  };
  for (const TCase& C : Cases) EXPECT_EQ(PerspectiveCornerAt(C.X, C.Y, 300, 200), C.Corner) << C.X << "," << C.Y;
}

TEST(PerspectiveTransform, ScaledOutwardToTheImage) {
  TRectVertices C{};
  ASSERT_TRUE(PerspectiveCorners(Trapezoid(), 400, 301, C));
  TProjectiveTransformation T;
  SetStraighteningTransform(T, C);
  EXPECT_EQ(T.SrcRect(), Rect(20, 50, 379, 250));
  EXPECT_TRUE(T.FlagInvert());
  ScalePerspective(T, 2, 720, 602);
  EXPECT_EQ(T.P0(), Point(120, 100));
  EXPECT_EQ(T.P1(), Point(680, 100));
  EXPECT_EQ(T.P2(), Point(720, 502)); // 760 limited to the width
  EXPECT_EQ(T.P3(), Point(40, 502));
  EXPECT_EQ(T.SrcRect(), Rect(40, 100, 720, 502));
}

TEST(PerspectiveTransform, CrossedOrCollapsedCornersAreRefused) {
  struct TCase {
    const char* Name;
    TRectVertices Corners;
    bool Usable;
  };
  const TCase Cases[] = {
      {"trapezoid", {TPoint{60, 50}, TPoint{339, 50}, TPoint{379, 250}, TPoint{20, 250}}, true},
      {"whole", {TPoint{0, 0}, TPoint{399, 0}, TPoint{399, 300}, TPoint{0, 300}}, true},
      {"crossed", {TPoint{60, 50}, TPoint{379, 250}, TPoint{339, 50}, TPoint{20, 250}}, false},
      {"two corners on one", {TPoint{60, 50}, TPoint{60, 50}, TPoint{379, 250}, TPoint{20, 250}}, false},
      {"flat", {TPoint{0, 50}, TPoint{100, 50}, TPoint{200, 50}, TPoint{300, 50}}, false},
      {"one point", {TPoint{5, 5}, TPoint{5, 5}, TPoint{5, 5}, TPoint{5, 5}}, false},
  };
  for (const TCase& C : Cases) {
    TProjectiveTransformation T;
    SetStraighteningTransform(T, C.Corners);
    EXPECT_EQ(PerspectiveUsable(T), C.Usable) << C.Name;
  }
}

// An upright rectangle as the quadrilateral: the result is that part of the
// picture, unchanged.
TEST(PerspectiveTransform, UprightQuadCropsThePicture) {
  TBitmap Original(120, 90, pf24bit, clBlack);
  FillRandom(Original, 5);
  TProjectiveTransformation T;
  SetStraighteningTransform(T, {TPoint{20, 10}, TPoint{80, 10}, TPoint{80, 50}, TPoint{20, 50}});
  ASSERT_TRUE(PerspectiveUsable(T));
  TBitmap Bkg;
  Bkg.Assign(Original);
  EXPECT_EQ(CorrectPerspective(Bkg, Original, T), Rect(20, 10, 80, 50));
  TBitmap Expected;
  Expected.Assign(Original);
  CropBitmap(Expected, Rect(20, 10, 80, 50));
  EXPECT_IMAGES_MATCH(Bkg, Expected);
}

} // namespace
