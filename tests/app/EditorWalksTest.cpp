// Walks through the real window with real key presses: a banner from start to finish; what a user
// makes coming back as it was made; the zoom.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QWheelEvent>

#include "../library/TempLibrary.h"
#include "DropFiles.h"
#include "EditorFixture.h"
#include "RenamedTestFont.h"
#include "app/frmExportOptions.h"
#include "compose/DocumentUnits.h"
#include "compose/TemplateLibraries.h"
#include "library/ThumbnailGrid.h"

namespace lumora {
namespace {

using UserJourney = test::EditorTest;
using LostWorkTest = test::EditorTest;
using ZoomTest = test::EditorTest;
using test::FileBytes;
using test::writeFile;

// A banner from start to finish, the way a user makes one: a template picked in the real library
// browser with the keyboard, text typed over two lines, formatted and dragged, exported in every
// format, saved, closed with the save question, reopened, undone and redone.
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

TEST_F(LostWorkTest, ReturnInTheCaptionBoxIsALineBreakOnTheWorkspaceInTheExportAndInTheFile) {
  newDocument();
  insertAndType(QStringLiteral("Fish <3 chips"));
  const int oneLine = w().ItemRect(current()).height();
  QTest::keyClick(w().txtCaption, Qt::Key_Return);
  QTest::keyClicks(w().txtCaption, QStringLiteral("Up to 50% off"));
  EXPECT_EQ(current().Caption, "Fish <3 chips\r\nUp to 50% off");
  EXPECT_GE(w().ItemRect(current()).height(), 2 * oneLine - 2);
  click(w().cmdSaveImage, path("typed.bmp"));
  click(w().cmdSave, path("typed.lmp"));
  EXPECT_TRUE(FileBytes(path("typed.lmp")).contains("<Caption>Fish <3 chips[/nl]Up to 50% off</Caption>\r\n"));

  click(w().cmdOpen, path("typed.lmp"));
  EXPECT_EQ(current().Caption, "Fish <3 chips\r\nUp to 50% off");
  EXPECT_EQ(w().txtCaption->toPlainText(), QStringLiteral("Fish <3 chips\nUp to 50% off"));
  click(w().cmdSaveImage, path("reopened.bmp"));
  EXPECT_EQ(modal.fileDialogs().back().initialFile, QDir::toNativeSeparators(path("typed.bmp")));  // Open keeps it
  EXPECT_EQ(FileBytes(path("reopened.bmp")), FileBytes(path("typed.bmp")));
  w().txtCaption->moveCursor(QTextCursor::End);
  QTest::keyClicks(w().txtCaption, QStringLiteral("!"));
  EXPECT_EQ(current().Caption, "Fish <3 chips\r\nUp to 50% off!");
}

TEST_F(LostWorkTest, TheCaptionBoxDropsOnlySpacesAroundTheCaption) {
  newDocument();
  insertAndType(QStringLiteral("  Sale"));
  QTest::keyClick(w().txtCaption, Qt::Key_Return);
  EXPECT_EQ(current().Caption, "  Sale\r\n");
  insertAndType(QStringLiteral("other"));
  QTest::mouseClick(w().cmdSendToBack, Qt::LeftButton);
  QTest::mouseClick(w().picPicture, Qt::LeftButton, {}, w().ItemRect(*doc().FindItem(1)).center());
  ASSERT_EQ(doc().CurrentIndex(), 1);
  EXPECT_EQ(w().txtCaption->toPlainText(), QStringLiteral("Sale\n"));
  w().txtCaption->moveCursor(QTextCursor::End);
  QTest::keyClicks(w().txtCaption, QStringLiteral("now"));
  EXPECT_EQ(current().Caption, "Sale\r\nnow");
}

TEST_F(LostWorkTest, AnExportedPictureIsNotASavedProject) {
  newDocument();
  insertAndType(QStringLiteral("Banner"));
  writeFile(path("locked.jpg"), "keep");
  ::chmod(path("locked.jpg").toLocal8Bit().constData(), 0444);
  click(w().cmdSaveImage, path("locked.jpg"));
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_EQ(modal.messageBoxes()[0].text, QStringLiteral("The image could not be saved."));
  EXPECT_EQ(FileBytes(path("locked.jpg")), "keep");
  click(w().cmdSaveImage, path("banner.jpg"));
  EXPECT_FALSE(QImage(path("banner.jpg")).isNull());
  EXPECT_TRUE(doc().Changed()) << "so closing asks to save";
}

TEST_F(LostWorkTest, ATemplateThatDoesNotLoadStartsNoDocument) {
  writeFile(path("broken.png"), "not a picture at all");
  writeFile(path("damaged.bmp"), QByteArray("BM\x36\x00\x00\x00", 6));  // a bitmap cut off in its header
  writeFile(path("huge.jpg"), test::JpegClaiming(40000, 40000));

  const std::pair<const char*, const char*> cases[] = {{"broken.png", "it is not a picture this program can read"},
                                                       {"huge.jpg", "the picture is too large (40000 x 40000 pixels)"},
                                                       {"damaged.bmp", "the file is damaged"},
                                                       {"gone.png", "the file was not found"}};
  for (const auto& [file, why] : cases) {
    SCOPED_TRACE(file);
    newDocument(path(file));
    ASSERT_FALSE(modal.messageBoxes().empty());
    EXPECT_EQ(modal.messageBoxes().back().text, QStringLiteral("The picture \"%1\" could not be opened: %2.")
                                                    .arg(QDir::toNativeSeparators(path(file)), why));
    EXPECT_FALSE(doc().DocumentOpen());
    EXPECT_TRUE(w().picWelcome->isVisible());
  }
  newDocument();
  insertAndType(QStringLiteral("kept"));
  modal.answerMessageBox(MsgBox::No);  // the save question
  newDocument(path("broken.png"));
  EXPECT_EQ(doc().TemplateName(), "Covers\\Plain\\cover.png");
  EXPECT_EQ(doc().TextItems().size(), 1u);
}

TEST_F(LostWorkTest, AFailedSaveKeepsTheFileTheWindowNames) {
  newDocument();
  insertAndType(QStringLiteral("Saved once"));
  click(w().cmdSave, path("first.lmp"));
  const QString title = w().windowTitle();
  w().txtCaption->setFocus();  // the user clicks at the end of the caption box
  w().txtCaption->moveCursor(QTextCursor::End);
  QTest::keyClicks(w().txtCaption, QStringLiteral(" more"));
  writeFile(path("locked.lmp"), "keep");
  ::chmod(path("locked.lmp").toLocal8Bit().constData(), 0444);
  click(w().cmdSaveAs, path("locked.lmp"));
  EXPECT_EQ(std::tuple(modal.messageBoxes().back().text, FileBytes(path("locked.lmp")), w().windowTitle(),
                       QString::fromStdString(doc().ProjectPath())),
            std::tuple(QStringLiteral("Error saving file"), QByteArray("keep"), title, path("first.lmp")));
  QTest::mouseClick(w().cmdSave, Qt::LeftButton);  // saves where the title says
  EXPECT_FALSE(doc().Changed());
  EXPECT_TRUE(FileBytes(path("first.lmp")).contains("Saved once more"));
}

TEST_F(LostWorkTest, TheFontListHoldsEachFamilyOnceUnderItsPlainName) {
  // One family from two foundries: the font database tells them apart as "Twin [vendor]".
  const QString other = QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))
                            ? QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf")
                            : QString();
  test::RenamedTestFont first(QStringLiteral("Lumora Twin")), second(QStringLiteral("Lumora Twin"), other);
  if (!first.ok() || !second.ok()) GTEST_SKIP() << "needs two TrueType fonts to rename";
  window = std::make_unique<frmMain>();
  window->show();
  QStringList names;
  for (int i = 0; i < w().cboFont->count(); ++i) names << w().cboFont->itemText(i);
  EXPECT_EQ(names.count(QStringLiteral("Lumora Twin")), 1);
  for (const QString& name : names) EXPECT_FALSE(name.endsWith(u']')) << name.toStdString();
  EXPECT_EQ(names.removeDuplicates(), 0);
}

