#include "cli/projects/BatchRender.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdio>
#include <map>
#include <thread>

#include "base/AtomicFile.h"
#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/projects/BatchReport.h"
#include "cli/projects/CliProject.h"
#include "cli/projects/CsvTable.h"
#include "cli/projects/OutputPattern.h"
#include "cli/projects/ParallelRows.h"
#include "cli/projects/ProgressBar.h"
#include "cli/projects/RenderPicture.h"
#include "pictureio/GifExport.h"

namespace lumora::cli {

namespace {

// A CSV column that sets a property of an item.
struct FieldColumn {
  size_t column;
  size_t position;
  std::string field;
};

// What the batch knows before the first row: the table, its property columns and the output names.
struct Batch {
  CsvTable table;
  std::vector<FieldColumn> fields;
  std::vector<std::string> names;  // one per data row
};

// Reads and checks the table, its columns and the output names; the exit status when they fail.
int Prepare(const CliProject& project, const CliOptions& options, Batch& batch) {
  if (!batch.table.Load(*options.csv)) {
    PrintError(*options.csv + ": " + batch.table.error());
    return kExitFailed;
  }
  const CsvTable& table = batch.table;
  for (size_t c = 0; c < table.Header().size(); ++c) {
    FieldColumn column{c, 0, {}};
    if (!SplitFieldName(table.Header()[c], column.position, column.field)) continue;  // a column for names only
    if (std::string problem = CheckField(project.document, column.position, column.field); !problem.empty()) {
      PrintError("CSV column \"" + table.Header()[c] + "\": " + problem);
      return kExitUsage;
    }
    batch.fields.push_back(column);
  }
  OutputPattern pattern;
  if (!pattern.Parse(*options.output, table)) {
    PrintError(pattern.error());
    return kExitUsage;
  }
  std::map<std::string, size_t> firstRowOf;
  for (size_t r = 0; r < table.Rows().size(); ++r) {
    batch.names.push_back(pattern.Expand(r + 1, table.Rows()[r]));
    if (auto [it, added] = firstRowOf.emplace(batch.names.back(), r + 1); !added) {
      PrintError("rows " + std::to_string(it->second) + " and " + std::to_string(r + 1) + " would both write " +
                 batch.names.back() + "; use {row} or a column in the output name");
      return kExitUsage;
    }
  }
  return kExitOk;
}

RowOutcome RenderRow(const CliProject& project, const Batch& batch, size_t r, const CliOptions& options,
                     GifExport& gif, std::mutex& gifLock) {
  RowOutcome outcome{r + 1, batch.names[r], false, {}, project.problems};
  try {
    Document row = project.document;
    for (const FieldColumn& f : batch.fields) {
      outcome.message = SetField(row, f.position, f.field, batch.table.Rows()[r][f.column]);
      if (!outcome.message.empty()) return outcome;
    }
    for (std::string& line : TextThatDoesNotFit(row)) outcome.warnings.push_back(std::move(line));
    outcome.message = options.dryRun ? OutputProblem(outcome.output)
                                     : RenderPicture(row, project.picture, project.pictureAlpha, outcome.output, gif, options.Export(), &gifLock);
  } catch (const std::exception& e) {
    outcome.message = e.what();
  }
  outcome.ok = outcome.message.empty();
  return outcome;
}

}  // namespace

int RenderBatch(const CliProject& project, const CliOptions& options) {
  Batch batch;
  if (const int status = Prepare(project, options, batch); status != kExitOk) return status;
  std::vector<size_t> rows;
  const RowRange range = options.rows.value_or(RowRange{});
  for (size_t r = 0; r < batch.names.size(); ++r)
    if (range.Contains(r + 1)) rows.push_back(r);
  if (rows.empty()) {
    PrintError("--rows selects no row: the CSV file has " + std::to_string(batch.names.size()) + " data rows");
    return kExitUsage;
  }

  // Qt reads the font database, and HarfBuzz sets up its language tables, on first use: here, by
  // measuring a text, before the workers need them.
  QFontMetrics(QFont()).horizontalAdvance(QStringLiteral("Lumora"));
  GifExport gif;
  std::mutex gifLock;
  std::vector<RowOutcome> outcomes(rows.size());
  std::vector<bool> finished(rows.size());
  size_t told = 0;  // rows are told in their order whatever order they finish in
  ProgressBar progress(options.dryRun ? 0 : rows.size());
  ForEachInParallel(
      rows.size(), options.jobs.value_or(std::max(1u, std::thread::hardware_concurrency())),
      [&](size_t i) { outcomes[i] = RenderRow(project, batch, rows[i], options, gif, gifLock); },
      [&](size_t i) {
        finished[i] = true;
        for (; told < rows.size() && finished[told]; ++told) {
          const RowOutcome& o = outcomes[told];
          for (size_t w = project.problems.size(); w < o.warnings.size(); ++w) {
            progress.Interrupt();
            PrintWarning("row " + std::to_string(o.row) + ": " + o.warnings[w]);
          }
          if (!o.ok) {
            progress.Interrupt();
            PrintError("row " + std::to_string(o.row) + " (" + o.output + "): " + o.message);
          } else if (options.dryRun) {
            std::printf("row %zu: would write %s\n", o.row, o.output.c_str());
          }
        }
        progress.Step();
      });

  if (options.report) {
    const std::string json = ReportJson(outcomes);
    std::string error;
    if (!WriteFileAtomically(*options.report, {reinterpret_cast<const uint8_t*>(json.data()), json.size()}, &error)) {
      PrintError(*options.report + ": " + error);
      return kExitFailed;
    }
  }
  const bool allOk = std::all_of(outcomes.begin(), outcomes.end(), [](const RowOutcome& o) { return o.ok; });
  return allOk ? kExitOk : kExitFailed;
}

}  // namespace lumora::cli
