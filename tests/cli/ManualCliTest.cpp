// The manual page and the bash completion of lumora-cli say what its help says: the same options,
// and for the completion the same commands and each command's own options.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "CliRunner.h"

namespace lumora::test {
namespace {

class ManualCli : public testing::Test, public CliFixture {
 protected:
  static QString Packaging(const QString& name) { return Projects() + "/../../../packaging/" + name; }
  // Every option a text names, sorted, once each, joined by blanks.
  static std::string Options(const QString& text) {
    QStringList options;
    static const QRegularExpression option(R"((?<![\w-])--?[a-z][a-z-]*)");
    for (const auto& match : option.globalMatch(text)) options << match.captured();
    options.sort();
    options.removeDuplicates();
    return options.join(' ').toStdString();
  }
  QString Help(const QString& command = "") const {
    return QString::fromStdString(Cli(command.isEmpty() ? QStringList{"--help"} : QStringList{command, "--help"}).out);
  }
  // What the completion offers for the words typed so far, sorted.
  QStringList Complete(const QString& words) const {
    const QString script = "source '" + Packaging("lumora-cli.bash-completion") + "'; COMP_WORDS=(" + words +
                           "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _lumora_cli; printf '%s\\n' \"${COMPREPLY[@]}\"";
    QStringList offered =
        QString::fromStdString(Program("/bin/bash", {"-c", script}, {}).out).split('\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
  }
};

TEST_F(ManualCli, ManualPageNamesTheOptionsOfTheHelp) {
  QFile page(Packaging("lumora-cli.1.in"));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  QString roff = QString::fromUtf8(page.readAll()).replace("\\-", "-");
  roff.remove(QRegularExpression(R"(\\f[BIRP])"));
  EXPECT_EQ(Options(roff), Options(Help()));
}

TEST_F(ManualCli, CompletionOffersTheCommandsOfTheHelp) {
  static const QRegularExpression usage(R"(^lumora-cli (\w+))", QRegularExpression::MultilineOption);
  QStringList commands;
  for (const auto& match : usage.globalMatch(Help())) commands << match.captured(1);
  commands.removeDuplicates();
  commands.sort();
  EXPECT_EQ(Complete("lumora-cli ''").filter(QRegularExpression("^[^-]")), commands);
}

class CommandCompletion : public ManualCli, public testing::WithParamInterface<const char*> {};

TEST_P(CommandCompletion, OffersTheOptionsOfTheCommandsHelp) {
  EXPECT_EQ(Complete(QString("lumora-cli %1 -").arg(GetParam())).join(' ').toStdString(), Options(Help(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandCompletion, testing::Values("render", "convert", "info", "resave"));

}  // namespace
}  // namespace lumora::test
