#include "raster/Bitmap24.h"

#include "platform/Rounding.h"
#include "platform/VectorDispatch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

// How the routines are built: every copy and mask-painting routine goes
// through one placement loop (PlaceAndMix), the tiling routines through one
// tiling loop (TileAndMix). Both hand each destination row to MixRun, which
// works in chunks: a source run (a bitmap row, a colour or a tiled pattern),
// then a blend that weighs every byte (a constant, a mask byte through a
// weight function, a colour key) and mixes with one byte-wise vector kernel.
// Chunks whose weights are all zero are skipped and those whose weights are
// all full are copied; the results are exactly those of the pixel helpers.

namespace {

constexpr int Chunk = 1024; // pixels per pass over the stack buffers

bool Usable(const TBitmap& B) { return B.PixelFormat() == pf24bit && !B.Empty(); }

// Whether a mask argument counts: null or empty means "no mask".
bool HasMask(const TBitmap* Mask) { return Mask && !Mask->Empty(); }

// The non-negative remainder of A mod B (B > 0), without overflow.
int PosMod(int64_t A, int B) {
  const int64_t M = A % B;
  return static_cast<int>(M < 0 ? M + B : M);
}

// ---- The byte-wise mix ----
// d := d + (s - d) * w div Div on every byte, truncating toward zero, w in
// 0..Div. Written once on vectors of Size bytes: the magnitude |s - d| times w
// fits in a 16-bit lane (even and odd bytes apart), and the quotient, no
// larger than |s - d|, is added to or taken from d in bytes.
template <int Size> struct TVectors {
  typedef uint8_t Bytes __attribute__((vector_size(Size)));
  typedef uint16_t Words __attribute__((vector_size(Size)));
};

template <int Size, int Div, bool ConstWeight>
[[gnu::always_inline]] inline void MixKernel(uint8_t* D, const uint8_t* S, const uint8_t* W, uint8_t Weight, int N) {
  static_assert(Div * 255 <= 65535);
  using TBytes = typename TVectors<Size>::Bytes;
  using TWords = typename TVectors<Size>::Words;
  constexpr uint16_t Divisor = Div;
  TBytes Wv;
  for (int K = 0; K < Size; ++K) Wv[K] = Weight;
  int I = 0;
  for (; I + Size <= N; I += Size) {
    TBytes Dv, Sv;
    std::memcpy(&Dv, D + I, Size);
    std::memcpy(&Sv, S + I, Size);
    if constexpr (!ConstWeight) std::memcpy(&Wv, W + I, Size);
    const TBytes Max = Dv > Sv ? Dv : Sv;
    const TBytes A = Max - (Dv > Sv ? Sv : Dv);
    const TBytes Down = reinterpret_cast<TBytes>(Max == Dv); // all ones where d >= s
    const TWords Aw = reinterpret_cast<TWords>(A), Ww = reinterpret_cast<TWords>(Wv);
    const TWords Even = (Aw & 0xFF) * (Ww & 0xFF) / Divisor;
    const TWords Odd = (Aw >> 8) * (Ww >> 8) / Divisor;
    const TBytes Q = reinterpret_cast<TBytes>(Even | (Odd << 8));
    const TBytes R = Dv + ((Q ^ Down) - Down); // (q ^ all ones) - all ones is -q
    std::memcpy(D + I, &R, Size);
  }
  for (; I < N; ++I) D[I] = static_cast<uint8_t>(D[I] + (S[I] - D[I]) * (ConstWeight ? Weight : W[I]) / Div);
}

// The kernels are built for the baseline instruction set and once more for
// AVX2 (platform/VectorDispatch.h); PickKernel chooses one per call (per
// chunk, not per pixel). The integer results are the same either way.

template <int Div, bool ConstWeight>
void MixKernelBaseline(uint8_t* D, const uint8_t* S, const uint8_t* W, uint8_t Weight, int N) {
  MixKernel<16, Div, ConstWeight>(D, S, W, Weight, N);
}
template <int Div, bool ConstWeight>
LUMA_TARGET_AVX2 void MixKernelAvx2(uint8_t* D, const uint8_t* S, const uint8_t* W, uint8_t Weight, int N) {
  MixKernel<32, Div, ConstWeight>(D, S, W, Weight, N);
}

// N bytes, each with its own weight W[i].
template <int Div> void MixBytes(uint8_t* D, const uint8_t* S, const uint8_t* W, int N) {
  PickKernel(MixKernelBaseline<Div, false>, MixKernelAvx2<Div, false>)(D, S, W, uint8_t{0}, N);
}

// Applies K pixels with one weight over Div for the whole run.
template <int Div> void MixConst(uint8_t* D, const uint8_t* S, int K, int W) {
  if (W >= Div)
    std::memcpy(D, S, 3 * static_cast<size_t>(K));
  else if (W > 0)
    PickKernel(MixKernelBaseline<Div, true>, MixKernelAvx2<Div, true>)(D, S, nullptr, static_cast<uint8_t>(W), 3 * K);
}

// Applies K pixels with the weights of WeightOf(pixel index), expanded to
// the three bytes of each pixel in W; runs of zero or full weight take the
// short paths.
template <int Div, class PixelWeightFn>
void MixExpanded(uint8_t* D, const uint8_t* S, int K, uint8_t* W, PixelWeightFn&& WeightOf) {
  unsigned Any = 0, All = 0xFF;
  for (int J = 0; J < K; ++J) {
    const uint8_t V = WeightOf(J);
    W[3 * J] = W[3 * J + 1] = W[3 * J + 2] = V;
    Any |= V;
    All &= V;
  }
  if (Any == All)
    MixConst<Div>(D, S, K, static_cast<int>(Any));
  else
    MixBytes<Div>(D, S, W, 3 * K);
}

// Applies N pixels at D. Source(I, K, Buffer) gives the bytes of pixels
// I..I+K-1 of the run (in Buffer or elsewhere, never overlapping D);
// Blend(D, S, I, K, WeightBuffer) applies them.
template <class SourceFn, class BlendFn> void MixRun(uint8_t* D, int N, SourceFn&& Source, BlendFn&& Blend) {
  alignas(32) uint8_t SBuf[3 * Chunk];
  alignas(32) uint8_t WBuf[3 * Chunk];
  for (int I = 0; I < N; I += Chunk) {
    const int K = std::min(Chunk, N - I);
    Blend(D + 3 * static_cast<ptrdiff_t>(I), Source(I, K, SBuf), I, K, WBuf);
  }
}

// ---- Blends ----

// One weight everywhere (an opacity); Div or more copies.
template <int Div> struct TConstBlend {
  int W;
  void operator()(uint8_t* D, const uint8_t* S, int, int K, uint8_t*) const { MixConst<Div>(D, S, K, W); }
};

// Weights over 255 of a mask byte, written as arithmetic so that they
// vectorise. MixMaskPercent: (255 - m) * Percent div 100.
struct TMaskPercent {
  int Percent;
  uint8_t operator()(uint8_t M) const { return static_cast<uint8_t>(static_cast<uint16_t>((255 - M) * Percent) / 100); }
};
// MixMask, the same at 100 %: 255 - m.
struct TMaskFull {
  uint8_t operator()(uint8_t M) const { return static_cast<uint8_t>(255 - M); }
};
// MixAlphaMaskPercent: Percent * a div 100.
struct TAlphaPercent {
  int Percent;
  uint8_t operator()(uint8_t A) const { return static_cast<uint8_t>(static_cast<uint16_t>(A * Percent) / 100); }
};
// Full weight where the byte lies in Lo..Hi, none elsewhere.
struct TByteRange {
  uint8_t Lo, Hi;
  uint8_t operator()(uint8_t M) const { return M >= Lo && M <= Hi ? 255 : 0; }
};

// Bytes 1 and 2 of every pixel: where a grey mask repeats byte 0.
constexpr auto GreyCheck = [] {
  std::array<uint8_t, 3 * Chunk> T{};
  for (int I = 0; I < 3 * Chunk; ++I) T[I] = I % 3 ? 0xFF : 0;
  return T;
}();

// What one pass over a run of mask bytes finds: Odd is not 0 when some pixel
// is not grey; Or and And equal when every byte is the same.
struct TMaskSummary {
  uint8_t Odd, Or, And;
};

// W[j] := Weight(M[j]) for each byte of the run, and its summary.
template <class WeightFn>
[[gnu::always_inline]] inline TMaskSummary MaskWeightsKernel(const uint8_t* M, uint8_t* W, int Bytes, WeightFn Weight) {
  uint8_t Odd = 0, Or = M[0], And = M[0];
  W[0] = Weight(M[0]);
  for (int J = 1; J < Bytes; ++J) {
    W[J] = Weight(M[J]);
    Odd |= static_cast<uint8_t>((M[J] ^ M[J - 1]) & GreyCheck[J]);
    Or |= M[J];
    And &= M[J];
  }
  return {Odd, Or, And};
}
template <class WeightFn> TMaskSummary MaskWeightsBaseline(const uint8_t* M, uint8_t* W, int Bytes, WeightFn Weight) {
  return MaskWeightsKernel(M, W, Bytes, Weight);
}
template <class WeightFn>
LUMA_TARGET_AVX2 TMaskSummary MaskWeightsAvx2(const uint8_t* M, uint8_t* W, int Bytes, WeightFn Weight) {
  return MaskWeightsKernel(M, W, Bytes, Weight);
}

// Through a mask row read at the source position, with the weight function
// Weight of its first byte. Pixels at or beyond Valid lie outside the mask
// and count as 255 (weight 0).
template <class WeightFn> struct TMaskBlend {
  WeightFn Weight;
  const uint8_t* Mask; // the row's first mask pixel, null when the row lies outside the mask
  int Valid;
  void operator()(uint8_t* D, const uint8_t* S, int I, int K, uint8_t* W) const {
    const int Inside = std::clamp(Valid - I, 0, K);
    if (Inside == 0) return;
    const uint8_t* M = Mask + 3 * static_cast<ptrdiff_t>(I);
    const int Bytes = 3 * Inside;
    // On a grey mask (three equal bytes, the usual case) every byte weighs
    // itself and the weights need no expansion.
    const TMaskSummary Found =
        PickKernel(MaskWeightsBaseline<WeightFn>, MaskWeightsAvx2<WeightFn>)(M, W, Bytes, Weight);
    if (Found.Odd != 0)
      MixExpanded<255>(D, S, Inside, W, [&](int J) { return Weight(M[3 * J]); });
    else if (Found.Or == Found.And)
      MixConst<255>(D, S, Inside, Weight(Found.And));
    else
      MixBytes<255>(D, S, W, Bytes);
  }
};

// Through a mask tiled like the pattern: the mask pixel of a destination
// pixel is the one at its pattern position; positions outside a mask smaller
// than the pattern count as 255.
template <class WeightFn> struct TTiledMaskBlend {
  WeightFn Weight;
  const uint8_t* Row; // the mask row, null when the pattern row lies below the mask
  int MaskWidth;
  int PatternWidth;
  int C0; // pattern column of the run's first pixel
  void operator()(uint8_t* D, const uint8_t* S, int I, int K, uint8_t* W) const {
    if (!Row) return;
    int C = static_cast<int>((static_cast<int64_t>(C0) + I) % PatternWidth);
    MixExpanded<255>(D, S, K, W, [&](int) {
      const uint8_t V = C < MaskWidth ? Weight(Row[3 * C]) : uint8_t{0};
      if (++C == PatternWidth) C = 0;
      return V;
    });
  }
};

// Weights over 100 from the source itself: none where it lies within
// Tolerance of the key, else the opacity.
struct TKeyBlend {
  TRGB Key;
  int Tolerance;
  uint8_t Percent;
  void operator()(uint8_t* D, const uint8_t* S, int, int K, uint8_t* W) const {
    MixExpanded<100>(D, S, K, W, [&](int J) {
      const TRGB P{S[3 * J], S[3 * J + 1], S[3 * J + 2]};
      return Bitmap24Detail::WithinKey(P, Key, Tolerance) ? uint8_t{0} : Percent;
    });
  }
};

// ---- Sources ----

// One row of a pattern repeated from column C0: the row's tail, one whole
// row, then the buffer's own whole periods doubled, so that narrow patterns
// take few copies.
struct TTiledRow {
  const uint8_t* Row;
  int Width; // pattern width in pixels
  int C0;    // pattern column of the run's first pixel
  const uint8_t* operator()(int I, int K, uint8_t* Buf) const {
    const int C = static_cast<int>((static_cast<int64_t>(C0) + I) % Width);
    int J = std::min(K, Width - C);
    std::memcpy(Buf, Row + 3 * C, 3 * static_cast<size_t>(J));
    const int First = J; // pattern column 0 from here on
    if (J < K) {
      const int Len = std::min(Width, K - J);
      std::memcpy(Buf + 3 * J, Row, 3 * static_cast<size_t>(Len));
      J += Len;
    }
    while (J < K) {
      const int Len = std::min(J - First, K - J); // a whole number of periods
      std::memcpy(Buf + 3 * J, Buf + 3 * First, 3 * static_cast<size_t>(Len));
      J += Len;
    }
    return Buf;
  }
};

// A chunk of one colour, filled once per call.
struct TColorRun {
  std::array<uint8_t, 3 * Chunk> Bytes;
  explicit TColorRun(TColor Color) {
    const TRGB P = ColorToTRGB(Color);
    for (int J = 0; J < Chunk; ++J) std::memcpy(&Bytes[3 * J], &P, 3);
  }
  const uint8_t* operator()(int, int, uint8_t*) const { return Bytes.data(); }
};

// ---- The placement ----

// Runs of a bitmap read at source positions. When it is also the bitmap being
// written, each run is copied to a row buffer before its destination row is
// written, so that no pixel is read after it changed.
class TRowReader {
public:
  TRowReader(const TBitmap* Bitmap, const TBitmap& Dst, int MaxRun)
      : FBitmap(Bitmap), FBuffer(Bitmap == &Dst ? 3 * static_cast<size_t>(MaxRun) : 0) {}

