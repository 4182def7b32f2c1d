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

TEST(JpegBitWriter, PaddingAndStuffing) {
  EXPECT_EQ(Write({{0b101, 3}}), (std::vector<uint8_t>{0xBF})) << "padded with ones";
  EXPECT_EQ(Write({{0xFF, 8}, {0x01, 8}}), (std::vector<uint8_t>{0xFF, 0x00, 0x01}));
  EXPECT_EQ(Write({{0xF, 4}}), (std::vector<uint8_t>{0xFF, 0x00})) << "padding that makes 0xFF is stuffed";
  EXPECT_EQ(Write({}), std::vector<uint8_t>{});
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
