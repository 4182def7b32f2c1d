// A white corner makes the white of a GIF transparent, and only the white: at every size the
// transparent entry is the cell of the picture's own top-left pixel.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "Decoders.h"
#include "compose/GifExport.h"
#include "compose/ImageExport.h"
#include "imaging/raster/Bitmap.h"

namespace lumora {
namespace {

TEST(GifTransparency, AThinWhiteFrameIsTransparentAndWhatItFramesIsNot) {
  QTemporaryDir dir;
  GifExport gif;
  for (const auto& [width, height] : {std::pair{151, 151}, {300, 300}, {640, 480}, {1920, 1080}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    auto picture = raster::Bitmap::Create(width, height, 32, raster::RowOrder::TopDown);
    const auto frame = [&](int x, int y) { return x == 0 || y == 0 || x == width - 1 || y == height - 1; };
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) picture->setPixelValue(x, y, frame(x, y) ? 0xFFFFFF : 0xCC2020);
    const auto name = std::filesystem::path(dir.path().toStdString()) / "framed.gif";
    ASSERT_TRUE(ExportImage(*picture, name, gif));
    const test::DecodedGif decoded = test::DecodeGif(name);
    ASSERT_TRUE(decoded.ok);
    ASSERT_GE(decoded.transparentIndex, 0);
    size_t wrong = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        wrong += (decoded.indices[static_cast<size_t>(y) * width + x] == decoded.transparentIndex) != frame(x, y);
    EXPECT_EQ(wrong, 0u);
  }
}

}  // namespace
}  // namespace lumora
