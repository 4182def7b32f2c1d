#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

#include "CliRunner.h"
#include "../compose/Decoders.h"
#include "../compose/HostileFiles.h"

namespace lumora::test {
namespace {

class ConvertCli : public testing::Test, public CliFixture {
 protected:
  QString Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Scratch(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }
};

TEST_F(ConvertCli, EveryRouteFromAPng) {
  const QString input = Projects() + "/golden/stacking.png";
  const QImage source(input);
  ASSERT_FALSE(source.isNull());
  for (const char* name : {"c.bmp", "c.png", "c.jpg", "c.gif"}) {
    const CliRun run = Cli({"convert", input, Scratch(name)});
    ASSERT_EQ(run.exitCode, 0) << name << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
  }
  EXPECT_EQ(MaxChannelDifference(QImage(Scratch("c.bmp")), source), 0);
  EXPECT_EQ(MaxChannelDifference(QImage(Scratch("c.png")), source), 0);
  EXPECT_LT(MeanChannelDifference(DecodeJpeg(ScratchPath("c.jpg")).image, source), 1.0);
  const DecodedGif gif = DecodeGif(ScratchPath("c.gif"));
  ASSERT_TRUE(gif.ok);
  EXPECT_LT(MeanChannelDifference(gif.image, source), 4.0);
}

TEST_F(ConvertCli, ChainOfConversionsKeepsThePicture) {
  const QString input = Projects() + "/golden/multiline.png";
  ASSERT_EQ(Cli({"convert", input, Scratch("a.bmp")}).exitCode, 0);
  ASSERT_EQ(Cli({"convert", Scratch("a.bmp"), Scratch("b.gif")}).exitCode, 0);
  ASSERT_EQ(Cli({"convert", Scratch("b.gif"), Scratch("c.png")}).exitCode, 0);
  EXPECT_EQ(MaxChannelDifference(QImage(Scratch("c.png")), DecodeGif(ScratchPath("b.gif")).image), 0);
}

struct Hostile {
  const char* name;
  QByteArray bytes;
};

class HostileConvert : public ConvertCli, public testing::WithParamInterface<Hostile> {};

// A bad or hostile input is refused with one line; nothing is written and nothing crashes.
TEST_P(HostileConvert, ClearErrorNoCrashNoOutput) {
  const QString input = Write(GetParam().name, GetParam().bytes);
  const CliRun run = Cli({"convert", input, Scratch("out.png")});
  EXPECT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1) << run.err;
  EXPECT_NE(run.err.find(GetParam().name), std::string::npos) << run.err;
  EXPECT_FALSE(QFile::exists(Scratch("out.png")));
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

INSTANTIATE_TEST_SUITE_P(
    Inputs, HostileConvert,
    testing::Values(Hostile{"empty.png", {}}, Hostile{"text.jpg", "just some text\n"},
                    Hostile{"zeros.bmp", QByteArray(4096, '\0')}, Hostile{"huge.png", PngClaiming(60000, 60000)},
                    Hostile{"endless.png", PngClaiming(0xFFFFFFFFu, 0xFFFFFFFFu)},
                    Hostile{"huge.bmp", BmpClaiming(65535, 65535)}, Hostile{"flat.bmp", BmpClaiming(100, 0)},
                    Hostile{"cut.png", Truncated("png")}, Hostile{"magic.bmp", "BM"},
                    Hostile{"gif.gif", QByteArray("GIF89a\xff\xff\xff\xff\x00\x00\x00;", 14)}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& c : n)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return n;
    });

TEST_F(ConvertCli, MissingInputFails) {
  const CliRun run = Cli({"convert", Scratch("nothing.png"), Scratch("out.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errLines(), 1);
}

TEST_F(ConvertCli, WrongNumberOfFilesIsAUsageError) {
  EXPECT_EQ(Cli({"convert", Scratch("a.png")}).exitCode, 2);
  EXPECT_EQ(Cli({"convert", Scratch("a.png"), Scratch("b.png"), Scratch("c.png")}).exitCode, 2);
}

}  // namespace
}  // namespace lumora::test
