#include "support/scripted_http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "support/loopback_listener.h"
#include "support/request_framing.h"

namespace plumwit::test {

namespace {

// A request larger than this is taken as a fault of the client: the
// connection is closed.
constexpr std::size_t kMaxRequestBytes = 1 << 20;

void ThrowSystemError(const char* what) {
  throw std::runtime_error(std::string("scripted server: ") + what + ": " + std::strerror(errno));
}

void SetNonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }

}  // namespace

struct ScriptedHttpServer::Connection {
  int fd = -1;
  int id = 0;
  std::string input;
  std::string output;
  std::size_t output_sent = 0;
  bool replying = false;
  ScriptedReply::Then then = ScriptedReply::Then::kKeepOpen;
  std::chrono::milliseconds pace{0};
  std::chrono::steady_clock::time_point next_byte_at;
  bool stalled = false;

  ~Connection() {
    if (fd >= 0) ::close(fd);
  }
};

ScriptedHttpServer::ScriptedHttpServer(std::vector<ScriptedReply> script)
    : script_(script.begin(), script.end()) {
  listen_fd_ = plumwit::testing::ListenOnLoopback(port_);
  SetNonBlocking(listen_fd_);
  if (::pipe2(wake_pipe_, O_CLOEXEC | O_NONBLOCK) != 0) ThrowSystemError("pipe");
  thread_ = std::thread([this] { Serve(); });
}

ScriptedHttpServer::~ScriptedHttpServer() {
  stopping_ = true;
  const char wake = 0;
  [[maybe_unused]] const ssize_t written = ::write(wake_pipe_[1], &wake, 1);
  thread_.join();
  ::close(wake_pipe_[0]);
  ::close(wake_pipe_[1]);
  ::close(listen_fd_);
}

void ScriptedHttpServer::Add(ScriptedReply reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  script_.push_back(std::move(reply));
}

void ScriptedHttpServer::SetFallback(ScriptedReply reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  fallback_ = std::move(reply);
}

void ScriptedHttpServer::LimitRecording(std::size_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  recording_limit_ = count;
  while (requests_.size() > recording_limit_) requests_.pop_front();
}

std::string ScriptedHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RecordedRequest> ScriptedHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return {requests_.begin(), requests_.end()};
}

std::size_t ScriptedHttpServer::RequestCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return request_count_;
}

int ScriptedHttpServer::ConnectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connection_count_;
}

bool ScriptedHttpServer::WaitForRequests(std::size_t count,
                                         std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return request_arrived_.wait_for(lock, timeout, [&] { return request_count_ >= count; });
}

bool ScriptedHttpServer::Dribbling(const Connection& connection) {
  return connection.replying && connection.pace.count() > 0;
}

// How long poll may wait: until the next byte of a dribbled reply is due.
int ScriptedHttpServer::PollTimeout(const std::vector<std::unique_ptr<Connection>>& connections) {
  int timeout = -1;
  const auto now = std::chrono::steady_clock::now();
  for (const auto& connection : connections) {
    if (!Dribbling(*connection)) continue;
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(connection->next_byte_at - now);
    const int milliseconds = static_cast<int>(std::max<long long>(wait.count(), 0));
    timeout = timeout < 0 ? milliseconds : std::min(timeout, milliseconds);
  }
  return timeout;
}

void ScriptedHttpServer::Serve() {
  std::vector<std::unique_ptr<Connection>> connections;
  while (!stopping_) {
    std::vector<pollfd> polled = {{wake_pipe_[0], POLLIN, 0}, {listen_fd_, POLLIN, 0}};
    const auto now = std::chrono::steady_clock::now();
    for (const auto& connection : connections) {
      short events = connection->replying ? POLLOUT : POLLIN;
      if (Dribbling(*connection) && connection->next_byte_at > now) events = 0;
      polled.push_back({connection->fd, events, 0});
    }
    if (::poll(polled.data(), polled.size(), PollTimeout(connections)) < 0 && errno != EINTR) {
      return;
    }
    std::vector<std::unique_ptr<Connection>> kept;
    for (std::size_t i = 0; i < connections.size(); ++i) {
      Connection& connection = *connections[i];
      const short events = polled[i + 2].revents;
      bool keep = true;
      if (events & (POLLIN | POLLHUP | POLLERR))
        keep = connection.replying ? WriteTo(connection) : ReadFrom(connection);
      else if (events & POLLOUT)
        keep = WriteTo(connection);
      if (keep) kept.push_back(std::move(connections[i]));
    }
    connections = std::move(kept);
    if (polled[1].revents & POLLIN) Accept(connections);
  }
}

