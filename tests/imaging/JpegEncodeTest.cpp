// cJpeg read back by real decoders (libjpeg-turbo strict, and Qt) and against libjpeg-turbo's own
// encoder; golden hashes; stripes; the colour rows' vector path; the settings and every error with
// its number and message; the stream's bytes segment by segment, and SaveFile.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "../compose/Decoders.h"
#include "../support/RaisedError.h"
#include "imaging/JpegColour.h"
#include "imaging/JpegHuffman.h"
#include "imaging/JpegQuantiser.h"
#include "imaging/JpegStream.h"
#include "imaging/cJpeg.h"
#include "imaging/raster/Blit.h"

namespace lumora {
namespace {

using namespace jpegtest;
using Bytes = std::vector<uint8_t>;

TEST(JpegEncode, PhotoAtQuality100IsAsGoodAsLibjpegTurbosAndNoLarger) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    const auto photo = MakePhoto(243 + 16 * seed, 131 + 8 * seed, seed);  // wider than a byte says
    const Bytes ours = Encode(*photo, 100, k444), peer = EncodeLibjpeg(*photo, JDCT_FLOAT, 1);
    const Decoded d = DecodeLibjpeg(ours);
    ASSERT_TRUE(d.error.empty()) << d.error;
    ASSERT_EQ(std::make_tuple(d.width, d.height, d.components), std::make_tuple(photo->width(), photo->height(), 3));
    EXPECT_GE(Psnr(*photo, d), 50.0) << "seed " << seed;
    EXPECT_GE(Psnr(*photo, d), Psnr(*photo, DecodeLibjpeg(peer)) - 0.2) << "seed " << seed;
    EXPECT_LT(static_cast<double>(ours.size()), 1.01 * static_cast<double>(peer.size())) << "seed " << seed;
    // Chroma at half resolution costs about what it costs libjpeg-turbo, which places it by its own averaging.
    const double halved = Psnr(*photo, DecodeLibjpeg(EncodeLibjpeg(*photo, JDCT_FLOAT, 2)));
    EXPECT_GE(Psnr(*photo, DecodeLibjpeg(Encode(*photo, 100, k420))), halved - 3.0) << "libjpeg-turbo: " << halved;
  }
}

// Both decoders read every size, sampling and quality; the scans code exactly the planned bits.
TEST(JpegEncode, EverySizeAndSamplingDecodes) {
  const std::vector<Sampling> samplings = {k444, k420, kGrey, {2, 1, 1, 1, 1, 1}, {1, 2, 1, 1, 1, 1}, {4, 3, 1, 1, 1, 1},
                                           {1, 1, 2, 2, 1, 1}, {4, 2, 2, 1, 1, 1}};
  for (const auto& [w, h] : {std::pair{1, 1}, {7, 5}, {16, 16}, {17, 9}, {33, 65}, {100, 3}, {129, 67}})
    for (const Sampling& s : samplings)
      for (int32_t quality : w == 129 ? std::vector<int32_t>{100, 30, 1} : std::vector<int32_t>{100}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " " << s.h1 << s.v1 << s.h2 << s.v2 << s.h3 << s.v3 << " q"
                                        << quality);
        const auto photo = MakePhoto(w, h, static_cast<uint32_t>(w * 31 + h));
        Surface surface(photo);
        cJpeg jpeg;
        jpeg.Quality(quality);
        jpeg.SetSamplingFrequencies(s.h1, s.v1, s.h2, s.v2, s.h3, s.v3);
        ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), w, h), 0);
        uint64_t coded = 0;
        const Bytes b = WriteJpegStream(*jpeg.Capture(), "", &coded);
        EXPECT_EQ(coded, PlanJpegEntropy(*jpeg.Capture()).codedBits);
        const Decoded d = DecodeLibjpeg(b);
        ASSERT_TRUE(d.error.empty()) << d.error;
        EXPECT_EQ(std::make_tuple(d.width, d.height, d.components), std::make_tuple(w, h, s.h2 == 0 ? 1 : 3));
        if (quality == 100 && s.h1 * s.v1 * s.h2 * s.v2 * s.h3 * s.v3 == 1) {
          EXPECT_GE(Psnr(*photo, d), 45.0);
        }
        EXPECT_EQ(QImage::fromData(b.data(), static_cast<int>(b.size()), "JPEG").size(), QSize(w, h));
      }
}

