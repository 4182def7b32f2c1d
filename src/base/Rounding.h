// Floating-point values become integers by rounding to nearest, halves to even, everywhere.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/LumoraError.h"

namespace lumora {

// std::nearbyint honours the default rounding mode, which is ties-to-even.
inline double RoundHalfEven(double v) { return std::nearbyint(v); }

// Rounds and converts, raising Overflow when the result does not fit (as a checked cast would).
template <typename Int>
Int RoundToInt(double v) {
  const double r = std::nearbyint(v);
  if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        r <= static_cast<double>(std::numeric_limits<Int>::max())))
    throw LumoraError::overflow();
  return static_cast<Int>(r);
}

}  // namespace lumora
