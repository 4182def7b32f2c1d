// A measurer with simple, known metrics: every character is 100 twips wide and a line is
// 200 twips high, whatever the font, so geometry tests can work out the expected numbers.
#pragma once

#include <algorithm>
#include <string_view>

#include "document/ITextMeasurer.h"

namespace lumora::test {

class FixedWidthMeasurer final : public ITextMeasurer {
 public:
  static constexpr double kCharWidth = 100;
  static constexpr double kLineHeight = 200;

  TextExtent Measure(const TextItem& item) const override {
    size_t widest = 0, lines = 0;
    std::string_view rest = item.Caption;
    while (!rest.empty()) {
      const size_t br = rest.find("\r\n");
      widest = std::max(widest, std::min(br, rest.size()));
      ++lines;
      rest = br == std::string_view::npos ? std::string_view() : rest.substr(br + 2);
    }
    return {static_cast<double>(widest) * kCharWidth, static_cast<double>(lines) * kLineHeight};
  }
  double LineHeight(const TextItem&) const override { return kLineHeight; }
};

}  // namespace lumora::test
