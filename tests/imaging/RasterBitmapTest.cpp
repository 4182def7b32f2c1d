// The bitmap and drawing-context basics the copies build on: row sizes, pixel packing, channel
// masks, colour-table access and drawing state.
#include <gtest/gtest.h>

#include <random>

#include "base/LumoraError.h"
#include "imaging/raster/Bitmap.h"
#include "imaging/raster/ColorMatch.h"
#include "imaging/raster/DeviceContext.h"

namespace lumora::raster {
namespace {

TEST(RasterBitmap, RowSizesAndOverflow) {
  EXPECT_EQ(Bitmap::BytesPerScanLine(1, 1), 4);
  EXPECT_EQ(Bitmap::BytesPerScanLine(32, 1), 4);
  EXPECT_EQ(Bitmap::BytesPerScanLine(33, 1), 8);
  EXPECT_EQ(Bitmap::BytesPerScanLine(3, 24), 12);
  EXPECT_EQ(Bitmap::BytesPerScanLine(5, 16), 12);
  EXPECT_THROW(Bitmap::BytesPerScanLine(INT32_MAX, 32), LumoraError);
  EXPECT_THROW(Bitmap::Create(40000, 40000, 32), LumoraError);
  EXPECT_EQ(Bitmap::Create(0, 1, 8), nullptr);
  EXPECT_EQ(Bitmap::Create(1, 1, 12), nullptr);
}

TEST(RasterBitmap, SubBytePixelsPackFromTheHighBit) {
  auto one = Bitmap::Create(9, 1, 1);
  one->setPixelValue(0, 0, 1);
  one->setPixelValue(8, 0, 1);
  EXPECT_EQ(one->bits()[0], 0x80);
  EXPECT_EQ(one->bits()[1], 0x80);
  one->setPixelValue(0, 0, 0);
  EXPECT_EQ(one->bits()[0], 0x00);
  auto four = Bitmap::Create(3, 1, 4);
  four->setPixelValue(0, 0, 0xA);
  four->setPixelValue(1, 0, 0x5);
  four->setPixelValue(2, 0, 0xF);
  EXPECT_EQ(four->bits()[0], 0xA5);
  EXPECT_EQ(four->bits()[1], 0xF0);
  EXPECT_EQ(four->pixelValue(1, 0), 0x5u);
}

TEST(RasterBitmap, RowOrderDecidesWhereRowsLive) {
  auto up = Bitmap::Create(1, 3, 8, RowOrder::BottomUp);
  up->setPixelValue(0, 0, 7);
  EXPECT_EQ(up->bits()[2 * up->stride()], 7);
  auto down = Bitmap::Create(1, 3, 8);
  down->setPixelValue(0, 0, 7);
  EXPECT_EQ(down->bits()[0], 7);
}

TEST(RasterBitmap, ChannelMasksWidenByReplication) {
  auto b = Bitmap::Create(1, 1, 16, RowOrder::TopDown, ChannelMasks{0xF800, 0x07E0, 0x001F});
  b->setPixelValue(0, 0, 0xF800);
  EXPECT_EQ(b->pixelRGB(0, 0), 0x0000FFu);
  b->setPixelValue(0, 0, 0x0410);  // green 100000b -> 0x82, blue 10000b -> 0x84
  EXPECT_EQ(b->pixelRGB(0, 0), 0x848200u);
  EXPECT_EQ(b->valueForRGB(0xFFFFFF), 0xFFFFu);
  auto d = Bitmap::Create(1, 1, 16);
  EXPECT_EQ(d->valueForRGB(0x0000FF), 0x7C00u);
}

TEST(RasterBitmap, IndexedValuesAreNearestEntries) {
  auto b = Bitmap::Create(1, 1, 4);
  b->colorTable()[2] = RGBQuad{0, 0, 100, 0};
  b->colorTable()[3] = RGBQuad{0, 0, 200, 0};
  EXPECT_EQ(b->valueForRGB(0x000060), 2u);
  EXPECT_EQ(b->valueForRGB(0x0000B0), 3u);
  EXPECT_EQ(b->valueForRGB(0x000000), 0u);  // ties go to the lowest index
  EXPECT_EQ(b->rgbForValue(3), 0x0000C8u);
  EXPECT_EQ(NearestIndex(b->colorTable(), 0x000096), 2u);  // 150: equally far, lowest wins
}

// The vector table must answer as the plain search does: tables of every size class (padding
// to four entries), duplicate entries (ties), extreme channel values, and every colour of a
// coarse grid plus random ones.
TEST(RasterColourMatch, VectorTableGivesThePlainSearchsAnswers) {
  std::mt19937 random(31);
  auto byte = [&] { return static_cast<uint8_t>(random() & 0xFF); };
  std::vector<std::vector<RGBQuad>> tables;
  for (size_t size : {1u, 2u, 3u, 4u, 5u, 7u, 16u, 17u, 100u, 255u, 256u}) {
    std::vector<RGBQuad> table(size);
    for (RGBQuad& e : table) e = {byte(), byte(), byte(), 0};
    tables.push_back(table);
  }
  std::vector<RGBQuad> duplicates(64);
  for (size_t i = 0; i < duplicates.size(); ++i) duplicates[i] = {static_cast<uint8_t>(i / 4 * 16), 0, 255, 0};
  tables.push_back(duplicates);
  tables.push_back({{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 0, 0}, {255, 255, 255, 0}, {128, 128, 128, 0}});
  std::vector<uint32_t> colours;
  for (uint32_t b = 0; b < 256; b += 17)
    for (uint32_t g = 0; g < 256; g += 17)
      for (uint32_t r = 0; r < 256; r += 17) colours.push_back(r | g << 8 | b << 16);
  for (int i = 0; i < 2000; ++i) colours.push_back(random() & 0xFFFFFF);
  for (const auto& table : tables) {
    SCOPED_TRACE(table.size());
    const NearestColourTable vector(table);
    for (uint32_t rgb : colours) ASSERT_EQ(vector.Nearest(rgb), NearestIndex(table, rgb)) << std::hex << rgb;
  }
}

TEST(RasterContext, ColourTableAccessClampsToTheTable) {
  auto dc = CreateCompatibleDC();
  RGBQuad entries[4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 9, 9, 9}, {7, 7, 7, 7}};
  EXPECT_EQ(SetDIBColorTable(dc.get(), 0, 2, entries), 0);  // no bitmap
  dc->SelectBitmap(Bitmap::Create(1, 1, 1));
  EXPECT_EQ(SetDIBColorTable(dc.get(), 1, 4, entries), 1);
  RGBQuad out[4] = {};
  EXPECT_EQ(GetDIBColorTable(dc.get(), 0, 4, out), 2);
  EXPECT_EQ(out[1], entries[0]);
  EXPECT_EQ(GetDIBColorTable(dc.get(), 5, 1, out), 0);
  EXPECT_EQ(GetDIBColorTable(dc.get(), -1, 1, out), 0);
  dc->SelectBitmap(Bitmap::Create(1, 1, 24));
  EXPECT_EQ(GetDIBColorTable(dc.get(), 0, 4, out), 0);
}

TEST(RasterContext, DrawingState) {
  auto dc = CreateCompatibleDC();
  EXPECT_EQ(dc->GetStretchBltMode(), BLACKONWHITE);
  EXPECT_EQ(dc->SetStretchBltMode(HALFTONE), BLACKONWHITE);
  EXPECT_EQ(dc->SetStretchBltMode(9), 0);
  EXPECT_EQ(dc->GetStretchBltMode(), HALFTONE);
  EXPECT_EQ(dc->SetBrushOrg(3, 4), (Point{0, 0}));
  EXPECT_EQ(dc->GetBrushOrg(), (Point{3, 4}));
  auto first = Bitmap::Create(1, 1, 8);
  EXPECT_EQ(dc->SelectBitmap(first), nullptr);
  EXPECT_EQ(dc->SelectBitmap(Bitmap::Create(2, 2, 8)), first);
}

}  // namespace
}  // namespace lumora::raster
