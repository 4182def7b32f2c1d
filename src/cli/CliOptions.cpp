#include "cli/CliOptions.h"

#include <algorithm>
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
      {"--set",
       [](CliOptions& o, std::string v) {
         o.settings.push_back(std::move(v));
         return std::string();
       }},
  };
  return options;
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
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--json") {
      options.json = true;
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
  if (options.command.empty() && !options.help) {
    result.error = "no command given";
  } else if (!options.command.empty() &&
             std::find(kCommands.begin(), kCommands.end(), options.command) == kCommands.end()) {
    result.error = "unknown command " + options.command;
  }
  return result;
}

}  // namespace lumora::cli
