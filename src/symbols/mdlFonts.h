// Which fonts count as symbol fonts, and filling a list with the installed ones.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

namespace lumora::mdlFonts {

// True for "webdings", "wingdings", "wingdings 2" and "wingdings 3" in any capitalisation, and
// for nothing else.
bool IsSymbolFont(const QString& fontName);

// The installed families once each under their plain names, in the font database's order: Qt
// marks a family that several foundries ship as "C059 [urw]", a name no project file should hold.
QStringList InstalledFamilies();

// The installed symbol fonts in the order the font database reports its families.
QStringList InstalledSymbolFonts();

// Clears the list, adds the installed symbol fonts and selects the first, if any (which fires the
// list's selection handler).
void LoadSymbolFonts(QComboBox& list);

}  // namespace lumora::mdlFonts
