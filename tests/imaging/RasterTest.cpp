// The raster files and components: BMP bytes, round trips, layouts and hostile files with their
// messages; PNG filters read back by Qt; cImage's copies, mirrors and turns; cDIB; cTile's fills.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <tuple>

#include "base/SystemColors.h"
#include "imaging/PngRowFilter.h"
#include "imaging/PngWriter.h"
#include "imaging/cDIB.h"
#include "imaging/cImage.h"
#include "imaging/cTile.h"
#include "imaging/raster/Blit.h"
#include "imaging/raster/BmpFile.h"
#include "imaging/raster/Rgb32.h"

namespace lumora::raster {
namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) { v[at] = static_cast<uint8_t>(x), v[at + 1] = static_cast<uint8_t>(x >> 8); }
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) { Put16(v, at, x & 0xFFFF), Put16(v, at + 2, x >> 16); }
uint32_t Get32(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<uint32_t>(v[at + 3]) << 24);
}

// Builds a file by hand, so the reader is tested against layouts this writer never makes.
struct HandMadeFile {
  uint32_t headerSize = 40, compression = 0, clrUsed = 0, sizeImage = 0;
  int32_t width = 4, height = 3;
  uint16_t bpp = 8;
  std::vector<uint8_t> table, pixels;  // the table's raw entries as they go into the file
  std::vector<uint32_t> masks;         // after a 40-byte header, or inside a longer one

  std::vector<uint8_t> Build() const {
    const bool masksAfter = headerSize == 40 && !masks.empty();
    const size_t offBits = 14 + headerSize + (masksAfter ? 12 : 0) + table.size();
    std::vector<uint8_t> f(offBits + pixels.size(), 0);
    f[0] = 'B', f[1] = 'M';
    Put32(f, 2, static_cast<uint32_t>(f.size())), Put32(f, 10, static_cast<uint32_t>(offBits)), Put32(f, 14, headerSize);
    if (headerSize == 12) {
      Put16(f, 18, static_cast<uint32_t>(width)), Put16(f, 20, static_cast<uint32_t>(height)), Put16(f, 22, 1), Put16(f, 24, bpp);
    } else {
      Put32(f, 18, static_cast<uint32_t>(width)), Put32(f, 22, static_cast<uint32_t>(height)), Put16(f, 26, 1), Put16(f, 28, bpp);
      Put32(f, 30, compression), Put32(f, 34, sizeImage), Put32(f, 46, clrUsed);
      for (size_t i = 0; i < masks.size(); ++i) Put32(f, 54 + 4 * i, masks[i]);
    }
    std::copy(table.begin(), table.end(), f.begin() + static_cast<std::ptrdiff_t>(14 + headerSize + (masksAfter ? 12 : 0)));
    std::copy(pixels.begin(), pixels.end(), f.begin() + static_cast<std::ptrdiff_t>(offBits));
    return f;
  }
};

std::vector<uint8_t> Greys(int entries) {
  std::vector<uint8_t> t;
  for (int i = 0; i < entries; ++i) t.insert(t.end(), 3, static_cast<uint8_t>(i * 255 / (entries - 1))), t.push_back(0);
  return t;
}

HandMadeFile Plain8() {
  HandMadeFile s;
  s.table = Greys(256);
  s.pixels.resize(4 * 3);
  for (size_t i = 0; i < s.pixels.size(); ++i) s.pixels[i] = static_cast<uint8_t>(10 * i);
  return s;
}

TEST(BmpWriter, HeaderBytes) {
  auto b = Bitmap::Create(3, 2, 24, RowOrder::BottomUp);
  b->setPixelValue(0, 1, 0x030201);  // bottom-left pixel, first in the file; 96 DPI
  const auto f = EncodeBmp(*b);
  ASSERT_EQ(f.size(), 54u + 2 * 12);
  EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.begin() + 57),
            (std::vector<uint8_t>{'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0,
                                  24, 0, 0, 0, 0, 0, 24, 0, 0, 0, 196, 14, 0, 0, 196, 14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3}));
  auto indexed = Bitmap::Create(2, 2, 4);  // top down: a negative height; the table's reserved bytes are zero
  indexed->colorTable()[1] = RGBQuad{10, 20, 30, 99};
  auto g = EncodeBmp(*indexed);
  EXPECT_EQ(std::make_tuple(Get32(g, 10), static_cast<int32_t>(Get32(g, 22)), Get32(g, 58)), std::make_tuple(54u + 64, -2, 0x1E140Au));
  g = EncodeBmp(*Bitmap::Create(2, 2, 16, RowOrder::BottomUp, ChannelMasks{0xF800, 0x07E0, 0x001F}));
  EXPECT_EQ(std::make_tuple(Get32(g, 30), Get32(g, 54), Get32(g, 62), Get32(g, 10)), std::make_tuple(3u, 0xF800u, 0x001Fu, 66u));
  EXPECT_EQ(Get32(EncodeBmp(*Bitmap::Create(1, 1, 16)), 30), 0u) << "5-5-5 needs no masks";
}

