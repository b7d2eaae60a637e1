// The geometric distortions: trapezoid, skew, ellipse, twirl, lens, fisheye,
// sine waves and water reflection. Each is an inverse mapping: every target
// pixel computes a real source position and samples the source there through
// the raster core's TScanLinesManagerEx, in the TAntialiasMode given. Depends
// on the raster core; used by the distortion commands and dialogs and the
// glass effect.
//
// Shared rules:
// - Src is read, Dst written; Src may be Dst itself, it is then read as it
//   was. The rect is normalised and clipped to Src (to Dst for the waves
//   and the reflection, which read through the whole source); an empty rect
//   does nothing.
// - Dst becomes a 24-bit bitmap of the size needed (Src's, unless a
//   resizing form says otherwise): one of that size keeps its pixels outside
//   the rect (converted from another format), any other is made new and
//   white.
// - BackColor clNone makes positions outside the sampled rect take the
//   nearest edge pixel; any other colour is the colour read there (the
//   interpolating modes blend it in at the edges).
// - One progress pass: a begin with the target's rows, a step per row (a
//   cancel stops there), an end.
// - Parameters that would divide by zero (a trapezoid factor of 0 or less, a
//   skew or fisheye over a span of one pixel, a wavelength or period of 0)
//   give the identity or nothing, as each routine says.
#pragma once

#include "raster/Pixels.h"
#include "raster/ScanMan.h"

// For a target pixel (i, j) of a target rect with corner (L, T), offsets
// (ox, oy) and a mapped size w x h: rowW = w TopW + (w BottomW - w TopW)
// (j - oy) / h, o = i - ox, colH = h LeftH + (h RightH - h LeftH) o / w, and
// the source is ((o - (w - rowW) / 2) w / rowW + L, (j - oy - (h - colH) / 2)
// h / colH + T). With Resize Dst is (Round(W max(TopW, BottomW)),
// Round(H max(LeftH, RightH))), all of it the target, centred offsets, w x h
// Src's size and all of Src sampled; otherwise the clipped rect is target
// and sampled area. All four factors 1 make Dst a copy of Src; a factor of 0
// or less does nothing; a pixel whose row or column span is not positive
// takes the back colour.
void Trapezoid24(const TBitmap& Src, TBitmap& Dst, double LeftH, double TopW, double RightH, double BottomW,
                 TColor BackColor, const TRect& Rect, TAntialiasMode Mode, bool Resize);

// The whole bitmap slanted: dy0 = -Round(Horizontal H), dx0 = -Round(Vertical
// W); Dst is (W + |dy0|) x (H + |dx0|). Row j shifts by s = -dy0 j / (H' - 1)
// when dy0 < 1, else (H' - 1 - j) dy0 / (H' - 1); column i by t likewise from
// dx0 and W'; the source is (i - s, j - t). A target one pixel high (wide)
// does not shift. dx0 = dy0 = 0 makes Dst a copy.
void Skew24(const TBitmap& Src, TBitmap& Dst, double Horizontal, double Vertical, TColor BackColor,
            TAntialiasMode Mode);
void SkewInPlace24(TBitmap& Bitmap, double Horizontal, double Vertical, TColor BackColor, TAntialiasMode Mode);

// The rect squeezed into its inscribed ellipse, sampling the rect shrunk by
// 2 pixels on every side; a rect less than 5 pixels wide or high does
// nothing.
void EllipseDistort24(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode);

// A turn of Angle * pi / 8 radians at the centre fading to none at the
// radius Rmax: with (dx, dy) from the target centre, r = hypot(dx, dy) and
// theta = atan2(dx, dy), a = theta + (1 - r / Rmax) twist and the source is
// the source centre + (r sin a, r cos a). With Resize Dst is the bounding box
// of the mapping of Src's border around Src's centre (W / 2, H / 2), Rmax =
// hypot of that centre; otherwise the rect's centre is both centres and
// Rmax the hypot of its half sizes.
void Twirl24(const TBitmap& Src, TBitmap& Dst, double Angle, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
             bool Resize);

// A magnifying lens of radius Rl = min(width, height) Strength at the rect's
// centre: at a distance l < Rl - 0.03 the source is centre + (dx, dy) s / l,
// s = Rl / 2 (1 / (1 - l / Rl) - 1) Strength (the centre below 0.03); the
// rest of the rect takes the back colour (white for clNone).
void Lens24(const TBitmap& Src, TBitmap& Dst, double Strength, TColor BackColor, const TRect& Rect,
            TAntialiasMode Mode);

// The wide-angle correction over the whole bitmap, white outside Src: with
// g = j - cy, d = i - cx, kx = PercentX / 100 / cx / cy and ky likewise, the
// source is (i - kx g^2 d, cy + g - ky d^2 g). Nearest: cx = W div 2, cy =
// H div 2, the position rounded. Bilinear: cx = (W - 1) div 2, cy = (H - 1)
// div 2, the column pairs mixed vertically and rounded, then horizontally.
// A half size of 0 makes Dst a copy.
void FisheyeNearest24(const TBitmap& Src, TBitmap& Dst, double PercentX, double PercentY);
void FisheyeBilinear24(const TBitmap& Src, TBitmap& Dst, double PercentX, double PercentY);

// Sine waves, bilinear, edge pixels repeated: Vertical samples (x, y + A
// sin((y - Top) / Wavelength pi)), otherwise (x + A sin((x - Left) /
// Wavelength pi), y). A pixel whose source lies beyond the sampler's reach
// keeps its value. A wavelength of 0 makes no wave.
void WavesFromSource(const TBitmap& Src, TBitmap& Dst, int Wavelength, int Amplitude, bool Vertical, const TRect& Rect);
void Waves24(TBitmap& Bitmap, int Wavelength, int Amplitude, bool Vertical, const TRect& Rect);

// Rippled water, bilinear: row y (d = y - Top, h the rect's height) samples
// the row y + 2 + (h / 16) (d + 24) sin(16 (h - d) / (d + 1) + Phase 2 pi /
// Period) / h. A period of 0 drops the phase.
void WaterReflection24(const TBitmap& Src, TBitmap& Dst, double Phase, double Period, TColor BackColor,
                       const TRect& Rect);
