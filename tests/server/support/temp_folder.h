#pragma once

#include <filesystem>

namespace plumwit::server::testing {

// A fresh folder under the system's temporary folder, removed with its
// contents at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace plumwit::server::testing
