// Filtered resampling: a whole 24-bit bitmap resized to a new width and height
// through one of seven reconstruction kernels, in two separable passes with
// precomputed lists of weighted source pixels and integer inner loops.
// Depends on raster/Pixels and raster/FilterEvent (progress and cancel).
//
// The first and last pixel of a row or column map onto each other (no
// half-pixel offset). Sizes of 1 are handled: a source of one pixel is
// repeated, a destination of one pixel gets the kernel-weighted average of the
// whole source around its middle. Contributors that fall beyond an edge are
// reflected once and then held to the nearest edge pixel.
//
// The work arrays belong to the calling thread, so two threads may resample
// at once; the progress service itself is the interface thread's.
#pragma once

#include "raster/Pixels.h"

#include <cstdint>
#include <vector>

// A kernel: single precision in and out, x in source pixels.
using TFilterProc = float (*)(float Value);

float BoxFilter(float Value);      // 1 for -0.5 < x <= 0.5
float TriangleFilter(float Value); // 1 - |x| below 1
float HermiteFilter(float Value);  // (2|x| - 3) x^2 + 1 below 1
float BellFilter(float Value);     // quadratic pieces up to 1.5
float SplineFilter(float Value);   // cubic B-spline up to 2
float Lanczos3Filter(float Value); // sinc(x) sinc(x / 3) up to 3
float MitchellFilter(float Value); // Mitchell-Netravali, B = C = 1/3, up to 2

struct TResampleFilter {
  const char* Name;
  TFilterProc Filter;
  float Support; // the radius beyond which the kernel is 0
};

// Indexed by the filter number callers pass: 0 Box, 1 Triangle, 2 Hermite,
// 3 Bell, 4 B-spline, 5 Lanczos3, 6 Mitchell.
constexpr int ResampleFilterCount = 7;
extern const TResampleFilter ResampleFilters[ResampleFilterCount];

// One weighted source pixel: Weight in 1/256 (256 = 1.0), Pixel the source
// column or row.
struct TContributor {
  int Weight;
  int Pixel;
};
using TContributors = std::vector<TContributor>;

// The source pixels of one destination column or row; N entries are in use.
struct TContributorEntry {
  int N = 0;
  TContributors Contributors;
};
using TContributorList = std::vector<TContributorEntry>;

// The contributors of every destination pixel of one axis, from SrcSize source
// pixels to DstSize (both at least 1). Zero weights are left out; the lists
// grow as long as the kernel's reach needs.
TContributorList BuildContributors(TFilterProc Kernel, float Support, int SrcSize, int DstSize);

// Resizes Src into Dst, which already has its size; both 24-bit (anything
// else does nothing, as does an empty one). Progress: one begin with the
// maximum 2 * DstW + SrcH + DstH, one step per destination column, source row,
// destination row and destination column of the four stages; a cancel stops
// at once and leaves what was written (a cancel before the vertical pass
// leaves Dst untouched). Support should be the kernel's own: a support above
// 64 counts as 64 and kernel values are held to -16..16 (every kernel here is
// 0 beyond 3 and stays within -1..1).
void Resample(TFilterProc Kernel, float Support, const TBitmap& Src, TBitmap& Dst);

// Dst becomes a 24-bit W x H bitmap (empty when either is 0 or less) and
// receives Src resized with the kernel Filter; Support 0 takes the kernel's
// own. Src is converted to 24 bits in place. A Filter beyond 6 does nothing.
// Src and Dst may be the same bitmap.
void ResampleBitmap(int W, int H, uint8_t Filter, float Support, TBitmap& Src, TBitmap& Dst);
// The same into a temporary that Bitmap then takes over.
void ResampleBitmapInPlace(int W, int H, uint8_t Filter, float Support, TBitmap& Bitmap);
