#include "core/settings/autostart_entry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/error.h"
#include "core/settings/whole_file.h"

namespace plumwit {
namespace {

constexpr char kEntryName[] = "Plumwit";
constexpr char kEntryFileName[] = "Plumwit.desktop";
constexpr char kProgramFileName[] = "plumwit";
constexpr char kDefaultConfigFolder[] = "/etc/xdg";
constexpr char kAutostartFolderName[] = "autostart";
// Machine-wide: every user's session must be able to read the entry.
constexpr mode_t kEntryMode = 0644;
constexpr std::filesystem::perms kFolderPermissions = std::filesystem::perms(0755);

constexpr std::string_view kCharactersNeedingQuotes = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kCharactersEscapedInQuotes = "\"`$\\";

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string AutostartFolder(const std::string& config_folder) {
  return JoinPath(config_folder, kAutostartFolderName);
}

// The command line's own quoting: an argument with any reserved character is
// quoted, with the four characters special inside quotes escaped; a percent
// sign would start a field code and is doubled.
std::string QuoteExecArgument(std::string_view argument) {
  const bool quoted = argument.find_first_of(kCharactersNeedingQuotes) != std::string_view::npos;
  std::string out = quoted ? "\"" : "";
  for (const char c : argument) {
    if (c == '%') out += '%';
    if (quoted && kCharactersEscapedInQuotes.find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return quoted ? out + "\"" : out;
}

// The escaping every value of the file goes through, so that no path can end
// the line and add keys of its own.
std::string EscapeDesktopValue(std::string_view value) {
  std::string out;
  for (const char c : value) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string EntryText(const std::string& program_folder) {
  const std::string command = QuoteExecArgument(program_folder + kProgramFileName);
  return std::string("[Desktop Entry]\n") + "Type=Application\n" + "Name=" + kEntryName + "\n" +
         "Exec=" + EscapeDesktopValue(command) + "\n";
}

bool IsDirectory(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

void CreateAutostartFolder(const std::string& folder) {
  if (IsDirectory(folder)) return;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !IsDirectory(folder)) throw Error("Failed to create key " + folder);
  // Not left to the umask: a private folder would hide the entry from others.
  std::filesystem::permissions(folder, kFolderPermissions, error);
}

}  // namespace

std::string SystemConfigFolder() {
  const char* value = std::getenv("XDG_CONFIG_DIRS");
  std::string_view folders = value ? value : "";
  while (!folders.empty()) {
    const auto colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    // Relative entries are invalid there and are skipped.
    if (!folder.empty() && folder.front() == '/') return std::string(folder);
    folders.remove_prefix(colon == std::string_view::npos ? folders.size() : colon + 1);
  }
  return kDefaultConfigFolder;
}

void AddRunEntry(const std::string& program_folder, const std::string& config_folder) {
  const std::string folder = AutostartFolder(config_folder);
  CreateAutostartFolder(folder);
  if (!ReplaceWholeFile(JoinPath(folder, kEntryFileName), EntryText(program_folder), kEntryMode,
                        ExistingMode::kKeep)) {
    throw Error(std::string("Failed to set data for '") + kEntryName + "'");
  }
}

std::string RemoveRunEntry(const std::string& config_folder) {
  const std::string folder = AutostartFolder(config_folder);
  if (!IsDirectory(folder) || ::access(folder.c_str(), W_OK) != 0) {
    return "Registry Key not found.";
  }
  if (::unlink(JoinPath(folder, kEntryFileName).c_str()) == 0) {
    return std::string(kEntryName) + " will not start with Windows anymore.";
  }
  return std::string(kEntryName) + " Registry Key not found.";
}

}  // namespace plumwit
