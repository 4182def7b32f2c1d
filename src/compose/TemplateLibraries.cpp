#include "compose/TemplateLibraries.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace lumora {

std::filesystem::path ProgramTemplateLibrary() {
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "templates";
}

std::filesystem::path UserTemplateLibrary() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return std::filesystem::path(data.toStdString()) / "zeb-lumora" / "templates";
}

std::vector<std::filesystem::path> TemplateLibraries() { return {ProgramTemplateLibrary(), UserTemplateLibrary()}; }

}  // namespace lumora
