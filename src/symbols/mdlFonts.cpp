#include "symbols/mdlFonts.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHash>
#include <QRawFont>
#include <algorithm>
#include <map>
#include <vector>

namespace lumora::mdlFonts {

namespace {

// Symbol faces live in the first two planes; the planes above hold ideographs and private use.
constexpr char32_t kLastCodePoint = 0x1FFFF;

bool drawsAlone(char32_t code) {
  if (QChar::isNonCharacter(code)) return false;
  switch (QChar::category(code)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing: return false;
    default: return true;
  }
}

}  // namespace

bool IsSingleByteSymbolFont(const QString& fontName) {
  const QString name = fontName.toLower();
  return name == QLatin1String("webdings") || name == QLatin1String("wingdings") ||
         name == QLatin1String("wingdings 2") || name == QLatin1String("wingdings 3");
}

bool IsSymbolFont(const QString& fontName) {
  if (IsSingleByteSymbolFont(fontName)) return true;
  for (const char* name : {"D050000L", "Standard Symbols PS", "OpenSymbol", "Noto Sans Symbols", "Noto Sans Symbols 2"})
    if (fontName.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
  return false;
}

QStringList CoveredCharacters(const QString& family, int count) {
  static QHash<QString, QStringList> cache;
  auto found = cache.constFind(family.toLower());
  if (found == cache.cend()) {
    QFont font(family);
    font.setPixelSize(32);
    const QRawFont face = QRawFont::fromFont(font);
    // Type 1 faces answer both their built-in byte codes and the Unicode names of their glyphs:
    // the Unicode code point is the one that still means the sign in another face.
    std::map<quint32, char32_t> codeOfGlyph;
    for (char32_t code = 0x21; code <= kLastCodePoint; ++code) {
      if (!face.supportsCharacter(code) || !drawsAlone(code)) continue;
      const quint32 glyph = face.glyphIndexesForString(QString::fromUcs4(&code, 1)).value(0);
      auto [entry, added] = codeOfGlyph.try_emplace(glyph, code);
      if (!added && entry->second < 0x100 && code >= 0x100) entry->second = code;
    }
    std::vector<char32_t> codes;
    for (const auto& [glyph, code] : codeOfGlyph) codes.push_back(code);
    std::sort(codes.begin(), codes.end());
    QStringList characters;
    for (const char32_t code : codes) characters.append(QString::fromUcs4(&code, 1));
    found = cache.insert(family.toLower(), characters);
  }
  return found->mid(0, count);
}

QStringList InstalledFamilies() {
  QStringList families;
  for (QString family : QFontDatabase::families()) {
    if (family.endsWith(u']')) {
      if (const qsizetype foundry = family.lastIndexOf(QLatin1String(" ["), -1); foundry > 0) family.truncate(foundry);
    }
    if (!families.contains(family)) families.append(family);
  }
  return families;
}

QStringList InstalledSymbolFonts() {
  QStringList symbolFonts;
  for (const QString& family : InstalledFamilies())
    if (IsSymbolFont(family)) symbolFonts.append(family);
  return symbolFonts;
}

void LoadSymbolFonts(QComboBox& list) {
  list.clear();
  list.addItems(InstalledSymbolFonts());
  if (list.count() > 0) list.setCurrentIndex(0);
}

}  // namespace lumora::mdlFonts
