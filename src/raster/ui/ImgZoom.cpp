#include "raster/ui/ImgZoom.h"

#include "raster/RectUtils.h"

#include <QImage>
#include <QPainter>

namespace {

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

QColor ToQColor(TColor Color) {
  const TColor C = ColorToRGB(Color);
  return QColor(GetRValue(C), GetGValue(C), GetBValue(C));
}

// The bitmap as an opaque image: a 32-bit bitmap's alpha byte is not an
// opacity for this drawing.
QImage OpaqueView(const TBitmap& Bitmap) {
  if (Bitmap.PixelFormat() != pf32bit) return Bitmap.QImageView();
  return QImage(Bitmap.ScanLine(0), Bitmap.Width(), Bitmap.Height(), Bitmap.RowStride(), QImage::Format_RGB32);
}

// The visible part of a transparent bitmap stretched by nearest pixel, with
// alpha 0 where its transparent colour was.
QImage TransparentPart(const TBitmap& Bitmap, const TZoomPlan& Plan) {
  const TRect V = Plan.Covered;
  // Filled with the transparent colour, which the stretch never writes: what
  // keeps it stays transparent.
  const TColor Key = ColorToRGB(Bitmap.TransparentColor()) & 0xFFFFFF;
  TBitmap Part(V.Width(), V.Height(), pf24bit, Key);
  StretchTransparent(Bitmap, Plan.Source, Part, OffsetRect(Plan.Dest, -V.Left, -V.Top), BitmapRect(Part), Key);
  QImage Image(V.Width(), V.Height(), QImage::Format_ARGB32);
  for (int J = 0; J < V.Height(); ++J) {
    QRgb* Line = reinterpret_cast<QRgb*>(Image.scanLine(J));
    for (int I = 0; I < V.Width(); ++I) {
      const TColor C = Part.PixelColor(I, J);
      Line[I] = qRgba(GetRValue(C), GetGValue(C), GetBValue(C), C == Key ? 0 : 255);
    }
  }
  return Image;
}

} // namespace

TRect DrawZoomedBitmap(const TBitmap* Bitmap, QPainter* Painter, TColor EraseColor, const TRect& Region, int X, int Y,
                       double Zoom, bool Erase, bool Optimized, bool AdjustDraw, bool IsPrinter) {
  if (!Bitmap || !Painter) return {};
  const QColor Brush = ToQColor(EraseColor);
  TZoomPlan Plan;
  if (!PlanZoomedDrawing(*Bitmap, Region, X, Y, Zoom, AdjustDraw, IsPrinter, Plan)) {
    if (Erase) Painter->fillRect(ToQRect(Region), Brush);
    return {};
  }
  if (Plan.ClipToRegion) Painter->setClipRect(ToQRect(Region), Qt::IntersectClip);
  // An empty source (the bitmap's own clip cut it away) draws nothing.
  const bool HasSource = !Plan.Source.IsEmpty();
  if (HasSource && IsPrinter) {
    Painter->setRenderHint(QPainter::SmoothPixmapTransform, Optimized && !Bitmap->Transparent);
    Painter->drawImage(ToQRect(Plan.Dest), OpaqueView(*Bitmap), ToQRect(Plan.Source));
  } else if (HasSource && !Bitmap->Transparent) {
    // The visible part, stretched by the canvas rules into a bitmap of its own.
    TBitmap Part(Plan.Covered.Width(), Plan.Covered.Height(), pf24bit, clBlack);
    const TRect Dest = OffsetRect(Plan.Dest, -Plan.Covered.Left, -Plan.Covered.Top);
    if (Optimized)
      StretchHalftone(*Bitmap, Plan.Source, Part, Dest, BitmapRect(Part));
    else
      StretchNearest(*Bitmap, Plan.Source, Part, Dest, BitmapRect(Part));
    Painter->drawImage(Plan.Covered.Left, Plan.Covered.Top, Part.QImageView());
  } else if (HasSource) {
    if (Erase) Painter->fillRect(ToQRect(Plan.Dest), Brush);
    Painter->drawImage(Plan.Covered.Left, Plan.Covered.Top, TransparentPart(*Bitmap, Plan));
  }
  if (Erase && !IsPrinter)
    for (const TRect& Band : Plan.Bands)
      if (!Band.IsEmpty()) Painter->fillRect(ToQRect(Band), Brush);
  return Plan.Covered;
}

TRect DrawImageZoom(const TImageZoom& Zoom, QPainter* Painter, TColor EraseColor, bool Erase) {
  return DrawZoomedBitmap(Zoom.Bitmap(), Painter, EraseColor, Zoom.Region(), Zoom.X(), Zoom.Y(), Zoom.Zoom(), Erase,
                          Zoom.Optimized, Zoom.AdjustDraw, Zoom.IsPrinterCanvas);
}
