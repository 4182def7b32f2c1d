// SaveGIF and EncodeGIF: the file's bytes block by block, the colour-table size rule, the
// extensions, interlacing, refusals, the atomic file, and real decoders (giflib and Qt) reading
// back exactly the indices of the 8-bit surface.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <bit>
#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include "GifTestSupport.h"
#include "SurfaceBuilders.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mGIFSave.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

// A palette of count distinct colours (entry i: 3i, 255 - i, 7i mod 256).
void makePalette(cPal8bpp& p, int count) {
  p.Initialize(static_cast<int16_t>(count));
  for (int i = 0; i < count; ++i) {
    p.rgbR(i, static_cast<uint8_t>(3 * i));
    p.rgbG(i, static_cast<uint8_t>(255 - i));
    p.rgbB(i, static_cast<uint8_t>((7 * i) & 0xFF));
  }
}

std::vector<uint8_t> noiseIndices(size_t count, int colours, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> v(count);
  for (auto& i : v) i = static_cast<uint8_t>(random() % static_cast<uint32_t>(colours));
  return v;
}

std::vector<uint8_t> encode(const cDIB& dib, const cPal8bpp& p, int16_t transparent = -1, bool interlaced = false,
                            const std::string& comment = {}) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(mGIFSave::EncodeGIF(dib, p, transparent, interlaced, comment, out));
  return out;
}

fs::path freshFolder() {
  const auto dir = fs::temp_directory_path() /
                   ("lumora-gif-" + std::to_string(::getpid()) + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

std::vector<uint8_t> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(GifWriter, TwoColourPictureIsExactBytes) {
  cDIB dib;
  testsurface::Fill8(dib, 2, 2, {0, 1, 1, 0});
  cPal8bpp p;
  p.SetPalette(std::vector<uint8_t>{0x30, 0x20, 0x10, 0, 0xF0, 0xE0, 0xD0, 0});
  const std::vector<uint8_t> expected = {
      'G', 'I', 'F', '8', '7', 'a',              // header
      2, 0, 2, 0, 0xF0, 0, 0,                    // screen: 2 x 2, global table of 2, background 0, aspect 0
      0x10, 0x20, 0x30, 0xD0, 0xE0, 0xF0,        // red, green, blue of entries 0 and 1
      0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x00,        // image descriptor, flags n - 1 = 0
      2,                                         // LZW code size 2 for a 2-entry table
      3, 0x44, 0x02, 0x05, 0,                    // clear 0 1 1 (3 bits) 0 end (4 bits); terminator
      0x3B};
  EXPECT_EQ(encode(dib, p), expected);
}

struct TableCase {
  int entries;
  int tableColours;
  int codeSize;
};

TEST(GifWriter, ColourTableSizeRule) {
  const std::vector<TableCase> cases = {{2, 2, 2},   {3, 4, 2},    {4, 4, 2},     {5, 8, 3},   {8, 8, 3},
                                        {9, 16, 4},  {16, 16, 4},  {17, 32, 5},   {129, 256, 8}, {256, 256, 8}};
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.entries);
    cDIB dib;
    testsurface::Fill8(dib, 7, 5, noiseIndices(35, c.entries, static_cast<uint32_t>(c.entries)));
    cPal8bpp p;
    makePalette(p, c.entries);
    const auto file = encode(dib, p);
    const auto g = giftest::ParseGif(file);
    ASSERT_TRUE(g.ok) << g.error;
    EXPECT_EQ(g.screenFlags, 0xF0 + (std::countr_zero(static_cast<unsigned>(c.tableColours)) - 1));
    ASSERT_EQ(g.colourTable.size(), 3u * static_cast<size_t>(c.tableColours));
    for (int i = 0; i < c.tableColours; ++i) {
      const bool used = i < c.entries;
      EXPECT_EQ(g.colourTable[3 * static_cast<size_t>(i)], used ? p.rgbR(i) : 0) << i;
      EXPECT_EQ(g.colourTable[3 * static_cast<size_t>(i) + 1], used ? p.rgbG(i) : 0) << i;
      EXPECT_EQ(g.colourTable[3 * static_cast<size_t>(i) + 2], used ? p.rgbB(i) : 0) << i;
    }
    EXPECT_EQ(g.descriptorFlags, std::countr_zero(static_cast<unsigned>(c.tableColours)) - 1);
    EXPECT_EQ(g.codeSize, c.codeSize);
    EXPECT_TRUE(g.trailer);
  }
}

