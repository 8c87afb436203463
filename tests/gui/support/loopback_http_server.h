#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace plumwit::test {

// A scripted HTTP server on 127.0.0.1 for the GUI tests. It runs on its own
// thread, since the client blocks the GUI thread while it waits. Each request
// is recorded as raw bytes; the reply is found by request path (the target
// without its query) and sent whole, then the connection is closed.
class LoopbackHttpServer {
 public:
  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int Port() const { return port_; }
  // "127.0.0.1:port", the form a service host takes.
  std::string Host() const;

  // The reply to a path: a status line such as "200 OK", a content type and
  // a body. Unscripted paths get "404 Not Found".
  void Script(const std::string& path, const std::string& status, const std::string& content_type,
              const std::string& body);

  // Raw requests received so far (head and body), in order.
  std::vector<std::string> Requests() const;
  // Paths requested so far, in order.
  std::vector<std::string> Paths() const;
  bool WasRequested(const std::string& path) const;

 private:
  struct Reply {
    std::string status;
    std::string content_type;
    std::string body;
  };

  void Serve();
  void Answer(int connection);
  std::string ReadRequest(int connection);
  Reply ReplyFor(const std::string& path) const;

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, Reply> replies_;
  std::vector<std::string> requests_;
  std::vector<std::string> paths_;
  std::thread thread_;
};

}  // namespace plumwit::test
