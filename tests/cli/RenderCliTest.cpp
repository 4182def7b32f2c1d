// lumora-cli render: the sample projects against their golden pictures, --set, the routes by the
// output's name, batches from a CSV table with --rows, --dry-run, --report and --jobs, and the
// failures with their exit status and one line on stderr.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

#include "../compose/Decoders.h"
#include "CliRunner.h"

namespace lumora::test {
namespace {

using Changes = std::vector<std::pair<QByteArray, QByteArray>>;

class RenderCli : public testing::Test, public CliFixture {
 protected:
  // Writes a copy of a sample project with pieces of text replaced.
  QString Edited(const QString& name, const Changes& changes) const {
    QByteArray bytes = Read(Project(name));
    for (const auto& [from, to] : changes) {
      const qsizetype at = bytes.lastIndexOf(from);
      EXPECT_GE(at, 0) << from.toStdString();
      bytes.replace(at, from.size(), to);
    }
    return Write("edited-" + name, bytes);
  }
  CliRun Render(const QString& project, const QString& output, const QStringList& more = {},
                const QProcessEnvironment& environment = {}) const {
    return Cli(QStringList{"render", "--library", Library(), project, "-o", Scratch(output)} + more, environment);
  }
  CliRun Batch(const QString& output, const QByteArray& csv, const QStringList& more = {},
               const QString& project = Project("shadows.lmp")) const {
    return Render(project, output, QStringList{"--csv", Write("data.csv", csv)} + more);
  }
  QStringList Pictures(const QString& folder = "") const {
    return QDir(Scratch(folder)).entryList({"*.png", "*.gif", "*.jpg", "*.bmp"}, QDir::Files, QDir::Name);
  }
};

// Shadows under texts at every offset size, stacking, multi-line alignment, a hidden item (and the
// warning about its missing closing line), the effects, Hebrew and Arabic captions (shaped, right to
// left, outlined, softly shadowed), the layouts (a caption fitted to its box at three lengths, Latin
// and Hebrew on arcs up and down, colour emoji); and each effect really shows: without it the
// picture differs.
TEST_F(RenderCli, SamplesMatchTheirGoldenPictures) {
  for (const char* name : {"shadows", "stacking", "multiline", "effects", "scripts", "layout"}) {
    const CliRun run = Render(Project(QString(name) + ".lmp"), "out.png");
    ASSERT_FALSE(run.crashed);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.errLines(), std::string(name) == "stacking" ? 1 : 0) << run.err;
    EXPECT_TRUE(MatchesGolden(QImage(Scratch("out.png")), Golden(name))) << name;
  }
  // Each effect shows: without it the picture differs.
  const std::pair<const char*, const char*> effects[] = {
      {"effects", "\t\t<OutlinePlacement>1</OutlinePlacement>\r\n"}, {"effects", "\t\t<ShadowBlur>8</ShadowBlur>\r\n"},
      {"effects", "\t\t<ShadowOffset>6</ShadowOffset>\r\n"}, {"effects", "\t\t<LetterSpacing>25</LetterSpacing>\r\n"},
      {"effects", "\t\t<LineHeight>80</LineHeight>\r\n"}, {"effects", "\t\t<Outline>True</Outline>\r\n"},
      {"layout", "\t\t<FitToBox>True</FitToBox>\r\n"}, {"layout", "\t\t<BoxHeight>900</BoxHeight>\r\n"},
      {"layout", "\t\t<Arc>-100</Arc>\r\n"}, {"layout", "\t\t<BoxWidth>2400</BoxWidth>\r\n"}};
  for (const auto& [name, effect] : effects) {
    ASSERT_EQ(Render(Edited(QString(name) + ".lmp", {{effect, ""}}), "without.png").exitCode, 0) << effect;
    EXPECT_FALSE(MatchesGolden(QImage(Scratch("without.png")), Golden(name))) << effect;
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
  EXPECT_FALSE(MatchesGolden(QImage(Scratch("file.png")), Golden("shadows"))) << "the values changed the picture";
}

// The picture does not depend on the screen of the machine that renders it either.
TEST_F(RenderCli, RoutesByTheOutputsNameAndNoScreenSettings) {
  for (const char* name : {"out.JPEG", "out.gif", "out.bmp"})
    ASSERT_EQ(Render(Project("multiline.lmp"), name).exitCode, 0) << name;
  EXPECT_LT(MeanChannelDifference(DecodeJpeg(ScratchPath("out.JPEG")), Golden("multiline")), 1.0);
  EXPECT_TRUE(MatchesGolden(QImage(Scratch("out.bmp")), Golden("multiline")));
  // White paper: the GIF's background becomes transparent.
  const DecodedGif gif = DecodeGif(ScratchPath("out.gif"));
  EXPECT_EQ(std::make_pair(gif.version, gif.gif.transparent), std::make_pair(std::string("GIF89a"), 0));
  EXPECT_LT(MeanChannelDifference(gif.image, Golden("multiline")), 3.0);
  // --quality shrinks the JPEG; --gif-palette best is another GIF, closer and transparent alike.
  for (const auto& [name, option, value] : {std::tuple{"q50.jpg", "--quality", "50"}, {"best.gif", "--gif-palette", "best"},
                                            {"classic.gif", "--gif-palette", "classic"}})
    ASSERT_EQ(Render(Project("multiline.lmp"), name, {option, value}).exitCode, 0) << name;
  EXPECT_LT(Read(Scratch("q50.jpg")).size(), Read(Scratch("out.JPEG")).size() / 2);
  EXPECT_LT(MeanChannelDifference(DecodeJpeg(ScratchPath("q50.jpg")), Golden("multiline")), 3.0);
  EXPECT_EQ(Read(Scratch("classic.gif")), Read(Scratch("out.gif")));
  const DecodedGif best = DecodeGif(ScratchPath("best.gif"));
  EXPECT_NE(Read(Scratch("best.gif")), Read(Scratch("out.gif")));
  EXPECT_EQ(best.gif.transparent, 0);
  EXPECT_LT(MeanChannelDifference(best.image, Golden("multiline")), MeanChannelDifference(gif.image, Golden("multiline")));
  ASSERT_EQ(Render(Project("effects.lmp"), "effects.bmp").exitCode, 0);
  for (const auto& [variable, value] : {std::pair{"QT_FONT_DPI", "144"}, {"QT_SCALE_FACTOR", "2"}}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(variable, value);
    for (const char* project : {"multiline", "effects"}) {
      const QString plain = QString(project) == "effects" ? "effects.bmp" : "out.bmp";
      ASSERT_EQ(Render(Project(QString(project) + ".lmp"), "screen.bmp", {}, environment).exitCode, 0) << variable;
      EXPECT_EQ(Read(Scratch("screen.bmp")), Read(Scratch(plain))) << variable << " " << project;
    }
  }
}

struct Failure {
  const char* name;
  Changes changes;                  // to shadows.lmp
  QStringList arguments;            // replace the ones of the same name, an empty value drops them
  std::optional<QByteArray> csv;    // a batch from this table, written to {row}.png
  int exitCode;
  std::string says;
};

// Nothing is written, and stderr holds one line naming the cause; a batch that cannot be run as a
// whole fails before writing anything.
TEST_F(RenderCli, FailuresWriteNothing) {
  QDir().mkpath(Scratch("lib/T/C"));
  Write("lib/T/C/broken.png", "not a picture");
  QDir().mkpath(Scratch("taken.png/inside"));
  const QByteArray sky = "Banners\\Summer Sky\\sky.png";
  const std::string beside = std::filesystem::path(LUMORA_CLI_PATH).parent_path().string() + "/templates";
  const std::vector<Failure> cases = {
      {"missing template", {{sky, "Summer Sky\\rain.png"}}, {}, {}, 1, "rain.png"},
      {"template outside the library", {{sky, "..\\templates\\" + sky}}, {}, {}, 1, "..\\templates"},
      {"unreadable template", {{sky, "T\\C\\broken.png"}}, {"--library", Scratch("lib")}, {}, 1, "broken.png"},
      {"default library beside the program", {{sky, "No Such\\x\\y.png"}}, {"--library", ""}, {}, 1, beside},
      {"not a project", {{"<ZEB Image File>", "<zeb image file>"}}, {}, {}, 1, "not a ZEB Lumora project file"},
      {"unwritable output", {}, {"-o", "taken.png"}, {}, 1, "The image could not be saved."},
      {"no such item", {}, {"--set", "9.Caption=x"}, {}, 2, "no text item 9"},
      {"item 0", {}, {"--set", "0.Caption=x"}, {}, 2, "no text item 0"},
      {"no such property", {}, {"--set", "1.Colour=5"}, {}, 2, "not a text item property"},
      {"not a boolean", {}, {"--set", "1.FontBold=yes"}, {}, 2, "True or False"},
      {"outline too wide", {}, {"--set", "1.OutlineWidth=999"}, {}, 2, "OutlineWidth takes a whole number from 1 to 20"},
      {"negative blur", {}, {"--set", "1.ShadowBlur=-1"}, {}, 2, "ShadowBlur takes a whole number from 0 to 20"},
      {"spacing not a number", {}, {"--set", "1.LetterSpacing=wide"}, {}, 2, "not \"wide\""},
      {"no item number", {}, {"--set", "Caption=x"}, {}, 2, "N.FIELD=VALUE"},
      {"no value", {}, {"--set", "1.Caption"}, {}, 2, "N.FIELD=VALUE"},
      {"two rows, one name", {}, {"-o", "same.png"}, "name\na\nb\n", 2, "would both write"},
      {"unknown column", {}, {"-o", "{nmae}.png"}, "name\na\n", 2, "{nmae}"},
      {"unclosed brace", {}, {"-o", "{row.png"}, "name\na\n", 2, "without its"},
      {"column of no item", {}, {}, "7.Caption\nx\n", 2, "no text item 7"},
      {"column of no property", {}, {}, "1.Colour\nx\n", 2, "not a text item property"},
      {"no CSV file", {}, {"--csv", "absent.csv"}, "", 1, "absent.csv"},
      {"empty CSV", {}, {}, "", 1, "no header"},
      {"blank CSV", {}, {}, "\n\n", 1, "no header"},
      {"text after a quote", {}, {}, "a,b\n1,\"x\"y\n", 1, "line 2: text follows a closing quote"},
      {"quote inside", {}, {}, "\xEF\xBB\xBF" "a\r\nok\r\n5\"6\r\n", 1, "line 3: a quote inside"},
      {"never closed", {}, {}, "a\n\"2\n3\"\n\"open\n5\n", 1, "line 4: a quoted field is never closed"},
      {"more fields", {}, {}, "a\n\"x\"\n1,2\n", 1, "line 3: row 2 has more fields than the header"},
  };
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.name);
    const QString project = c.changes.empty() ? Project("shadows.lmp") : Edited("shadows.lmp", c.changes);
    QStringList arguments = {"render", project, "-o", c.csv ? "{row}.png" : "x.png", "--library", Library()};
    if (c.csv) arguments << "--csv" << Write("data.csv", *c.csv);
    for (qsizetype i = 0; i + 1 < c.arguments.size(); i += 2) {
      if (const qsizetype at = arguments.indexOf(c.arguments[i]); at >= 0) arguments.remove(at, 2);
      if (!c.arguments[i + 1].isEmpty()) arguments << c.arguments[i] << c.arguments[i + 1];
    }
    const CliRun run = Cli(arguments);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.errLines(), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(Pictures().isEmpty());
  }
}

