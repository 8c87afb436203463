#include "core/service/http_connection.h"

#include <algorithm>

#include <boost/asio/connect.hpp>
#include <boost/beast/http/write.hpp>

#include "core/service/host_lookup.h"
#include "core/service/socket_errors.h"

namespace plumwit {

namespace {

constexpr std::size_t kReadChunk = 16 * 1024;

}  // namespace

HttpConnection::HttpConnection(std::chrono::milliseconds timeout, std::size_t buffer_limit)
    : timeout_(timeout),
      deadline_(std::chrono::steady_clock::now() + timeout),
      stream_(io_),
      buffer_(buffer_limit) {}

void HttpConnection::StartRequest() { deadline_ = std::chrono::steady_clock::now() + timeout_; }

std::chrono::milliseconds HttpConnection::RemainingTime() const {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline_ - std::chrono::steady_clock::now());
  return std::max(left, std::chrono::milliseconds(0));
}

template <class Start>
boost::system::error_code HttpConnection::Run(Start&& start) {
  boost::system::error_code result = boost::asio::error::would_block;
  stream_.expires_at(deadline_);
  start(result);
  io_.restart();
  io_.run();
  return result;
}

void HttpConnection::Open(const std::string& host, std::uint16_t port) {
  Close();
  const auto endpoints = LookUpHost(host, port, RemainingTime());
  const boost::system::error_code error = Run([&](boost::system::error_code& result) {
    stream_.async_connect(endpoints,
                          [&result](boost::system::error_code error, auto&&) { result = error; });
  });
  if (error) {
    Close();
    throw MakeSocketError(error);
  }
  stream_.socket().set_option(boost::asio::ip::tcp::no_delay(true));
  host_ = host;
  port_ = port;
}

void HttpConnection::Close() {
  boost::system::error_code ignored;
  stream_.socket().shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
  stream_.socket().close(ignored);
  buffer_.clear();
  host_.clear();
  port_ = 0;
}

bool HttpConnection::IsOpenTo(const std::string& host, std::uint16_t port) const {
  return IsOpen() && host == host_ && port == port_;
}

boost::system::error_code HttpConnection::Write(const HttpRequestMessage& request) {
  return Run([&](boost::system::error_code& result) {
    boost::beast::http::async_write(
        stream_, request,
        [&result](boost::system::error_code error, std::size_t) { result = error; });
  });
}

boost::system::error_code HttpConnection::ReadSome() {
  const std::size_t room = std::min(kReadChunk, buffer_.max_size() - buffer_.size());
  std::size_t received = 0;
  const auto target = buffer_.prepare(room);
  const boost::system::error_code error = Run([&](boost::system::error_code& result) {
    stream_.async_read_some(target, [&](boost::system::error_code error, std::size_t bytes) {
      result = error;
      received = bytes;
    });
  });
  buffer_.commit(received);
  return error;
}

}  // namespace plumwit
