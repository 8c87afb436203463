#pragma once

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "server/connection_slots.h"
#include "server/http_limits.h"
#include "server/password_check_pool.h"
#include "server/request_log.h"
#include "server/router.h"

namespace plumwit::server {

// What every session uses; all of it outlives the sessions.
struct SessionServices {
  Router& router;
  RequestLog& log;
  PasswordCheckPool& password_checks;
  HttpLimits limits;
};

using PlainStream = boost::beast::tcp_stream;
using TlsStream = boost::beast::ssl_stream<boost::beast::tcp_stream>;

// One client connection: reads requests one after another (keep-alive for
// HTTP/1.1 by default and for HTTP/1.0 on request), answers each through the
// router, and closes on errors, time-outs or when either side asks to.
// Everything runs asynchronously on the connection's strand, so a slow
// client holds up nobody else; a request that needs a full password check is
// handled on the password check pool and answered back on the strand.
// Over TLS (Stream = TlsStream) the handshake comes first, within the time
// allowed for the first request's head, and a clean close sends close_notify.
template <class Stream>
class HttpSession : public std::enable_shared_from_this<HttpSession<Stream>> {
 public:
  // Serves requests for as long as the connection lasts, holding `slot`.
  HttpSession(Stream&& stream, const SessionServices& services, ConnectionSlots::Slot slot);
  void Start();
  // Reads one request head (waiting a few seconds at most), answers it 503
  // because the service has no room for another connection, and closes.
  void StartRefusing();

 private:
  using Request = boost::beast::http::request<boost::beast::http::string_body>;

  static constexpr bool kTls = std::is_same_v<Stream, TlsStream>;

  void Begin();
  void OnHandshake(boost::beast::error_code error);
  void ReadHeader();
  void OnHeader(boost::beast::error_code error, std::size_t bytes);
  void ReadBody();
  void OnBody(boost::beast::error_code error, std::size_t bytes);
  void Handle();
  bool NeedsPasswordCheck(const RawRequest& raw);
  void HandleOffThread(RawRequest raw, bool head_only);
  void Refuse(unsigned status, std::string_view message);
  ServiceResponse Busy(std::string_view raw_target, std::string_view message);
  void Send(ServiceResponse answer, std::string_view method, std::string_view target,
            bool head_only);
  void OnWrite(boost::beast::error_code error, std::size_t bytes);
  // Stops sending, then reads and drops what the client still sends for a
  // moment, so that it receives the answer instead of a connection reset.
  void Drain();
  void OnDrain(boost::beast::error_code error, std::size_t bytes);
  // Ends the connection cleanly: over TLS, says close_notify and waits a
  // moment for the client's first; then drains.
  void Close();
  boost::beast::tcp_stream& Tcp() { return boost::beast::get_lowest_layer(stream_); }
  bool RequestLineTooLong() const;

  Stream stream_;
  boost::beast::flat_buffer buffer_;
  std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser_;
  boost::beast::http::response<boost::beast::http::string_body> response_;
  boost::beast::http::response<boost::beast::http::empty_body> continue_;
  std::array<char, 4096> drain_buffer_{};
  std::size_t drained_ = 0;
  Router& router_;
  RequestLog& log_;
  PasswordCheckPool& password_checks_;
  HttpLimits limits_;
  ConnectionSlots::Slot slot_;
  std::chrono::steady_clock::time_point started_;
  bool keep_alive_ = false;
  bool refusing_ = false;
};

extern template class HttpSession<PlainStream>;
extern template class HttpSession<TlsStream>;

}  // namespace plumwit::server