// Names come from the row number and the columns; values cannot lead a file elsewhere.
TEST_F(RenderCli, EachRowIsTheProjectWithItsValuesSet) {
  const CliRun run = Batch("out/{row}-{name}.png",
                           "\xEF\xBB\xBFname,2.Caption,1.ForeColor\r\n"
                           "first,\"Hello, world\",255\r\n"
                           "\n"
                           "second,Line one[/nl]line two,65280\n"
                           "../third,\"She said \"\"hi\"\"\",16711680\r"
                           "..,x,0",
                           {"--set", "2.Caption=from set", "--set", "3.Caption=Everyone"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << "no progress bar when stderr is not a terminal: " << run.err;
  EXPECT_EQ(Pictures("out"), (QStringList{"1-first.png", "2-second.png", "3-.._third.png", "4-_.png"}));
  const CliRun single = Render(Project("shadows.lmp"), "two.png",
                               {"--set", "2.Caption=Line one[/nl]line two", "--set", "1.ForeColor=65280", "--set",
                                "3.Caption=Everyone"});
  ASSERT_EQ(single.exitCode, 0) << single.err;
  EXPECT_EQ(QImage(Scratch("out/2-second.png")), QImage(Scratch("two.png"))) << "--set for every row, the row wins";
  EXPECT_NE(QImage(Scratch("out/1-first.png")), QImage(Scratch("two.png")));
}

// A template in the user's library is found after the program's, unless --library names the only one.
TEST_F(RenderCli, TheUsersLibraryComesAfterTheProgramsUnlessLibraryIsGiven) {
  ASSERT_TRUE(QDir().mkpath(Scratch("data/zeb-lumora/templates/My Pictures/Imported")));
  ASSERT_TRUE(QFile::copy(Library() + "/Banners/Summer Sky/sky.png", Scratch("data/zeb-lumora/templates/My Pictures/Imported/s.png")));
  const QString project = Edited("shadows.lmp", {{"Banners\\Summer Sky\\sky.png", "My Pictures\\Imported\\s.png"}});
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_DATA_HOME", Scratch("data"));
  ASSERT_EQ(Cli({"render", project, "-o", Scratch("mine.png")}, environment).exitCode, 0);
  EXPECT_TRUE(MatchesGolden(QImage(Scratch("mine.png")), Golden("shadows")));
  const CliRun only = Render(project, "only.png", {}, environment);
  EXPECT_EQ(only.exitCode, 1);
  EXPECT_NE(only.err.find("My Pictures\\Imported\\s.png\" cannot be found"), std::string::npos) << only.err;
}

// --png-alpha: what the template leaves transparent stays so in a PNG, and the opaque parts are
// the same as without it; other formats, and convert without it, put it on white.
TEST_F(RenderCli, PngAlphaKeepsTheTemplatesTransparency) {
  QImage button(120, 40, QImage::Format_ARGB32);
  button.fill(qRgba(20, 90, 200, 255));
  button.setPixel(0, 0, qRgba(0, 0, 0, 0)), button.setPixel(1, 0, qRgba(200, 0, 0, 128));
  ASSERT_TRUE(QDir().mkpath(Scratch("lib/T/C")) && button.save(Scratch("lib/T/C/b.png")));
  const QString project = Edited("shadows.lmp", {{"Banners\\Summer Sky\\sky.png", "T\\C\\b.png"}});
  for (const auto& [name, alpha] : {std::pair{"alpha.png", true}, {"white.png", false}, {"alpha.bmp", true}})
    ASSERT_EQ(Cli(QStringList{"render", project, "-o", Scratch(name), "--library", Scratch("lib")} +
                  (alpha ? QStringList{"--png-alpha"} : QStringList{})).exitCode, 0) << name;
  const QImage kept(Scratch("alpha.png")), white(Scratch("white.png"));
  EXPECT_EQ(std::make_pair(qAlpha(kept.pixel(0, 0)), qAlpha(kept.pixel(1, 0))), std::make_pair(0, 128));
  EXPECT_NEAR(qRed(kept.pixel(1, 0)), 200, 2) << "a half-transparent colour comes back from white";
  EXPECT_EQ(std::make_tuple(white.hasAlphaChannel(), white.pixel(0, 0)), std::make_tuple(false, qRgb(255, 255, 255)));
  EXPECT_EQ(QImage(Scratch("alpha.bmp")), white);
  int opaque = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x)
      if (qAlpha(kept.pixel(x, y)) == 255) opaque += (kept.pixel(x, y) == white.pixel(x, y)) ? 1 : -100000;
  EXPECT_EQ(opaque, 120 * 40 - 2) << "text and picture alike where nothing is transparent";
  ASSERT_EQ(Cli({"convert", "--png-alpha", Scratch("lib/T/C/b.png"), Scratch("c.png")}).exitCode, 0);
  const QImage converted(Scratch("c.png"));
  EXPECT_EQ(std::make_tuple(qAlpha(converted.pixel(0, 0)), qAlpha(converted.pixel(1, 0)), converted.pixel(5, 5)),
            std::make_tuple(0, 128, button.pixel(5, 5)));
}

TEST_F(RenderCli, RowsRendersOnlyThoseRows) {
  const std::vector<std::pair<const char*, QStringList>> cases = {{"2-3", {"2.png", "3.png"}},
                                                                  {"3-", {"3.png", "4.png"}},
                                                                  {"-2", {"1.png", "2.png"}},
                                                                  {"4", {"4.png"}},
                                                                  {"1-9", {"1.png", "2.png", "3.png", "4.png"}}};
  for (const auto& [range, written] : cases) {
    const CliRun run = Batch(QString(range) + "/{row}.png", "n\na\nb\nc\nd\n", {"--rows", range});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Pictures(range), written) << range;
  }
}

