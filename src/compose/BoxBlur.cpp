#include "compose/BoxBlur.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumora {
namespace {

// One pass along `count` pixels `step` apart: each becomes the mean of the 2r+1 around it.
void BoxLine(uint32_t* first, int count, ptrdiff_t step, int r, std::vector<uint32_t>& line) {
  line.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) line[i] = first[i * step];
  std::array<int, 4> sums{};
  auto add = [&](uint32_t pixel, int sign) {
    for (int c = 0; c < 4; ++c) sums[c] += sign * static_cast<int>((pixel >> (8 * c)) & 0xFF);
  };
  const int width = 2 * r + 1;
  for (int i = 0; i < r && i < count; ++i) add(line[i], 1);
  for (int x = 0; x < count; ++x) {
    if (x + r < count) add(line[x + r], 1);
    if (x - r - 1 >= 0) add(line[x - r - 1], -1);
    uint32_t mean = 0;
    for (int c = 0; c < 4; ++c) mean |= static_cast<uint32_t>((sums[c] + width / 2) / width) << (8 * c);
    first[x * step] = mean;
  }
}

}  // namespace

void BoxBlur(QImage& image, int radius) {
  if (radius < 1 || image.format() != QImage::Format_ARGB32_Premultiplied) return;
  auto* pixels = reinterpret_cast<uint32_t*>(image.bits());
  const ptrdiff_t stride = image.bytesPerLine() / 4;
  const int w = image.width(), h = image.height();
  std::vector<uint32_t> line;
  // Three passes whose radii add up to `radius`: the reach stays exactly the radius asked for.
  for (int pass = 0; pass < 3; ++pass) {
    const int r = radius / 3 + (pass < radius % 3 ? 1 : 0);
    if (r == 0) continue;
    for (int y = 0; y < h; ++y) BoxLine(pixels + y * stride, w, 1, r, line);
    for (int x = 0; x < w; ++x) BoxLine(pixels + x, h, stride, r, line);
  }
}

}  // namespace lumora
