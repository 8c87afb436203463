#include "core/settings/file_locations.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace plumwit {
namespace {

constexpr char kProgramFolderName[] = "plumwit/";
constexpr char kSettingsFileName[] = "settings.kiv";
constexpr char kStylesheetFileName[] = "style.css";
constexpr mode_t kPrivateFolderMode = 0700;

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool IsDirectory(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Anything by that name but a folder counts, a link too: a link the user
// placed says where the portable copy keeps its settings.
bool HasEntryOtherThanFolder(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && !IsDirectory(path);
}

bool IsRegularFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

std::string UserConfigFolder(const std::string& config_home) {
  if (config_home.empty()) return {};
  return WithSeparator(config_home) + kProgramFolderName;
}

std::string SettingsFileLocation(const std::string& program_folder,
                                 const std::string& user_folder) {
  const std::string portable = program_folder + kSettingsFileName;
  if (user_folder.empty() || HasEntryOtherThanFolder(portable)) return portable;
  return WithSeparator(user_folder) + kSettingsFileName;
}

std::string StylesheetFolder(const std::string& program_folder,
                             const std::string& data_folder_from_program) {
  if (program_folder.empty() || IsRegularFile(program_folder + kStylesheetFileName)) {
    return program_folder;
  }
  // Lexically, so the page shows a plain path like /usr/share/plumwit/.
  const std::filesystem::path installed =
      (std::filesystem::path(program_folder) / data_folder_from_program).lexically_normal();
  const std::string folder = WithSeparator(installed.string());
  if (IsRegularFile(folder + kStylesheetFileName)) return folder;
  return program_folder;
}

bool CreatePrivateFolders(const std::string& folder) {
  if (folder.empty()) return false;
  if (IsDirectory(folder)) return true;
  const std::filesystem::path path = std::filesystem::path(folder).lexically_normal();
  std::filesystem::path partial;
  for (const auto& part : path) {
    partial /= part;
    if (part.empty() || IsDirectory(partial.string())) continue;
    // mkdir applies the umask, which can only take rights away from 0700.
    if (::mkdir(partial.string().c_str(), kPrivateFolderMode) != 0 && errno != EEXIST) {
      return false;
    }
  }
  return IsDirectory(folder);
}

}  // namespace plumwit
