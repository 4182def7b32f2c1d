#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "base/FileHelpers.h"

namespace lumora {
namespace fs = std::filesystem;
namespace {

class FileHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("lumora_files_" + std::to_string(::getpid()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }
  fs::path m_dir;
};

TEST(AddSlash, AppendsTheSeparatorOnlyWhenMissing) {
  std::string folder = "/tmp/a";
  AddSlash(folder);
  EXPECT_EQ(folder, "/tmp/a/");
  AddSlash(folder);
  EXPECT_EQ(folder, "/tmp/a/");
  std::string empty;
  AddSlash(empty);
  EXPECT_EQ(empty, "");
}

TEST_F(FileHelpers, DirectoryExistsForFoldersOnly) {
  EXPECT_FALSE(DirectoryExists(""));
  EXPECT_TRUE(DirectoryExists(m_dir.string()));
  EXPECT_TRUE(DirectoryExists(m_dir.string() + "/")) << "empty folders count";
  std::ofstream(m_dir / "f.txt") << "x";
  EXPECT_FALSE(DirectoryExists((m_dir / "f.txt").string()));
  EXPECT_FALSE(DirectoryExists((m_dir / "none").string()));
}

TEST_F(FileHelpers, FileExistsForFilesOfAnyKindButNotFolders) {
  EXPECT_FALSE(FileExists(""));
  const auto hidden = m_dir / ".hidden";
  std::ofstream(hidden) << "x";
  ::chmod(hidden.c_str(), 0444);
  EXPECT_TRUE(FileExists(hidden.string()));
  EXPECT_FALSE(FileExists(m_dir.string()));
  EXPECT_FALSE(FileExists((m_dir / "missing").string()));
}

TEST_F(FileHelpers, KillFileRemovesAReadOnlyFileAndIgnoresAMissingOne) {
  const auto file = m_dir / "ro.tmp";
  std::ofstream(file) << "x";
  ::chmod(file.c_str(), 0444);
  KillFile(file.string());
  EXPECT_FALSE(fs::exists(file));
  EXPECT_NO_THROW(KillFile(file.string()));
  EXPECT_NO_THROW(KillFile(""));
  KillFile(m_dir.string());
  EXPECT_TRUE(fs::is_directory(m_dir)) << "folders are not files";
}

TEST(WindowsTempDirectory, IsTheSystemTemporaryFolderWithASeparator) {
  const std::string temp = WindowsTempDirectory();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '/');
  EXPECT_TRUE(fs::equivalent(temp, fs::temp_directory_path()));
  EXPECT_EQ(WindowsTempDirectory(), temp);
}

TEST_F(FileHelpers, CreateTempFileMakesAUniqueEmptyFileWithTheZebPrefix) {
  std::string folder = m_dir.string();
  const std::string a = CreateTempFile({}, &folder);
  const std::string b = CreateTempFile({}, &folder);
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(folder, m_dir.string());
  for (const std::string& p : {a, b}) {
    EXPECT_EQ(fs::path(p).parent_path(), m_dir);
    EXPECT_TRUE(fs::path(p).filename().string().starts_with("ZEB")) << p;
    EXPECT_EQ(fs::path(p).extension(), ".tmp");
    EXPECT_EQ(fs::file_size(p), 0u);
  }
}

TEST_F(FileHelpers, CreateTempFileCutsThePrefixToThreeCharacters) {
  std::string folder = m_dir.string();
  const std::string p = CreateTempFile("LUMORA", &folder);
  EXPECT_EQ(fs::path(p).filename().string().substr(0, 3), "LUM");
  EXPECT_EQ(fs::path(p).filename().string().size(), 3u + 6u + 4u);
}

TEST_F(FileHelpers, CreateTempFileKeepsTheFileInsideTheFolder) {
  fs::create_directories(m_dir / "sub");
  std::string folder = (m_dir / "sub").string();
  const std::string p = CreateTempFile("../", &folder);
  ASSERT_FALSE(p.empty());
  EXPECT_EQ(fs::path(p).parent_path(), m_dir / "sub");
  EXPECT_EQ(fs::path(p).filename().string().substr(0, 3), ".._");
}

TEST_F(FileHelpers, CreateTempFileFallsBackToTheTemporaryFolder) {
  std::string folder = (m_dir / "does-not-exist").string();
  const std::string p = CreateTempFile({}, &folder);
  ASSERT_FALSE(p.empty());
  EXPECT_EQ(folder, WindowsTempDirectory()) << "the caller sees the folder used";
  EXPECT_TRUE(fs::equivalent(fs::path(p).parent_path(), fs::temp_directory_path()));
  KillFile(p);
  EXPECT_FALSE(fs::exists(p));
  std::string none;
  const std::string q = CreateTempFile({}, &none);
  EXPECT_EQ(none, WindowsTempDirectory());
  KillFile(q);
}

TEST(CreateTempFile, GivesAnEmptyNameWhenTheSystemCannotCreateTheFile) {
  std::string folder = "/proc";  // exists, but no one may create files there
  ASSERT_TRUE(DirectoryExists(folder));
  EXPECT_EQ(CreateTempFile({}, &folder), "");
}

}  // namespace
}  // namespace lumora