// GIF87a without extensions; GIF89a with the comment (in sub-blocks of 255) before the control
// extension that names the transparent index.
TEST(GifWriter, ExtensionsAndVersion) {
  cDIB dib;
  testsurface::Fill8(dib, 3, 3, noiseIndices(9, 4, 1));
  cPal8bpp p;
  makePalette(p, 4);
  const auto plain = encode(dib, p);
  EXPECT_EQ(std::string(plain.begin(), plain.begin() + 6), "GIF87a");
  EXPECT_TRUE(giftest::ParseGif(plain).extensions.empty());
  const size_t afterTable = 13 + 3 * 4;
  const auto transparent = encode(dib, p, 3);
  EXPECT_EQ(std::string(transparent.begin(), transparent.begin() + 6), "GIF89a");
  EXPECT_EQ(std::vector<uint8_t>(transparent.begin() + afterTable, transparent.begin() + afterTable + 9),
            (std::vector<uint8_t>{0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x03, 0x00, 0x2C}));
  EXPECT_EQ(giftest::DecodeWithGiflib(transparent).transparent, 3);
  const auto commented = encode(dib, p, -1, false, "Lumora");
  EXPECT_EQ(std::string(commented.begin(), commented.begin() + 6), "GIF89a");
  EXPECT_EQ(std::vector<uint8_t>(commented.begin() + afterTable, commented.begin() + afterTable + 11),
            (std::vector<uint8_t>{0x21, 0xFE, 6, 'L', 'u', 'm', 'o', 'r', 'a', 0x00, 0x2C}));
  std::string comment;
  for (int i = 0; i < 600; ++i) comment += static_cast<char>('a' + i % 26);
  const auto both = giftest::ParseGif(encode(dib, p, 0, false, comment));
  ASSERT_TRUE(both.ok) << both.error;
  ASSERT_EQ(both.extensions.size(), 2u);
  const auto& ext = both.extensions[0];
  ASSERT_EQ(ext.size(), 1u + 1 + 255 + 1 + 255 + 1 + 90 + 1);
  EXPECT_EQ(std::vector<uint8_t>({ext[0], ext[1], ext[257], ext[513]}), (std::vector<uint8_t>{0xFE, 255, 255, 90}));
  EXPECT_EQ(std::string(ext.begin() + 2, ext.begin() + 257) + std::string(ext.begin() + 258, ext.begin() + 513) +
                std::string(ext.begin() + 514, ext.end() - 1),
            comment);
  EXPECT_EQ(both.extensions[1][0], 0xF9);
}

struct DecodeCase {
  const char* name;
  int32_t width, height;
  int colours;
  std::vector<uint8_t> indices;
};

std::vector<DecodeCase> decodeCases() {
  std::vector<DecodeCase> cases;
  cases.push_back({"1 x 1", 1, 1, 2, {1}});
  cases.push_back({"single colour 256", 640, 480, 256, std::vector<uint8_t>(640 * 480, 201)});
  cases.push_back({"width 1", 1, 777, 16, noiseIndices(777, 16, 3)});
  cases.push_back({"height 1", 5000, 1, 256, noiseIndices(5000, 256, 4)});
  cases.push_back({"noise 256", 321, 123, 256, noiseIndices(321 * 123, 256, 5)});
  cases.push_back({"noise 3", 199, 301, 3, noiseIndices(199 * 301, 3, 6)});
  cases.push_back({"widest", 32767, 1, 2, noiseIndices(32767, 2, 13)});
  std::vector<uint8_t> runs;
  std::mt19937 random(8);
  while (runs.size() < 500 * 400) runs.insert(runs.end(), 1 + random() % 300, static_cast<uint8_t>(random() % 64));
  runs.resize(500 * 400);
  cases.push_back({"long runs", 500, 400, 64, runs});
  return cases;
}

// Both decoders read back exactly the surface's indices; Qt through the colours.
TEST(GifWriter, RealDecodersReadTheIndicesBack) {
  for (const DecodeCase& c : decodeCases()) {
    for (bool interlaced : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (interlaced ? " interlaced" : ""));
      cDIB dib;
      testsurface::Fill8(dib, c.width, c.height, c.indices);
      cPal8bpp p;
      makePalette(p, c.colours);
      const auto file = encode(dib, p, -1, interlaced);

      const auto g = giftest::DecodeWithGiflib(file);
      ASSERT_EQ(g.error, 0);
      EXPECT_EQ(g.width, c.width);
      EXPECT_EQ(g.height, c.height);
      EXPECT_EQ(g.interlaced, interlaced);
      EXPECT_EQ(g.pixels, c.indices);
      const auto blocks = giftest::ParseGif(file).blockSizes;
      for (size_t i = 0; i + 1 < blocks.size(); ++i) ASSERT_EQ(blocks[i], 254) << "data sub-block " << i;

      const QImage image = QImage::fromData(QByteArray(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size())), "GIF");
      ASSERT_FALSE(image.isNull());
      ASSERT_EQ(image.width(), c.width);
      ASSERT_EQ(image.height(), c.height);
      for (int32_t y = 0; y < c.height; ++y)
        for (int32_t x = 0; x < c.width; ++x) {
          const uint8_t i = c.indices[static_cast<size_t>(y) * c.width + x];
          ASSERT_EQ(image.pixel(x, y), qRgb(p.rgbR(i), p.rgbG(i), p.rgbB(i))) << x << "," << y;
        }
    }
  }
}

