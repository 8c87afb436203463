#pragma once

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

  static ScriptedReply Send(std::string bytes) { return {std::move(bytes), Then::kKeepOpen}; }
  static ScriptedReply SendAndClose(std::string bytes) { return {std::move(bytes), Then::kClose}; }
  static ScriptedReply CloseImmediately() { return {std::string(), Then::kClose}; }
  static ScriptedReply Reset() { return {std::string(), Then::kReset}; }
  static ScriptedReply Stall(std::string bytes = {}) { return {std::move(bytes), Then::kStall}; }
};

}  // namespace plumwit::test
