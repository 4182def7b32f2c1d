#include "imaging/BestPalette.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/ColourHistogram.h"
#include "imaging/cPal8bpp.h"
#include "imaging/raster/ColorMatch.h"

namespace lumora {

namespace {

constexpr size_t kMaxEntries = 256;
constexpr int kLloydPasses = 4;

using Colours = std::vector<HistogramColour>;

double channel(const HistogramColour& c, int axis) { return axis == 0 ? c.red : axis == 1 ? c.green : c.blue; }

// A range of histogram colours and how much they spread (weighted squared error) on each axis.
struct Box {
  size_t begin = 0, end = 0;
  std::array<double, 3> spread{};
  double total() const { return spread[0] + spread[1] + spread[2]; }
};

Box measure(const Colours& colours, size_t begin, size_t end) {
  Box box{begin, end, {}};
  double weight = 0;
  std::array<double, 3> sum{}, squares{};
  for (size_t i = begin; i < end; ++i) {
    const auto w = static_cast<double>(colours[i].pixels);
    weight += w;
    for (int a = 0; a < 3; ++a) {
      const double v = channel(colours[i], a);
      sum[a] += w * v;
      squares[a] += w * v * v;
    }
  }
  for (int a = 0; a < 3; ++a) box.spread[a] = std::max(0.0, squares[a] - sum[a] * sum[a] / weight);
  return box;
}

// Splits the box of the largest error at the mean of its widest axis until there are enough.
std::vector<Box> cutBoxes(Colours& colours) {
  std::vector<Box> boxes{measure(colours, 0, colours.size())};
  while (boxes.size() < kMaxEntries) {
    const auto widest = std::ranges::max_element(boxes, {}, &Box::total);
    if (widest->total() <= 0) break;
    const Box box = *widest;
    const int axis = static_cast<int>(std::ranges::max_element(box.spread) - box.spread.begin());
    double weight = 0, sum = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
      weight += static_cast<double>(colours[i].pixels);
      sum += static_cast<double>(colours[i].pixels) * channel(colours[i], axis);
    }
    const double mean = sum / weight;
    const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto middle = std::partition(first, colours.begin() + static_cast<std::ptrdiff_t>(box.end),
                                       [&](const HistogramColour& c) { return channel(c, axis) < mean; });
    const auto split = static_cast<size_t>(middle - colours.begin());
    if (split == box.begin || split == box.end) {  // rounding left nothing on one side
      widest->spread = {};
      continue;
    }
    *widest = measure(colours, box.begin, split);
    boxes.push_back(measure(colours, split, box.end));
  }
  return boxes;
}

raster::RGBQuad rounded(double red, double green, double blue) {
  auto byte = [](double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); };
  return {byte(blue), byte(green), byte(red), 0};
}

uint32_t rgbOf(const HistogramColour& c) {
  const raster::RGBQuad q = rounded(c.red, c.green, c.blue);
  return q.red | uint32_t{q.green} << 8 | uint32_t{q.blue} << 16;
}

// Each pass moves every entry to the mean of the colours nearest to it; an entry nobody is
// nearest to goes.
std::vector<raster::RGBQuad> refine(const Colours& colours, std::vector<raster::RGBQuad> entries) {
  std::vector<uint32_t> nearest(colours.size(), 0xFFFFFFFF);
  for (int pass = 0; pass < kLloydPasses; ++pass) {
    const raster::NearestColourTable table(entries);
    std::vector<std::array<double, 4>> sums(entries.size());
    bool moved = false;
    for (size_t i = 0; i < colours.size(); ++i) {
      const uint32_t n = table.Nearest(rgbOf(colours[i]));
      moved |= n != nearest[i];
      nearest[i] = n;
      const auto w = static_cast<double>(colours[i].pixels);
      sums[n][0] += w * colours[i].red;
      sums[n][1] += w * colours[i].green;
      sums[n][2] += w * colours[i].blue;
      sums[n][3] += w;
    }
    if (!moved) break;
    std::vector<raster::RGBQuad> next;
    for (const auto& s : sums)
      if (s[3] > 0) next.push_back(rounded(s[0] / s[3], s[1] / s[3], s[2] / s[3]));
    if (next.size() != entries.size()) nearest.assign(colours.size(), 0xFFFFFFFF);  // indices moved
    entries = std::move(next);
  }
  return entries;
}

std::vector<raster::RGBQuad> fit(Colours colours) {
  std::vector<raster::RGBQuad> entries;
  if (colours.size() <= kMaxEntries) {
    for (const HistogramColour& c : colours) entries.push_back(rounded(c.red, c.green, c.blue));
    return entries;
  }
  for (const Box& box : cutBoxes(colours)) {
    double weight = 0;
    std::array<double, 3> sum{};
    for (size_t i = box.begin; i < box.end; ++i) {
      const auto w = static_cast<double>(colours[i].pixels);
      weight += w;
      for (int a = 0; a < 3; ++a) sum[a] += w * channel(colours[i], a);
    }
    entries.push_back(rounded(sum[0] / weight, sum[1] / weight, sum[2] / weight));
  }
  return refine(colours, std::move(entries));
}

}  // namespace

void CreateBestPalette(const raster::Bitmap& picture, cPal8bpp& palette) {
  std::vector<raster::RGBQuad> entries = fit(BuildColourHistogram(picture));
  palette.Initialize(static_cast<int16_t>(entries.size()));
  if (!entries.empty()) std::swap(entries[0], entries[raster::NearestIndex(entries, picture.pixelRGB(0, 0))]);
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto e = static_cast<int32_t>(i);
    palette.rgbR(e, entries[i].red);
    palette.rgbG(e, entries[i].green);
    palette.rgbB(e, entries[i].blue);
  }
  palette.BuildLogicalPalette();
}

}  // namespace lumora
