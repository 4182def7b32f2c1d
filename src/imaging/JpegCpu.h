// Whether the vector paths of the JPEG stages may run on this processor (AVX2), decided once.
// Every vector path gives bit-identical results to its scalar reference.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LUMORA_JPEG_X86 1  // the AVX2 paths are compiled (and chosen at run time)
#endif

namespace lumora {

bool JpegUseAvx2();

}  // namespace lumora
