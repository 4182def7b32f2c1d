#include "cli/QtProgram.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "cli/CliConsole.h"

namespace lumora::cli {

int RunQtProgram(char** argv) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::filesystem::path program = self.parent_path() / kQtProgram;
  ::execv(program.c_str(), argv);
  PrintError("cannot start " + program.string() + ": " + std::strerror(errno));
  return kExitFailed;
}

}  // namespace lumora::cli
