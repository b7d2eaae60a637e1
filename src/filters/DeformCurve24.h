// The deformation along a curve: every column (horizontal axis) or row
// (vertical axis) of a bitmap is shifted by the curve's height there. The
// curve arrives sampled at every pixel along the axis, is smoothed, and
// drives an inverse mapping through the raster core's samplers. Depends on
// the raster core; used by the curve-deformation dialog.
#pragma once

#include "raster/Pixels.h"
#include "raster/ScanMan.h"

#include <cstdint>
#include <vector>

// The curve sampled at every pixel along the axis: displacements in pixels
// of the target. (32 bits, so that a layer taller than 32767 pixels keeps
// its displacements.)
using TDDAPoints = std::vector<int32_t>;
// The samples after smoothing.
using TDeformPoints = std::vector<float>;

// Fewer samples than this deform nothing.
inline constexpr int MinDeformPoints = 12;
// A curve whose smoothed height varies by less than this changes nothing.
inline constexpr double MinDeformSwing = 0.33;

// With n samples and L = n - 1, sample i becomes the mean of the 2c + 1
// samples i - c .. i + c (indices clamped into 0..L), where c = i + 1 for
// i < HalfWindow, L - i + 1 for i > L - HalfWindow, else HalfWindow.
TDeformPoints SmoothDeformPoints(const TDDAPoints& Points, int HalfWindow);

// Least and greatest sample, starting from +2^31 and -2^31.
void DeformPointsMinMax(const TDeformPoints& Points, double& Min, double& Max);

// Dest := Src deformed by Points (n of them) inside Rect. Nothing for n < 12;
// a swing under 0.33 copies Src. Otherwise, with step = the rect's extent
// along the axis / n, sample k = Round((x - Left) / step) (at most n - 1)
// moves pixel (x, y) to read Src at (x, y - Points[k] step + offset)
// (horizontal) or (x - Points[k] step + offset, y) (vertical), in Mode.
// Grow: Dest is a new white bitmap of Src's size grown along the
// displacement by Round(swing x step), all of it the target, offset = min x
// step, and Rect is not used. Otherwise Rect is clipped to Src, Dest takes
// Src's size (keeping its pixels when it had it) and offset is 0.
// BackColor is read outside the sampled area; clNone repeats the edge
// pixels in grow mode and otherwise reads the source pixel at the target's
// own place. One progress pass over the target's rows; a cancel stops at a
// row. Src may be Dest.
void DeformByCurve(const TBitmap& Src, TBitmap& Dest, bool Horizontal, const TDeformPoints& Points, TColor BackColor,
                   const TRect& Rect, TAntialiasMode Mode, bool Grow);
// The same with Dest as its own source.
void DeformByCurveCopy(TBitmap& Dest, bool Horizontal, const TDeformPoints& Points, TColor BackColor, const TRect& Rect,
                       TAntialiasMode Mode, bool Grow);
