#include "app/ZoomSteps.h"

#include <gtest/gtest.h>

TEST(ZoomSteps, NextStepInAndOutOfAFactor) {
  struct TCase {
    double Factor;
    int In, Out;
  };
  const TCase Cases[] = {
      {0.43, 4, 3},   // between two steps: 50 % in, 33 % out
      {1.0, 8, 6},    // real size
      {0.05, 1, -1},  // below 10 %: only in
      {0.1, 2, -1},   // at 10 %
      {16, -1, 14},   // at 1600 %: only out
      {20, -1, 15},   // above 1600 % (automatic): out to 1600 %
      {0.3333, 4, 2}, // the 33 % step read to three decimals
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(NextZoomStep(C.Factor, true), C.In) << C.Factor;
    EXPECT_EQ(NextZoomStep(C.Factor, false), C.Out) << C.Factor;
  }
}

TEST(ZoomSteps, StepOfAFactorAndItsPercentage) {
  EXPECT_EQ(ZoomStepOfFactor(0.5, false), 4);
  EXPECT_EQ(ZoomStepOfFactor(0.5, true), 4);
  EXPECT_EQ(ZoomStepOfFactor(1.0, false), 7);
  // A fitting window at exactly 1 shows "<Auto>".
  EXPECT_EQ(ZoomStepOfFactor(1.0, true), 0);
  EXPECT_EQ(ZoomStepOfFactor(0.43, false), 0);
  EXPECT_EQ(ZoomStepOfFactor(16.00005, false), 15);
  for (int Step = 0; Step < 16; ++Step) EXPECT_EQ(ZoomStepOfPercent(ZoomStepPercent(Step)), Step);
  EXPECT_EQ(ZoomStepPercent(7), 100);
}
