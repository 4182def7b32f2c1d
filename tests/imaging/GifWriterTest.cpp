// GIF: the LZW coder against an independent decoder and compress's own codes; the writer's bytes,
// table sizes, extensions and refusals, read back by giflib; the two-thread route; the best palette.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>

#include "../compose/Decoders.h"
#include "SurfaceBuilders.h"
#include "imaging/GifLzwEncoder.h"
#include "imaging/GifRoute.h"
#include "imaging/RowHandover.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mDither8bpp.h"
#include "imaging/mGIFSave.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using testsurface::RandomIndices;
using testsurface::Rgb;

// The LZW coder's bytes without their sub-block sizes.
std::vector<uint8_t> lzwEncode(const std::vector<uint8_t>& pixels, int32_t width, int codeSize) {
  std::vector<const uint8_t*> rows;
  for (size_t at = 0; at < pixels.size(); at += static_cast<size_t>(width)) rows.push_back(pixels.data() + at);
  std::vector<uint8_t> blocks, data;
  GifLzwEncoder(codeSize, mGIFSave::Masks()).Encode(rows, width, blocks);
  for (size_t p = 0; p < blocks.size(); p += 1 + blocks[p])
    data.insert(data.end(), blocks.begin() + static_cast<std::ptrdiff_t>(p + 1),
                blocks.begin() + static_cast<std::ptrdiff_t>(p + 1 + blocks[p]));
  return data;
}

struct CodeCase {
  const char* name;
  int codeSize;
  int32_t width;
  std::vector<uint8_t> pixels;
  int keyZeroLosses = 0;  // at least this many in compress's table, or the case tests nothing
};

std::vector<CodeCase> codeCases() {
  std::vector<CodeCase> cases;
  cases.push_back({"one pixel code size 2", 2, 1, {3}});
  cases.push_back({"long run", 8, 1000, std::vector<uint8_t>(300000, 200)});
  cases.push_back({"long run of zeros", 2, 640, std::vector<uint8_t>(640 * 480, 0)});
  cases.push_back({"noise 2 colours", 2, 317, RandomIndices(317 * 211, 2, 1)});
  cases.push_back({"noise 4 colours", 2, 97, RandomIndices(97 * 1013, 4, 2)});
  cases.push_back({"noise 16 colours", 4, 256, RandomIndices(256 * 256, 16, 5)});
  cases.push_back({"noise 256 colours", 8, 1, RandomIndices(70001, 256, 6)});
  std::vector<uint8_t> ramp(512 * 512);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>((i / 512 + (i % 512) / 3) & 0xFF);
  cases.push_back({"ramps", 8, 512, ramp});
  // Short runs of noise colours: many repeated strings, many strings of length 2 to 4.
  std::vector<uint8_t> runs;
  std::mt19937 random(9);
  while (runs.size() < 200000) runs.insert(runs.end(), 1 + random() % 4, static_cast<uint8_t>(random() % 8));
  cases.push_back({"short runs", 3, 1000, std::vector<uint8_t>(runs.begin(), runs.begin() + 200000)});
  // Zeros after zeros give the string key 0, which compress's probing treats as an empty slot.
  std::vector<uint8_t> zeros = RandomIndices(100000, 3, 8);
  for (size_t i = 0; i < zeros.size(); i += 7) zeros[i] = 0;
  cases.push_back({"zero keys", 2, 1000, zeros});
  // "16 1" takes slot 0, so "0 0" (key 0) lands in slot 5002; "155 117" probes from slot 2501
  // through 5002, stops there and writes over "0 0", which the second "0 0" then misses.
  cases.push_back({"key 0 written over", 8, 11, {16, 1, 0, 0, 5, 156, 117, 155, 0, 0, 7}, 1});
  // 256 colours where index 0 is common, over many tables: every few thousand pixels "16 1" comes
  // before any zero, so the key-0 string is written over, looked up again and added again.
  for (const auto& [zeroEvery, segment] : {std::pair{40u, 3000u}, std::pair{40u, 6000u}, std::pair{20u, 3000u}}) {
    std::mt19937 r(zeroEvery * segment);
    std::vector<uint8_t> pixels(400000);
    for (size_t i = 0; i < pixels.size(); ++i) {
      const size_t at = i % segment;
      pixels[i] = at < 2 ? (at == 0 ? 16 : 1) : at > 200 && r() % zeroEvery == 0 ? 0 : static_cast<uint8_t>(1 + r() % 255);
    }
    cases.push_back({"zeros among 256 colours", 8, 800, pixels, 20});
  }
  return cases;
}

