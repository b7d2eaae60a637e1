// The Selection menu's rectangle rules: proportions and where a stored
// selection goes.
#include "app/SelectionPlacement.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

TEST(SelectionPlacement, CalcRatioKeepsTheLongerSideAndFitsTheImage) {
  struct TCase {
    const char* Name;
    double Ratio;
    TRect R;
    TRect Expected;
  };
  const TCase Cases[] = {
      // 400 / (16/9) = 225 exactly.
      {"portrait 16:9", 16.0 / 9.0, {10, 10, 110, 410}, {10, 10, 235, 410}},
      {"landscape 2:1", 2.0, {0, 0, 300, 100}, {0, 0, 300, 150}},
      {"square counts as portrait", 1.5, {0, 0, 90, 90}, {0, 0, 60, 90}},
      // The other side would pass the image: cut to it, the first follows.
      {"landscape too tall", 0.5, {0, 0, 300, 100}, {0, 0, 240, 480}},
      {"portrait too wide", 0.25, {0, 0, 100, 300}, {0, 0, 640, 160}},
      // Moved back inside the 640 x 480 image.
      {"moved back inside", 2.0, {600, 450, 700, 470}, {540, 430, 640, 480}},
      {"no ratio", 0, {1, 2, 30, 40}, {1, 2, 30, 40}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TRect R = C.R;
    CalcRatioSelRect(C.Ratio, R, 640, 480);
    EXPECT_EQ(R, C.Expected);
  }
}

TEST(SelectionPlacement, ProportionTable) {
  EXPECT_DOUBLE_EQ(SelectionRatio(0, 1.6), 2.0);
  EXPECT_DOUBLE_EQ(SelectionRatio(1, 1.6), 1.5);
  EXPECT_DOUBLE_EQ(SelectionRatio(2, 1.6), 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(SelectionRatio(3, 1.6), 16.0 / 9.0);
  EXPECT_DOUBLE_EQ(SelectionRatio(4, 1.6), 1.6);
  EXPECT_EQ(SelectionRatio(5, 1.6), 0);
}

TEST(SelectionPlacement, StoredSelectionsGoToTheirPlaceElseCentredElseScaled) {
  struct TCase {
    const char* Name;
    TRect Stored;
    bool UseStoredPlace;
    TStoredPlace Place;
    int W, H;
  };
  const TCase Cases[] = {
      {"fits at its place", {100, 50, 300, 250}, true, TStoredPlace::Stored, 200, 200},
      {"file: never its place", {100, 50, 300, 250}, false, TStoredPlace::Centred, 200, 200},
      {"past the edge, size fits", {500, 400, 700, 500}, true, TStoredPlace::Centred, 200, 100},
      {"too wide: scaled", {0, 0, 1280, 240}, true, TStoredPlace::Scaled, 640, 120},
      {"too tall: scaled", {0, 0, 100, 960}, true, TStoredPlace::Scaled, 50, 480},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TStoredPlacement P = PlaceStoredSelection(C.Stored, 640, 480, C.UseStoredPlace);
    EXPECT_EQ(P.Place, C.Place);
    EXPECT_EQ(P.Width, C.W);
    EXPECT_EQ(P.Height, C.H);
  }
}
