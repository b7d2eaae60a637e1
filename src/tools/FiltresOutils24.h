// The pixel engines of the painting tools: brush stamps and their painters,
// and one engine per tool (drop, finger, clone and pattern clone, airbrush,
// nozzle, deform, art brush, retouch and the magic erasers). The stroke
// engine calls one engine per stamp position; an engine changes only the
// pixels of one footprint around one point and knows nothing of strokes,
// undo or the view. Depends on raster, filters and this library's gradient
// engine; used by the stroke tools, the line brushes and the brush lists.
//
// Conventions:
// - Bitmaps are 24-bit; a grey transparency mask has 0 for opaque, 255 for
//   transparent (its first byte counts). A target mask (DstMask) that is
//   nullptr or empty means an opaque layer: the colour is mixed in by alpha;
//   otherwise it is painted "over" layer and mask (PaintPixelOnLayer).
// - A stamp is a grey bitmap whose black paints fully and white not at all.
// - R is a radius, Pressure a percent (limited to 100), ClipRect what the
//   stroke may change (the selection's bounds in layer coordinates), cut to
//   the target. The round engines touch the pixels of the square
//   (X - R, Y - R, X + R + 1, Y + R + 1) inside it at IntDistance d < R, with
//   the weight P up to a core radius and P * (R - d) div (R - Core) beyond.
// - A missing or empty bitmap, an empty rectangle, a pressure or radius of
//   0 or less, or a wrong pixel format makes the call do nothing; nothing is
//   ever written outside the target. Scratch bitmaps live for one call.
// - The airbrush, clone diffusion and magic eraser draw from the shared
//   random generator, reseeded (Randomize) at each call; the rainbow counter
//   is process-wide. Interface thread only.
#pragma once

#include "raster/Pixels.h"

// Colour value meaning "the next rainbow colour" to the stamp painter and
// the airbrush.
constexpr TColor RainbowColor = 0x1FFFFFFF;

// HSVToColor((counter + 1) mod 360, 255, 255), then the counter grows by 1:
// successive calls walk the hue circle one degree at a time from hue 1.
TColor NextRainbowColor();

// The bevelled "3D" image of a stamp: the half corner ramp from white to
// Color from the top-left, the half ramp from black to Color from the
// bottom-right, then a Gaussian blur of 4: a cushion lit from the top-left.
// Image keeps its size.
void MakeBevelStampImage24(TBitmap& Image, TColor Color);

// ---- Stamps ---------------------------------------------------------------------

// Makes Stamp a (2R + 1)-square 24-bit stamp of Kind: 0 a full black square,
// 1 a blurred slash (a black pen line of even width W from (W - 1, S - W) to
// (S - W, W - 1), W from R div 10, then W div 2 box blurs), 2 the backslash
// (1 flipped top to bottom), 3 a round brush (an anti-aliased black ellipse
// m = R div 40 + 1 inside the border, blurred by m), 4 a soft round brush
// (3 below R 20, else a radial spot of radius R - 4 and hardness 57 blurred
// by 7), 5 a black triangle. Any other kind, R < 0, or a side beyond
// MaxStampSide (4096) leaves it empty.
void MakeBrushStamp24(TBitmap& Stamp, int Kind, int R);

// Color (RainbowColor: the next rainbow colour) through the stamp, whose
// top-left corner lies at (Left, Top): alpha min(Pressure, 100) * 255 div 100
// * (255 - stamp grey) div 255, times (255 - texture grey) div 255 with a
// Texture tiled over the layer from its origin.
void PaintBrushStamp24(const TBitmap& Stamp, TColor Color, TBitmap& Dst, TBitmap* DstMask, int Left, int Top,
                       int Pressure, const TRect& ClipRect, const TBitmap* Texture);
// Image (the stamp's size) through the stamp as its transparency, at
// Pressure percent: the "3D" brush mode.
void PaintImageStamp24(const TBitmap& Image, const TBitmap& Stamp, TBitmap& Dst, TBitmap* DstMask, int Left, int Top,
                       const TRect& ClipRect, int Pressure);

// ---- Clone, airbrush and nozzle ----------------------------------------------------

// Paints Src pixel (x + OffsetX, y + OffsetY) over pixel (x, y) of the
// footprint with alpha min(Pressure, 100) * 255 div 100 (core R div 3, or the
// whole square at full weight when Precise), weighted by SrcMask's
// transparency or, without one, 0 on Src's transparent colour when Src is
// Transparent. A source outside Src (or outside SrcMask) is skipped, never
// read. Diffuse paints one pixel in three at random. Src may be Dst: the
// source is then read as it was before the call.
void CloneBrush24(const TBitmap& Src, const TBitmap* SrcMask, TBitmap& Dst, TBitmap* DstMask, int X, int Y, int R,
                  int OffsetX, int OffsetY, int Pressure, const TRect& ClipRect, bool Precise, bool Diffuse);
// As CloneBrush24 with the source tiled from the layer origin: Pattern
// (x mod W, y mod H) and its optional PatternMask.
void PatternCloneBrush24(const TBitmap& Pattern, const TBitmap* PatternMask, TBitmap& Dst, TBitmap* DstMask, int X,
                         int Y, int R, int Pressure, const TRect& ClipRect, bool Precise, bool Diffuse);

// Color (RainbowColor: the next rainbow colour) on the disc with core R div 4,
// each pixel painted with probability 1 / Dispersion (always for 0 and 1).
// Nothing for a negative Dispersion.
void AirBrush24(TBitmap& Dst, TBitmap* DstMask, int X, int Y, int R, int Pressure, TColor Color, int Dispersion,
                const TRect& ClipRect);

