#pragma once

#include <chrono>
#include <string>

namespace plumwit::test {

// What the scripted server does once a whole request has arrived: it sends
// `bytes` exactly as they are, then acts as `then` says.
struct ScriptedReply {
  enum class Then {
    kKeepOpen,  // wait for the next request on the same connection
    kClose,     // close the connection (an orderly close: FIN)
    kReset,     // close with a reset (RST)
    kStall,     // stay silent, keeping the connection open
  };

  std::string bytes;
  Then then = Then::kKeepOpen;
  // When not zero, the bytes go out one at a time with this pause before
  // each, as a slow or hostile server sends them.
  std::chrono::milliseconds pace{0};

  static ScriptedReply Send(std::string bytes) { return {std::move(bytes), Then::kKeepOpen}; }
  static ScriptedReply SendAndClose(std::string bytes) { return {std::move(bytes), Then::kClose}; }
  static ScriptedReply CloseImmediately() { return {std::string(), Then::kClose}; }
  static ScriptedReply Reset() { return {std::string(), Then::kReset}; }
  static ScriptedReply Stall(std::string bytes = {}) { return {std::move(bytes), Then::kStall}; }
  static ScriptedReply Dribble(std::string bytes, std::chrono::milliseconds pace) {
    return {std::move(bytes), Then::kClose, pace};
  }
};

}  // namespace plumwit::test
