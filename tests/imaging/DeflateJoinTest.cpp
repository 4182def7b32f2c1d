#include "imaging/DeflateJoin.h"

#include <gtest/gtest.h>
#include <libdeflate.h>

#include <algorithm>
#include <random>
#include <string>

namespace lumora {
namespace {

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
  std::vector<uint8_t> stream(libdeflate_deflate_compress_bound(compressor, data.size()));
  stream.resize(libdeflate_deflate_compress(compressor, data.data(), data.size(), stream.data(), stream.size()));
  libdeflate_free_compressor(compressor);
  return stream;
}

// Parts compressed apart decode as one stream of their bytes, whatever block each part ends on:
// stored (noise), fixed codes (a few bytes), dynamic codes (words in several blocks; skewed bytes).
TEST(DeflateJoin, PartsJoinIntoOneStreamOfTheirBytes) {
  std::mt19937 random(3);
  std::vector<uint8_t> noise(70000), skewed(200000), words, few(300);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
  // Codes of every length up to 15 bits, so that they meet the ends of the decoder's windows.
  std::geometric_distribution<int> geometric(0.25);
  for (uint8_t& b : skewed) b = static_cast<uint8_t>(std::min(geometric(random), 255));
  for (size_t i = 0; i < few.size(); ++i) few[i] = static_cast<uint8_t>("abc"[i % 3]);
  for (int k = 0; k < 60000; ++k) {
    const std::string word = std::to_string(random() % 5000) + (k % 17 ? " " : ".\n");
    words.insert(words.end(), word.begin(), word.end());
  }
  const std::vector<std::vector<uint8_t>> parts = {words, noise, few, skewed, words, few, noise};
  std::vector<uint8_t> joined, expected;
  for (size_t k = 0; k < parts.size(); ++k) {
    const std::vector<uint8_t> stream = Deflate(parts[k]);
    if (k + 1 < parts.size())
      ASSERT_TRUE(AppendOpenDeflate(stream, joined)) << k;
    else
      joined.insert(joined.end(), stream.begin(), stream.end());
    expected.insert(expected.end(), parts[k].begin(), parts[k].end());
  }
  std::vector<uint8_t> decoded(expected.size() + 1);
  size_t size = 0;
  libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
  EXPECT_EQ(libdeflate_deflate_decompress(decompressor, joined.data(), joined.size(), decoded.data(), decoded.size(), &size),
            LIBDEFLATE_SUCCESS);
  libdeflate_free_decompressor(decompressor);
  decoded.resize(size);
  EXPECT_EQ(decoded, expected);

  // Not deflate (block type 3), and a stream cut short.
  std::vector<uint8_t> out = {1, 2}, cut = Deflate(words);
  cut.resize(900);
  for (const std::vector<uint8_t>& broken : {std::vector<uint8_t>{0xFF, 0xFF}, cut}) EXPECT_FALSE(AppendOpenDeflate(broken, out));
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 2}));
}

}  // namespace
}  // namespace lumora
