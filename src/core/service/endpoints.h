#pragma once

#include <string>
#include <string_view>

#include "core/service/service_location.h"

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

// The four service URLs: the service's scheme, "://", its host (which may
// carry ":port" and a "/prefix"), then path and query. Only the user record
// and the timeline differ between the dialects.
std::string UserRecordUrl(std::string_view user_name,
                          const ServiceLocation& service = BuiltInService());
std::string HomeTimelineUrl(std::string_view account_name,
                            const ServiceLocation& service = BuiltInService());
std::string StatusUpdateUrl(std::string_view status_text,
                            const ServiceLocation& service = BuiltInService());
std::string ProfileUpdateUrl(const ProfileFields& fields,
                             const ServiceLocation& service = BuiltInService());

}  // namespace plumwit
