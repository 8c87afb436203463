#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace plumwit {

// Our settings files are a few hundred bytes; anything far larger is not one
// of ours, and refusing it keeps a stray or hostile file from exhausting memory.
constexpr std::size_t kMaxSmallFileBytes = 1024 * 1024;

enum class FileReadStatus {
  kRead,        // `bytes` holds the whole file
  kMissing,     // nothing at the path (or a missing folder on the way)
  kTooLarge,    // over the size limit
  kUnreadable,  // not a regular file, no permission, or an I/O error
};

struct FileReadResult {
  FileReadStatus status = FileReadStatus::kMissing;
  std::string bytes;
};

// Reads a regular file whole. Never blocks on a FIFO or device standing at the
// path: only regular files are read.
FileReadResult ReadWholeFile(const std::string& path, std::size_t max_bytes = kMaxSmallFileBytes);

// Whether an existing file at `path` is read-only: its owner-write permission
// bit is off, or this process is refused write access. False when missing.
bool IsReadOnlyFile(const std::string& path);

enum class ExistingMode {
  kKeep,     // a replaced file keeps its permissions; `mode` only for a new file
  kReplace,  // the file always ends up with `mode`
};

// Replaces the file at `path` with `content` atomically: the bytes go to a
// temporary file beside it, are flushed to the disk, and the temporary file is
// renamed over the target, so a crash or a full disk never leaves a truncated
// file. A symbolic link is followed: the file it points at is replaced. A
// read-only target, or anything that is not a regular file, is never replaced.
// Returns false on any failure; the old file is then untouched and no
// temporary file is left behind. Temporary files that a killed write of the
// same file left behind are removed first. The owner of a replaced file is kept where
// the process may do so.
bool ReplaceWholeFile(const std::string& path, std::string_view content, mode_t mode,
                      ExistingMode existing_mode);

}  // namespace plumwit
