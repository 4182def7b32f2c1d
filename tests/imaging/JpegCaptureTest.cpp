// SampleHDC: bad rectangles and contexts, every source layout giving the samples a plain copy
// gives, and a capture that keeps what it was quantised with.
#include <gtest/gtest.h>

#include "JpegTestSupport.h"
#include "base/LumoraError.h"
#include "imaging/raster/Blit.h"

namespace lumora {
namespace {

using namespace jpegtest;
using Bytes = std::vector<uint8_t>;

// The same picture in another storage layout, through the platform copy.
std::shared_ptr<raster::Bitmap> Converted(const raster::Bitmap& src, int bpp, raster::RowOrder order,
                                          raster::ChannelMasks masks = {}) {
  auto out = masks == raster::ChannelMasks{} ? raster::Bitmap::Create(src.width(), src.height(), bpp, order)
                                             : raster::Bitmap::Create(src.width(), src.height(), bpp, order, masks);
  EXPECT_EQ(raster::BitBlt(*out, 0, 0, src.width(), src.height(), src, 0, 0, raster::SRCCOPY) != 0, true);
  return out;
}

Bytes Capture(const std::shared_ptr<raster::Bitmap>& b, int32_t w, int32_t h, int32_t left = 0, int32_t top = 0,
              Sampling s = k444) {
  Surface surface(b);
  cJpeg jpeg;
  jpeg.Quality(90);
  jpeg.SetSamplingFrequencies(s.h1, s.v1, s.h2, s.v2, s.h3, s.v3);
  EXPECT_EQ(jpeg.SampleHDC(surface.hdc(), w, h, left, top), 0);
  return jpeg.SaveToMemory();
}

TEST(JpegCapture, EverySourceLayoutGivesTheSameStream) {
  const auto photo = MakePhoto(37, 21, 8);  // 32-bit, top-down: read in place
  const Bytes reference = Capture(photo, 37, 21);
  struct Case {
    std::string name;
    std::shared_ptr<raster::Bitmap> bitmap;
  };
  const std::vector<Case> cases = {
      {"24-bit bottom-up", Converted(*photo, 24, raster::RowOrder::BottomUp)},
      {"24-bit top-down", Converted(*photo, 24, raster::RowOrder::TopDown)},
      {"32-bit bottom-up", Converted(*photo, 32, raster::RowOrder::BottomUp)},
      {"32-bit, red and blue masks swapped (copied)",
       Converted(*photo, 32, raster::RowOrder::TopDown, raster::ChannelMasks{0x0000FF, 0x00FF00, 0xFF0000})},
  };
  for (const Case& c : cases) EXPECT_EQ(Capture(c.bitmap, 37, 21), reference) << c.name;
  for (Sampling s : {k420, kGrey})
    EXPECT_EQ(Capture(Converted(*photo, 24, raster::RowOrder::BottomUp), 37, 21, 0, 0, s),
              Capture(photo, 37, 21, 0, 0, s));
}

// A rectangle equals the picture cropped to it, black where it reaches outside.
TEST(JpegCapture, RectangleEqualsTheCroppedPicture) {
  const auto photo = MakePhoto(40, 30, 9);
  struct Case { int32_t left, top, w, h; };
  for (const Case c : {Case{13, 7, 19, 11}, {30, 20, 16, 16}, {-3, -2, 16, 16}}) {
    auto cropped = raster::Bitmap::Create(c.w, c.h, 32);  // all black
    raster::BitBlt(*cropped, 0, 0, c.w, c.h, *photo, c.left, c.top, raster::SRCCOPY);
    EXPECT_EQ(Capture(photo, c.w, c.h, c.left, c.top), Capture(cropped, c.w, c.h)) << c.left << "," << c.top;
  }
}

TEST(JpegCapture, NothingToCaptureReturnsOneAndKeepsThePreviousCapture) {
  const auto photo = MakePhoto(16, 16, 11);
  Surface surface(photo);
  cJpeg jpeg;
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), 16, 16), 0);
  const Bytes before = jpeg.SaveToMemory();
  struct Case { int32_t w, h; };
  for (Case c : {Case{0, 5}, {5, 0}, {-1, 5}, {5, -7}, {0, 0}}) EXPECT_EQ(jpeg.SampleHDC(surface.hdc(), c.w, c.h), 1);
  EXPECT_EQ(jpeg.SampleHDC(nullptr, 16, 16), 1);
  auto empty = raster::CreateCompatibleDC();  // a context with no bitmap selected
  EXPECT_EQ(jpeg.SampleHDC(empty.get(), 16, 16), 1);
  EXPECT_EQ(jpeg.SaveToMemory(), before);
}

TEST(JpegCapture, SideAboveWhatSof0HoldsIsRefusedBeforeAnythingIsAllocated) {
  const auto small = raster::Bitmap::Create(4, 4, 32);
  Surface surface(small);
  cJpeg jpeg;
  for (auto [w, h] : {std::pair{65536, 1}, std::pair{1, 65536}, std::pair{INT32_MAX, INT32_MAX}}) {
    try {
      jpeg.SampleHDC(surface.hdc(), w, h);
      FAIL() << w << "x" << h;
    } catch (const LumoraError& e) {
      EXPECT_NE(e.description().find("65535"), std::string::npos);
    }
  }
  EXPECT_FALSE(jpeg.Capture().has_value());
}

TEST(JpegCapture, WidestPictureSof0HoldsIsWrittenExactly) {
  const auto line = MakePhoto(65535, 2, 12);
  Surface surface(line);
  cJpeg jpeg;
  jpeg.Quality(100);
  jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), 65535, 2), 0);
  const Bytes b = jpeg.SaveToMemory();
  const size_t sof = Markers(b)[5].at;
  EXPECT_EQ(Bytes(b.begin() + static_cast<ptrdiff_t>(sof) + 5, b.begin() + static_cast<ptrdiff_t>(sof) + 9),
            (Bytes{0, 2, 0xFF, 0xFF}));
  // libjpeg-turbo reads at most 65500 pixels a side: the round trip is checked there.
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), 65500, 2), 0);
  const Decoded d = DecodeLibjpeg(jpeg.SaveToMemory());
  ASSERT_TRUE(d.error.empty()) << d.error;
  EXPECT_EQ(d.width, 65500);
  EXPECT_GE(Psnr(*line, d), 45.0);
}

TEST(JpegCapture, QualityChangedAfterCaptureDoesNotMismatchTheSavedTables) {
  const auto photo = MakePhoto(48, 32, 13);
  Surface surface(photo);
  cJpeg jpeg;
  jpeg.Quality(100);
  jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), 48, 32), 0);
  const Bytes atCapture = jpeg.SaveToMemory();
  jpeg.Quality(10);
  jpeg.SetSamplingFrequencies(2, 2, 1, 1, 1, 1);  // takes effect at the next capture
  EXPECT_EQ(jpeg.SaveToMemory(), atCapture);
  EXPECT_GE(Psnr(*photo, DecodeLibjpeg(atCapture)), 50.0);
}

}  // namespace
}  // namespace lumora
