// The GIF route takes the composite from memory and reduces exactly what a bitmap file of it, read
// back, gave (tests/cli/StartupCliTest: no route needs or touches the temporary folder).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "compose/GifExport.h"
#include "imaging/GifRoute.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {
namespace {

TEST(ExportFromMemory, GifIsWhatTheBitmapFileRoundTripGaveAtEveryDepthAndRowOrder) {
  const auto file = std::filesystem::temp_directory_path() / ("lumora-gif-" + std::to_string(::getpid()) + ".bmp");
  GifExport gif;
  std::mt19937 random(3);
  for (int depth : {1, 4, 8, 16, 24, 32, 565})  // 565: 16 bits in masks of their own
    for (auto order : {raster::RowOrder::TopDown, raster::RowOrder::BottomUp}) {
      const int bpp = depth == 565 ? 16 : depth;
      auto composite = raster::Bitmap::Create(37, 23, bpp, order, depth == 565 ? raster::ChannelMasks{0xF800, 0x07E0, 0x1F}
                                                                            : raster::ChannelMasks::DefaultFor(bpp));
      for (auto& q : composite->colorTable()) q = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 7};
      for (size_t i = 0; i < composite->sizeBytes(); ++i) composite->bits()[i] = static_cast<uint8_t>(random() % 6 * 51);
      // The route of old: the composite written, read back, copied to 32 bits twice.
      ASSERT_TRUE(raster::WriteBmpFile(file, *composite));
      cDIB loaded, trueColour, eightBit;
      loaded.CreateFromBitmapFile(file);
      trueColour.CreateFromStdPicture(loaded.Image(), true);
      cPal8bpp palette;
      std::vector<uint8_t> expected, bytes;
      ASSERT_TRUE(EncodeReducedGIF(trueColour, eightBit, palette, -1, false, {}, expected));
      ASSERT_EQ(gif.Encode(raster::StdPicture(composite), false, bytes), "");
      EXPECT_EQ(bytes, expected) << depth << " bpp, order " << int(order);
    }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace lumora
