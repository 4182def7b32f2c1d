#include "cli/CsvTable.h"

#include <gtest/gtest.h>

namespace lumora::cli {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(CsvTable, QuotedFieldsHoldCommasQuotesAndLineBreaks) {
  CsvTable table;
  ASSERT_TRUE(table.Parse("a,b,c\r\n1,\"x, y\",\"say \"\"hi\"\"\"\r\n2,\"two\r\nlines\",\n"));
  EXPECT_EQ(table.Header(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(table.Rows(), (Rows{{"1", "x, y", "say \"hi\""}, {"2", "two\r\nlines", ""}}));
}

TEST(CsvTable, LineEndsOfEveryKindAndNoFinalLineEnd) {
  CsvTable table;
  ASSERT_TRUE(table.Parse("h\r1\n2\r\n3"));
  EXPECT_EQ(table.Rows(), (Rows{{"1"}, {"2"}, {"3"}}));
}

TEST(CsvTable, BlankLinesAreSkippedAndShortRowsPadded) {
  CsvTable table;
  ASSERT_TRUE(table.Parse("\xEF\xBB\xBFh1,h2\n\nonly\n\n"));
  EXPECT_EQ(table.Header()[0], "h1") << "a byte-order mark is not part of the first name";
  EXPECT_EQ(table.Rows(), (Rows{{"only", ""}}));
  EXPECT_EQ(table.Column("h2"), 1);
  EXPECT_EQ(table.Column("h3"), -1);
}

TEST(CsvTable, EmptyQuotedFieldIsAField) {
  CsvTable table;
  ASSERT_TRUE(table.Parse("a,b\n\"\",x\n"));
  EXPECT_EQ(table.Rows(), (Rows{{"", "x"}}));
}

struct BadCsv {
  const char* text;
  const char* says;
};

class BadCsvTest : public testing::TestWithParam<BadCsv> {};

TEST_P(BadCsvTest, RefusedWithAReason) {
  CsvTable table;
  EXPECT_FALSE(table.Parse(GetParam().text));
  EXPECT_NE(table.error().find(GetParam().says), std::string::npos) << table.error();
  EXPECT_TRUE(table.Header().empty());
  EXPECT_TRUE(table.Rows().empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, BadCsvTest,
                         testing::Values(BadCsv{"", "no header"}, BadCsv{"\n\n", "no header"},
                                         BadCsv{"a\n\"open\n", "never closed"},
                                         BadCsv{"a,b\n1,2,3\n", "more fields"}));

TEST(CsvTable, TooManyRowsIsRefusedInBoundedMemory) {
  std::string text = "a\n";
  text.reserve(2 * (CsvTable::kMaxRows + 10));
  for (size_t i = 0; i < CsvTable::kMaxRows + 5; ++i) text += "x\n";
  CsvTable table;
  EXPECT_FALSE(table.Parse(text));
  EXPECT_NE(table.error().find("million"), std::string::npos);
}

TEST(CsvTable, MissingFile) {
  CsvTable table;
  EXPECT_FALSE(table.Load("/nonexistent/folder/data.csv"));
  EXPECT_FALSE(table.error().empty());
}

}  // namespace
}  // namespace lumora::cli
