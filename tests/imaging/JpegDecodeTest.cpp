// cJpeg output read back by real decoders: libjpeg-turbo (strict) and Qt's reader.
#include <gtest/gtest.h>

#include "JpegTestSupport.h"

namespace lumora {
namespace {

using namespace jpegtest;

TEST(JpegDecode, PhotoAtQuality100Full444ReachesFiftyDecibels) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    const auto photo = MakePhoto(203 + 16 * seed, 131 + 8 * seed, seed);
    const Decoded d = DecodeLibjpeg(Encode(*photo, 100, k444));
    ASSERT_TRUE(d.error.empty()) << d.error;
    ASSERT_EQ(d.width, photo->width());
    ASSERT_EQ(d.height, photo->height());
    ASSERT_EQ(d.components, 3);
    EXPECT_GE(Psnr(*photo, d), 50.0) << "seed " << seed;
  }
}

}  // namespace
}  // namespace lumora
