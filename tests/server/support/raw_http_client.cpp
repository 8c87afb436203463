#include "support/raw_http_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "core/service/base64.h"
#include "core/service/endpoints.h"
#include "server/ascii_case.h"

namespace plumwit::server::testing {
namespace {

std::string AuthorizationLine(std::string_view authorization) {
  if (authorization.empty()) return {};
  return "Authorization: " + std::string(authorization) + "\r\n";
}

std::string TlsErrorText() {
  const unsigned long code = ERR_get_error();
  if (code == 0) return "no detail";
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  ERR_clear_error();
  return text;
}

}  // namespace

std::string HttpReply::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (EqualsIgnoringCase(key, name)) return value;
  }
  return {};
}

bool HttpReply::HasHeader(std::string_view name) const {
  for (const auto& header : headers) {
    if (EqualsIgnoringCase(header.first, name)) return true;
  }
  return false;
}

RawHttpClient::RawHttpClient(unsigned short port, std::chrono::milliseconds timeout) {
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket_ < 0) throw std::runtime_error("socket failed");
  timeval limit{};
  limit.tv_sec = static_cast<time_t>(timeout.count() / 1000);
  limit.tv_usec = static_cast<suseconds_t>((timeout.count() % 1000) * 1000);
  setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(socket_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    const int error = errno;
    ::close(socket_);
    throw std::runtime_error(std::string("connect failed: ") + std::strerror(error));
  }
}

RawHttpClient::RawHttpClient(unsigned short port, const TlsTrust& trust,
                             std::chrono::milliseconds timeout)
    : RawHttpClient(port, timeout) {
  // Should the handshake throw, the destructor still runs: the plain
  // constructor this delegates to has completed.
  StartTls(trust);
}

void RawHttpClient::StartTls(const TlsTrust& trust) {
  tls_context_ = SSL_CTX_new(TLS_client_method());
  SSL_CTX_set_min_proto_version(tls_context_, TLS1_2_VERSION);
  if (SSL_CTX_load_verify_locations(tls_context_, trust.authority_file.c_str(), nullptr) != 1) {
    throw std::runtime_error("cannot load " + trust.authority_file + ": " + TlsErrorText());
  }
  SSL_CTX_set_verify(tls_context_, SSL_VERIFY_PEER, nullptr);
  tls_ = SSL_new(tls_context_);
  X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(tls_), "127.0.0.1");
  SSL_set_fd(tls_, socket_);
  if (SSL_connect(tls_) != 1) {
    throw std::runtime_error("TLS handshake failed: " + TlsErrorText());
  }
}

RawHttpClient::~RawHttpClient() {
  if (tls_ != nullptr) SSL_free(tls_);
  if (tls_context_ != nullptr) SSL_CTX_free(tls_context_);
  tls_ = nullptr;
  tls_context_ = nullptr;
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
}

void RawHttpClient::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = tls_ != nullptr
                             ? SSL_write(tls_, bytes.data(), static_cast<int>(bytes.size()))
                             : ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) throw std::runtime_error("send failed");
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
}

bool RawHttpClient::Fill() {
  char chunk[8192];
  if (tls_ != nullptr) return FillFromTls(chunk, sizeof chunk);
  const ssize_t received = ::recv(socket_, chunk, sizeof chunk, 0);
  if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
    throw std::runtime_error("timed out waiting for the server");
  }
  if (received <= 0) return false;
  buffer_.append(chunk, static_cast<std::size_t>(received));
  return true;
}

bool RawHttpClient::FillFromTls(char* chunk, int size) {
  const int received = SSL_read(tls_, chunk, size);
  if (received > 0) {
    buffer_.append(chunk, static_cast<std::size_t>(received));
    return true;
  }
  const int error = SSL_get_error(tls_, received);
  ERR_clear_error();
  if (error == SSL_ERROR_ZERO_RETURN) {
    close_notify_received_ = true;
    return false;
  }
  if (error == SSL_ERROR_WANT_READ ||
      (error == SSL_ERROR_SYSCALL && (errno == EAGAIN || errno == EWOULDBLOCK))) {
    throw std::runtime_error("timed out waiting for the server");
  }
  return false;  // closed without close_notify, or broken
}

HttpReply RawHttpClient::ReadHeaders() { return ReadHead(); }

HttpReply RawHttpClient::Read() {
  HttpReply reply = ReadHead();
  if (reply.HasHeader("Content-Length")) {
    const std::size_t length = std::stoul(reply.Header("Content-Length"));
    while (buffer_.size() < length) {
      if (!Fill()) throw std::runtime_error("connection closed inside a body");
    }
    reply.body = buffer_.substr(0, length);
    buffer_.erase(0, length);
  } else {
    while (Fill()) {
    }
    reply.body = std::move(buffer_);
    buffer_.clear();
  }
  return reply;
}

HttpReply RawHttpClient::ReadHead() {
  std::size_t header_end;
  while ((header_end = buffer_.find("\r\n\r\n")) == std::string::npos) {
    if (!Fill()) throw std::runtime_error("connection closed before a reply");
  }
  HttpReply reply;
  const std::string head = buffer_.substr(0, header_end);
  buffer_.erase(0, header_end + 4);
  std::size_t line_end = head.find("\r\n");
  reply.status_line = head.substr(0, line_end);
  reply.status = std::stoi(reply.status_line.substr(reply.status_line.find(' ') + 1, 3));
  while (line_end != std::string::npos) {
    const std::size_t start = line_end + 2;
    line_end = head.find("\r\n", start);
    const std::string line = head.substr(start, line_end - start);
    const std::size_t colon = line.find(':');
    std::string value = line.substr(colon + 1);
    while (!value.empty() && value.front() == ' ') value.erase(0, 1);
    reply.headers.emplace_back(line.substr(0, colon), value);
  }
  return reply;
}

HttpReply RawHttpClient::Exchange(std::string_view bytes) {
  Send(bytes);
  return Read();
}

bool RawHttpClient::ServerClosed() {
  try {
    return buffer_.empty() && !Fill();
  } catch (const std::runtime_error&) {
    return false;  // still open after the time-out
  }
}

bool RawHttpClient::ReadsToClose() {
  try {
    while (Fill()) {
    }
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

std::string RawHttpClient::BasicAuth(std::string_view name, std::string_view password) {
  return "Basic " + EncodeBase64(std::string(name) + ":" + std::string(password));
}

std::string RawHttpClient::ClientGet(std::string_view target, std::string_view authorization) {
  return "GET " + std::string(target) +
         " HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: text/html, */*\r\n"
         "Accept-Encoding: identity\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n" +
         AuthorizationLine(authorization) + "\r\n";
}

std::string RawHttpClient::ClientPost(std::string_view target, std::string_view authorization) {
  return "POST " + std::string(target) +
         " HTTP/1.0\r\nConnection: keep-alive\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 0\r\n"
         "Host: 127.0.0.1\r\nAccept: text/html, */*\r\nAccept-Encoding: identity\r\n"
         "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n" +
         AuthorizationLine(authorization) + "\r\n";
}

std::string RawHttpClient::FormPost(std::string_view target, std::string_view body,
                                    std::string_view authorization) {
  return "POST " + std::string(target) +
         " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
         "Content-Length: " +
         std::to_string(body.size()) + "\r\n" + AuthorizationLine(authorization) + "\r\n" +
         std::string(body);
}

std::string Encode(std::string_view text) { return PercentEncode(text); }

}  // namespace plumwit::server::testing
