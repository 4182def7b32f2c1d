// cJpeg's settings: defaults, sampling factors and their checks, the comment and its limit.
#include <gtest/gtest.h>

#include "base/LumoraError.h"
#include "imaging/cJpeg.h"

namespace lumora {
namespace {

void ExpectJpegError(const std::function<void()>& f, const std::string& text) {
  try {
    f();
    FAIL() << "expected \"" << text << "\"";
  } catch (const LumoraError& e) {
    EXPECT_EQ(e.number(), 1);
    EXPECT_EQ(e.description(), text);
  }
}

std::vector<std::pair<int32_t, int32_t>> Factors(const cJpeg& jpeg) {
  std::vector<std::pair<int32_t, int32_t>> out;
  for (const JpegSampling& s : jpeg.Sampling()) out.emplace_back(s.H, s.V);
  return out;
}

TEST(JpegSettings, StartsAtQuality75WithLuminanceTwiceTheChrominance) {
  cJpeg jpeg;
  EXPECT_EQ(jpeg.Quality(), 75);
  EXPECT_EQ(Factors(jpeg), (std::vector<std::pair<int32_t, int32_t>>{{2, 2}, {1, 1}, {1, 1}}));
  EXPECT_EQ(jpeg.Comment(), "");
  EXPECT_FALSE(jpeg.Capture().has_value());
}

TEST(JpegSettings, AllChromaFactorsZeroMakeOneGreyComponent) {
  cJpeg jpeg;
  jpeg.SetSamplingFrequencies(3, 4, 0, 0, 0, 0);  // H1 and V1 checked, then not used
  EXPECT_EQ(Factors(jpeg), (std::vector<std::pair<int32_t, int32_t>>{{1, 1}}));
}

TEST(JpegSettings, ColourFactorsAreKeptPerComponent) {
  cJpeg jpeg;
  jpeg.SetSamplingFrequencies(4, 1, 2, 3, 1, 4);
  EXPECT_EQ(Factors(jpeg), (std::vector<std::pair<int32_t, int32_t>>{{4, 1}, {2, 3}, {1, 4}}));
}

TEST(JpegSettings, FactorOutsideOneToFourIsRefusedAndNothingChanges) {
  struct Case { int32_t f[6]; };
  for (const Case& c : {Case{{5, 1, 1, 1, 1, 1}}, Case{{1, 0, 1, 1, 1, 1}}, Case{{1, 1, 0, 1, 0, 0}},
                        Case{{1, 1, 1, 1, 1, 5}}, Case{{1, 1, -1, 1, 1, 1}}, Case{{2, 2, 1, 1, 0, 1}}}) {
    cJpeg jpeg;
    jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    ExpectJpegError([&] { jpeg.SetSamplingFrequencies(c.f[0], c.f[1], c.f[2], c.f[3], c.f[4], c.f[5]); },
                    "Invalid Sampling Value");
    EXPECT_EQ(Factors(jpeg), (std::vector<std::pair<int32_t, int32_t>>{{1, 1}, {1, 1}, {1, 1}}));
  }
}

TEST(JpegSettings, CommentOf65533BytesIsAcceptedAndOneMoreRefused) {
  cJpeg jpeg;
  jpeg.Comment("kept");
  ExpectJpegError([&] { jpeg.Comment(std::string(65534, 'x')); }, "Illegal Comment Length");
  EXPECT_EQ(jpeg.Comment(), "kept");
  jpeg.Comment(std::string(65533, 'y'));
  EXPECT_EQ(jpeg.Comment().size(), 65533u);
}

}  // namespace
}  // namespace lumora
