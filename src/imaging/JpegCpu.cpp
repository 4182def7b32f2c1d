#include "imaging/JpegCpu.h"

#include <cstdlib>

namespace lumora {

bool JpegUseAvx2() {
#ifdef LUMORA_JPEG_X86
  // LUMORA_JPEG_SCALAR forces the reference paths (comparisons and benchmarks).
  static const bool use = __builtin_cpu_supports("avx2") && std::getenv("LUMORA_JPEG_SCALAR") == nullptr;
  return use;
#else
  return false;
#endif
}

}  // namespace lumora
