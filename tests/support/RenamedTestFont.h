// Debian ships none of the four symbol fonts, so the tests make one: a font from the system's
// own TrueType files with its naming table rewritten to a symbol font's family name, registered
// with the application for as long as the object lives.
#pragma once

#include <QByteArray>
#include <QString>

namespace lumora::test {

// The font file's bytes with a new naming table that calls the family `family`; empty when the
// data is no TrueType font.
QByteArray RenameTrueTypeFamily(const QByteArray& font, const QString& family);

// The path of an installed TrueType font to rename, or empty.
QString SourceFontPath();

class SymbolTestFont {
 public:
  explicit SymbolTestFont(const QString& family = QStringLiteral("Wingdings"), const QString& source = SourceFontPath());
  ~SymbolTestFont();
  SymbolTestFont(const SymbolTestFont&) = delete;
  SymbolTestFont& operator=(const SymbolTestFont&) = delete;

  bool ok() const { return m_id >= 0; }
  const QString& family() const { return m_family; }

 private:
  QString m_family;
  int m_id = -1;
};

}  // namespace lumora::test
