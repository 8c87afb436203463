#include "server/http_listener.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core/bind_handler.hpp>

#include "server/http_session.h"

namespace plumwit::server {

namespace asio = boost::asio;
namespace beast = boost::beast;
using tcp = asio::ip::tcp;

HttpListener::HttpListener(asio::io_context& io, const tcp::endpoint& endpoint, RequestLog& log,
                           const HttpLimits& limits)
    : io_(io),
      acceptor_(asio::make_strand(io)),
      retry_timer_(acceptor_.get_executor()),
      log_(log),
      limits_(limits) {
  acceptor_.open(endpoint.protocol());
  acceptor_.set_option(asio::socket_base::reuse_address(true));
  acceptor_.bind(endpoint);
  acceptor_.listen(asio::socket_base::max_listen_connections);
}

void HttpListener::Start(Router& router) {
  router_ = &router;
  asio::dispatch(acceptor_.get_executor(),
                 beast::bind_front_handler(&HttpListener::Accept, shared_from_this()));
}

void HttpListener::Stop() {
  asio::post(acceptor_.get_executor(), [self = shared_from_this()] {
    beast::error_code ignored;
    self->acceptor_.close(ignored);
    self->retry_timer_.cancel();
  });
}

tcp::endpoint HttpListener::LocalEndpoint() const { return acceptor_.local_endpoint(); }

void HttpListener::Accept() {
  acceptor_.async_accept(asio::make_strand(io_),
                         beast::bind_front_handler(&HttpListener::OnAccept, shared_from_this()));
}

void HttpListener::OnAccept(beast::error_code error, tcp::socket socket) {
  if (error == asio::error::operation_aborted || !acceptor_.is_open()) return;
  if (error) {
    // Out of descriptors or similar: wait a little instead of spinning.
    log_.Note("accept failed: " + error.message());
    retry_timer_.expires_after(std::chrono::milliseconds(100));
    retry_timer_.async_wait([self = shared_from_this()](beast::error_code wait_error) {
      if (!wait_error) self->Accept();
    });
    return;
  }
  std::make_shared<HttpSession>(std::move(socket), *router_, log_, limits_)->Start();
  Accept();
}

}  // namespace plumwit::server
