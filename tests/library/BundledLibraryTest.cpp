// The template library shipped with the program: every picture in it shows in the browser without
// a placeholder, it stays small, and its licence file names every picture.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QListWidget>

#include "ScriptedModal.h"
#include "library/ThumbnailCell.h"
#include "library/frmChooseClipart.h"

namespace lumora {
namespace {

// The library beside the program, where the browser looks for it by default (the build puts a
// link to templates/ there), else the one in the source tree.
QString BundledLibrary() {
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/templates");
  if (QDir(beside).exists()) return beside;
  return QDir(qEnvironmentVariable("LUMORA_TEST_DATA") + QStringLiteral("/../../templates")).absolutePath();
}

TEST(BundledLibrary, TheBrowserShowsEveryPictureOfEveryCategory) {
  test::ScriptedModal modal;
  frmChooseClipart::SetLibraryRoot(BundledLibrary());
  frmChooseClipart::LastTypeIndex = frmChooseClipart::LastCategoryIndex = 0;
  int pictures = 0;
  {
    frmChooseClipart browser;
    EXPECT_TRUE(modal.messageBoxes().empty());
    EXPECT_GE(browser.Combo1()->count(), 4);
    for (int t = 0; t < browser.Combo1()->count(); ++t) {
      browser.Combo1()->setCurrentRow(t);
      for (int c = 0; c < browser.combo2()->count(); ++c) {
        browser.combo2()->setCurrentRow(c);
        EXPECT_GE(browser.Files().size(), 6);
        for (int i = 0; i < browser.Files().size(); ++i, ++pictures)
          EXPECT_TRUE(browser.Picture2(i)->isEnabled()) << browser.Files().at(i).toStdString();
      }
    }
  }
  frmChooseClipart::SetLibraryRoot({});
  qint64 bytes = 0;
  for (QDirIterator it(BundledLibrary(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
    bytes += it.nextFileInfo().size();
  EXPECT_LT(bytes, 15 * 1024 * 1024);
  QFile licences(BundledLibrary() + QStringLiteral("/LICENSES.md"));
  ASSERT_TRUE(licences.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(licences.readAll());
  EXPECT_EQ(text.count(QStringLiteral(".jpg |")) + text.count(QStringLiteral(".png |")), pictures);
}

}  // namespace
}  // namespace lumora
