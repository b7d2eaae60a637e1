#include "filters/TapSums.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

// Every vector path gives the plain path's exact sums, for pairs, single
// cells, odd tap counts, extreme 16-bit weights and a length that is not a
// multiple of any vector width.
TEST(TapSumsTest, EveryPathGivesThePlainSums) {
  std::mt19937 Random(5);
  const size_t N = 1000;
  std::vector<std::vector<uint8_t>> Rows(9, std::vector<uint8_t>(N + TapSlack));
  for (auto& Row : Rows)
    for (uint8_t& B : Row) B = static_cast<uint8_t>(Random());
  const std::vector<uint8_t> Zeros(N + TapSlack, 0);
  for (const int Count : {1, 2, 5, 8}) {
    std::vector<TTap> Taps;
    for (int T = 0; T < Count; ++T) {
      const int32_t Weight = T == 0 ? 32767 : (T == 1 ? -32767 : static_cast<int32_t>(Random() % 4001) - 2000);
      Taps.push_back({Rows[T].data(), T % 3 == 2 ? Zeros.data() : Rows[T + 1].data() + 3, Weight});
    }
    std::vector<int32_t> Expected(N + TapSlack), Actual(N + TapSlack);
    for (size_t C = 0; C < N; ++C)
      for (const TTap& T : Taps) Expected[C] += T.Weight * (T.P1[C] + T.P2[C]);
    for (const TTapPath Path : {TTapPath::Plain, TTapPath::Avx2, TTapPath::Avx512}) {
      std::fill(Actual.begin(), Actual.end(), -1);
      if (!SumTapsOn(Path, Actual.data(), N, Taps.data(), Count)) continue;
      for (size_t C = 0; C < N; ++C) ASSERT_EQ(Actual[C], Expected[C]) << "path " << int(Path) << " channel " << C;
    }
  }
}