// The code sequence of compress's coder, step by step: hash and code arrays of 5003 ints,
// -1 for empty, the primary slot (c << 4) XOR prefix and the secondary probe. Also counts how
// often a new string is written over the key-0 string (pixel 0 after code 0).
struct ReferenceRun {
  std::vector<int> codes;
  int keyZeroLost = 0;
};

ReferenceRun referenceRun(const std::vector<uint8_t>& pixels, int codeSize) {
  const int clear = 1 << codeSize;
  std::vector<int32_t> hash(5003, -1), code(5003, 0);
  ReferenceRun run;
  run.codes = {clear};
  int32_t next = clear + 2, prefix = pixels[0];
  for (size_t i = 1; i < pixels.size(); ++i) {
    const int32_t c = pixels[i];
    const int32_t key = (c << 12) + prefix;
    int32_t slot = (c << 4) ^ prefix;
    bool found = false;
    if (hash[static_cast<size_t>(slot)] == key) {
      found = true;
    } else if (hash[static_cast<size_t>(slot)] >= 0) {
      const int32_t step = slot == 0 ? 1 : 5003 - slot;
      do {
        slot -= step;
        if (slot < 0) slot += 5003;
        if (hash[static_cast<size_t>(slot)] == key) {
          found = true;
          break;
        }
      } while (hash[static_cast<size_t>(slot)] > 0);
    }
    if (found) {
      prefix = code[static_cast<size_t>(slot)];
      continue;
    }
    run.codes.push_back(prefix);
    prefix = c;
    if (next < 4096) {
      if (hash[static_cast<size_t>(slot)] == 0) ++run.keyZeroLost;
      code[static_cast<size_t>(slot)] = next++;
      hash[static_cast<size_t>(slot)] = key;
    } else {
      std::fill(hash.begin(), hash.end(), -1);
      next = clear + 2;
      run.codes.push_back(clear);
    }
  }
  run.codes.push_back(prefix);
  run.codes.push_back(clear + 1);
  return run;
}

TEST(GifLzwEncoder, RoundTripsWithCompresssCodes) {
  for (const CodeCase& c : codeCases()) {
    SCOPED_TRACE(c.name);
    const ReferenceRun reference = referenceRun(c.pixels, c.codeSize);
    ASSERT_GE(reference.keyZeroLost, c.keyZeroLosses);
    const auto d = giftest::DecodeLzw(lzwEncode(c.pixels, c.width, c.codeSize), c.codeSize);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.pixels, c.pixels);
    ASSERT_EQ(d.codes, reference.codes);
  }
}

// Every picture length from 1 to 600 over 2 colours crosses the width switches at every phase.
TEST(GifLzwEncoder, EveryLengthEndsCleanly) {
  const std::vector<uint8_t> all = RandomIndices(600, 2, 4);
  for (size_t n = 1; n <= all.size(); ++n) {
    const std::vector<uint8_t> pixels(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n));
    const auto d = giftest::DecodeLzw(lzwEncode(pixels, static_cast<int32_t>(n), 2), 2);
    ASSERT_TRUE(d.ok) << n << ": " << d.error;
    ASSERT_EQ(d.pixels, pixels) << n;
  }
}

// A palette of count distinct colours (entry i: 3i, 255 - i, 7i mod 256).
void makePalette(cPal8bpp& p, int count) {
  p.Initialize(static_cast<int16_t>(count));
  for (int i = 0; i < count; ++i)
    p.rgbR(i, static_cast<uint8_t>(3 * i)), p.rgbG(i, static_cast<uint8_t>(255 - i)), p.rgbB(i, static_cast<uint8_t>(7 * i));
}

