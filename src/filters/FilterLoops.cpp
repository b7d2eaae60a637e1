#include "filters/FilterLoops.h"

#include "raster/Bitmap24.h"

namespace FilterLoops {

bool Prepare24(TBitmap& Bitmap, TRect& R) {
  if (!ClipToBitmap(R, Bitmap)) return false;
  if (Bitmap.PixelFormat() != pf24bit) Bitmap.SetPixelFormat(pf24bit);
  return true;
}

const TBitmap& Source24(const TBitmap& Src, TBitmap& Holder) {
  if (Src.PixelFormat() == pf24bit) return Src;
  Assign24(Src, Holder);
  return Holder;
}

void LoadPaddedRow(const TRGB* Row, int Left, int Right, int PadLeft, int PadRight, TRGB* Dst) {
  std::fill_n(Dst, PadLeft, Row[Left]);
  Dst = std::copy(Row + Left, Row + Right, Dst + PadLeft);
  std::fill_n(Dst, PadRight, Row[Right - 1]);
}

namespace {

void TableScalar(uint8_t* P, size_t N, const TByteTable& T) {
  for (size_t I = 0; I < N; ++I) P[I] = T[P[I]];
}

// Bytes start at a blue byte.
void TablesScalar(uint8_t* P, size_t Pixels, const TByteTable& B, const TByteTable& G, const TByteTable& R) {
  for (size_t I = 0; I < Pixels; ++I, P += 3) {
    P[0] = B[P[0]];
    P[1] = G[P[1]];
    P[2] = R[P[2]];
  }
}

#ifdef LUMA_X86_VECTORS
// A 256-entry byte lookup is two 128-entry permutes chosen by the index's
// top bit: 64 bytes at a time, as fast as copying them.
struct TVbmiTable {
  __m512i Q0, Q1, Q2, Q3;
};

LUMA_TARGET_VBMI inline TVbmiTable LoadVbmiTable(const TByteTable& T) {
  return {_mm512_loadu_si512(T.data()), _mm512_loadu_si512(T.data() + 64), _mm512_loadu_si512(T.data() + 128),
          _mm512_loadu_si512(T.data() + 192)};
}

LUMA_TARGET_VBMI inline __m512i LookupVbmi(const TVbmiTable& T, __m512i X) {
  const __m512i Low = _mm512_permutex2var_epi8(T.Q0, X, T.Q1);
  const __m512i High = _mm512_permutex2var_epi8(T.Q2, X, T.Q3);
  return _mm512_mask_blend_epi8(_mm512_movepi8_mask(X), Low, High);
}

LUMA_TARGET_VBMI void TableVbmi(uint8_t* P, size_t N, const TByteTable& T) {
  const TVbmiTable V = LoadVbmiTable(T);
  size_t I = 0;
  for (; I + 64 <= N; I += 64) _mm512_storeu_si512(P + I, LookupVbmi(V, _mm512_loadu_si512(P + I)));
  TableScalar(P + I, N - I, T);
}

// Three vectors of 64 bytes hold 64 whole pixels; byte k of vector v is of
// channel (64 v + k) mod 3.
LUMA_TARGET_VBMI void TablesVbmi(uint8_t* P, size_t Pixels, const TByteTable& B, const TByteTable& G,
                                 const TByteTable& R) {
  const TVbmiTable VB = LoadVbmiTable(B), VG = LoadVbmiTable(G), VR = LoadVbmiTable(R);
  __mmask64 GreenMask[3] = {0, 0, 0}, RedMask[3] = {0, 0, 0};
  for (int V = 0; V < 3; ++V)
    for (int K = 0; K < 64; ++K) {
      const int Channel = (64 * V + K) % 3;
      if (Channel == 1) GreenMask[V] |= __mmask64{1} << K;
      if (Channel == 2) RedMask[V] |= __mmask64{1} << K;
    }
  size_t I = 0;
  for (; I + 64 <= Pixels; I += 64, P += 192)
    for (int V = 0; V < 3; ++V) {
      const __m512i X = _mm512_loadu_si512(P + 64 * V);
      __m512i Y = _mm512_mask_blend_epi8(GreenMask[V], LookupVbmi(VB, X), LookupVbmi(VG, X));
      Y = _mm512_mask_blend_epi8(RedMask[V], Y, LookupVbmi(VR, X));
      _mm512_storeu_si512(P + 64 * V, Y);
    }
  TablesScalar(P, Pixels - I, B, G, R);
}

#endif

} // namespace

void ApplyByteTable(TBitmap& Bitmap, const TRect& R, const TByteTable& T) {
  const size_t N = static_cast<size_t>(R.Width()) * 3;
  const auto Table = PickKernel(TableScalar, nullptr, LUMA_KERNEL(TableVbmi));
  for (int Y = R.Top; Y < R.Bottom; ++Y) Table(Bitmap.ScanLine(Y) + static_cast<ptrdiff_t>(R.Left) * 3, N, T);
}

void ApplyByteTables(TBitmap& Bitmap, const TRect& R, const TByteTable& Blue, const TByteTable& Green,
                     const TByteTable& Red) {
  if (Blue == Green && Green == Red) {
    ApplyByteTable(Bitmap, R, Blue);
    return;
  }
  const size_t Pixels = static_cast<size_t>(R.Width());
  const auto Tables = PickKernel(TablesScalar, nullptr, LUMA_KERNEL(TablesVbmi));
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    Tables(Bitmap.ScanLine(Y) + static_cast<ptrdiff_t>(R.Left) * 3, Pixels, Blue, Green, Red);
}

} // namespace FilterLoops
