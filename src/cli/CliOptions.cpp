#include "cli/CliOptions.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>

namespace lumora::cli {

namespace {

const std::vector<std::string> kCommands = {"render", "convert", "info", "resave"};

// Options that take a value, and where the value goes.
using ValueSink = std::function<std::string(CliOptions&, std::string)>;

std::string SetOnce(std::optional<std::string>& slot, const char* name, std::string value) {
  if (slot) return std::string(name) + " is given more than once";
  slot = std::move(value);
  return {};
}

const std::map<std::string, ValueSink>& ValueOptions() {
  static const std::map<std::string, ValueSink> options = {
      {"--library", [](CliOptions& o, std::string v) { return SetOnce(o.library, "--library", std::move(v)); }},
      {"-o", [](CliOptions& o, std::string v) { return SetOnce(o.output, "-o", std::move(v)); }},
      {"--output", [](CliOptions& o, std::string v) { return SetOnce(o.output, "-o", std::move(v)); }},
      {"--csv", [](CliOptions& o, std::string v) { return SetOnce(o.csv, "--csv", std::move(v)); }},
      {"--report", [](CliOptions& o, std::string v) { return SetOnce(o.report, "--report", std::move(v)); }},
      {"--set",
       [](CliOptions& o, std::string v) {
         o.settings.push_back(std::move(v));
         return std::string();
       }},
      {"--rows",
       [](CliOptions& o, std::string v) {
         if (o.rows) return std::string("--rows is given more than once");
         o.rows = ParseRowRange(v);
         return o.rows ? std::string() : "--rows takes A-B, A-, -B or N (data rows from 1), not \"" + v + "\"";
       }},
      {"--quality",
       [](CliOptions& o, std::string v) {
         if (o.quality) return std::string("--quality is given more than once");
         int quality = 0;
         const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), quality);
         if (ec != std::errc() || end != v.data() + v.size() || quality < 1 || quality > 100)
           return "--quality takes a number from 1 to 100, not \"" + v + "\"";
         o.quality = quality;
         return std::string();
       }},
      {"--gif-palette",
       [](CliOptions& o, std::string v) {
         if (o.gifPalette) return std::string("--gif-palette is given more than once");
         if (v != "classic" && v != "best") return "--gif-palette takes classic or best, not \"" + v + "\"";
         o.gifPalette = v == "best" ? GifPalette::Best : GifPalette::Classic;
         return std::string();
       }},
      {"--jobs",
       [](CliOptions& o, std::string v) {
         if (o.jobs) return std::string("--jobs is given more than once");
         unsigned jobs = 0;
         const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), jobs);
         if (ec != std::errc() || end != v.data() + v.size() || jobs < 1 || jobs > kMaxJobs)
           return "--jobs takes a number from 1 to " + std::to_string(kMaxJobs) + ", not \"" + v + "\"";
         o.jobs = jobs;
         return std::string();
       }},
  };
  return options;
}

// Options without a value.
const std::map<std::string, bool CliOptions::*>& Flags() {
  static const std::map<std::string, bool CliOptions::*> flags = {
      {"--help", &CliOptions::help},       {"-h", &CliOptions::help},
      {"--json", &CliOptions::json},       {"--dry-run", &CliOptions::dryRun},
      {"--version", &CliOptions::version}, {"--png-alpha", &CliOptions::pngAlpha},
  };
  return flags;
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& arguments) {
  ParseResult result;
  CliOptions& options = result.options;
  bool optionsEnded = false;
  std::vector<std::string> positional;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      positional.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
    } else if (const auto flag = Flags().find(argument); flag != Flags().end()) {
      options.*(flag->second) = true;
    } else {
      const size_t equals = argument.starts_with("--") ? argument.find('=') : std::string::npos;
      const std::string name = argument.substr(0, equals);
      const auto option = ValueOptions().find(name);
      if (option == ValueOptions().end()) {
        result.error = "unknown option " + name;
        return result;
      }
      std::string value;
      if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        result.error = name + " needs a value";
        return result;
      }
      if (std::string error = option->second(options, std::move(value)); !error.empty()) {
        result.error = error;
        return result;
      }
    }
  }
  if (!positional.empty()) {
    options.command = positional.front();
    options.files.assign(positional.begin() + 1, positional.end());
  }
  if (options.command.empty() && !options.help && !options.version) {
    result.error = "no command given";
  } else if (!options.command.empty() &&
             std::find(kCommands.begin(), kCommands.end(), options.command) == kCommands.end()) {
    result.error = "unknown command " + options.command;
  }
  return result;
}

}  // namespace lumora::cli
