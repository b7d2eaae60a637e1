#include "raster/ImgZoom.h"

#include "platform/Rounding.h"
#include "raster/RectUtils.h"

#include <algorithm>
#include <cmath>

double FitZoomRatio(const TBitmap* Bitmap, const TRect& Rect, TAjustement Mode) {
  if (!Bitmap || Bitmap->Empty() || Rect.IsEmpty()) return 0;
  const double ByWidth = double(Rect.Right - Rect.Left) / Bitmap->Width();
  const double ByHeight = double(Rect.Bottom - Rect.Top) / Bitmap->Height();
  switch (Mode) {
  case ajWidth:
    return ByWidth;
  case ajHeight:
    return ByHeight;
  case ajWidthHeight:
    return std::min(ByWidth, ByHeight);
  default:
    return 1.0;
  }
}

namespace {

TRect IntersectWide(int64_t L, int64_t T, int64_t R, int64_t B, const TRect& Region) {
  const TRect Result{int(std::max<int64_t>(L, Region.Left)), int(std::max<int64_t>(T, Region.Top)),
                     int(std::min<int64_t>(R, Region.Right)), int(std::min<int64_t>(B, Region.Bottom))};
  return Result.IsEmpty() ? TRect{} : Result;
}

} // namespace

bool PlanZoomedDrawing(const TBitmap& Bitmap, const TRect& Region, int X, int Y, double Zoom, bool AdjustDraw,
                       bool IsPrinter, TZoomPlan& Plan) {
  Plan = {};
  // The image's rectangle on the canvas, in 64 bits so a large zoom cannot
  // overflow it.
  const int64_t W = Round64(Bitmap.Width() * Zoom), H = Round64(Bitmap.Height() * Zoom);
  TRect D = IntersectWide(X, Y, int64_t(X) + W, int64_t(Y) + H, Region);
  if (D.IsEmpty()) return false;
  const TRect S{Trunc((double(D.Left) - X) / Zoom), Trunc((double(D.Top) - Y) / Zoom),
                Ceil((double(D.Right) - X) / Zoom), Ceil((double(D.Bottom) - Y) / Zoom)};
  Plan.Source = IntersectRect(S, Bitmap.Canvas().ClipRect());
  if (AdjustDraw && Zoom > 1 && !IsPrinter) {
    // Every source pixel on a whole block: the first block may start before
    // the region, which the clip then cuts.
    D.Left = Trunc(X + Plan.Source.Left * Zoom);
    D.Top = Trunc(Y + Plan.Source.Top * Zoom);
    D.Right = Trunc(D.Left + (Plan.Source.Right - Plan.Source.Left) * Zoom);
    D.Bottom = Trunc(D.Top + (Plan.Source.Bottom - Plan.Source.Top) * Zoom);
    Plan.ClipToRegion = true;
  }
  Plan.Dest = D;
  Plan.Covered = IntersectRect(D, Region);
  Plan.Bands[0] = {Region.Left, Region.Top, Region.Right, D.Top};
  Plan.Bands[1] = {Region.Left, D.Bottom, Region.Right, Region.Bottom};
  Plan.Bands[2] = {Region.Left, D.Top, D.Left, D.Bottom};
  Plan.Bands[3] = {D.Right, D.Top, Region.Right, D.Bottom};
  return true;
}

TRect DrawZoomedBitmap(const TBitmap* Bitmap, TCanvas* Canvas, const TRect& Region, int X, int Y, double Zoom,
                       bool Erase, bool Optimized, bool AdjustDraw, bool IsPrinter) {
  if (!Bitmap || !Canvas) return {};
  TZoomPlan Plan;
  if (!PlanZoomedDrawing(*Bitmap, Region, X, Y, Zoom, AdjustDraw, IsPrinter, Plan)) {
    if (Erase) Canvas->FillRect(Region);
    return {};
  }
  if (Plan.ClipToRegion) Canvas->IntersectClipRect(Region);
  if (!IsPrinter) Canvas->StretchBltMode = TStretchBltMode::sbmColorOnColor;
  const bool Transparent = Bitmap->Transparent;
  if (Optimized && !Transparent) Canvas->StretchBltMode = TStretchBltMode::sbmHalftone;
  if (!Transparent || IsPrinter) {
    Canvas->CopyRect(Plan.Dest, Bitmap->Canvas(), Plan.Source);
  } else if (Canvas->Bitmap()) {
    if (Erase) Canvas->FillRect(Plan.Dest);
    StretchTransparent(*Bitmap, Plan.Source, *Canvas->Bitmap(), Plan.Dest, Canvas->ClipRect(),
                       Bitmap->TransparentColor());
    Canvas->Bitmap()->Changed();
  }
  if (Erase && !IsPrinter)
    for (const TRect& Band : Plan.Bands)
      if (!Band.IsEmpty()) Canvas->FillRect(Band);
  return Plan.Covered;
}

