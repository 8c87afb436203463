#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace plumwit::test {

// How a request presented itself to the replayed server.
enum class Credentials {
  kRight,        // the account's name and password
  kWrong,        // the account's name, another password
  kUnknownUser,  // a name the server has no account for
  kNone,         // no Authorization header
};

// A raw-socket server on 127.0.0.1 that plays the captured GNU social 1.20
// server of tests/fixtures/gnusocial: each request is answered with the raw
// bytes of the capture that server gave to the same method, target and
// credentials, then the connection is closed (the captures say
// "Connection: close"). The site has one account, kAccount with kPassword,
// and the interface under "/api". Requests are recorded raw. It runs on its
// own thread, since a client may block the thread that made the server.
class FixtureReplayServer {
 public:
  static constexpr const char* kAccount = "alice";
  static constexpr const char* kPassword = "alice-secret";

  FixtureReplayServer();
  ~FixtureReplayServer();
  FixtureReplayServer(const FixtureReplayServer&) = delete;
  FixtureReplayServer& operator=(const FixtureReplayServer&) = delete;

  std::uint16_t Port() const { return port_; }
  // "127.0.0.1:PORT/api": the service host, with the interface's prefix.
  std::string Host() const;

  // The raw requests received so far (header block and body), in order.
  std::vector<std::string> Requests() const;
  // Their request lines, without the line end.
  std::vector<std::string> RequestLines() const;

 private:
  void Serve();
  void Answer(int connection);

  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// The capture file that answers `method` and `target` (path and query, with
// the "/api" prefix) for `credentials`; an unrouted request gets the site's
// HTML "Not Found" page.
std::string CaptureFor(const std::string& method, const std::string& target,
                       Credentials credentials);

// A capture file's raw bytes, and the body after its header block.
std::string CaptureBytes(const std::string& file);
std::string CaptureBody(const std::string& file);

}  // namespace plumwit::test
