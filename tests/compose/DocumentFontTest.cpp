#include "compose/DocumentFont.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "app/document/TextItem.h"

namespace lumora {
namespace {

// Sizes are pixels, four thirds of the points: the same item is as large on a 192-DPI device as on
// a 96-DPI one, so text positions in project files do not move between machines.
TEST(DocumentFont, SizeDoesNotFollowTheDeviceResolution) {
  TextItem item;
  item.FontName = "DejaVu Sans", item.FontSize = 24, item.FontItalic = true;
  const QFont font = DocumentFont(item);
  EXPECT_EQ(std::make_tuple(font.family(), font.pixelSize(), font.pointSize()), std::make_tuple(QString("DejaVu Sans"), 32, -1));
  EXPECT_TRUE(font.italic() && !font.bold() && !font.underline() && !font.strikeOut());
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
