#include "core/settings/remember_store.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/error.h"
#include "core/settings/file_locations.h"
#include "core/settings/file_set_aside.h"
#include "core/settings/whole_file.h"

namespace plumwit {
namespace {

// The file holds a password in plain text: only its owner may read it.
constexpr mode_t kStoreFileMode = 0600;

// Where a file we could not make sense of goes on the first write after it.
constexpr char kUnreadableSuffix[] = ".unreadable";

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
  unreadable_file_.reset();
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
  if (file.status == FileReadStatus::kTooLarge) SetAsideOnFirstWrite();
  if (file.status != FileReadStatus::kRead) {
    throw Error(UnreadableFileText(full_path_, file.status));
  }
  try {
    document_ = ParseRememberDocument(file.bytes, full_path_);
  } catch (const Error&) {
    SetAsideOnFirstWrite();
    throw;
  }
  read_only_ = IsReadOnlyFile(full_path_);
  loaded_ = true;
}

// A file we cannot make sense of would otherwise turn remembering off for
// good. It stays where it is until the user signs in again, in case they
// mend it by hand first; then it goes aside whole, and the new store takes
// its place. A file the user made read-only is theirs to keep as it is, and
// what is not a plain file (a link, a folder) is never moved.
void RememberStore::SetAsideOnFirstWrite() {
  if (IsReadOnlyFile(full_path_)) return;
  unreadable_file_ = IdentifyRegularFile(full_path_);
  read_only_ = !unreadable_file_;
}

std::string RememberStore::UnreadableCopyPath() const { return full_path_ + kUnreadableSuffix; }

// Another store object, or another running copy, may have set the file aside
// and written its own store already: that one is not ours to move.
bool RememberStore::SetUnreadableFileAside() {
  if (!unreadable_file_) return true;
  const SetAsideResult result =
      SetFileAside(full_path_, *unreadable_file_, UnreadableCopyPath(), kStoreFileMode);
  if (result == SetAsideResult::kFailed) return false;
  unreadable_file_.reset();
  return true;
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
  return SetUnreadableFileAside() && Save();
}

bool RememberStore::Save() const {
  if (full_path_.empty() || read_only_ || unreadable_file_) return false;
  if (!CreateFolderOf(full_path_)) return false;
  return ReplaceWholeFile(full_path_, FormatRememberDocument(document_), kStoreFileMode,
                          ExistingMode::kReplace);
}

}  // namespace plumwit
