#include "raster/LayerPaint.h"

#include "raster/RectUtils.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {
inline void SetMask(TRGB& M, int V) { M = {uint8_t(V), uint8_t(V), uint8_t(V)}; }

// "Over" painting with the colour change through F (Normal for plain paint).
template <class Blend> inline void OverPixel(TRGB& d, TRGB& M, TRGB s, int A, Blend F) {
  if (A <= 0) return;
  A = std::min(A, 255);
  const int Alpha = 255 - M.Blue;
  if (Alpha == 0) { // nothing there yet: the paint itself, as covering as it is
    d = s;
    SetMask(M, 255 - A);
  } else if (Alpha == 255) {
    MixAlpha(d, F(d, s), A);
  } else if (A == 255) {
    d = F(d, s);
    SetMask(M, 0);
  } else {
    // The coverage grows; the colour weight A * 255 div C makes the pixel,
    // composited later through its mask, show the paint over the old colour.
    const int C = std::clamp(Alpha + A - Alpha * A / 255, 0, 255);
    SetMask(M, 255 - C);
    if (C > 0) MixAlpha(d, F(d, s), A * 255 / C);
  }
}

template <class Blend> inline void ErasePixel(TRGB& d, TRGB& M, TRGB s, int A, Blend F) {
  if (A >= 0) return;
  A = std::max(A, -255);
  const int Alpha = 255 - M.Blue;
  if (Alpha == 0) return; // nothing to take away
  if (Alpha == 255) {
    WeighSigned255(d, F(d, s), A);
    return;
  }
  const int C = std::clamp(Alpha + A - Alpha * A / 255, 0, 255);
  SetMask(M, 255 - C);
  // A full negative paint pushes by the whole difference; the coverage rule
  // would give it weights of up to -65025 on nearly cleared pixels.
  if (C > 0) WeighSigned255(d, F(d, s), A == -255 ? -255 : A * 255 / C);
}

// One target pixel: with a target mask the over (or erase) rule, without one
// the pixel is opaque and only its colour changes.
template <bool WithMask, bool Erase, class Blend> inline void Lay(TRGB& d, TRGB* M, TRGB s, int A, Blend F) {
  if constexpr (Erase) {
    if constexpr (WithMask)
      ErasePixel(d, *M, s, A, F);
    else
      WeighSigned255(d, F(d, s), A);
  } else {
    if constexpr (WithMask)
      OverPixel(d, *M, s, A, F);
    else
      MixAlpha(d, F(d, s), A);
  }
}

struct TPaint {
  TRGB Pixel;
  int Alpha;
};

// Calls F(std::true_type) or F(std::false_type): a mask's presence decided
// once per call.
template <class Fn> inline void WithPresence(bool Present, Fn&& F) {
  if (Present)
    F(std::true_type{});
  else
    F(std::false_type{});
}

// Paints every pixel of R (already clipped to Dst and to its mask). PaintRow(Y)
// gives, once per row, a function of X returning the paint pixel and alpha.
template <bool Erase, class Blend, class PaintRow>
void LayRows(TBitmap& Dst, TBitmap* DstMask, const TRect& R, Blend F, PaintRow RowAt) {
  WithPresence(MaskPresent(DstMask), [&](auto WithMask) {
    constexpr bool Masked = decltype(WithMask)::value;
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
      TRGB* D = RowOf(Dst, Y);
      TRGB* M = Masked ? RowOf(*DstMask, Y) : nullptr;
      auto PaintAt = RowAt(Y);
      for (int X = R.Left; X < R.Right; ++X) {
        const TPaint P = PaintAt(X);
        Lay<Masked, Erase>(D[X], Masked ? &M[X] : nullptr, P.Pixel, P.Alpha, F);
      }
    }
  });
}

// A scaled by a transparency byte t (255 transparent).
inline int Through(int A, uint8_t T) { return A * (255 - T) / 255; }

bool Is24(const TBitmap& B) { return B.PixelFormat() == pf24bit; }
bool Usable(const TBitmap* Mask) { return !MaskPresent(Mask) || Is24(*Mask); }

