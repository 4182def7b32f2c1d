#include "compose/TextPainter.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "ComposeTestSupport.h"
#include "base/SystemColors.h"
#include "compose/DocumentFont.h"
#include "compose/QtTextMeasurer.h"

namespace lumora {
namespace {

using test::InkBox;
using test::WhiteImage;

TextItem Item(const std::string& caption, TextAlignment alignment = TextAlignment::Left) {
  TextItem item;
  item.Caption = caption;
  item.FontName = "DejaVu Sans";
  item.FontSize = 24;
  item.Alignment = alignment;
  item.Visible = true;
  return item;
}

TEST(LayOutText, SplitsAtLineBreaksAndMeasuresTheWidestLine) {
  const TextLayout layout = LayOutText(Item("Gr\xC3\xBC\xC3\x9F" "e\r\nWide line\r\nx"));
  ASSERT_EQ(layout.lines.size(), 3u);
  EXPECT_EQ(layout.lines[0], QString::fromUtf8("Grüße"));
  EXPECT_EQ(layout.lines[1], "Wide line");
  const QFontMetrics metrics(DocumentFont(Item("")));
  EXPECT_EQ(layout.lineWidths[1], metrics.horizontalAdvance("Wide line"));
  EXPECT_EQ(layout.width, layout.lineWidths[1]);
  EXPECT_EQ(layout.lineHeight, metrics.height());
  EXPECT_EQ(layout.height(), 3 * metrics.height());
}

TEST(LayOutText, EmptyCaptionsAndLineBreaks) {
  const TextLayout empty = LayOutText(Item(""));
  EXPECT_TRUE(empty.lines.empty());
  EXPECT_EQ(empty.width, 0);
  EXPECT_EQ(empty.height(), empty.lineHeight) << "one line of height";
  EXPECT_EQ(LayOutText(Item("a\r\n")).lines.size(), 2u);
  EXPECT_EQ(LayOutText(Item("a\nb")).lines.size(), 1u) << "only CR LF pairs break lines";
}

TEST(QtTextMeasurer, AnswersInTwipsFromTheSameLayout) {
  const TextItem item = Item("One\r\nTwo lines");
  const TextLayout layout = LayOutText(item);
  const QtTextMeasurer measurer;
  const TextExtent extent = measurer.Measure(item);
  EXPECT_DOUBLE_EQ(extent.Width, layout.width * 15.0);
  EXPECT_DOUBLE_EQ(extent.Height, 2 * layout.lineHeight * 15.0);
  EXPECT_DOUBLE_EQ(measurer.LineHeight(item), layout.lineHeight * 15.0);
}

// The second line is the first one drawn exactly one font line lower, starting at the same left.
TEST(PrintSubStrings, SecondLineIsOneLineHeightBelowTheFirst) {
  const TextLayout layout = LayOutText(Item("XgX\r\nXgX"));
  QImage image = WhiteImage(200, 2 * layout.lineHeight + 20);
  QPainter painter(&image);
  PrintSubStrings(painter, layout, QPoint(7, 3), 0, TextAlignment::Left);
  painter.end();
  for (int y = 0; y < layout.lineHeight; ++y)
    for (int x = 0; x < image.width(); ++x)
      ASSERT_EQ(image.pixel(x, 3 + y), image.pixel(x, 3 + y + layout.lineHeight)) << x << "," << y;
  const QRect ink = InkBox(image, qRgb(255, 255, 255));
  EXPECT_GE(ink.left(), 7);
  EXPECT_LE(ink.left(), 9);
  EXPECT_GE(ink.top(), 3);
}

TEST(PrintSubStrings, SystemColoursAreTranslated) {
  SystemColors::ResetToDefaults();
  const TextLayout layout = LayOutText(Item("\xE2\x96\x88"));  // a full block: solid ink
  QImage image = WhiteImage(120, 60);
  QPainter painter(&image);
  const Colour highlight = static_cast<Colour>(0x80000000u + SystemColors::kHighlight);
  PrintSubStrings(painter, layout, QPoint(2, 2), highlight, TextAlignment::Left);
  painter.end();
  const uint32_t rgb = SystemColors::Translate(highlight);
  const QRect ink = InkBox(image, qRgb(255, 255, 255));
  ASSERT_FALSE(ink.isNull());
  EXPECT_EQ(image.pixel(ink.center()) & 0xFFFFFF, qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)) & 0xFFFFFF);
}

// Text positions are twips: 150 twips is 10 pixels, 300 twips 20.
TEST(PaintTextItem, DrawsAtTheItemsPositionInPixels) {
  TextItem item = Item("Ag\r\nBj");
  item.Left = 150;
  item.Top = 300;
  const TextLayout layout = LayOutText(item);
  QImage painted = WhiteImage(150, 120), printed = WhiteImage(150, 120);
  QPainter first(&painted);
  PaintTextItem(first, item);
  first.end();
  QPainter second(&printed);
  PrintSubStrings(second, layout, QPoint(10, 20), item.ForeColor, item.Alignment);
  second.end();
  EXPECT_FALSE(InkBox(painted, qRgb(255, 255, 255)).isNull());
  EXPECT_EQ(painted, printed);
}

}  // namespace
}  // namespace lumora
