// The program's one pseudo-random generator, shared by every effect that
// draws random numbers (the Diffusion blend mode, plasma clouds, noise,
// airbrush). A 32-bit linear congruential generator: cheap, uniform enough for
// dithering-like effects, and reproducible from a seed. Depends on nothing.
// Interface thread only: the state is process-wide and not locked.
//
// Effects that want a different picture on every run call Randomize() at the
// start of each call; tests make those runs reproducible with
// TFixedRandomize, which makes Randomize() seed from a fixed value instead of
// the clock.
#pragma once

#include <cstdint>
#include <optional>

// Sets the generator's state.
void SeedRandom(uint32_t Seed);
// The generator's state, which the next draw advances.
uint32_t RandomSeed();
// Seeds from the wall clock (different on every run), or from the value a
// TFixedRandomize put in force.
void Randomize();
// A uniform integer in 0..N-1; 0 when N <= 0 (Random(0) = 0).
int Random(int N);
// A uniform double in [0, 1).
double RandomFloat();

// While alive, Randomize() seeds with Seed instead of the clock; the previous
// behaviour comes back afterwards.
class TFixedRandomize {
public:
  explicit TFixedRandomize(uint32_t Seed);
  ~TFixedRandomize();
  TFixedRandomize(const TFixedRandomize&) = delete;
  TFixedRandomize& operator=(const TFixedRandomize&) = delete;

private:
  std::optional<uint32_t> FPrevious;
};
