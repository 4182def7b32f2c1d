// Editing on the real main window: a template from the (scripted) library, text items inserted,
// typed, styled, dragged, restacked, deleted, undone, saved, reopened and exported.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
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

class EditingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    templatePath = dir.filePath(QStringLiteral("cover.png"));
    makeTemplate(QSize(400, 240));
    openWindow();
  }
  void TearDown() override { window->document().SetChanged(false); }

  void makeTemplate(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(40, 90, 160));
    ASSERT_TRUE(picture.save(templatePath));
  }
  void openWindow() {
    if (window) window->document().SetChanged(false);
    window = std::make_unique<frmMain>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    activate();
  }
  // The window manager gives the activation back when a modal window closes; here the test does.
  void activate() {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  frmMain& w() { return *window; }
  const Document& doc() { return window->document(); }
  const TextItem& current() { return *doc().CurrentItem(); }

  void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
  void clickPicture(QPoint at) { QTest::mouseClick(w().picPicture, Qt::LeftButton, {}, at); }
  void undo() { QTest::keyClick(w().txtCaption, Qt::Key_Z, Qt::ControlModifier); }
  void drag(QPoint from, QPoint by) {
    QTest::mousePress(w().picPicture, Qt::LeftButton, {}, from);
    QTest::mouseMove(w().picPicture, from + by / 3);
    QTest::mouseMove(w().picPicture, from + by);
    QTest::mouseRelease(w().picPicture, Qt::LeftButton, {}, from + by);
  }
  void newDocument() {
    modal.onNextWindow([this](QDialog& d) {
      auto& browser = static_cast<frmChooseClipart&>(d);
      browser.TemplatePath = templatePath;
      browser.TemplateRelativePath = QStringLiteral("Covers\\Plain\\cover.png");
      browser.accept();
    });
    click(w().cmdNew);
    activate();
  }
  void insertText() { click(w().cmdAdd); }
  void insertSymbol(float size) {
    modal.onNextWindow([size](QDialog& d) {
      auto& map = static_cast<frmCharacterMap&>(d);
      map.SymbolText = QStringLiteral("J");
      map.SymbolFontName = QStringLiteral("Webdings");
      map.SymbolSize = size;
      map.SymbolColor = 0x00FF00;
      map.SymbolShadow = true;
      map.accept();
    });
    click(w().cmdSymbol);
  }
  void select(int index) {
    w().document().Select(index);
    w().ShowSelection();
  }
  QPoint centreOf(const TextItem& item) { return w().ItemRect(item).center(); }
  std::vector<int> order() {
    std::vector<int> indices;
    for (const TextItem& i : doc().TextItems()) indices.push_back(i.Index);
    return indices;
  }

  // Every flat button, both lists, the caption box and the context menu entries the user can use.
  std::string usable() {
    QStringList on;
    for (vbkFlat* b : w().findChildren<vbkFlat*>())
      if (!b->Disabled()) on << b->objectName();
    for (QWidget* c : std::initializer_list<QWidget*>{w().cboFont, w().cboSize, w().txtCaption})
      if (c->isEnabled()) on << c->objectName();
    for (QAction* a : w().mnuContext->actions())
      if (!a->isSeparator() && a->isEnabled()) on << QStringLiteral("menu:") + a->text().remove(u'&').remove(u' ');
    on.sort();
    return on.join(u' ').toStdString();
  }

  test::ScriptedModal modal;
  QTemporaryDir dir;
  QString templatePath;
  std::unique_ptr<frmMain> window;
};

std::string sorted(const QString& names) {
  QStringList list = names.split(u' ', Qt::SkipEmptyParts);
  list.sort();
  return list.join(u' ').toStdString();
}

