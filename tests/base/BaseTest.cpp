// Rounding: halves to even, and overflow outside the type.
#include <gtest/gtest.h>

#include "base/Rounding.h"

namespace lumora {
namespace {

TEST(Rounding, HalvesGoToEven) {
  struct Case { double in; double out; };
  for (const Case c : {Case{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {367.5, 368}, {8.5, 8}, {2.4999, 2}})
    EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(Rounding, ConversionRaisesOverflowOutsideTheType) {
  EXPECT_EQ(RoundToInt<int16_t>(32767.4), 32767);
  EXPECT_THROW(RoundToInt<int16_t>(32767.5), LumoraError);
  EXPECT_THROW(RoundToInt<int32_t>(std::nan("")), LumoraError);
}

}  // namespace
}  // namespace lumora