// The export options from Save Image's file dialog: the JPEG quality, the GIF palette and the PNG's
// transparency chosen there are used by that export and the ones after it; Cancel changes nothing.
TEST_F(LostWorkTest, TheExportOptionsChosenInTheFileDialogAreUsedAndKeptAndCancelKeepsTheOldOnes) {
  SaveExportOptions({});
  newDocument();
  insertAndType(QStringLiteral("Options"));
  for (const char* name : {"default.jpg", "default.gif"}) click(w().cmdSaveImage, path(name));
  const auto choose = [&](int quality, int palette, QPushButton* frmExportOptions::*button) {
    modal.pressFileDialogOptions();
    modal.onNextWindow([=](QDialog& d) {
      auto& options = static_cast<frmExportOptions&>(d);
      options.spnQuality->setValue(quality);
      options.cboPalette->setCurrentIndex(palette);
      QTest::mouseClick(options.*button, Qt::LeftButton);
    });
  };
  choose(40, 1, &frmExportOptions::cmdOK);
  click(w().cmdSaveImage, path("chosen.jpg"));
  click(w().cmdSaveImage, path("chosen.gif"));  // remembered
  choose(100, 0, &frmExportOptions::cmdCancel);
  click(w().cmdSaveImage, path("kept.jpg"));
  EXPECT_LT(FileBytes(path("chosen.jpg")).size() * 2, FileBytes(path("default.jpg")).size());
  EXPECT_NE(FileBytes(path("chosen.gif")), FileBytes(path("default.gif")));
  EXPECT_EQ(FileBytes(path("kept.jpg")), FileBytes(path("chosen.jpg")));
  EXPECT_EQ(LoadExportOptions().JpegQuality, 40);
  QImage clear(40, 20, QImage::Format_ARGB32);
  clear.fill(qRgba(0, 0, 0, 0));
  ASSERT_TRUE(clear.save(path("clear.png")));
  modal.answerMessageBox(MsgBox::No);
  newDocument(path("clear.png"));
  modal.pressFileDialogOptions();
  modal.onNextWindow([](QDialog& d) { static_cast<frmExportOptions&>(d).chkPngAlpha->setChecked(true), d.accept(); });
  click(w().cmdSaveImage, path("clear-out.png"));
  EXPECT_EQ(qAlpha(QImage(path("clear-out.png")).pixel(0, 0)), 0) << "the template's transparency kept";
  SaveExportOptions({});
}

