// The constant kernels of the matrix filters and the two kernel generators
// (the radial power kernel of the blurs, the unsharp kernel). Depends on the
// convolution engine for TFilterMatrix; used by the blur, preset and
// artistic filters.
#pragma once

#include "filters/Convolution.h"

#include <cstdint>

// Read-only kernels: values row by row, then the divisor and the offset.
struct TMatrix3x3Record {
  int32_t Values[9];
  int32_t Divisor;
  int32_t Offset;
};

struct TMatrix5x5Record {
  int32_t Values[25];
  int32_t Divisor;
  int32_t Offset;
};

// The "Lisser" command (the pixel and its right, lower and lower-right
// neighbours).
extern const TMatrix3x3Record MatSmooth;
extern const TMatrix3x3Record MatSoftenMild;
extern const TMatrix3x3Record MatSharpen;
extern const TMatrix3x3Record MatSharpenStrong;
extern const TMatrix3x3Record MatRelief;
extern const TMatrix3x3Record MatReliefStrong;
extern const TMatrix3x3Record MatReliefMild;
extern const TMatrix3x3Record MatPlaster;
// The 3 x 3 Gaussian [1 2 1; 2 4 2; 1 2 1] / 16.
extern const TMatrix3x3Record MatSoften;
// SharpenMore24's kernel; SharpenMoreMatrix replaces its centre and divisor.
extern const TMatrix5x5Record MatSharpenMore5x5;
// All 1 with centre -24; callers replace the centre.
extern const TMatrix5x5Record MatEdge5x5;

TFilterMatrix MatrixFromRecord3x3(const TMatrix3x3Record& Record);
TFilterMatrix MatrixFromRecord5x5(const TMatrix5x5Record& Record);

// MatSharpenMore5x5 with s = Strength clamped to 1..50: centre 344 - 4s,
// divisor 224 - 4s (the other values sum to -120, so the kernel sums to its
// divisor).
TFilterMatrix SharpenMoreMatrix(int Strength);

// (2Rx+1) x (2Ry+1); with M = max(Rx, Ry) and d the distance of a cell from
// the centre (single precision), Round((M - d)^Exponent + 1) where d <= M,
// else 0; then the centre times CentreScale (rounded) and the divisor the
// sum. Negative radii count as 0. Exponent 1.69 gives the rows [1 2 1]/4,
// [1 2 4 2 1]/10, [1 2 4 7 4 2 1]/21 for radius 1, 2, 3.
TFilterMatrix GaussianMatrix(int Rx, int Ry, double Exponent, double CentreScale);

// (2R+1) x (2R+1): -Round((R - d)^Exponent + 1) where d <= R, else 0; the
// centre becomes -Round((S + 1) * Factor), S the sum of all cells before, and
// the divisor the new sum. R = 1, Exponent 3, Factor 1 is [0 -1 0; -1 5 -1;
// 0 -1 0] / 1.
TFilterMatrix UnsharpMatrix(int R, double Exponent, double Factor);
