// Reading library pictures: header-only sizes, reduced decoding, and the refusals.
#include <gtest/gtest.h>

#include "TempLibrary.h"
#include "library/LibraryPictures.h"

namespace lumora {
namespace {

using test::TempLibrary;

TEST(LibraryPictures, SizeComesFromTheHeader) {
  TempLibrary library;
  EXPECT_EQ(ReadLibraryPictureSize(library.addPicture("T", "C", "a.jpg", {1920, 1080}, "JPG")), QSize(1920, 1080));
  EXPECT_EQ(ReadLibraryPictureSize(library.addPicture("T", "C", "b.png", {3, 700})), QSize(3, 700));
  EXPECT_EQ(ReadLibraryPictureSize(library.addPicture("T", "C", "c.bmp", {33, 17}, "BMP")), QSize(33, 17));
  // Qt writes no GIF: a 1 x 1 one by hand.
  const QByteArray gif = QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");
  EXPECT_EQ(ReadLibraryPictureSize(library.addFile("T", "C", "d.gif", gif)), QSize(1, 1));
}

TEST(LibraryPictures, ThumbnailIsDecodedAtTheAskedSize) {
  TempLibrary library;
  const QString path = library.addPicture("T", "C", "a.jpg", {1920, 1080}, "JPG");
  const QImage thumbnail = ReadLibraryThumbnail(path, {114, 64});
  EXPECT_EQ(thumbnail.size(), QSize(114, 64));
  // Still the same picture: the red gradient rises left to right, the green top to bottom.
  EXPECT_LT(qRed(thumbnail.pixel(2, 32)), 30);
  EXPECT_GT(qRed(thumbnail.pixel(111, 32)), 225);
  EXPECT_LT(qGreen(thumbnail.pixel(57, 2)), 30);
  EXPECT_GT(qGreen(thumbnail.pixel(57, 61)), 225);
}

TEST(LibraryPictures, WholePictureKeepsItsSize) {
  TempLibrary library;
  const QImage picture = ReadLibraryPicture(library.addPicture("T", "C", "a.png", {640, 480}));
  EXPECT_EQ(picture.size(), QSize(640, 480));
  EXPECT_EQ(qRed(picture.pixel(639, 0)), 639 * 255 / 640);
}

struct Refusal {
  const char* name;
  QByteArray bytes;
};

TEST(LibraryPictures, RefusesFilesThatAreNotPicturesOrAreTooLarge) {
  TempLibrary library;
  const Refusal refusals[] = {
      {"empty.png", {}},
      {"text.jpg", "hello, this is text"},
      {"truncated.png", QByteArray("\x89PNG\r\n\x1a\n", 8)},
      {"bomb.png", test::PngClaiming(20000, 20000)},
      {"bomb_side.png", test::PngClaiming(70000, 1)},
      {"bomb.jpg", test::JpegClaiming(65000, 65000)},
  };
  for (const Refusal& r : refusals) {
    const QString path = library.addFile("T", "C", r.name, r.bytes);
    EXPECT_FALSE(ReadLibraryPictureSize(path).has_value()) << r.name;
    EXPECT_TRUE(ReadLibraryPicture(path).isNull()) << r.name;
    EXPECT_TRUE(ReadLibraryThumbnail(path, {114, 49}).isNull()) << r.name;
  }
  EXPECT_TRUE(ReadLibraryPicture(library.root() + "/missing.png").isNull());
}

TEST(LibraryPictures, PlaceholderIs114By42BlackOnWhite) {
  const QImage& placeholder = PlaceholderPicture();
  ASSERT_EQ(placeholder.size(), QSize(114, 42));
  EXPECT_EQ(placeholder.pixel(0, 0), qRgb(255, 255, 255));
  int dark = 0;
  for (int y = 0; y < 42; ++y)
    for (int x = 0; x < 114; ++x) dark += qGray(placeholder.pixel(x, y)) < 128;
  EXPECT_GT(dark, 100);  // the words are there
}

}  // namespace
}  // namespace lumora
