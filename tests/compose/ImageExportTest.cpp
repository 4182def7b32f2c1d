// The export routes through real files read back by libjpeg-turbo, giflib and Qt: what each
// route writes, the GIF transparency rule, the GIF made in memory, and the failure messages.
#include "pictureio/ImageExport.h"

#include <gtest/gtest.h>

#include <QImageReader>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <random>

#include "Decoders.h"
#include "compose/ImageConversion.h"
#include "imaging/GifRoute.h"
#include "imaging/raster/BmpFile.h"
#include "pictureio/ExportRoutes.h"
#include "pictureio/GifExport.h"

namespace lumora {
namespace {

using test::DecodeGif;
using test::DecodeJpeg;
using test::MaxChannelDifference;
using test::MeanChannelDifference;

TEST(RouteFor, LastFourCharactersPickTheRoute) {
  const std::vector<std::pair<const char*, ExportRoute>> cases = {
      {"a.gif", ExportRoute::Gif},     {"/x/y.GiF", ExportRoute::Gif},  {"B.BMP", ExportRoute::Bitmap},
      {"c.Png", ExportRoute::Png},     {"d.jpeg", ExportRoute::Jpeg},   {"d.tif", ExportRoute::Jpeg},
      {"gif", ExportRoute::Jpeg},      {"", ExportRoute::Jpeg},         {"a.gif.txt", ExportRoute::Jpeg},
      {"a.xgif", ExportRoute::Jpeg},   {"noextension", ExportRoute::Jpeg}};
  for (const auto& [name, route] : cases) EXPECT_EQ(RouteFor(name), route) << name;
}

class ImageExportTest : public testing::Test {
 protected:
  std::filesystem::path Path(const std::string& name) const { return std::filesystem::path(m_dir.path().toStdString()) / name; }

  // Smooth gradients, flat areas and a hard edge; the top-left quarter in the corner colour.
  static std::shared_ptr<raster::Bitmap> Picture(int width, int height, uint32_t corner) {
    auto bitmap = raster::Bitmap::Create(width, height, 32, raster::RowOrder::TopDown);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint32_t rgb = static_cast<uint32_t>((x * 255) / width) | (static_cast<uint32_t>((y * 255) / height) << 8) |
                       (x > width / 2 ? 0x00C00000u : 0x00200000u);
        bitmap->setPixelValue(x, y, bitmap->valueForRGB(x < width / 4 && y < height / 4 ? corner : rgb));
      }
    return bitmap;
  }

  GifExport m_gif;
  QTemporaryDir m_dir;
};

TEST_F(ImageExportTest, JpegRouteIsQuality100AtFullSamplingWithTheFixedComment) {
  const auto source = Picture(64, 48, 0x00336699);
  ASSERT_TRUE(ExportImage(*source, Path("out.jpg"), m_gif));
  const std::vector<uint8_t> b = test::ReadBytes(Path("out.jpg"));
  const auto m = jpegtest::Markers(b);  // one comment, two tables of ones, three components 1 x 1
  std::vector<uint8_t> codes;
  for (const auto& marker : m) codes.push_back(marker.code);
  ASSERT_EQ(codes, (std::vector<uint8_t>{0xD8, 0xE0, 0xFE, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9}));
  for (size_t t : {3u, 4u})
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + m[t].at + 5, b.begin() + m[t].at + 69), std::vector<uint8_t>(64, 1));
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + m[5].at + 9, b.begin() + m[5].at + 19),
            (std::vector<uint8_t>{3, 1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1}));
  EXPECT_LE(MaxChannelDifference(DecodeJpeg(Path("out.jpg")), ToQImage(source)), 4);
}

TEST_F(ImageExportTest, BitmapAndPngRoutesAreLossless) {
  const auto source = Picture(33, 17, 0x00123456);
  std::ofstream(Path("out.png")) << "an older file is replaced";
  for (const char* name : {"out.BMP", "out.png"}) {
    ASSERT_TRUE(ExportImage(*source, Path(name), m_gif)) << name;
    EXPECT_EQ(MaxChannelDifference(QImageReader(QString::fromStdString(Path(name).string())).read(), ToQImage(source)), 0);
  }
  const std::vector<uint8_t> bmp = test::ReadBytes(Path("out.BMP"));
  ASSERT_EQ(bmp.size(), 54u + 17u * 100u) << "24 bits: 33 x 3 = 99 bytes a row, padded to 100";
  EXPECT_EQ(std::make_tuple(bmp[0], bmp[1], bmp[28]), std::make_tuple('B', 'M', 24));
  EXPECT_EQ(bmp[22] | (bmp[23] << 8), 17) << "positive height: bottom row first";
}

// Exact white in the top-left corner makes index 0 transparent (GIF89a); anything else gives GIF87a.
// The work objects persist between exports: no file depends on the one before.
TEST_F(ImageExportTest, GifTransparencyFollowsTheCorner) {
  for (const auto& [corner, width] : {std::pair{0x00FFFFFFu, 60}, {0x00FFFFFEu, 31}, {0x00FEFFFFu, 80}, {0u, 60}}) {
    const bool white = corner == 0x00FFFFFFu;
    const auto source = Picture(width, 40, corner);
    ASSERT_TRUE(ExportImage(*source, Path("out.gif"), m_gif));
    const test::DecodedGif gif = DecodeGif(Path("out.gif"));
    ASSERT_EQ(gif.gif.error, 0);
    EXPECT_EQ(gif.version, white ? "GIF89a" : "GIF87a") << std::hex << corner;
    EXPECT_EQ(gif.gif.transparent, white ? 0 : -1);
    EXPECT_EQ(m_gif.Transparency(), white);
    EXPECT_EQ(gif.gif.pixels[0], 0) << "the top-left pixel's cell is entry 0";
    EXPECT_FALSE(gif.gif.interlaced);
    EXPECT_LT(MeanChannelDifference(gif.image, ToQImage(source)), 6.0);
    GifExport fresh;
    ASSERT_TRUE(ExportImage(*source, Path("fresh.gif"), fresh));
    EXPECT_EQ(test::ReadBytes(Path("out.gif")), test::ReadBytes(Path("fresh.gif"))) << std::hex << corner;
  }
}

