// The gradient engine: colour ramps painted into rectangles of 24-bit
// bitmaps (rainbow, linear and corner two-colour ramps with an opacity per
// end, the same through a layer's transparency mask, radial spots, bevel
// frames). Depends on raster (fills, layer painting, progress) only; used by
// the brush stamps and the 3D line style of this library, the tool palette's
// strips and the gradient, radial-mask and bevel commands.
//
// Conventions:
// - Colours are TColor (0x00BBGGRR); opacities are percents, limited to
//   0..100. An opacity o becomes the transparency grey 255 - o * 255 div 100
//   where a mask is built from it.
// - The linear and corner ramps and the masked fill paint Rect intersected
//   with the bitmap canvas's clip rectangle; the radial routines Rect cut to
//   the bitmap. An empty result, or a bitmap that is not 24-bit, does nothing.
// - The long routines report through the progress service (one step per line
//   or row) and stop between lines at a cancel, keeping what was drawn; the
//   end of progress is always signalled.
//
// Direction codes of the two-colour ramps: Color1 lies at the left edge for
// 0 and 2, the top edge for 1 and 3, the right edge for 4, the bottom edge
// for 5, and at the top-left (6), bottom-left (7), bottom-right (8) or
// top-right (9) corner, Color2 towards the opposite side or corner.
#pragma once

#include "raster/Pixels.h"

// The gradient dialog's eight-way direction control (0..7) to ramp codes.
constexpr int GradientDirectionCodes[8] = {3, 9, 4, 8, 5, 7, 2, 6};

// Direction 1: row y takes the hue y * 360 div H; 0: column x the hue
// x * 360 div W (full saturation and value, replacing the pixels). Other
// directions do nothing. The whole bitmap, no progress.
void RainbowGradient24(TBitmap& Bitmap, int Direction);

// Line i of N (columns for 0, 2, 4; rows for 1, 3, 5) moves toward
// c1 + (c2 - c1) * i div N by o1 + (o2 - o1) * i div N percent, so the last
// line stops one step short of Color2. Both opacities 0, or a direction
// outside 0..5, do nothing.
void LinearGradient24(TBitmap& Bitmap, TColor Color1, int Opacity1, TColor Color2, int Opacity2, int Direction,
                      TRect Rect);

// Lines of a two-pixel pen drawn across the corner (codes 6..9) in colours
// stepping from Color1 to Color2: the whole rectangle, or with Half only up
// to the anti-diagonal through its other two corners (the far half is left
// as it was). The canvas's pen and clip are what they were afterwards.
void CornerGradient24(TBitmap& Bitmap, TColor Color1, TColor Color2, int Corner, bool Half, TRect Rect);

// The corner ramp with an opacity per end: opaque at both ends it is
// CornerGradient24; otherwise a colour ramp is laid through a ramp of
// transparency greys (two progress passes).
void CornerGradientOpacity24(TBitmap& Bitmap, TColor Color1, int Opacity1, TColor Color2, int Opacity2, int Corner,
                             TRect Rect);

// Codes 6..9 CornerGradientOpacity24, all others LinearGradient24.
void GradientFill24(TBitmap& Bitmap, TColor Color1, int Opacity1, TColor Color2, int Opacity2, int Direction,
                    const TRect& Rect);
// Codes 6..9 CornerGradient24 (whole), others LinearGradient24 at 100 %.
void GradientFillOpaque24(TBitmap& Bitmap, TColor Color1, TColor Color2, int Direction, const TRect& Rect);

// A gradient painted "over" a layer and its grey transparency mask, so that
// the layer's coverage grows where the gradient is opaque. A null or empty
// Mask gives GradientFill24; opaque at both ends the mask's rectangle
// becomes opaque (black).
void GradientFillMasked24(TBitmap& Bitmap, TBitmap* Mask, TColor Color1, int Opacity1, TColor Color2, int Opacity2,
                          int Direction, TRect Rect);

// Each pixel at IntDistance d < Radius from (X, Y) moves toward Color by
// 100 % when d <= m = Radius * Hardness div 100, else by
// (Radius - d) * 100 div (Radius - m). Hardness is limited to 0..100; a
// radius of 0 or less draws nothing.
void RadialSpot24(TBitmap& Bitmap, TColor Color, int X, int Y, int Radius, int Hardness, TRect Rect);
// As RadialSpot24 with the fall-off v = (Radius - d) / (Radius - m) in reals,
// shaped into an S for Exponent != 1 ((2v)^E / 2 up to v = 0.5, then
// 1 - (2(1 - v))^E / 2), the weight Round(100 v).
void RadialGradient24(TBitmap& Bitmap, TColor Color, int X, int Y, int Radius, int Hardness, double Exponent,
                      TRect Rect);

// One ring on the border of Rect, each edge moved toward its colour by
// Percent: the top row from Left + 1, the left column whole, the right column
// without its ends, the bottom row from Left + 1.
void BevelRing24(TBitmap& Bitmap, const TRect& Rect, TColor TopColor, TColor LeftColor, TColor RightColor,
                 TColor BottomColor, int Percent);
// Width rings around Rect, each one pixel further out, so that the bevel
// lies outside Rect. Nothing for an empty Rect or Width <= 0.
void BevelRect24(TBitmap& Bitmap, const TRect& Rect, TColor TopColor, TColor LeftColor, TColor RightColor,
                 TColor BottomColor, int Width, int Percent);
// Raised: white top, $CCCCCC left, $222222 right, black bottom; Sunken the
// reverse.
void Bevel3D24(TBitmap& Bitmap, const TRect& Rect, int Width, int Percent, bool Sunken);
