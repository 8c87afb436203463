#include "server/service_time.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace plumwit::server {
namespace {

// Written out rather than taken from strftime so that no locale can change them.
constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::tm BrokenDown(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&time, &parts);
  return parts;
}

}  // namespace

std::int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string FormatServiceDate(std::int64_t seconds) {
  const std::tm t = BrokenDown(seconds);
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d +0000 %04d", kWeekdays[t.tm_wday],
                kMonths[t.tm_mon], t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_year + 1900);
  return text;
}

std::string FormatHttpDate(std::int64_t seconds) {
  const std::tm t = BrokenDown(seconds);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kWeekdays[t.tm_wday],
                t.tm_mday, kMonths[t.tm_mon], t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

std::string FormatIsoDate(std::int64_t seconds) {
  const std::tm t = BrokenDown(seconds);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d+00:00", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

}  // namespace plumwit::server
