// The editor's ReportError: beep, the error report window owned by the main window, and either
// going on ("&Retry") or closing the main window ("Exit").
#pragma once

class QWidget;

namespace lumora {

class LumoraError;

// Installs the reporter for the whole program; errors are reported to this main window.
void InstallErrorReport(QWidget& mainWindow);
// Reports one error; returns true when the user chose to go on.
bool ShowErrorReport(const LumoraError& error, QWidget* mainWindow);

}  // namespace lumora
