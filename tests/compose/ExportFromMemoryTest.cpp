// The GIF route reduces the composite in memory exactly as it did a bitmap file of it, read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "compose/GifExport.h"
#include "imaging/GifRoute.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {
namespace {

TEST(ExportFromMemory, GifIsWhatTheBitmapFileRoundTripGaveAtEveryDepthAndRowOrder) {
  const auto file = std::filesystem::temp_directory_path() / "lumora-gif-from-memory.bmp";
  GifExport gif;
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
      ASSERT_EQ(gif.Encode(raster::StdPicture(composite), false, bytes), "");
      EXPECT_EQ(bytes, expected) << bpp << " bpp, order " << int(order);
    }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace lumora
