#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <boost/system/error_code.hpp>

#include "core/service/reply_source.h"

namespace plumwit {

using HttpRequestMessage = boost::beast::http::request<boost::beast::http::string_body>;

// Where a connection goes: plain TCP or TLS, host and port. A kept
// connection serves only requests to the same place.
struct ConnectionTarget {
  bool secure = false;
  std::string host;
  std::uint16_t port = 0;

  bool operator==(const ConnectionTarget& other) const {
    return secure == other.secure && host == other.host && port == other.port;
  }
};

// One connection to a host, plain TCP or TLS, used synchronously. Every
// operation is an asynchronous one run to completion on the connection's own
// io_context, so each has a deadline. The deadline belongs to the request,
// not to the single operation: StartRequest() sets it, and the name lookup,
// connecting, the TLS handshake, every write and every wait for data of that
// request share it, so a server that dribbles its handshake or its reply byte
// by byte cannot stretch the request beyond it.
class HttpConnection : public ReplySource {
 public:
  HttpConnection(std::chrono::milliseconds timeout, std::size_t buffer_limit);
  ~HttpConnection() override;

  // Starts the time-out of a new request: everything until the next call
  // must be done by then.
  void StartRequest();

  // Closes any open connection and connects to the target, with the TLS
  // handshake for a secure one. Throws SocketError or TlsError.
  void Open(const ConnectionTarget& target);
  // A secure connection says close_notify first when it can do so without
  // waiting.
  void Close();
  bool IsOpen() const { return Transport().socket().is_open(); }
  bool IsOpenTo(const ConnectionTarget& target) const { return IsOpen() && target == target_; }

  boost::system::error_code Write(const HttpRequestMessage& request);

  // On a secure connection a close without close_notify reads as `eof`, and
  // EndedWithoutCloseNotify() tells it apart; other TLS failures throw
  // TlsError.
  boost::system::error_code ReadSome() override;
  boost::beast::flat_buffer& Buffer() override { return buffer_; }
  bool BufferHasRoom() const override { return buffer_.size() < buffer_.max_size(); }

  // Whether the secure connection's server closed it without close_notify:
  // whatever was read last may have been cut off.
  bool EndedWithoutCloseNotify() const { return ended_without_close_notify_; }

 private:
  using TlsStream = boost::beast::ssl_stream<boost::beast::tcp_stream>;

  template <class Start>
  boost::system::error_code Run(Start&& start);
  // Runs `operation(stream, result)` on the TLS stream or the plain one.
  template <class Operation>
  boost::system::error_code RunOnStream(Operation&& operation);

  void Connect(const ConnectionTarget& target);
  void Handshake(const std::string& host);
  boost::system::error_code TlsReadOutcome(const boost::system::error_code& error);
  void SayCloseNotify();
  boost::beast::tcp_stream& Transport();
  const boost::beast::tcp_stream& Transport() const;
  boost::asio::ssl::context& TlsContext();
  std::chrono::milliseconds RemainingTime() const;

  std::chrono::milliseconds timeout_;
  std::chrono::steady_clock::time_point deadline_;
  boost::asio::io_context io_;
  boost::beast::tcp_stream stream_;
  // Made at the first secure connection, then kept for later ones.
  std::unique_ptr<boost::asio::ssl::context> tls_context_;
  // A secure connection's own stream, over a TCP stream of its own; a new
  // one for every connection, as a TLS session cannot start over.
  std::unique_ptr<TlsStream> tls_;
  // The handshake is done and nothing has broken the TLS session since.
  bool tls_usable_ = false;
  bool ended_without_close_notify_ = false;
  boost::beast::flat_buffer buffer_;
  ConnectionTarget target_;
};

}  // namespace plumwit
