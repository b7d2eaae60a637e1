// What the two-bitmap filters (a source read, a target drawn) share, internal
// to src/filters: the one guard that copies a source which is also the
// target, and a scope that lends a target's canvas to a filter, clipped to
// the work rect, and gives it back as it was. Depends on the raster core.
#pragma once

#include "raster/Pixels.h"

// Src itself when it is 24-bit and not Dst; otherwise a 24-bit copy of it
// kept in Holder, so that a filter writing Dst reads the unchanged pixels.
const TBitmap& DistinctSource24(const TBitmap& Src, const TBitmap& Dst, TBitmap& Holder);

// Dst becomes a 24-bit target of W x H: one of that size keeps its pixels
// (converted from another format: a layer's pixels outside the work rect
// must not be lost), any other is made new and white.
void SizeTarget24(TBitmap& Dst, int W, int H);

// The canvas of Bitmap, its drawing clipped to Clip for the scope's life;
// the pen, the brush and the clip it had come back at the end.
class TCanvasScope {
public:
  TCanvasScope(TBitmap& Bitmap, const TRect& Clip);
  ~TCanvasScope();
  TCanvasScope(const TCanvasScope&) = delete;
  TCanvasScope& operator=(const TCanvasScope&) = delete;

  TCanvas& Canvas() { return FCanvas; }
  // A solid pen of Width and a brush, both of Color, in copy mode.
  void SetSolid(TColor Color, int Width);

private:
  TCanvas& FCanvas;
  TPen FPen;
  TBrush FBrush;
  TRect FClip;
};
