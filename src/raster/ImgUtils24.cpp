#include "raster/ImgUtils24.h"

#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/FoncUtils.h"
#include "raster/GreyMasks.h"
#include "raster/RectUtils.h"
#include "raster/Resampling.h"
#include "raster/Shadow.h"
#include "raster/Stretching.h"

#include <algorithm>
#include <utility>

namespace {

// R clipped to a 24-bit bitmap; false when there is nothing to do.
bool Clip24(const TBitmap& Bitmap, TRect& R) { return Bitmap.PixelFormat() == pf24bit && ClipToBitmap(R, Bitmap); }

// Src itself when it is 24-bit, else a 24-bit copy kept in Holder.
const TBitmap& As24(const TBitmap& Src, TBitmap& Holder) {
  if (Src.PixelFormat() == pf24bit) return Src;
  Assign24(Src, Holder);
  return Holder;
}

// The kernel of the best mode: Lanczos3 (5) to shrink or for moderate
// enlargements, the smoother B-spline (4) beyond twice the size.
uint8_t BestKernel(int W, int H, int SrcW, int SrcH) {
  if (W < SrcW || H < SrcH) return 5;
  if (W > 2 * int64_t(SrcW) || H > 2 * int64_t(SrcH)) return 4;
  return 5;
}

} // namespace

void FlipHorizontal24(TBitmap& Bitmap, const TRect& R) {
  TRect C = R;
  if (!Clip24(Bitmap, C)) return;
  for (int Y = C.Top; Y < C.Bottom; ++Y) {
    PRGBArray Row = RowOf(Bitmap, Y);
    std::reverse(Row + C.Left, Row + C.Right);
  }
  Bitmap.Changed();
}

void FlipVertical24(TBitmap& Bitmap, const TRect& R) {
  TRect C = R;
  if (!Clip24(Bitmap, C)) return;
  for (int Y = C.Top, Y2 = C.Bottom - 1; Y < Y2; ++Y, --Y2)
    std::swap_ranges(RowOf(Bitmap, Y) + C.Left, RowOf(Bitmap, Y) + C.Right, RowOf(Bitmap, Y2) + C.Left);
  Bitmap.Changed();
}

void Rotate180Rect24(TBitmap& Bitmap, const TRect& R) {
  TRect C = R;
  if (!Clip24(Bitmap, C)) return;
  for (int Y = C.Top, Y2 = C.Bottom - 1; Y <= Y2; ++Y, --Y2) {
    PRGBArray Row = RowOf(Bitmap, Y);
    if (Y == Y2) {
      std::reverse(Row + C.Left, Row + C.Right);
      break;
    }
    PRGBArray Row2 = RowOf(Bitmap, Y2);
    for (int X = C.Left, X2 = C.Right - 1; X < C.Right; ++X, --X2) std::swap(Row[X], Row2[X2]);
  }
  Bitmap.Changed();
}

TRect ResizeCanvas24(const TBitmap& Src, TBitmap& Dst, int W, int H, TColor Color, TPosition Position,
                     const TBitmap* Pattern, const TBitmap* PatternMask) {
  if (W <= 0 || H <= 0) return {};
  TBitmap Holder;
  if (&Src == &Dst) Assign24(Src, Holder);
  const TBitmap& S = &Src == &Dst ? Holder : As24(Src, Holder);
  TRect Placed = Rect(0, 0, S.Width(), S.Height());
  PositionRect(Placed, Rect(0, 0, W, H), Position);
  // Taken before Dst changes: Src may be Dst.
  const TColor Key = Src.TransparentColor();
  const bool IsTransparent = Src.Transparent;
  NewBitmap24(Dst, W, H, Color);
  if (Pattern && !Pattern->Empty()) TileBitmap24MaskOpacity(*Pattern, Dst, 0, 0, WholeBitmapRect, 100, PatternMask);
  CopyBitmap24(S, Dst, Placed.Left, Placed.Top);
  Dst.SetTransparentColor(Key);
  Dst.Transparent = IsTransparent;
  return Placed;
}

