// lumora-cli render --csv: one picture per data row of a CSV file, every row checked before any
// is written; --rows picks a part of the file, --jobs renders rows side by side, --dry-run only
// checks, --report writes what happened to each row as JSON.
#pragma once

namespace lumora::cli {

struct CliOptions;
struct CliProject;

// The project is loaded, its template found and the --set values applied. Returns the exit status.
int RenderBatch(const CliProject& project, const CliOptions& options);

}  // namespace lumora::cli
