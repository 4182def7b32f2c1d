// Ribbon panel and container: pictures from the tabled colours, caps at both ends on any width.
#include <gtest/gtest.h>

#include "controls/RibbonArt.h"
#include "controls/RibbonContainer.h"
#include "controls/RibbonPanel.h"

namespace lumora {
namespace {

TEST(RibbonArt, PanelPicturesHaveTheTabledSizesAndRows) {
  const auto& p = RibbonArt::Panel();
  EXPECT_EQ(p.leftCap.size(), QSize(4, 85));
  EXPECT_EQ(p.rightCap.size(), QSize(4, 85));
  EXPECT_EQ(p.middle.size(), QSize(3, 85));
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(p.middle.pixel(x, 0) & 0xFFFFFF, 0xC5D2DFu);
    EXPECT_EQ(p.middle.pixel(x, 1) & 0xFFFFFF, 0xEFF4FAu);
    EXPECT_EQ(p.middle.pixel(x, 2) & 0xFFFFFF, 0xD5E5F3u);
    EXPECT_EQ(p.middle.pixel(x, 68) & 0xFFFFFF, 0xD5E5F3u);
    EXPECT_EQ(p.middle.pixel(x, 69) & 0xFFFFFF, 0xC0D9F0u);
    EXPECT_EQ(p.middle.pixel(x, 83) & 0xFFFFFF, 0xC3D9F2u);
    EXPECT_EQ(p.middle.pixel(x, 84) & 0xFFFFFF, 0x9FC1DBu);
  }
  // The caps mirror each other, their outer column is the side edge.
  EXPECT_EQ(p.rightCap, p.leftCap.mirrored(true, false));
  EXPECT_EQ(p.leftCap.pixel(0, 40) & 0xFFFFFF, p.rightCap.pixel(3, 40) & 0xFFFFFF);
  EXPECT_EQ(p.leftCap.pixel(3, 40), p.middle.pixel(0, 40));
}

TEST(RibbonArt, ContainerStripFollowsTheTable) {
  const auto& c = RibbonArt::Container();
  EXPECT_EQ(c.middle.size(), QSize(3, 91));
  EXPECT_EQ(c.leftCap.size(), QSize(4, 91));
  const std::pair<int, QRgb> rows[] = {{0, 0x8DB2E3}, {1, 0xE5EDF8}, {2, 0xDCEBF7}, {17, 0xD0DEF0},
                                       {18, 0xC7D8ED}, {22, 0xC7D8ED}, {23, 0xC8D8ED}, {87, 0xE3F4FF},
                                       {88, 0xE7F2FF}, {89, 0xC0F9FF}, {90, 0x96AAC4}};
  for (const auto& [row, colour] : rows) EXPECT_EQ(c.middle.pixel(1, row) & 0xFFFFFF, colour) << "row " << row;
  // Darkening then lightening, one step at a time.
  EXPECT_GE(qBlue(c.middle.pixel(0, 5)), qBlue(c.middle.pixel(0, 15)));
  EXPECT_LE(qBlue(c.middle.pixel(0, 30)), qBlue(c.middle.pixel(0, 80)));
  EXPECT_EQ(c.leftCap.pixel(0, 45) & 0xFFFFFF, 0x8DB2E3u);
}

class RibbonWidths : public ::testing::TestWithParam<int> {};

TEST_P(RibbonWidths, CapsSitAtBothEnds) {
  const int w = GetParam();
  RibbonPanel panel;
  panel.resize(w, 86);
  panel.show();
  EXPECT_EQ(panel.leftCapRect(), QRect(0, 0, 4, 85));
  EXPECT_EQ(panel.rightCapRect(), QRect(w - 4, 0, 4, 85));
  EXPECT_EQ(panel.middleRect(), QRect(4, 0, w - 8, 85));
  // The caption keeps its designed top and spans the whole width, so its text stays centred.
  EXPECT_EQ(panel.captionLabel()->geometry(), QRect(0, 70, w, 13));
  EXPECT_TRUE(panel.captionLabel()->alignment() & Qt::AlignHCenter);

  RibbonContainer container;
  container.resize(w, 200);
  EXPECT_EQ(container.rightCapRect(), QRect(w - 4, 0, 4, 91));
  // Nothing is stretched vertically.
  EXPECT_EQ(container.middleRect().height(), 91);
}

INSTANTIATE_TEST_SUITE_P(Ribbon, RibbonWidths, ::testing::Values(8, 9, 114, 300, 1600));

TEST(Ribbon, NarrowerThanTheCapsDoesNotFail) {
  RibbonPanel panel;
  panel.resize(5, 86);
  EXPECT_EQ(panel.middleRect().width(), 0);
  EXPECT_FALSE(panel.grab().isNull());
}

TEST(Ribbon, PaintsCapsAndStrip) {
  RibbonPanel panel;
  panel.setCaption(QString());
  panel.resize(120, 86);
  const QImage image = panel.grab().toImage();
  EXPECT_EQ(image.pixel(60, 30) & 0xFFFFFF, 0xD5E5F3u);
  EXPECT_EQ(image.pixel(60, 84) & 0xFFFFFF, 0x9FC1DBu);
  EXPECT_EQ(image.pixel(119, 40), RibbonArt::Panel().rightCap.pixel(3, 40));
}

TEST(Ribbon, StoredPropertiesRoundTripWithDefaults) {
  RibbonPanel panel;
  EXPECT_EQ(panel.Caption(), QStringLiteral("Label1"));
  panel.ReadProperties({});
  EXPECT_EQ(panel.BackColor(), 0);
  EXPECT_FALSE(panel.EnabledValue());
  EXPECT_EQ(panel.Caption(), QStringLiteral("Label1"));
  panel.setCaption(QStringLiteral("Font"));
  panel.setBackColor(0x123456);
  panel.setBorderStyle(1);
  panel.setEnabledValue(true);
  EXPECT_TRUE(panel.PropertiesChanged());
  // The stored Enabled value never disables the band itself.
  EXPECT_TRUE(panel.isEnabled());
  RibbonPanel copy;
  copy.ReadProperties(panel.WriteProperties());
  EXPECT_EQ(copy.Caption(), QStringLiteral("Font"));
  EXPECT_EQ(copy.BackColor(), 0x123456);
  EXPECT_EQ(copy.BorderStyle(), 1);
  EXPECT_TRUE(copy.EnabledValue());
  copy.Refresh();
}

}  // namespace
}  // namespace lumora
