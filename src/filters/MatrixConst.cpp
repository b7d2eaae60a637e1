#include "filters/MatrixConst.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>

// clang-format off
const TMatrix3x3Record MatSmooth{{0, 0, 0,
                                  0, 1, 1,
                                  0, 1, 1}, 4, 0};
const TMatrix3x3Record MatSoftenMild{{1, 2, 1,
                                      2, 20, 2,
                                      1, 2, 1}, 32, 0};
const TMatrix3x3Record MatSharpen{{-1, -2, -1,
                                   -2, 28, -2,
                                   -1, -2, -1}, 16, 0};
const TMatrix3x3Record MatSharpenStrong{{-1, -1, -1,
                                         -1, 9, -1,
                                         -1, -1, -1}, 1, 0};
const TMatrix3x3Record MatRelief{{0, 1, 0,
                                  1, 1, -1,
                                  0, -1, 0}, 1, 0};
const TMatrix3x3Record MatReliefStrong{{0, 2, 0,
                                        2, 1, -2,
                                        0, -2, 0}, 1, 0};
const TMatrix3x3Record MatReliefMild{{0, 2, 0,
                                      2, 7, -2,
                                      0, -2, 0}, 7, 0};
const TMatrix3x3Record MatPlaster{{0, -3, -3,
                                   0, 6, 0,
                                   0, 0, 0}, 1, 0};
const TMatrix3x3Record MatSoften{{1, 2, 1,
                                  2, 4, 2,
                                  1, 2, 1}, 16, 0};
const TMatrix5x5Record MatSharpenMore5x5{{0, 0, -1, 0, 0,
                                          0, -8, -21, -8, 0,
                                          -1, -21, 121, -21, -1,
                                          0, -8, -21, -8, 0,
                                          0, 0, -1, 0, 0}, 220, 0};
const TMatrix5x5Record MatEdge5x5{{1, 1, 1, 1, 1,
                                   1, 1, 1, 1, 1,
                                   1, 1, -24, 1, 1,
                                   1, 1, 1, 1, 1,
                                   1, 1, 1, 1, 1}, 1, 0};
// clang-format on

namespace {

template <int Side, class TRecord> TFilterMatrix FromRecord(const TRecord& Record) {
  TFilterMatrix M(Side, Side);
  std::copy(std::begin(Record.Values), std::end(Record.Values), M.Values().begin());
  M.SetDivisor(Record.Divisor);
  M.SetOffset(Record.Offset);
  return M;
}

// The distance of cell (J, I) from (Cx, Cy), in single precision.
float CellDistance(int Cx, int Cy, int J, int I) {
  return std::hypot(static_cast<float>(Cx - J), static_cast<float>(Cy - I));
}

} // namespace

TFilterMatrix MatrixFromRecord3x3(const TMatrix3x3Record& Record) { return FromRecord<3>(Record); }

TFilterMatrix MatrixFromRecord5x5(const TMatrix5x5Record& Record) { return FromRecord<5>(Record); }

TFilterMatrix SharpenMoreMatrix(int Strength) {
  const int S = std::clamp(Strength, 1, 50);
  TFilterMatrix M = MatrixFromRecord5x5(MatSharpenMore5x5);
  M.SetValueXY(2, 2, 344 - 4 * S);
  M.SetDivisor(224 - 4 * S);
  return M;
}

TFilterMatrix GaussianMatrix(int Rx, int Ry, double Exponent, double CentreScale) {
  Rx = std::max(Rx, 0);
  Ry = std::max(Ry, 0);
  const int M = std::max(Rx, Ry);
  TFilterMatrix Matrix(2 * Rx + 1, 2 * Ry + 1);
  for (int I = 0; I <= 2 * Ry; ++I)
    for (int J = 0; J <= 2 * Rx; ++J) {
      const float D = CellDistance(Rx, Ry, J, I);
      if (D <= M) Matrix.SetValueXY(J, I, Round(std::pow(M - static_cast<double>(D), Exponent) + 1));
    }
  Matrix.SetValueXY(Rx, Ry, Round(Matrix.GetValueXY(Rx, Ry) * CentreScale));
  Matrix.SetDivisor(Matrix.CalcDefaultDivisor());
  return Matrix;
}

TFilterMatrix UnsharpMatrix(int R, double Exponent, double Factor) {
  R = std::max(R, 0);
  TFilterMatrix Matrix(2 * R + 1, 2 * R + 1);
  for (int I = 0; I <= 2 * R; ++I)
    for (int J = 0; J <= 2 * R; ++J) {
      const float D = CellDistance(R, R, J, I);
      if (D <= R) Matrix.SetValueXY(J, I, -Round(std::pow(R - static_cast<double>(D), Exponent) + 1));
    }
  const int32_t Sum = Matrix.CalcDefaultDivisor();
  Matrix.SetValueXY(R, R, -Round((Sum + 1.0) * Factor));
  Matrix.SetDivisor(Matrix.CalcDefaultDivisor());
  return Matrix;
}
