#include "platform/PixelMemory.h"

#include <algorithm>
#include <cstdlib>

#include <sys/mman.h>

namespace {

constexpr int64_t HugePage = int64_t(2) << 20;
// Below this a huge page would waste more than it saves.
constexpr int64_t HugeFrom = 2 * HugePage;

} // namespace

uint8_t* AllocatePixels(int64_t Bytes, size_t Alignment) {
  if (Bytes < 0 || Bytes > INT64_MAX - HugePage) throw EPixelAllocError(Bytes);
  const bool Huge = Bytes >= HugeFrom;
  const int64_t Align = Huge ? HugePage : int64_t(std::max<size_t>(Alignment, sizeof(void*)));
  const int64_t Rounded = std::max<int64_t>((Bytes + Align - 1) / Align * Align, Align);
  if (uint64_t(Rounded) > SIZE_MAX) throw EPixelAllocError(Bytes);
  void* P = std::aligned_alloc(size_t(Align), size_t(Rounded));
  if (!P) throw EPixelAllocError(Bytes);
#if defined(MADV_HUGEPAGE)
  // Only a hint: where the kernel has no huge pages the block stays as it is.
  if (Huge) madvise(P, size_t(Rounded), MADV_HUGEPAGE);
#endif
  return static_cast<uint8_t*>(P);
}

void TFreePixels::operator()(uint8_t* P) const noexcept { std::free(P); }
