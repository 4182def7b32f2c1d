// mMain: the program's start-up, before any window exists, and the program-wide values it keeps.
#pragma once

#include <QString>
#include <QStringList>

namespace lumora::mMain {

// The vendor's web addresses.
QString HomePageAddress();
QString ProductPageAddress();

// The project named on the command line; emptied once it has been opened.
extern QString PendingProjectPath;

// The command line's argument text (the arguments after the program, joined by blanks) to a
// project path: a text that starts with a double quote loses its first and last characters,
// any other text its surrounding blanks (tabs stay). A lone quote gives an empty path.
QString ProjectPathFromArgument(const QString& argumentText);
QString ArgumentText(const QStringList& arguments);

// Writes the program's folder to the per-user settings ("ZEB Software", "General", "ZEBLumoraPath").
void WriteProgramPath(const QString& programFolder);

// Start-up: settings, command line, the main window shown; then the event loop until it closes.
// "lumora --version" prints the version and returns instead.
int Main(int argc, char** argv);

}  // namespace lumora::mMain
