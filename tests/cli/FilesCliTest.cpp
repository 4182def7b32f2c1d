// lumora-cli info, convert and resave through the real program.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "../compose/Decoders.h"
#include "../compose/HostileFiles.h"
#include "CliRunner.h"

namespace lumora::test {
namespace {

class FilesCli : public testing::Test, public CliFixture {
 protected:
  QString Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Scratch(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }
  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }
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
            R"("FontStrikethru":false,"FontUnderline":false,"ForeColor":255,"Index":1,"Left":450,"Shadow":true,)"
            R"("ShadowColor":0,"Top":600,"Visible":true})");
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

TEST_F(FilesCli, InfoTextForm) {
  const CliRun run = Cli({"--library", Library(), "info", Project("shadows.lmp")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (const char* line : {"Template: Banners\\Summer Sky\\sky.png", "Text items: 4", "\"Sixteen points\"",
                           "DejaVu Serif 48 pt, bold"})
    EXPECT_NE(run.out.find(line), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("Problems"), std::string::npos);
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
      {"huge.bmp", BmpClaiming(65535, 65535)},
      {"negative.bmp", BmpClaiming(-5, 10)},
      {"flat.bmp", BmpClaiming(100, 0)},
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
    EXPECT_EQ(Bytes(Scratch(name)), Bytes(Project(name))) << name;
  }
  const CliRun run = Cli({"resave", Project("stacking.lmp"), Scratch("b.lmp")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errLines(), 1) << "the missing closing line is a warning";
  QByteArray expected = Bytes(Project("stacking.lmp"));
  expected.replace("</Shadow>\r\n</ZEB Image File>", "</Shadow>\r\n\t</TextItem>\r\n</ZEB Image File>");
  EXPECT_EQ(Bytes(Scratch("b.lmp")), expected);
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

}  // namespace
}  // namespace lumora::test
