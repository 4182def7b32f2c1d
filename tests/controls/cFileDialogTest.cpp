// cFileDialog over the scripted seam: filter conversion, flags, cancel rules, several files.
#include "controls/cFileDialog.h"

#include <gtest/gtest.h>

#include <QDir>

#include "ScriptedModal.h"
#include "base/LumoraError.h"

namespace lumora {
namespace {

using test::ScriptedModal;

const QChar Z(u'\0');

TEST(cFileDialog, FilterBecomesZeroSeparatedWithAnExtraZero) {
  cFileDialog dialog;
  dialog.setFilter(QStringLiteral("Project Files (*.lmp)|*.lmp|All Files|*.*"));
  const QString record = dialog.filterRecord();
  EXPECT_EQ(record, QStringLiteral("Project Files (*.lmp)") + Z + "*.lmp" + Z + "All Files" + Z + "*.*" + Z + Z);
  EXPECT_EQ(record.count(Z), 5);
  EXPECT_EQ(dialog.Filter(), QStringLiteral("Project Files (*.lmp)|*.lmp|All Files|*.*"));
}

TEST(cFileDialog, ColonInADescriptionStaysInIt) {
  cFileDialog dialog;
  dialog.setFilter(QStringLiteral("Pictures: JPEG|*.jpg;*.jpeg"));
  EXPECT_EQ(dialog.filterRecord(), QStringLiteral("Pictures: JPEG") + Z + "*.jpg;*.jpeg" + Z + Z);
  ScriptedModal modal;
  dialog.ShowOpen();
  ASSERT_EQ(modal.fileDialogs().size(), 1u);
  EXPECT_EQ(modal.fileDialogs()[0].nameFilters, QStringList{QStringLiteral("Pictures: JPEG (*.jpg *.jpeg)")});
}

TEST(cFileDialog, OpenPassesPropertiesAndFlags) {
  ScriptedModal modal;
  cFileDialog dialog;
  dialog.setFilter(QStringLiteral("JPEG|*.jpg|GIF|*.gif|Bitmap|*.bmp"));
  dialog.setFilterIndex(2);
  dialog.setDialogTitle(QStringLiteral("Open Project"));
  dialog.setInitDir(QStringLiteral("/tmp"));
  dialog.setDefaultExt(QStringLiteral("lmp"));
  dialog.setFileName(QStringLiteral("start.lmp"));
  dialog.setFlags(cFileDialog::HideReadOnly | cFileDialog::FileMustExist);
  modal.answerFile(QStringLiteral("/data/a b/chosen.lmp"));
  dialog.ShowOpen();
  const FileDialogRequest& r = modal.fileDialogs().at(0);
  EXPECT_EQ(r.kind, FileDialogRequest::Kind::Open);
  EXPECT_EQ(r.title, QStringLiteral("Open Project"));
  EXPECT_EQ(r.initialFolder, QStringLiteral("/tmp"));
  EXPECT_EQ(r.initialFile, QStringLiteral("start.lmp"));
  EXPECT_EQ(r.filterIndex, 1);
  EXPECT_EQ(r.nameFilters.size(), 3);
  EXPECT_EQ(r.defaultSuffix, QStringLiteral("lmp"));
  EXPECT_TRUE(r.fileMustExist);
  EXPECT_FALSE(r.multipleFiles);
  EXPECT_FALSE(r.confirmOverwrite);
  EXPECT_EQ(dialog.FileName(), QDir::toNativeSeparators(QStringLiteral("/data/a b/chosen.lmp")));
  EXPECT_EQ(dialog.recordFlags(), cFileDialog::HideReadOnly | cFileDialog::FileMustExist);
}

TEST(cFileDialog, CancelledOpenRaisesOnlyWithCancelError) {
  ScriptedModal modal;
  cFileDialog dialog;
  dialog.setFileName(QStringLiteral("keep.lmp"));
  modal.cancelFileDialog();
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName(), QStringLiteral("keep.lmp"));