  // Pixels SX.. of row SY, and how many of the N lie inside the bitmap (a
  // mask may be smaller than the source it goes with).
  const uint8_t* Read(int SX, int SY, int N, int& Valid) {
    Valid = 0;
    if (!FBitmap || SY >= FBitmap->Height() || SX >= FBitmap->Width()) return nullptr;
    Valid = std::min(N, FBitmap->Width() - SX);
    const uint8_t* P = FBitmap->ScanLine(SY) + 3 * static_cast<ptrdiff_t>(SX);
    if (FBuffer.empty()) return P;
    std::memcpy(FBuffer.data(), P, 3 * static_cast<size_t>(Valid));
    return FBuffer.data();
  }

private:
  const TBitmap* FBitmap;
  std::vector<uint8_t> FBuffer;
};

// The one placement loop of the copy and mask-painting routines:
// 1. SrcRect is clipped to Geometry (the source, or the mask that takes its
//    place), DstClip to Dst;
// 2. the painted rectangle R is DstClip cut to SrcRect's size placed at (X, Y);
// 3. each destination row y of R reads source row y - Y + SrcRect.Top, each
//    column x source column x - X + SrcRect.Left.
// Src and Mask (either may be null) are read at the source position.
// Source(S, Row, I, K, Buffer) gives the pixels to apply to pixels I..I+K-1
// of a row of R, S being the row's source run and Row its index in R;
// BlendOf(M, MValid) makes the blend of a row from its mask run. When a
// bitmap read is also Dst, rows are read through a buffer and run away from
// the overlap (bottom up when the destination lies lower).
template <class SourceFn, class BlendOfFn>
void PlaceAndMix(const TBitmap& Geometry, TRect SrcRect, TBitmap& Dst, int X, int Y, TRect DstClip, const TBitmap* Src,
                 const TBitmap* Mask, SourceFn&& Source, BlendOfFn&& BlendOf) {
  if (!Usable(Geometry) || !Usable(Dst) || !ClipToBitmap(SrcRect, Geometry) || !ClipToBitmap(DstClip, Dst)) return;
  const int64_t L = std::max<int64_t>(DstClip.Left, X);
  const int64_t T = std::max<int64_t>(DstClip.Top, Y);
  const int64_t R = std::min<int64_t>(DstClip.Right, int64_t{X} + RectWidth(SrcRect));
  const int64_t B = std::min<int64_t>(DstClip.Bottom, int64_t{Y} + RectHeight(SrcRect));
  if (R <= L || B <= T) return;
  const int N = static_cast<int>(R - L);
  const int64_t DY = int64_t{SrcRect.Top} - Y;
  const int SX = static_cast<int>(L + SrcRect.Left - X);
  const bool BottomUp = (Src == &Dst || Mask == &Dst) && DY < 0;
  TRowReader SrcRows(Src, Dst, N);
  TRowReader MaskRows(Mask, Dst, N);
  for (int64_t K = 0; K < B - T; ++K) {
    const int DstY = static_cast<int>(BottomUp ? B - 1 - K : T + K);
    const int SY = static_cast<int>(DstY + DY);
    int SValid, MValid;
    const uint8_t* S = SrcRows.Read(SX, SY, N, SValid);
    const uint8_t* M = MaskRows.Read(SX, SY, N, MValid);
    const int Row = static_cast<int>(DstY - T);
    MixRun(
        Dst.ScanLine(DstY) + 3 * L, N, [&](int I, int Len, uint8_t* Buf) { return Source(S, Row, I, Len, Buf); },
        BlendOf(M, MValid));
  }
}

// A source run read straight from the source bitmap.
const uint8_t* SourceRun(const uint8_t* S, int, int I, int, uint8_t*) { return S + 3 * static_cast<ptrdiff_t>(I); }

// The copy routines: Src placed on Dst, with the same blend on every row.
template <class BlendT>
void CopyPlaced(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                const BlendT& Blend) {
  PlaceAndMix(Src, SrcRect, Dst, X, Y, DstClip, &Src, nullptr, SourceRun,
              [&](const uint8_t*, int) -> const BlendT& { return Blend; });
}

// Source through Mask (the mask read at the source position) with the weight
// function Weight; Src is null when Mask takes the source's place.
template <class SourceFn, class WeightFn>
void PlaceThroughMask(const TBitmap& Geometry, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                      const TBitmap* Src, const TBitmap& Mask, SourceFn&& Source, WeightFn Weight) {
  if (!Usable(Mask)) return;
  PlaceAndMix(Geometry, SrcRect, Dst, X, Y, DstClip, Src, &Mask, Source, [&](const uint8_t* M, int MValid) {
    return TMaskBlend<WeightFn>{Weight, M, MValid};
  });
}

// Color through Mask with the weight function Weight.
template <class WeightFn>
void PaintColorThroughMask(const TBitmap& Mask, const TRect& MaskRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                           TColor Color, WeightFn Weight) {
  const TColorRun Colour(Color);
  PlaceThroughMask(
      Mask, MaskRect, Dst, X, Y, DstClip, nullptr, Mask,
      [&](const uint8_t*, int, int I, int K, uint8_t* Buf) { return Colour(I, K, Buf); }, Weight);
}

// ---- The tiling loop ----

// Pattern tiled over Rect of Dst from (X, Y). BlendOf(PatternRow, C0) makes
// the blend of a destination row, PatternRow being the pattern row it shows
// and C0 the pattern column of its first pixel.
template <class BlendOfFn>
void TileAndMix(const TBitmap& Pattern, TBitmap& Dst, int X, int Y, TRect Rect, BlendOfFn&& BlendOf) {
  if (!Usable(Pattern) || !Usable(Dst) || !ClipToBitmap(Rect, Dst)) return;
  const int PW = Pattern.Width();
  const int PH = Pattern.Height();
  const int C0 = PosMod(int64_t{Rect.Left} - X, PW);
  for (int DstY = Rect.Top; DstY < Rect.Bottom; ++DstY) {
    const int PY = PosMod(int64_t{DstY} - Y, PH);
    MixRun(Dst.ScanLine(DstY) + 3 * Rect.Left, Rect.Right - Rect.Left, TTiledRow{Pattern.ScanLine(PY), PW, C0},
           BlendOf(PY, C0));
  }
}

// ---- Textures ----

// Texture effects share this loop: TexelAt(Column, Row) with both relative to
// the clipped rectangle gives the texel, Apply(Pixel, Texel, Percent) the
// effect.
template <class TexelAtFn, class ApplyFn>
void ApplyTexture(const TBitmap& Texture, TBitmap& Dst, TRect Rect, int Percent, TexelAtFn&& TexelAt, ApplyFn&& Apply) {
  if (Percent <= 0 || !Usable(Texture) || !Usable(Dst) || !ClipToBitmap(Rect, Dst)) return;
  Percent = std::min(Percent, 100);
  for (int Y = Rect.Top; Y < Rect.Bottom; ++Y) {
    TRGB* Row = RowOf(Dst, Y);
    for (int X = Rect.Left; X < Rect.Right; ++X) Apply(Row[X], TexelAt(X - Rect.Left, Y - Rect.Top), Percent);
  }
}

uint8_t ClampByte(int V) { return static_cast<uint8_t>(std::clamp(V, 0, 255)); }

// The relief: L := texel grey - 128, M := Percent * L div 128; M > 1 lightens
// by M percent of the distance to white, M < -1 darkens by -M percent.
void Relief(TRGB& P, TRGB Texel, int Percent) {
  const int L = (Texel.Blue + Texel.Green + Texel.Red) / 3 - 128;
  const int M = Percent * L / 128;
  auto Channel = [M](uint8_t& C) {
    if (M > 1)
      C = static_cast<uint8_t>(std::min(255, C + (255 - C) * M / 100));
    else if (M < -1)
      C = static_cast<uint8_t>(std::max(0, C + M * C / 100));
  };
  Channel(P.Blue);
  Channel(P.Green);
  Channel(P.Red);
}

} // namespace

