// The bytes of the stream: segment order and layouts, the interleaved scan of a subsampled
// picture with its padding blocks, greyscale streams and the file results of SaveFile.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "JpegTestSupport.h"
#include "base/LumoraError.h"
#include "imaging/JpegScan.h"
#include "imaging/JpegStream.h"

namespace lumora {
namespace {

using namespace jpegtest;
using Bytes = std::vector<uint8_t>;

Bytes Slice(const Bytes& b, size_t at, size_t n) { return Bytes(b.begin() + static_cast<ptrdiff_t>(at), b.begin() + static_cast<ptrdiff_t>(at + n)); }

std::vector<uint8_t> Codes(const std::vector<Marker>& markers) {
  std::vector<uint8_t> out;
  for (const Marker& m : markers) out.push_back(m.code);
  return out;
}

std::shared_ptr<raster::Bitmap> OnePixel(uint32_t rgb) {
  auto b = raster::Bitmap::Create(1, 1, 32);
  b->setPixelValue(0, 0, b->valueForRGB(rgb));
  return b;
}

TEST(JpegLayout, OnePixelColourStreamSegmentBySegment) {
  const Bytes b = Encode(*OnePixel(0x3366CC), 100, k444);
  const std::vector<Marker> m = Markers(b);
  ASSERT_EQ(Codes(m), (Bytes{0xD8, 0xE0, 0xFE, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9}));
  EXPECT_EQ(m[0].at, 0u);
  EXPECT_EQ(Slice(b, m[1].at, 18),
            (Bytes{0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}));
  // The fixed comment: three lines, the first one fixed.
  const std::string comment(b.begin() + static_cast<ptrdiff_t>(m[2].at + 4),
                            b.begin() + static_cast<ptrdiff_t>(m[2].at + 2 + Be16(b, m[2].at + 2)));
  EXPECT_EQ(comment, std::string(kJpegEncoderComment));
  EXPECT_EQ(comment.rfind("JPEG Encoder Class\r\n", 0), 0u);
  EXPECT_EQ(std::count(comment.begin(), comment.end(), '\n'), 2);
  for (size_t t = 0; t < 2; ++t) {
    const size_t at = m[3 + t].at;
    EXPECT_EQ(Be16(b, at + 2), 67);
    EXPECT_EQ(b[at + 4], t);  // 8-bit entries, table t
    EXPECT_EQ(Slice(b, at + 5, 64), Bytes(64, 1)) << "quality 100: every quantiser is 1";
  }
  EXPECT_EQ(Slice(b, m[5].at, 19),
            (Bytes{0xFF, 0xC0, 0, 17, 8, 0, 1, 0, 1, 3, 1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1}));
  const Bytes dhtClasses = {b[m[6].at + 4], b[m[7].at + 4], b[m[8].at + 4], b[m[9].at + 4]};
  EXPECT_EQ(dhtClasses, (Bytes{0x00, 0x10, 0x01, 0x11}));
  for (size_t i = 6; i < 10; ++i) {
    int values = 0;
    for (size_t n = 0; n < 16; ++n) values += b[m[i].at + 5 + n];
    EXPECT_EQ(Be16(b, m[i].at + 2), 2 + 1 + 16 + values);
  }
  EXPECT_EQ(Slice(b, m[10].at, 14), (Bytes{0xFF, 0xDA, 0, 12, 3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 0x3F, 0}));
  EXPECT_EQ(m[11].at, b.size() - 2);

  const Decoded d = DecodeLibjpeg(b);
  ASSERT_TRUE(d.error.empty()) << d.error;
  EXPECT_NEAR(d.pixels[0], 0xCC, 1);
  EXPECT_NEAR(d.pixels[1], 0x66, 1);
  EXPECT_NEAR(d.pixels[2], 0x33, 1);
}

TEST(JpegLayout, UserCommentComesBeforeTheFixedOne) {
  const Bytes b = Encode(*OnePixel(0), 75, k444, "made for a test");
  const std::vector<Marker> m = Markers(b);
  ASSERT_EQ(m[2].code, 0xFE);
  ASSERT_EQ(m[3].code, 0xFE);
  EXPECT_EQ(Be16(b, m[2].at + 2), 2 + 15);
  EXPECT_EQ(std::string(b.begin() + static_cast<ptrdiff_t>(m[2].at + 4), b.begin() + static_cast<ptrdiff_t>(m[2].at + 19)),
            "made for a test");
  EXPECT_EQ(b[m[3].at + 4], 'J');
  // The longest comment still fits its segment.
  const Bytes longest = Encode(*OnePixel(0), 75, k444, std::string(65533, 'c'));
  EXPECT_EQ(Be16(longest, Markers(longest)[2].at + 2), 65535);
  EXPECT_TRUE(DecodeLibjpeg(longest).error.empty());
}

TEST(JpegLayout, GreyscaleStreamHasOneTableSetAndOneComponent) {
  const auto photo = MakePhoto(40, 24, 4);
  const Bytes b = Encode(*photo, 100, kGrey);
  const std::vector<Marker> m = Markers(b);
  ASSERT_EQ(Codes(m), (Bytes{0xD8, 0xE0, 0xFE, 0xDB, 0xC0, 0xC4, 0xC4, 0xDA, 0xD9}));
  EXPECT_EQ(Slice(b, m[4].at, 13), (Bytes{0xFF, 0xC0, 0, 11, 8, 0, 24, 0, 40, 1, 1, 0x11, 0}));
  EXPECT_EQ(Slice(b, m[7].at, 10), (Bytes{0xFF, 0xDA, 0, 8, 1, 1, 0x00, 0, 0x3F, 0}));
  const Decoded d = DecodeLibjpeg(b);
  ASSERT_TRUE(d.error.empty()) << d.error;
  ASSERT_EQ(d.components, 1);
  double worst = 0;
  for (int y = 0; y < d.height; ++y) {
    for (int x = 0; x < d.width; ++x) {
      const uint32_t c = photo->pixelRGB(x, y);
      const double luma = 0.299 * (c & 0xFF) + 0.587 * (c >> 8 & 0xFF) + 0.114 * (c >> 16 & 0xFF);
      worst = std::max(worst, std::abs(luma - d.pixels[static_cast<size_t>(y * d.width + x)]));
    }
  }
  EXPECT_LT(worst, 2.0);
  EXPECT_EQ(DecodeQt(b).format() == QImage::Format_Grayscale8, true);
}

TEST(JpegLayout, SubsampledOddPictureCodesZeroBlocksPastTheLuminanceStore) {
  const auto photo = MakePhoto(17, 9, 6);
  Surface surface(photo);
  cJpeg jpeg;
  jpeg.Quality(100);  // the default sampling 2, 2, 1, 1, 1, 1
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), 17, 9), 0);
  const JpegCapture& c = *jpeg.Capture();
  ASSERT_EQ(c.components.size(), 3u);
  EXPECT_EQ(std::make_pair(c.components[0].pw, c.components[0].ph), std::make_pair(24, 16));
  for (size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(std::make_pair(c.components[i].cw, c.components[i].ch), std::make_pair(9, 5));
    EXPECT_EQ(std::make_pair(c.components[i].pw, c.components[i].ph), std::make_pair(16, 8));
  }
  const auto scans = PlanJpegScans(c.components);
  ASSERT_EQ(scans.size(), 1u);
  // The coding order: per MCU four luminance blocks, then Cb, then Cr.
  std::vector<std::pair<size_t, const int16_t*>> visits;
  VisitJpegScanBlocks(scans[0], c.frame, [&](size_t i, std::span<const int16_t, 64> b) { visits.emplace_back(i, b.data()); });
  ASSERT_EQ(visits.size(), 12u);
  const auto& y = c.components[0];
  const std::vector<const int16_t*> expected = {
      y.Block(0, 0).data(), y.Block(1, 0).data(), y.Block(0, 1).data(), y.Block(1, 1).data(),
      c.components[1].Block(0, 0).data(), c.components[2].Block(0, 0).data(),
      y.Block(2, 0).data(), nullptr, y.Block(2, 1).data(), nullptr,
      c.components[1].Block(1, 0).data(), c.components[2].Block(1, 0).data()};
  for (size_t n = 0; n < visits.size(); ++n) {
    if (expected[n]) {
      EXPECT_EQ(visits[n].second, expected[n]) << n;
    } else {
      EXPECT_TRUE(std::all_of(visits[n].second, visits[n].second + 64, [](int16_t v) { return v == 0; })) << n;
      EXPECT_FALSE(visits[n].second >= y.store.get() && visits[n].second < y.store.get() + y.StoreSize()) << n;
    }
  }
  const Bytes b = jpeg.SaveToMemory();
  const std::vector<Marker> m = Markers(b);
  EXPECT_EQ(Slice(b, m[5].at + 10, 9), (Bytes{1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));
  const Decoded d = DecodeLibjpeg(b);
  ASSERT_TRUE(d.error.empty()) << d.error;
  EXPECT_EQ(std::make_pair(d.width, d.height), std::make_pair(17, 9));
  // Chroma at half resolution costs about what it costs libjpeg-turbo (which places chroma by
  // its own averaging) on the same picture.
  const double peer = Psnr(*photo, DecodeLibjpeg(EncodeLibjpeg(*photo, JDCT_FLOAT, 2)));
  EXPECT_GE(Psnr(*photo, d), peer - 3.0) << "libjpeg-turbo: " << peer;
}

