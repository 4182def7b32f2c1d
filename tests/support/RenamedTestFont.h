// Fonts the tests need but Debian does not ship (the four symbol fonts, hundreds of families):
// a TrueType file of the system with its naming table rewritten to another family name,
// registered with the application for as long as the object lives.
#pragma once

#include <QString>

namespace lumora::test {

class RenamedTestFont {
 public:
  // An empty source takes DejaVu Serif.
  explicit RenamedTestFont(const QString& family = QStringLiteral("Wingdings"), const QString& source = {});
  ~RenamedTestFont();
  RenamedTestFont(const RenamedTestFont&) = delete;
  RenamedTestFont& operator=(const RenamedTestFont&) = delete;

  bool ok() const { return m_id >= 0; }

 private:
  int m_id = -1;
};

}  // namespace lumora::test
