// Hand-made picture files whose headers lie: they ask for huge or impossible sizes while the
// file itself is tiny. Loaders must refuse them without allocating what they ask for.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace lumora::test {

// Big-endian 32-bit number, for hand-made headers.
inline QByteArray Be32(uint32_t v) {
  QByteArray b(4, 0);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(v >> (24 - 8 * i));
  return b;
}

inline uint32_t Crc32(const QByteArray& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (char ch : bytes) {
    crc ^= static_cast<uint8_t>(ch);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// A PNG whose header asks for width x height pixels and whose data is a few bytes.
inline QByteArray PngClaiming(uint32_t width, uint32_t height) {
  QByteArray ihdr = "IHDR" + Be32(width) + Be32(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
  QByteArray png("\x89PNG\r\n\x1a\n", 8);
  png += Be32(13) + ihdr + Be32(Crc32(ihdr));
  const QByteArray idat = QByteArray("IDAT") + QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
  png += Be32(8) + idat + Be32(Crc32(idat));
  const QByteArray iend("IEND");
  png += Be32(0) + iend + Be32(Crc32(iend));
  return png;
}

// A bitmap header asking for a picture far larger than the file.
inline QByteArray BmpClaiming(int32_t width, int32_t height) {
  QByteArray b(54, 0);
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
  };
  b[0] = 'B', b[1] = 'M';
  put32(2, 54), put32(10, 54), put32(14, 40), put32(18, static_cast<uint32_t>(width)),
      put32(22, static_cast<uint32_t>(height));
  b[26] = 1, b[28] = 24;
  return b;
}

}  // namespace lumora::test
