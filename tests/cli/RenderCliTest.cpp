// lumora-cli render: the sample projects against their golden pictures, --set, every route by the
// output's name, and the failures with their exit status and one line on stderr.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "../compose/Decoders.h"
#include "CliRunner.h"

namespace lumora::test {
namespace {

class RenderCli : public testing::Test, public CliFixture {
 protected:
  // Writes a copy of a sample project with pieces of text replaced.
  QString Edited(const QString& name, const std::vector<std::pair<QByteArray, QByteArray>>& changes) const {
    QFile in(Project(name));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    for (const auto& [from, to] : changes) {
      const qsizetype at = bytes.lastIndexOf(from);
      EXPECT_GE(at, 0) << from.toStdString();
      bytes.replace(at, from.size(), to);
    }
    QFile out(Scratch("edited-" + name));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    return out.fileName();
  }
  CliRun Render(const QString& project, const QString& output, const QStringList& more = {}) const {
    return Cli(QStringList{"render", "--library", Library(), project, "-o", Scratch(output)} + more);
  }
};

// Shadows under texts at every offset size, stacking, multi-line alignment, a hidden item; and the
// golden pictures really show those: a closed item or another alignment changes them.
TEST_F(RenderCli, SamplesMatchTheirGoldenPictures) {
  for (const char* name : {"shadows", "stacking", "multiline"}) {
    const CliRun run = Render(Project(QString(name) + ".lmp"), "out.png");
    ASSERT_FALSE(run.crashed);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.errLines(), std::string(name) == "stacking" ? 1 : 0) << run.err;
    EXPECT_TRUE(MatchesGolden(QImage(Scratch("out.png")), Golden(name))) << name;
  }
  const QString closed = Edited("stacking.lmp", {{"</Shadow>\r\n</ZEB Image File>", "</Shadow>\r\n\t</TextItem>\r\n</ZEB Image File>"}});
  const CliRun run = Render(closed, "closed.png");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.errLines(), 0) << "no warning once the item is closed";
  EXPECT_FALSE(MatchesGolden(QImage(Scratch("closed.png")), Golden("stacking")));
  ASSERT_EQ(Render(Edited("multiline.lmp", {{"<Alignment>2</Alignment>", "<Alignment>0</Alignment>"}}), "left.png").exitCode, 0);
  EXPECT_FALSE(MatchesGolden(QImage(Scratch("left.png")), Golden("multiline")));
}

