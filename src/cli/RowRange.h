// The data rows a batch renders (--rows), so that a job runner can split one CSV file between
// several runs: "A-B", "A-", "-B" or "N", counted from 1, both ends included.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>

namespace lumora::cli {

struct RowRange {
  size_t first = 1;
  size_t last = std::numeric_limits<size_t>::max();
  bool Contains(size_t row) const { return row >= first && row <= last; }
};

// Nothing when the text has none of those forms, a row is 0 or the range runs backwards.
std::optional<RowRange> ParseRowRange(std::string_view text);

}  // namespace lumora::cli
