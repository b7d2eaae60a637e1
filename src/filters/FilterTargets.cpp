#include "filters/FilterTargets.h"

#include "raster/Bitmap24.h"

const TBitmap& DistinctSource24(const TBitmap& Src, const TBitmap& Dst, TBitmap& Holder) {
  if (&Src != &Dst && Src.PixelFormat() == pf24bit) return Src;
  Assign24(Src, Holder);
  return Holder;
}

void SizeTarget24(TBitmap& Dst, int W, int H) {
  if (Dst.Width() == W && Dst.Height() == H && !Dst.Empty()) {
    if (Dst.PixelFormat() != pf24bit) Dst.SetPixelFormat(pf24bit);
    return;
  }
  NewBitmap24(Dst, W, H, clWhite);
}

TCanvasScope::TCanvasScope(TBitmap& Bitmap, const TRect& Clip)
    : FCanvas(Bitmap.Canvas()), FPen(FCanvas.Pen), FBrush(FCanvas.Brush), FClip(FCanvas.ClipRect()) {
  FCanvas.SetClipRect(Clip);
}

TCanvasScope::~TCanvasScope() {
  FCanvas.Pen = FPen;
  FCanvas.Brush = FBrush;
  // A canvas that was not narrowed clips to its whole bitmap: resetting
  // gives that back, and keeps following the bitmap if it is resized.
  if (FClip == BitmapRect(*FCanvas.Bitmap()))
    FCanvas.ResetClip();
  else
    FCanvas.SetClipRect(FClip);
}

void TCanvasScope::SetSolid(TColor Color, int Width) {
  FCanvas.Pen = TPen{Color, Width, TPenStyle::psSolid, TPenMode::pmCopy};
  FCanvas.Brush = TBrush{Color, TBrushStyle::bsSolid};
}
