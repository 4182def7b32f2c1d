// The export takes the composite from memory: the GIF route reduces exactly what a bitmap file of
// the composite, read back, gave; and no route needs or touches the temporary folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "compose/GifExport.h"
#include "compose/ImageExport.h"
#include "imaging/GifRoute.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
const fs::path kScratch = fs::temp_directory_path() / ("lumora-from-memory-" + std::to_string(::getpid()));

std::shared_ptr<raster::Bitmap> Noise(int bpp, raster::RowOrder order, raster::ChannelMasks masks) {
  auto bitmap = raster::Bitmap::Create(37, 23, bpp, order, masks);
  std::mt19937 random(static_cast<uint32_t>(bpp));
  for (auto& q : bitmap->colorTable()) q = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 7};
  for (size_t i = 0; i < bitmap->sizeBytes(); ++i) bitmap->bits()[i] = static_cast<uint8_t>(random() % 6 * 51);
  return bitmap;
}

TEST(ExportFromMemory, GifIsWhatTheBitmapFileRoundTripGaveAtEveryDepthAndRowOrder) {
  fs::create_directories(kScratch);
  GifExport gif;
  for (int depth : {1, 4, 8, 16, 24, 32, 565})  // 565: 16 bits in masks of their own
    for (auto order : {raster::RowOrder::TopDown, raster::RowOrder::BottomUp}) {
      SCOPED_TRACE(testing::Message() << depth << " bpp, order " << int(order));
      const int bpp = depth == 565 ? 16 : depth;
      const auto composite = Noise(bpp, order, depth == 565 ? raster::ChannelMasks{0xF800, 0x07E0, 0x001F}
                                                            : raster::ChannelMasks::DefaultFor(bpp));
      // The old route: the composite written, read back, copied to 32 bits twice.
      ASSERT_TRUE(raster::WriteBmpFile(kScratch / "i.bmp", *composite));
      cDIB loaded, trueColour, eightBit;
      loaded.CreateFromBitmapFile(kScratch / "i.bmp");
      trueColour.CreateFromStdPicture(loaded.Image(), true);
      cPal8bpp palette;
      std::vector<uint8_t> expected, bytes;
      ASSERT_TRUE(EncodeReducedGIF(trueColour, eightBit, palette, -1, false, {}, expected));
      ASSERT_EQ(gif.Encode(raster::StdPicture(composite), false, bytes), "");
      EXPECT_EQ(bytes, expected);
    }
  fs::remove_all(kScratch);
}

TEST(ExportFromMemory, NoRouteWritesToOrNeedsTheTemporaryFolder) {
  fs::create_directories(kScratch / "temp");
  const char* saved = std::getenv("TMPDIR");
  const std::string previous = saved ? saved : "";
  const auto composite = Noise(32, raster::RowOrder::TopDown, raster::ChannelMasks::DefaultFor(32));
  GifExport gif;
  // A folder of our own, one that refuses new files and one that does not exist.
  for (const fs::path& temp : {kScratch / "temp", fs::path("/proc"), kScratch / "missing"}) {
    ::setenv("TMPDIR", temp.c_str(), 1);
    for (const char* name : {"a.jpg", "a.gif", "a.bmp", "a.png"})
      EXPECT_TRUE(ExportImage(*composite, kScratch / name, gif)) << temp << " " << name;
  }
  saved ? ::setenv("TMPDIR", previous.c_str(), 1) : ::unsetenv("TMPDIR");
  EXPECT_TRUE(fs::is_empty(kScratch / "temp"));
  fs::remove_all(kScratch);
}

}  // namespace
}  // namespace lumora
