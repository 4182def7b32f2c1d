// The scrolling viewer: centring, which bars show, where they sit, and scrolling far beyond the
// old 16-bit offset limit.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>

#include "TempLibrary.h"
#include "base/LumoraError.h"
#include "library/ScrollingImage.h"

namespace lumora {
namespace {

QImage Picture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  return image;
}

TEST(ScrollingImage, StartsAtTheDesignedSizeWithBothBarsDisabled) {
  ScrollingImage viewer;
  EXPECT_EQ(viewer.size(), QSize(368, 287));
  EXPECT_FALSE(viewer.vs()->isEnabled());
  EXPECT_FALSE(viewer.hs()->isEnabled());
  EXPECT_EQ(viewer.palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
}

TEST(ScrollingImage, SmallPictureIsCentredWithoutBars) {
  ScrollingImage viewer;
  viewer.resize(300, 200);
  viewer.SetPicture(Picture(100, 51));
  EXPECT_EQ(viewer.Image1()->geometry(), QRect(100, 74, 100, 51));
  EXPECT_TRUE(viewer.vs()->isHidden());
  EXPECT_TRUE(viewer.hs()->isHidden());
  EXPECT_TRUE(viewer.Picture1()->isHidden());
}

TEST(ScrollingImage, TallPictureShowsOnlyTheVerticalBarReachingPastTheBottom) {
  ScrollingImage viewer;
  viewer.resize(300, 200);
  viewer.SetPicture(Picture(100, 500));
  EXPECT_FALSE(viewer.vs()->isHidden());
  EXPECT_TRUE(viewer.vs()->isEnabled());
  EXPECT_TRUE(viewer.hs()->isHidden());
  EXPECT_TRUE(viewer.Picture1()->isHidden());
  // The bar's outer border lies one pixel outside the control, and it reaches the bottom edge
  // plus one pixel.
  EXPECT_EQ(viewer.vs()->geometry(), QRect(300 - 19 + 1, 0, 19, 201));
  // Centred across the area left of the bar; scrolled from the top.
  EXPECT_EQ(viewer.Image1()->pos(), QPoint((282 - 100) / 2, 0));
  EXPECT_EQ(viewer.vs()->minimum(), 0);
  EXPECT_EQ(viewer.vs()->maximum(), 300);
  viewer.vs()->setValue(120);
  EXPECT_EQ(viewer.Image1()->y(), -120);
}

TEST(ScrollingImage, PictureLargerBothWaysShowsBothBarsAndTheCorner) {
  ScrollingImage viewer;
  viewer.resize(300, 200);
  viewer.SetPicture(Picture(1000, 800));
  EXPECT_FALSE(viewer.vs()->isHidden());
  EXPECT_FALSE(viewer.hs()->isHidden());
  EXPECT_FALSE(viewer.Picture1()->isHidden());
  EXPECT_EQ(viewer.vs()->geometry(), QRect(282, 0, 19, 200 - 19 + 2));
  EXPECT_EQ(viewer.hs()->geometry(), QRect(0, 182, 300 - 19 + 2, 19));
  EXPECT_EQ(viewer.Picture1()->geometry(), QRect(282, 182, 17, 17));
  EXPECT_EQ(viewer.hs()->maximum(), 1000 - 282);
  EXPECT_EQ(viewer.vs()->maximum(), 800 - 182);
  viewer.hs()->setValue(viewer.hs()->maximum());
  EXPECT_EQ(viewer.Image1()->x(), -(1000 - 282));
  // The right edge of the picture meets the bar.
  EXPECT_EQ(viewer.Image1()->geometry().right() + 1, 282);
}

TEST(ScrollingImage, WideButShortPictureNeedsBothBarsWhenTheBarCoversIt) {
  ScrollingImage viewer;
  viewer.resize(300, 200);
  viewer.SetPicture(Picture(1000, 195));  // fits in 200, not in the 182 left above the bar
  EXPECT_FALSE(viewer.hs()->isHidden());
  EXPECT_FALSE(viewer.vs()->isHidden());
  EXPECT_EQ(viewer.vs()->maximum(), 195 - 182);
}

TEST(ScrollingImage, ScrollsPicturesFarBeyondSixteenBitOffsets) {
  ScrollingImage viewer;
  viewer.resize(300, 200);
  viewer.SetPicture(Picture(50, 6000));
  viewer.vs()->setValue(viewer.vs()->maximum());
  EXPECT_EQ(viewer.Image1()->y(), -(6000 - 200));
  EXPECT_EQ(viewer.Image1()->geometry().bottom() + 1, 200);
}

TEST(ScrollingImage, ResizingSetsTheBarsUpAgain) {
  ScrollingImage viewer;
  viewer.resize(300, 200);
  viewer.show();  // resize events reach shown widgets
  viewer.SetPicture(Picture(250, 150));
  EXPECT_TRUE(viewer.hs()->isHidden());
  viewer.resize(200, 200);
  EXPECT_FALSE(viewer.hs()->isHidden());
  EXPECT_EQ(viewer.hs()->maximum(), 50);
  viewer.resize(600, 400);
  EXPECT_TRUE(viewer.hs()->isHidden());
  EXPECT_EQ(viewer.Image1()->pos(), QPoint(175, 125));
}

TEST(ScrollingImage, SetImageRaisesForFilesItCannotShow) {
  test::TempLibrary library;
  const QString garbage = library.addFile("T", "C", "garbage.png", "no picture here");
  const QString good = library.addPicture("T", "C", "good.png", {40, 30});
  ScrollingImage viewer;
  try {
    viewer.SetImage(library.root() + "/missing.png");
    ADD_FAILURE() << "no error for a missing file";
  } catch (const LumoraError& e) {
    EXPECT_EQ(e.number(), ErrorNumber::kFileNotFound);
  }
  try {
    viewer.SetImage(garbage);
    ADD_FAILURE() << "no error for a file that is not a picture";
  } catch (const LumoraError& e) {
    EXPECT_EQ(e.number(), 481);
    EXPECT_EQ(e.description(), "Invalid picture");
  }
  viewer.SetImage(good);
  EXPECT_EQ(viewer.Image1()->size(), QSize(40, 30));
}

}  // namespace
}  // namespace lumora