// ---- Copies ----

void CopyRect24(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip) {
  CopyPlaced(Src, SrcRect, Dst, X, Y, DstClip, TConstBlend<100>{100});
}

void CopyBitmap24(const TBitmap& Src, TBitmap& Dst, int X, int Y) {
  CopyRect24(Src, WholeBitmapRect, Dst, X, Y, WholeBitmapRect);
}

void CopyBitmap24Origin(const TBitmap& Src, TBitmap& Dst) { CopyBitmap24(Src, Dst, 0, 0); }

void CopyRect24Opacity(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                       int Opacity) {
  if (Opacity <= 0) return;
  CopyPlaced(Src, SrcRect, Dst, X, Y, DstClip, TConstBlend<100>{std::min(Opacity, 100)});
}

void CopyRect24Mask(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                    const TBitmap* Mask) {
  CopyRect24MaskOpacity(Src, SrcRect, Dst, X, Y, DstClip, 100, Mask);
}

void CopyRect24MaskOpacity(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                           int Opacity, const TBitmap* Mask) {
  if (!HasMask(Mask)) {
    CopyRect24Opacity(Src, SrcRect, Dst, X, Y, DstClip, Opacity);
    return;
  }
  if (Opacity < 1) return;
  if (Opacity >= 100)
    PlaceThroughMask(Src, SrcRect, Dst, X, Y, DstClip, &Src, *Mask, SourceRun, TMaskFull{});
  else
    PlaceThroughMask(Src, SrcRect, Dst, X, Y, DstClip, &Src, *Mask, SourceRun, TMaskPercent{Opacity});
}