std::shared_ptr<Bitmap> RandomBitmap(int32_t w, int32_t h, int bpp, RowOrder order, ChannelMasks masks, unsigned seed) {
  auto b = Bitmap::Create(w, h, bpp, order, masks);
  std::mt19937 rng(seed);
  for (auto& q : b->colorTable()) q = RGBQuad{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
  const uint32_t valueMask = bpp == 32 ? 0xFFFFFFFF : (1u << bpp) - 1;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b->setPixelValue(x, y, rng() & valueMask & (bpp == 16 && masks == ChannelMasks::DefaultFor(16) ? 0x7FFF : 0xFFFFFFFF));
  return b;
}

struct Format { int bpp; RowOrder order; ChannelMasks masks; };

std::vector<Format> AllFormats() {
  std::vector<Format> out;
  for (int bpp : {1, 4, 8, 16, 24, 32})
    for (RowOrder order : {RowOrder::BottomUp, RowOrder::TopDown}) out.push_back({bpp, order, ChannelMasks::DefaultFor(bpp)});
  out.push_back({16, RowOrder::BottomUp, {0xF800, 0x07E0, 0x001F}});
  out.push_back({32, RowOrder::TopDown, {0x000000FF, 0x0000FF00, 0x00FF0000}});
  return out;
}

class BmpRoundTrip : public ::testing::TestWithParam<Format> {};

// Every pixel comes back, as stored and in the routes' layout; and Qt sees the same colours (Qt widens 5- and 6-bit channels by shifting
// where we replicate the high bits, so 16-bit pixels agree in their top 5 bits).
TEST_P(BmpRoundTrip, OursAndQtReadEveryPixel) {
  const auto& f = GetParam();
  for (int32_t w : {1, 7, 33}) {
    const auto b = RandomBitmap(w, 5, f.bpp, f.order, f.masks, static_cast<unsigned>(w + f.bpp));
    const auto bytes = EncodeBmp(*b);
    const auto read = ReadBmp(bytes);
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(std::make_tuple(read.bitmap->bpp(), read.bitmap->rowOrder()), std::make_tuple(f.bpp, f.order));
    EXPECT_EQ(read.bitmap->masks(), f.masks);
    EXPECT_TRUE(std::ranges::equal(read.bitmap->colorTable(), b->colorTable()));
    const auto rgb32 = ReadBmp(bytes, BmpPixels::Rgb32);  // as the routes read it
    ASSERT_TRUE(rgb32 && IsRgb32Layout(*rgb32.bitmap));
    const auto forJpeg = ReadBmp(bytes, BmpPixels::Rgb32Or24);  // 24-bit rows as they are
    ASSERT_TRUE(forJpeg && (f.bpp == 24 ? forJpeg.bitmap->bpp() == 24 : IsRgb32Layout(*forJpeg.bitmap)));
    QImage image;
    ASSERT_TRUE(image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP"));
    ASSERT_EQ(image.size(), QSize(w, 5));
    const uint32_t keep = f.bpp == 16 ? 0xF8F8F8 : 0xFFFFFF;
    for (int32_t y = 0; y < 5; ++y)
      for (int32_t x = 0; x < w; ++x) {
        ASSERT_EQ(read.bitmap->pixelValue(x, y), b->pixelValue(x, y)) << x << "," << y;
        ASSERT_EQ(rgb32.bitmap->pixelRGB(x, y), b->pixelRGB(x, y)) << x << "," << y;
        ASSERT_EQ(forJpeg.bitmap->pixelRGB(x, y), b->pixelRGB(x, y)) << x << "," << y;
        const QRgb q = image.pixel(x, y);
        ASSERT_EQ(static_cast<uint32_t>(qRed(q) | (qGreen(q) << 8) | (qBlue(q) << 16)) & keep, b->pixelRGB(x, y) & keep);
      }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, BmpRoundTrip, ::testing::ValuesIn(AllFormats()));

HandMadeFile Rle(uint16_t bpp, int32_t w, int32_t h, std::vector<uint8_t> data) {
  HandMadeFile s;
  s.width = w, s.height = h, s.bpp = bpp, s.compression = bpp == 8 ? 1 : 2, s.table = Greys(1 << bpp), s.pixels = std::move(data);
  return s;
}

// Every pixel's value, or its colour, row by row from the top.
std::vector<uint32_t> Pixels(const Bitmap& b, bool colours = false) {
  std::vector<uint32_t> out;
  for (int32_t y = 0; y < b.height(); ++y)
    for (int32_t x = 0; x < b.width(); ++x) out.push_back(colours ? b.pixelRGB(x, y) : b.pixelValue(x, y));
  return out;
}

// Layouts this writer never makes: the core header, short tables, V4 and V5 headers with masks,
// masks after the 40-byte header, a last row without padding, and run-length coding.
TEST(BmpReader, HandMadeLayouts) {
  struct Case {
    const char* name;
    std::function<void(HandMadeFile&)> change;
    std::vector<uint32_t> values;  // pixel values, or colours when colours is set
    bool colours;
  };
  const auto masked = [](uint32_t headerSize) {
    return [=](HandMadeFile& s) {
      s = HandMadeFile{}, s.headerSize = headerSize, s.width = 2, s.height = -1, s.bpp = 16, s.compression = 3;
      s.masks = {0xF800, 0x07E0, 0x001F, 0}, s.pixels = {0x00, 0xF8, 0xE0, 0x07};  // red, green
    };
  };
  const std::vector<Case> cases = {
      {"core header, three-byte entries",
       [](HandMadeFile& s) { s = HandMadeFile{}, s.headerSize = 12, s.width = 2, s.height = 1, s.bpp = 1, s.table = {0, 0, 0, 0x30, 0x20, 0x10}, s.pixels = {0x40, 0, 0, 0}; },
       {0, 0x302010}, true},
      {"two of 256 entries: the rest black",
       [](HandMadeFile& s) { s.clrUsed = 2, s.table = {0, 0, 255, 0, 255, 0, 0, 0}, s.pixels.assign(12, 0), s.pixels[1] = 1, s.pixels[2] = 2; },
       {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF0000, 0, 0xFF}, true},
      {"52-byte header", masked(52), {0xFF, 0xFF00}, true},
      {"56-byte header", masked(56), {0xFF, 0xFF00}, true},
      {"V4 header", masked(108), {0xFF, 0xFF00}, true},
      {"V5 header", masked(124), {0xFF, 0xFF00}, true},
      {"masks after the 40-byte header",
       [](HandMadeFile& s) { s = HandMadeFile{}, s.width = 1, s.height = 1, s.bpp = 32, s.compression = 3, s.masks = {0xFF, 0xFF00, 0xFF0000}, s.pixels = {0x11, 0x22, 0x33, 0}; },
       {0x332211}, true},
      {"last row without padding", [](HandMadeFile& s) { s.width = 3, s.pixels.resize(4 * 2 + 3); }, {80, 90, 100, 40, 50, 60, 0, 10, 20}, false},
      // Bottom row: run of 3 x 5, then 1 x 7. Middle row: literal 1 2 3 (padded), run 1 x 9. Top row: move right 2, run 2 x 4.
      {"RLE8 runs, literals, deltas, line ends",
       [](HandMadeFile& s) { s = Rle(8, 4, 3, {3, 5, 1, 7, 0, 0, 0, 3, 1, 2, 3, 0, 1, 9, 0, 0, 0, 2, 2, 0, 2, 4, 0, 1}); },
       {0, 0, 4, 4, 1, 2, 3, 9, 5, 5, 5, 7}, false},
      {"RLE4 alternates nibbles", [](HandMadeFile& s) { s = Rle(4, 5, 2, {5, 0xAB, 0, 0, 0, 5, 0x12, 0x34, 0x50, 0, 0, 1}); },
       {1, 2, 3, 4, 5, 0xA, 0xB, 0xA, 0xB, 0xA}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HandMadeFile file = Plain8();
    c.change(file);
    const auto read = ReadBmp(file.Build());
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(Pixels(*read.bitmap, c.colours), c.values);
  }
  HandMadeFile cut = Plain8();
  cut.width = 3, cut.pixels.resize(4 * 2 + 2);
  EXPECT_FALSE(ReadBmp(cut.Build())) << "cut into the last row's pixels";
}

struct Hostile {
  const char* name;
  std::vector<uint8_t> file;
  const char* error;  // a part of the message
};

std::vector<Hostile> HostileFiles() {
  std::vector<Hostile> h;
  const auto good = Plain8().Build();
  auto with = [&](auto change) {
    HandMadeFile s = Plain8();
    change(s);
    return s.Build();
  };
  auto patched = [&](size_t at, uint32_t value, size_t size = SIZE_MAX) {
    auto f = good;
    Put32(f, at, value);
    f.resize(std::min(size, f.size()));
    return f;
  };
  h.push_back({"Empty", {}, "too short"});
  h.push_back({"NoSignature", good, "signature"});
  h.back().file[0] = 'X';
  h.push_back({"HeaderCut", std::vector<uint8_t>(good.begin(), good.begin() + 30), "runs past the end"});
  h.push_back({"HeaderSizeLies", patched(14, 100000), "unknown size"});
  h.push_back({"HeaderSizeHuge", patched(14, 124, 100), "runs past the end"});
  h.push_back({"HeaderSizeOdd", patched(14, 64), "unknown size"});
  h.push_back({"ZeroWidth", with([](HandMadeFile& s) { s.width = 0; }), "width"});
  h.push_back({"NegativeWidth", with([](HandMadeFile& s) { s.width = -4; }), "width"});
  h.push_back({"ZeroHeight", with([](HandMadeFile& s) { s.height = 0; }), "height is zero"});
  h.push_back({"MinHeight", with([](HandMadeFile& s) { s.height = INT32_MIN; }), "65535"});
  h.push_back({"WideSide", with([](HandMadeFile& s) { s.width = 65536; }), "65535"});
  h.push_back({"TallTopDown", with([](HandMadeFile& s) { s.height = -65536; }), "65535"});
  h.push_back({"TooManyPixels", with([](HandMadeFile& s) { s.width = 20000, s.height = 20000; }), "2^28"});
  h.push_back({"PixelsNotPresent", with([](HandMadeFile& s) { s.width = 16000, s.height = 16000; }), "truncated"});
  h.push_back({"PixelsCut", with([](HandMadeFile& s) { s.pixels.resize(5); }), "truncated"});
  h.push_back({"DepthTwo", with([](HandMadeFile& s) { s.bpp = 2; }), "not supported"});
  h.push_back({"DepthZero", with([](HandMadeFile& s) { s.bpp = 0; }), "not supported"});
  h.push_back({"CoreDepth16", with([](HandMadeFile& s) { s.headerSize = 12, s.bpp = 16; }), "core header"});
  h.push_back({"Jpeg", with([](HandMadeFile& s) { s.compression = 4; }), "compression method 4"});
  h.push_back({"Rle8At24", with([](HandMadeFile& s) { s.compression = 1, s.bpp = 24; }), "does not match"});
  h.push_back({"RleTopDown", with([](HandMadeFile& s) { s.compression = 1, s.height = -3; }), "top row first"});
  h.push_back({"MasksAt8", with([](HandMadeFile& s) { s.compression = 3; }), "16 or 32"});
  h.push_back({"MasksSplit", with([](HandMadeFile& s) { s.bpp = 16, s.compression = 3, s.masks = {0x7C01, 0x3E0, 0x1E}, s.table.clear(); }), "masks"});
  h.push_back({"MasksOverlap", with([](HandMadeFile& s) { s.bpp = 32, s.compression = 3, s.masks = {0xFF00, 0xFF0, 0xF}, s.table.clear(); }), "masks"});
  h.push_back({"MasksWide", with([](HandMadeFile& s) { s.bpp = 16, s.compression = 3, s.masks = {0x1F0000, 0x3E0, 0x1F}, s.table.clear(); }), "masks"});
  h.push_back({"MasksZero", with([](HandMadeFile& s) { s.bpp = 16, s.compression = 3, s.masks = {0, 0, 0}, s.table.clear(); }), "masks"});
  h.push_back({"TooManyColours", with([](HandMadeFile& s) { s.clrUsed = 257; }), "more than 256"});
  h.push_back({"ColoursHuge", with([](HandMadeFile& s) { s.clrUsed = 0xFFFFFFFF; }), "more than 256"});
  h.push_back({"TableCut", std::vector<uint8_t>(good.begin(), good.begin() + 54 + 1000), "colour table"});
  h.push_back({"OffsetOutside", patched(10, static_cast<uint32_t>(good.size())), "outside the file"});
  h.push_back({"OffsetHuge", patched(10, 0xFFFFFFFF), "outside the file"});
  h.push_back({"OffsetInHeader", patched(10, 20), "into the headers"});
  h.push_back({"RlePastRowEnd", Rle(8, 4, 2, {5, 1, 0, 1}).Build(), "past the edge"});
  h.push_back({"RlePastTop", Rle(8, 4, 1, {0, 0, 1, 1, 0, 1}).Build(), "past the edge"});
  h.push_back({"RleLiteralPastEnd", Rle(8, 2, 1, {0, 3, 1, 2, 3, 0, 0, 1}).Build(), "past the edge"});
  h.push_back({"RleDeltaPast", Rle(8, 4, 2, {0, 2, 5, 0, 0, 1}).Build(), "past the edge"});
  h.push_back({"RleDeltaCut", Rle(8, 4, 2, {0, 2, 1}).Build(), "truncated"});
  h.push_back({"RleLiteralCut", Rle(8, 8, 2, {0, 6, 1, 2}).Build(), "truncated"});
  h.push_back({"RleNoEnd", Rle(8, 4, 2, {4, 1, 0, 0}).Build(), "without an end"});
  h.push_back({"RleSizeImageLies", with([](HandMadeFile& s) { s.compression = 1, s.pixels = {0, 1}, s.sizeImage = 1000; }), "truncated"});
  h.push_back({"RleBomb", Rle(8, 16384, 16384, {0, 1}).Build(), "far too short"});
  h.push_back({"Rle4Bomb", Rle(4, 65535, 4096, std::vector<uint8_t>(200, 0)).Build(), "far too short"});
  return h;
}

TEST(BmpReader, HostileFilesAreRefusedWithAClearReason) {
  for (const Hostile& c : HostileFiles()) {
    const auto read = ReadBmp(c.file);
    ASSERT_FALSE(read) << c.name;
    EXPECT_EQ(read.bitmap, nullptr);
    EXPECT_EQ(read.error.rfind("Not a readable bitmap file: ", 0), 0u) << c.name << ": " << read.error;
    EXPECT_NE(read.error.find(c.error), std::string::npos) << c.name << ": " << read.error;
  }
}

TEST(BmpReader, EveryTruncationOfAGoodFileIsRefusedCleanly) {
  const auto good = EncodeBmp(*RandomBitmap(9, 4, 4, RowOrder::BottomUp, {}, 3));
  ASSERT_TRUE(ReadBmp(good));
  // Cutting into the last row's padding is the only cut a reader may forgive.
  for (size_t n = 0; n + 4 < good.size(); ++n) EXPECT_FALSE(ReadBmp(std::span(good).first(n))) << n;
}

// A file larger than its headers' share is read a chunk of rows at a time: the same picture as
// from the whole file in memory, over several chunks, with the last row's padding cut off or
// not; cut into its pixels, it is refused as the whole file is.
TEST(BmpFiles, LargeFilesReadInChunksGiveTheWholeFilesPicture) {
  const QTemporaryDir temp;
  const std::filesystem::path path = std::filesystem::path(temp.path().toStdString()) / "large.bmp";
  const struct {
    int bpp;
    RowOrder order;
    ChannelMasks masks;
    BmpPixels target;
    size_t cut;  // bytes cut off the end
    const char* error;
  } cases[] = {{24, RowOrder::BottomUp, ChannelMasks::DefaultFor(24), BmpPixels::Rgb32, 0, nullptr},
               {24, RowOrder::TopDown, ChannelMasks::DefaultFor(24), BmpPixels::AsStored, 1, nullptr},
               {24, RowOrder::BottomUp, ChannelMasks::DefaultFor(24), BmpPixels::Rgb32, 1, nullptr},
               {1, RowOrder::BottomUp, ChannelMasks::DefaultFor(1), BmpPixels::Rgb32, 0, nullptr},
               {32, RowOrder::TopDown, {0xFF, 0xFF00, 0xFF0000}, BmpPixels::AsStored, 0, nullptr},
               {24, RowOrder::BottomUp, ChannelMasks::DefaultFor(24), BmpPixels::Rgb32, 2, "truncated"},
               {24, RowOrder::BottomUp, ChannelMasks::DefaultFor(24), BmpPixels::Rgb32, 4000000, "truncated"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.bpp) + (c.order == RowOrder::TopDown ? " top-down" : " bottom-up") + " cut " +
                 std::to_string(c.cut));
    // 1001 pixels leave padding on every row; 1400 rows of 24 bits are over four chunks.
    auto bytes = EncodeBmp(*RandomBitmap(1001, 1400, c.bpp, c.order, c.masks, static_cast<unsigned>(c.bpp + c.cut)));
    bytes.resize(bytes.size() - c.cut);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto file = ReadBmpFile(path, c.target), memory = ReadBmp(bytes, c.target);
    if (c.error) {
      EXPECT_FALSE(file);
      EXPECT_NE(file.error.find(c.error), std::string::npos) << file.error;
      EXPECT_EQ(file.error, memory.error);
      continue;
    }
    ASSERT_TRUE(file && memory) << file.error << memory.error;
    EXPECT_EQ(std::make_tuple(file.bitmap->bpp(), file.bitmap->rowOrder(), file.bitmap->masks()),
              std::make_tuple(memory.bitmap->bpp(), memory.bitmap->rowOrder(), memory.bitmap->masks()));
    EXPECT_TRUE(std::ranges::equal(file.bitmap->colorTable(), memory.bitmap->colorTable()));
    EXPECT_TRUE(Pixels(*file.bitmap) == Pixels(*memory.bitmap));
  }
}

// The export's 24-bit file made from the composite as it is written is the file of its 24-bit
// copy, byte for byte, whatever padding the rows need and over several batches of rows.
TEST(BmpFiles, TwentyFourBitFileOfAPictureIsTheFileOfItsCopy) {
  for (const auto& [w, h] : {std::pair{1, 1}, {2, 3}, {3, 1}, {4, 3}, {5, 3}, {1001, 400}}) {
    const auto picture = RandomBitmap(w, h, 32, RowOrder::TopDown, ChannelMasks::DefaultFor(32), static_cast<unsigned>(w * h));
    const auto copy = Bitmap::Create(w, h, 24, RowOrder::BottomUp);
    BitBlt(*copy, 0, 0, w, h, *picture, 0, 0, SRCCOPY);
    std::vector<uint8_t> file;
    const FilePieces pieces = Bmp24Pieces(*picture);
    for (auto piece = pieces(); !piece.empty(); piece = pieces()) file.insert(file.end(), piece.begin(), piece.end());
    EXPECT_TRUE(file == EncodeBmp(*copy)) << w << "x" << h;
  }
}

TEST(BmpFiles, WriteReplaceAndFailures) {
  const QTemporaryDir temp;
  const std::filesystem::path dir = temp.path().toStdString();
  ASSERT_TRUE(WriteBmpFile(dir / "picture.bmp", *RandomBitmap(5, 5, 24, RowOrder::BottomUp, ChannelMasks::DefaultFor(24), 1)));
  const auto b = RandomBitmap(2, 3, 8, RowOrder::BottomUp, {}, 2);
  ASSERT_TRUE(WriteBmpFile(dir / "picture.bmp", *b));
  const auto read = ReadBmpFile(dir / "picture.bmp");
  ASSERT_TRUE(read) << read.error;
  EXPECT_EQ(Pixels(*read.bitmap), Pixels(*b));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "no temporary left over";
  std::string error;
  EXPECT_FALSE(WriteBmpFile(dir / "missing" / "x.bmp", *b, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_NE(ReadBmpFile(dir / "none.bmp").error.find("none.bmp"), std::string::npos);
}

// Under the row above: zeros (None), a constant (Sub), the row above (Up), left-and-above means
// (Average), and a little above the row above, which steps every five pixels (Paeth).
TEST(PngWriter, EachFilterWinsOnTheRowMadeForItAndDecodes) {
  constexpr int32_t width = 1001;  // past 16-bit lane sums, and not a whole number of vector steps
  constexpr size_t n = 3 * width;
  std::mt19937 random(5);
  std::vector<uint8_t> above(n), row(n), out(n + 1);
  for (int kind = 0; kind < 5; ++kind) {
    for (size_t i = 0; i < n; ++i) {
      above[i] = static_cast<uint8_t>(kind == 4 ? i / 15 * 37 + i % 3 * 10 : random());
      row[i] = static_cast<uint8_t>(
          std::array{0, 100, +above[i], ((i >= 3 ? row[i - 3] : 0) + above[i]) / 2, above[i] + 7}[kind]);
    }
    PngRowFilter filter(n);
    std::copy(above.begin(), above.end(), filter.Row());
    filter.Filter(out.data());
    std::copy(row.begin(), row.end(), filter.Row());
    EXPECT_EQ(static_cast<int>(filter.Filter(out.data())), kind);
    auto bitmap = raster::Bitmap::Create(width, 2, 24);
    for (size_t i = 0; i < n; ++i)  // red, green, blue as blue, green, red
      bitmap->row(0)[i / 3 * 3 + 2 - i % 3] = above[i], bitmap->row(1)[i / 3 * 3 + 2 - i % 3] = row[i];
    const std::vector<uint8_t> png = EncodePng(*bitmap);
    const QImage expected(bitmap->bits(), width, 2, bitmap->stride(), QImage::Format_BGR888);
    EXPECT_EQ(QImage::fromData(png.data(), int(png.size())).convertToFormat(expected.format()), expected) << kind;
  }
}

// A large picture is compressed in two parts joined into one stream, a very large one in parts
// of about 8 MB, each part's rows filtered under the last row before it: noise, and opacity with
// rows that halve to the right (the row above them is the best filter; against zeros it would
// be Average) decode to the picture.
TEST(PngWriter, APictureCompressedInPartsDecodesToIt) {
  std::mt19937 random(7);
  // 1200: past the size for two parts; 3000 with opacity: past the size for parts of 8 MB.
  for (const auto& [kind, alpha, side] : {std::tuple("noise", false, 1200), std::tuple("halving", true, 1200),
                                          std::tuple("halving", true, 3000)}) {
    auto bitmap = raster::Bitmap::Create(side, side, 32, raster::RowOrder::TopDown);
    for (int32_t y = 0; y < side; ++y) {
      uint8_t* p = bitmap->row(y);
      for (int32_t i = 0; i < 4 * side; ++i) p[i] = static_cast<uint8_t>(kind[0] == 'n' ? random() : 255 >> (i / 4 % 8));
    }
    const std::vector<uint8_t> png = EncodePng(*bitmap, alpha);
    const QImage::Format format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    const QImage expected(bitmap->bits(), side, side, bitmap->stride(), format);
    EXPECT_EQ(QImage::fromData(png.data(), int(png.size())).convertToFormat(format), expected) << kind << " " << side;
  }
}

using raster::Bitmap;
using raster::RGBQuad;

TEST(cImage, CopiesChooseTheirDepthAndKeepColourTables) {
  cImage image;
  EXPECT_FALSE(image.Create(4, 4, 32) || image.Create(70000, 70000, 24));  // a byte count that overflows fails plainly
  EXPECT_EQ(image.hdc(), nullptr);
  EXPECT_FALSE(image.CopyPalletHDC(nullptr));
  ASSERT_TRUE(image.Create(2, 3, 4));
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[15], (RGBQuad{255, 255, 255, 0}));  // grey ramp
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[1], (RGBQuad{17, 17, 17, 0}));
  EXPECT_EQ(image.BytesPerScanLine(), 4);

  for (int bpp : {16, 32}) {  // true colour of any depth becomes 24 bits
    auto b = Bitmap::Create(3, 2, bpp);
    b->setPixelValue(2, 1, b->valueForRGB(0x00FF00));
    ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(b)));
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(image.hdc()->bitmap()->pixelRGB(2, 1), 0x00FF00u);
  }
  EXPECT_FALSE(image.CopyStdPicture(raster::StdPicture::OfType(raster::PictureType::Icon)));
  auto indexed = Bitmap::Create(3, 2, 4);
  indexed->colorTable()[5] = RGBQuad{1, 2, 3, 0};
  indexed->setPixelValue(1, 1, 5);
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(indexed)));
  EXPECT_EQ(image.BitCount(), 4);
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[5], (RGBQuad{1, 2, 3, 0}));
  auto colour = Bitmap::Create(1, 1, 24);
  colour->setPixelValue(0, 0, 0x1E140A);  // red 10, green 20, blue 30: nearest grey 20
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(colour), 8));
  EXPECT_EQ(image.hdc()->bitmap()->pixelValue(0, 0), 20u);

  const int tableDepths[][2] = {{1, 1}, {4, 4}, {8, 8}, {24, 24}, {32, 24}};
  for (const auto& [dibBpp, want] : tableDepths) {
    cDIB dib;
    ASSERT_TRUE(dib.Create(5, 4, dibBpp));
    std::vector<uint8_t> whiteButFirst(1024, 0xFF);
    std::fill_n(whiteButFirst.begin(), 4, uint8_t{0});
    if (dibBpp <= 8) dib.SetPalette(whiteButFirst);  // the copy must carry this table
    dib.Cls(0xFFFFFF);
    dib.hDIb()->setPixelValue(3, 1, dib.hDIb()->valueForRGB(0));
    ASSERT_TRUE(image.CopyHDC(dib.hDIBDC(), 2, 2, 0, 3, 1));
    EXPECT_EQ(image.BitCount(), want) << dibBpp;
    EXPECT_EQ(image.hdc()->bitmap()->pixelRGB(0, 0), 0u) << dibBpp;
    EXPECT_EQ(image.hdc()->bitmap()->pixelRGB(1, 1), 0xFFFFFFu) << dibBpp;
  }
  cDIB palette;
  ASSERT_TRUE(palette.Create(2, 2, 8));
  palette.SetPalette(std::vector<uint8_t>(1024, 9));
  ASSERT_TRUE(image.Create(2, 2, 4));
  EXPECT_TRUE(image.CopyPalletHDC(palette.hDIBDC()));  // 16 of the 256 entries, copied whole
  EXPECT_EQ(image.hdc()->bitmap()->colorTable()[15], (RGBQuad{9, 9, 9, 9}));
  cDIB trueColour;
  ASSERT_TRUE(trueColour.Create(2, 2, 24));
  EXPECT_FALSE(image.CopyPalletHDC(trueColour.hDIBDC()));
}

