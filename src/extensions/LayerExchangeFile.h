// The layer exchange file: a PNG in the temporary folder through which
// filter programs and an outside layer editor receive a part of a layer and
// give a result back, and the paste of such a result into the layer.
// Depends on the PNG picture (files) and the raster copies; used by the main
// window's filter-program and layer-editor commands.
#pragma once

#include "platform/Bitmap.h"

#include <QString>

class TPngImage;

// The temporary folder followed by "Lumaretique_Layer.png" (the folder read
// at each call, so TMPDIR is followed).
QString DefaultLayerExchangeFileName();
// The path of the last SaveLayerExchangeFile, the default until then.
QString LayerExchangeFileName();
// Png written at Path (the default when empty), which becomes the current
// path; the writer's errors pass to the caller. True when the file exists
// afterwards.
bool SaveLayerExchangeFile(const TPngImage& Png, const QString& Path);
// Path empty means the default path (not the current one). When the file
// exists Bitmap is emptied and the PNG loaded into it (32-bit with straight
// alpha when the PNG has partial transparency); a file that is not a valid
// PNG raises EInvalidGraphic naming it. True when Bitmap is not empty.
bool LoadLayerExchangeFile(TBitmap& Bitmap, const QString& Path);
// The file at the current path deleted when it exists.
void DeleteLayerExchangeFile();

// Result written into Layer with its top-left at Rect's top-left, clipped to
// Layer: a result of 24 bits or fewer as 24-bit colours; a 32-bit result's
// colours, and, when Mask is given and not empty, 255 - its alpha into the
// mask's three bytes (clipped to the mask too).
void PasteResultBitmap(const TBitmap& Result, TBitmap& Layer, TBitmap* Mask, const TRect& Rect);
