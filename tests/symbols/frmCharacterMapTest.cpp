// The character map driven as a user drives it, with a test font registered as Wingdings: the
// grid, the keys and beeps, dragging past the edges, the results of Insert and Cancel. The dingbat
// and symbol families Linux ships are symbol fonts too, shown at their Unicode code points; and the
// window without any symbol font.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "RenamedTestFont.h"
#include "ScriptedModal.h"
#include "colour/frmColorPicker.h"
#include "symbols/frmCharacterMap.h"
#include "symbols/mdlFonts.h"

namespace lumora {
namespace {

QImage cellOf(const QImage& grid, int index) {
  return grid.copy(((index - 1) % 15) * 35 + 1, ((index - 1) / 15) * 24 + 1, 34, 23);
}
// What the window shows on the screen (the real screen under an X server), frame excluded.
QImage shownOnScreen(QWidget& window) {
  QApplication::processEvents();
  if (QGuiApplication::platformName() == QLatin1String("xcb") && window.screen()) {
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    return window.screen()->grabWindow(0, origin.x(), origin.y(), window.width(), window.height()).toImage();
  }
  return window.grab().toImage();
}
int darkPixels(const QImage& cell) {
  int count = 0;
  for (int y = 0; y < cell.height(); ++y)
    for (int x = 0; x < cell.width(); ++x) count += qGray(cell.pixel(x, y)) < 160;
  return count;
}

class CharacterMap : public ::testing::Test {
 protected:
  void SetUp() override {
    font = std::make_unique<test::RenamedTestFont>();
    if (!font->ok()) GTEST_SKIP() << "no TrueType font to make a test symbol font from";
    map = std::make_unique<frmCharacterMap>();
    map->show();
    // The machine's own symbol faces may come first; these cases are about the single-byte ones.
    map->fontList()->setCurrentIndex(map->fontList()->findText(QStringLiteral("Wingdings")));
    QApplication::setActiveWindow(map.get());
    map->grid()->setFocus();
    QApplication::processEvents();
  }
  static QPoint cellCentre(int index) { return {(index - 1) % 15 * 35 + 17, (index - 1) / 15 * 24 + 12}; }
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held, Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent event(type, at, map->grid()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(map->grid(), &event);
  }
  void press(QPoint at) { mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
  void release(QPoint at) { mouse(QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::LeftButton); }
  void drag(QPoint to) { mouse(QEvent::MouseMove, to, Qt::LeftButton); }
  void clickCell(int index) { press(cellCentre(index)), release(cellCentre(index)); }
  void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

  test::ScriptedModal modal;
  std::unique_ptr<test::RenamedTestFont> font;
  std::unique_ptr<frmCharacterMap> map;
};

TEST_F(CharacterMap, TheGridIsDrawnInTheSymbolFontAndSelectingRedrawsOnlyTheTwoCells) {
  EXPECT_EQ(map->fontList()->currentText(), "Wingdings");
  EXPECT_FALSE(map->insertButton()->isEnabled() || map->increaseButton()->isEnabled() ||
               map->showShadowBox()->isEnabled());
  const QImage grid = map->gridImage();
  EXPECT_GT(darkPixels(cellOf(grid, 'A' - 31)), 10);
  EXPECT_EQ(darkPixels(cellOf(grid, 1)) + darkPixels(cellOf(grid, 225)), 0);  // the two spaces
  EXPECT_EQ(shownOnScreen(*map).copy(map->grid()->geometry()).convertToFormat(QImage::Format_RGB32),
            grid.convertToFormat(QImage::Format_RGB32));
  map->SelectCharacter(40);
  map->SelectCharacter(41);
  for (int k = 1; k <= 225; ++k) EXPECT_EQ(cellOf(grid, k) != cellOf(map->gridImage(), k), k == 41) << k;
  // Another face under the same name draws other glyphs: the grid follows the font.
  map.reset();
  font = std::make_unique<test::RenamedTestFont>("Wingdings", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  EXPECT_NE(cellOf(frmCharacterMap().gridImage(), 'g' - 31), cellOf(grid, 'g' - 31));
}

struct KeyCase {
  int start;  // 0: nothing selected yet
  int key;
  bool control;
  int expected;  // 0: the key leads nowhere, a beep and the selection stays
};

class Keys : public CharacterMap, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(Keys, MoveTheSelectionOrBeep) {
  const KeyCase c = GetParam();
  if (c.start > 0) map->SelectCharacter(c.start);
  QTest::keyClick(map->grid(), static_cast<Qt::Key>(c.key), c.control ? Qt::ControlModifier : Qt::NoModifier);
  EXPECT_EQ(map->selectedChar(), c.expected == 0 ? c.start : c.expected);
  EXPECT_EQ(modal.beeps(), c.expected == 0 ? 1 : 0);
  if (c.expected != 0) {
    EXPECT_TRUE(map->magnifier()->isVisible());
    EXPECT_EQ(map->chosenText(), frmCharacterMap::CharacterSet()[c.expected - 1]);
  }
}

constexpr bool C = true, N = false;
constexpr KeyCase kKeys[] = {
    {0, Qt::Key_Right, N, 1},        {0, Qt::Key_Left, N, 0},       {0, Qt::Key_Up, N, 0},
    {0, Qt::Key_Home, N, 0},         {0, Qt::Key_Down, N, 15},      {0, Qt::Key_PageDown, N, 30},
    {15, Qt::Key_Right, N, 16},      {16, Qt::Key_Left, N, 15},     {5, Qt::Key_Left, C, 3},
    {5, Qt::Key_Right, C, 7},        {1, Qt::Key_Left, N, 0},       {2, Qt::Key_Left, C, 0},
    {225, Qt::Key_Right, N, 0},      {224, Qt::Key_Right, C, 0},    {20, Qt::Key_Up, N, 5},
    {15, Qt::Key_Up, N, 0},          {210, Qt::Key_Down, N, 225},   {211, Qt::Key_Down, N, 0},
    {200, Qt::Key_Up, C, 5},         {5, Qt::Key_Up, C, 0},         {7, Qt::Key_Down, C, 217},
    {225, Qt::Key_Down, C, 0},       {31, Qt::Key_PageUp, N, 1},    {30, Qt::Key_PageUp, N, 0},
    {195, Qt::Key_PageDown, N, 225}, {196, Qt::Key_PageDown, N, 0}, {20, Qt::Key_Home, N, 16},
    {16, Qt::Key_Home, N, 0},        {20, Qt::Key_End, N, 30},      {30, Qt::Key_End, N, 0},
    {100, Qt::Key_Home, C, 1},       {100, Qt::Key_End, C, 225},    {225, Qt::Key_End, C, 0}};

INSTANTIATE_TEST_SUITE_P(Grid, Keys, ::testing::ValuesIn(kKeys));

TEST_F(CharacterMap, DraggingPastTheEdgesKeepsTheLastColumnAndRowAndReleasingOutsideChoosesNothing) {
  press(cellCentre(17));
  EXPECT_EQ(map->grid()->cursor().shape(), Qt::BlankCursor);
  const std::pair<QPoint, int> moves[] = {{{2000, cellCentre(17).y()}, 30},
                                          {{cellCentre(3).x(), 5000}, 213},
                                          {{-40, -40}, 1},
                                          {{2000, 2000}, 225},
                                          {cellCentre(34), 34}};
  for (const auto& [to, selected] : moves) {
    drag(to);
    EXPECT_EQ(map->selectedChar(), selected);
    EXPECT_EQ(map->grid()->cursor().shape() == Qt::BlankCursor, selected == 34);  // outside the pointer shows
  }
  release(cellCentre(34));
  EXPECT_EQ(std::pair(map->chosenText(), map->previewLabel()->text()), std::pair(QString("A"), QString("A")));
  EXPECT_FALSE(map->magnifier()->isVisible() || map->shadowColourButton()->isEnabled());
  EXPECT_TRUE(map->insertButton()->isEnabled() && map->showShadowBox()->isEnabled());
  press(cellCentre(52));
  drag({2000, 2000});
  release({2000, 2000});
  EXPECT_EQ(std::pair(map->selectedChar(), map->chosenText()), std::pair(225, QString("A")));
}

TEST_F(CharacterMap, InsertHandsOverTheChoiceAndCancelOrTheCloseBoxGiveEmptyResults) {
  const Colour kButtonText = static_cast<Colour>(0x80000012u);
  const auto pick = [](QDialog& d) {
    QTest::mouseClick(static_cast<frmColorPicker&>(d).box(36), Qt::LeftButton);
    QTest::mouseClick(static_cast<frmColorPicker&>(d).okButton(), Qt::LeftButton);
  };
  const struct {
    const char* name;
    std::function<void()> act;
    int result;
    QString text;
    Colour colour, shadowColour;
    int size;
    bool shadow;
  } cases[] = {
      {"formatted",
       [&] {
         clickCell(34);
         modal.onNextWindow(pick);
         click(map->foreColourButton());
         click(map->showShadowBox());
         click(map->shadowColourButton());  // the picker is cancelled: unchanged
         click(map->increaseButton());
         click(map->insertButton());
       },
       QDialog::Accepted, "A", 0x000033, 0x808080, 25, true},
      {"as loaded", [this] { clickCell(2), click(map->insertButton()); }, QDialog::Accepted, "!", kButtonText, 0x808080,
       20, false},
      {"double click",
       [this] { clickCell(34), mouse(QEvent::MouseButtonDblClick, cellCentre(34), Qt::LeftButton, Qt::LeftButton); },
       QDialog::Accepted, "A", kButtonText, 0x808080, 20, false},
      {"cancel", [this] { clickCell(34), click(map->cancelButton()); }, QDialog::Rejected, "", 0, 0, 20, false},
      {"close box", [this] { map->close(); }, QDialog::Rejected, "", 0, 0, 20, false},
  };
  for (const auto& c : cases) {
    map = std::make_unique<frmCharacterMap>();
    map->show();
    map->fontList()->setCurrentIndex(map->fontList()->findText(QStringLiteral("Wingdings")));
    c.act();
    EXPECT_EQ(std::tuple(map->result(), map->SymbolText, map->SymbolFontName, map->SymbolColor, map->SymbolShadowColor,
                         map->SymbolSize, map->SymbolShadow),
              std::tuple(c.result, c.text, c.text.isEmpty() ? QString() : QString("Wingdings"), c.colour, c.shadowColour,
                         c.size, c.shadow))
        << c.name;
  }
}

TEST(LinuxSymbolFonts, TheSystemFamiliesCountInAnyCaseAndOnlyTheClassicFourUseByteCodes) {
  struct Case { const char* name; bool symbol, singleByte; };
  for (const Case& c : {Case{"D050000L", true, false}, Case{"d050000l", true, false},
                        Case{"STANDARD SYMBOLS PS", true, false}, Case{"OpenSymbol", true, false},
                        Case{"noto sans symbols", true, false}, Case{"Noto Sans Symbols 2", true, false},
                        Case{"wingdings 3", true, true}, Case{"Wingdings 2", true, true}, Case{"Noto Sans Symbols 3", false, false},
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
  const auto shown = [&](int cell) { return cellOf(map.gridImage(), cell); };
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
  // Keys and clicks on the grid choose nothing; the grid is drawn in the window's own font.
  EXPECT_EXIT(
      {
        test::ScriptedModal modal;
        frmCharacterMap map;
        map.show();
        const QRect line = map.noFontsLine()->geometry();
        const bool beside = map.rect().contains(line) && !line.intersects(map.grid()->geometry()) &&
                            !line.intersects(map.fontList()->geometry());
        const bool says = map.noFontsLine()->text() ==
                          "No symbol fonts are installed: Webdings, Wingdings, Wingdings 2 or Wingdings 3.";
        QTest::keyClick(map.grid(), 'A');
        QTest::mouseClick(map.grid(), Qt::LeftButton, {}, QPoint(50, 50));
        const bool inert = map.isVisible() && !map.insertButton()->isEnabled();
        const bool drawn = darkPixels(cellOf(map.gridImage(), 'A' - 31)) > 10;
        std::_Exit(map.fontList()->count() == 0 && map.noFontsLine()->isVisible() && beside && says && inert && drawn
                       ? 0
                       : 1);
      },
      ::testing::ExitedWithCode(0), "");
  before.isEmpty() ? qunsetenv("FONTCONFIG_FILE") : qputenv("FONTCONFIG_FILE", before);
}

}  // namespace
}  // namespace lumora