// Any change to these bytes is a change to every exported picture: look at why before updating.
// The vector and the scalar paths (LUMORA_JPEG_SCALAR=1) must both give them.
TEST(JpegEncode, GoldenHashesOfAFixedPicture) {
  const auto photo = MakePhoto(61, 45, 21);
  struct Case { int32_t quality; Sampling sampling; uint64_t hash; };
  for (const Case& c : {Case{100, k444, 0x4b68e29550b80276}, Case{75, k420, 0xd02fde1515dcf946},
                        Case{50, kGrey, 0xed38661bf51ac6a0}, Case{90, {4, 3, 1, 1, 1, 1}, 0x705fd786cd76547c}}) {
    const Bytes b = Encode(*photo, c.quality, c.sampling, "golden");
    EXPECT_EQ(Fnv1a(b), c.hash) << "q" << c.quality << ": 0x" << std::hex << Fnv1a(b);
  }
}

// Stripes of rows coded side by side join into the one-stripe stream, byte for byte; so do blocks
// transformed again for each pass instead of kept (for the samplings that allow it).
TEST(JpegStripes, EveryNumberOfStripesGivesTheOneStripeStream) {
  for (const auto& [width, height] : {std::pair{1, 1}, {37, 29}, {301, 203}, {40, 700}})
    for (const Sampling s : {k444, k420, kGrey}) {  // 4:2:0 pads MCUs past the stored blocks
      Surface surface(MakePhoto(width, height, 7));
      cJpeg jpeg;
      jpeg.Quality(100);
      jpeg.SetSamplingFrequencies(s.h1, s.v1, s.h2, s.v2, s.h3, s.v3);
      const auto stream = [&](int stripes, JpegBlocks blocks = JpegBlocks::Kept) {
        const auto capture = CaptureJpeg(surface.hdc(), {0, 0, width, height}, jpeg.Sampling(),
                                         {jpeg.QuantTable(0), jpeg.QuantTable(1)}, jpeg.ZigzagMap(), stripes, blocks);
        EXPECT_EQ(capture->source.has_value(), blocks == JpegBlocks::Recomputed && s.h1 == 1);
        return WriteJpegStream(*capture, "", nullptr, stripes);
      };
      const Bytes one = stream(1);
      EXPECT_TRUE(stream(2) == one && stream(3) == one) << width << "x" << height << ", luminance " << s.h1;
      EXPECT_TRUE(stream(1, JpegBlocks::Recomputed) == one && stream(2, JpegBlocks::Recomputed) == one)
          << width << "x" << height << " recomputed, luminance " << s.h1;
    }
}

// The vector colour rows bit for bit against their scalar path at every width (the block stages
// are held to theirs by the golden hashes, which both paths must give).
TEST(JpegColour, FastRowsEqualTheReferenceForEveryWidthAndLayout) {
  std::mt19937 rng(3);
  Bytes pixels(4 * 300 + 8);
  for (auto& p : pixels) p = static_cast<uint8_t>(rng());
  for (int bpp : {3, 4})
    for (int32_t count : {1, 7, 8, 9, 16, 17, 33, 300}) {
      std::array<std::vector<float>, 3> fast, ref;
      for (auto& plane : fast) plane.assign(static_cast<size_t>(count), -1.0f);
      for (auto& plane : ref) plane.assign(static_cast<size_t>(count), -2.0f);
      std::array<float*, 3> fastRows = {fast[0].data(), fast[1].data(), fast[2].data()},
                            refRows = {ref[0].data(), ref[1].data(), ref[2].data()};
      // A row that ends exactly at the end of its memory must not be overread.
      const Bytes row(pixels.begin(), pixels.begin() + count * bpp);
      JpegConvertRow(row.data(), bpp, count, kJpegColourWeights, fastRows);
      JpegConvertRowReference(row.data(), bpp, count, kJpegColourWeights, refRows);
      EXPECT_EQ(fast, ref) << bpp << " " << count;
    }
}

