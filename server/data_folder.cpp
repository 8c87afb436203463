#include "server/data_folder.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace plumwit::server {
namespace {

constexpr const char* kFolderName = "plumwit-server";

std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace

std::filesystem::path DataFolder::Default() {
  return DefaultFor(Variable("XDG_DATA_HOME"), Variable("HOME"));
}

std::filesystem::path DataFolder::DefaultFor(const std::optional<std::string>& xdg_data_home,
                                             const std::optional<std::string>& home) {
  if (xdg_data_home && std::filesystem::path(*xdg_data_home).is_absolute()) {
    return std::filesystem::path(*xdg_data_home) / kFolderName;
  }
  if (!home || home->empty()) {
    throw std::runtime_error("Neither XDG_DATA_HOME nor HOME is set; give --data DIR.");
  }
  return std::filesystem::path(*home) / ".local" / "share" / kFolderName;
}

void DataFolder::Prepare(const std::filesystem::path& folder) {
  if (folder.empty()) throw std::runtime_error("No data folder given.");
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return;
  std::filesystem::create_directories(folder, error);
  if (error) {
    throw std::runtime_error("Cannot create the data folder " + folder.string() + ": " +
                             error.message());
  }
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace, error);
}

}  // namespace plumwit::server
