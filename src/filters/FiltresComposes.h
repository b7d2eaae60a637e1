// Filters made by chaining the primitives of the other filter units with
// fixed constants: the edge mask and the two kinds of random strokes they
// draw with, the unsharp mask, micro-contrast and relief of their dialogs,
// the one-click composites of the Filter menu and the artistic filters.
// Depends on the convolution engine, the blurs, the point, colour, pattern
// and distortion filters and the raster core; used by the filter commands,
// the artistic dialogs, the art brush and the automatic correction.
//
// Every step works on the same rect under its own unit's rules (clipping, an
// empty rect, progress, cancel: a cancel stops the step, the following steps
// still run). A composite of several reporting steps sets the progress
// passes to its count first and back to 1 at the end, also on an exception.
// Where a filter needs the image as it was before the command, the caller
// passes it as Src, of the image's size (the commands pass the undo copy);
// an Src that is the image itself is copied first. A work mask (a grey
// bitmap of the image's size) is applied with 255 leaving the pixel alone and
// 0 applying fully. The random filters reseed the shared generator.
//
// How to add one: write its steps in order in FiltresComposes.cpp (or
// _Artistic.cpp), wrap them in a TPassesScope with the number of steps that
// report progress, and add a case to the tests' degenerate-size table.
#pragma once

#include "raster/Pixels.h"

// ---- Building blocks ---------------------------------------------------------------

// Dark contours on white: Dst := a 24-bit copy of Src, MatEdge5x5 with its
// centre Level - 33 (Level clamped to 0..9) convolved over Rect at 100 %,
// negated, then thresholded at 222 into black and white when BlackWhite,
// else made grey.
void EdgeMask24(const TBitmap& Src, TBitmap& Dst, int Level, bool BlackWhite, const TRect& Rect);

// For every pixel in row order whose brightness (R + G + B) div 3 at that
// moment (earlier strokes count) lies in Lo..Hi, with a chance of 1 in
// Chance: an anti-aliased line in Color, last point included, clipped to the
// rect, of half length len = Length - Random(Length div 2), each end moved by
// Random(Jitter): flat from (x - len - r1, y - r2) to (x + len + r3, y + r4),
// otherwise rising from (x - len - r1, y + len + r2) to (x + len + r3, y -
// len - r4).
void RandomStrokes24(TBitmap& Bitmap, int Length, int Chance, int Jitter, int Lo, int Hi, TColor Color, bool Flat,
                     const TRect& Rect);

// Strokes read from Src and drawn into Dst, darker pixels starting more: at
// level l = brightness div Step, a chance of 1 in Round(Step (l + 1) (10 -
// Density) / 3) (Density clamped to 0..9); the grey min(Step l, 255), or with
// ColourMode the pixel with each channel Step (v div Step); ends moved by
// Random(Jitter). Direction 0 rises, 1 falls, any other is flat. Step < 1
// does nothing.
void ColourStrokes24(const TBitmap& Src, TBitmap& Dst, int Length, int Jitter, int Step, int Density, bool ColourMode,
                     int Direction, const TRect& Rect);

// ---- Dialog filters -----------------------------------------------------------------

// Nothing when Radius <= 0 or Amount <= 0. With PreSoften, MatSoften at
// 100 % first (two progress passes when TwoPasses too); then UnsharpMatrix
// (Radius, 3, 1) convolved at Amount with Threshold.
void UnsharpMask24(TBitmap& Bitmap, int Radius, int Amount, int Threshold, bool PreSoften, const TRect& Rect,
                   bool TwoPasses);
// A high-pass copy (HighPass24 of Radius) merged back at opacity Amount in
// soft light when Soft, else hard light.
void MicroContrast24(TBitmap& Bitmap, int Radius, int Amount, bool Soft, const TRect& Rect);
// An embossed grey copy (distance 1 when Fine, else 2, grey 128) merged back
// at opacity Amount in hard light.
void Relief24(TBitmap& Bitmap, int Direction, bool Fine, int Amount, const TRect& Rect);

// ---- One-click composites --------------------------------------------------------------

// Contours sharpened (SharpenMore24 33 at 112 %), flat areas kept from Src.
void SharperContours24(TBitmap& Bitmap, const TBitmap& Src, const TRect& Rect);
// The image softened, contours kept from Src.
void InnerBlur24(TBitmap& Bitmap, const TBitmap& Src, const TRect& Rect);
// The image itself made a grey contour drawing, feathered by 33.
void BlackContours24(TBitmap& Bitmap, int Level, bool TwoPasses, const TRect& Rect);
void WhiteChalk24(TBitmap& Bitmap, const TRect& Rect);
// Src's colours inside black-and-white contours, on white, saturated by 77.
void ColorContours24(TBitmap& Bitmap, const TBitmap& Src, const TRect& Rect);
// Color painted at Opacity through plasma clouds scaled to the image (scale
// max(W / 640, H / 480), at least 1): onto the layer and its transparency
// mask when a non-empty LayerMask is given, else onto the image.
void Fog24(TBitmap& Bitmap, TBitmap* LayerMask, TColor Color, int Opacity, const TRect& Rect);
// Src copied at 33 % moved by (-4, -4), then by (-8, -8).
void Fragment24(TBitmap& Bitmap, const TBitmap& Src, const TRect& Rect);
void OldPhoto24(TBitmap& Bitmap, const TRect& Rect);
// Vertical waves of Src into the image, then horizontal waves, both of
// wavelength and amplitude Size.
void Glass24(TBitmap& Bitmap, const TBitmap& Src, int Size, const TRect& Rect);
void InkedContours24(TBitmap& Bitmap, const TRect& Rect);
void Photocopy24(TBitmap& Bitmap, const TRect& Rect);
void EmbossedPaper24(TBitmap& Bitmap, const TRect& Rect);

// ---- Artistic filters -------------------------------------------------------------------

void Smudge24(TBitmap& Bitmap, int Distance, const TRect& Rect);
void Crystallize24(TBitmap& Bitmap, int Size, const TRect& Rect);
void PaletteKnife24(TBitmap& Bitmap, int Size, const TRect& Rect);
void OilPaint24(TBitmap& Bitmap, int Size, const TRect& Rect);
void Watercolor24(TBitmap& Bitmap, int Distance, bool StrongMinimum, bool Contours, const TRect& Rect);
void IndiaInk24(TBitmap& Bitmap, int Level, int Threshold, const TRect& Rect);
void Charcoal24(TBitmap& Bitmap, int Threshold, int HighlightThreshold, bool Cream, bool Highlights, const TRect& Rect);
// Strokes of Length from Src on white: Step 33 when Density < 9, else 12.
void BlackPencil24(TBitmap& Bitmap, const TBitmap& Src, int Length, int Density, bool Contours, const TRect& Rect);
// Coloured strokes of length max(3, min(W, H) div 100) over a faint grid;
// Src copied back over at opacity 60 - 3 Amount (Amount 1..20).
void ColorPencil24(TBitmap& Bitmap, const TBitmap& Src, int Amount, const TRect& Rect);
void Pastels24(TBitmap& Bitmap, int Size, bool Strokes, bool Stripes, const TRect& Rect);
// LightLevel below DarkLevel counts as DarkLevel.
void Comics24(TBitmap& Bitmap, int DarkLevel, int LightLevel, bool Posterize, bool Strokes, const TRect& Rect);
