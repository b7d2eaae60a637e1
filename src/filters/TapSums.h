// The inner loop of the convolution engine, internal to src/filters: the
// weighted sums of rows of bytes, with vector paths chosen when the program
// starts. Every path computes the same exact integer sums.
#pragma once

#include <cstddef>
#include <cstdint>

// One term of a sum: Weight * (P1[c] + P2[c]). A single cell points P2 at a
// row of zeros; a pair of mirrored cells of equal weight shares one weight.
struct TTap {
  const uint8_t* P1;
  const uint8_t* P2;
  int32_t Weight;
};

// How many bytes past N the vector paths may read from P1 and P2, and Acc
// may be written: rows handed to SumTaps carry this much slack.
constexpr size_t TapSlack = 128;

// Acc[c] := the sum over the taps of Weight * (P1[c] + P2[c]), c in 0..N-1,
// in 32 bits: the caller guarantees that no sum leaves the int32 range.
// Weights beyond the 16-bit range take the plain path.
void SumTaps(int32_t* Acc, size_t N, const TTap* Taps, int Count);
// The same in 64 bits.
void SumTaps(int64_t* Acc, size_t N, const TTap* Taps, int Count);

// The 32-bit sums on one given path (for tests that check every path
// against the plain one); false, with Acc untouched, when this processor
// lacks it or a weight needs more than 16 bits.
enum class TTapPath { Plain, Avx2, Avx512 };
bool SumTapsOn(TTapPath Path, int32_t* Acc, size_t N, const TTap* Taps, int Count);
