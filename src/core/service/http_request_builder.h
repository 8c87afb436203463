#pragma once

#include <string>
#include <vector>

#include "core/service/http_client.h"
#include "core/service/http_connection.h"
#include "core/service/url_parts.h"

namespace plumwit {

enum class HttpMethod { kGet, kPost };

inline constexpr char kFormContentType[] = "application/x-www-form-urlencoded";

// The settings the client fills in itself before a request; they stay on the
// client for later requests.
void ApplyClientSettings(HttpMethod method, HttpRequestSettings& settings);

// A form body: each line trimmed, its value (after the first "=")
// percent-encoded, the lines joined with "&".
std::string EncodeForm(const std::vector<std::string>& form);

// The request exactly as it goes on the wire: GET as HTTP/1.1, POST as
// HTTP/1.0, the header fields in their fixed order, each only when it has a
// value. Throws HttpRequestError, before anything is sent, when the request
// line or a header value would carry a line break or control character.
HttpRequestMessage BuildRequest(HttpMethod method, const UrlParts& url,
                                const HttpRequestSettings& settings,
                                const std::string& cookie_header, const std::string& body);

}  // namespace plumwit
