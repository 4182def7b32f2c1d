#include "compose/CentrePicture.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(CentrePicture, SmallerPictureSitsInTheMiddleWithItsOutline) {
  const CentreLayout layout = CentrePicture({600, 400}, {400, 300}, {300, 200}, true);
  EXPECT_EQ(layout.picture, (RectF{100, 50, 400, 300}));
  EXPECT_EQ(layout.outline, (RectF{99, 49, 402, 302}));
  EXPECT_EQ(layout.welcome, (RectF{150, 100, 300, 200}));
  EXPECT_TRUE(layout.outlineVisible);
}

TEST(CentrePicture, LargerPictureGetsNegativeCoordinatesOnBothAxes) {
  const CentreLayout layout = CentrePicture({600, 400}, {1000, 500}, {0, 0}, true);
  EXPECT_EQ(layout.picture, (RectF{-200, -50, 1000, 500}));
  EXPECT_EQ(layout.outline, (RectF{-201, -51, 1002, 502}));
}

TEST(CentrePicture, DivisionIsExact) {
  const CentreLayout layout = CentrePicture({601, 400}, {400, 301}, {0, 0}, false);
  EXPECT_DOUBLE_EQ(layout.picture.left, 100.5);
  EXPECT_DOUBLE_EQ(layout.picture.top, 49.5);
  EXPECT_DOUBLE_EQ(layout.outline.left, 99.5);
}

TEST(CentrePicture, OutlineShowsOnlyWithAnOpenDocument) {
  EXPECT_FALSE(CentrePicture({600, 400}, {400, 300}, {300, 200}, false).outlineVisible);
}

}  // namespace
}  // namespace lumora
