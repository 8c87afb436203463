#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct ssl_st;
struct ssl_ctx_st;

namespace plumwit::server::testing {

struct HttpReply {
  std::string status_line;
  int status = 0;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The first header of that name (compared without case), or "".
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
};

// The authority a TLS client checks the server's certificate against (for
// the name 127.0.0.1), trusted explicitly rather than through the
// environment.
struct TlsTrust {
  std::string authority_file;
};

// A loopback client that writes exactly the bytes it is given and reads
// replies byte for byte, so tests see precisely what went over the wire;
// given a TlsTrust, the bytes are those inside the TLS connection.
class RawHttpClient {
 public:
  explicit RawHttpClient(unsigned short port,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Completes the TLS handshake or throws std::runtime_error.
  RawHttpClient(unsigned short port, const TlsTrust& trust,
                std::chrono::milliseconds timeout = std::chrono::seconds(10));
  ~RawHttpClient();
  RawHttpClient(const RawHttpClient&) = delete;
  RawHttpClient& operator=(const RawHttpClient&) = delete;

  void Send(std::string_view bytes);
  // Reads one reply; throws std::runtime_error when the connection ends or
  // times out first.
  HttpReply Read();
  // Reads only the status line and headers, as for an answer to HEAD.
  HttpReply ReadHeaders();
  HttpReply Exchange(std::string_view bytes);
  // True when the server has closed the connection (reads end of stream
  // within the time-out, with no further data).
  bool ServerClosed();
  // Reads and drops whatever comes until the server closes; false when it
  // is still open after the time-out.
  bool ReadsToClose();
  // Over TLS: whether the server said close_notify before closing.
  bool ReceivedCloseNotify() const { return close_notify_received_; }

  // "Authorization: Basic ..." value for these credentials.
  static std::string BasicAuth(std::string_view name, std::string_view password);
  // A request in the client program's own shapes: GET as HTTP/1.1, POST as
  // HTTP/1.0 with keep-alive, an empty form body and no Content-Length other than 0.
  static std::string ClientGet(std::string_view target, std::string_view authorization = {});
  static std::string ClientPost(std::string_view target, std::string_view authorization = {});
  // A POST with a form body.
  static std::string FormPost(std::string_view target, std::string_view body,
                              std::string_view authorization = {});

 private:
  // Reads more bytes into the buffer; false at end of stream.
  bool Fill();
  bool FillFromTls(char* chunk, int size);
  HttpReply ReadHead();
  void StartTls(const TlsTrust& trust);

  int socket_ = -1;
  ssl_ctx_st* tls_context_ = nullptr;
  ssl_st* tls_ = nullptr;
  bool close_notify_received_ = false;
  std::string buffer_;
};

// Percent-encodes every byte but the unreserved characters, as the client does.
std::string Encode(std::string_view text);

}  // namespace plumwit::server::testing
