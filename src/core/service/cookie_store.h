#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plumwit {

// Cookies a client received, kept in memory for the life of the client and
// sent back to the hosts that set them. The rules are a plain subset of the
// browser ones: host-only or domain cookies, path prefixes, Expires and
// Max-Age; "Secure" cookies are never stored since every request is plain.
class CookieStore {
 public:
  using Clock = std::chrono::system_clock;

  static constexpr std::size_t kMaxCookies = 300;
  static constexpr std::size_t kMaxCookieBytes = 4096;

  // Records one "Set-Cookie" (or "Set-Cookie2") header value received in
  // reply to a request for `request_path` on `request_host`.
  void Record(std::string_view request_host, std::string_view request_path,
              std::string_view header_value, Clock::time_point now = Clock::now());

  // The "Cookie" header value for a request, "a=1; b=2"; empty when no
  // stored cookie matches.
  std::string HeaderFor(std::string_view host, std::string_view path,
                        Clock::time_point now = Clock::now()) const;

  std::size_t Size() const { return cookies_.size(); }

 private:
  struct Cookie {
    std::string name;
    std::string value;
    std::string domain;
    std::string path;
    bool host_only = true;
    std::optional<Clock::time_point> expires;
    std::uint64_t order = 0;
  };

  void Store(Cookie cookie, Clock::time_point now);
  void DropOldestIfFull();

  std::vector<Cookie> cookies_;
  std::uint64_t next_order_ = 0;
};

}  // namespace plumwit
