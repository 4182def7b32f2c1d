// cJpeg's settings and every error the encoder raises, with its number and message.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "base/LumoraError.h"
#include "imaging/JpegHuffman.h"
#include "imaging/JpegQuantiser.h"
#include "imaging/cJpeg.h"

namespace lumora {
namespace {

std::vector<std::pair<int32_t, int32_t>> Factors(const cJpeg& jpeg) {
  std::vector<std::pair<int32_t, int32_t>> out;
  for (const JpegSampling& s : jpeg.Sampling()) out.emplace_back(s.H, s.V);
  return out;
}

TEST(JpegSettings, DefaultsGreyscaleAndIgnoredQualities) {
  cJpeg jpeg;
  EXPECT_EQ(jpeg.Quality(), 75);
  EXPECT_EQ(Factors(jpeg), (std::vector<std::pair<int32_t, int32_t>>{{2, 2}, {1, 1}, {1, 1}}));
  jpeg.SetSamplingFrequencies(4, 1, 2, 3, 1, 4);
  EXPECT_EQ(Factors(jpeg), (std::vector<std::pair<int32_t, int32_t>>{{4, 1}, {2, 3}, {1, 4}}));
  jpeg.SetSamplingFrequencies(3, 4, 0, 0, 0, 0);  // H1 and V1 checked, then not used
  EXPECT_EQ(Factors(jpeg), (std::vector<std::pair<int32_t, int32_t>>{{1, 1}}));
  jpeg.Quality(60);
  const JpegQuantTable before = jpeg.QuantTable(0);
  for (int32_t q : {0, -5, 101}) {
    jpeg.Quality(q);
    EXPECT_EQ(jpeg.Quality(), 60);
    EXPECT_EQ(jpeg.QuantTable(0).Q, before.Q);
  }
}

struct ErrorCase {
  const char* name;
  std::function<void(cJpeg&)> act;
  int32_t number;
  const char* message;  // empty: not checked
};

TEST(JpegSettings, ErrorsLeaveTheSettingsAsTheyWere) {
  const auto sampling = [](int32_t h1, int32_t v1, int32_t h2, int32_t v2, int32_t h3, int32_t v3) {
    return [=](cJpeg& j) { j.SetSamplingFrequencies(h1, v1, h2, v2, h3, v3); };
  };
  const auto quantiser = [](int16_t q) {
    return [=](cJpeg& j) {
      JpegQuantTable table = j.QuantTable(0);
      table.Q[17] = q;
      table.RebuildDivisors(j.ZigzagMap(), 8);
    };
  };
  const auto overflow = [](float value) {
    return [=](cJpeg& j) {
      std::array<float, 64> work{};
      std::array<int16_t, 64> out;
      work[9] = value;
      JpegQuantiser(j.QuantTable(0), j.ZigzagMap()).Quantise(work, out);
    };
  };
  const std::vector<ErrorCase> cases = {
      {"H1 5", sampling(5, 1, 1, 1, 1, 1), 1, "Invalid Sampling Value"},
      {"V1 0", sampling(1, 0, 1, 1, 1, 1), 1, "Invalid Sampling Value"},
      {"H2 0 alone", sampling(1, 1, 0, 1, 0, 0), 1, "Invalid Sampling Value"},
      {"V3 5", sampling(1, 1, 1, 1, 1, 5), 1, "Invalid Sampling Value"},
      {"H2 -1", sampling(1, 1, -1, 1, 1, 1), 1, "Invalid Sampling Value"},
      {"H3 0 alone", sampling(2, 2, 1, 1, 0, 1), 1, "Invalid Sampling Value"},
      {"comment of 65534", [](cJpeg& j) { j.Comment(std::string(65534, 'x')); }, 1, "Illegal Comment Length"},
      {"quantiser 0", quantiser(0), 1, "Bad Quantization Table"},
      {"quantiser 256", quantiser(256), 1, "Bad Quantization Table"},
      {"two one-bit codes", [](cJpeg&) { JpegHuffmanTable{.bits = {0, 2}, .huffval = {1, 2}}.AssignCodes(JpegTableClass::AC); }, 1,
       "Bad Huffman Table"},
      {"no symbols", [](cJpeg&) { JpegHuffmanTable::Optimal(JpegSymbolCounts{}, JpegTableClass::AC); }, 1, ""},
      {"coefficient 1e9", overflow(1e9f), ErrorNumber::kOverflow, ""},
      {"coefficient -1e9", overflow(-1e9f), ErrorNumber::kOverflow, ""},
      {"coefficient NaN", overflow(std::nanf("")), ErrorNumber::kOverflow, ""},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    cJpeg jpeg;
    jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    jpeg.Comment("kept");
    try {
      c.act(jpeg);
      ADD_FAILURE() << "no error";
    } catch (const LumoraError& e) {
      EXPECT_EQ(e.number(), c.number);
      if (*c.message) {
        EXPECT_EQ(e.description(), c.message);
      }
    }
    EXPECT_EQ(Factors(jpeg), (std::vector<std::pair<int32_t, int32_t>>{{1, 1}, {1, 1}, {1, 1}}));
    EXPECT_EQ(jpeg.Comment(), "kept");
  }
}

}  // namespace
}  // namespace lumora
