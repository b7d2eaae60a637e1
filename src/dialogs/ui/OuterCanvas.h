// The parts the outer frame and the outer shadow share: the pattern chosen
// for the enlarged canvas read before anything changes, and the end of a
// change that set the old picture at (X, Y) of a larger background. Depends
// on the host interfaces, the pattern of document/, QtCore.
#pragma once

#include "dialogs/ui/ImageDialogHost.h"
#include "document/Pattern.h"

class TPatternChoice;

// The pattern Choice names read into Motif (left empty when none is wanted);
// false when a wanted pattern could not be read (its reader told the user).
bool ReadOuterPattern(TImageDialogHost& Host, const TPatternChoice& Choice, TPattern32& Motif);
// The background is W x H of Color, tiled with Motif when it holds a
// picture; a background with a mask gets a mask of that size, opaque except
// the old mask at (X, Y).
void MakeOuterCanvas(TImageDialogHost& Host, int W, int H, TColor Color, const TPattern32& Motif, int X, int Y);
// The undo record keeps (X, Y) in flags 5 and 6, the layers above move by
// it, the views follow the new size.
void EndOuterCanvas(TImageDialogHost& Host, int X, int Y);