Bytes encode(const cDIB& dib, const cPal8bpp& p, int16_t transparent = -1, bool interlaced = false, const std::string& comment = {}) {
  Bytes out;
  EXPECT_TRUE(mGIFSave::EncodeGIF(dib, p, transparent, interlaced, comment, out));
  return out;
}

Bytes slice(const Bytes& b, size_t at, size_t n) { return Bytes(b.begin() + static_cast<ptrdiff_t>(at), b.begin() + static_cast<ptrdiff_t>(at + n)); }

using test::ReadBytes;

TEST(GifWriter, TwoColourPictureIsExactBytes) {
  cDIB dib;
  testsurface::Fill8(dib, 2, 2, {0, 1, 1, 0});
  cPal8bpp p;
  p.SetPalette(Bytes{0x30, 0x20, 0x10, 0, 0xF0, 0xE0, 0xD0, 0});
  EXPECT_EQ(encode(dib, p), (Bytes{'G', 'I', 'F', '8', '7', 'a',         // header
                                   2, 0, 2, 0, 0xF0, 0, 0,               // screen: 2 x 2, global table of 2
                                   0x10, 0x20, 0x30, 0xD0, 0xE0, 0xF0,   // red, green, blue of entries 0 and 1
                                   0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x00,   // image descriptor
                                   2,                                    // LZW code size 2 for a 2-entry table
                                   3, 0x44, 0x02, 0x05, 0,               // clear 0 1 1 (3 bits) 0 end (4 bits)
                                   0x3B}));
}

// The table is the next power of two of at least 2 entries, padded with black.
TEST(GifWriter, ColourTableSizeRule) {
  struct Case { int entries, tableBits, codeSize; };
  for (const Case c : {Case{2, 1, 2}, {3, 2, 2}, {4, 2, 2}, {5, 3, 3}, {8, 3, 3}, {9, 4, 4}, {17, 5, 5}, {129, 8, 8}, {256, 8, 8}}) {
    SCOPED_TRACE(c.entries);
    cDIB dib;
    testsurface::Fill8(dib, 7, 5, RandomIndices(35, c.entries, static_cast<uint32_t>(c.entries)));
    cPal8bpp p;
    makePalette(p, c.entries);
    const auto g = giftest::ParseGif(encode(dib, p));
    ASSERT_TRUE(g.ok && g.trailer) << g.error;
    EXPECT_EQ(std::make_tuple(g.screenFlags, g.descriptorFlags, g.codeSize), std::make_tuple(0xF0 + c.tableBits - 1, c.tableBits - 1, c.codeSize));
    Bytes table(3u << c.tableBits, 0);
    for (int i = 0; i < c.entries; ++i) std::copy_n(Bytes{p.rgbR(i), p.rgbG(i), p.rgbB(i)}.begin(), 3, table.begin() + 3 * i);
    EXPECT_EQ(g.colourTable, table);
  }
}

