// cFileDialog over the scripted seam: what the dialog is asked for and what comes back. The real
// dialogs driven with key presses: a name typed without an extension takes the picked filter's and
// the Options button runs; message boxes and the colour dialog answer with what was pressed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "RaisedError.h"
#include "ScriptedModal.h"
#include "controls/ModalSeam.h"
#include "controls/cFileDialog.h"

namespace lumora {
namespace {

TEST(cFileDialog, PassesFilterAndFlagsToTheDialogAndTakesItsAnswer) {
  using D = cFileDialog;
  const struct {
    const char* name;
    bool save;
    const char* filter;
    int flags;
    QStringList nameFilters;
    bool mustExist, overwrite;
  } cases[] = {
      {"open",
       false,
       "Project Files|*.lmp|All Files|*.*",
       D::HideReadOnly | D::FileMustExist,
       {"Project Files (*.lmp)", "All Files (*.*)"},
       true,
       false},
      {"colon and two patterns",
       false,
       "Pictures: JPEG|*.jpg;*.jpeg",
       0,
       {"Pictures: JPEG (*.jpg *.jpeg)"},
       false,
       false},
      {"save", true, "JPEG|*.jpg", D::OverwritePrompt | D::HideReadOnly, {"JPEG (*.jpg)"}, false, true},
  };
  for (const auto& c : cases) {
    test::ScriptedModal modal;
    cFileDialog dialog;
    dialog.setFilter(QString::fromUtf8(c.filter));
    dialog.setFilterIndex(2);
    dialog.setFileName(QStringLiteral("start.lmp"));
    dialog.setFlags(c.flags);
    modal.answerFile(QStringLiteral("/data/a b/chosen.lmp"));
    c.save ? dialog.ShowSave() : dialog.ShowOpen();
    const FileDialogRequest& r = modal.fileDialogs().at(0);
    EXPECT_EQ(r.kind, c.save ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open) << c.name;
    EXPECT_EQ(std::pair(r.initialFile, r.filterIndex), std::pair(QString("start.lmp"), 1)) << c.name;
    EXPECT_EQ(r.nameFilters, c.nameFilters) << c.name;
    EXPECT_EQ(std::pair(r.fileMustExist, r.confirmOverwrite), std::pair(c.mustExist, c.overwrite)) << c.name;
    EXPECT_FALSE(r.multipleFiles) << c.name;
    EXPECT_EQ(dialog.FileName(), QDir::toNativeSeparators(QStringLiteral("/data/a b/chosen.lmp"))) << c.name;
  }
}

// Several files come back as the folder and the bare names, each ended by a zero, which
// ParseMultiFileName splits again; one file, or a plain name, is one entry. Cancel raises or empties.
TEST(cFileDialog, SeveralFilesOneFileAndCancel) {
  test::ScriptedModal modal;
  cFileDialog dialog;
  dialog.setFlags(cFileDialog::AllowMultiSelect);
  modal.answerFileDialog({true, {"/pics/a.png", "/pics/b c.png"}});
  dialog.ShowOpen();
  EXPECT_TRUE(modal.fileDialogs().back().multipleFiles);
  EXPECT_EQ(dialog.recordFlags(), cFileDialog::AllowMultiSelect | cFileDialog::Explorer);
  EXPECT_EQ(dialog.FileName(), QString("/pics") + QChar(0) + "a.png" + QChar(0) + "b c.png" + QChar(0) + QChar(0));
  const std::tuple<QString, QString, QStringList> parses[] = {
      {dialog.FileName(), "/pics", {"a.png", "b c.png"}},
      {"/pics/one.png", "/pics/", {"one.png"}},
      {"bare.png", "", {"bare.png"}},
  };
  for (const auto& [fileName, folder, names] : parses) {
    dialog.setFileName(fileName);
    QString gotFolder;
    QStringList gotNames;
    int count = 0;
    dialog.ParseMultiFileName(gotFolder, gotNames, count);
    EXPECT_EQ(std::tuple(gotFolder, gotNames, count), std::tuple(folder, names, int(names.size())))
        << fileName.toStdString();
  }
  dialog.setCancelError(true);
  modal.answerFileDialog({false, {}});
  EXPECT_EQ(test::RaisedBy([&] { dialog.ShowOpen(); }).number, ErrorNumber::kCancel);
  dialog.setFileName("kept.png");
  modal.answerFileDialog({false, {}});
  dialog.ShowSave();
  EXPECT_TRUE(dialog.FileName().isEmpty());
}

// Each filter shows its pattern once; the Options button runs with the dialog as its owner.
TEST(RealFileDialog, ATypedNameTakesThePickedFiltersExtension) {
  QTemporaryDir dir;
  const QString filter = QStringLiteral(
      "JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|Windows Bitmap Files (*.bmp)|*.bmp|PNG Files (*.png)|*.png|"
      "All Files (*.*)|*.*");
  const struct {
    int downPresses;
    const char* typed;
    const char* saved;
  } cases[] = {{1, "banner", "banner.gif"}, {3, "banner", "banner.png"}, {0, "banner", "banner.jpg"},
               {4, "banner", "banner.jpg"}, {1, "photo.bmp", "photo.bmp"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed + std::string(" after ") + std::to_string(c.downPresses));
    cFileDialog files;
    files.setFilter(filter);
    files.setDefaultExt(QStringLiteral("jpg"));
    files.setCancelError(true);
    files.setFileName(dir.filePath(QStringLiteral("x")));
    QWidget *shown = nullptr, *optionsOwner = nullptr;
    files.setOptionsCommand([&](QWidget* owner) { optionsOwner = owner; });
    QStringList shownFilters;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      shown = dialog;
      for (auto* button : dialog->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("&Options...")) QTest::mouseClick(button, Qt::LeftButton);
      shownFilters = dialog->nameFilters();
      auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_TRUE(types && name);
      for (int i = 0; i < c.downPresses; ++i) QTest::keyClick(types, Qt::Key_Down);
      name->clear();
      QTest::keyClicks(name, QString::fromLatin1(c.typed));
      QTest::keyClick(name, Qt::Key_Return);
    });
    files.ShowSave();
    EXPECT_EQ(shownFilters.value(0), QStringLiteral("JPG Files (*.jpg)"));
    EXPECT_EQ(shownFilters.value(4), QStringLiteral("All Files (*.*)"));
    EXPECT_EQ(QFileInfo(files.FileName()).fileName(), QString::fromLatin1(c.saved));
    EXPECT_EQ(optionsOwner, shown);
  }
}

