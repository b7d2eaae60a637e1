#include "ui/MyImage.h"

#include "platform/Rounding.h"
#include "raster/ColorFill.h"
#include "raster/Pixels.h"
#include "ui/ControlColor.h"
#include "ui/DrawUtils.h"

#include <QMouseEvent>
#include <QPainter>

namespace MyImage {

namespace {

// A 24-bit bitmap as an image to draw; with LeaveOutKey the pixels of Key
// (compared on 24 bits) stay see-through.
QImage ToImage(const TBitmap& B, bool LeaveOutKey, TColor Key) {
  QImage Out(B.Width(), B.Height(), QImage::Format_ARGB32);
  for (int Y = 0; Y < B.Height(); ++Y) {
    const uint8_t* Src = B.ScanLine(Y);
    auto* Dst = reinterpret_cast<QRgb*>(Out.scanLine(Y));
    for (int X = 0; X < B.Width(); ++X, Src += 3) {
      const bool Hidden = LeaveOutKey && SameColor24(RGB(Src[2], Src[1], Src[0]), Key);
      Dst[X] = Hidden ? 0u : qRgb(Src[2], Src[1], Src[0]);
    }
  }
  return Out;
}

} // namespace

TMyImage::TMyImage(QWidget* Parent) : QWidget(Parent) { resize(105, 105); }

void TMyImage::SetBitmap(const TBitmap& Value) {
  FBitmap.Assign(Value);
  FBitmap.SetPixelFormat(pf24bit);
  PictureChanged();
}

void TMyImage::UpdateBitmap() {
  FBitmap.SetPixelFormat(pf24bit);
  PictureChanged();
}

void TMyImage::SetBitmapTransparency(bool Value, TColor ATransparentColor) {
  if (Value) {
    const TColor Key = ATransparentColor == clNone ? FBitmap.PixelColor(0, 0) : ATransparentColor;
    if (!(FBitmap.Transparent && FBitmap.TransparentMode() == TTransparentMode::tmFixed &&
          FBitmap.TransparentColor() == Key)) {
      FBitmap.SetTransparentColor(Key);
      FBitmap.Transparent = true;
    }
  } else {
    FBitmap.Transparent = false;
  }
  PictureChanged();
}

void TMyImage::SetStretch(bool Value) {
  if (Value == FStretch) return;
  FStretch = Value;
  PictureChanged();
}

void TMyImage::SetCenter(bool Value) {
  if (Value == FCenter) return;
  FCenter = Value;
  PictureChanged();
}

void TMyImage::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  PictureChanged();
}

void TMyImage::SetProportional(bool Value) {
  if (Value == FProportional) return;
  FProportional = Value;
  PictureChanged();
}

void TMyImage::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  PictureChanged();
}

void TMyImage::SetStretchMode(TStretchMode Value) {
  if (Value == FStretchMode) return;
  FStretchMode = Value;
  update();
}

TColor TMyImage::Color() const { return ControlColor(this); }

void TMyImage::SetColor(TColor Value) { SetControlColor(this, Value); }

bool TMyImage::ParentColor() const { return ControlParentColor(this); }

void TMyImage::SetParentColor(bool Value) { SetControlParentColor(this, Value); }

TRect TMyImage::DestRect() const {
  const int CW = width(), CH = height();
  const int W = FBitmap.Width(), H = FBitmap.Height();
  int DW = W, DH = H;
  if (FStretch || (FProportional && (W > CW || H > CH))) {
    if (FProportional && !FBitmap.Empty()) {
      const double Ratio = double(W) / H;
      if (W > H) {
        DW = CW;
        DH = Trunc(CW / Ratio);
        if (DH > CH) {
          DW = Trunc(Ratio * CH);
          DH = CH;
        }
      } else {
        DW = Trunc(Ratio * CH);
        DH = CH;
        if (DW > CW) {
          DW = CW;
          DH = Trunc(CW / Ratio);
        }
      }
    } else {
      DW = CW;
      DH = CH;
    }
  }
  TRect R = Rect(0, 0, DW, DH);
  if (FCenter) R = OffsetRect(R, (CW - DW) / 2, (CH - DH) / 2);
  return R;
}

void TMyImage::PictureChanged() {
  if (FAutoSize && !FBitmap.Empty()) resize(FBitmap.Width(), FBitmap.Height());
  if (FBitmap.Transparent) FTransparent = true;
  const TRect R = DestRect();
  const bool Opaque =
      !FTransparent && !FBitmap.Empty() && R.Left == 0 && R.Top == 0 && (R.Right >= width() || R.Bottom >= height());
  setAttribute(Qt::WA_OpaquePaintEvent, Opaque);
  if (!FDrawing) update();
}

QImage TMyImage::Rendered(const TRect& R) const {
  // A picture shown at another size than its own is stretched, whether by
  // Stretch or by a proportional fit.
  const bool Stretched = R.Width() != FBitmap.Width() || R.Height() != FBitmap.Height();
  const bool KeyedBitmap = FBitmap.Transparent;
  if (!FTransparent && !Stretched) return ToImage(FBitmap, false, clNone);
  if (!(Stretched && FStretchMode != TStretchMode::smNearest) && !(FTransparent && !KeyedBitmap)) {
    // The plain stretched drawing: nearest pixel, the key colour left out.
    TBitmap Work(R.Width(), R.Height(), pf24bit);
    const TRect All = Rect(0, 0, R.Width(), R.Height());
    StretchNearest(FBitmap, Rect(0, 0, FBitmap.Width(), FBitmap.Height()), Work, All, All);
    return ToImage(Work, KeyedBitmap, FBitmap.TransparentColor());
  }
  TBitmap Work;
  if (!FTransparent) {
    StretchBitmap(R.Width(), R.Height(), FStretchMode, FBitmap, Work);
    return ToImage(Work, false, clNone);
  }
  Work.Assign(FBitmap);
  if (KeyedBitmap) {
    StretchBitmapKeepTransparent(R.Width(), R.Height(), Work, Color(), FStretchMode);
    return ToImage(Work, true, Work.TransparentColor());
  }
  // Fake transparency: what is close to the top-left pixel takes the control's colour.
  ReplaceColor24(Work, Work.PixelColor(0, 0), Color(), 5, WholeBitmapRect);
  if (Stretched) StretchBitmapInPlace(R.Width(), R.Height(), FStretchMode, Work);
  return ToImage(Work, false, clNone);
}

void TMyImage::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  // An opaque control paints every pixel: what the picture leaves free takes the colour.
  if (testAttribute(Qt::WA_OpaquePaintEvent)) FillRectColor(Canvas, Color(), Rect(0, 0, width(), height()));
  if (FBitmap.Empty()) return;
  const TRect R = DestRect();
  if (R.IsEmpty()) return;
  FDrawing = true;
  Canvas.drawImage(QPoint(R.Left, R.Top), Rendered(R));
  FDrawing = false;
}

void TMyImage::mouseReleaseEvent(QMouseEvent* Event) {
  QWidget::mouseReleaseEvent(Event);
  if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint())) emit Click();
}

void TMyImage::mouseDoubleClickEvent(QMouseEvent* Event) {
  QWidget::mouseDoubleClickEvent(Event);
  if (Event->button() == Qt::LeftButton) emit DblClick();
}

} // namespace MyImage
