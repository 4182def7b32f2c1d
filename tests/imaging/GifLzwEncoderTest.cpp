// The LZW coder on plain index arrays: exact bytes of a tiny picture, code widths at the
// switches, the clear at 4096, sub-block sizes, and round trips through an independent decoder.
#include "imaging/GifLzwEncoder.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "GifTestSupport.h"
#include "imaging/mGIFSave.h"

namespace lumora {
namespace {

struct Encoded {
  std::vector<uint8_t> blocks;  // sub-blocks as written
  std::vector<int> blockSizes;
  std::vector<uint8_t> data;  // their bytes joined
};

Encoded encode(const std::vector<uint8_t>& pixels, int32_t width, int codeSize) {
  std::vector<const uint8_t*> rows;
  for (size_t at = 0; at < pixels.size(); at += static_cast<size_t>(width)) rows.push_back(pixels.data() + at);
  Encoded e;
  GifLzwEncoder(codeSize, mGIFSave::Masks()).Encode(rows, width, e.blocks);
  for (size_t p = 0; p < e.blocks.size();) {
    const uint8_t n = e.blocks[p];
    e.blockSizes.push_back(n);
    e.data.insert(e.data.end(), e.blocks.begin() + static_cast<std::ptrdiff_t>(p + 1),
                  e.blocks.begin() + static_cast<std::ptrdiff_t>(p + 1 + n));
    p += 1 + n;
  }
  return e;
}

std::vector<uint8_t> noise(size_t count, int colours, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> pick(0, colours - 1);
  std::vector<uint8_t> v(count);
  for (auto& p : v) p = static_cast<uint8_t>(pick(random));
  return v;
}

TEST(GifLzwEncoder, MasksAreTwoToTheIMinusOne) {
  mGIFSave::InitGIFMasks();
  const auto masks = mGIFSave::Masks();
  EXPECT_EQ(masks[0], 0u);
  EXPECT_EQ(masks[1], 1u);
  EXPECT_EQ(masks[9], 511u);
  EXPECT_EQ(masks[16], 65535u);
}

// Pixels 0 1 1 0 at code size 2: clear(4) 0 1 1 at 3 bits, then 0 and end(5) at 4 bits, because
// the third code is written when entry 8 no longer fits 3 bits.
TEST(GifLzwEncoder, TinyPictureIsExactBytes) {
  const Encoded e = encode({0, 1, 1, 0}, 2, 2);
  EXPECT_EQ(e.blocks, (std::vector<uint8_t>{0x03, 0x44, 0x02, 0x05}));
}

TEST(GifLzwEncoder, SinglePixel) {
  // clear(4), 1, end(5), each 3 bits: 0b101'001'100 -> 0x4C 0x01
  const Encoded e = encode({1}, 1, 2);
  EXPECT_EQ(e.blocks, (std::vector<uint8_t>{0x02, 0x4C, 0x01}));
}

TEST(GifLzwEncoder, EightBitCodesStartWithClear256At9Bits) {
  const Encoded e = encode({7, 7, 7}, 3, 8);
  const auto d = giftest::DecodeLzw(e.data, 8);
  ASSERT_TRUE(d.ok) << d.error;
  ASSERT_GE(d.codes.size(), 3u);
  EXPECT_EQ(d.codes.front().value, 256);
  EXPECT_EQ(d.codes.front().width, 9);
  EXPECT_EQ(d.codes[1].value, 7);
  EXPECT_EQ(d.codes[2].value, 258);  // "7 7", the first free code
  EXPECT_EQ(d.codes.back().value, 257);
  EXPECT_EQ(d.pixels, (std::vector<uint8_t>{7, 7, 7}));
}

// With 256 colours every pair of noise is a new string, so the code written while the next free
// code is 511 is the last 9-bit one; the one written when it is 512 is still 9 bits, after it 10.
TEST(GifLzwEncoder, NineToTenBitSwitch) {
  const std::vector<uint8_t> pixels = noise(2000, 256, 7);
  const Encoded e = encode(pixels, 2000, 8);
  const auto d = giftest::DecodeLzw(e.data, 8);
  ASSERT_TRUE(d.ok) << d.error;
  EXPECT_EQ(d.pixels, pixels);
  // codes[0] is the clear; the k-th data code (k from 1) is written while the next free code is
  // 258 + k - 1, so next free 512 is data code 255.
  for (size_t k = 1; k <= 255; ++k) ASSERT_EQ(d.codes[k].width, 9) << k;
  EXPECT_EQ(d.codes[256].width, 10);
}

// Noise over 256 colours fills the table quickly: when the next free code is 4096 the next new
// string writes the clear code at 12 bits and the codes after it are 9 bits again.
TEST(GifLzwEncoder, ClearAt4096ThenNineBits) {
  const std::vector<uint8_t> pixels = noise(20000, 256, 11);
  const Encoded e = encode(pixels, 500, 8);
  const auto d = giftest::DecodeLzw(e.data, 8);
  ASSERT_TRUE(d.ok) << d.error;
  EXPECT_EQ(d.pixels, pixels);
  size_t clears = 0;
  for (size_t i = 1; i < d.codes.size(); ++i) {
    if (d.codes[i].value != 256) continue;
    ++clears;
    EXPECT_EQ(d.codes[i].width, 12);
    ASSERT_LT(i + 1, d.codes.size());
    EXPECT_EQ(d.codes[i + 1].width, 9);
    // Exactly 4096 - 258 codes were added since the previous clear: one per data code but the last.
    size_t previous = i - 1;
    while (previous > 0 && d.codes[previous].value != 256) --previous;
    EXPECT_EQ(i - previous - 1, 4096u - 258u + 1u);
  }
  EXPECT_GE(clears, 2u);
}

TEST(GifLzwEncoder, SubBlocksAre254BytesExceptTheLast) {
  const Encoded e = encode(noise(10000, 256, 3), 100, 8);
  ASSERT_GT(e.blockSizes.size(), 2u);
  for (size_t i = 0; i + 1 < e.blockSizes.size(); ++i) EXPECT_EQ(e.blockSizes[i], 254) << i;
  EXPECT_GT(e.blockSizes.back(), 0);
  EXPECT_LE(e.blockSizes.back(), 254);
}

struct RoundTripCase {
  const char* name;
  int codeSize;
  int32_t width;
  std::vector<uint8_t> pixels;
};

std::vector<RoundTripCase> roundTripCases() {
  std::vector<RoundTripCase> cases;
  cases.push_back({"one pixel code size 2", 2, 1, {3}});
  cases.push_back({"long run", 8, 1000, std::vector<uint8_t>(300000, 200)});
  cases.push_back({"long run of zeros", 2, 640, std::vector<uint8_t>(640 * 480, 0)});
  cases.push_back({"noise 2 colours", 2, 317, noise(317 * 211, 2, 1)});
  cases.push_back({"noise 4 colours", 2, 97, noise(97 * 1013, 4, 2)});
  cases.push_back({"noise 16 colours", 4, 256, noise(256 * 256, 16, 5)});
  cases.push_back({"noise 256 colours", 8, 1, noise(70001, 256, 6)});
  std::vector<uint8_t> ramp(512 * 512);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>((i / 512 + (i % 512) / 3) & 0xFF);
  cases.push_back({"ramps", 8, 512, ramp});
  // Short runs of noise colours: many repeated strings, many strings of length 2 to 4.
  std::vector<uint8_t> runs;
  std::mt19937 random(9);
  while (runs.size() < 200000) runs.insert(runs.end(), 1 + random() % 4, static_cast<uint8_t>(random() % 8));
  cases.push_back({"short runs", 3, 1000, std::vector<uint8_t>(runs.begin(), runs.begin() + 200000)});
  // Zeros after zeros give the string key 0, which compress's probing treats as an empty slot.
  std::vector<uint8_t> zeros = noise(100000, 3, 8);
  for (size_t i = 0; i < zeros.size(); i += 7) zeros[i] = 0;
  cases.push_back({"zero keys", 2, 1000, zeros});
  // "16 1" takes slot 0, so "0 0" (key 0) lands in slot 5002; "155 117" probes from slot 2501
  // through 5002, stops there and writes over "0 0", which the second "0 0" then misses.
  cases.push_back({"key 0 written over", 8, 11, {16, 1, 0, 0, 5, 156, 117, 155, 0, 0, 7}});
  return cases;
}

TEST(GifLzwEncoder, RoundTripsThroughAnIndependentDecoder) {
  for (const RoundTripCase& c : roundTripCases()) {
    SCOPED_TRACE(c.name);
    const Encoded e = encode(c.pixels, c.width, c.codeSize);
    const auto d = giftest::DecodeLzw(e.data, c.codeSize);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.pixels, c.pixels);
    for (const auto& code : d.codes) ASSERT_LE(code.width, 12);
  }
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

std::vector<int> referenceCodes(const std::vector<uint8_t>& pixels, int codeSize) {
  return referenceRun(pixels, codeSize).codes;
}

// Greedy LZW with a dictionary that never loses a string (short pictures: the table never fills).
std::vector<int> perfectDictionaryCodes(const std::vector<uint8_t>& pixels, int codeSize) {
  const int clear = 1 << codeSize;
  std::map<std::pair<int, int>, int> strings;
  std::vector<int> codes = {clear};
  int next = clear + 2, prefix = pixels[0];
  for (size_t i = 1; i < pixels.size(); ++i) {
    const auto it = strings.find({prefix, pixels[i]});
    if (it != strings.end()) {
      prefix = it->second;
      continue;
    }
    codes.push_back(prefix);
    if (next < 4096) strings[{prefix, pixels[i]}] = next++;
    prefix = pixels[i];
  }
  codes.push_back(prefix);
  codes.push_back(clear + 1);
  return codes;
}

TEST(GifLzwEncoder, TheKeyZeroCaseReallyLosesAString) {
  const std::vector<uint8_t> pixels = {16, 1, 0, 0, 5, 156, 117, 155, 0, 0, 7};
  EXPECT_NE(referenceCodes(pixels, 8), perfectDictionaryCodes(pixels, 8));
}

// The same codes as compress's table, including where a string of key 0 (pixel 0 after code 0)
// cuts a probe short and is written over.
TEST(GifLzwEncoder, CodesEqualCompressStepByStep) {
  for (const RoundTripCase& c : roundTripCases()) {
    SCOPED_TRACE(c.name);
    const auto d = giftest::DecodeLzw(encode(c.pixels, c.width, c.codeSize).data, c.codeSize);
    ASSERT_TRUE(d.ok) << d.error;
    std::vector<int> codes;
    for (const auto& code : d.codes) codes.push_back(code.value);
    ASSERT_EQ(codes, referenceCodes(c.pixels, c.codeSize));
  }
}

// Pictures where index 0 is common, over many clears: the key-0 string is written over, looked
// up again, added again, in table after table. Every one of these cases loses it many times.
// Pictures of 256 colours where index 0 is common, over many tables: every few thousand pixels
// "16 1" (the string whose primary slot is 0) comes before any zero, so the key-0 string goes
// elsewhere and later strings' probes pass over it and write over it; it is then looked up
// again and added again. Each case loses it many times.
TEST(GifLzwEncoder, KeyZeroLossesAcrossManyTablesEqualCompress) {
  std::vector<RoundTripCase> cases;
  for (const auto& [zeroEvery, segment] : {std::pair{40u, 3000u}, std::pair{40u, 6000u}, std::pair{20u, 3000u}}) {
    std::mt19937 random(zeroEvery * segment);
    std::vector<uint8_t> pixels(400000);
    for (size_t i = 0; i < pixels.size(); ++i) {
      const size_t at = i % segment;
      if (at < 2)
        pixels[i] = at == 0 ? 16 : 1;
      else
        pixels[i] = at > 200 && random() % zeroEvery == 0 ? 0 : static_cast<uint8_t>(1 + random() % 255);
    }
    cases.push_back({"zeros among 256 colours", 8, 800, pixels});
  }
  for (const RoundTripCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ReferenceRun reference = referenceRun(c.pixels, c.codeSize);
    ASSERT_GE(reference.keyZeroLost, 20) << "the case no longer exercises the loss";
    const auto d = giftest::DecodeLzw(encode(c.pixels, c.width, c.codeSize).data, c.codeSize);
    ASSERT_TRUE(d.ok) << d.error;
    std::vector<int> codes;
    for (const auto& code : d.codes) codes.push_back(code.value);
    ASSERT_EQ(codes, reference.codes);
    EXPECT_EQ(d.pixels, c.pixels);
  }
}

// Every picture length from 1 to 600 over 2 colours crosses the width switches at every phase.
TEST(GifLzwEncoder, EveryLengthEndsCleanly) {
  const std::vector<uint8_t> all = noise(600, 2, 4);
  for (size_t n = 1; n <= all.size(); ++n) {
    const std::vector<uint8_t> pixels(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n));
    const Encoded e = encode(pixels, static_cast<int32_t>(n), 2);
    const auto d = giftest::DecodeLzw(e.data, 2);
    ASSERT_TRUE(d.ok) << n << ": " << d.error;
    ASSERT_EQ(d.pixels, pixels) << n;
  }
}

// The encoder keeps no state between pictures.
TEST(GifLzwEncoder, ReusedEncoderGivesTheSameBytes) {
  const std::vector<uint8_t> pixels = noise(30000, 256, 12);
  std::vector<const uint8_t*> rows = {pixels.data()};
  GifLzwEncoder encoder(8, mGIFSave::Masks());
  std::vector<uint8_t> first, second;
  encoder.Encode(rows, 30000, first);
  encoder.Encode(rows, 30000, second);
  EXPECT_EQ(first, second);
}

}  // namespace
}  // namespace lumora
