#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "CliRunner.h"
#include "../compose/Decoders.h"

namespace lumora::test {
namespace {

class RenderCli : public testing::Test, public CliFixture {
 protected:
  // Writes a copy of a sample project with one piece of text replaced.
  QString EditedProject(const QString& name, const QByteArray& from, const QByteArray& to) const {
    QFile in(Project(name));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    EXPECT_TRUE(bytes.contains(from));
    bytes.replace(from, to);
    QFile out(Scratch("edited-" + name));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    return out.fileName();
  }
};

class GoldenRender : public RenderCli, public testing::WithParamInterface<const char*> {};

// Shadows under texts at every offset size, stacking, multi-line alignment, a hidden item.
TEST_P(GoldenRender, MatchesTheGoldenPicture) {
  const QString name = GetParam();
  const CliRun run = Cli({"render", "--library", Library(), Project(name + ".lmp"), "-o", Scratch("out.png")});
  ASSERT_FALSE(run.crashed);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(MatchesGolden(QImage(Scratch("out.png")), Golden(name)));
}

INSTANTIATE_TEST_SUITE_P(Samples, GoldenRender, testing::Values("shadows", "stacking", "multiline"));

// The golden pictures really depend on what they are said to show.
TEST_F(RenderCli, HiddenItemWouldShowOnceClosed) {
  const QString closed = EditedProject("stacking.lmp", "\t\t<ShadowColor>0</Shadow>\r\n</ZEB Image File>",
                                       "\t\t<ShadowColor>0</Shadow>\r\n\t</TextItem>\r\n</ZEB Image File>");
  const CliRun run = Cli({"render", "--library", Library(), closed, "-o", Scratch("closed.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_FALSE(MatchesGolden(QImage(Scratch("closed.png")), Golden("stacking")));
  EXPECT_EQ(run.errLines(), 0) << "no warning once the item is closed";
}

TEST_F(RenderCli, HiddenItemIsAWarningNotAFailure) {
  const CliRun run = Cli({"render", "--library", Library(), Project("stacking.lmp"), "-o", Scratch("s.png")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errLines(), 1);
  EXPECT_NE(run.err.find("warning"), std::string::npos);
}

TEST_F(RenderCli, ChangedAlignmentChangesThePicture) {
  const QString left = EditedProject("multiline.lmp", "<Alignment>2</Alignment>", "<Alignment>0</Alignment>");
  ASSERT_EQ(Cli({"render", "--library", Library(), left, "-o", Scratch("left.png")}).exitCode, 0);
  EXPECT_FALSE(MatchesGolden(QImage(Scratch("left.png")), Golden("multiline")));
}

// --set N.FIELD=VALUE gives the same picture as a project file holding that value.
TEST_F(RenderCli, SetEqualsEditingTheFile) {
  const CliRun set = Cli({"render", Project("shadows.lmp"), "--set", "2.Caption=Summer[/nl]sale", "--set=4.Shadow=False",
                          "-o", Scratch("set.png"), "--library", Library()});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  QString edited = EditedProject("shadows.lmp", "<Caption>Seventeen</Caption>", "<Caption>Summer[/nl]sale</Caption>");
  QFile file(edited);
  file.open(QIODevice::ReadOnly);
  QByteArray bytes = file.readAll();
  file.close();
  const int last = bytes.lastIndexOf("<Shadow>True</Shadow>");
  bytes.replace(last, 21, "<Shadow>False</Shadow>");
  file.open(QIODevice::WriteOnly);
  file.write(bytes);
  file.close();
  ASSERT_EQ(Cli({"render", "--library", Library(), edited, "-o", Scratch("file.png")}).exitCode, 0);
  const QImage a(Scratch("set.png")), b(Scratch("file.png"));
  EXPECT_EQ(a, b);
  EXPECT_FALSE(MatchesGolden(a, Golden("shadows")));
}

struct BadSetting {
  const char* setting;
  const char* says;
};

class BadSetCli : public RenderCli, public testing::WithParamInterface<BadSetting> {};

TEST_P(BadSetCli, IsAUsageErrorAndWritesNothing) {
  const CliRun run = Cli({"render", "--library", Library(), Project("shadows.lmp"), "-o", Scratch("x.png"), "--set",
                          GetParam().setting});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
  EXPECT_FALSE(QFile::exists(Scratch("x.png")));
}

INSTANTIATE_TEST_SUITE_P(Settings, BadSetCli,
                         testing::Values(BadSetting{"9.Caption=x", "no text item 9"},
                                         BadSetting{"0.Caption=x", "no text item 0"},
                                         BadSetting{"1.Colour=5", "not a text item property"},
                                         BadSetting{"1.FontBold=yes", "True or False"},
                                         BadSetting{"Caption=x", "N.FIELD=VALUE"},
                                         BadSetting{"1.Caption", "N.FIELD=VALUE"}));

TEST_F(RenderCli, EveryRouteByTheOutputsName) {
  for (const char* name : {"out.jpg", "out.JPEG", "out.gif", "out.bmp", "out.png"}) {
    const CliRun run = Cli({"render", "--library", Library(), Project("multiline.lmp"), "-o", Scratch(name)});
    ASSERT_EQ(run.exitCode, 0) << name << run.err;
  }
  const DecodedJpeg jpeg = DecodeJpeg(ScratchPath("out.jpg"));
  ASSERT_TRUE(jpeg.ok);
  EXPECT_LT(MeanChannelDifference(jpeg.image, Golden("multiline")), 1.0);
  EXPECT_TRUE(DecodeJpeg(ScratchPath("out.JPEG")).ok);
  EXPECT_TRUE(MatchesGolden(QImage(Scratch("out.bmp")), Golden("multiline")));
  // White paper: the GIF's background becomes transparent.
  const DecodedGif gif = DecodeGif(ScratchPath("out.gif"));
  ASSERT_TRUE(gif.ok);
  EXPECT_EQ(gif.version, "GIF89a");
  EXPECT_EQ(gif.transparentIndex, 0);
  EXPECT_LT(MeanChannelDifference(gif.image, Golden("multiline")), 3.0);
}

TEST_F(RenderCli, GifOfABlueSkyHasNoTransparency) {
  ASSERT_EQ(Cli({"render", "--library", Library(), Project("shadows.lmp"), "-o", Scratch("sky.gif")}).exitCode, 0);
  const DecodedGif gif = DecodeGif(ScratchPath("sky.gif"));
  ASSERT_TRUE(gif.ok);
  EXPECT_EQ(gif.version, "GIF87a");
  EXPECT_EQ(gif.transparentIndex, -1);
}

TEST_F(RenderCli, OptionsMayComeFirstAndMissingFoldersAreMade) {
  const CliRun run = Cli({"-o", Scratch("made/here/out.png"), "--library", Library(), "render", Project("shadows.lmp")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(MatchesGolden(QImage(Scratch("made/here/out.png")), Golden("shadows")));
}

TEST_F(RenderCli, MissingTemplateFailsNamingItAndWritesNothing) {
  const QString project = EditedProject("shadows.lmp", "Summer Sky\\sky.png", "Summer Sky\\rain.png");
  const CliRun run = Cli({"render", "--library", Library(), project, "-o", Scratch("x.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find("rain.png"), std::string::npos) << run.err;
  EXPECT_FALSE(QFile::exists(Scratch("x.png")));
}

TEST_F(RenderCli, TemplateOutsideTheLibraryIsRefused) {
  const QString project = EditedProject("shadows.lmp", "Banners\\Summer Sky\\sky.png", "..\\templates\\Banners\\Summer Sky\\sky.png");
  const CliRun run = Cli({"render", "--library", Library(), project, "-o", Scratch("x.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("..\\templates"), std::string::npos) << run.err;
  EXPECT_FALSE(QFile::exists(Scratch("x.png")));
}

TEST_F(RenderCli, UnreadableTemplateFails) {
  QFile broken(Scratch("lib/T/C/broken.png"));
  QDir().mkpath(Scratch("lib/T/C"));
  broken.open(QIODevice::WriteOnly);
  broken.write("not a picture");
  broken.close();
  const QString project = EditedProject("shadows.lmp", "Banners\\Summer Sky\\sky.png", "T\\C\\broken.png");
  const CliRun run = Cli({"render", "--library", Scratch("lib"), project, "-o", Scratch("x.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find("broken.png"), std::string::npos);
}

// Without --library the templates folder beside the program is searched.
TEST_F(RenderCli, DefaultLibraryIsBesideTheProgram) {
  const QString project = EditedProject("shadows.lmp", "Banners\\Summer Sky\\sky.png", "No Such Type\\x\\y.png");
  const CliRun run = Cli({"render", project, "-o", Scratch("x.png")});
  EXPECT_EQ(run.exitCode, 1);
  const std::string beside = std::filesystem::path(LUMORA_CLI_PATH).parent_path().string() + "/templates";
  EXPECT_NE(run.err.find(beside), std::string::npos) << run.err;
}

TEST_F(RenderCli, NotAProjectFails) {
  QFile file(Scratch("not.lmp"));
  file.open(QIODevice::WriteOnly);
  file.write("<zeb image file>\r\n");
  file.close();
  const CliRun run = Cli({"render", file.fileName(), "-o", Scratch("x.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1);
  EXPECT_EQ(Cli({"render", Scratch("missing.lmp"), "-o", Scratch("x.png")}).exitCode, 1);
}

TEST_F(RenderCli, UnwritableOutputFails) {
  QDir().mkpath(Scratch("taken.png/inside"));
  const CliRun run = Cli({"render", "--library", Library(), Project("shadows.lmp"), "-o", Scratch("taken.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("The image could not be saved."), std::string::npos) << run.err;
}

}  // namespace
}  // namespace lumora::test
