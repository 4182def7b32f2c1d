// Quantisation of the JPEG capture (T.81 A.3.4): each scaled DCT coefficient times its divisor,
// rounded to the nearest integer with ties to even, stored as a 16-bit value in zigzag order.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "imaging/JpegTables.h"

namespace lumora {

class JpegQuantiser {
 public:
  JpegQuantiser(const JpegQuantTable& table, const JpegZigzagMap& zigzag);

  // work in natural order; out receives 64 values in zigzag order. A value outside 16 bits
  // raises Overflow.
  void Quantise(std::span<const float, 64> work, std::span<int16_t, 64> out) const;
  // The scalar form every faster path must match bit for bit.
  void QuantiseReference(std::span<const float, 64> work, std::span<int16_t, 64> out) const;

 private:
  alignas(32) std::array<float, 64> m_divisors{};  // natural order
  JpegZigzagMap m_zigzag{};
  alignas(32) std::array<float, 64> m_zigzagDivisors{};  // the same in zigzag order
  alignas(32) std::array<int32_t, 64> m_natural{};       // per zigzag index, its natural position
};

}  // namespace lumora
