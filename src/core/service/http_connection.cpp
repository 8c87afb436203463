#include "core/service/http_connection.h"

#include <algorithm>

#include <boost/asio/connect.hpp>
#include <boost/asio/error.hpp>
#include <boost/beast/http/write.hpp>

#include "core/service/host_lookup.h"
#include "core/service/socket_errors.h"
#include "core/service/tls_client_setup.h"
#include "core/service/tls_errors.h"

namespace plumwit {

namespace {

constexpr std::size_t kReadChunk = 16 * 1024;

}  // namespace

HttpConnection::HttpConnection(std::chrono::milliseconds timeout, std::size_t buffer_limit)
    : timeout_(timeout),
      deadline_(std::chrono::steady_clock::now() + timeout),
      stream_(io_),
      buffer_(buffer_limit) {}

HttpConnection::~HttpConnection() { Close(); }

void HttpConnection::StartRequest() { deadline_ = std::chrono::steady_clock::now() + timeout_; }

std::chrono::milliseconds HttpConnection::RemainingTime() const {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline_ - std::chrono::steady_clock::now());
  return std::max(left, std::chrono::milliseconds(0));
}

boost::beast::tcp_stream& HttpConnection::Transport() {
  return tls_ ? tls_->next_layer() : stream_;
}

const boost::beast::tcp_stream& HttpConnection::Transport() const {
  return tls_ ? tls_->next_layer() : stream_;
}

boost::asio::ssl::context& HttpConnection::TlsContext() {
  if (!tls_context_) {
    tls_context_ = std::make_unique<boost::asio::ssl::context>(MakeTlsClientContext());
  }
  return *tls_context_;
}

template <class Start>
boost::system::error_code HttpConnection::Run(Start&& start) {
  boost::system::error_code result = boost::asio::error::would_block;
  Transport().expires_at(deadline_);
  start(result);
  io_.restart();
  io_.run();
  return result;
}

template <class Operation>
boost::system::error_code HttpConnection::RunOnStream(Operation&& operation) {
  return Run([&](boost::system::error_code& result) {
    if (tls_) {
      operation(*tls_, result);
    } else {
      operation(stream_, result);
    }
  });
}

void HttpConnection::Open(const ConnectionTarget& target) {
  Close();
  ended_without_close_notify_ = false;
  try {
    if (target.secure) {
      tls_ = std::make_unique<TlsStream>(io_, TlsContext());
      ExpectCertificateFor(tls_->native_handle(), target.host);
    }
    Connect(target);
    if (target.secure) Handshake(target.host);
  } catch (...) {
    Close();
    throw;
  }
  target_ = target;
}

void HttpConnection::Connect(const ConnectionTarget& target) {
  const auto endpoints = LookUpHost(target.host, target.port, RemainingTime());
  const boost::system::error_code error = Run([&](boost::system::error_code& result) {
    Transport().async_connect(
        endpoints, [&result](boost::system::error_code error, auto&&) { result = error; });
  });
  if (error) throw MakeSocketError(error);
  Transport().socket().set_option(boost::asio::ip::tcp::no_delay(true));
}

void HttpConnection::Handshake(const std::string& host) {
  const boost::system::error_code error = Run([&](boost::system::error_code& result) {
    tls_->async_handshake(boost::asio::ssl::stream_base::client,
                          [&result](boost::system::error_code error) { result = error; });
  });
  if (!error) {
    tls_usable_ = true;
    return;
  }
  // A time-out or a broken socket is reported as for plain HTTP.
  if (!IsTlsFailure(error) && error != boost::asio::error::eof) throw MakeSocketError(error);
  throw HandshakeFailure(error, SSL_get_verify_result(tls_->native_handle()), host);
}

void HttpConnection::Close() {
  if (tls_) SayCloseNotify();
  boost::system::error_code ignored;
  Transport().socket().shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
  Transport().socket().close(ignored);
  if (tls_) {
    // Lets the close_notify's unfinished wait for the server's answer end,
    // aborted, before its stream goes.
    io_.restart();
    io_.run();
    tls_.reset();
  }
  tls_usable_ = false;
  buffer_.clear();
  target_ = {};
}

// Sends close_notify without waiting for the server's own: the shutdown's
// write goes out at once when the socket takes it, and what is still pending
// after one non-blocking turn of the loop is dropped by the close.
void HttpConnection::SayCloseNotify() {
  if (!tls_usable_ || !IsOpen()) return;
  tls_usable_ = false;
  Transport().expires_never();
  tls_->async_shutdown([](boost::system::error_code) {});
  io_.restart();
  io_.poll();
}

boost::system::error_code HttpConnection::Write(const HttpRequestMessage& request) {
  const boost::system::error_code error =
      RunOnStream([&](auto& stream, boost::system::error_code& result) {
        boost::beast::http::async_write(
            stream, request,
            [&result](boost::system::error_code error, std::size_t) { result = error; });
      });
  if (error) tls_usable_ = false;
  return error;
}

boost::system::error_code HttpConnection::ReadSome() {
  const std::size_t room = std::min(kReadChunk, buffer_.max_size() - buffer_.size());
  std::size_t received = 0;
  const auto target = buffer_.prepare(room);
  const boost::system::error_code error =
      RunOnStream([&](auto& stream, boost::system::error_code& result) {
        stream.async_read_some(target, [&](boost::system::error_code error, std::size_t bytes) {
          result = error;
          received = bytes;
        });
      });
  buffer_.commit(received);
  if (!tls_ || !error) return error;
  return TlsReadOutcome(error);
}

boost::system::error_code HttpConnection::TlsReadOutcome(const boost::system::error_code& error) {
  // After the server's close_notify our own may still go out.
  if (error == boost::asio::error::eof) return error;
  tls_usable_ = false;
  if (IsCloseWithoutNotify(error)) {
    ended_without_close_notify_ = true;
    return boost::asio::error::eof;
  }
  if (IsTlsFailure(error)) ThrowTransferFailure(error);
  return error;
}

}  // namespace plumwit
