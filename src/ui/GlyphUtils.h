// Glyph and image-list helpers: button pictures drawn at 96 dpi on a key
// colour turned into smooth pictures of any size, with an alpha channel (and
// an optional faint drop shadow) for the toolbars' image lists, enabled and
// disabled, and into two-image strips (normal, disabled) for glyph buttons.
// Depends on the raster core (masks, stretching, fills) and the glyph
// tinting of the filters; used by the main window's toolbars and by the
// dialogs' glyph buttons.
#pragma once

#include "platform/Bitmap.h"

#include <QImage>

#include <span>
#include <vector>

// The key colour the source pictures are drawn on, and the tolerance that
// matches it on every channel.
inline constexpr TColor GlyphKeyColor = 0xDCEDCE;
inline constexpr int GlyphKeyTolerance = 7;

// An image list: square images of one size, each with an alpha channel
// (QImage::Format_ARGB32, straight alpha).
using TImageList = std::vector<QImage>;

// Src and Mask 24-bit of one size; Dst becomes 32-bit of that size. Per
// pixel: where the mask's first byte is 255 the colour becomes black, else
// it is copied; alpha := 255 - mask byte.
void MaskToAlpha32(const TBitmap& Src, const TBitmap& Mask, TBitmap& Dst);

// Src resized to Size x Size bicubic into ScratchBmp, Mask bilinear into
// ScratchMask; with Shadow the resized mask gains a copy of itself shifted
// one pixel right and down, in black at 20 %; then Dst := MaskToAlpha32 of
// the two.
void ScaleGlyphToAlpha32(int Size, const TBitmap& Src, const TBitmap& Mask, TBitmap& ScratchBmp, TBitmap& ScratchMask,
                         TBitmap& Dst, bool Shadow);

// One Size x Size image per index of Indices (every image of List when
// Indices is empty; an index outside the list is skipped). Each source image
// is drawn on the key colour; key pixels are recoloured to BlendColor so
// that the resampled edges blend towards it.
TImageList MakeScaledImageList(std::span<const QImage> List, int Size, TColor BlendColor, bool Shadow,
                               std::span<const int> Indices = {});
// The same with the disabled look: key pixels become NewKey, the others
// their grey level, lightened by LightenPercent and moved TintPercent %
// towards TintColor.
TImageList MakeDisabledImageList(std::span<const QImage> List, int Size, TColor NewKey, TColor TintColor,
                                 int TintPercent, int LightenPercent, bool Shadow, std::span<const int> Indices = {});

// A glyph (its key colour being its top-left pixel) resized to W x H with
// smooth edges and a crisp key: Dst := a white 24-bit (W x (1 +
// WithDisabled)) x H strip, the resized glyph on the left and, with
// WithDisabled, its disabled look (grey mixed 50 % towards BlendColor) on
// the right. Src becomes 24-bit.
void MakeScaledGlyph(int W, int H, TBitmap& Src, TBitmap& Dst, bool WithDisabled, TColor BlendColor);

// A glyph button's picture: a strip of NumGlyphs images side by side.
struct TButtonGlyph {
  TBitmap Glyph;
  int NumGlyphs = 1;
};

// Rescales a button's glyph for the screen resolution: nothing when it has
// none, or when ScaleByDPI leaves its height unchanged and Force is off;
// otherwise a strip of the scaled glyph, with a disabled image when Force or
// when the button had more than one image. True when the glyph changed.
bool ScaleSpeedButtonGlyph(TButtonGlyph& Button, bool Force, TColor BlendColor);
