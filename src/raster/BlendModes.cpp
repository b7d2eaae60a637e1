#include "raster/BlendModes.h"

#include "platform/Rounding.h"
#include "platform/VectorDispatch.h"

#include <cmath>
#include <cstring>

// ---- Gamma modes ----------------------------------------------------------------

namespace BlendDetail {
namespace {
// 23 Gamma +, 24 Gamma -, 25 Gamma light; powers in double precision.
int GammaValue(int Mode, int A, int B) {
  switch (Mode) {
  case 23:
    if (B == 0) return A;
    if (B == 255) return 255;
    return Round(255 * std::pow((A + 0.1) / 255, (255 - B) / 255.0));
  case 24:
    if (B == 255) return A;
    if (B == 0) return 0;
    return 255 - Round(255 * std::pow((255 - A + 0.1) / 255, B / 255.0));
  default:
    if (B == 0) return 0;
    if (B == 255) return 255;
    if (B <= 128) return 255 - Round(255 * std::pow((255 - A + 0.1) / 255, 2 * B / 256.0));
    return Round(255 * std::pow((A + 0.1) / 255, 2 * (255 - B) / 255.0));
  }
}

std::array<uint8_t, 65536> MakeGammaTable(int Mode) {
  std::array<uint8_t, 65536> T;
  for (int A = 0; A < 256; ++A)
    for (int B = 0; B < 256; ++B) T[A * 256 + B] = Clamp255(GammaValue(Mode, A, B));
  return T;
}
} // namespace

const std::array<uint8_t, 65536>& GammaTable(int Mode) {
  if (Mode == 23) {
    static const auto T = MakeGammaTable(23);
    return T;
  }
  if (Mode == 24) {
    static const auto T = MakeGammaTable(24);
    return T;
  }
  static const auto T = MakeGammaTable(25);
  return T;
}
} // namespace BlendDetail

// ---- Current blend function -----------------------------------------------------

namespace {
const auto BlendFunctions = []<int... I>(std::integer_sequence<int, I...>) {
  return std::array<TBlendFunction, BlendModeCount>{&BlendOf<I>...};
}
(std::make_integer_sequence<int, BlendModeCount>{});

int SelectedMode = 0;
} // namespace

void SelectBlendMode(int Mode) { SelectedMode = NormalBlendMode(Mode); }

TBlendFunction CurrentBlendFunction() { return BlendFunctions[SelectedMode]; }

int CurrentBlendMode() { return SelectedMode; }

void BlendPixel(TRGB& d, TRGB s) { d = CurrentBlendFunction()(d, s); }

void BlendPixelOpacity(TRGB& d, TRGB s, int Opacity) { MixPercent(d, CurrentBlendFunction()(d, s), Opacity); }

void BlendPixelMask(TRGB& d, TRGB s, TRGB M) { MixMask(d, CurrentBlendFunction()(d, s), M); }

void BlendPixelMaskOpacity(TRGB& d, TRGB s, TRGB M, int Opacity) {
  MixMaskPercent(d, CurrentBlendFunction()(d, s), M, Opacity);
}

void BlendPixelAlpha(TRGB& d, TRGB s, int Alpha) { MixAlpha(d, CurrentBlendFunction()(d, s), Alpha); }

void BlendPixelPercentSigned(TRGB& d, TRGB s, int Percent) { WeighSigned100(d, CurrentBlendFunction()(d, s), Percent); }

void BlendPixelAlphaSigned(TRGB& d, TRGB s, int Alpha) { WeighSigned255(d, CurrentBlendFunction()(d, s), Alpha); }

// ---- Merge loops ----------------------------------------------------------------

