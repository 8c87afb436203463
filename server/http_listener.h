#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/error.hpp>

#include <memory>

#include "server/connection_slots.h"
#include "server/http_limits.h"
#include "server/http_session.h"
#include "server/password_check_pool.h"
#include "server/request_log.h"
#include "server/router.h"

namespace plumwit::server {

// Accepts connections and gives each a session on a strand of its own, up to
// limits.max_connections at once; the ones beyond are answered 503 while
// there is room for that, and closed at once past it. Given a TLS context,
// every connection is HTTPS, refusals included. Accepting never stops
// for long: when descriptors run out it pauses briefly and tries again.
class HttpListener : public std::enable_shared_from_this<HttpListener> {
 public:
  // Binds and listens at once; throws boost::system::system_error when the
  // address cannot be used. limits.max_connections must be set; a null
  // `tls` serves plain HTTP.
  HttpListener(boost::asio::io_context& io, const boost::asio::ip::tcp::endpoint& endpoint,
               RequestLog& log, const HttpLimits& limits,
               std::shared_ptr<boost::asio::ssl::context> tls = nullptr);

  // Begins accepting; sessions answer through `router` and run password
  // checks on `password_checks`, which must both outlive the io_context.
  void Start(Router& router, PasswordCheckPool& password_checks);
  void Stop();
  boost::asio::ip::tcp::endpoint LocalEndpoint() const;

 private:
  void Accept();
  void OnAccept(boost::beast::error_code error, boost::asio::ip::tcp::socket socket);
  void PauseAccepting(const boost::beast::error_code& error);
  void StartSession(boost::asio::ip::tcp::socket socket);
  template <class Stream>
  void StartSessionOn(Stream&& stream, const SessionServices& services);

  boost::asio::io_context& io_;
  boost::asio::ip::tcp::acceptor acceptor_;
  boost::asio::steady_timer retry_timer_;
  Router* router_ = nullptr;
  PasswordCheckPool* password_checks_ = nullptr;
  RequestLog& log_;
  HttpLimits limits_;
  std::shared_ptr<boost::asio::ssl::context> tls_;
  ConnectionSlots serving_;
  ConnectionSlots refusing_;
  bool accept_failing_ = false;  // noted once until an accept succeeds again
};

}  // namespace plumwit::server
