// The GIF route with the writer on a second thread: the same file, 8-bit surface and palette as
// reducing first and writing after, for pictures of every shape and every writer setting; the
// refusals; and the handing over of rows between threads.
#include "imaging/GifRoute.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>

#include "SurfaceBuilders.h"
#include "imaging/RowHandover.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mDither8bpp.h"
#include "imaging/mGIFSave.h"

namespace lumora {
namespace {

struct RouteCase {
  std::string name;
  int32_t width, height;
  std::vector<testsurface::Rgb> pixels;
};

struct Settings {
  int16_t transparent;
  bool interlaced;
  std::string comment;
  int32_t paletteMode, ditherMode;
};

std::vector<RouteCase> routeCases() {
  std::vector<RouteCase> cases;
  cases.push_back({"photo", 320, 241, testsurface::PhotoLike(320, 241, 41)});
  cases.push_back({"one row", 300, 1, testsurface::PhotoLike(300, 1, 42)});
  cases.push_back({"one column", 1, 300, testsurface::PhotoLike(1, 300, 43)});
  cases.push_back({"odd noise", 97, 63, testsurface::RandomColours(97 * 63, 44)});
  std::vector<testsurface::Rgb> stripes(64 * 9);
  for (size_t i = 0; i < stripes.size(); ++i) stripes[i] = i / 64 % 2 ? testsurface::Rgb{250, 250, 250} : testsurface::Rgb{5, 0, 90};
  cases.push_back({"two colours", 64, 9, stripes});
  return cases;
}

TEST(GifRoute, SameFileSurfaceAndPaletteAsReducingThenWriting) {
  const std::vector<Settings> settings = {
      {-1, false, "", mDither8bpp::kPaletteOptimal, mDither8bpp::kDitherDiffusion},
      {0, true, "made with Lumora", mDither8bpp::kPaletteOptimal, mDither8bpp::kDitherDiffusion},
      {3, false, std::string(600, 'c'), 0, 0},
      {-1, true, "", mDither8bpp::kPaletteOptimal, 0},
  };
  for (const RouteCase& c : routeCases())
    for (const Settings& s : settings) {
      SCOPED_TRACE(c.name + " palette " + std::to_string(s.paletteMode) + " interlaced " + std::to_string(s.interlaced));
      cDIB source;
      testsurface::Fill32(source, c.width, c.height, c.pixels);
      mDither8bpp::SetPaletteMode(s.paletteMode);
      mDither8bpp::SetDitherMode(s.ditherMode);

      cDIB reduced;
      cPal8bpp reducedPalette;
      mDither8bpp::ConvertTo8bpp(source, reduced, reducedPalette);
      std::vector<uint8_t> expected;
      ASSERT_TRUE(mGIFSave::EncodeGIF(reduced, reducedPalette, s.transparent, s.interlaced, s.comment, expected));

      cDIB target;
      cPal8bpp palette;
      std::vector<uint8_t> file;
      ASSERT_TRUE(EncodeReducedGIF(source, target, palette, s.transparent, s.interlaced, s.comment, file));
      EXPECT_EQ(file, expected);
      EXPECT_EQ(testsurface::Indices(target), testsurface::Indices(reduced));
      ASSERT_EQ(palette.Entries(), reducedPalette.Entries());
      EXPECT_TRUE(std::ranges::equal(palette.lpPalette(), reducedPalette.lpPalette()));
    }
  mDither8bpp::SetPaletteMode(mDither8bpp::kPaletteOptimal);
  mDither8bpp::SetDitherMode(mDither8bpp::kDitherDiffusion);
}

TEST(GifRoute, RefusalsLeaveNoBytes) {
  cDIB empty, target;
  cPal8bpp palette;
  std::vector<uint8_t> file = {1, 2, 3};
  EXPECT_FALSE(EncodeReducedGIF(empty, target, palette, -1, false, "", file));
  EXPECT_TRUE(file.empty());

  cDIB wide;
  testsurface::Fill32(wide, 32768, 1, testsurface::PhotoLike(32768, 1, 45));
  file = {1, 2, 3};
  EXPECT_FALSE(EncodeReducedGIF(wide, target, palette, -1, false, "", file));
  EXPECT_TRUE(file.empty());
  EXPECT_EQ(target.Width(), 32768);  // the reduction itself still happened

  cDIB small;
  testsurface::Fill32(small, 8, 8, testsurface::PhotoLike(8, 8, 46));
  EXPECT_FALSE(EncodeReducedGIF(small, target, palette, 256, false, "", file));
  EXPECT_TRUE(file.empty());
}

TEST(RowHandover, WaitersWakeForTheirRowOrWhenAbandoned) {
  using namespace std::chrono_literals;
  RowHandover rows;
  auto waitFor = [&](int32_t y) { return std::async(std::launch::async, [&rows, y] { return rows.WaitForRow(y); }); };
  auto second = waitFor(1);
  auto fifth = waitFor(4);
  EXPECT_EQ(second.wait_for(50ms), std::future_status::timeout);
  rows.Publish(2);
  EXPECT_TRUE(second.get());
  EXPECT_EQ(fifth.wait_for(50ms), std::future_status::timeout);
  rows.Abandon();
  EXPECT_FALSE(fifth.get());
  EXPECT_FALSE(rows.WaitForRow(0));  // once abandoned, nothing is handed over
}

}  // namespace
}  // namespace lumora
