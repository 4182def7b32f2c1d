#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/AtomicFile.h"

namespace lumora {
namespace fs = std::filesystem;

namespace {
std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
fs::path freshFolder(const char* name) {
  auto dir = fs::temp_directory_path() / (std::string("lumora_atomic_") + name + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}
}  // namespace

TEST(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaryFile) {
  const auto dir = freshFolder("replace");
  const auto target = dir / "out.bin";
  std::ofstream(target) << "old";
  const std::vector<uint8_t> bytes = {'n', 'e', 'w'};
  ASSERT_TRUE(WriteFileAtomically(target, bytes));
  EXPECT_EQ(readAll(target), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(AtomicFile, AnAbandonedWriteKeepsTheOldFile) {
  const auto dir = freshFolder("abandon");
  const auto target = dir / "keep.txt";
  std::ofstream(target) << "good";
  {
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.open(target));
    ASSERT_TRUE(writer.write("partial", 7));
  }  // never committed
  EXPECT_EQ(readAll(target), "good");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(AtomicFile, AMissingFolderFailsWithAReason) {
  std::string error;
  EXPECT_FALSE(WriteFileAtomically("/nonexistent-folder-xyz/file.bin", std::vector<uint8_t>{1}, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace lumora
