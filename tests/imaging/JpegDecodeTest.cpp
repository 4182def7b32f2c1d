// cJpeg output read back by real decoders (libjpeg-turbo, strict, and Qt's reader) across sizes,
// samplings and qualities; picture quality against libjpeg-turbo's own encoder; golden hashes.
#include <gtest/gtest.h>

#include <cinttypes>

#include "JpegTestSupport.h"
#include "imaging/JpegStream.h"

namespace lumora {
namespace {

using namespace jpegtest;
using Bytes = std::vector<uint8_t>;

TEST(JpegDecode, PhotoAtQuality100Full444ReachesFiftyDecibels) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    const auto photo = MakePhoto(203 + 16 * seed, 131 + 8 * seed, seed);
    const Bytes ours = Encode(*photo, 100, k444);
    const Decoded d = DecodeLibjpeg(ours);
    ASSERT_TRUE(d.error.empty()) << d.error;
    ASSERT_EQ(std::make_pair(d.width, d.height), std::make_pair(photo->width(), photo->height()));
    ASSERT_EQ(d.components, 3);
    const double psnr = Psnr(*photo, d);
    EXPECT_GE(psnr, 50.0) << "seed " << seed;
    // Same tables, same transform family: libjpeg-turbo's float path is no better, nor much smaller.
    const Bytes peer = EncodeLibjpeg(*photo, JDCT_FLOAT, 1);
    EXPECT_GE(psnr, Psnr(*photo, DecodeLibjpeg(peer)) - 0.2) << "seed " << seed;
    EXPECT_LT(static_cast<double>(ours.size()), 1.01 * static_cast<double>(peer.size())) << "seed " << seed;
  }
}

struct MatrixCase {
  int32_t width, height;
  Sampling sampling;
  int32_t quality;
};

std::string Name(const testing::TestParamInfo<MatrixCase>& info) {
  const MatrixCase& c = info.param;
  const Sampling& s = c.sampling;
  return std::to_string(c.width) + "x" + std::to_string(c.height) + "_" + std::to_string(s.h1) + std::to_string(s.v1) +
         std::to_string(s.h2) + std::to_string(s.v2) + std::to_string(s.h3) + std::to_string(s.v3) + "_q" +
         std::to_string(c.quality);
}

class JpegDecodeMatrix : public testing::TestWithParam<MatrixCase> {};

TEST_P(JpegDecodeMatrix, BothDecodersReadItAndTheBitCountIsExact) {
  const MatrixCase& c = GetParam();
  const auto photo = MakePhoto(c.width, c.height, static_cast<uint32_t>(c.width * 31 + c.height));
  Surface surface(photo);
  cJpeg jpeg;
  jpeg.Quality(c.quality);
  const Sampling& s = c.sampling;
  jpeg.SetSamplingFrequencies(s.h1, s.v1, s.h2, s.v2, s.h3, s.v3);
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), c.width, c.height), 0);

  uint64_t coded = 0;
  const Bytes b = WriteJpegStream(*jpeg.Capture(), "", &coded);
  EXPECT_EQ(coded, PlanJpegEntropy(*jpeg.Capture()).codedBits);
  EXPECT_EQ(b, jpeg.SaveToMemory());

  const Decoded d = DecodeLibjpeg(b);
  ASSERT_TRUE(d.error.empty()) << d.error;
  EXPECT_EQ(std::make_pair(d.width, d.height), std::make_pair(c.width, c.height));
  EXPECT_EQ(d.components, s.h2 == 0 ? 1 : 3);
  if (c.quality == 100 && s.h1 * s.v1 * s.h2 * s.v2 * s.h3 * s.v3 == 1) {
    EXPECT_GE(Psnr(*photo, d), 45.0);
  }
  const QImage q = DecodeQt(b);
  ASSERT_FALSE(q.isNull());
  EXPECT_EQ(q.size(), QSize(c.width, c.height));
}

std::vector<MatrixCase> MatrixCases() {
  std::vector<MatrixCase> cases;
  const std::vector<std::pair<int32_t, int32_t>> sizes = {{1, 1}, {7, 5}, {16, 16}, {17, 9}, {33, 65}, {100, 3}, {129, 67}};
  const std::vector<Sampling> samplings = {k444, k420, kGrey, {2, 1, 1, 1, 1, 1}, {1, 2, 1, 1, 1, 1},
                                           {4, 3, 1, 1, 1, 1},  // luminance alone in its own scan
                                           {1, 1, 2, 2, 1, 1},  // chrominance denser than luminance
                                           {4, 2, 2, 1, 1, 1}};
  for (const auto& [w, h] : sizes)
    for (const Sampling& s : samplings) cases.push_back({w, h, s, 100});
  for (int32_t q : {75, 30, 1}) cases.push_back({129, 67, k420, q});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Pictures, JpegDecodeMatrix, testing::ValuesIn(MatrixCases()), Name);

TEST(JpegDecode, ComponentsOfTheSameBlockWidthButNotTheSameSizeAreSampledSeparately) {
  // Width 9 at 4, 3, 2: sampled widths 9, 7 and 5, the last two both padded to 8.
  const auto photo = MakePhoto(9, 8, 14);
  Surface surface(photo);
  cJpeg mixed, alone;
  mixed.SetSamplingFrequencies(4, 1, 3, 1, 2, 1);
  alone.SetSamplingFrequencies(4, 1, 1, 1, 2, 1);
  ASSERT_EQ(mixed.SampleHDC(surface.hdc(), 9, 8), 0);
  ASSERT_EQ(alone.SampleHDC(surface.hdc(), 9, 8), 0);
  const JpegComponent& a = mixed.Capture()->components[2];
  const JpegComponent& b = alone.Capture()->components[2];
  ASSERT_EQ(a.cw, 5);
  ASSERT_EQ(b.cw, 5);
  EXPECT_EQ(mixed.Capture()->components[1].cw, 7);
  EXPECT_TRUE(std::equal(a.Store().begin(), a.Store().end(), b.Store().begin(), b.Store().end()));
}

TEST(JpegDecode, GoldenHashesOfAFixedPicture) {
  // Any change to these bytes is a change to every exported picture: look at why before updating.
  // The vector and the scalar paths (LUMORA_JPEG_SCALAR=1) must both give them.
  const auto photo = MakePhoto(61, 45, 21);
  struct Case {
    int32_t quality;
    Sampling sampling;
    uint64_t hash;
  };
  for (const Case& c : {Case{100, k444, 0x4b68e29550b80276}, Case{75, k420, 0xd02fde1515dcf946},
                      Case{50, kGrey, 0xed38661bf51ac6a0}, Case{90, {4, 3, 1, 1, 1, 1}, 0x705fd786cd76547c}}) {
    const Bytes b = Encode(*photo, c.quality, c.sampling, "golden");
    EXPECT_EQ(Fnv1a(b), c.hash) << "q" << c.quality << ": 0x" << std::hex << Fnv1a(b);
  }
}

}  // namespace
}  // namespace lumora
