#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// A loopback client that writes exactly the bytes it is given and reads
// replies byte for byte, so tests see precisely what went over the wire.
class RawHttpClient {
 public:
  explicit RawHttpClient(unsigned short port,
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
  HttpReply ReadHead();

  int socket_ = -1;
  std::string buffer_;
};

// Percent-encodes every byte but the unreserved characters, as the client does.
std::string Encode(std::string_view text);

}  // namespace plumwit::server::testing
