#include "CliRunner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <cstdlib>

namespace lumora::test {

CliRun CliFixture::Cli(const QStringList& arguments, const QProcessEnvironment& environment) const {
  return Program(QStringLiteral(LUMORA_CLI_PATH), arguments, environment);
}

CliRun CliFixture::Program(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment) const {
  QProcess process;
  process.setWorkingDirectory(m_dir.path());
  if (!environment.isEmpty()) process.setProcessEnvironment(environment);
  process.start(program, arguments);
  CliRun run;
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    run.crashed = true;
    return run;
  }
  run.crashed = process.exitStatus() != QProcess::NormalExit;
  run.exitCode = process.exitCode();
  run.out = process.readAllStandardOutput().toStdString();
  run.err = process.readAllStandardError().toStdString();
  return run;
}

QString CliFixture::Scratch(const QString& name) const { return m_dir.path() + "/" + name; }

QString CliFixture::Write(const QString& name, const QByteArray& bytes) const {
  QFile file(Scratch(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return file.fileName();
}

QByteArray CliFixture::Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString CliFixture::Projects() { return QString::fromLocal8Bit(std::getenv("LUMORA_TEST_DATA")) + "/projects"; }

QImage CliFixture::Golden(const QString& name) { return QImage(Projects() + "/golden/" + name + ".png"); }

::testing::AssertionResult MatchesGolden(const QImage& actual, const QImage& golden) {
  if (actual.isNull()) return ::testing::AssertionFailure() << "no picture";
  if (actual.size() != golden.size())
    return ::testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height() << " instead of "
                                         << golden.width() << "x" << golden.height();
  long long far = 0;
  double sum = 0;
  for (int y = 0; y < golden.height(); ++y)
    for (int x = 0; x < golden.width(); ++x) {
      const QRgb a = actual.pixel(x, y), g = golden.pixel(x, y);
      const int d = std::max({std::abs(qRed(a) - qRed(g)), std::abs(qGreen(a) - qGreen(g)), std::abs(qBlue(a) - qBlue(g))});
      sum += d;
      far += d > 48;
    }
  const double pixels = double(golden.width()) * golden.height();
  if (far > pixels * 0.005 || sum / pixels > 1.5)
    return ::testing::AssertionFailure() << far << " pixels differ by more than 48, mean difference " << sum / pixels;
  return ::testing::AssertionSuccess();
}

}  // namespace lumora::test

// The CLI tests drive the real lumora-cli through QProcess; decoding pictures needs an application.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
