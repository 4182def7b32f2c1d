#include "compose/ImageExport.h"

#include <gtest/gtest.h>

#include <QImageReader>
#include <QTemporaryDir>
#include <fstream>

#include "ComposeTestSupport.h"
#include "Decoders.h"
#include "compose/BuildImage.h"
#include "compose/ExportRoutes.h"
#include "compose/GifExport.h"
#include "compose/ImageConversion.h"
#include "imaging/cImage.h"
#include "imaging/cJpeg.h"

namespace lumora {
namespace {

using test::DecodeGif;
using test::DecodeJpeg;
using test::MaxChannelDifference;
using test::MeanChannelDifference;

struct RouteCase {
  const char* name;
  ExportRoute route;
};

class RouteForTest : public testing::TestWithParam<RouteCase> {};

TEST_P(RouteForTest, LastFourCharactersPickTheRoute) { EXPECT_EQ(RouteFor(GetParam().name), GetParam().route); }

INSTANTIATE_TEST_SUITE_P(
    Names, RouteForTest,
    testing::Values(RouteCase{"a.gif", ExportRoute::Gif}, RouteCase{"A.GIF", ExportRoute::Gif},
                    RouteCase{"/x/y.Gif", ExportRoute::Gif}, RouteCase{"b.bmp", ExportRoute::Bitmap},
                    RouteCase{"B.BMP", ExportRoute::Bitmap}, RouteCase{"c.png", ExportRoute::Png},
                    RouteCase{"C.Png", ExportRoute::Png}, RouteCase{"d.jpg", ExportRoute::Jpeg},
                    RouteCase{"d.jpeg", ExportRoute::Jpeg}, RouteCase{"d.tif", ExportRoute::Jpeg},
                    RouteCase{"noextension", ExportRoute::Jpeg}, RouteCase{"gif", ExportRoute::Jpeg},
                    RouteCase{"", ExportRoute::Jpeg}, RouteCase{"a.gif.txt", ExportRoute::Jpeg},
                    RouteCase{"a.xgif", ExportRoute::Jpeg}));

class ImageExportTest : public testing::Test {
 protected:
  std::filesystem::path Path(const std::string& name) const {
    return std::filesystem::path(m_dir.path().toStdString()) / name;
  }

  // A picture with smooth gradients, flat areas and a few hard edges, 0x00BBGGRR corner colour.
  static std::shared_ptr<raster::Bitmap> Picture(int width, int height, uint32_t corner) {
    auto bitmap = raster::Bitmap::Create(width, height, 32, raster::RowOrder::TopDown);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint32_t rgb = static_cast<uint32_t>((x * 255) / width) | (static_cast<uint32_t>((y * 255) / height) << 8) |
                       (x > width / 2 ? 0x00C00000u : 0x00200000u);
        if (x < width / 4 && y < height / 4) rgb = corner;
        bitmap->setPixelValue(x, y, bitmap->valueForRGB(rgb));
      }
    return bitmap;
  }