namespace {
// How a blend result is weighed into the destination: the four combinations
// of mask and full opacity, chosen once per merge.
enum class TWeigh { Full, Opacity, Mask, MaskOpacity };
template <TWeigh W> using TWeighConst = std::integral_constant<TWeigh, W>;
template <TWeigh W> constexpr bool Masked = W == TWeigh::Mask || W == TWeigh::MaskOpacity;

template <class Body> void WithWeigh(bool HasMask, int Opacity, Body&& B) {
  if (HasMask)
    Opacity >= 100 ? B(TWeighConst<TWeigh::Mask>{}) : B(TWeighConst<TWeigh::MaskOpacity>{});
  else
    Opacity >= 100 ? B(TWeighConst<TWeigh::Full>{}) : B(TWeighConst<TWeigh::Opacity>{});
}

template <TWeigh W, class Blend> inline void MergeOne(TRGB& d, TRGB s, TRGB M, int Opacity, Blend F) {
  if constexpr (W == TWeigh::Full)
    d = F(d, s);
  else if constexpr (W == TWeigh::Opacity)
    MixPercent(d, F(d, s), Opacity);
  else if constexpr (W == TWeigh::Mask)
    MixMask(d, F(d, s), M);
  else
    MixMaskPercent(d, F(d, s), M, Opacity);
}

// The offset and stretched merges: one source row per destination row
// (RowFor), one source column per destination column (ColumnFor). Fully
// transparent mask pixels are skipped before the blend function runs.
// WithinMask: the caller has clipped the area so that every source position
// lies inside the mask, which is then read without bound checks.
template <TWeigh W, bool WithinMask, class Blend, class RowMap, class ColumnMap>
void MergeRows(const TBitmap& Src, const TBitmap* Mask, TBitmap& Dst, const TRect& Clip, int Opacity, RowMap RowFor,
               ColumnMap ColumnFor, Blend F) {
  for (int Y = Clip.Top; Y < Clip.Bottom; ++Y) {
    const int SY = RowFor(Y);
    TRGB* D = RowOf(Dst, Y);
    const TRGB* S = RowOf(Src, SY);
    if constexpr (Masked<W> && WithinMask) {
      const TRGB* M = RowOf(*Mask, SY);
      for (int X = Clip.Left; X < Clip.Right; ++X) {
        const int SX = ColumnFor(X);
        if (M[SX].Blue != 255) MergeOne<W>(D[X], S[SX], M[SX], Opacity, F);
      }
    } else if constexpr (Masked<W>) {
      const TMaskRow M(*Mask, SY);
      if (M.Outside()) continue;
      for (int X = Clip.Left; X < Clip.Right; ++X) {
        const int SX = ColumnFor(X);
        const uint8_t m = M.At(SX);
        if (m != 255) MergeOne<W>(D[X], S[SX], TRGB{m, m, m}, Opacity, F);
      }
    } else {
      for (int X = Clip.Left; X < Clip.Right; ++X) MergeOne<W>(D[X], S[ColumnFor(X)], TRGB{}, Opacity, F);
    }
  }
}

// ---- Row kernels of the channel modes ----
// The offset merge in a mode with one formula per channel works on bytes: a
// pass computes the blend results of a run of pixels into a buffer, a second
// weighs them into the destination. Both are plain loops over bytes that the
// compiler vectorises; they are built for the baseline instruction set and
// once more for AVX2 (platform/VectorDispatch.h), chosen once per merge. The
// results are those of MergeOne, pixel for pixel.

constexpr int Chunk = 1024; // pixels per pass over the stack buffers

// Bytes 1 and 2 of every pixel: where a grey mask repeats the byte before.
constexpr auto GreyCheck = [] {
  std::array<uint8_t, 3 * Chunk> T{};
  for (int I = 0; I < 3 * Chunk; ++I) T[I] = I % 3 ? 0xFF : 0;
  return T;
}();

// R[i] := F(D[i], S[i]).
template <int Mode>
[[gnu::always_inline]] inline void ChannelBytes(uint8_t* __restrict R, const uint8_t* __restrict D,
                                                const uint8_t* __restrict S, int N, const TChannelFn<Mode>& F) {
  for (int I = 0; I < N; ++I) R[I] = static_cast<uint8_t>(F(D[I], S[I]));
}

// D[i] := D[i] + (R[i] - D[i]) * w div Div, truncating toward zero, with w
// the constant Weight or W[i], in 0..Div. The magnitude |R - D| * w fits in
// 16 bits; the quotient is added to or taken from D.
template <int Div, bool ConstWeight>
[[gnu::always_inline]] inline void WeighBytes(uint8_t* __restrict D, const uint8_t* __restrict R,
                                              const uint8_t* __restrict W, uint8_t Weight, int N) {
  static_assert(Div * 255 <= 65535);
  for (int I = 0; I < N; ++I) {
    const uint8_t Dv = D[I], Rv = R[I];
    const uint16_t Mag = static_cast<uint16_t>(Rv > Dv ? Rv - Dv : Dv - Rv);
    const uint16_t Q = static_cast<uint16_t>(Mag * (ConstWeight ? Weight : W[I])) / Div;
    D[I] = static_cast<uint8_t>(Rv > Dv ? Dv + Q : Dv - Q);
  }
}

// One row of N pixels: D the destination, S the source, M the mask (its
// first byte of each pixel), all at the row's first pixel.
template <int Mode, TWeigh W>
[[gnu::always_inline]] inline void ChannelRowBody(uint8_t* D, const uint8_t* S, const uint8_t* M, int N, int Opacity) {
  const TChannelFn<Mode> F;
  alignas(32) uint8_t R[3 * Chunk];
  alignas(32) uint8_t Wt[3 * Chunk];
  for (int I = 0; I < N; I += Chunk) {
    const int K = std::min(Chunk, N - I);
    uint8_t* DC = D + 3 * static_cast<ptrdiff_t>(I);
    const uint8_t* SC = S + 3 * static_cast<ptrdiff_t>(I);
    if constexpr (Masked<W>) {
      // MixMask and MixMaskPercent as one weight out of 255 (a mask byte of 0
      // at full opacity weighs 255: the result itself).
      // Weighed byte by byte while the mask is grey (the usual case); a
      // pixel whose other bytes differ makes the run take its first bytes.
      const uint8_t* MC = M + 3 * static_cast<ptrdiff_t>(I);
      auto Weight = [Opacity](int m) {
        const int V = 255 - m;
        return static_cast<uint8_t>(W == TWeigh::Mask ? V : static_cast<uint16_t>(V * Opacity) / 100);
      };
      uint8_t Any = Wt[0] = Weight(MC[0]), NotGrey = 0;
      for (int J = 1; J < 3 * K; ++J) {
        Wt[J] = Weight(MC[J]);
        Any |= Wt[J];
        NotGrey |= static_cast<uint8_t>((MC[J] ^ MC[J - 1]) & GreyCheck[J]);
      }
      if (NotGrey != 0) {
        Any = 0;
        for (int J = 0; J < K; ++J) {
          Wt[3 * J] = Wt[3 * J + 1] = Wt[3 * J + 2] = Weight(MC[3 * J]);
          Any |= Wt[3 * J];
        }
      }
      if (Any == 0) continue; // all transparent: nothing to blend
    }
    // Normal's result is the source itself.
    const uint8_t* RC = SC;
    if constexpr (Mode != 0) {
      ChannelBytes<Mode>(R, DC, SC, 3 * K, F);
      RC = R;
    }
    if constexpr (Masked<W>)
      WeighBytes<255, false>(DC, RC, Wt, 0, 3 * K);
    else if constexpr (W == TWeigh::Full)
      std::memcpy(DC, RC, 3 * static_cast<size_t>(K));
    else
      WeighBytes<100, true>(DC, RC, nullptr, static_cast<uint8_t>(Opacity), 3 * K);
  }
}

using TChannelRow = void (*)(uint8_t* D, const uint8_t* S, const uint8_t* M, int N, int Opacity);

template <int Mode, TWeigh W> void ChannelRowBaseline(uint8_t* D, const uint8_t* S, const uint8_t* M, int N, int Op) {
  ChannelRowBody<Mode, W>(D, S, M, N, Op);
}
template <int Mode, TWeigh W>
LUMA_TARGET_AVX2 void ChannelRowAvx2(uint8_t* D, const uint8_t* S, const uint8_t* M, int N, int Op) {
  ChannelRowBody<Mode, W>(D, S, M, N, Op);
}

template <int Mode> void ChannelBytesBaseline(uint8_t* R, const uint8_t* D, const uint8_t* S, int N) {
  ChannelBytes<Mode>(R, D, S, N, TChannelFn<Mode>{});
}
template <int Mode> LUMA_TARGET_AVX2 void ChannelBytesAvx2(uint8_t* R, const uint8_t* D, const uint8_t* S, int N) {
  ChannelBytes<Mode>(R, D, S, N, TChannelFn<Mode>{});
}
void WeighBytesBaseline(uint8_t* D, const uint8_t* T, const uint8_t* W, int N) {
  WeighBytes<255, false>(D, T, W, 0, N);
}
LUMA_TARGET_AVX2 void WeighBytesAvx2(uint8_t* D, const uint8_t* T, const uint8_t* W, int N) {
  WeighBytes<255, false>(D, T, W, 0, N);
}

// The offset merge of a channel mode: every source position lies inside the
// mask (the caller has clipped to it).
template <int Mode, TWeigh W>
void ChannelRows(const TBitmap& Src, const TBitmap* Mask, TBitmap& Dst, const TRect& Clip, int DX, int DY,
                 int Opacity) {
  const TChannelRow Row = PickKernel(&ChannelRowBaseline<Mode, W>, &ChannelRowAvx2<Mode, W>);
  const int N = Clip.Width();
  for (int Y = Clip.Top; Y < Clip.Bottom; ++Y) {
    uint8_t* D = Dst.ScanLine(Y) + 3 * static_cast<ptrdiff_t>(Clip.Left);
    const uint8_t* S = Src.ScanLine(Y + DY) + 3 * static_cast<ptrdiff_t>(Clip.Left + DX);
    const uint8_t* M = Masked<W> ? Mask->ScanLine(Y + DY) + 3 * static_cast<ptrdiff_t>(Clip.Left + DX) : nullptr;
    Row(D, S, M, N, Opacity);
  }
}

// Merges read Src as it was before the merge even when it is Dst itself.
class TSourceView {
public:
  TSourceView(const TBitmap& Src, const TBitmap& Dst) : FSrc(&Src) {
    if (&Src == &Dst) {
      FCopy.Assign(Src);
      FSrc = &FCopy;
    }
  }
  const TBitmap& operator*() const { return *FSrc; }

private:
  TBitmap FCopy;
  const TBitmap* FSrc;
};

bool MergeableFormats(const TBitmap& Src, const TBitmap& Dst, const TBitmap* Mask) {
  return Src.PixelFormat() == pf24bit && Dst.PixelFormat() == pf24bit &&
         (!MaskPresent(Mask) || Mask->PixelFormat() == pf24bit);
}

// The offset merge after clipping: source pixel = destination pixel + (DX, DY).
void MergeOffset(const TBitmap& Src, const TBitmap* Mask, TBitmap& Dst, TRect Clip, int DX, int DY, int Opacity,
                 int BlendMode) {
  // Beyond the mask everything is transparent: leave that part out.
  if (MaskPresent(Mask)) Clip = IntersectRect(Clip, OffsetRect(BitmapRect(*Mask), -DX, -DY));
  if (Clip.IsEmpty()) return;
  const TSourceView Source(Src, Dst);
  WithBlendMode(BlendMode, [&](auto F) {
    WithWeigh(MaskPresent(Mask), Opacity, [&](auto W) {
      constexpr int Mode = decltype(F)::Code;
      if constexpr (ChannelMode<Mode>)
        ChannelRows<Mode, decltype(W)::value>(*Source, Mask, Dst, Clip, DX, DY, Opacity);
      else
        MergeRows<decltype(W)::value, true>(
            *Source, Mask, Dst, Clip, Opacity, [DY](int Y) { return Y + DY; }, [DX](int X) { return X + DX; }, F);
    });
  });
}

// The distance from From to To, exact however far apart they lie.
double Span(int From, int To) { return static_cast<double>(int64_t{To} - From); }

// Narrows the run [Lo, Hi) of destination positions to those whose source
// position SourceOf(p) lies in [First, End); SourceOf never decreases.
template <class Map> void NarrowToSource(int& Lo, int& Hi, int First, int End, Map SourceOf) {
  while (Lo < Hi && SourceOf(Lo) < First) ++Lo;
  while (Hi > Lo && SourceOf(Hi - 1) >= End) --Hi;
}

// SrcRect (not empty, possibly reaching past Src) stretched by nearest
// neighbour onto DstRect (not empty), inside DstClip (cut to Dst). Source
// positions are floored, so a source rectangle starting left of the bitmap
// maps its own pixels and not the bitmap's first ones; destination pixels
// whose source lies outside Src are left alone.
void StretchMerge(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, const TRect& DstRect, TRect DstClip,
                  int Opacity, const TBitmap* Mask, int BlendMode) {
  const double SrcW = Span(SrcRect.Left, SrcRect.Right), SrcH = Span(SrcRect.Top, SrcRect.Bottom);
  const double DstW = Span(DstRect.Left, DstRect.Right), DstH = Span(DstRect.Top, DstRect.Bottom);
  const double ScaleX = DstW / SrcW, ScaleY = DstH / SrcH;
  auto RowFor = [&](int Y) {
    return std::min(Trunc(std::floor(Span(DstRect.Top, Y) / ScaleY + SrcRect.Top)), SrcRect.Bottom - 1);
  };
  auto ColumnFor = [&](int X) {
    return std::min(Trunc(std::floor(Span(DstRect.Left, X) / ScaleX + SrcRect.Left)), SrcRect.Right - 1);
  };
  DstClip = IntersectRect(DstClip, DstRect);
  const TRect Readable = IntersectRect(SrcRect, BitmapRect(Src));
  NarrowToSource(DstClip.Top, DstClip.Bottom, Readable.Top, Readable.Bottom, RowFor);
  NarrowToSource(DstClip.Left, DstClip.Right, Readable.Left, Readable.Right, ColumnFor);
  if (DstClip.IsEmpty()) return;
  if (DstW == SrcW && DstH == SrcH) {
    MergeOffset(Src, Mask, Dst, DstClip, ColumnFor(DstClip.Left) - DstClip.Left, RowFor(DstClip.Top) - DstClip.Top,
                Opacity, BlendMode);
    return;
  }
  const TSourceView Source(Src, Dst);
  WithBlendMode(BlendMode, [&](auto F) {
    WithWeigh(MaskPresent(Mask), Opacity, [&](auto W) {
      MergeRows<decltype(W)::value, false>(*Source, Mask, Dst, DstClip, Opacity, RowFor, ColumnFor, F);
    });
  });
}

// Corners in their own order: not mirrored, not turned half round.
bool Upright(const TTransformation& T) {
  TRectVertices V;
  T.GetVertices(V);
  return V[0].X <= V[1].X && V[0].Y <= V[3].Y;
}

template <int Kind> // 0 full, 1 opacity 1..99, 2 signed
using TColorKind = std::integral_constant<int, Kind>;
} // namespace

