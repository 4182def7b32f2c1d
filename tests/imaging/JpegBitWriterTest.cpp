// The entropy-coded segment's bit packer against a bit-at-a-time model.
#include <gtest/gtest.h>

#include <random>

#include "imaging/JpegBitWriter.h"

namespace lumora {
namespace {

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

std::vector<uint8_t> Write(const std::vector<std::pair<uint32_t, int>>& puts, std::vector<uint8_t> out = {}) {
  JpegBitWriter w(out);
  for (const auto& [bits, count] : puts) w.Put(bits, count);
  w.Flush();
  return out;
}

TEST(JpegBitWriter, SmallCases) {
  struct Case {
    std::string name;
    std::vector<std::pair<uint32_t, int>> puts;
    std::vector<uint8_t> bytes;
  };
  const std::vector<Case> cases = {
      {"nothing", {}, {}},
      {"padding with ones", {{0b101, 3}}, {0xBF}},
      {"whole byte: no padding", {{0x12, 8}}, {0x12}},
      {"0xFF is stuffed", {{0xFF, 8}, {0x01, 8}}, {0xFF, 0x00, 0x01}},
      {"padding that makes 0xFF is stuffed", {{0xF, 4}}, {0xFF, 0x00}},
      {"32-bit put", {{0xDEADBEEF, 32}}, {0xDE, 0xAD, 0xBE, 0xEF}},
      {"across the accumulator", {{0x7FFFFFFF, 31}, {0x7FFFFFFF, 31}, {0x3, 3}},
       {0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFD, 0xFF, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Write(c.puts), c.bytes) << c.name;
    EXPECT_EQ(Model(c.puts), c.bytes) << c.name;
  }
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
