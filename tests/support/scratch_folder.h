#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace plumwit::testing {

// A fresh folder under the system's temporary folder, removed with all its
// content when the object goes.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The path of `name` inside the folder.
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // The names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// The permission bits (07777) of the file at `path`.
mode_t PermissionsOf(const std::string& path);

// Makes every write past `bytes` in any file fail, as a full disk would, for
// as long as the object lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(unsigned long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  unsigned long previous_soft_limit_;
  void (*previous_handler_)(int);
};

}  // namespace plumwit::testing
