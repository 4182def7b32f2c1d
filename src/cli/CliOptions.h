// The command line of lumora-cli: a command, its file arguments and options, which may come in
// any order ("--" ends the options). Long options also take their value as "--name=value".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/RowRange.h"
#include "pictureio/ExportOptions.h"

namespace lumora::cli {

struct CliOptions {
  std::string command;             // render, convert, info, resave; empty with --help or --version alone
  std::vector<std::string> files;  // the file arguments in order
  std::optional<std::string> library;
  std::optional<std::string> output;  // -o
  std::optional<std::string> csv;
  std::vector<std::string> settings;  // --set values, N.FIELD=VALUE
  std::optional<RowRange> rows;
  std::optional<unsigned> jobs;         // at least 1
  std::optional<std::string> report;    // the batch's JSON report
  std::optional<int> quality;           // --quality, 1..100
  std::optional<GifPalette> gifPalette;
  bool pngAlpha = false;  // --png-alpha
  bool dryRun = false;
  bool json = false;
  bool help = false;
  bool version = false;

  // What the export routes are asked for: the defaults where no option was given.
  ExportOptions Export() const {
    ExportOptions e;
    e.JpegQuality = quality.value_or(e.JpegQuality);
    e.Palette = gifPalette.value_or(e.Palette);
    e.PngAlpha = pngAlpha;
    return e;
  }
};

inline constexpr unsigned kMaxJobs = 256;

struct ParseResult {
  CliOptions options;
  std::string error;  // a usage error, when not empty
};

ParseResult ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace lumora::cli
