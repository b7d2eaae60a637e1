// Whole-bitmap operations on 24-bit bitmaps: mirrors and half turns of a
// rectangle in place, a new canvas around a picture (with a pattern), frames,
// stretching by a quality mode, thumbnails with a shadow and frame, and the
// bounds of a picture without its uniform border. Depends on raster/Bitmap24,
// raster/ColorFill, raster/Stretching, raster/Resampling, raster/GreyMasks and
// raster/Shadow; ImgUtils builds the any-format operations on it.
//
// Routines that take a rectangle clip it with ClipToBitmap first and do
// nothing when it comes out empty; WholeBitmapRect means the whole bitmap.
// Bitmaps of another format are left alone by the in-place routines.
#pragma once

#include "raster/Pixels.h"

#include <array>
#include <cstdint>

// The quality of StretchBitmap, shared by the whole program (menus, settings
// and the layer commands store it by this order).
enum class TStretchMode : uint8_t { smNearest, smBilinear, smBicubic, smMitchell, smBest };

// ---- Mirrors and half turns in place -------------------------------------

// In every row of R, pixel x is exchanged with R.Left + R.Right - 1 - x.
void FlipHorizontal24(TBitmap& Bitmap, const TRect& R);
// Row y of R is exchanged with row R.Top + R.Bottom - 1 - y, over R's columns.
void FlipVertical24(TBitmap& Bitmap, const TRect& R);
// Pixel (x, y) of R is exchanged with (R.Left + R.Right - 1 - x,
// R.Top + R.Bottom - 1 - y); the middle row of an odd height is mirrored.
void Rotate180Rect24(TBitmap& Bitmap, const TRect& R);

// ---- Canvas and frames ------------------------------------------------------

// Dst becomes a 24-bit W x H bitmap of Color, with Pattern (when given and not
// empty) tiled over it from the origin through PatternMask; Src is copied at
// its rectangle placed in (0, 0, W, H) at Position (a larger source is cut),
// and Dst takes Src's transparent colour and Transparent. Returns where Src
// was placed; W or H of 0 or less returns (0, 0, 0, 0) and leaves Dst alone.
// A source of another format is copied as 24 bits; Src and Dst may be the
// same bitmap.
TRect ResizeCanvas24(const TBitmap& Src, TBitmap& Dst, int W, int H, TColor Color, TPosition Position,
                     const TBitmap* Pattern, const TBitmap* PatternMask);

// The four strips of a frame Width pixels wide inside R: top, bottom, and the
// left and right between them. Strips of a Width of 0 or less are empty; a
// Width beyond half of R makes them overlap.
std::array<TRect, 4> FrameStrips(const TRect& R, int Width);
// The frame strips of R tiled with Pattern through PatternMask at 100 %, the
// tiling aligned to the bitmap's origin. Nothing when R is empty.
void FillFramePattern24(TBitmap& Dst, const TRect& R, int Width, const TBitmap& Pattern, const TBitmap* PatternMask);

// ---- Stretching -----------------------------------------------------------------

// Dst receives the whole of Src stretched to W x H:
// - an empty Src does nothing; W or H of 0 or less empties Dst;
// - smNearest, and any mode when W, H or a side of Src is 1: nearest
//   neighbour; smBilinear, smBicubic: the matching stretch; smMitchell: the
//   interpolating stretch with the Mitchell sampler at 100 %. Dst is first
//   made a white 24-bit W x H bitmap when its format or size differ;
// - smBest: filtered resampling with Lanczos3 when either side shrinks, else
//   the B-spline when either side grows more than twice, else Lanczos3.
// Src is read as 24 bits without being changed; Src and Dst may be the same.
void StretchBitmap(int W, int H, TStretchMode Mode, const TBitmap& Src, TBitmap& Dst);
// Bitmap stretched to W x H through a copy of itself; nothing when it is
// empty, already W x H, or W or H is 0 or less.
void StretchBitmapInPlace(int W, int H, TStretchMode Mode, TBitmap& Bitmap);
// Resizes a bitmap whose transparent colour must stay crisp: the key (the
// transparent colour when Transparent, else the pixel at (0, 0)) is replaced
// by BackColor before stretching with Mode, so that edges blend towards the
// background; afterwards every pixel whose bilinearly stretched key mask is
// 248..255 becomes the key again. Key matching allows 7 per channel. The
// bitmap becomes 24-bit; a transparent one keeps its key as a fixed
// transparent colour. Nothing for an empty bitmap or W or H of 0 or less.
void StretchBitmapKeepTransparent(int W, int H, TBitmap& Bitmap, TColor BackColor, TStretchMode Mode);

// ---- Thumbnails and bounds ------------------------------------------------------

// Draws Src fitted and centred into Dst over BackColor and returns the
// picture's rectangle. Both bitmaps are made 24-bit in place. With Shadow > 0,
// Dst is first filled with OuterColor, the back rectangle loses Shadow pixels
// right and below for a soft 70 % drop shadow, and gets a raised one-pixel
// frame (0xCCCCCC top and left, 0x555555 right and bottom). Margin > 0 keeps
// that much space inside. The picture never grows beyond its own size and is
// at least 1 x 1; it is stretched bicubically. Returns (0, 0, 0, 0), the
// background drawn, when Src is empty or no room is left.
TRect DrawThumbnail24(TBitmap& Src, TBitmap& Dst, TColor BackColor, int Margin, int Shadow, TColor OuterColor);

// The bounds of the bitmap without its uniform border: rows are taken off the
// top, then the bottom, then columns off the left and the right, while every
// pixel of the whole row or column lies within Tolerance of the side's key.
// The key is Color, or with clNone the pixel in the middle of that side.
// A uniform bitmap gives an empty rectangle, an empty bitmap (0, 0, 0, 0).
// Bitmaps of another format are read as 24 bits.
TRect AutoCropRect(const TBitmap& Bitmap, int Tolerance, TColor Color);
