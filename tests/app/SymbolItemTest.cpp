// A sign of a Linux dingbat face, chosen in the character map with the mouse, becomes a symbol
// item of the editor and survives a save and a reopen of the project.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedModal.h"
#include "app/frmMain.h"
#include "library/frmChooseClipart.h"
#include "symbols/frmCharacterMap.h"

namespace lumora {
namespace {

TEST(SymbolItem, AFloralHeartFromD050000LIsASymbolItemAndComesBackFromTheFile) {
  test::ScriptedModal modal;
  QTemporaryDir dir;
  const QString picture = dir.filePath("cover.png"), project = dir.filePath("heart.lmp");
  QImage(400, 240, QImage::Format_RGB32).save(picture);
  frmMain w;
  w.show();
  modal.onNextWindow([&](QDialog& d) {
    auto& browser = static_cast<frmChooseClipart&>(d);
    browser.TemplatePath = picture;
    browser.TemplateRelativePath = QStringLiteral("Covers\\Plain\\cover.png");
    browser.accept();
  });
  QTest::mouseClick(w.cmdNew, Qt::LeftButton);
  const QString heart(QChar(0x2766));
  modal.onNextWindow([&](QDialog& d) {
    auto& map = static_cast<frmCharacterMap&>(d);
    QTest::keyClicks(map.fontList(), QStringLiteral("D050"));
    int cell = 1;
    while (cell < frmCharacterMap::kCellCount && map.cellText(cell) != heart) ++cell;
    const QSize size = map.cellSize();
    const QPoint centre((cell - 1) % 15 * size.width() + size.width() / 2, (cell - 1) / 15 * size.height() + 12);
    QTest::mouseClick(map.grid(), Qt::LeftButton, {}, centre);
    QTest::mouseClick(map.insertButton(), Qt::LeftButton);
  });
  QTest::mouseClick(w.cmdSymbol, Qt::LeftButton);
  ASSERT_EQ(w.document().TextItems().size(), 1u);
  EXPECT_EQ(w.document().CurrentItem()->Caption, heart.toStdString());
  EXPECT_EQ(w.document().CurrentItem()->FontName, "D050000L");
  // A symbol item: the text options are locked and Grow adds five points.
  EXPECT_FALSE(w.txtCaption->isEnabled());
  EXPECT_TRUE(w.vkBold->Disabled());
  QTest::mouseClick(w.vkGrow, Qt::LeftButton);
  EXPECT_FLOAT_EQ(w.document().CurrentItem()->FontSize, 25.0f);
  // The font list names it in the list's own font, an ordinary family in its face.
  EXPECT_EQ(w.m_fontListLook.itemFont(QStringLiteral("D050000L")).family(), w.cboFont->font().family());
  EXPECT_EQ(w.m_fontListLook.itemFont(QStringLiteral("DejaVu Serif")).family(), QStringLiteral("DejaVu Serif"));

  modal.answerFile(project);
  QTest::mouseClick(w.cmdSave, Qt::LeftButton);
  modal.answerFile(project);
  QTest::mouseClick(w.cmdOpen, Qt::LeftButton);
  ASSERT_EQ(w.document().TextItems().size(), 1u);
  EXPECT_EQ(w.document().TextItems().front().Caption, heart.toStdString());
  w.document().SetChanged(false);
}

}  // namespace
}  // namespace lumora
