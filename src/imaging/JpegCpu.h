// Whether the vector paths of the JPEG stages may run on this processor (AVX2), decided once.
// Every vector path gives bit-identical results to its scalar reference.
#pragma once

namespace lumora {

bool JpegUseAvx2();

}  // namespace lumora
