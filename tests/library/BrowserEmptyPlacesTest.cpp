// The browser on a library with holes, as a user meets it: an empty type keeps the window open
// so the others stay within reach, an empty category says so, and a picture over the size limit
// says it is too large.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QListWidget>
#include <QTest>

#include "ScriptedModal.h"
#include "TempLibrary.h"
#include "library/LibraryPictures.h"
#include "library/ThumbnailCell.h"
#include "library/ThumbnailGrid.h"
#include "library/frmChooseClipart.h"

namespace lumora {
namespace {

TEST(BrowserEmptyPlaces, EmptyTypeAndCategoryAndATooLargePicture) {
  test::TempLibrary library;
  library.folder(QStringLiteral("A Empty"));
  library.addPicture(QStringLiteral("Banners"), QStringLiteral("Blue"), QStringLiteral("a.png"), {64, 32});
  library.folder(QStringLiteral("Banners"), QStringLiteral("Empty"));
  QBuffer jpeg;  // a sound JPEG whose frame header claims 40000 x 40000 pixels
  jpeg.open(QIODevice::WriteOnly);
  QImage(8, 8, QImage::Format_RGB32).save(&jpeg, "JPG");
  QByteArray huge = jpeg.data();
  huge.replace(huge.indexOf("\xFF\xC0") + 5, 4, QByteArray("\x9C\x40\x9C\x40", 4));
  library.addFile(QStringLiteral("Banners"), QStringLiteral("Huge"), QStringLiteral("huge.jpg"), huge);
  frmChooseClipart::SetLibraryRoot(library.root());
  frmChooseClipart::LastTypeIndex = frmChooseClipart::LastCategoryIndex = 0;

  test::ScriptedModal modal;
  frmChooseClipart browser;
  browser.show();
  QApplication::processEvents();
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_EQ(modal.messageBoxes()[0].text,
            QStringLiteral("No image templates were found, you may need to reinstall this application"));
  EXPECT_TRUE(browser.isVisible());
  EXPECT_TRUE(browser.Picture1()->SelectionRect().isNull());

  QTest::keyClick(browser.Combo1(), Qt::Key_Down);  // Banners
  ASSERT_EQ(browser.combo2()->count(), 3);
  EXPECT_FALSE(browser.Picture1()->SelectionRect().isNull());
  EXPECT_TRUE(browser.Picture1()->Message().isEmpty());
  QTest::keyClick(browser.combo2(), Qt::Key_Down);  // Empty
  EXPECT_EQ(browser.Picture1()->Message(), QStringLiteral("This category is empty"));
  EXPECT_TRUE(browser.Picture1()->SelectionRect().isNull());
  QTest::keyClick(browser.combo2(), Qt::Key_Down);  // Huge
  EXPECT_TRUE(browser.Picture1()->Message().isEmpty());
  EXPECT_EQ(browser.Picture2(0)->Picture(), TooLargePlaceholderPicture());
  frmChooseClipart::SetLibraryRoot({});
}

}  // namespace
}  // namespace lumora
