// lumora-cli: renders, converts and inspects projects from the command line, on the editor's own
// code. This program links no Qt: it converts bitmap files and resaves projects itself, and hands
// every other command to lumora-cli-qt (QtProgram.h).
#include <exception>
#include <string>
#include <vector>

#include "cli/CliConsole.h"
#include "cli/CliHelp.h"
#include "cli/CliOptions.h"
#include "cli/ConvertCommand.h"
#include "cli/QtProgram.h"
#include "cli/ResaveCommand.h"
#include "pictureio/LoadedPicture.h"

int main(int argc, char** argv) {
  using namespace lumora::cli;
  const ParseResult parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto answered = AnswerWithoutRunning(parsed)) return *answered;
  const CliOptions& options = parsed.options;
  try {
    if (options.command == "resave") return RunResave(options);
    if (options.command == "convert" && !options.files.empty() && lumora::IsBitmapFile(options.files[0]))
      return RunConvert(options);
  } catch (const std::exception& e) {
    PrintError(e.what());
    return kExitFailed;
  }
  return RunQtProgram(argv);
}
