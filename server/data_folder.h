#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace plumwit::server {

// Where the service keeps its data.
class DataFolder {
 public:
  // $XDG_DATA_HOME/plumwit-server when that is an absolute path, else
  // ~/.local/share/plumwit-server. Throws std::runtime_error when neither
  // variable gives a home.
  static std::filesystem::path Default();
  // The same from explicit values of the two variables (unset: nullopt).
  static std::filesystem::path DefaultFor(const std::optional<std::string>& xdg_data_home,
                                          const std::optional<std::string>& home);
  // Creates the folder (for its owner only) when it does not exist.
  static void Prepare(const std::filesystem::path& folder);
};

}  // namespace plumwit::server