void CopyRect24ColorKey(const TBitmap& Src, const TRect& SrcRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                        int Opacity, TColor KeyColor, int Tolerance) {
  if (KeyColor == clNone) {
    CopyRect24Opacity(Src, SrcRect, Dst, X, Y, DstClip, Opacity);
    return;
  }
  if (Opacity <= 0) return;
  CopyPlaced(Src, SrcRect, Dst, X, Y, DstClip,
             TKeyBlend{ColorToTRGB(KeyColor), Tolerance, static_cast<uint8_t>(std::min(Opacity, 100))});
}

// ---- Tiling ----

void TileBitmap24(const TBitmap& Pattern, TBitmap& Dst, int X, int Y, const TRect& Rect) {
  TileAndMix(Pattern, Dst, X, Y, Rect, [](int, int) { return TConstBlend<100>{100}; });
}

void TileBitmap24Opacity(const TBitmap& Pattern, TBitmap& Dst, int X, int Y, const TRect& Rect, int Opacity) {
  if (Opacity <= 0) return;
  const int P = std::min(Opacity, 100);
  TileAndMix(Pattern, Dst, X, Y, Rect, [P](int, int) { return TConstBlend<100>{P}; });
}

void TileBitmap24MaskOpacity(const TBitmap& Pattern, TBitmap& Dst, int X, int Y, const TRect& Rect, int Opacity,
                             const TBitmap* Mask) {
  if (!HasMask(Mask)) {
    TileBitmap24Opacity(Pattern, Dst, X, Y, Rect, Opacity);
    return;
  }
  if (Opacity < 1 || !Usable(*Mask)) return;
  const TMaskPercent Weight{std::min(Opacity, 100)};
  TileAndMix(Pattern, Dst, X, Y, Rect, [&](int PatternRow, int C0) {
    const uint8_t* Row = PatternRow < Mask->Height() ? Mask->ScanLine(PatternRow) : nullptr;
    return TTiledMaskBlend<TMaskPercent>{Weight, Row, Mask->Width(), Pattern.Width(), C0};
  });
}

