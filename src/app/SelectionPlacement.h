// The rectangle rules of the Selection menu that need no window: fitting a
// rectangle to a proportion, the proportion of each "Adapter le rapport"
// item, and where a stored selection (the shape clipboard, a selection file)
// goes on the current image. Pure functions of rectangles and sizes.
#pragma once

#include "platform/Types.h"

// R fitted to Ratio on an image of ImageW x ImageH: the longer side stays and
// the shorter one follows the ratio (a portrait rectangle given 2.0 becomes
// 1:2); a side beyond the image is cut to it and the other follows; the
// result is moved back inside the image and cut to it. A ratio of 0 or less
// leaves R unchanged.
void CalcRatioSelRect(double Ratio, TRect& R, int ImageW, int ImageH);

// The proportion of the item tagged Tag: 0 is 2:1, 1 is 3:2, 2 is 4:3, 3 is
// 16:9, 4 the screen's (ScreenRatio); 0 for another tag.
double SelectionRatio(int Tag, double ScreenRatio);

// Where a stored selection of bounds Stored goes on an image of W x H.
enum class TStoredPlace {
  Stored,  // its stored place: it fits there
  Centred, // its size fits: centred in the visible part
  Scaled   // too large: scaled to Width x Height, then centred
};
struct TStoredPlacement {
  TStoredPlace Place;
  int Width, Height;
};
// UseStoredPlace false (files) never keeps the stored place.
TStoredPlacement PlaceStoredSelection(const TRect& Stored, int W, int H, bool UseStoredPlace);
