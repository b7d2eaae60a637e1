// The rules of the icon export: the sizes offered, the colour depth chosen,
// and the bitmap an icon is made of, built from the background layer of a
// one-layer image. Pure: no widgets. Depends on the layers (document), the
// raster stretch, canvas and mask routines and the icon stream's formats;
// used by the icon export dialog, which saves the result through TIconImage.
#pragma once

#include "files/IconStream.h"

class TLayerItem;

// The side of the size list's entry Index: 0 16, 2 48, 3 64, 4 96, 5 128,
// 6 256, any other 32 (entry 1, and no entry chosen).
int IconSizeOfIndex(int Index);

// What decides the depth: the background has a mask, the icon's side, the
// image holds more than 256 colours or the true-colour box is ticked, and
// the colour count the image's file reported.
struct TIconDepthFacts {
  bool RGBA = false;
  int Size = 32;
  bool TrueColors = false;
  int ColorCount = 0;
};
// ifTrueColorsAlpha with a mask or at 256; else ifTrueColors for true
// colours; else if256Colors above 16 colours; else if16Colors.
TIconFormat IconColorDepth(const TIconDepthFacts& Facts);

// The background fitted into Size x Size keeping its proportions (enlarged
// too; each side at least one pixel). Alpha gives a 32-bit Size x Size
// bitmap, the picture centred, white under the fully transparent pixels:
// - with a transparent colour: stretched by nearest neighbour, that colour
//   and the new area transparent;
// - without: stretched at best quality; the layer's mask stretched
//   bilinearly (or, without one, the picture opaque) and the new area
//   transparent.
// Any other format gives the fitted picture alone, 24-bit (stretched by
// nearest neighbour keeping its transparent colour, else at best quality),
// which the icon writer centres on a transparent square. Icon is emptied for
// an empty background or a Size below 1.
void BuildIconBitmap(const TLayerItem& Background, int Size, TIconFormat Format, TBitmap& Icon);
