#pragma once

#include <string>
#include <string_view>

namespace plumwit::server {

// Absolute addresses of the service's own pages, built on the address the
// client used to reach it (its Host header), since documents are shown by
// programs that have no other base.
class SiteLinks {
 public:
  // `scheme` is "http" or "https"; `host` is "name[:port]"; a value that is
  // not a plain host falls back to `fallback_host`, so nothing from a
  // request header reaches a document unchecked.
  SiteLinks(std::string_view scheme, std::string_view host, std::string_view fallback_host);

  const std::string& Base() const { return base_; }  // "http://host:port"
  const std::string& Scheme() const { return scheme_; }
  const std::string& Host() const { return host_; }  // "host:port"
  std::string Avatar(std::string_view screen_name) const;
  std::string Profile(std::string_view screen_name) const;

  static bool IsPlainHost(std::string_view host);

 private:
  std::string scheme_;
  std::string host_;
  std::string base_;
};

}  // namespace plumwit::server
