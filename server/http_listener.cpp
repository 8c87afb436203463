#include "server/http_listener.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core/bind_handler.hpp>

namespace plumwit::server {

namespace asio = boost::asio;
namespace beast = boost::beast;
using tcp = asio::ip::tcp;

HttpListener::HttpListener(asio::io_context& io, const tcp::endpoint& endpoint, RequestLog& log,
                           const HttpLimits& limits, std::shared_ptr<asio::ssl::context> tls)
    : io_(io),
      acceptor_(asio::make_strand(io)),
      retry_timer_(acceptor_.get_executor()),
      log_(log),
      limits_(limits),
      tls_(std::move(tls)),
      serving_(limits.max_connections),
      refusing_(limits.max_refused_connections) {
  acceptor_.open(endpoint.protocol());
  acceptor_.set_option(asio::socket_base::reuse_address(true));
  acceptor_.bind(endpoint);
  acceptor_.listen(asio::socket_base::max_listen_connections);
}

void HttpListener::Start(Router& router, PasswordCheckPool& password_checks) {
  router_ = &router;
  password_checks_ = &password_checks;
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
  if (error) return PauseAccepting(error);
  if (accept_failing_) {
    accept_failing_ = false;
    log_.Note("accepting connections again");
  }
  StartSession(std::move(socket));
  Accept();
}

void HttpListener::PauseAccepting(const beast::error_code& error) {
  // Out of descriptors or similar: wait a little instead of spinning, and
  // say so once rather than ten times a second.
  if (!accept_failing_) {
    accept_failing_ = true;
    log_.Note("accept failed: " + error.message() + "; retrying");
  }
  retry_timer_.expires_after(std::chrono::milliseconds(100));
  retry_timer_.async_wait([self = shared_from_this()](beast::error_code wait_error) {
    if (!wait_error) self->Accept();
  });
}

void HttpListener::StartSession(tcp::socket socket) {
  const SessionServices services{*router_, log_, *password_checks_, limits_};
  if (tls_) {
    StartSessionOn(TlsStream(std::move(socket), *tls_), services);
  } else {
    StartSessionOn(PlainStream(std::move(socket)), services);
  }
}

template <class Stream>
void HttpListener::StartSessionOn(Stream&& stream, const SessionServices& services) {
  using Session = HttpSession<Stream>;
  if (ConnectionSlots::Slot slot = serving_.TryTake()) {
    std::make_shared<Session>(std::move(stream), services, std::move(slot))->Start();
  } else if (ConnectionSlots::Slot refusal = refusing_.TryTake()) {
    std::make_shared<Session>(std::move(stream), services, std::move(refusal))->StartRefusing();
  }
  // Otherwise the connection closes here: there is no room even to refuse.
}

}  // namespace plumwit::server