// A picture of the user's dropped on the main window: the save question first, as New has it,
// then a new document on its copy in the user's library, which a saved project finds again.
TEST_F(LostWorkTest, ADroppedPictureStartsADocumentOnItsCopyAfterTheSaveQuestion) {
  QImage photo(320, 96, QImage::Format_RGB32);
  photo.fill(QColor(200, 120, 40));
  ASSERT_TRUE(photo.save(path("beach.png")));
  const auto drop = [&](const QStringList& files) { return test::DropFiles(w(), files); };
  newDocument();
  insertAndType(QStringLiteral("kept"));
  EXPECT_FALSE(drop({path("beach.png"), templatePath})) << "one picture at a time";
  modal.answerMessageBox(MsgBox::Cancel);
  EXPECT_TRUE(drop({path("beach.png")}));
  EXPECT_EQ(modal.messageBoxes().back().text, QStringLiteral("Do you want to save the current image?"));
  EXPECT_EQ(current().Caption, "kept") << "Cancel keeps the document";
  modal.answerMessageBox(MsgBox::No);
  modal.onNextWindow([](QDialog& d) { d.accept(); });  // the category offered: Imported
  drop({path("beach.png")});
  EXPECT_EQ(std::tuple(doc().TemplateName(), doc().TextItems().size(), w().picPicture->size()),
            std::tuple(std::string("My Pictures\\Imported\\beach.png"), size_t(0), photo.size()));
  insertAndType(QStringLiteral("On my photo"));
  click(w().cmdSave, path("mine.lmp"));
  window = std::make_unique<frmMain>();
  const size_t boxes = modal.messageBoxes().size();
  click(w().cmdOpen, path("mine.lmp"));
  EXPECT_EQ(modal.messageBoxes().size(), boxes) << "the template is found in the user's library";
  EXPECT_EQ(w().picPicture->size(), photo.size());
  EXPECT_EQ(QImage(QString::fromStdString((UserTemplateLibrary() / "My Pictures" / "Imported" / "beach.png").string())),
            QImage(path("beach.png")));
}

