// cFileDialog over the scripted seam: what the dialog is asked for and what comes back.
#include "controls/cFileDialog.h"

#include <gtest/gtest.h>

#include <QDir>

#include "RaisedError.h"
#include "ScriptedModal.h"

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

}  // namespace
}  // namespace lumora
