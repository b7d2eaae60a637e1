#include "filters/TapSums.h"

#include "filters/FilterLoops.h"

#include <algorithm>
#include <cstdlib>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LUMA_HAVE_TAP_VECTORS 1
#endif

namespace {

// Chunks of channels small enough for the sums to stay in the first-level
// cache while every tap is added.
constexpr size_t PlainChunk = 2048;

template <class TAcc>
LUMA_VECTOR_CLONES void SumTapsPlain(TAcc* __restrict Acc, size_t N, const TTap* Taps, int Count) {
  for (size_t C0 = 0; C0 < N; C0 += PlainChunk) {
    const size_t M = std::min(PlainChunk, N - C0);
    TAcc* __restrict A = Acc + C0;
    std::fill(A, A + M, TAcc{0});
    for (int T = 0; T < Count; ++T) {
      const uint8_t* __restrict P1 = Taps[T].P1 + C0;
      const uint8_t* __restrict P2 = Taps[T].P2 + C0;
      const TAcc W = Taps[T].Weight;
      for (size_t C = 0; C < M; ++C) A[C] += W * (TAcc{P1[C]} + TAcc{P2[C]});
    }
  }
}

#ifdef LUMA_HAVE_TAP_VECTORS
// Two taps at a time with a 16-bit multiply-add: the two 16-bit terms of a
// channel (P1 + P2 <= 510) are interleaved and multiplied by their weights,
// giving their weighted sum in 32 bits. The interleave works within 128-bit
// lanes; the sums are put back in channel order when stored.

inline int32_t WeightPair(const TTap* Taps, int T, int Count) {
  const auto High = static_cast<uint16_t>(T + 1 < Count ? Taps[T + 1].Weight : 0);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(Taps[T].Weight)) |
                              (static_cast<uint32_t>(High) << 16));
}

__attribute__((target("avx512bw"))) inline __m512i Term512(const TTap& Tap, size_t C) {
  const __m512i A = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(Tap.P1 + C)));
  const __m512i B = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(Tap.P2 + C)));
  return _mm512_add_epi16(A, B);
}

__attribute__((target("avx512bw"))) void SumTaps512(int32_t* Acc, size_t N, const TTap* Taps, int Count) {
  constexpr int Groups = 4; // of 32 channels
  const __m512i Order0 = _mm512_setr_epi32(0, 1, 2, 3, 16, 17, 18, 19, 4, 5, 6, 7, 20, 21, 22, 23);
  const __m512i Order1 = _mm512_setr_epi32(8, 9, 10, 11, 24, 25, 26, 27, 12, 13, 14, 15, 28, 29, 30, 31);
  for (size_t C0 = 0; C0 < N; C0 += 32 * Groups) {
    __m512i Lo[Groups], Hi[Groups];
    for (int G = 0; G < Groups; ++G) Lo[G] = Hi[G] = _mm512_setzero_si512();
    for (int T = 0; T < Count; T += 2) {
      const __m512i W = _mm512_set1_epi32(WeightPair(Taps, T, Count));
      const TTap& Second = Taps[T + 1 < Count ? T + 1 : T];
      for (int G = 0; G < Groups; ++G) {
        const size_t C = C0 + 32 * static_cast<size_t>(G);
        const __m512i S1 = Term512(Taps[T], C), S2 = Term512(Second, C);
        Lo[G] = _mm512_add_epi32(Lo[G], _mm512_madd_epi16(_mm512_unpacklo_epi16(S1, S2), W));
        Hi[G] = _mm512_add_epi32(Hi[G], _mm512_madd_epi16(_mm512_unpackhi_epi16(S1, S2), W));
      }
    }
    for (int G = 0; G < Groups; ++G) {
      int32_t* Out = Acc + C0 + 32 * static_cast<size_t>(G);
      _mm512_storeu_si512(Out, _mm512_permutex2var_epi32(Lo[G], Order0, Hi[G]));
      _mm512_storeu_si512(Out + 16, _mm512_permutex2var_epi32(Lo[G], Order1, Hi[G]));
    }
  }
}

__attribute__((target("avx2"))) inline __m256i Term256(const TTap& Tap, size_t C) {
  const __m256i A = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Tap.P1 + C)));
  const __m256i B = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Tap.P2 + C)));
  return _mm256_add_epi16(A, B);
}

__attribute__((target("avx2"))) void SumTaps256(int32_t* Acc, size_t N, const TTap* Taps, int Count) {
  constexpr int Groups = 4; // of 16 channels
  for (size_t C0 = 0; C0 < N; C0 += 16 * Groups) {
    __m256i Lo[Groups], Hi[Groups];
    for (int G = 0; G < Groups; ++G) Lo[G] = Hi[G] = _mm256_setzero_si256();
    for (int T = 0; T < Count; T += 2) {
      const __m256i W = _mm256_set1_epi32(WeightPair(Taps, T, Count));
      const TTap& Second = Taps[T + 1 < Count ? T + 1 : T];
      for (int G = 0; G < Groups; ++G) {
        const size_t C = C0 + 16 * static_cast<size_t>(G);
        const __m256i S1 = Term256(Taps[T], C), S2 = Term256(Second, C);
        Lo[G] = _mm256_add_epi32(Lo[G], _mm256_madd_epi16(_mm256_unpacklo_epi16(S1, S2), W));
        Hi[G] = _mm256_add_epi32(Hi[G], _mm256_madd_epi16(_mm256_unpackhi_epi16(S1, S2), W));
      }
    }
    for (int G = 0; G < Groups; ++G) {
      auto* Out = reinterpret_cast<__m256i*>(Acc + C0 + 16 * static_cast<size_t>(G));
      _mm256_storeu_si256(Out, _mm256_permute2x128_si256(Lo[G], Hi[G], 0x20));
      _mm256_storeu_si256(Out + 1, _mm256_permute2x128_si256(Lo[G], Hi[G], 0x31));
    }
  }
}

TTapPath BestPath() {
  static const TTapPath Path = __builtin_cpu_supports("avx512bw")
                                   ? TTapPath::Avx512
                                   : (__builtin_cpu_supports("avx2") ? TTapPath::Avx2 : TTapPath::Plain);
  return Path;
}
#endif

} // namespace

bool SumTapsOn(TTapPath Path, int32_t* Acc, size_t N, const TTap* Taps, int Count) {
  if (Path == TTapPath::Plain) {
    SumTapsPlain(Acc, N, Taps, Count);
    return true;
  }
#ifdef LUMA_HAVE_TAP_VECTORS
  const bool Short = std::all_of(Taps, Taps + Count, [](const TTap& T) { return std::abs(T.Weight) <= 32767; });
  if (!Short || Count == 0) return false;
  if (Path == TTapPath::Avx512 && __builtin_cpu_supports("avx512bw")) {
    SumTaps512(Acc, N, Taps, Count);
    return true;
  }
  if (Path == TTapPath::Avx2 && __builtin_cpu_supports("avx2")) {
    SumTaps256(Acc, N, Taps, Count);
    return true;
  }
#endif
  return false;
}

void SumTaps(int32_t* Acc, size_t N, const TTap* Taps, int Count) {
#ifdef LUMA_HAVE_TAP_VECTORS
  if (SumTapsOn(BestPath(), Acc, N, Taps, Count)) return;
#endif
  SumTapsPlain(Acc, N, Taps, Count);
}

void SumTaps(int64_t* Acc, size_t N, const TTap* Taps, int Count) { SumTapsPlain(Acc, N, Taps, Count); }
