#include "filters/Deform24.h"

#include "FilterTestSupport.h"
#include "raster/FoncUtils.h"
#include "support/Pixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace FilterTest;

namespace {

struct TDeformCase {
  std::string Name;
  std::function<void(TBitmap&, const TRect&)> Apply;
};

const std::vector<TDeformCase>& DeformCases() {
  static const std::vector<TDeformCase> Cases{
      {"zoom", [](TBitmap& B, const TRect& R) { DeformZoom24(B, R, 1); }},
      {"spiral", [](TBitmap& B, const TRect& R) { DeformSpiral24(B, true, R, 1); }},
      {"spiral back", [](TBitmap& B, const TRect& R) { DeformSpiral24(B, false, R, 0.5); }},
      {"dilate", [](TBitmap& B, const TRect& R) { DeformDilate24(B, true, R, 1); }},
      {"contract", [](TBitmap& B, const TRect& R) { DeformDilate24(B, false, R, 2); }},
  };
  return Cases;
}

} // namespace

TEST(Deform24, OnlyTheInnerCircleChanges) {
  TBitmap Src, B;
  RandomImage(Src, 41, 40, 36);
  const TRect R{3, 2, 33, 34}; // 30 x 32: centre (18, 18), radius 13
  for (const TDeformCase& C : DeformCases()) {
    B.Assign(Src);
    C.Apply(B, R);
    int Changed = 0;
    for (int Y = 0; Y < 36; ++Y)
      for (int X = 0; X < 40; ++X) {
        if (IntDistance(X, Y, 18, 18) < 13 && PtInRect(R, {X, Y})) {
          Changed += Px(B, X, Y) != Px(Src, X, Y);
          continue;
        }
        // The zoom tests a real distance: a pixel at integer distance 13
        // may lie just inside.
        if (C.Name == "zoom" && std::hypot(X - 18, Y - 18) < 13) continue;
        ASSERT_EQ(Px(B, X, Y), Px(Src, X, Y)) << C.Name << " at " << X << ", " << Y;
      }
    EXPECT_GT(Changed, 100) << C.Name;
  }
}

TEST(Deform24, TooSmallSquaresAndZeroZoomChangeNothing) {
  TBitmap Src, B;
  RandomImage(Src, 42, 20, 20);
  for (const TDeformCase& C : DeformCases()) {
    B.Assign(Src);
    C.Apply(B, {2, 2, 8, 20}); // 6 wide: radius 1, only the centre pixel
    C.Apply(B, {2, 2, 7, 7});  // radius 0
    C.Apply(B, {30, 30, 40, 40});
    int Changed = 0;
    for (int Y = 0; Y < 20; ++Y)
      for (int X = 0; X < 20; ++X) Changed += Px(B, X, Y) != Px(Src, X, Y);
    EXPECT_LE(Changed, 1) << C.Name;
  }
  B.Assign(Src);
  DeformZoom24(B, WholeBitmapRect, 0);
  EXPECT_IMAGES_MATCH(B, Src);
}

TEST(Deform24, TheCounterAdvancesOnEveryCall) {
  TBitmap B;
  RandomImage(B, 43, 10, 10);
  SetDeformCounter(5);
  for (const TDeformCase& C : DeformCases()) C.Apply(B, {50, 50, 60, 60});
  EXPECT_EQ(DeformCounter(), 5 + static_cast<int>(DeformCases().size()));
}

TEST(DeformSpiral24, TheCentreSamplesAFractionRightAndUp) {
  // Greys linear in x and y: the Lagrange sampler (the spiral's first call
  // after a reset) reproduces them, so the centre reads 4 (x + 0.77) + 2 (y
  // - 0.77) + 20 rounded.
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(20, 20);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X) SetPx(B, X, Y, Grey(4 * X + 2 * Y + 20));
  SetDeformCounter(0);
  DeformSpiral24(B, true, {0, 0, 20, 20}, 1);
  EXPECT_EQ(Px(B, 10, 10), Grey(82)); // 81.54
}

TEST(DeformDilate24, TheCentrePixelStaysAndTheRingMovesOutward) {
  TBitmap Src, B;
  RandomImage(Src, 44, 41, 41);
  B.Assign(Src);
  DeformDilate24(B, true, WholeBitmapRect, 1);
  EXPECT_EQ(Px(B, 20, 20), Px(Src, 20, 20));
  // On the axes A or B is 0: the pixel samples itself.
  EXPECT_EQ(Px(B, 25, 20), Px(Src, 25, 20));
  EXPECT_NE(Px(B, 25, 25), Px(Src, 25, 25));
}
