// The bytes of the stream: segment order, frame and scan headers for every way the components
// pack into scans, the fixed headers, comments and SaveFile.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "../support/RaisedError.h"
#include "JpegTestSupport.h"
#include "imaging/JpegStream.h"

namespace lumora {
namespace {

using namespace jpegtest;
using Bytes = std::vector<uint8_t>;

Bytes Slice(const Bytes& b, size_t at, size_t n) {
  return Bytes(b.begin() + static_cast<ptrdiff_t>(at), b.begin() + static_cast<ptrdiff_t>(at + n));
}

struct LayoutCase {
  const char* name;
  int32_t width, height;
  Sampling sampling;
  Bytes components;          // SOF0: id, H << 4 | V, table, per component
  std::vector<Bytes> scans;  // SOS: count, then id and DC << 4 | AC per component
};

// Components share a scan while their blocks per MCU add up to at most 10.
TEST(JpegLayout, FrameAndScanHeadersForEveryPacking) {
  const std::vector<LayoutCase> cases = {
      {"one pixel 4:4:4", 1, 1, k444, {1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1}, {{3, 1, 0x00, 2, 0x11, 3, 0x11}}},
      {"greyscale", 40, 24, kGrey, {1, 0x11, 0}, {{1, 1, 0x00}}},
      {"4:2:0 odd size", 17, 9, k420, {1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}, {{3, 1, 0x00, 2, 0x11, 3, 0x11}}},
      {"8 + 1 + 1 blocks: exactly ten, one scan", 37, 21, {4, 2, 1, 1, 1, 1}, {1, 0x42, 0, 2, 0x11, 1, 3, 0x11, 1},
       {{3, 1, 0x00, 2, 0x11, 3, 0x11}}},
      {"8 + 2 blocks, then Cr alone", 37, 21, {4, 2, 2, 1, 1, 1}, {1, 0x42, 0, 2, 0x21, 1, 3, 0x11, 1},
       {{2, 1, 0x00, 2, 0x11}, {1, 3, 0x11}}},
      {"12 luminance blocks alone", 37, 21, {4, 3, 1, 1, 1, 1}, {1, 0x43, 0, 2, 0x11, 1, 3, 0x11, 1},
       {{1, 1, 0x00}, {2, 2, 0x11, 3, 0x11}}},
      {"chrominance denser than luminance", 37, 21, {1, 1, 2, 2, 1, 1}, {1, 0x11, 0, 2, 0x22, 1, 3, 0x11, 1},
       {{3, 1, 0x00, 2, 0x11, 3, 0x11}}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes b = Encode(*MakePhoto(c.width, c.height, 4), 100, c.sampling);
    const std::vector<Marker> m = Markers(b);
    const size_t tables = c.sampling.h2 == 0 ? 1 : 2, n = c.components.size() / 3;
    Bytes codes = {0xD8, 0xE0, 0xFE};
    codes.insert(codes.end(), tables, 0xDB);
    codes.push_back(0xC0);
    codes.insert(codes.end(), 2 * tables, 0xC4);
    codes.insert(codes.end(), c.scans.size(), 0xDA);
    codes.push_back(0xD9);
    std::vector<uint8_t> got;
    for (const Marker& marker : m) got.push_back(marker.code);
    ASSERT_EQ(got, codes);
    Bytes sof = {0, static_cast<uint8_t>(8 + 3 * n), 8, 0, static_cast<uint8_t>(c.height), 0,
                 static_cast<uint8_t>(c.width), static_cast<uint8_t>(n)};
    sof.insert(sof.end(), c.components.begin(), c.components.end());
    EXPECT_EQ(Slice(b, m[3 + tables].at + 2, sof.size()), sof);
    for (size_t s = 0; s < c.scans.size(); ++s) {
      const size_t at = m[4 + 3 * tables + s].at;
      Bytes sos = c.scans[s];
      sos.insert(sos.end(), {0, 0x3F, 0});  // the whole spectrum, no successive approximation
      EXPECT_EQ(Be16(b, at + 2), 2 + sos.size()) << "scan " << s;
      EXPECT_EQ(Slice(b, at + 4, sos.size()), sos) << "scan " << s;
    }
    EXPECT_EQ(m.back().at, b.size() - 2);
    const Decoded d = DecodeLibjpeg(b);
    ASSERT_TRUE(d.error.empty()) << d.error;
    EXPECT_EQ(std::make_tuple(d.width, d.height, d.components), std::make_tuple(c.width, c.height, tables == 1 ? 1 : 3));
  }
}

TEST(JpegLayout, FixedHeadersOfAOnePixelStream) {
  auto pixel = raster::Bitmap::Create(1, 1, 32);
  pixel->setPixelValue(0, 0, pixel->valueForRGB(0x3366CC));
  const Bytes b = Encode(*pixel, 100, k444);
  const std::vector<Marker> m = Markers(b);
  EXPECT_EQ(Slice(b, m[1].at, 18), (Bytes{0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}));
  const Bytes comment = Slice(b, m[2].at + 4, static_cast<size_t>(Be16(b, m[2].at + 2) - 2));
  EXPECT_EQ(std::string(comment.begin(), comment.end()), kJpegEncoderComment);
  for (size_t t = 0; t < 2; ++t) {
    EXPECT_EQ(Slice(b, m[3 + t].at + 2, 3), (Bytes{0, 67, static_cast<uint8_t>(t)}));
    EXPECT_EQ(Slice(b, m[3 + t].at + 5, 64), Bytes(64, 1)) << "quality 100: every quantiser is 1";
  }
  for (size_t i = 6; i < 10; ++i) {
    EXPECT_EQ(b[m[i].at + 4], (Bytes{0x00, 0x10, 0x01, 0x11})[i - 6]) << "DC 0, AC 0, DC 1, AC 1";
    int values = 0;
    for (size_t n = 0; n < 16; ++n) values += b[m[i].at + 5 + n];
    EXPECT_EQ(Be16(b, m[i].at + 2), 2 + 1 + 16 + values);
  }
  const Decoded d = DecodeLibjpeg(b);
  ASSERT_TRUE(d.error.empty()) << d.error;
  EXPECT_NEAR(d.pixels[0], 0xCC, 1);
  EXPECT_NEAR(d.pixels[1], 0x66, 1);
  EXPECT_NEAR(d.pixels[2], 0x33, 1);
}

TEST(JpegLayout, UserCommentComesFirstUpToItsLimit) {
  const auto photo = MakePhoto(8, 8);
  const Bytes b = Encode(*photo, 75, k444, "made for a test");
  const std::vector<Marker> m = Markers(b);
  ASSERT_EQ(m[2].code, 0xFE);
  ASSERT_EQ(m[3].code, 0xFE);
  EXPECT_EQ(Slice(b, m[2].at + 2, 17), (Bytes{0, 17, 'm', 'a', 'd', 'e', ' ', 'f', 'o', 'r', ' ', 'a', ' ', 't', 'e', 's', 't'}));
  EXPECT_EQ(b[m[3].at + 4], 'J');
  const Bytes longest = Encode(*photo, 75, k444, std::string(65533, 'c'));
  EXPECT_EQ(Be16(longest, Markers(longest)[2].at + 2), 65535);
  EXPECT_TRUE(DecodeLibjpeg(longest).error.empty());
}

Bytes ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// 0 when written, 1 for no name, 2 when anything has the name (left alone, even a read-only file
// or a dangling link); nothing captured or an unwritable folder raises, leaving no file.
TEST(JpegSaveFile, ResultsAndFailures) {
  const QTemporaryDir temp;
  const std::filesystem::path dir = temp.path().toStdString();
  cJpeg jpeg;
  EXPECT_THROW(jpeg.SaveFile(dir / "out.jpg"), LumoraError);
  EXPECT_THROW(jpeg.SaveToMemory(), LumoraError);
  const auto photo = MakePhoto(30, 20, 2);
  Surface surface(photo);
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), 30, 20), 0);
  EXPECT_EQ(jpeg.SaveFile(""), 1);
  EXPECT_EQ(jpeg.SaveFile(dir / "out.jpg"), 0);
  EXPECT_EQ(ReadFile(dir / "out.jpg"), jpeg.SaveToMemory());
  std::ofstream(dir / "keep.jpg") << "precious";
  std::filesystem::permissions(dir / "keep.jpg", std::filesystem::perms::owner_read);
  std::filesystem::create_symlink(dir / "nowhere", dir / "dangling.jpg");
  for (const char* name : {"keep.jpg", "out.jpg", "dangling.jpg"}) EXPECT_EQ(jpeg.SaveFile(dir / name), 2) << name;
  EXPECT_EQ(ReadFile(dir / "keep.jpg"), (Bytes{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
  EXPECT_EQ(test::RaisedBy([&] { jpeg.SaveFile(dir / "missing-folder" / "out.jpg"); }).number,
            ErrorNumber::kPathFileAccess);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing-folder"));
}

}  // namespace
}  // namespace lumora