TEST_F(EditingTest, CommandsFollowTheDocumentAndTheSelection) {
  const QString always = QStringLiteral("cmdNew cmdOpen vbkFlat1 vbkFlat2 vbkFlat3 ");
  const QString document = always + "cmdSave cmdSaveImage cmdAdd cmdSymbol menu:InsertText menu:InsertSymbol ";
  const QString item = document + "cmdBringToFront cmdSendToBack cmdDelete vkFontColor vkShadow vkShadowColor "
                                  "vkGrow vkShrink menu:BringtoFront menu:SendtoBack menu:Delete ";
  const QString text = item + "vkBold vkItalic vkUnderline vkStrikeout vkLeft vkCenter vkRight cboFont cboSize txtCaption";
  const struct {
    const char* state;
    std::function<void()> reach;
    QString expected;
  } states[] = {
      {"no document", [] {}, always},
      {"new document", [&] {
         newDocument();
         EXPECT_EQ(w().windowTitle(), QStringLiteral("ZEB Lumora - [untitled]"));
       }, document},
      {"text item", [&] { insertText(); }, text},
      {"symbol item", [&] { insertSymbol(40); }, item},
      {"clicked beside the items", [&] { clickPicture({2, 2}); }, document},
      {"text item selected", [&] { select(doc().TextItems()[0].Index); }, text},
      {"saved", [&] {
         modal.answerFile(dir.filePath(QStringLiteral("states.lmp")));
         click(w().cmdSave);
       }, text + " cmdSaveAs"},
  };
  for (const auto& s : states) {
    s.reach();
    EXPECT_EQ(usable(), sorted(s.expected)) << s.state;
    EXPECT_EQ(w().picWelcome->isVisible(), !doc().DocumentOpen()) << s.state;
  }
  EXPECT_EQ(doc().TemplateName(), "Covers\\Plain\\cover.png");
  EXPECT_EQ(w().picPicture->size(), QSize(400, 240));
  // Formatting makes the saved document changed again; Cancel in the save question keeps it.
  click(w().vkBold);
  modal.answerMessageBox(MsgBox::Cancel);
  click(w().cmdNew);
  EXPECT_EQ(modal.messageBoxes().back().text, QStringLiteral("Do you want to save the current image?"));
  EXPECT_EQ(doc().TextItems().size(), 2u);
  EXPECT_EQ(modal.windows().size(), 2u);  // the library and the character map, once each
}

TEST_F(EditingTest, InsertedTextIsCentredAndTypingChangesItsCaptionButSelectingDoesNot) {
  newDocument();
  insertText();
  EXPECT_EQ(current().Caption, "enter your text");
  EXPECT_EQ(current().FontName, w().cboFont->currentText().toStdString());
  EXPECT_FLOAT_EQ(current().FontSize, 9.0f);
  const QRect r = w().ItemRect(current());
  EXPECT_NEAR(r.center().x(), 200, 40);
  EXPECT_NEAR(r.center().y(), 120, 40);
  EXPECT_TRUE(w().shpFocus[0]->isVisible() && w().shpFocus[0]->geometry().contains(r));
  insertText();
  const int second = doc().CurrentIndex();
  w().txtCaption->setFocus();
  w().txtCaption->selectAll();
  QTest::keyClicks(w().txtCaption, QStringLiteral("Summer"));
  EXPECT_EQ(doc().FindItem(second)->Caption, "Summer");
  // Drag the second item off the first, then select the first: the box is refilled with its
  // caption and neither item changes.
  drag(centreOf(current()), QPoint(0, 60));
  clickPicture(centreOf(*doc().FindItem(1)));
  EXPECT_EQ(doc().CurrentIndex(), 1);
  EXPECT_EQ(w().txtCaption->toPlainText(), QStringLiteral("enter your text"));
  EXPECT_EQ(doc().FindItem(second)->Caption, "Summer");
  EXPECT_EQ(doc().FindItem(1)->Caption, "enter your text");
}

