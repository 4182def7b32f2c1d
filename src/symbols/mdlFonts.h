// Which fonts count as symbol fonts, and filling a list with the installed ones.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

namespace lumora::mdlFonts {

// True for the four classic names ("webdings", "wingdings", "wingdings 2", "wingdings 3") and for
// the dingbat and symbol families Linux systems ship ("D050000L", "Standard Symbols PS",
// "OpenSymbol", "Noto Sans Symbols", "Noto Sans Symbols 2"), in any capitalisation; for nothing
// else.
bool IsSymbolFont(const QString& fontName);

// The classic four only: their characters are the single-byte codes 32 to 255, where the other
// symbol fonts put their signs at their own Unicode code points.
bool IsSingleByteSymbolFont(const QString& fontName);

// The first `count` characters the family draws itself (no fallback face), one string each, in
// code point order from U+0021 on; controls, blanks and combining marks are left out, and a glyph
// reachable under several code points is listed once, under its Unicode one rather than a
// single-byte symbol code. Worked out once per family.
QStringList CoveredCharacters(const QString& family, int count);

// The installed families once each under their plain names, in the font database's order: Qt
// marks a family that several foundries ship as "C059 [urw]", a name no project file should hold.
QStringList InstalledFamilies();

// The installed symbol fonts in the order the font database reports its families.
QStringList InstalledSymbolFonts();

// Clears the list, adds the installed symbol fonts and selects the first, if any (which fires the
// list's selection handler).
void LoadSymbolFonts(QComboBox& list);

}  // namespace lumora::mdlFonts
