// Fonts the tests need but Debian does not ship (the four symbol fonts, hundreds of families):
// a TrueType file of the system with its naming table rewritten to another family name,
// registered with the application for as long as the object lives.
#pragma once

#include <QByteArray>
#include <QString>

namespace lumora::test {

// The font file's bytes with a new naming table that calls the family `family`; empty when the
// data is no TrueType font.
QByteArray RenameTrueTypeFamily(const QByteArray& font, const QString& family);

// The path of an installed TrueType font to rename, or empty.
QString SourceFontPath();

class RenamedTestFont {
 public:
  explicit RenamedTestFont(const QString& family = QStringLiteral("Wingdings"), const QString& source = SourceFontPath());
  // The same from font data already read.
  RenamedTestFont(const QString& family, const QByteArray& sourceData);
  ~RenamedTestFont();
  RenamedTestFont(const RenamedTestFont&) = delete;
  RenamedTestFont& operator=(const RenamedTestFont&) = delete;

  bool ok() const { return m_id >= 0; }
  const QString& family() const { return m_family; }

 private:
  QString m_family;
  int m_id = -1;
};

}  // namespace lumora::test
