#pragma once

#include <stdexcept>
#include <string>

namespace plumwit {

// Every failure the core reports is an exception whose what() is the exact
// text shown to the user or compared by callers.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace plumwit
