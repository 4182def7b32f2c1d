// The template library shipped with the program: its shape, its size, and that the browser shows
// every picture in it without a placeholder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QListWidget>

#include "ScriptedModal.h"
#include "library/LibraryPictures.h"
#include "library/ThumbnailCell.h"
#include "library/frmChooseClipart.h"

namespace lumora {
namespace {

// The library beside the program, where the browser looks for it by default (the build puts a
// link to templates/ there), else the one in the source tree.
QString BundledLibrary() {
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/templates");
  if (QDir(beside).exists()) return beside;
  const QByteArray data = qgetenv("LUMORA_TEST_DATA");
  return QDir(QString::fromLocal8Bit(data) + QStringLiteral("/../../templates")).absolutePath();
}

TEST(BundledLibrary, HasFourTypesOfTwoToFourCategoriesOfSixToTwelvePictures) {
  const QDir root(BundledLibrary());
  ASSERT_TRUE(root.exists()) << root.path().toStdString();
  const QStringList types = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  EXPECT_GE(types.size(), 4);
  for (const QString& type : types) {
    const QStringList categories = QDir(root.filePath(type)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_GE(categories.size(), 2) << type.toStdString();
    EXPECT_LE(categories.size(), 4) << type.toStdString();
    for (const QString& category : categories) {
      const QDir folder(root.filePath(type + u'/' + category));
      const QStringList pictures = folder.entryList(QDir::Files);
      EXPECT_GE(pictures.size(), 6) << category.toStdString();
      EXPECT_LE(pictures.size(), 12) << category.toStdString();
      for (const QString& picture : pictures)
        EXPECT_TRUE(ReadLibraryPictureSize(folder.filePath(picture)).has_value()) << picture.toStdString();
    }
  }
}

TEST(BundledLibrary, StaysUnderFifteenMegabytesAndNamesEverySource) {
  qint64 bytes = 0;
  int pictures = 0;
  QDirIterator it(BundledLibrary(), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    bytes += it.fileInfo().size();
    pictures += it.fileInfo().suffix() != QStringLiteral("md");
  }
  EXPECT_LT(bytes, 15 * 1024 * 1024);
  QFile licences(BundledLibrary() + QStringLiteral("/LICENSES.md"));
  ASSERT_TRUE(licences.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(licences.readAll());
  EXPECT_EQ(text.count(QStringLiteral(".jpg |")) + text.count(QStringLiteral(".png |")), pictures);
}

TEST(BundledLibrary, BrowserShowsEveryCategoryWithoutPlaceholders) {
  test::ScriptedModal modal;
  frmChooseClipart::SetLibraryRoot(BundledLibrary());
  frmChooseClipart::LastTypeIndex = 0;
  frmChooseClipart::LastCategoryIndex = 0;
  {
    frmChooseClipart browser;
    EXPECT_TRUE(modal.messageBoxes().empty());
    for (int t = 0; t < browser.Combo1()->count(); ++t) {
      browser.Combo1()->setCurrentRow(t);
      for (int c = 0; c < browser.combo2()->count(); ++c) {
        browser.combo2()->setCurrentRow(c);
        for (int i = 0; i < browser.Files().size(); ++i)
          EXPECT_TRUE(browser.Picture2(i)->isEnabled()) << browser.Files().at(i).toStdString();
      }
    }
  }
  frmChooseClipart::SetLibraryRoot({});
}

}  // namespace
}  // namespace lumora
