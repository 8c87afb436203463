#pragma once

#include <chrono>
#include <cstddef>

namespace plumwit::server {

// What one request may take, and how long a connection may stay silent.
struct HttpLimits {
  std::size_t max_request_line = 8 * 1024;
  std::size_t max_header_bytes = 16 * 1024;  // all header fields together
  std::size_t max_body_bytes = 64 * 1024;
  // A request must arrive within this time of the connection falling idle,
  // and a response must be taken within it; otherwise the connection closes.
  std::chrono::milliseconds timeout = std::chrono::seconds(30);
};

}  // namespace plumwit::server