std::array<TRect, 4> FrameStrips(const TRect& R, int Width) {
  if (Width <= 0) return {};
  return {Rect(R.Left, R.Top, R.Right, R.Top + Width), Rect(R.Left, R.Bottom - Width, R.Right, R.Bottom),
          Rect(R.Left, R.Top + Width, R.Left + Width, R.Bottom - Width),
          Rect(R.Right - Width, R.Top + Width, R.Right, R.Bottom - Width)};
}

void FillFramePattern24(TBitmap& Dst, const TRect& R, int Width, const TBitmap& Pattern, const TBitmap* PatternMask) {
  if (R.IsEmpty()) return;
  for (const TRect& Strip : FrameStrips(R, Width))
    if (!Strip.IsEmpty()) TileBitmap24MaskOpacity(Pattern, Dst, 0, 0, Strip, 100, PatternMask);
}

void StretchBitmap(int W, int H, TStretchMode Mode, const TBitmap& Src, TBitmap& Dst) {
  if (Src.Empty()) return;
  if (W <= 0 || H <= 0) {
    Dst.ReleaseImage();
    return;
  }
  TBitmap Holder;
  if (&Src == &Dst) Assign24(Src, Holder);
  const TBitmap& S = &Src == &Dst ? Holder : As24(Src, Holder);
  const bool Nearest = Mode == TStretchMode::smNearest || W == 1 || H == 1 || S.Width() == 1 || S.Height() == 1;
  if (!Nearest && Mode == TStretchMode::smBest) {
    // S is 24-bit, so the resampler's conversion of its source leaves it as it is.
    ResampleBitmap(W, H, BestKernel(W, H, S.Width(), S.Height()), 0, const_cast<TBitmap&>(S), Dst);
    return;
  }
  EnsureBitmap24(Dst, W, H, clWhite);
  const TRect SrcRect = Rect(0, 0, S.Width(), S.Height()), DstRect = Rect(0, 0, W, H);
  if (Nearest)
    StretchRect24(S, SrcRect, Dst, DstRect, WholeBitmapRect);
  else if (Mode == TStretchMode::smBilinear)
    StretchRect24Bilinear(S, SrcRect, Dst, DstRect, WholeBitmapRect);
  else if (Mode == TStretchMode::smBicubic)
    StretchRect24Bicubic(S, SrcRect, Dst, DstRect, WholeBitmapRect);
  else
    StretchRect24Interpolated(S, SrcRect, Dst, DstRect, WholeBitmapRect, amMitchell, 100, nullptr);
}

void StretchBitmapInPlace(int W, int H, TStretchMode Mode, TBitmap& Bitmap) {
  if (Bitmap.Empty() || W <= 0 || H <= 0 || (Bitmap.Width() == W && Bitmap.Height() == H)) return;
  TBitmap Copy;
  Copy.Assign(Bitmap);
  StretchBitmap(W, H, Mode, Copy, Bitmap);
}

void StretchBitmapKeepTransparent(int W, int H, TBitmap& Bitmap, TColor BackColor, TStretchMode Mode) {
  if (Bitmap.Empty() || W <= 0 || H <= 0) return;
  const bool WasTransparent = Bitmap.Transparent;
  const TColor Key = WasTransparent ? Bitmap.TransparentColor() : Bitmap.PixelColor(0, 0);
  Bitmap.SetPixelFormat(pf24bit);
  TBitmap Mask, Stretched;
  MaskFromColor(Bitmap, Mask, Key, 7, true, WholeBitmapRect);
  StretchBitmap(W, H, TStretchMode::smBilinear, Mask, Stretched);
  ReplaceColor24(Bitmap, Key, BackColor, 7, WholeBitmapRect);
  StretchBitmapInPlace(W, H, Mode, Bitmap);
  FillColorByteRange24(Stretched, WholeBitmapRect, Bitmap, 0, 0, WholeBitmapRect, Key, 248, 255);
  if (WasTransparent) {
    Bitmap.SetTransparentColor(Key);
    Bitmap.Transparent = true;
  }
}

