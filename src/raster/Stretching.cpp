#include "raster/Stretching.h"

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/ProgressScope.h"
#include "raster/RectUtils.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <vector>

namespace {

bool Usable(const TBitmap& B) { return B.PixelFormat() == pf24bit && !B.Empty(); }
bool HasMask(const TBitmap* Mask) { return Mask && !Mask->Empty(); }

// Where a stretch reads and writes, after the clipping every routine shares.
struct TStretch {
  TRect Src;     // SrcRect clipped to the source
  TRect DstRect; // as given, not empty
  TRect Clip;    // DstClip clipped to the destination
  double ScaleX = 1;
  double ScaleY = 1;

  bool SameSize() const {
    return int64_t{DstRect.Right} - DstRect.Left == Src.Width() &&
           int64_t{DstRect.Bottom} - DstRect.Top == Src.Height();
  }
  double FX(int X) const { return (static_cast<double>(X) - DstRect.Left) / ScaleX + Src.Left; }
  double FY(int Y) const { return (static_cast<double>(Y) - DstRect.Top) / ScaleY + Src.Top; }
  int Column(int X) const { return std::min(Trunc(FX(X)), Src.Right - 1); }
  int Row(int Y) const { return std::min(Trunc(FY(Y)), Src.Bottom - 1); }
  // The pixels drawn: the clip within DstRect.
  TRect Drawn() const { return IntersectRect(Clip, DstRect); }
};

bool PrepareStretch(const TBitmap& Src, const TRect& SrcRect, const TBitmap& Dst, const TRect& DstRect,
                    const TRect& DstClip, TStretch& S) {
  S.Src = SrcRect;
  S.DstRect = DstRect;
  S.Clip = DstClip;
  if (!Usable(Src) || !Usable(Dst) || !ClipToBitmap(S.Src, Src) || DstRect.IsEmpty() || !ClipToBitmap(S.Clip, Dst))
    return false;
  S.ScaleX = (static_cast<double>(DstRect.Right) - DstRect.Left) / S.Src.Width();
  S.ScaleY = (static_cast<double>(DstRect.Bottom) - DstRect.Top) / S.Src.Height();
  return true;
}

// A bitmap read while Dst is written: a copy of it when it is Dst itself.
class TStableRead {
public:
  TStableRead(const TBitmap* Bitmap, const TBitmap& Dst) : FBitmap(Bitmap) {
    if (Bitmap == &Dst) {
      FCopy.Assign(*Bitmap);
      FBitmap = &FCopy;
    }
  }
  const TBitmap* Get() const { return FBitmap; }

private:
  TBitmap FCopy;
  const TBitmap* FBitmap;
};

// The nearest-neighbour loop: Pixel(d, s, m) for every pixel drawn, m being
// the mask byte at the source position (255 where the mask does not reach).
// The source column of each destination column is found once per call.
template <bool Masked, class PixelFn>
void StretchNearest(const TBitmap& SrcIn, const TBitmap* MaskIn, TBitmap& Dst, const TStretch& S, PixelFn Pixel) {
  const TRect C = S.Drawn();
  if (C.IsEmpty()) return;
  const TStableRead Src(&SrcIn, Dst);
  const TStableRead Mask(Masked ? MaskIn : nullptr, Dst);
  std::vector<int> Columns(static_cast<size_t>(C.Width()));
  for (int X = C.Left; X < C.Right; ++X) Columns[static_cast<size_t>(X - C.Left)] = S.Column(X);
  const int N = C.Width();
  for (int Y = C.Top; Y < C.Bottom; ++Y) {
    const int SY = S.Row(Y);
    const TRGB* SRow = RowOf(*Src.Get(), SY);
    TRGB* D = RowOf(Dst, Y) + C.Left;
    if constexpr (Masked) {
      const TBitmap& M = *Mask.Get();
      const TRGB* MRow = SY < M.Height() ? RowOf(M, SY) : nullptr;
      const int MW = M.Width();
      for (int I = 0; I < N; ++I) {
        const int SX = Columns[static_cast<size_t>(I)];
        Pixel(D[I], SRow[SX], MRow && SX < MW ? MRow[SX].Blue : uint8_t{255});
      }
    } else {
      for (int I = 0; I < N; ++I) Pixel(D[I], SRow[Columns[static_cast<size_t>(I)]], uint8_t{255});
    }
  }
}

// The frame of the nearest-neighbour routines: clipping, the equal-size copy
// Copy(S), else the stretch.
template <bool Masked, class CopyFn, class PixelFn>
void NearestOrCopy(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect, const TRect& DstClip,
                   const TBitmap* Mask, CopyFn Copy, PixelFn Pixel) {
  TStretch S;
  if ((Masked && Mask->PixelFormat() != pf24bit) || !PrepareStretch(Src, SrcRect, Dst, DstRect, DstClip, S)) return;
  if (S.SameSize())
    Copy(S);
  else
    StretchNearest<Masked>(Src, Mask, Dst, S, Pixel);
}

} // namespace

