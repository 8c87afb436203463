#pragma once

#include <cstddef>

namespace plumwit::server {

// The process's limit on open descriptors: every connection takes one, so
// the service raises it as far as allowed and serves no more connections
// than fit.
class OpenFileLimit {
 public:
  // Raises the soft limit to the hard one where the system allows it;
  // returns the soft limit in effect afterwards.
  static std::size_t RaiseToHard();
  static std::size_t Current();
  // Descriptors open now; 0 when that cannot be told.
  static std::size_t OpenNow();
};

}  // namespace plumwit::server
