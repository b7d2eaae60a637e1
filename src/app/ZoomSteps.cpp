#include "app/ZoomSteps.h"

#include "platform/Rounding.h"

#include <cmath>

int NextZoomStep(double Factor, bool In) {
  const double Z = Round(Factor * 1000) / 1000.0;
  int I = static_cast<int>(ZoomSteps.size()) - 1;
  while (I > 0 && ZoomSteps[I] > Z) --I;
  if (In) return I <= 14 ? I + 1 : -1;
  if (ZoomSteps[I] == Z) --I;
  return I >= 1 ? I : -1;
}

int ZoomStepOfFactor(double Factor, bool Auto) {
  for (int I = 1; I < static_cast<int>(ZoomSteps.size()); ++I)
    if (std::abs(Factor - ZoomSteps[I]) < 0.0001) return I == ZoomStepRealSize && Auto ? 0 : I;
  return 0;
}

int ZoomStepPercent(int Step) {
  constexpr int Percents[] = {0, 10, 25, 33, 50, 66, 75, 100, 200, 300, 400, 500, 600, 800, 1200, 1600};
  return Step >= 0 && Step < 16 ? Percents[Step] : 0;
}

int ZoomStepOfPercent(int Percent) {
  for (int I = 0; I < 16; ++I)
    if (ZoomStepPercent(I) == Percent) return I;
  return 0;
}
