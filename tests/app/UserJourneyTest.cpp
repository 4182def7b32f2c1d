// A banner from start to finish, the way a user makes one: a template picked in the real library
// browser with the keyboard, text typed over two lines, formatted and dragged, exported in every
// format, saved, closed with the save question, reopened, undone and redone.
#include <QListWidget>
#include <QPushButton>

#include "EditorFixture.h"
#include "compose/DocumentUnits.h"
#include "library/ThumbnailGrid.h"

namespace lumora {
namespace {

using UserJourney = test::EditorTest;

TEST_F(UserJourney, ABannerFromTheLibraryToEveryFormatAndBack) {
  frmMain& w = *window;

  frmChooseClipart::LastTypeIndex = frmChooseClipart::LastCategoryIndex = 0;
  modal.onNextWindow([](QDialog& d) {
    auto& browser = static_cast<frmChooseClipart&>(d);
    QTest::keyClick(browser.Combo1(), Qt::Key_Home);  // Banners
    QTest::keyClick(browser.combo2(), Qt::Key_End);   // the last category
    QTest::keyClick(browser.Picture1(), Qt::Key_Right);
    QTest::mouseClick(browser.CmdOK(), Qt::LeftButton);
  });
  QTest::mouseClick(w.cmdNew, Qt::LeftButton);
  ASSERT_TRUE(w.document().DocumentOpen());
  EXPECT_EQ(w.document().TemplateName().rfind("Banners\\", 0), 0u) << w.document().TemplateName();
  const QSize banner = w.picPicture->size();

  QTest::mouseClick(w.cmdAdd, Qt::LeftButton);
  w.txtCaption->selectAll();
  QTest::keyClicks(w.txtCaption, QStringLiteral("Summer Sale"));
  QTest::keyClick(w.txtCaption, Qt::Key_Return);
  QTest::keyClicks(w.txtCaption, QStringLiteral("Up to 50% off"));
  QTest::mouseClick(w.vkBold, Qt::LeftButton);
  QTest::mouseClick(w.vkShadow, Qt::LeftButton);
  const TextItem before = *w.document().CurrentItem();
  const QPoint grip = w.ItemRect(before).center();
  QTest::mousePress(w.picPicture, Qt::LeftButton, {}, grip);
  QTest::mouseMove(w.picPicture, grip + QPoint(12, 3));
  QTest::mouseRelease(w.picPicture, Qt::LeftButton, {}, grip + QPoint(12, 3));
  EXPECT_FLOAT_EQ(w.document().CurrentItem()->Left, before.Left + PixelsToTwips(12));

  for (const char* name : {"banner.jpg", "banner.gif", "banner.bmp", "banner.png"}) {
    modal.answerFile(path(name));
    QTest::mouseClick(w.cmdSaveImage, Qt::LeftButton);
    EXPECT_EQ(QImage(path(name)).size(), banner) << name;
  }
  EXPECT_TRUE(modal.messageBoxes().empty());

  const TextItem made = *w.document().CurrentItem();
  modal.answerMessageBox(MsgBox::Yes);  // Exit asks; Yes saves under the name given
  modal.answerFile(path("banner.lmp"));
  QTest::mouseClick(w.vbkFlat1, Qt::LeftButton);
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_FALSE(w.isVisible());

  window = std::make_unique<frmMain>();
  modal.answerFile(path("banner.lmp"));
  QTest::mouseClick(window->cmdOpen, Qt::LeftButton);
  ASSERT_EQ(window->document().TextItems().size(), 1u);
  const TextItem reopened = window->document().TextItems()[0];
  EXPECT_EQ(reopened.Caption, "Summer Sale\r\nUp to 50% off");
  EXPECT_EQ(reopened, made);
  // The buttons follow the history, which starts at the opened file.
  EXPECT_TRUE(window->cmdUndo->Disabled() && window->cmdRedo->Disabled());
  QTest::mouseClick(window->vkItalic, Qt::LeftButton);
  QTest::mouseClick(window->cmdUndo, Qt::LeftButton);
  EXPECT_EQ(window->document().TextItems()[0], reopened);
  EXPECT_TRUE(window->cmdUndo->Disabled() && !window->cmdRedo->Disabled());
  QTest::mouseClick(window->cmdRedo, Qt::LeftButton);
  EXPECT_TRUE(window->document().TextItems()[0].FontItalic);
  EXPECT_TRUE(!window->cmdUndo->Disabled() && window->cmdRedo->Disabled());
}

}  // namespace
}  // namespace lumora
