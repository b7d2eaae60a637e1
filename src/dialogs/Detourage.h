// The optimised cut-out engine: from the edges of a rectangle inwards, row by
// row and column by column, it flood-fills the area whose colour is close to
// the colour met first at that edge and marks what it reaches as removed
// (255) in a result mask. Depends on the raster core only; used by the
// cut-out dialog (dialogs/ui/Detour.h).
//
// Two colours match with tolerance T when blue, green and red each differ by
// at most T; below 1 they must be equal. A pixel can be filled when it lies
// in the rectangle, was not filled yet, its work-mask value is below 255 and
// its colour matches the fill's reference colour; with Optimised also when
// any of its four neighbours matches (a neighbour outside the rectangle reads
// as the reference colour's bitwise inverse), so the fill bites one pixel
// into the object's edge.
//
// Edges are scanned in this order, each step over every row or column before
// the next: rows from the left up to the middle column, rows from the right
// down to it (Horizontal); columns from the top down to the middle row,
// columns from the bottom up to it (Vertical). In each, the first pixel not
// masked gives the reference colour; filled pixels are skipped and the fill
// starts at the first pixel left, if any.
#pragma once

#include "platform/Bitmap.h"
#include "platform/Types.h"

// The results of DetourageFill.
constexpr int DetourageDone = 2;
constexpr int DetourageFailed = -1;

// Image is 24-bit; WorkMask and DestMask are 24-bit grey masks of the
// image's size. WorkMask holds 255 where pixels must not be taken; on return
// DestMask equals WorkMask with every filled pixel 255. Rect is clipped to
// the image; an empty one answers DetourageDone and leaves DestMask alone.
// Masks of another size or format, or no memory for the work: DetourageFailed,
// nothing changed.
//
// Every fill covers its whole region however large: the pending runs wait on
// a stack in memory, never in nested calls, so no depth limit cuts a fill
// short (DetourageDone is the only success).
int DetourageFill(const TBitmap& Image, const TBitmap& WorkMask, int Tolerance, bool Horizontal, bool Vertical,
                  bool Optimised, TRect Rect, TBitmap& DestMask);
