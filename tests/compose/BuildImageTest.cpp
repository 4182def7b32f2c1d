// The composite: a new 32-bit copy of the template with every visible item painted in order.
#include "compose/BuildImage.h"

#include <gtest/gtest.h>

#include "ComposeTestSupport.h"
#include "compose/ImageConversion.h"
#include "compose/TextPainter.h"

namespace lumora {
namespace {

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