// A place whose name is longer than the places list left by the last dialog (as Qt keeps it in
// its settings) widens the list to the whole name, with no scroll bar. Where the screen has room
// the window grows by as much, so the file list keeps the width it has beside a short name;
// where it has not, the list takes up to a third of the window. A very long name elides.
TEST(RealFileDialog, PlacesWidenToTheirLongestNameUpToAThirdOfTheWindow) {
  QTemporaryDir root;
  const bool roomy = QGuiApplication::primaryScreen()->availableGeometry().width() >= 1200;
  int besideShortName = 0;
  for (const int length : {2, 16, 160}) {
    SCOPED_TRACE(length);
    const QString place = root.filePath(QString(length, QLatin1Char('p')));
    ASSERT_TRUE(QDir().mkpath(place));
    {
      QSettings qt(QSettings::UserScope, QStringLiteral("QtProject"));
      qt.beginGroup(QStringLiteral("FileDialog"));
      qt.setValue(QStringLiteral("shortcuts"), QStringList{QStringLiteral("file:"), QUrl::fromLocalFile(place).toString()});
      qt.setValue(QStringLiteral("sidebarWidth"), 90);
    }
    int shown = 0, names = 0, files = 0, window = 0;
    bool scrolls = true;
    QTimer::singleShot(0, [&] {
      QTimer::singleShot(0, [&] {  // after the dialog's own first look at its places
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* places = dialog->findChild<QListView*>(QStringLiteral("sidebar"));
        auto* splitter = dialog->findChild<QSplitter*>(QStringLiteral("splitter"));
        ASSERT_TRUE(places && splitter);
        shown = places->viewport()->width();
        names = places->sizeHintForColumn(0);
        files = splitter->sizes().value(1);
        window = splitter->sizes().value(0) + files;
        scrolls = places->horizontalScrollBar()->isVisible();
        dialog->reject();
      });
    });
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.initialFolder = root.path();
    EXPECT_FALSE(Modal().fileDialog(request).accepted);
    EXPECT_FALSE(scrolls);
    if (length == 2) besideShortName = files;
    EXPECT_EQ(shown >= names, length < 160) << "whole, or elided past the widest list: " << shown << " of " << names;
    if (roomy) {
      EXPECT_EQ(files, besideShortName) << "the window grew instead";
    } else {
      EXPECT_LE(window - files, std::max(window / 3, 90 + 20));
    }
  }
}