// GIF87a without extensions; GIF89a with the comment (in sub-blocks of 255) before the control
// extension that names the transparent index.
TEST(GifWriter, ExtensionsAndVersion) {
  cDIB dib;
  testsurface::Fill8(dib, 3, 3, RandomIndices(9, 4, 1));
  cPal8bpp p;
  makePalette(p, 4);
  const size_t afterTable = 13 + 3 * 4;
  const auto plain = encode(dib, p), transparent = encode(dib, p, 3), commented = encode(dib, p, -1, false, "Lumora");
  EXPECT_EQ(slice(plain, 0, 6), (Bytes{'G', 'I', 'F', '8', '7', 'a'}));
  EXPECT_EQ(plain[afterTable], 0x2C);
  EXPECT_EQ(slice(transparent, 0, 6), (Bytes{'G', 'I', 'F', '8', '9', 'a'}));
  EXPECT_EQ(slice(transparent, afterTable, 9), (Bytes{0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x03, 0x00, 0x2C}));
  EXPECT_EQ(giftest::DecodeWithGiflib(transparent).transparent, 3);
  EXPECT_EQ(slice(commented, 0, 6), slice(transparent, 0, 6));
  EXPECT_EQ(slice(commented, afterTable, 11), (Bytes{0x21, 0xFE, 6, 'L', 'u', 'm', 'o', 'r', 'a', 0x00, 0x2C}));
  std::string comment;
  for (int i = 0; i < 600; ++i) comment += static_cast<char>('a' + i % 26);
  const auto both = giftest::ParseGif(encode(dib, p, 0, false, comment));
  ASSERT_TRUE(both.ok) << both.error;
  ASSERT_EQ(both.extensions.size(), 2u);
  const auto& ext = both.extensions[0];
  ASSERT_EQ(ext.size(), 1u + 1 + 255 + 1 + 255 + 1 + 90 + 1);
  EXPECT_EQ(Bytes({ext[0], ext[1], ext[257], ext[513], ext.back()}), (Bytes{0xFE, 255, 255, 90, 0}));
  EXPECT_EQ(std::string(ext.begin() + 2, ext.begin() + 257) + std::string(ext.begin() + 258, ext.begin() + 513) +
                std::string(ext.begin() + 514, ext.end() - 1),
            comment);
  EXPECT_EQ(both.extensions[1][0], 0xF9);
}

// giflib reads back exactly the surface's indices, plain and interlaced (every small height puts
// the four passes' rows back in place); data sub-blocks are 254 bytes but the last.
TEST(GifWriter, RealDecodersReadTheIndicesBack) {
  struct Case { int32_t width, height; int colours; Bytes indices; };
  std::vector<Case> cases = {{1, 1, 2, {1}},
                             {640, 480, 256, Bytes(640 * 480, 201)},
                             {1, 777, 16, RandomIndices(777, 16, 3)},
                             {5000, 1, 256, RandomIndices(5000, 256, 4)},
                             {321, 123, 256, RandomIndices(321 * 123, 256, 5)},
                             {199, 301, 3, RandomIndices(199 * 301, 3, 6)},
                             {32767, 1, 2, RandomIndices(32767, 2, 13)}};
  for (int32_t h = 2; h <= 20; ++h) {
    cases.push_back({3, h, 32, {}});
    for (int32_t y = 0; y < h; ++y) cases.back().indices.insert(cases.back().indices.end(), 3, static_cast<uint8_t>(y));
  }
  for (const Case& c : cases)
    for (bool interlaced : {false, true}) {
      SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + (interlaced ? " interlaced" : ""));
      cDIB dib;
      testsurface::Fill8(dib, c.width, c.height, c.indices);
      cPal8bpp p;
      makePalette(p, c.colours);
      const auto file = encode(dib, p, -1, interlaced);
      const auto g = giftest::DecodeWithGiflib(file);
      ASSERT_EQ(g.error, 0);
      EXPECT_EQ(std::make_tuple(g.width, g.height, g.interlaced), std::make_tuple(c.width, c.height, interlaced));
      EXPECT_EQ(g.pixels, c.indices);
      const auto blocks = giftest::ParseGif(file).blockSizes;
      for (size_t i = 0; i + 1 < blocks.size(); ++i) ASSERT_EQ(blocks[i], 254) << "data sub-block " << i;
    }
}