  GifExport m_gif;
  QTemporaryDir m_dir;
};

TEST_F(ImageExportTest, JpegRouteIsQuality100AtFullSamplingWithTheFixedComment) {
  const auto source = Picture(64, 48, 0x00336699);
  const auto path = Path("out.jpg");
  ASSERT_TRUE(ExportImage(*source, path, m_gif)) << "export failed";
  const test::DecodedJpeg jpeg = DecodeJpeg(path);
  ASSERT_TRUE(jpeg.ok);
  EXPECT_EQ(jpeg.width, 64);
  EXPECT_EQ(jpeg.height, 48);
  EXPECT_EQ(jpeg.components, 3);
  EXPECT_FALSE(jpeg.progressive);
  for (const auto& [h, v] : jpeg.sampling) EXPECT_EQ(std::make_pair(h, v), std::make_pair(1, 1));
  ASSERT_FALSE(jpeg.quantisers.empty());
  for (int q : jpeg.quantisers) ASSERT_EQ(q, 1);
  EXPECT_EQ(jpeg.comments, 1);
  EXPECT_LE(MaxChannelDifference(jpeg.image, ToQImage(source)), 4);
}

// Sampling the 32-bit composite directly gives the same file as sampling a 24-bit copy of it.
TEST_F(ImageExportTest, JpegRouteEqualsSamplingA24BitCopy) {
  const raster::StdPicture picture(Picture(50, 30, 0x00102030));
  cImage image;
  ASSERT_TRUE(image.CopyStdPicture(picture, 0));
  ASSERT_EQ(image.BitCount(), 24);
  cJpeg jpeg;
  jpeg.Quality(100);
  jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
  ASSERT_EQ(jpeg.SampleHDC(image.hdc(), image.Width(), image.Height(), 0, 0), 0);
  EXPECT_EQ(EncodeJpegRoute(picture), jpeg.SaveToMemory());
}

TEST_F(ImageExportTest, OtherExtensionsAreJpegToo) {
  const auto source = Picture(16, 16, 0);
  for (const char* name : {"picture.jpeg", "picture.tif", "picture"}) {
    const auto path = Path(name);
    ASSERT_TRUE(ExportImage(*source, path, m_gif)) << name;
    EXPECT_TRUE(DecodeJpeg(path).ok) << name;
  }
}

TEST_F(ImageExportTest, BitmapRouteWritesEveryPixelAs24Bits) {
  const auto source = Picture(33, 17, 0x00123456);
  const auto path = Path("out.BMP");
  ASSERT_TRUE(ExportImage(*source, path, m_gif));
  const std::vector<uint8_t> bytes = test::ReadBytes(path);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[28], 24);                                          // biBitCount
  EXPECT_GT(bytes[22] | (bytes[23] << 8) | (bytes[24] << 16), 0);   // positive height: bottom-up
  EXPECT_EQ(bytes.size(), 54u + 17u * 100u);                         // 33 x 3 = 99, padded to 100
  QImageReader reader(QString::fromStdString(path.string()), "bmp");
  const QImage decoded = reader.read();
  EXPECT_EQ(MaxChannelDifference(decoded, ToQImage(source)), 0);
}

TEST_F(ImageExportTest, PngRouteIsLossless) {
  const auto source = Picture(40, 30, 0x00FFFFFF);
  const auto path = Path("out.png");
  ASSERT_TRUE(ExportImage(*source, path, m_gif));
  const std::vector<uint8_t> bytes = test::ReadBytes(path);
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
  const QImage decoded(QString::fromStdString(path.string()), "png");
  EXPECT_EQ(MaxChannelDifference(decoded, ToQImage(source)), 0);
}

TEST_F(ImageExportTest, GifWithWhiteCornerIs89aWithIndexZeroTransparent) {
  const auto source = Picture(60, 40, 0x00FFFFFF);
  const auto path = Path("out.gif");
  ASSERT_TRUE(ExportImage(*source, path, m_gif));
  const test::DecodedGif gif = DecodeGif(path);
  ASSERT_TRUE(gif.ok);
  EXPECT_EQ(gif.version, "GIF89a");
  EXPECT_EQ(gif.transparentIndex, 0);
  EXPECT_EQ(gif.indices[0], 0) << "the top-left pixel's cell is entry 0";
  EXPECT_FALSE(gif.interlaced);
  EXPECT_EQ(gif.width, 60);
  EXPECT_EQ(gif.height, 40);
  EXPECT_LT(MeanChannelDifference(gif.image, ToQImage(source)), 6.0);
  EXPECT_TRUE(m_gif.Transparency());
}

TEST_F(ImageExportTest, GifWithAnyOtherCornerIs87aWithoutTransparency) {
  for (uint32_t corner : {0x00FFFFFEu, 0x00FEFFFFu, 0x00000000u}) {
    const auto path = Path("corner.gif");
    ASSERT_TRUE(ExportImage(*Picture(60, 40, corner), path, m_gif));
    const test::DecodedGif gif = DecodeGif(path);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.version, "GIF87a") << std::hex << corner;
    EXPECT_EQ(gif.transparentIndex, -1);
    EXPECT_FALSE(m_gif.Transparency());
  }
}

// The work objects persist between exports; the second file must not depend on the first.
TEST_F(ImageExportTest, SecondGifDoesNotDependOnTheFirst) {
  ASSERT_TRUE(ExportImage(*Picture(80, 50, 0x00FFFFFF), Path("first.gif"), m_gif));
  const auto second = Picture(30, 20, 0x000000FF);
  ASSERT_TRUE(ExportImage(*second, Path("second.gif"), m_gif));
  GifExport fresh;
  ASSERT_TRUE(ExportImage(*second, Path("fresh.gif"), fresh));
  EXPECT_EQ(test::ReadBytes(Path("second.gif")), test::ReadBytes(Path("fresh.gif")));
}

