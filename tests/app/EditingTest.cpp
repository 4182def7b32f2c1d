// Editing on the real main window: a template from the (scripted) library, text items inserted,
// typed, styled, dragged, restacked, deleted, undone, saved, reopened and exported.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QWheelEvent>
#include <QPushButton>

#include "EditorFixture.h"
#include "colour/frmColorPicker.h"
#include "compose/DocumentUnits.h"
#include "compose/TextLayout.h"

namespace lumora {
namespace {

using EditingTest = test::EditorTest;

// Every flat button, both lists, the caption box and the context menu entries the user can use.
std::string usable(frmMain& w) {
  QStringList on;
  for (vbkFlat* b : w.findChildren<vbkFlat*>())
    if (!b->Disabled()) on << b->objectName();
  for (QWidget* c :
       std::initializer_list<QWidget*>{w.cboFont, w.cboSize, w.txtCaption, w.spnOutlineWidth, w.spnShadowBlur, w.spnBoxWidth, w.spnArc})
    if (c->isEnabled()) on << c->objectName();
  for (QAction* a : w.mnuContext->actions())
    if (!a->isSeparator() && a->isEnabled()) on << QStringLiteral("menu:") + a->text().remove(u'&').remove(u' ');
  on.sort();
  return on.join(u' ').toStdString();
}

std::string sorted(const QString& names) {
  QStringList list = names.split(u' ', Qt::SkipEmptyParts);
  list.sort();
  return list.join(u' ').toStdString();
}

TEST_F(EditingTest, CommandsFollowTheDocumentAndTheSelection) {
  const QString always = QStringLiteral("cmdNew cmdOpen vbkFlat1 vbkFlat2 vbkFlat3 ");
  const QString document = always + "cmdSave cmdSaveImage cmdAdd cmdSymbol menu:InsertText menu:InsertSymbol ";
  const QString item =
      document +
      "cmdBringToFront cmdSendToBack cmdDelete vkFontColor vkShadow vkShadowColor "
      "vkOutline spnOutlineWidth spnShadowBlur vkFit spnBoxWidth spnArc vkGrow vkShrink menu:BringtoFront menu:SendtoBack menu:Delete ";
  const QString text =
      item + "vkBold vkItalic vkUnderline vkStrikeout vkLeft vkCenter vkRight cboFont cboSize txtCaption";
  const auto insertByShortcut = [&] { QTest::keyClick(&w(), Qt::Key_T, Qt::ControlModifier); };
  const std::tuple<const char*, std::function<void()>, QString> states[] = {
      {"no document, the shortcut does nothing", insertByShortcut, always},
      {"new document", [&] { newDocument(); }, document},
      {"text item", insertByShortcut, text + " cmdUndo"},
      {"symbol item", [&] { insertSymbol(40); }, item + "cmdUndo"},
      {"clicked beside the items", [&] { clickPicture(QPoint(2, 2)); }, document + "cmdUndo"},
      {"text item selected", [&] { select(doc().TextItems()[0].Index); }, text + " cmdUndo"},
      {"saved", [&] { modal.answerFile(dir.filePath("states.lmp")), click(w().cmdSave); }, text + " cmdSaveAs cmdUndo"},
  };
  for (const auto& [state, reach, expected] : states) {
    reach();
    EXPECT_EQ(usable(w()), sorted(expected)) << state;
    EXPECT_EQ(w().picWelcome->isVisible(), !doc().DocumentOpen()) << state;
  }
  EXPECT_EQ(std::pair(doc().TemplateName(), w().picPicture->size()),
            std::pair(std::string("Covers\\Plain\\cover.png"), QSize(400, 240)));
  // Formatting makes the saved document changed again; Cancel in the save question keeps it.
  click(w().vkBold);
  modal.answerMessageBox(MsgBox::Cancel);
  click(w().cmdNew);
  EXPECT_EQ(modal.messageBoxes().back().text, QStringLiteral("Do you want to save the current image?"));
  EXPECT_EQ(std::pair(doc().TextItems().size(), modal.windows().size()),
            std::pair(size_t(2), size_t(2)));  // library, map
}

TEST_F(EditingTest, InsertedTextIsCentredTypingChangesItsCaptionInOneUndoStepAndSelectingChangesNothing) {
  newDocument();
  insertText();
  EXPECT_EQ(std::pair(current().Caption, current().FontName),
            std::pair(std::string("enter your text"), w().cboFont->currentText().toStdString()));
  EXPECT_FLOAT_EQ(current().FontSize, 9.0f);
  EXPECT_LE((w().ItemRect(current()).center() - QPoint(200, 120)).manhattanLength(), 40);
  insertText();
  type(QStringLiteral("Summer"));
  EXPECT_EQ(current().Caption, "Summer");
  // Drag the second item off the first, then select the first: the box is refilled with its
  // caption and neither item changes.
  drag(centreOf(current()), QPoint(0, 60));
  clickPicture(centreOf(*doc().FindItem(1)));
  EXPECT_EQ(w().txtCaption->toPlainText(), QStringLiteral("enter your text"));
  EXPECT_EQ(std::tie(doc().FindItem(1)->Caption, doc().FindItem(2)->Caption), std::tie("enter your text", "Summer"));
  // Undone all the way: the drag, the typing as one step, the inserts; and redone.
  int steps = 0;
  for (; w().CanUndo() && steps < 50; ++steps) w().Undo();
  EXPECT_EQ(steps, 4);
  EXPECT_TRUE(doc().TextItems().empty() && w().shpFocus[0]->isHidden());
  while (w().CanRedo()) w().Redo();
  EXPECT_EQ(doc().FindItem(2)->Caption, "Summer");
  w().Undo();
  insertText();  // a new edit ends the old future
  EXPECT_FALSE(w().CanRedo());
}

TEST_F(EditingTest, StylesAlignmentShadowAndColoursFollowTheButtonsAndUndo) {
  newDocument();
  insertText();
  const Colour fore = current().ForeColor;
  for (vbkFlat* b : {w().vkBold, w().vkItalic, w().vkUnderline, w().vkStrikeout, w().vkShadow, w().vkRight}) click(b);
  const TextItem& t = current();
  EXPECT_TRUE(t.FontBold && t.FontItalic && t.FontUnderline && t.FontStrikethru && t.Shadow);
  EXPECT_EQ(t.Alignment, TextAlignment::Right);
  EXPECT_TRUE(w().vkBold->Checked() && w().vkRight->Checked() && !w().vkLeft->Checked());
  modal.onNextWindow([](QDialog& d) { static_cast<frmColorPicker&>(d).ResultColor = 0x0000FF, d.accept(); });
  click(w().vkFontColor);
  EXPECT_EQ(current().ForeColor, 0x0000FF);
  EXPECT_EQ(w().picForeColor->palette().color(QPalette::Window), QColor(255, 0, 0));
  const Colour shadow = current().ShadowColor;
  click(w().vkShadowColor);  // the picker is cancelled
  EXPECT_EQ(current().ShadowColor, shadow);
  activate();
  key(Qt::Key_Z), key(Qt::Key_Z);
  EXPECT_EQ(std::pair(current().ForeColor, current().Alignment), std::pair(fore, TextAlignment::Left));
  key(Qt::Key_Z);
  EXPECT_FALSE(current().Shadow || w().vkShadow->Checked());
  key(Qt::Key_Y);
  EXPECT_TRUE(current().Shadow);
}

// Each Effects control is one undo step and follows the selection; the workspace shows exactly
// what the export writes.
TEST_F(EditingTest, EffectsFollowTheirControlsOneUndoStepEachAndTheWorkspaceIsTheExport) {
  newDocument();
  insertText();
  click(w().vkShadow), click(w().vkOutline);
  modal.onNextWindow([](QDialog& d) { static_cast<frmColorPicker&>(d).ResultColor = 0x00FF00, d.accept(); });
  click(w().picOutlineColor);
  activate();
  QTest::keyClick(w().spnOutlineWidth, Qt::Key_Up);
  w().spnShadowBlur->selectAll(), QTest::keyClicks(w().spnShadowBlur, "6"), QTest::keyClick(w().spnShadowBlur, Qt::Key_Return);
  // The item's outline, its colour, width and blur, then the button's and the boxes' states.
  const auto state = [&] {
    return std::tuple(current().Outline, current().OutlineColor, current().OutlineWidth, current().ShadowBlur,
                      w().vkOutline->Checked(), w().spnOutlineWidth->value(), w().spnShadowBlur->value());
  };
  EXPECT_EQ(state(), std::tuple(true, 0x00FF00, 3, 6, true, 3, 6));
  const int index = doc().CurrentIndex();
  clickPicture(QPoint(2, 2));  // no selection marks on the workspace
  modal.answerFile(dir.filePath("effects.bmp"));
  click(w().cmdSaveImage);
  EXPECT_EQ(w().picPicture->grab().toImage().convertToFormat(QImage::Format_RGB32),
            QImage(dir.filePath("effects.bmp")).convertToFormat(QImage::Format_RGB32));
  select(index);
  for (const auto& undone : {std::tuple(true, 0x00FF00, 3, 0, true, 3, 0), std::tuple(true, 0x00FF00, 2, 0, true, 2, 0),
                             std::tuple(true, 0, 2, 0, true, 2, 0), std::tuple(false, 0, 2, 0, false, 2, 0)}) {
    key(Qt::Key_Z);
    EXPECT_EQ(state(), undone);
  }
  EXPECT_TRUE(current().Shadow);
}

// Fit keeps the box the text had; longer text then shrinks into it and wraps, an arc bends it,
// each one undo step, and the workspace is still the export saved from the Arc box.
TEST_F(EditingTest, FitToBoxShrinksLongerTextAndAnArcBendsItAsExported) {
  newDocument();
  insertAndType(QStringLiteral("Sale"));
  w().cboSize->setCurrentIndex(w().cboSize->findText(QStringLiteral("36")));
  const QSize box = w().ItemRect(current()).size();
  click(w().vkFit);
  EXPECT_EQ(std::tuple(current().FitToBox, current().BoxWidth, current().BoxHeight, w().vkFit->Checked(), w().spnBoxWidth->value()),
            std::tuple(true, box.width() * kTwipsPerPixel, box.height() * kTwipsPerPixel, true, box.width()));
  type(QStringLiteral("Summer sale now on"));
  EXPECT_EQ(w().ItemRect(current()).size(), box);
  EXPECT_LT(LayOutText(current()).font.pixelSize(), 48);
  EXPECT_GT(LayOutText(current()).lines.size(), 1u);
  EXPECT_FLOAT_EQ(current().FontSize, 36.0f);  // the item keeps its size: shorter text grows back
  w().spnArc->selectAll(), QTest::keyClicks(w().spnArc, "120"), QTest::keyClick(w().spnArc, Qt::Key_Return);
  EXPECT_EQ(current().Arc, 120);
  modal.answerFile(dir.filePath("bent.bmp"));
  w().spnArc->setFocus();
  QTest::keyClick(w().spnArc, Qt::Key_E, Qt::ControlModifier);  // Save Image, straight from the box
  clickPicture(QPoint(2, 2));
  EXPECT_EQ(w().picPicture->grab().toImage().convertToFormat(QImage::Format_RGB32),
            QImage(dir.filePath("bent.bmp")).convertToFormat(QImage::Format_RGB32));
  w().Undo();
  EXPECT_EQ(current().Arc, 0);
  w().Undo(), w().Undo();  // the typing, then Fit with the box it took
  EXPECT_EQ(std::tuple(current().FitToBox, current().BoxWidth, current().BoxHeight, current().Caption),
            std::tuple(false, 0, 0, std::string("Sale")));
}

TEST_F(EditingTest, ADragMovesTextShadowAndMarksAsOneUndoStepAndAClickOnlySelects) {
  newDocument();
  insertText();
  click(w().vkShadow);
  const TextItem before = current();
  clickPicture(centreOf(before));
  key(Qt::Key_Z);
  EXPECT_FALSE(current().Shadow);  // the click left no step of its own
  key(Qt::Key_Y);
  const QRect marks = w().shpFocus[0]->geometry();
  drag(centreOf(before), QPoint(30, 10));
  EXPECT_FALSE(w().Dragging);
  EXPECT_FLOAT_EQ(current().Left, before.Left + PixelsToTwips(30));
  EXPECT_FLOAT_EQ(current().Top, before.Top + PixelsToTwips(10));
  EXPECT_FLOAT_EQ(current().ShadowLeft() - current().Left, before.ShadowLeft() - before.Left);
  EXPECT_EQ(w().shpFocus[0]->geometry(), marks.translated(30, 10));
  key(Qt::Key_Z);
  EXPECT_EQ(std::tie(current().Left, current().Top, current().Shadow),
            std::tie(before.Left, before.Top, before.Shadow));
}

TEST_F(EditingTest, RightButtonSelectsThenOpensTheMenuWhoseDeleteDeletes) {
  newDocument();
  insertText();
  const TextItem item = current();
  clickPicture({2, 2});
  QTest::mousePress(w().picPicture, Qt::RightButton, {}, QPoint(2, 2));
  EXPECT_TRUE(w().mnuContext->isVisible());
  EXPECT_FALSE(w().mnuDelete->isEnabled() || w().shpFocus[0]->isVisible());
  w().mnuContext->hide();
  QTest::mousePress(w().picPicture, Qt::RightButton, {}, centreOf(item));
  EXPECT_TRUE(doc().CurrentIndex() == item.Index && w().mnuContext->isVisible());
  w().mnuDelete->trigger();
  w().mnuContext->hide();
  EXPECT_TRUE(doc().TextItems().empty());
}

TEST_F(EditingTest, RestackingAndDeletingKeepIndicesAndOrder) {
  newDocument();
  for (int i = 0; i < 3; ++i) insertText();
  const auto order = [&] {
    std::vector<int> indices;
    for (const TextItem& i : doc().TextItems()) indices.push_back(i.Index);
    return indices;
  };
  const std::tuple<int, vbkFlat*, std::vector<int>> steps[] = {
      {1, w().cmdBringToFront, {2, 3, 1}}, {3, w().cmdSendToBack, {3, 2, 1}}, {2, w().cmdDelete, {3, 1}}};
  for (const auto& [selected, button, expected] : steps) {
    select(selected);
    click(button);
    EXPECT_EQ(order(), expected) << button->objectName().toStdString();
  }
  EXPECT_EQ(doc().CurrentIndex(), 0);
  insertText();
  EXPECT_EQ(order(), (std::vector<int>{3, 1, 2}));  // the freed index comes back, on top
  key(Qt::Key_Z), key(Qt::Key_Z);
  EXPECT_EQ(order(), (std::vector<int>{3, 2, 1}));
}

TEST_F(EditingTest, GrowAndShrinkWalkTheSizeListForTextAndFivePointsUntilPast85ForASymbol) {
  newDocument();
  insertText();
  click(w().vkGrow);
  EXPECT_EQ(w().cboSize->currentText(), QStringLiteral("10"));
  click(w().vkShrink), click(w().vkShrink);
  EXPECT_FLOAT_EQ(current().FontSize, 8.0f);
  w().cboSize->setCurrentIndex(w().cboSize->count() - 1);
  EXPECT_TRUE(w().vkGrow->Disabled() && !w().vkShrink->Disabled());
  w().cboSize->setCurrentIndex(0);
  EXPECT_TRUE(w().vkShrink->Disabled() && !w().vkGrow->Disabled());
  click(w().cmdSymbol);  // the character map is cancelled: nothing added
  EXPECT_EQ(doc().TextItems().size(), 1u);
  insertSymbol(70);
  EXPECT_EQ(std::tie(current().Caption, current().FontName), std::tie("J", "Webdings"));
  EXPECT_TRUE(current().Shadow && w().txtCaption->toPlainText().isEmpty());
  std::vector<float> sizes;
  for (int i = 0; i < 6 && !w().vkGrow->Disabled(); ++i) click(w().vkGrow), sizes.push_back(current().FontSize);
  EXPECT_EQ(sizes, (std::vector<float>{75, 80, 85, 90}));
  click(w().vkShrink);
  EXPECT_FALSE(w().vkGrow->Disabled());
  // With a symbol face in the font box, new text takes the last text face.
  w().cboFont->setCurrentIndex(w().cboFont->findText(QStringLiteral("D050000L")));
  insertText();
  EXPECT_EQ(current().FontName, doc().FindItem(1)->FontName);
}

// A sign of a Linux dingbat face, chosen in the character map with the mouse.
TEST_F(EditingTest, AFloralHeartFromD050000LIsASymbolItemAndComesBackFromTheFile) {
  const QString project = path("heart.lmp");
  newDocument();
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
  click(w().cmdSymbol);
  ASSERT_EQ(doc().TextItems().size(), 1u);
  EXPECT_EQ(current().Caption, heart.toStdString());
  EXPECT_EQ(current().FontName, "D050000L");
  // A symbol item: the text options are locked and Grow adds five points.
  EXPECT_FALSE(w().txtCaption->isEnabled());
  EXPECT_TRUE(w().vkBold->Disabled());
  click(w().vkGrow);
  EXPECT_FLOAT_EQ(current().FontSize, 25.0f);
  // The font list names it in the list's own font, an ordinary family in its face.
  EXPECT_EQ(w().m_fontListLook.itemFont(QStringLiteral("D050000L")).family(), w().cboFont->font().family());
  EXPECT_EQ(w().m_fontListLook.itemFont(QStringLiteral("DejaVu Serif")).family(), QStringLiteral("DejaVu Serif"));

  click(w().cmdSave, project);
  click(w().cmdOpen, project);
  ASSERT_EQ(doc().TextItems().size(), 1u);
  EXPECT_EQ(doc().TextItems().front().Caption, heart.toStdString());
}

// A picture larger than the workspace gets scroll bars and the wheel scrolls it; arrow keys no
// control takes nudge the item a pixel, ten with Shift, each one undo step.
TEST_F(EditingTest, ALargePictureScrollsAndArrowKeysNudgeTheItem) {
  const QString large = path("large.png");
  QImage(3000, 2000, QImage::Format_RGB32).save(large);
  newDocument(large);
  ASSERT_TRUE(w().hsbWorkspace->isVisible() && w().vsbWorkspace->isVisible());
  const int top = w().picPicture->y();
  QWheelEvent wheel(QPointF(50, 50), w().picWorkspace->mapToGlobal(QPointF(50, 50)), {}, {0, -120}, Qt::NoButton, {},
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(w().picWorkspace, &wheel);
  EXPECT_GT(w().vsbWorkspace->value(), 0);
  EXPECT_EQ(w().picPicture->y(), top - w().vsbWorkspace->value());
  insertText();
  const TextItem before = current();
  QTest::keyClick(&w(), Qt::Key_Right);
  QTest::keyClick(&w(), Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_FLOAT_EQ(current().Left, before.Left + PixelsToTwips(1));
  EXPECT_FLOAT_EQ(current().Top, before.Top + PixelsToTwips(10));
  key(Qt::Key_Z);
  EXPECT_FLOAT_EQ(current().Top, before.Top);
  EXPECT_FLOAT_EQ(current().Left, before.Left + PixelsToTwips(1));
}

}  // namespace
}  // namespace lumora
