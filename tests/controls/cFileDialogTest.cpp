// cFileDialog over the scripted seam: what the dialog is asked for and what comes back.
#include "controls/cFileDialog.h"

#include <gtest/gtest.h>

#include <QDir>

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

}  // namespace
}  // namespace lumora
