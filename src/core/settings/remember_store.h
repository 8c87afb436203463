#pragma once

#include <optional>
#include <string>

#include "core/settings/file_set_aside.h"
#include "core/settings/folders.h"
#include "core/settings/remember_document.h"

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
  // then loads; a file that cannot be read or is not well-formed throws
  // plumwit::Error. One that cannot be read at all is treated as read-only,
  // so that it is never overwritten. One that is not well-formed (or far too
  // large) is kept as it is until the first write, which moves it whole to
  // UnreadableCopyPath() (replacing an older copy there) and saves the store
  // in its place; a read-only one stays as it is.
  void SetFileName(const std::string& file_name);
  const std::string& FileName() const { return file_name_; }
  const std::string& FullPath() const { return full_path_; }
  bool ReadOnly() const { return read_only_; }
  // FullPath() with ".unreadable" after it.
  std::string UnreadableCopyPath() const;

  std::string ReadText(const std::string& key, const std::string& fallback) const;
  // A no-op on a read-only store. Returns false when the save failed (a full
  // disk, say): the value is then kept in memory only. A key that cannot be
  // an element name throws plumwit::Error.
  bool WriteText(const std::string& key, const std::string& value);

  // Writes the document; does nothing without a path, on a read-only file or
  // over an unreadable file not yet set aside. Returns whether the file was
  // written.
  bool Save() const;

 private:
  std::string application_data_folder_;
  std::string file_name_;
  std::string full_path_;
  bool read_only_ = false;
  bool loaded_ = false;
  RememberDocument document_;
  // The file the load could not make sense of, still waiting to be set aside.
  std::optional<FileIdentity> unreadable_file_;

  std::string FullPathFor(const std::string& file_name) const;
  void Load();
  void SetAsideOnFirstWrite();
  bool SetUnreadableFileAside();
};

}  // namespace plumwit