TEST(cImage, PaintsGreysResamplesMirrorsAndTurns) {
  cImage image;
  auto picture = Bitmap::Create(4, 2, 24);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) picture->setPixelValue(x, y, static_cast<uint32_t>(0x010203 * (1 + x + 10 * y)));
  ASSERT_TRUE(image.CopyStdPicture(raster::StdPicture(picture)));
  cDIB target;
  ASSERT_TRUE(target.Create(6, 4, 24));
  target.Cls(0xFFFFFF);
  image.PaintHDC(target.hDIBDC(), 1, 2, raster::SRCAND);
  EXPECT_EQ(target.hDIb()->pixelValue(1, 2), 0x010203u);
  EXPECT_EQ(target.hDIb()->pixelValue(0, 0), 0xFFFFFFu);
  EXPECT_EQ(image.Greyscale()->BitCount(), 8);
  EXPECT_EQ(0, std::memcmp(image.Resample(4, 2)->DIBitsPtr(), image.DIBitsPtr(), 2 * 12));
  // Pixels 1, 2, 11, 12 times 0x010203 average to 6.5 x 0x010203: channels 6.5, 13, 19.5.
  const uint32_t half = image.Resample(2, 1)->hdc()->bitmap()->pixelValue(0, 0);
  EXPECT_EQ((half >> 8) & 0xFF, 13u);
  EXPECT_NEAR(static_cast<int>(half & 0xFF), 20, 1);
  EXPECT_EQ(image.Rotate(45), nullptr);

  // Where the pixel from (x, y) of the 5 x 3 picture lands; "angle" 0 and -1 are the mirrors.
  struct Transform {
    int32_t angle;
    int32_t (*tx)(int32_t x, int32_t y);
    int32_t (*ty)(int32_t x, int32_t y);
  };
  const Transform transforms[] = {
      {0, [](int32_t x, int32_t) { return x; }, [](int32_t, int32_t y) { return 2 - y; }},
      {-1, [](int32_t x, int32_t) { return 4 - x; }, [](int32_t, int32_t y) { return y; }},
      {90, [](int32_t, int32_t y) { return y; }, [](int32_t x, int32_t) { return 4 - x; }},  // counter-clockwise
      {-180, [](int32_t x, int32_t) { return 4 - x; }, [](int32_t, int32_t y) { return 2 - y; }},
      {630, [](int32_t, int32_t y) { return 2 - y; }, [](int32_t x, int32_t) { return x; }},
  };
  for (int16_t bpp : {1, 8, 24}) {
    ASSERT_TRUE(image.Create(5, 3, bpp));
    Bitmap& b = *image.hdc()->bitmap();
    const uint32_t mask = bpp == 24 ? 0xFFFFFF : (1u << bpp) - 1;
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 5; ++x) b.setPixelValue(x, y, (static_cast<uint32_t>(x * 7 + y * 3 + 1) * 0x10101u) & mask);
    for (const auto& t : transforms) {
      const auto out = t.angle == 0 ? image.Mirror(true) : t.angle == -1 ? image.Mirror(false) : image.Rotate(t.angle);
      ASSERT_TRUE(out);
      ASSERT_EQ(out->BitCount(), bpp);
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
          ASSERT_EQ(out->hdc()->bitmap()->pixelValue(t.tx(x, y), t.ty(x, y)), b.pixelValue(x, y))
              << "bpp " << bpp << " angle " << t.angle << " at " << x << "," << y;
    }
  }
}