  dialog.setCancelError(true);
  modal.cancelFileDialog();
  try {
    dialog.ShowOpen();
    FAIL() << "no error raised";
  } catch (const LumoraError& e) {
    EXPECT_EQ(e.number(), 32755);
    EXPECT_EQ(e.description(), "User selected cancel.");
    EXPECT_TRUE(QString::fromStdString(e.source()).endsWith(QStringLiteral(".cFileDialog")));
  }
  EXPECT_EQ(dialog.FileName(), QStringLiteral("keep.lmp"));
}

TEST(cFileDialog, CancelledSaveEmptiesTheNameWithCancelErrorAndNeverRaises) {
  ScriptedModal modal;
  cFileDialog dialog;
  dialog.setFileName(QStringLiteral("keep.jpg"));
  modal.cancelFileDialog();
  dialog.ShowSave();
  EXPECT_EQ(dialog.FileName(), QStringLiteral("keep.jpg"));
  dialog.setCancelError(true);
  modal.cancelFileDialog();
  EXPECT_NO_THROW(dialog.ShowSave());
  EXPECT_TRUE(dialog.FileName().isEmpty());
}

TEST(cFileDialog, SaveWithOverwritePrompt) {
  ScriptedModal modal;
  cFileDialog dialog;
  dialog.setFlags(cFileDialog::OverwritePrompt | cFileDialog::HideReadOnly);
  dialog.setDefaultExt(QStringLiteral("jpg"));
  modal.answerFile(QStringLiteral("/out/banner.jpg"));
  dialog.ShowSave();
  const FileDialogRequest& r = modal.fileDialogs().at(0);
  EXPECT_EQ(r.kind, FileDialogRequest::Kind::Save);
  EXPECT_TRUE(r.confirmOverwrite);
  EXPECT_EQ(r.defaultSuffix, QStringLiteral("jpg"));
  EXPECT_EQ(dialog.FileName(), QDir::toNativeSeparators(QStringLiteral("/out/banner.jpg")));
}

TEST(cFileDialog, SaveIgnoresMultiSelect) {
  ScriptedModal modal;
  cFileDialog dialog;
  dialog.setFlags(cFileDialog::AllowMultiSelect);
  dialog.ShowSave();
  EXPECT_FALSE(modal.fileDialogs().at(0).multipleFiles);
  EXPECT_EQ(dialog.recordFlags(), cFileDialog::AllowMultiSelect);
}

TEST(cFileDialog, SeveralFilesComeBackZeroSeparatedAndParse) {
  ScriptedModal modal;
  cFileDialog dialog;
  dialog.setFlags(cFileDialog::AllowMultiSelect);
  modal.answerFileDialog({true, {QStringLiteral("/pics/one.jpg"), QStringLiteral("/pics/two words.jpg")}});
  dialog.ShowOpen();
  EXPECT_TRUE(modal.fileDialogs().at(0).multipleFiles);
  EXPECT_EQ(dialog.recordFlags(), cFileDialog::AllowMultiSelect | cFileDialog::Explorer);
  const QString folder = QDir::toNativeSeparators(QStringLiteral("/pics"));
  EXPECT_EQ(dialog.FileName(), folder + Z + "one.jpg" + Z + "two words.jpg" + Z + Z);
  QString parsedFolder;
  QStringList names;
  int count = 0;
  dialog.ParseMultiFileName(parsedFolder, names, count);
  EXPECT_EQ(parsedFolder, folder);
  EXPECT_EQ(names, (QStringList{QStringLiteral("one.jpg"), QStringLiteral("two words.jpg")}));
  EXPECT_EQ(count, 2);
}

TEST(cFileDialog, OneFileOfSeveralIsAPlainPath) {
  ScriptedModal modal;
  cFileDialog dialog;
  dialog.setFlags(cFileDialog::AllowMultiSelect);
  modal.answerFile(QStringLiteral("/pics/one.jpg"));
  dialog.ShowOpen();
  EXPECT_FALSE(dialog.FileName().contains(Z));
}

struct ParseCase {
  const char* fileName;
  const char* folder;
  const char* entry;
};

class ParseSingle : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSingle, SplitsFolderAndName) {
  cFileDialog dialog;
  dialog.setFileName(QString::fromUtf8(GetParam().fileName));
  QString folder = QStringLiteral("stale");
  QStringList names{QStringLiteral("stale")};
  int count = 0;
  dialog.ParseMultiFileName(folder, names, count);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(folder, QString::fromUtf8(GetParam().folder));
  EXPECT_EQ(names, QStringList{QString::fromUtf8(GetParam().entry)});
}

INSTANTIATE_TEST_SUITE_P(cFileDialog, ParseSingle,
                         ::testing::Values(ParseCase{"/home/u/pics/cover.jpg", "/home/u/pics/", "cover.jpg"},
                                           ParseCase{"cover.jpg", "", "cover.jpg"},
                                           ParseCase{"/cover.jpg", "/", "cover.jpg"},
                                           ParseCase{"", "", ""}));

TEST(cFileDialog, ParseStopsAtTheDoubleZero) {
  cFileDialog dialog;
  dialog.setFileName(QStringLiteral("/dir") + Z + "a" + Z + "b" + Z + Z + "junk" + Z + "more");
  QString folder;
  QStringList names;
  int count = 0;
  dialog.ParseMultiFileName(folder, names, count);
  EXPECT_EQ(folder, QStringLiteral("/dir"));
  EXPECT_EQ(names, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
  EXPECT_EQ(count, 2);
}

TEST(cFileDialog, FileTitleReadsBackWhatWasWritten) {
  ScriptedModal modal;
  cFileDialog dialog;
  dialog.setFileTitle(QStringLiteral("title text"));
  modal.answerFile(QStringLiteral("/x/y.lmp"));
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileTitle(), QStringLiteral("title text"));
}

}  // namespace
}  // namespace lumora