// The FrameRect part of a 32-bit nozzle strip (cut to it) into white
// Strip.Height-square 24-bit bitmaps: its colour into Image, 255 - alpha into
// Mask, from their top-left corner.
void SplitNozzleFrame32(const TBitmap& Strip, TBitmap& Image, TBitmap& Mask, const TRect& FrameRect);
// Resizes to Round(W * Scale) x Round(H * Scale), each side within 1..4096,
// bilinear for a mask, bicubic for an image.
void ScaleNozzlePart(TBitmap& Bitmap, double Scale, bool IsMask);
// Frame FrameIndex mod (Width div Height) of a 32-bit strip, scaled when
// Trunc(Scale * 100) != 100, painted centred on (X, Y) at Pressure percent.
// A strip of another format, or a Scale of 0 or less, draws nothing.
void NozzleBrush24(const TBitmap& Strip, int FrameIndex, TBitmap& Dst, TBitmap* DstMask, int X, int Y, int Pressure,
                   double Scale, const TRect& ClipRect);

// ---- Drop, finger, deform, art and retouch ------------------------------------------

// Softens the disc (core R div 4): each pixel moves toward the mean of its
// 3 x 3 neighbourhood as it was before the call, the neighbourhood kept
// inside the footprint.
void DropBrush24(TBitmap& Dst, int X, int Y, int R, int Pressure, const TRect& ClipRect);
// Smudges the disc (core R div 3) along the motion: (DX, DY) is the previous
// point minus the current one, and each pixel moves toward the pixel two
// steps back along their signs, read before the call (its mask likewise). The
// first step of a stroke (0, 0) changes nothing.
void FingerBrush24(TBitmap& Dst, TBitmap* DstMask, int X, int Y, int R, int Pressure, int DX, int DY,
                   const TRect& ClipRect);

// Deforms the footprint square (no round test) in a scratch copy, with
// strength min(Pressure, 100) / 100 over the whole copy, then copies it back:
// Mode 0 a spiral (turning with DeformSpiral24's Direction = LeftButtonDown),
// 1 a zoom, 2 a dilation, 3 a contraction; any other mode copies the square
// back unchanged. Each deformation advances the filters' deform counter,
// which picks its sampler. The stroke engine says which button is down: an
// engine does not read the mouse.
void DeformBrush24(TBitmap& Dst, int X, int Y, int R, int Pressure, int Mode, const TRect& ClipRect,
                   bool LeftButtonDown);

// Art brush modes with their filters on the footprint's copy.
enum TArtBrushMode : int {
  abPointillism = 0,  // "Pointillisme": dots of 8 every 6 pixels, no background
  abDiffuse = 1,      // "Aérographe": diffusion of 7 on both axes
  abSmudge = 2,       // "Etalement": the spreading filter with 1
  abOilPaint = 3,     // "Peinture": the oil paint filter with 1
  abPaletteKnife = 4, // "Couteau": the palette knife filter with 1
  abWatercolor = 5,   // "Aquarelle": size 1, stronger minimum, no inked contours
  abPastels = 6,      // "Pastels": size 5, no random strokes, no stripes
  abGlass = 7,        // "Verre": waves of wavelength and amplitude 7 across, then down
  abHue = 8,          // "Teinte": hue + 33 degrees, saturation + 7 (compounds)
  abGrey = 9,         // "Gris"
  abSepia = 10,       // "Sépia": grey, then gammas 1.2, 1, 0.5
  abTwoColors = 11,   // "Bichromie": threshold 128 between the two colours
  abSoften = 100,     // retouch "(-) Netteté": strong softening
  abSharpen = 101,    // retouch "(+) Netteté": sharpening 33 at 77 %
};
// The footprint square copied from Snapshot (from Dst for abHue), filtered
// whole by Mode, and every disc pixel moved toward the copy (core R div 3).
// Snapshot is the layer as the stroke found it, of Dst's size. Any other
// mode draws nothing. The random filters reseed the shared generator.
void ArtBrush24(TBitmap& Dst, const TBitmap& Snapshot, int X, int Y, int R, int Pressure, int Mode,
                const TRect& ClipRect, TColor Color1, TColor Color2);

// Retouch modes 0 "(-) Gamma" (1.13), 1 "(+) Gamma" (0.88), 2 "(-) Couleur",
// 3 "(+) Couleur", 6 "Oeil rouge" pixel by pixel (core R div 2); 4 and 5 the
// art brush's abSoften and abSharpen; 7..9 MagicEraserBrush24 and 10..12
// MagicEraserSmoothBrush24 with the axis Mode - 7 or Mode - 10.
void RetouchBrush24(TBitmap& Dst, const TBitmap& Snapshot, int X, int Y, int R, int Pressure, int Mode,
                    const TRect& ClipRect);
// Fills the disc (core R div 2) from its surroundings: each pixel moves
// toward one of four pixels on or beyond the circle chosen at random, read
// live: radially (Axis 0) or along its row (1) or column (2).
void MagicEraserBrush24(TBitmap& Dst, int X, int Y, int R, int Pressure, int Axis, const TRect& ClipRect);
// The same from all four sources in turn, each at a third of the weight.
void MagicEraserSmoothBrush24(TBitmap& Dst, int X, int Y, int R, int Pressure, int Axis, const TRect& ClipRect);
