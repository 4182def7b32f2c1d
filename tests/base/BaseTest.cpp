// The temporary files of the export, and rounding.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/FileHelpers.h"
#include "base/Rounding.h"

namespace lumora {
namespace fs = std::filesystem;
namespace {

fs::path FreshFolder(const char* name) {
  const auto dir = fs::temp_directory_path() / (std::string("lumora_files_") + name + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

// Unique empty files named by a prefix of three characters that cannot leave the folder; the
// temporary folder when the folder does not exist, and no name when nothing can be created.
TEST(CreateTempFile, NamesAndFolders) {
  const auto dir = FreshFolder("temp");
  std::string folder = dir.string();
  const std::string a = CreateTempFile({}, &folder), b = CreateTempFile("LUMORA", &folder),
                    c = CreateTempFile("../", &folder);
  EXPECT_EQ(folder, dir.string());
  EXPECT_NE(a, CreateTempFile({}, &folder));
  for (const auto& [path, start] : {std::pair{a, "ZEB"}, {b, "LUM"}, {c, ".._"}}) {
    EXPECT_EQ(fs::path(path).parent_path(), dir);
    EXPECT_EQ(fs::path(path).filename().string().substr(0, 3), start);
    EXPECT_EQ(fs::path(path).filename().string().size(), 3u + 6u + 4u) << path;
    EXPECT_EQ(fs::path(path).extension(), ".tmp");
    EXPECT_EQ(fs::file_size(path), 0u);
  }
  folder = (dir / "does-not-exist").string();
  const std::string fallback = CreateTempFile({}, &folder);
  EXPECT_EQ(folder, WindowsTempDirectory()) << "the caller sees the folder used";
  EXPECT_TRUE(fs::equivalent(fs::path(fallback).parent_path(), fs::temp_directory_path()));
  KillFile(fallback);
  EXPECT_FALSE(fs::exists(fallback));
  folder = "/proc";  // exists, but no one may create files there
  EXPECT_EQ(CreateTempFile({}, &folder), "");
  fs::remove_all(dir);
}

TEST(Rounding, HalvesGoToEven) {
  struct Case { double in; double out; };
  for (const Case c : {Case{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {367.5, 368}, {8.5, 8}, {2.4999, 2}})
    EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(Rounding, ConversionRaisesOverflowOutsideTheType) {
  EXPECT_EQ(RoundToInt<int16_t>(32767.4), 32767);
  EXPECT_THROW(RoundToInt<int16_t>(32767.5), LumoraError);
  EXPECT_THROW(RoundToInt<int32_t>(std::nan("")), LumoraError);
}

}  // namespace
}  // namespace lumora
