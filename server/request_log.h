#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace plumwit::server {

// One line per request: time, method, path without the query, status and
// duration. Queries, bodies and headers (credentials) are never written.
class RequestLog {
 public:
  using Sink = std::function<void(std::string_view line)>;

  // An empty sink writes to standard error.
  explicit RequestLog(Sink sink = {});

  void Record(std::string_view method, std::string_view display_path, unsigned status,
              std::chrono::steady_clock::duration elapsed);
  // A line about the service itself (start, stop, internal failures).
  void Note(std::string_view text);

 private:
  void Write(const std::string& line);

  std::mutex mutex_;
  Sink sink_;
};

}  // namespace plumwit::server
