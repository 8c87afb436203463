#pragma once

#include <cstddef>
#include <string>

namespace plumwit::test {

// The length of the first whole request in `input`, or 0 while it is
// incomplete. Bodies are framed by Content-Length only.
std::size_t CompleteRequestLength(const std::string& input);

}  // namespace plumwit::test
