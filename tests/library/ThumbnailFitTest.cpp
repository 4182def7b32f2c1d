// Where a picture sits in the 1710 x 735 twip thumbnail box.
#include <gtest/gtest.h>

#include "library/ThumbnailFit.h"

namespace lumora {
namespace {

struct FitCase {
  int widthPx, heightPx;
  int32_t width, height;  // twips
  double left, top;       // twips
  bool scaled;
};

class FitThumbnailTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitThumbnailTest, PlacesThePictureInTheBox) {
  const FitCase& c = GetParam();
  const ThumbnailPlacement p = FitThumbnail(c.widthPx * 15, c.heightPx * 15, 1710, 735);
  EXPECT_EQ(p.width, c.width);
  EXPECT_EQ(p.height, c.height);
  EXPECT_DOUBLE_EQ(p.left, c.left);
  EXPECT_DOUBLE_EQ(p.top, c.top);
  EXPECT_EQ(p.scaled, c.scaled);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, FitThumbnailTest,
    testing::Values(
        // Exactly the box: shown unscaled.
        FitCase{114, 49, 1710, 735, 0, 0, false},
        // One pixel wider: scaled to the full box width; 1710 / 1725 x 735 = 728.6.
        FitCase{115, 49, 1710, 729, 0, 3, true},
        // 367.5 twips rounds to the even 368; the free 367 twips split 183.5 / 183.5.
        FitCase{228, 49, 1710, 368, 0, 183.5, true},
        // Too tall: the height limits, and the picture is centred across.
        FitCase{114, 98, 855, 735, 427.5, 0, true},
        // A photograph: 735 / 7200 x 9600 = 980.
        FitCase{640, 480, 980, 735, 365, 0, true},
        // A small picture stays small, centred.
        FitCase{20, 10, 300, 150, 705, 292.5, false},
        // A banner much wider than the box.
        FitCase{728, 90, 1710, 211, 0, 262, true}));

}  // namespace
}  // namespace lumora
