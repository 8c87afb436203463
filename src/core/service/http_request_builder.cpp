#include "core/service/http_request_builder.h"

#include <algorithm>
#include <string_view>

#include "core/service/ascii_text.h"
#include "core/service/base64.h"
#include "core/service/endpoints.h"

namespace plumwit {

namespace {

namespace http = boost::beast::http;

constexpr char kAccept[] = "text/html, */*";
constexpr char kUserAgent[] = "Mozilla/3.0 (compatible; Indy Library)";

bool HasLineBreak(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool FitsRequestLine(std::string_view target) {
  return !target.empty() && std::none_of(target.begin(), target.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 32 || byte == 0x7F;
  });
}

void SetIfNotEmpty(HttpRequestMessage& request, std::string_view name, const std::string& value) {
  if (value.empty()) return;
  if (HasLineBreak(value)) {
    throw HttpRequestError("The request cannot be sent: its \"" + std::string(name) +
                           "\" header would hold a line break.");
  }
  request.set(boost::beast::string_view(name.data(), name.size()), value);
}

std::string AuthorizationValue(const HttpRequestSettings& settings) {
  if (!settings.BasicAuthentication) return {};
  return "Basic " + EncodeBase64(settings.Username + ":" + settings.Password);
}

}  // namespace

void ApplyClientSettings(HttpMethod method, HttpRequestSettings& settings) {
  if (method == HttpMethod::kPost) {
    if (settings.ContentType.empty() || EqualsIgnoringCase(settings.ContentType, "text/html")) {
      settings.ContentType = kFormContentType;
    }
    // A POST goes out as HTTP/1.0, which closes unless asked not to.
    if (settings.Connection.empty()) settings.Connection = "keep-alive";
  }
  if (settings.AcceptEncoding.find("identity") == std::string::npos) {
    settings.AcceptEncoding = "identity";
  }
}

std::string EncodeForm(const std::vector<std::string>& form) {
  std::string body;
  for (const std::string& line : form) {
    const std::string_view trimmed = TrimControls(line);
    const std::size_t equals = trimmed.find('=');
    if (!body.empty()) body += '&';
    if (equals == std::string_view::npos) {
      body += trimmed;
    } else {
      body +=
          std::string(trimmed.substr(0, equals + 1)) + PercentEncode(trimmed.substr(equals + 1));
    }
  }
  return body;
}

HttpRequestMessage BuildRequest(HttpMethod method, const UrlParts& url,
                                const HttpRequestSettings& settings,
                                const std::string& cookie_header, const std::string& body) {
  const std::string target = url.Target();
  if (!FitsRequestLine(target)) {
    throw HttpRequestError(
        "The request cannot be sent: its address holds a blank, a line break or another "
        "control character.");
  }
  const bool post = method == HttpMethod::kPost;
  HttpRequestMessage request;
  request.method(post ? http::verb::post : http::verb::get);
  request.target(boost::beast::string_view(target));
  request.version(post ? 10 : 11);
  // Each field is set by hand, in this order: Beast adds none of its own
  // unless asked to.
  SetIfNotEmpty(request, "Connection", settings.Connection);
  SetIfNotEmpty(request, "Content-Type", settings.ContentType);
  SetIfNotEmpty(request, "Content-Length", post ? std::to_string(body.size()) : std::string());
  SetIfNotEmpty(request, "Host", url.HostHeader());
  SetIfNotEmpty(request, "Accept", kAccept);
  SetIfNotEmpty(request, "Accept-Encoding", settings.AcceptEncoding);
  SetIfNotEmpty(request, "From", settings.From);
  SetIfNotEmpty(request, "Referer", settings.Referer);
  SetIfNotEmpty(request, "User-Agent", kUserAgent);
  SetIfNotEmpty(request, "Authorization", AuthorizationValue(settings));
  SetIfNotEmpty(request, "Cookie", cookie_header);
  if (post) request.body() = body;
  return request;
}

}  // namespace plumwit
