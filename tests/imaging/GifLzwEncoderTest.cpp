// The LZW coder on plain index arrays: round trips through an independent decoder, and the very
// codes of compress's table, step by step, including where it loses the key-0 string.
#include "imaging/GifLzwEncoder.h"

#include <gtest/gtest.h>

#include <random>

#include "GifTestSupport.h"
#include "SurfaceBuilders.h"
#include "imaging/mGIFSave.h"

namespace lumora {
namespace {

using testsurface::RandomIndices;

// The coded bytes without their sub-block sizes.
std::vector<uint8_t> encode(const std::vector<uint8_t>& pixels, int32_t width, int codeSize) {
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
    const auto d = giftest::DecodeLzw(encode(c.pixels, c.width, c.codeSize), c.codeSize);
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
    const auto d = giftest::DecodeLzw(encode(pixels, static_cast<int32_t>(n), 2), 2);
    ASSERT_TRUE(d.ok) << n << ": " << d.error;
    ASSERT_EQ(d.pixels, pixels) << n;
  }
}

}  // namespace
}  // namespace lumora
