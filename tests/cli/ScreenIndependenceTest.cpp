// The picture a project renders to does not depend on the screen of the machine that renders it.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "../compose/Decoders.h"

namespace lumora::test {
namespace {

class ScreenIndependence : public testing::Test, public CliFixture {};

TEST_F(ScreenIndependence, FontDpiAndScaleFactorLeaveEveryPixel) {
  for (const char* project : {"multiline.lmp", "effects.lmp"}) {
    SCOPED_TRACE(project);
    const auto render = [&](const QString& out, const char* variable, const char* value) {
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      if (variable) environment.insert(QString::fromLatin1(variable), QString::fromLatin1(value));
      const CliRun run = Cli({"render", "--library", Library(), Project(project), "-o", Scratch(out)}, environment);
      EXPECT_EQ(run.exitCode, 0) << run.err;
      return ReadBytes(ScratchPath(out));
    };
    const auto plain = render("plain.bmp", nullptr, nullptr);
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(render("dpi.bmp", "QT_FONT_DPI", "144"), plain);
    EXPECT_EQ(render("scaled.bmp", "QT_SCALE_FACTOR", "2"), plain);
  }
}

}  // namespace
}  // namespace lumora::test
