// The zoom steps of the zoom edit and the choice of the next step in and
// out of a zoom factor. Pure functions; depends on nothing.
#pragma once

#include <array>

// Index 0 is the automatic fit (no factor); 7 is real size.
inline constexpr std::array<double, 16> ZoomSteps = {0,   0.1, 0.25, 0.333, 0.5, 0.667, 0.75, 1,
                                                     2,   3,   4,    5,     6,   8,     12,   16};
inline constexpr int ZoomStepRealSize = 7;
// The step a zoom in (In) or out of Factor goes to, -1 when there is none:
// a factor between two steps goes to the nearer one in that direction.
int NextZoomStep(double Factor, bool In);
// The step showing Factor: 1..6 and 8..15 for their factors, 7 for 1 unless
// the window fits itself (Auto), else 0; factors within 0.0001 are equal.
int ZoomStepOfFactor(double Factor, bool Auto);
// The zoom edit's entries are tagged with their percentage (0 automatic).
int ZoomStepPercent(int Step);
int ZoomStepOfPercent(int Percent);