TEST_F(EditingTest, StylesAlignmentAndShadowFollowTheButtonsAndUndo) {
  newDocument();
  insertText();
  for (vbkFlat* b : {w().vkBold, w().vkItalic, w().vkUnderline, w().vkStrikeout, w().vkShadow}) click(b);
  const auto styles = [&] {
    const TextItem& t = current();
    return std::vector<bool>{t.FontBold, t.FontItalic, t.FontUnderline, t.FontStrikethru, t.Shadow};
  };
  EXPECT_EQ(styles(), std::vector<bool>(5, true));
  EXPECT_TRUE(w().vkBold->Checked());
  click(w().vkRight);
  EXPECT_EQ(current().Alignment, TextAlignment::Right);
  EXPECT_EQ((std::vector<bool>{w().vkLeft->Checked(), w().vkCenter->Checked(), w().vkRight->Checked()}),
            (std::vector<bool>{false, false, true}));
  undo();
  EXPECT_EQ(current().Alignment, TextAlignment::Left);
  undo();
  EXPECT_FALSE(current().Shadow);
  EXPECT_FALSE(w().vkShadow->Checked());
  QTest::keyClick(w().txtCaption, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_TRUE(current().Shadow);
}

TEST_F(EditingTest, ColoursComeFromThePickerAndCancelChangesNothing) {
  newDocument();
  insertText();
  const Colour shadow = current().ShadowColor;
  modal.onNextWindow([](QDialog& d) {
    static_cast<frmColorPicker&>(d).ResultColor = 0x0000FF;
    d.accept();
  });
  click(w().vkFontColor);
  EXPECT_EQ(current().ForeColor, 0x0000FF);
  EXPECT_EQ(w().picForeColor->palette().color(QPalette::Window), QColor(255, 0, 0));
  click(w().vkShadowColor);  // rejected
  EXPECT_EQ(current().ShadowColor, shadow);
  EXPECT_EQ(modal.windows().back(), QStringLiteral("lumora::frmColorPicker"));
}

TEST_F(EditingTest, TheTextItemShowsTheMovePointerAndADragMovesItsShadowAndMarksAsOneUndoStep) {
  newDocument();
  insertText();
  click(w().vkShadow);
  const TextItem before = current();
  // A click without moving only selects.
  clickPicture(centreOf(before));
  EXPECT_EQ(current().Left, before.Left);
  undo();
  EXPECT_FALSE(current().Shadow);  // the click left no step of its own
  QTest::keyClick(w().txtCaption, Qt::Key_Y, Qt::ControlModifier);
  const auto hover = [&](QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, w().picPicture->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(w().picPicture, &move);
    return w().picPicture->cursor().shape();
  };
  EXPECT_EQ(hover(QPoint(1, 1)), Qt::ArrowCursor);
  EXPECT_EQ(hover(centreOf(before)), Qt::SizeAllCursor);
  const QRect marks = w().shpFocus[0]->geometry();
  drag(centreOf(before), QPoint(30, 10));
  EXPECT_FALSE(w().Dragging);
  EXPECT_FLOAT_EQ(current().Left, before.Left + PixelsToTwips(30));
  EXPECT_FLOAT_EQ(current().Top, before.Top + PixelsToTwips(10));
  EXPECT_FLOAT_EQ(current().ShadowLeft() - current().Left, before.ShadowLeft() - before.Left);
  EXPECT_EQ(w().shpFocus[0]->geometry(), marks.translated(30, 10));
  undo();
  EXPECT_FLOAT_EQ(current().Left, before.Left);
  EXPECT_FLOAT_EQ(current().Top, before.Top);
  EXPECT_TRUE(current().Shadow);
}

TEST_F(EditingTest, InsertTextWhileTheListShowsASymbolFontUsesTheLastOrdinaryFontAndSize) {
  // Debian has no symbol fonts: one is registered under the name for the rest of the run.
  static test::RenamedTestFont wingdings;
  if (!wingdings.ok()) GTEST_SKIP() << "no TrueType font to rename";
  openWindow();  // its font list now offers the symbol font
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

TEST_F(EditingTest, RightButtonSelectsThenOpensTheMenu) {
  newDocument();
  insertText();
  const TextItem item = current();
  clickPicture({2, 2});
  EXPECT_FALSE(w().shpFocus[0]->isVisible());
  QTest::mousePress(w().picPicture, Qt::RightButton, {}, QPoint(2, 2));
  EXPECT_TRUE(w().mnuContext->isVisible());
  EXPECT_FALSE(w().mnuDelete->isEnabled());
  w().mnuContext->hide();
  QTest::mousePress(w().picPicture, Qt::RightButton, {}, centreOf(item));
  EXPECT_EQ(doc().CurrentIndex(), item.Index);
  EXPECT_TRUE(w().mnuContext->isVisible());
  w().mnuDelete->trigger();
  w().mnuContext->hide();
  EXPECT_TRUE(doc().TextItems().empty());
}

TEST_F(EditingTest, RestackingAndDeletingKeepIndicesAndOrder) {
  newDocument();
  for (int i = 0; i < 3; ++i) insertText();
  EXPECT_EQ(order(), (std::vector<int>{1, 2, 3}));
  select(1);
  click(w().cmdBringToFront);
  EXPECT_EQ(order(), (std::vector<int>{2, 3, 1}));
  select(3);
  click(w().cmdSendToBack);
  EXPECT_EQ(order(), (std::vector<int>{3, 2, 1}));
  select(2);
  click(w().cmdDelete);
  EXPECT_EQ(order(), (std::vector<int>{3, 1}));
  EXPECT_EQ(doc().CurrentIndex(), 0);
  insertText();
  EXPECT_EQ(order(), (std::vector<int>{3, 1, 2}));  // the freed index comes back, on top
  undo();
  undo();
  EXPECT_EQ(order(), (std::vector<int>{3, 2, 1}));
}

TEST_F(EditingTest, GrowAndShrinkWalkTheSizeList) {
  newDocument();
  insertText();
  click(w().vkGrow);
  EXPECT_FLOAT_EQ(current().FontSize, 10.0f);
  EXPECT_EQ(w().cboSize->currentText(), QStringLiteral("10"));
  click(w().vkShrink);
  click(w().vkShrink);
  EXPECT_FLOAT_EQ(current().FontSize, 8.0f);
  w().cboSize->setCurrentIndex(w().cboSize->count() - 1);
  EXPECT_FLOAT_EQ(current().FontSize, 72.0f);
  EXPECT_TRUE(w().vkGrow->Disabled());
  w().cboSize->setCurrentIndex(0);
  EXPECT_FLOAT_EQ(current().FontSize, 4.0f);
  EXPECT_TRUE(w().vkShrink->Disabled());
}

TEST_F(EditingTest, SaveThenOpenGivesTheSameDocument) {
  newDocument();
  insertText();
  click(w().vkBold);
  insertText();
  w().txtCaption->selectAll();
  QTest::keyClicks(w().txtCaption, QStringLiteral("Second"));
  drag(centreOf(current()), QPoint(15, 40));
  const QString path = dir.filePath(QStringLiteral("saved.lmp"));
  modal.answerFile(path);
  click(w().cmdSave);
  EXPECT_EQ(w().windowTitle(), QStringLiteral("ZEB Lumora - [") + QDir::toNativeSeparators(path) + "]");
  EXPECT_FALSE(doc().Changed());
  const Document saved = doc();

  modal.answerFile(path);
  click(w().cmdOpen);
  ASSERT_EQ(doc().TextItems().size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const TextItem& a = saved.TextItems()[i];
    const TextItem& b = doc().TextItems()[i];
    EXPECT_EQ(std::tie(a.Caption, a.FontName, a.FontBold), std::tie(b.Caption, b.FontName, b.FontBold)) << i;
    EXPECT_FLOAT_EQ(a.Left, b.Left) << i;
    EXPECT_FLOAT_EQ(a.Top, b.Top) << i;
  }
  EXPECT_FALSE(doc().Changed());
  EXPECT_FALSE(w().CanUndo());  // Open starts the history afresh
}

TEST_F(EditingTest, SaveImageWritesAPictureThatDecodes) {
  newDocument();
  insertText();
  const QString name = dir.filePath(QStringLiteral("banner.jpg"));
  modal.answerFile(name);
  click(w().cmdSaveImage);
  ASSERT_EQ(modal.fileDialogs().size(), 1u);
  EXPECT_EQ(modal.fileDialogs()[0].defaultSuffix, QStringLiteral("jpg"));
  EXPECT_TRUE(modal.fileDialogs()[0].confirmOverwrite);
  const QImage exported(name);
  ASSERT_FALSE(exported.isNull());
  EXPECT_EQ(exported.size(), QSize(400, 240));
  EXPECT_TRUE(modal.messageBoxes().empty());
  // The next export offers the same name.
  modal.cancelFileDialog();
  click(w().cmdSaveImage);
  EXPECT_EQ(modal.fileDialogs()[1].initialFile, QDir::toNativeSeparators(name));
}

TEST_F(EditingTest, ShortcutsRunOnlyWhatTheCommandAreaOffers) {
  QTest::keyClick(&w(), Qt::Key_T, Qt::ControlModifier);  // no document: Insert Text is not offered
  EXPECT_TRUE(doc().TextItems().empty());
  newDocument();
  QTest::keyClick(&w(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_EQ(doc().TextItems().size(), 1u);
}

TEST_F(EditingTest, SymbolItemGrowsByFivePointsUntilPast85) {
  newDocument();
  click(w().cmdSymbol);  // cancelled: nothing added
  EXPECT_TRUE(doc().TextItems().empty());
  EXPECT_EQ(modal.windows().back(), QStringLiteral("lumora::frmCharacterMap"));
  insertSymbol(70);
  ASSERT_EQ(doc().TextItems().size(), 1u);
  EXPECT_EQ(std::tie(current().Caption, current().FontName), std::tie("J", "Webdings"));
  EXPECT_TRUE(current().Shadow);
  EXPECT_EQ(current().ForeColor, 0x00FF00);
  EXPECT_TRUE(w().txtCaption->toPlainText().isEmpty());
  std::vector<float> sizes;
  for (int i = 0; i < 6 && !w().vkGrow->Disabled(); ++i) {
    click(w().vkGrow);
    sizes.push_back(current().FontSize);
  }
  EXPECT_EQ(sizes, (std::vector<float>{75, 80, 85, 90}));
  click(w().vkShrink);
  EXPECT_FLOAT_EQ(current().FontSize, 85.0f);
  EXPECT_FALSE(w().vkGrow->Disabled());
}

TEST_F(EditingTest, ArrowKeysNudgeWhenNoControlUsesThem) {
  newDocument();
  insertText();
  const TextItem before = current();
  QTest::keyClick(w().txtCaption, Qt::Key_Right);  // in the caption box the arrows move the cursor
  EXPECT_FLOAT_EQ(current().Left, before.Left);
  // On the picture they move the item: 1 pixel, 10 with Shift.
  w().picPicture->setFocus();
  QTest::keyClick(w().picPicture, Qt::Key_Right);
  QTest::keyClick(w().picPicture, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(w().picPicture, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(w().picPicture, Qt::Key_Up);
  EXPECT_FLOAT_EQ(current().Left, before.Left - PixelsToTwips(9));
  EXPECT_FLOAT_EQ(current().Top, before.Top + PixelsToTwips(9));
  w().Undo();
  EXPECT_FLOAT_EQ(current().Top, before.Top + PixelsToTwips(10));
}

TEST_F(EditingTest, APictureThatFitsIsCentredAndALargerOneScrollsToEveryEdge) {
  newDocument();
  QScrollBar* h = w().hsbWorkspace;
  QScrollBar* v = w().vsbWorkspace;
  EXPECT_FALSE(h->isVisible() || v->isVisible());
  EXPECT_NEAR(w().picPicture->geometry().center().x(), w().picWorkspace->width() / 2, 1);
  EXPECT_NEAR(w().picPicture->geometry().center().y(), w().picWorkspace->height() / 2, 1);

  makeTemplate(QSize(1600, 1200));
  modal.answerMessageBox(MsgBox::No);  // do not save the first one
  newDocument();
  ASSERT_TRUE(h->isVisible() && v->isVisible());
  EXPECT_EQ(w().picPicture->geometry().topLeft(), QPoint(1, 1));  // the top-left corner with its outline
  h->setValue(h->maximum());
  v->setValue(v->maximum());
  const QRect end = w().picPicture->geometry();
  EXPECT_EQ(end.right() + 2, v->x());   // the right edge and its outline just left of the bar
  EXPECT_EQ(end.bottom() + 2, h->y());  // the bottom edge just above the other bar
  EXPECT_EQ(w().shpOutline->geometry(), end.adjusted(-1, -1, 1, 1));
}

TEST_F(EditingTest, UndoingEverythingReturnsToTheEmptyDocument) {
  newDocument();
  insertText();
  w().txtCaption->selectAll();
  QTest::keyClicks(w().txtCaption, QStringLiteral("abc"));
  click(w().vkItalic);
  int steps = 0;
  for (; w().CanUndo() && steps < 50; ++steps) w().Undo();
  EXPECT_EQ(steps, 3);  // insert, the typing as one step, italic
  EXPECT_TRUE(doc().TextItems().empty());
  EXPECT_TRUE(w().shpFocus[0]->isHidden());
  while (w().CanRedo()) w().Redo();
  ASSERT_EQ(doc().TextItems().size(), 1u);
  EXPECT_EQ(current().Caption, "abc");
  EXPECT_TRUE(current().FontItalic);
}

}  // namespace
}  // namespace lumora
