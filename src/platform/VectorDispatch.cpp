#include "platform/VectorDispatch.h"

#include <atomic>

namespace {

std::atomic<bool> BaselineForced{false};

TVectorLevel ProcessorLevel() {
#if defined(LUMA_X86_VECTORS)
  if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi")) return TVectorLevel::Vbmi;
  if (__builtin_cpu_supports("avx2")) return TVectorLevel::Avx2;
#endif
  return TVectorLevel::Baseline;
}

} // namespace

TVectorLevel VectorLevel() {
  static const TVectorLevel Level = ProcessorLevel();
  return BaselineForced.load(std::memory_order_relaxed) ? TVectorLevel::Baseline : Level;
}

void ForceBaselineKernels(bool Force) { BaselineForced.store(Force, std::memory_order_relaxed); }
