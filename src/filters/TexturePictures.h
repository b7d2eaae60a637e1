// The program's texture pictures "TXT1" to "TXT8", drawn by code at their
// fixed sizes and depths (1 bit black and white, or 4 bits with a 16-colour
// palette whose pure red is the transparent colour when tiled), and the
// routine that lays one of them over a bitmap. Depends on the raster core;
// used by the texture commands of the Filter menu.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"

#include <string_view>

// Picture Name ("TXT1" .. "TXT8") in its stored format; false and an empty
// Picture for another name. Every picture tiles without a seam where its
// pattern is periodic.
bool TexturePicture(std::string_view Name, TBitmap& Picture);

// Picture Name over Bitmap within Rect: Tiled lays it from the bitmap's
// top-left corner at opacity Amount, skipping texels within 7 of pure red;
// otherwise it tones Bitmap, darkening by Amount percent under near-black
// texels and lightening under near-white ones. Nothing for an unknown name.
void ApplyTextureResource(TBitmap& Bitmap, std::string_view Name, int Amount, bool Tiled, const TRect& Rect);
