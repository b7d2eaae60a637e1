#include "raster/ImgUtils.h"

#include "raster/Bitmap24.h"
#include "raster/RectUtils.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool IsIndexed(TPixelFormat Format) { return Format == pf1bit || Format == pf4bit || Format == pf8bit; }

// Dst emptied and given Src's format and palette, then the size W x H (the
// new pixels in Dst's brush colour).
void MakeLike(TBitmap& Dst, const TBitmap& Src, int W, int H) {
  Dst.ReleaseImage();
  Dst.SetPixelFormat(Src.PixelFormat());
  if (IsIndexed(Src.PixelFormat())) Dst.SetPalette(Src.Palette());
  Dst.SetSize(W, H);
}

// The effective transparent colour is kept as a fixed one, so that the new
// bottom-left pixel does not become the transparent colour.
void TakeTransparency(const TBitmap& Src, TBitmap& Dst) {
  Dst.SetTransparentColor(Src.TransparentColor());
  Dst.Transparent = Src.Transparent;
}

// The platform's rectangle copy, limited to Dst's canvas clip. Either
// rectangle may be mirrored; a copy within one bitmap reads the old pixels.
void CanvasCopy(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect) {
  StretchNearest(Src, SrcRect, Dst, DstRect, Dst.Canvas().ClipRect());
  Dst.Changed();
}

// R of a bitmap that is not 24-bit copied onto itself mirrored: Mirror maps
// the rectangle (limited to the canvas's clip) to the mirrored destination.
template <class F> void MirrorByCopy(TBitmap& Bitmap, const TRect& R, F&& Mirror) {
  const TRect C = IntersectRect(NormalizeTRect(R), Bitmap.Canvas().ClipRect());
  if (C.IsEmpty()) return;
  CanvasCopy(Bitmap, C, Bitmap, Mirror(C));
}

// The wrap-around shift along one axis; Band(From, To) is the band of
// columns (or rows) From..To-1 across the whole bitmap.
template <class F> void WrapShift(TBitmap& Bitmap, int Delta, int Size, F&& Band) {
  if (Bitmap.Empty()) return;
  Delta %= Size;
  if (Delta == 0) return;
  const int D = std::abs(Delta);
  const TRect WorkBand = Band(Size - D, Size);
  TBitmap Work;
  MakeLike(Work, Bitmap, WorkBand.Width(), WorkBand.Height());
  const TRect Whole = Rect(0, 0, Work.Width(), Work.Height());
  if (Delta > 0) {
    CanvasCopy(Bitmap, Band(Size - D, Size), Work, Whole);
    CanvasCopy(Bitmap, Band(0, Size - D), Bitmap, Band(D, Size));
    CanvasCopy(Work, Whole, Bitmap, Band(0, D));
  } else {
    CanvasCopy(Bitmap, Band(0, D), Work, Whole);
    CanvasCopy(Bitmap, Band(D, Size), Bitmap, Band(0, Size - D));
    CanvasCopy(Work, Whole, Bitmap, Band(Size - D, Size));
  }
}

} // namespace

bool CropBitmapTo(const TBitmap& Src, TBitmap& Dst, const TRect& R) {
  TRect C = R;
  if (!ClipToBitmap(C, Src)) return false;
  if (&Src == &Dst) {
    TBitmap Work;
    CropBitmapTo(Src, Work, C);
    Dst.Swap(Work);
    Dst.Changed();
    return true;
  }
  MakeLike(Dst, Src, C.Width(), C.Height());
  if (Src.PixelFormat() == pf24bit)
    CopyBitmap24(Src, Dst, -C.Left, -C.Top);
  else
    CanvasCopy(Src, C, Dst, Rect(0, 0, C.Width(), C.Height()));
  TakeTransparency(Src, Dst);
  return true;
}

void CropBitmap(TBitmap& Bitmap, const TRect& R) {
  if (!Bitmap.Empty()) CropBitmapTo(Bitmap, Bitmap, R);
}

void FlipVerticalRect(TBitmap& Bitmap, const TRect& R) {
  if (Bitmap.PixelFormat() == pf24bit)
    FlipVertical24(Bitmap, R);
  else
    MirrorByCopy(Bitmap, R, [](const TRect& C) { return Rect(C.Left, C.Bottom - 1, C.Right, C.Top - 1); });
}

void FlipHorizontalRect(TBitmap& Bitmap, const TRect& R) {
  if (Bitmap.PixelFormat() == pf24bit)
    FlipHorizontal24(Bitmap, R);
  else
    MirrorByCopy(Bitmap, R, [](const TRect& C) { return Rect(C.Right - 1, C.Top, C.Left - 1, C.Bottom); });
}

