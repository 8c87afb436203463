#include "core/service/http_client.h"

#include <optional>
#include <string_view>

#include "core/service/ascii_text.h"
#include "core/service/cookie_store.h"
#include "core/service/http_connection.h"
#include "core/service/http_reply_reader.h"
#include "core/service/http_request_builder.h"
#include "core/service/socket_errors.h"
#include "core/service/tls_errors.h"
#include "core/service/url_parts.h"

namespace plumwit {

namespace {

bool HasCredentials(const HttpRequestSettings& settings) {
  return !settings.Username.empty() && !TrimControls(settings.Password).empty();
}

// Only a GET that carried credentials takes a 401 as an answer: the caller
// reads the service's error document to learn the password was wrong. A
// refused POST must be reported.
bool IsAccepted(const HttpReply& reply, HttpMethod method, const HttpRequestSettings& settings) {
  const bool redirect = reply.code / 100 == 3 && reply.code != 304;
  if (redirect || reply.HasField("Location")) return false;
  if (reply.code / 100 == 2) return true;
  return reply.code == 401 && method == HttpMethod::kGet && HasCredentials(settings);
}

ConnectionTarget TargetOf(const UrlParts& url) { return {url.IsSecure(), url.host, url.port}; }

bool ServerLetsConnectionStay(const HttpReply& reply, HttpMethod method) {
  if (reply.server_closed) return false;
  const std::string field = reply.Field("Connection");
  const std::string_view connection = TrimControls(field);
  if (method == HttpMethod::kPost) return EqualsIgnoringCase(connection, "keep-alive");
  return !EqualsIgnoringCase(connection, "close");
}

}  // namespace

class HttpClient::Impl {
 public:
  explicit Impl(HttpClientLimits limits)
      : limits_(limits), connection_(limits.timeout, limits.max_header_bytes + kReadRoom) {}

  std::string Perform(HttpMethod method, const std::string& url, const std::string& body,
                      HttpRequestSettings& settings);
  int LastReplyCode() const { return last_reply_code_; }

 private:
  // Room in the read buffer beyond a full header block, for the bytes that
  // follow it.
  static constexpr std::size_t kReadRoom = 64 * 1024;

  HttpReply Exchange(HttpMethod method, const UrlParts& url, const HttpRequestMessage& request);
  std::optional<HttpReply> SendAndRead(const UrlParts& url, const HttpRequestMessage& request,
                                       bool may_be_stale);

  HttpClientLimits limits_;
  HttpConnection connection_;
  CookieStore cookies_;
  int last_reply_code_ = -1;
};

std::string HttpClient::Impl::Perform(HttpMethod method, const std::string& url,
                                      const std::string& body, HttpRequestSettings& settings) {
  last_reply_code_ = -1;
  const UrlParts parts = SplitUrl(url);
  ApplyClientSettings(method, settings);
  const HttpRequestMessage request = BuildRequest(
      method, parts, settings, cookies_.HeaderFor(parts.host, parts.path + parts.document), body);
  HttpReply reply = Exchange(method, parts, request);
  last_reply_code_ = reply.code;
  if (!ServerLetsConnectionStay(reply, method) || connection_.Buffer().size() != 0) {
    connection_.Close();
  }
  if (!IsAccepted(reply, method, settings)) {
    throw HttpStatusError(reply.status_line, reply.code, std::move(reply.body));
  }
  return std::move(reply.body);
}

HttpReply HttpClient::Impl::Exchange(HttpMethod method, const UrlParts& url,
                                     const HttpRequestMessage& request) {
  connection_.StartRequest();
  try {
    // A POST is never sent on a kept connection, so it cannot be sent twice.
    const ConnectionTarget target = TargetOf(url);
    const bool reuse = method == HttpMethod::kGet && connection_.IsOpenTo(target);
    if (!reuse) connection_.Open(target);
    if (std::optional<HttpReply> reply = SendAndRead(url, request, reuse)) {
      return std::move(*reply);
    }
    // The server had closed the kept connection before the request reached it.
    connection_.Open(target);
    return std::move(*SendAndRead(url, request, false));
  } catch (...) {
    connection_.Close();
    throw;
  }
}

// Returns nothing when `may_be_stale` and the request failed before any byte
// of a reply arrived: the connection had died while it was kept.
std::optional<HttpReply> HttpClient::Impl::SendAndRead(const UrlParts& url,
                                                       const HttpRequestMessage& request,
                                                       bool may_be_stale) {
  const boost::system::error_code write_error = connection_.Write(request);
  if (write_error) {
    if (may_be_stale && write_error != boost::beast::error::timeout) return std::nullopt;
    ThrowTransferFailure(write_error);
  }
  HttpReplyReader reader(connection_, limits_, [this, &url](const std::string& value) {
    cookies_.Record(url.host, url.path + url.document, value);
  });
  try {
    HttpReply reply = reader.Read();
    // Only the reply's own framing shows it whole: over TLS an end found by
    // the close counts only when the server said close_notify.
    if (reply.server_closed && connection_.EndedWithoutCloseNotify()) throw TruncatedReplyError();
    return reply;
  } catch (const ConnectionClosedError&) {
    if (may_be_stale && !reader.ReceivedAnything()) return std::nullopt;
    if (connection_.EndedWithoutCloseNotify()) throw TruncatedReplyError();
    throw;
  } catch (const SocketError& error) {
    if (may_be_stale && !reader.ReceivedAnything() && error.Code() != kWsaTimedOut) {
      return std::nullopt;
    }
    throw;
  }
}

HttpClient::HttpClient(HttpClientLimits limits) : impl_(std::make_unique<Impl>(limits)) {}

HttpClient::~HttpClient() = default;

std::string HttpClient::Get(const std::string& url) {
  return impl_->Perform(HttpMethod::kGet, url, std::string(), Request);
}

std::string HttpClient::Post(const std::string& url, const std::vector<std::string>& form) {
  return impl_->Perform(HttpMethod::kPost, url, EncodeForm(form), Request);
}

int HttpClient::LastReplyCode() const { return impl_->LastReplyCode(); }

}  // namespace plumwit
