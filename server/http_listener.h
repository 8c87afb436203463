#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/error.hpp>

#include <memory>

#include "server/http_limits.h"
#include "server/request_log.h"
#include "server/router.h"

namespace plumwit::server {

// Accepts connections and gives each a session on a strand of its own.
class HttpListener : public std::enable_shared_from_this<HttpListener> {
 public:
  // Binds and listens at once; throws boost::system::system_error when the
  // address cannot be used.
  HttpListener(boost::asio::io_context& io, const boost::asio::ip::tcp::endpoint& endpoint,
               RequestLog& log, const HttpLimits& limits);

  // Begins accepting; sessions answer through `router`, which must outlive
  // the io_context.
  void Start(Router& router);
  void Stop();
  boost::asio::ip::tcp::endpoint LocalEndpoint() const;

 private:
  void Accept();
  void OnAccept(boost::beast::error_code error, boost::asio::ip::tcp::socket socket);

  boost::asio::io_context& io_;
  boost::asio::ip::tcp::acceptor acceptor_;
  boost::asio::steady_timer retry_timer_;
  Router* router_ = nullptr;
  RequestLog& log_;
  HttpLimits limits_;
};

}  // namespace plumwit::server
