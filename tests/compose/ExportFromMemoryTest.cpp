// The export takes the composite from memory: the GIF route reduces exactly what a bitmap file of
// the composite, read back, gave; and no route needs or touches the temporary folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "compose/GifExport.h"
#include "compose/ImageExport.h"
#include "imaging/GifRoute.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

std::shared_ptr<raster::Bitmap> Noise(int bpp, raster::RowOrder order, raster::ChannelMasks masks, uint32_t seed) {
  auto bitmap = raster::Bitmap::Create(37, 23, bpp, order, masks);
  std::mt19937 random(seed);
  for (auto& entry : bitmap->colorTable())
    entry = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), 7};
  for (size_t i = 0; i < bitmap->sizeBytes(); ++i) bitmap->bits()[i] = static_cast<uint8_t>(random() % 6 * 51);
  return bitmap;
}

// The route as it was with the intermediate file: written, read back, copied to 32 bits twice.
std::vector<uint8_t> ThroughBitmapFile(const raster::Bitmap& composite) {
  const fs::path file = fs::temp_directory_path() / ("lumora-intermediate-" + std::to_string(::getpid()) + ".bmp");
  EXPECT_TRUE(raster::WriteBmpFile(file, composite));
  cDIB loaded, trueColour, eightBit;
  loaded.CreateFromBitmapFile(file);
  fs::remove(file);
  trueColour.CreateFromStdPicture(loaded.Image(), true);
  cPal8bpp palette;
  std::vector<uint8_t> out;
  EXPECT_TRUE(EncodeReducedGIF(trueColour, eightBit, palette, -1, false, {}, out));
  return out;
}

TEST(ExportFromMemory, GifIsTheBitmapFileRoundTripsForEveryDepthAndRowOrder) {
  GifExport gif;
  for (int bpp : {1, 4, 8, 16, 24, 32})
    for (auto order : {raster::RowOrder::TopDown, raster::RowOrder::BottomUp})
      for (auto masks : {raster::ChannelMasks::DefaultFor(bpp), raster::ChannelMasks{0xF800, 0x07E0, 0x001F}}) {
        if (bpp != 16 && masks.red == 0xF800) continue;
        SCOPED_TRACE(testing::Message() << bpp << " bpp, order " << static_cast<int>(order) << ", red " << masks.red);
        const auto composite = Noise(bpp, order, masks, static_cast<uint32_t>(bpp));
        std::vector<uint8_t> bytes;
        ASSERT_EQ(gif.Encode(raster::StdPicture(composite), false, bytes), "");
        EXPECT_EQ(bytes, ThroughBitmapFile(*composite));
      }
}

TEST(ExportFromMemory, NoRouteWritesToOrNeedsTheTemporaryFolder) {
  const fs::path root = fs::temp_directory_path() / ("lumora-no-temp-" + std::to_string(::getpid()));
  fs::create_directories(root / "temp");
  fs::create_directories(root / "out");
  const char* saved = std::getenv("TMPDIR");
  const std::string previous = saved ? saved : "";
  const auto composite = Noise(32, raster::RowOrder::TopDown, raster::ChannelMasks::DefaultFor(32), 1);
  GifExport gif;
  // A folder of our own, one that refuses new files and one that does not exist.
  for (const fs::path& temp : {root / "temp", fs::path("/proc"), root / "missing"}) {
    ::setenv("TMPDIR", temp.c_str(), 1);
    for (const char* name : {"a.jpg", "a.gif", "a.bmp", "a.png"})
      EXPECT_TRUE(ExportImage(*composite, root / "out" / name, gif)) << temp << " " << name;
  }
  saved ? ::setenv("TMPDIR", previous.c_str(), 1) : ::unsetenv("TMPDIR");
  EXPECT_TRUE(fs::is_empty(root / "temp"));
  fs::remove_all(root);
}

}  // namespace
}  // namespace lumora
