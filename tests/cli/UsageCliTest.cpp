#include <gtest/gtest.h>

#include "CliRunner.h"

namespace lumora::test {
namespace {

class UsageCli : public testing::Test, public CliFixture {};

TEST_F(UsageCli, HelpDescribesEveryCommand) {
  const CliRun run = Cli({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  for (const char* word : {"render", "--set", "--csv", "{row}", "convert", "info", "--json", "resave", "--library",
                           "Exit status"})
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST_F(UsageCli, HelpForOneCommand) {
  const CliRun run = Cli({"info", "--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("--json"), std::string::npos);
  EXPECT_EQ(run.out.find("--csv"), std::string::npos);
}

struct BadLine {
  QStringList arguments;
  const char* says;
};

class BadCommandLine : public UsageCli, public testing::WithParamInterface<BadLine> {};

TEST_P(BadCommandLine, ExitsWithTwoAndOneLine) {
  const CliRun run = Cli(GetParam().arguments);
  EXPECT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, BadCommandLine,
                         testing::Values(BadLine{{}, "no command"}, BadLine{{"paint", "x.lmp"}, "unknown command paint"},
                                         BadLine{{"render", "x.lmp", "--frobnicate"}, "unknown option --frobnicate"},
                                         BadLine{{"render", "x.lmp", "-o"}, "-o needs a value"},
                                         BadLine{{"render", "x.lmp", "-o", "a.png", "-o", "b.png"}, "more than once"},
                                         BadLine{{"render", "x.lmp"}, "needs -o"},
                                         BadLine{{"render", "-o", "a.png"}, "one project file"},
                                         BadLine{{"info"}, "one project file"},
                                         BadLine{{"resave", "a.lmp"}, "output name"}));

}  // namespace
}  // namespace lumora::test
