// The one rounding rule of the program: nearest, ties to even (the processor's
// default mode). Never std::round or qRound, which round ties away from zero.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

// Round to nearest, ties to even, saturated to the int range (a NaN gives 0)
// so an out-of-range value cannot become undefined behaviour.
inline int Round(double X) {
  const double R = std::nearbyint(X);
  if (!(R == R)) return 0;
  if (R >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (R <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(R);
}

inline int64_t Round64(double X) {
  const double R = std::nearbyint(X);
  if (!(R == R)) return 0;
  if (R >= 9.2233720368547758e18) return INT64_MAX;
  if (R <= -9.2233720368547758e18) return INT64_MIN;
  return static_cast<int64_t>(R);
}

// Truncation toward zero, saturated like Round.
inline int Trunc(double X) {
  const double R = std::trunc(X);
  if (!(R == R)) return 0;
  if (R >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (R <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(R);
}

// Trunc plus one when the fractional part is positive: Ceil(-1.5) = -1.
inline int Ceil(double X) {
  const int T = Trunc(X);
  return (X - std::trunc(X) > 0 && T < INT_MAX) ? T + 1 : T;
}
