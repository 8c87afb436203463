#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace plumwit::server {

// A few threads for the work that must not hold up the I/O threads (the
// full password checks), with a bounded queue so that a flood of such work
// is refused early instead of piling up.
class PasswordCheckPool {
 public:
  PasswordCheckPool(unsigned threads, std::size_t max_waiting);
  ~PasswordCheckPool();
  PasswordCheckPool(const PasswordCheckPool&) = delete;
  PasswordCheckPool& operator=(const PasswordCheckPool&) = delete;

  // Queues `job`; false, and `job` is dropped, when max_waiting jobs
  // already wait or the pool has stopped.
  bool TrySubmit(std::function<void()> job);
  // Lets the running jobs finish, drops the waiting ones and joins the
  // threads. Later submissions are refused.
  void Stop();

  // Half the processors, at least one.
  static unsigned DefaultThreads();

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> waiting_;
  const std::size_t max_waiting_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace plumwit::server
