// The --help texts of lumora-cli: the whole program, or one command.
#pragma once

#include <string>

namespace lumora::cli {

// The overview for an empty or unknown command.
std::string HelpText(const std::string& command);

}  // namespace lumora::cli
