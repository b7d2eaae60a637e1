// One long operation bracketed with the progress service: the begin on
// construction, the end on every way out, and steps that stay false once a
// step said stop. Used by the stretching, resampling, rotation and mask
// routines. Depends on raster/FilterEvent.
#pragma once

#include "raster/FilterEvent.h"

#include <algorithm>
#include <climits>
#include <cstdint>

class TProgressScope {
public:
  // Sizes beyond the int range report at the range's end.
  explicit TProgressScope(int64_t Maximum) : FGoing(ProgressEvent(ProgressStageBegin, Clamp(Maximum))) {
    FBegun = FGoing;
  }
  ~TProgressScope() {
    if (FBegun) ProgressEvent(ProgressStageEnd, 0);
  }
  TProgressScope(const TProgressScope&) = delete;
  TProgressScope& operator=(const TProgressScope&) = delete;

  // False when the begin was cancelled: nothing is to be done.
  bool Begun() const { return FBegun; }
  // False from the first cancel on, without asking the service again.
  bool Step(int64_t Value) {
    if (FGoing) FGoing = ProgressEvent(ProgressStageReport, Clamp(Value));
    return FGoing;
  }
  bool Going() const { return FGoing; }

private:
  static int Clamp(int64_t V) { return static_cast<int>(std::clamp<int64_t>(V, 0, INT_MAX)); }
  bool FGoing;
  bool FBegun;
};
