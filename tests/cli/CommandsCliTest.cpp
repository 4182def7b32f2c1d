// lumora-cli's other commands (info, convert, resave) and its command line: help, the manual page
// and the completion, and usage errors; and the Debian package.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "../compose/Decoders.h"
#include "../library/TempLibrary.h"
#include "CliRunner.h"
#include "base/AppInfo.h"

namespace lumora::test {
namespace {

class FilesCli : public testing::Test, public CliFixture {
 protected:
  QJsonObject Json(const QString& project) const {
    const CliRun run = Cli({"info", "--json", project, "--library", Library()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
    return document.object();
  }
  // Every option a text names, sorted, once each, joined by blanks.
  static std::string Options(const QString& text) {
    QStringList options;
    static const QRegularExpression option(R"((?<![\w-])--?[a-z][a-z-]*)");
    for (const auto& match : option.globalMatch(text)) options << match.captured();
    options.sort();
    options.removeDuplicates();
    return options.join(' ').toStdString();
  }
  QString Help(const QString& command) const { return QString::fromStdString(Cli({command, "--help"}).out); }
  // What the completion offers for the words typed so far, sorted.
  QStringList Complete(const QString& words) const {
    const QString script = "source '" + Sources("packaging/lumora-cli.bash-completion") + "'; COMP_WORDS=(" + words +
                           "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _lumora_cli; printf '%s\\n' \"${COMPREPLY[@]}\"";
    QStringList offered =
        QString::fromStdString(Program("/bin/bash", {"-c", script}).out).split('\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
  }
};

TEST_F(FilesCli, InfoJsonHoldsTheDocumentAsRead) {
  const QJsonObject info = Json(Project("stacking.lmp"));
  EXPECT_EQ(info.keys(), (QStringList{"Items", "Problems", "TemplateFound", "TemplateName"}));
  EXPECT_EQ(std::pair(info["TemplateName"].toString(), info["TemplateFound"].toBool()),
            std::pair(QString("banners\\summer sky\\SKY.PNG"), true));
  const QJsonArray items = info["Items"].toArray();
  ASSERT_EQ(items.size(), 4);
  EXPECT_EQ(QJsonDocument(items[0].toObject()).toJson(QJsonDocument::Compact),
            R"({"Alignment":0,"Arc":0,"BoxHeight":0,"BoxWidth":0,"Caption":"Bottom","FitToBox":false,"FontBold":true,"FontItalic":false,"FontName":"DejaVu Sans","FontSize":40,)"
            R"("FontStrikethru":false,"FontUnderline":false,"ForeColor":255,"Index":1,"Left":450,"LetterSpacing":0,)"
            R"("LineHeight":100,"MinFontSize":6,"Outline":false,"OutlineColor":0,"OutlinePlacement":0,"OutlineWidth":2,"Shadow":true,)"
            R"("ShadowBlur":0,"ShadowColor":0,"ShadowOffset":null,"Top":600,"Visible":true})");
  EXPECT_EQ(Json(Project("effects.lmp"))["Items"].toArray()[2].toObject()["ShadowOffset"].toInt(), 6);
  EXPECT_FALSE(items[3].toObject()["Visible"].toBool());
  ASSERT_EQ(info["Problems"].toArray().size(), 1);
  EXPECT_TRUE(info["Problems"].toArray()[0].toString().contains("closing line"));

  // The same as text for people: every property of an item, the missing closing line as a problem.
  const CliRun text = Cli({"info", Project("stacking.lmp"), "--library", Library()});
  for (const char* part : {"Text items: 4\n", "  3. \"Top\"\n     index 3, visible\n     at 1350, 1200 twips, lines aligned "
                           "left\n     font DejaVu Serif 40 pt, italic, strikethru\n     colour 16711680; shadow shown in 16777215\n",
                           "index 4, hidden (no closing line)", "colour 255; shadow hidden\nProblems:\n  - Text item 4 has no"})
    EXPECT_NE(text.out.find(part), std::string::npos) << part << text.out;
  EXPECT_NE(Cli({"info", Project("multiline.lmp"), "--library", Library()}).out.find("lines aligned centre"), std::string::npos);
  EXPECT_NE(Cli({"info", Write("gone.lmp", "<ZEB Image File>\r\n\t<Template>a\\b.png</Template>\r\n</ZEB Image File>\r\n")})
                .out.find("  not found\n"),
            std::string::npos);
  EXPECT_EQ(Json(Project("multiline.lmp"))["Items"].toArray()[2].toObject()["Caption"].toString(),
            QString::fromUtf8("Café crème\r\ncentred\r\nin the middle"));
  // Fractional positions and system colours are numbers; the missing template is a problem.
  const QJsonObject odd = Json(Write("p.lmp", "<ZEB Image File>\r\n\t<Template>a\\b\\c.png</Template>\r\n\t<TextItem>\r\n"
                                              "\t\t<Left>1117.5</Left>\r\n\t\t<ForeColor>-2147483643</ForeColor>\r\n"
                                              "\t\t<Caption>q\"\\\x01</Caption>\r\n\t</TextItem>\r\n</ZEB Image File>\r\n"));
  EXPECT_FALSE(odd["TemplateFound"].toBool() || odd["Problems"].toArray().isEmpty());
  const QJsonObject item = odd["Items"].toArray()[0].toObject();
  EXPECT_EQ(std::make_tuple(item["Left"].toDouble(), item["ForeColor"].toDouble(), item["Caption"].toString()),
            std::make_tuple(1117.5, -2147483643.0, QString("q\"\\\x01")));
}

// convert starts no GUI application (its runtime folder would land in TMPDIR) and needs no TMPDIR.
TEST_F(FilesCli, ConvertKeepsThePictureAndNeedsNoTemporaryFolder) {
  std::filesystem::create_directories(ScratchPath("temp"));
  for (const QString& temp : {Scratch("temp"), QString("/proc"), Scratch("missing")}) {  // /proc refuses files
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("XDG_RUNTIME_DIR");
    environment.insert("TMPDIR", temp);
    const QString chain[] = {Projects() + "/golden/stacking.png", Scratch("a.bmp"), Scratch("b.png"),
                             Scratch("c.gif"), Scratch("d.jpg"), Scratch("e.bmp")};
    for (size_t i = 0; i + 1 < std::size(chain); ++i) {
      const CliRun run = Cli({"convert", chain[i], chain[i + 1]}, environment);
      EXPECT_EQ(run.exitCode, 0) << temp.toStdString() << " " << chain[i + 1].toStdString() << " " << run.err;
      EXPECT_TRUE(run.err.empty()) << run.err;
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(ScratchPath("temp")));
  const QImage input = Golden("stacking");
  EXPECT_EQ(MaxChannelDifference(QImage(Scratch("a.bmp")), input), 0);
  EXPECT_LT(MeanChannelDifference(DecodeGif(ScratchPath("c.gif")).image, input), 4.0);
  ASSERT_EQ(Cli({"convert", "--gif-palette=best", Projects() + "/golden/stacking.png", Scratch("best.gif")}).exitCode, 0);
  EXPECT_LT(MeanChannelDifference(DecodeGif(ScratchPath("best.gif")).image, input),
            MeanChannelDifference(DecodeGif(ScratchPath("c.gif")).image, input));
}

// lumora-cli links no Qt, so it starts at once: it converts bitmaps and resaves projects by
// itself and hands the other commands to lumora-cli-qt; without that beside it, they fail with
// one line naming it.
TEST_F(FilesCli, LumoraCliConvertsBitmapsWithoutQtAndNamesTheProgramItLacks) {
  EXPECT_EQ(Program("objdump", {"-p", LUMORA_CLI_PATH}).out.find("libQt"), std::string::npos);
  ASSERT_EQ(Cli({"convert", Projects() + "/golden/stacking.png", Scratch("a.bmp")}).exitCode, 0);
  std::filesystem::create_directories(ScratchPath("alone"));
  std::filesystem::copy_file(LUMORA_CLI_PATH, ScratchPath("alone/lumora-cli"));
  const QString alone = Scratch("alone/lumora-cli");
  EXPECT_EQ(Program(alone, {"convert", Scratch("a.bmp"), Scratch("b.gif")}).exitCode, 0);
  EXPECT_EQ(Program(alone, {"resave", Project("layout.lmp"), Scratch("c.lmp")}).exitCode, 0);
  const CliRun render = Program(alone, {"render", Project("layout.lmp"), "-o", Scratch("d.png")});
  EXPECT_EQ(std::tuple(render.exitCode, render.err),
            std::tuple(1, "lumora-cli: error: cannot start " + Scratch("alone/lumora-cli-qt").toStdString() +
                              ": No such file or directory\n"));
}

// A bad or hostile input is refused with one line naming it; nothing is written, nothing crashes.
// PNG headers asking for huge pictures in a tiny file are refused before anything that size is
// allocated. (Hostile bitmap headers are the BMP reader's tests.)
TEST_F(FilesCli, ConvertRefusesHostileInputs) {
  const std::vector<std::pair<QString, QByteArray>> inputs = {
      {"empty.png", {}},
      {"text.jpg", "just some text\n"},
      {"zeros.bmp", QByteArray(4096, '\0')},
      {"huge.png", PngClaiming(60000, 60000)},
      {"endless.png", PngClaiming(0xFFFFFFFFu, 0xFFFFFFFFu)},
      {"wide.png", PngClaiming(1u << 31, 1)},
      {"cut.png", Read(Projects() + "/golden/stacking.png").left(2000)},
      {"magic.bmp", "BM"},
      {"gif.gif", QByteArray("GIF89a\xff\xff\xff\xff\x00\x00\x00;", 14)},
      {"zero.gif", QByteArray("GIF89a\x00\x00\x00\x00\x00\x00\x00;", 14)}};
  for (const auto& [name, bytes] : inputs) {
    SCOPED_TRACE(name.toStdString());
    const CliRun run = Cli({"convert", Write(name, bytes), Scratch("out.png")});
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errLines(), 1) << run.err;
    EXPECT_NE(run.err.find(name.toStdString()), std::string::npos) << run.err;
    EXPECT_FALSE(QFile::exists(Scratch("out.png")));
  }
  EXPECT_EQ(Cli({"convert", Scratch("nothing.png"), Scratch("out.png")}).errLines(), 1);
}

// The sample files are in the writer's form already; the hidden item gets its closing line.
TEST_F(FilesCli, ResaveWritesTheWritersForm) {
  for (const char* name : {"shadows.lmp", "multiline.lmp"}) {  // Windows-1252 stays Windows-1252
    ASSERT_EQ(Cli({"resave", Project(name), Scratch(name)}).exitCode, 0);
    EXPECT_EQ(Read(Scratch(name)), Read(Project(name))) << name;
  }
  const CliRun run = Cli({"resave", Project("stacking.lmp"), Scratch("b.lmp")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errLines(), 1) << "the missing closing line is a warning";
  QByteArray expected = Read(Project("stacking.lmp"));
  expected.replace("</Shadow>\r\n</ZEB Image File>", "</Shadow>\r\n\t</TextItem>\r\n</ZEB Image File>");
  EXPECT_EQ(Read(Scratch("b.lmp")), expected);
  for (const QStringList& bad : {QStringList{Projects() + "/golden/shadows.png", Scratch("x.lmp")},
                                 QStringList{Project("shadows.lmp"), Scratch("missing-folder/x.lmp")}}) {
    const CliRun failed = Cli(QStringList{"resave"} + bad);
    EXPECT_EQ(std::pair(failed.exitCode, failed.errLines()), std::pair(1, 1));
    EXPECT_FALSE(QFile::exists(bad[1]));
  }
  const CliRun info = Cli({"info", Projects() + "/golden/shadows.png"});
  EXPECT_EQ(std::make_tuple(info.exitCode, info.errLines(), info.out.empty()), std::make_tuple(1, 1, true));
}

// The help describes every command; the manual page names the same options, and the bash
// completion offers the commands of the help and after each command its help's options.
TEST_F(FilesCli, HelpManualPageAndCompletionAgree) {
  const CliRun run = Cli({"--help"}), info = Cli({"info", "--help"});
  EXPECT_EQ(std::make_tuple(run.exitCode, run.err, info.exitCode), std::make_tuple(0, std::string(), 0));
  for (const char* word : {"{row}", "Exit status"}) EXPECT_NE(run.out.find(word), std::string::npos) << word;
  EXPECT_NE(info.out.find("--json"), std::string::npos);
  EXPECT_EQ(info.out.find("--csv"), std::string::npos) << "one command's help is about that command";
  QString roff = QString::fromUtf8(Read(Sources("packaging/lumora-cli.1.in"))).replace("\\-", "-");
  roff.remove(QRegularExpression(R"(\\f[BIRP])"));
  EXPECT_EQ(Options(roff), Options(QString::fromStdString(run.out)));
  static const QRegularExpression usage(R"(^lumora-cli (\w+))", QRegularExpression::MultilineOption);
  QStringList commands;
  for (const auto& match : usage.globalMatch(QString::fromStdString(run.out))) commands << match.captured(1);
  commands.removeDuplicates();
  commands.sort();
  EXPECT_EQ(Complete("lumora-cli ''").filter(QRegularExpression("^[^-]")), commands);
  EXPECT_EQ(commands, (QStringList{"convert", "info", "render", "resave"}));
  for (const QString& command : commands)
    EXPECT_EQ(Complete("lumora-cli " + command + " -").join(' ').toStdString(), Options(Help(command)))
        << command.toStdString();
}

TEST_F(FilesCli, BadCommandLinesExitWithTwoAndOneLine) {
  struct BadLine { QStringList arguments; const char* says; };
  const std::vector<BadLine> cases = {
      {{}, "no command"}, {{"paint", "x.lmp"}, "unknown command paint"},
      {{"render", "x.lmp", "--frobnicate"}, "unknown option --frobnicate"}, {{"render", "x.lmp", "-o"}, "-o needs a value"},
      {{"render", "x.lmp", "-o", "a.png", "-o", "b.png"}, "more than once"},
      {{"render", "x.lmp"}, "needs -o"}, {{"render", "-o", "a.png"}, "one project file"}, {{"info"}, "one project file"},
      {{"resave", "a.lmp"}, "output name"}, {{"convert", "a.png"}, "convert"}, {{"convert", "a.png", "b.png", "c.png"}, "convert"},
      {{"render", "x.lmp", "--output", "a.png", "-o", "b.png"}, "-o is given more than once"},
      {{"render", "x.lmp", "-o", "a.png", "--rows", "b-a"}, "--rows takes A-B"},
      {{"render", "x.lmp", "-o", "a.png", "--rows", "1", "--rows", "2"}, "--rows is given more than once"},
      {{"render", "x.lmp", "-o", "a.png", "--jobs", "2", "--jobs", "3"}, "--jobs is given more than once"},
      {{"render", "x.lmp", "-o", "a.png", "--jobs", "0"}, "--jobs takes a number from 1 to"},
      {{"render", "x.lmp", "-o", "a.png", "--jobs", "2x"}, "not \"2x\""},
      {{"render", "x.lmp", "-o", "a.jpg", "--quality", "0"}, "--quality takes a number from 1 to 100, not \"0\""},
      {{"convert", "a.png", "b.jpg", "--quality=101"}, "--quality takes a number from 1 to 100"},
      {{"render", "x.lmp", "-o", "a.jpg", "--quality", "9", "--quality", "9"}, "--quality is given more than once"},
      {{"convert", "a.png", "b.gif", "--gif-palette", "Best"}, "--gif-palette takes classic or best, not \"Best\""}};
  for (const BadLine& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    const CliRun run = Cli(c.arguments);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errLines(), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
}

// The Debian package that cpack made (in LUMORA_PACKAGE_DIR; ctest's package_install sets it),
// unpacked into a scratch root: its files where the system looks for them, valid desktop and
// AppStream data, and its programs working from there on the template library it installed.
const QString kHome = "usr/lib/zeb-lumora/";
const QString kShare = "usr/share/";
const QString kMetainfo = kShare + "metainfo/example.zeb_software.lumora.metainfo.xml";

class PackageInstall : public testing::Test, public CliFixture {
 protected:
  void SetUp() override {
    const QString folder = qEnvironmentVariable("LUMORA_PACKAGE_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "ctest's package_install runs these on the package cpack made";
    const QStringList debs = QDir(folder).entryList({QString("zeb-lumora_%1_*.deb").arg(kVersionText)});
    ASSERT_EQ(debs.size(), 1) << folder.toStdString();
    m_deb = folder + "/" + debs[0];
    ASSERT_EQ(Program("dpkg-deb", {"-x", m_deb, Root()}).exitCode, 0);
  }
  QString Root(const QString& path = "") const { return Scratch("root/" + path); }
  // The files under a folder, relative to it and sorted, but those under `skip`.
  static std::string Files(const QString& folder, const QString& skip = "") {
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
      if (const QString file = it.next().mid(folder.size() + 1); skip.isEmpty() || !file.startsWith(skip))
        files << file;
    files.sort();
    return files.join(' ').toStdString();
  }
  QString m_deb;
};

TEST_F(PackageInstall, FilesWhereTheSystemLooksAndWhatTheyNeed) {
  EXPECT_EQ(Files(Scratch("root"), kHome + "templates/"),
            "usr/bin/lumora usr/bin/lumora-cli usr/lib/zeb-lumora/lumora usr/lib/zeb-lumora/lumora-cli usr/lib/zeb-lumora/lumora-cli-qt "
            "usr/share/applications/zeb-lumora.desktop usr/share/bash-completion/completions/lumora-cli "
            "usr/share/icons/hicolor/scalable/apps/zeb-lumora.svg "
            "usr/share/icons/hicolor/scalable/mimetypes/application-x-zeb-lumora-project.svg "
            "usr/share/man/man1/lumora-cli.1.gz usr/share/man/man1/lumora.1.gz " +
                kMetainfo.toStdString() + " usr/share/mime/packages/zeb-lumora-mime.xml");
  EXPECT_EQ(Files(Root(kHome + "templates")), Files(Sources("templates"), ".keep"));
  EXPECT_EQ(Program("dpkg-deb", {"-f", m_deb, "Version"}).out, std::string(kVersionText) + "\n");
  const std::string depends = Program("dpkg-deb", {"-f", m_deb, "Depends"}).out;
  for (const char* package : {"libqt6gui6", "libqt6widgets6", "libqt6svg6", "fonts-dejavu-core", "fonts-liberation"})
    EXPECT_NE(depends.find(package), std::string::npos) << package << " in " << depends;
  EXPECT_TRUE(Read(Root(kMetainfo)).contains(QString("<release version=\"%1\"").arg(kVersionText).toUtf8()));
  for (const QStringList& validator :
       {QStringList{"desktop-file-validate", Root(kShare + "applications/zeb-lumora.desktop")},
        QStringList{"appstreamcli", "validate", "--no-net", Root(kMetainfo)},
        QStringList{"appstreamcli", "validate-tree", "--no-net", Root()}}) {
    const CliRun run = Program(validator[0], validator.mid(1));
    EXPECT_EQ(run.exitCode, 0) << validator.join(' ').toStdString() << ": " << run.out << run.err;
    EXPECT_EQ(run.out.find("W: "), std::string::npos) << run.out;
  }
}

// The installed lumora-cli finds the installed library by itself and renders what the build does.
TEST_F(PackageInstall, ProgramsRunFromWhereTheyAreInstalled) {
  QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
  noDisplay.remove("DISPLAY");
  noDisplay.insert("QT_QPA_PLATFORM", "xcb");
  EXPECT_EQ(Program(Root("usr/bin/lumora"), {"--version"}, noDisplay).out, std::string("lumora ") + kVersionText + "\n");
  EXPECT_EQ(Program(Root("usr/bin/lumora-cli"), {"--version"}).out, std::string("lumora-cli ") + kVersionText + "\n");

  const QByteArray sample = Read(Project("shadows.lmp"));
  const QString banner =
      Write("banner.lmp", QByteArray(sample).replace("Banners\\Summer Sky\\sky.png", "Banners\\Waves\\Sky 728x90.jpg"));
  const QString cli = Root("usr/bin/lumora-cli");
  for (const auto& [program, library, output] :
       {std::tuple{cli, QStringList(), "found.png"},
        {cli, QStringList{"--library", Root(kHome + "templates")}, "named.png"},
        {QString(LUMORA_CLI_PATH), QStringList{"--library", Sources("templates")}, "built.png"}}) {
    const CliRun run = Program(program, QStringList{"render", banner, "-o", Scratch(output)} + library);
    EXPECT_EQ(run.exitCode, 0) << output << run.err;
  }
  EXPECT_EQ(QImage(Scratch("found.png")).size(), QSize(728, 90));
  EXPECT_TRUE(QImage(Scratch("found.png")) == QImage(Scratch("built.png")) &&
              QImage(Scratch("named.png")) == QImage(Scratch("built.png")));
}

}  // namespace
}  // namespace lumora::test
