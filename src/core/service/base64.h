#pragma once

#include <string>
#include <string_view>

namespace plumwit {

// Standard Base64 (RFC 4648) with padding, on one line.
std::string EncodeBase64(std::string_view bytes);

}  // namespace plumwit