void BlendRect24(const TBitmap& Src, TRect SrcRect, TBitmap& Dst, int X, int Y, TRect DstClip, int Opacity,
                 const TBitmap* Mask, int BlendMode) {
  if (Opacity <= 0 || !MergeableFormats(Src, Dst, Mask)) return;
  Opacity = std::min(Opacity, 100);
  if (!ClipToBitmap(SrcRect, Src) || !ClipToBitmap(DstClip, Dst)) return;
  DstClip = IntersectRect(DstClip, ClampedBounds(X, Y, SrcRect.Width(), SrcRect.Height()));
  if (DstClip.IsEmpty()) return;
  SelectBlendMode(BlendMode);
  MergeOffset(Src, Mask, Dst, DstClip, SrcRect.Left - X, SrcRect.Top - Y, Opacity, BlendMode);
}

void BlendStretchRect24(const TBitmap& Src, TRect SrcRect, TBitmap& Dst, const TRect& DstRect, TRect DstClip,
                        int Opacity, const TBitmap* Mask, int BlendMode) {
  if (Opacity <= 0 || !MergeableFormats(Src, Dst, Mask)) return;
  Opacity = std::min(Opacity, 100);
  if (!ClipToBitmap(SrcRect, Src) || DstRect.IsEmpty() || !ClipToBitmap(DstClip, Dst)) return;
  SelectBlendMode(BlendMode);
  StretchMerge(Src, SrcRect, Dst, DstRect, DstClip, Opacity, Mask, BlendMode);
}

