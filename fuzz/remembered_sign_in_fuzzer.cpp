// The remembered sign-in file: any file is read or refused cleanly; what is
// read is written back and reads the same; every value survives the trip.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/error.h"
#include "core/settings/remember_document.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumwit;
  FuzzedDataProvider input(data, size);
  const std::string value = input.ConsumeRandomLengthString(256);
  const std::string bytes = input.ConsumeRemainingBytesAsString();

  RememberDocument written;
  written.values = {{"RememberUsername", value}, {"RememberPassword", value + "!"}};
  const RememberDocument reread = ParseRememberDocument(FormatRememberDocument(written), "x");
  fuzz::Require(reread.values == written.values, "every value reads back exactly");

  RememberDocument document;
  try {
    document = ParseRememberDocument(bytes, "remember.xml");
  } catch (const Error&) {
    return 0;
  }
  bool writable = true;
  for (const auto& [key, ignored] : document.values) writable = writable && IsValidKeyName(key);
  if (!writable) return 0;
  RememberDocument again;
  try {
    again = ParseRememberDocument(FormatRememberDocument(document), "remember.xml");
  } catch (const Error&) {
    fuzz::Require(false, "what was read can be written and read again");
  }
  fuzz::Require(again.values == document.values, "a rewritten file keeps its values");
  return 0;
}
