// Saving over a file: what the file system protects stays protected, and a failed write leaves
// the old file byte for byte, with no temporary file beside it. The suite runs as root on CI, so
// the cases that need an ordinary user run in a child process that becomes "nobody". And rounding:
// halves to even, and overflow outside the type.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "base/AtomicFile.h"
#include "base/Rounding.h"

#ifdef LUMORA_COVERAGE_BUILD
extern "C" void __gcov_dump();
#endif

namespace lumora {
namespace {
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

mode_t modeOf(const fs::path& p) { return static_cast<mode_t>(fs::status(p).permissions() & fs::perms::mask); }

size_t entries(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/lumora_atomic_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir = pattern;
    ::chmod(dir.c_str(), 0755);
    old = dir / "old.lmp";
    std::ofstream(old) << "good content";
  }
  void TearDown() override {
    ::chmod(dir.c_str(), 0755);
    fs::remove_all(dir);
  }
  // Runs `work` in a child process as an ordinary user who owns the folder and the old file.
  bool asOrdinaryUser(const std::function<bool()>& work) {
    if (::geteuid() == 0) {
      for (const auto& e : fs::recursive_directory_iterator(dir)) (void)!::lchown(e.path().c_str(), kNobody, kNobody);
      (void)!::chown(dir.c_str(), kNobody, kNobody);
    }
    const pid_t child = ::fork();
    if (child == 0) {
      // Root stays the saved user, so a coverage build can take it back to write its counters.
      const bool root = ::geteuid() == 0;
      if (root && (::setresgid(kNobody, kNobody, 0) != 0 || ::setresuid(kNobody, kNobody, 0) != 0)) ::_exit(2);
      const bool ok = work();
#ifdef LUMORA_COVERAGE_BUILD
      const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
      if (root && ::setresuid(0, 0, 0) == 0 && ::setresgid(0, 0, 0) == 0 && ::setrlimit(RLIMIT_FSIZE, &unlimited) == 0)
        __gcov_dump();
#endif
      ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  fs::path dir, old;
};

TEST_F(AtomicFile, ReplacesTheFileKeepingItsPermissionBits) {
  ::chmod(old.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(old, bytesOf("new")));
  EXPECT_EQ(std::make_tuple(readAll(old), modeOf(old), entries(dir)), std::make_tuple("new", 0640u, 1u));
  const mode_t mask = ::umask(022);
  ASSERT_TRUE(WriteFileAtomically(dir / "fresh.jpg", bytesOf("x")));
  ::umask(mask);
  EXPECT_EQ(modeOf(dir / "fresh.jpg"), 0644u);
}

TEST_F(AtomicFile, AFileWithoutWriteBitsIsRefusedEvenForRoot) {
  ::chmod(old.c_str(), 0444);
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(old, bytesOf("new"), &error));
  EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
  EXPECT_EQ(std::make_tuple(readAll(old), modeOf(old), entries(dir)), std::make_tuple("good content", 0444u, 1u));
}

TEST_F(AtomicFile, ALinkIsWrittenThroughToItsTarget) {
  fs::create_directory(dir / "real");
  const fs::path target = dir / "real" / "banner.lmp";
  std::ofstream(target) << "old";
  fs::create_symlink("real/banner.lmp", dir / "link.lmp");
  fs::create_symlink("link.lmp", dir / "link2.lmp");
  ASSERT_TRUE(WriteFileAtomically(dir / "link2.lmp", bytesOf("through")));
  EXPECT_TRUE(fs::is_symlink(dir / "link.lmp") && fs::is_symlink(dir / "link2.lmp"));
  EXPECT_EQ(readAll(target), "through");
  // A link to a file not yet there makes that file.
  fs::create_symlink("real/new.lmp", dir / "dangling.lmp");
  ASSERT_TRUE(WriteFileAtomically(dir / "dangling.lmp", bytesOf("made")));
  EXPECT_EQ(readAll(dir / "real" / "new.lmp"), "made");
  fs::create_symlink("loop.lmp", dir / "loop.lmp");
  EXPECT_FALSE(WriteFileAtomically(dir / "loop.lmp", bytesOf("x")));
}

TEST_F(AtomicFile, AFolderThatRefusesNewFilesStillTakesAWritableFileInPlace) {
  const fs::path folder = dir, file = old;
  EXPECT_TRUE(asOrdinaryUser([&] {
    ::chmod(folder.c_str(), 0555);
    const bool rewritten = WriteFileAtomically(file, bytesOf("rewritten")) && readAll(file) == "rewritten";
    const bool shorter = WriteFileAtomically(file, bytesOf("ab")) && readAll(file) == "ab";
    const bool refusedNew = !WriteFileAtomically(folder / "other.lmp", bytesOf("x"));
    return rewritten && shorter && refusedNew && entries(folder) == 1;
  }));
}

TEST_F(AtomicFile, TheFileSizeLimitLeavesTheOldFileAndNoTemporaryFile) {
  const fs::path folder = dir, file = old;
  const std::string big(64 * 1024, 'x');
  for (bool inPlace : {false, true}) {
    SCOPED_TRACE(inPlace ? "rewritten in place" : "replaced");
    EXPECT_TRUE(asOrdinaryUser([&] {
      if (inPlace) ::chmod(folder.c_str(), 0555);
      const rlimit limit{4096, 4096};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      std::string error;
      const bool failed = !WriteFileAtomically(file, bytesOf(big), &error);
      return failed && !error.empty() && readAll(file) == "good content" && entries(folder) == 1;
    }));
  }
}

// A file made piece by piece lands whole, replaced or rewritten in place; a piece that cannot be
// made leaves the old file and no temporary file.
TEST_F(AtomicFile, PiecesLandInOrderAndAFailingPieceLeavesTheOldFile) {
  const fs::path folder = dir, file = old;
  auto pieces = [](std::vector<std::string> parts, bool failAtEnd) {
    return FilePieces([parts, failAtEnd, at = size_t{0}]() mutable -> std::span<const uint8_t> {
      if (at == parts.size() && failAtEnd) throw std::bad_alloc();
      if (at == parts.size()) return {};
      const std::string& part = parts[at++];
      return {reinterpret_cast<const uint8_t*>(part.data()), part.size()};
    });
  };
  for (bool inPlace : {false, true}) {
    SCOPED_TRACE(inPlace ? "rewritten in place" : "replaced");
    std::ofstream(file) << "good content";
    EXPECT_TRUE(asOrdinaryUser([&] {
      if (inPlace) ::chmod(folder.c_str(), 0555);
      const bool failed = !WriteFileAtomically(file, pieces({"half", " a file"}, true)) && readAll(file) == "good content";
      const bool landed = WriteFileAtomically(file, pieces({"new ", "", "file"}, false)) && readAll(file) == "new ";
      const bool whole = WriteFileAtomically(file, pieces({"a new", " file"}, false)) && readAll(file) == "a new file";
      return failed && landed && whole && entries(folder) == 1;
    }));
  }
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