// Clips R to Dst and to the target mask's extent; false when nothing is left
// or a bitmap cannot be read as 24-bit.
bool ClipTarget(TRect& R, const TBitmap& Dst, const TBitmap* DstMask) {
  if (!Is24(Dst) || !Usable(DstMask) || !ClipToBitmap(R, Dst)) return false;
  if (MaskPresent(DstMask)) R = IntersectRect(R, BitmapRect(*DstMask));
  return !R.IsEmpty();
}

int PositiveAlpha(int Opacity) { return std::min(Opacity, 100) * 255 / 100; }

// The row of an optional extra mask for target row Y: it lies over the target
// from (0, 0) and repeats.
struct TExtraRow {
  const TRGB* Row;
  int Width;
  uint8_t At(int X) const { return Row[X % Width].Blue; }
};
inline TExtraRow ExtraRowOf(const TBitmap& Extra, int Y) { return {RowOf(Extra, Y % Extra.Height()), Extra.Width()}; }

// A flat colour over R, positive (paint) or negative (erase) alpha.
template <bool Erase>
void FillColor(TColor Color, int BlendMode, TBitmap& Dst, TBitmap* DstMask, const TRect& R, int A) {
  const TRGB C = ColorToTRGB(Color);
  WithBlendMode(BlendMode, [&](auto F) {
    LayRows<Erase>(Dst, DstMask, R, F, [&](int) { return [&](int) { return TPaint{C, A}; }; });
  });
}

// BlendBitmapOnLayer in a mode with one formula per channel, R already
// clipped: the over rule of OverPixel (or MixAlpha without a target mask)
// turned into a target T (the blend result, or the paint itself on fully
// transparent pixels) and a weight out of 255 per pixel, decided pixel by
// pixel, then applied byte by byte with the vectorised kernels.
void BlendChannelRows(const TBitmap& Src, const TBitmap* SrcMask, int BlendMode, TBitmap& Dst, TBitmap* DstMask,
                      const TRect& R, int DX, int DY, int A0) {
  constexpr int Chunk = 1024;
  alignas(32) uint8_t T[3 * Chunk];
  alignas(32) uint8_t W[3 * Chunk];
  const bool HasSrcMask = MaskPresent(SrcMask), HasDstMask = MaskPresent(DstMask);
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    const TMaskRow SM = HasSrcMask ? TMaskRow(*SrcMask, Y + DY) : TMaskRow(Src, -1);
    for (int X0 = R.Left; X0 < R.Right; X0 += Chunk) {
      const int K = std::min(Chunk, R.Right - X0);
      uint8_t* D = Dst.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(X0);
      const uint8_t* S = Src.ScanLine(Y + DY) + 3 * static_cast<ptrdiff_t>(X0 + DX);
      TRGB* M = HasDstMask ? RowOf(*DstMask, Y) + X0 : nullptr;
      // The blend results from the colours as they are before this chunk changes.
      BlendChannelBytes(BlendMode, T, D, S, 3 * K);
      unsigned Any = 0;
      for (int J = 0; J < K; ++J) {
        const int A = HasSrcMask ? Through(A0, SM.At(X0 + J + DX)) : A0; // 0..255
        int Wj = A;
        if (HasDstMask && A > 0) {
          const int Alpha = 255 - M[J].Blue;
          if (Alpha == 0) { // nothing there yet: the paint itself
            std::memcpy(T + 3 * J, S + 3 * J, 3);
            Wj = 255;
            SetMask(M[J], 255 - A);
          } else if (Alpha == 255) { // opaque: the mask stays as it is
          } else if (A == 255) {
            SetMask(M[J], 0);
          } else {
            const int C = std::clamp(Alpha + A - Alpha * A / 255, 0, 255);
            SetMask(M[J], 255 - C);
            Wj = C > 0 ? A * 255 / C : 0;
          }
        }
        W[3 * J] = W[3 * J + 1] = W[3 * J + 2] = static_cast<uint8_t>(Wj);
        Any |= static_cast<unsigned>(Wj);
      }
      if (Any != 0) WeighBytes255(D, T, W, 3 * K);
    }
  }
}