class JpegSaveFile : public testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("lumora-jpeg-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::filesystem::path m_dir;
};

Bytes ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST_F(JpegSaveFile, WritesTheSameStreamAsInMemoryAndRefusesEmptyOrExistingNames) {
  const auto photo = MakePhoto(30, 20, 2);
  Surface surface(photo);
  cJpeg jpeg;
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), 30, 20), 0);
  EXPECT_EQ(jpeg.SaveFile(""), 1);
  const auto target = m_dir / "out.jpg";
  EXPECT_EQ(jpeg.SaveFile(target), 0);
  EXPECT_EQ(ReadFile(target), jpeg.SaveToMemory());
  // Saving again under the same name leaves the file alone, even a read-only one.
  std::ofstream(m_dir / "keep.jpg") << "precious";
  std::filesystem::permissions(m_dir / "keep.jpg", std::filesystem::perms::owner_read);
  EXPECT_EQ(jpeg.SaveFile(m_dir / "keep.jpg"), 2);
  EXPECT_EQ(ReadFile(m_dir / "keep.jpg"), (Bytes{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
  EXPECT_EQ(jpeg.SaveFile(target), 2);
  std::filesystem::create_symlink(m_dir / "nowhere", m_dir / "dangling.jpg");
  EXPECT_EQ(jpeg.SaveFile(m_dir / "dangling.jpg"), 2);
  // The capture survives saving: a second name gets the same bytes.
  EXPECT_EQ(jpeg.SaveFile(m_dir / "second.jpg"), 0);
  EXPECT_EQ(ReadFile(m_dir / "second.jpg"), ReadFile(target));
}

TEST_F(JpegSaveFile, FailingSaveRaisesAndLeavesNoFile) {
  const auto photo = MakePhoto(8, 8, 2);
  Surface surface(photo);
  cJpeg jpeg;
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), 8, 8), 0);
  try {
    jpeg.SaveFile(m_dir / "missing-folder" / "out.jpg");
    FAIL() << "a folder that does not exist cannot take the file";
  } catch (const LumoraError& e) {
    EXPECT_EQ(e.number(), ErrorNumber::kPathFileAccess);
  }
  EXPECT_FALSE(std::filesystem::exists(m_dir / "missing-folder"));
  EXPECT_TRUE(std::filesystem::is_empty(m_dir));
}

TEST_F(JpegSaveFile, NothingCapturedIsAnErrorNotAnEmptyPicture) {
  cJpeg jpeg;
  EXPECT_THROW(jpeg.SaveFile(m_dir / "out.jpg"), LumoraError);
  EXPECT_THROW(jpeg.SaveToMemory(), LumoraError);
  EXPECT_TRUE(std::filesystem::is_empty(m_dir));
}

}  // namespace
}  // namespace lumora
