// Reference decoders for checking exported files: libjpeg-turbo, giflib and Qt's readers.
#pragma once

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lumora::test {

struct DecodedJpeg {
  bool ok = false;
  int width = 0, height = 0, components = 0;
  bool progressive = false;
  std::vector<std::pair<int, int>> sampling;  // h, v per component
  std::vector<int> quantisers;                // every value of every table in use
  int comments = 0;
  QImage image;  // RGB32
};
DecodedJpeg DecodeJpeg(const std::filesystem::path& path);

struct DecodedGif {
  bool ok = false;
  std::string version;  // "GIF87a" or "GIF89a"
  int width = 0, height = 0, colours = 0;
  int transparentIndex = -1;  // from the graphic control extension
  bool interlaced = false;
  std::vector<uint8_t> indices;  // row by row
  QImage image;                  // RGB32 through the colour map
};
DecodedGif DecodeGif(const std::filesystem::path& path);

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);

// Largest channel difference over every pixel; INT_MAX when the sizes differ.
int MaxChannelDifference(const QImage& a, const QImage& b);
// Mean absolute channel difference.
double MeanChannelDifference(const QImage& a, const QImage& b);

}  // namespace lumora::test
