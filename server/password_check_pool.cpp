#include "server/password_check_pool.h"

#include <algorithm>

namespace plumwit::server {

PasswordCheckPool::PasswordCheckPool(unsigned threads, std::size_t max_waiting)
    : max_waiting_(max_waiting) {
  const unsigned count = threads == 0 ? DefaultThreads() : threads;
  for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { Work(); });
}

PasswordCheckPool::~PasswordCheckPool() { Stop(); }

unsigned PasswordCheckPool::DefaultThreads() {
  return std::max(1u, std::thread::hardware_concurrency() / 2);
}

bool PasswordCheckPool::TrySubmit(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ || waiting_.size() >= max_waiting_) return false;
    waiting_.push_back(std::move(job));
  }
  ready_.notify_one();
  return true;
}

void PasswordCheckPool::Stop() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    dropped.swap(waiting_);
  }
  ready_.notify_all();
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
  threads_.clear();
  // Outside the lock: a dropped job may own what ends a connection.
  dropped.clear();
}

void PasswordCheckPool::Work() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
      if (stopping_) return;
      job = std::move(waiting_.front());
      waiting_.pop_front();
    }
    try {
      job();
    } catch (...) {
      // The job is dropped unanswered (whatever it owned, a connection
      // included, is released); the thread carries on with the next.
    }
  }
}

}  // namespace plumwit::server
