// Composing: text laid out and painted at its position in pixels, system colours translated,
// sizes independent of the device; and the composite, a new 32-bit copy of the template with
// every visible item painted in order.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "ComposeTestSupport.h"
#include "base/SystemColors.h"
#include "compose/BuildImage.h"
#include "compose/DocumentFont.h"
#include "compose/ImageConversion.h"
#include "compose/QtTextMeasurer.h"
#include "compose/TextPainter.h"

namespace lumora {
namespace {

TextItem Item(const std::string& caption) {
  TextItem item;
  item.Caption = caption, item.FontName = "DejaVu Sans", item.FontSize = 24, item.Visible = true;
  return item;
}

TEST(LayOutText, LinesWidthsAndHeights) {
  const TextItem item = Item("Gr\xC3\xBC\xC3\x9F" "e\r\nWide line\r\nx\ny");
  const TextLayout layout = LayOutText(item);
  ASSERT_EQ(layout.lines, (std::vector<QString>{QString::fromUtf8("Grüße"), "Wide line", "x\ny"})) << "only CR LF breaks lines";
  const QFontMetrics metrics(DocumentFont(item));
  EXPECT_EQ(layout.width, metrics.horizontalAdvance("Wide line"));
  EXPECT_EQ(layout.lineHeight, metrics.height());
  EXPECT_EQ(layout.height(), 3 * metrics.height());
  const TextExtent extent = QtTextMeasurer().Measure(item);
  EXPECT_DOUBLE_EQ(extent.Width, layout.width * 15.0);
  EXPECT_DOUBLE_EQ(extent.Height, 3 * layout.lineHeight * 15.0);
  EXPECT_DOUBLE_EQ(QtTextMeasurer().LineHeight(item), layout.lineHeight * 15.0);
  const TextLayout empty = LayOutText(Item(""));
  EXPECT_TRUE(empty.lines.empty());
  EXPECT_EQ(std::make_pair(empty.width, empty.height()), std::make_pair(0, empty.lineHeight)) << "one line of height";
  EXPECT_EQ(LayOutText(Item("a\r\n")).lines.size(), 2u);
}

// 150 twips are 10 pixels, 300 twips 20; a system colour paints as the colour it stands for.
TEST(PaintTextItem, DrawsAtTheItemsPositionInPixelsAndColour) {
  SystemColors::ResetToDefaults();
  TextItem item = Item("\xE2\x96\x88\r\nBj");  // a full block: solid ink
  item.Left = 150, item.Top = 300, item.ForeColor = static_cast<Colour>(0x80000000u + SystemColors::kHighlight);
  QImage painted = test::WhiteImage(150, 120), printed = test::WhiteImage(150, 120);
  QPainter first(&painted);
  PaintTextItem(first, item);
  first.end();
  QPainter second(&printed);
  PrintSubStrings(second, LayOutText(item), QPoint(10, 20), item.ForeColor, item.Alignment);
  second.end();
  EXPECT_EQ(painted, printed);
  const QRect ink = test::InkBox(painted, qRgb(255, 255, 255));
  ASSERT_FALSE(ink.isNull());
  EXPECT_NEAR(ink.left(), 10, 1) << "the block's own bearing aside";
  const uint32_t rgb = SystemColors::Translate(item.ForeColor);
  EXPECT_EQ(painted.pixel(ink.left() + 5, ink.top() + 5) & 0xFFFFFF, qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)) & 0xFFFFFF);
}

// A soft shadow is blurred on a layer cut to what can reach the picture: at the picture's edge it
// is the same as the middle of a larger picture. (No outline: Qt's antialiased strokes differ by a
// level here and there from one place to another.)
TEST(PaintTextItem, ASoftShadowAtTheEdgeIsCutNotChanged) {
  TextItem item = Item("Wj\r\nsoft");
  item.Shadow = true, item.ShadowBlur = 9, item.ShadowOffset = 7;
  const auto painted = [&](int width, int height, float left, float top) {
    QImage image = test::WhiteImage(width, height);
    item.Left = left, item.Top = top;
    QPainter painter(&image);
    PaintTextItem(painter, item);
    painter.end();
    return image;
  };
  const QImage edge = painted(120, 90, -300, -150);  // 20 and 10 pixels off the picture
  EXPECT_EQ(painted(520, 490, 5700, 5850).copy(400, 400, 120, 90), edge);
}

// Sizes are pixels, four thirds of the points: the same item is as large on a 192-DPI device as on
// a 96-DPI one, so text positions in project files do not move between machines.
TEST(DocumentFont, SizeDoesNotFollowTheDeviceResolution) {
  TextItem item;
  item.FontName = "DejaVu Sans", item.FontSize = 24, item.FontItalic = true;
  const QFont font = DocumentFont(item);
  EXPECT_EQ(std::make_tuple(font.family(), font.pixelSize(), font.pointSize()), std::make_tuple(QString("DejaVu Sans"), 32, -1));
  EXPECT_TRUE(font.italic() && !font.bold() && !font.underline() && !font.strikeOut());
  QImage at96(10, 10, QImage::Format_RGB32), at192(10, 10, QImage::Format_RGB32);
  at96.setDotsPerMeterX(3780), at96.setDotsPerMeterY(3780), at192.setDotsPerMeterX(7560), at192.setDotsPerMeterY(7560);
  const QFontMetrics m96(font, &at96), m192(font, &at192);
  EXPECT_EQ(m96.height(), m192.height());
  EXPECT_EQ(m96.horizontalAdvance("Summer sale"), m192.horizontalAdvance("Summer sale"));
  EXPECT_GE(m96.height(), 32);
  EXPECT_LE(m96.height(), 40);
}

TEST(BuildImage, PaintsEachVisibleItemInOrderOnACopyOfTheTemplate) {
  EXPECT_EQ(BuildImage(Document(), raster::StdPicture()), nullptr) << "no template, no composite";
  Document document;
  test::AddItem(document, "\xE2\x96\x88\xE2\x96\x88", 150, 150, [](TextItem& item) { item.Visible = false; });
  test::AddItem(document, "Sale\r\nnow on", 300, 150, [](TextItem& i) { i.Shadow = true, i.Alignment = TextAlignment::Centre; });
  test::AddItem(document, "Top", 450, 600, [](TextItem& i) { i.ForeColor = 0x0000FF; });
  // A template of another layout is converted; the template itself is never drawn on.
  auto bitmap = raster::Bitmap::Create(200, 120, 24, raster::RowOrder::BottomUp);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x) bitmap->setPixelValue(x, y, bitmap->valueForRGB(x < 100 ? 0xEEDDCC : 0x00ABCDEF));
  const raster::StdPicture picture(bitmap);
  const QImage before = ToQImage(picture).copy();
  const auto composite = BuildImage(document, picture);
  ASSERT_TRUE(composite);
  EXPECT_EQ(std::make_tuple(composite->width(), composite->height(), composite->bpp()), std::make_tuple(200, 120, 32));
  QImage expected = before.convertToFormat(QImage::Format_RGB32);
  {
    QPainter painter(&expected);
    for (const TextItem& item : document.TextItems())
      if (item.Visible) PaintTextItem(painter, item);
  }
  EXPECT_EQ(ToQImage(composite), expected);
  EXPECT_NE(expected, before);
  EXPECT_EQ(ToQImage(picture), before);
}

}  // namespace
}  // namespace lumora
