// The pictures of the brush page drawn by code: the two textures of the
// "Pastel" and "Fusain" drawing modes, and the nine glyph brushes of the
// brush buttons. Depends on raster and filters; used by the brush tool.
#pragma once

#include "platform/Bitmap.h"

// The texture of drawing mode 2 ("Pastel": a 96 x 96 tileable grain) or 3
// ("Fusain": a 32 x 32 grain moved 22 % towards black), both scattered by 1
// pixel and smoothed; any other mode leaves Texture empty.
void MakeBrushTexture(int Mode, TBitmap& Texture);
// Glyph brush Index (0..8) as a 24-bit picture, black on white: squares of
// 1 and 3, discs of 7, 7 (soft), 11 and 15, a speckled square of 3 and
// squares of 5 and 9, each centred in a white margin. Empty for another
// index.
void BrushButtonPicture(int Index, TBitmap& Picture);
