// The character map driven as a user drives it, with a test font registered as Wingdings:
// keyboard table and beeps, typed characters, dragging past the edges, sizes, colours, shadow,
// the results of Insert and Cancel, and the window without any symbol font.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "ScriptedModal.h"
#include "Screenshot.h"
#include "RenamedTestFont.h"
#include "colour/frmColorPicker.h"
#include "symbols/frmCharacterMap.h"
#include "symbols/mdlFonts.h"

namespace lumora {
namespace {

using test::ScriptedModal;

class CharacterMap : public ::testing::Test {
 protected:
  void SetUp() override {
    m_font = std::make_unique<test::RenamedTestFont>();
    if (!m_font->ok()) GTEST_SKIP() << "no TrueType font to make a test symbol font from";
    m_map = std::make_unique<frmCharacterMap>();
    m_map->show();
    QApplication::setActiveWindow(m_map.get());
    m_map->grid()->setFocus();
    QApplication::processEvents();
  }

  frmCharacterMap& map() { return *m_map; }
  QPoint cellCentre(int index) const {
    const int column = (index - 1) % 15, row = (index - 1) / 15;
    return {column * 35 + 17, row * 24 + 12};
  }
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held, Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent event(type, at, map().grid()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(map().grid(), &event);
  }
  void typeText(const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(map().grid(), &press);
  }
  // Chooses a character with a click, as a user does before the options open up.
  void clickCell(int index) {
    mouse(QEvent::MouseButtonPress, cellCentre(index), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, cellCentre(index), Qt::NoButton, Qt::LeftButton);
  }

