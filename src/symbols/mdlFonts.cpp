#include "symbols/mdlFonts.h"

#include <QComboBox>
#include <QFontDatabase>

namespace lumora::mdlFonts {

bool IsSymbolFont(const QString& fontName) {
  const QString name = fontName.toLower();
  return name == QLatin1String("webdings") || name == QLatin1String("wingdings") ||
         name == QLatin1String("wingdings 2") || name == QLatin1String("wingdings 3");
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
