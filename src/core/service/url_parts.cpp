#include "core/service/url_parts.h"

#include <algorithm>

#include "core/service/ascii_text.h"
#include "core/service/http_client.h"

namespace plumwit {

namespace {

// Cuts `text` at the first `separator`: returns what follows it and leaves
// what precedes it in `text`. Returns empty when there is no separator.
std::string CutAtFirst(std::string& text, std::string_view separator) {
  const std::size_t at = text.find(separator);
  if (at == std::string::npos) return {};
  std::string rest = text.substr(at + separator.size());
  text.erase(at);
  return rest;
}

std::string TakeQuery(std::string& rest) {
  const char separator = rest.find('?') != std::string::npos ? '?' : '=';
  const std::size_t at = rest.find(separator);
  if (at == std::string::npos) return {};
  std::string query = rest.substr(at + 1);
  rest.erase(at);
  return query;
}

void TakeUserInformation(std::string& authority, UrlParts& parts) {
  const std::size_t at = authority.find('@');
  if (at == std::string::npos) return;
  std::string user_information = authority.substr(0, at);
  authority.erase(0, at + 1);
  std::string password = CutAtFirst(user_information, ":");
  parts.username = user_information;
  if (!parts.username.empty()) parts.password = password;
}

std::uint16_t ParsePort(const std::string& text, std::uint16_t default_port) {
  if (text.empty()) return default_port;
  const bool all_digits = text.size() <= 5 && std::all_of(text.begin(), text.end(), [](char c) {
                            return c >= '0' && c <= '9';
                          });
  const long value = all_digits ? std::stol(text) : 0;
  if (value < 1 || value > 65535) {
    throw HttpRequestError("Invalid port \"" + text + "\" in the address.");
  }
  return static_cast<std::uint16_t>(value);
}

void SplitPathText(const std::string& path_text, UrlParts& parts) {
  const std::size_t last_slash = path_text.rfind('/');
  const std::size_t document_start = last_slash == std::string::npos ? 0 : last_slash + 1;
  parts.path = "/" + path_text.substr(0, document_start);
  parts.document = path_text.substr(document_start);
  parts.fragment = CutAtFirst(parts.document, "#");
}

}  // namespace

std::string UrlParts::Target() const {
  std::string target = path + document;
  if (!query.empty()) target += "?" + query;
  return target;
}

std::string UrlParts::HostHeader() const {
  return port == DefaultPortFor(scheme) ? host : host + ":" + std::to_string(port);
}

bool UrlParts::IsSecure() const { return EqualsIgnoringCase(scheme, "https"); }

std::uint16_t DefaultPortFor(std::string_view scheme) {
  return EqualsIgnoringCase(scheme, "https") ? 443 : 80;
}

UrlParts SplitUrl(std::string_view url) {
  UrlParts parts;
  std::string rest(url);
  std::replace(rest.begin(), rest.end(), '\\', '/');

  const std::size_t scheme_end = rest.find("://");
  if (scheme_end != std::string::npos) {
    parts.scheme = rest.substr(0, scheme_end);
    rest.erase(0, scheme_end + 3);
  }
  // The query goes first, so a "?" inside user information starts it.
  parts.query = TakeQuery(rest);

  std::string authority = rest;
  std::string path_text = CutAtFirst(authority, "/");
  TakeUserInformation(authority, parts);
  parts.port = ParsePort(CutAtFirst(authority, ":"), DefaultPortFor(parts.scheme));
  parts.host = authority;
  SplitPathText(path_text, parts);
  return parts;
}

}  // namespace plumwit
