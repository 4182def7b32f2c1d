#include "base/FileHelpers.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "base/AppInfo.h"

namespace lumora {
namespace fs = std::filesystem;

namespace {
constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);
}

void AddSlash(std::string& folder) {
  if (!folder.empty() && folder.back() != kSeparator) folder += kSeparator;
}

bool DirectoryExists(std::string folder) {
  AddSlash(folder);
  std::error_code ec;
  return !folder.empty() && fs::is_directory(folder, ec);
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  const auto status = fs::symlink_status(path, ec);
  return !ec && fs::exists(status) && !fs::is_directory(status);
}

void KillFile(const std::string& path) {
  if (!FileExists(path)) return;
  std::error_code ec;
  // Like clearing a file's attributes: a read-only file goes too.
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
  fs::remove(path, ec);
}

std::string WindowsTempDirectory() {
  static const std::string cache = [] {
    std::error_code ec;
    std::string folder = fs::temp_directory_path(ec).string();
    if (ec) folder.clear();
    AddSlash(folder);
    return folder;
  }();
  return cache;
}

std::string CreateTempFile(std::string prefix, std::string* folder) {
  if (prefix.empty()) prefix = std::string(kAppTitle).substr(0, 3) + "TMP";
  prefix = prefix.substr(0, 3);
  for (char& c : prefix)
    if (c == kSeparator || c == '\0') c = '_';  // the name stays inside the folder
  std::string where = folder ? *folder : std::string();
  if (!DirectoryExists(where)) where = WindowsTempDirectory();
  if (folder) *folder = where;
  if (where.empty()) return {};
  AddSlash(where);
  static constexpr char kSuffix[] = ".tmp";
  std::string pattern = where + prefix + "XXXXXX" + kSuffix;
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  // mkstemps creates the file exclusively, so no other process can take the same name.
  const int fd = ::mkstemps(buffer.data(), static_cast<int>(sizeof kSuffix - 1));
  if (fd < 0) return {};
  ::close(fd);
  return buffer.data();
}

}  // namespace lumora