// Presses the button of the open message box whose role is `pressed` (or closes it) once it shows.
void Answer(QMessageBox::StandardButton pressed, QMessageBox::Icon* icon, int* buttons) {
  QTimer::singleShot(0, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    *icon = box->icon();
    *buttons = static_cast<int>(box->buttons().size());
    if (pressed == QMessageBox::NoButton) {
      box->reject();
    } else {
      QTest::mouseClick(box->button(pressed), Qt::LeftButton);
    }
  });
}

TEST(RealMessageBox, OffersTheButtonsOfItsStyleAndAnswersWithThePressedOne) {
  const struct {
    int style;
    QMessageBox::StandardButton pressed;
    int answer, buttons;
    QMessageBox::Icon icon;
  } cases[] = {
      {MsgBox::OKOnly | MsgBox::Critical, QMessageBox::Ok, MsgBox::OK, 1, QMessageBox::Critical},
      {MsgBox::OKCancel | MsgBox::Question, QMessageBox::Cancel, MsgBox::Cancel, 2, QMessageBox::Question},
      {MsgBox::AbortRetryIgnore | MsgBox::Exclamation, QMessageBox::Retry, MsgBox::Retry, 3, QMessageBox::Warning},
      {MsgBox::YesNoCancel | MsgBox::Information, QMessageBox::No, MsgBox::No, 3, QMessageBox::Information},
      {MsgBox::YesNo, QMessageBox::Yes, MsgBox::Yes, 2, QMessageBox::NoIcon},
      {MsgBox::RetryCancel, QMessageBox::NoButton, MsgBox::Cancel, 2, QMessageBox::NoIcon},  // closed
  };
  for (const auto& c : cases) {
    QMessageBox::Icon icon{};
    int buttons = 0;
    Answer(c.pressed, &icon, &buttons);
    EXPECT_EQ(MsgBoxShow(nullptr, QStringLiteral("Sure?"), c.style), c.answer) << c.style;
    EXPECT_EQ(std::pair(icon, buttons), std::pair(c.icon, c.buttons)) << c.style;
  }
}

TEST(RealColourDialog, StartsAtTheGivenColourAndGivesThePickedOneOrNone) {
  for (const bool accept : {true, false}) {
    QColor shown;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      shown = dialog->currentColor();
      dialog->setCurrentColor(QColor(10, 20, 30));
      accept ? dialog->accept() : dialog->reject();
    });
    EXPECT_EQ(Modal().colorDialog(nullptr, 0x0000FF, true), accept ? 0x1E140A : -1);
    EXPECT_EQ(shown, QColor(255, 0, 0));
  }
}

}  // namespace
}  // namespace lumora
