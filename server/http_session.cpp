#include "server/http_session.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/ssl/error.hpp>
#include <boost/beast/core/bind_handler.hpp>
#include <boost/beast/core/error.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>

#include <algorithm>
#include <cstring>

#include "server/raw_request_from_beast.h"
#include "server/service_time.h"

namespace plumwit::server {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

namespace {

constexpr std::size_t kMaxDrainBytes = 1024 * 1024;
constexpr auto kDrainTime = std::chrono::seconds(1);
// A connection beyond the limit holds a descriptor only this long for the
// client to say what it wants.
constexpr auto kRefusalTime = std::chrono::seconds(5);
constexpr const char* kTooManyConnections = "Too many connections; try again shortly.";
constexpr const char* kTooManyChecks = "Too many sign-ins at once; try again shortly.";

bool IsQuietEnd(const beast::error_code& error) {
  return error == http::error::end_of_stream || error == beast::error::timeout ||
         error == asio::error::operation_aborted || error == asio::error::connection_reset ||
         error == asio::error::eof || error == asio::ssl::error::stream_truncated;
}

std::string_view ToStd(boost::beast::string_view text) { return {text.data(), text.size()}; }

bool IgnoresCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The size of the header fields as they were sent: "Name: value" CR LF each.
std::size_t HeaderBytes(const http::request<http::string_body>& request) {
  std::size_t bytes = 0;
  for (const auto& field : request) bytes += field.name_string().size() + field.value().size() + 4;
  return bytes;
}

}  // namespace

template <class Stream>
HttpSession<Stream>::HttpSession(Stream&& stream, const SessionServices& services,
                                 ConnectionSlots::Slot slot)
    : stream_(std::move(stream)),
      router_(services.router),
      log_(services.log),
      password_checks_(services.password_checks),
      limits_(services.limits),
      slot_(std::move(slot)) {}

template <class Stream>
void HttpSession<Stream>::Start() {
  asio::dispatch(stream_.get_executor(),
                 beast::bind_front_handler(&HttpSession<Stream>::Begin, this->shared_from_this()));
}

template <class Stream>
void HttpSession<Stream>::StartRefusing() {
  refusing_ = true;
  limits_.timeout = std::min<std::chrono::milliseconds>(limits_.timeout, kRefusalTime);
  Start();
}

template <class Stream>
void HttpSession<Stream>::Begin() {
  // The handshake shares the first request's deadline, so a client that
  // stalls in it is dropped like one that stalls in its request head.
  Tcp().expires_after(limits_.timeout);
  if constexpr (kTls) {
    stream_.async_handshake(
        asio::ssl::stream_base::server,
        beast::bind_front_handler(&HttpSession<Stream>::OnHandshake, this->shared_from_this()));
  } else {
    ReadHeader();
  }
}

template <class Stream>
void HttpSession<Stream>::OnHandshake(beast::error_code error) {
  // Nothing can be answered without a handshake: just close.
  if (!error) ReadHeader();
}

template <class Stream>
void HttpSession<Stream>::ReadHeader() {
  parser_.emplace();
  parser_->header_limit(
      static_cast<std::uint32_t>(limits_.max_request_line + limits_.max_header_bytes));
  parser_->body_limit(limits_.max_body_bytes);
  http::async_read_header(
      stream_, buffer_, *parser_,
      beast::bind_front_handler(&HttpSession<Stream>::OnHeader, this->shared_from_this()));
}

template <class Stream>
void HttpSession<Stream>::OnHeader(beast::error_code error, std::size_t) {
  started_ = std::chrono::steady_clock::now();
  if (error == http::error::header_limit) {
    if (RequestLineTooLong()) return Refuse(400, "Request line is too long.");
    return Refuse(431, "Request header fields are too large.");
  }
  if (error == http::error::body_limit) return Refuse(413, "Request body is too large.");
  if (IsQuietEnd(error)) return;  // the client left or fell silent: just close
  if (error) return Refuse(400, "Malformed request.");

  const Request& request = parser_->get();
  if (request.target().size() > limits_.max_request_line) {
    return Refuse(400, "Request line is too long.");
  }
  if (HeaderBytes(request) > limits_.max_header_bytes) {
    return Refuse(431, "Request header fields are too large.");
  }
  if (refusing_) return Refuse(503, kTooManyConnections);
  if (IgnoresCase(ToStd(request[http::field::expect]), "100-continue")) {
    continue_ = {http::status::continue_, 11};
    http::async_write(
        stream_, continue_,
        [self = this->shared_from_this()](beast::error_code write_error, std::size_t) {
          if (!write_error) self->ReadBody();
        });
    return;
  }
  ReadBody();
}

template <class Stream>
void HttpSession<Stream>::ReadBody() {
  http::async_read(
      stream_, buffer_, *parser_,
      beast::bind_front_handler(&HttpSession<Stream>::OnBody, this->shared_from_this()));
}

template <class Stream>
void HttpSession<Stream>::OnBody(beast::error_code error, std::size_t) {
  if (error == http::error::body_limit) return Refuse(413, "Request body is too large.");
  if (IsQuietEnd(error)) return;
  if (error) return Refuse(400, "Malformed request.");
  Handle();
}

template <class Stream>
void HttpSession<Stream>::Handle() {
  Request& request = parser_->get();
  keep_alive_ = request.keep_alive();
  const bool head_only = request.method() == http::verb::head;
  RawRequest raw = RawRequestFromBeast(request);
  if (NeedsPasswordCheck(raw)) return HandleOffThread(std::move(raw), head_only);
  ServiceResponse answer = router_.Handle(raw);
  Send(std::move(answer), raw.method, raw.target, head_only);
}

template <class Stream>
bool HttpSession<Stream>::NeedsPasswordCheck(const RawRequest& raw) {
  if (!raw.authorization) return false;
  const BasicAuthorization authorization = BasicAuthorization::Parse(raw.authorization);
  return authorization.state() == BasicAuthorization::State::kCredentials &&
         router_.authenticator().NeedsFullCheck(authorization.credentials());
}

template <class Stream>
void HttpSession<Stream>::HandleOffThread(RawRequest raw, bool head_only) {
  const std::string method = raw.method;
  const std::string target = raw.target;
  // The job keeps the session alive; should the client leave meanwhile, the
  // answer's write fails and the session ends then.
  auto job = [self = this->shared_from_this(), raw = std::move(raw), head_only] {
    ServiceResponse answer = self->router_.Handle(raw);
    asio::post(self->stream_.get_executor(),
               [self, answer = std::move(answer), method = raw.method, target = raw.target,
                head_only]() mutable { self->Send(std::move(answer), method, target, head_only); });
  };
  if (!password_checks_.TrySubmit(std::move(job))) {
    Send(Busy(target, kTooManyChecks), method, target, head_only);
  }
}

template <class Stream>
void HttpSession<Stream>::Refuse(unsigned status, std::string_view message) {
  keep_alive_ = false;
  std::string method = "-";
  std::string target;
  if (parser_ && parser_->is_header_done()) {
    method = std::string(parser_->get().method_string());
    target = std::string(parser_->get().target());
  }
  ServiceResponse answer =
      status == 503 ? Busy(target, message) : router_.Refuse(status, target, message);
  Send(std::move(answer), method, target, false);
}

template <class Stream>
ServiceResponse HttpSession<Stream>::Busy(std::string_view raw_target, std::string_view message) {
  ServiceResponse answer = router_.Refuse(503, raw_target, message);
  answer.headers.emplace_back("Retry-After", "1");
  return answer;
}

template <class Stream>
void HttpSession<Stream>::Send(ServiceResponse answer, std::string_view method,
                               std::string_view target, bool head_only) {
  response_ = {};
  response_.version(11);
  response_.result(answer.status);
  response_.set(http::field::server, "plumwit-server");
  response_.set(http::field::date, FormatHttpDate(NowSeconds()));
  if (!answer.content_type.empty()) response_.set(http::field::content_type, answer.content_type);
  for (const auto& [name, value] : answer.headers) response_.set(name, value);
  // Said outright for both versions: an HTTP/1.0 client keeps the connection
  // only when told "keep-alive".
  response_.set(http::field::connection, keep_alive_ ? "keep-alive" : "close");
  const std::size_t length = answer.body.size();
  if (!head_only) response_.body() = std::move(answer.body);
  response_.content_length(length);

  log_.Record(method, ServiceRequest::DisplayPath(target), answer.status,
              std::chrono::steady_clock::now() - started_);
  Tcp().expires_after(limits_.timeout);
  http::async_write(
      stream_, response_,
      beast::bind_front_handler(&HttpSession<Stream>::OnWrite, this->shared_from_this()));
}

template <class Stream>
void HttpSession<Stream>::OnWrite(beast::error_code error, std::size_t) {
  if (error) return;
  if (keep_alive_) {
    Tcp().expires_after(limits_.timeout);
    return ReadHeader();
  }
  Close();
}

template <class Stream>
void HttpSession<Stream>::Close() {
  if constexpr (kTls) {
    // A client that never answers close_notify costs only this deadline;
    // the connection is drained and closed either way.
    Tcp().expires_after(kDrainTime);
    stream_.async_shutdown([self = this->shared_from_this()](beast::error_code) { self->Drain(); });
  } else {
    Drain();
  }
}

template <class Stream>
void HttpSession<Stream>::Drain() {
  beast::error_code ignored;
  Tcp().socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
  Tcp().expires_after(kDrainTime);
  Tcp().async_read_some(
      asio::buffer(drain_buffer_),
      beast::bind_front_handler(&HttpSession<Stream>::OnDrain, this->shared_from_this()));
}

template <class Stream>
void HttpSession<Stream>::OnDrain(beast::error_code error, std::size_t bytes) {
  drained_ += bytes;
  if (error || drained_ > kMaxDrainBytes) return;  // closes as the session ends
  Tcp().async_read_some(
      asio::buffer(drain_buffer_),
      beast::bind_front_handler(&HttpSession<Stream>::OnDrain, this->shared_from_this()));
}

template <class Stream>
bool HttpSession<Stream>::RequestLineTooLong() const {
  const auto data = buffer_.data();
  const std::string_view received(static_cast<const char*>(data.data()), data.size());
  const std::size_t line_end = received.find('\n');
  return line_end == std::string_view::npos || line_end > limits_.max_request_line + 1;
}

template class HttpSession<PlainStream>;
template class HttpSession<TlsStream>;

}  // namespace plumwit::server
