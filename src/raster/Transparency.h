// The three forms transparency takes in the editor's bitmaps and the
// conversions between them: a 32-bit bitmap with straight alpha, a 24-bit
// bitmap with a grey mask (0 opaque, 255 transparent, alpha = 255 - mask),
// and a bitmap with one transparent colour. Depends on raster/Pixels and
// raster/Bitmap24; used by the raster core, the layers and the image files.
#pragma once

#include "raster/Pixels.h"

#include <cstdint>

// The one colour that stands for transparency where a picture must express it
// as a colour (icons, transparent graphics, GIF frames, quantised copies):
// red 206, green 237, blue 220.
inline constexpr TColor TransparentKeyColor = 0xDCEDCE;

// The kinds of transparency ExtractTransparencyMask finds.
inline constexpr int TransparencyNone = 0;  // opaque, empty mask
inline constexpr int TransparencyColor = 1; // one transparent colour
inline constexpr int TransparencyAlpha = 2; // an alpha channel

// Nothing unless Bitmap32 is 32-bit. Bitmap24 and Mask become new 24-bit
// bitmaps of its size, without transparency: the colour bytes, and 255 - alpha
// in all three mask bytes. The outputs may be the input itself.
void Bitmap32ToBitmapMask(const TBitmap& Bitmap32, TBitmap& Bitmap24, TBitmap& Mask);

// Nothing unless Bitmap24 and Mask are both 24-bit and of one size. Bitmap32
// becomes a 32-bit bitmap of that size without transparent colour: each pixel
// the colour bytes (white where WhiteUnder is set and the mask byte is 255)
// and alpha = 255 - the mask's first byte. Bitmap32 may be one of the inputs.
void BitmapMaskToBitmap32(const TBitmap& Bitmap24, const TBitmap& Mask, TBitmap& Bitmap32, bool WhiteUnder);

// Splits any bitmap into a 24-bit copy and a grey mask and answers the kind:
// - 32-bit: the alpha split; TransparencyAlpha, or TransparencyNone with an
//   empty mask when alpha is 0 everywhere (a bitmap that never had alpha);
// - transparent (any other format): mask 255 where the pixel is the
//   transparent colour, 0 elsewhere, the copy's transparency switched off;
//   TransparencyColor;
// - otherwise the copy, an empty mask and TransparencyNone.
// Bitmap24 may be Bitmap itself.
int ExtractTransparencyMask(const TBitmap& Bitmap, TBitmap& Bitmap24, TBitmap& Mask);
