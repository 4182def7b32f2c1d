// Test surfaces: 32-bit and 8-bit cDIBs filled from plain arrays, their pixels read back, and
// random colours and indices to fill them with.
#pragma once

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "imaging/cDIB.h"

namespace lumora::testsurface {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A top-down 32-bit surface; pixels row by row.
inline void Fill32(cDIB& dib, int32_t width, int32_t height, const std::vector<Rgb>& pixels) {
  dib.Create(width, height, 32);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = dib.lpBits() + static_cast<size_t>(y) * dib.BytesPerScanLine() + 4 * static_cast<size_t>(x);
      const Rgb& c = pixels[static_cast<size_t>(y) * width + x];
      p[0] = c.b, p[1] = c.g, p[2] = c.r, p[3] = 0;
    }
}

// A top-down 8-bit surface holding the indices.
inline void Fill8(cDIB& dib, int32_t width, int32_t height, const std::vector<uint8_t>& indices) {
  dib.Create(width, height, 8);
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(dib.lpBits() + static_cast<size_t>(y) * dib.BytesPerScanLine(), indices.data() + static_cast<size_t>(y) * width,
                static_cast<size_t>(width));
}

inline std::vector<uint8_t> Indices(const cDIB& dib) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < dib.Height(); ++y) {
    const uint8_t* row = dib.lpBits() + static_cast<size_t>(y) * dib.BytesPerScanLine();
    out.insert(out.end(), row, row + dib.Width());
  }
  return out;
}

inline std::vector<Rgb> RandomColours(size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<Rgb> v(count);
  for (auto& c : v) c = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random())};
  return v;
}

inline std::vector<uint8_t> RandomIndices(size_t count, int colours, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> v(count);
  for (auto& i : v) i = static_cast<uint8_t>(random() % static_cast<uint32_t>(colours));
  return v;
}

// Smooth colour fields with a little grain: the kind of picture the export reduces.
inline std::vector<Rgb> PhotoLike(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> grain(-6, 6);
  std::vector<Rgb> v(static_cast<size_t>(width) * height);
  auto clamp = [](int c) { return static_cast<uint8_t>(c < 0 ? 0 : c > 255 ? 255 : c); };
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const int r = 40 + 180 * x / width + ((x / 37 + y / 23) % 3) * 10;
      const int g = 200 - 150 * y / height + ((x * y) % 97) / 8;
      const int b = 90 + 100 * ((x + 2 * y) % 256) / 256;
      v[static_cast<size_t>(y) * width + x] = {clamp(r + grain(random)), clamp(g + grain(random)), clamp(b + grain(random))};
    }
  return v;
}

}  // namespace lumora::testsurface
