#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/scripted_reply.h"

namespace plumwit::test {

struct RecordedRequest {
  std::string bytes;  // the raw request: header block and body
  int connection;     // which accepted connection it came on, from 1
};

// A raw-socket HTTP server on 127.0.0.1 for tests. It listens on a free
// port, runs on its own thread, and answers each request with the next reply
// of its script, byte for byte. Every request is recorded with the
// connection it came on. When the script is used up it serves the fallback
// reply, or closes the connection when there is none. All members are safe
// to call from any thread; the destructor stops the server and closes every
// connection.
class ScriptedHttpServer {
 public:
  explicit ScriptedHttpServer(std::vector<ScriptedReply> script = {});
  ~ScriptedHttpServer();
  ScriptedHttpServer(const ScriptedHttpServer&) = delete;
  ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

  void Add(ScriptedReply reply);
  void SetFallback(ScriptedReply reply);
  // Keeps at most `count` recorded requests (the oldest are dropped), for
  // long runs such as benchmarks.
  void LimitRecording(std::size_t count);

  std::uint16_t Port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by `path`.
  std::string Url(const std::string& path = "/") const;

  std::vector<RecordedRequest> Requests() const;
  std::size_t RequestCount() const;
  int ConnectionCount() const;
  // Waits until `count` requests have arrived; false on time-out.
  bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

 private:
  struct Connection;

  void Serve();
  void Accept(std::vector<std::unique_ptr<Connection>>& connections);
  bool ReadFrom(Connection& connection);
  bool AnswerWaitingRequest(Connection& connection);
  bool WriteTo(Connection& connection);
  std::optional<ScriptedReply> NextReply();
  void Record(std::string bytes, int connection);
  static bool Dribbling(const Connection& connection);
  static int PollTimeout(const std::vector<std::unique_ptr<Connection>>& connections);

  int listen_fd_ = -1;
  int wake_pipe_[2] = {-1, -1};
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};

  mutable std::mutex mutex_;
  mutable std::condition_variable request_arrived_;
  std::deque<ScriptedReply> script_;
  std::optional<ScriptedReply> fallback_;
  std::deque<RecordedRequest> requests_;
  std::size_t request_count_ = 0;
  std::size_t recording_limit_ = SIZE_MAX;
  int connection_count_ = 0;

  std::thread thread_;
};

// A loopback port that nothing listens on: bound once, then closed, so a
// connection to it is refused.
std::uint16_t ClosedLoopbackPort();

}  // namespace plumwit::test
