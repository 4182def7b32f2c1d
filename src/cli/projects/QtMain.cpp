// lumora-cli-qt: the commands of lumora-cli that need Qt (rendering, inspecting projects,
// converting pictures other than bitmaps), on the editor's own code; lumora-cli hands them over.
// It never shows a window: when it needs a GUI application at all, it runs on Qt's offscreen
// platform.
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliConsole.h"
#include "cli/CliHelp.h"
#include "cli/CliOptions.h"
#include "cli/ConvertCommand.h"
#include "cli/ResaveCommand.h"
#include "cli/projects/InfoCommand.h"
#include "cli/projects/RenderCommand.h"
#include "compose/BuildImage.h"
#include "compose/PictureLoader.h"

namespace {

// Qt's own chatter (the platform's environment, a decoder's complaint) is not for the user: each
// failure already gets one clear line of ours.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) std::fprintf(stderr, "lumora-cli: %s\n", qPrintable(message));
}

// A converted picture is a document with no text over it.
void KeepConvertAlpha(lumora::ImageExport& job, const std::filesystem::path& output, const lumora::ExportOptions& options,
                      const lumora::LoadedPicture& loaded) {
  lumora::PrepareTransparency(job, output, options, lumora::Document(), loaded.picture, loaded.alpha);
}

int Run(const lumora::cli::CliOptions& options) {
  using namespace lumora::cli;
  if (options.command == "render") return RunRender(options);
  if (options.command == "convert") return RunConvert(options, {&lumora::LoadPictureFile, &KeepConvertAlpha});
  if (options.command == "info") return RunInfo(options);
  return RunResave(options);
}

// Only rendering lays out text, and so do the readers of pictures other than bitmaps, JPEG, PNG
// and GIF (SVG's): they need a GUI application, whose platform and fonts take longer to start
// than converting a small picture. Qt's image readers and the projects need no more than a core
// application.
bool NeedsGui(const lumora::cli::CliOptions& options) {
  if (options.command == "render") return true;
  return options.command == "convert" && !options.files.empty() && !lumora::LoadsWithoutGui(options.files[0]);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace lumora::cli;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  qInstallMessageHandler(QuietQtMessages);
  const ParseResult parsed = ParseCommandLine(arguments);
  if (const auto answered = AnswerWithoutRunning(parsed)) return *answered;
  // Qt takes options such as -platform out of argv; ours were read before it sees them.
  int qtArgc = 1;
  std::unique_ptr<QCoreApplication> app;
  if (NeedsGui(parsed.options)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(qtArgc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(qtArgc, argv);  // the program's folder, for the library
  }
  try {
    return Run(parsed.options);
  } catch (const std::exception& e) {
    PrintError(e.what());
    return kExitFailed;
  }
}