  ScriptedModal m_modal;
  std::unique_ptr<test::RenamedTestFont> m_font;
  std::unique_ptr<frmCharacterMap> m_map;
};

TEST(frmCharacterMapSet, CharacterSetIsWindows1252From32To255ThenASpace) {
  const QString& set = frmCharacterMap::CharacterSet();
  ASSERT_EQ(set.size(), 225);
  EXPECT_EQ(set[0], QChar(' '));
  EXPECT_EQ(set[1], QChar('!'));
  EXPECT_EQ(set[65 - 32], QChar('A'));
  EXPECT_EQ(set[0x80 - 32], QChar(0x20AC));  // euro sign
  EXPECT_EQ(set[0x99 - 32], QChar(0x2122));  // trade mark
  EXPECT_EQ(set[0xE9 - 32], QChar(0xE9));
  EXPECT_EQ(set[223], QChar(0xFF));
  EXPECT_EQ(set[224], QChar(' '));
}

TEST_F(CharacterMap, LoadsWithTheSymbolFontAndEverythingButTheGridDisabled) {
  EXPECT_EQ(map().windowTitle(), "Insert Symbol");
  EXPECT_EQ(map().size(), QSize(547, 594));
  EXPECT_EQ(map().grid()->geometry(), QRect(11, 39, 528, 361));
  EXPECT_EQ(map().cellSize(), QSize(35, 24));
  EXPECT_EQ(map().magnifier()->size(), QSize(108, 75));
  EXPECT_EQ(map().fontList()->currentText(), "Wingdings");
  EXPECT_TRUE(map().noFontsLine()->isHidden());
  EXPECT_EQ(map().selectedChar(), 0);
  for (QWidget* w : std::initializer_list<QWidget*>{map().insertButton(), map().increaseButton(),
                                                    map().decreaseButton(), map().foreColourButton(),
                                                    map().shadowColourButton(), map().showShadowBox()})
    EXPECT_FALSE(w->isEnabled()) << w->metaObject()->className();
  EXPECT_TRUE(map().cancelButton()->isEnabled());
  EXPECT_FALSE(map().insertButton()->autoDefault());
  EXPECT_FALSE(map().cancelButton()->isDefault());
}

QImage cellOf(const QImage& grid, int index) {
  return grid.copy(((index - 1) % 15) * 35 + 1, ((index - 1) / 15) * 24 + 1, 34, 23);
}

int darkPixels(const QImage& cell) {
  int count = 0;
  for (int y = 0; y < cell.height(); ++y)
    for (int x = 0; x < cell.width(); ++x) count += qGray(cell.pixel(x, y)) < 160;
  return count;
}

TEST_F(CharacterMap, GridIsDrawnCellByCellInTheSymbolFont) {
  const QImage grid = map().gridImage();
  EXPECT_GT(darkPixels(cellOf(grid, 'A' - 31)), 10);
  EXPECT_EQ(darkPixels(cellOf(grid, 1)), 0);    // the space
  EXPECT_EQ(darkPixels(cellOf(grid, 225)), 0);  // the second space
  // Cells share their outline in the window-frame colour.
  EXPECT_EQ(grid.pixel(35, 5), grid.pixel(0, 5));
  // Another face under the same name draws other glyphs: the grid follows the font.
  m_map.reset();
  m_font.reset();
  test::RenamedTestFont sans(QStringLiteral("Wingdings"), QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
  if (!sans.ok()) GTEST_SKIP() << "no second face";
  frmCharacterMap other;
  EXPECT_NE(cellOf(other.gridImage(), 'g' - 31), cellOf(grid, 'g' - 31));
}

TEST_F(CharacterMap, SelectionRedrawsOnlyTheTwoCellsInHighlight) {
  const QImage before = map().gridImage();
  map().SelectCharacter(40);
  map().SelectCharacter(41);
  const QImage after = map().gridImage();
  for (int k = 1; k <= 225; ++k) {
    const bool changed = cellOf(before, k) != cellOf(after, k);
    EXPECT_EQ(changed, k == 41) << k;
  }
  EXPECT_EQ(QColor(cellOf(after, 41).pixel(2, 3)).rgb() & 0xFFFFFF, 0x0078D7u);  // system highlight
  map().SelectCharacter(999);
  EXPECT_EQ(map().selectedChar(), 225);
}

struct KeyCase {
  int start;
  int key;
  bool control;
  int expected;  // 0: the key leads nowhere, a beep and the selection stays
};

class KeyboardTable : public CharacterMap, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyboardTable, MovesOrBeeps) {
  const KeyCase c = GetParam();
  if (c.start > 0) map().SelectCharacter(c.start);
  QTest::keyClick(map().grid(), static_cast<Qt::Key>(c.key), c.control ? Qt::ControlModifier : Qt::NoModifier);
  EXPECT_EQ(map().selectedChar(), c.expected == 0 ? c.start : c.expected);
  EXPECT_EQ(m_modal.beeps(), c.expected == 0 ? 1 : 0);
  if (c.expected != 0) {
    EXPECT_TRUE(map().magnifier()->isVisible());
    EXPECT_EQ(map().chosenText(), frmCharacterMap::CharacterSet()[c.expected - 1]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyboardTable,
    ::testing::Values(
        KeyCase{0, Qt::Key_Right, false, 1}, KeyCase{0, Qt::Key_Left, false, 0}, KeyCase{0, Qt::Key_Up, false, 0},
        KeyCase{0, Qt::Key_PageUp, false, 0}, KeyCase{0, Qt::Key_End, false, 0}, KeyCase{0, Qt::Key_Home, false, 0},
        KeyCase{0, Qt::Key_Down, false, 15}, KeyCase{0, Qt::Key_PageDown, false, 30},
        KeyCase{15, Qt::Key_Right, false, 16}, KeyCase{16, Qt::Key_Left, false, 15},
        KeyCase{5, Qt::Key_Left, true, 3}, KeyCase{5, Qt::Key_Right, true, 7}, KeyCase{1, Qt::Key_Left, false, 0},
        KeyCase{2, Qt::Key_Left, true, 0}, KeyCase{225, Qt::Key_Right, false, 0},
        KeyCase{224, Qt::Key_Right, true, 0}, KeyCase{20, Qt::Key_Up, false, 5}, KeyCase{16, Qt::Key_Up, false, 1},
        KeyCase{15, Qt::Key_Up, false, 0}, KeyCase{210, Qt::Key_Down, false, 225},
        KeyCase{211, Qt::Key_Down, false, 0}, KeyCase{200, Qt::Key_Up, true, 5}, KeyCase{5, Qt::Key_Up, true, 0},
        KeyCase{7, Qt::Key_Down, true, 217}, KeyCase{15, Qt::Key_Down, true, 225},
        KeyCase{225, Qt::Key_Down, true, 0}, KeyCase{31, Qt::Key_PageUp, false, 1},
        KeyCase{30, Qt::Key_PageUp, false, 0}, KeyCase{195, Qt::Key_PageDown, false, 225},
        KeyCase{196, Qt::Key_PageDown, false, 0}, KeyCase{20, Qt::Key_Home, false, 16},
        KeyCase{16, Qt::Key_Home, false, 0}, KeyCase{20, Qt::Key_End, false, 30}, KeyCase{30, Qt::Key_End, false, 0},
        KeyCase{100, Qt::Key_Home, true, 1}, KeyCase{1, Qt::Key_Home, true, 0}, KeyCase{100, Qt::Key_End, true, 225},
        KeyCase{225, Qt::Key_End, true, 0}));

TEST_F(CharacterMap, TypingASpaceSelectsCellOneAndInserts) {
  typeText(QStringLiteral(" "));
  EXPECT_EQ(map().selectedChar(), 1);
  EXPECT_FALSE(map().isVisible());
  EXPECT_EQ(map().result(), QDialog::Accepted);
  EXPECT_EQ(map().SymbolText, " ");
  EXPECT_EQ(map().SymbolFontName, "Wingdings");
}

TEST_F(CharacterMap, TypingACharacterOutsideTheSetHidesTheMagnifierAndBeeps) {
  QTest::keyClick(map().grid(), Qt::Key_Right);
  ASSERT_TRUE(map().magnifier()->isVisible());
  typeText(QString(QChar(0x4E2D)));
  EXPECT_FALSE(map().magnifier()->isVisible());
  EXPECT_EQ(m_modal.beeps(), 1);
  EXPECT_TRUE(map().isVisible());
  EXPECT_EQ(map().selectedChar(), 1);
}

TEST_F(CharacterMap, TypedEuroFindsItsWindows1252Cell) {
  typeText(QString(QChar(0x20AC)));
  EXPECT_EQ(map().selectedChar(), 0x80 - 31);
  EXPECT_EQ(map().SymbolText, QString(QChar(0x20AC)));
}

TEST_F(CharacterMap, DraggingPastTheEdgesKeepsTheLastColumnAndRow) {
  mouse(QEvent::MouseButtonPress, cellCentre(17), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(map().selectedChar(), 17);
  EXPECT_TRUE(map().magnifier()->isVisible());
  EXPECT_EQ(map().grid()->cursor().shape(), Qt::BlankCursor);
  mouse(QEvent::MouseMove, {2000, cellCentre(17).y()}, Qt::LeftButton);
  EXPECT_EQ(map().selectedChar(), 30);
  EXPECT_NE(map().grid()->cursor().shape(), Qt::BlankCursor);  // outside the grid the pointer shows
  mouse(QEvent::MouseMove, {cellCentre(3).x(), 5000}, Qt::LeftButton);
  EXPECT_EQ(map().selectedChar(), 213);
  mouse(QEvent::MouseMove, {-40, -40}, Qt::LeftButton);
  EXPECT_EQ(map().selectedChar(), 1);
  mouse(QEvent::MouseMove, {2000, 2000}, Qt::LeftButton);
  EXPECT_EQ(map().selectedChar(), 225);
  mouse(QEvent::MouseMove, cellCentre(34), Qt::LeftButton);
  EXPECT_EQ(map().grid()->cursor().shape(), Qt::BlankCursor);
  mouse(QEvent::MouseButtonRelease, cellCentre(34), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(map().chosenText(), "A");
  EXPECT_EQ(map().previewLabel()->text(), "A");
  EXPECT_EQ(map().shadowLabel()->text(), "A");
  EXPECT_FALSE(map().magnifier()->isVisible());
  EXPECT_NE(map().grid()->cursor().shape(), Qt::BlankCursor);
  EXPECT_TRUE(map().insertButton()->isEnabled());
  EXPECT_TRUE(map().foreColourButton()->isEnabled());
  EXPECT_TRUE(map().showShadowBox()->isEnabled());
  EXPECT_FALSE(map().shadowColourButton()->isEnabled());
}

TEST_F(CharacterMap, ReleasingOutsideTheGridChoosesNothing) {
  mouse(QEvent::MouseButtonPress, cellCentre(34), Qt::LeftButton, Qt::LeftButton);
  mouse(QEvent::MouseMove, {2000, 2000}, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, {2000, 2000}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(map().selectedChar(), 225);
  EXPECT_EQ(map().chosenText(), "");
  EXPECT_FALSE(map().insertButton()->isEnabled());
}

TEST_F(CharacterMap, MagnifierIsCentredOnTheCell) {
  map().ShowMagnifier(17);
  const QPoint centre = map().magnifier()->geometry().center();
  const QPoint cell = map().grid()->geometry().topLeft() + QPoint(35 + 17, 24 + 12);
  EXPECT_LE((centre - cell).manhattanLength(), 2);
  EXPECT_EQ(map().magnifierShadow()->pos(), map().magnifier()->pos() + QPoint(2, 3));
  EXPECT_TRUE(map().magnifierShadow()->isVisible());
  map().ShowMagnifier(500);  // clamped to the last cell
  EXPECT_LE((map().magnifier()->geometry().center() - (map().grid()->geometry().topLeft() + QPoint(14 * 35 + 17, 14 * 24 + 12))).manhattanLength(), 2);
  map().grid()->clearFocus();
  map().cancelButton()->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(map().magnifier()->isVisible());
}

TEST_F(CharacterMap, SizesStopAt85AndBelow10) {
  clickCell(34);
  ASSERT_TRUE(map().increaseButton()->isEnabled());
  int clicks = 0;
  while (map().increaseButton()->isEnabled() && clicks < 50) {
    QTest::mouseClick(map().increaseButton(), Qt::LeftButton);
    ++clicks;
  }
  EXPECT_EQ(clicks, 13);
  EXPECT_DOUBLE_EQ(map().previewSize(), 85.25);
  EXPECT_TRUE(map().decreaseButton()->isEnabled());
  while (map().decreaseButton()->isEnabled() && clicks < 100) {
    QTest::mouseClick(map().decreaseButton(), Qt::LeftButton);
    ++clicks;
  }
  EXPECT_DOUBLE_EQ(map().previewSize(), 5.25);
  EXPECT_TRUE(map().increaseButton()->isEnabled());
  QTest::mouseClick(map().increaseButton(), Qt::LeftButton);
  QTest::mouseClick(map().insertButton(), Qt::LeftButton);
  EXPECT_EQ(map().SymbolSize, 10);  // 10.25 rounded
}

struct ShadowCase {
  int increases;
  int decreases;
  int offset;
};

class ShadowOffsets : public CharacterMap, public ::testing::WithParamInterface<ShadowCase> {};

TEST_P(ShadowOffsets, GrowWithTheSize) {
  clickCell(34);
  QTest::mouseClick(map().showShadowBox(), Qt::LeftButton);
  for (int i = 0; i < GetParam().increases; ++i) QTest::mouseClick(map().increaseButton(), Qt::LeftButton);
  for (int i = 0; i < GetParam().decreases; ++i) QTest::mouseClick(map().decreaseButton(), Qt::LeftButton);
  const QPoint offset = map().shadowLabel()->pos() - map().previewLabel()->pos();
  EXPECT_EQ(offset, QPoint(GetParam().offset, GetParam().offset));
  // The preview is centred in its frame, two pixels low, in front of its shadow.
  const QRect preview = map().previewLabel()->geometry();
  EXPECT_LE(std::abs(preview.center().x() - map().previewFrame()->width() / 2), 1);
  EXPECT_LE(std::abs(preview.center().y() - 2 - map().previewFrame()->height() / 2), 1);
  EXPECT_TRUE(map().shadowLabel()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShadowOffsets,
                         ::testing::Values(ShadowCase{0, 1, 1}, ShadowCase{0, 0, 2}, ShadowCase{3, 0, 2},
                                           ShadowCase{4, 0, 3}, ShadowCase{5, 0, 3}, ShadowCase{6, 0, 4}));

TEST_F(CharacterMap, InsertHandsOverTheTextAndItsFormatting) {
  clickCell(34);
  m_modal.onNextWindow([](QDialog& d) {
    auto& picker = static_cast<frmColorPicker&>(d);
    QTest::mouseClick(picker.box(36), Qt::LeftButton);
    QTest::mouseClick(picker.okButton(), Qt::LeftButton);
  });
  QTest::mouseClick(map().foreColourButton(), Qt::LeftButton);
  QTest::mouseClick(map().showShadowBox(), Qt::LeftButton);
  ASSERT_TRUE(map().shadowColourButton()->isEnabled());
  m_modal.onNextWindow([](QDialog& d) { QTest::mouseClick(static_cast<frmColorPicker&>(d).cancelButton(), Qt::LeftButton); });
  QTest::mouseClick(map().shadowColourButton(), Qt::LeftButton);  // cancelled: unchanged
  QTest::mouseClick(map().increaseButton(), Qt::LeftButton);
  QTest::mouseClick(map().insertButton(), Qt::LeftButton);
  EXPECT_EQ(map().result(), QDialog::Accepted);
  EXPECT_EQ(map().SymbolText, "A");
  EXPECT_EQ(map().SymbolFontName, "Wingdings");
  EXPECT_EQ(map().SymbolColor, 0x000033);
  EXPECT_EQ(map().SymbolSize, 25);
  EXPECT_TRUE(map().SymbolShadow);
  EXPECT_EQ(map().SymbolShadowColor, 0x808080);
  EXPECT_EQ(m_modal.windows().size(), 2u);
}

TEST_F(CharacterMap, InsertWithoutChangesGivesTheDesignDefaults) {
  clickCell(2);
  QTest::mouseClick(map().insertButton(), Qt::LeftButton);
  EXPECT_EQ(map().SymbolText, "!");
  EXPECT_EQ(map().SymbolColor, static_cast<Colour>(0x80000012u));
  EXPECT_EQ(map().SymbolSize, 20);
  EXPECT_FALSE(map().SymbolShadow);
}

TEST_F(CharacterMap, DoubleClickInserts) {
  clickCell(34);
  mouse(QEvent::MouseButtonDblClick, cellCentre(34), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(map().result(), QDialog::Accepted);
  EXPECT_EQ(map().SymbolText, "A");
}

TEST_F(CharacterMap, CancelAndTheCloseBoxGiveEmptyResults) {
  clickCell(34);
  QTest::mouseClick(map().cancelButton(), Qt::LeftButton);
  EXPECT_EQ(map().result(), QDialog::Rejected);
  EXPECT_EQ(map().SymbolText, "");
  EXPECT_EQ(map().SymbolFontName, "");
  EXPECT_EQ(map().SymbolSize, 20);
  EXPECT_EQ(map().SymbolColor, 0);
  EXPECT_FALSE(map().SymbolShadow);
  EXPECT_EQ(map().SymbolShadowColor, 0);

  frmCharacterMap again;
  m_modal.onNextWindow([](QDialog& d) { d.close(); });
  Modal().exec(again);
  EXPECT_EQ(again.SymbolText, "");
}

TEST_F(CharacterMap, WindowShowsTheGridAsDrawnWithMagnifierAndPreview) {
  map().SelectCharacter(34);
  const QImage shown = test::GrabWindow(map());
  const QRect grid = map().grid()->geometry();
  EXPECT_EQ(shown.copy(grid).convertToFormat(QImage::Format_RGB32), map().gridImage().convertToFormat(QImage::Format_RGB32));
  clickCell(52);
  QTest::mouseClick(map().showShadowBox(), Qt::LeftButton);
  QTest::mouseClick(map().increaseButton(), Qt::LeftButton);
  mouse(QEvent::MouseButtonPress, cellCentre(38), Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(map().magnifier()->isVisible());
  test::SaveScreenshot(map(), QStringLiteral("frmCharacterMap"));
}

TEST(frmCharacterMapNoFonts, SaysSoInOneLineAndInsertStaysDisabled) {
  if (!mdlFonts::InstalledSymbolFonts().isEmpty()) GTEST_SKIP() << "this machine has symbol fonts";
  ScriptedModal modal;
  frmCharacterMap map;
  map.show();
  EXPECT_FALSE(map.noFontsLine()->isHidden());
  EXPECT_EQ(map.noFontsLine()->text(),
            "No symbol fonts are installed: Webdings, Wingdings, Wingdings 2 or Wingdings 3.");
  EXPECT_EQ(map.fontList()->count(), 0);
  EXPECT_FALSE(map.grid()->isEnabled());
  QTest::keyClick(map.grid(), 'A');
  EXPECT_TRUE(map.isVisible());
  QTest::mouseClick(map.grid(), Qt::LeftButton, {}, QPoint(50, 50));
  EXPECT_FALSE(map.insertButton()->isEnabled());
  EXPECT_TRUE(map.isVisible());
  // The grid is still drawn, in the window's own font.
  EXPECT_GT(darkPixels(cellOf(map.gridImage(), 'A' - 31)), 10);
  test::SaveScreenshot(map, QStringLiteral("frmCharacterMap-no-fonts"));
}

}  // namespace
}  // namespace lumora
