#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>

#include <boost/asio/buffer.hpp>
#include <boost/asio/error.hpp>
#include <boost/asio/ip/tcp.hpp>

namespace plumwit::test {

// A blocking TCP socket for a test server's TLS stream: every wait gives up
// when the server stops, and writes can go out one byte at a time with a
// pause before each, as a slow or hostile server sends them.
class PacedSocket {
 public:
  using lowest_layer_type = boost::asio::ip::tcp::socket::lowest_layer_type;
  using executor_type = boost::asio::ip::tcp::socket::executor_type;

  PacedSocket(boost::asio::ip::tcp::socket socket, const std::atomic<bool>& stopping)
      : socket_(std::move(socket)), stopping_(stopping) {}

  lowest_layer_type& lowest_layer() { return socket_.lowest_layer(); }
  executor_type get_executor() { return socket_.get_executor(); }
  void SetPace(std::chrono::milliseconds pace) { pace_ = pace; }

  template <class Buffers>
  std::size_t read_some(const Buffers& buffers, boost::system::error_code& error) {
    if (!WaitUntilReadable()) {
      error = boost::asio::error::operation_aborted;
      return 0;
    }
    return socket_.read_some(buffers, error);
  }

  template <class Buffers>
  std::size_t write_some(const Buffers& buffers, boost::system::error_code& error) {
    if (pace_.count() == 0) return socket_.write_some(buffers, error);
    if (!Pause()) {
      error = boost::asio::error::operation_aborted;
      return 0;
    }
    const boost::asio::const_buffer first = *boost::asio::buffer_sequence_begin(buffers);
    return socket_.write_some(boost::asio::buffer(first.data(), first.size() ? 1 : 0), error);
  }

 private:
  // False when the server stops first.
  bool WaitUntilReadable();
  bool Pause();

  boost::asio::ip::tcp::socket socket_;
  const std::atomic<bool>& stopping_;
  std::chrono::milliseconds pace_{0};
};

}  // namespace plumwit::test
