// Splitting a URL: never more than the text held, and a request target that
// starts with "/".
#include "core/service/http_client.h"
#include "core/service/url_parts.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumwit;
  const std::string_view url = fuzz::AsText(data, size);
  try {
    const UrlParts parts = SplitUrl(url);
    const std::string target = parts.Target();
    fuzz::Require(!target.empty() && target.front() == '/', "a target starts with /");
    fuzz::Require(parts.port != 0, "a port is never 0");
    fuzz::Require(parts.host.size() <= url.size(), "the host comes from the URL");
    (void)parts.HostHeader();
  } catch (const HttpRequestError&) {
  }
  return 0;
}
