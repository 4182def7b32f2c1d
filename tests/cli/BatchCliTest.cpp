// Batch renders through the real lumora-cli: broken CSV files, --rows, --dry-run, --report and
// --jobs, whose files must not depend on how many rows run at once.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliRunner.h"

namespace lumora::test {
namespace {

class BatchCli : public testing::Test, public CliFixture {
 protected:
  QString Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Scratch(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return file.fileName();
  }
  QByteArray Read(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  CliRun Batch(const QByteArray& csv, const QStringList& more, const QString& project = Project("shadows.lmp")) const {
    return Cli(QStringList{"render", "--library", Library(), project, "--csv", Write("data.csv", csv)} + more);
  }
  QStringList Pictures(const QString& folder = "") const {
    return QDir(Scratch(folder)).entryList({"*.png", "*.gif", "*.jpg", "*.bmp"}, QDir::Files, QDir::Name);
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

INSTANTIATE_TEST_SUITE_P(Files, BrokenCsvCli,
                         testing::Values(BrokenCsv{"a,b\n1,\"x\"y\n", "line 2: text follows a closing quote"},
                                         BrokenCsv{"\xEF\xBB\xBF"
                                                   "a\r\nok\r\n5\"6\r\n",
                                                   "line 3: a quote inside"},
                                         BrokenCsv{"a\n\"2\n3\"\n\"open\n5\n",
                                                   "line 4: a quoted field is never closed"},
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
  EXPECT_EQ(run.out, QString("row 1: would write %1\nrow 3: would write %2\n")
                         .arg(Scratch("out/1.png"), Scratch("out/3.png"))
                         .toStdString());
  EXPECT_FALSE(QFile::exists(Scratch("out")));
}

// Rows 2 and 3 of a project the reader warns about (an item without its closing line).
TEST_F(BatchCli, ReportHasOneRecordPerRow) {
  QByteArray project = Read(Project("shadows.lmp"));
  const QString unclosed = Write("unclosed.lmp", project.remove(project.lastIndexOf("</TextItem>"), 11));
  const CliRun run = Batch("n,1.FontBold\na,True\nb,maybe\nc,False\n",
                           {"-o", Scratch("{n}.png"), "--rows", "2-", "--report", Scratch("report.json")}, unclosed);
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(Pictures(), QStringList{"c.png"});
  const QJsonArray records = QJsonDocument::fromJson(Read(Scratch("report.json"))).array();
  ASSERT_EQ(records.size(), 2);
  const QJsonObject b = records[0].toObject(), c = records[1].toObject();
  EXPECT_EQ(QStringList({b["status"].toString(), c["status"].toString()}), QStringList({"failed", "ok"}));
  EXPECT_EQ(QList({b["row"].toInt(), c["row"].toInt()}), QList({2, 3}));
  EXPECT_TRUE(b["message"].toString().contains("maybe"));
  EXPECT_EQ(c["message"].toString(), "");
  EXPECT_EQ(c["output"].toString(), Scratch("c.png"));
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
  EXPECT_EQ(QList({one.exitCode, four.exitCode}), QList({1, 1}));
  EXPECT_EQ(one.errLines(), 2) << one.err;
  EXPECT_EQ(QString::fromStdString(four.err).replace("/four/", "/one/").toStdString(), one.err);
  ASSERT_EQ(Pictures("one").size(), 22);
  EXPECT_EQ(Pictures("four"), Pictures("one"));
  for (const QString& name : Pictures("one"))
    EXPECT_EQ(Read(Scratch("four/" + name)), Read(Scratch("one/" + name))) << name.toStdString();
}

}  // namespace
}  // namespace lumora::test
