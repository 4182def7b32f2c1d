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
  const TextLayout layout = LayOutText(Item("Hi\r\nWide line\r\nx"));
  ASSERT_EQ(layout.lines.size(), 3u);
  EXPECT_EQ(layout.lines[1], "Wide line");
  const QFontMetrics metrics(DocumentFont(Item("")));
  EXPECT_EQ(layout.lineWidths[1], metrics.horizontalAdvance("Wide line"));
  EXPECT_EQ(layout.width, layout.lineWidths[1]);
  EXPECT_EQ(layout.lineHeight, metrics.height());
  EXPECT_EQ(layout.height(), 3 * metrics.height());
}

TEST(LayOutText, EmptyCaptionHasNoLinesButOneLineOfHeight) {
  const TextLayout layout = LayOutText(Item(""));
  EXPECT_TRUE(layout.lines.empty());
  EXPECT_EQ(layout.width, 0);
  EXPECT_EQ(layout.height(), layout.lineHeight);
}

TEST(LayOutText, TrailingLineBreakAddsAnEmptyLine) {
  EXPECT_EQ(LayOutText(Item("a\r\n")).lines.size(), 2u);
  EXPECT_EQ(LayOutText(Item("a\nb")).lines.size(), 1u) << "only CR LF pairs break lines";
}

TEST(LayOutText, NonAsciiCaptionIsUtf8) {
  const TextLayout layout = LayOutText(Item("Gr\xC3\xBC\xC3\x9F" "e"));
  ASSERT_EQ(layout.lines.size(), 1u);
  EXPECT_EQ(layout.lines[0], QString::fromUtf8("Grüße"));
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

TEST(QtTextMeasurer, BoldIsWiderThanRegular) {
  TextItem bold = Item("Bold and wide");
  bold.FontBold = true;
  const QtTextMeasurer measurer;
  EXPECT_GT(measurer.Measure(bold).Width, measurer.Measure(Item("Bold and wide")).Width);
}

TEST(PrintSubStrings, EmptyTextDrawsNothing) {
  QImage image = WhiteImage(100, 60);
  QPainter painter(&image);
  PrintSubStrings(painter, LayOutText(Item("")), QPoint(5, 5), 0, TextAlignment::Left);
  painter.end();
  EXPECT_TRUE(InkBox(image, qRgb(255, 255, 255)).isNull());
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

struct AlignCase {
  TextAlignment alignment;
  const char* name;
};

class AlignmentTest : public testing::TestWithParam<AlignCase> {};

// A short line over a long one: where the short line's ink starts tells the alignment.
TEST_P(AlignmentTest, LinesAlignWithinTheWidestLine) {
  const TextLayout layout = LayOutText(Item("I\r\nIIIIIIIIII", GetParam().alignment));
  QImage image = WhiteImage(layout.width + 40, layout.height() + 10);
  QPainter painter(&image);
  PrintSubStrings(painter, layout, QPoint(20, 5), 0, GetParam().alignment);
  painter.end();
  const QRect firstLine = InkBox(image, qRgb(255, 255, 255), QRect(0, 5, image.width(), layout.lineHeight));
  const QRect secondLine =
      InkBox(image, qRgb(255, 255, 255), QRect(0, 5 + layout.lineHeight, image.width(), layout.lineHeight));
  ASSERT_FALSE(firstLine.isNull());
  ASSERT_FALSE(secondLine.isNull());
  const int bearing = secondLine.left() - 20;  // the glyph's own left bearing
  int expectedLeft = 20;
  if (GetParam().alignment == TextAlignment::Right) expectedLeft += layout.width - layout.lineWidths[0];
  if (GetParam().alignment == TextAlignment::Centre) expectedLeft += (layout.width - layout.lineWidths[0]) / 2;
  EXPECT_EQ(firstLine.left() - bearing, expectedLeft);
}

INSTANTIATE_TEST_SUITE_P(Alignments, AlignmentTest,
                         testing::Values(AlignCase{TextAlignment::Left, "Left"},
                                         AlignCase{TextAlignment::Right, "Right"},
                                         AlignCase{TextAlignment::Centre, "Centre"}),
                         [](const auto& info) { return std::string(info.param.name); });

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

// The shadow lies k pixels right and down (2 at 24 pt) and the text covers it where they overlap.
TEST(PaintTextItem, ShadowFirstThenText) {
  TextItem item = Item("\xE2\x96\x88");
  item.Left = 150;
  item.Top = 150;
  item.ForeColor = 0x000000;
  item.Shadow = true;
  item.ShadowColor = 0x0000FF;  // red
  QImage image = WhiteImage(100, 100);
  QPainter painter(&image);
  PaintTextItem(painter, item);
  painter.end();
  item.Shadow = false;
  QImage plain = WhiteImage(100, 100);
  QPainter again(&plain);
  PaintTextItem(again, item);
  again.end();
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_NE(plain.pixel(x, y) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);

  const QRect all = InkBox(image, qRgb(255, 255, 255));
  const QRect textOnly = InkBox(plain, qRgb(255, 255, 255));
  ASSERT_FALSE(textOnly.isNull());
  EXPECT_EQ(all.right() - textOnly.right(), 2);
  EXPECT_EQ(all.bottom() - textOnly.bottom(), 2);
  EXPECT_EQ(all.topLeft(), textOnly.topLeft());
  // Where the text is solid it covers the shadow; just past the text only the shadow shows.
  const QPoint centre = textOnly.center();
  EXPECT_EQ(image.pixel(centre) & 0xFFFFFF, 0u);
  const QRgb red = qRgb(255, 0, 0) & 0xFFFFFF;
  EXPECT_EQ(image.pixel(textOnly.right() + 1, centre.y()) & 0xFFFFFF, red);
  EXPECT_EQ(image.pixel(centre.x(), textOnly.bottom() + 1) & 0xFFFFFF, red);
}

}  // namespace
}  // namespace lumora
