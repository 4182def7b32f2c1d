#include "compose/BuildImage.h"

#include <gtest/gtest.h>

#include "ComposeTestSupport.h"
#include "compose/ImageConversion.h"
#include "compose/TextPainter.h"

namespace lumora {
namespace {

using test::AddItem;
using test::InkBox;
using test::PlainPicture;

constexpr QRgb kWhite = 0xFFFFFFFF;
const char* const kBlock = "\xE2\x96\x88\xE2\x96\x88";  // two full blocks: solid ink

TEST(BuildImage, NoTemplateNoComposite) {
  Document document;
  EXPECT_EQ(BuildImage(document, raster::StdPicture()), nullptr);
}

TEST(BuildImage, CompositeIsANewCopyOfTheTemplate) {
  Document document;
  AddItem(document, kBlock, 150, 150);
  const raster::StdPicture picture = PlainPicture(120, 80, 0xFFFFFF);
  const auto composite = BuildImage(document, picture);
  ASSERT_TRUE(composite);
  EXPECT_EQ(composite->width(), 120);
  EXPECT_EQ(composite->height(), 80);
  EXPECT_EQ(composite->bpp(), 32);
  EXPECT_NE(composite->bits(), picture.Handle()->bits());
  EXPECT_FALSE(InkBox(ToQImage(composite), kWhite).isNull());
  EXPECT_TRUE(InkBox(ToQImage(picture), kWhite).isNull()) << "the template itself is never drawn on";
}

TEST(BuildImage, TemplateOfAnotherLayoutIsConverted) {
  auto bitmap = raster::Bitmap::Create(10, 6, 24, raster::RowOrder::BottomUp);
  bitmap->setPixelValue(9, 5, bitmap->valueForRGB(0x00ABCDEF));
  const auto composite = BuildImage(Document(), raster::StdPicture(bitmap));
  ASSERT_TRUE(composite);
  EXPECT_EQ(composite->pixelRGB(9, 5), 0x00ABCDEFu);
  EXPECT_EQ(composite->pixelRGB(0, 0), 0u);
}

// Painting every visible item in stacking order on a copy of the template.
TEST(BuildImage, MatchesPaintingEachItemInOrder) {
  Document document;
  AddItem(document, kBlock, 150, 150, [](TextItem& item) { item.Visible = false; });
  AddItem(document, "Sale\r\nnow on", 300, 150, [](TextItem& i) {
    i.Shadow = true;
    i.Alignment = TextAlignment::Centre;
  });
  AddItem(document, "Top", 450, 600, [](TextItem& i) { i.ForeColor = 0x0000FF; });
  const auto composite = BuildImage(document, PlainPicture(200, 120, 0xEEDDCC));
  QImage expected = ToQImage(PlainPicture(200, 120, 0xEEDDCC)).copy();
  {
    QPainter painter(&expected);
    for (const TextItem& item : document.TextItems())
      if (item.Visible) PaintTextItem(painter, item);
  }
  EXPECT_EQ(ToQImage(composite), expected);
}

TEST(WhiteCorner, OnlyExactWhiteCounts) {
  EXPECT_TRUE(WhiteCorner(*PlainPicture(2, 2, 0xFFFFFF).Handle()));
  EXPECT_FALSE(WhiteCorner(*PlainPicture(2, 2, 0xFFFFFE).Handle()));
  EXPECT_FALSE(WhiteCorner(*PlainPicture(2, 2, 0xFEFFFF).Handle()));
  auto bitmap = PlainPicture(2, 2, 0xFFFFFF).sharedBitmap();
  bitmap->setPixelValue(0, 0, bitmap->valueForRGB(0));
  EXPECT_FALSE(WhiteCorner(*bitmap));
}

}  // namespace
}  // namespace lumora
