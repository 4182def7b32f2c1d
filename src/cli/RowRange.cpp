#include "cli/RowRange.h"

#include <charconv>

namespace lumora::cli {

namespace {

// A row number from 1; an empty text keeps `fallback`.
bool ReadRow(std::string_view text, size_t fallback, size_t& row) {
  if (text.empty()) {
    row = fallback;
    return true;
  }
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), row);
  return ec == std::errc() && end == text.data() + text.size() && row >= 1;
}

}  // namespace

std::optional<RowRange> ParseRowRange(std::string_view text) {
  RowRange range;
  const size_t dash = text.find('-');
  if (dash == std::string_view::npos) {
    if (text.empty() || !ReadRow(text, 0, range.first)) return std::nullopt;
    range.last = range.first;
    return range;
  }
  if (text.size() == 1 || !ReadRow(text.substr(0, dash), range.first, range.first) ||
      !ReadRow(text.substr(dash + 1), range.last, range.last) || range.first > range.last)
    return std::nullopt;
  return range;
}

}  // namespace lumora::cli
