// lumora-cli's other commands (info, convert, resave) and its command line: help and usage errors.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "../compose/Decoders.h"
#include "CliRunner.h"

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
};

TEST_F(FilesCli, InfoJsonHoldsTheDocumentAsRead) {
  const QJsonObject info = Json(Project("stacking.lmp"));
  EXPECT_EQ(info.keys(), (QStringList{"Items", "Problems", "TemplateFound", "TemplateName"}));
  EXPECT_EQ(info["TemplateName"].toString(), "banners\\summer sky\\SKY.PNG");
  EXPECT_TRUE(info["TemplateFound"].toBool());
  const QJsonArray items = info["Items"].toArray();
  ASSERT_EQ(items.size(), 4);
  EXPECT_EQ(QJsonDocument(items[0].toObject()).toJson(QJsonDocument::Compact),
            R"({"Alignment":0,"Caption":"Bottom","FontBold":true,"FontItalic":false,"FontName":"DejaVu Sans","FontSize":40,)"
            R"("FontStrikethru":false,"FontUnderline":false,"ForeColor":255,"Index":1,"Left":450,"LetterSpacing":0,)"
            R"("LineHeight":100,"Outline":false,"OutlineColor":0,"OutlinePlacement":0,"OutlineWidth":2,"Shadow":true,)"
            R"("ShadowBlur":0,"ShadowColor":0,"ShadowOffset":null,"Top":600,"Visible":true})");
  const QJsonObject soft = Json(Project("effects.lmp"))["Items"].toArray()[2].toObject();
  EXPECT_EQ(std::pair(soft["ShadowOffset"].toInt(), soft["ShadowBlur"].toInt()), std::pair(6, 8));
  EXPECT_TRUE(items[1].toObject()["FontUnderline"].toBool());
  EXPECT_TRUE(items[2].toObject()["FontStrikethru"].toBool() && items[2].toObject()["FontItalic"].toBool());
  EXPECT_FALSE(items[3].toObject()["Visible"].toBool());
  ASSERT_EQ(info["Problems"].toArray().size(), 1);
  EXPECT_TRUE(info["Problems"].toArray()[0].toString().contains("closing line"));

  const QJsonArray multiline = Json(Project("multiline.lmp"))["Items"].toArray();
  EXPECT_EQ(multiline[2].toObject()["Caption"].toString(), QString::fromUtf8("Café crème\r\ncentred\r\nin the middle"));
  EXPECT_EQ(multiline[2].toObject()["Alignment"].toInt(), 2);
  // Fractional positions and system colours are numbers; the missing template is a problem.
  const QJsonObject odd = Json(Write("p.lmp", "<ZEB Image File>\r\n\t<Template>a\\b\\c.png</Template>\r\n\t<TextItem>\r\n"
                                              "\t\t<Left>1117.5</Left>\r\n\t\t<ForeColor>-2147483643</ForeColor>\r\n"
                                              "\t\t<Caption>q\"\\\x01</Caption>\r\n\t</TextItem>\r\n</ZEB Image File>\r\n"));
  EXPECT_FALSE(odd["TemplateFound"].toBool());
  EXPECT_FALSE(odd["Problems"].toArray().isEmpty());
  const QJsonObject item = odd["Items"].toArray()[0].toObject();
  EXPECT_EQ(item["Left"].toDouble(), 1117.5);
  EXPECT_EQ(item["ForeColor"].toDouble(), -2147483643.0);
  EXPECT_EQ(item["Caption"].toString(), "q\"\\\x01");
}

TEST_F(FilesCli, ConvertKeepsThePicture) {
  const QString input = Projects() + "/golden/stacking.png";
  for (const char* name : {"c.bmp", "c.gif"}) {
    const CliRun run = Cli({"convert", input, Scratch(name)});
    ASSERT_EQ(run.exitCode, 0) << name << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
  }
  EXPECT_EQ(MaxChannelDifference(QImage(Scratch("c.bmp")), QImage(input)), 0);
  EXPECT_LT(MeanChannelDifference(DecodeGif(ScratchPath("c.gif")).image, QImage(input)), 4.0);
}

