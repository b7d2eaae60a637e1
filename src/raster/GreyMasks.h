// Making and reshaping grey masks: masks from the pixels near a colour,
// smoothing, growing and shrinking, feathering stair-steps, combining by the
// larger value (also tiled), outlines, a uniformity test, and two generators
// used as masks and backgrounds (a radial spot and plasma clouds). Depends on
// raster/Pixels, raster/FoncUtils (IntDistance), raster/RandomGen (the shared
// generator) and raster/FilterEvent (progress).
//
// A grey mask is a 24-bit bitmap, 0 opaque or inside, 255 transparent or
// outside; every routine reads the first byte (Blue) of a mask pixel and
// writes all three. Rectangles are clipped to the bitmap first (WholeBitmapRect
// is the whole of it) and an empty result does nothing. Bitmaps that are not
// 24-bit make a routine do nothing, except the sources of MaskFromColor and
// its two siblings, which are read through a 24-bit copy. Smoothing, growing,
// shrinking and outlines read the mask as it was before the call (the
// outline's destination may be the mask itself); feathering works in place.
#pragma once

#include "raster/Pixels.h"

#include <cstdint>

// The integer distance between two points: IntDistance, one routine for both.
int MaskDistance(int X1, int Y1, int X2, int Y2);

// A radial gradient: G := (Radius - d) * 255 div Radius for a distance d
// (MaskDistance) below Radius, else 0; each channel := Outer + (Inner - Outer)
// * G div 255. A Radius of 0 or less gives Outer everywhere.
void DrawRadialSpot(TBitmap& Bitmap, TColor Inner, TColor Outer, int Radius, int CX, int CY, const TRect& Rect);

// Plasma clouds between Color2 (grid value 0) and Color1 (grid value 192) on
// a grid of N + 1 cells square, N = Round(Scale * 255) held to 1..16383, made
// by midpoint displacement with the shared generator, reseeded from the clock
// on every call (Randomize). Each grid cell covers two pixels and the grid is
// mirrored back and forth across Rect.
void DrawClouds24(TBitmap& Bitmap, TColor Color1, TColor Color2, double Scale, const TRect& Rect);

// "Near" is within Tolerance of Color on each channel (ColorsNear); a negative
// tolerance does nothing. Rect is clipped to Src; Mask becomes 24-bit and
// takes Src's size first (new area white); its pixels outside Rect, and those
// the flags leave out, keep their values.
// Mask := 0 where not near; 255 where near when SetMatching.
void MaskFromColor(const TBitmap& Src, TBitmap& Mask, TColor Color, int Tolerance, bool SetMatching, const TRect& Rect);
// Mask := 0 where near; 255 elsewhere when SetOthers.
void MaskFromColorInverted(const TBitmap& Src, TBitmap& Mask, TColor Color, int Tolerance, bool SetOthers,
                           const TRect& Rect);
// Mask := 255 where near.
void MaskOutColor(const TBitmap& Src, TBitmap& Mask, TColor Color, int Tolerance, const TRect& Rect);

// Every pixel that is not 255 becomes min(S div 9, 255), S being its value
// plus each of its eight neighbours' values, a neighbour of 255 or outside
// Rect counting 377. Pixels of 255 stay.
void SmoothMask(TBitmap& Mask, const TRect& Rect);

// True when every pixel of Rect has the first byte Value; an empty Rect gives
// True, a mask that is not 24-bit False.
bool IsMaskUniform(const TBitmap& Mask, uint8_t Value, const TRect& Rect);

// N > 0 grows the opaque part by N pixels, N < 0 shrinks it by -N: -1 is
// ShrinkMaskOnePixel, below ShrinkMaskBy(-N), 1 with OnePixel
// GrowMaskOnePixel, any other GrowMaskBy(N). N = 0 does nothing.
void GrowShrinkMask(TBitmap& Mask, int N, const TRect& Rect, bool OnePixel);
// Every pixel not 255 with a 4-neighbour of 255 becomes 255, positions
// outside Rect counting as 255.
void ShrinkMaskOnePixel(TBitmap& Mask, const TRect& Rect);
// Every pixel of 255 with a 4-neighbour below 255 inside Rect becomes 0.
void GrowMaskOnePixel(TBitmap& Mask, const TRect& Rect);
// Around every pixel not 255 that is on Rect's border or has a 4-neighbour of
// 255, the square of side 2N - 1 (clipped to Rect) becomes 255.
void ShrinkMaskBy(TBitmap& Mask, int N, const TRect& Rect);
// Around every pixel not 255 with a 4-neighbour of 255 inside Rect, the square
// of side 2N + 1 (clipped to Rect) becomes 0.
void GrowMaskBy(TBitmap& Mask, int N, const TRect& Rect);

// Paints onto Dst the outline of the mask's inside (values up to Threshold):
// the inside pixels that are on Rect's border or have a 4-neighbour outside
// the shape, each as a square of side Width from (x - H, y - H), H = (Width -
// 1) div 2, clipped to Rect and to Dst. Width <= 0 does nothing.
void DrawMaskOutline(const TBitmap& Mask, TBitmap& Dst, TColor Color, int Width, uint8_t Threshold, const TRect& Rect);

// Dst := the larger of Dst and Src placed at (X, Y), per pixel (Src's three
// bytes where Src's first byte is larger); Rect is limited to where Src lies.
void CombineMaskMax(const TBitmap& Src, TBitmap& Dst, int X, int Y, const TRect& Rect);
// The same with Src tiled so that its pixel (0, 0) lies at (OrgX, OrgY). An
// empty Src does nothing.
void CombineMaskMaxTiled(const TBitmap& Src, TBitmap& Dst, int OrgX, int OrgY, const TRect& Rect);

// Turns the stair-steps along the fully opaque part into linear ramps: a run
// of L non-opaque pixels beside the opaque part in the next row or column,
// starting next to an opaque pixel of its own row or column, with 0 < L <
// Radius, gets Round(Sum + 0.5) at its k-th pixel where that is smaller, Sum
// adding 255 / (L + 1) per pixel from the opaque one (a run of 1 gives 128,
// of 2 gives 86 and 170). A horizontal then a vertical pass, in place; a negative Radius
// counts as 99999. Progress: a begin with width + height (a cancel does
// nothing), a step per row then per column (a cancel ends both passes).
void FeatherMask(TBitmap& Mask, const TRect& Rect, int Radius);