// ---- TImageZoom ------------------------------------------------------------

void TImageZoom::Update() {
  if (!FBitmap) {
    FWidth = 0, FHeight = 0;
    return;
  }
  if (!FRegion.IsEmpty()) {
    switch (FAjustement) {
    case ajNone:
      FZoom = 1.0;
      break;
    case ajWidth:
    case ajHeight:
    case ajWidthHeight:
      FZoom = FitZoomRatio(FBitmap, FRegion, FAjustement);
      break;
    case ajManual:
      break;
    }
  }
  FWidth = Round(FBitmap->Width() * FZoom);
  FHeight = Round(FBitmap->Height() * FZoom);
  UpdatePosition();
}

void TImageZoom::UpdatePosition() {
  if (!FBitmap || FRegion.IsEmpty() || FPosition == poManual) return;
  TRect R = Bounds(FX, FY, FWidth, FHeight);
  PositionRect(R, FRegion, FPosition);
  FX = R.Left, FY = R.Top;
}

void TImageZoom::SetBitmap(const TBitmap* Value) {
  if (Value == FBitmap) return;
  FBitmap = Value;
  Update();
}

void TImageZoom::SetCanvas(TCanvas* Value) {
  if (Value == FCanvas) return;
  FCanvas = Value;
  FRegion = Value ? Value->ClipRect() : TRect{};
  Update();
}

void TImageZoom::SetRegion(const TRect& Value) {
  if (Value == FRegion) return;
  FRegion = Value;
  Update();
}

void TImageZoom::SetAjustement(TAjustement Value) {
  if (Value == FAjustement) return;
  FAjustement = Value;
  Update();
}

void TImageZoom::SetZoom(double Value) {
  if (!(Value > 0) || !std::isfinite(Value)) Value = 1.0;
  FAjustement = ajManual;
  if (Value == FZoom) return;
  FZoom = Value;
  Update();
}

void TImageZoom::SetPosition(TPosition Value) {
  if (Value == FPosition) return;
  FPosition = Value;
  UpdatePosition();
}

void TImageZoom::SetX(int Value) {
  FX = Value;
  FPosition = poManual;
}

void TImageZoom::SetY(int Value) {
  FY = Value;
  FPosition = poManual;
}

void TImageZoom::SetWidth(int Value) {
  // An empty bitmap has no zoom to derive: its width would divide by zero.
  if (!FBitmap || FBitmap->Empty() || Value <= 0 || Value == FWidth) return;
  FWidth = Value;
  FZoom = double(Value) / FBitmap->Width();
  FHeight = Round(FBitmap->Height() * FZoom);
  FAjustement = ajManual;
  UpdatePosition();
}

void TImageZoom::SetHeight(int Value) {
  if (!FBitmap || FBitmap->Empty() || Value <= 0 || Value == FHeight) return;
  FHeight = Value;
  FZoom = double(Value) / FBitmap->Height();
  FWidth = Round(FBitmap->Width() * FZoom);
  FAjustement = ajManual;
  UpdatePosition();
}

TRect TImageZoom::Draw(bool Erase) {
  if (!CanDraw()) return {};
  return DrawZoomedBitmap(FBitmap, FCanvas, FRegion, FX, FY, FZoom, Erase, Optimized, AdjustDraw, IsPrinterCanvas);
}

TRect TImageZoom::Move(int DX, int DY, bool Erase) {
  if (!CanDraw()) return {};
  const TRect I = ImageRect(), R = FRegion;
  if (DX < 0)
    DX = I.Right < R.Right ? 0 : std::max(DX, R.Right - I.Right);
  else if (DX > 0)
    DX = R.Left < I.Left ? 0 : std::min(DX, R.Left - I.Left);
  if (DY < 0)
    DY = I.Bottom < R.Bottom ? 0 : std::max(DY, R.Bottom - I.Bottom);
  else if (DY > 0)
    DY = R.Top < I.Top ? 0 : std::min(DY, R.Top - I.Top);
  if (DX == 0 && DY == 0) return {};
  FX += DX, FY += DY;
  const TRect Covered = Draw(Erase);
  FPosition = poManual;
  return Covered;
}

bool TImageZoom::CanMove(TMoveDirection Direction) const {
  if (!FBitmap || FRegion.IsEmpty()) return false;
  const TRect I = ImageRect();
  switch (Direction) {
  case mdLeft:
    return I.Right > FRegion.Right;
  case mdRight:
    return I.Left < FRegion.Left;
  case mdUp:
    return I.Bottom > FRegion.Bottom;
  case mdDown:
    return I.Top < FRegion.Top;
  }
  return false;
}
