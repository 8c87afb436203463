#include "support/paced_socket.h"

#include <poll.h>

#include <thread>

namespace plumwit::test {

namespace {

// How often a wait looks whether the server is stopping.
constexpr std::chrono::milliseconds kStopCheck{20};

}  // namespace

bool PacedSocket::WaitUntilReadable() {
  pollfd watched{socket_.native_handle(), POLLIN, 0};
  while (!stopping_) {
    const int ready = ::poll(&watched, 1, static_cast<int>(kStopCheck.count()));
    if (ready != 0) return true;  // readable, closed or failed: read_some tells which
  }
  return false;
}

bool PacedSocket::Pause() {
  const auto until = std::chrono::steady_clock::now() + pace_;
  while (!stopping_) {
    const auto left = until - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return true;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kStopCheck));
  }
  return false;
}

}  // namespace plumwit::test
