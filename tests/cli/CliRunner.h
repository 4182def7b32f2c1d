// Runs lumora-cli (LUMORA_CLI_PATH) in a scratch folder and keeps what it said; and the sample
// projects with their golden renders under tests/data/projects.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <string>

namespace lumora::test {

struct CliRun {
  bool crashed = false;
  int exitCode = -1;
  std::string out;
  std::string err;
  int errLines() const { return static_cast<int>(std::count(err.begin(), err.end(), '\n')); }
};

class CliFixture {
 public:
  // Runs the program with these arguments in the scratch folder (with this environment, when given).
  CliRun Cli(const QStringList& arguments, const QProcessEnvironment& environment = {}) const;
  // Runs any program in the scratch folder.
  CliRun Program(const QString& program, const QStringList& arguments,
                 const QProcessEnvironment& environment = {}) const;
  // A path inside the scratch folder; a file written there; any file's bytes.
  QString Scratch(const QString& name) const;
  QString Write(const QString& name, const QByteArray& bytes) const;
  static QByteArray Read(const QString& path);
  std::filesystem::path ScratchPath(const QString& name) const { return Scratch(name).toStdString(); }
  static QString Projects();  // tests/data/projects
  static QString Sources(const QString& path) { return Projects() + "/../../../" + path; }
  static QString Project(const QString& name) { return Projects() + "/" + name; }
  static QString Library() { return Projects() + "/templates"; }
  static QImage Golden(const QString& name);

 private:
  QTemporaryDir m_dir;
};

// Pictures drawn with the same fonts by a different FreeType may differ at glyph edges: at most
// 0.5 % of pixels may differ by more than 48 in a channel, and the mean difference stays small.
::testing::AssertionResult MatchesGolden(const QImage& actual, const QImage& golden);

}  // namespace lumora::test
