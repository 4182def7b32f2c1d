// The CSV reader's forms and its memory bound, and JSON string escapes.
#include <gtest/gtest.h>

#include "cli/CsvTable.h"
#include "cli/InfoCommand.h"

namespace lumora::cli {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(CsvTable, QuotedFieldsLineEndsAndShortRows) {
  CsvTable table;
  ASSERT_TRUE(table.Parse("a,b,c\r\n1,\"x, y\",\"two\r\nlines\"\r2,\"\",5\"6\n\n3"));
  EXPECT_EQ(table.Header(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(table.Rows(), (Rows{{"1", "x, y", "two\r\nlines"}, {"2", "", "5\"6"}, {"3", "", ""}}));
  EXPECT_EQ(table.Column("c"), 2);
  EXPECT_EQ(table.Column("d"), -1);
  std::string text = "a\n";
  for (size_t i = 0; i < CsvTable::kMaxRows + 5; ++i) text += "x\n";
  EXPECT_FALSE(table.Parse(text));
  EXPECT_NE(table.error().find("million"), std::string::npos);
  EXPECT_TRUE(table.Rows().empty());
}

TEST(JsonString, EscapesWhatJsonNeeds) {
  EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonString("1\r\n2\t"), "\"1\\r\\n2\\t\"");
  EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f\0", 4)), "\"\\u0001\\u001f\\u007f\\u0000\"");
  EXPECT_EQ(JsonString("Caf\xC3\xA9"), "\"Caf\xC3\xA9\"");
}

}  // namespace
}  // namespace lumora::cli
