// How test failures print the platform types.
#pragma once

#include "platform/Types.h"

#include <ostream>

inline void PrintTo(const TRect& R, std::ostream* Out) {
  *Out << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}
inline void PrintTo(const TPoint& P, std::ostream* Out) { *Out << "(" << P.X << ", " << P.Y << ")"; }
