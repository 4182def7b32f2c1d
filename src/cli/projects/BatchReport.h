// What a batch render did with each row, and the JSON report (--report) that scripts read it
// from: one record per row tried, in row order.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lumora::cli {

struct RowOutcome {
  size_t row = 0;  // the data row, from 1
  std::string output;
  bool ok = false;
  std::string message;  // why it failed
  std::vector<std::string> warnings;
};

// [{"row": 1, "output": "...", "status": "ok" or "failed", "message": "...", "warnings": [...]}, ...]
std::string ReportJson(const std::vector<RowOutcome>& rows);

}  // namespace lumora::cli
