#pragma once

#include <string_view>

namespace plumwit::server {

// Compares ASCII letters without regard to case; other bytes must match.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace plumwit::server
