#include "compose/DocumentFont.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <limits>

#include "app/document/TextItem.h"

namespace lumora {
namespace {

struct SizeCase {
  float points;
  int pixels;
};

class FontPixelSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(FontPixelSizeTest, PointIsFourThirdsPixel) { EXPECT_EQ(FontPixelSize(GetParam().points), GetParam().pixels); }

INSTANTIATE_TEST_SUITE_P(Sizes, FontPixelSizeTest,
                         testing::Values(SizeCase{9, 12}, SizeCase{12, 16}, SizeCase{24, 32}, SizeCase{72, 96},
                                         SizeCase{10, 13},     // 13.33
                                         SizeCase{11, 15},     // 14.67
                                         SizeCase{1.125f, 2},  // 1.5 -> 2 (half to even)
                                         SizeCase{1.875f, 2},  // 2.5 -> 2 (half to even)
                                         SizeCase{0.25f, 1},   // never below one pixel
                                         SizeCase{1638, 2184}));

TEST(FontPixelSize, NonFiniteSizesGiveOnePixel) {
  EXPECT_EQ(FontPixelSize(std::numeric_limits<float>::quiet_NaN()), 1);
  EXPECT_EQ(FontPixelSize(std::numeric_limits<float>::infinity()), 1);
}

TEST(DocumentFont, CarriesEveryField) {
  const QFont font = DocumentFont("DejaVu Serif", 18, true, true, true, true);
  EXPECT_EQ(font.family(), "DejaVu Serif");
  EXPECT_EQ(font.pixelSize(), 24);
  EXPECT_EQ(font.pointSize(), -1) << "sizes are pixels, never device-dependent points";
  EXPECT_TRUE(font.bold());
  EXPECT_TRUE(font.italic());
  EXPECT_TRUE(font.underline());
  EXPECT_TRUE(font.strikeOut());
  const QFont plain = DocumentFont("DejaVu Serif", 18, false, false, false, false);
  EXPECT_FALSE(plain.bold() || plain.italic() || plain.underline() || plain.strikeOut());
}

TEST(DocumentFont, TakesTheItemsFields) {
  TextItem item;
  item.FontName = "Liberation Sans";
  item.FontSize = 30;
  item.FontItalic = true;
  const QFont font = DocumentFont(item);
  EXPECT_EQ(font.family(), "Liberation Sans");
  EXPECT_EQ(font.pixelSize(), 40);
  EXPECT_TRUE(font.italic());
  EXPECT_FALSE(font.bold());
}

// The same item must be as large on a 192-DPI device as on a 96-DPI one: text positions in
// project files must not move between machines.
TEST(DocumentFont, SizeDoesNotFollowTheDeviceResolution) {
  const QFont font = DocumentFont("DejaVu Sans", 24, false, false, false, false);
  QImage at96(10, 10, QImage::Format_RGB32);
  at96.setDotsPerMeterX(3780);
  at96.setDotsPerMeterY(3780);
  QImage at192(10, 10, QImage::Format_RGB32);
  at192.setDotsPerMeterX(7560);
  at192.setDotsPerMeterY(7560);
  const QFontMetrics m96(font, &at96), m192(font, &at192);
  EXPECT_EQ(m96.height(), m192.height());
  EXPECT_EQ(m96.horizontalAdvance("Summer sale"), m192.horizontalAdvance("Summer sale"));
  EXPECT_GE(m96.height(), 32);
  EXPECT_LE(m96.height(), 40);
}

}  // namespace
}  // namespace lumora
