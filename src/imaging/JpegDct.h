// The forward DCT of the JPEG capture (T.81 A.3.3): the Arai-Agui-Nakajima scaled float
// transform, columns first, then rows, in single precision. Its outputs are the true DCT
// coefficients times S[u] x S[v] (see kJpegDctScale); the quantiser's divisors remove the scale.
#pragma once

#include <cstddef>
#include <span>

namespace lumora {

// Reads an 8 x 8 block of samples (row r at rows + r x stride) and writes the coefficients in
// natural order (u + 8v).
void JpegForwardDct(const float* rows, ptrdiff_t stride, std::span<float, 64> out);
// The scalar form every faster path must match bit for bit.
void JpegForwardDctReference(const float* rows, ptrdiff_t stride, std::span<float, 64> out);

}  // namespace lumora
