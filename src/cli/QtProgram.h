// lumora-cli links no Qt, so it starts in a few milliseconds; the commands that need Qt run in
// lumora-cli-qt, installed beside it, which takes over the process.
#pragma once

namespace lumora::cli {

inline constexpr const char* kQtProgram = "lumora-cli-qt";

// Replaces this process with lumora-cli-qt from this program's folder, with the same arguments,
// output and exit code. Returns (after an error message) only when it cannot be started.
int RunQtProgram(char** argv);

}  // namespace lumora::cli
