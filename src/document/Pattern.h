// TPattern32: a fill pattern, a small 24-bit image with an optional grey
// transparency mask (255 transparent), tiled over a rectangle of a layer from
// the bitmap's origin, so that fills of neighbouring rectangles join
// seamlessly. The program keeps one current pattern (CurrentPattern); users
// that need a pattern for one operation make their own. Pattern files are
// read through the main window's loader (TSelMaskHost::LoadPattern). Depends
// on the selection masks (SelMask.h) and the raster core.
#pragma once

#include "document/SelMask.h"
#include "platform/Bitmap.h"

#include <QString>

#include <functional>

class TPattern32 {
public:
  // The pattern image, 24-bit; empty when there is no pattern.
  TBitmap& Bmp() { return FBmp; }
  const TBitmap& Bmp() const { return FBmp; }
  // Same size as Bmp; empty when the pattern is opaque.
  TBitmap& Mask() { return FMask; }
  const TBitmap& Mask() const { return FMask; }
  bool BmpEmpty() const { return FBmp.Empty(); }
  bool MaskEmpty() const { return FMask.Empty(); }

  // Empties both bitmaps, then OnClear (the tool palette unchecks its two
  // pattern options).
  void Clear();
  std::function<void()> OnClear;

  // Loads FileName (any readable image; an empty name lets the loader ask)
  // through Host. On failure the pattern keeps what it had.
  bool LoadFromFile(TSelMaskHost& Host, const QString& FileName);

  // Tiles the pattern over Sel (normalised, clipped) of ABitmap at 100 %
  // through the pattern's mask. Callers check BmpEmpty first; an empty
  // pattern does nothing.
  void FillBmp(TBitmap& ABitmap, TRect Sel) const;
  // The same over a layer bitmap and its mask together (the pattern's mask
  // decides the transparency); without a layer mask (nullptr or empty) it is
  // FillBmp.
  void FillBmpMask(TBitmap& ABitmap, TBitmap* AMask, TRect Sel) const;
  // Upside down with Horz, else mirrored left to right; an empty mask stays
  // empty.
  void Flip(bool Horz);

private:
  TBitmap FBmp;
  TBitmap FMask;
};

// The program's one current pattern, empty at start.
TPattern32& CurrentPattern();

// The current pattern becomes the selection of the current layer: its pixels,
// and as mask the selection's shape (soft edges) combined with the layer's
// own mask, or the layer mask alone for a plain rectangle, or none. The
// caller has checked that the selection is not empty.
void DefinePatternFromSelection(TSelMaskHost& Host);
bool LoadCurrentPattern(TSelMaskHost& Host, const QString& FileName);
// FileName loaded into a pattern of its own and tiled over R; nothing when
// it does not load.
void FillPatternFile(TSelMaskHost& Host, const QString& FileName, TBitmap& Bmp, const TRect& R);
void FillPatternFileMask(TSelMaskHost& Host, const QString& FileName, TBitmap& Bmp, TBitmap* Mask, const TRect& R);
