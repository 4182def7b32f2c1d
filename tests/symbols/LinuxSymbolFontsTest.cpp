// The dingbat and symbol families Linux ships are symbol fonts too: the character map lists the
// installed ones and shows their signs at their Unicode code points, and the line that says no
// symbol font is installed stays off the grid.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "symbols/frmCharacterMap.h"
#include "symbols/mdlFonts.h"

namespace lumora {
namespace {

TEST(LinuxSymbolFonts, TheSystemFamiliesCountInAnyCaseAndOnlyTheClassicFourUseByteCodes) {
  struct Case { const char* name; bool symbol, singleByte; };
  for (const Case& c : {Case{"D050000L", true, false}, Case{"d050000l", true, false},
                        Case{"STANDARD SYMBOLS PS", true, false}, Case{"OpenSymbol", true, false},
                        Case{"noto sans symbols", true, false}, Case{"Noto Sans Symbols 2", true, false},
                        Case{"wingdings 3", true, true}, Case{"Noto Sans Symbols 3", false, false},
                        Case{"D050000L [urw]", false, false}, Case{"OpenSymbol ", false, false},
                        Case{"Noto Sans", false, false}, Case{"Standard Symbols", false, false}}) {
    EXPECT_EQ(mdlFonts::IsSymbolFont(QString::fromUtf8(c.name)), c.symbol) << c.name;
    EXPECT_EQ(mdlFonts::IsSingleByteSymbolFont(QString::fromUtf8(c.name)), c.singleByte) << c.name;
  }
}

TEST(LinuxSymbolFonts, TheMapListsTheInstalledFamilyAndItsCellsAreSignsOfThatFace) {
  ASSERT_TRUE(mdlFonts::InstalledSymbolFonts().contains("D050000L")) << "scripts/install-deps.sh installs it";
  frmCharacterMap map;
  map.show();
  QStringList listed;
  for (int i = 0; i < map.fontList()->count(); ++i) listed << map.fontList()->itemText(i);
  EXPECT_EQ(listed, mdlFonts::InstalledSymbolFonts());
  QTest::keyClicks(map.fontList(), QStringLiteral("D050"));
  ASSERT_EQ(map.fontList()->currentText(), "D050000L");
  // The face's own signs, not the byte codes its Type 1 encoding also answers.
  EXPECT_EQ(map.cellText(1) + map.cellText(2) + map.cellText(4), QStringLiteral("→↔①"));
  const QFont font(QStringLiteral("D050000L"));
  const QRawFont face = QRawFont::fromFont(font);
  const auto shown = [&](int cell) {
    return map.gridImage().copy((cell - 1) % 15 * 35 + 1, (cell - 1) / 15 * 24 + 1, 34, 23);
  };
  ASSERT_TRUE(map.cellText(frmCharacterMap::kCellCount).isEmpty());  // the face has fewer signs than cells
  char32_t previous = 0x20;
  for (int cell = 1; cell <= 30; ++cell) {
    const char32_t code = map.cellText(cell).toUcs4().value(0);
    EXPECT_GT(code, previous) << cell;
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(code) && face.supportsCharacter(code)) << cell;
    EXPECT_NE(shown(cell), shown(frmCharacterMap::kCellCount)) << "cell " << cell << " is blank";
    previous = code;
  }
}

// Fontconfig of a process of its own sees the DejaVu faces only: no symbol family at all.
TEST(LinuxSymbolFontsDeathTest, WithoutAnySymbolFontTheLineStandsBesideTheListNotOverTheGrid) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QTemporaryDir dir;
  QFile config(dir.filePath(QStringLiteral("fonts.conf")));
  ASSERT_TRUE(config.open(QIODevice::WriteOnly));
  config.write("<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>" + dir.path().toUtf8() +
               "</cachedir></fontconfig>");
  config.close();
  const QByteArray before = qgetenv("FONTCONFIG_FILE");  // this process keeps the fonts it was given
  qputenv("FONTCONFIG_FILE", config.fileName().toUtf8());
  EXPECT_EXIT(
      {
        frmCharacterMap map;
        map.show();
        const QRect line = map.noFontsLine()->geometry();
        const bool beside = map.rect().contains(line) && !line.intersects(map.grid()->geometry()) &&
                            !line.intersects(map.fontList()->geometry());
        std::_Exit(map.fontList()->count() == 0 && map.noFontsLine()->isVisible() && beside ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  before.isEmpty() ? qunsetenv("FONTCONFIG_FILE") : qputenv("FONTCONFIG_FILE", before);
}

}  // namespace
}  // namespace lumora
