#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>

#include "support/scripted_http_server.h"

namespace plumwit::test {

// What the TLS server does once a whole request has arrived: it sends
// `bytes` inside TLS, then acts as `then` says.
struct TlsScriptedReply {
  enum class Then {
    kKeepOpen,            // wait for the next request on the same connection
    kCloseNotify,         // close_notify, then close
    kCloseWithoutNotify,  // close the TCP connection with no close_notify
  };

  std::string bytes;
  Then then = Then::kKeepOpen;

  static TlsScriptedReply Send(std::string bytes) { return {std::move(bytes), Then::kKeepOpen}; }
  static TlsScriptedReply SendAndClose(std::string bytes) {
    return {std::move(bytes), Then::kCloseNotify};
  }
  static TlsScriptedReply SendAndDrop(std::string bytes) {
    return {std::move(bytes), Then::kCloseWithoutNotify};
  }
};

struct TlsServerOptions {
  // The certificate the server shows: a name of TestAuthority's.
  std::string certificate = "good";
  // Offers nothing newer than TLS 1.0, as an outdated server does.
  bool tls10_only = false;
  // Speaks no TLS at all: whatever arrives is answered with the next reply,
  // raw, and the connection closed.
  bool plain = false;
  // When not zero, the server's handshake goes out one byte at a time with
  // this pause before each.
  std::chrono::milliseconds handshake_pace{0};
};

// A TLS HTTP server on 127.0.0.1 for tests, on a free port and its own
// thread. It serves one connection at a time (the client under test opens
// one at a time), answers each request with the next reply of its script
// and records the decrypted bytes of every request with the connection it
// came on, and how many connections the client closed with close_notify. When the script is used up
// it closes the connection without close_notify. The destructor stops the server.
class TlsHttpServer {
 public:
  explicit TlsHttpServer(std::vector<TlsScriptedReply> script = {}, TlsServerOptions options = {});
  ~TlsHttpServer();
  TlsHttpServer(const TlsHttpServer&) = delete;
  TlsHttpServer& operator=(const TlsHttpServer&) = delete;

  std::uint16_t Port() const { return port_; }
  // "https://127.0.0.1:PORT" followed by `path`.
  std::string Url(const std::string& path = "/") const;

  std::vector<RecordedRequest> Requests() const;
  std::size_t RequestCount() const;
  int ConnectionCount() const;
  // The host name the client asked for (SNI) on each connection, in order;
  // empty where it named none.
  std::vector<std::string> ServerNames() const;
  // How many connections the client ended with close_notify so far.
  int CloseNotifyCount() const;

 private:
  template <class Stream>
  void AnswerRequests(Stream& stream, int connection);

  void Serve();
  std::optional<boost::asio::ip::tcp::socket> AcceptNext();
  void ServeConnection(boost::asio::ip::tcp::socket socket, int connection);
  void ServePlain(boost::asio::ip::tcp::socket& socket);
  std::optional<TlsScriptedReply> NextReply();
  void Record(std::string bytes, int connection);
  void CountCloseNotify();

  TlsServerOptions options_;
  boost::asio::io_context io_;
  boost::asio::ssl::context context_;
  boost::asio::ip::tcp::acceptor acceptor_;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};

  mutable std::mutex mutex_;
  std::deque<TlsScriptedReply> script_;
  std::vector<RecordedRequest> requests_;
  int connection_count_ = 0;
  int close_notify_count_ = 0;
  std::vector<std::string> server_names_;

  std::thread thread_;
};

}  // namespace plumwit::test
