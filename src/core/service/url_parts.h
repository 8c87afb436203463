#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plumwit {

// A URL taken apart the way the client sends it. Nothing is percent-encoded
// or decoded: every part is the raw text of the URL.
struct UrlParts {
  std::string scheme;
  std::string username;  // from user information; never sent
  std::string password;  // from user information; never sent
  std::string host;
  std::uint16_t port = 80;  // the scheme's default when the URL names none
  std::string path;         // starts and ends with "/"
  std::string document;     // after the last "/" of the path, fragment cut off
  std::string fragment;     // after "#" in the document; never sent
  std::string query;        // without its leading "?"

  // Path, document and, when there is a query, "?" and the query.
  std::string Target() const;
  // The host, with ":" and the port when the port is not the scheme's
  // default.
  std::string HostHeader() const;
  // Whether the request goes over TLS: the scheme is "https", in any case.
  bool IsSecure() const;
};

// 443 for "https" (in any case), 80 for every other scheme.
std::uint16_t DefaultPortFor(std::string_view scheme);

// Splits `url`. Throws HttpRequestError when the port is not a number from
// 1 to 65535.
UrlParts SplitUrl(std::string_view url);

}  // namespace plumwit
