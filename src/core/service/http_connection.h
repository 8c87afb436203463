#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/system/error_code.hpp>

#include "core/service/reply_source.h"

namespace plumwit {

using HttpRequestMessage = boost::beast::http::request<boost::beast::http::string_body>;

// One TCP connection to a host, used synchronously. Every operation is an
// asynchronous one run to completion on the connection's own io_context, so
// each has a deadline. The deadline belongs to the request, not to the
// single operation: StartRequest() sets it, and the name lookup, connecting,
// every write and every wait for data of that request share it, so a server
// that dribbles its reply byte by byte cannot stretch the request beyond it.
class HttpConnection : public ReplySource {
 public:
  HttpConnection(std::chrono::milliseconds timeout, std::size_t buffer_limit);

  // Starts the time-out of a new request: everything until the next call
  // must be done by then.
  void StartRequest();

  // Closes any open connection and connects to host:port. Throws
  // SocketError.
  void Open(const std::string& host, std::uint16_t port);
  void Close();
  bool IsOpen() const { return stream_.socket().is_open(); }
  bool IsOpenTo(const std::string& host, std::uint16_t port) const;

  boost::system::error_code Write(const HttpRequestMessage& request);

  boost::system::error_code ReadSome() override;
  boost::beast::flat_buffer& Buffer() override { return buffer_; }
  bool BufferHasRoom() const override { return buffer_.size() < buffer_.max_size(); }

 private:
  template <class Start>
  boost::system::error_code Run(Start&& start);

  std::chrono::milliseconds RemainingTime() const;

  std::chrono::milliseconds timeout_;
  std::chrono::steady_clock::time_point deadline_;
  boost::asio::io_context io_;
  boost::beast::tcp_stream stream_;
  boost::beast::flat_buffer buffer_;
  std::string host_;
  std::uint16_t port_ = 0;
};

}  // namespace plumwit
