#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/settings/folders.h"

namespace plumwit {

// The remembered sign-in store: a small XML file of key elements under a
// "Configuration" root, kept in memory once loaded, saved whole after every
// write and once more when the store is destroyed.
class RememberStore {
 public:
  explicit RememberStore(std::string application_data_folder = ApplicationDataFolder());
  ~RememberStore();  // saves, swallowing any failure
  RememberStore(const RememberStore&) = delete;
  RememberStore& operator=(const RememberStore&) = delete;

  // Only the name part of an absolute file name is kept: the file lives in
  // the application-data folder. A new name saves under the old path first,
  // then loads; a file that is not well-formed throws.
  void SetFileName(const std::string& file_name);
  const std::string& FileName() const { return file_name_; }
  const std::string& FullPath() const { return full_path_; }
  bool ReadOnly() const { return read_only_; }

  std::string ReadText(const std::string& key, const std::string& fallback) const;
  // A no-op on a read-only store; failures of the save are swallowed.
  void WriteText(const std::string& key, const std::string& value);

  // Writes the document; does nothing without a path or on a read-only file.
  // Returns whether the file was written.
  bool Save() const;

 private:
  std::string application_data_folder_;
  std::string file_name_;
  std::string full_path_;
  bool read_only_ = false;
  bool loaded_ = false;
  // The declaration's attributes as loaded (defaults when none).
  std::string version_ = "1.0";
  std::string encoding_ = "iso-8859-1";
  std::string standalone_;
  std::vector<std::pair<std::string, std::string>> values_;  // in creation order
};

}  // namespace plumwit
