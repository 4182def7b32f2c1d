#include "cli/CliConsole.h"

#include <cstdio>

namespace lumora::cli {

void PrintError(const std::string& message) { std::fprintf(stderr, "lumora-cli: error: %s\n", message.c_str()); }

void PrintWarning(const std::string& message) { std::fprintf(stderr, "lumora-cli: warning: %s\n", message.c_str()); }

}  // namespace lumora::cli
