#pragma once

#include <chrono>
#include <cstddef>

namespace plumwit::server {

// What one request may take, how long a connection may stay silent, and how
// much the service takes on at once.
struct HttpLimits {
  std::size_t max_request_line = 8 * 1024;
  std::size_t max_header_bytes = 16 * 1024;  // all header fields together
  std::size_t max_body_bytes = 64 * 1024;
  // A request must arrive within this time of the connection falling idle,
  // and a response must be taken within it; otherwise the connection closes.
  std::chrono::milliseconds timeout = std::chrono::seconds(30);

  // Connections served at once; 0 fits them into the open-file limit, with
  // room left for the database, the log and the listener. Beyond them, up to
  // max_refused_connections more are each answered 503 and closed; past
  // that, a new connection is closed at once.
  std::size_t max_connections = 0;
  std::size_t max_refused_connections = 8;
  // Password checks cost milliseconds of CPU each, so they run on threads
  // of their own (0: half the processors, at least one) with at most
  // max_waiting_password_checks waiting; a request finding the queue full
  // is answered 503.
  unsigned password_check_threads = 0;
  std::size_t max_waiting_password_checks = 64;
};

}  // namespace plumwit::server
