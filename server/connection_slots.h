#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace plumwit::server {

// Counts connections open at once against a maximum. A Slot holds one place
// for as long as it lives; places are taken on one thread and given back
// from any.
class ConnectionSlots {
 public:
  class Slot {
   public:
    Slot() = default;
    Slot(Slot&& other) noexcept = default;
    Slot& operator=(Slot&& other) noexcept;
    ~Slot();

    explicit operator bool() const { return count_ != nullptr; }

   private:
    friend class ConnectionSlots;
    explicit Slot(std::shared_ptr<std::atomic<std::size_t>> count) : count_(std::move(count)) {}
    void Release();

    std::shared_ptr<std::atomic<std::size_t>> count_;
  };

  explicit ConnectionSlots(std::size_t maximum);

  // A held slot, or an empty one when all are taken.
  Slot TryTake();
  std::size_t InUse() const { return count_->load(); }

 private:
  std::size_t maximum_;
  // Shared with the slots, which may outlive this counter.
  std::shared_ptr<std::atomic<std::size_t>> count_;
};

}  // namespace plumwit::server
