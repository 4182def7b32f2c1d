// Editing scenarios on the real main window: a template from the (scripted) library, text items
// inserted, typed, styled, dragged, restacked, deleted, undone, saved, reopened and exported.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "RenamedTestFont.h"
#include "ScriptedModal.h"
#include "app/frmMain.h"
#include "colour/frmColorPicker.h"
#include "compose/DocumentUnits.h"
#include "library/frmChooseClipart.h"
#include "symbols/frmCharacterMap.h"

namespace lumora {
namespace {

using test::ScriptedModal;

class EditingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    templatePath = dir.filePath(QStringLiteral("cover.png"));
    QImage picture(400, 240, QImage::Format_RGB32);
    picture.fill(QColor(40, 90, 160));
    ASSERT_TRUE(picture.save(templatePath));
    window = std::make_unique<frmMain>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  void TearDown() override {
    window->document().SetChanged(false);
    window.reset();
  }
  frmMain& w() { return *window; }
  const Document& doc() { return window->document(); }
  const TextItem& current() { return *doc().CurrentItem(); }

  void newDocument() {
    modal.onNextWindow([this](QDialog& d) {
      auto& browser = static_cast<frmChooseClipart&>(d);
      browser.TemplatePath = templatePath;
      browser.TemplateRelativePath = QStringLiteral("Covers\\Plain\\cover.png");
      browser.accept();
    });
    QTest::mouseClick(w().cmdNew, Qt::LeftButton);
    // The window manager gives the activation back when a modal window closes; here the test does.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  void insertText() { QTest::mouseClick(w().cmdAdd, Qt::LeftButton); }
  QPoint centreOf(const TextItem& item) { return w().ItemRect(item).center(); }

  ScriptedModal modal;
  QTemporaryDir dir;
  QString templatePath;
  std::unique_ptr<frmMain> window;
};

TEST_F(EditingTest, NewShowsTheTemplateUntitledAndChanged) {
  newDocument();
  EXPECT_EQ(w().windowTitle(), QStringLiteral("ZEB Lumora - [untitled]"));
  EXPECT_TRUE(doc().Changed());
  EXPECT_EQ(doc().TemplateName(), "Covers\\Plain\\cover.png");
  EXPECT_EQ(w().picPicture->size(), QSize(400, 240));
  EXPECT_FALSE(w().picWelcome->isVisible());
  EXPECT_FALSE(w().cmdAdd->Disabled());
  EXPECT_TRUE(w().cmdSaveAs->Disabled());  // until saved once
  EXPECT_TRUE(w().cmdDelete->Disabled());
}

TEST_F(EditingTest, CancelInTheSaveQuestionOfNewKeepsTheDocument) {
  newDocument();
  insertText();
  modal.answerMessageBox(MsgBox::Cancel);
  QTest::mouseClick(w().cmdNew, Qt::LeftButton);
  EXPECT_EQ(doc().TextItems().size(), 1u);
  EXPECT_EQ(modal.windows().size(), 1u);  // the library was not shown again
}

TEST_F(EditingTest, InsertTextIsCentredSelectedAndInTheCaptionBox) {
  newDocument();
  insertText();
  ASSERT_EQ(doc().TextItems().size(), 1u);
  const TextItem& item = current();
  EXPECT_EQ(item.Caption, "enter your text");
  EXPECT_TRUE(item.Visible);
  EXPECT_EQ(item.FontName, w().cboFont->currentText().toStdString());
  EXPECT_FLOAT_EQ(item.FontSize, 9.0f);
  EXPECT_EQ(w().txtCaption->toPlainText(), QStringLiteral("enter your text"));
  EXPECT_TRUE(w().txtCaption->isEnabled());
  // Centred as measured in the template item's font, before the list's font was applied.
  const QRect r = w().ItemRect(item);
  EXPECT_NEAR(r.left(), 200 - r.width() / 2, 40);
  EXPECT_GT(r.top(), 80);
  EXPECT_LT(r.bottom(), 160);
  EXPECT_TRUE(w().shpFocus[0]->isVisible());
  EXPECT_EQ(w().shpFocus[0]->geometry(), r.adjusted(-20, -2, 20, 2));
  EXPECT_EQ(w().shpFocus[1]->geometry(), r.adjusted(-21, -3, 21, 3));
  EXPECT_FALSE(w().cmdDelete->Disabled());
  EXPECT_FALSE(w().vkBold->Disabled());
  EXPECT_TRUE(w().mnuDelete->isEnabled());
}

TEST_F(EditingTest, TypingChangesTheCaptionAndSelectingDoesNot) {
  newDocument();
  insertText();
  insertText();
  const int second = doc().CurrentIndex();
  w().txtCaption->setFocus();
  w().txtCaption->selectAll();
  QTest::keyClicks(w().txtCaption, QStringLiteral("Summer"));
  EXPECT_EQ(doc().FindItem(second)->Caption, "Summer");
  EXPECT_TRUE(doc().Changed());
  // Drag the second item off the first, then select the first: the box is refilled with its
  // caption and neither item changes.
  const QPoint from = centreOf(current());
  QTest::mousePress(w().picPicture, Qt::LeftButton, {}, from);
  QTest::mouseMove(w().picPicture, from + QPoint(0, 60));
  QTest::mouseRelease(w().picPicture, Qt::LeftButton, {}, from + QPoint(0, 60));
  QTest::mouseClick(w().picPicture, Qt::LeftButton, {}, centreOf(*doc().FindItem(1)));
  EXPECT_EQ(doc().CurrentIndex(), 1);
  EXPECT_EQ(w().txtCaption->toPlainText(), QStringLiteral("enter your text"));
  EXPECT_EQ(doc().FindItem(second)->Caption, "Summer");
}

TEST_F(EditingTest, StylesAlignmentAndShadowFollowTheButtonsAndUndo) {
  newDocument();
  insertText();
  for (vbkFlat* b : {w().vkBold, w().vkItalic, w().vkUnderline, w().vkStrikeout, w().vkShadow})
    QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_TRUE(current().FontBold);
  EXPECT_TRUE(current().FontItalic);
  EXPECT_TRUE(current().FontUnderline);
  EXPECT_TRUE(current().FontStrikethru);
  EXPECT_TRUE(current().Shadow);
  EXPECT_TRUE(w().vkBold->Checked());
  QTest::mouseClick(w().vkRight, Qt::LeftButton);
  EXPECT_EQ(current().Alignment, TextAlignment::Right);
  EXPECT_TRUE(w().vkRight->Checked());
  EXPECT_FALSE(w().vkLeft->Checked());
  EXPECT_FALSE(w().vkCenter->Checked());

  QTest::keyClick(w().txtCaption, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(current().Alignment, TextAlignment::Left);
  QTest::keyClick(w().txtCaption, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(current().Shadow);
  EXPECT_FALSE(w().vkShadow->Checked());
  QTest::keyClick(w().txtCaption, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(current().Shadow);
}

TEST_F(EditingTest, ColoursComeFromThePickerAndCancelChangesNothing) {
  newDocument();
  insertText();
  modal.onNextWindow([](QDialog& d) {
    auto& picker = static_cast<frmColorPicker&>(d);
    picker.ResultColor = 0x0000FF;
    picker.accept();
  });
  QTest::mouseClick(w().vkFontColor, Qt::LeftButton);
  EXPECT_EQ(current().ForeColor, 0x0000FF);
  EXPECT_EQ(w().picForeColor->palette().color(QPalette::Window), QColor(255, 0, 0));
  QTest::mouseClick(w().vkShadowColor, Qt::LeftButton);  // rejected: -1
  EXPECT_NE(current().ShadowColor, -1);
  EXPECT_EQ(modal.windows().back(), QStringLiteral("lumora::frmColorPicker"));
}

TEST_F(EditingTest, DragMovesTextShadowAndFocusMarksTogetherAsOneUndoStep) {
  newDocument();
  insertText();
  QTest::mouseClick(w().vkShadow, Qt::LeftButton);
  const TextItem before = current();
  const QRect marks = w().shpFocus[0]->geometry();
  const QPoint start = centreOf(before);
  QTest::mousePress(w().picPicture, Qt::LeftButton, {}, start);
  EXPECT_TRUE(w().Dragging);
  QTest::mouseMove(w().picPicture, start + QPoint(10, 4));
  QTest::mouseMove(w().picPicture, start + QPoint(30, 10));
  QTest::mouseRelease(w().picPicture, Qt::LeftButton, {}, start + QPoint(30, 10));
  EXPECT_FALSE(w().Dragging);
  EXPECT_FLOAT_EQ(current().Left, before.Left + PixelsToTwips(30));
  EXPECT_FLOAT_EQ(current().Top, before.Top + PixelsToTwips(10));
  EXPECT_FLOAT_EQ(current().ShadowLeft() - current().Left, before.ShadowLeft() - before.Left);
  EXPECT_EQ(w().shpFocus[0]->geometry(), marks.translated(30, 10));
  QTest::keyClick(w().txtCaption, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FLOAT_EQ(current().Left, before.Left);
  EXPECT_FLOAT_EQ(current().Top, before.Top);
}

TEST_F(EditingTest, ThePointerShowsMoveOverTextItemsOnly) {
  newDocument();
  insertText();
  const auto hover = [&](QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, w().picPicture->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w().picPicture, &move);
    return w().picPicture->cursor().shape();
  };
  EXPECT_EQ(hover(centreOf(current())), Qt::SizeAllCursor);
  EXPECT_EQ(hover(QPoint(1, 1)), Qt::ArrowCursor);
}

TEST_F(EditingTest, InsertTextWhileTheListShowsASymbolFontUsesTheLastOrdinaryFontAndSize) {
  // Debian has no symbol fonts: one is registered under the name for the rest of the run.
  static test::RenamedTestFont wingdings(QStringLiteral("Wingdings"));
  if (!wingdings.ok()) GTEST_SKIP() << "no TrueType font to rename";
  window->document().SetChanged(false);
  window = std::make_unique<frmMain>();  // its font list now offers the symbol font
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  newDocument();
  const int ordinary = w().cboFont->findText(QStringLiteral("DejaVu Sans"));
  const int symbol = w().cboFont->findText(QStringLiteral("Wingdings"));
  ASSERT_GE(ordinary, 0);
  ASSERT_GE(symbol, 0);
  w().cboFont->setCurrentIndex(ordinary);
  w().cboSize->setCurrentIndex(w().cboSize->findText(QStringLiteral("14")));
  w().cboFont->setCurrentIndex(symbol);
  w().cboSize->setCurrentIndex(w().cboSize->findText(QStringLiteral("36")));  // not remembered: symbol font showing
  insertText();
  EXPECT_EQ(current().FontName, "DejaVu Sans");
  EXPECT_FLOAT_EQ(current().FontSize, 14.0f);
}

TEST_F(EditingTest, PressAndReleaseWithoutMovingOnlySelects) {
  newDocument();
  insertText();
  const TextItem before = current();
  QTest::mouseClick(w().picPicture, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(doc().CurrentIndex(), 0);
  EXPECT_FALSE(w().shpFocus[0]->isVisible());
  EXPECT_FALSE(w().shpFocus[1]->isVisible());
  QTest::mouseClick(w().picPicture, Qt::LeftButton, {}, centreOf(before));
  EXPECT_EQ(doc().CurrentIndex(), before.Index);
  EXPECT_EQ(current().Left, before.Left);
  EXPECT_EQ(current().Top, before.Top);
  EXPECT_FALSE(w().CanRedo());
}

TEST_F(EditingTest, RightButtonSelectsThenOpensTheMenu) {
  newDocument();
  insertText();
  const TextItem item = current();
  QTest::mouseClick(w().picPicture, Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mousePress(w().picPicture, Qt::RightButton, {}, QPoint(2, 2));
  EXPECT_TRUE(w().mnuContext->isVisible());
  EXPECT_FALSE(w().mnuDelete->isEnabled());
  EXPECT_FALSE(w().mnuBringToFront->isEnabled());
  EXPECT_TRUE(w().mnuInsertText->isEnabled());
  w().mnuContext->hide();
  QTest::mousePress(w().picPicture, Qt::RightButton, {}, centreOf(item));
  EXPECT_EQ(doc().CurrentIndex(), item.Index);
  EXPECT_TRUE(w().mnuContext->isVisible());
  EXPECT_TRUE(w().mnuDelete->isEnabled());
  w().mnuDelete->trigger();
  w().mnuContext->hide();
  EXPECT_TRUE(doc().TextItems().empty());
}

TEST_F(EditingTest, RestackingAndDeletingKeepIndicesAndOrder) {
  newDocument();
  insertText();
  insertText();
  insertText();
  auto order = [&] {
    std::vector<int> indices;
    for (const TextItem& i : doc().TextItems()) indices.push_back(i.Index);
    return indices;
  };
  EXPECT_EQ(order(), (std::vector<int>{1, 2, 3}));
  w().document().Select(1);
  w().ShowSelection();
  QTest::mouseClick(w().cmdBringToFront, Qt::LeftButton);
  EXPECT_EQ(order(), (std::vector<int>{2, 3, 1}));
  w().document().Select(3);
  w().ShowSelection();
  QTest::mouseClick(w().cmdSendToBack, Qt::LeftButton);
  EXPECT_EQ(order(), (std::vector<int>{3, 2, 1}));
  w().document().Select(2);
  w().ShowSelection();
  QTest::mouseClick(w().cmdDelete, Qt::LeftButton);
  EXPECT_EQ(order(), (std::vector<int>{3, 1}));
  EXPECT_EQ(doc().CurrentIndex(), 0);
  EXPECT_TRUE(w().cmdDelete->Disabled());
  insertText();
  EXPECT_EQ(order(), (std::vector<int>{3, 1, 2}));  // the freed index comes back, on top
  QTest::keyClick(w().txtCaption, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(w().txtCaption, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(order(), (std::vector<int>{3, 2, 1}));
}

TEST_F(EditingTest, GrowAndShrinkWalkTheSizeList) {
  newDocument();
  insertText();
  QTest::mouseClick(w().vkGrow, Qt::LeftButton);
  EXPECT_FLOAT_EQ(current().FontSize, 10.0f);
  EXPECT_EQ(w().cboSize->currentText(), QStringLiteral("10"));
  QTest::mouseClick(w().vkShrink, Qt::LeftButton);
  QTest::mouseClick(w().vkShrink, Qt::LeftButton);
  EXPECT_FLOAT_EQ(current().FontSize, 8.0f);
  w().cboSize->setCurrentIndex(w().cboSize->count() - 1);
  EXPECT_FLOAT_EQ(current().FontSize, 72.0f);
  EXPECT_TRUE(w().vkGrow->Disabled());
  w().cboSize->setCurrentIndex(0);
  EXPECT_TRUE(w().vkShrink->Disabled());
}

TEST_F(EditingTest, SaveThenOpenGivesTheSameDocument) {
  newDocument();
  insertText();
  QTest::mouseClick(w().vkBold, Qt::LeftButton);
  insertText();
  w().txtCaption->selectAll();
  QTest::keyClicks(w().txtCaption, QStringLiteral("Second"));
  const QString path = dir.filePath(QStringLiteral("saved.lmp"));
  modal.answerFile(path);
  QTest::mouseClick(w().cmdSave, Qt::LeftButton);
  EXPECT_EQ(w().windowTitle(), QStringLiteral("ZEB Lumora - [") + QDir::toNativeSeparators(path) + "]");
  EXPECT_FALSE(doc().Changed());
  EXPECT_FALSE(w().cmdSaveAs->Disabled());
  const Document saved = doc();

  modal.answerFile(path);
  QTest::mouseClick(w().cmdOpen, Qt::LeftButton);
  ASSERT_EQ(doc().TextItems().size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const TextItem& a = saved.TextItems()[i];
    const TextItem& b = doc().TextItems()[i];
    EXPECT_EQ(a.Caption, b.Caption);
    EXPECT_FLOAT_EQ(a.Left, b.Left);
    EXPECT_FLOAT_EQ(a.Top, b.Top);
    EXPECT_EQ(a.FontBold, b.FontBold);
    EXPECT_EQ(a.FontName, b.FontName);
  }
  EXPECT_FALSE(doc().Changed());
  EXPECT_FALSE(w().CanUndo());  // Open starts the history afresh
}

TEST_F(EditingTest, SaveImageWritesAPictureThatDecodes) {
  newDocument();
  insertText();
  const QString name = dir.filePath(QStringLiteral("banner.jpg"));
  modal.answerFile(name);
  QTest::mouseClick(w().cmdSaveImage, Qt::LeftButton);
  ASSERT_EQ(modal.fileDialogs().size(), 1u);
  EXPECT_EQ(modal.fileDialogs()[0].defaultSuffix, QStringLiteral("jpg"));
  EXPECT_TRUE(modal.fileDialogs()[0].confirmOverwrite);
  EXPECT_EQ(modal.fileDialogs()[0].nameFilters.size(), 5);
  QImage exported(name);
  ASSERT_FALSE(exported.isNull());
  EXPECT_EQ(exported.size(), QSize(400, 240));
  EXPECT_TRUE(doc().Changed());
  EXPECT_TRUE(modal.messageBoxes().empty());
  // The next export offers the same name.
  modal.cancelFileDialog();
  QTest::mouseClick(w().cmdSaveImage, Qt::LeftButton);
  EXPECT_EQ(modal.fileDialogs()[1].initialFile, QDir::toNativeSeparators(name));
}

TEST_F(EditingTest, ShortcutsRunOnlyWhatTheCommandAreaOffers) {
  QTest::keyClick(&w(), Qt::Key_T, Qt::ControlModifier);  // no document: Insert Text is not offered
  EXPECT_TRUE(doc().TextItems().empty());
  newDocument();
  QTest::keyClick(&w(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_EQ(doc().TextItems().size(), 1u);
}

TEST_F(EditingTest, SymbolItemGrowsByFivePointsUntilPast85AndLocksTheTextOptions) {
  newDocument();
  modal.onNextWindow([](QDialog& d) {
    auto& map = static_cast<frmCharacterMap&>(d);
    map.SymbolText = QStringLiteral("J");
    map.SymbolFontName = QStringLiteral("Webdings");
    map.SymbolSize = 70;
    map.SymbolColor = 0x00FF00;
    map.SymbolShadow = true;
    map.SymbolShadowColor = 0x404040;
    map.accept();
  });
  QTest::mouseClick(w().cmdSymbol, Qt::LeftButton);
  ASSERT_EQ(doc().TextItems().size(), 1u);
  EXPECT_EQ(current().Caption, "J");
  EXPECT_EQ(current().FontName, "Webdings");
  EXPECT_TRUE(current().Shadow);
  EXPECT_EQ(current().ForeColor, 0x00FF00);
  // A symbol item: no font panel, no caption box (emptied), but the effects and Grow/Shrink.
  EXPECT_FALSE(w().txtCaption->isEnabled());
  EXPECT_TRUE(w().txtCaption->toPlainText().isEmpty());
  EXPECT_TRUE(w().vkBold->Disabled());
  EXPECT_FALSE(w().cboSize->isEnabled());
  EXPECT_FALSE(w().vkShadow->Disabled());
  std::vector<float> sizes;
  for (int i = 0; i < 6 && !w().vkGrow->Disabled(); ++i) {
    QTest::mouseClick(w().vkGrow, Qt::LeftButton);
    sizes.push_back(current().FontSize);
  }
  EXPECT_EQ(sizes, (std::vector<float>{75, 80, 85, 90}));
  EXPECT_TRUE(w().vkGrow->Disabled());
  QTest::mouseClick(w().vkShrink, Qt::LeftButton);
  EXPECT_FLOAT_EQ(current().FontSize, 85.0f);
  EXPECT_FALSE(w().vkGrow->Disabled());
}

TEST_F(EditingTest, ArrowKeysNudgeWhenNoControlUsesThem) {
  newDocument();
  insertText();
  const TextItem before = current();
  // In the caption box the arrows move the cursor.
  QTest::keyClick(w().txtCaption, Qt::Key_Right);
  EXPECT_FLOAT_EQ(current().Left, before.Left);
  // Pressed on the picture, the arrows move the item: 1 pixel, 10 with Shift.
  w().picPicture->setFocus();
  QTest::keyClick(w().picPicture, Qt::Key_Right);
  QTest::keyClick(w().picPicture, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_FLOAT_EQ(current().Left, before.Left + PixelsToTwips(1));
  EXPECT_FLOAT_EQ(current().Top, before.Top + PixelsToTwips(10));
  QTest::keyClick(w().picPicture, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(w().picPicture, Qt::Key_Up);
  EXPECT_FLOAT_EQ(current().Left, before.Left - PixelsToTwips(9));
  EXPECT_FLOAT_EQ(current().Top, before.Top + PixelsToTwips(9));
  w().Undo();
  EXPECT_FLOAT_EQ(current().Top, before.Top + PixelsToTwips(10));
}

TEST_F(EditingTest, APictureLargerThanTheWorkspaceScrollsToEveryEdge) {
  QImage big(1600, 1200, QImage::Format_RGB32);
  big.fill(Qt::darkGreen);
  ASSERT_TRUE(big.save(templatePath));
  newDocument();
  QScrollBar* h = w().hsbWorkspace;
  QScrollBar* v = w().vsbWorkspace;
  ASSERT_TRUE(h->isVisible());
  ASSERT_TRUE(v->isVisible());
  const QRect start = w().picPicture->geometry();
  EXPECT_EQ(start.topLeft(), QPoint(1, 1));  // the top-left corner with its outline
  h->setValue(h->maximum());
  v->setValue(v->maximum());
  const QRect end = w().picPicture->geometry();
  EXPECT_EQ(end.right() + 2, v->x());   // the right edge and its outline just left of the bar
  EXPECT_EQ(end.bottom() + 2, h->y());  // the bottom edge just above the other bar
  EXPECT_EQ(w().shpOutline->geometry(), end.adjusted(-1, -1, 1, 1));
}

TEST_F(EditingTest, APictureThatFitsStaysCentredWithoutScrollBars) {
  newDocument();
  EXPECT_FALSE(w().hsbWorkspace->isVisible());
  EXPECT_FALSE(w().vsbWorkspace->isVisible());
  const QRect r = w().picPicture->geometry();
  EXPECT_NEAR(r.center().x(), w().picWorkspace->width() / 2, 1);
  EXPECT_NEAR(r.center().y(), w().picWorkspace->height() / 2, 1);
}

TEST_F(EditingTest, CancelledCharacterMapAddsNothing) {
  newDocument();
  QTest::mouseClick(w().cmdSymbol, Qt::LeftButton);
  EXPECT_TRUE(doc().TextItems().empty());
  EXPECT_EQ(modal.windows().back(), QStringLiteral("lumora::frmCharacterMap"));
}

TEST_F(EditingTest, FormattingASavedDocumentMakesTheSaveQuestionAskAgain) {
  newDocument();
  insertText();
  modal.answerFile(dir.filePath(QStringLiteral("styled.lmp")));
  QTest::mouseClick(w().cmdSave, Qt::LeftButton);
  ASSERT_FALSE(doc().Changed());
  QTest::mouseClick(w().vkBold, Qt::LeftButton);
  EXPECT_TRUE(doc().Changed());
  modal.answerMessageBox(MsgBox::Cancel);
  w().close();
  EXPECT_TRUE(w().isVisible());
  EXPECT_EQ(modal.messageBoxes().back().text, QStringLiteral("Do you want to save the current image?"));
}

TEST_F(EditingTest, UndoingEverythingReturnsToTheEmptyDocument) {
  newDocument();
  insertText();
  w().txtCaption->selectAll();
  QTest::keyClicks(w().txtCaption, QStringLiteral("abc"));
  QTest::mouseClick(w().vkItalic, Qt::LeftButton);
  int steps = 0;
  while (w().CanUndo() && steps < 50) {
    w().Undo();
    ++steps;
  }
  EXPECT_EQ(steps, 3);  // insert, the typing as one step, italic
  EXPECT_TRUE(doc().TextItems().empty());
  EXPECT_TRUE(w().shpFocus[0]->isHidden());
  while (w().CanRedo()) w().Redo();
  ASSERT_EQ(doc().TextItems().size(), 1u);
  EXPECT_EQ(doc().TextItems()[0].Caption, "abc");
  EXPECT_TRUE(doc().TextItems()[0].FontItalic);
}

}  // namespace
}  // namespace lumora
