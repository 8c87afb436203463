#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

namespace plumwit {

// Which file stands at a path: enough to tell it from one put in its place
// later, by this program or by another running copy of it.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};

  bool operator==(const FileIdentity& other) const;
  bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of the regular file at `path` itself (a symbolic link is not
// followed); nothing when there is none.
std::optional<FileIdentity> IdentifyRegularFile(const std::string& path);

enum class SetAsideResult {
  kMoved,     // the file now stands at the aside path, and nothing at `path`
  kReplaced,  // another file stands at `path` now, or none: nothing was moved
  kFailed,    // the file is still at `path`, untouched but for its mode
};

// Moves the file at `path` to `aside_path` and gives it `mode`, provided it
// is still the file `expected` names. The file is renamed, never copied, so
// its bytes are not rewritten and cannot be lost half-way. A file already at
// `aside_path` is replaced in one step; only where the file system refuses
// to rename over it is it removed first. Anything there that is not a
// regular file is left alone, and the move then fails.
SetAsideResult SetFileAside(const std::string& path, const FileIdentity& expected,
                            const std::string& aside_path, mode_t mode);

}  // namespace plumwit
