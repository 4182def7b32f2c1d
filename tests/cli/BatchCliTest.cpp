// lumora-cli render --csv: one picture per row, each the project with the row's values set.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "CliRunner.h"

namespace lumora::test {
namespace {

class BatchCli : public testing::Test, public CliFixture {
 protected:
  QString WriteCsv(const QByteArray& text) const {
    QFile file(Scratch("data.csv"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return file.fileName();
  }
  CliRun Render(const QString& output, const QStringList& more) const {
    return Cli(QStringList{"render", "--library", Library(), Project("shadows.lmp"), "-o", Scratch(output)} + more);
  }
};

// Names come from the row number and the columns; values cannot lead a file elsewhere.
TEST_F(BatchCli, EachRowIsTheProjectWithItsValuesSet) {
  const QString csv = WriteCsv(
      "\xEF\xBB\xBFname,2.Caption,1.ForeColor\r\n"
      "first,\"Hello, world\",255\r\n"
      "\n"
      "second,Line one[/nl]line two,65280\n"
      "../third,\"She said \"\"hi\"\"\",16711680\r"
      "..,x,0");
  const CliRun run = Render("out/{row}-{name}.png", {"--csv", csv, "--set", "2.Caption=from set", "--set", "3.Caption=Everyone"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << "no progress bar when stderr is not a terminal: " << run.err;
  for (const char* name : {"out/1-first.png", "out/3-.._third.png", "out/4-_.png"})
    EXPECT_FALSE(QImage(Scratch(name)).isNull()) << name;
  EXPECT_FALSE(QFile::exists(Scratch("third.png")));
  const CliRun single = Render("two.png", {"--set", "2.Caption=Line one[/nl]line two", "--set", "1.ForeColor=65280",
                                           "--set", "3.Caption=Everyone"});
  ASSERT_EQ(single.exitCode, 0) << single.err;
  EXPECT_EQ(QImage(Scratch("out/2-second.png")), QImage(Scratch("two.png"))) << "--set for every row, the row wins";
  EXPECT_NE(QImage(Scratch("out/1-first.png")), QImage(Scratch("two.png")));
}

struct BadBatch {
  QByteArray csv;
  const char* pattern;
  int exitCode;
  const char* says;
};

// A batch that cannot be run as a whole fails before writing anything; a bad row fails alone.
TEST_F(BatchCli, FailuresAndTheirExitStatus) {
  const std::vector<BadBatch> cases = {
      {"name\na\nb\n", "same.png", 2, "would both write"}, {"name\na\n", "{nmae}.png", 2, "{nmae}"},
      {"name\na\n", "{row.png", 2, "without its"},          {"7.Caption\nx\n", "{row}.png", 2, "no text item 7"},
      {"1.Colour\nx\n", "{row}.png", 2, "not a text item property"},
      {"name\n\"never closed\n", "{row}.png", 1, "never closed"},
      {"a\n1,2\n", "{row}.png", 1, "more fields than the header"},
      {"", "{row}.png", 1, "no header"},
      {"\n\n", "{row}.png", 1, "no header"}};
  for (const BadBatch& c : cases) {
    SCOPED_TRACE(c.pattern + std::string(" ") + c.csv.toStdString());
    const CliRun run = Render(c.pattern, {"--csv", WriteCsv(c.csv)});
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.errLines(), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(QDir(Scratch("")).entryList({"*.png"}).isEmpty());
  }
  EXPECT_EQ(Render("{row}.png", {"--csv", Scratch("absent.csv")}).exitCode, 1);
  const CliRun run = Render("{row}.png", {"--csv", WriteCsv("1.FontBold\nTrue\nmaybe\nFalse\n")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find("row 2"), std::string::npos) << run.err;
  EXPECT_EQ(QDir(Scratch("")).entryList({"*.png"}), (QStringList{"1.png", "3.png"}));
}

}  // namespace
}  // namespace lumora::test
