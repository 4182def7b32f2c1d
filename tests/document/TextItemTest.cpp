#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/document/TextItem.h"

namespace lumora {
namespace {

struct ShadowCase {
  float size;
  int pixels;
};

class ShadowRule : public ::testing::TestWithParam<ShadowCase> {};

TEST_P(ShadowRule, OffsetsByFontSize) {
  const auto [size, pixels] = GetParam();
  EXPECT_EQ(ShadowOffsetPixels(size), pixels);
  TextItem item;
  item.FontSize = size;
  item.Left = 1000;
  item.Top = -300;
  EXPECT_EQ(item.ShadowLeft(), 1000 + pixels * 15);
  EXPECT_EQ(item.ShadowTop(), -300 + pixels * 15);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShadowRule,
                         ::testing::Values(ShadowCase{1, 1}, ShadowCase{16, 1}, ShadowCase{16.99f, 1},
                                           ShadowCase{17, 2}, ShadowCase{37.9f, 2}, ShadowCase{38, 3},
                                           ShadowCase{48, 3}, ShadowCase{48.5f, 3}, ShadowCase{49, 4},
                                           ShadowCase{1638, 4}));

TEST(ShadowRule, RoundsHalfTwipsToEven) {
  TextItem item;
  item.FontSize = 12;  // 1 pixel = 15 twips
  item.Left = 1117.5f;  // 1132.5 -> 1132
  item.Top = 1118.5f;   // 1133.5 -> 1134
  EXPECT_EQ(item.ShadowLeft(), 1132);
  EXPECT_EQ(item.ShadowTop(), 1134);
}

TEST(Clamps, PositionsStayWithinTwoToTheTwentyFourTwips) {
  EXPECT_EQ(ClampPosition(1e30), 16777216.0f);
  EXPECT_EQ(ClampPosition(-1e30), -16777216.0f);
  EXPECT_EQ(ClampPosition(-1234.5), -1234.5f);
  EXPECT_EQ(ClampPosition(std::numeric_limits<double>::quiet_NaN()), 0.0f);
  EXPECT_EQ(ClampPosition(std::numeric_limits<double>::infinity()), 0.0f);
}

TEST(Clamps, FontSizesStayBetweenOneAnd1638Points) {
  EXPECT_EQ(ClampFontSize(0), 1.0f);
  EXPECT_EQ(ClampFontSize(-5), 1.0f);
  EXPECT_EQ(ClampFontSize(9.75), 9.75f);
  EXPECT_EQ(ClampFontSize(1639), 1638.0f);
  EXPECT_EQ(ClampFontSize(std::numeric_limits<double>::quiet_NaN()), 1.0f);
  EXPECT_EQ(ClampFontSize(-std::numeric_limits<double>::infinity()), 1.0f);
}

}  // namespace
}  // namespace lumora
