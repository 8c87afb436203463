#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/service/xml_text_decoder.h"

namespace plumwit::fuzz {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

namespace {

// In memory where there is such a folder: the writers flush every file to
// the disk, which would make each run slow.
std::filesystem::path ScratchParent() {
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  return std::filesystem::temp_directory_path();
}

std::string MakeScratchFolder() {
  std::string pattern = (ScratchParent() / "plumwit-fuzz-XXXXXX").string();
  Require(::mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made");
  return pattern;
}

struct ScratchFolderOwner {
  std::string path = MakeScratchFolder();
  ~ScratchFolderOwner() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

const std::string& ScratchFolder() {
  static const ScratchFolderOwner owner;
  return owner.path;
}

std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

bool IsValidUtf8(std::string_view text) { return RepairUtf8(std::string(text)) == text; }

}  // namespace plumwit::fuzz
