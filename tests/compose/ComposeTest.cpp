// Composing: text laid out and painted at its position in pixels, system colours translated,
// sizes independent of the device; the composite, a new 32-bit copy of the template with every
// visible item painted in order; and pictures in and out: 32-bit top-down bitmaps shared with
// QImages, and template pictures of every format loaded as such pictures (other layouts
// converted), failures keeping the old one.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <fstream>

#include "base/SystemColors.h"
#include "compose/BuildImage.h"
#include "compose/CentrePicture.h"
#include "compose/CompositeOnTemplate.h"
#include "compose/DocumentFont.h"
#include "compose/ImageConversion.h"
#include "compose/PictureLoader.h"
#include "compose/QtTextMeasurer.h"
#include "compose/TextPainter.h"
#include "document/Document.h"
#include "pictureio/GifExport.h"
#include "pictureio/ImageExport.h"

namespace lumora {
namespace {

TextItem Item(const std::string& caption, float left = 0, float top = 0) {
  TextItem item;
  item.Caption = caption, item.FontName = "DejaVu Sans", item.FontSize = 24, item.Visible = true;
  item.Left = left, item.Top = top;
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

// A soft shadow is blurred on a layer cut to what can reach the picture: at the picture's edge it
// is the same as the middle of a larger picture. (No outline: Qt's antialiased strokes differ by a
// level here and there from one place to another.)
TEST(PaintTextItem, ASoftShadowAtTheEdgeIsCutNotChanged) {
  TextItem item = Item("Wj\r\nsoft");
  item.Shadow = true, item.ShadowBlur = 9, item.ShadowOffset = 7;
  const auto painted = [&](int width, int height, float left, float top, double zoom = 1) {
    QImage image(int(width * zoom), int(height * zoom), QImage::Format_RGB32);
    image.fill(Qt::white);
    item.Left = left, item.Top = top;
    QPainter painter(&image);
    painter.scale(zoom, zoom);
    PaintTextItem(painter, item);
    painter.end();
    return image;
  };
  const QImage edge = painted(120, 90, -300, -150);  // 20 and 10 pixels off the picture
  EXPECT_EQ(painted(520, 490, 5700, 5850).copy(400, 400, 120, 90), edge);
  // Zoomed out, the layer is cut to the picture, not to the smaller window showing it.
  EXPECT_EQ(painted(520, 490, 5700, 5850, 0.5).copy(200, 200, 60, 45), painted(120, 90, -300, -150, 0.5));
}

TEST(BuildImage, PaintsEachVisibleItemInOrderOnACopyOfTheTemplate) {
  EXPECT_EQ(BuildImage(Document(), raster::StdPicture()), nullptr) << "no template, no composite";
  Document document;
  TextItem hidden = Item("\xE2\x96\x88\xE2\x96\x88", 150, 150), sale = Item("Sale\r\nnow on", 300, 150);
  TextItem top = Item("Top", 450, 600);
  hidden.Visible = false, sale.Shadow = true, sale.Alignment = TextAlignment::Centre, top.ForeColor = 0x0000FF;
  for (const TextItem& made : {hidden, sale, top})
    document.EditItem(document.CreateItem(), [&](TextItem& item) { item = made; });
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

// Every effect that reaches past an item's box, at and over the picture's edges.
TEST(CompositeOnTemplate, PaintsWhatACopyWouldAndThenPutsTheTemplateBack) {
  Document document;
  std::vector<TextItem> items(7, Item("fjord Wg\r\nj\xC3\x85", 300, 200));
  items[0].FontItalic = true, items[0].FontSize = 60, items[0].Left = -900;
  items[1].Outline = true, items[1].OutlineWidth = 20, items[1].FontSize = 8, items[1].Top = 1500;
  items[2].Shadow = true, items[2].ShadowOffset = -100, items[2].ShadowBlur = 20, items[2].FontSize = 8;
  items[2].Left = 2400, items[2].Top = 1650;
  items[3].Shadow = true, items[3].Arc = 300, items[3].FontSize = 40, items[3].Top = 1200;
  items[4].Outline = true, items[4].OutlineAt = OutlinePlacement::Centred, items[4].Visible = false;
  items[5].Left = 90000;  // wholly off the picture
  items[6].Caption = "Wf", items[6].FontItalic = true, items[6].FontSize = 60, items[6].LetterSpacing = -50;
  items[6].Top = 900;
  for (const TextItem& made : items) document.EditItem(document.CreateItem(), [&](TextItem& item) { item = made; });
  auto bitmap = raster::Bitmap::Create(230, 150, 32, raster::RowOrder::TopDown);
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 230; ++x) bitmap->setPixelValue(x, y, bitmap->valueForRGB(uint32_t(x * 977 + y * 131)));
  const raster::StdPicture picture(bitmap);
  const QImage before = ToQImage(picture).copy();
  const QImage copied = ToQImage(BuildImage(document, picture));
  {
    const CompositeOnTemplate onTemplate(document, picture);
    ASSERT_EQ(onTemplate.Composite(), bitmap.get());
    EXPECT_EQ(ToQImage(picture), copied);
  }
  EXPECT_EQ(ToQImage(picture), before);
  const raster::StdPicture other(raster::Bitmap::Create(4, 4, 24, raster::RowOrder::BottomUp));
  EXPECT_EQ(CompositeOnTemplate(document, other).Composite(), nullptr) << "another layout needs a copy";
}

// Qt's outlines move by fractions of a pixel with what the same face drew before; a picture's do not.
TEST(BuildImage, AnOutlineIsTheSameWhateverWasDrawnBefore) {
  TextItem outlined = Item("fjord Wg\r\nj\xC3\x85", 300, 300), bent = outlined;
  outlined.FontSize = 8, outlined.Outline = true, outlined.OutlineWidth = 20, outlined.OutlineColor = 0xFFFFFF;
  bent.Arc = 120, bent.Outline = true, bent.OutlineColor = 0xFFFFFF, bent.Top = 1200, bent.Left = 1500;
  const raster::StdPicture picture(raster::Bitmap::Create(230, 150, 32, raster::RowOrder::TopDown));
  for (const TextItem& made : {outlined, bent}) {
    Document document;
    document.EditItem(document.CreateItem(), [&](TextItem& item) { item = made; });
    std::vector<QImage> built;
    for (const float size : {24.0f, 8.0f, 12.0f}) {
      QImage elsewhere(60, 30, QImage::Format_RGB32);
      QPainter painter(&elsewhere);
      TextItem before = Item("fjord Wg\r\nj\xC3\x85", 90000, 200);
      before.FontSize = size;
      PaintTextItem(painter, before);
      painter.end();
      built.push_back(ToQImage(BuildImage(document, picture)));
    }
    EXPECT_EQ(built[1], built[0]) << made.Arc;
    EXPECT_EQ(built[2], built[0]) << made.Arc;
  }
}

uint32_t Rgb(QRgb q) { return static_cast<uint32_t>(qRed(q) | qGreen(q) << 8 | qBlue(q) << 16); }

// Painting on the image paints on the bitmap, which lives as long as the image does; a picture's
// view detaches instead, since a picture's pixels never change.
TEST(ToQImage, SharesTheMemoryOfA32BitTopDownBitmap) {
  auto bitmap = raster::Bitmap::Create(5, 3, 32, raster::RowOrder::TopDown);
  bitmap->setPixelValue(4, 2, bitmap->valueForRGB(0x00336699));
  const std::weak_ptr<raster::Bitmap> watch = bitmap;
  QImage image = ToQImage(bitmap);
  ASSERT_EQ(image.format(), QImage::Format_RGB32);
  EXPECT_EQ(image.constBits(), bitmap->bits());
  EXPECT_EQ(Rgb(image.pixel(4, 2)), 0x00336699u);
  QPainter(&image).fillRect(0, 0, 1, 1, QColor(10, 20, 30));
  EXPECT_EQ(bitmap->pixelRGB(0, 0), 0x001E140Au);
  bitmap.reset();
  EXPECT_FALSE(watch.expired());
  image = QImage();
  EXPECT_TRUE(watch.expired());

  auto shared = raster::Bitmap::Create(2, 2, 32, raster::RowOrder::TopDown);
  QImage view = ToQImage(raster::StdPicture(shared));
  EXPECT_EQ(view.constBits(), shared->bits());
  view.setPixel(0, 0, qRgb(255, 255, 255));
  EXPECT_EQ(shared->pixelRGB(0, 0), 0u);
  EXPECT_TRUE(ToQImage(raster::StdPicture()).isNull());
}

// Large pictures are converted a band of rows at a time; the bytes are the whole conversion's.
TEST(ToBitmap, EveryFormatGivesTheWholeConversionsPixelsAndOpacities) {
  QImage source(3, 700, QImage::Format_ARGB32);
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < 3; ++x) source.setPixel(x, y, qRgba(y % 251, (y * 7 + x) % 256, x * 90, y < 650 ? 255 : (y * 3) % 256));
  for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888,
                                      QImage::Format_Indexed8, QImage::Format_Grayscale8, QImage::Format_RGB16}) {
    SCOPED_TRACE(format);
    const QImage image = source.convertToFormat(format);
    QImage expected(image.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter(&expected).drawImage(0, 0, image);
    const auto bitmap = ToBitmap(image);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(ToQImage(bitmap), image.hasAlphaChannel() ? expected : image.convertToFormat(QImage::Format_RGB32));
    const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    std::vector<uint8_t> alpha;
    for (int y = 0; y < image.height() && image.hasAlphaChannel(); ++y)
      for (int x = 0; x < 3; ++x) alpha.push_back(uint8_t(qAlpha(straight.pixel(x, y))));
    EXPECT_EQ(AlphaOf(image), alpha);
  }
}

TEST(PictureLoader, LoadsEveryFormatUpright) {
  QTemporaryDir dir;
  QImage sample(40, 30, QImage::Format_RGB32);  // distinct corners: a flipped or shifted load shows
  sample.fill(qRgb(0, 128, 255));
  sample.setPixel(0, 0, qRgb(255, 0, 0));
  sample.setPixel(39, 29, qRgb(0, 255, 0));
  for (const auto& [format, tolerance] : {std::pair{"png", 0}, {"bmp", 0}, {"gif", 0}, {"jpg", 6}}) {
    SCOPED_TRACE(format);
    const std::filesystem::path path = dir.path().toStdString() + "/sample." + format;
    if (std::string(format) != "gif") {
      ASSERT_TRUE(sample.save(QString::fromStdString(path.string()), format, 100));
    } else {  // Qt writes no GIF: ours does
      GifExport gif;
      ASSERT_TRUE(ExportImage(*ToBitmap(sample), path, gif));
    }
    const LoadedPicture loaded = LoadPictureFile(path);
    ASSERT_TRUE(loaded) << loaded.error;
    const raster::Bitmap& b = *loaded.picture.Handle();
    ASSERT_EQ(std::make_tuple(b.width(), b.height(), b.bpp(), b.rowOrder()), std::make_tuple(40, 30, 32, raster::RowOrder::TopDown));
    if (tolerance == 0) {  // a lone pixel does not survive lossy compression
      EXPECT_EQ(b.pixelRGB(0, 0), 0x000000FFu);
      EXPECT_EQ(b.pixelRGB(39, 29), 0x0000FF00u);
    }
    const uint32_t middle = b.pixelRGB(20, 15);
    EXPECT_NEAR(static_cast<int>(middle & 0xFF), 0, tolerance);
    EXPECT_NEAR(static_cast<int>((middle >> 8) & 0xFF), 128, tolerance);
    EXPECT_NEAR(static_cast<int>((middle >> 16) & 0xFF), 255, tolerance);
  }
  QImage clear(4, 4, QImage::Format_ARGB32);
  clear.fill(qRgba(0, 0, 0, 0));
  ASSERT_TRUE(clear.save(dir.path() + "/clear.png"));
  EXPECT_EQ(LoadPictureFile(dir.path().toStdString() + "/clear.png").picture.Handle()->pixelRGB(2, 2), 0xFFFFFFu)
      << "transparency lies on white";
}

TEST(PictureLoader, FailuresSayWhy) {
  QTemporaryDir dir;
  const std::filesystem::path bad = dir.path().toStdString() + "/bad.png", good = dir.path().toStdString() + "/good.png";
  std::ofstream(bad) << "not a picture";
  for (const std::filesystem::path& path : {bad, std::filesystem::path(dir.path().toStdString()), good}) {
    const LoadedPicture loaded = LoadPictureFile(path);
    EXPECT_FALSE(loaded) << path;
    EXPECT_FALSE(loaded.error.empty());
  }
}

// The picture is centred with its halves kept, a larger one is cut off on both sides alike, and the
// outline lies one pixel outside it all round.
TEST(CentrePicture, CentresWithHalvesAndOutlinesOnePixelOutside) {
  const CentreLayout small = CentrePicture({500, 300}, {101, 51}, {200, 100}, true);
  EXPECT_EQ(small.picture, (RectF{199.5, 124.5, 101, 51}));
  EXPECT_EQ(small.outline, (RectF{198.5, 123.5, 103, 53}));
  EXPECT_EQ(small.welcome, (RectF{150, 100, 200, 100}));
  EXPECT_TRUE(small.outlineVisible);
  const CentreLayout large = CentrePicture({500, 300}, {800, 500}, {200, 100}, false);
  EXPECT_EQ(large.picture, (RectF{-150, -100, 800, 500}));
  EXPECT_EQ(large.outline, (RectF{-151, -101, 802, 502}));
  EXPECT_FALSE(large.outlineVisible);
}

}  // namespace
}  // namespace lumora