// Nothing is written for what a GIF cannot hold: no bytes, no file.
TEST(GifWriter, RefusesWhatItCannotWrite) {
  struct Case { const char* name; int bpp; int32_t width; int entries; int16_t transparent; uint8_t pixel; };
  const QTemporaryDir temp;
  const fs::path folder = temp.path().toStdString();
  for (const Case& c : {Case{"32-bit surface", 32, 4, 2, -1, 0}, {"24-bit surface", 24, 4, 16, -1, 0}, {"one entry", 8, 4, 1, -1, 0},
                        {"no entries", 8, 4, 0, -1, 0}, {"too wide", 8, 32768, 2, -1, 0}, {"transparent 256", 8, 4, 2, 256, 0},
                        {"index beyond 4-colour table", 8, 4, 3, -1, 4}, {"index beyond 2-colour table", 8, 4, 2, -1, 2},
                        {"no surface", 0, 0, 2, -1, 0}}) {
    SCOPED_TRACE(c.name);
    cDIB dib;
    ASSERT_TRUE(!c.bpp || dib.Create(c.width, 1, c.bpp));
    if (c.bpp == 8) dib.lpBits()[0] = c.pixel;
    cPal8bpp p;
    makePalette(p, c.entries);
    Bytes out = {1, 2, 3};
    EXPECT_FALSE(mGIFSave::EncodeGIF(dib, p, c.transparent, false, {}, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(mGIFSave::SaveGIF(folder / "refused.gif", dib, p, c.transparent, false, {}));
  }
  EXPECT_TRUE(fs::is_empty(folder));
}

// The file replaces an older one whole, with no temporary left; a failed save keeps the old one.
// A surface loaded from a bitmap file has its bottom row first in memory; the file's comes first.
TEST(GifWriter, SaveGifIsAtomicAndWritesTheTopRowFirst) {
  const QTemporaryDir temp;
  const fs::path folder = temp.path().toStdString(), file = folder / "picture.gif";
  std::ofstream(file) << "an older, longer file that must be replaced entirely............................";
  auto bitmap = raster::Bitmap::Create(4, 3, 8, raster::RowOrder::BottomUp);
  Bytes visual;
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) bitmap->setPixelValue(x, y, static_cast<uint32_t>(y * 4 + x)), visual.push_back(static_cast<uint8_t>(y * 4 + x));
  ASSERT_TRUE(raster::WriteBmpFile(folder / "bottom-up.bmp", *bitmap));
  cDIB dib, wrongDepth;
  ASSERT_EQ(dib.CreateFromBitmapFile(folder / "bottom-up.bmp"), 8);
  ASSERT_EQ(dib.hDIb()->rowOrder(), raster::RowOrder::BottomUp);
  fs::remove(folder / "bottom-up.bmp");
  cPal8bpp p;
  makePalette(p, 16);
  ASSERT_TRUE(mGIFSave::SaveGIF(file, dib, p, 0, false, {}));
  EXPECT_EQ(ReadBytes(file), encode(dib, p, 0));
  EXPECT_EQ(giftest::DecodeWithGiflib(ReadBytes(file)).pixels, visual);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  wrongDepth.Create(3, 3, 32);
  EXPECT_FALSE(mGIFSave::SaveGIF(file, wrongDepth, p, -1, false, {}));
  EXPECT_EQ(ReadBytes(file), encode(dib, p, 0));
  EXPECT_FALSE(mGIFSave::SaveGIF(folder / "missing folder" / "x.gif", dib, p, -1, false, {}));
  EXPECT_FALSE(fs::exists(folder / "missing folder"));
}

// The writer on a second thread gives the file, 8-bit surface and palette of reducing first and
// writing after, for pictures of every shape and every writer setting.
TEST(GifRoute, SameFileSurfaceAndPaletteAsReducingThenWriting) {
  std::vector<Rgb> stripes(64 * 9);
  for (size_t i = 0; i < stripes.size(); ++i) stripes[i] = i / 64 % 2 ? Rgb{250, 250, 250} : Rgb{5, 0, 90};
  struct Picture { int32_t width, height; std::vector<Rgb> pixels; };
  struct Settings { int16_t transparent; bool interlaced; std::string comment; int32_t paletteMode, ditherMode; };
  for (const Picture& c : {Picture{320, 241, testsurface::PhotoLike(320, 241, 41)}, {300, 1, testsurface::PhotoLike(300, 1, 42)},
                           {1, 300, testsurface::PhotoLike(1, 300, 43)}, {97, 63, testsurface::RandomColours(97 * 63, 44)},
                           {64, 9, stripes}})
    for (const Settings& s : {Settings{-1, false, "", mDither8bpp::kPaletteOptimal, mDither8bpp::kDitherDiffusion},
                              {0, true, "made with Lumora", mDither8bpp::kPaletteOptimal, mDither8bpp::kDitherDiffusion},
                              {3, false, std::string(600, 'c'), 0, 0}, {-1, true, "", mDither8bpp::kPaletteOptimal, 0}}) {
      SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " palette " + std::to_string(s.paletteMode) +
                   " interlaced " + std::to_string(s.interlaced));
      cDIB source, reduced, target;
      testsurface::Fill32(source, c.width, c.height, c.pixels);
      mDither8bpp::SetPaletteMode(s.paletteMode);
      mDither8bpp::SetDitherMode(s.ditherMode);
      cPal8bpp reducedPalette, palette;
      mDither8bpp::ConvertTo8bpp(source, reduced, reducedPalette);
      Bytes expected, file;
      ASSERT_TRUE(mGIFSave::EncodeGIF(reduced, reducedPalette, s.transparent, s.interlaced, s.comment, expected));
      ASSERT_TRUE(EncodeReducedGIF(source, target, palette, s.transparent, s.interlaced, s.comment, file));
      EXPECT_EQ(file, expected);
      EXPECT_EQ(testsurface::Indices(target), testsurface::Indices(reduced));
      ASSERT_EQ(palette.Entries(), reducedPalette.Entries());
      EXPECT_TRUE(std::ranges::equal(palette.lpPalette(), reducedPalette.lpPalette()));
    }
  mDither8bpp::SetPaletteMode(mDither8bpp::kPaletteOptimal);
  mDither8bpp::SetDitherMode(mDither8bpp::kDitherDiffusion);
}

