#pragma once

#include <string>
#include <string_view>

#include "core/build_config.h"

namespace plumwit {

// Percent-encodes every byte but the RFC 3986 unreserved characters, so a
// value can never break out of its place in a URL.
std::string PercentEncode(std::string_view value);

struct ProfileFields {
  std::string name;
  std::string screen_name;
  std::string location;
  std::string description;
  std::string url;
};

// The four service URLs: "http://" + host + path and query. `host` may carry
// ":port" and a "/prefix".
std::string UserRecordUrl(std::string_view user_name, std::string_view host = build::kServiceHost);
std::string HomeTimelineUrl(std::string_view account_name,
                            std::string_view host = build::kServiceHost);
std::string StatusUpdateUrl(std::string_view status_text,
                            std::string_view host = build::kServiceHost);
std::string ProfileUpdateUrl(const ProfileFields& fields,
                             std::string_view host = build::kServiceHost);

}  // namespace plumwit