TEST(cDIB, ClonesResizesKeepsItsPaletteAndFitsBoxes) {
  cDIB dib, clone;
  dib.CloneTo(clone);  // nothing to clone: the target is emptied
  EXPECT_EQ(clone.hDIb(), nullptr);
  ASSERT_TRUE(dib.Create(4, 2, 8));
  std::vector<uint8_t> palette(1024);
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i / 4);
  dib.SetPalette(palette);
  dib.hDIb()->setPixelValue(3, 1, 77);
  dib.CloneTo(clone);
  std::vector<uint8_t> cloned;
  clone.GetPalette(cloned);
  EXPECT_EQ(cloned, palette);
  EXPECT_EQ(clone.hDIb()->pixelValue(3, 1), 77u);
  clone.Resize(8, 4, true);  // stretched: the pixel covers 2 x 2
  EXPECT_EQ(std::tuple(clone.Width(), clone.hDIb()->pixelValue(7, 3), clone.hDIb()->pixelValue(6, 2)),
            std::tuple(8, 77u, 77u));
  clone.GetPalette(cloned);
  EXPECT_EQ(cloned, palette);
  dib.Resize(6, 3);  // not stretched: the picture stays at its size in the corner
  EXPECT_EQ(std::pair(dib.hDIb()->pixelValue(3, 1), dib.hDIb()->pixelValue(4, 1)), std::pair(77u, 0u));
  cDIB target;
  ASSERT_TRUE(target.Create(6, 3, 8));
  target.SetPalette(palette);
  EXPECT_NE(target.LoadBlt(dib.hDIBDC(), 2, 1, 2, 1), 0);  // one rectangle at the same place
  EXPECT_EQ(std::pair(target.hDIb()->pixelValue(3, 1), target.hDIb()->pixelValue(2, 0)), std::pair(77u, 0u));

  const struct {
    int32_t w, h;
    bool stretch;
    int32_t left, top, width, height;
  } fits[] = {{10, 10, false, 3, 4, 4, 2}, {10, 10, true, 0, 2, 10, 5}, {2, 10, false, 0, 4, 2, 1}, {8, 1, false, 3, 0, 2, 1}};
  for (const auto& f : fits) {
    int32_t left = -1, top = -1, width = -1, height = -1;
    dib.Resize(4, 2);
    dib.GetBestFitInfo(f.w, f.h, left, top, width, height, f.stretch);
    EXPECT_EQ(std::tuple(left, top, width, height), std::tuple(f.left, f.top, f.width, f.height)) << f.w << "x" << f.h;
  }
}

