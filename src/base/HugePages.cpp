#include "base/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace lumora {

void AdviseHugePages(void* start, size_t size) {
  constexpr size_t kPage = 4096, kWorthIt = size_t{4} << 20;
  if (!start || size < kWorthIt) return;
  const auto from = reinterpret_cast<uintptr_t>(start);
  const uintptr_t aligned = (from + kPage - 1) & ~uintptr_t{kPage - 1};
  madvise(reinterpret_cast<void*>(aligned), from + size - aligned, MADV_HUGEPAGE);
}

}  // namespace lumora