void BlendTransformRect24(const TBitmap& Src, TBitmap& Dst, const TRect& DstRect, TRect DstClip,
                          TTransformation& Transformation, int Opacity, const TBitmap* Mask, int BlendMode) {
  if (Opacity < 1 || !MergeableFormats(Src, Dst, Mask)) return;
  Opacity = std::min(Opacity, 100);
  const TRect SrcRect = Transformation.SrcRect();
  if (SrcRect.IsEmpty() || DstRect.IsEmpty() || !ClipToBitmap(DstClip, Dst)) return;
  // The source rectangle may reach past the bitmap: only what both hold is read.
  const TRect Readable = IntersectRect(SrcRect, BitmapRect(Src));
  if (Readable.IsEmpty()) return;
  Transformation.Prepare();
  SelectBlendMode(BlendMode);

  if (Transformation.ScaleOnly() && Upright(Transformation)) {
    StretchMerge(Src, SrcRect, Dst, DstRect, DstClip, Opacity, Mask, BlendMode);
    return;
  }
  const TRect B = Transformation.GetBounds();
  if (RectWidth(B) == 0 || RectHeight(B) == 0) return;
  const double ScaleX = std::abs(Span(DstRect.Left, DstRect.Right)) / RectWidth(B);
  const double ScaleY = std::abs(Span(DstRect.Top, DstRect.Bottom)) / RectHeight(B);
  const int64_t OffX = int64_t{Round(DstRect.Left / ScaleX)} - B.Left;
  const int64_t OffY = int64_t{Round(DstRect.Top / ScaleY)} - B.Top;
  DstClip = IntersectRect(DstClip, DstRect);
  if (DstClip.IsEmpty()) return;

  const TSourceView Source(Src, Dst);
  WithBlendMode(BlendMode, [&](auto F) {
    WithWeigh(MaskPresent(Mask), Opacity, [&](auto WC) {
      constexpr TWeigh W = decltype(WC)::value;
      for (int Y = DstClip.Top; Y < DstClip.Bottom; ++Y) {
        TRGB* D = RowOf(Dst, Y);
        const int RY = ClampToInt(Round(Y / ScaleY) - OffY);
        for (int X = DstClip.Left; X < DstClip.Right; ++X) {
          double U, V;
          Transformation.Reverse(ClampToInt(Round(X / ScaleX) - OffX), RY, U, V);
          const TPoint P{Round(U), Round(V)};
          if (!PtInRect(Readable, P)) continue;
          TRGB M{};
          if constexpr (Masked<W>) {
            // Fully transparent pixels still go through the blend; only
            // positions outside the mask are left alone.
            const TMaskRow Row(*Mask, P.Y);
            if (Row.Outside() || static_cast<unsigned>(P.X) >= static_cast<unsigned>(Mask->Width())) continue;
            const uint8_t m = Row.At(P.X);
            M = {m, m, m};
          }
          MergeOne<W>(D[X], RowOf(*Source, P.Y)[P.X], M, Opacity, F);
        }
      }
    });
  });
}