// At every size a thin white frame is the transparent cell and what it frames stays opaque: the
// palette's entry 0 is the picture's own top-left pixel, not a thumbnail's sample near it.
TEST_F(ImageExportTest, AThinWhiteFrameAloneIsTransparent) {
  for (const auto& [width, height] : {std::pair{151, 151}, {300, 300}, {640, 480}, {1920, 1080}}) {
    auto picture = raster::Bitmap::Create(width, height, 32, raster::RowOrder::TopDown);
    const auto frame = [&](int x, int y) { return x == 0 || y == 0 || x == width - 1 || y == height - 1; };
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) picture->setPixelValue(x, y, frame(x, y) ? 0xFFFFFF : 0xCC2020);
    ASSERT_TRUE(ExportImage(*picture, Path("framed.gif"), m_gif));
    const test::DecodedGif gif = DecodeGif(Path("framed.gif"));
    ASSERT_EQ(gif.gif.error, 0);
    size_t wrong = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        wrong += (gif.gif.pixels[static_cast<size_t>(y) * width + x] == gif.gif.transparent) != frame(x, y);
    EXPECT_EQ(wrong, 0u) << width << " x " << height;
  }
}

// A blank template reduces to one entry and still gets the two-entry table GIF needs; a few
// colours are kept exactly.
TEST_F(ImageExportTest, GifOfOneOrTwoColoursIsExact) {
  for (uint32_t colour : {0x00FFFFFFu, 0x00336699u, 0u}) {
    auto source = raster::Bitmap::Create(90, 40, 32, raster::RowOrder::TopDown);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 90; ++x)
        source->setPixelValue(x, y, source->valueForRGB(colour == 0 && x >= 45 ? 0xFF : colour));
    ASSERT_TRUE(ExportImage(*source, Path("few.gif"), m_gif)) << std::hex << colour;
    const test::DecodedGif gif = DecodeGif(Path("few.gif"));
    ASSERT_EQ(gif.gif.error, 0);
    EXPECT_EQ(gif.gif.colours.size(), 2u);
    EXPECT_EQ(MaxChannelDifference(gif.image, ToQImage(source)), 0);
    EXPECT_TRUE(colour == 0 || gif.gif.pixels == std::vector<uint8_t>(90 * 40, 0)) << "one colour, one entry";
  }
}

// A name that is a folder cannot be replaced: the route's message, and the folder stays as it was.
TEST_F(ImageExportTest, TargetThatCannotBeWrittenGivesTheRoutesMessage) {
  const std::string notSaved = "The image could not be saved.";
  for (const auto& [name, message] : {std::pair{"dir.jpg", notSaved}, {"dir.bmp", notSaved}, {"dir.png", notSaved},
                                      {"dir.gif", std::string("Unexpected error saving GIF image (2).")}}) {
    std::filesystem::create_directories(Path(name) / "inside");
    const ExportResult result = ExportImage(*Picture(12, 12, 0x00FFFFFF), Path(name), m_gif);
    EXPECT_FALSE(result) << name;
    EXPECT_EQ(result.Message, message);
    EXPECT_TRUE(std::filesystem::is_directory(Path(name) / "inside"));
  }
  EXPECT_EQ(ExportImage(*Picture(12, 12, 0), Path("no/such/folder/out.jpg"), m_gif).Message, notSaved);
}

// The GIF route reduces the composite in memory exactly as it did a bitmap file of it, read back.
TEST_F(ImageExportTest, GifFromMemoryIsWhatTheBitmapFileRoundTripGaveAtEveryDepthAndRowOrder) {
  const auto file = Path("composite.bmp");
  std::mt19937 random(3);
  for (int bpp : {1, 4, 8, 16, 24, 32})
    for (auto order : {raster::RowOrder::TopDown, raster::RowOrder::BottomUp}) {
      auto composite = raster::Bitmap::Create(37, 23, bpp, order);
      for (auto& q : composite->colorTable()) q = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 7};
      std::generate_n(composite->bits(), composite->sizeBytes(), [&] { return uint8_t(random() % 6 * 51); });
      // The route of old: the composite written, read back, copied to 32 bits twice.
      ASSERT_TRUE(raster::WriteBmpFile(file, *composite));
      cDIB loaded, trueColour, eightBit;
      loaded.CreateFromBitmapFile(file);
      trueColour.CreateFromStdPicture(loaded.Image(), true);
      cPal8bpp palette;
      std::vector<uint8_t> expected, bytes;
      ASSERT_TRUE(EncodeReducedGIF(trueColour, eightBit, palette, -1, false, {}, expected));
      ASSERT_EQ(m_gif.Encode(raster::StdPicture(composite), false, bytes), "");
      EXPECT_EQ(bytes, expected) << bpp << " bpp, order " << int(order);
    }
}

}  // namespace
}  // namespace lumora