// A bad row fails alone; --dry-run checks every row and writes nothing.
TEST_F(RenderCli, ABadRowFailsAlone) {
  const QByteArray csv = "1.FontBold\nTrue\nmaybe\nFalse\n";
  const CliRun dry = Batch("out/{row}.png", csv, {"--dry-run"});
  EXPECT_EQ(dry.exitCode, 1);
  EXPECT_NE(dry.err.find("row 2"), std::string::npos) << dry.err;
  EXPECT_EQ(dry.out, QString("row 1: would write %1\nrow 3: would write %2\n")
                         .arg(Scratch("out/1.png"), Scratch("out/3.png"))
                         .toStdString());
  EXPECT_FALSE(QFile::exists(Scratch("out")));
  const CliRun run = Batch("out/{row}.png", csv);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find("row 2"), std::string::npos) << run.err;
  EXPECT_EQ(Pictures("out"), (QStringList{"1.png", "3.png"}));
}

// A row whose text overflows its box even at the smallest size is told by its row number, and
// still written.
TEST_F(RenderCli, TextThatDoesNotFitIsAWarningWithItsRow) {
  const CliRun run = Batch("{row}.png", "3.Caption\nShort\n" + QByteArray(60, 'W') + "\n", {}, Project("layout.lmp"));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "lumora-cli: warning: row 2: text item 3 does not fit its box at 8 pt\n");
  EXPECT_EQ(Pictures(), (QStringList{"1.png", "2.png"}));
}

// Rows 2 and 3 of a project the reader warns about (an item without its closing line).
TEST_F(RenderCli, ReportHasOneRecordPerRow) {
  const QString unclosed = Edited("shadows.lmp", {{"</TextItem>", ""}});
  const CliRun run = Batch("{n}.png", "n,1.FontBold\na,True\nb,maybe\nc,False\n",
                           {"--rows", "2-", "--report", Scratch("report.json")}, unclosed);
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
TEST_F(RenderCli, JobsWriteTheSameFilesAndErrors) {
  QByteArray csv = "ext,2.Caption,1.FontBold\n";
  const char* routes[] = {"gif", "jpg", "gif", "png", "gif", "bmp"};
  for (int r = 1; r <= 24; ++r)
    csv += QByteArray(routes[r % 6]) + ",Row " + QByteArray::number(r) + (r % 11 ? ",True\n" : ",maybe\n");
  const CliRun one = Batch("one/{row}.{ext}", csv, {"--jobs", "1"});
  const CliRun four = Batch("four/{row}.{ext}", csv, {"--jobs", "4"});
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