void TileBitmap24ColorKey(const TBitmap& Pattern, TBitmap& Dst, int X, int Y, const TRect& Rect, int Opacity,
                          TColor KeyColor, int Tolerance) {
  if (KeyColor == clNone) {
    TileBitmap24Opacity(Pattern, Dst, X, Y, Rect, Opacity);
    return;
  }
  if (Opacity <= 0) return;
  const TKeyBlend Blend{ColorToTRGB(KeyColor), std::max(Tolerance, 0), static_cast<uint8_t>(std::min(Opacity, 100))};
  TileAndMix(Pattern, Dst, X, Y, Rect, [&](int, int) { return Blend; });
}

// ---- Painting through a mask ----

void FillColorMask24(const TBitmap& Mask, const TRect& MaskRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                     TColor Color, int Opacity) {
  if (Opacity <= 0) return;
  PaintColorThroughMask(Mask, MaskRect, Dst, X, Y, DstClip, Color, TMaskPercent{std::min(Opacity, 100)});
}

void FillPatternMask24(const TBitmap& Mask, const TRect& MaskRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                       const TBitmap& Pattern, int Opacity) {
  if (Opacity <= 0 || !Usable(Pattern)) return;
  // Anchored at the painted rectangle: its first row and column show the
  // pattern's first row and column.
  PlaceThroughMask(
      Mask, MaskRect, Dst, X, Y, DstClip, nullptr, Mask,
      [&](const uint8_t*, int Row, int I, int K, uint8_t* Buf) {
        return TTiledRow{Pattern.ScanLine(Row % Pattern.Height()), Pattern.Width(), 0}(I, K, Buf);
      },
      TMaskPercent{std::min(Opacity, 100)});
}

