// The command line of lumora-cli: a command, its file arguments and options, which may come in
// any order ("--" ends the options). Long options also take their value as "--name=value".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/RowRange.h"

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
  bool dryRun = false;
  bool json = false;
  bool help = false;
  bool version = false;
};

inline constexpr unsigned kMaxJobs = 256;

struct ParseResult {
  CliOptions options;
  std::string error;  // a usage error, when not empty
};

ParseResult ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace lumora::cli
