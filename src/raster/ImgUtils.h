// Whole-bitmap operations on bitmaps of any pixel format (1, 4, 8, 24 and 32
// bits): cropping, mirrors and half turns, plain and wrap-around shifts,
// frames, borders and larger canvases. Depends on raster/ImgUtils24 (the
// 24-bit paths) and the platform's rectangle copy (StretchNearest), which
// copies palette indices as they are and carries alpha between 32-bit
// bitmaps, so nothing here changes a pixel's value, only its place.
//
// Size changes never leave a bitmap empty by accident: a size of 0 or less
// or an empty rectangle leaves the bitmap as it was.
#pragma once

#include "raster/ImgUtils24.h"

// ---- Cropping -----------------------------------------------------------------

// Dst becomes a bitmap of Src's format (and palette) holding R's pixels (R
// clipped to Src), with Src's transparent colour and Transparent. Returns
// false, leaving Dst alone, when R is empty once clipped. Src and Dst may be
// the same bitmap.
bool CropBitmapTo(const TBitmap& Src, TBitmap& Dst, const TRect& R);
// Bitmap cut down to R; nothing when the bitmap or the clipped R is empty.
void CropBitmap(TBitmap& Bitmap, const TRect& R);

// ---- Mirrors and half turns of a rectangle in place ------------------------
// 24-bit bitmaps take the routines of ImgUtils24; the other formats copy R
// (limited to the canvas's clip rectangle) onto itself, mirrored.

void FlipVerticalRect(TBitmap& Bitmap, const TRect& R);
void FlipHorizontalRect(TBitmap& Bitmap, const TRect& R);
void Rotate180Rect(TBitmap& Bitmap, const TRect& R);
void FlipBitmapVertical(TBitmap& Bitmap);
void FlipBitmapHorizontal(TBitmap& Bitmap);
void RotateBitmap180(TBitmap& Bitmap);

// ---- Shifts -------------------------------------------------------------------

// Wrap: the wrap-around shifts by Dx then Dy. Otherwise the bitmap is copied
// onto itself moved by (Dx, Dy); the strips nothing moves into keep their
// old pixels, and a shift of the whole size or more changes nothing.
// Copies go through the canvas's clip rectangle.
void ShiftBitmap(TBitmap& Bitmap, int Dx, int Dy, bool Wrap);
// Columns move right by Dx (left when negative), those pushed out coming
// back in on the other side. Dx is taken modulo the width.
void WrapShiftHorizontal(TBitmap& Bitmap, int Dx);
// Rows likewise, down by Dy, modulo the height.
void WrapShiftVertical(TBitmap& Bitmap, int Dy);

// ---- Frames, borders and canvases -------------------------------------------

// The frame strips (FrameStrips) of R filled with Color on Canvas; the brush
// is left as it was found. Nothing when R is empty.
void FillFrame(TCanvas& Canvas, const TRect& R, TColor Color, int Width);
// Dst becomes a W x H bitmap of Src's format (and palette) filled with Color
// (the nearest palette entry for indexed formats; alpha 0 for 32 bits), with
// Src copied at its rectangle placed at Position, and Src's transparent
// colour and Transparent. Dst's brush colour is left at Color. Returns where
// Src was placed; W or H of 0 or less returns (0, 0, 0, 0) and leaves Dst
// alone. Src and Dst may be the same bitmap.
TRect EnlargeCanvas(const TBitmap& Src, TBitmap& Dst, int W, int H, TColor Color, TPosition Position);
// EnlargeCanvas into the bitmap itself; W or H of 0 or less leaves it as it
// was.
TRect EnlargeCanvasInPlace(TBitmap& Bitmap, int W, int H, TColor Color, TPosition Position);
// Grow: Width pixels of Color added on every side. Otherwise the outer Width
// pixels of the picture (within the canvas's clip rectangle) become Color.
// Nothing for an empty bitmap or a Width of 0 or less.
void AddBorder(TBitmap& Bitmap, int Width, TColor Color, bool Grow);
