#include "server/site_links.h"

#include <cctype>

namespace plumwit::server {

SiteLinks::SiteLinks(std::string_view scheme, std::string_view host, std::string_view fallback_host)
    : scheme_(scheme),
      host_(IsPlainHost(host) ? host : fallback_host),
      base_(scheme_ + "://" + host_) {}

std::string SiteLinks::Avatar(std::string_view screen_name) const {
  return base_ + "/avatars/" + std::string(screen_name) + ".svg";
}

std::string SiteLinks::Profile(std::string_view screen_name) const {
  return base_ + "/" + std::string(screen_name);
}

bool SiteLinks::IsPlainHost(std::string_view host) {
  if (host.empty() || host.size() > 255) return false;
  for (const char c : host) {
    const bool allowed = std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' ||
                         c == ':' || c == '[' || c == ']';
    if (!allowed) return false;
  }
  return true;
}

}  // namespace plumwit::server
