// lumora-cli render: the sample projects against their golden pictures, --set, every route by the
// output's name, batches from a CSV table, and the failures with their exit status and one line
// on stderr.
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
    QByteArray bytes = Read(Project(name));
    for (const auto& [from, to] : changes) {
      const qsizetype at = bytes.lastIndexOf(from);
      EXPECT_GE(at, 0) << from.toStdString();
      bytes.replace(at, from.size(), to);
    }
    return Write("edited-" + name, bytes);
  }
  CliRun Render(const QString& project, const QString& output, const QStringList& more = {}) const {
    return Cli(QStringList{"render", "--library", Library(), project, "-o", Scratch(output)} + more);
  }
  CliRun Batch(const QString& output, const QStringList& more) const { return Render(Project("shadows.lmp"), output, more); }
  QString WriteCsv(const QByteArray& text) const { return Write("data.csv", text); }
};

// Shadows under texts at every offset size, stacking, multi-line alignment, a hidden item, the
// effects, Hebrew and Arabic captions (shaped, right to left, outlined, softly shadowed); and the
// golden pictures really show those: a closed item, another alignment or a missing effect changes them.
TEST_F(RenderCli, SamplesMatchTheirGoldenPictures) {
  for (const char* name : {"shadows", "stacking", "multiline", "effects", "scripts"}) {
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
  // Each effect shows: without it the picture differs.
  for (const char* effect : {"\t\t<OutlinePlacement>1</OutlinePlacement>\r\n", "\t\t<ShadowBlur>8</ShadowBlur>\r\n",
                                   "\t\t<ShadowOffset>6</ShadowOffset>\r\n", "\t\t<LetterSpacing>25</LetterSpacing>\r\n",
                                   "\t\t<LineHeight>80</LineHeight>\r\n", "\t\t<Outline>True</Outline>\r\n"}) {
    ASSERT_EQ(Render(Edited("effects.lmp", {{effect, ""}}), "without.png").exitCode, 0) << effect;
    EXPECT_FALSE(MatchesGolden(QImage(Scratch("without.png")), Golden("effects"))) << effect;
  }
}

// --set N.FIELD=VALUE gives the picture of a project file holding that value; options may come
// first and missing folders are made.
TEST_F(RenderCli, SetEqualsEditingTheFile) {
  const CliRun set = Cli({"-o", Scratch("made/here/set.png"), "--library", Library(), "render", Project("shadows.lmp"),
                          "--set", "2.Caption=Summer[/nl]sale", "--set=4.Shadow=False", "--set", "1.Outline=True",
                          "--set", "1.ShadowBlur=3"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  const QString edited = Edited("shadows.lmp", {{"<Caption>Seventeen</Caption>", "<Caption>Summer[/nl]sale</Caption>"},
                                                {"<Shadow>True</Shadow>", "<Shadow>False</Shadow>"},
                                                {"Sixteen points</Caption>", "Sixteen points</Caption>\r\n<Outline>True</Outline>"},
                                                {"<ShadowColor>0</Shadow>", "<ShadowColor>0</Shadow>\r\n<ShadowBlur>3</ShadowBlur>"}});
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
  // White paper: the GIF's background becomes transparent.
  const DecodedGif gif = DecodeGif(ScratchPath("out.gif"));
  EXPECT_EQ(std::make_pair(gif.version, gif.gif.transparent), std::make_pair(std::string("GIF89a"), 0));
  EXPECT_LT(MeanChannelDifference(gif.image, Golden("multiline")), 3.0);
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
  Write("lib/T/C/broken.png", "not a picture");
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
      {"outline too wide", {}, {"--set", "1.OutlineWidth=999"}, 2, "OutlineWidth takes a whole number from 1 to 20"},
      {"negative blur", {}, {"--set", "1.ShadowBlur=-1"}, 2, "ShadowBlur takes a whole number from 0 to 20"},
      {"spacing not a number", {}, {"--set", "1.LetterSpacing=wide"}, 2, "not \"wide\""},
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


// Names come from the row number and the columns; values cannot lead a file elsewhere.
TEST_F(RenderCli, EachRowIsTheProjectWithItsValuesSet) {
  const QString csv = WriteCsv(
      "\xEF\xBB\xBFname,2.Caption,1.ForeColor\r\n"
      "first,\"Hello, world\",255\r\n"
      "\n"
      "second,Line one[/nl]line two,65280\n"
      "../third,\"She said \"\"hi\"\"\",16711680\r"
      "..,x,0");
  const CliRun run = Batch("out/{row}-{name}.png", {"--csv", csv, "--set", "2.Caption=from set", "--set", "3.Caption=Everyone"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << "no progress bar when stderr is not a terminal: " << run.err;
  for (const char* name : {"out/1-first.png", "out/3-.._third.png", "out/4-_.png"})
    EXPECT_FALSE(QImage(Scratch(name)).isNull()) << name;
  EXPECT_FALSE(QFile::exists(Scratch("third.png")));
  const CliRun single = Batch("two.png", {"--set", "2.Caption=Line one[/nl]line two", "--set", "1.ForeColor=65280",
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
TEST_F(RenderCli, FailuresAndTheirExitStatus) {
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
    const CliRun run = Batch(c.pattern, {"--csv", WriteCsv(c.csv)});
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.errLines(), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(QDir(Scratch("")).entryList({"*.png"}).isEmpty());
  }
  EXPECT_EQ(Batch("{row}.png", {"--csv", Scratch("absent.csv")}).exitCode, 1);
  const CliRun run = Batch("{row}.png", {"--csv", WriteCsv("1.FontBold\nTrue\nmaybe\nFalse\n")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find("row 2"), std::string::npos) << run.err;
  EXPECT_EQ(QDir(Scratch("")).entryList({"*.png"}), (QStringList{"1.png", "3.png"}));
}

}  // namespace
}  // namespace lumora::test
