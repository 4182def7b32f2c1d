// The entropy coder's parts against plain references: the vector colour rows bit for bit against
// their scalar path at every width (the block stages are held to theirs by the golden hashes, which
// both paths must give), Huffman tables for any counts, and the bit packer against a bit-at-a-time model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "imaging/JpegBitWriter.h"
#include "imaging/JpegColour.h"
#include "imaging/JpegHuffman.h"
#include "imaging/JpegTables.h"

namespace lumora {
namespace {

TEST(JpegColour, FastRowsEqualTheReferenceForEveryWidthAndLayout) {
  std::mt19937 rng(3);
  std::vector<uint8_t> pixels(4 * 300 + 8);
  for (auto& p : pixels) p = static_cast<uint8_t>(rng());
  for (int bpp : {3, 4}) {
    for (int32_t count : {1, 7, 8, 9, 16, 17, 33, 300}) {
      std::array<std::vector<float>, 3> fast, ref;
      for (auto& plane : fast) plane.assign(static_cast<size_t>(count), -1.0f);
      for (auto& plane : ref) plane.assign(static_cast<size_t>(count), -2.0f);
      std::array<float*, 3> fastRows = {fast[0].data(), fast[1].data(), fast[2].data()},
                            refRows = {ref[0].data(), ref[1].data(), ref[2].data()};
      // A row that ends exactly at the end of its memory must not be overread.
      const std::vector<uint8_t> row(pixels.begin(), pixels.begin() + count * bpp);
      JpegConvertRow(row.data(), bpp, count, kJpegColourWeights, fastRows);
      JpegConvertRowReference(row.data(), bpp, count, kJpegColourWeights, refRows);
      EXPECT_EQ(fast, ref) << bpp << " " << count;
    }
  }
}

JpegSymbolCounts Fibonacci(int n) {
  JpegSymbolCounts c{};
  for (uint64_t i = 0, a = 1, b = 1; i < static_cast<uint64_t>(n); ++i, b = a + b, a = b - a) c[i] = a;
  return c;
}

// Codes only for the symbols that occur, at most 16 bits, prefix-free, the all-ones code unused.
TEST(JpegHuffman, TablesFromVariedCountsAreSound) {
  JpegSymbolCounts one{}, two{}, uniform{}, geometric{}, random{};
  one[0xF0] = 5;
  two[0] = 1, two[200] = 1000000;
  uniform.fill(7);
  for (size_t i = 0; i < 40; ++i) geometric[i * 3] = uint64_t{1} << (40 - i);
  std::mt19937 rng(9);
  for (auto& c : random) c = rng() % 4 == 0 ? 0 : rng() % 100000;
  const std::vector<std::pair<std::string, JpegSymbolCounts>> cases = {
      {"one", one}, {"two", two}, {"uniform", uniform}, {"geometric", geometric}, {"random", random},
      {"fibonacci 30 (lengths above 16)", Fibonacci(30)}, {"fibonacci 60 (above 32)", Fibonacci(60)}};
  for (const auto& [name, counts] : cases) {
    SCOPED_TRACE(name);
    const JpegHuffmanTable t = JpegHuffmanTable::Optimal(counts, JpegTableClass::AC);
    double kraft = 0;
    for (size_t s = 0; s < 256; ++s) {
      const int size = t.size[s];
      ASSERT_EQ(size != 0, counts[s] != 0) << "symbol " << s;
      if (size == 0) continue;
      EXPECT_LE(size, 16);
      EXPECT_NE(t.code[s], (1u << size) - 1) << "all-ones code for " << s;
      kraft += std::ldexp(1.0, -size);
      for (size_t b = 0; b < 256; ++b) {
        const int sb = t.size[b];
        if (b == s || sb < size) continue;
        EXPECT_NE(t.code[b] >> (sb - size), t.code[s]) << s << " is a prefix of " << b;
      }
    }
    EXPECT_LT(kraft, 1.0);
  }
}

// The obvious writer: one bit at a time, stuffing after each 0xFF, 1-bit padding.
std::vector<uint8_t> Model(const std::vector<std::pair<uint32_t, int>>& puts) {
  std::vector<uint8_t> out;
  int byte = 0, filled = 0;
  auto bit = [&](int b) {
    byte = byte << 1 | b;
    if (++filled == 8) {
      out.push_back(static_cast<uint8_t>(byte));
      if (byte == 0xFF) out.push_back(0);
      byte = filled = 0;
    }
  };
  for (const auto& [bits, count] : puts)
    for (int i = count - 1; i >= 0; --i) bit(static_cast<int>(bits >> i) & 1);
  while (filled != 0) bit(1);
  return out;
}

TEST(JpegBitWriter, MatchesTheModelOnLongRandomRuns) {
  std::mt19937 rng(5);
  for (int run = 0; run < 50; ++run) {
    std::vector<std::pair<uint32_t, int>> puts;
    uint64_t total = 0;
    const bool ones = run % 3 == 0;  // runs rich in 0xFF bytes
    for (int i = 0; i < 2000; ++i) {
      const int count = 1 + static_cast<int>(rng() % 32);
      const uint32_t mask = count == 32 ? 0xFFFFFFFFu : (1u << count) - 1;
      puts.emplace_back((ones ? ~(rng() & rng() & rng()) : rng()) & mask, count);
      total += static_cast<uint64_t>(count);
    }
    std::vector<uint8_t> out = {0xAB};  // bytes already there stay in front
    JpegBitWriter w(out);
    for (const auto& [bits, count] : puts) w.Put(bits, count);
    EXPECT_EQ(w.BitsWritten(), total);
    w.Flush();
    EXPECT_EQ(w.BitsWritten(), total) << "padding is not counted";
    std::vector<uint8_t> expected = {0xAB};
    const std::vector<uint8_t> model = Model(puts);
    expected.insert(expected.end(), model.begin(), model.end());
    ASSERT_EQ(out, expected) << "run " << run;
  }
}

}  // namespace
}  // namespace lumora
