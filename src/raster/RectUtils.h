// Rectangle and point helpers, and the floating-point geometry types used by
// selections, paths and transformations. Pure functions without state.
#pragma once

#include "raster/Pixels.h"

#include <cstdint>
#include <vector>

struct TFloatPoint {
  double X = 0;
  double Y = 0;
  friend bool operator==(const TFloatPoint&, const TFloatPoint&) = default;
};

struct TFloatRect {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
  TFloatPoint TopLeft() const { return {Left, Top}; }
  TFloatPoint BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TFloatRect&, const TFloatRect&) = default;
};

using TFloatPointArray = std::vector<TFloatPoint>;

TFloatPoint FloatPoint(double X, double Y);
TFloatPoint FloatPointFromPoint(TPoint P);
// Mode 1 rounds, 2 encloses (Trunc/Ceil), 3 is enclosed (Ceil/Trunc), any
// other truncates all four sides.
TRect FloatRectToRect(const TFloatRect& R, uint8_t Mode);

TRect BitmapRect(const TBitmap& Bitmap);
// Normalises R and cuts it to the bitmap; false (and R = 0) when nothing is left.
bool ClipToBitmap(TRect& R, const TBitmap& Bitmap);
// The sides' distances, taken in 64 bits and limited to INT_MAX.
int RectWidth(const TRect& R);
int RectHeight(const TRect& R);
// V limited to the int range: coordinates worked out in 64 bits come back
// through it, so that positions far away saturate instead of overflowing.
int ClampToInt(int64_t V);
// Bounds(X, Y, W, H) with its far sides limited to the int range.
TRect ClampedBounds(int X, int Y, int W, int H);
bool IsPointRect(const TRect& R);
TRect NormalizeTRect(const TRect& R);
TRect NormalizeRect(int X1, int Y1, int X2, int Y2);
TRect SquareRect(const TRect& R, bool KeepLeft, bool KeepTop);
// A ratio of 0 or less (or not a number) leaves R unchanged.
TRect FitRectToAspect(const TRect& R, double Ratio, bool KeepLeft, bool KeepTop);
TRect AdjustRectAspect(const TRect& R, double Ratio, bool FromHeight);
void PositionRect(TRect& R, const TRect& Area, TPosition Position);
void EnsureMinRectSize(TRect& R, int MinWidth, int MinHeight, bool KeepLeft, bool KeepTop);
void MoveRectInside(TRect& R, const TRect& Bounds, bool Intersect);
void ClampPointToRect(TPoint& P, const TRect& R);
void IncludePointInRect(TRect& R, TPoint P);
// Centred on (CX, CY), an odd number of pixels across; empty when the centre
// lies outside Bounds.
TRect SymmetricRect(int CX, int CY, int PX, int PY, const TRect& Bounds, bool Square);
TRect BrushRect(int X, int Y, uint16_t Size);
TFloatRect BrushRectF(double X, double Y, uint16_t Size);
// Positive angles (radians) turn counter-clockwise on screen (Y down).
TFloatPoint RotateFloatPoint(double X, double Y, double CX, double CY, double Angle);
