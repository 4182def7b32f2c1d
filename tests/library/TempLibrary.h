// A template library made by a test in a temporary folder: types, categories and picture files
// of chosen sizes, plus the hostile files a real library can hold; and any file's bytes.
#pragma once

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace lumora::test {

class TempLibrary {
 public:
  TempLibrary() : m_root(m_dir.path() + QStringLiteral("/templates")) { QDir().mkpath(m_root); }
  const QString& root() const { return m_root; }

  QString folder(const QString& type, const QString& category = {}) const {
    const QString path = m_root + u'/' + type + (category.isEmpty() ? QString() : u'/' + category);
    QDir().mkpath(path);
    return path;
  }
  // A picture whose colour shows where it came from (a gradient, so scaling is visible).
  QString addPicture(const QString& type, const QString& category, const QString& name, QSize size,
                     const char* format = "PNG") const {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x)
        image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), 90));
    const QString path = folder(type, category) + u'/' + name;
    image.save(path, format);
    return path;
  }
  QString addFile(const QString& type, const QString& category, const QString& name, const QByteArray& bytes) const {
    QFile file(folder(type, category) + u'/' + name);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return file.fileName();
  }

 private:
  QTemporaryDir m_dir;
  QString m_root;
};

inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray BigEndian32(uint32_t v) {
  const char bytes[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  return QByteArray(bytes, 4);
}

// A PNG whose header claims width x height pixels (a valid IHDR with its checksum) over a tiny
// body: a decompression bomb as far as any reader that trusts the header is concerned.
inline QByteArray PngClaiming(uint32_t width, uint32_t height) {
  const auto chunk = [](const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type) + data;
    uint32_t crc = 0xFFFFFFFFu;
    for (char c : typed) {
      crc ^= static_cast<uint8_t>(c);
      for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return BigEndian32(static_cast<uint32_t>(data.size())) + typed + BigEndian32(crc ^ 0xFFFFFFFFu);
  };
  // 8-bit RGB, deflate, no interlace; the zlib stream holds a few zero bytes only.
  const QByteArray ihdr = BigEndian32(width) + BigEndian32(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) +
         chunk("IDAT", QByteArray::fromHex("789c636000000000010001")) + chunk("IEND", {});
}

// A real JPEG with its frame header patched to claim width x height.
inline QByteArray JpegClaiming(uint16_t width, uint16_t height) {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(Qt::gray);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG");
  // FFC0, length (2), precision (1), height (2), width (2).
  const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
  if (sof >= 0) bytes.replace(sof + 5, 4, BigEndian32(uint32_t(height) << 16 | width));
  return bytes;
}

}  // namespace lumora::test