// The workspace's zoom from the keyboard and the wheel: the steps and their limits, drags in
// pixels of the picture, the point under the pointer held, new text scrolled into view, and an
// export that is the same at every zoom.
TEST_F(ZoomTest, KeysStepBetweenTheLimitsAndTheHelpLineShowsTheZoom) {
  newDocument();
  EXPECT_EQ(w().lblZoom->text(), "Zoom 100 %");
  const std::pair<std::vector<Qt::Key>, int> steps[] = {{{Qt::Key_Plus, Qt::Key_Equal}, 200},
                                                         {{Qt::Key_Minus}, 150},
                                                         {{Qt::Key_0}, 100},
                                                         {std::vector<Qt::Key>(12, Qt::Key_Plus), 800},
                                                         {std::vector<Qt::Key>(12, Qt::Key_Minus), 25}};
  for (const auto& [keys, zoom] : steps) {
    for (Qt::Key k : keys) QTest::keyClick(&w(), k, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(w().picPicture->zoom(), w().picPicture->size(), w().lblZoom->text()),
              std::tuple(zoom, QSize(400, 240) * (zoom / 100.0), QStringLiteral("Zoom %1 %").arg(zoom)));
  }
  QTest::keyClick(&w(), Qt::Key_9, Qt::ControlModifier);  // the largest zoom that shows it all
  const QSize room = w().picWorkspace->size() - QSize(4, 4), fit = QSize(400, 240) * (w().picPicture->zoom() / 100.0),
              over = QSize(400, 240) * ((w().picPicture->zoom() + 1) / 100.0);
  EXPECT_TRUE(room.expandedTo(fit) == room && room.expandedTo(over) != room) << w().picPicture->zoom();
}

TEST_F(ZoomTest, ADragAt200PercentMovesHalfItsScreenPixelsAndTheExportStaysTheSame) {
  newDocument();
  insertAndType(QStringLiteral("Sale"));
  click(w().cmdSaveImage, path("at100.bmp"));
  QTest::keyClick(&w(), Qt::Key_Plus, Qt::ControlModifier);
  QTest::keyClick(&w(), Qt::Key_Plus, Qt::ControlModifier);
  const TextItem before = current();
  drag(w().ItemRect(before).center() * 2, QPoint(30, -12));
  EXPECT_FLOAT_EQ(current().Left, before.Left + 225);
  EXPECT_FLOAT_EQ(current().Top, before.Top - 90);
  const QRect marks = w().shpFocus[0]->geometry(), text = w().ItemRect(current());
  EXPECT_LE((marks.center() / 2 - text.center()).manhattanLength(), 1) << "the focus marks follow the zoom";
  QTest::keyClick(&w(), Qt::Key_Z, Qt::ControlModifier);
  click(w().cmdSaveImage, path("at200.bmp"));
  EXPECT_EQ(FileBytes(path("at200.bmp")), FileBytes(path("at100.bmp")));
}

TEST_F(ZoomTest, TheWheelZoomsAboutThePointerAndNewTextOnALargePictureIsScrolledIntoView) {
  QImage(3000, 2000, QImage::Format_RGB32).save(path("large.png"));
  newDocument(path("large.png"));
  const QPointF pointer(300, 120);  // in the workspace
  const auto underPointer = [&] { return (pointer - QPointF(w().picPicture->pos())) / w().picPicture->scale(); };
  const QPointF held = underPointer();
  QWheelEvent wheel(pointer - QPointF(w().picPicture->pos()), {}, {}, {0, 240}, Qt::NoButton, Qt::ControlModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(w().picPicture, &wheel);
  EXPECT_EQ(w().picPicture->zoom(), 200);
  EXPECT_LE((underPointer() - held).manhattanLength(), 1.0);
  insertText();
  const QRect shown(w().picPicture->mapTo(w().picWorkspace, w().ItemRect(current()).topLeft() * 2),
                    w().ItemRect(current()).size() * 2);
  EXPECT_TRUE(w().picWorkspace->rect().contains(shown)) << "new text at the picture's centre is in view";
}

}  // namespace
}  // namespace lumora
