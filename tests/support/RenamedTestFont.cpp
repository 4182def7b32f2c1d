#include "RenamedTestFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>
#include <QtEndian>
#include <array>

namespace lumora::test {
namespace {

uint32_t read32(const QByteArray& data, qsizetype at) { return qFromBigEndian<uint32_t>(data.constData() + at); }
uint16_t read16(const QByteArray& data, qsizetype at) { return qFromBigEndian<uint16_t>(data.constData() + at); }
void put16(QByteArray& out, uint16_t value) {
  out.append(static_cast<char>(value >> 8));
  out.append(static_cast<char>(value & 0xFF));
}
void write32(QByteArray& data, qsizetype at, uint32_t value) { qToBigEndian(value, data.data() + at); }

// OpenType table checksum: the sum of the table's big-endian 32-bit words, zero-padded.
uint32_t checksum(const QByteArray& table) {
  QByteArray padded = table;
  while (padded.size() % 4) padded.append('\0');
  uint32_t sum = 0;
  for (qsizetype i = 0; i < padded.size(); i += 4) sum += read32(padded, i);
  return sum;
}

// A format 0 naming table with Windows Unicode English records for family, style, unique, full
// and PostScript names.
QByteArray namingTable(const QString& family) {
  QString postScript = family;
  postScript.remove(QLatin1Char(' '));
  const std::array<std::pair<uint16_t, QString>, 5> names = {
      {{1, family}, {2, QStringLiteral("Regular")}, {3, family + QStringLiteral(" Lumora test")}, {4, family}, {6, postScript}}};
  QByteArray strings;
  QByteArray table;
  put16(table, 0);
  put16(table, static_cast<uint16_t>(names.size()));
  put16(table, static_cast<uint16_t>(6 + 12 * names.size()));
  for (const auto& [id, text] : names) {
    QByteArray utf16;
    for (QChar c : text) put16(utf16, c.unicode());
    for (uint16_t field : {uint16_t{3}, uint16_t{1}, uint16_t{0x409}, id, static_cast<uint16_t>(utf16.size()),
                           static_cast<uint16_t>(strings.size())})
      put16(table, field);
    strings += utf16;
  }
  return table + strings;
}

// The font with a new naming table that calls the family `family`; empty when it is no TrueType font.
QByteArray renamed(const QByteArray& font, const QString& family) {
  if (font.size() < 12) return {};
  const uint32_t version = read32(font, 0);
  if (version != 0x00010000 && version != 0x74727565) return {};  // TrueType outlines only
  const int tables = read16(font, 4);
  if (font.size() < 12 + 16 * tables) return {};
  QByteArray out = font;
  while (out.size() % 4) out.append('\0');
  for (int i = 0; i < tables; ++i) {
    const qsizetype record = 12 + 16 * i;
    if (font.mid(record, 4) != "name") continue;
    // The new table goes at the end; the old one stays as unreferenced bytes.
    const QByteArray table = namingTable(family);
    write32(out, record + 4, checksum(table));
    write32(out, record + 8, static_cast<uint32_t>(out.size()));
    write32(out, record + 12, static_cast<uint32_t>(table.size()));
    out += table;
    while (out.size() % 4) out.append('\0');
    return out;
  }
  return {};
}

QByteArray sourceFont(const QString& source) {
  QStringList candidates{source};
  if (source.isEmpty())
    candidates = {QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"),
                  QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf"),
                  QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")};
  for (const QString& path : candidates) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) return file.readAll();
  }
  return {};
}

}  // namespace

RenamedTestFont::RenamedTestFont(const QString& family, const QString& source) {
  const QByteArray font = renamed(sourceFont(source), family);
  if (!font.isEmpty()) m_id = QFontDatabase::addApplicationFontFromData(font);
}

RenamedTestFont::~RenamedTestFont() {
  if (m_id >= 0) QFontDatabase::removeApplicationFont(m_id);
}

}  // namespace lumora::test
