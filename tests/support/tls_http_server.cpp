#include "support/tls_http_server.h"

#include <openssl/ssl.h>
#include <poll.h>

#include <boost/asio/read.hpp>
#include <boost/asio/ssl/stream.hpp>
#include <boost/asio/write.hpp>

#include "support/paced_socket.h"
#include "support/request_framing.h"
#include "support/test_authority.h"

namespace plumwit::test {

namespace {

namespace asio = boost::asio;

constexpr std::chrono::milliseconds kStopCheck{20};
constexpr std::size_t kMaxRequestBytes = 1 << 20;

asio::ssl::context MakeServerContext(const TlsServerOptions& options) {
  asio::ssl::context context(asio::ssl::context::tls_server);
  const auto& authority = testing::TestAuthority::Shared();
  context.use_certificate_chain_file(authority.CertificateFile(options.certificate));
  context.use_private_key_file(authority.KeyFile(options.certificate), asio::ssl::context::pem);
  if (options.tls10_only) {
    // OpenSSL 3 offers TLS 1.0 only at security level 0.
    SSL_CTX_set_security_level(context.native_handle(), 0);
    SSL_CTX_set_cipher_list(context.native_handle(), "DEFAULT:@SECLEVEL=0");
    SSL_CTX_set_min_proto_version(context.native_handle(), TLS1_VERSION);
    SSL_CTX_set_max_proto_version(context.native_handle(), TLS1_VERSION);
  }
  return context;
}

}  // namespace

TlsHttpServer::TlsHttpServer(std::vector<TlsScriptedReply> script, TlsServerOptions options)
    : options_(std::move(options)),
      context_(MakeServerContext(options_)),
      acceptor_(io_, asio::ip::tcp::endpoint(asio::ip::address_v4::loopback(), 0)),
      script_(script.begin(), script.end()) {
  port_ = acceptor_.local_endpoint().port();
  thread_ = std::thread([this] { Serve(); });
}

TlsHttpServer::~TlsHttpServer() {
  stopping_ = true;
  thread_.join();
}

std::string TlsHttpServer::Url(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RecordedRequest> TlsHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::size_t TlsHttpServer::RequestCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.size();
}

int TlsHttpServer::ConnectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connection_count_;
}

std::vector<std::string> TlsHttpServer::ServerNames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return server_names_;
}

int TlsHttpServer::CloseNotifyCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return close_notify_count_;
}

void TlsHttpServer::Serve() {
  while (!stopping_) {
    std::optional<asio::ip::tcp::socket> socket = AcceptNext();
    if (!socket) continue;
    int connection = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      connection = ++connection_count_;
    }
    try {
      ServeConnection(std::move(*socket), connection);
    } catch (const std::exception&) {
      // A client that gives up midway ends its connection, not the server.
    }
  }
}

std::optional<asio::ip::tcp::socket> TlsHttpServer::AcceptNext() {
  pollfd watched{acceptor_.native_handle(), POLLIN, 0};
  if (::poll(&watched, 1, static_cast<int>(kStopCheck.count())) <= 0) return std::nullopt;
  boost::system::error_code error;
  asio::ip::tcp::socket socket(io_);
  acceptor_.accept(socket, error);
  if (error) return std::nullopt;
  return socket;
}

void TlsHttpServer::ServeConnection(asio::ip::tcp::socket socket, int connection) {
  if (options_.plain) return ServePlain(socket);
  asio::ssl::stream<PacedSocket> tls(PacedSocket(std::move(socket), stopping_), context_);
  tls.next_layer().SetPace(options_.handshake_pace);
  boost::system::error_code error;
  tls.handshake(asio::ssl::stream_base::server, error);
  if (error) return;
  const char* name = SSL_get_servername(tls.native_handle(), TLSEXT_NAMETYPE_host_name);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    server_names_.push_back(name ? name : "");
  }
  tls.next_layer().SetPace(std::chrono::milliseconds(0));
  AnswerRequests(tls, connection);
}

void TlsHttpServer::ServePlain(asio::ip::tcp::socket& socket) {
  PacedSocket plain(std::move(socket), stopping_);
  char hello[4096];
  boost::system::error_code error;
  plain.read_some(asio::buffer(hello), error);
  if (error) return;
  if (std::optional<TlsScriptedReply> reply = NextReply()) {
    asio::write(plain, asio::buffer(reply->bytes), error);
  }
}

template <class Stream>
void TlsHttpServer::AnswerRequests(Stream& tls, int connection) {
  std::string input;
  char chunk[16 * 1024];
  while (!stopping_) {
    std::size_t length = CompleteRequestLength(input);
    if (length == 0) {
      boost::system::error_code error;
      const std::size_t received = tls.read_some(asio::buffer(chunk), error);
      if (error == asio::error::eof) CountCloseNotify();
      if (error || input.size() > kMaxRequestBytes) return;
      input.append(chunk, received);
      continue;
    }
    Record(input.substr(0, length), connection);
    input.erase(0, length);
    const std::optional<TlsScriptedReply> reply = NextReply();
    if (!reply) return;
    boost::system::error_code error;
    asio::write(tls, asio::buffer(reply->bytes), error);
    if (error) return;
    if (reply->then == TlsScriptedReply::Then::kCloseNotify) tls.shutdown(error);
    if (reply->then != TlsScriptedReply::Then::kKeepOpen) return;
  }
}

std::optional<TlsScriptedReply> TlsHttpServer::NextReply() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (script_.empty()) return std::nullopt;
  TlsScriptedReply reply = std::move(script_.front());
  script_.pop_front();
  return reply;
}

void TlsHttpServer::CountCloseNotify() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++close_notify_count_;
}

void TlsHttpServer::Record(std::string bytes, int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back({std::move(bytes), connection});
}

}  // namespace plumwit::test
