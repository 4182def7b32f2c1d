// What a user makes must come back as it was made: line breaks typed in the caption box, the save
// question after an export, a template that did not load, failed saves, protected files, the font
// names a project stores, the export options chosen and the pictures dropped. Each walks the real
// window with real key presses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QPushButton>
#include <QSpinBox>

#include "../library/TempLibrary.h"
#include "DropFiles.h"
#include "EditorFixture.h"
#include "RenamedTestFont.h"
#include "app/frmExportOptions.h"
#include "compose/TemplateLibraries.h"

namespace lumora {
namespace {

using LostWorkTest = test::EditorTest;
using test::readFile;
using test::writeFile;

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
  EXPECT_TRUE(readFile(path("typed.lmp")).contains("<Caption>Fish <3 chips[/nl]Up to 50% off</Caption>\r\n"));

  click(w().cmdOpen, path("typed.lmp"));
  EXPECT_EQ(current().Caption, "Fish <3 chips\r\nUp to 50% off");
  EXPECT_EQ(w().txtCaption->toPlainText(), QStringLiteral("Fish <3 chips\nUp to 50% off"));
  click(w().cmdSaveImage, path("reopened.bmp"));
  EXPECT_EQ(modal.fileDialogs().back().initialFile, QDir::toNativeSeparators(path("typed.bmp")));  // Open keeps it
  EXPECT_EQ(readFile(path("reopened.bmp")), readFile(path("typed.bmp")));
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
  EXPECT_EQ(readFile(path("locked.jpg")), "keep");
  click(w().cmdSaveImage, path("banner.jpg"));
  EXPECT_FALSE(QImage(path("banner.jpg")).isNull());
  EXPECT_TRUE(doc().Changed()) << "so closing asks to save";
}

TEST_F(LostWorkTest, ATemplateThatDoesNotLoadStartsNoDocument) {
  writeFile(path("broken.png"), "not a picture at all");
  writeFile(path("damaged.bmp"), QByteArray("BM\x36\x00\x00\x00", 6));  // a bitmap cut off in its header
  writeFile(path("huge.jpg"), test::JpegClaiming(40000, 40000));

  const struct {
    const char* file;
    const char* why;
  } cases[] = {{"broken.png", "it is not a picture this program can read"},
               {"huge.jpg", "the picture is too large (40000 x 40000 pixels)"},
               {"damaged.bmp", "the file is damaged"},
               {"gone.png", "the file was not found"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    newDocument(path(c.file));
    ASSERT_FALSE(modal.messageBoxes().empty());
    EXPECT_EQ(modal.messageBoxes().back().text, QStringLiteral("The picture \"%1\" could not be opened: %2.")
                                                    .arg(QDir::toNativeSeparators(path(c.file)), c.why));
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
  EXPECT_EQ(modal.messageBoxes().back().text, QStringLiteral("Error saving file"));
  EXPECT_EQ(readFile(path("locked.lmp")), "keep");
  EXPECT_EQ(w().windowTitle(), title);
  EXPECT_EQ(QString::fromStdString(doc().ProjectPath()), path("first.lmp"));
  QTest::mouseClick(w().cmdSave, Qt::LeftButton);  // saves where the title says
  EXPECT_FALSE(doc().Changed());
  EXPECT_TRUE(readFile(path("first.lmp")).contains("Saved once more"));
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
  EXPECT_LT(test::readFile(path("chosen.jpg")).size() * 2, test::readFile(path("default.jpg")).size());
  EXPECT_NE(test::readFile(path("chosen.gif")), test::readFile(path("default.gif")));
  EXPECT_EQ(test::readFile(path("kept.jpg")), test::readFile(path("chosen.jpg")));
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
  EXPECT_EQ(doc().TemplateName(), "My Pictures\\Imported\\beach.png");
  EXPECT_TRUE(doc().TextItems().empty());
  EXPECT_EQ(w().picPicture->size(), photo.size());
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

}  // namespace
}  // namespace lumora
