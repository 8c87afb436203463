#include "core/settings/remember_store.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/error.h"
#include "core/settings/file_locations.h"
#include "core/settings/whole_file.h"

namespace plumwit {
namespace {

// The file holds a password in plain text: only its owner may read it.
constexpr mode_t kStoreFileMode = 0600;

bool CreateFolderOf(const std::string& path) {
  return CreatePrivateFolders(std::filesystem::path(path).parent_path().string());
}

std::string UnreadableFileText(const std::string& path, FileReadStatus status) {
  if (status == FileReadStatus::kTooLarge)
    return "Unable to read " + path + ": the file is too large";
  return "Unable to read " + path;
}

}  // namespace

RememberStore::RememberStore(std::string application_data_folder)
    : application_data_folder_(std::move(application_data_folder)) {}

RememberStore::~RememberStore() {
  try {
    Save();
  } catch (...) {
    // Nothing can be reported while the program ends; the value was only lost
    // from the disk, as with any failed save.
  }
}

void RememberStore::SetFileName(const std::string& file_name) {
  if (file_name == file_name_) return;
  if (!full_path_.empty()) Save();
  file_name_ = file_name;
  full_path_ = FullPathFor(file_name);
  read_only_ = IsReadOnlyFile(full_path_);
  Load();
}

std::string RememberStore::FullPathFor(const std::string& file_name) const {
  if (file_name.empty()) return {};
  // The store follows the user, not the program: an absolute name only says
  // what the file is called.
  const std::string name =
      file_name.front() == '/' ? file_name.substr(file_name.rfind('/') + 1) : file_name;
  std::string folder = application_data_folder_;
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder + name;
}

void RememberStore::Load() {
  loaded_ = false;
  document_.values.clear();
  if (full_path_.empty()) return;
  const FileReadResult file = ReadWholeFile(full_path_);
  if (file.status == FileReadStatus::kMissing) {
    loaded_ = true;
    return;
  }
  // Whatever happens below, a file we could not read is never replaced by
  // our empty copy.
  read_only_ = true;
  if (file.status != FileReadStatus::kRead) {
    throw Error(UnreadableFileText(full_path_, file.status));
  }
  document_ = ParseRememberDocument(file.bytes, full_path_);
  read_only_ = IsReadOnlyFile(full_path_);
  loaded_ = true;
}

std::string RememberStore::ReadText(const std::string& key, const std::string& fallback) const {
  const auto& values = document_.values;
  const auto found = std::find_if(values.begin(), values.end(),
                                  [&key](const auto& entry) { return entry.first == key; });
  return found == values.end() ? fallback : found->second;
}

bool RememberStore::WriteText(const std::string& key, const std::string& value) {
  if (read_only_) return true;
  if (!IsValidKeyName(key)) throw Error("Not a valid key name: " + key);
  auto& values = document_.values;
  const auto found = std::find_if(values.begin(), values.end(),
                                  [&key](const auto& entry) { return entry.first == key; });
  if (found == values.end()) {
    values.emplace_back(key, value);
  } else {
    found->second = value;
  }
  return Save();
}

bool RememberStore::Save() const {
  if (full_path_.empty() || read_only_) return false;
  if (!CreateFolderOf(full_path_)) return false;
  return ReplaceWholeFile(full_path_, FormatRememberDocument(document_), kStoreFileMode,
                          ExistingMode::kReplace);
}

}  // namespace plumwit