void FillColorByteRange24(const TBitmap& Mask, const TRect& MaskRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                          TColor Color, int Lo, int Hi) {
  Lo = std::max(Lo, 0);
  Hi = std::min(Hi, 255);
  if (Lo > Hi) return;
  PaintColorThroughMask(Mask, MaskRect, Dst, X, Y, DstClip, Color,
                        TByteRange{static_cast<uint8_t>(Lo), static_cast<uint8_t>(Hi)});
}

void FillColorAlpha24(const TBitmap& Alpha, const TRect& AlphaRect, TBitmap& Dst, int X, int Y, const TRect& DstClip,
                      TColor Color, int Opacity) {
  if (Opacity <= 0) return;
  PaintColorThroughMask(Alpha, AlphaRect, Dst, X, Y, DstClip, Color, TAlphaPercent{std::min(Opacity, 100)});
}

// ---- Textures ----

void ApplyTextureTone24(const TBitmap& Texture, TBitmap& Dst, const TRect& Rect, int Percent) {
  const int TW = Texture.Width(), TH = Texture.Height();
  ApplyTexture(
      Texture, Dst, Rect, Percent, [&](int X, int Y) { return RowOf(Texture, Y % TH)[X % TW]; },
      [](TRGB& P, TRGB Texel, int Pct) {
        const int S = Texel.Blue + Texel.Green + Texel.Red;
        if (S > 15 && S < 750) return;
        const int G = S <= 15 ? -Pct : Pct;
        P.Blue = ClampByte(P.Blue + P.Blue * G / 100);
        P.Green = ClampByte(P.Green + P.Green * G / 100);
        P.Red = ClampByte(P.Red + P.Red * G / 100);
      });
}