// Refusals leave no bytes (a too-wide picture is still reduced); waiters for a row wake when it
// is published or the handover is abandoned.
TEST(GifRoute, RefusalsAndTheRowHandover) {
  cDIB empty, target, wide, small;
  cPal8bpp palette;
  testsurface::Fill32(wide, 32768, 1, testsurface::PhotoLike(32768, 1, 45));
  testsurface::Fill32(small, 8, 8, testsurface::PhotoLike(8, 8, 46));
  for (const auto& [source, transparent] : {std::pair{&empty, -1}, {&wide, -1}, {&small, 256}}) {
    Bytes file = {1, 2, 3};
    EXPECT_FALSE(EncodeReducedGIF(*source, target, palette, static_cast<int16_t>(transparent), false, "", file));
    EXPECT_TRUE(file.empty());
    EXPECT_TRUE(source != &wide || target.Width() == 32768) << "a too-wide picture is still reduced";
  }
  using namespace std::chrono_literals;
  RowHandover rows;
  auto waitFor = [&](int32_t y) { return std::async(std::launch::async, [&rows, y] { return rows.WaitForRow(y); }); };
  auto second = waitFor(1), fifth = waitFor(4);
  EXPECT_EQ(second.wait_for(50ms), std::future_status::timeout);
  rows.Publish(2);
  EXPECT_TRUE(second.get());
  EXPECT_EQ(fifth.wait_for(50ms), std::future_status::timeout);
  rows.Abandon();
  EXPECT_FALSE(fifth.get());
  EXPECT_FALSE(rows.WaitForRow(0)) << "once abandoned, nothing is handed over";
}

// The whole GIF route with this palette mode, read back by giflib.
giftest::GiflibImage Reduce(const std::vector<Rgb>& pixels, int32_t width, int32_t mode, int16_t transparent = -1) {
  mGIFSave::InitGIFMasks();
  cDIB source, target;
  cPal8bpp palette;
  testsurface::Fill32(source, width, static_cast<int32_t>(pixels.size()) / width, pixels);
  mDither8bpp::SetPaletteMode(mode);
  std::vector<uint8_t> file;
  EXPECT_TRUE(EncodeReducedGIF(source, target, palette, transparent, false, "", file));
  mDither8bpp::SetPaletteMode(mDither8bpp::kPaletteOptimal);
  return giftest::DecodeWithGiflib(file);
}

