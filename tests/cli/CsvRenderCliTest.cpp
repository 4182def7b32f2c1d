#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "CliRunner.h"

namespace lumora::test {
namespace {

class CsvRenderCli : public testing::Test, public CliFixture {
 protected:
  QString WriteCsv(const QByteArray& text) const {
    QFile file(Scratch("data.csv"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return file.fileName();
  }
  CliRun Render(const QString& csv, const QString& pattern, const QStringList& more = {}) const {
    return Cli(QStringList{"render", "--library", Library(), Project("shadows.lmp"), "--csv", csv, "-o", pattern} + more);
  }
};

TEST_F(CsvRenderCli, OnePicturePerRowNamedByRowAndColumn) {
  const QString csv = WriteCsv(
      "name,2.Caption,1.ForeColor\r\n"
      "first,\"Hello, world\",255\r\n"
      "second,Line one[/nl]line two,65280\n"
      "third,\"She said \"\"hi\"\"\",16711680\n");
  const CliRun run = Render(csv, Scratch("out/{row}-{name}.png"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << "no progress bar when stderr is not a terminal: " << run.err;
  for (const char* name : {"out/1-first.png", "out/2-second.png", "out/3-third.png"})
    EXPECT_FALSE(QImage(Scratch(name)).isNull()) << name;

  // Row 2 is the project with those two values set.
  const CliRun single = Cli({"render", "--library", Library(), Project("shadows.lmp"), "-o", Scratch("two.png"),
                             "--set", "2.Caption=Line one[/nl]line two", "--set", "1.ForeColor=65280"});
  ASSERT_EQ(single.exitCode, 0) << single.err;
  EXPECT_EQ(QImage(Scratch("out/2-second.png")), QImage(Scratch("two.png")));
  EXPECT_NE(QImage(Scratch("out/1-first.png")), QImage(Scratch("two.png")));
}

TEST_F(CsvRenderCli, SetAppliesToEveryRowAndTheRowWins) {
  const QString csv = WriteCsv("2.Caption\nfrom the row\n");
  ASSERT_EQ(Render(csv, Scratch("{row}.png"), {"--set", "2.Caption=from set", "--set", "1.Caption=Everyone"}).exitCode, 0);
  ASSERT_EQ(Cli({"render", "--library", Library(), Project("shadows.lmp"), "-o", Scratch("expected.png"), "--set",
                 "2.Caption=from the row", "--set", "1.Caption=Everyone"})
                .exitCode,
            0);
  EXPECT_EQ(QImage(Scratch("1.png")), QImage(Scratch("expected.png")));
}

// A value cannot lead the file elsewhere: separators become "_".
TEST_F(CsvRenderCli, ValuesInNamesStayInTheFolder) {
  const QString csv = WriteCsv("name\n../escape\n..\n");
  const CliRun run = Render(csv, Scratch("out/{name}.png"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(QFile::exists(Scratch("out/.._escape.png")));
  EXPECT_TRUE(QFile::exists(Scratch("out/_.png")));
  EXPECT_FALSE(QFile::exists(Scratch("escape.png")));
}

struct BadBatch {
  const char* csv;
  const char* pattern;
  int exitCode;
  const char* says;
};

class BadBatchCli : public CsvRenderCli, public testing::WithParamInterface<BadBatch> {};

TEST_P(BadBatchCli, FailsBeforeWritingAnything) {
  const CliRun run = Render(WriteCsv(GetParam().csv), Scratch(GetParam().pattern));
  EXPECT_EQ(run.exitCode, GetParam().exitCode);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
  EXPECT_TRUE(QDir(Scratch("")).entryList({"*.png"}).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Batches, BadBatchCli,
    testing::Values(BadBatch{"name\na\nb\n", "same.png", 2, "would both write"},
                    BadBatch{"name\na\n", "{nmae}.png", 2, "{nmae}"},
                    BadBatch{"name\na\n", "{row.png", 2, "without its"},
                    BadBatch{"7.Caption\nx\n", "{row}.png", 2, "no text item 7"},
                    BadBatch{"1.Colour\nx\n", "{row}.png", 2, "not a text item property"},
                    BadBatch{"name\n\"never closed\n", "{row}.png", 1, "never closed"},
                    BadBatch{"a\n1,2\n", "{row}.png", 1, "more fields than the header"},
                    BadBatch{"", "{row}.png", 1, "no header"}));

TEST_F(CsvRenderCli, ABadRowFailsAloneAndTheRestAreWritten) {
  const QString csv = WriteCsv("1.FontBold\nTrue\nmaybe\nFalse\n");
  const CliRun run = Render(csv, Scratch("{row}.png"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find("row 2"), std::string::npos) << run.err;
  EXPECT_TRUE(QFile::exists(Scratch("1.png")));
  EXPECT_FALSE(QFile::exists(Scratch("2.png")));
  EXPECT_TRUE(QFile::exists(Scratch("3.png")));
}

TEST_F(CsvRenderCli, MissingCsvFails) {
  const CliRun run = Render(Scratch("absent.csv"), Scratch("{row}.png"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1);
}

}  // namespace
}  // namespace lumora::test
