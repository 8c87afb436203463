#pragma once

#include <string>

namespace plumwit {

// The settings file of this run: "settings.kiv" in the program folder when
// one is there (a portable copy), else in the user's own folder.
std::string SettingsFilePath();

enum class MissingFolder {
  kRefuse,         // a write into a missing folder is refused
  kCreatePrivate,  // the first write creates it, readable by its owner only
};

// An INI file read and written one key at a time, keeping no copy between
// calls: section and key names match without case, an existing key is
// replaced in place, new sections and keys are appended, CR LF line ends.
class IniFile {
 public:
  explicit IniFile(std::string path, MissingFolder missing_folder = MissingFolder::kRefuse);

  // The stored text with surrounding blanks and one pair of enclosing quotes
  // dropped, cut to 2047 characters; `fallback` when the key is missing.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;
  // Throws "Unable to write to <path>" when the file cannot be written.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

  // Decimal, or hexadecimal with "0x"; any other text gives `fallback`.
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
  void WriteBool(const std::string& section, const std::string& key, bool value);

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  MissingFolder missing_folder_;

  bool PrepareFolder() const;
};

}  // namespace plumwit
