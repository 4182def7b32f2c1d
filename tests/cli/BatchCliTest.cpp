// Batch renders through the real lumora-cli: broken CSV files, --rows, --dry-run, --report and
// --jobs, whose files must not depend on how many rows run at once.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliRunner.h"
#include "base/AppInfo.h"

namespace lumora::test {
namespace {

class BatchCli : public testing::Test, public CliFixture {
 protected:
  CliRun Batch(const QByteArray& csv, const QStringList& more, const QString& project = Project("shadows.lmp")) const {
    QFile file(Scratch("data.csv"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size());
    file.close();
    return Cli(QStringList{"render", "--library", Library(), project, "--csv", file.fileName()} + more);
  }
  QStringList Pictures(const QString& folder = "") const {
    return QDir(Scratch(folder)).entryList({"*.png", "*.gif", "*.jpg", "*.bmp"}, QDir::Files, QDir::Name);
  }
  QByteArray Bytes(const QString& name) const {
    QFile file(Scratch(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
};

struct BrokenCsv {
  const char* csv;
  const char* says;
};

class BrokenCsvCli : public BatchCli, public testing::WithParamInterface<BrokenCsv> {};

TEST_P(BrokenCsvCli, RefusedWithItsLine) {
  const CliRun run = Batch(GetParam().csv, {"-o", Scratch("{row}.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
  EXPECT_TRUE(Pictures().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenCsvCli,
    testing::Values(BrokenCsv{"a,b\n1,\"x\"y\n", "line 2: text follows a closing quote"},
                    BrokenCsv{"\xEF\xBB\xBF"
                              "a\r\nok\r\n5\"6\r\n",
                              "line 3: a quote inside a field"},
                    BrokenCsv{"a\n\"two\nlines\"\n\"open\nstill\n", "line 4: a quoted field is never closed"},
                    BrokenCsv{"a\n\"x\"\n1,2\n", "line 3: row 2 has more fields"}));

struct Rows {
  const char* range;
  QStringList written;
};

class RowsCli : public BatchCli, public testing::WithParamInterface<Rows> {};

TEST_P(RowsCli, RendersOnlyThoseRows) {
  const CliRun run = Batch("n\na\nb\nc\nd\n", {"-o", Scratch("{row}.png"), "--rows", GetParam().range});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Pictures(), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Ranges, RowsCli,
                         testing::Values(Rows{"2-3", {"2.png", "3.png"}}, Rows{"3-", {"3.png", "4.png"}},
                                         Rows{"-2", {"1.png", "2.png"}}, Rows{"4", {"4.png"}},
                                         Rows{"1-9", {"1.png", "2.png", "3.png", "4.png"}}));

TEST_F(BatchCli, DryRunChecksEveryRowAndWritesNothing) {
  const CliRun run = Batch("1.FontBold\nTrue\nmaybe\nFalse\n", {"-o", Scratch("out/{row}.png"), "--dry-run"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("row 2"), std::string::npos) << run.err;
  for (const char* row : {"row 1: would write ", "row 3: would write "})
    EXPECT_NE(run.out.find(row), std::string::npos) << run.out;
  EXPECT_FALSE(QFile::exists(Scratch("out")));
}

// Rows 2 and 3 of a project with a reader's warning: row 2 fails, row 3 is still written.
TEST_F(BatchCli, ReportHasOneRecordPerRow) {
  QFile source(Project("shadows.lmp"));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  QByteArray project = source.readAll();
  project.remove(project.lastIndexOf("</TextItem>"), 11);
  QFile broken(Scratch("unclosed.lmp"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write(project) == project.size());
  broken.close();
  const CliRun run = Batch("n,1.FontBold\na,True\nb,maybe\nc,False\n",
                           {"-o", Scratch("{n}.png"), "--rows", "2-", "--report", Scratch("report.json")},
                           broken.fileName());
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(Pictures(), QStringList{"c.png"});
  const QJsonArray records = QJsonDocument::fromJson(Bytes("report.json")).array();
  ASSERT_EQ(records.size(), 2) << Bytes("report.json").toStdString();
  const QJsonObject b = records[0].toObject(), c = records[1].toObject();
  EXPECT_EQ(b["row"].toInt(), 2);
  EXPECT_EQ(b["status"].toString(), "failed");
  EXPECT_TRUE(b["message"].toString().contains("maybe"));
  EXPECT_EQ(c["row"].toInt(), 3);
  EXPECT_EQ(c["output"].toString(), Scratch("c.png"));
  EXPECT_EQ(c["status"].toString(), "ok");
  EXPECT_EQ(c["message"].toString(), "");
  EXPECT_EQ(c["warnings"].toArray().size(), 1);
}

// Every export route, GIF most; two rows fail. Errors come in row order whatever order rows finish in.
TEST_F(BatchCli, JobsWriteTheSameFilesAndErrors) {
  QByteArray csv = "ext,2.Caption,1.FontBold\n";
  const char* routes[] = {"gif", "jpg", "gif", "png", "gif", "bmp"};
  for (int r = 1; r <= 24; ++r)
    csv += QByteArray(routes[r % 6]) + ",Row " + QByteArray::number(r) + (r % 11 ? ",True\n" : ",maybe\n");
  const CliRun one = Batch(csv, {"-o", Scratch("one/{row}.{ext}"), "--jobs", "1"});
  const CliRun four = Batch(csv, {"-o", Scratch("four/{row}.{ext}"), "--jobs", "4"});
  EXPECT_EQ(one.exitCode, 1);
  EXPECT_EQ(four.exitCode, 1);
  EXPECT_EQ(one.errLines(), 2) << one.err;
  EXPECT_EQ(QString::fromStdString(four.err).replace("/four/", "/one/").toStdString(), one.err);
  ASSERT_EQ(Pictures("one").size(), 22);
  EXPECT_EQ(Pictures("four"), Pictures("one"));
  for (const QString& name : Pictures("one")) EXPECT_EQ(Bytes("four/" + name), Bytes("one/" + name)) << name.toStdString();
}

TEST_F(BatchCli, VersionIsTheProjectVersion) {
  const CliRun run = Cli({"--version"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, std::string("lumora-cli ") + kVersionText + "\n");
}

}  // namespace
}  // namespace lumora::test