Rgb At(const giftest::GiflibImage& gif, size_t i) {
  const auto& c = gif.colours.at(gif.pixels.at(i));
  return {c[0], c[1], c[2]};
}

double Psnr(const std::vector<Rgb>& pixels, const giftest::GiflibImage& gif) {
  double sum = 0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const Rgb c = At(gif, i);
    sum += std::pow(c.r - pixels[i].r, 2) + std::pow(c.g - pixels[i].g, 2) + std::pow(c.b - pixels[i].b, 2);
  }
  return 10 * std::log10(255.0 * 255 * 3 * static_cast<double>(pixels.size()) / sum);
}

// One-pixel strokes on odd rows and columns, which the classic palette's thumbnail never samples,
// on a grainy gradient of thousands of colours.
TEST(BestPalette, ThinTextKeepsItsColoursAndBeatsClassic) {
  constexpr int32_t w = 600, h = 200;
  const Rgb ink[] = {{230, 20, 40}, {250, 240, 60}, {20, 200, 90}};
  std::vector<Rgb> pixels;
  std::vector<size_t> strokes;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const int stroke = y % 24 == 13 ? 0 : x % 40 == 21 ? 1 : y % 2 && (x + y) % 50 == 0 ? 2 : -1;
      if (stroke >= 0) strokes.push_back(pixels.size());
      const auto grain = static_cast<uint8_t>((x * 7 + y * 13) % 5);
      pixels.push_back(stroke >= 0 ? ink[stroke]
                                   : Rgb{static_cast<uint8_t>(x * 255 / w), static_cast<uint8_t>(80 + grain * y / 20),
                                         static_cast<uint8_t>(200 - x / 4 + grain)});
    }
  const auto best = Reduce(pixels, w, mDither8bpp::kPaletteBest), classic = Reduce(pixels, w, mDither8bpp::kPaletteOptimal);
  ASSERT_EQ(std::make_tuple(best.error, best.width, best.height), std::make_tuple(0, w, h));
  size_t exact = 0;
  for (size_t i : strokes) exact += At(best, i) == pixels[i];
  EXPECT_EQ(exact, strokes.size());
  EXPECT_GT(Psnr(pixels, best), Psnr(pixels, classic) + 20) << Psnr(pixels, best) << " " << Psnr(pixels, classic);
}

// Valid files, exact with 256 colours or fewer, entry 0 the corner's.
TEST(BestPalette, EdgePicturesGiveValidFiles) {
  const std::vector<Rgb> white(40 * 30, Rgb{255, 255, 255});
  std::vector<Rgb> all256, photo = testsurface::PhotoLike(64, 48, 9);
  for (int i = 0; i < 256; ++i) all256.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)});
  photo[0] = {255, 255, 255};
  struct Case { const char* name; std::vector<Rgb> pixels; int32_t width; bool exact; };
  const Case cases[] = {{"1 x 1", {{9, 8, 7}}, 1, true},
                        {"one colour", white, 40, true},
                        {"exactly 256 colours", all256, 16, true},
                        {"more than 256 colours", testsurface::RandomColours(3000, 4), 60, false},
                        {"a photograph with a white corner", photo, 64, false}};
  for (const Case& c : cases) {
    const auto gif = Reduce(c.pixels, c.width, mDither8bpp::kPaletteBest, 0);
    ASSERT_EQ(std::make_pair(gif.error, gif.width * gif.height), std::make_pair(0, static_cast<int>(c.pixels.size()))) << c.name;
    EXPECT_EQ(gif.transparent, 0) << c.name;
    EXPECT_EQ(gif.pixels[0], 0) << c.name << ": entry 0 is the corner's";
    for (size_t i = 0; c.exact && i < c.pixels.size(); ++i) ASSERT_EQ(At(gif, i), c.pixels[i]) << c.name << " " << i;
  }
}

}  // namespace
}  // namespace lumora
