#include "cli/CliHelp.h"

#include <cstdio>

#include "base/AppInfo.h"
#include "cli/CliConsole.h"
#include "cli/CliOptions.h"

namespace lumora::cli {

namespace {

constexpr const char* kRender = R"(lumora-cli render [--library DIR] PROJECT.lmp -o OUT [--set N.FIELD=VALUE ...]
                  [--quality N] [--gif-palette classic|best] [--png-alpha] [--dry-run]
lumora-cli render [--library DIR] PROJECT.lmp --csv DATA.csv -o PATTERN [--set ...] [--rows A-B]
                  [--jobs N] [--quality N] [--gif-palette classic|best] [--png-alpha] [--dry-run]
                  [--report FILE.json]
  Renders a project exactly as the editor's Save Image does. The output's name picks the
  format: .gif (256 colours; a white top-left pixel makes the background transparent), .bmp,
  .png, anything else JPEG (at quality 100 unless --quality says otherwise). Missing output
  folders are created.
  -o, --output OUT     the picture to write (with --csv, the PATTERN of the names)
  --set N.FIELD=VALUE  changes a property of the N-th text item in stacking order (from 1,
                       bottom-most first) before rendering. FIELD is a project-file tag: Left,
                       Top, Alignment, Caption, FontName, FontBold, FontItalic, FontSize,
                       FontUnderline, FontStrikethru, ForeColor, Shadow, ShadowColor, and the
                       effects Outline, OutlineColor, OutlineWidth (1-20 px), OutlinePlacement
                       (0 outside, 1 centred), ShadowOffset (-100-100 px; empty: by font size),
                       ShadowBlur (0-20 px), LetterSpacing (-50-200 % of the size),
                       LineHeight (25-400 % of the font's), BoxWidth and BoxHeight (twips; the
                       caption wraps at words inside the width), FitToBox (the size shrinks to
                       MinFontSize until the text fits) and Arc (-360-360 degrees the text
                       bends through). Values are written as in a project
                       file: "[/nl]" breaks a caption's line, booleans are True or False,
                       colours are 0x00BBGGRR as decimal numbers.
  --csv DATA.csv       renders one picture per data row. The file is RFC 4180 CSV (UTF-8, a
                       byte-order mark allowed). The header row names the columns; columns
                       named N.FIELD set that property for their row (after --set).
                       In the output PATTERN, {row} is the row's number (from 1) and {COLUMN}
                       the row's value in that column, e.g. -o 'out/{row}-{name}.jpg'.
                       A row that fails is reported and the other rows are still written.
  --rows A-B           renders only data rows A to B (from 1, both included; also A-, -B, N),
                       so that several runs can share one file.
  --jobs N             renders N rows at a time (default: one per processor); the files are
                       the same whatever N is.
  --dry-run            checks the project, every row and every output name, and writes nothing.
  --quality N          JPEG quality from 1 to 100 (default 100); other formats ignore it.
  --gif-palette P      how a GIF's 256 colours are chosen: classic (default, from a small copy
                       of the picture) or best (from every pixel: slower, keeps thin text's
                       colours).
  --png-alpha          a PNG keeps the template's transparency (other formats put it on white).
  --report FILE.json   writes one record per row: {"row", "output", "status": "ok" or
                       "failed", "message", "warnings": [...]}.
)";

constexpr const char* kConvert = R"(lumora-cli convert [--quality N] [--gif-palette classic|best] [--png-alpha] IN OUT
  Writes a picture (BMP, PNG, JPEG or GIF) through the same export routes as render: OUT's
  name picks the format; --quality, --gif-palette and --png-alpha work as for render. An unreadable,
  damaged or oversized input is refused with a message.
)";

constexpr const char* kInfo = R"(lumora-cli info [--json] [--library DIR] PROJECT.lmp
  Shows the document as the project reader understood it: the template and whether the library
  has it, every text item in stacking order, and the problems met while reading. With --json,
  one JSON object: {"TemplateName", "TemplateFound", "Items": [...], "Problems": [...]}.
)";

constexpr const char* kResave = R"(lumora-cli resave IN.lmp OUT.lmp
  Reads a project file and writes it back in the writer's form (the file is replaced only once
  the new one is complete).
)";

constexpr const char* kCommon = R"(Options may come before or after the file names; "--" ends them.
  --library DIR   the only template library to look in (default: the "templates" folder
                  beside the program file, links followed, /usr/lib/zeb-lumora/templates from
                  the package; then the user's ~/.local/share/zeb-lumora/templates)
  --help, -h      this text; "lumora-cli COMMAND --help" describes one command
  --version       the program's name and version
Exit status: 0 done, 1 the work failed (a message on stderr says why; for a batch, a row
failed), 2 wrong command line.
Warnings (for example a text item without its closing line) go to stderr and do not fail.
The commands and options above are stable: they keep their names from now on.
)";

}  // namespace

std::string HelpText(const std::string& command) {
  if (command == "render") return std::string(kRender) + "\n" + kCommon;
  if (command == "convert") return std::string(kConvert) + "\n" + kCommon;
  if (command == "info") return std::string(kInfo) + "\n" + kCommon;
  if (command == "resave") return std::string(kResave) + "\n" + kCommon;
  return std::string("lumora-cli: renders ZEB Lumora projects and converts pictures without a display.\n\n") +
         kRender + "\n" + kConvert + "\n" + kInfo + "\n" + kResave + "\n" + kCommon;
}

std::optional<int> AnswerWithoutRunning(const ParseResult& parsed) {
  if (parsed.options.help) {
    std::fputs(HelpText(parsed.options.command).c_str(), stdout);
    return kExitOk;
  }
  if (parsed.options.version) {
    std::printf("lumora-cli %s\n", kVersionText);
    return kExitOk;
  }
  if (!parsed.error.empty()) {
    PrintError(parsed.error + " (see lumora-cli --help)");
    return kExitUsage;
  }
  return std::nullopt;
}

}  // namespace lumora::cli
