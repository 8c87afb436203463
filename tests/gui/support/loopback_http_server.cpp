#include "support/loopback_http_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "support/loopback_listener.h"

namespace plumwit::test {
namespace {

constexpr int kPollMs = 50;
constexpr std::size_t kMostRequestBytes = 1 << 20;

std::size_t ContentLength(const std::string& head) {
  std::string lower = head;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  const auto at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return std::strtoul(lower.c_str() + at + 17, nullptr, 10);
}

std::string PathOf(const std::string& request) {
  const auto first_space = request.find(' ');
  if (first_space == std::string::npos) return {};
  const auto end = request.find_first_of(" ?", first_space + 1);
  return request.substr(first_space + 1, end - first_space - 1);
}

void SendAll(int connection, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
  std::uint16_t port = 0;
  listener_ = plumwit::testing::ListenOnLoopback(port);
  port_ = port;
  thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
}

std::string LoopbackHttpServer::Host() const { return "127.0.0.1:" + std::to_string(port_); }

void LoopbackHttpServer::Script(const std::string& path, const std::string& status,
                                const std::string& content_type, const std::string& body) {
  std::lock_guard<std::mutex> lock(mutex_);
  replies_[path] = Reply{status, content_type, body};
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::vector<std::string> LoopbackHttpServer::Paths() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return paths_;
}

bool LoopbackHttpServer::WasRequested(const std::string& path) const {
  const auto paths = Paths();
  return std::find(paths.begin(), paths.end(), path) != paths.end();
}

void LoopbackHttpServer::Serve() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, kPollMs) <= 0) continue;
    const int connection = ::accept(listener_, nullptr, nullptr);
    if (connection < 0) continue;
    Answer(connection);
    ::close(connection);
  }
}

std::string LoopbackHttpServer::ReadRequest(int connection) {
  std::string request;
  char buffer[4096];
  while (request.size() < kMostRequestBytes && !stopping_) {
    const auto head_end = request.find("\r\n\r\n");
    if (head_end != std::string::npos &&
        request.size() >= head_end + 4 + ContentLength(request.substr(0, head_end + 2))) {
      break;
    }
    pollfd waiting{connection, POLLIN, 0};
    if (::poll(&waiting, 1, kPollMs) <= 0) continue;
    const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  return request;
}

LoopbackHttpServer::Reply LoopbackHttpServer::ReplyFor(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = replies_.find(path);
  if (found != replies_.end()) return found->second;
  return Reply{"404 Not Found", "text/plain", "not here"};
}

void LoopbackHttpServer::Answer(int connection) {
  const std::string request = ReadRequest(connection);
  if (request.empty()) return;
  const std::string path = PathOf(request);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
    paths_.push_back(path);
  }
  const Reply reply = ReplyFor(path);
  SendAll(connection, "HTTP/1.1 " + reply.status + "\r\nContent-Type: " + reply.content_type +
                          "\r\nContent-Length: " + std::to_string(reply.body.size()) +
                          "\r\nConnection: close\r\n\r\n" + reply.body);
}

}  // namespace plumwit::test
