// A template library made by a test in a temporary folder: types, categories and picture files
// of chosen sizes, plus the hostile files a real library can hold.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>

namespace lumora::test {

class TempLibrary {
 public:
  TempLibrary() : m_root(m_dir.path() + QStringLiteral("/templates")) { QDir().mkpath(m_root); }

  const QString& root() const { return m_root; }

  QString folder(const QString& type, const QString& category = {}) const {
    const QString path = category.isEmpty() ? m_root + u'/' + type : m_root + u'/' + type + u'/' + category;
    QDir().mkpath(path);
    return path;
  }

  // A picture whose colour shows where it came from (a gradient, so scaling is visible).
  QString addPicture(const QString& type, const QString& category, const QString& name, QSize size,
                     const char* format = "PNG") const {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x) image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), 90));
    const QString path = folder(type, category) + u'/' + name;
    image.save(path, format);
    return path;
  }

  QString addFile(const QString& type, const QString& category, const QString& name, const QByteArray& bytes) const {
    const QString path = folder(type, category) + u'/' + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
  }

 private:
  QTemporaryDir m_dir;
  QString m_root;
};

// A PNG whose header claims width x height pixels (a valid IHDR with its checksum) over a tiny
// body: a decompression bomb as far as any reader that trusts the header is concerned.
inline QByteArray PngClaiming(uint32_t width, uint32_t height) {
  const auto crc32 = [](const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
      crc ^= static_cast<uint8_t>(c);
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
  };
  const auto be32 = [](uint32_t v) {
    QByteArray b(4, 0);
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
    return b;
  };
  const auto chunk = [&](const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type) + data;
    return be32(static_cast<uint32_t>(data.size())) + typed + be32(crc32(typed));
  };
  // IHDR: width, height, bit depth 8, colour type 2 (RGB), deflate, filter 0, no interlace.
  const QByteArray ihdr = be32(width) + be32(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
  // A zlib stream of a few zero bytes: far too short for the picture it claims.
  const QByteArray idat = QByteArray::fromHex("789c636000000000010001");
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", idat) + chunk("IEND", {});
}

// A real JPEG with its frame header patched to claim width x height.
inline QByteArray JpegClaiming(uint16_t width, uint16_t height) {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(Qt::gray);
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
  }
  const int sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
  if (sof >= 0) {
    // FFC0, length (2), precision (1), height (2), width (2).
    bytes[sof + 5] = static_cast<char>(height >> 8);
    bytes[sof + 6] = static_cast<char>(height & 0xFF);
    bytes[sof + 7] = static_cast<char>(width >> 8);
    bytes[sof + 8] = static_cast<char>(width & 0xFF);
  }
  return bytes;
}

}  // namespace lumora::test