void StretchRect24(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect, const TRect& DstClip) {
  NearestOrCopy<false>(
      Src, SrcRect, Dst, DstRect, DstClip, nullptr,
      [&](const TStretch& S) { CopyRect24(Src, S.Src, Dst, DstRect.Left, DstRect.Top, S.Clip); },
      [](TRGB& D, TRGB S, uint8_t) { D = S; });
}

void StretchRect24Opacity(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                          const TRect& DstClip, int Opacity) {
  if (Opacity <= 0) return;
  if (Opacity >= 100) {
    StretchRect24(Src, SrcRect, Dst, DstRect, DstClip);
    return;
  }
  NearestOrCopy<false>(
      Src, SrcRect, Dst, DstRect, DstClip, nullptr,
      [&](const TStretch& S) { CopyRect24Opacity(Src, S.Src, Dst, DstRect.Left, DstRect.Top, S.Clip, Opacity); },
      [Opacity](TRGB& D, TRGB S, uint8_t) { MixPercent(D, S, Opacity); });
}

void StretchRect24Mask(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                       const TRect& DstClip, const TBitmap* Mask) {
  if (!HasMask(Mask)) {
    StretchRect24(Src, SrcRect, Dst, DstRect, DstClip);
    return;
  }
  NearestOrCopy<true>(
      Src, SrcRect, Dst, DstRect, DstClip, Mask,
      [&](const TStretch& S) { CopyRect24Mask(Src, S.Src, Dst, DstRect.Left, DstRect.Top, S.Clip, Mask); },
      [](TRGB& D, TRGB S, uint8_t M) {
        if (M != 255) MixMask(D, S, TRGB{M, M, M});
      });
}

void StretchRect24MaskOpacity(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                              const TRect& DstClip, int Opacity, const TBitmap* Mask) {
  if (!HasMask(Mask)) {
    StretchRect24Opacity(Src, SrcRect, Dst, DstRect, DstClip, Opacity);
    return;
  }
  if (Opacity <= 0) return;
  if (Opacity >= 100) {
    StretchRect24Mask(Src, SrcRect, Dst, DstRect, DstClip, Mask);
    return;
  }
  NearestOrCopy<true>(
      Src, SrcRect, Dst, DstRect, DstClip, Mask,
      [&](const TStretch& S) {
        CopyRect24MaskOpacity(Src, S.Src, Dst, DstRect.Left, DstRect.Top, S.Clip, Opacity, Mask);
      },
      [Opacity](TRGB& D, TRGB S, uint8_t M) {
        if (M != 255) MixMaskPercent(D, S, TRGB{M, M, M}, Opacity);
      });
}

void StretchRect24ColorKey(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                           const TRect& DstClip, int Opacity, TColor KeyColor, int Tolerance) {
  if (KeyColor == clNone) {
    StretchRect24Opacity(Src, SrcRect, Dst, DstRect, DstClip, Opacity);
    return;
  }
  if (Opacity <= 0) return;
  Opacity = std::min(Opacity, 100);
  Tolerance = std::max(Tolerance, 0);
  const TRGB Key = ColorToTRGB(KeyColor);
  NearestOrCopy<false>(
      Src, SrcRect, Dst, DstRect, DstClip, nullptr,
      [&](const TStretch& S) {
        CopyRect24ColorKey(Src, S.Src, Dst, DstRect.Left, DstRect.Top, S.Clip, Opacity, KeyColor, Tolerance);
      },
      [=](TRGB& D, TRGB S, uint8_t) { MixPercentColorKey(D, S, Opacity, Key, Tolerance); });
}

void StretchSilhouette24(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                         const TRect& DstClip, TColor Color) {
  TStretch S;
  if (!Src.Transparent || !PrepareStretch(Src, SrcRect, Dst, DstRect, DstClip, S)) return;
  const TRGB Key = ColorToTRGB(Src.TransparentColor());
  const TRGB Paint = ColorToTRGB(Color);
  StretchNearest<false>(Src, nullptr, Dst, S, [=](TRGB& D, TRGB P, uint8_t) {
    if (P == Key) D = Paint;
  });
}

