#include "RenamedTestFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QtEndian>

namespace lumora::test {
namespace {

void put16(QByteArray& out, uint16_t value) {
  out.append(static_cast<char>(value >> 8));
  out.append(static_cast<char>(value & 0xFF));
}

// A format 0 naming table with Windows Unicode English records for the family, style and full name.
QByteArray namingTable(const QString& family) {
  const std::pair<uint16_t, QString> names[] = {{1, family}, {2, QStringLiteral("Regular")}, {4, family}};
  QByteArray table, strings;
  for (uint16_t field : {0, 3, 6 + 12 * 3}) put16(table, field);
  for (const auto& [id, text] : names) {
    QByteArray utf16;
    for (QChar c : text) put16(utf16, c.unicode());
    for (qsizetype field : {qsizetype(3), qsizetype(1), qsizetype(0x409), qsizetype(id), utf16.size(), strings.size()})
      put16(table, static_cast<uint16_t>(field));
    strings += utf16;
  }
  return table + strings;
}

// The font with its naming table replaced by one that calls the family `family` (the new table
// goes at the end, the old one stays as unreferenced bytes; its checksum is not checked by
// FreeType); empty when it is no TrueType font.
QByteArray renamed(QByteArray font, const QString& family) {
  if (font.size() < 12) return {};
  const uint32_t version = qFromBigEndian<uint32_t>(font.constData());
  const int tables = qFromBigEndian<uint16_t>(font.constData() + 4);
  if ((version != 0x00010000 && version != 0x74727565) || font.size() < 12 + 16 * tables) return {};
  while (font.size() % 4) font.append('\0');
  for (int i = 0; i < tables; ++i) {
    const qsizetype record = 12 + 16 * i;
    if (font.mid(record, 4) != "name") continue;
    const QByteArray table = namingTable(family);
    qToBigEndian(static_cast<uint32_t>(font.size()), font.data() + record + 8);
    qToBigEndian(static_cast<uint32_t>(table.size()), font.data() + record + 12);
    return font + table;
  }
  return {};
}

}  // namespace

RenamedTestFont::RenamedTestFont(const QString& family, const QString& source) {
  QFile file(source.isEmpty() ? QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf") : source);
  const QByteArray font = file.open(QIODevice::ReadOnly) ? renamed(file.readAll(), family) : QByteArray();
  if (!font.isEmpty()) m_id = QFontDatabase::addApplicationFontFromData(font);
}

RenamedTestFont::~RenamedTestFont() {
  if (m_id >= 0) QFontDatabase::removeApplicationFont(m_id);
}

}  // namespace lumora::test