// Interlaced row order for every small height: the descriptor says interlaced and the rows come
// in the four passes, so the decoders put them back in place.
TEST(GifWriter, InterlacedSmallHeights) {
  for (int32_t h = 1; h <= 20; ++h) {
    SCOPED_TRACE(h);
    std::vector<uint8_t> indices;
    for (int32_t y = 0; y < h; ++y) indices.insert(indices.end(), 3, static_cast<uint8_t>(y));
    cDIB dib;
    testsurface::Fill8(dib, 3, h, indices);
    cPal8bpp p;
    makePalette(p, 32);
    const auto file = encode(dib, p, -1, true);
    EXPECT_EQ(giftest::ParseGif(file).descriptorFlags & 0x40, 0x40);
    EXPECT_EQ(giftest::DecodeWithGiflib(file).pixels, indices);
  }
}

struct RefusalCase {
  const char* name;
  int bpp;
  int32_t width;
  int entries;
  int16_t transparent;
  uint8_t pixel;
};

TEST(GifWriter, RefusesWhatItCannotWrite) {
  const std::vector<RefusalCase> cases = {
      {"32-bit surface", 32, 4, 2, -1, 0},  {"24-bit surface", 24, 4, 16, -1, 0}, {"one entry", 8, 4, 1, -1, 0},
      {"no entries", 8, 4, 0, -1, 0},       {"too wide", 8, 32768, 2, -1, 0},     {"transparent 256", 8, 4, 2, 256, 0},
      {"index beyond 4-colour table", 8, 4, 3, -1, 4}, {"index beyond 2-colour table", 8, 4, 2, -1, 2}};
  const fs::path folder = freshFolder();
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    cDIB dib;
    ASSERT_TRUE(dib.Create(c.width, 1, c.bpp));
    if (c.bpp == 8) dib.lpBits()[0] = c.pixel;
    cPal8bpp p;
    makePalette(p, c.entries);
    std::vector<uint8_t> out = {1, 2, 3};
    EXPECT_FALSE(mGIFSave::EncodeGIF(dib, p, c.transparent, false, {}, out));
    EXPECT_TRUE(out.empty());
    const fs::path file = folder / "refused.gif";
    EXPECT_FALSE(mGIFSave::SaveGIF(file, dib, p, c.transparent, false, {}));
    EXPECT_FALSE(fs::exists(file));
  }
  cDIB empty;
  cPal8bpp p;
  makePalette(p, 2);
  std::vector<uint8_t> out;
  EXPECT_FALSE(mGIFSave::EncodeGIF(empty, p, -1, false, {}, out));
  EXPECT_TRUE(fs::is_empty(folder));
  fs::remove_all(folder);
}

// A surface loaded from a bitmap file has its bottom row first in memory; the file still starts
// with the top row.
TEST(GifWriter, BottomUpSurfaceIsWrittenTopRowFirst) {
  auto bitmap = raster::Bitmap::Create(4, 3, 8, raster::RowOrder::BottomUp);
  std::vector<uint8_t> visual;
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) {
      bitmap->setPixelValue(x, y, static_cast<uint32_t>(y * 4 + x));
      visual.push_back(static_cast<uint8_t>(y * 4 + x));
    }
  const fs::path bmp = freshFolder() / "bottom-up.bmp";
  ASSERT_TRUE(raster::WriteBmpFile(bmp, *bitmap));
  cDIB dib;
  ASSERT_EQ(dib.CreateFromBitmapFile(bmp), 8);
  ASSERT_EQ(dib.hDIb()->rowOrder(), raster::RowOrder::BottomUp);
  cPal8bpp p;
  makePalette(p, 16);
  EXPECT_EQ(giftest::DecodeWithGiflib(encode(dib, p)).pixels, visual);
  fs::remove_all(bmp.parent_path());
}

// The file replaces an older one whole, with no temporary left; a failed save keeps the old one.
TEST(GifWriter, SaveGifIsAtomic) {
  const fs::path folder = freshFolder();
  const fs::path file = folder / "picture.gif";
  std::ofstream(file) << "an older, longer file that must be replaced entirely............................";
  cDIB dib, wrongDepth;
  testsurface::Fill8(dib, 30, 20, noiseIndices(600, 7, 14));
  cPal8bpp p;
  makePalette(p, 7);
  ASSERT_TRUE(mGIFSave::SaveGIF(file, dib, p, 0, false, {}));
  EXPECT_EQ(readFile(file), encode(dib, p, 0));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  wrongDepth.Create(3, 3, 32);
  EXPECT_FALSE(mGIFSave::SaveGIF(file, wrongDepth, p, -1, false, {}));
  EXPECT_EQ(readFile(file), encode(dib, p, 0));
  EXPECT_FALSE(mGIFSave::SaveGIF(folder / "missing folder" / "x.gif", dib, p, -1, false, {}));
  EXPECT_FALSE(fs::exists(folder / "missing folder"));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace lumora
