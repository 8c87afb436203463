// The settings file: whatever a file holds, writing one key keeps every
// other key, and the written value reads back as it reads from a file that
// holds nothing else.
#include <fuzzer/FuzzedDataProvider.h>

#include <fstream>

#include "core/error.h"
#include "core/settings/ini_file.h"
#include "fuzz_support.h"

namespace plumwit {
namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool SameName(const std::string& a, const std::string& b) {
  IniFile scratch(fuzz::ScratchFolder() + "/names.kiv");
  WriteFile(scratch.Path(), "");
  try {
    scratch.WriteString("S", a, "first");
    scratch.WriteString("S", b, "second");
  } catch (const Error&) {
    return true;  // unwritable names: nothing to compare
  }
  return scratch.ReadString("S", a, "") == "second";
}

}  // namespace
}  // namespace plumwit

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumwit;
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(24);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string value = input.ConsumeRandomLengthString(3000);
  const std::string file_bytes = input.ConsumeRemainingBytesAsString();

  IniFile file(fuzz::ScratchFolder() + "/settings.kiv");
  WriteFile(file.Path(), file_bytes);
  (void)file.ReadBool(section, key, false);
  const std::string probe_before = file.ReadString("Plumwit", "Probe", "<none>");
  // A key of our own, written first, must outlive the write of another.
  try {
    file.WriteString("Plumwit", "Probe", "kept");
  } catch (const Error&) {
    return 0;
  }
  fuzz::Require(file.ReadString("Plumwit", "Probe", "") == "kept", "a written key reads back");
  (void)probe_before;
  try {
    file.WriteString(section, key, value);
  } catch (const Error&) {
    return 0;
  }
  const std::string read_back = file.ReadString(section, key, "<missing>");

  IniFile fresh(fuzz::ScratchFolder() + "/fresh.kiv");
  WriteFile(fresh.Path(), "");
  fresh.WriteString(section, key, value);
  fuzz::Require(read_back == fresh.ReadString(section, key, "<missing>"),
                "what a file held before does not change how a written value reads");
  const bool same_key = SameName(section, "Plumwit") && SameName(key, "Probe");
  if (!same_key) {
    fuzz::Require(file.ReadString("Plumwit", "Probe", "") == "kept", "other keys are kept");
  }
  return 0;
}
