#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "server/http_limits.h"
#include "server/request_log.h"
#include "server/router.h"

namespace plumwit::server {

// One client connection: reads requests one after another (keep-alive for
// HTTP/1.1 by default and for HTTP/1.0 on request), answers each through the
// router, and closes on errors, time-outs or when either side asks to.
// Everything runs asynchronously on the connection's strand, so a slow
// client holds up nobody else.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
 public:
  HttpSession(boost::asio::ip::tcp::socket&& socket, Router& router, RequestLog& log,
              const HttpLimits& limits);
  void Start();

 private:
  using Request = boost::beast::http::request<boost::beast::http::string_body>;

  void ReadHeader();
  void OnHeader(boost::beast::error_code error, std::size_t bytes);
  void ReadBody();
  void OnBody(boost::beast::error_code error, std::size_t bytes);
  void Handle();
  void Refuse(unsigned status, std::string_view message);
  void Send(ServiceResponse answer, std::string_view method, std::string_view target,
            bool head_only);
  void OnWrite(boost::beast::error_code error, std::size_t bytes);
  // Stops sending, then reads and drops what the client still sends for a
  // moment, so that it receives the answer instead of a connection reset.
  void Drain();
  void OnDrain(boost::beast::error_code error, std::size_t bytes);
  bool RequestLineTooLong() const;

  boost::beast::tcp_stream stream_;
  boost::beast::flat_buffer buffer_;
  std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser_;
  boost::beast::http::response<boost::beast::http::string_body> response_;
  boost::beast::http::response<boost::beast::http::empty_body> continue_;
  std::array<char, 4096> drain_buffer_{};
  std::size_t drained_ = 0;
  Router& router_;
  RequestLog& log_;
  HttpLimits limits_;
  std::chrono::steady_clock::time_point started_;
  bool keep_alive_ = false;
};

}  // namespace plumwit::server
