#include "support/temp_folder.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace plumwit::server::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "plumwit-server-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace plumwit::server::testing
