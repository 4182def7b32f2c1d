#include <gtest/gtest.h>

#include <QFile>

#include "CliRunner.h"

namespace lumora::test {
namespace {

class UsageCli : public testing::Test, public CliFixture {};

// Options anywhere; "--" ends them, so a file may start with a dash.
TEST_F(UsageCli, OptionsAnywhereAndDoubleDash) {
  const CliRun run = Cli({"-o", Scratch("-x.png"), "--library=" + Library(), "render", "--", "-odd.lmp"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("-odd.lmp"), std::string::npos) << run.err;
}

TEST_F(UsageCli, HelpDescribesEveryCommand) {
  const CliRun run = Cli({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  for (const char* word : {"render", "--set", "--csv", "{row}", "convert", "info", "--json", "resave", "--library",
                           "Exit status"})
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  EXPECT_TRUE(run.err.empty()) << run.err;
  const CliRun info = Cli({"info", "--help"});
  EXPECT_EQ(info.exitCode, 0);
  EXPECT_NE(info.out.find("--json"), std::string::npos);
  EXPECT_EQ(info.out.find("--csv"), std::string::npos);
}

struct BadLine {
  QStringList arguments;
  const char* says;
};

TEST_F(UsageCli, BadCommandLinesExitWithTwoAndOneLine) {
  const std::vector<BadLine> cases = {
      {{}, "no command"},
      {{"paint", "x.lmp"}, "unknown command paint"},
      {{"render", "x.lmp", "--frobnicate"}, "unknown option --frobnicate"},
      {{"render", "x.lmp", "-o"}, "-o needs a value"},
      {{"render", "x.lmp", "-o", "a.png", "-o", "b.png"}, "more than once"},
      {{"render", "x.lmp", "--csv", "a", "--csv=b", "-o", "c.png"}, "--csv is given more than once"},
      {{"render", "x.lmp"}, "needs -o"},
      {{"render", "-o", "a.png"}, "one project file"},
      {{"info"}, "one project file"},
      {{"resave", "a.lmp"}, "output name"},
      {{"convert", "a.png"}, "convert"},
      {{"convert", "a.png", "b.png", "c.png"}, "convert"}};
  for (const BadLine& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    const CliRun run = Cli(c.arguments);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errLines(), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
}

// It needs no display whatever the environment asks for.
TEST_F(UsageCli, RunsWithoutADisplay) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "xcb");
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  const CliRun run = Cli({"render", "--library", Library(), Project("shadows.lmp"), "-o", Scratch("x.png")}, environment);
  EXPECT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  EXPECT_TRUE(MatchesGolden(QImage(Scratch("x.png")), Golden("shadows")));
}

// On a terminal a batch shows its progress on stderr (script(1) gives the program a terminal).
TEST_F(UsageCli, ProgressBarOnATerminal) {
  if (!QFile::exists("/usr/bin/script")) GTEST_SKIP() << "script(1) is not installed";
  QFile csv(Scratch("d.csv"));
  ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
  csv.write("n\na\nb\nc\n");
  csv.close();
  const QString command = QString("'%1' render --library '%2' '%3' --csv '%4' -o '%5'")
                              .arg(LUMORA_CLI_PATH, Library(), Project("shadows.lmp"), csv.fileName(),
                                   Scratch("out/{n}.png"));
  const CliRun run = Program("/usr/bin/script", {"-qec", command, "/dev/null"}, QProcessEnvironment::systemEnvironment());
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("] 0/3"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("[##############################] 3/3"), std::string::npos) << run.out;
  EXPECT_TRUE(QFile::exists(Scratch("out/c.png")));
}

}  // namespace
}  // namespace lumora::test
