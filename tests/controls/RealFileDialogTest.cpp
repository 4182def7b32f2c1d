// The real save dialog, driven with key presses: each filter shows its pattern once, and a name
// typed without an extension takes the extension of the filter the user picked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "controls/cFileDialog.h"

namespace lumora {
namespace {

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
    QStringList shownFilters;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
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
  }
}

}  // namespace
}  // namespace lumora
