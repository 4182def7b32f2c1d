// Optimal Huffman tables are sound code tables for any symbol counts, however skewed.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "imaging/JpegHuffman.h"

namespace lumora {
namespace {

JpegSymbolCounts Fibonacci(int n) {
  JpegSymbolCounts c{};
  uint64_t a = 1, b = 1;
  for (int i = 0; i < n; ++i) {
    c[static_cast<size_t>(i)] = a;
    b = a + b;
    a = b - a;
  }
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

}  // namespace
}  // namespace lumora
