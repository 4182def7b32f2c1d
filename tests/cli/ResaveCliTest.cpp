#include <gtest/gtest.h>

#include <QFile>

#include "CliRunner.h"

namespace lumora::test {
namespace {

class ResaveCli : public testing::Test, public CliFixture {
 protected:
  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }
};

// The sample files are in the writer's form already; the hidden item gets its closing line.
TEST_F(ResaveCli, WritesTheWritersForm) {
  ASSERT_EQ(Cli({"resave", Project("shadows.lmp"), Scratch("a.lmp")}).exitCode, 0);
  EXPECT_EQ(Bytes(Scratch("a.lmp")), Bytes(Project("shadows.lmp")));
  ASSERT_EQ(Cli({"resave", Project("multiline.lmp"), Scratch("m.lmp")}).exitCode, 0);
  EXPECT_EQ(Bytes(Scratch("m.lmp")), Bytes(Project("multiline.lmp"))) << "Windows-1252 stays Windows-1252";

  const CliRun run = Cli({"resave", Project("stacking.lmp"), Scratch("b.lmp")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errLines(), 1) << "the missing closing line is a warning";
  QByteArray expected = Bytes(Project("stacking.lmp"));
  expected.replace("</Shadow>\r\n</ZEB Image File>", "</Shadow>\r\n\t</TextItem>\r\n</ZEB Image File>");
  EXPECT_EQ(Bytes(Scratch("b.lmp")), expected);
  ASSERT_EQ(Cli({"resave", Scratch("b.lmp"), Scratch("c.lmp")}).exitCode, 0);
  EXPECT_EQ(Bytes(Scratch("c.lmp")), Bytes(Scratch("b.lmp")));
}

TEST_F(ResaveCli, FailedWriteLeavesTheOldFile) {
  QFile old(Scratch("missing-folder/x.lmp"));
  const CliRun run = Cli({"resave", Project("shadows.lmp"), old.fileName()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1);
  EXPECT_FALSE(old.exists());
}

TEST_F(ResaveCli, NotAProjectIsNotWritten) {
  const CliRun run = Cli({"resave", Projects() + "/golden/shadows.png", Scratch("x.lmp")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(QFile::exists(Scratch("x.lmp")));
}

}  // namespace
}  // namespace lumora::test
