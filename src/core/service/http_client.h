#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "core/error.h"

namespace plumwit {

// The status codes callers tell apart: a refused password (the client hands
// back the body of a 401 to a GET with credentials) and an unknown resource.
inline constexpr int kHttpUnauthorized = 401;
inline constexpr int kHttpNotFound = 404;

// The reply was classified as an error; the message is its status line.
class HttpStatusError : public Error {
 public:
  HttpStatusError(const std::string& status_line, int code, std::string body)
      : Error(status_line), code_(code), body_(std::move(body)) {}
  int Code() const { return code_; }
  const std::string& Body() const { return body_; }

 private:
  int code_;
  std::string body_;
};

// A connection or transfer failure: "Socket Error # N" CR LF text.
class SocketError : public Error {
 public:
  SocketError(int code, const std::string& message) : Error(message), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

// The server closed the connection before the reply was complete.
class ConnectionClosedError : public Error {
 public:
  ConnectionClosedError() : Error("Connection Closed Gracefully.") {}
};

// The secure connection could not be set up, or broke: "TLS Error" CR LF and
// a sentence saying why (the certificate, the protocol, a cut-off reply).
class TlsError : public Error {
 public:
  using Error::Error;
};

// A request that cannot be sent as asked: a header value or the request
// line would carry a line break, or the address names an invalid port.
// Nothing was sent.
class HttpRequestError : public Error {
 public:
  using Error::Error;
};

// The reply broke a limit (too large, header block too large) or was not
// HTTP at all; the connection was closed.
class HttpReplyError : public Error {
 public:
  using Error::Error;
};

// Settings a caller assigns; they stay on the client for later requests.
struct HttpRequestSettings {
  std::string Username;
  std::string Password;
  bool BasicAuthentication = false;
  std::string Referer;
  std::string From;
  std::string ContentType;     // set by the client at the first POST
  std::string Connection;      // set by the client at the first POST
  std::string AcceptEncoding;  // set by the client at the first request
};

// A request as a whole (looking up the host, connecting, the TLS handshake,
// sending and reading the complete reply) gives up after this long with
// "Connection timed out.".
inline constexpr std::chrono::seconds kHttpTimeout{30};
// A larger reply (header blocks and body together) is refused.
inline constexpr std::size_t kMaxHttpReplyBytes = 16u * 1024 * 1024;
// A larger header block is refused.
inline constexpr std::size_t kMaxHttpHeaderBytes = 64u * 1024;

// The client's limits; tests inject smaller ones.
struct HttpClientLimits {
  std::chrono::milliseconds timeout = kHttpTimeout;
  std::size_t max_reply_bytes = kMaxHttpReplyBytes;
  std::size_t max_header_bytes = kMaxHttpHeaderBytes;
};

// A blocking HTTP/1.x client with the program's fixed settings: no redirects,
// no proxy, cookies kept in memory, a non-error 401 for GETs that carried
// credentials. "https" URLs go over TLS with the server's certificate
// checked; the bytes inside are those of plain HTTP.
class HttpClient {
 public:
  explicit HttpClient(HttpClientLimits limits = {});
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  HttpRequestSettings Request;

  // Returns the body of an accepted reply; throws HttpStatusError, SocketError,
  // TlsError (https only) or ConnectionClosedError otherwise.
  std::string Get(const std::string& url);
  // `form` holds "name=value" lines; the program always passes none.
  std::string Post(const std::string& url, const std::vector<std::string>& form = {});
  // The status code of the last reply read whole, accepted or not; -1 when
  // the last request got none. A returned body can be a 401's, so callers
  // tell a refusal from an answer by this.
  int LastReplyCode() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace plumwit
