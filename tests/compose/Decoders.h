// Exported files read back by reference decoders: libjpeg-turbo (strict) and giflib through the
// imaging tests' readers, turned into pictures to compare with what was exported.
#pragma once

#include <QImage>
#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../imaging/GifTestSupport.h"
#include "../imaging/JpegTestSupport.h"

namespace lumora::test {

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// libjpeg-turbo's picture of the file; null when it is not a clean JPEG stream.
inline QImage DecodeJpeg(const std::filesystem::path& path) {
  const jpegtest::Decoded d = jpegtest::DecodeLibjpeg(ReadBytes(path));
  if (!d.error.empty() || d.components != 3) return {};
  QImage image(d.width, d.height, QImage::Format_RGB888);
  for (int y = 0; y < d.height; ++y) std::copy_n(d.pixels.data() + 3 * y * d.width, 3 * d.width, image.scanLine(y));
  return image.convertToFormat(QImage::Format_RGB32);
}

// What giflib reads, with the picture through its colour table (null when it fails).
struct DecodedGif {
  giftest::GiflibImage gif;
  std::string version;  // "GIF87a" or "GIF89a"
  QImage image;
};
inline DecodedGif DecodeGif(const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = ReadBytes(path);
  DecodedGif out{giftest::DecodeWithGiflib(bytes), std::string(bytes.begin(), bytes.begin() + std::min<size_t>(6, bytes.size())), {}};
  if (out.gif.error != 0) return out;
  out.image = QImage(out.gif.width, out.gif.height, QImage::Format_RGB32);
  for (int y = 0; y < out.gif.height; ++y)
    for (int x = 0; x < out.gif.width; ++x) {
      const auto& c = out.gif.colours.at(out.gif.pixels[static_cast<size_t>(y * out.gif.width + x)]);
      out.image.setPixel(x, y, qRgb(c[0], c[1], c[2]));
    }
  return out;
}

// The largest and the mean channel difference over every pixel (INT_MAX when the sizes differ).
inline double ChannelDifference(const QImage& a, const QImage& b, bool mean) {
  if (a.size() != b.size() || a.isNull()) return INT_MAX;
  double worst = 0, sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      for (int shift : {0, 8, 16}) {
        const int d = std::abs(static_cast<int>((a.pixel(x, y) >> shift) & 0xFF) - static_cast<int>((b.pixel(x, y) >> shift) & 0xFF));
        worst = std::max<double>(worst, d), sum += d;
      }
  return mean ? sum / (3.0 * a.width() * a.height()) : worst;
}
inline int MaxChannelDifference(const QImage& a, const QImage& b) { return static_cast<int>(ChannelDifference(a, b, false)); }
inline double MeanChannelDifference(const QImage& a, const QImage& b) { return ChannelDifference(a, b, true); }

}  // namespace lumora::test
