#include "core/settings/file_set_aside.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace plumwit {
namespace {

FileIdentity IdentityOf(const struct stat& status) {
  FileIdentity identity;
  identity.device = status.st_dev;
  identity.inode = status.st_ino;
  identity.size = status.st_size;
  identity.modified = status.st_mtim;
  return identity;
}

// Closes the descriptor it holds when it goes out of scope.
class OpenFile {
 public:
  explicit OpenFile(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The move is only durable once the folder's entries are on the disk; the
// move has happened either way, so a failure here changes nothing.
void FlushFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool IsRegularFileOrLink(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 &&
         (S_ISREG(status.st_mode) || S_ISLNK(status.st_mode));
}

// Some file systems (network shares among them) refuse to rename over an
// existing file; the older copy set aside is then removed first.
bool RenameReplacing(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  if (!IsRegularFileOrLink(to) || ::unlink(to.c_str()) != 0) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

bool FileIdentity::operator==(const FileIdentity& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

std::optional<FileIdentity> IdentifyRegularFile(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return IdentityOf(status);
}

SetAsideResult SetFileAside(const std::string& path, const FileIdentity& expected,
                            const std::string& aside_path, mode_t mode) {
  const OpenFile file(path);
  if (!file.valid()) {
    return IdentifyRegularFile(path) ? SetAsideResult::kFailed : SetAsideResult::kReplaced;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return SetAsideResult::kFailed;
  if (!S_ISREG(status.st_mode) || IdentityOf(status) != expected) return SetAsideResult::kReplaced;
  // Tightened before the move, so the copy is never readable by others at
  // its new place.
  if (::fchmod(file.get(), mode) != 0) return SetAsideResult::kFailed;
  if (!RenameReplacing(path, aside_path)) return SetAsideResult::kFailed;
  FlushFolder(FolderOf(path));
  return SetAsideResult::kMoved;
}

}  // namespace plumwit
