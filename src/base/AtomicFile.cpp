#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

namespace lumora {
namespace {

namespace fs = std::filesystem;

// Past the file-size limit the kernel would kill the process; the write should fail instead.
void FailWritesPastTheSizeLimit() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) std::signal(SIGXFSZ, SIG_IGN);
  });
}

std::string Reason(const std::string& what, int error) { return what + ": " + std::strerror(error); }

// The file a save goes to: a symbolic link is followed to the file it names, which may not exist yet.
std::optional<fs::path> FollowLinks(fs::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) return std::nullopt;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return std::nullopt;
}

bool WriteAt(int fd, std::span<const uint8_t> bytes, off_t at, int& error) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, at + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Every piece from the start of the file; `written` receives the length.
bool WritePieces(int fd, const FilePieces& pieces, off_t& written, int& error) {
  written = 0;
  try {
    for (std::span<const uint8_t> piece = pieces(); !piece.empty(); piece = pieces()) {
      if (!WriteAt(fd, piece, written, error)) return false;
      written += static_cast<off_t>(piece.size());
    }
  } catch (...) {
    error = ENOMEM;
    return false;
  }
  return true;
}

std::optional<std::vector<uint8_t>> ReadWhole(int fd, off_t size) {
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    done += static_cast<size_t>(n);
  }
  return bytes;
}

// For a folder that refuses new files: the old content is kept in memory so a write that fails
// halfway can put it back.
bool RewriteInPlace(const fs::path& file, const FilePieces& pieces, std::string& error) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    error = Reason("cannot write " + file.string(), errno);
    return false;
  }
  struct stat st {};
  std::optional<std::vector<uint8_t>> old;
  if (::fstat(fd, &st) == 0) old = ReadWhole(fd, st.st_size);
  int failure = 0;
  bool ok = old.has_value();
  if (!ok) failure = errno ? errno : EIO;
  off_t written = 0;
  ok = ok && WritePieces(fd, pieces, written, failure);
  if (ok && ::ftruncate(fd, written) != 0) ok = false, failure = errno;
  if (ok && ::fsync(fd) != 0) ok = false, failure = errno;
  if (!ok && old) {
    int ignored = 0;
    WriteAt(fd, *old, 0, ignored);
    (void)!::ftruncate(fd, static_cast<off_t>(old->size()));
  }
  if (::close(fd) != 0 && ok) ok = false, failure = errno;
  if (!ok) error = Reason("cannot write " + file.string(), failure);
  return ok;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool WriteFileAtomically(const fs::path& target, std::span<const uint8_t> bytes, std::string* error) {
  bool given = false;
  return WriteFileAtomically(
      target,
      [&]() -> std::span<const uint8_t> {
        if (given) return {};
        given = true;
        return bytes;
      },
      error);
}

bool WriteFileAtomically(const fs::path& target, const FilePieces& pieces, std::string* error) {
  FailWritesPastTheSizeLimit();
  std::string why;
  const auto done = [&](bool ok) {
    if (!ok && error) *error = why;
    return ok;
  };
  const std::optional<fs::path> file = FollowLinks(target);
  if (!file) {
    why = Reason("cannot follow the links at " + target.string(), ELOOP);
    return done(false);
  }
  struct stat old {};
  const bool exists = ::stat(file->c_str(), &old) == 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) {
      why = file->string() + " is not a file";
      return done(false);
    }
    // Root may write anything; a file without a single write bit is still meant to stay as it is.
    if ((old.st_mode & 0222) == 0 || ::access(file->c_str(), W_OK) != 0) {
      why = Reason("cannot write " + file->string(), EACCES);
      return done(false);
    }
    // A replacement would belong to us, not to the file's owner.
    if (::geteuid() != 0 && old.st_uid != ::geteuid()) return done(RewriteInPlace(*file, pieces, why));
  }
  const fs::path folder = file->has_parent_path() ? file->parent_path() : fs::path(".");
  std::string temp = (folder / ("." + file->filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    if (exists && (errno == EACCES || errno == EPERM)) return done(RewriteInPlace(*file, pieces, why));
    why = Reason("cannot create a file in " + folder.string(), errno);
    return done(false);
  }
  if (exists) (void)!::fchown(fd, old.st_uid, old.st_gid);  // only root gets this far with another's file
  ::fchmod(fd, exists ? (old.st_mode & 07777) : NewFileMode());
  int failure = 0;
  off_t written = 0;
  bool ok = WritePieces(fd, pieces, written, failure);
  if (::close(fd) != 0 && ok) ok = false, failure = errno;
  if (ok && ::rename(temp.c_str(), file->c_str()) != 0) ok = false, failure = errno;
  if (!ok) {
    ::unlink(temp.c_str());
    why = Reason("cannot write " + file->string(), failure);
  }
  return done(ok);
}

}  // namespace lumora
