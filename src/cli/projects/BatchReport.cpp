#include "cli/projects/BatchReport.h"

#include "cli/projects/InfoCommand.h"

namespace lumora::cli {

std::string ReportJson(const std::vector<RowOutcome>& rows) {
  std::string json = "[";
  for (const RowOutcome& row : rows) {
    json += json.size() == 1 ? "\n" : ",\n";
    json += "  {\"row\": " + std::to_string(row.row) + ", \"output\": " + JsonString(row.output) + ", \"status\": \"" +
            (row.ok ? "ok" : "failed") + "\", \"message\": " + JsonString(row.message) + ", \"warnings\": [";
    for (size_t w = 0; w < row.warnings.size(); ++w) json += (w ? ", " : "") + JsonString(row.warnings[w]);
    json += "]}";
  }
  return json + "\n]\n";
}

}  // namespace lumora::cli