struct Surface {
  std::unique_ptr<raster::DeviceContext> dc = raster::CreateCompatibleDC();
  std::shared_ptr<Bitmap> bitmap;
  Surface(int32_t w, int32_t h) : bitmap(Bitmap::Create(w, h, 24)) { dc->SelectBitmap(bitmap); }
  std::string Rows() const {
    std::string out;
    for (int32_t y = 0; y < bitmap->height(); ++y) {
      for (int32_t x = 0; x < bitmap->width(); ++x) {
        const uint32_t rgb = bitmap->pixelRGB(x, y);
        out += rgb == 0 ? '.' : rgb == 0xFFFFFF ? '#' : 'o';
      }
      out += '/';
    }
    return out;
  }
};

TEST(cTile, FillsWithHatchesPatternsAndSolidColours) {
  const std::pair<int, const char*> hatches[] = {
      {raster::HS_HORIZONTAL, "......../......../......../......../########/......../......../......../"},
      {raster::HS_VERTICAL, "....#.../....#.../....#.../....#.../....#.../....#.../....#.../....#.../"},
      {raster::HS_FDIAGONAL, "#......./.#....../..#...../...#..../....#.../.....#../......#./.......#/"},
      {raster::HS_BDIAGONAL, ".......#/......#./.....#../....#.../...#..../..#...../.#....../#......./"},
      {raster::HS_CROSS, "....#.../....#.../....#.../....#.../########/....#.../....#.../....#.../"},
      {raster::HS_DIAGCROSS, "#......#/.#....#./..#..#../...##.../...##.../..#..#../.#....#./#......#/"},
  };
  cTile tile;
  for (const auto& [style, cells] : hatches) {
    Surface s(8, 8);
    s.dc->SetBkMode(raster::TRANSPARENT);  // the background stays black
    ASSERT_TRUE(tile.SetPatternFromHatchBrush(style, 0xFFFFFF));
    tile.Tile(s.dc.get(), 0, 0, 8, 8);
    EXPECT_EQ(s.Rows(), cells) << style;
  }
  EXPECT_FALSE(tile.SetPatternFromHatchBrush(6, 0xFF));
  Surface opaque(4, 1);  // opaque background mode paints the gaps in the background colour
  opaque.dc->SetBkColor(0x808080);
  ASSERT_TRUE(tile.SetPatternFromHatchBrush(raster::HS_VERTICAL, 0xFFFFFF));
  tile.Tile(opaque.dc.get(), 0, 0, 4, 1, true);
  EXPECT_EQ(opaque.Rows(), "oooo/");

  auto stripes = Bitmap::Create(3, 1, 8);  // an indexed picture, copied by the brush
  stripes->colorTable()[1] = RGBQuad{255, 255, 255, 0};
  stripes->setPixelValue(0, 0, 1);
  ASSERT_TRUE(tile.SetPatternFromStdPicture(raster::StdPicture(stripes)));
  stripes->setPixelValue(1, 0, 1);
  Surface joined(10, 1), reset(10, 1);
  tile.Tile(joined.dc.get(), 0, 0, 4, 1);  // separate calls line up with (0, 0) ...
  tile.Tile(joined.dc.get(), 4, 0, 6, 1);
  tile.Tile(reset.dc.get(), 0, 0, 4, 1, true);  // ... or start at each rectangle's corner
  tile.Tile(reset.dc.get(), 4, 0, 6, 1, true);
  EXPECT_EQ(joined.Rows(), "#..#..#..#/");
  EXPECT_EQ(reset.Rows(), "#..##..#../");
  EXPECT_EQ(reset.dc->GetBrushOrg(), (raster::Point{4, 0}));

  EXPECT_FALSE(tile.SetPatternFromStdPicture(raster::StdPicture::OfType(raster::PictureType::Metafile)));
  Surface clipped(4, 3);
  tile.Tile(clipped.dc.get(), 0, 0, 4, 3);  // no pattern: nothing drawn
  ASSERT_TRUE(tile.SetPatternFromSolidColor(static_cast<Colour>(0x80000000u + SystemColors::kWindow)));
  tile.Tile(clipped.dc.get(), 1, 1, 2, 1);  // right and bottom edges exclusive
  tile.Tile(clipped.dc.get(), INT32_MAX - 1, 0, INT32_MAX, 1);
  tile.Tile(nullptr, 0, 0, 1, 1);
  EXPECT_EQ(clipped.bitmap->pixelRGB(1, 1), SystemColors::Get(SystemColors::kWindow));
  clipped.bitmap->setPixelValue(1, 1, 0xFFFFFF);
  clipped.bitmap->setPixelValue(2, 1, 0xFFFFFF);
  EXPECT_EQ(clipped.Rows(), "..../.##./..../");
  tile.DestroyPattern();
  EXPECT_FALSE(tile.HasPattern());
}

}  // namespace
}  // namespace lumora::raster
