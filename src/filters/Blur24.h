// The blur family: the box blur and its 3 x 3 shortcut, the separable
// "Gaussian" blur built from the radial power kernel, and three geometric
// blurs (radial zoom, spin, motion) that read an unfiltered source and write
// a target. Depends on the convolution engine and the raster core.
//
// The box and Gaussian blurs work in place under the rules of the convolution
// engine (rect clipped, values read from the unfiltered rect only, edges
// repeated, one progress pass per pass). The geometric blurs sample around
// the centre (Width div 2, Height div 2) of the whole target; only samples
// inside Rect count, a pixel without one keeps its value; one progress pass.
#pragma once

#include "raster/Pixels.h"

// Every pixel := (sum of the (2Rx+1) x (2Ry+1) window) div its pixel count,
// per channel. Negative radii count as 0; nothing when both are below 1.
void BoxBlurPass(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect);
// BoxBlurPass (Rx, 0), then BoxBlurPass (0, Ry).
void BoxBlur(TBitmap& Bitmap, int Rx, int Ry, const TRect& Rect);
// BoxBlur (1, 1): the plain Blur command.
void BoxBlur3x3(TBitmap& Bitmap, const TRect& Rect);
void BoxBlur3x3Repeat(TBitmap& Bitmap, int Count, const TRect& Rect);

// A horizontal pass with GaussianMatrix (Radius, 0, Exponent, 1.0), then a
// vertical one with GaussianMatrix (0, Radius, Exponent, 1.0), each a
// convolution at 100 %. Nothing when Radius <= 0.
void GaussianBlur(TBitmap& Bitmap, int Radius, double Exponent, const TRect& Rect);
// GaussianBlur with the program's exponent 1.69.
void GaussianBlurRadius(TBitmap& Bitmap, int Radius, const TRect& Rect);

// The geometric blurs. Src is never written; Rect is clipped to both bitmaps,
// which should be distinct and of one size (an empty one does nothing).
// Each pixel of Rect in Dst becomes the truncated average of the Src samples
// taken for it, sample positions rounded halves to even.
//
// Radial: along the ray from the centre through the pixel, at the distances
// IntDistance - Length .. IntDistance + Length (those >= 0).
void RadialBlur24(const TBitmap& Src, TBitmap& Dst, int Length, const TRect& Rect);
// Spin: on the circle through the pixel, at the whole degrees e - Length ..
// e + Length, e the pixel's angle rounded to a degree. Lengths above 180
// count as 180 (the whole circle).
void SpinBlur24(const TBitmap& Src, TBitmap& Dst, int Length, const TRect& Rect);
// Motion: Length samples at the pixel plus (-Dx * Length / 2, -Dy * Length /
// 2) + k (Dx, Dy), k = 0..Length-1. Length <= 0 changes nothing; above 65536
// it becomes 65536, or 65535 for an odd length (the samples dropped lie at
// both ends of the line).
void MotionBlurVector(const TBitmap& Src, TBitmap& Dst, int Length, double Dx, double Dy, const TRect& Rect);
// MotionBlurVector with (Dx, Dy) = (sin -A, cos -A), A the angle in radians:
// 0 degrees blurs along the columns, 90 along the rows.
void MotionBlur(const TBitmap& Src, TBitmap& Dst, int Length, double AngleDegrees, const TRect& Rect);
