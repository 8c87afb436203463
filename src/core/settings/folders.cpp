#include "core/settings/folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace plumwit {

std::string ProgramFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  std::string folder = executable.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string ApplicationDataFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
    return config;
  }
  if (const char* home = std::getenv("HOME"); home && *home) {
    return std::string(home) + "/.config";
  }
  return {};
}

}  // namespace plumwit
