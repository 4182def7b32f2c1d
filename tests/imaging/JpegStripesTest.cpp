// Stripes of rows coded side by side join into the one-stripe stream, byte for byte.
#include <gtest/gtest.h>

#include "JpegTestSupport.h"
#include "imaging/JpegStream.h"

namespace lumora::jpegtest {
namespace {

TEST(JpegStripes, EveryNumberOfStripesGivesTheOneStripeStream) {
  const int sizes[][2] = {{1, 1}, {37, 29}, {301, 203}, {40, 700}};
  for (const auto& [width, height] : sizes)
    for (const Sampling s : {k444, k420, kGrey}) {  // 4:2:0 pads MCUs past the stored blocks
      Surface surface(MakePhoto(width, height, 7));
      cJpeg jpeg;
      jpeg.Quality(100);
      jpeg.SetSamplingFrequencies(s.h1, s.v1, s.h2, s.v2, s.h3, s.v3);
      const auto stream = [&](int stripes) {
        return WriteJpegStream(*CaptureJpeg(surface.hdc(), {0, 0, width, height}, jpeg.Sampling(),
                                            {jpeg.QuantTable(0), jpeg.QuantTable(1)}, jpeg.ZigzagMap(), stripes),
                               "", nullptr, stripes);
      };
      const std::vector<uint8_t> one = stream(1);
      EXPECT_TRUE(stream(2) == one && stream(3) == one) << width << "x" << height << ", luminance " << s.h1;
    }
}

}  // namespace
}  // namespace lumora::jpegtest