void Rotate180Rect(TBitmap& Bitmap, const TRect& R) {
  if (Bitmap.PixelFormat() == pf24bit)
    Rotate180Rect24(Bitmap, R);
  else
    MirrorByCopy(Bitmap, R, [](const TRect& C) { return Rect(C.Right - 1, C.Bottom - 1, C.Left - 1, C.Top - 1); });
}

void FlipBitmapVertical(TBitmap& Bitmap) { FlipVerticalRect(Bitmap, WholeBitmapRect); }
void FlipBitmapHorizontal(TBitmap& Bitmap) { FlipHorizontalRect(Bitmap, WholeBitmapRect); }
void RotateBitmap180(TBitmap& Bitmap) { Rotate180Rect(Bitmap, WholeBitmapRect); }

void WrapShiftHorizontal(TBitmap& Bitmap, int Dx) {
  const int H = Bitmap.Height();
  WrapShift(Bitmap, Dx, Bitmap.Width(), [H](int From, int To) { return Rect(From, 0, To, H); });
}

void WrapShiftVertical(TBitmap& Bitmap, int Dy) {
  const int W = Bitmap.Width();
  WrapShift(Bitmap, Dy, Bitmap.Height(), [W](int From, int To) { return Rect(0, From, W, To); });
}

void ShiftBitmap(TBitmap& Bitmap, int Dx, int Dy, bool Wrap) {
  if (Bitmap.Empty()) return;
  if (Wrap) {
    if (Dx != 0) WrapShiftHorizontal(Bitmap, Dx);
    if (Dy != 0) WrapShiftVertical(Bitmap, Dy);
    return;
  }
  const int W = Bitmap.Width(), H = Bitmap.Height();
  // A shift of the whole size or more would copy a reversed, that is
  // mirrored, rectangle: it moves everything out, so nothing is copied.
  if (Dx > 0 && Dx < W)
    CanvasCopy(Bitmap, Rect(0, 0, W - Dx, H), Bitmap, Rect(Dx, 0, W, H));
  else if (Dx < 0 && Dx > -W)
    CanvasCopy(Bitmap, Rect(-Dx, 0, W, H), Bitmap, Rect(0, 0, W + Dx, H));
  if (Dy > 0 && Dy < H)
    CanvasCopy(Bitmap, Rect(0, 0, W, H - Dy), Bitmap, Rect(0, Dy, W, H));
  else if (Dy < 0 && Dy > -H)
    CanvasCopy(Bitmap, Rect(0, -Dy, W, H), Bitmap, Rect(0, 0, W, H + Dy));
}

void FillFrame(TCanvas& Canvas, const TRect& R, TColor Color, int Width) {
  if (R.IsEmpty()) return;
  const TBrush Saved = Canvas.Brush;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = Color;
  for (const TRect& Strip : FrameStrips(R, Width)) Canvas.FillRect(Strip);
  Canvas.Brush = Saved;
}

TRect EnlargeCanvas(const TBitmap& Src, TBitmap& Dst, int W, int H, TColor Color, TPosition Position) {
  if (W <= 0 || H <= 0) return {};
  if (&Src == &Dst) {
    TBitmap Work;
    const TRect Placed = EnlargeCanvas(Src, Work, W, H, Color, Position);
    Dst.Swap(Work);
    Dst.Canvas().Brush.Color = Color;
    Dst.Changed();
    return Placed;
  }
  TRect Placed = Rect(0, 0, Src.Width(), Src.Height());
  PositionRect(Placed, Rect(0, 0, W, H), Position);
  Dst.Canvas().Brush.Color = Color;
  MakeLike(Dst, Src, W, H);
  if (Src.PixelFormat() == pf24bit)
    CopyBitmap24(Src, Dst, Placed.Left, Placed.Top);
  else if (!Src.Empty())
    CanvasCopy(Src, Rect(0, 0, Src.Width(), Src.Height()), Dst, Placed);
  TakeTransparency(Src, Dst);
  return Placed;
}

TRect EnlargeCanvasInPlace(TBitmap& Bitmap, int W, int H, TColor Color, TPosition Position) {
  return EnlargeCanvas(Bitmap, Bitmap, W, H, Color, Position);
}

void AddBorder(TBitmap& Bitmap, int Width, TColor Color, bool Grow) {
  if (Bitmap.Empty() || Width <= 0) return;
  if (Grow) {
    const int64_t W = Bitmap.Width() + 2 * int64_t(Width), H = Bitmap.Height() + 2 * int64_t(Width);
    if (W > INT32_MAX || H > INT32_MAX) return;
    EnlargeCanvasInPlace(Bitmap, int(W), int(H), Color, poCenter);
  } else
    FillFrame(Bitmap.Canvas(), Bitmap.Canvas().ClipRect(), Color, Width);
}
