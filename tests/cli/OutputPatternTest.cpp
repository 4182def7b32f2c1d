#include "cli/OutputPattern.h"

#include <gtest/gtest.h>

#include "cli/CsvTable.h"

namespace lumora::cli {
namespace {

CsvTable Table() {
  CsvTable table;
  table.Parse("name,1.Caption,with space\nx,y,z\n");
  return table;
}

TEST(OutputPattern, RowAndColumnsExpand) {
  OutputPattern pattern;
  ASSERT_TRUE(pattern.Parse("out/{row}-{name}_{1.Caption}{with space}.jpg", Table()));
  EXPECT_EQ(pattern.Expand(7, {"Ann", "Sale", "!"}), "out/7-Ann_Sale!.jpg");
}

TEST(OutputPattern, PlainNameStaysAsItIs) {
  OutputPattern pattern;
  ASSERT_TRUE(pattern.Parse("picture.png", Table()));
  EXPECT_EQ(pattern.Expand(3, {"a", "b", "c"}), "picture.png");
}

TEST(OutputPattern, ValuesCannotChangeFolder) {
  OutputPattern pattern;
  ASSERT_TRUE(pattern.Parse("out/{name}.png", Table()));
  EXPECT_EQ(pattern.Expand(1, {"../../etc/x", "", ""}), "out/.._.._etc_x.png");
  EXPECT_EQ(pattern.Expand(1, {"..", "", ""}), "out/_.png");
  EXPECT_EQ(pattern.Expand(1, {".", "", ""}), "out/_.png");
  EXPECT_EQ(pattern.Expand(1, {"a\\b\nc", "", ""}), "out/a_b_c.png");
  EXPECT_EQ(pattern.Expand(1, {"Caf\xC3\xA9", "", ""}), "out/Caf\xC3\xA9.png") << "UTF-8 stays";
}

TEST(OutputPattern, UnknownNameOrOpenBraceIsRefused) {
  OutputPattern pattern;
  EXPECT_FALSE(pattern.Parse("{Name}.png", Table()));
  EXPECT_NE(pattern.error().find("{Name}"), std::string::npos);
  EXPECT_FALSE(pattern.Parse("{row.png", Table()));
  EXPECT_FALSE(pattern.error().empty());
}

}  // namespace
}  // namespace lumora::cli
