// Start-up rules: the command line to a project path, and the settings value.
#include "app/mMain.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>

namespace lumora {
namespace {

struct CommandLineCase {
  const char* text;
  const char* path;
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, GivesThePendingPath) {
  EXPECT_EQ(mMain::ProjectPathFromArgument(QString::fromUtf8(GetParam().text)), QString::fromUtf8(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(
    mMain, CommandLine,
    ::testing::Values(CommandLineCase{"", ""}, CommandLineCase{"\"/home/u/my banner.lmp\"", "/home/u/my banner.lmp"},
                      CommandLineCase{"\" spaced \"", " spaced "},
                      CommandLineCase{"   /tmp/a.lmp  ", "/tmp/a.lmp"},
                      CommandLineCase{"\t/tmp/a.lmp\t", "\t/tmp/a.lmp\t"},  // tabs are not blanks
                      CommandLineCase{"\"/tmp/open.lmp", "/tmp/open.lm"},   // no closing quote: last character lost
                      CommandLineCase{"\"", ""},                            // a lone quote
                      CommandLineCase{"\"\"", ""}, CommandLineCase{"   ", ""}));

TEST(mMain, ArgumentTextJoinsTheArgumentsAfterTheProgram) {
  EXPECT_EQ(mMain::ArgumentText({QStringLiteral("lumora")}), QString());
  EXPECT_EQ(mMain::ArgumentText({QStringLiteral("lumora"), QStringLiteral("/a b/c.lmp")}), QStringLiteral("/a b/c.lmp"));
  EXPECT_EQ(mMain::ArgumentText({QStringLiteral("lumora"), QStringLiteral("/a"), QStringLiteral("b.lmp")}),
            QStringLiteral("/a b.lmp"));
}

TEST(mMain, ProgramFolderIsWrittenToTheSettingsEveryStart) {
  QStandardPaths::setTestModeEnabled(true);
  mMain::WriteProgramPath(QStringLiteral("/first"));
  mMain::WriteProgramPath(QStringLiteral("/opt/lumora"));
  QSettings settings(QStringLiteral("ZEB Software"));
  EXPECT_EQ(settings.value(QStringLiteral("General/ZEBLumoraPath")).toString(), QStringLiteral("/opt/lumora"));
  settings.clear();
}

TEST(mMain, WebAddressesAreTheVendors) {
  EXPECT_TRUE(mMain::HomePageAddress().startsWith(QStringLiteral("http")));
  EXPECT_TRUE(mMain::ProductPageAddress().startsWith(mMain::HomePageAddress()));
}

}  // namespace
}  // namespace lumora
