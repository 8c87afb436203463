#include "server/open_file_limit.h"

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace plumwit::server {
namespace {

std::size_t ToSize(rlim_t value) {
  if (value == RLIM_INFINITY || value > std::numeric_limits<std::size_t>::max()) {
    return std::numeric_limits<std::size_t>::max();
  }
  return static_cast<std::size_t>(value);
}

// Linux refuses an unlimited descriptor limit; its ceiling is nr_open.
rlim_t SystemCeiling() {
  std::ifstream file("/proc/sys/fs/nr_open");
  unsigned long long ceiling = 0;
  if (file >> ceiling && ceiling > 0) return static_cast<rlim_t>(ceiling);
  return RLIM_INFINITY;
}

bool SetSoft(rlimit limits, rlim_t soft) {
  limits.rlim_cur = soft;
  return setrlimit(RLIMIT_NOFILE, &limits) == 0;
}

}  // namespace

std::size_t OpenFileLimit::RaiseToHard() {
  rlimit limits{};
  if (getrlimit(RLIMIT_NOFILE, &limits) != 0) return Current();
  if (limits.rlim_cur != limits.rlim_max && !SetSoft(limits, limits.rlim_max) &&
      limits.rlim_max == RLIM_INFINITY) {
    const rlim_t ceiling = SystemCeiling();
    if (ceiling > limits.rlim_cur) SetSoft(limits, ceiling);
  }
  return Current();
}

std::size_t OpenFileLimit::Current() {
  rlimit limits{};
  if (getrlimit(RLIMIT_NOFILE, &limits) != 0) return std::numeric_limits<std::size_t>::max();
  return ToSize(limits.rlim_cur);
}

std::size_t OpenFileLimit::OpenNow() {
  std::error_code error;
  std::size_t count = 0;
  for (std::filesystem::directory_iterator entry("/proc/self/fd", error), end;
       !error && entry != end; entry.increment(error)) {
    ++count;
  }
  // The listing itself held one descriptor.
  return count > 0 ? count - 1 : 0;
}

}  // namespace plumwit::server
