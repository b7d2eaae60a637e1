#include "raster/RandomGen.h"

#include <chrono>

namespace {
uint32_t State = 0;
std::optional<uint32_t> FixedSeed;

uint32_t Next() {
  State = State * 0x08088405u + 1u;
  return State;
}
} // namespace

void SeedRandom(uint32_t Seed) { State = Seed; }

uint32_t RandomSeed() { return State; }

void Randomize() {
  if (FixedSeed) {
    State = *FixedSeed;
    return;
  }
  const auto Ticks = std::chrono::system_clock::now().time_since_epoch().count();
  State = static_cast<uint32_t>(Ticks) ^ static_cast<uint32_t>(static_cast<uint64_t>(Ticks) >> 32);
}

int Random(int N) {
  if (N <= 0) return 0;
  // The high half of the product: uses the generator's better high bits.
  return static_cast<int>((static_cast<uint64_t>(Next()) * static_cast<uint32_t>(N)) >> 32);
}

double RandomFloat() { return Next() * (1.0 / 4294967296.0); }

TFixedRandomize::TFixedRandomize(uint32_t Seed) : FPrevious(FixedSeed) { FixedSeed = Seed; }

TFixedRandomize::~TFixedRandomize() { FixedSeed = FPrevious; }
