#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliRunner.h"

namespace lumora::test {
namespace {

class InfoCli : public testing::Test, public CliFixture {
 protected:
  QJsonObject Json(const QString& project, const QStringList& more = {}) const {
    const CliRun run = Cli(QStringList{"info", "--json", project} + more);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
    return document.object();
  }
};

TEST_F(InfoCli, JsonHoldsTheDocumentAsRead) {
  const QJsonObject info = Json(Project("stacking.lmp"), {"--library", Library()});
  EXPECT_EQ(info.keys(), (QStringList{"Items", "Problems", "TemplateFound", "TemplateName"}));
  EXPECT_EQ(info["TemplateName"].toString(), "banners\\summer sky\\SKY.PNG");
  EXPECT_TRUE(info["TemplateFound"].toBool());
  const QJsonArray items = info["Items"].toArray();
  ASSERT_EQ(items.size(), 4);
  const QJsonObject first = items[0].toObject();
  EXPECT_EQ(first.keys().size(), 15);
  EXPECT_EQ(first["Index"].toInt(), 1);
  EXPECT_TRUE(first["Visible"].isBool());
  EXPECT_TRUE(first["Visible"].toBool());
  EXPECT_EQ(first["Left"].toDouble(), 450);
  EXPECT_EQ(first["Top"].toDouble(), 600);
  EXPECT_EQ(first["Caption"].toString(), "Bottom");
  EXPECT_EQ(first["FontName"].toString(), "DejaVu Sans");
  EXPECT_TRUE(first["FontBold"].toBool());
  EXPECT_EQ(first["FontSize"].toDouble(), 40);
  EXPECT_EQ(first["ForeColor"].toInt(), 255);
  EXPECT_TRUE(first["Shadow"].toBool());
  EXPECT_EQ(first["ShadowColor"].toInt(), 0);
  EXPECT_TRUE(items[1].toObject()["FontUnderline"].toBool());
  EXPECT_TRUE(items[2].toObject()["FontStrikethru"].toBool());
  EXPECT_TRUE(items[2].toObject()["FontItalic"].toBool());
  EXPECT_FALSE(items[3].toObject()["Visible"].toBool());
  const QJsonArray problems = info["Problems"].toArray();
  ASSERT_EQ(problems.size(), 1);
  EXPECT_TRUE(problems[0].toString().contains("closing line"));
}

TEST_F(InfoCli, CaptionsKeepLineBreaksAndAccents) {
  const QJsonArray items = Json(Project("multiline.lmp"), {"--library", Library()})["Items"].toArray();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0].toObject()["Caption"].toString(), "Left aligned\r\nsecond line is longer\r\n3");
  EXPECT_EQ(items[2].toObject()["Caption"].toString(), QString::fromUtf8("Café crème\r\ncentred\r\nin the middle"));
  EXPECT_EQ(items[1].toObject()["Alignment"].toInt(), 1);
  EXPECT_EQ(items[2].toObject()["Alignment"].toInt(), 2);
}

TEST_F(InfoCli, FractionalPositionsAndSystemColoursAreNumbers) {
  QFile file(Scratch("p.lmp"));
  file.open(QIODevice::WriteOnly);
  file.write("<ZEB Image File>\r\n\t<Template>a\\b\\c.png</Template>\r\n\t<TextItem>\r\n\t\t<Left>1117.5</Left>\r\n"
             "\t\t<ForeColor>-2147483643</ForeColor>\r\n\t\t<Caption>q\"\\</Caption>\r\n\t</TextItem>\r\n</ZEB Image File>\r\n");
  file.close();
  const QJsonObject info = Json(file.fileName(), {"--library", Library()});
  EXPECT_FALSE(info["TemplateFound"].toBool());
  EXPECT_FALSE(info["Problems"].toArray().isEmpty()) << "the missing template is a problem";
  const QJsonObject item = info["Items"].toArray()[0].toObject();
  EXPECT_EQ(item["Left"].toDouble(), 1117.5);
  EXPECT_EQ(item["ForeColor"].toDouble(), -2147483643.0);
  EXPECT_EQ(item["Caption"].toString(), "q\"\\");
}

TEST_F(InfoCli, TextFormIsReadable) {
  const CliRun run = Cli({"--library", Library(), "info", Project("shadows.lmp")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Template: Banners\\Summer Sky\\sky.png"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Text items: 4"), std::string::npos);
  EXPECT_NE(run.out.find("\"Sixteen points\""), std::string::npos);
  EXPECT_NE(run.out.find("DejaVu Serif 48 pt, bold"), std::string::npos);
  EXPECT_EQ(run.out.find("Problems"), std::string::npos);
}

TEST_F(InfoCli, NotAProjectFails) {
  const CliRun run = Cli({"info", Project("golden/shadows.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1);
  EXPECT_TRUE(run.out.empty());
}

}  // namespace
}  // namespace lumora::test