void BlendColorRect24(TColor Color, int Opacity, TBitmap& Dst, TRect Rect, int BlendMode) {
  if (Opacity == 0 || Dst.PixelFormat() != pf24bit) return;
  Opacity = std::clamp(Opacity, -100, 100);
  if (!ClipToBitmap(Rect, Dst)) return;
  const TRGB C = ColorToTRGB(Color);
  SelectBlendMode(BlendMode);
  auto Fill = [&](auto F, auto KindC) {
    constexpr int Kind = decltype(KindC)::value;
    for (int Y = Rect.Top; Y < Rect.Bottom; ++Y) {
      TRGB* D = RowOf(Dst, Y);
      for (int X = Rect.Left; X < Rect.Right; ++X) {
        if constexpr (Kind == 0)
          D[X] = F(D[X], C);
        else if constexpr (Kind == 1)
          MixPercent(D[X], F(D[X], C), Opacity);
        else
          WeighSigned100(D[X], F(D[X], C), Opacity);
      }
    }
  };
  WithBlendMode(BlendMode, [&](auto F) {
    if (Opacity == 100)
      Fill(F, TColorKind<0>{});
    else if (Opacity > 0)
      Fill(F, TColorKind<1>{});
    else
      Fill(F, TColorKind<2>{});
  });
}

void BlendChannelBytes(int Mode, uint8_t* R, const uint8_t* D, const uint8_t* S, int N) {
  WithBlendMode(Mode, [&](auto F) {
    constexpr int Code = decltype(F)::Code;
    if constexpr (Code == 0)
      std::memcpy(R, S, static_cast<size_t>(std::max(N, 0)));
    else if constexpr (ChannelMode<Code>)
      PickKernel(&ChannelBytesBaseline<Code>, &ChannelBytesAvx2<Code>)(R, D, S, N);
  });
}

void WeighBytes255(uint8_t* D, const uint8_t* T, const uint8_t* W, int N) {
  PickKernel(&WeighBytesBaseline, &WeighBytesAvx2)(D, T, W, N);
}