void ApplyTextureRelief24(const TBitmap& Texture, TBitmap& Dst, int OffsetX, int OffsetY, const TRect& Rect,
                          int Percent) {
  const int TW = Texture.Width(), TH = Texture.Height();
  ApplyTexture(
      Texture, Dst, Rect, Percent,
      [&](int X, int Y) { return RowOf(Texture, PosMod(int64_t{Y} - OffsetY, TH))[PosMod(int64_t{X} - OffsetX, TW)]; },
      Relief);
}

void ApplyTextureReliefScaled24(const TBitmap& Texture, TBitmap& Dst, double Scale, const TRect& Rect, int Percent) {
  if (!(Scale > 0)) return;
  const int TW = Texture.Width(), TH = Texture.Height();
  ApplyTexture(
      Texture, Dst, Rect, Percent,
      [&](int X, int Y) { return RowOf(Texture, Round(Y / Scale) % TH)[Round(X / Scale) % TW]; }, Relief);
}

// ---- Creation and assignment ----

void NewBitmap24(TBitmap& Bitmap, int Width, int Height, TColor Color) {
  Bitmap.ReleaseImage();
  Bitmap.Transparent = false;
  Bitmap.SetPixelFormat(pf24bit);
  Bitmap.Canvas().Brush.Color = Color;
  Bitmap.SetSize(Width, Height);
}

