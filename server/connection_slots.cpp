#include "server/connection_slots.h"

namespace plumwit::server {

ConnectionSlots::Slot& ConnectionSlots::Slot::operator=(Slot&& other) noexcept {
  if (this != &other) {
    Release();
    count_ = std::move(other.count_);
  }
  return *this;
}

ConnectionSlots::Slot::~Slot() { Release(); }

void ConnectionSlots::Slot::Release() {
  if (count_) count_->fetch_sub(1);
  count_.reset();
}

ConnectionSlots::ConnectionSlots(std::size_t maximum)
    : maximum_(maximum), count_(std::make_shared<std::atomic<std::size_t>>(0)) {}

ConnectionSlots::Slot ConnectionSlots::TryTake() {
  if (count_->fetch_add(1) >= maximum_) {
    count_->fetch_sub(1);
    return Slot();
  }
  return Slot(count_);
}

}  // namespace plumwit::server