// The negative halves of FillColorOnLayer and BlendFillColorOnLayer.
void EraseColorOnLayer(TColor Color, int BlendMode, TBitmap& Dst, TBitmap* DstMask, const TRect& R, int Opacity) {
  SelectBlendMode(BlendMode);
  FillColor<true>(Color, BlendMode, Dst, DstMask, R, std::max(Opacity, -100) * 255 / 100);
}
} // namespace

void PaintPixelOnLayer(TRGB& d, TRGB& M, TRGB s, int A) { OverPixel(d, M, s, A, TBlendFn<0>{}); }

void BlendPixelOnLayer(TRGB& d, TRGB& M, TRGB s, int A) { OverPixel(d, M, s, A, TCurrentBlendFn{}); }

void ErasePixelOnLayer(TRGB& d, TRGB& M, TRGB s, int A) { ErasePixel(d, M, s, A, TCurrentBlendFn{}); }

void PaintBitmapOnLayer(const TBitmap& Src, const TBitmap* SrcMask, TRect SrcRect, TBitmap& Dst, TBitmap* DstMask,
                        int X, int Y, TRect DstClip, int Opacity) {
  BlendBitmapOnLayer(Src, SrcMask, SrcRect, 0, Dst, DstMask, X, Y, DstClip, Opacity);
}

void BlendBitmapOnLayer(const TBitmap& Src, const TBitmap* SrcMask, TRect SrcRect, int BlendMode, TBitmap& Dst,
                        TBitmap* DstMask, int X, int Y, TRect DstClip, int Opacity) {
  if (Opacity < 1 || !Is24(Src) || !Usable(SrcMask)) return;
  if (&Src == &Dst || (SrcMask && SrcMask == DstMask)) {
    // Painting a layer onto itself reads it as it was before.
    TBitmap SrcCopy, MaskCopy;
    SrcCopy.Assign(Src);
    if (SrcMask) MaskCopy.Assign(*SrcMask);
    BlendBitmapOnLayer(SrcCopy, SrcMask ? &MaskCopy : nullptr, SrcRect, BlendMode, Dst, DstMask, X, Y, DstClip,
                       Opacity);
    return;
  }
  if (!ClipToBitmap(SrcRect, Src) || !ClipTarget(DstClip, Dst, DstMask)) return;
  DstClip = IntersectRect(DstClip, ClampedBounds(X, Y, SrcRect.Width(), SrcRect.Height()));
  if (DstClip.IsEmpty()) return;
  if ((BlendMode & 0xFF) != 0) SelectBlendMode(BlendMode);
  const int A0 = PositiveAlpha(Opacity);
  const int DX = SrcRect.Left - X, DY = SrcRect.Top - Y;
  if (IsChannelMode(BlendMode)) {
    BlendChannelRows(Src, SrcMask, BlendMode, Dst, DstMask, DstClip, DX, DY, A0);
    return;
  }
  WithBlendMode(BlendMode, [&](auto F) {
    WithPresence(MaskPresent(SrcMask), [&](auto HasSrcMask) {
      LayRows<false>(Dst, DstMask, DstClip, F, [&](int Row) {
        const TRGB* S = RowOf(Src, Row + DY);
        if constexpr (decltype(HasSrcMask)::value) {
          const TMaskRow SM(*SrcMask, Row + DY);
          return [=](int Col) { return TPaint{S[Col + DX], Through(A0, SM.At(Col + DX))}; };
        } else {
          return [=](int Col) { return TPaint{S[Col + DX], A0}; };
        }
      });
    });
  });
}

