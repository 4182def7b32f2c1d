// Optimal Huffman tables (T.81 K.2) and their canonical codes (T.81 Annex C).
#include <gtest/gtest.h>

#include <random>

#include "base/LumoraError.h"
#include "imaging/JpegHuffman.h"

namespace lumora {
namespace {

// Code-table properties every built table must have.
void ExpectSoundTable(const JpegSymbolCounts& counts, const JpegHuffmanTable& t, const std::string& name) {
  double kraft = 0;
  for (int s = 0; s < 256; ++s) {
    const int size = t.size[static_cast<size_t>(s)];
    EXPECT_EQ(size != 0, counts[static_cast<size_t>(s)] != 0) << name << " symbol " << s;
    if (size == 0) continue;
    EXPECT_LE(size, 16) << name;
    EXPECT_LT(t.code[static_cast<size_t>(s)], 1u << size) << name;
    EXPECT_NE(t.code[static_cast<size_t>(s)], (1u << size) - 1) << name << ": all-ones code for " << s;
    kraft += std::ldexp(1.0, -size);
  }
  EXPECT_LT(kraft, 1.0) << name;  // strictly: the all-ones code point stays free
  // Prefix-free: no code is the start of another.
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const int sa = t.size[static_cast<size_t>(a)], sb = t.size[static_cast<size_t>(b)];
      if (a == b || sa == 0 || sb == 0 || sa > sb) continue;
      EXPECT_NE(t.code[static_cast<size_t>(b)] >> (sb - sa), t.code[static_cast<size_t>(a)]) << name << " " << a << " " << b;
    }
  }
}

JpegSymbolCounts Fibonacci(int n) {
  JpegSymbolCounts c{};
  uint64_t a = 1, b = 1;
  for (int i = 0; i < n; ++i) {
    c[static_cast<size_t>(i)] = a;
    const uint64_t next = a + b;
    a = b;
    b = next;
  }
  return c;
}

TEST(JpegHuffman, TablesFromVariedCountsAreSound) {
  std::vector<std::pair<std::string, JpegSymbolCounts>> cases;
  JpegSymbolCounts one{}, two{}, uniform{}, geometric{}, random{};
  one[0xF0] = 5;
  two[0] = 1, two[200] = 1000000;
  uniform.fill(7);
  for (size_t i = 0; i < 40; ++i) geometric[i * 3] = uint64_t{1} << (40 - i);
  std::mt19937 rng(9);
  for (auto& c : random) c = rng() % 4 == 0 ? 0 : rng() % 100000;
  cases = {{"one", one}, {"two", two}, {"uniform", uniform}, {"geometric", geometric}, {"random", random},
           {"fibonacci 30 (lengths above 16)", Fibonacci(30)}, {"fibonacci 60 (above 32)", Fibonacci(60)}};
  for (const auto& [name, counts] : cases) ExpectSoundTable(counts, JpegHuffmanTable::Optimal(counts, JpegTableClass::AC), name);
}

TEST(JpegHuffman, UnlimitedCountsGetHuffmanOptimalLengths) {
  // Four symbols of counts 8, 4, 2, 1 plus the reserved point: lengths 1, 2, 3, 4.
  JpegSymbolCounts c{};
  c[3] = 8, c[1] = 4, c[9] = 2, c[0] = 1;
  const JpegHuffmanTable t = JpegHuffmanTable::Optimal(c, JpegTableClass::DC);
  EXPECT_EQ(t.size[3], 1);
  EXPECT_EQ(t.size[1], 2);
  EXPECT_EQ(t.size[9], 3);
  EXPECT_EQ(t.size[0], 4);
  EXPECT_EQ(t.huffval, (std::vector<uint8_t>{3, 1, 9, 0}));
}

TEST(JpegHuffman, TiesMergeTheLargerSymbolFirst) {
  // Counts 2, 1, 1 and the reserved 1: merging the last of equal entries gives sizes 1, 2, 3;
  // merging the first would give every symbol 2 bits.
  JpegSymbolCounts c{};
  c[0] = 2, c[1] = 1, c[2] = 1;
  const JpegHuffmanTable t = JpegHuffmanTable::Optimal(c, JpegTableClass::DC);
  EXPECT_EQ((std::array<uint8_t, 3>{t.bits[1], t.bits[2], t.bits[3]}), (std::array<uint8_t, 3>{1, 1, 1}));
  EXPECT_EQ(t.huffval, (std::vector<uint8_t>{0, 1, 2}));
  EXPECT_EQ(t.code[0], 0b0);
  EXPECT_EQ(t.code[1], 0b10);
  EXPECT_EQ(t.code[2], 0b110);
}

TEST(JpegHuffman, CanonicalCodesOfTableK3) {
  JpegHuffmanTable t;
  t.bits = {0, 0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
  t.huffval = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  t.AssignCodes(JpegTableClass::DC);
  const std::array<uint16_t, 12> codes = {0b00, 0b010, 0b011, 0b100, 0b101, 0b110,
                                          0b1110, 0b11110, 0b111110, 0b1111110, 0b11111110, 0b111111110};
  const std::array<uint8_t, 12> sizes = {2, 3, 3, 3, 3, 3, 4, 5, 6, 7, 8, 9};
  for (size_t v = 0; v < 12; ++v) {
    EXPECT_EQ(t.code[v], codes[v]) << v;
    EXPECT_EQ(t.size[v], sizes[v]) << v;
  }
}

TEST(JpegHuffman, InvalidTablesAreRefused) {
  struct Case {
    std::string name;
    std::array<uint8_t, 17> bits;
    std::vector<uint8_t> values;
    JpegTableClass tableClass;
  };
  std::vector<uint8_t> many(257 - 1, 0);
  for (size_t i = 0; i < many.size(); ++i) many[i] = static_cast<uint8_t>(i);
  const std::vector<Case> cases = {
      {"no codes", {}, {}, JpegTableClass::AC},
      {"DC value 12", {0, 1}, {12}, JpegTableClass::DC},
      {"value twice", {0, 0, 2}, {5, 5}, JpegTableClass::AC},
      {"two one-bit codes", {0, 2}, {1, 2}, JpegTableClass::AC},
      {"five two-bit codes", {0, 1, 4}, {1, 2, 3, 4, 5}, JpegTableClass::AC},
      {"more than 256", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}, JpegTableClass::AC},
  };
  for (Case c : cases) {
    if (c.name == "more than 256") {
      c.bits[15] = 255, c.bits[16] = 2;
      c.values = many;
      c.values.push_back(0);
    }
    JpegHuffmanTable t;
    t.bits = c.bits;
    t.huffval = c.values;
    try {
      t.AssignCodes(c.tableClass);
      ADD_FAILURE() << c.name;
    } catch (const LumoraError& e) {
      EXPECT_EQ(e.number(), 1) << c.name;
      EXPECT_EQ(e.description(), "Bad Huffman Table") << c.name;
    }
  }
  JpegHuffmanTable twelveBit;
  twelveBit.bits = {0, 1};
  twelveBit.huffval = {15};
  EXPECT_NO_THROW(twelveBit.AssignCodes(JpegTableClass::DC, 12));
  EXPECT_THROW(JpegHuffmanTable::Optimal(JpegSymbolCounts{}, JpegTableClass::AC), LumoraError);
}

}  // namespace
}  // namespace lumora