TRect DrawThumbnail24(TBitmap& Src, TBitmap& Dst, TColor BackColor, int Margin, int Shadow, TColor OuterColor) {
  Src.SetPixelFormat(pf24bit);
  Dst.SetPixelFormat(pf24bit);
  if (Dst.Empty()) return {};
  TRect R = Rect(0, 0, Dst.Width(), Dst.Height());
  if (Shadow > 0) {
    FillColor24(Dst, OuterColor, 100, WholeBitmapRect);
    R.Right -= Shadow;
    R.Bottom -= Shadow;
    DrawBitmapShadow(Dst, R, Shadow, 70, true);
  }
  // A rectangle eaten up by the shadow stays empty (the fills would turn a
  // reversed one round).
  if (R.IsEmpty()) return {};
  FillColor24(Dst, BackColor, 100, R);
  if (Shadow > 0) {
    // Raised: the light top and left edges stop short of the far corners.
    FillColor24(Dst, 0xCCCCCC, 100, Rect(R.Left, R.Top, R.Right - 1, R.Top + 1));
    FillColor24(Dst, 0xCCCCCC, 100, Rect(R.Left, R.Top, R.Left + 1, R.Bottom - 1));
    FillColor24(Dst, 0x555555, 100, Rect(R.Right - 1, R.Top, R.Right, R.Bottom));
    FillColor24(Dst, 0x555555, 100, Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom));
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  }
  if (Margin > 0) R = Rect(R.Left + Margin, R.Top + Margin, R.Right - Margin, R.Bottom - Margin);
  if (Src.Empty() || R.IsEmpty()) return {};
  const int RW = R.Width(), RH = R.Height();
  int W = Src.Width(), H = Src.Height();
  FitSize(W, H, RW, RH);
  W = std::max(W, 1);
  H = std::max(H, 1);
  if (Src.Width() < W || Src.Height() < H) {
    W = Src.Width();
    H = Src.Height();
  }
  const TRect Picture = Bounds(R.Left + (RW - W) / 2, R.Top + (RH - H) / 2, W, H);
  StretchRect24Bicubic(Src, WholeBitmapRect, Dst, Picture, WholeBitmapRect);
  return Picture;
}

TRect AutoCropRect(const TBitmap& Bitmap, int Tolerance, TColor Color) {
  if (Bitmap.Empty()) return {};
  TBitmap Holder;
  const TBitmap& B = As24(Bitmap, Holder);
  const int W = B.Width(), H = B.Height();
  auto Key = [&](int X, int Y) { return Color == clNone ? RowOf(B, Y)[X] : ColorToTRGB(Color); };
  const TRGB TopKey = Key(W / 2, 0), BottomKey = Key(W / 2, H - 1), LeftKey = Key(0, H / 2),
             RightKey = Key(W - 1, H / 2);
  auto RowMatches = [&](int Y, TRGB K) {
    const TRGB* Row = RowOf(B, Y);
    return std::all_of(Row, Row + W, [&](TRGB P) { return TRGBNear(P, K, Tolerance); });
  };
  auto ColumnMatches = [&](int X, TRGB K) {
    for (int Y = 0; Y < H; ++Y)
      if (!TRGBNear(RowOf(B, Y)[X], K, Tolerance)) return false;
    return true;
  };
  TRect R = Rect(0, 0, W, H);
  while (R.Top < R.Bottom && RowMatches(R.Top, TopKey)) ++R.Top;
  while (R.Top < R.Bottom && RowMatches(R.Bottom - 1, BottomKey)) --R.Bottom;
  while (R.Left < R.Right && ColumnMatches(R.Left, LeftKey)) ++R.Left;
  while (R.Left < R.Right && ColumnMatches(R.Right - 1, RightKey)) --R.Right;
  return R;
}
