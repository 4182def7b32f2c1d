// The command line to the project path opened at start.
#include "app/mMain.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(mMain, TheCommandLineGivesThePendingPath) {
  const std::pair<QStringList, QString> cases[] = {
      {{"lumora"}, ""},
      {{"lumora", "/a b/c.lmp"}, "/a b/c.lmp"},
      {{"lumora", "/a", "b.lmp"}, "/a b.lmp"},  // an unquoted path with a blank comes in two
      {{"lumora", "\"/home/u/my banner.lmp\""}, "/home/u/my banner.lmp"},
      {{"lumora", "\" spaced \""}, " spaced "},
      {{"lumora", "   /tmp/a.lmp  "}, "/tmp/a.lmp"},
      {{"lumora", "\t/tmp/a.lmp\t"}, "\t/tmp/a.lmp\t"},  // tabs are not blanks
      {{"lumora", "\"/tmp/open.lmp"}, "/tmp/open.lm"},   // no closing quote: the last character is lost
      {{"lumora", "\""}, ""},
      {{"lumora", "\"\""}, ""},
      {{"lumora", "   "}, ""},
  };
  for (const auto& [arguments, path] : cases)
    EXPECT_EQ(mMain::ProjectPathFromArgument(mMain::ArgumentText(arguments)), path) << arguments.join('|').toStdString();
}

}  // namespace
}  // namespace lumora
