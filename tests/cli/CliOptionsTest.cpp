#include "cli/CliOptions.h"

#include <gtest/gtest.h>

#include "cli/InfoCommand.h"

namespace lumora::cli {
namespace {

TEST(ParseCommandLine, OptionsAnywhere) {
  const ParseResult r = ParseCommandLine({"-o", "out.png", "render", "--set", "1.Caption=a b", "p.lmp",
                                          "--library=lib", "--set=2.Top=15", "--csv", "d.csv", "--json"});
  ASSERT_TRUE(r.error.empty()) << r.error;
  EXPECT_EQ(r.options.command, "render");
  EXPECT_EQ(r.options.files, (std::vector<std::string>{"p.lmp"}));
  EXPECT_EQ(r.options.output, "out.png");
  EXPECT_EQ(r.options.library, "lib");
  EXPECT_EQ(r.options.csv, "d.csv");
  EXPECT_EQ(r.options.settings, (std::vector<std::string>{"1.Caption=a b", "2.Top=15"}));
  EXPECT_TRUE(r.options.json);
  EXPECT_FALSE(r.options.help);
}

TEST(ParseCommandLine, DoubleDashEndsOptions) {
  const ParseResult r = ParseCommandLine({"convert", "--", "-odd.png", "--help"});
  ASSERT_TRUE(r.error.empty());
  EXPECT_EQ(r.options.files, (std::vector<std::string>{"-odd.png", "--help"}));
  EXPECT_FALSE(r.options.help);
}

TEST(ParseCommandLine, ValueMayStartWithADash) {
  const ParseResult r = ParseCommandLine({"render", "p.lmp", "-o", "-x.png"});
  EXPECT_EQ(r.options.output, "-x.png");
}

TEST(ParseCommandLine, HelpNeedsNoCommand) {
  const ParseResult r = ParseCommandLine({"--help"});
  EXPECT_TRUE(r.error.empty());
  EXPECT_TRUE(r.options.help);
  EXPECT_EQ(ParseCommandLine({"-h", "render"}).options.command, "render");
}

TEST(ParseCommandLine, Errors) {
  EXPECT_EQ(ParseCommandLine({}).error, "no command given");
  EXPECT_EQ(ParseCommandLine({"draw"}).error, "unknown command draw");
  EXPECT_EQ(ParseCommandLine({"info", "--jsn"}).error, "unknown option --jsn");
  EXPECT_EQ(ParseCommandLine({"info", "--library"}).error, "--library needs a value");
  EXPECT_EQ(ParseCommandLine({"render", "--csv", "a", "--csv=b"}).error, "--csv is given more than once");
}

TEST(JsonString, EscapesWhatJsonNeeds) {
  EXPECT_EQ(JsonString("plain"), "\"plain\"");
  EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonString("1\r\n2\t"), "\"1\\r\\n2\\t\"");
  EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\\u007f\"");
  EXPECT_EQ(JsonString("Caf\xC3\xA9"), "\"Caf\xC3\xA9\"");
  EXPECT_EQ(JsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
}

}  // namespace
}  // namespace lumora::cli
