// The cookie store: lines of the input are "Set-Cookie" values (the first
// line names the host and path); the "Cookie" header built from them never
// breaks the request and the store keeps to its bounds.
#include <chrono>

#include "core/service/cookie_store.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumwit;
  std::string_view text = fuzz::AsText(data, size);
  const auto next_line = [&text] {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
  };
  const std::string_view where = next_line();
  const std::size_t slash = where.find('/');
  const std::string host(where.substr(0, slash));
  const std::string path = slash == std::string_view::npos ? "/" : std::string(where.substr(slash));

  CookieStore store;
  const auto now = CookieStore::Clock::time_point(std::chrono::seconds(1700000000));
  while (!text.empty()) store.Record(host, path, next_line(), now);
  fuzz::Require(store.Size() <= CookieStore::kMaxCookies, "the store keeps to its size");
  for (const auto& [request_host, request_path] :
       {std::pair<std::string, std::string>{host, path}, {host, "/"}, {"other." + host, path}}) {
    const std::string header = store.HeaderFor(request_host, request_path, now);
    fuzz::Require(header.find_first_of("\r\n") == std::string::npos, "one header line");
    fuzz::Require(header.find('\0') == std::string::npos, "no NUL in a header");
  }
  return 0;
}
