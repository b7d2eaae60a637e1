#include "filters/MatrixConst.h"

#include "platform/Rounding.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<int32_t> Row(const TFilterMatrix& M, int Y) {
  std::vector<int32_t> V;
  for (int X = 0; X < M.Width(); ++X) V.push_back(M.GetValueXY(X, Y));
  return V;
}

} // namespace

TEST(MatrixConstTest, SharpenMoreStrengthIsClamped) {
  const struct {
    int Strength, Centre, Divisor;
  } Cases[] = {{0, 340, 220}, {1, 340, 220}, {10, 304, 184}, {50, 144, 24}, {60, 144, 24}};
  for (const auto& Case : Cases) {
    const TFilterMatrix M = SharpenMoreMatrix(Case.Strength);
    EXPECT_EQ(M.GetValueXY(2, 2), Case.Centre) << Case.Strength;
    EXPECT_EQ(M.Divisor(), Case.Divisor) << Case.Strength;
    EXPECT_EQ(M.CalcDefaultDivisor(), M.Divisor()) << Case.Strength;
    EXPECT_EQ(M.GetValueXY(1, 2), -21);
  }
}

TEST(MatrixConstTest, GaussianRowsOfTheBlur) {
  const struct {
    int Radius;
    std::vector<int32_t> Values;
    int Divisor;
  } Cases[] = {{1, {1, 2, 1}, 4}, {2, {1, 2, 4, 2, 1}, 10}, {3, {1, 2, 4, 7, 4, 2, 1}, 21}};
  for (const auto& Case : Cases) {
    const TFilterMatrix Across = GaussianMatrix(Case.Radius, 0, 1.69, 1.0);
    EXPECT_EQ(Across.Height(), 1);
    EXPECT_EQ(Row(Across, 0), Case.Values);
    EXPECT_EQ(Across.Divisor(), Case.Divisor);
    const TFilterMatrix Down = GaussianMatrix(0, Case.Radius, 1.69, 1.0);
    EXPECT_EQ(Down.Width(), 1);
    EXPECT_EQ(Down.Values(), Case.Values);
  }
  const TFilterMatrix Scaled = GaussianMatrix(1, 0, 1.69, 3.0);
  EXPECT_EQ(Row(Scaled, 0), (std::vector<int32_t>{1, 6, 1}));
  EXPECT_EQ(Scaled.Divisor(), 8);
}

TEST(MatrixConstTest, GaussianSquareFollowsTheDistance) {
  const TFilterMatrix M = GaussianMatrix(2, 3, 1.69, 2.0);
  ASSERT_EQ(M.Width(), 5);
  ASSERT_EQ(M.Height(), 7);
  int64_t Sum = 0;
  for (int I = 0; I < 7; ++I)
    for (int J = 0; J < 5; ++J) {
      const float D = std::hypot(static_cast<float>(2 - J), static_cast<float>(3 - I));
      int Expected = D <= 3 ? Round(std::pow(3 - static_cast<double>(D), 1.69) + 1) : 0;
      if (I == 3 && J == 2) Expected = Round(Expected * 2.0);
      EXPECT_EQ(M.GetValueXY(J, I), Expected) << J << "," << I;
      Sum += Expected;
    }
  EXPECT_EQ(M.Divisor(), Sum);
}

TEST(MatrixConstTest, UnsharpKernel) {
  const TFilterMatrix M = UnsharpMatrix(1, 3, 1);
  EXPECT_EQ(M.Values(), (std::vector<int32_t>{0, -1, 0, -1, 5, -1, 0, -1, 0}));
  EXPECT_EQ(M.Divisor(), 1);

  // R = 2, exponent 1, factor 0.5: ring values -(2 - d + 1) rounded, the
  // centre -Round((S + 1) / 2).
  const TFilterMatrix N = UnsharpMatrix(2, 1.0, 0.5);
  int64_t Sum = 0, Outer = 0;
  for (int I = 0; I < 5; ++I)
    for (int J = 0; J < 5; ++J) {
      const float D = std::hypot(static_cast<float>(2 - J), static_cast<float>(2 - I));
      const int V = D <= 2 ? -Round(2 - static_cast<double>(D) + 1) : 0;
      Sum += V;
      if (I != 2 || J != 2) {
        EXPECT_EQ(N.GetValueXY(J, I), V) << J << "," << I;
        Outer += V;
      }
    }
  EXPECT_EQ(N.GetValueXY(2, 2), -Round((Sum + 1) * 0.5));
  EXPECT_EQ(N.Divisor(), Outer + N.GetValueXY(2, 2));
}

TEST(MatrixConstTest, RecordsBecomeMatrices) {
  const TFilterMatrix Edge = MatrixFromRecord5x5(MatEdge5x5);
  EXPECT_EQ(Edge.Width(), 5);
  EXPECT_EQ(Edge.GetValueXY(2, 2), -24);
  EXPECT_EQ(Edge.CalcDefaultDivisor(), 0);
  EXPECT_EQ(Edge.Divisor(), 1);
  const TFilterMatrix Mild = MatrixFromRecord3x3(MatReliefMild);
  EXPECT_EQ(Row(Mild, 1), (std::vector<int32_t>{2, 7, -2}));
  EXPECT_EQ(Mild.Divisor(), 7);
  EXPECT_EQ(Mild.Offset(), 0);
}
