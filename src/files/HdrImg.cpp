#include "files/HdrImg.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>

namespace {
int NonNegative(int Value) { return std::max(Value, 0); }
} // namespace

THdrImage::THdrImage(int W, int H) : FWidth(NonNegative(W)), FHeight(NonNegative(H)) { Reallocate(); }

void THdrImage::Reallocate() {
  FPixels.clear();
  if (FWidth > 0 && FHeight > 0) FPixels.assign(size_t(FWidth) * size_t(FHeight), TPixelHdr{});
}

void THdrImage::SetWidth(int Value) {
  Value = NonNegative(Value);
  if (Value == FWidth) return;
  FWidth = Value;
  if (Value == 0)
    Clear();
  else
    Reallocate();
  if (OnResized) OnResized(*this);
}

void THdrImage::SetHeight(int Value) {
  Value = NonNegative(Value);
  if (Value == FHeight) return;
  FHeight = Value;
  if (Value == 0)
    Clear();
  else
    Reallocate();
  if (OnResized) OnResized(*this);
}

void THdrImage::Clear() {
  if (Empty()) return;
  FPixels = {};
  FWidth = FHeight = 0;
}

void THdrImage::SetSize(int W, int H, const TPixelHdr& Color) {
  W = NonNegative(W);
  H = NonNegative(H);
  if (W != FWidth || H != FHeight) {
    Clear();
    FWidth = W;
    FHeight = H;
    Reallocate();
    if (OnResized) OnResized(*this);
  }
  if (!Empty() && !(Color == HdrNoColor)) std::fill(FPixels.begin(), FPixels.end(), Color);
}

template <class F> void THdrImage::ForEachPixel(const TRect& RClip, F&& Apply) {
  TRect R = RClip;
  if (!ClipToHdr(R, this)) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    TPixelHdr* Row = Pixels(Y);
    for (int X = R.Left; X < R.Right; ++X) Apply(Row[X]);
  }
}

template <class F> void THdrImage::ForEachPixel(const TRect& RClip, F&& Apply) const {
  TRect R = RClip;
  if (!ClipToHdr(R, this)) return;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TPixelHdr* Row = Pixels(Y);
    for (int X = R.Left; X < R.Right; ++X) Apply(Row[X]);
  }
}

void THdrImage::FillWith(const TPixelHdr& Color, TRect RClip) {
  ForEachPixel(RClip, [&Color](TPixelHdr& P) { P = Color; });
}

void THdrImage::Assign(const THdrImage* Src) {
  if (!Src || Src->Empty()) {
    Clear();
    return;
  }
  if (Src == this) return;
  SetSize(Src->FWidth, Src->FHeight);
  FPixels = Src->FPixels;
}

void THdrImage::SwapWith(THdrImage* Src) {
  if (!Src || Src == this) return;
  const bool Resized = FWidth != Src->FWidth || FHeight != Src->FHeight;
  std::swap(FVersion, Src->FVersion);
  std::swap(FWidth, Src->FWidth);
  std::swap(FHeight, Src->FHeight);
  FPixels.swap(Src->FPixels);
  if (Resized && OnResized) OnResized(*this);
}

TRect THdrImage::Bounds() const { return Empty() ? TRect{} : TRect{0, 0, FWidth, FHeight}; }

int64_t THdrImage::MemSize() const { return Empty() ? 0 : int64_t(FWidth) * FHeight * int64_t(sizeof(TPixelHdr)); }

void THdrImage::ResetAlpha() {
  for (TPixelHdr& P : FPixels) P.Alpha = 1;
}

bool THdrImage::AlphaUsed() const {
  return std::any_of(FPixels.begin(), FPixels.end(), [](const TPixelHdr& P) { return P.Alpha < 1; });
}

bool THdrImage::OutOfRange() const {
  const auto Out = [](float V) { return V < 0 || V > 1; };
  return std::any_of(FPixels.begin(), FPixels.end(),
                     [&Out](const TPixelHdr& P) { return Out(P.Blue) || Out(P.Green) || Out(P.Red); });
}

void THdrImage::AutoClamp(TRect RClip) {
  ForEachPixel(RClip, [](TPixelHdr& P) {
    P.Blue = Clamp01(P.Blue);
    P.Green = Clamp01(P.Green);
    P.Red = Clamp01(P.Red);
  });
}

namespace {
// Widens [Min, Max] to hold V when V is finite.
void Extend(float V, float& Min, float& Max) {
  if (!std::isfinite(V)) return;
  Min = std::min(Min, V);
  Max = std::max(Max, V);
}
constexpr float RangeStart = 99999;
} // namespace

bool THdrImage::GetRange(float& Min, float& Max, TRect RClip) const {
  float Lo = RangeStart, Hi = -RangeStart;
  bool Any = false;
  ForEachPixel(RClip, [&](const TPixelHdr& P) {
    Any = Any || std::isfinite(P.Blue) || std::isfinite(P.Green) || std::isfinite(P.Red);
    Extend(P.Blue, Lo, Hi);
    Extend(P.Green, Lo, Hi);
    Extend(P.Red, Lo, Hi);
  });
  if (!Any) return false;
  Min = Lo;
  Max = Hi;
  return true;
}

bool THdrImage::GetRangeRgb(float& MinB, float& MaxB, float& MinG, float& MaxG, float& MinR, float& MaxR,
                            TRect RClip) const {
  float Lo[3] = {RangeStart, RangeStart, RangeStart}, Hi[3] = {-RangeStart, -RangeStart, -RangeStart};
  bool Any = false;
  ForEachPixel(RClip, [&](const TPixelHdr& P) {
    Any = Any || std::isfinite(P.Blue) || std::isfinite(P.Green) || std::isfinite(P.Red);
    Extend(P.Blue, Lo[0], Hi[0]);
    Extend(P.Green, Lo[1], Hi[1]);
    Extend(P.Red, Lo[2], Hi[2]);
  });
  if (!Any) return false;
  MinB = Lo[0], MaxB = Hi[0], MinG = Lo[1], MaxG = Hi[1], MinR = Lo[2], MaxR = Hi[2];
  return true;
}

void THdrImage::Offset(float Delta, TRect RClip) {
  ForEachPixel(RClip, [Delta](TPixelHdr& P) {
    P.Blue += Delta;
    P.Green += Delta;
    P.Red += Delta;
  });
}

void THdrImage::AutoOffset(TRect RClip) {
  float Min = 0, Max = 0;
  if (GetRange(Min, Max, RClip) && Min < 0) Offset(-Min, RClip);
}

void THdrImage::AutoRange(TRect RClip) {
  float Min = 0, Max = 0;
  if (!GetRange(Min, Max, RClip) || (Min == 0 && Max == 1) || !(Max > Min)) return;
  const double Lo = Min, Span = double(Max) - double(Min);
  const auto Stretch = [Lo, Span](float& V) { V = float((V - Lo) / Span); };
  ForEachPixel(RClip, [&Stretch](TPixelHdr& P) {
    Stretch(P.Blue);
    Stretch(P.Green);
    Stretch(P.Red);
  });
}

bool ClipToHdr(TRect& Rect, const THdrImage* Image) {
  if (!Image || Image->Empty()) return false;
  Rect = IntersectRect(Rect, Image->Bounds());
  return !Rect.IsEmpty();
}

uint8_t FloatToByte(float Value) {
  if (!(Value > 0)) return 0;
  if (Value >= 1) return 255;
  return uint8_t(Round(double(Value) * 255));
}

float Clamp01(float Value) {
  if (!(Value > 0)) return 0;
  return Value >= 1 ? 1 : Value;
}
