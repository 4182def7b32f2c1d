// convert starts no GUI application (its runtime folder would land in TMPDIR) and needs no TMPDIR.
#include <gtest/gtest.h>

#include "CliRunner.h"

namespace lumora::test {
namespace {

class StartupCli : public testing::Test, public CliFixture {};

TEST_F(StartupCli, ConvertNeedsNoGuiApplicationAndNoTemporaryFolder) {
  ASSERT_TRUE(QImage(2, 2, QImage::Format_RGB32).save(Scratch("a.bmp")));
  std::filesystem::create_directories(ScratchPath("temp"));
  for (const QString& temp : {Scratch("temp"), QString("/proc"), Scratch("missing")}) {  // /proc refuses files
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("XDG_RUNTIME_DIR");
    environment.insert("TMPDIR", temp);
    const char* chain[] = {"a.bmp", "b.png", "c.gif", "d.jpg", "e.bmp"};
    for (size_t i = 0; i + 1 < std::size(chain); ++i) {
      const CliRun run = Cli({"convert", Scratch(chain[i]), Scratch(chain[i + 1])}, environment);
      EXPECT_EQ(run.exitCode, 0) << temp.toStdString() << " " << chain[i + 1] << " " << run.err;
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(ScratchPath("temp")));
}

}  // namespace
}  // namespace lumora::test
