// Reading a category's thumbnails side by side: order kept, each file judged on its own.
#include <gtest/gtest.h>

#include "TempLibrary.h"
#include "library/LibraryPictures.h"
#include "library/ThumbnailLoader.h"

namespace lumora {
namespace {

TEST(ThumbnailLoader, KeepsTheOrderAndJudgesEachFileOnItsOwn) {
  test::TempLibrary library;
  QStringList paths;
  for (int i = 0; i < 25; ++i) {
    // Every third file is unreadable; the others have sizes that tell them apart.
    const QString name = QStringLiteral("f%1").arg(i, 2, 10, QLatin1Char('0'));
    if (i % 3 == 2) paths << library.addFile("T", "C", name + ".png", "broken");
    else paths << library.addPicture("T", "C", name + ".png", {40 + i, 20 + 2 * i});
  }
  const std::vector<Thumbnail> thumbnails = LoadThumbnails(paths, 1710, 735);
  ASSERT_EQ(thumbnails.size(), 25u);
  for (int i = 0; i < 25; ++i) {
    const Thumbnail& t = thumbnails[size_t(i)];
    if (i % 3 == 2) {
      EXPECT_TRUE(t.placeholder) << i;
      EXPECT_EQ(t.size, QSize(114, 42)) << i;
      EXPECT_EQ(t.picture, PlaceholderPicture()) << i;
    } else {
      EXPECT_FALSE(t.placeholder) << i;
      EXPECT_EQ(t.size, QSize(40 + i, 20 + 2 * i)) << i;
      EXPECT_EQ(t.area.scaled, 20 + 2 * i > 49) << i;
      EXPECT_EQ(t.area.height, t.area.scaled ? 735 : (20 + 2 * i) * 15) << i;
    }
  }
}

TEST(ThumbnailLoader, NoFilesNoThumbnails) { EXPECT_TRUE(LoadThumbnails({}, 1710, 735).empty()); }

TEST(ThumbnailLoader, ScaledPictureIsDecodedAtTheAreaSize) {
  test::TempLibrary library;
  const Thumbnail t = LoadThumbnail(library.addPicture("T", "C", "wide.jpg", {1920, 1080}, "JPG"), 1710, 735);
  // 1710 x 962 twips would be too tall: 735 high, 735 / 16200 x 28800 = 1306.7 wide.
  EXPECT_EQ(t.area.width, 1307);
  EXPECT_EQ(t.area.height, 735);
  EXPECT_EQ(t.picture.size(), QSize(87, 49));
  EXPECT_EQ(t.size, QSize(1920, 1080));
}

}  // namespace
}  // namespace lumora