// Nothing to capture returns 1 and keeps the previous capture, whose tables stay those it was
// quantised with; a side above what SOF0 holds raises before anything is allocated.
TEST(JpegCapture, RefusalsAndTheKeptCapture) {
  const auto photo = MakePhoto(48, 32, 13);
  Surface surface(photo);
  cJpeg jpeg;
  jpeg.Quality(100);
  jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
  for (auto [w, h] : {std::pair{65536, 1}, {1, 65536}, {INT32_MAX, INT32_MAX}})
    EXPECT_NE(test::RaisedBy([&] { jpeg.SampleHDC(surface.hdc(), w, h); }).description.find("65535"), std::string::npos)
        << w << "x" << h;
  EXPECT_FALSE(jpeg.Capture().has_value());
  ASSERT_EQ(jpeg.SampleHDC(surface.hdc(), 48, 32), 0);
  const Bytes before = jpeg.SaveToMemory();
  auto empty = raster::CreateCompatibleDC();  // no bitmap selected
  for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-1, 5}, {5, -7}}) EXPECT_EQ(jpeg.SampleHDC(surface.hdc(), w, h), 1);
  EXPECT_EQ(jpeg.SampleHDC(nullptr, 16, 16), 1);
  EXPECT_EQ(jpeg.SampleHDC(empty.get(), 16, 16), 1);
  jpeg.Quality(10);
  jpeg.SetSamplingFrequencies(2, 2, 1, 1, 1, 1);  // takes effect at the next capture
  EXPECT_EQ(jpeg.SaveToMemory(), before);
  EXPECT_GE(Psnr(*photo, DecodeLibjpeg(before)), 50.0);
}

struct ErrorCase { const char* name; std::function<void(cJpeg&)> act; int32_t number; const char* message; };  // message "": not checked

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
      {"H1 5", sampling(5, 1, 1, 1, 1, 1), 1, "Invalid Sampling Value"}, {"V1 0", sampling(1, 0, 1, 1, 1, 1), 1, "Invalid Sampling Value"},
      {"H2 0 alone", sampling(1, 1, 0, 1, 0, 0), 1, "Invalid Sampling Value"}, {"V3 5", sampling(1, 1, 1, 1, 1, 5), 1, "Invalid Sampling Value"},
      {"H2 -1", sampling(1, 1, -1, 1, 1, 1), 1, "Invalid Sampling Value"}, {"H3 0 alone", sampling(2, 2, 1, 1, 0, 1), 1, "Invalid Sampling Value"},
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
    const test::Raised raised = test::RaisedBy([&] { c.act(jpeg); });
    EXPECT_EQ(raised.number, c.number);
    EXPECT_EQ(*c.message ? raised.description : "", c.message);
    ASSERT_EQ(jpeg.Sampling().size(), 3u);
    for (const JpegSampling& s : jpeg.Sampling()) EXPECT_EQ(std::pair(s.H, s.V), std::pair(1, 1));
    EXPECT_EQ(jpeg.Comment(), "kept");
  }
}

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
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(d.pixels[c], (0x3366CC >> (8 * c)) & 0xFF, 1) << c;
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
  EXPECT_EQ(std::pair(jpeg.SaveFile(""), jpeg.SaveFile(dir / "out.jpg")), std::pair(1, 0));
  EXPECT_EQ(test::ReadBytes(dir / "out.jpg"), jpeg.SaveToMemory());
  std::ofstream(dir / "keep.jpg") << "precious";
  std::filesystem::permissions(dir / "keep.jpg", std::filesystem::perms::owner_read);
  std::filesystem::create_symlink(dir / "nowhere", dir / "dangling.jpg");
  for (const char* name : {"keep.jpg", "out.jpg", "dangling.jpg"}) EXPECT_EQ(jpeg.SaveFile(dir / name), 2) << name;
  EXPECT_EQ(test::ReadBytes(dir / "keep.jpg"), (Bytes{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
  EXPECT_EQ(test::RaisedBy([&] { jpeg.SaveFile(dir / "missing-folder" / "out.jpg"); }).number,
            ErrorNumber::kPathFileAccess);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing-folder"));
}

}  // namespace
}  // namespace lumora