void PaintColorOnLayer(const TBitmap& Mask, TColor Color, TRect MaskRect, TBitmap& Dst, TBitmap* DstMask, int X, int Y,
                       TRect DstClip, int Opacity, const TBitmap* ExtraMask) {
  if (Opacity < 1 || !Is24(Mask) || !Usable(ExtraMask)) return;
  if (!ClipToBitmap(MaskRect, Mask) || !ClipTarget(DstClip, Dst, DstMask)) return;
  DstClip = IntersectRect(DstClip, ClampedBounds(X, Y, MaskRect.Width(), MaskRect.Height()));
  if (DstClip.IsEmpty()) return;
  const int A0 = PositiveAlpha(Opacity);
  const TRGB C = ColorToTRGB(Color);
  const int DX = MaskRect.Left - X, DY = MaskRect.Top - Y;
  WithPresence(MaskPresent(ExtraMask), [&](auto HasExtra) {
    LayRows<false>(Dst, DstMask, DstClip, TBlendFn<0>{}, [&](int Row) {
      const TRGB* M = RowOf(Mask, Row + DY);
      if constexpr (decltype(HasExtra)::value) {
        const TExtraRow E = ExtraRowOf(*ExtraMask, Row);
        return [=](int Col) { return TPaint{C, Through(Through(A0, M[Col + DX].Blue), E.At(Col))}; };
      } else {
        return [=](int Col) { return TPaint{C, Through(A0, M[Col + DX].Blue)}; };
      }
    });
  });
}

void FillColorOnLayer(TColor Color, TBitmap& Dst, TBitmap* DstMask, TRect Rect, int Opacity) {
  if (Opacity == 0 || !ClipTarget(Rect, Dst, DstMask)) return;
  if (Opacity < 0)
    EraseColorOnLayer(Color, 0, Dst, DstMask, Rect, Opacity);
  else
    FillColor<false>(Color, 0, Dst, DstMask, Rect, PositiveAlpha(Opacity));
}

void BlendFillColorOnLayer(TColor Color, int BlendMode, TBitmap& Dst, TBitmap* DstMask, TRect Rect, int Opacity) {
  if (Opacity == 0 || !ClipTarget(Rect, Dst, DstMask)) return;
  if ((BlendMode & 0xFF) == 0) {
    FillColorOnLayer(Color, Dst, DstMask, Rect, Opacity);
  } else if (Opacity < 0) {
    EraseColorOnLayer(Color, BlendMode, Dst, DstMask, Rect, Opacity);
  } else {
    SelectBlendMode(BlendMode);
    FillColor<false>(Color, BlendMode, Dst, DstMask, Rect, PositiveAlpha(Opacity));
  }
}

void PaintPatternOnLayer(const TBitmap& Pattern, const TBitmap* PatternMask, TBitmap& Dst, TBitmap* DstMask, int OrgX,
                         int OrgY, TRect Rect, int Opacity, const TBitmap* ExtraMask) {
  if (Opacity < 1 || Pattern.Empty() || !Is24(Pattern) || !Usable(PatternMask) || !Usable(ExtraMask)) return;
  if (!ClipTarget(Rect, Dst, DstMask)) return;
  const int W = Pattern.Width(), H = Pattern.Height();
  // Offsets of the origin from the rectangle's corner, taken in 64 bits so
  // that far-away origins cannot overflow; the remainders keep their sign.
  const int OX = static_cast<int>((int64_t(OrgX) - Rect.Left) % W);
  const int OY = static_cast<int>((int64_t(OrgY) - Rect.Top) % H);
  const int ColumnShift = (OX >= 0 ? W : 0) - OX - Rect.Left;
  const int RowShift = (OY >= 0 ? H : 0) - OY - Rect.Top;
  const int A0 = PositiveAlpha(Opacity);
  WithPresence(MaskPresent(PatternMask), [&](auto HasPatternMask) {
    WithPresence(MaskPresent(ExtraMask), [&](auto HasExtra) {
      LayRows<false>(Dst, DstMask, Rect, TBlendFn<0>{}, [&](int Row) {
        const int PY = (Row + RowShift) % H;
        const TRGB* P = RowOf(Pattern, PY);
        const TMaskRow PM = decltype(HasPatternMask)::value ? TMaskRow(*PatternMask, PY) : TMaskRow(Pattern, -1);
        const TExtraRow E = decltype(HasExtra)::value ? ExtraRowOf(*ExtraMask, Row) : TExtraRow{nullptr, 1};
        return [=](int Col) {
          const int PX = (Col + ColumnShift) % W;
          int A = A0;
          if constexpr (decltype(HasPatternMask)::value) A = Through(A, PM.At(PX));
          if constexpr (decltype(HasExtra)::value) A = Through(A, E.At(Col));
          return TPaint{P[PX], A};
        };
      });
    });
  });
}
