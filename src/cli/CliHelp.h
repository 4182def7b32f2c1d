// The --help texts of lumora-cli (the whole program, or one command), and what is answered
// before any command runs.
#pragma once

#include <optional>
#include <string>

namespace lumora::cli {

struct ParseResult;

// The overview for an empty or unknown command.
std::string HelpText(const std::string& command);

// The exit code after printing the help, the version or a usage error; nothing when a command is to run.
std::optional<int> AnswerWithoutRunning(const ParseResult& parsed);

}  // namespace lumora::cli
