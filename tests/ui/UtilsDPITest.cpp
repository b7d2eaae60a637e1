#include "ui/UtilsDPI.h"

#include <gtest/gtest.h>

namespace {

class UtilsDPITest : public ::testing::Test {
protected:
  void TearDown() override { SetScreenPixelsPerInch(96); }
};

struct TScaleCase {
  int Dpi;
  int Value;
  int Expected;
};

TEST_F(UtilsDPITest, ScaleByDPIRoundsHalvesAwayFromZero) {
  const TScaleCase Cases[] = {
      {96, 75, 75},     {144, 75, 113}, // 112.5
      {120, 75, 94},                    // 93.75
      {144, -75, -113}, {144, 1, 2},    // 1.5
      {120, 2, 3},                      // 2.5
      {192, 377, 754},  {72, 3, 2},     // 2.25
  };
  for (const TScaleCase& C : Cases) {
    SetScreenPixelsPerInch(C.Dpi);
    EXPECT_EQ(ScaleByDPI(C.Value), C.Expected) << C.Dpi << " dpi, " << C.Value;
  }
}

TEST_F(UtilsDPITest, PointsToPixelsAndKinds) {
  EXPECT_EQ(PointsToPixels(9, 3), 12);
  EXPECT_EQ(PointsToPixels(11, 3), 15); // 14.67
  SetScreenPixelsPerInch(144);
  EXPECT_EQ(PointsToPixels(9, 3), 18);
  EXPECT_EQ(PointsToPixels(9, 0), 12); // the design resolution stays 96
  EXPECT_EQ(ScreenDPI(0), 96);
  EXPECT_EQ(ScreenDPI(1), 96);
  EXPECT_EQ(ScreenDPI(2), 144);
  EXPECT_EQ(ScreenDPI(3), 144);
  EXPECT_EQ(PointsToPixels(10, 3), 20);
}

TEST_F(UtilsDPITest, MulDivMatchesThePlatformRoutine) {
  EXPECT_EQ(MulDiv(5, 3, 2), 8);   // 7.5
  EXPECT_EQ(MulDiv(-5, 3, 2), -8); // away from zero
  EXPECT_EQ(MulDiv(5, -3, 2), -8);
  EXPECT_EQ(MulDiv(2, 1, 3), 1);
  EXPECT_EQ(MulDiv(1, 1, 3), 0);
  EXPECT_EQ(MulDiv(1 << 30, 1 << 30, 1 << 30), 1 << 30); // the product needs 64 bits
  EXPECT_EQ(MulDiv(7, 1, 0), -1);
  EXPECT_EQ(MulDiv(1 << 30, 8, 1), -1); // overflow
}

TEST_F(UtilsDPITest, ProcessDPIAwarenessComesTooLateOnceTheApplicationExists) { EXPECT_FALSE(MakeProcessDPIAware()); }

} // namespace