// Hand-made PNG headers asking for huge pictures while the file is tiny: refused before anything
// that size is allocated. (Hostile bitmap headers are the BMP reader's tests.)
QByteArray Be32(uint32_t v) {
  QByteArray b(4, 0);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(v >> (24 - 8 * i));
  return b;
}

uint32_t Crc32(const QByteArray& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (char ch : bytes) {
    crc ^= static_cast<uint8_t>(ch);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

QByteArray PngClaiming(uint32_t width, uint32_t height) {
  QByteArray ihdr = "IHDR" + Be32(width) + Be32(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
  QByteArray png("\x89PNG\r\n\x1a\n", 8);
  png += Be32(13) + ihdr + Be32(Crc32(ihdr));
  const QByteArray idat = QByteArray("IDAT") + QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
  png += Be32(8) + idat + Be32(Crc32(idat));
  const QByteArray iend("IEND");
  png += Be32(0) + iend + Be32(Crc32(iend));
  return png;
}

QByteArray Truncated(const char* format) {
  QImage image(64, 64, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes.left(bytes.size() / 3);
}

// A bad or hostile input is refused with one line naming it; nothing is written, nothing crashes.
TEST_F(FilesCli, ConvertRefusesHostileInputs) {
  const std::vector<std::pair<QString, QByteArray>> inputs = {
      {"empty.png", {}},
      {"text.jpg", "just some text\n"},
      {"zeros.bmp", QByteArray(4096, '\0')},
      {"huge.png", PngClaiming(60000, 60000)},
      {"endless.png", PngClaiming(0xFFFFFFFFu, 0xFFFFFFFFu)},
      {"wide.png", PngClaiming(1u << 31, 1)},
      {"cut.png", Truncated("png")},
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
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.errLines(), 1);
    EXPECT_FALSE(QFile::exists(bad[1]));
  }
  const CliRun info = Cli({"info", Projects() + "/golden/shadows.png"});
  EXPECT_EQ(std::make_tuple(info.exitCode, info.errLines(), info.out.empty()), std::make_tuple(1, 1, true));
}

TEST_F(FilesCli, HelpDescribesEveryCommand) {
  const CliRun run = Cli({"--help"}), info = Cli({"info", "--help"});
  EXPECT_EQ(std::make_tuple(run.exitCode, run.err, info.exitCode), std::make_tuple(0, std::string(), 0));
  for (const char* word : {"render", "--set", "--csv", "{row}", "convert", "info", "--json", "resave", "--library", "Exit status"})
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  EXPECT_NE(info.out.find("--json"), std::string::npos);
  EXPECT_EQ(info.out.find("--csv"), std::string::npos) << "one command's help is about that command";
}

TEST_F(FilesCli, BadCommandLinesExitWithTwoAndOneLine) {
  struct BadLine { QStringList arguments; const char* says; };
  const std::vector<BadLine> cases = {
      {{}, "no command"}, {{"paint", "x.lmp"}, "unknown command paint"},
      {{"render", "x.lmp", "--frobnicate"}, "unknown option --frobnicate"}, {{"render", "x.lmp", "-o"}, "-o needs a value"},
      {{"render", "x.lmp", "-o", "a.png", "-o", "b.png"}, "more than once"},
      {{"render", "x.lmp", "--csv", "a", "--csv=b", "-o", "c.png"}, "--csv is given more than once"},
      {{"render", "x.lmp"}, "needs -o"}, {{"render", "-o", "a.png"}, "one project file"}, {{"info"}, "one project file"},
      {{"resave", "a.lmp"}, "output name"}, {{"convert", "a.png"}, "convert"}, {{"convert", "a.png", "b.png", "c.png"}, "convert"}};
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

}  // namespace
}  // namespace lumora::test
