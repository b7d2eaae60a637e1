// Rectangular drop shadows under thumbnails, the image in its view, panels and
// layer previews: a band to the right of and below a rectangle, hard (uniform)
// or soft (fading towards its outer edge and its two ends). Depends on
// raster/Pixels, raster/ColorUtils (MixColors) and raster/RandomGen.
//
// Geometry shared by both families. R casts the shadow; S is its offset and
// band width, P its strength in percent (how much darker than what lies
// under it). The band always falls towards the bottom right.
// - Q is R with Left and Top moved by +S.
// - Hard: the bottom strip (Q.Left, Q.Bottom, Q.Right + S, Q.Bottom + S) and
//   the right strip (Q.Right, Q.Top, Q.Right + S, Q.Bottom), at strength P.
// - Soft: rings, each the one-pixel row just below Q and the one-pixel column
//   just right of Q, Q growing by one pixel right and down after each ring.
//   Above 4 pixels, S - 4 full-strength rings come first; then up to 4 rings
//   weakening in equal steps of P div (S + 1) (S = 4, P = 70: 56, 42, 28, 14).
// - A ring fades in over its first four pixels (2, 4, 6 and 8 tenths of its
//   strength) and, inside the limits LimitX / LimitY, fades out at its end,
//   which rounds the bottom-right corner. Limits of 9999 mean no fading end.
// Every pixel of a band is touched once, so the bitmap family darkens each
// pixel at most once. A band whose far side would pass INT_MAX (S near the
// int limit) is not drawn at all; the rings of a wide soft band that cannot
// reach the bitmap or the canvas' clip are skipped without being walked.
//
// The bitmap family darkens a 24-bit bitmap in place with a little noise (a
// byte b becomes b - b * P div 100 + N - 3, N drawn in 0..6 from the shared
// generator, limited to 0..255); the canvas family paints the same
// rectangles with MixColors(Color, black, strength) over a background known
// to be of the plain colour Color. Bitmaps that are not 24-bit are left alone
// by the bitmap family.
#pragma once

#include "raster/Pixels.h"

// The limit that gives a ring no fading end.
constexpr int ShadowNoLimit = 9999;

// The rectangle limited to the bitmap, every byte darkened by P percent plus
// noise; nothing for an empty result or a bitmap that is not 24-bit.
void DarkenRect24(TBitmap& Bitmap, int Left, int Top, int Right, int Bottom, int P);
// The rectangle filled with MixColors(Color, black, P) (the canvas brush is
// left as it was found).
void FillShadowColor(TCanvas& Canvas, int Left, int Top, int Right, int Bottom, int P, TColor Color);

// The two strips of a hard shadow of the shifted rectangle Q.
void HardShadow24(TBitmap& Bitmap, const TRect& Q, int S, int P);
void HardShadowCanvas(TCanvas& Canvas, const TRect& Q, int S, int P, TColor Color);

// One ring of a soft shadow just outside Q at strength P; the row fades out
// from LimitX and the column from LimitY when LimitX <= Q.Right and
// LimitY <= Q.Bottom.
void ShadowRing24(TBitmap& Bitmap, const TRect& Q, int P, int LimitX, int LimitY);
void ShadowRingCanvas(TCanvas& Canvas, const TRect& Q, int P, int LimitX, int LimitY, TColor Color);

// All the rings of a soft shadow of the shifted rectangle Q; the band is S
// pixels wide (fewer when P is too small for every step to leave strength).
void SoftShadow24(TBitmap& Bitmap, const TRect& Q, int S, int P);
void SoftShadowCanvas(TCanvas& Canvas, const TRect& Q, int S, int P, TColor Color);

// The shadow of R darkened into a 24-bit bitmap, the generator reseeded from
// the clock first. Nothing happens when R is empty, S <= 0, P is outside
// 1..100, or the bitmap has no column right of R or no row below it
// (R.Right >= width or R.Bottom >= height).
void DrawBitmapShadow(TBitmap& Bitmap, const TRect& R, int S, int P, bool Soft);
// The shadow of R painted on Canvas over the background Color. With
// FillCorners the two S x S squares beside the band, Bounds(R.Right, R.Top,
// S, S) and Bounds(R.Left, R.Bottom, S, S), are repainted in Color. Nothing
// happens when R is empty, S < 1 or P is outside 1..100.
void DrawShadow(TCanvas& Canvas, const TRect& R, int S, int P, TColor Color, bool Soft, bool FillCorners);