// --set N.FIELD=VALUE gives the picture of a project file holding that value; options may come
// first and missing folders are made.
TEST_F(RenderCli, SetEqualsEditingTheFile) {
  const CliRun set = Cli({"-o", Scratch("made/here/set.png"), "--library", Library(), "render", Project("shadows.lmp"),
                          "--set", "2.Caption=Summer[/nl]sale", "--set=4.Shadow=False"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  const QString edited = Edited("shadows.lmp", {{"<Caption>Seventeen</Caption>", "<Caption>Summer[/nl]sale</Caption>"},
                                                {"<Shadow>True</Shadow>", "<Shadow>False</Shadow>"}});
  ASSERT_EQ(Render(edited, "file.png").exitCode, 0);
  EXPECT_EQ(QImage(Scratch("made/here/set.png")), QImage(Scratch("file.png")));
  EXPECT_FALSE(MatchesGolden(QImage(Scratch("file.png")), Golden("shadows")));
}

TEST_F(RenderCli, EveryRouteByTheOutputsName) {
  for (const char* name : {"out.jpg", "out.JPEG", "out.gif", "out.bmp", "out.png"})
    ASSERT_EQ(Render(Project("multiline.lmp"), name).exitCode, 0) << name;
  EXPECT_LT(MeanChannelDifference(DecodeJpeg(ScratchPath("out.jpg")), Golden("multiline")), 1.0);
  EXPECT_FALSE(DecodeJpeg(ScratchPath("out.JPEG")).isNull());
  EXPECT_TRUE(MatchesGolden(QImage(Scratch("out.bmp")), Golden("multiline")));
  // White paper: the GIF's background becomes transparent; a blue sky's does not.
  const DecodedGif gif = DecodeGif(ScratchPath("out.gif"));
  EXPECT_EQ(std::make_pair(gif.version, gif.gif.transparent), std::make_pair(std::string("GIF89a"), 0));
  EXPECT_LT(MeanChannelDifference(gif.image, Golden("multiline")), 3.0);
  ASSERT_EQ(Render(Project("shadows.lmp"), "sky.gif").exitCode, 0);
  const DecodedGif sky = DecodeGif(ScratchPath("sky.gif"));
  EXPECT_EQ(std::make_pair(sky.version, sky.gif.transparent), std::make_pair(std::string("GIF87a"), -1));
}

struct Failure {
  const char* name;
  std::vector<std::pair<QByteArray, QByteArray>> changes;  // to shadows.lmp
  QStringList arguments;                                    // after the project
  int exitCode;
  std::string says;
};

// Nothing is written, and stderr holds one line naming the cause.
TEST_F(RenderCli, FailuresWriteNothing) {
  QDir().mkpath(Scratch("lib/T/C"));
  QFile broken(Scratch("lib/T/C/broken.png"));
  broken.open(QIODevice::WriteOnly);
  broken.write("not a picture");
  broken.close();
  QDir().mkpath(Scratch("taken.png/inside"));
  const QString sky = "Banners\\Summer Sky\\sky.png";
  const std::string beside = std::filesystem::path(LUMORA_CLI_PATH).parent_path().string() + "/templates";
  const std::vector<Failure> cases = {
      {"missing template", {{sky.toUtf8(), "Summer Sky\\rain.png"}}, {}, 1, "rain.png"},
      {"template outside the library", {{sky.toUtf8(), "..\\templates\\" + sky.toUtf8()}}, {}, 1, "..\\templates"},
      {"unreadable template", {{sky.toUtf8(), "T\\C\\broken.png"}}, {"--library", Scratch("lib")}, 1, "broken.png"},
      {"default library beside the program", {{sky.toUtf8(), "No Such\\x\\y.png"}}, {"--library", ""}, 1, beside},
      {"not a project", {{"<ZEB Image File>", "<zeb image file>"}}, {}, 1, "not a ZEB Lumora project file"},
      {"unwritable output", {}, {"-o", Scratch("taken.png")}, 1, "The image could not be saved."},
      {"no such item", {}, {"--set", "9.Caption=x"}, 2, "no text item 9"},
      {"item 0", {}, {"--set", "0.Caption=x"}, 2, "no text item 0"},
      {"no such property", {}, {"--set", "1.Colour=5"}, 2, "not a text item property"},
      {"not a boolean", {}, {"--set", "1.FontBold=yes"}, 2, "True or False"},
      {"no item number", {}, {"--set", "Caption=x"}, 2, "N.FIELD=VALUE"},
      {"no value", {}, {"--set", "1.Caption"}, 2, "N.FIELD=VALUE"},
  };
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.name);
    const QString project = c.changes.empty() ? Project("shadows.lmp") : Edited("shadows.lmp", c.changes);
    QStringList arguments = {"render", project, "-o", Scratch("x.png"), "--library", Library()};
    for (qsizetype i = 0; i + 1 < c.arguments.size(); i += 2) {
      const qsizetype at = arguments.indexOf(c.arguments[i]);
      if (at >= 0) arguments.remove(at, 2);
      if (!c.arguments[i + 1].isEmpty()) arguments << c.arguments[i] << c.arguments[i + 1];
    }
    const CliRun run = Cli(arguments);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.errLines(), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_FALSE(QFile::exists(Scratch("x.png")));
  }
}

}  // namespace
}  // namespace lumora::test
