// How a hot pixel loop picks its vector code: the one mechanism of every
// library (raster, filters). No dependency.
//
// Two forms, by who writes the vectors:
// - A plain loop that the compiler vectorises itself: mark its function
//   LUMA_VECTOR_CLONES. GCC builds it for x86-64-v4 (AVX-512), for AVX2 and
//   for the baseline, and the loader binds the best one the processor has.
// - A kernel written for one instruction set (intrinsics, or GCC vectors of
//   a chosen width): write its body once as an always-inline template, build
//   it in one function per level (plain for the baseline, LUMA_TARGET_AVX2,
//   LUMA_TARGET_VBMI), and take the function to call from PickKernel once per
//   row or call, never per pixel. LUMA_KERNEL(Name) names a kernel that
//   exists on x86-64 only (nullptr elsewhere).
// Every path gives the same results: integer maths, or floating maths without
// contraction. Tests run the baseline of the hand-written kernels through
// ForceBaselineKernels and compare.
#pragma once

#include <type_traits>

#if defined(__x86_64__) && defined(__GNUC__)
#define LUMA_X86_VECTORS 1
#define LUMA_TARGET_AVX2 __attribute__((target("avx2")))
#define LUMA_TARGET_VBMI __attribute__((target("avx512bw,avx512vbmi")))
#define LUMA_KERNEL(Name) (&Name)
#if defined(__clang__)
// clang (the fuzzing build) has no clones of templates: one baseline build.
#define LUMA_VECTOR_CLONES
#else
#define LUMA_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#endif
#include <immintrin.h>
#else
#define LUMA_TARGET_AVX2
#define LUMA_TARGET_VBMI
#define LUMA_KERNEL(Name) nullptr
#define LUMA_VECTOR_CLONES
#endif

enum class TVectorLevel { Baseline, Avx2, Vbmi /* AVX-512 BW and VBMI */ };

// The best level this processor has, or Baseline while it is forced.
TVectorLevel VectorLevel();
// For the tests: the hand-written kernels' baseline path from now on (true)
// or the best one again (false).
void ForceBaselineKernels(bool Force);

// The kernel of the best level available; a null entry falls back a level.
template <class Fn>
Fn* PickKernel(Fn* Baseline, std::type_identity_t<Fn>* Avx2, std::type_identity_t<Fn>* Vbmi = nullptr) {
  const TVectorLevel Level = VectorLevel();
  if (Level == TVectorLevel::Vbmi && Vbmi) return Vbmi;
  if (Level != TVectorLevel::Baseline && Avx2) return Avx2;
  return Baseline;
}