void StretchRect24Bilinear(const TBitmap& SrcIn, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                           const TRect& DstClip) {
  TStretch S;
  if (!PrepareStretch(SrcIn, SrcRect, Dst, DstRect, DstClip, S)) return;
  if (S.SameSize()) {
    CopyRect24(SrcIn, S.Src, Dst, DstRect.Left, DstRect.Top, S.Clip);
    return;
  }
  TProgressScope Progress(S.Clip.Height());
  if (!Progress.Begun()) return;
  const TRect C = S.Drawn();
  if (C.IsEmpty()) return;
  const TStableRead Src(&SrcIn, Dst);
  const size_t N = static_cast<size_t>(C.Width());
  std::vector<int> X0(N), X1(N);
  std::vector<double> DX(N);
  for (size_t I = 0; I < N; ++I) {
    const double FX = S.FX(C.Left + static_cast<int>(I));
    X0[I] = std::min(Trunc(FX), S.Src.Right - 1);
    X1[I] = std::min(X0[I] + 1, S.Src.Right - 1);
    DX[I] = FX - X0[I];
  }
  for (int Y = C.Top; Y < C.Bottom; ++Y) {
    if (!Progress.Step(Y - C.Top)) break;
    const double FY = S.FY(Y);
    const int Y0 = std::min(Trunc(FY), S.Src.Bottom - 1);
    const int Y1 = std::min(Y0 + 1, S.Src.Bottom - 1);
    const double DY = FY - Y0;
    const TRGB* R0 = RowOf(*Src.Get(), Y0);
    const TRGB* R1 = RowOf(*Src.Get(), Y1);
    TRGB* D = RowOf(Dst, Y) + C.Left;
    for (size_t I = 0; I < N; ++I) D[I] = BilinearTRGB(R0[X0[I]], R0[X1[I]], R1[X0[I]], R1[X1[I]], DX[I], DY);
  }
}

void StretchRect24Bicubic(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                          const TRect& DstClip) {
  StretchRect24Interpolated(Src, SrcRect, Dst, DstRect, DstClip, amBicubic, 100, nullptr);
}

void StretchRect24Interpolated(const TBitmap& SrcIn, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                               const TRect& DstClip, TAntialiasMode Mode, int Opacity, const TBitmap* MaskIn) {
  if (Opacity < 1) return;
  Opacity = std::min(Opacity, 100);
  const bool Masked = HasMask(MaskIn);
  TStretch S;
  if ((Masked && MaskIn->PixelFormat() != pf24bit) || !PrepareStretch(SrcIn, SrcRect, Dst, DstRect, DstClip, S)) return;
  if (S.SameSize()) {
    CopyRect24MaskOpacity(SrcIn, S.Src, Dst, DstRect.Left, DstRect.Top, S.Clip, Opacity, Masked ? MaskIn : nullptr);
    return;
  }
  TProgressScope Progress(S.Clip.Height());
  if (!Progress.Begun()) return;
  const TRect C = S.Drawn();
  if (C.IsEmpty()) return;
  const TStableRead Src(&SrcIn, Dst);
  const TStableRead Mask(Masked ? MaskIn : nullptr, Dst);
  std::vector<double> FX(static_cast<size_t>(C.Width()));
  for (int X = C.Left; X < C.Right; ++X) FX[static_cast<size_t>(X - C.Left)] = S.FX(X);

  // ReadMask is nullptr without a mask.
  const auto Rows = [&](auto Read, auto ReadMask) {
    for (int Y = C.Top; Y < C.Bottom; ++Y) {
      if (!Progress.Step(Y - C.Top)) break;
      const double FY = S.FY(Y);
      TRGB* D = RowOf(Dst, Y) + C.Left;
      for (size_t I = 0; I < FX.size(); ++I) {
        const TRGB P = Read(FX[I], FY);
        if constexpr (std::is_same_v<decltype(ReadMask), std::nullptr_t>)
          MixPercent(D[I], P, Opacity);
        else
          MixMaskPercent(D[I], P, ReadMask(FX[I], FY), Opacity);
      }
    }
    return 0;
  };
  TScanLinesManagerEx Image(*Src.Get(), S.Src);
  Image.SetPixelsInLimits(true);
  Image.SetAntialiasMode(Mode);
  Image.WithSampler([&](auto Read) {
    if (!Masked) return Rows(Read, nullptr);
    // Beyond SrcRect, and beyond a smaller mask, the mask reads white.
    TScanLinesManagerEx MaskLines(*Mask.Get(), S.Src);
    MaskLines.SetAntialiasMode(MaskAntialiasMode(Mode != amNearest));
    return MaskLines.WithSampler([&](auto ReadMask) { return Rows(Read, ReadMask); });
  });
}

void StretchRectHalftone(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect,
                         const TRect& DstClip) {
  TRect S = SrcRect, Clip = DstClip;
  if (!ClipToBitmap(S, Src) || DstRect.IsEmpty() || !ClipToBitmap(Clip, Dst)) return;
  Clip = IntersectRect(Clip, Dst.Canvas().ClipRect());
  if (Clip.IsEmpty()) return;
  StretchHalftone(Src, S, Dst, DstRect, Clip);
}
