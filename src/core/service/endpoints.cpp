#include "core/service/endpoints.h"

namespace plumwit {

namespace {

bool IsUnreserved(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

std::string ServiceUrl(const ServiceLocation& service, std::string_view path_and_query) {
  std::string url = service.InterfaceBase();
  url += path_and_query;
  return url;
}

}  // namespace

std::string PercentEncode(std::string_view value) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(value.size());
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreserved(byte)) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0x0F];
    }
  }
  return encoded;
}

// GNU social routes the record only with an extension, Friendica only by
// query: the query form with ".xml" is the one both serve.
std::string UserRecordUrl(std::string_view user_name, const ServiceLocation& service) {
  if (service.dialect == ServiceDialect::kStatusNet) {
    return ServiceUrl(service, "/users/show.xml?screen_name=" + PercentEncode(user_name));
  }
  return ServiceUrl(service, "/users/show/" + PercentEncode(user_name));
}

// Without a name in the path the timeline is the one of the credentials, so
// a public site cannot answer it for a password it did not accept.
std::string HomeTimelineUrl(std::string_view account_name, const ServiceLocation& service) {
  if (service.dialect == ServiceDialect::kStatusNet) {
    return ServiceUrl(service, "/statuses/home_timeline.xml?count=20");
  }
  return ServiceUrl(service,
                    "/statuses/home_timeline/" + PercentEncode(account_name) + ".xml?count=20");
}

// The credentials go in the Authorization header only: user information in
// the URL would let a password holding "@" or "/" redirect the request.
std::string StatusUpdateUrl(std::string_view status_text, const ServiceLocation& service) {
  return ServiceUrl(service, "/statuses/update.xml?status=" + PercentEncode(status_text));
}

// The profile is always sent whole: all five pairs in a fixed order, empty
// values included.
std::string ProfileUpdateUrl(const ProfileFields& fields, const ServiceLocation& service) {
  std::string query = "/account/update_profile.xml";
  query += "?name=" + PercentEncode(fields.name);
  query += "&screen_name=" + PercentEncode(fields.screen_name);
  query += "&location=" + PercentEncode(fields.location);
  query += "&description=" + PercentEncode(fields.description);
  query += "&url=" + PercentEncode(fields.url);
  return ServiceUrl(service, query);
}

}  // namespace plumwit