// A blank template exported as it is: one colour reduces to a palette of one entry, and the
// file still gets the two-entry table GIF requires. White paper stays transparent.
TEST_F(ImageExportTest, GifOfASingleColourIsWritten) {
  for (uint32_t colour : {0x00FFFFFFu, 0x00336699u}) {
    auto source = raster::Bitmap::Create(90, 40, 32, raster::RowOrder::TopDown);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 90; ++x) source->setPixelValue(x, y, source->valueForRGB(colour));
    const auto path = Path("blank.gif");
    ASSERT_TRUE(ExportImage(*source, path, m_gif)) << std::hex << colour;
    const test::DecodedGif gif = DecodeGif(path);
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.transparentIndex, colour == 0x00FFFFFFu ? 0 : -1);
    EXPECT_EQ(gif.colours, 2);
    EXPECT_EQ(gif.indices, std::vector<uint8_t>(90 * 40, 0));
    EXPECT_EQ(MaxChannelDifference(gif.image, ToQImage(source)), 0);
  }
}

TEST_F(ImageExportTest, GifOfAFewColoursKeepsThemExactly) {
  auto source = raster::Bitmap::Create(20, 10, 32, raster::RowOrder::TopDown);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) source->setPixelValue(x, y, source->valueForRGB(x < 10 ? 0x000000FF : 0x00FF0000));
  ASSERT_TRUE(ExportImage(*source, Path("two.gif"), m_gif));
  const test::DecodedGif gif = DecodeGif(Path("two.gif"));
  ASSERT_TRUE(gif.ok);
  EXPECT_EQ(MaxChannelDifference(gif.image, ToQImage(source)), 0);
}

TEST_F(ImageExportTest, WhiteCornerIsNotedAtPrepare) {
  ImageExport white, black;
  white.Prepare(*Picture(8, 8, 0x00FFFFFF));
  black.Prepare(*Picture(8, 8, 0));
  EXPECT_TRUE(white.WhiteCorner());
  EXPECT_FALSE(black.WhiteCorner());
}

TEST_F(ImageExportTest, ExportReplacesAnExistingFile) {
  const auto path = Path("existing.png");
  std::ofstream(path) << "old contents";
  ASSERT_TRUE(ExportImage(*Picture(12, 12, 0), path, m_gif));
  EXPECT_FALSE(QImage(QString::fromStdString(path.string())).isNull());
}

struct FailureCase {
  const char* name;
  const char* message;
};

class ExportFailureTest : public ImageExportTest, public testing::WithParamInterface<FailureCase> {};

// A name that is a folder cannot be replaced: the route's message, and the folder stays as it was.
TEST_P(ExportFailureTest, TargetThatCannotBeWrittenGivesTheRoutesMessage) {
  const auto folder = Path(GetParam().name);
  std::filesystem::create_directories(folder / "inside");
  const ExportResult result = ExportImage(*Picture(12, 12, 0x00FFFFFF), folder, m_gif);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.Message, GetParam().message);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "inside"));
}

INSTANTIATE_TEST_SUITE_P(Routes, ExportFailureTest,
                         testing::Values(FailureCase{"dir.jpg", kImageNotSaved}, FailureCase{"dir.bmp", kImageNotSaved},
                                         FailureCase{"dir.png", kImageNotSaved},
                                         FailureCase{"dir.gif", kGifWriteFailed}));

TEST_F(ImageExportTest, MissingFolderFailsCleanly) {
  const ExportResult result = ExportImage(*Picture(12, 12, 0), Path("no/such/folder/out.jpg"), m_gif);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.Message, kImageNotSaved);
}

TEST_F(ImageExportTest, SaveWithoutPrepareFails) {
  ImageExport job;
  EXPECT_EQ(job.Save(Path("x.jpg"), m_gif).Message, kImageNotSaved);
}

// The editor's whole path: compose the document, then export it; what the file holds is what was composed.
TEST_F(ImageExportTest, ComposedDocumentExportsAsComposed) {
  Document document;
  test::AddItem(document, "Hello\r\nWorld", 300, 300, [](TextItem& i) {
    i.Shadow = true;
    i.Alignment = TextAlignment::Centre;
  });
  const auto composite = BuildImage(document, test::PlainPicture(160, 100, 0x00FFFFFF));
  ASSERT_TRUE(ExportImage(*composite, Path("doc.png"), m_gif));
  const QImage decoded(QString::fromStdString(Path("doc.png").string()));
  EXPECT_EQ(MaxChannelDifference(decoded, ToQImage(composite)), 0);
}

}  // namespace
}  // namespace lumora
