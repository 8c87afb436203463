#pragma once

#include <cstdint>

namespace plumwit::testing {

// A listening TCP socket on 127.0.0.1 at a free port, which is stored in
// `port`. Throws std::runtime_error naming the call that failed.
int ListenOnLoopback(std::uint16_t& port);

}  // namespace plumwit::testing