void EnsureBitmap24(TBitmap& Bitmap, int Width, int Height, TColor Color) {
  if (Bitmap.PixelFormat() != pf24bit || Bitmap.Width() != Width || Bitmap.Height() != Height)
    NewBitmap24(Bitmap, Width, Height, Color);
}

void Assign24(const TBitmap& Src, TBitmap& Dst) {
  if (&Src == &Dst) return;
  if (Src.PixelFormat() != pf24bit) {
    // Rows of another format are not Width * 3 bytes long: convert instead.
    Dst.Assign(Src);
    Dst.SetPixelFormat(pf24bit);
    return;
  }
  if (Dst.PixelFormat() != pf24bit || Dst.Width() != Src.Width() || Dst.Height() != Src.Height()) {
    Dst.ReleaseImage();
    Dst.SetPixelFormat(pf24bit);
    Dst.SetSizeUnfilled(Src.Width(), Src.Height()); // every pixel is copied below
  }
  const size_t RowBytes = 3 * static_cast<size_t>(Src.Width());
  for (int Y = 0; Y < Src.Height(); ++Y) std::memcpy(Dst.ScanLine(Y), Src.ScanLine(Y), RowBytes);
  Dst.SetTransparentColor(Src.TransparentMode() == TTransparentMode::tmFixed ? Src.TransparentColor() : clDefault);
  Dst.Transparent = Src.Transparent;
}
