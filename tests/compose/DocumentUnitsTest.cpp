#include "compose/DocumentUnits.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

struct TwipsCase {
  double twips;
  int pixels;
};

class TwipsToPixelsTest : public testing::TestWithParam<TwipsCase> {};

TEST_P(TwipsToPixelsTest, WholeTwipsThenNearestPixel) { EXPECT_EQ(TwipsToPixels(GetParam().twips), GetParam().pixels); }

INSTANTIATE_TEST_SUITE_P(Positions, TwipsToPixelsTest,
                         testing::Values(TwipsCase{0, 0}, TwipsCase{15, 1}, TwipsCase{450, 30},
                                         TwipsCase{1117.5, 75},   // 1118 twips = 74.53 px
                                         TwipsCase{1102.5, 73},   // 1102 twips = 73.47 px
                                         TwipsCase{7.5, 1},       // 8 twips = 0.53 px
                                         TwipsCase{22.5, 1},      // 22 twips = 1.47 px
                                         TwipsCase{-22.5, -1}, TwipsCase{-7, 0}, TwipsCase{-8, -1},
                                         TwipsCase{16777216, 1118481}));

}  // namespace
}  // namespace lumora
