#include "core/settings/whole_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace plumwit {
namespace {

// Closes the descriptor it holds when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now, reporting whether the last buffered write made it.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Appends up to `limit` bytes more from `fd`; false on a read error.
bool ReadUpTo(int fd, std::size_t limit, std::string& bytes) {
  char block[16384];
  while (bytes.size() < limit) {
    const std::size_t wanted = std::min(sizeof block, limit - bytes.size());
    const ssize_t got = ::read(fd, block, wanted);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    bytes.append(block, static_cast<std::size_t>(got));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The temporary file of a write is named for its target and for us (".",
// the target's name, ".plumwit-" and six random characters), so that one
// left behind by a killed write is known for ours and nobody else's file
// is ever mistaken for one.
constexpr std::string_view kTemporaryMark = ".plumwit-";
constexpr std::size_t kRandomCharacters = 6;

std::string TemporaryPrefix(const std::string& path) {
  return "." + NameOf(path) + std::string(kTemporaryMark);
}

std::string TemporaryPattern(const std::string& path) {
  const std::string folder = FolderOf(path);
  return (folder == "/" ? "" : folder) + "/" + TemporaryPrefix(path) +
         std::string(kRandomCharacters, 'X');
}

bool IsTemporaryNameOf(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + kRandomCharacters ||
      name.compare(0, prefix.size(), prefix) != 0) {
    return false;
  }
  return std::all_of(
      name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
      });
}

// A write in progress holds a lock on its temporary file and is younger than
// this; a file with neither was left by a write that was killed.
constexpr std::chrono::seconds kStaleAge{10};

bool IsOldEnough(const struct stat& status) {
  const auto modified = std::chrono::system_clock::from_time_t(status.st_mtime);
  return std::chrono::system_clock::now() - modified >= kStaleAge;
}

void RemoveIfStale(const std::string& candidate) {
  FileDescriptor fd(::open(candidate.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd.valid()) return;
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid() ||
      !IsOldEnough(status)) {
    return;
  }
  // Held while we unlink, so a writer that is still alive cannot be hit.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return;
  ::unlink(candidate.c_str());
}

// Killed during a save, a write leaves its temporary file (holding what was
// being written, a password perhaps); the next write of the same file
// removes those of ours.
void RemoveStaleTemporaryFiles(const std::string& path) {
  const std::string folder = FolderOf(path);
  const std::string prefix = TemporaryPrefix(path);
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return;
  for (const auto& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (IsTemporaryNameOf(name, prefix)) RemoveIfStale(entry.path().string());
  }
}

// A rename is only durable once the folder's entry is on the disk; failing to
// flush it does not undo the replacement, so the result is not checked.
void FlushFolder(const std::string& folder) {
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) ::fsync(fd.get());
}

struct Target {
  bool exists = false;
  struct stat status {};
};

Target InspectTarget(const std::string& path) {
  Target target;
  target.exists = ::stat(path.c_str(), &target.status) == 0;
  return target;
}

// Gives the temporary file the permissions (and, best effort, the owner) the
// target should end up with.
bool ApplyOwnerAndMode(int fd, const Target& target, mode_t mode, ExistingMode existing_mode) {
  if (!target.exists) return ::fchmod(fd, mode) == 0;
  if (target.status.st_uid != ::geteuid() || target.status.st_gid != ::getegid()) {
    // Only a privileged process may hand a file to someone else; the others
    // keep the file as their own, which still leaves it usable by them.
    (void)!::fchown(fd, target.status.st_uid, target.status.st_gid);
  }
  const mode_t final_mode =
      existing_mode == ExistingMode::kKeep ? (target.status.st_mode & 07777) : mode;
  return ::fchmod(fd, final_mode) == 0;
}

// Writes the temporary file whole; the caller removes it when this fails.
bool FillTemporaryFile(int fd, std::string_view content, const Target& target, mode_t mode,
                       ExistingMode existing_mode) {
  return WriteAll(fd, content) && ApplyOwnerAndMode(fd, target, mode, existing_mode) &&
         ::fsync(fd) == 0;
}

// A settings file is often a link into another folder (a packaged program
// pointing into /etc, say): the file it points at is the one to replace, not
// the link. A dangling link is replaced itself.
std::string ResolveLinks(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  const auto target = std::filesystem::canonical(path, error);
  return error ? path : target.string();
}

}  // namespace

FileReadResult ReadWholeFile(const std::string& path, std::size_t max_bytes) {
  FileReadResult result;
  // Non-blocking so that a FIFO at the path cannot hold the program up.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd.valid()) {
    result.status = (errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::kMissing
                                                          : FileReadStatus::kUnreadable;
    return result;
  }
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    result.status = FileReadStatus::kUnreadable;
    return result;
  }
  if (static_cast<unsigned long long>(status.st_size) > max_bytes) {
    result.status = FileReadStatus::kTooLarge;
    return result;
  }
  // One byte over the limit tells a file that grew while being read.
  if (!ReadUpTo(fd.get(), max_bytes + 1, result.bytes)) {
    result.bytes.clear();
    result.status = FileReadStatus::kUnreadable;
    return result;
  }
  if (result.bytes.size() > max_bytes) {
    result.bytes.clear();
    result.status = FileReadStatus::kTooLarge;
    return result;
  }
  result.status = FileReadStatus::kRead;
  return result;
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return false;
  // The owner-write bit is checked on its own because a privileged process is
  // granted write access regardless of it.
  return (status.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool ReplaceWholeFile(const std::string& link_or_path, std::string_view content, mode_t mode,
                      ExistingMode existing_mode) {
  const std::string path = ResolveLinks(link_or_path);
  const Target target = InspectTarget(path);
  // Whatever stands there that is not a plain file (a folder, a FIFO) is not
  // ours to replace.
  if (target.exists && (!S_ISREG(target.status.st_mode) || IsReadOnlyFile(path))) return false;

  RemoveStaleTemporaryFiles(path);
  std::string temporary = TemporaryPattern(path);
  FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!fd.valid()) return false;
  // Marks the file as in use until it is renamed or we die.
  ::flock(fd.get(), LOCK_EX);

  const bool filled = FillTemporaryFile(fd.get(), content, target, mode, existing_mode);
  const bool closed = fd.Close();
  if (!filled || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  FlushFolder(FolderOf(path));
  return true;
}

}  // namespace plumwit
