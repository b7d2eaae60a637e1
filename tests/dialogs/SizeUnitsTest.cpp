// The size units of the image dialogs, the checks a size passes before Ok,
// and the choices made from the fields: each against the worked figures of
// the dialogs' descriptions.
#include "dialogs/ImageSizeRules.h"
#include "dialogs/SizeUnits.h"

#include "platform/FileLimits.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct TUnitCase {
  double Value;
  TSizeUnit Unit;
  int Current;
  double Resolution;
  int Pixels;
};

class UnitToPixelsTest : public ::testing::TestWithParam<TUnitCase> {};

TEST_P(UnitToPixelsTest, ConvertsAndRoundsHalvesToEven) {
  const TUnitCase& C = GetParam();
  EXPECT_EQ(UnitToPixels(C.Value, C.Unit, C.Current, C.Resolution), C.Pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UnitToPixelsTest,
    ::testing::Values(TUnitCase{640, TSizeUnit::Pixels, 1, 96, 640},
                      // 50 % of 1001 is 500.5: the even neighbour.
                      TUnitCase{50, TSizeUnit::Percent, 1001, 96, 500}, TUnitCase{50, TSizeUnit::Percent, 500, 96, 250},
                      TUnitCase{50, TSizeUnit::Percent, 1003, 96, 502},
                      // A4 at 200 pixels per inch: 1653.54 and 2338.58.
                      TUnitCase{21, TSizeUnit::Centimetres, 1, 200, 1654},
                      TUnitCase{29.7, TSizeUnit::Centimetres, 1, 200, 2339},
                      // Photo 15 x 10 cm at 300: 1771.65 and 1181.10.
                      TUnitCase{15, TSizeUnit::Centimetres, 1, 300, 1772},
                      TUnitCase{10, TSizeUnit::Centimetres, 1, 300, 1181},
                      TUnitCase{8.27, TSizeUnit::Inches, 1, 200, 1654}, TUnitCase{2.5, TSizeUnit::Inches, 1, 1, 2},
                      // Units that give less than half a pixel give 0.
                      TUnitCase{0.01, TSizeUnit::Centimetres, 1, 96, 0}, TUnitCase{0, TSizeUnit::Pixels, 1, 96, 0}));

TEST(SizeUnitsTest, PixelsShownInEachUnitReadBackTheSameCount) {
  for (TSizeUnit Unit : {TSizeUnit::Pixels, TSizeUnit::Percent, TSizeUnit::Centimetres, TSizeUnit::Inches})
    for (int P : {1, 99, 1654, 60000}) {
      // The field shows two decimals, which at 96 pixels per inch are finer
      // than a pixel: what it shows reads back to P.
      const double Shown = PixelsToUnit(P, Unit, 1001, 96);
      const double Typed = std::nearbyint(Shown * 100) / 100;
      EXPECT_EQ(UnitToPixels(Typed, Unit, 1001, 96), P)
          << int(Unit) << " " << P;
    }
  EXPECT_DOUBLE_EQ(PixelsToUnit(1654, TSizeUnit::Centimetres, 1, 200), 1654 / 200.0 * 2.54);
  EXPECT_EQ(PixelsToUnit(10, TSizeUnit::Percent, 0, 96), 0);
  EXPECT_EQ(PixelsToUnit(10, TSizeUnit::Inches, 1, 0), 0);
  EXPECT_EQ(UnitFormat(TSizeUnit::Pixels), "0");
  EXPECT_EQ(UnitFormat(TSizeUnit::Percent), "0.00");
}

TEST(SizeUnitsTest, ResolutionPerCentimetreIsPerInchOver254) {
  EXPECT_DOUBLE_EQ(ResolutionToPpi(100, 1), 254);
  EXPECT_DOUBLE_EQ(ResolutionFromPpi(254, 1), 100);
  EXPECT_DOUBLE_EQ(ResolutionToPpi(96, 0), 96);
}

TEST(SizeUnitsTest, MemoryIsThreeBytesPerPixelWithTwoDecimals) {
  // 1654 x 2339 x 3 = 11 606 118 bytes.
  EXPECT_EQ(ImageMemSizeText(1654, 2339), QStringLiteral("11.07 Mo"));
  EXPECT_EQ(ImageMemSizeText(10, 10), QStringLiteral("300 octets"));
  EXPECT_EQ(ImageMemSizeText(60000, 60000), QStringLiteral("10.06 Go"));
}

TEST(SizeUnitsTest, SizesBelowOnePixelOrBeyondTheReadLimitAreRefused) {
  EXPECT_EQ(CheckImageSize(1, 1), TSizeCheck::Ok);
  EXPECT_EQ(CheckImageSize(0, 600), TSizeCheck::TooSmall);
  EXPECT_EQ(CheckImageSize(800, -3), TSizeCheck::TooSmall);
  EXPECT_EQ(CheckImageSize(16384, 16384), TSizeCheck::Ok);
  EXPECT_EQ(CheckImageSize(16384, 16385), TSizeCheck::TooLarge);
  EXPECT_EQ(CheckImageSize(60000, 60000), TSizeCheck::TooLarge);
  EXPECT_TRUE(SizeCheckMessage(TSizeCheck::Ok, 1, 1).isEmpty());
  EXPECT_TRUE(SizeCheckMessage(TSizeCheck::TooLarge, 60000, 5000).contains("60000 x 5000"));
  EXPECT_FALSE(SizeCheckMessage(TSizeCheck::TooSmall, 0, 1).isEmpty());
  EXPECT_EQ(LimitSide(70000), 60000);
  EXPECT_EQ(LimitSide(0), 0);
}

struct TFilterCase {
  int Index, L, H, NewL, NewH;
  uint8_t Code;
};

class ResampleFilterTest : public ::testing::TestWithParam<TFilterCase> {};

TEST_P(ResampleFilterTest, AutomaticChoiceAndListCodes) {
  const TFilterCase& C = GetParam();
  EXPECT_EQ(ResampleFilterCode(C.Index, C.L, C.H, C.NewL, C.NewH), C.Code);
}

INSTANTIATE_TEST_SUITE_P(Table, ResampleFilterTest,
                         ::testing::Values(TFilterCase{0, 100, 100, 50, 50, 5},    // both shrink
                                           TFilterCase{0, 100, 100, 200, 100, 5},  // exactly twice
                                           TFilterCase{0, 100, 100, 201, 100, 4},  // 2.01
                                           TFilterCase{0, 100, 100, 100, 201, 4},
                                           TFilterCase{0, 100, 100, 50, 150, 5},   // one shrinks, one grows
                                           TFilterCase{0, 100, 100, 50, 250, 4},
                                           TFilterCase{1, 100, 100, 50, 50, 0}, TFilterCase{2, 1, 1, 5, 5, 1},
                                           TFilterCase{5, 1, 1, 5, 5, 4}, TFilterCase{7, 1, 1, 5, 5, 6}));

TEST(FitImageSizeTest, KeepsProportionsGrowsSmallImagesAndNeverGivesZero) {
  struct {
    int L, H, MW, MH;
    bool Distort;
    int W, Hh;
  } const Cases[] = {
      {4000, 3000, 800, 600, false, 800, 600}, {3000, 4000, 800, 600, false, 450, 600},
      {100, 50, 800, 600, false, 800, 400},    {1000, 1000, 800, 600, true, 800, 600},
      {1, 10000, 10, 10, false, 1, 10},
  };
  for (const auto& C : Cases) {
    int W = 0, H = 0;
    FitImageSize(C.L, C.H, C.MW, C.MH, C.Distort, W, H);
    EXPECT_EQ(W, C.W) << C.L << "x" << C.H;
    EXPECT_EQ(H, C.Hh) << C.L << "x" << C.H;
  }
}

TEST(NewImagePresetTest, PaperSizesAreCentimetresAtTheirResolution) {
  const TNewImagePreset& A4 = NewImagePreset(6);
  EXPECT_TRUE(A4.Centimetres);
  EXPECT_EQ(UnitToPixels(A4.Width, TSizeUnit::Centimetres, 1, A4.Resolution), 1654);
  EXPECT_EQ(UnitToPixels(A4.Height, TSizeUnit::Centimetres, 1, A4.Resolution), 2339);
  EXPECT_EQ(NewImagePreset(10).Resolution, 300);
  EXPECT_EQ(NewImagePreset(12).Resolution, 300);
  EXPECT_EQ(NewImagePreset(13).Resolution, 200);
  EXPECT_FALSE(NewImagePreset(17).Centimetres);
  EXPECT_EQ(NewImagePreset(17).Height, 576);
}

} // namespace