void ScriptedHttpServer::Accept(std::vector<std::unique_ptr<Connection>>& connections) {
  const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) return;
  auto connection = std::make_unique<Connection>();
  connection->fd = fd;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    connection->id = ++connection_count_;
  }
  connections.push_back(std::move(connection));
}

// Returns false when the connection is done with.
bool ScriptedHttpServer::ReadFrom(Connection& connection) {
  char chunk[16384];
  const ssize_t received = ::recv(connection.fd, chunk, sizeof chunk, 0);
  if (received < 0) return errno == EAGAIN || errno == EINTR;
  if (received == 0) return false;
  if (connection.stalled) return true;
  connection.input.append(chunk, static_cast<std::size_t>(received));
  if (connection.input.size() > kMaxRequestBytes) return false;
  return AnswerWaitingRequest(connection);
}

bool ScriptedHttpServer::AnswerWaitingRequest(Connection& connection) {
  const std::size_t length = CompleteRequestLength(connection.input);
  if (length == 0) return true;
  Record(connection.input.substr(0, length), connection.id);
  connection.input.erase(0, length);
  std::optional<ScriptedReply> reply = NextReply();
  if (!reply) return false;
  connection.output = std::move(reply->bytes);
  connection.output_sent = 0;
  connection.then = reply->then;
  connection.pace = reply->pace;
  connection.next_byte_at = std::chrono::steady_clock::now() + reply->pace;
  connection.replying = true;
  return WriteTo(connection);
}

bool ScriptedHttpServer::WriteTo(Connection& connection) {
  while (connection.output_sent < connection.output.size()) {
    std::size_t length = connection.output.size() - connection.output_sent;
    if (connection.pace.count() > 0) {
      const auto now = std::chrono::steady_clock::now();
      if (now < connection.next_byte_at) return true;
      length = 1;
      connection.next_byte_at = now + connection.pace;
    }
    const ssize_t sent = ::send(connection.fd, connection.output.data() + connection.output_sent,
                                length, MSG_NOSIGNAL);
    if (sent < 0) return errno == EAGAIN || errno == EINTR;
    connection.output_sent += static_cast<std::size_t>(sent);
  }
  connection.pace = std::chrono::milliseconds(0);
  connection.replying = false;
  connection.output.clear();
  switch (connection.then) {
    case ScriptedReply::Then::kKeepOpen:
      // A request that arrived with the previous one is answered now.
      return AnswerWaitingRequest(connection);
    case ScriptedReply::Then::kStall:
      connection.stalled = true;
      return true;
    case ScriptedReply::Then::kReset: {
      const linger abort_on_close{1, 0};
      ::setsockopt(connection.fd, SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof abort_on_close);
      return false;
    }
    case ScriptedReply::Then::kClose:
      return false;
  }
  return false;
}

std::optional<ScriptedReply> ScriptedHttpServer::NextReply() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (script_.empty()) return fallback_;
  ScriptedReply reply = std::move(script_.front());
  script_.pop_front();
  return reply;
}

void ScriptedHttpServer::Record(std::string bytes, int connection) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++request_count_;
    requests_.push_back({std::move(bytes), connection});
    while (requests_.size() > recording_limit_) requests_.pop_front();
  }
  request_arrived_.notify_all();
}

std::uint16_t ClosedLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) ThrowSystemError("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    ThrowSystemError("bind");
  }
  ::close(fd);
  return ntohs(address.sin_port);
}

}  // namespace plumwit::test
