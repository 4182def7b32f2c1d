// Reading library pictures: sizes from the header, decoding at the asked size, and the refusals,
// where the preview window shows nothing either.
#include "library/LibraryPictures.h"

#include <gtest/gtest.h>

#include "ScriptedModal.h"
#include "TempLibrary.h"
#include "library/ScrollingImage.h"
#include "library/frmPreview.h"

#include <QLabel>
#include <QScrollBar>

namespace lumora {
namespace {

TEST(LibraryPictures, SizeComesFromTheHeaderAndTheThumbnailIsDecodedAtTheAskedSize) {
  test::TempLibrary library;
  const QString jpeg = library.addPicture("T", "C", "a.jpg", {1920, 1080}, "JPG");
  EXPECT_EQ(ReadLibraryPictureSize(jpeg), QSize(1920, 1080));
  EXPECT_EQ(ReadLibraryPictureSize(library.addPicture("T", "C", "b.png", {3, 700})), QSize(3, 700));
  EXPECT_EQ(ReadLibraryPictureSize(library.addPicture("T", "C", "c.bmp", {33, 17}, "BMP")), QSize(33, 17));
  // Qt writes no GIF: a 1 x 1 one by hand.
  const QByteArray gif =
      QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");
  EXPECT_EQ(ReadLibraryPictureSize(library.addFile("T", "C", "d.gif", gif)), QSize(1, 1));
  const QImage thumbnail = ReadLibraryThumbnail(jpeg, {114, 64});
  ASSERT_EQ(thumbnail.size(), QSize(114, 64));
  // Still the same picture: the red gradient rises left to right, the green top to bottom.
  EXPECT_TRUE(qRed(thumbnail.pixel(2, 32)) < 30 && qRed(thumbnail.pixel(111, 32)) > 225);
  EXPECT_TRUE(qGreen(thumbnail.pixel(57, 2)) < 30 && qGreen(thumbnail.pixel(57, 61)) > 225);
  EXPECT_EQ(ReadLibraryPicture(library.addPicture("T", "C", "e.png", {640, 480})).size(), QSize(640, 480));
}

TEST(LibraryPictures, RefusesFilesThatAreNotPicturesOrAreTooLargeAndThePreviewShowsNothingForThem) {
  test::TempLibrary library;
  test::ScriptedModal modal;
  const std::pair<const char*, QByteArray> refusals[] = {
      {"empty.png", {}},
      {"text.jpg", "hello, this is text"},
      {"truncated.png", QByteArray("\x89PNG\r\n\x1a\n", 8)},
      {"bomb.png", test::PngClaiming(20000, 20000)},
      {"bomb_side.png", test::PngClaiming(70000, 1)},
      {"bomb.jpg", test::JpegClaiming(65000, 65000)},
  };
  for (const auto& [name, bytes] : refusals) {
    const QString path = library.addFile("T", "C", name, bytes);
    EXPECT_FALSE(ReadLibraryPictureSize(path).has_value()) << name;
    EXPECT_TRUE(ReadLibraryPicture(path).isNull()) << name;
    EXPECT_TRUE(ReadLibraryThumbnail(path, {114, 49}).isNull()) << name;
    EXPECT_FALSE(frmPreview::ViewImage(path, nullptr)) << name;
  }
  EXPECT_TRUE(ReadLibraryPicture(library.root() + "/missing.png").isNull());
  EXPECT_FALSE(frmPreview::ViewImage(library.root() + "/missing.png", nullptr));
  EXPECT_TRUE(modal.windows().empty() && modal.messageBoxes().empty());
}

// A tall narrow picture: a vertical bar to its far edge, none across, and centred in what is left.
TEST(ScrollingImage, CentresWhatFitsAndScrollsWhatDoesNot) {
  ScrollingImage view;
  view.resize(368, 287);
  QImage picture(100, 500, QImage::Format_RGB32);
  picture.fill(Qt::red);
  view.SetPicture(picture);
  const int overlap = ScrollingImage::kBarThickness - 1;
  EXPECT_EQ(view.Image1()->pos(), QPoint((368 - overlap - 100) / 2, 0));
  EXPECT_TRUE(view.vs()->isEnabled() && !view.hs()->isEnabled());
  EXPECT_EQ(view.vs()->maximum(), 500 - 287);
}

}  // namespace
}  // namespace lumora
