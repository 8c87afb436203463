#include "server/request_log.h"

#include <cstdio>
#include <ctime>
#include <iostream>

namespace plumwit::server {
namespace {

std::string Timestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

// Method names come from the client: keep only what a method may contain.
std::string PrintableToken(std::string_view text) {
  std::string token;
  for (const char c : text.substr(0, 32)) {
    const auto byte = static_cast<unsigned char>(c);
    token += byte > 0x20 && byte < 0x7F ? c : '?';
  }
  return token.empty() ? "-" : token;
}

}  // namespace

RequestLog::RequestLog(Sink sink) : sink_(std::move(sink)) {}

void RequestLog::Record(std::string_view method, std::string_view display_path, unsigned status,
                        std::chrono::steady_clock::duration elapsed) {
  const double milliseconds = std::chrono::duration<double, std::milli>(elapsed).count();
  char duration[32];
  std::snprintf(duration, sizeof duration, "%.1f ms", milliseconds);
  Write(Timestamp() + ' ' + PrintableToken(method) + ' ' +
        (display_path.empty() ? std::string("-") : std::string(display_path.substr(0, 512))) + ' ' +
        std::to_string(status) + ' ' + duration);
}

void RequestLog::Note(std::string_view text) { Write(Timestamp() + ' ' + std::string(text)); }

void RequestLog::Write(const std::string& line) {
  std::lock_guard lock(mutex_);
  if (sink_) {
    sink_(line);
  } else {
    std::cerr << line << '\n' << std::flush;
  }
}

}  // namespace plumwit::server
