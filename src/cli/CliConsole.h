// What lumora-cli says: results on stdout, one line per error or warning on stderr.
#pragma once

#include <string>

namespace lumora::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the work could not be done
inline constexpr int kExitUsage = 2;   // the command line is wrong

void PrintError(const std::string& message);
void PrintWarning(const std::string& message);

}  // namespace lumora::cli
